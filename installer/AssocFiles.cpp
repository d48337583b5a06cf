#include "installer/AssocFiles.h"

#include "toolkit/Registry.h"

namespace kv {

namespace {
// Trimmed of blanks and control characters at both ends.
std::wstring Trim(const std::wstring& s) {
    size_t b = 0, e = s.size();
    while (b < e && s[b] <= L' ') ++b;
    while (e > b && s[e - 1] <= L' ') --e;
    return s.substr(b, e - b);
}

void WriteDefault(const std::wstring& key, const std::wstring& value) {
    tk::TRegistry reg;
    reg.SetRootKey(HKEY_CLASSES_ROOT);
    reg.OpenKey(key, true);
    reg.WriteString(L"", value);
    reg.CloseKey();
}
}  // namespace

void AssociateFileType(const std::wstring& extension, const std::wstring& fileType, const std::wstring& description,
                       const std::wstring& programPath, int iconIndex) {
    std::wstring program = programPath;
    if (program.empty()) {
        wchar_t self[MAX_PATH];
        DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
        program.assign(self, n);
    }
    if (Trim(extension).empty() || Trim(fileType).empty()) return;
    WriteDefault(extension, fileType);
    WriteDefault(fileType + L"\\DefaultIcon", program + L"," + std::to_wstring(iconIndex));
    if (!Trim(description).empty()) WriteDefault(fileType + L"\\shell\\Open", description);
    WriteDefault(fileType + L"\\shell\\Open\\Command", program + L" \"%1\"");
}

}  // namespace kv
