// Real keyboard input through the system's input queue, as a user would type.
#pragma once
#include <windows.h>

#include <string>

constexpr DWORD kKeySettleMs = 120;

void send_key(WORD vk, bool down);
// Presses and releases a key, with a modifier held around it when one is given, then lets
// the target take it in.
void press_key(WORD vk, WORD modifier = 0, DWORD settle_ms = kKeySettleMs);
// Types each character as a Unicode key press (no layout involved).
void type_text(const std::wstring& text);
