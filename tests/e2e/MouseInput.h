// Real mouse input: the cursor is moved and the button pressed through the system's input
// queue, as a user would, so the target sees the same messages as from a real mouse.
#pragma once
#include <windows.h>

// Brings `top_level` to the foreground and clicks the centre of `target` (one of its
// windows) with the left button. False when another window covered that point, so the
// click went elsewhere.
bool click_window(HWND top_level, HWND target);
