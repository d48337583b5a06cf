// Checks of what an installation leaves behind: files, shortcuts, the uninstall entry and
// the document types.
#pragma once
#include <string>

#include "CheckLog.h"
#include "InstallLayout.h"

// Install files number 0 .. count-1 must equal the payload sources in `payload_dir`.
void check_install_files(CheckLog& log, const InstallLayout& layout, const std::wstring& payload_dir, size_t count);
// Install files from number `first` on must not exist.
void check_install_files_absent(CheckLog& log, const InstallLayout& layout, size_t first);
void check_system_file(CheckLog& log, const InstallLayout& layout, const std::wstring& payload_dir, bool expected);
void check_shortcut(CheckLog& log, const InstallLayout& layout, const std::wstring& link_file, bool expected);
void check_uninstall_entry(CheckLog& log, const InstallLayout& layout, bool expected);
void check_associations(CheckLog& log, const InstallLayout& layout, bool expected);
