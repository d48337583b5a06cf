#include "PrefixSnapshot.h"

#include <windows.h>

#include <filesystem>
#include <system_error>

#include "../e2e/InstallLayout.h"
#include "../e2e/RegistryAccess.h"
#include "payload/ThumbnailIds.h"

namespace {
struct WatchedKey {
  HKEY root;
  const wchar_t* root_name;
  std::wstring path;
  REGSAM view;
};

std::vector<WatchedKey> watched_keys() {
  const std::wstring clsid = std::wstring(L"CLSID\\") + qz::kThumbnailHandlerClsidText;
  std::vector<WatchedKey> keys = {
      {HKEY_LOCAL_MACHINE, L"HKLM32\\", kUninstallKey, KEY_WOW64_32KEY},
      {HKEY_CLASSES_ROOT, L"HKCR32\\", clsid, KEY_WOW64_32KEY},
      {HKEY_CLASSES_ROOT, L"HKCR64\\", clsid, KEY_WOW64_64KEY},
  };
  for (const auto& key : kAssociationKeys) keys.push_back({HKEY_CLASSES_ROOT, L"HKCR\\", key, 0});
  return keys;
}

std::wstring describe(const RegistryValue& value) {
  std::wstring text = registry_type_name(value.type) + L" ";
  if (value.type == REG_SZ) return text + value.as_string();
  for (unsigned char b : value.data) text += std::to_wstring(b) + L" ";
  return text;
}

void add_files(PrefixSnapshot& snapshot) {
  namespace fs = std::filesystem;
  std::error_code error;
  fs::recursive_directory_iterator it(fs::path(L"C:\\"), fs::directory_options::skip_permission_denied, error), end;
  for (; !error && it != end; it.increment(error)) {
    std::error_code e;
    if (it->is_symlink(e)) {
      it.disable_recursion_pending();
      continue;
    }
    if (it->is_regular_file(e)) snapshot[L"file " + it->path().wstring()] = std::to_wstring(it->file_size(e)) + L" bytes";
  }
}
}  // namespace

PrefixSnapshot capture_prefix() {
  PrefixSnapshot snapshot;
  add_files(snapshot);
  for (const auto& key : watched_keys()) {
    const std::wstring name = std::wstring(key.root_name) + key.path;
    if (registry_key_exists(key.root, key.path, key.view)) snapshot[L"key " + name] = L"exists";
    for (const auto& [value_name, value] : read_registry_tree(key.root, key.path, key.view))
      snapshot[L"value " + std::wstring(key.root_name) + value_name] = describe(value);
  }
  return snapshot;
}

std::vector<std::wstring> snapshot_differences(const PrefixSnapshot& before, const PrefixSnapshot& after) {
  std::vector<std::wstring> lines;
  for (const auto& [item, state] : before) {
    auto now = after.find(item);
    if (now == after.end())
      lines.push_back(item + L": " + state + L" -> gone");
    else if (now->second != state)
      lines.push_back(item + L": " + state + L" -> " + now->second);
  }
  for (const auto& [item, state] : after)
    if (!before.count(item)) lines.push_back(item + L": absent -> " + state);
  return lines;
}
