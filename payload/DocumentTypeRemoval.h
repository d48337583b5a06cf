// Uninstall step: the document types ".qzs" / "Kalvetra.Preset" and ".qzt" / "Kalvetra.Theme",
// removed only while they still open this installation's program.
#pragma once
#include <string>

#include "payload/UninstallReport.h"

namespace kv {

void RemoveDocumentTypes(const std::wstring& dir, UninstallReport& report);

}  // namespace kv
