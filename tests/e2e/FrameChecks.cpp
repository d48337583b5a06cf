#include "FrameChecks.h"

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "Console.h"
#include "WindowInspect.h"

namespace {

// The installer skin's caption colours ("FORMTITLE"): active and inactive font colours.
constexpr COLORREF kCaptionText = RGB(226, 221, 220);
constexpr COLORREF kInactiveCaptionText = RGB(150, 142, 140);
constexpr int kColourTolerance = 24;     // hue offset and text smoothing
constexpr int kCaptionTextPixels = 20;   // "Kalvetra setup" covers far more
constexpr DWORD kFadeWatchMs = 400;      // ten steps of 12 ms on timers of about 16 ms
constexpr DWORD kExitTimeoutMs = 15000;  // destroying a window takes about 2 s under Xvfb

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

void move_cursor(int x, int y) {
  SetCursorPos(x, y);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = MOUSEEVENTF_MOVE;
  SendInput(1, &input, sizeof input);
}

void mouse_button(bool down) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  SendInput(1, &input, sizeof input);
}

void key(WORD vk, bool down) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &input, sizeof input);
}

// The caption band: frame to client top, frame to the right end.
RECT caption_band(HWND window) {
  RECT frame, client{};
  GetWindowRect(window, &frame);
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  const int border = origin.x - frame.left;
  return {frame.left + border, frame.top + border, frame.right - border, origin.y};
}

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

void check_exit_code(CheckLog& log, InstallerProcess& process, std::wstring_view how) {
  const auto code = process.wait_exit(kExitTimeoutMs);
  log.expect(code.has_value(), std::wstring(L"installer ends after ") + std::wstring(how));
  if (code) log.expect_equal(std::wstring(L"installer exit code after ") + std::wstring(how), 0, *code);
}

}  // namespace

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
    const COLORREF c = screen_pixel(x, (band.top + band.bottom) / 2);
    system += c == GetSysColor(COLOR_ACTIVECAPTION) || c == GetSysColor(COLOR_GRADIENTACTIVECAPTION);
  }
  log.expect_equal(L"caption pixels in the system's caption colour", 0, system);
}

void check_caption_text(CheckLog& log, HWND window, bool active) {
  const COLORREF wanted = active ? kCaptionText : kInactiveCaptionText;
  const RECT band = caption_band(window);
  int matching = 0;
  for (int y = band.top; y < band.bottom; ++y)
    for (int x = band.left + 18; x < band.left + 140; ++x) matching += distance(screen_pixel(x, y), wanted) <= kColourTolerance;
  log.expect(matching >= kCaptionTextPixels,
             std::wstring(L"caption text \"Kalvetra setup\" in the skin's ") + (active ? L"active" : L"inactive") +
                 L" caption colour " + hex(wanted),
             L">= " + std::to_wstring(kCaptionTextPixels) + L" pixels", std::to_wstring(matching));
}

void check_close_button_fade(CheckLog& log, HWND window) {
  const POINT at = close_button_centre(window);
  const RECT band = caption_band(window);
  move_cursor((band.left + band.right) / 2, band.top + 4);
  Sleep(300);
  const COLORREF before = screen_pixel(at.x, at.y);
  std::vector<COLORREF> seen{before};
  auto watch = [&] {
    const DWORD begin = GetTickCount();
    while (GetTickCount() - begin < kFadeWatchMs) {
      const COLORREF c = screen_pixel(at.x, at.y);
      if (c != seen.back()) seen.push_back(c);
    }
  };
  move_cursor(at.x, at.y);
  watch();
  const COLORREF hot = seen.back();
  int between = 0;
  for (size_t i = 1; i + 1 < seen.size(); ++i)
    between += distance(seen[i], before) < distance(hot, before) && distance(seen[i], hot) < distance(hot, before);
  log.expect(hot != before, L"close button turns hot under the mouse", L"a new colour than " + hex(before), hex(hot));
  log.expect(between >= 1, L"close button fades in: colours between the normal and the hot picture", L">= 1",
             std::to_wstring(between));
  seen.assign(1, hot);
  move_cursor((band.left + band.right) / 2, band.top + 4);
  watch();
  Sleep(300);
  const COLORREF after = screen_pixel(at.x, at.y);
  log.expect(seen.size() >= 3, L"close button fades out over several steps", L">= 3 colours",
             std::to_wstring(seen.size()));
  log.expect(after == before, L"close button back to its normal picture", hex(before), hex(after));
}

void check_system_menu_by_keyboard(CheckLog& log, HWND window, DWORD process_id) {
  SetForegroundWindow(window);
  Sleep(200);
  key(VK_MENU, true);
  key(VK_SPACE, true);
  key(VK_SPACE, false);
  key(VK_MENU, false);
  const bool opened = wait_for([&] { return visible_menu(process_id) != nullptr; }, 3000);
  log.expect(opened, L"Alt+Space opens the system menu");
  if (!opened) return;
  key(VK_ESCAPE, true);
  key(VK_ESCAPE, false);
  log.expect(wait_for([&] { return visible_menu(process_id) == nullptr; }, 3000), L"Escape closes the system menu");
  log.expect(IsWindow(window) && IsWindowVisible(window), L"the window stays after the menu closes");
}

void close_by_close_button(CheckLog& log, HWND window, InstallerProcess& process) {
  SetForegroundWindow(window);
  const POINT at = close_button_centre(window);
  move_cursor(at.x, at.y);
  Sleep(200);
  mouse_button(true);
  Sleep(50);
  mouse_button(false);
  check_exit_code(log, process, L"a click on the close button");
}

void close_by_alt_f4(CheckLog& log, HWND window, InstallerProcess& process) {
  SetForegroundWindow(window);
  Sleep(200);
  key(VK_MENU, true);
  key(VK_F4, true);
  key(VK_F4, false);
  key(VK_MENU, false);
  check_exit_code(log, process, L"Alt+F4");
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
  close_by_close_button(log, window, session.process);
}

void alt_f4_scenario(InstallerSession& session, const std::wstring& exe) {
  if (!launch(session, exe, false)) return;
  close_by_alt_f4(session.log, session.controls.window, session.process);
}
