#include "payload/Uninstaller.h"

#include <windows.h>

#include "payload/DocumentTypeRemoval.h"
#include "payload/SelfDeletion.h"
#include "payload/ShortcutRemoval.h"
#include "payload/SystemPaths.h"
#include "payload/ThumbnailRemoval.h"

namespace kv {

const wchar_t* const kInstalledFiles[5] = {L"bass.dll", L"basswasapi.dll", L"Kalvetra.exe", L"launch_newinstance.bat",
                                           kUninstallerFileName};

namespace {
// Deletes the installed files except a running uninstaller among them, whose path it returns.
std::wstring RemoveInstalledFiles(const std::wstring& dir, const std::wstring& own_file, UninstallReport& report) {
  std::wstring deferred;
  for (const wchar_t* name : kInstalledFiles) {
    const std::wstring path = dir + L"\\" + name;
    if (!FileExists(path))
      report.Missing(path);
    else if (SamePath(path, own_file))
      deferred = path;
    else if (!DeleteFileW(path.c_str()))
      report.Failed(path, ErrorText(GetLastError()));
  }
  return deferred;
}

// True when the directory holds nothing but `except` (a file name).
bool HoldsOnly(const std::wstring& dir, const std::wstring& except) {
  WIN32_FIND_DATAW entry{};
  HANDLE find = FindFirstFileW((dir + L"\\*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return true;
  bool only = true;
  do {
    std::wstring name = entry.cFileName;
    if (name != L"." && name != L".." && !SamePath(name, except)) only = false;
  } while (only && FindNextFileW(find, &entry));
  FindClose(find);
  return only;
}

const wchar_t kForeignFilesReason[] = L"в папке есть файлы, которые установщик не записывал";

void RemoveDirectoryWhenEmpty(const std::wstring& dir, UninstallReport& report) {
  if (!DirectoryExists(dir) || RemoveDirectoryW(dir.c_str())) return;
  DWORD error = GetLastError();
  if (error == ERROR_DIR_NOT_EMPTY)
    report.Kept(dir, kForeignFilesReason);
  else
    report.Failed(dir, ErrorText(error));
}
}  // namespace

UninstallReport Uninstall(const UninstallEntry& entry, const std::wstring& own_file) {
  UninstallReport report;
  RemoveDocumentTypes(entry.dir, report);
  RemoveThumbnailHandler(report);
  RemoveShortcuts(entry.dir, report);
  const std::wstring deferred = RemoveInstalledFiles(entry.dir, own_file, report);
  // After a failure the entry and this program stay, so that the user can try again.
  if (!report.failed.empty()) return report;
  if (!DeleteUninstallEntry()) {
    report.Failed(L"HKLM\\" + std::wstring(kUninstallKeyPath), L"ключ реестра не удалось удалить");
    return report;
  }
  if (deferred.empty()) {
    RemoveDirectoryWhenEmpty(entry.dir, report);
    return report;
  }
  if (!HoldsOnly(entry.dir, kUninstallerFileName)) report.Kept(entry.dir, kForeignFilesReason);
  if (!ScheduleSelfDeletion(deferred)) report.Failed(deferred, L"не удалось запустить его отложенное удаление");
  return report;
}

}  // namespace kv
