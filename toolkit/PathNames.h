// Rules for Windows path names shared by the installer and the programs it installs, so that
// a path one of them accepts the other reads the same way. Header-only: the payload programs
// use it without the toolkit library.
#pragma once
#include <windows.h>

#include <string>

namespace tk {

inline bool IsPathSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// "\\server\share": two separators, a server name, a separator and a share name.
inline bool IsUncPath(const std::wstring& path) {
    if (path.size() < 5 || !IsPathSeparator(path[0]) || !IsPathSeparator(path[1])) return false;
    const size_t serverEnd = path.find_first_of(L"\\/", 2);
    return serverEnd != std::wstring::npos && serverEnd > 2 && serverEnd + 1 < path.size() &&
           !IsPathSeparator(path[serverEnd + 1]);
}

// True for a path that does not depend on the current drive or directory: "X:\..." or
// "\\server\share...", with "\" or "/" as separators.
inline bool IsAbsolutePath(const std::wstring& path) {
    const wchar_t d = path.empty() ? L'\0' : path[0];
    const bool driveLetter = (d >= L'A' && d <= L'Z') || (d >= L'a' && d <= L'z');
    const bool drive = path.size() >= 3 && driveLetter && path[1] == L':' && IsPathSeparator(path[2]);
    return drive || IsUncPath(path);
}

// The full path of a file in the system directory ("cmd.exe" -> "C:\windows\system32\cmd.exe"):
// what an elevated program starts or loads is never looked up beside it or in the current folder.
inline std::wstring SystemProgramPath(const std::wstring& program) {
    wchar_t dir[MAX_PATH];
    const UINT n = GetSystemDirectoryW(dir, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return program;
    return std::wstring(dir, n) + L"\\" + program;
}

}  // namespace tk
