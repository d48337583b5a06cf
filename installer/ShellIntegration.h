// Path helpers for the installer: shortcut naming, directory creation, the system directory.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "toolkit/PathNames.h"

namespace kv {

// Everything up to and including the last "\" or ":".
std::wstring ExtractFilePath(const std::wstring& fileName);
// Replaces the extension behind the last "\" or ":" with ".lnk", or appends it.
std::wstring ShortcutFileName(const std::wstring& name);
// Creates or replaces a shortcut file (name given the ".lnk" extension) that starts
// sourceFile with sourceParams in the folder of sourceFile. Raises EOSError, naming the
// shortcut file and the system's reason, when the shortcut cannot be set up or saved.
void CreateShellLink(const std::wstring& sourceFile, const std::wstring& shortCutName, const std::wstring& sourceParams);
using tk::SystemProgramPath;
// Restricts where DLLs are loaded from to the system directory (the installer runs elevated).
void RestrictDllSearchPath();
bool DirectoryExists(const std::wstring& path);
// Creates a directory and all its missing parents; false when it could not.
bool ForceDirectories(const std::wstring& path);

}  // namespace kv
