// The registry through one open key at a time, as the installer writes it.
#pragma once
#include "toolkit/Classes.h"

namespace tk {

class TRegistry : public TObject {
public:
    // access: the rights keys are opened with, including the registry view
    // (KEY_WOW64_32KEY / KEY_WOW64_64KEY); without one, the view of this process.
    explicit TRegistry(REGSAM access = KEY_ALL_ACCESS);
    ~TRegistry() override;

    HKEY RootKey() const { return FRootKey; }
    void SetRootKey(HKEY key);
    HKEY CurrentKey() const { return FCurrentKey; }
    REGSAM Access() const { return FAccess; }

    // Opens a key below the root (a leading "\" is ignored); creates it when canCreate.
    bool OpenKey(const std::wstring& key, bool canCreate);
    bool OpenKeyReadOnly(const std::wstring& key);
    bool KeyExists(const std::wstring& key);
    bool DeleteKey(const std::wstring& key);
    void CloseKey();

    void WriteString(const std::wstring& name, const std::wstring& value);
    void WriteInteger(const std::wstring& name, int32_t value);
    bool ValueExists(const std::wstring& name);
    std::wstring ReadString(const std::wstring& name);
    int32_t ReadInteger(const std::wstring& name);

private:
    void PutData(const std::wstring& name, const void* data, DWORD size, DWORD type);
    HKEY OpenForReading(const std::wstring& key) const;
    HKEY FRootKey = HKEY_CURRENT_USER;
    HKEY FCurrentKey = nullptr;
    REGSAM FAccess;
};

}  // namespace tk
