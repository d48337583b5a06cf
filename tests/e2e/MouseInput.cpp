#include "MouseInput.h"

#include "WindowInspect.h"
#include "tests/common/SyntheticInput.h"

namespace {
constexpr DWORD kPressMs = 80;
constexpr DWORD kSettleMs = 60;
constexpr DWORD kHoverMs = 150;

DWORD button_flag(bool down, MouseButton button) {
  if (button == MouseButton::right) return down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP;
  return down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
}
}  // namespace

void move_cursor(POINT at) { synthetic::move_cursor(at); }

void mouse_button(bool down, MouseButton button) { synthetic::mouse(button_flag(down, button)); }

void click_at(POINT at, MouseButton button) {
  move_cursor(at);
  Sleep(kHoverMs);
  mouse_button(true, button);
  Sleep(kPressMs);
  mouse_button(false, button);
  Sleep(kSettleMs);
}

void wheel_at(POINT at, int notches) {
  move_cursor(at);
  Sleep(kSettleMs);
  synthetic::mouse(MOUSEEVENTF_WHEEL, DWORD(WHEEL_DELTA * notches));
}

bool click_window(HWND top_level, HWND target) {
  SetForegroundWindow(top_level);
  Sleep(kSettleMs);
  const POINT at = window_centre_on_screen(target);
  move_cursor(at);
  Sleep(kSettleMs);
  const HWND hit = WindowFromPoint(at);
  const bool reaches_target = hit == target || IsChild(target, hit);
  mouse_button(true);
  Sleep(kPressMs);
  mouse_button(false);
  Sleep(kSettleMs);
  return reaches_target;
}
