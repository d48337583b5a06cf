#include "FrameChecks.h"

#include <string>
#include <vector>

#include "Console.h"
#include "KeyboardInput.h"
#include "MenuChecks.h"
#include "MouseInput.h"
#include "ScreenColour.h"

namespace {

// The installer skin's caption colours ("FORMTITLE"): active and inactive font colours.
constexpr COLORREF kCaptionText = RGB(226, 221, 220);
constexpr COLORREF kInactiveCaptionText = RGB(150, 142, 140);
constexpr int kColourTolerance = 24;     // hue offset and text smoothing
constexpr int kCaptionTextPixels = 20;   // "Kalvetra setup" covers far more
constexpr DWORD kFadeWatchMs = 400;      // ten steps of 12 ms on timers of about 16 ms

// The centre of the small close button: 16 pixels wide, right edge 1 + the frame width from
// the window's right edge, on the caption's centre line.
POINT close_button_centre(HWND window) {
  RECT frame;
  GetWindowRect(window, &frame);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  const int border = origin.x - frame.left;
  const int caption = origin.y - frame.top - border;
  const int centre_line = caption / 2 + border / 2;
  return {frame.right - 1 - border - 8, frame.top + centre_line};
}

}  // namespace

RECT caption_band(HWND window) {
  RECT frame;
  GetWindowRect(window, &frame);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  const int border = origin.x - frame.left;
  return {frame.left + border, frame.top + border, frame.right - border, origin.y};
}

void check_skinned_frame(CheckLog& log, HWND window) {
  RECT frame;
  GetWindowRect(window, &frame);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  const int kind = GetWindowRgn(window, region);
  log.expect(kind == COMPLEXREGION || kind == SIMPLEREGION, L"window has a region (its outline follows the skin)");
  if (kind == COMPLEXREGION || kind == SIMPLEREGION) {
    const int w = frame.right - frame.left, h = frame.bottom - frame.top;
    log.expect(!PtInRegion(region, 0, 0), L"top-left corner pixel cut away by the skin's corner");
    log.expect(!PtInRegion(region, w - 1, 0), L"top-right corner pixel cut away by the skin's corner");
    log.expect(PtInRegion(region, w / 2, 0) && PtInRegion(region, w / 2, h / 2), L"the rest of the window kept");
  }
  DeleteObject(region);
  const RECT band = caption_band(window);
  int system = 0;
  for (int x = band.left + 200; x < band.right - 40; x += 7) {
    const COLORREF c = screen_pixel({x, (band.top + band.bottom) / 2});
    system += c == GetSysColor(COLOR_ACTIVECAPTION) || c == GetSysColor(COLOR_GRADIENTACTIVECAPTION);
  }
  log.expect_equal(L"caption pixels in the system's caption colour", 0, system);
}

void check_caption_text(CheckLog& log, HWND window, bool active) {
  const COLORREF wanted = active ? kCaptionText : kInactiveCaptionText;
  const RECT band = caption_band(window);
  int matching = 0;
  for (int y = band.top; y < band.bottom; ++y)
    for (int x = band.left + 18; x < band.left + 140; ++x) matching += colour_distance(screen_pixel({x, y}), wanted) <= kColourTolerance;
  log.expect(matching >= kCaptionTextPixels,
             std::wstring(L"caption text \"Kalvetra setup\" in the skin's ") + (active ? L"active" : L"inactive") +
                 L" caption colour " + hex_colour(wanted),
             L">= " + std::to_wstring(kCaptionTextPixels) + L" pixels", std::to_wstring(matching));
}

void check_close_button_fade(CheckLog& log, HWND window) {
  const POINT at = close_button_centre(window);
  const RECT band = caption_band(window);
  move_cursor({(band.left + band.right) / 2, band.top + 4});
  Sleep(300);
  const COLORREF before = screen_pixel(at);
  std::vector<COLORREF> seen{before};
  auto watch = [&] {
    const DWORD begin = GetTickCount();
    while (GetTickCount() - begin < kFadeWatchMs) {
      const COLORREF c = screen_pixel(at);
      if (c != seen.back()) seen.push_back(c);
    }
  };
  move_cursor(at);
  watch();
  const COLORREF hot = seen.back();
  int between = 0;
  for (size_t i = 1; i + 1 < seen.size(); ++i)
    between += colour_distance(seen[i], before) < colour_distance(hot, before) && colour_distance(seen[i], hot) < colour_distance(hot, before);
  log.expect(hot != before, L"close button turns hot under the mouse", L"a new colour than " + hex_colour(before), hex_colour(hot));
  log.expect(between >= 1, L"close button fades in: colours between the normal and the hot picture", L">= 1",
             std::to_wstring(between));
  seen.assign(1, hot);
  move_cursor({(band.left + band.right) / 2, band.top + 4});
  watch();
  Sleep(300);
  const COLORREF after = screen_pixel(at);
  log.expect(seen.size() >= 3, L"close button fades out over several steps", L">= 3 colours",
             std::to_wstring(seen.size()));
  log.expect(after == before, L"close button back to its normal picture", hex_colour(before), hex_colour(after));
}

void check_system_menu_by_keyboard(CheckLog& log, HWND window, DWORD process_id) {
  SetForegroundWindow(window);
  Sleep(200);
  if (open_system_menu(log, process_id, [] { press_key(VK_SPACE, VK_MENU, 0); }, L"Alt+Space"))
    close_menu_with_escape(log, window, process_id, L"Alt+Space");
}

void close_by_close_button(InstallerSession& session) {
  const HWND window = session.controls.window;
  SetForegroundWindow(window);
  const POINT at = close_button_centre(window);
  move_cursor(at);
  Sleep(200);
  mouse_button(true);
  Sleep(50);
  mouse_button(false);
  check_exit(session, L"a click on the close button");
}

void close_by_alt_f4(InstallerSession& session) {
  SetForegroundWindow(session.controls.window);
  Sleep(200);
  press_key(VK_F4, VK_MENU, 0);
  check_exit(session, L"Alt+F4");
}

void skinned_frame_scenario(InstallerSession& session, const std::wstring& exe) {
  if (!launch(session, exe, false)) return;
  CheckLog& log = session.log;
  HWND window = session.controls.window;
  Sleep(300);
  check_skinned_frame(log, window);
  check_caption_text(log, window, true);
  request_screenshot(L"active");
  SendMessageW(window, WM_NCACTIVATE, FALSE, 0);
  Sleep(200);
  check_caption_text(log, window, false);
  request_screenshot(L"inactive");
  SendMessageW(window, WM_NCACTIVATE, TRUE, 0);
  Sleep(200);
  check_close_button_fade(log, window);
  check_system_menu_by_keyboard(log, window, session.process.id());
  close_by_close_button(session);
}

void alt_f4_scenario(InstallerSession& session, const std::wstring& exe) {
  if (!launch(session, exe, false)) return;
  close_by_alt_f4(session);
}
