// Uninstall step: unregister the thumbnail handler and remove its file from the system directory.
#pragma once
#include "payload/UninstallReport.h"

namespace kv {

void RemoveThumbnailHandler(UninstallReport& report);

}  // namespace kv
