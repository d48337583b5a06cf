#include "InstallerSession.h"

#include "Console.h"
#include "InstallationState.h"
#include "KeyboardInput.h"
#include "MouseInput.h"
#include "TextUtil.h"
#include "Waiting.h"
#include "WindowInspect.h"

namespace {
constexpr DWORD kWindowTimeoutMs = 30000;
constexpr DWORD kInstallTimeoutMs = 60000;
constexpr DWORD kChildProcessesTimeoutMs = 30000;
constexpr DWORD kExitTimeoutMs = 20000;
constexpr DWORD kStateChangeTimeoutMs = 3000;
const std::wstring kInstallCaption = L"Установить";
const std::wstring kFinishCaption = L"Завершить";

// A real click on one of the installer's windows; a covered target is a failed check.
void click(InstallerSession& session, HWND top_level, HWND target, std::wstring_view what) {
  bool reached = click_window(top_level, target);
  if (!reached) session.log.fail(L"click on the " + std::wstring(what) + L" reaches it (another window covers it)");
}

std::wstring joined(const std::vector<std::wstring>& lines) {
  std::wstring text;
  for (const auto& line : lines) text += L"\n          " + line;
  return text;
}

HWND message_box_button(HWND box) {
  for (HWND child : all_descendants(box))
    if (window_class(child) == L"Button" && IsWindowVisible(child)) return child;
  return nullptr;
}

}  // namespace

void check_exit(InstallerSession& session, std::wstring_view action) {
  auto code = session.process.wait_exit(kExitTimeoutMs);
  if (session.log.expect(code.has_value(), L"installer ends after " + std::wstring(action))) {
    session.log.expect_equal(L"installer exit code", 0, *code);
    return;
  }
  // Whether the window is still there tells a lost click from a program that does not end.
  const HWND window = session.controls.window;
  session.log.note(std::wstring(L"after ") + std::wstring(action) + L": window " +
                   (IsWindow(window) ? (IsWindowVisible(window) ? L"still shown" : L"hidden") : L"gone") +
                   L", install button \"" + window_text(session.controls.install_button) + L"\" " +
                   (IsWindowEnabled(session.controls.install_button) ? L"enabled" : L"disabled") +
                   L", foreground " + (GetForegroundWindow() == window ? L"the installer" : L"another window"));
}

namespace {
// Checks a message box's text, takes its screenshot and closes it with its button.
void answer_message_box(InstallerSession& session, HWND box, std::wstring_view must_contain, std::wstring_view shot) {
  std::wstring text = message_box_text(box);
  session.log.expect(contains_ignoring_case(text, must_contain), L"message box text",
                     L"text containing " + quoted(must_contain), quoted(text));
  request_screenshot(std::wstring(shot));
  HWND button = message_box_button(box);
  if (session.log.expect(button != nullptr, L"message box has a button")) click(session, box, button, L"message box button");
  if (!session.log.expect(wait_until([&] { return !IsWindow(box); }, kExitTimeoutMs), L"message box closed by its button"))
    PostMessageW(box, WM_CLOSE, 0, 0);
}

bool wait_and_find_controls(InstallerSession& session, bool check_controls) {
  HWND window = session.process.wait_main_window(kWindowTimeoutMs);
  if (!session.log.expect(window != nullptr, L"visible window \"Kalvetra setup\" appears")) return false;
  print_line(L"time   process start to visible window: " + std::to_wstring(long(session.process.ms_to_window())) + L" ms");
  session.process.wait_input_idle(kWindowTimeoutMs);
  Sleep(500);  // let the first paint and the skin's activation settle
  session.controls = check_controls ? find_and_check_controls(session.log, window, session.layout) : find_controls(window);
  return session.log.expect(session.controls.complete(), L"all windowed controls found");
}
}  // namespace

bool launch(InstallerSession& session, const std::wstring& exe, bool check_controls, const std::wstring& working_dir) {
  if (!session.log.expect(session.process.start(exe, L"", working_dir), L"installer process starts: " + exe))
    return false;
  return wait_and_find_controls(session, check_controls);
}

bool launch_past_start_message(InstallerSession& session, const std::wstring& exe, const std::wstring& arguments,
                               std::wstring_view must_contain) {
  if (!session.log.expect(session.process.start(exe, arguments), L"installer process starts: " + exe + L" " + arguments))
    return false;
  HWND box = session.process.wait_message_box(kWindowTimeoutMs);
  if (!session.log.expect(box != nullptr, L"a message box appears at start-up")) return false;
  answer_message_box(session, box, must_contain, L"start-message");
  return wait_and_find_controls(session, true);
}

void clear_check_box(InstallerSession& session, HWND check_box, std::wstring_view name) {
  click(session, session.controls.window, check_box, name);
  bool cleared = wait_until([&] { return SendMessageW(check_box, BM_GETCHECK, 0, 0) == BST_UNCHECKED; },
                            kStateChangeTimeoutMs);
  session.log.expect(cleared, std::wstring(name) + L": unchecked by a click");
}

