// The version export of the audio libraries bass.dll and basswasapi.dll: one 32-bit number,
// one byte per part, most significant part first (2.4.17.10 is 0x0204110A).
#pragma once
#include <cstdint>
#include <string>

namespace kv {

using GetVersionFn = uint32_t(__stdcall*)();

constexpr uint32_t PackVersion(unsigned major, unsigned minor, unsigned release, unsigned build) {
  return (major & 0xFF) << 24 | (minor & 0xFF) << 16 | (release & 0xFF) << 8 | (build & 0xFF);
}

// "2.4.17.10"
std::wstring VersionText(uint32_t packed);

}  // namespace kv
