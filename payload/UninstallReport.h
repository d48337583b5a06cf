// What an uninstall run did not remove, and why: the text of its closing message and its
// exit code.
#pragma once
#include <string>
#include <vector>

namespace kv {

enum UninstallExitCode {
  kUninstallComplete = 0,      // everything the installation left is gone
  kUninstallIncomplete = 1,    // something could not be removed (listed in the report)
  kUninstallNotInstalled = 2,  // no uninstall entry: nothing to do
  kUninstallCancelled = 3,     // the user answered no
};

struct UninstallReport {
  bool not_installed = false;
  std::vector<std::wstring> failed;   // could not be removed: "item: reason"
  std::vector<std::wstring> missing;  // installed files that were already gone
  std::vector<std::wstring> kept;     // left on purpose: no longer this installation's

  void Failed(const std::wstring& item, const std::wstring& reason) { failed.push_back(item + L": " + reason); }
  void Missing(const std::wstring& item) { missing.push_back(item); }
  void Kept(const std::wstring& item, const std::wstring& reason) { kept.push_back(item + L": " + reason); }

  bool Complete() const { return !not_installed && failed.empty(); }
  UninstallExitCode ExitCode() const;
  std::wstring Text() const;
};

}  // namespace kv
