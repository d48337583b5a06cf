#include "installer/ShellIntegration.h"

#include <shlobj.h>

#include "toolkit/Classes.h"
#include "toolkit/ComRef.h"

#include <vector>

namespace kv {

std::wstring ExtractFilePath(const std::wstring& fileName) {
    size_t p = fileName.find_last_of(L"\\:");
    return p == std::wstring::npos ? std::wstring() : fileName.substr(0, p + 1);
}

std::wstring ShortcutFileName(const std::wstring& name) {
    size_t sep = name.find_last_of(L"\\:");
    size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos && (sep == std::wstring::npos || dot > sep)) return name.substr(0, dot) + L".lnk";
    return name + L".lnk";
}

namespace {
// A shortcut step that failed raises an error naming the shortcut file and the system's reason.
void CheckShortcutStep(HRESULT hr, const std::wstring& linkFile) {
    if (FAILED(hr))
        throw tk::EOSError(tk::Format(L"Cannot create shortcut \"%s\". %s",
                                      {linkFile, tk::SysErrorMessage(static_cast<DWORD>(hr))}));
}
}  // namespace

void CreateShellLink(const std::wstring& sourceFile, const std::wstring& shortCutName, const std::wstring& sourceParams) {
    tk::ComRef<IShellLinkW> link;
    HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.Out());
    if (FAILED(hr) || !link.Get()) throw tk::EOSError(L"Cannot create the shell link object");
    tk::ComRef<IPersistFile> file;
    hr = link->QueryInterface(IID_IPersistFile, file.Out());
    if (FAILED(hr) || !file.Get()) throw tk::EOSError(L"Interface not supported");
    const std::wstring linkFile = ShortcutFileName(shortCutName);
    CheckShortcutStep(link->SetPath(sourceFile.c_str()), linkFile);
    CheckShortcutStep(link->SetArguments(sourceParams.c_str()), linkFile);
    CheckShortcutStep(link->SetWorkingDirectory(ExtractFilePath(sourceFile).c_str()), linkFile);
    CheckShortcutStep(file->Save(linkFile.c_str(), FALSE), linkFile);
}

void RestrictDllSearchPath() {
    // Looked up at run time: older systems without the update have neither export.
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    HMODULE kernel = GetModuleHandleW(L"Kernel32.dll");
    if (auto fn = reinterpret_cast<SetDefaultDllDirectoriesFn>(GetProcAddress(kernel, "SetDefaultDllDirectories")))
        fn(LOAD_LIBRARY_SEARCH_SYSTEM32);
    SetDllDirectoryW(L"");  // takes the current directory out of the search order
}

bool DirectoryExists(const std::wstring& path) {
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool ForceDirectories(const std::wstring& path) {
    std::wstring p = path;
    while (p.size() > 3 && (p.back() == L'\\' || p.back() == L'/')) p.pop_back();
    if (p.empty() || DirectoryExists(p)) return true;
    std::wstring parent = ExtractFilePath(p);
    if (!parent.empty() && parent.size() < p.size() && !ForceDirectories(parent)) return false;
    return CreateDirectoryW(p.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

}  // namespace kv
