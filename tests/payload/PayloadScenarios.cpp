#include "PayloadScenarios.h"

#include <functional>
#include <map>

#include "../e2e/FileAccess.h"
#include "../e2e/InstallerProcess.h"
#include "../e2e/RegistryAccess.h"
#include "../e2e/WindowInspect.h"
#include "PrefixSnapshot.h"

namespace {
const std::wstring kNotInstalledText = L"не установлена";
const std::wstring kMissingText = L"Уже отсутствовали";
const std::wstring kKeptText = L"Оставлены";

struct Run {
  const PayloadInputs& inputs;
  CheckLog& log;
  InstallLayout layout = InstallLayout::detect();
  PrefixSnapshot before;
};

std::wstring installed_uninstaller(const Run& run) { return run.layout.installed_path(L"Kalvetra_uninstall.exe"); }
std::wstring built_uninstaller(const Run& run) { return run.inputs.payload_dir + L"\\Kalvetra_uninstall.exe"; }

void expect_prefix_as_before(Run& run) {
  auto differences = snapshot_differences(run.before, capture_prefix());
  for (const auto& d : differences) run.log.fail(L"prefix after the uninstall differs: " + d);
  run.log.expect(differences.empty(), L"files and registry are as before the install (" +
                                          std::to_wstring(run.before.size()) + L" items)");
}

// The whole life of an installation made by the real installer.
void setup_roundtrip(Run& run) {
  if (!install_with_setup(run.log, run.layout, run.inputs)) return;
  check_thumbnail_registration(run.log, run.layout);
  check_thumbnail_object(run.log, run.layout, run.inputs);
  check_open_through_association(run.log, run.inputs);
  uninstall_silently(run.log, installed_uninstaller(run), 0);
  check_self_deleted(run.log, run.layout);
  expect_prefix_as_before(run);
}

// A message box of the process that stays the only one until its button closes it.
void answer_single_message_box(Run& run, InstallerProcess& process) {
  HWND box = process.wait_message_box(30000);
  if (!run.log.expect(box != nullptr, L"second uninstall shows its report")) return;
  run.log.expect_equal(L"message boxes shown at once", 1, (long long)process_top_level_windows(process.id(), L"#32770").size());
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  auto code = process.wait_exit(20000);
  run.log.expect(code.has_value(), L"uninstaller ends after its one message box is answered");
  if (code) run.log.expect_equal(L"exit code of an uninstall with nothing installed", 2, *code);
}

// Uninstalling again finds nothing to do: one clear report, silent or with one message box.
void uninstall_twice(Run& run) {
  if (!install_by_extraction(run.log, run.layout, run.inputs)) return;
  uninstall_silently(run.log, installed_uninstaller(run), 0);
  check_self_deleted(run.log, run.layout);
  uninstall_silently(run.log, built_uninstaller(run), 2, kNotInstalledText);
  InstallerProcess interactive;
  if (run.log.expect(interactive.start(built_uninstaller(run)), L"interactive uninstaller starts"))
    answer_single_message_box(run, interactive);
  run.log.expect(file_exists(built_uninstaller(run)), L"an uninstaller outside the installation never deletes itself");
  expect_prefix_as_before(run);
}

// The user deleted the application, an audio library and the thumbnail library by hand.
void uninstall_after_manual_delete(Run& run) {
  if (!install_by_extraction(run.log, run.layout, run.inputs)) return;
  for (const auto& path : {run.layout.program_path(), run.layout.installed_path(L"bass.dll"), run.layout.system_file_path()})
    run.log.expect(DeleteFileW(path.c_str()) != FALSE, L"deleted by hand: " + path);
  uninstall_silently(run.log, installed_uninstaller(run), 0, kMissingText);
  check_self_deleted(run.log, run.layout);
  expect_prefix_as_before(run);
}

// Things that no longer belong to this installation stay; each case sets one up before the
// uninstall, checks it after, then removes it itself.
struct ForeignCase {
  const wchar_t* name;
  std::function<bool(const InstallLayout&)> arrange;
  std::function<bool(const InstallLayout&)> still_there;
  std::function<void(const InstallLayout&)> remove;
};

std::vector<ForeignCase> foreign_cases() {
  const std::wstring user_file = L"\\my notes.txt";
  return {
      {L".qzt now opens another program",
       [](const InstallLayout&) { return write_registry_string(HKEY_CLASSES_ROOT, L".qzt", L"", L"Other.Program"); },
       [](const InstallLayout&) {
         auto v = read_registry_value(HKEY_CLASSES_ROOT, L".qzt", L"");
         return v && v->as_string() == L"Other.Program";
       },
       [](const InstallLayout&) { delete_registry_tree(HKEY_CLASSES_ROOT, L".qzt"); }},
      {L"Kalvetra.Preset opens another installation",
       [](const InstallLayout&) {
         return write_registry_string(HKEY_CLASSES_ROOT, L"Kalvetra.Preset\\shell\\Open\\Command", L"",
                                      L"D:\\Other\\Kalvetra.exe \"%1\"");
       },
       [](const InstallLayout&) {
         return read_registry_value(HKEY_CLASSES_ROOT, L".qzs", L"").has_value() &&
                read_registry_value(HKEY_CLASSES_ROOT, L"Kalvetra.Preset\\shell\\Open\\Command", L"").has_value();
       },
       [](const InstallLayout&) {
         delete_registry_tree(HKEY_CLASSES_ROOT, L".qzs");
         delete_registry_tree(HKEY_CLASSES_ROOT, L"Kalvetra.Preset");
       }},
      {L"the user's own file in the installation directory",
       [user_file](const InstallLayout& l) { return write_file(l.dir + user_file, bytes_of("mine")); },
       [user_file](const InstallLayout& l) { return file_exists(l.dir + user_file); },
       [](const InstallLayout& l) { remove_tree(l.dir); }},
  };
}

void uninstall_keeps_foreign(Run& run) {
  if (!install_by_extraction(run.log, run.layout, run.inputs)) return;
  const auto cases = foreign_cases();
  for (const auto& c : cases) run.log.expect(c.arrange(run.layout), L"arranged: " + std::wstring(c.name));
  uninstall_silently(run.log, installed_uninstaller(run), 0, kKeptText);
  for (const auto& c : cases) {
    run.log.expect(c.still_there(run.layout), L"kept: " + std::wstring(c.name));
    c.remove(run.layout);
  }
  expect_prefix_as_before(run);
}

// A file in use cannot be removed: the run says so, keeps the entry and itself for a retry,
// and the retry completes.
void uninstall_locked_then_retry(Run& run) {
  if (!install_by_extraction(run.log, run.layout, run.inputs)) return;
  {
    ExclusiveFile held(run.layout.installed_path(L"basswasapi.dll"));
    run.log.expect(held.is_open(), L"basswasapi.dll held open");
    uninstall_silently(run.log, installed_uninstaller(run), 1, L"basswasapi.dll");
    run.log.expect(registry_key_exists(HKEY_LOCAL_MACHINE, kUninstallKey, KEY_WOW64_32KEY),
                   L"uninstall entry kept after the failure");
    run.log.expect(file_exists(installed_uninstaller(run)), L"uninstaller kept after the failure");
  }
  uninstall_silently(run.log, installed_uninstaller(run), 0);
  check_self_deleted(run.log, run.layout);
  expect_prefix_as_before(run);
}

const std::map<std::wstring, std::function<void(Run&)>>& scenarios() {
  static const std::map<std::wstring, std::function<void(Run&)>> table = {
      {L"setup_roundtrip", setup_roundtrip},
      {L"uninstall_twice", uninstall_twice},
      {L"uninstall_after_manual_delete", uninstall_after_manual_delete},
      {L"uninstall_keeps_foreign", uninstall_keeps_foreign},
      {L"uninstall_locked_then_retry", uninstall_locked_then_retry},
  };
  return table;
}
}  // namespace

std::wstring payload_scenario_names() {
  std::wstring names;
  for (const auto& [name, _] : scenarios()) names += L" " + name;
  return names;
}

bool run_payload_scenario(const std::wstring& name, const PayloadInputs& inputs, CheckLog& log) {
  auto found = scenarios().find(name);
  if (found == scenarios().end()) return false;
  Run run{inputs, log, InstallLayout::detect(), {}};
  clean_prefix(run.layout);
  run.before = capture_prefix();
  found->second(run);
  clean_prefix(run.layout);  // whatever a failed scenario left
  return true;
}
