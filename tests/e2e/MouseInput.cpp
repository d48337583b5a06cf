#include "MouseInput.h"

#include "WindowInspect.h"

namespace {
constexpr DWORD kPressMs = 80;
constexpr DWORD kSettleMs = 60;

void send_mouse(POINT at, DWORD flags) {
  int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = LONG((at.x * 65535LL) / (width - 1));
  input.mi.dy = LONG((at.y * 65535LL) / (height - 1));
  input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof input);
}
}  // namespace

bool click_window(HWND top_level, HWND target) {
  SetForegroundWindow(top_level);
  Sleep(kSettleMs);
  POINT at = window_centre_on_screen(target);
  SetCursorPos(at.x, at.y);
  send_mouse(at, MOUSEEVENTF_MOVE);
  Sleep(kSettleMs);
  HWND hit = WindowFromPoint(at);
  bool reaches_target = hit == target || IsChild(target, hit);
  send_mouse(at, MOUSEEVENTF_LEFTDOWN);
  Sleep(kPressMs);
  send_mouse(at, MOUSEEVENTF_LEFTUP);
  Sleep(kSettleMs);
  return reaches_target;
}
