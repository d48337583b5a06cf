#include "payload/UninstallEntry.h"

#include <windows.h>

#include "payload/RegistryKeys.h"
#include "payload/SystemPaths.h"

namespace kv {

const wchar_t kUninstallKeyPath[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kalvetra";

std::optional<UninstallEntry> ReadUninstallEntry() {
  auto location = kvreg::ReadString(HKEY_LOCAL_MACHINE, kUninstallKeyPath, L"InstallLocation", KEY_WOW64_32KEY);
  if (!location || !IsAbsolutePath(*location)) return std::nullopt;
  return UninstallEntry{WithoutTrailingSlash(*location)};
}

bool DeleteUninstallEntry() { return kvreg::DeleteTree(HKEY_LOCAL_MACHINE, kUninstallKeyPath, KEY_WOW64_32KEY); }

}  // namespace kv
