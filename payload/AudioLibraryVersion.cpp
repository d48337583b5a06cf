#include "payload/AudioLibraryVersion.h"

namespace kv {

std::wstring VersionText(uint32_t packed) {
  return std::to_wstring(packed >> 24) + L"." + std::to_wstring((packed >> 16) & 0xFF) + L"." +
         std::to_wstring((packed >> 8) & 0xFF) + L"." + std::to_wstring(packed & 0xFF);
}

}  // namespace kv
