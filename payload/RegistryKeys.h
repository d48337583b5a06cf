// Small registry operations in an explicit registry view (0, KEY_WOW64_32KEY or KEY_WOW64_64KEY)
// shared by the thumbnail handler's registration and the uninstaller.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

namespace kvreg {

std::optional<std::wstring> ReadString(HKEY root, const std::wstring& path, const std::wstring& name, REGSAM view);
// Creates the key when missing.
bool WriteString(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& value, REGSAM view);
bool KeyExists(HKEY root, const std::wstring& path, REGSAM view);
// True when the value is gone afterwards (also when it never existed).
bool DeleteValue(HKEY root, const std::wstring& path, const std::wstring& name, REGSAM view);
// Deletes the key with everything below it; true when it is gone afterwards.
bool DeleteTree(HKEY root, const std::wstring& path, REGSAM view);
// Deletes `path` when it has neither values nor sub-keys, then each parent the same way, at most
// `levels` keys in all. Stops at the first key that still holds something.
void PruneEmptyKeys(HKEY root, const std::wstring& path, int levels, REGSAM view);

}  // namespace kvreg
