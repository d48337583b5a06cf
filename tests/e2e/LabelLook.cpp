#include "LabelLook.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "MouseInput.h"
#include "ScreenColour.h"
#include "WindowInspect.h"

namespace {

struct LabelPlace {
  const wchar_t* name;
  RECT rect;  // client coordinates of the window, as stored
};

// Effect labels: their bounds hold the text 5 pixels in from the left and top and 7 pixels of
// shadow beyond its right and bottom.
constexpr LabelPlace kEffectLabels[] = {
    {L"welcome line", {206, 8, 206 + 363, 8 + 28}},
    {L"notice line", {206, 29, 206 + 404, 29 + 28}},
    {L"path heading", {206, 82, 206 + 125, 82 + 37}},
    {L"language heading", {199, 129, 199 + 157, 129 + 29}},
    {L"version line", {201, 465, 201 + 176, 465 + 29}},
};
constexpr LabelPlace kWebLabels[] = {
    {L"web site link", {206, 63, 206 + 98, 63 + 13}},
    {L"social page link", {322, 63, 322 + 55, 63 + 13}},
};
constexpr COLORREF kStoredEffectFont = 0x00999589;  // the labels' stored Font.Color
constexpr COLORREF kStoredWebFont = 0x00EDA853;
constexpr DWORD kHoverMs = 400;

// The window's client area as shown on the screen.
class ClientPicture {
public:
  explicit ClientPicture(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    width_ = client.right;
    height_ = client.bottom;
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    pixels_.assign(static_cast<size_t>(width_) * static_cast<size_t>(height_), 0);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width_, -height_, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bmp && bits) {
      HGDIOBJ old = SelectObject(memory, bmp);
      BitBlt(memory, 0, 0, width_, height_, screen, origin.x, origin.y, SRCCOPY);
      GdiFlush();
      const auto* p = static_cast<const uint32_t*>(bits);
      for (size_t i = 0; i < pixels_.size(); ++i)  // 0x00RRGGBB to COLORREF
        pixels_[i] = RGB((p[i] >> 16) & 0xFF, (p[i] >> 8) & 0xFF, p[i] & 0xFF);
      SelectObject(memory, old);
      DeleteObject(bmp);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
  }
  COLORREF at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
    return pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
  }

private:
  int width_ = 0, height_ = 0;
  std::vector<COLORREF> pixels_;
};

int channel(COLORREF c, int i) { return i == 0 ? GetRValue(c) : i == 1 ? GetGValue(c) : GetBValue(c); }

// Every channel lies between the background's and the shadow colour's.
bool between(COLORREF p, COLORREF from, COLORREF to) {
  for (int i = 0; i < 3; ++i) {
    const int lo = std::min(channel(from, i), channel(to, i)) - 2, hi = std::max(channel(from, i), channel(to, i)) + 2;
    if (channel(p, i) < lo || channel(p, i) > hi) return false;
  }
  return true;
}

struct LabelPixels {
  int shadow = 0;  // tinted from the background towards the highlight colour
  int text = 0;    // neither background nor shadow
  int stored = 0;  // in the stored font colour
  COLORREF main_text = 0;
};

bool is_text(COLORREF p, COLORREF bg, COLORREF shadow) { return colour_distance(p, bg) > 12 && !between(p, bg, shadow); }

LabelPixels survey(const ClientPicture& pic, const RECT& r, COLORREF bg, COLORREF shadow, COLORREF stored) {
  LabelPixels s;
  std::map<COLORREF, int> text_colours;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) {
      const COLORREF p = pic.at(x, y);
      if (p == stored) ++s.stored;
      if (colour_distance(p, bg) <= 12) continue;
      if (between(p, bg, shadow)) {
        ++s.shadow;
        continue;
      }
      ++s.text;
      ++text_colours[p];
    }
  int most = 0;
  for (const auto& [colour, n] : text_colours)
    if (n > most) most = n, s.main_text = colour;
  return s;
}

