#include "InstallChecks.h"

#include <windows.h>

#include <optional>
#include <vector>

#include "FileAccess.h"
#include "RegistryAccess.h"
#include "ShortcutReader.h"

namespace {
const std::wstring kDisplayVersion = L"beta v.0.14.3 [Build: 110]";
const std::wstring kPublisher = L"Vornhalt";
constexpr DWORD kEstimatedSize = 5000;
const std::wstring kOpenVerbText = L"Открыть с помощью Kalvetra";

void check_file_equals(CheckLog& log, const std::wstring& installed, const std::wstring& source) {
  auto expected = read_file(source);
  if (!log.expect(expected.has_value(), L"payload source readable: " + source)) return;
  auto actual = read_file(installed);
  if (!log.expect(actual.has_value(), L"file exists: " + installed)) return;
  log.expect(*actual == *expected, L"file content equals its payload source: " + installed,
             std::to_wstring(expected->size()) + L" bytes of " + source,
             std::to_wstring(actual->size()) + L" bytes that differ");
}

struct ExpectedRegistryValue {
  std::wstring name;
  DWORD type;
  std::wstring text;  // for REG_SZ
  DWORD number;       // for REG_DWORD
};

std::wstring render(const RegistryValue& value) {
  if (auto number = value.as_dword()) return L"REG_DWORD " + std::to_wstring(*number);
  return registry_type_name(value.type) + L" " + quoted(value.as_string());
}

std::wstring render(const ExpectedRegistryValue& value) {
  if (value.type == REG_DWORD) return L"REG_DWORD " + std::to_wstring(value.number);
  return registry_type_name(value.type) + L" " + quoted(value.text);
}

bool same(const RegistryValue& actual, const ExpectedRegistryValue& expected) {
  if (actual.type != expected.type) return false;
  if (expected.type == REG_DWORD) return actual.as_dword() == expected.number;
  return actual.as_string() == expected.text;
}

void check_value(CheckLog& log, HKEY root, const std::wstring& key, const ExpectedRegistryValue& expected,
                 REGSAM view) {
  std::wstring what = key + L"\\" + (expected.name.empty() ? L"(default)" : expected.name);
  auto actual = read_registry_value(root, key, expected.name, view);
  log.expect(actual && same(*actual, expected), what, render(expected), actual ? render(*actual) : L"missing");
}

std::vector<ExpectedRegistryValue> uninstall_values(const InstallLayout& layout) {
  return {
      {L"DisplayIcon", REG_SZ, layout.program_path(), 0},
      {L"DisplayName", REG_SZ, L"Kalvetra", 0},
      {L"DisplayVersion", REG_SZ, kDisplayVersion, 0},
      {L"InstallLocation", REG_SZ, layout.dir, 0},
      {L"Publisher", REG_SZ, kPublisher, 0},
      {L"UninstallString", REG_SZ, layout.installed_path(L"Kalvetra_uninstall.exe"), 0},
      {L"EstimatedSize", REG_DWORD, {}, kEstimatedSize},
  };
}

// The product page address is ours to choose; both URL values carry the same one.
void check_url_values(CheckLog& log) {
  auto about = read_registry_value(HKEY_LOCAL_MACHINE, kUninstallKey, L"URLInfoAbout", KEY_WOW64_32KEY);
  auto update = read_registry_value(HKEY_LOCAL_MACHINE, kUninstallKey, L"URLUpdateInfo", KEY_WOW64_32KEY);
  if (!log.expect(about && about->type == REG_SZ && !about->as_string().empty(), L"URLInfoAbout is a non-empty string",
                  L"REG_SZ with an address", about ? render(*about) : L"missing"))
    return;
  log.expect(update && update->type == REG_SZ && update->as_string() == about->as_string(),
             L"URLUpdateInfo equals URLInfoAbout", render(*about), update ? render(*update) : L"missing");
}

struct DocumentType {
  std::wstring extension, file_type;
  int icon_index;
};

const std::vector<DocumentType> kDocumentTypes = {{L".qzs", L"Kalvetra.Preset", 1}, {L".qzt", L"Kalvetra.Theme", 2}};

std::vector<std::pair<std::wstring, ExpectedRegistryValue>> association_values(const InstallLayout& layout) {
  std::vector<std::pair<std::wstring, ExpectedRegistryValue>> values;
  for (const auto& type : kDocumentTypes) {
    values.push_back({type.extension, {L"", REG_SZ, type.file_type, 0}});
    values.push_back({type.file_type + L"\\DefaultIcon",
                      {L"", REG_SZ, layout.program_path() + L"," + std::to_wstring(type.icon_index), 0}});
    values.push_back({type.file_type + L"\\shell\\Open", {L"", REG_SZ, kOpenVerbText, 0}});
    values.push_back({type.file_type + L"\\shell\\Open\\Command", {L"", REG_SZ, layout.program_path() + L" \"%1\"", 0}});
  }
  return values;
}
}  // namespace

