// The registry entries that make the shell use the thumbnail handler for ".qzs" and ".qzt":
// the class with its in-process server, and the thumbnail key under both extensions.
#pragma once
#include <windows.h>

#include <string>

namespace qz {

// Writes the entries for the server `dll_path` into the registry view `view` (the class key
// lives in the view of the server's bitness; the extension keys are shared by both views).
bool RegisterThumbnailHandler(const std::wstring& dll_path, REGSAM view);

// Removes the class key and every extension's thumbnail key that names this class; keys of
// other handlers stay. Keys left empty are removed. True when nothing of it remains.
bool UnregisterThumbnailHandler(REGSAM view);

// The in-process server path registered for the class, empty when the class is not registered.
std::wstring RegisteredServerPath(REGSAM view);
bool IsThumbnailHandlerRegistered(REGSAM view);

}  // namespace qz