void toggle_check_box_by_space(InstallerSession& session, HWND check_box, std::wstring_view name, LRESULT expected) {
  session.log.expect(GetFocus() == check_box || GetForegroundWindow() == session.controls.window,
                     std::wstring(name) + L": its window has the keyboard");
  press_key(VK_SPACE, 0, 0);
  bool toggled = wait_until([&] { return SendMessageW(check_box, BM_GETCHECK, 0, 0) == expected; }, kStateChangeTimeoutMs);
  session.log.expect(toggled, std::wstring(name) + L": toggled by Space");
}

bool set_directory_text(InstallerSession& session, const std::wstring& text) {
  HWND edit = session.controls.dir_edit;
  SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  return session.log.expect_equal(L"directory field text", text, window_text(edit));
}

InstallOutcome click_install(InstallerSession& session, HWND& message_box) {
  click(session, session.controls.window, session.controls.install_button, L"install button");
  message_box = nullptr;
  bool ended = wait_until(
      [&] {
        message_box = session.process.find_message_box();
        return message_box || !session.process.running() ||
               window_text(session.controls.install_button) == kFinishCaption;
      },
      kInstallTimeoutMs);
  if (message_box) return InstallOutcome::message_box;
  if (!session.process.running()) {
    session.log.fail(L"installer ended during the install run");
    return InstallOutcome::failed;
  }
  if (!ended) {
    session.log.expect_equal(L"install button caption within 60 s", kFinishCaption,
                             window_text(session.controls.install_button));
    return InstallOutcome::failed;
  }
  return InstallOutcome::done;
}

std::wstring message_box_text(HWND box) {
  std::wstring text;
  for (HWND child : all_descendants(box))
    if (window_class(child) == L"Static") text += window_text(child) + L" ";
  return text;
}

void check_log(InstallerSession& session, const std::vector<std::wstring>& expected) {
  std::vector<std::wstring> actual = memo_lines(session.controls);
  session.log.expect(actual == expected, L"log lines (" + std::to_wstring(expected.size()) + L")", joined(expected),
                     joined(actual));
}

void check_done_state(InstallerSession& session) {
  const auto& c = session.controls;
  session.log.expect(IsWindowEnabled(c.install_button) != FALSE, L"finish button enabled");
  session.log.expect(!IsWindowEnabled(c.dir_edit), L"directory edit stays disabled after the run");
}

void finish_by_second_click(InstallerSession& session) {
  print_line(L"wait   for " + std::to_wstring(session.process.child_process_count()) +
             L" program(s) started by the installer to end");
  if (!session.process.wait_child_processes_end(kChildProcessesTimeoutMs))
    session.log.note(L"programs started by the installer still run after 30 s");
  StateSnapshot before = capture_installation(session.layout);
  click(session, session.controls.window, session.controls.install_button, L"finish button");
  check_exit(session, L"the finish click");
  expect_unchanged(session.log, before, capture_installation(session.layout));
}

void handle_failure_message(InstallerSession& session, HWND box, std::wstring_view must_contain) {
  answer_message_box(session, box, must_contain, L"message");

  const auto& c = session.controls;
  session.log.expect(session.process.running(), L"installer keeps running after the failure");
  session.log.expect(!IsWindowEnabled(c.install_button), L"install button stays disabled after the failure");
  session.log.expect(!IsWindowEnabled(c.dir_edit), L"directory edit stays disabled after the failure");
  session.log.expect_equal(L"install button caption after the failure", kInstallCaption, window_text(c.install_button));
}

void handle_refusal_message(InstallerSession& session, HWND box, std::wstring_view must_contain) {
  answer_message_box(session, box, must_contain, L"refusal");

  const auto& c = session.controls;
  session.log.expect(session.process.running(), L"installer keeps running after the refusal");
  session.log.expect(IsWindowEnabled(c.install_button) != FALSE, L"install button enabled after the refusal");
  session.log.expect(IsWindowEnabled(c.dir_edit) != FALSE, L"directory edit enabled after the refusal");
  session.log.expect_equal(L"install button caption after the refusal", kInstallCaption, window_text(c.install_button));
  check_log(session, {});
}

void close_while_installing(InstallerSession& session) {
  const auto& c = session.controls;
  // The click and the close request are queued together, in this order, as posted messages of
  // the installer's thread: the click starts the run, and the run's own message pump meets the
  // close request while it goes on, however fast the payload is written. (Real mouse input
  // would reach the window after posted messages, and polling for the run to start can come too
  // late for a small payload.)
  PostMessageW(c.install_button, BM_CLICK, 0, 0);
  PostMessageW(c.window, WM_CLOSE, 0, 0);
  HWND box = nullptr;
  wait_until([&] { return (box = session.process.find_message_box()) || !session.process.running(); },
             kInstallTimeoutMs);
  if (box) session.log.fail(L"no message box after the close request, got " + quoted(message_box_text(box)));
  check_exit(session, L"the close request during the run");
}

void close_window(InstallerSession& session) {
  PostMessageW(session.controls.window, WM_CLOSE, 0, 0);
  check_exit(session, L"WM_CLOSE");
}