void check_install_files(CheckLog& log, const InstallLayout& layout, const std::wstring& payload_dir, size_t count) {
  for (size_t i = 0; i < count && i < kInstallFileNames.size(); ++i)
    check_file_equals(log, layout.installed_path(kInstallFileNames[i]), payload_dir + L"\\" + kInstallFileNames[i]);
}

void check_install_files_absent(CheckLog& log, const InstallLayout& layout, size_t first) {
  for (size_t i = first; i < kInstallFileNames.size(); ++i) {
    const std::wstring installed = layout.installed_path(kInstallFileNames[i]);
    log.expect(!file_exists(installed), L"file not written: " + installed);
  }
}

void check_system_file(CheckLog& log, const InstallLayout& layout, const std::wstring& payload_dir, bool expected) {
  if (expected) check_file_equals(log, layout.system_file_path(), payload_dir + L"\\" + layout.thumbnail_file);
  else log.expect(!file_exists(layout.system_file_path()), L"file not written: " + layout.system_file_path());
}

void check_shortcut(CheckLog& log, const InstallLayout& layout, const std::wstring& link_file, bool expected) {
  if (!expected) {
    log.expect(!file_exists(link_file), L"no shortcut: " + link_file);
    return;
  }
  auto link = read_shortcut(link_file);
  if (!log.expect(link.has_value(), L"shortcut readable: " + link_file)) return;
  log.expect_equal(L"shortcut target: " + link_file, layout.program_path(), link->path);
  log.expect_equal(L"shortcut working directory: " + link_file, layout.dir + L"\\", link->working_directory);
  log.expect_equal(L"shortcut arguments: " + link_file, L"", link->arguments);
}

void check_uninstall_entry(CheckLog& log, const InstallLayout& layout, bool expected) {
  const std::wstring where = L"HKLM\\" + kUninstallKey;
  if (!expected) {
    log.expect(!registry_key_exists(HKEY_LOCAL_MACHINE, kUninstallKey, KEY_WOW64_32KEY), L"no uninstall entry: " + where);
    return;
  }
  if (!log.expect(registry_key_exists(HKEY_LOCAL_MACHINE, kUninstallKey, KEY_WOW64_32KEY),
                  L"uninstall entry exists in the 32-bit view: " + where))
    return;
  for (const auto& value : uninstall_values(layout)) check_value(log, HKEY_LOCAL_MACHINE, kUninstallKey, value, KEY_WOW64_32KEY);
  check_url_values(log);
  log.expect_equal(L"number of values in " + where, 9,
                   (long long)registry_value_count(HKEY_LOCAL_MACHINE, kUninstallKey, KEY_WOW64_32KEY));
  if (layout.windows64)
    log.expect(!registry_key_exists(HKEY_LOCAL_MACHINE, kUninstallKey, KEY_WOW64_64KEY),
               L"uninstall entry absent from the 64-bit view: " + where);
}

void check_associations(CheckLog& log, const InstallLayout& layout, bool expected) {
  if (!expected) {
    for (const auto& key : kAssociationKeys)
      log.expect(!registry_key_exists(HKEY_CLASSES_ROOT, key), L"no document-type key: HKCR\\" + key);
    return;
  }
  for (const auto& [key, value] : association_values(layout)) check_value(log, HKEY_CLASSES_ROOT, key, value, 0);
}
