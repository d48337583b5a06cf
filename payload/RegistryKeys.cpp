#include "payload/RegistryKeys.h"

namespace kvreg {

namespace {
class Key {
 public:
  Key(HKEY root, const std::wstring& path, REGSAM access, REGSAM view) {
    if (RegOpenKeyExW(root, path.c_str(), 0, access | view, &handle_) != ERROR_SUCCESS) handle_ = nullptr;
  }
  ~Key() {
    if (handle_) RegCloseKey(handle_);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  HKEY get() const { return handle_; }

 private:
  HKEY handle_ = nullptr;
};

std::wstring ParentOf(const std::wstring& path) {
  size_t p = path.find_last_of(L'\\');
  return p == std::wstring::npos ? std::wstring() : path.substr(0, p);
}

bool IsEmptyKey(HKEY root, const std::wstring& path, REGSAM view) {
  Key key(root, path, KEY_QUERY_VALUE, view);
  DWORD subkeys = 0, values = 0;
  return key.get() && RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                                       nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
         subkeys == 0 && values == 0;
}
}  // namespace

std::optional<std::wstring> ReadString(HKEY root, const std::wstring& path, const std::wstring& name, REGSAM view) {
  Key key(root, path, KEY_QUERY_VALUE, view);
  if (!key.get()) return std::nullopt;
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return std::nullopt;
  std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
  DWORD bytes = DWORD(text.size() * sizeof(wchar_t));
  if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &bytes) !=
      ERROR_SUCCESS)
    return std::nullopt;
  text.resize(wcsnlen(text.c_str(), bytes / sizeof(wchar_t)));
  return text;
}

bool WriteString(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& value, REGSAM view) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE | view, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return false;
  LSTATUS status = RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                  DWORD((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

bool KeyExists(HKEY root, const std::wstring& path, REGSAM view) {
  Key key(root, path, KEY_QUERY_VALUE, view);
  return key.get() != nullptr;
}

bool DeleteValue(HKEY root, const std::wstring& path, const std::wstring& name, REGSAM view) {
  Key key(root, path, KEY_SET_VALUE, view);
  if (!key.get()) return !KeyExists(root, path, view);
  LSTATUS status = RegDeleteValueW(key.get(), name.c_str());
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool DeleteTree(HKEY root, const std::wstring& path, REGSAM view) {
  if (!KeyExists(root, path, view)) return true;
  std::wstring parent = ParentOf(path);
  std::wstring name = parent.empty() ? path : path.substr(parent.size() + 1);
  Key key(root, parent, KEY_ALL_ACCESS, view);
  if (!key.get()) return false;
  RegDeleteTreeW(key.get(), name.c_str());
  RegDeleteKeyExW(key.get(), name.c_str(), view, 0);
  return !KeyExists(root, path, view);
}

void PruneEmptyKeys(HKEY root, const std::wstring& path, int levels, REGSAM view) {
  std::wstring current = path;
  for (int i = 0; i < levels && !current.empty(); ++i) {
    if (!IsEmptyKey(root, current, view)) return;
    if (RegDeleteKeyExW(root, current.c_str(), view, 0) != ERROR_SUCCESS) return;
    current = ParentOf(current);
  }
}

}  // namespace kvreg
