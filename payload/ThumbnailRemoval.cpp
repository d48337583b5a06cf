#include "payload/ThumbnailRemoval.h"

#include <windows.h>
#include <shlobj.h>

#include "payload/SystemPaths.h"
#include "payload/ThumbnailRegistration.h"

namespace kv {

namespace {
constexpr DWORD kRegsvrTimeoutMs = 60000;

// The regsvr32 of the handler's bitness: a 32-bit process reaches the 64-bit one through
// "Sysnative" (without it, the system directory is redirected to SysWOW64).
std::wstring RegsvrPath(const ThumbnailFile& file) {
  if (file.is_64bit) {
    std::wstring native = SpecialFolderPath(CSIDL_WINDOWS) + L"\\Sysnative\\regsvr32.exe";
    if (FileExists(native)) return native;
  }
  wchar_t dir[MAX_PATH] = {};
  UINT n = GetSystemDirectoryW(dir, MAX_PATH);
  return std::wstring(dir, n < MAX_PATH ? n : 0) + L"\\regsvr32.exe";
}

// Runs "regsvr32 /u /s <file>" and waits for it; true when it reports success.
bool RunServerUnregistration(const ThumbnailFile& file) {
  std::wstring program = RegsvrPath(file);
  std::wstring command = L"\"" + program + L"\" /u /s \"" + file.path + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      file.system_dir.c_str(), &startup, &process))
    return false;
  DWORD code = 1;
  if (WaitForSingleObject(process.hProcess, kRegsvrTimeoutMs) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code == 0;
}

void DeleteHandlerFile(const ThumbnailFile& file, UninstallReport& report) {
  if (DeleteFileW(file.path.c_str()) || !FileExists(file.path)) return;
  DWORD error = GetLastError();
  // A handler loaded by the shell cannot be deleted now: it goes at the next restart.
  if (MoveFileExW(file.path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT))
    report.Failed(file.path, ErrorText(error) + L" (файл будет удалён при перезагрузке)");
  else
    report.Failed(file.path, ErrorText(error));
}
}  // namespace

void RemoveThumbnailHandler(UninstallReport& report) {
  const ThumbnailFile file = InstalledThumbnailFile();
  const bool present = FileExists(file.path);
  if (present)
    RunServerUnregistration(file);
  else
    report.Missing(file.path);
  // Entries the server could not remove itself (its file gone, or it failed) are removed here.
  if (qz::IsThumbnailHandlerRegistered(file.view) && !qz::UnregisterThumbnailHandler(file.view))
    report.Failed(L"регистрация обработчика эскизов", L"ключи реестра не удалось удалить");
  if (present) DeleteHandlerFile(file, report);
}

}  // namespace kv
