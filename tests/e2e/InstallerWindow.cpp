#include "InstallerWindow.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "TextUtil.h"
#include "WindowInspect.h"

namespace {
constexpr int kClientWidth = 680, kClientHeight = 495;
constexpr BYTE kWindowAlpha = 240;
constexpr int kCentringTolerance = 1;

struct ExpectedControl {
  const wchar_t* name;
  HWND InstallerControls::*field;
  const wchar_t* class_name;
  RECT place;             // left, top, right, bottom in the window's client area
  bool check_height;      // a combo box's height is the system's choice
  std::wstring text;      // the text shown at start
  DWORD required_style;   // style bits that must be set
  int checked;            // a check box (BS_AUTOCHECKBOX) in this BM_GETCHECK state; -1: no check box
  int text_limit;         // EM_GETLIMITTEXT for edits, 0 when not checked
};

RECT ltwh(int left, int top, int width, int height) { return RECT{left, top, left + width, top + height}; }

std::vector<ExpectedControl> expected_controls(const InstallLayout& layout) {
  return {
      {L"install button", &InstallerControls::install_button, L"Button", ltwh(597, 470, 75, 25), true,
       L"Установить", 0, -1, 0},
      {L"desktop check box", &InstallerControls::desktop_check, L"Button", ltwh(206, 195, 197, 19), true,
       L"Создать ярлык на рабочем столе", 0, BST_CHECKED, 0},
      {L"Start menu check box", &InstallerControls::programs_check, L"Button", ltwh(206, 211, 232, 19), true,
       L"Добавить в меню пуск (все программы)", 0, BST_CHECKED, 0},
      {L"association check box", &InstallerControls::associate_check, L"Button", ltwh(454, 195, 194, 19), true,
       L"Ассоциировать QZS/QZT файлы", 0, BST_CHECKED, 0},
      {L"directory edit", &InstallerControls::dir_edit, L"Edit", ltwh(206, 110, 401, 21), true, layout.dir, 0, -1, 255},
      {L"log memo", &InstallerControls::memo, L"Edit", ltwh(206, 232, 465, 201), true, L"",
       ES_MULTILINE | WS_VSCROLL, -1, 0},
      {L"language box", &InstallerControls::language_combo, L"ComboBox", ltwh(206, 160, 145, 21), false, L"Русский", 0, -1,
       0},
  };
}

bool same_place(const RECT& actual, const ExpectedControl& want) {
  // A check box sizes itself to its glyph and caption: its stored width gives way.
  const bool check_width = want.checked < 0;
  return actual.left == want.place.left && actual.top == want.place.top &&
         (!check_width || actual.right == want.place.right) &&
         (!want.check_height || actual.bottom == want.place.bottom);
}

HWND find_child(HWND window, const ExpectedControl& want) {
  for (HWND child : direct_children(window))
    if (window_class(child) == want.class_name && same_place(rect_in_parent(child, window), want)) return child;
  return nullptr;
}

std::wstring describe_child(HWND child, HWND window) {
  return window_class(child) + L" at " + describe_rect(rect_in_parent(child, window)) + L" " +
         quoted(window_text(child));
}

void check_control(CheckLog& log, HWND control, const ExpectedControl& want) {
  const std::wstring name = want.name;
  log.expect_equal(name + L": text", want.text, window_text(control));
  DWORD style = DWORD(GetWindowLongW(control, GWL_STYLE));
  if (want.required_style)
    log.expect((style & want.required_style) == want.required_style, name + L": style bits",
               std::to_wstring(want.required_style), std::to_wstring(style & want.required_style));
  if (want.checked >= 0) {
    log.expect_equal(name + L": button type BS_AUTOCHECKBOX", BS_AUTOCHECKBOX, style & BS_TYPEMASK);
    log.expect_equal(name + L": check state", want.checked, SendMessageW(control, BM_GETCHECK, 0, 0));
  }
  if (want.text_limit)
    log.expect_equal(name + L": text limit", want.text_limit, SendMessageW(control, EM_GETLIMITTEXT, 0, 0));
  log.expect(IsWindowEnabled(control) && IsWindowVisible(control), name + L": enabled and visible");
}
}  // namespace

