// The uninstaller cannot delete its own file while it runs. It starts a copy of itself from
// the temporary folder; the copy waits until this process has ended, deletes the file, then
// the installation directory when that is empty. The copy's own file is opened for deletion
// on close before it starts, so nothing stays behind in the temporary folder.
#pragma once
#include <windows.h>

#include <string>

namespace kv {

// The command-line switch of the copy: "/finish <inherited process handle> <file>".
extern const wchar_t kFinishSwitch[];
// The only file name the copy ever deletes.
extern const wchar_t kUninstallerFileName[];

// True when the copy was started.
bool ScheduleSelfDeletion(const std::wstring& own_file);

// The copy's work; returns its exit code (0 when the file is gone).
int FinishSelfDeletion(HANDLE waited_process, const std::wstring& file);

}  // namespace kv
