#include "payload/DocumentTypeRemoval.h"

#include <windows.h>
#include <shlobj.h>

#include "payload/RegistryKeys.h"
#include "payload/SystemPaths.h"

namespace kv {

namespace {
struct DocumentType {
  const wchar_t* extension;
  const wchar_t* file_type;
};
constexpr DocumentType kDocumentTypes[] = {{L".qzs", L"Kalvetra.Preset"}, {L".qzt", L"Kalvetra.Theme"}};

bool SameText(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), int(a.size()), b.c_str(), int(b.size()), TRUE) == CSTR_EQUAL;
}

// The values the installer writes below the file type, deepest key first.
void DeleteFileTypeValues(const std::wstring& file_type) {
  for (const wchar_t* key : {L"\\shell\\Open\\Command", L"\\shell\\Open", L"\\DefaultIcon"})
    kvreg::DeleteValue(HKEY_CLASSES_ROOT, file_type + key, L"", 0);
  kvreg::PruneEmptyKeys(HKEY_CLASSES_ROOT, file_type + L"\\DefaultIcon", 1, 0);
  kvreg::PruneEmptyKeys(HKEY_CLASSES_ROOT, file_type + L"\\shell\\Open\\Command", 4, 0);
}

// True when anything was changed.
bool RemoveDocumentType(const DocumentType& type, const std::wstring& program, UninstallReport& report) {
  const std::wstring file_type = type.file_type, extension = type.extension;
  auto command = kvreg::ReadString(HKEY_CLASSES_ROOT, file_type + L"\\shell\\Open\\Command", L"", 0);
  const bool type_exists = kvreg::KeyExists(HKEY_CLASSES_ROOT, file_type, 0);
  if (type_exists && !(command && SameText(*command, program + L" \"%1\""))) {
    report.Kept(L"HKCR\\" + file_type, command ? L"открывает " + *command : L"изменён другой программой");
    return false;
  }
  bool changed = false;
  if (type_exists) {
    DeleteFileTypeValues(file_type);
    changed = true;
    if (kvreg::KeyExists(HKEY_CLASSES_ROOT, file_type, 0))
      report.Kept(L"HKCR\\" + file_type, L"содержит записи другой программы");
  }
  auto assigned = kvreg::ReadString(HKEY_CLASSES_ROOT, extension, L"", 0);
  if (assigned && SameText(*assigned, file_type)) {
    if (!kvreg::DeleteValue(HKEY_CLASSES_ROOT, extension, L"", 0))
      report.Failed(L"HKCR\\" + extension, L"значение не удалось удалить");
    kvreg::PruneEmptyKeys(HKEY_CLASSES_ROOT, extension, 1, 0);
    changed = true;
  }
  return changed;
}
}  // namespace

void RemoveDocumentTypes(const std::wstring& dir, UninstallReport& report) {
  const std::wstring program = dir + L"\\Kalvetra.exe";
  bool changed = false;
  for (const auto& type : kDocumentTypes) changed = RemoveDocumentType(type, program, report) || changed;
  if (changed) SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

}  // namespace kv
