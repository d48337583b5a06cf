// Kalvetra_uninstall.exe: asks for confirmation, removes the installation named by the
// uninstall entry and reports what it could not remove.
//   Kalvetra_uninstall.exe        interactive: question, then the report in a message box
//   Kalvetra_uninstall.exe /S     silent: no question, no message box; the report goes to
//                                 standard output and the exit code tells the outcome
//                                 (UninstallReport.h)
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "payload/AppCommandLine.h"
#include "payload/SelfDeletion.h"
#include "payload/SystemPaths.h"
#include "payload/UninstallEntry.h"
#include "payload/Uninstaller.h"

namespace {
const wchar_t kTitle[] = L"Удаление Kalvetra";

bool IsSwitch(const std::wstring& arg, const wchar_t* name) {
  return CompareStringOrdinal(arg.c_str(), -1, name, -1, TRUE) == CSTR_EQUAL;
}

void WriteToStandardOutput(const std::wstring& text) {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (!out || out == INVALID_HANDLE_VALUE) return;
  std::wstring lines = text + L"\n";
  int size = WideCharToMultiByte(CP_UTF8, 0, lines.c_str(), int(lines.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(size_t(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, lines.c_str(), int(lines.size()), utf8.data(), size, nullptr, nullptr);
  DWORD written = 0;
  WriteFile(out, utf8.data(), DWORD(utf8.size()), &written, nullptr);
}

void Tell(bool silent, const kv::UninstallReport& report) {
  WriteToStandardOutput(report.Text());
  if (!silent)
    MessageBoxW(nullptr, report.Text().c_str(), kTitle, MB_OK | (report.Complete() ? MB_ICONINFORMATION : MB_ICONWARNING));
}

bool Confirmed(const kv::UninstallEntry& entry) {
  std::wstring question = L"Удалить Kalvetra из папки\n" + entry.dir + L"\nвместе со всеми её компонентами?";
  return MessageBoxW(nullptr, question.c_str(), kTitle, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

int RunUninstall(bool silent) {
  auto entry = kv::ReadUninstallEntry();
  if (!entry) {
    kv::UninstallReport report;
    report.not_installed = true;
    Tell(silent, report);
    return report.ExitCode();
  }
  if (!silent && !Confirmed(*entry)) return kv::kUninstallCancelled;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  kv::UninstallReport report = kv::Uninstall(*entry, kv::ModuleFilePath(nullptr));
  Tell(silent, report);
  CoUninitialize();
  return report.ExitCode();
}
}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const std::vector<std::wstring> args = kv::ProcessArguments();
  if (args.size() == 3 && IsSwitch(args[0], kv::kFinishSwitch)) {
    auto handle = reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(wcstoull(args[1].c_str(), nullptr, 10)));
    return kv::FinishSelfDeletion(handle, args[2]);
  }
  bool silent = false;
  for (const auto& arg : args) silent = silent || IsSwitch(arg, L"/S");
  return RunUninstall(silent);
}
