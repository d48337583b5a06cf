// Real mouse input: the cursor is moved and the button pressed through the system's input
// queue, as a user would, so the target sees the same messages as from a real mouse.
#pragma once
#include <windows.h>

enum class MouseButton { left, right };

// Puts the cursor at a screen point and sends the move, so the window under it sees it.
void move_cursor(POINT at);
void mouse_button(bool down, MouseButton button = MouseButton::left);
// Moves to a screen point, lets the window take the move in, then presses and releases.
void click_at(POINT at, MouseButton button = MouseButton::left);
// Turns the wheel over a screen point; positive notches scroll up (away from the user).
void wheel_at(POINT at, int notches);

// Brings `top_level` to the foreground and clicks the centre of `target` (one of its
// windows) with the left button. False when another window covered that point, so the
// click went elsewhere.
bool click_window(HWND top_level, HWND target);