bool InstallerControls::complete() const {
  return window && install_button && desktop_check && programs_check && associate_check && dir_edit && memo &&
         language_combo;
}

void check_window_frame(CheckLog& log, HWND window) {
  RECT client{}, frame{};
  GetClientRect(window, &client);
  GetWindowRect(window, &frame);
  log.expect_equal(L"window client width", kClientWidth, client.right);
  log.expect_equal(L"window client height", kClientHeight, client.bottom);

  int screen_w = GetSystemMetrics(SM_CXSCREEN), screen_h = GetSystemMetrics(SM_CYSCREEN);
  int want_left = (screen_w - (frame.right - frame.left)) / 2, want_top = (screen_h - (frame.bottom - frame.top)) / 2;
  log.expect(std::abs(frame.left - want_left) <= kCentringTolerance && std::abs(frame.top - want_top) <= kCentringTolerance,
             L"window centred on the " + std::to_wstring(screen_w) + L"x" + std::to_wstring(screen_h) + L" screen",
             L"left " + std::to_wstring(want_left) + L", top " + std::to_wstring(want_top),
             L"left " + std::to_wstring(frame.left) + L", top " + std::to_wstring(frame.top));

  DWORD style = DWORD(GetWindowLongW(window, GWL_STYLE));
  struct StyleBit {
    const wchar_t* name;
    DWORD bit;
    bool wanted;
  };
  const StyleBit bits[] = {{L"WS_CAPTION", WS_CAPTION, true},         {L"WS_SYSMENU", WS_SYSMENU, true},
                           {L"WS_MINIMIZEBOX", WS_MINIMIZEBOX, false}, {L"WS_MAXIMIZEBOX", WS_MAXIMIZEBOX, false},
                           {L"WS_THICKFRAME", WS_THICKFRAME, false}};
  for (const auto& b : bits)
    log.expect(((style & b.bit) == b.bit) == b.wanted, std::wstring(L"window style ") + b.name +
                                                           (b.wanted ? L" set" : L" clear"));

  DWORD ex_style = DWORD(GetWindowLongW(window, GWL_EXSTYLE));
  if (log.expect((ex_style & WS_EX_LAYERED) != 0, L"window style WS_EX_LAYERED set")) {
    BYTE alpha = 0;
    DWORD flags = 0;
    COLORREF key = 0;
    bool read = GetLayeredWindowAttributes(window, &key, &alpha, &flags);
    log.expect(read && (flags & LWA_ALPHA), L"layered window uses constant alpha");
    log.expect_equal(L"layered window alpha", kWindowAlpha, alpha);
  }
}

InstallerControls find_and_check_controls(CheckLog& log, HWND window, const InstallLayout& layout) {
  InstallerControls controls;
  controls.window = window;
  std::vector<HWND> expected;
  for (const auto& want : expected_controls(layout)) {
    HWND control = find_child(window, want);
    if (!log.expect(control != nullptr, std::wstring(want.name) + L": windowed control found",
                    std::wstring(want.class_name) + L" at " + describe_rect(want.place), L"none"))
      continue;
    controls.*want.field = control;
    expected.push_back(control);
    check_control(log, control, want);
  }
  for (HWND child : direct_children(window)) {
    bool known = std::find(expected.begin(), expected.end(), child) != expected.end();
    if (!known) log.expect(false, L"no other windowed child", L"none", describe_child(child, window));
  }
  return controls;
}

InstallerControls find_controls(HWND window) {
  InstallerControls controls;
  controls.window = window;
  for (const auto& want : expected_controls(InstallLayout{})) controls.*want.field = find_child(window, want);
  return controls;
}

std::vector<std::wstring> memo_lines(const InstallerControls& controls) {
  return split_lines(window_text(controls.memo));
}
