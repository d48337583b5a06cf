#include "payload/ShortcutRemoval.h"

#include <windows.h>
#include <shlobj.h>

#include <optional>

#include "payload/SystemPaths.h"

namespace kv {

namespace {
std::optional<std::wstring> ShortcutTarget(const std::wstring& link_file) {
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link))))
    return std::nullopt;
  std::optional<std::wstring> target;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    wchar_t path[MAX_PATH] = {};
    if (SUCCEEDED(file->Load(link_file.c_str(), STGM_READ)) &&
        SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH)))
      target = path;
    file->Release();
  }
  link->Release();
  return target;
}

void RemoveShortcut(const std::wstring& link_file, const std::wstring& program, UninstallReport& report) {
  if (!FileExists(link_file)) return;  // not created at install (its check box was cleared) or removed by the user
  auto target = ShortcutTarget(link_file);
  if (!target || !SamePath(*target, program)) {
    report.Kept(link_file, target ? L"запускает " + *target : L"не читается как ярлык");
    return;
  }
  if (!DeleteFileW(link_file.c_str())) report.Failed(link_file, ErrorText(GetLastError()));
}
}  // namespace

void RemoveShortcuts(const std::wstring& dir, UninstallReport& report) {
  const std::wstring program = dir + L"\\Kalvetra.exe";
  for (int folder : {CSIDL_DESKTOP, CSIDL_PROGRAMS}) {
    std::wstring path = SpecialFolderPath(folder);
    if (!path.empty()) RemoveShortcut(path + L"\\Kalvetra.lnk", program, report);
  }
}

}  // namespace kv
