#include "KeyboardInput.h"

namespace {
constexpr DWORD kKeyMs = 120;

void send_key(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &in, sizeof in);
}
}  // namespace

void press_key(WORD vk, WORD modifier) {
  if (modifier) send_key(modifier, false);
  send_key(vk, false);
  send_key(vk, true);
  if (modifier) send_key(modifier, true);
  Sleep(kKeyMs);
}
