// One run of the installer driven like a user would: start it, click, wait for the outcome,
// read the log, close it. Each step records its checks in the session's log.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "CheckLog.h"
#include "InstallLayout.h"
#include "InstallerProcess.h"
#include "InstallerWindow.h"

struct InstallerSession {
  CheckLog& log;
  const InstallLayout& layout;
  InstallerProcess process;
  InstallerControls controls;

  InstallerSession(CheckLog& log, const InstallLayout& layout) : log(log), layout(layout) {}
};

enum class InstallOutcome { done, message_box, failed };

// Starts the installer, waits for its window and finds its controls (checking them when
// `check_controls` is set). False when the window or a control is missing. The installer's
// current directory is `working_dir` (by default a folder on drive C:, see InstallerProcess).
bool launch(InstallerSession& session, const std::wstring& exe, bool check_controls,
            const std::wstring& working_dir = L"");

// Starts the installer with arguments and expects a message box before its window: checks
// its text, closes it with its button, then waits for the window as `launch` does.
bool launch_past_start_message(InstallerSession& session, const std::wstring& exe, const std::wstring& arguments,
                               std::wstring_view must_contain);

// Clicks a check box and checks that it became unchecked.
void clear_check_box(InstallerSession& session, HWND check_box, std::wstring_view name);

// Presses and releases Space on a check box that has the keyboard focus and checks that the
// box took the expected state (BST_CHECKED or BST_UNCHECKED) once.
void toggle_check_box_by_space(InstallerSession& session, HWND check_box, std::wstring_view name, LRESULT expected);

// Replaces the directory field's text, as typing would, and checks that it took it.
bool set_directory_text(InstallerSession& session, const std::wstring& text);

// Clicks the install button and waits for the finish caption or a message box.
InstallOutcome click_install(InstallerSession& session, HWND& message_box);

// The texts of a message box's static controls, joined by blanks.
std::wstring message_box_text(HWND box);

void check_log(InstallerSession& session, const std::vector<std::wstring>& expected);
void check_done_state(InstallerSession& session);

// Waits for the installer's child programs, clicks the finish button and checks that the
// process ends with code 0 and that the click changed nothing on disk or in the registry.
void finish_by_second_click(InstallerSession& session);

// Checks the message box text, closes the box with a click and checks the failed state.
void handle_failure_message(InstallerSession& session, HWND box, std::wstring_view must_contain);

// Checks the message box text, closes the box with a click and checks that the window is
// ready for another attempt: nothing disabled, the install caption, an empty log.
void handle_refusal_message(InstallerSession& session, HWND box, std::wstring_view must_contain);

// Clicks the install button and asks the window to close (WM_CLOSE) right behind the click,
// so that the run's message pump meets the request. Checks that no message box appears and
// that the process then ends with code 0; the caller checks that the run finished its work
// before that end.
void close_while_installing(InstallerSession& session);

// Waits for the process to end after `action` and checks its exit code 0; when it does not
// end, notes whether the window is still there (a lost click or a program that hangs).
void check_exit(InstallerSession& session, std::wstring_view action);

// Closes the window as its close button would and checks that the process ends.
void close_window(InstallerSession& session);
