#include "KeyboardInput.h"

#include "tests/common/SyntheticInput.h"

namespace {
constexpr DWORD kTypedSettleMs = 200;
}  // namespace

void send_key(WORD vk, bool down) { synthetic::key(vk, down); }

void press_key(WORD vk, WORD modifier, DWORD settle_ms) {
  if (modifier) send_key(modifier, true);
  send_key(vk, true);
  send_key(vk, false);
  if (modifier) send_key(modifier, false);
  Sleep(settle_ms);
}

void type_text(const std::wstring& text) {
  synthetic::unicode_text(text);
  Sleep(kTypedSettleMs);
}
