// The installer's buttons as they appear on the screen: painted from the skin rather than in
// the system's look, fading when the mouse comes over the install button, and blended with the
// window behind while the install runs.
#pragma once
#include <windows.h>

#include <thread>

#include "CheckLog.h"
#include "InstallerWindow.h"

// Screen colours of a button's face (at a point free of text) and of the window beside it.
struct ButtonColours {
  COLORREF face = 0;
  COLORREF behind = 0;
};

// Checks that the install button and the browse button ("...", a window-less control of the
// installer window at its stored place) do not show the system's button face; returns the
// install button's colours as they are now.
ButtonColours check_button_faces(CheckLog& log, const InstallerControls& controls);

// Clicks into the directory field (the install button loses the focus and its hot face), then
// moves the mouse over the install button (no click) and checks that its face passes through at
// least one colour between the old and the new face; the mouse is moved away afterwards.
void check_hover_fade(CheckLog& log, const InstallerControls& controls);

// Watches the install button from the moment of the install click on another thread: once it
// is disabled its face must move towards the window behind it (the blended disabled look); the
// screenshot "installing" is asked for then.
class DisabledLookWatch {
public:
  DisabledLookWatch(HWND button, ButtonColours normal);
  ~DisabledLookWatch();
  // Waits for the watch to end and records what it saw.
  void check(CheckLog& log);
  // After the run: the enabled button ("Завершить") leaves the disabled face within a few
  // seconds (the window repaints it once the click has returned).
  void check_enabled_face(CheckLog& log);

private:
  void run();
  HWND button_;
  ButtonColours normal_;
  bool seen_disabled_ = false;
  COLORREF disabled_face_ = 0;
  std::thread thread_;
};
