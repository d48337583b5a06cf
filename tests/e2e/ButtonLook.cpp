#include "ButtonLook.h"

#include <vector>

#include "Console.h"
#include "MouseInput.h"
#include "ScreenColour.h"
#include "TextUtil.h"
#include "WindowInspect.h"

namespace {
constexpr RECT kBrowseButton{613, 110, 613 + 23, 110 + 22};  // client coordinates of the window
constexpr DWORD kHoverWatchMs = 500;
constexpr DWORD kDisabledWatchMs = 60000;
constexpr DWORD kRepaintMs = 3000;

// A point of the button's face above its caption, on the screen.
POINT face_point(HWND button) {
  RECT r;
  GetWindowRect(button, &r);
  return {(r.left + r.right) / 2, r.top + 2};
}

POINT beside_point(HWND button) {
  RECT r;
  GetWindowRect(button, &r);
  return {r.left - 3, (r.top + r.bottom) / 2};
}

// The colours of a rectangle's inner pixels that equal the system button face.
int system_face_pixels(RECT screen) {
  const COLORREF system = GetSysColor(COLOR_BTNFACE);
  int n = 0;
  for (int y = screen.top + 2; y < screen.bottom - 2; y += 2)
    for (int x = screen.left + 2; x < screen.right - 2; x += 2) n += screen_pixel({x, y}) == system;
  return n;
}

}  // namespace

ButtonColours check_button_faces(CheckLog& log, const InstallerControls& controls) {
  RECT install;
  GetWindowRect(controls.install_button, &install);
  RECT browse = kBrowseButton;
  MapWindowPoints(controls.window, nullptr, reinterpret_cast<POINT*>(&browse), 2);
  log.expect(system_face_pixels(install) == 0, L"install button painted from the skin, not the system's face");
  log.expect(system_face_pixels(browse) == 0, L"browse button painted from the skin, not the system's face");
  return {screen_pixel(face_point(controls.install_button)), screen_pixel(beside_point(controls.install_button))};
}

void check_hover_fade(CheckLog& log, const InstallerControls& controls) {
  HWND button = controls.install_button;
  // The focused button already shows its hot face: the focus goes to the directory field first.
  log.expect(click_window(controls.window, controls.dir_edit), L"click into the directory field reaches it");
  Sleep(400);
  const POINT at = face_point(button);
  const COLORREF before = screen_pixel(at);
  std::vector<COLORREF> seen{before};
  move_cursor(window_centre_on_screen(button));
  const DWORD begin = GetTickCount();
  while (GetTickCount() - begin < kHoverWatchMs) {
    const COLORREF c = screen_pixel(at);
    if (c != seen.back()) seen.push_back(c);
  }
  const COLORREF after = seen.back();
  int between = 0;
  for (size_t i = 1; i + 1 < seen.size(); ++i)
    between += colour_distance(seen[i], before) < colour_distance(after, before) && colour_distance(seen[i], after) < colour_distance(after, before);
  log.expect(after != before, L"install button turns hot under the mouse", L"a new colour", hex_colour(after));
  log.expect(between >= 1, L"install button fades: colours between the old and the new face",
             L">= 1", std::to_wstring(between));
  RECT window;
  GetWindowRect(controls.window, &window);
  move_cursor({window.left + 40, window.bottom - 40});
  Sleep(400);
}

DisabledLookWatch::DisabledLookWatch(HWND button, ButtonColours normal)
    : button_(button), normal_(normal), thread_([this] { run(); }) {}

DisabledLookWatch::~DisabledLookWatch() {
  if (thread_.joinable()) thread_.join();
}

void DisabledLookWatch::run() {
  const DWORD begin = GetTickCount();
  while (GetTickCount() - begin < kDisabledWatchMs && IsWindow(button_)) {
    if (!IsWindowEnabled(button_)) {
      seen_disabled_ = true;
      disabled_face_ = screen_pixel(face_point(button_));
      // The window repaints the disabled face at its next message pump.
      if (colour_distance(disabled_face_, normal_.behind) < colour_distance(normal_.face, normal_.behind)) {
        request_screenshot(L"installing");
        return;
      }
    } else if (seen_disabled_) {
      return;  // enabled again: the run is over
    }
    Sleep(1);
  }
}

void DisabledLookWatch::check(CheckLog& log) {
  if (thread_.joinable()) thread_.join();
  if (!seen_disabled_) {
    log.note(L"the install run ended before the disabled install button could be seen");
    return;
  }
  log.expect(colour_distance(disabled_face_, normal_.behind) < colour_distance(normal_.face, normal_.behind),
             L"disabled install button blended towards the window behind it",
             L"closer to " + hex_colour(normal_.behind) + L" than " + hex_colour(normal_.face), hex_colour(disabled_face_));
}

void DisabledLookWatch::check_enabled_face(CheckLog& log) {
  if (!seen_disabled_) return;
  const DWORD begin = GetTickCount();
  COLORREF face = screen_pixel(face_point(button_));
  while (face == disabled_face_ && GetTickCount() - begin < kRepaintMs) {
    Sleep(10);
    face = screen_pixel(face_point(button_));
  }
  // Then the face settles (a state fade may still run).
  for (COLORREF last = ~face; last != face && GetTickCount() - begin < kRepaintMs;) {
    last = face;
    Sleep(150);
    face = screen_pixel(face_point(button_));
  }
  log.expect(IsWindowEnabled(button_) && face != disabled_face_, L"finish button no longer shows the disabled face",
             L"not " + hex_colour(disabled_face_), hex_colour(face));
}
