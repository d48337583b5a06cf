// The system's ANSI code page: file names inside packed skins and options texts without a
// byte-order mark are single-byte text in it. The Win32 side installs conversions over
// MultiByteToWideChar / WideCharToMultiByte; until then a built-in table converts
// (code page 1251 by default, 1252 on request), which is what host tools and tests use.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace sk {

using TAnsiToWideFunc = std::wstring (*)(std::string_view text);
// nullopt when a character has no single-byte form.
using TWideToAnsiFunc = std::optional<std::string> (*)(std::wstring_view text);

void SetAnsiCodePage(TAnsiToWideFunc toWide, TWideToAnsiFunc toAnsi);

enum class THostCodePage { cp1251, cp1252 };
// Selects a built-in table (and drops installed conversions).
void UseHostCodePage(THostCodePage codePage);

std::wstring AnsiToWide(std::string_view text);
std::optional<std::string> WideToAnsi(std::wstring_view text);

}  // namespace sk