// The caption's first line ends with its shadow after it: a caption cut by its label's bounds
// would stop at the bound with nothing beyond. Auto-sized labels take the width of the text in
// the font at hand, so the line is followed past the stored bounds.
bool caption_ends_with_shadow(const ClientPicture& pic, const RECT& r, COLORREF bg, COLORREF shadow) {
  constexpr int kTextTop = 5, kLineHeight = 16, kLookAhead = 60;
  int last_text = -1;
  for (int x = r.left; x < r.right + kLookAhead; ++x)
    for (int y = r.top + kTextTop; y < r.top + kTextTop + kLineHeight; ++y)
      if (pic.at(x, y) != CLR_INVALID && is_text(pic.at(x, y), bg, shadow)) last_text = x;
  if (last_text < 0) return false;
  int shaded = 0;
  for (int x = last_text + 1; x <= last_text + 3; ++x)
    for (int y = r.top + kTextTop; y < r.top + kTextTop + kLineHeight; ++y) {
      const COLORREF p = pic.at(x, y);
      shaded += p != CLR_INVALID && colour_distance(p, bg) > 12 && between(p, bg, shadow);
    }
  return shaded > 0;
}

// A web label's bottom left corner: below the baseline of its first letter.
COLORREF bg_of_link(const ClientPicture& pic, const RECT& r) { return pic.at(r.left, r.bottom - 1); }


void move_cursor_to(HWND window, POINT client) {
  ClientToScreen(window, &client);
  move_cursor(client);
}

}  // namespace

void check_label_looks(CheckLog& log, const InstallerControls& controls) {
  HWND window = controls.window;
  move_cursor_to(window, {100, 300});  // over the picture, clear of every label
  Sleep(kHoverMs);
  const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  const ClientPicture ready(window);
  for (const LabelPlace& label : kEffectLabels) {
    // Near the top right corner (below the edit over the language heading's top rows): the
    // text is further down and the shadow hardly reaches up there.
    const COLORREF bg = ready.at(label.rect.right - 1, label.rect.top + 3);
    const LabelPixels s = survey(ready, label.rect, bg, highlight, kStoredEffectFont);
    const std::wstring name = label.name;
    log.expect(s.shadow > 40, name + L": a soft shadow towards the highlight colour", L"> 40 pixels",
               std::to_wstring(s.shadow));
    log.expect(s.text > 20, name + L": its caption is shown", L"> 20 pixels", std::to_wstring(s.text));
    log.expect(s.stored == 0, name + L": not in the stored font colour (the system look)", L"0",
               std::to_wstring(s.stored));
    log.expect(caption_ends_with_shadow(ready, label.rect, bg, highlight),
               name + L": the caption ends inside its label, its shadow after it");
  }
  // Web labels: no shadow, so everything that is not background is text.
  const LabelPlace& link = kWebLabels[0];
  COLORREF normal_link = 0;
  for (const LabelPlace& label : kWebLabels) {
    const LabelPixels s = survey(ready, label.rect, bg_of_link(ready, label.rect), bg_of_link(ready, label.rect),
                                 kStoredWebFont);
    log.expect(s.text > 10, std::wstring(label.name) + L": its caption is shown", L"> 10 pixels",
               std::to_wstring(s.text));
    log.expect(s.stored == 0, std::wstring(label.name) + L": not in the stored font colour", L"0",
               std::to_wstring(s.stored));
    if (&label == &link) normal_link = s.main_text;
  }
  move_cursor_to(window, {(link.rect.left + link.rect.right) / 2, (link.rect.top + link.rect.bottom) / 2});
  Sleep(kHoverMs);
  const ClientPicture hovered(window);
  const LabelPixels hot = survey(hovered, link.rect, bg_of_link(hovered, link.rect), bg_of_link(hovered, link.rect),
                                kStoredWebFont);
  log.expect(hot.text > 10 && hot.main_text != normal_link, L"web site link changes colour under the mouse",
             L"not " + hex_colour(normal_link), hex_colour(hot.main_text));
  move_cursor_to(window, {100, 300});
  Sleep(kHoverMs);
  const ClientPicture left(window);
  const LabelPixels after = survey(left, link.rect, bg_of_link(left, link.rect), bg_of_link(left, link.rect),
                                  kStoredWebFont);
  log.expect(after.main_text == normal_link, L"web site link returns to its colour when the mouse leaves",
             hex_colour(normal_link), hex_colour(after.main_text));
}
