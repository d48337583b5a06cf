// Reads a shortcut (.lnk) file through the shell-link object.
#pragma once
#include <optional>
#include <string>

struct ShortcutInfo {
  std::wstring path;
  std::wstring working_directory;
  std::wstring arguments;
};

// Null when the file cannot be loaded as a shortcut. COM must be initialised.
std::optional<ShortcutInfo> read_shortcut(const std::wstring& link_file);
