#include "FolderDialog.h"

#include <algorithm>

#include "Console.h"
#include "FileAccess.h"
#include "InstallerProcess.h"
#include "KeyboardInput.h"
#include "MouseInput.h"
#include "ScreenColour.h"
#include "Waiting.h"
#include "WindowInspect.h"

namespace {
constexpr RECT kBrowseButton{613, 110, 613 + 23, 110 + 22};  // client coordinates of the window
constexpr DWORD kDialogTimeoutMs = 10000;
constexpr DWORD kSettleMs = 300;
const std::wstring kDialogCaption = L"Select directory";

HWND find_dialog(InstallerProcess& process) {
  for (HWND w : process_top_level_windows(process.id(), {}, kDialogCaption))
    if (IsWindowVisible(w)) return w;
  return nullptr;
}

// Clicks "..." and waits for the dialog; checks that the skin paints it.
HWND open_dialog(InstallerSession& session) {
  POINT centre{(kBrowseButton.left + kBrowseButton.right) / 2, (kBrowseButton.top + kBrowseButton.bottom) / 2};
  ClientToScreen(session.controls.window, &centre);
  SetForegroundWindow(session.controls.window);
  click_at(centre);
  HWND dialog = nullptr;
  if (!session.log.expect(wait_until([&] { return (dialog = find_dialog(session.process)) != nullptr; }, kDialogTimeoutMs),
                          L"\"...\" opens the folder dialog"))
    return nullptr;
  Sleep(kSettleMs);
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  session.log.expect(GetWindowRgn(dialog, rgn) != ERROR, L"dialog frame painted by the skin (outline cut to its corners)");
  DeleteObject(rgn);
  std::vector<std::wstring> captions;
  for (HWND child : direct_children(dialog)) captions.push_back(window_text(child));
  for (const wchar_t* caption : {L"OK", L"Cancel", L"Create"})
    session.log.expect(std::find(captions.begin(), captions.end(), caption) != captions.end(),
                       std::wstring(L"dialog has its ") + caption + L" button");
  return dialog;
}

// The screen colour of a dialog button's face left of its caption.
COLORREF button_face(HWND dialog, const wchar_t* caption) {
  for (HWND child : direct_children(dialog)) {
    if (window_text(child) != caption) continue;
    RECT r;
    GetClientRect(child, &r);
    POINT p{6, (r.bottom - r.top) / 2};
    ClientToScreen(child, &p);
    return screen_pixel(p);
  }
  return CLR_INVALID;
}

// OK, the default button, shows its default face while no push button has the focus and its
// normal face (the one Create shows) while Cancel has it; both faces come from the skin.
void check_default_look(InstallerSession& session, HWND dialog, bool cancel_focused) {
  const COLORREF ok = button_face(dialog, L"OK"), cancel = button_face(dialog, L"Cancel"),
                 create = button_face(dialog, L"Create");
  const std::wstring seen = L" (OK " + hex_colour(ok) + L", Cancel " + hex_colour(cancel) + L", Create " +
                            hex_colour(create) + L")";
  session.log.expect(colour_distance(create, GetSysColor(COLOR_BTNFACE)) > 30,
                     L"the buttons are painted from the skin, not in the system's button colour" + seen);
  if (cancel_focused) {
    session.log.expect(colour_distance(ok, create) < 10, L"OK shows its normal face while Cancel has the focus" + seen);
    session.log.expect(colour_distance(cancel, ok) > 30, L"the focused Cancel shows another face" + seen);
  } else {
    session.log.expect(colour_distance(ok, create) > 30, L"OK shows its default face while the tree has the focus" + seen);
  }
}

bool dialog_closed(HWND dialog) {
  return wait_until([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, kDialogTimeoutMs);
}
}  // namespace

void folder_dialog_scenario(InstallerSession& session, const std::wstring& exe) {
  const std::wstring target = windows_temp_dir() + L"\\e2e-folder-dialog";
  remove_tree(target);
  if (!session.log.expect(create_directories(target), L"target folder prepared: " + target)) return;
  if (!launch(session, exe, false)) return;
  set_directory_text(session, target);

  HWND dialog = open_dialog(session);
  if (!dialog) return;
  request_screenshot(L"open");
  check_default_look(session, dialog, false);
  press_key(VK_ESCAPE);
  session.log.expect(dialog_closed(dialog), L"Escape closes the dialog");
  session.log.expect_equal(L"field after Escape", target, window_text(session.controls.dir_edit));

  dialog = open_dialog(session);
  if (!dialog) return;
  // Keyboard only: the tree has the focus; Tab to Cancel (after OK), then to Create, Enter.
  for (int i = 0; i < 2; ++i) press_key(VK_TAB);
  Sleep(kSettleMs);  // the faces fade to their new states
  check_default_look(session, dialog, true);
  press_key(VK_TAB);
  press_key(VK_RETURN);
  const std::wstring made = target + L"\\New folder1";
  session.log.expect(wait_until([&] { return path_exists(made); }, kDialogTimeoutMs), L"Create made " + made);
  Sleep(kSettleMs);
  request_screenshot(L"renaming");
  press_key(VK_RETURN);  // ends the renaming only
  Sleep(kSettleMs);
  session.log.expect(IsWindowVisible(dialog) != FALSE, L"Enter while renaming keeps the dialog open");
  press_key(VK_RETURN);  // OK
  session.log.expect(dialog_closed(dialog), L"Enter closes the dialog with the folder");
  session.log.expect_equal(L"field after OK", made + L"\\Kalvetra", window_text(session.controls.dir_edit));

  HWND box = nullptr;
  if (click_install(session, box) == InstallOutcome::done)
    session.log.expect(file_exists(made + L"\\Kalvetra\\Kalvetra.exe"), L"installed into the chosen folder");
  else
    session.log.fail(L"the install into the chosen folder did not finish");
  close_window(session);
  remove_tree(target);
}
