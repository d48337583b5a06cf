// payload_driver: installs the payload, checks what its programs do and uninstalls it again.
// Usage: payload_driver <scenario> <installer.exe> <payload folder> <thumbnail_client32.exe> <thumbnail_client64.exe> <work folder>
// Paths may be Unix paths; they are mapped to Wine's drive Z:.
#include <windows.h>
#include <objbase.h>

#include "../e2e/CheckLog.h"
#include "../e2e/Console.h"
#include "../e2e/TextUtil.h"
#include "PayloadScenarios.h"

int wmain(int argc, wchar_t** argv) {
  console_init();
  if (argc != 7) {
    print_line(L"usage: payload_driver <scenario> <installer.exe> <payload folder> <thumbnail_client32.exe> <thumbnail_client64.exe> <work folder>");
    print_line(L"scenarios:" + payload_scenario_names());
    return 2;
  }
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  PayloadInputs inputs{to_windows_path(argv[2]), to_windows_path(argv[3]), to_windows_path(argv[4]),
                       to_windows_path(argv[5]), to_windows_path(argv[6])};
  CreateDirectoryW(inputs.work_dir.c_str(), nullptr);
  CheckLog log;
  if (!run_payload_scenario(argv[1], inputs, log)) {
    print_line(L"unknown scenario; scenarios:" + payload_scenario_names());
    return 2;
  }
  CoUninitialize();
  print_line(log.failures() ? L"RESULT " + std::to_wstring(log.failures()) + L" failed check(s)" : L"RESULT all checks passed");
  return log.failures() ? 1 : 0;
}
