// Real keyboard input through the system's input queue, as a user would type.
#pragma once
#include <windows.h>

// Presses and releases a key, with a modifier held around it when one is given.
void press_key(WORD vk, WORD modifier = 0);
