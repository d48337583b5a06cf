#include "MenuChecks.h"

#include <cstdlib>
#include <functional>

#include "Console.h"
#include "WindowInspect.h"

namespace {

constexpr DWORD kMenuTimeoutMs = 3000;
constexpr DWORD kExitTimeoutMs = 15000;
constexpr int kSameColour = 12;  // text smoothing aside, a face is one colour

COLORREF screen_pixel(int x, int y) {
  HDC dc = GetDC(nullptr);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(nullptr, dc);
  return c;
}

int distance(COLORREF a, COLORREF b) {
  return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
         std::abs(GetBValue(a) - GetBValue(b));
}

std::wstring hex(COLORREF c) {
  wchar_t text[16];
  swprintf(text, 16, L"%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
  return text;
}

void key(WORD vk, bool down) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &input, sizeof input);
}

void tap(WORD vk) {
  key(vk, true);
  key(vk, false);
  Sleep(250);
}

void click_at(int x, int y, bool right) {
  SetCursorPos(x, y);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = MOUSEEVENTF_MOVE;
  SendInput(1, &input, sizeof input);
  Sleep(150);
  input.mi.dwFlags = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
  SendInput(1, &input, sizeof input);
  Sleep(60);
  input.mi.dwFlags = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
  SendInput(1, &input, sizeof input);
}

HWND visible_menu(DWORD process_id) {
  for (HWND w : process_top_level_windows(process_id, L"#32768"))
    if (IsWindowVisible(w)) return w;
  return nullptr;
}

bool wait_for(const std::function<bool()>& done, DWORD timeout_ms) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeout_ms) return false;
    Sleep(20);
  }
  return true;
}

// Frame width and the caption band's vertical centre, screen coordinates.
struct CaptionPlace {
  int border = 0, centre_y = 0, left = 0, right = 0;
};

CaptionPlace caption_place(HWND window) {
  RECT frame;
  GetWindowRect(window, &frame);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  CaptionPlace p;
  p.border = origin.x - frame.left;
  p.centre_y = (frame.top + p.border + origin.y) / 2;
  p.left = frame.left + p.border;
  p.right = frame.right - p.border;
  return p;
}

// A pixel of the menu's first item, right of its text, away from glyphs.
POINT first_item_probe(HWND menu) {
  RECT r;
  GetWindowRect(menu, &r);
  return {r.right - 10, r.top + 8};
}

HWND open_menu(CheckLog& log, DWORD process_id, const std::function<void()>& how, const std::wstring& what) {
  how();
  HWND menu = nullptr;
  const bool opened = wait_for([&] { return (menu = visible_menu(process_id)) != nullptr; }, kMenuTimeoutMs);
  log.expect(opened, what + L" opens the system menu");
  if (opened) Sleep(300);  // its first paint
  return opened ? menu : nullptr;
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
      if (screen_pixel(r.left + x, r.top + y) == platform) ++platform_pixels;
    }
  log.expect(platform_pixels * 20 < samples, what + L": the menu is not in the platform's menu colour (" +
                                                 std::to_wstring(platform_pixels) + L" of " + std::to_wstring(samples) +
                                                 L" samples " + hex(platform) + L")");
}

void close_menu_with_escape(CheckLog& log, HWND window, DWORD process_id, const std::wstring& what) {
  tap(VK_ESCAPE);
  log.expect(wait_for([&] { return visible_menu(process_id) == nullptr; }, kMenuTimeoutMs),
             what + L": Escape closes the system menu");
  log.expect(IsWindow(window) && IsWindowVisible(window), what + L": the window stays after the menu closes");
}

void alt_space() {
  key(VK_MENU, true);
  key(VK_SPACE, true);
  key(VK_SPACE, false);
  key(VK_MENU, false);
}

// Down moves the highlight onto the first item (its face changes), a second Down moves it on
// (the first item's face is back).
void check_highlight_follows_arrows(CheckLog& log, HWND menu) {
  const POINT probe = first_item_probe(menu);
  const COLORREF normal = screen_pixel(probe.x, probe.y);
  tap(VK_DOWN);
  const COLORREF hot = screen_pixel(probe.x, probe.y);
  log.expect(distance(normal, hot) > kSameColour,
             L"Down highlights the first item from the skin (" + hex(normal) + L" -> " + hex(hot) + L")");
  request_screenshot(L"open");
  tap(VK_DOWN);
  const COLORREF after = screen_pixel(probe.x, probe.y);
  log.expect(distance(normal, after) <= kSameColour,
             L"a second Down moves the highlight on (" + hex(after) + L", normal " + hex(normal) + L")");
}

}  // namespace

void system_menu_scenario(InstallerSession& session, const std::wstring& exe) {
  if (!launch(session, exe, false)) return;
  CheckLog& log = session.log;
  HWND window = session.controls.window;
  const DWORD pid = session.process.id();
  Sleep(300);

  SetForegroundWindow(window);
  Sleep(200);
  if (HWND menu = open_menu(log, pid, alt_space, L"Alt+Space")) {
    check_skinned_menu(log, menu, L"Alt+Space");
    check_highlight_follows_arrows(log, menu);
    close_menu_with_escape(log, window, pid, L"Alt+Space");
  }

  const CaptionPlace caption = caption_place(window);
  SetForegroundWindow(window);
  Sleep(200);
  if (HWND menu = open_menu(log, pid, [&] { click_at(caption.left + 8, caption.centre_y, false); },
                            L"a click on the title icon")) {
    check_skinned_menu(log, menu, L"icon click");
    close_menu_with_escape(log, window, pid, L"icon click");
  }

  SetForegroundWindow(window);
  Sleep(200);
  if (HWND menu = open_menu(log, pid, [&] { click_at((caption.left + caption.right) / 2, caption.centre_y, true); },
                            L"a right click on the caption")) {
    check_skinned_menu(log, menu, L"right click");
    close_menu_with_escape(log, window, pid, L"right click");
  }

  // The close item is the last one: Up from no highlight wraps to it.
  SetForegroundWindow(window);
  Sleep(200);
  if (open_menu(log, pid, alt_space, L"Alt+Space (to close)")) {
    tap(VK_UP);
    tap(VK_RETURN);
    const auto code = session.process.wait_exit(kExitTimeoutMs);
    log.expect(code.has_value(), L"installer ends after the system menu's close item");
    if (code) log.expect_equal(L"installer exit code after the close item", 0, *code);
  }
}
