// Reverses an installation, in the opposite order of the install steps: document types,
// thumbnail handler, shortcuts, installed files and directory, uninstall entry.
#pragma once
#include <string>

#include "payload/UninstallEntry.h"
#include "payload/UninstallReport.h"

namespace kv {

// The files the installer writes into the installation directory.
extern const wchar_t* const kInstalledFiles[5];

// `own_file` is the running uninstaller: when it is the installed one, its deletion is
// deferred until it has ended. COM must be initialised on the calling thread.
UninstallReport Uninstall(const UninstallEntry& entry, const std::wstring& own_file);

}  // namespace kv
