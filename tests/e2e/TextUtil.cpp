#include "TextUtil.h"

#include <windows.h>

#include <algorithm>

std::string to_utf8(std::wstring_view text) {
  if (text.empty()) return {};
  int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(size_t(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), out.data(), size, nullptr, nullptr);
  return out;
}

std::wstring from_utf8(std::string_view text) {
  if (text.empty()) return {};
  int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
  std::wstring out(size_t(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), out.data(), size);
  return out;
}

std::wstring to_windows_path(std::wstring_view path) {
  if (path.empty() || path.front() != L'/') return std::wstring(path);
  std::wstring out = L"Z:";
  out += path;
  std::replace(out.begin(), out.end(), L'/', L'\\');
  return out;
}

std::vector<std::wstring> split_lines(std::wstring_view text) {
  std::vector<std::wstring> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(L'\n', start);
    if (end == std::wstring_view::npos) end = text.size();
    std::wstring_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == L'\r') line.remove_suffix(1);
    lines.emplace_back(line);
    start = end + 1;
  }
  return lines;
}

bool contains_ignoring_case(std::wstring_view haystack, std::wstring_view needle) {
  auto lower = [](std::wstring_view s) {
    std::wstring out(s);
    if (!out.empty()) CharLowerBuffW(out.data(), DWORD(out.size()));
    return out;
  };
  return lower(haystack).find(lower(needle)) != std::wstring::npos;
}
