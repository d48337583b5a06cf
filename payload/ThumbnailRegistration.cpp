#include "payload/ThumbnailRegistration.h"

#include "payload/RegistryKeys.h"
#include "payload/ThumbnailIds.h"

namespace qz {

namespace {
const std::wstring kClassKey = std::wstring(L"CLSID\\") + kThumbnailHandlerClsidText;
const std::wstring kServerKey = kClassKey + L"\\InprocServer32";

std::wstring ShellExKey(const wchar_t* extension) {
  return std::wstring(extension) + L"\\ShellEx\\" + kThumbnailShellExKey;
}

bool NamesThisClass(const std::wstring& extension_key, REGSAM view) {
  auto value = kvreg::ReadString(HKEY_CLASSES_ROOT, extension_key, L"", view);
  return value && CompareStringOrdinal(value->c_str(), -1, kThumbnailHandlerClsidText, -1, TRUE) == CSTR_EQUAL;
}
}  // namespace

bool RegisterThumbnailHandler(const std::wstring& dll_path, REGSAM view) {
  bool ok = kvreg::WriteString(HKEY_CLASSES_ROOT, kClassKey, L"", L"Kalvetra document thumbnail handler", view) &&
            kvreg::WriteString(HKEY_CLASSES_ROOT, kServerKey, L"", dll_path, view) &&
            kvreg::WriteString(HKEY_CLASSES_ROOT, kServerKey, L"ThreadingModel", L"Apartment", view);
  for (const wchar_t* extension : kThumbnailExtensions)
    ok = ok && kvreg::WriteString(HKEY_CLASSES_ROOT, ShellExKey(extension), L"", kThumbnailHandlerClsidText, view);
  return ok;
}

bool UnregisterThumbnailHandler(REGSAM view) {
  bool ok = kvreg::DeleteTree(HKEY_CLASSES_ROOT, kClassKey, view);
  for (const wchar_t* extension : kThumbnailExtensions) {
    const std::wstring key = ShellExKey(extension);
    if (!NamesThisClass(key, view)) continue;
    ok = kvreg::DeleteTree(HKEY_CLASSES_ROOT, key, view) && ok;
    // The thumbnail key, "ShellEx" and the extension key itself, when nothing else is left in them.
    kvreg::PruneEmptyKeys(HKEY_CLASSES_ROOT, std::wstring(extension) + L"\\ShellEx", 2, view);
  }
  return ok;
}

std::wstring RegisteredServerPath(REGSAM view) {
  return kvreg::ReadString(HKEY_CLASSES_ROOT, kServerKey, L"", view).value_or(L"");
}

bool IsThumbnailHandlerRegistered(REGSAM view) {
  if (kvreg::KeyExists(HKEY_CLASSES_ROOT, kClassKey, view)) return true;
  for (const wchar_t* extension : kThumbnailExtensions)
    if (NamesThisClass(ShellExKey(extension), view)) return true;
  return false;
}

}  // namespace qz
