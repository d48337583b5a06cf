// The installer window's skinned frame seen from outside: its outline, its caption text in
// the skin's colour, the close button's hover fade, and the ways to close the window or open
// its system menu with real input.
#pragma once
#include <windows.h>

#include <string>

#include "CheckLog.h"
#include "InstallerSession.h"

// The caption band on the screen: inside the frame, from its top to the client's top.
RECT caption_band(HWND window);

// The outline is cut at the skin's corners and the caption is not the system's.
void check_skinned_frame(CheckLog& log, HWND window);
// The caption text shows in the skin's colour (active) or its inactive colour.
void check_caption_text(CheckLog& log, HWND window, bool active);
// Hovering the close button fades its hot picture in; leaving fades it out again.
void check_close_button_fade(CheckLog& log, HWND window);
// Alt+Space opens the system menu, Escape closes it, the window stays.
void check_system_menu_by_keyboard(CheckLog& log, HWND window, DWORD process_id);
// Clicks the close button; the process ends with code 0.
void close_by_close_button(InstallerSession& session);
// Alt+F4 closes the window; the process ends with code 0.
void close_by_alt_f4(InstallerSession& session);

// Scenario "frame": the frame, caption text active and inactive (screenshots of both), the
// close button's fade, the system menu by keyboard, then a click on the close button.
void skinned_frame_scenario(InstallerSession& session, const std::wstring& exe);
// Scenario "altf4": the window closes on Alt+F4 with exit code 0.
void alt_f4_scenario(InstallerSession& session, const std::wstring& exe);
