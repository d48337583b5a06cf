#include "MenuChecks.h"

#include <functional>

#include "Console.h"
#include "FrameChecks.h"
#include "KeyboardInput.h"
#include "MouseInput.h"
#include "ScreenColour.h"
#include "Waiting.h"
#include "WindowInspect.h"

namespace {

constexpr DWORD kMenuTimeoutMs = 3000;
constexpr DWORD kMenuKeyMs = 250;  // the menu repaints its items
constexpr int kSameColour = 12;  // text smoothing aside, a face is one colour

HWND visible_menu(DWORD process_id) {
  for (HWND w : process_top_level_windows(process_id, L"#32768"))
    if (IsWindowVisible(w)) return w;
  return nullptr;
}

// A pixel of the menu's first item, right of its text, away from glyphs.
POINT first_item_probe(HWND menu) {
  RECT r;
  GetWindowRect(menu, &r);
  return {r.right - 10, r.top + 8};
}


// The menu window is the skinned one: cut at the skin's corner, not in the platform's menu colour.
void check_skinned_menu(CheckLog& log, HWND menu, const std::wstring& what) {
  RECT r;
  GetWindowRect(menu, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  log.expect(w > 40 && h > 20, what + L": the menu has a size (" + describe_rect(r) + L")");
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  const int kind = GetWindowRgn(menu, rgn);
  log.expect(kind != ERROR, what + L": the menu window has a region of its own");
  if (kind != ERROR) {
    log.expect(!PtInRegion(rgn, 0, 0), what + L": the region is cut at the skin's corner");
    log.expect(PtInRegion(rgn, w / 2, h / 2) != FALSE, what + L": the region keeps the menu's inside");
  }
  DeleteObject(rgn);
  const COLORREF platform = GetSysColor(COLOR_MENU);
  int platform_pixels = 0, samples = 0;
  for (int y = 4; y < h - 4; y += 3)
    for (int x = 4; x < w - 4; x += 7) {
      ++samples;
      if (screen_pixel({r.left + x, r.top + y}) == platform) ++platform_pixels;
    }
  log.expect(platform_pixels * 20 < samples, what + L": the menu is not in the platform's menu colour (" +
                                                 std::to_wstring(platform_pixels) + L" of " + std::to_wstring(samples) +
                                                 L" samples " + hex_colour(platform) + L")");
}


// Down moves the highlight onto the first item (its face changes), a second Down moves it on
// (the first item's face is back).
void check_highlight_follows_arrows(CheckLog& log, HWND menu) {
  const POINT probe = first_item_probe(menu);
  const COLORREF normal = screen_pixel(probe);
  press_key(VK_DOWN, 0, kMenuKeyMs);
  const COLORREF hot = screen_pixel(probe);
  log.expect(colour_distance(normal, hot) > kSameColour,
             L"Down highlights the first item from the skin (" + hex_colour(normal) + L" -> " + hex_colour(hot) + L")");
  request_screenshot(L"open");
  press_key(VK_DOWN, 0, kMenuKeyMs);
  const COLORREF after = screen_pixel(probe);
  log.expect(colour_distance(normal, after) <= kSameColour,
             L"a second Down moves the highlight on (" + hex_colour(after) + L", normal " + hex_colour(normal) + L")");
}

}  // namespace

HWND open_system_menu(CheckLog& log, DWORD process_id, const std::function<void()>& how, const std::wstring& what) {
  how();
  HWND menu = nullptr;
  const bool opened = wait_until([&] { return (menu = visible_menu(process_id)) != nullptr; }, kMenuTimeoutMs);
  log.expect(opened, what + L" opens the system menu");
  if (opened) Sleep(300);  // its first paint
  return opened ? menu : nullptr;
}

void close_menu_with_escape(CheckLog& log, HWND window, DWORD process_id, const std::wstring& what) {
  press_key(VK_ESCAPE, 0, kMenuKeyMs);
  log.expect(wait_until([&] { return visible_menu(process_id) == nullptr; }, kMenuTimeoutMs),
             what + L": Escape closes the system menu");
  log.expect(IsWindow(window) && IsWindowVisible(window), what + L": the window stays after the menu closes");
}

void system_menu_scenario(InstallerSession& session, const std::wstring& exe) {
  if (!launch(session, exe, false)) return;
  CheckLog& log = session.log;
  HWND window = session.controls.window;
  const DWORD pid = session.process.id();
  Sleep(300);

  SetForegroundWindow(window);
  Sleep(200);
  if (HWND menu = open_system_menu(log, pid, [] { press_key(VK_SPACE, VK_MENU, 0); }, L"Alt+Space")) {
    check_skinned_menu(log, menu, L"Alt+Space");
    check_highlight_follows_arrows(log, menu);
    close_menu_with_escape(log, window, pid, L"Alt+Space");
  }

  const RECT caption = caption_band(window);
  const int caption_centre = (caption.top + caption.bottom) / 2;
  SetForegroundWindow(window);
  Sleep(200);
  if (HWND menu = open_system_menu(log, pid, [&] { click_at({caption.left + 8, caption_centre}); },
                            L"a click on the title icon")) {
    check_skinned_menu(log, menu, L"icon click");
    close_menu_with_escape(log, window, pid, L"icon click");
  }

  SetForegroundWindow(window);
  Sleep(200);
  if (HWND menu = open_system_menu(log, pid, [&] { click_at({(caption.left + caption.right) / 2, caption_centre}, MouseButton::right); },
                            L"a right click on the caption")) {
    check_skinned_menu(log, menu, L"right click");
    close_menu_with_escape(log, window, pid, L"right click");
  }

  // The close item is the last one: Up from no highlight wraps to it.
  SetForegroundWindow(window);
  Sleep(200);
  if (open_system_menu(log, pid, [] { press_key(VK_SPACE, VK_MENU, 0); }, L"Alt+Space (to close)")) {
    press_key(VK_UP, 0, kMenuKeyMs);
    press_key(VK_RETURN, 0, kMenuKeyMs);
    check_exit(session, L"the system menu's close item");
  }
}
