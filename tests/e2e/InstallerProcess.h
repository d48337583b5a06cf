// The installer under test as a child process: start, its windows, its end. The destructor
// makes sure the process never outlives the driver.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

// The Windows folder's "temp" (C:\windows\temp in a Wine prefix).
std::wstring windows_temp_dir();

class InstallerProcess {
 public:
  InstallerProcess() = default;
  InstallerProcess(const InstallerProcess&) = delete;
  InstallerProcess& operator=(const InstallerProcess&) = delete;
  ~InstallerProcess() { close(); }

  // Starts the installer in `working_dir`, by default the Windows folder's "temp": always on
  // drive C: of the prefix, never on Z: (the real root of this machine), so that a path the
  // installer resolves against its current directory stays inside the prefix.
  bool start(const std::wstring& exe_path, const std::wstring& arguments = L"", const std::wstring& working_dir = L"");
  DWORD id() const { return info_.dwProcessId; }
  bool running() const;
  void wait_input_idle(DWORD timeout_ms) const { WaitForInputIdle(info_.hProcess, timeout_ms); }

  // Waits for the visible top-level window titled "Kalvetra setup"; records the time it took
  // from just before the process was created.
  HWND wait_main_window(DWORD timeout_ms);
  double ms_to_window() const { return ms_to_window_; }
  // Waits, polling every millisecond, for the main window to be shown with nothing left to
  // paint in it or any of its controls; records the time it took from process creation (and
  // the time to the window's showing).
  HWND wait_painted_window(DWORD timeout_ms);
  double ms_to_painted() const { return ms_to_painted_; }

  // A message box (dialog class "#32770") of this process, or null.
  HWND find_message_box() const;
  HWND wait_message_box(DWORD timeout_ms) const;

  // The exit code once the process has ended within the time-out.
  std::optional<DWORD> wait_exit(DWORD timeout_ms);

  // The programs this process started (and theirs) that still run.
  size_t child_process_count() const;
  // Waits until those programs have ended; false on time-out.
  bool wait_child_processes_end(DWORD timeout_ms) const;

  // Asks the window to close, then ends the process if it does not.
  void close();

 private:
  PROCESS_INFORMATION info_{};
  LARGE_INTEGER started_{};
  double ms_to_window_ = 0;
  double ms_to_painted_ = 0;
};
