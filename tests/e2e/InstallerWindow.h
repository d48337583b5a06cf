// The installer window as the driver sees it: its windowed controls, found by class and
// place, and the checks of the window's and the controls' stored properties.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "CheckLog.h"
#include "InstallLayout.h"

struct InstallerControls {
  HWND window = nullptr;
  HWND install_button = nullptr;
  HWND desktop_check = nullptr;
  HWND programs_check = nullptr;
  HWND associate_check = nullptr;
  HWND dir_edit = nullptr;
  HWND memo = nullptr;
  HWND language_combo = nullptr;

  bool complete() const;
};

// Checks caption, client size, centring, styles and layering of the window.
void check_window_frame(CheckLog& log, HWND window);

// Finds every windowed control, checks its class, text, place and state (as shown at
// start) and reports any windowed child that should not exist.
InstallerControls find_and_check_controls(CheckLog& log, HWND window, const InstallLayout& layout);

// Finds the controls by place only, without checking them.
InstallerControls find_controls(HWND window);

// Reads the log memo as lines.
std::vector<std::wstring> memo_lines(const InstallerControls& controls);
