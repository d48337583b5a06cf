// The uninstall entry the installer writes: the key "Kalvetra" under HKLM's
// Software\Microsoft\Windows\CurrentVersion\Uninstall in the 32-bit registry view.
// Its "InstallLocation" names the installation directory.
#pragma once
#include <optional>
#include <string>

namespace kv {

extern const wchar_t kUninstallKeyPath[];

struct UninstallEntry {
  std::wstring dir;  // absolute, without a trailing backslash
};

// Null when the key is missing or its InstallLocation is not an absolute path.
std::optional<UninstallEntry> ReadUninstallEntry();
// True when the key is gone afterwards.
bool DeleteUninstallEntry();

}  // namespace kv
