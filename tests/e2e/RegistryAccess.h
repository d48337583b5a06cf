// Registry reads for the checks: single values, whole key trees, and deleting a tree.
#pragma once
#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

struct RegistryValue {
  DWORD type = REG_NONE;
  std::vector<unsigned char> data;

  std::wstring as_string() const;  // REG_SZ data without the terminating NUL
  std::optional<DWORD> as_dword() const;
};

std::wstring registry_type_name(DWORD type);

// `view` is 0, KEY_WOW64_32KEY or KEY_WOW64_64KEY. An empty name reads the default value.
std::optional<RegistryValue> read_registry_value(HKEY root, const std::wstring& subkey, const std::wstring& name,
                                                 REGSAM view = 0);
bool registry_key_exists(HKEY root, const std::wstring& subkey, REGSAM view = 0);
size_t registry_value_count(HKEY root, const std::wstring& subkey, REGSAM view = 0);

// Every value below the key, by "subkey\\name" relative to it; empty when the key is missing.
std::map<std::wstring, RegistryValue> read_registry_tree(HKEY root, const std::wstring& subkey, REGSAM view = 0);

void delete_registry_tree(HKEY root, const std::wstring& subkey, REGSAM view = 0);
bool write_registry_string(HKEY root, const std::wstring& subkey, const std::wstring& name,
                           const std::wstring& value, REGSAM view = 0);
