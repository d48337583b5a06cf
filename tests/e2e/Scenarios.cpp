#include "Scenarios.h"

#include <functional>
#include <map>

#include "ButtonLook.h"
#include "EditLook.h"
#include "Console.h"
#include "FileAccess.h"
#include "FolderDialog.h"
#include "FrameChecks.h"
#include "GaugeLook.h"
#include "MemoLook.h"
#include "MenuChecks.h"
#include "InstallChecks.h"
#include "InstallLayout.h"
#include "LabelLook.h"
#include "InstallationState.h"
#include "InstallerSession.h"
#include "RegistryAccess.h"

namespace {
constexpr size_t kMissingPayloadFile = 1;  // basswasapi.dll
constexpr size_t kLockedFile = 2;          // Kalvetra.exe
const std::wstring kMissingResourceMessage = L"Resource BASSWASAPI not found";
const std::string kOldBassContent = "bass.dll of an older installation";
const std::string kLockedContent = "Kalvetra.exe held open by another program";
const std::wstring kFullPathMessage = L"Укажите полный путь установки";

struct Run {
  const ScenarioInputs& inputs;
  CheckLog& log;
  InstallLayout layout;
  InstallerSession session;

  Run(const ScenarioInputs& inputs, CheckLog& log)
      : inputs(inputs), log(log), layout(InstallLayout::detect()), session(log, layout) {}
};

// What a completed run leaves on disk and in the registry, for the chosen options.
void check_installed(Run& run, const LogOptions& options) {
  check_install_files(run.log, run.layout, run.inputs.payload_dir, kInstallFileNames.size());
  check_system_file(run.log, run.layout, run.inputs.payload_dir, true);
  check_shortcut(run.log, run.layout, run.layout.desktop_link, options.desktop_link);
  check_shortcut(run.log, run.layout, run.layout.programs_link, options.programs_link);
  check_uninstall_entry(run.log, run.layout, true);
  check_associations(run.log, run.layout, options.associations);
}

// Everything a completed run must leave, window included, for the chosen options.
void check_complete_installation(Run& run, const LogOptions& options) {
  check_log(run.session, expected_complete_log(run.layout, options));
  check_done_state(run.session);
  check_installed(run, options);
}

// The files before the failing one are written; nothing after it may have been done. The
// failing file itself is absent unless the scenario put it there (`first_absent`).
void check_stopped_installation(Run& run, size_t failing_file, size_t first_absent) {
  check_log(run.session, expected_log_failing_at(run.layout, failing_file));
  check_install_files(run.log, run.layout, run.inputs.payload_dir, failing_file);
  check_install_files_absent(run.log, run.layout, first_absent);
  check_system_file(run.log, run.layout, run.inputs.payload_dir, false);
  check_shortcut(run.log, run.layout, run.layout.desktop_link, false);
  check_shortcut(run.log, run.layout, run.layout.programs_link, false);
  check_uninstall_entry(run.log, run.layout, false);
  check_associations(run.log, run.layout, false);
}

// Nothing of an installation anywhere: not where the layout expects it, and not at the
// `stray` paths where a path resolved against the current directory would have put it.
void check_nothing_installed(Run& run, const std::vector<std::wstring>& stray) {
  for (const auto& path : stray) run.log.expect(!path_exists(path), L"nothing written at " + path);
  check_install_files_absent(run.log, run.layout, 0);
  check_system_file(run.log, run.layout, run.inputs.payload_dir, false);
  check_shortcut(run.log, run.layout, run.layout.desktop_link, false);
  check_shortcut(run.log, run.layout, run.layout.programs_link, false);
  check_uninstall_entry(run.log, run.layout, false);
  check_associations(run.log, run.layout, false);
}

void remove_paths(const std::vector<std::wstring>& paths) {
  for (const auto& path : paths) remove_tree(path);
}

bool install_to_completion(Run& run) {
  HWND box = nullptr;
  InstallOutcome outcome = click_install(run.session, box);
  if (outcome == InstallOutcome::message_box)
    run.log.expect(false, L"install run completes", L"no message box", L"message box " + quoted(message_box_text(box)));
  return outcome == InstallOutcome::done;
}

HWND install_to_failure(Run& run) {
  HWND box = nullptr;
  InstallOutcome outcome = click_install(run.session, box);
  run.log.expect(outcome == InstallOutcome::message_box, L"install run stops with a message box");
  return box;
}

void full_install(Run& run) {
  if (!launch(run.session, run.inputs.installer_exe, true)) return;
  check_window_frame(run.log, run.session.controls.window);
  check_hover_fade(run.log, run.session.controls);
  const ButtonColours normal = check_button_faces(run.log, run.session.controls);
  check_label_looks(run.log, run.session.controls);
  check_edits_and_language(run.session, run.layout.dir);
  request_screenshot(L"ready");
  DisabledLookWatch watch(run.session.controls.install_button, normal);
  GaugeWatch gauge(run.session.controls.window, run.session.controls.install_button);
  const bool completed = install_to_completion(run);
  watch.check(run.log);
  gauge.check(run.log);
  if (!completed) return;
  watch.check_enabled_face(run.log);
  request_screenshot(L"done");
  check_complete_installation(run, LogOptions{});
  check_log_scroll_bar(run.session);
  finish_by_second_click(run.session);
}

void install_without_options(Run& run) {
  if (!launch(run.session, run.inputs.installer_exe, true)) return;
  const auto& c = run.session.controls;
  // Each box: a click clears it, Space on it (it has the focus now) checks it again, and a
  // second click clears it for the install.
  const std::pair<HWND, const wchar_t*> boxes[] = {{c.desktop_check, L"desktop check box"},
                                                   {c.programs_check, L"Start menu check box"},
                                                   {c.associate_check, L"association check box"}};
  for (const auto& [box, name] : boxes) {
    clear_check_box(run.session, box, name);
    toggle_check_box_by_space(run.session, box, name, BST_CHECKED);
    clear_check_box(run.session, box, name);
  }
  if (!install_to_completion(run)) return;
  check_complete_installation(run, LogOptions{false, false, false});
  finish_by_second_click(run.session);
}

void install_over_existing(Run& run) {
  bool prepared = create_directories(run.layout.dir) &&
                  write_file(run.layout.installed_path(L"bass.dll"), bytes_of(kOldBassContent)) &&
                  write_registry_string(HKEY_LOCAL_MACHINE, kUninstallKey, L"Publisher", L"Someone else", KEY_WOW64_32KEY) &&
                  write_registry_string(HKEY_CLASSES_ROOT, L".qzs", L"", L"Other.Program");
  if (!run.log.expect(prepared, L"older installation prepared")) return;
  if (!launch(run.session, run.inputs.installer_exe, false)) return;
  if (!install_to_completion(run)) return;
  check_complete_installation(run, LogOptions{});
  finish_by_second_click(run.session);
}

void missing_payload(Run& run) {
  if (!launch(run.session, run.inputs.installer_exe, false)) return;
  HWND box = install_to_failure(run);
  if (!box) return;
  check_stopped_installation(run, kMissingPayloadFile, kMissingPayloadFile);
  handle_failure_message(run.session, box, kMissingResourceMessage);
  close_window(run.session);
}

void locked_target_file(Run& run) {
  const std::wstring locked_path = run.layout.installed_path(kInstallFileNames[kLockedFile]);
  if (!run.log.expect(create_directories(run.layout.dir), L"installation directory prepared")) return;
  ExclusiveFile locked(locked_path);
  if (!run.log.expect(locked.is_open() && locked.write_all(bytes_of(kLockedContent)), L"file held open: " + locked_path))
    return;
  if (!launch(run.session, run.inputs.installer_exe, false)) return;
  HWND box = install_to_failure(run);
  if (!box) return;
  check_stopped_installation(run, kLockedFile, kLockedFile + 1);
  handle_failure_message(run.session, box, locked_path);
  auto content = locked.read_all();
  run.log.expect(content && *content == bytes_of(kLockedContent), L"held file keeps its content: " + locked_path);
  close_window(run.session);
}

// A directory text that is not a full path is refused before anything is written; the
// installer runs in `working_dir`, against which such a text would be resolved.
void refuse_directory(Run& run, const std::wstring& field_text, const std::wstring& working_dir,
                      const std::vector<std::wstring>& stray) {
  remove_paths(stray);
  if (launch(run.session, run.inputs.installer_exe, false, working_dir) && set_directory_text(run.session, field_text)) {
    HWND box = nullptr;
    if (run.log.expect(click_install(run.session, box) == InstallOutcome::message_box,
                       L"install click answered by a message box"))
      handle_refusal_message(run.session, box, kFullPathMessage);
    check_nothing_installed(run, stray);
    close_window(run.session);
  }
  remove_paths(stray);
}

// An empty field would put the files on the root of the current drive.
void empty_directory(Run& run) {
  const std::wstring working_dir = windows_temp_dir();
  std::vector<std::wstring> stray;
  for (const auto& name : kInstallFileNames) stray.push_back(working_dir.substr(0, 2) + L"\\" + name);
  refuse_directory(run, L"", working_dir, stray);
}

// A relative path would put the files under the current directory.
void relative_directory(Run& run) {
  const std::wstring working_dir = windows_temp_dir() + L"\\kalvetra-e2e-cwd";
  remove_tree(working_dir);
  if (run.log.expect(create_directories(working_dir), L"working directory prepared: " + working_dir))
    refuse_directory(run, L"Kalvetra", working_dir, {working_dir + L"\\Kalvetra"});
  remove_tree(working_dir);
}

// A close request while the files are being extracted: the run goes on to its end, then the
// installer ends without a crash, and everything it wrote is whole.
void close_during_install(Run& run) {
  if (!launch(run.session, run.inputs.installer_exe, false)) return;
  close_while_installing(run.session);
  check_installed(run, LogOptions{});
}

// Started with "/acver", the installer names its skinning engine before its window appears.
void engine_version(Run& run) {
  if (!launch_past_start_message(run.session, run.inputs.installer_exe, L"/acver", L"Corvane v9.14")) return;
  close_window(run.session);
}

// A damaged skin file in the skin folder that would replace the installer's own skin: the
// load error is shown, then the installer works with its internal skin.
void damaged_external_skin(Run& run) {
  const std::wstring dir = L"c:\\Skins";
  const bool had_dir = file_exists(dir);
  const std::wstring file = dir + L"\\Velmora2 (internal).kvp";
  if (!run.log.expect(create_directories(dir) && write_file(file, bytes_of("Kvpx but not a packed skin")),
                      L"damaged skin file prepared: " + file))
    return;
  if (launch_past_start_message(run.session, run.inputs.installer_exe, L"", L"packed skin")) {
    if (install_to_completion(run)) check_complete_installation(run, LogOptions{});
    finish_by_second_click(run.session);
  }
  if (had_dir) DeleteFileW(file.c_str());
  else remove_tree(dir);
}

// For a person without a screen: the window as it first appears, then closed as a user would.
void show_window(Run& run) {
  if (!launch(run.session, run.inputs.installer_exe, false)) return;
  request_screenshot(L"window");
  close_window(run.session);
}

const std::map<std::wstring, std::function<void(Run&)>>& scenarios() {
  static const std::map<std::wstring, std::function<void(Run&)>> table = {
      {L"full", full_install},       {L"nochecks", install_without_options}, {L"overwrite", install_over_existing},
      {L"missing", missing_payload}, {L"locked", locked_target_file}, {L"show", show_window},
      {L"acver", engine_version},    {L"badskin", damaged_external_skin},
      {L"emptydir", empty_directory}, {L"relativedir", relative_directory},
      {L"closerun", close_during_install},
      {L"frame", [](Run& run) { skinned_frame_scenario(run.session, run.inputs.installer_exe); }},
      {L"altf4", [](Run& run) { alt_f4_scenario(run.session, run.inputs.installer_exe); }},
      {L"folderdialog", [](Run& run) { folder_dialog_scenario(run.session, run.inputs.installer_exe); }},
      {L"sysmenu", [](Run& run) { system_menu_scenario(run.session, run.inputs.installer_exe); }},
  };
  return table;
}
}  // namespace

std::vector<std::wstring> scenario_names() {
  std::vector<std::wstring> names;
  for (const auto& [name, _] : scenarios()) names.push_back(name);
  return names;
}

bool run_scenario(const std::wstring& name, const ScenarioInputs& inputs, CheckLog& log) {
  auto found = scenarios().find(name);
  if (found == scenarios().end()) return false;
  Run run(inputs, log);
  if (name != L"show") remove_installation(run.layout);
  found->second(run);
  run.session.process.close();
  return true;
}
