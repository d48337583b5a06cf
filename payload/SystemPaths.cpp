#include "payload/SystemPaths.h"

#include <shlobj.h>

namespace kv {

std::wstring SpecialFolderPath(int csidl) {
  wchar_t path[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE)) return {};
  return path;
}

bool RunningUnderWow64() {
  using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
  auto probe = reinterpret_cast<IsWow64ProcessFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "IsWow64Process")));
  BOOL wow = FALSE;
  return probe && probe(GetCurrentProcess(), &wow) && wow;
}

ThumbnailFile InstalledThumbnailFile() {
  ThumbnailFile file;
  const bool wow64 = RunningUnderWow64();
  file.is_64bit = sizeof(void*) == 8 || wow64;
  file.system_dir = SpecialFolderPath(CSIDL_WINDOWS) + (wow64 ? L"\\SysWOW64" : L"\\System32");
  file.path = file.system_dir + (file.is_64bit ? L"\\QZThumbnail64.dll" : L"\\QZThumbnail32.dll");
  file.view = file.is_64bit ? KEY_WOW64_64KEY : 0;
  return file;
}

std::wstring ModuleFilePath(HMODULE module) {
  std::wstring path(MAX_PATH, L'\0');
  DWORD n = 0;
  while ((n = GetModuleFileNameW(module, path.data(), DWORD(path.size()))) >= path.size()) path.resize(path.size() * 2);
  path.resize(n);
  return path;
}

std::wstring ParentDirectory(const std::wstring& path) {
  size_t p = path.find_last_of(L'\\');
  return p == std::wstring::npos ? std::wstring() : path.substr(0, p);
}

std::wstring FileNameOf(const std::wstring& path) {
  size_t p = path.find_last_of(L"\\/:");
  return p == std::wstring::npos ? path : path.substr(p + 1);
}

std::wstring WithoutTrailingSlash(const std::wstring& path) {
  std::wstring p = path;
  while (p.size() > 3 && (p.back() == L'\\' || p.back() == L'/')) p.pop_back();
  return p;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
  std::wstring x = WithoutTrailingSlash(a), y = WithoutTrailingSlash(b);
  return CompareStringOrdinal(x.c_str(), int(x.size()), y.c_str(), int(y.size()), TRUE) == CSTR_EQUAL;
}

bool FileExists(const std::wstring& path) {
  DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::wstring& path) {
  DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring ErrorText(DWORD code) {
  wchar_t* buffer = nullptr;
  DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = n ? std::wstring(buffer, n) : L"error " + std::to_wstring(code);
  LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ' || text.back() == L'.'))
    text.pop_back();
  return text;
}

}  // namespace kv
