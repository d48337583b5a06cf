// The gauge read off the screen while the files are extracted: how far its bar is filled and
// which percentage its text shows, from the ready window to the end of the run.
#pragma once
#include <windows.h>

#include <thread>
#include <vector>

#include "CheckLog.h"

// One reading of the gauge: the filled width as a percentage of the bar (-1: not one of the
// install's steps) and the percentage its text shows (-1: not readable, as while the running
// light lies over the text).
struct GaugeReading {
  int filled_percent = -1;
  int text_percent = -1;
  bool operator==(const GaugeReading&) const = default;
};

// Reads the gauge of the installer window as it stands; empty: the gauge's pixels at 0 %.
GaugeReading read_gauge(HWND window, const std::vector<COLORREF>& empty);

// Watches the gauge from before the install click until the install button is enabled again,
// keeping every reading that differs from the one before.
class GaugeWatch {
public:
  // Takes the empty gauge's look first: call before the install click.
  GaugeWatch(HWND window, HWND install_button);
  ~GaugeWatch();
  // Waits for the watch to end; checks that the gauge went through the install's steps in
  // order, its text agreeing with its bar, and ends at 100 %.
  void check(CheckLog& log);

private:
  void run();
  HWND window_, button_;
  std::vector<COLORREF> empty_;
  std::vector<GaugeReading> readings_;
  std::thread thread_;
};
