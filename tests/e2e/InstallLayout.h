// Where the installer is expected to put things on this machine, from the shell's own
// answers, and the log it is expected to write.
#pragma once
#include <string>
#include <vector>

// The files written into the installation directory, in the installer's order.
extern const std::vector<std::wstring> kInstallFileNames;

// The uninstall entry, under HKEY_LOCAL_MACHINE in the 32-bit registry view.
extern const std::wstring kUninstallKey;
// The keys of the two document types under HKEY_CLASSES_ROOT.
extern const std::vector<std::wstring> kAssociationKeys;

struct InstallLayout {
  bool wow64 = false;              // this (32-bit) process runs on 64-bit Windows
  bool windows64 = false;          // 64-bit Windows: natively or under WOW64
  std::wstring dir;               // program-files folder + "\Kalvetra"
  std::wstring system_dir;        // Windows folder + "\System32" or "\SysWOW64"
  std::wstring thumbnail_file;    // "QZThumbnail32.dll" or "QZThumbnail64.dll"
  std::wstring desktop_link;      // desktop folder + "\Kalvetra.lnk"
  std::wstring programs_link;     // Start menu programs folder + "\Kalvetra.lnk"

  static InstallLayout detect();
  std::wstring installed_path(const std::wstring& file_name) const { return dir + L"\\" + file_name; }
  std::wstring system_file_path() const { return system_dir + L"\\" + thumbnail_file; }
  std::wstring program_path() const { return installed_path(L"Kalvetra.exe"); }
};

struct LogOptions {
  bool desktop_link = true;
  bool programs_link = true;
  bool associations = true;
};

// The whole log of a run that completes.
std::vector<std::wstring> expected_complete_log(const InstallLayout& layout, const LogOptions& options);
// The log of a run that stops while writing install file number `failing_file` (0-based).
std::vector<std::wstring> expected_log_failing_at(const InstallLayout& layout, size_t failing_file);
