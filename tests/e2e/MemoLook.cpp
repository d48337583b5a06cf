#include "MemoLook.h"

#include <map>
#include <string>
#include <vector>

#include "Console.h"
#include "KeyboardInput.h"
#include "MouseInput.h"
#include "ScreenColour.h"

namespace {

constexpr DWORD kSettleMs = 150;
constexpr int kAddedLines = 30;
constexpr int kMinThumb = 16;

// The vertical bar on the screen: the column through its middle and the track between the
// arrow buttons (the bar lies right of the client area, inside the frame).
struct BarColumn {
  int x = 0, top = 0, bottom = 0, button = 0;
};

BarColumn bar_column(HWND memo) {
  POINT origin{0, 0};
  ClientToScreen(memo, &origin);
  RECT client{};
  GetClientRect(memo, &client);
  BarColumn bar;
  bar.button = GetSystemMetrics(SM_CXVSCROLL);
  bar.x = origin.x + client.right + bar.button / 2;
  bar.top = origin.y;
  bar.bottom = origin.y + client.bottom;
  return bar;
}

std::vector<COLORREF> track_pixels(const BarColumn& bar) {
  std::vector<COLORREF> pixels;
  for (int y = bar.top + bar.button + 1; y < bar.bottom - bar.button - 1; ++y) pixels.push_back(screen_pixel({bar.x, y}));
  return pixels;
}

// The thumb: the longest run of one colour other than the track's most frequent colour (the
// page areas); its start and length.
std::pair<int, int> thumb_run(const std::vector<COLORREF>& track) {
  if (track.empty()) return {0, 0};
  std::map<COLORREF, int> counts;
  for (COLORREF c : track) ++counts[c];
  COLORREF page = track.front();
  for (const auto& [colour, n] : counts)
    if (n > counts[page]) page = colour;
  int best_start = 0, best_length = 0;
  for (size_t i = 0; i < track.size();) {
    size_t j = i;
    while (j < track.size() && track[j] == track[i]) ++j;
    if (track[i] != page && int(j - i) > best_length) {
      best_start = int(i);
      best_length = int(j - i);
    }
    i = j;
  }
  return {best_start, best_length};
}

int first_visible_line(HWND memo) { return int(SendMessageW(memo, EM_GETFIRSTVISIBLELINE, 0, 0)); }

}  // namespace

void check_log_scroll_bar(InstallerSession& session) {
  CheckLog& log = session.log;
  const HWND memo = session.controls.memo, window = session.controls.window;
  const BarColumn bar = bar_column(memo);

  // While the lines fit: one colour from button to button, no thumb.
  const std::vector<COLORREF> fitting = track_pixels(bar);
  const bool uniform = !fitting.empty() && thumb_run(fitting).second == 0;
  log.expect(uniform, L"log scroll bar without a thumb while its lines fit");
  const COLORREF blended = fitting.empty() ? 0 : fitting.back();

  // More lines than fit, typed at the end of the log.
  if (!click_window(window, memo)) log.fail(L"log memo takes a click");
  press_key(VK_END, VK_CONTROL, 0);
  for (int i = 0; i < kAddedLines; ++i) press_key(VK_RETURN, 0, 0);
  Sleep(kSettleMs * 2);
  const int lines = int(SendMessageW(memo, EM_GETLINECOUNT, 0, 0));
  log.expect(lines > 40, L"log holds the typed lines", L"more than 40", std::to_wstring(lines));

  const std::vector<COLORREF> scrolled = track_pixels(bar);
  const auto [thumb_start, thumb_length] = thumb_run(scrolled);
  log.expect(thumb_length >= kMinThumb, L"log scroll bar shows a thumb once the lines do not fit",
             L">= " + std::to_wstring(kMinThumb) + L" rows", std::to_wstring(thumb_length));
  log.expect(!scrolled.empty() && scrolled.front() != blended, L"log scroll bar no longer blended",
             L"not " + hex_colour(blended), scrolled.empty() ? L"" : hex_colour(scrolled.front()));
  log.expect(thumb_start + thumb_length >= int(scrolled.size()) - 4, L"thumb at the end of the track after typing",
             std::to_wstring(scrolled.size()), std::to_wstring(thumb_start + thumb_length));
  request_screenshot(L"log-scrollable");

  // The wheel scrolls back up; the thumb follows.
  const int bottom_line = first_visible_line(memo);
  POINT over{(bar.x - 80), (bar.top + bar.bottom) / 2};
  wheel_at(over, 3);
  Sleep(kSettleMs);
  const int after_wheel = first_visible_line(memo);
  log.expect(after_wheel < bottom_line, L"wheel scrolls the log up", L"< " + std::to_wstring(bottom_line),
             std::to_wstring(after_wheel));
  const auto wheel_thumb = thumb_run(track_pixels(bar));
  log.expect(wheel_thumb.first < thumb_start, L"thumb moves up with the wheel", L"< " + std::to_wstring(thumb_start),
             std::to_wstring(wheel_thumb.first));

  // A click on the down arrow scrolls one line.
  const POINT down{bar.x, bar.bottom - bar.button / 2};
  click_at(down);
  Sleep(kSettleMs);
  log.expect_equal(L"down arrow scrolls the log one line", after_wheel + 1, first_visible_line(memo));
  request_screenshot(L"log-scrolled");
}
