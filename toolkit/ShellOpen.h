// Opening a document or web address for the person at the desktop. The installer runs
// elevated; a browser it started itself would run as administrator too. The shell's desktop
// (Explorer, running as the signed-in user) is asked to open it instead; where there is no
// such desktop automation, the program opens it itself.
#pragma once
#include <functional>
#include <string>

namespace tk {

enum class TShellOpenRoute { DesktopShell, Direct, Failed };

// Opens target (a URL or a path) with the verb "open". `direct` is the fallback that opens it
// from this process; by default ShellExecuteW.
TShellOpenRoute OpenAsDesktopUser(const std::wstring& target,
                                  const std::function<bool(const std::wstring&)>& direct = nullptr);

// The desktop shell's ShellExecute, run by Explorer: false when the shell offers no desktop
// automation (no Explorer, or a shell that does not implement it).
bool OpenThroughDesktopShell(const std::wstring& target);

}  // namespace tk
