#include "EditLook.h"

#include <vector>

#include "Console.h"
#include "KeyboardInput.h"
#include "MouseInput.h"
#include "Waiting.h"
#include "WindowInspect.h"
#include "tests/common/SyntheticInput.h"

namespace {

constexpr DWORD kTimeoutMs = 3000;
constexpr DWORD kKeyMs = 40;
constexpr COLORREF kStoredFieldFont = RGB(0x89, 0x94, 0x99);  // the field's stored Font.Color
const std::wstring kLanguage = L"\u0420\u0443\u0441\u0441\u043A\u0438\u0439";


// The window whose thread holds the keyboard focus and the caret, read from its thread.
GUITHREADINFO gui_of(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
  return info;
}

// The whole window (frame included) as shown on the screen, as COLORREF values.
std::vector<COLORREF> window_pixels(HWND window, int& width, int& height) {
  RECT r;
  GetWindowRect(window, &r);
  width = r.right - r.left;
  height = r.bottom - r.top;
  std::vector<COLORREF> pixels;
  HDC screen = GetDC(nullptr);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) pixels.push_back(GetPixel(screen, r.left + x, r.top + y));
  ReleaseDC(nullptr, screen);
  return pixels;
}

// The skinned look: no pixel of the outer two rows and columns is the white light edge of the
// system's sunken border, and the text shows, not in the stored font colour.
void check_skinned_look(CheckLog& log, HWND control, const std::wstring& name, bool check_font) {
  int w = 0, h = 0;
  const std::vector<COLORREF> px = window_pixels(control, w, h);
  int white_edge = 0, stored_font = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const COLORREF c = px[static_cast<size_t>(y * w + x)];
      const bool edge = x < 2 || y < 2 || x >= w - 2 || y >= h - 2;
      if (edge && c == RGB(255, 255, 255)) ++white_edge;
      if (c == kStoredFieldFont) ++stored_font;
    }
  log.expect_equal(name + L": frame pixels in the system's white edge colour", 0, white_edge);
  if (check_font) log.expect_equal(name + L": pixels in the stored font colour", 0, stored_font);
}

void check_field_typing(InstallerSession& session, const std::wstring& install_dir) {
  CheckLog& log = session.log;
  HWND field = session.controls.dir_edit;
  log.expect(click_window(session.controls.window, field), L"directory field: the click reaches it");
  const bool focused = wait_until([&] { return gui_of(field).hwndFocus == field; }, kTimeoutMs);
  if (!log.expect(focused, L"directory field: focused by the click")) return;
  log.expect(gui_of(field).hwndCaret == field, L"directory field: shows the native caret");
  press_key(VK_END, 0, kKeyMs);
  press_key(VK_HOME, VK_SHIFT, kKeyMs);
  const LRESULT selection = SendMessageW(field, EM_GETSEL, 0, 0);
  log.expect_equal(L"directory field: Shift+Home selects to the start", 0, LOWORD(selection));
  log.expect_equal(L"directory field: selection end", static_cast<long long>(window_text(field).size()),
                   HIWORD(selection));
  type_text(L"D:\\Typed");
  log.expect_equal(L"directory field: typing replaces the selection", L"D:\\Typed", window_text(field));
  press_key(VK_HOME, VK_SHIFT, kKeyMs);
  if (!log.expect(synthetic::put_on_clipboard(nullptr, install_dir), L"clipboard holds the installation path")) return;
  press_key('V', VK_CONTROL, kKeyMs);
  wait_until([&] { return window_text(field) == install_dir; }, kTimeoutMs);
  log.expect_equal(L"directory field: the pasted path", install_dir, window_text(field));
}

POINT combo_button_on_screen(HWND combo) {
  RECT r;
  GetWindowRect(combo, &r);
  return {r.right - 9, (r.top + r.bottom) / 2};
}

bool dropped(HWND combo) { return SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) != 0; }

void check_language_choice(InstallerSession& session) {
  CheckLog& log = session.log;
  HWND combo = session.controls.language_combo;
  SetForegroundWindow(session.controls.window);
  click_at(combo_button_on_screen(combo));
  if (!log.expect(wait_until([&] { return dropped(combo); }, kTimeoutMs), L"language selector: its button opens the list")) return;
  request_screenshot(L"language");
  const std::vector<HWND> lists = process_top_level_windows(session.process.id(), L"ComboLBox");
  HWND list = nullptr;
  for (HWND l : lists)
    if (IsWindowVisible(l)) list = l;
  if (!log.expect(list != nullptr, L"language selector: its list window is shown")) return;
  RECT lr;
  GetWindowRect(list, &lr);
  const auto item_height = static_cast<LONG>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
  click_at({(lr.left + lr.right) / 2, lr.top + 1 + item_height / 2});
  log.expect(wait_until([&] { return !dropped(combo); }, kTimeoutMs), L"language selector: a click on the language closes the list");
  log.expect_equal(L"language selector: chosen item", 0, SendMessageW(combo, CB_GETCURSEL, 0, 0));
  log.expect_equal(L"language selector: text", kLanguage, window_text(combo));

  press_key(VK_F4, 0, kKeyMs);
  log.expect(wait_until([&] { return dropped(combo); }, kTimeoutMs), L"language selector: F4 opens the list");
  press_key(VK_DOWN, 0, kKeyMs);
  press_key(VK_RETURN, 0, kKeyMs);
  log.expect(wait_until([&] { return !dropped(combo); }, kTimeoutMs), L"language selector: Enter closes the list");
  log.expect_equal(L"language selector: the only language stays chosen", 0, SendMessageW(combo, CB_GETCURSEL, 0, 0));
  log.expect_equal(L"language selector: text after the keyboard", kLanguage, window_text(combo));
}

}  // namespace

void check_edits_and_language(InstallerSession& session, const std::wstring& install_dir) {
  check_skinned_look(session.log, session.controls.dir_edit, L"directory field", true);
  check_skinned_look(session.log, session.controls.language_combo, L"language selector", false);
  check_field_typing(session, install_dir);
  check_language_choice(session);
  // The field lost the focus to the selector: it is painted from the skin again.
  Sleep(150);
  check_skinned_look(session.log, session.controls.dir_edit, L"directory field after leaving it", true);
  session.log.expect_equal(L"directory field keeps the path", install_dir, window_text(session.controls.dir_edit));
}
