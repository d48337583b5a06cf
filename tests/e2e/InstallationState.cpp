#include "InstallationState.h"

#include <windows.h>

#include <filesystem>
#include <system_error>
#include <vector>

#include "FileAccess.h"
#include "RegistryAccess.h"

namespace {
std::vector<std::wstring> touched_files(const InstallLayout& layout) {
  return {layout.system_file_path(), layout.desktop_link, layout.programs_link};
}

// FNV-1a, 64 bits: enough to notice a rewritten file.
unsigned long long content_hash(const Bytes& bytes) {
  unsigned long long hash = 1469598103934665603ULL;
  for (unsigned char b : bytes) hash = (hash ^ b) * 1099511628211ULL;
  return hash;
}

std::wstring describe_file(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return L"missing";
  auto content = read_file(path);
  unsigned long long written = (unsigned long long)data.ftLastWriteTime.dwHighDateTime << 32 |
                               data.ftLastWriteTime.dwLowDateTime;
  return L"size " + std::to_wstring(content ? content->size() : 0) + L", written " + std::to_wstring(written) +
         L", hash " + std::to_wstring(content ? content_hash(*content) : 0);
}

std::wstring describe_value(const RegistryValue& value) {
  std::wstring text = registry_type_name(value.type) + L":";
  for (unsigned char b : value.data) text += std::to_wstring(b) + L" ";
  return text;
}

void add_registry_tree(StateSnapshot& snapshot, HKEY root, const std::wstring& root_name, const std::wstring& key,
                       REGSAM view) {
  snapshot[root_name + key] = registry_key_exists(root, key, view) ? L"key" : L"no key";
  for (const auto& [name, value] : read_registry_tree(root, key, view)) snapshot[root_name + name] = describe_value(value);
}
}  // namespace

void remove_installation(const InstallLayout& layout) {
  remove_tree(layout.dir);
  for (const auto& file : touched_files(layout)) DeleteFileW(file.c_str());
  delete_registry_tree(HKEY_LOCAL_MACHINE, kUninstallKey, KEY_WOW64_32KEY);
  for (const auto& key : kAssociationKeys) delete_registry_tree(HKEY_CLASSES_ROOT, key);
}

StateSnapshot capture_installation(const InstallLayout& layout) {
  StateSnapshot snapshot;
  std::error_code error;
  for (auto it = std::filesystem::recursive_directory_iterator(std::filesystem::path(layout.dir), error);
       !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
    if (it->is_regular_file(error)) snapshot[it->path().wstring()] = describe_file(it->path().wstring());
  }
  for (const auto& file : touched_files(layout)) snapshot[file] = describe_file(file);
  add_registry_tree(snapshot, HKEY_LOCAL_MACHINE, L"HKLM\\", kUninstallKey, KEY_WOW64_32KEY);
  for (const auto& key : kAssociationKeys) add_registry_tree(snapshot, HKEY_CLASSES_ROOT, L"HKCR\\", key, 0);
  return snapshot;
}

void expect_unchanged(CheckLog& log, const StateSnapshot& before, const StateSnapshot& after) {
  int changes = 0;
  for (const auto& [item, state] : before) {
    auto later = after.find(item);
    std::wstring now = later == after.end() ? L"gone" : later->second;
    if (now != state && ++changes) log.expect(false, L"unchanged: " + item, state, now);
  }
  for (const auto& [item, state] : after)
    if (!before.count(item) && ++changes) log.expect(false, L"unchanged: " + item, L"absent", state);
  log.expect(changes == 0, L"disk and registry unchanged (" + std::to_wstring(before.size()) + L" items compared)");
}
