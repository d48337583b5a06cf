#include "payload/SelfDeletion.h"

#include "payload/SystemPaths.h"

namespace kv {

const wchar_t kFinishSwitch[] = L"/finish";
const wchar_t kUninstallerFileName[] = L"Kalvetra_uninstall.exe";

namespace {
constexpr DWORD kWaitForUninstallerMs = 10 * 60 * 1000;  // the user may leave its message box open
constexpr int kDeleteAttempts = 50;
constexpr DWORD kDeleteRetryMs = 200;

std::wstring TemporaryCopyPath() {
  wchar_t dir[MAX_PATH] = {}, file[MAX_PATH] = {};
  if (!GetTempPathW(MAX_PATH, dir) || !GetTempFileNameW(dir, L"kvu", 0, file)) return {};
  return file;
}

// A handle to this process that the copy inherits: it names exactly this process, whatever
// process identifiers are reused later.
HANDLE InheritableSelfHandle() {
  HANDLE handle = nullptr;
  DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &handle, SYNCHRONIZE, TRUE, 0);
  return handle;
}

bool StartCopy(const std::wstring& copy, HANDLE self, const std::wstring& own_file) {
  std::wstring command = L"\"" + copy + L"\" " + kFinishSwitch + L" " +
                         std::to_wstring(reinterpret_cast<UINT_PTR>(self)) + L" \"" + own_file + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(copy.c_str(), command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                      &startup, &process))
    return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}
}  // namespace

bool ScheduleSelfDeletion(const std::wstring& own_file) {
  const std::wstring copy = TemporaryCopyPath();
  if (copy.empty() || !CopyFileW(own_file.c_str(), copy.c_str(), FALSE)) {
    if (!copy.empty()) DeleteFileW(copy.c_str());
    return false;
  }
  // Deleted when the last handle closes: ours below, or the running copy's image.
  HANDLE delete_on_close = CreateFileW(copy.c_str(), GENERIC_READ | DELETE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  HANDLE self = InheritableSelfHandle();
  bool started = self && StartCopy(copy, self, own_file);
  if (self) CloseHandle(self);
  if (delete_on_close != INVALID_HANDLE_VALUE) CloseHandle(delete_on_close);
  if (!started) DeleteFileW(copy.c_str());
  return started;
}

int FinishSelfDeletion(HANDLE waited_process, const std::wstring& file) {
  if (CompareStringOrdinal(FileNameOf(file).c_str(), -1, kUninstallerFileName, -1, TRUE) != CSTR_EQUAL ||
      !IsAbsolutePath(file))
    return 2;
  WaitForSingleObject(waited_process, kWaitForUninstallerMs);
  CloseHandle(waited_process);
  for (int i = 0; i < kDeleteAttempts && FileExists(file); ++i) {
    if (DeleteFileW(file.c_str())) break;
    Sleep(kDeleteRetryMs);
  }
  // Fails, harmlessly, when the directory still holds something.
  RemoveDirectoryW(ParentDirectory(file).c_str());
  return FileExists(file) ? 1 : 0;
}

}  // namespace kv
