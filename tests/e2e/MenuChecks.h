// The installer window's system menu seen from outside: it opens by Alt+Space, by a click on
// the title icon and by a right click on the caption, drops down as a skinned menu window
// (class "#32768" with a region cut at the skin's corners, painted in the skin's colours, not
// the platform's menu colour), its highlight follows the arrow keys, Escape closes it, and
// its close item closes the window. Cross-process menu queries fail under Wine, so the checks
// read window classes, regions and screen pixels.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "InstallerSession.h"

// Does `how` (a key or a click) and waits for the process's menu window; nullptr (a failed
// check) when none appears.
HWND open_system_menu(CheckLog& log, DWORD process_id, const std::function<void()>& how, const std::wstring& what);
// Escape closes the open menu and the window stays.
void close_menu_with_escape(CheckLog& log, HWND window, DWORD process_id, const std::wstring& what);

// Scenario "sysmenu": the three ways to open the menu, the highlight, Escape (with a
// screenshot of the open menu), then the close item: exit code 0.
void system_menu_scenario(InstallerSession& session, const std::wstring& exe);
