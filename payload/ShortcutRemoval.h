// Uninstall step: the shortcuts "Kalvetra.lnk" on the desktop and in the Start menu's
// programs folder, removed only when they start this installation's program.
#pragma once
#include <string>

#include "payload/UninstallReport.h"

namespace kv {

// COM must be initialised on the calling thread.
void RemoveShortcuts(const std::wstring& dir, UninstallReport& report);

}  // namespace kv
