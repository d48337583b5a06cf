// Document types in HKEY_CLASSES_ROOT.
#pragma once
#include <string>

namespace kv {

// Registers extension -> fileType with its icon, open verb text and open command. Writes
// nothing when the extension or the file type is blank.
void AssociateFileType(const std::wstring& extension, const std::wstring& fileType, const std::wstring& description,
                       const std::wstring& programPath, int iconIndex);

}  // namespace kv
