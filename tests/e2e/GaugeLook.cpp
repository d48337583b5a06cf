#include "GaugeLook.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "ScreenColour.h"

namespace {

// The gauge's place in the window's client area and its font, as the window's description has
// them; the install has four files to extract (a step of 25 %).
constexpr RECT kGauge{206, 439, 206 + 465, 439 + 25};
constexpr int kWidth = kGauge.right - kGauge.left, kHeight = kGauge.bottom - kGauge.top;
constexpr std::array<int, 5> kSteps = {0, 25, 50, 75, 100};
constexpr std::array<int, 2> kEdgeRows = {3, kHeight - 4};  // rows above and below the text
constexpr int kEdgeTolerance = 3;    // pixels the bar's own rounded end may take
constexpr int kInkDistance = 90;     // how far a text pixel is from what lies beside the text
constexpr DWORD kWatchMs = 60000;

using Pixels = std::vector<COLORREF>;  // kWidth x kHeight, row by row

Pixels capture(HWND window) {
  POINT origin{kGauge.left, kGauge.top};
  ClientToScreen(window, &origin);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = kWidth;
  info.bmiHeader.biHeight = -kHeight;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  Pixels pixels(size_t(kWidth) * kHeight, 0);
  if (bitmap && bits) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, kWidth, kHeight, screen, origin.x, origin.y, SRCCOPY);
    GdiFlush();
    const auto* raw = static_cast<const uint32_t*>(bits);
    for (size_t i = 0; i < pixels.size(); ++i)
      pixels[i] = RGB((raw[i] >> 16) & 0xFF, (raw[i] >> 8) & 0xFF, raw[i] & 0xFF);
    SelectObject(memory, old);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

COLORREF at(const Pixels& p, int x, int y) { return p[size_t(y) * kWidth + size_t(x)]; }

// The text of a step as the gauge draws it: centred on one line in the window's font.
struct TextMask {
  int percent = 0;
  std::vector<bool> ink;  // kWidth x kHeight
  RECT box{};
};

std::vector<TextMask> text_masks() {
  std::vector<TextMask> masks;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, kWidth, kHeight);
  HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
  HFONT font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"MS Sans Serif");
  HGDIOBJ oldFont = SelectObject(memory, font);
  for (int percent : kSteps) {
    RECT all{0, 0, kWidth, kHeight};
    FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetBkMode(memory, TRANSPARENT);
    SetTextColor(memory, RGB(0, 0, 0));
    const std::wstring text = std::to_wstring(percent) + L"%";
    DrawTextW(memory, text.c_str(), int(text.size()), &all, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    TextMask mask;
    mask.percent = percent;
    mask.ink.assign(size_t(kWidth) * kHeight, false);
    mask.box = RECT{kWidth, kHeight, 0, 0};
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        if (GetRValue(GetPixel(memory, x, y)) < 128) {
          mask.ink[size_t(y) * kWidth + size_t(x)] = true;
          mask.box = RECT{std::min<LONG>(mask.box.left, x), std::min<LONG>(mask.box.top, y),
                          std::max<LONG>(mask.box.right, x + 1), std::max<LONG>(mask.box.bottom, y + 1)};
        }
    masks.push_back(std::move(mask));
  }
  SelectObject(memory, oldFont);
  DeleteObject(font);
  SelectObject(memory, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return masks;
}

const std::vector<TextMask>& masks() {
  static const std::vector<TextMask> all = text_masks();
  return all;
}

// Where the filled part ends: the last column that differs from the empty gauge on the rows
// above and below the text.
int filled_width(const Pixels& p, const Pixels& empty) {
  int edge = 0;
  for (int y : kEdgeRows)
    for (int x = 0; x < kWidth; ++x)
      if (colour_distance(at(p, x, y), at(empty, x, y)) > 24) edge = std::max(edge, x + 1);
  return edge;
}

int step_of_width(int width) {
  for (int percent : kSteps) {
    const int expected = int(std::lround(kWidth * percent / 100.0));
    if (std::abs(width - expected) <= kEdgeTolerance) return percent;
  }
  return -1;
}

// The text's pixels: those far from the colour beside the text box on the same row and the
// same side of the bar's end.
std::vector<bool> screen_ink(const Pixels& p, int filled, const RECT& box) {
  std::vector<bool> ink(size_t(kWidth) * kHeight, false);
  const int leftRef = std::max<int>(0, box.left - 4), rightRef = std::min<int>(kWidth - 1, box.right + 3);
  for (int y = box.top; y < box.bottom; ++y)
    for (int x = box.left; x < box.right; ++x) {
      const bool filledSide = x < filled;
      const int ref = (leftRef < filled) == filledSide ? leftRef : rightRef;
      ink[size_t(y) * kWidth + size_t(x)] = colour_distance(at(p, x, y), at(p, ref, y)) > kInkDistance;
    }
  return ink;
}

// Within a pixel of the text's own pixels: the skin may draw the text with a contour or shadow.
bool near_text(const TextMask& m, int x, int y) {
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx) {
      const int nx = x + dx, ny = y + dy;
      if (nx >= 0 && ny >= 0 && nx < kWidth && ny < kHeight && m.ink[size_t(ny) * kWidth + size_t(nx)]) return true;
    }
  return false;
}

