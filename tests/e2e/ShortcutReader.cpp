#include "ShortcutReader.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace {
template <typename T>
struct Released {
  T* p = nullptr;
  ~Released() {
    if (p) p->Release();
  }
};
}  // namespace

std::optional<ShortcutInfo> read_shortcut(const std::wstring& link_file) {
  Released<IShellLinkW> link;
  Released<IPersistFile> file;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link.p))))
    return std::nullopt;
  if (FAILED(link.p->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.p)))) return std::nullopt;
  if (FAILED(file.p->Load(link_file.c_str(), STGM_READ))) return std::nullopt;

  ShortcutInfo info;
  wchar_t buffer[MAX_PATH * 4] = {};
  if (SUCCEEDED(link.p->GetPath(buffer, MAX_PATH * 4, nullptr, SLGP_RAWPATH))) info.path = buffer;
  buffer[0] = 0;
  if (SUCCEEDED(link.p->GetWorkingDirectory(buffer, MAX_PATH * 4))) info.working_directory = buffer;
  buffer[0] = 0;
  if (SUCCEEDED(link.p->GetArguments(buffer, MAX_PATH * 4))) info.arguments = buffer;
  return info;
}
