// Steps of the payload scenarios: putting an installation in place (through the real
// installer or by the installer's own steps done directly), checking what the payload
// programs do with it, and running the uninstaller.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "../e2e/CheckLog.h"
#include "../e2e/InstallLayout.h"

struct PayloadInputs {
  std::wstring installer_exe;
  std::wstring payload_dir;        // the built payload files
  std::wstring thumbnail_client32;  // the thumbnail check as a 32-bit shell would do it
  std::wstring thumbnail_client64;  // the same for a 64-bit shell
  std::wstring work_dir;           // outside drive C:, for sample documents
};

// Removes every trace of an installation, including a thumbnail registration that an
// earlier test left, so that a scenario starts from a clean prefix.
void clean_prefix(const InstallLayout& layout);

// Clicks through Kalvetra_setup.exe and closes it when done. False when it did not complete.
bool install_with_setup(CheckLog& log, const InstallLayout& layout, const PayloadInputs& inputs);

// What the installer does, done directly: files, system file, shortcuts, uninstall entry,
// "cmd.exe /c regsvr32 /s <file>" in the system directory (waited for), document types.
bool install_by_extraction(CheckLog& log, const InstallLayout& layout, const PayloadInputs& inputs);

void check_thumbnail_registration(CheckLog& log, const InstallLayout& layout);
// Creates the handler through COM in a client of the handler's bitness: 32-bit in the 32-bit
// prefix, 64-bit under WOW64. A separate process, so that no test process keeps the library
// loaded (a loaded library cannot be deleted by the uninstaller).
void check_thumbnail_object(CheckLog& log, const InstallLayout& layout, const PayloadInputs& inputs);
// Opens a sample ".qzs" through the shell and checks the application window shows its path.
void check_open_through_association(CheckLog& log, const PayloadInputs& inputs);

struct ProcessResult {
  DWORD exit_code = 0;
  std::wstring output;
};
// Runs a program with its standard output captured; null when it did not end in time.
std::optional<ProcessResult> run_captured(const std::wstring& exe, const std::wstring& arguments, DWORD timeout_ms);

// Runs the uninstaller silently and checks its exit code.
void uninstall_silently(CheckLog& log, const std::wstring& uninstaller, DWORD expected_code,
                        const std::wstring& report_must_contain = {});
// Waits until the deferred deletion has removed the installed uninstaller and the directory.
void check_self_deleted(CheckLog& log, const InstallLayout& layout);