int read_text(const Pixels& p, int filled) {
  RECT box{kWidth, kHeight, 0, 0};
  for (const TextMask& m : masks())
    box = RECT{std::min(box.left, m.box.left), std::min(box.top, m.box.top), std::max(box.right, m.box.right),
               std::max(box.bottom, m.box.bottom)};
  InflateRect(&box, 2, 1);
  box = RECT{std::max<LONG>(box.left, 0), std::max<LONG>(box.top, 0), std::min<LONG>(box.right, kWidth),
             std::min<LONG>(box.bottom, kHeight)};
  const std::vector<bool> ink = screen_ink(p, filled, box);
  // The share of a text's pixels found, less the share of what was found that lies away from
  // it; the best text must score well and clearly better than the next (a 2 and a 7 are close).
  int best = -1;
  double bestScore = 0, secondScore = 0;
  for (const TextMask& m : masks()) {
    int inside = 0, covered = 0, stray = 0, total = 0;
    for (int y = box.top; y < box.bottom; ++y)
      for (int x = box.left; x < box.right; ++x) {
        // The bar's own end may lie under the text: its columns tell nothing about the text.
        if (filled > 0 && filled < kWidth && std::abs(x - filled) <= kEdgeTolerance) continue;
        const size_t i = size_t(y) * kWidth + size_t(x);
        if (m.ink[i]) ++inside, covered += ink[i] ? 1 : 0;
        if (ink[i]) ++total, stray += near_text(m, x, y) ? 0 : 1;
      }
    const double score = inside ? double(covered) / inside - (total ? double(stray) / total : 0) : 0;
    if (score > bestScore) secondScore = bestScore, bestScore = score, best = m.percent;
    else secondScore = std::max(secondScore, score);
  }
  return bestScore >= 0.6 && bestScore - secondScore >= 0.05 ? best : -1;
}

}  // namespace

GaugeReading read_gauge(HWND window, const std::vector<COLORREF>& empty) {
  const Pixels p = capture(window);
  const int filled = filled_width(p, empty);
  return GaugeReading{step_of_width(filled), read_text(p, filled)};
}

GaugeWatch::GaugeWatch(HWND window, HWND install_button)
    : window_(window), button_(install_button), empty_(capture(window)), thread_([this] { run(); }) {}

GaugeWatch::~GaugeWatch() {
  if (thread_.joinable()) thread_.join();
}

void GaugeWatch::run() {
  masks();
  const DWORD begin = GetTickCount();
  bool seenDisabled = false;
  while (GetTickCount() - begin < kWatchMs && IsWindow(window_)) {
    const GaugeReading r = read_gauge(window_, empty_);
    if (readings_.empty() || !(readings_.back() == r)) readings_.push_back(r);
    const bool enabled = IsWindowEnabled(button_);
    if (!enabled) seenDisabled = true;
    if (seenDisabled && enabled && readings_.back().filled_percent == 100) break;
    Sleep(1);
  }
  // After the run: the finished gauge, read once its light has passed.
  for (int i = 0; i < 40 && IsWindow(window_); ++i) {
    Sleep(100);
    const GaugeReading r = read_gauge(window_, empty_);
    if (!(readings_.back() == r)) readings_.push_back(r);
    if (r.text_percent == 100) break;
  }
}

void GaugeWatch::check(CheckLog& log) {
  if (thread_.joinable()) thread_.join();
  std::wstring seen;
  int last = 0;
  bool ordered = true, agree = true, known = true;
  std::array<bool, 5> barSeen{}, textRead{};
  for (const GaugeReading& r : readings_) {
    seen += std::to_wstring(r.filled_percent) + L"/" + std::to_wstring(r.text_percent) + L" ";
    if (r.filled_percent < 0) {
      known = false;
      continue;
    }
    ordered = ordered && r.filled_percent >= last;
    last = std::max(last, r.filled_percent);
    if (r.text_percent >= 0) agree = agree && r.text_percent == r.filled_percent;
    for (size_t i = 0; i < kSteps.size(); ++i)
      if (kSteps[i] == r.filled_percent) {
        barSeen[i] = true;
        if (r.text_percent == r.filled_percent) textRead[i] = true;
      }
  }
  log.note(L"gauge readings (bar/text): " + seen);
  log.expect(!readings_.empty() && readings_.front().filled_percent == 0 && readings_.front().text_percent == 0,
             L"gauge reads 0% before the install");
  log.expect(known, L"the gauge's bar always ends at one of the install's steps (0, 25, 50, 75, 100 %)");
  log.expect(ordered, L"the gauge's bar only grows during the install");
  log.expect(agree, L"the gauge's text always shows the percentage its bar is filled to");
  log.expect(!readings_.empty() && readings_.back().filled_percent == 100 && readings_.back().text_percent == 100,
             L"gauge reads 100% after the install");
  for (size_t i = 1; i + 1 < kSteps.size(); ++i) {
    const std::wstring step = std::to_wstring(kSteps[i]) + L"%";
    if (!barSeen[i]) log.note(L"the gauge's " + step + L" went by between two readings");
    else if (!textRead[i]) log.note(L"the gauge's bar was seen at " + step + L"; its text was not told apart for sure");
  }
}
