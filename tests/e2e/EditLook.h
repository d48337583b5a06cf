// The installer's directory field and language selector as a user meets them: both framed and
// filled by the skin rather than by the system's edge and the stored colours, a path typed,
// selected and pasted into the field with the keyboard and the clipboard, and the language
// chosen in the opened list with the mouse and with the keyboard.
#pragma once
#include <windows.h>

#include <string>

#include "InstallerSession.h"

// Leaves `install_dir` in the directory field (it is typed over and pasted back) and the one
// language chosen; the window stays ready for the install click.
void check_edits_and_language(InstallerSession& session, const std::wstring& install_dir);
