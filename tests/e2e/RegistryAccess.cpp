#include "RegistryAccess.h"

#include <cstring>

namespace {
// An open key that closes itself.
class Key {
 public:
  Key(HKEY root, const std::wstring& subkey, REGSAM access) {
    if (RegOpenKeyExW(root, subkey.c_str(), 0, access, &key_) != ERROR_SUCCESS) key_ = nullptr;
  }
  ~Key() {
    if (key_) RegCloseKey(key_);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  HKEY get() const { return key_; }
  explicit operator bool() const { return key_ != nullptr; }

 private:
  HKEY key_ = nullptr;
};

std::optional<RegistryValue> query_value(HKEY key, const wchar_t* name) {
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
  RegistryValue value{type, std::vector<unsigned char>(size)};
  if (RegQueryValueExW(key, name, nullptr, &type, value.data.data(), &size) != ERROR_SUCCESS) return std::nullopt;
  value.data.resize(size);
  return value;
}

void collect_tree(HKEY key, const std::wstring& prefix, std::map<std::wstring, RegistryValue>& out) {
  wchar_t name[16384];
  for (DWORD i = 0;; ++i) {
    DWORD length = 16384;
    if (RegEnumValueW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    if (auto value = query_value(key, name)) out[prefix + L"\\" + name] = *value;
  }
  for (DWORD i = 0;; ++i) {
    DWORD length = 256;
    if (RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    Key child(key, name, KEY_READ);
    if (child) collect_tree(child.get(), prefix + L"\\" + name, out);
  }
}
}  // namespace

std::wstring RegistryValue::as_string() const {
  std::wstring text(data.size() / sizeof(wchar_t), L'\0');
  std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
  while (!text.empty() && text.back() == L'\0') text.pop_back();
  return text;
}

std::optional<DWORD> RegistryValue::as_dword() const {
  if (type != REG_DWORD || data.size() != sizeof(DWORD)) return std::nullopt;
  DWORD number = 0;
  std::memcpy(&number, data.data(), sizeof number);
  return number;
}

std::wstring registry_type_name(DWORD type) {
  switch (type) {
    case REG_SZ: return L"REG_SZ";
    case REG_EXPAND_SZ: return L"REG_EXPAND_SZ";
    case REG_DWORD: return L"REG_DWORD";
    case REG_BINARY: return L"REG_BINARY";
    case REG_MULTI_SZ: return L"REG_MULTI_SZ";
    case REG_QWORD: return L"REG_QWORD";
    default: return L"type " + std::to_wstring(type);
  }
}

std::optional<RegistryValue> read_registry_value(HKEY root, const std::wstring& subkey, const std::wstring& name,
                                                 REGSAM view) {
  Key key(root, subkey, KEY_READ | view);
  if (!key) return std::nullopt;
  return query_value(key.get(), name.empty() ? nullptr : name.c_str());
}

bool registry_key_exists(HKEY root, const std::wstring& subkey, REGSAM view) {
  return bool(Key(root, subkey, KEY_READ | view));
}

size_t registry_value_count(HKEY root, const std::wstring& subkey, REGSAM view) {
  Key key(root, subkey, KEY_READ | view);
  DWORD count = 0;
  if (!key || RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr,
                               nullptr, nullptr, nullptr) != ERROR_SUCCESS)
    return 0;
  return count;
}

std::map<std::wstring, RegistryValue> read_registry_tree(HKEY root, const std::wstring& subkey, REGSAM view) {
  std::map<std::wstring, RegistryValue> values;
  Key key(root, subkey, KEY_READ | view);
  if (key) collect_tree(key.get(), subkey, values);
  return values;
}

void delete_registry_tree(HKEY root, const std::wstring& subkey, REGSAM view) {
  size_t split = subkey.rfind(L'\\');
  std::wstring parent = split == std::wstring::npos ? L"" : subkey.substr(0, split);
  std::wstring leaf = split == std::wstring::npos ? subkey : subkey.substr(split + 1);
  Key key(root, parent, KEY_ALL_ACCESS | view);
  if (key) RegDeleteTreeW(key.get(), leaf.c_str());
}

bool write_registry_string(HKEY root, const std::wstring& subkey, const std::wstring& name,
                           const std::wstring& value, REGSAM view) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(root, subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return false;
  LONG result = RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                               DWORD((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}
