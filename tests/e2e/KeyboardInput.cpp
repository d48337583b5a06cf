#include "KeyboardInput.h"

#include "tests/common/SyntheticInput.h"

namespace {
constexpr DWORD kTypedSettleMs = 200;
}  // namespace

void send_key(WORD vk, bool down) { synthetic::key(vk, down); }

void press_key(WORD vk, WORD modifier, DWORD settle_ms) {
  synthetic::key_stroke(vk, modifier);
  Sleep(settle_ms);
}

void type_text(const std::wstring& text) {
  synthetic::unicode_text(text);
  Sleep(kTypedSettleMs);
}
