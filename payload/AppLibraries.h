// The application's view of the files beside it: its own version and the versions of the
// audio libraries, read through their version export.
#pragma once
#include <windows.h>

#include <string>

namespace kv {

// "major.minor.release.build" from the file's version resource; empty when it has none.
std::wstring FileVersionText(const std::wstring& path);

// Loads the library from exactly this path and calls its version export; empty when the
// library or the export is missing.
std::wstring LibraryVersionText(const std::wstring& dll_path, const char* export_name);

// The directory of the running executable, with a trailing backslash.
std::wstring ExecutableDirectory();

}  // namespace kv
