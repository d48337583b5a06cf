// e2e_driver: operates the installer from outside like a user and checks what it leaves.
// Usage: e2e_driver <scenario> <installer.exe> <payload folder> [--screenshots]
// Paths may be Unix paths; they are mapped to Wine's drive Z:.
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "CheckLog.h"
#include "Console.h"
#include "InstallLayout.h"
#include "Scenarios.h"
#include "TextUtil.h"

namespace {
void print_usage() {
  std::wstring names;
  for (const auto& name : scenario_names()) names += L" " + name;
  print_line(L"usage: e2e_driver <scenario> <installer.exe> <payload folder> [--screenshots]");
  print_line(L"scenarios:" + names);
}

// The test run names the prefix it meant; a mismatch would make the prefix-specific
// expectations meaningless.
void check_prefix(CheckLog& log, const InstallLayout& layout) {
  const wchar_t* bits = _wgetenv(L"KALVETRA_PREFIX_BITS");
  if (!bits) return;
  std::wstring want = bits;
  log.expect_equal(L"Wine prefix bitness as the test asked", want, layout.windows64 ? L"64" : L"32");
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
  console_init();
  const auto names = scenario_names();
  if (argc < 4 || std::find(names.begin(), names.end(), argv[1]) == names.end()) {
    print_usage();
    return 2;
  }
  enable_screenshots(argc > 4 && std::wstring(argv[4]) == L"--screenshots");
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

  ScenarioInputs inputs{to_windows_path(argv[2]), to_windows_path(argv[3])};
  CheckLog log;
  check_prefix(log, InstallLayout::detect());
  run_scenario(argv[1], inputs, log);
  CoUninitialize();
  print_line(log.failures() ? L"RESULT " + std::to_wstring(log.failures()) + L" failed check(s)" : L"RESULT all checks passed");
  return log.failures() ? 1 : 0;
}
