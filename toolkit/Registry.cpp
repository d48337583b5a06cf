#include "toolkit/Registry.h"

namespace tk {

namespace {
std::wstring Relative(const std::wstring& key) {
    return !key.empty() && key[0] == L'\\' ? key.substr(1) : key;
}
}  // namespace

TRegistry::TRegistry(REGSAM access) : FAccess(access) {}

TRegistry::~TRegistry() { CloseKey(); }

void TRegistry::SetRootKey(HKEY key) {
    CloseKey();
    FRootKey = key;
}

bool TRegistry::OpenKey(const std::wstring& key, bool canCreate) {
    HKEY h = nullptr;
    LONG rc = canCreate ? RegCreateKeyExW(FRootKey, Relative(key).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                          FAccess, nullptr, &h, nullptr)
                        : RegOpenKeyExW(FRootKey, Relative(key).c_str(), 0, FAccess, &h);
    if (rc != ERROR_SUCCESS) return false;
    CloseKey();
    FCurrentKey = h;
    return true;
}

HKEY TRegistry::OpenForReading(const std::wstring& key) const {
    HKEY h = nullptr;
    if (RegOpenKeyExW(FRootKey, Relative(key).c_str(), 0, KEY_READ | (FAccess & KEY_WOW64_RES), &h) != ERROR_SUCCESS)
        return nullptr;
    return h;
}

bool TRegistry::OpenKeyReadOnly(const std::wstring& key) {
    HKEY h = OpenForReading(key);
    if (!h) return false;
    CloseKey();
    FCurrentKey = h;
    return true;
}

bool TRegistry::KeyExists(const std::wstring& key) {
    HKEY h = OpenForReading(key);
    if (h) RegCloseKey(h);
    return h != nullptr;
}

bool TRegistry::DeleteKey(const std::wstring& key) {
    return RegDeleteTreeW(FRootKey, Relative(key).c_str()) == ERROR_SUCCESS;
}

void TRegistry::CloseKey() {
    if (FCurrentKey) RegCloseKey(FCurrentKey);
    FCurrentKey = nullptr;
}

void TRegistry::PutData(const std::wstring& name, const void* data, DWORD size, DWORD type) {
    if (!FCurrentKey ||
        RegSetValueExW(FCurrentKey, name.c_str(), 0, type, static_cast<const BYTE*>(data), size) != ERROR_SUCCESS)
        throw ERegistryException(Format(L"Failed to set data for '%s'", {name}));
}

void TRegistry::WriteString(const std::wstring& name, const std::wstring& value) {
    PutData(name, value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)), REG_SZ);
}

void TRegistry::WriteInteger(const std::wstring& name, int32_t value) {
    PutData(name, &value, sizeof value, REG_DWORD);
}

bool TRegistry::ValueExists(const std::wstring& name) {
    return FCurrentKey && RegQueryValueExW(FCurrentKey, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::wstring TRegistry::ReadString(const std::wstring& name) {
    DWORD type = 0, size = 0;
    if (!FCurrentKey || RegQueryValueExW(FCurrentKey, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return {};
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        throw ERegistryException(Format(L"Invalid data type for '%s'", {name}));
    std::wstring buf(size / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(FCurrentKey, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &size) !=
        ERROR_SUCCESS)
        throw ERegistryException(Format(L"Failed to get data for '%s'", {name}));
    buf.resize(wcsnlen(buf.c_str(), size / sizeof(wchar_t)));
    return buf;
}

int32_t TRegistry::ReadInteger(const std::wstring& name) {
    DWORD type = 0, size = sizeof(int32_t);
    int32_t v = 0;
    if (!FCurrentKey || RegQueryValueExW(FCurrentKey, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&v), &size) !=
                            ERROR_SUCCESS || type != REG_DWORD)
        throw ERegistryException(Format(L"Failed to get data for '%s'", {name}));
    return v;
}

}  // namespace tk
