// Paths the uninstaller works with: shell folders, the system directory that holds the
// thumbnail handler, and path comparison.
#pragma once
#include <windows.h>

#include <string>

#include "toolkit/PathNames.h"

namespace kv {

// The shell folder's path; empty when it cannot be resolved. Never creates the folder.
std::wstring SpecialFolderPath(int csidl);

// True when this 32-bit process runs on 64-bit Windows.
bool RunningUnderWow64();

// The thumbnail handler where the installer of this build puts it: the Windows folder followed
// by "\SysWOW64\QZThumbnail64.dll" under WOW64, "\System32\QZThumbnail64.dll" in the native
// 64-bit build, else "\System32\QZThumbnail32.dll".
struct ThumbnailFile {
  std::wstring system_dir;
  std::wstring path;
  bool is_64bit = false;
  REGSAM view = 0;  // the registry view its class is registered in
};
ThumbnailFile InstalledThumbnailFile();

std::wstring ModuleFilePath(HMODULE module);
std::wstring ParentDirectory(const std::wstring& path);  // without the trailing backslash
std::wstring FileNameOf(const std::wstring& path);
// Without trailing backslashes (a drive root keeps its one: "C:\").
std::wstring WithoutTrailingSlash(const std::wstring& path);
// "C:\..." or "\\server\share\...": the installer's own rule, so that every location it
// records is one the uninstaller accepts.
using tk::IsAbsolutePath;
// Equal ignoring letter case and a trailing backslash.
bool SamePath(const std::wstring& a, const std::wstring& b);
bool FileExists(const std::wstring& path);
bool DirectoryExists(const std::wstring& path);
// The system's message for an error code, one line.
std::wstring ErrorText(DWORD code);

}  // namespace kv
