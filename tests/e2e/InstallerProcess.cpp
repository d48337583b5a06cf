#include "InstallerProcess.h"

#include <tlhelp32.h>

#include <map>
#include <vector>

#include "WindowInspect.h"

namespace {
constexpr DWORD kPollMs = 10;
constexpr DWORD kCloseWaitMs = 10000;

double elapsed_ms(const LARGE_INTEGER& since) {
  LARGE_INTEGER now{}, frequency{};
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return double(now.QuadPart - since.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

// Processes whose chain of parents leads to `ancestor`.
std::vector<DWORD> descendant_processes(DWORD ancestor) {
  std::map<DWORD, DWORD> parent_of;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return {};
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
    parent_of[entry.th32ProcessID] = entry.th32ParentProcessID;
  CloseHandle(snapshot);

  std::vector<DWORD> found;
  for (auto [pid, parent] : parent_of) {
    for (int depth = 0; depth < 16 && parent != 0; ++depth) {
      if (parent == ancestor) {
        found.push_back(pid);
        break;
      }
      auto up = parent_of.find(parent);
      if (up == parent_of.end()) break;
      parent = up->second;
    }
  }
  return found;
}
}  // namespace

std::wstring windows_temp_dir() {
  wchar_t windows[MAX_PATH] = L"";
  UINT n = GetWindowsDirectoryW(windows, MAX_PATH);
  return std::wstring(windows, n < MAX_PATH ? n : 0) + L"\\temp";
}

bool InstallerProcess::start(const std::wstring& exe_path, const std::wstring& arguments,
                             const std::wstring& working_dir) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  std::wstring command_line = L"\"" + exe_path + L"\"";
  if (!arguments.empty()) command_line += L" " + arguments;
  const std::wstring directory = working_dir.empty() ? windows_temp_dir() : working_dir;
  QueryPerformanceCounter(&started_);
  return CreateProcessW(exe_path.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(),
                        &startup, &info_) != 0;
}

bool InstallerProcess::running() const {
  return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

HWND InstallerProcess::wait_main_window(DWORD timeout_ms) {
  DWORD begin = GetTickCount();
  while (GetTickCount() - begin < timeout_ms && running()) {
    for (HWND window : process_top_level_windows(id(), {}, L"Kalvetra setup")) {
      if (IsWindowVisible(window)) {
        ms_to_window_ = elapsed_ms(started_);
        return window;
      }
    }
    Sleep(kPollMs);
  }
  return nullptr;
}

namespace {
bool nothing_left_to_paint(HWND window) {
  if (GetUpdateRect(window, nullptr, FALSE)) return false;
  for (HWND child : all_descendants(window))
    if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) return false;
  return true;
}
}  // namespace

HWND InstallerProcess::wait_painted_window(DWORD timeout_ms) {
  DWORD begin = GetTickCount();
  HWND shown = nullptr;
  while (GetTickCount() - begin < timeout_ms && running()) {
    if (!shown) {
      for (HWND window : process_top_level_windows(id(), {}, L"Kalvetra setup"))
        if (IsWindowVisible(window)) shown = window;
      if (shown) ms_to_window_ = elapsed_ms(started_);
    }
    if (shown && nothing_left_to_paint(shown)) {
      ms_to_painted_ = elapsed_ms(started_);
      return shown;
    }
    Sleep(1);
  }
  return nullptr;
}

HWND InstallerProcess::find_message_box() const {
  for (HWND window : process_top_level_windows(id(), L"#32770"))
    if (IsWindowVisible(window)) return window;
  return nullptr;
}

HWND InstallerProcess::wait_message_box(DWORD timeout_ms) const {
  DWORD begin = GetTickCount();
  while (GetTickCount() - begin < timeout_ms && running()) {
    if (HWND box = find_message_box()) return box;
    Sleep(kPollMs * 10);
  }
  return nullptr;
}

std::optional<DWORD> InstallerProcess::wait_exit(DWORD timeout_ms) {
  if (!info_.hProcess || WaitForSingleObject(info_.hProcess, timeout_ms) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

size_t InstallerProcess::child_process_count() const { return descendant_processes(id()).size(); }

bool InstallerProcess::wait_child_processes_end(DWORD timeout_ms) const {
  DWORD begin = GetTickCount();
  while (child_process_count() != 0) {
    if (GetTickCount() - begin >= timeout_ms) return false;
    Sleep(kPollMs * 20);
  }
  return true;
}

void InstallerProcess::close() {
  if (!info_.hProcess) return;
  if (running()) {
    for (HWND box : process_top_level_windows(id(), L"#32770")) PostMessageW(box, WM_CLOSE, 0, 0);
    for (HWND window : process_top_level_windows(id(), {}, L"Kalvetra setup")) PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(info_.hProcess, kCloseWaitMs) != WAIT_OBJECT_0) {
      TerminateProcess(info_.hProcess, 1);
      WaitForSingleObject(info_.hProcess, kCloseWaitMs);
    }
  }
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
  info_ = {};
}
