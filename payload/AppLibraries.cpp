#include "payload/AppLibraries.h"

#include <vector>

#include "payload/AudioLibraryVersion.h"

namespace kv {

std::wstring FileVersionText(const std::wstring& path) {
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) return {};
  std::vector<BYTE> data(size);
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data()) ||
      !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) || length < sizeof *info)
    return {};
  return std::to_wstring(HIWORD(info->dwFileVersionMS)) + L"." + std::to_wstring(LOWORD(info->dwFileVersionMS)) + L"." +
         std::to_wstring(HIWORD(info->dwFileVersionLS)) + L"." + std::to_wstring(LOWORD(info->dwFileVersionLS));
}

std::wstring LibraryVersionText(const std::wstring& dll_path, const char* export_name) {
  HMODULE library = LoadLibraryExW(dll_path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (!library) return {};
  auto get_version = reinterpret_cast<GetVersionFn>(reinterpret_cast<void*>(GetProcAddress(library, export_name)));
  std::wstring text = get_version ? VersionText(get_version()) : std::wstring();
  FreeLibrary(library);
  return text;
}

std::wstring ExecutableDirectory() {
  std::wstring path(MAX_PATH, L'\0');
  DWORD n = 0;
  while ((n = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()))) >= path.size()) path.resize(path.size() * 2);
  path.resize(n);
  return path.substr(0, path.find_last_of(L'\\') + 1);
}

}  // namespace kv
