#include "InstallLayout.h"

#include <windows.h>
#include <shlobj.h>

const std::vector<std::wstring> kInstallFileNames = {
    L"bass.dll", L"basswasapi.dll", L"Kalvetra.exe", L"launch_newinstance.bat", L"Kalvetra_uninstall.exe",
};

const std::wstring kUninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kalvetra";
const std::vector<std::wstring> kAssociationKeys = {L".qzs", L"Kalvetra.Preset", L".qzt", L"Kalvetra.Theme"};

namespace {
std::wstring special_folder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathW(nullptr, path, csidl, TRUE)) return {};
  return path;
}

bool is_wow64() {
  using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
  auto probe = reinterpret_cast<IsWow64ProcessFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "IsWow64Process")));
  BOOL result = FALSE;
  return probe && probe(GetCurrentProcess(), &result) && result;
}

std::wstring extraction_line(const std::wstring& path) { return L"Извлечение в " + path; }
}  // namespace

InstallLayout InstallLayout::detect() {
  InstallLayout layout;
  // The driver is built for the installer's architecture, so its own view of the machine is
  // the installer's: the program-files and system folders it sees, the handler for its Windows.
  layout.wow64 = is_wow64();
  layout.windows64 = sizeof(void*) == 8 || layout.wow64;
  layout.dir = special_folder(CSIDL_PROGRAM_FILES) + L"\\Kalvetra";
  layout.system_dir = special_folder(CSIDL_WINDOWS) + (layout.wow64 ? L"\\SysWOW64" : L"\\System32");
  layout.thumbnail_file = layout.windows64 ? L"QZThumbnail64.dll" : L"QZThumbnail32.dll";
  layout.desktop_link = special_folder(CSIDL_DESKTOP) + L"\\Kalvetra.lnk";
  layout.programs_link = special_folder(CSIDL_PROGRAMS) + L"\\Kalvetra.lnk";
  return layout;
}

std::vector<std::wstring> expected_log_failing_at(const InstallLayout& layout, size_t failing_file) {
  std::vector<std::wstring> lines;
  for (size_t i = 0; i <= failing_file && i < kInstallFileNames.size(); ++i)
    lines.push_back(extraction_line(layout.installed_path(kInstallFileNames[i])));
  return lines;
}

std::vector<std::wstring> expected_complete_log(const InstallLayout& layout, const LogOptions& options) {
  std::vector<std::wstring> lines = expected_log_failing_at(layout, kInstallFileNames.size() - 1);
  lines.push_back(L"Извлечение системных файлов");
  lines.push_back(extraction_line(layout.system_file_path()));
  if (options.desktop_link) lines.push_back(L"Создания ярлыка");
  if (options.programs_link) lines.push_back(L"Помещение в меню Пуск");
  lines.push_back(L"Занесение данных в реестр");
  lines.push_back(L"Занесение информация о программе");
  lines.push_back(L"Установка расширения проводника");
  if (options.associations) lines.push_back(L"Применение ассоциации файлов");
  lines.push_back(L"Установка успешно завершена:)");
  return lines;
}
