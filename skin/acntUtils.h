// Splitting of option values into fields, and the integer forms skin values use.
#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace sk {

// A field is a maximal run of characters not in delimiters (no empty fields).
int CountFields(std::wstring_view text, std::wstring_view delimiters);
// The index-th field (from 1), or empty.
std::wstring FieldAt(int index, std::wstring_view text, std::wstring_view delimiters);
// That field as a decimal integer, 0 when it does not parse.
int IntFieldAt(int index, std::wstring_view text, std::wstring_view delimiters);
std::wstring DeleteAllChars(std::wstring_view text, wchar_t c);

// A 32-bit integer: decimal with an optional sign, or hexadecimal after "$" or "0x"
// (hexadecimal up to 8 digits, wrapping into the signed range). nullopt when it does not parse.
std::optional<int> ParseSkinInt(std::wstring_view text);
// Decimal only (optional sign), as the fixed-position notations and field splitting use it.
std::optional<int> ParseDecimal(std::wstring_view text);
// ParseDecimal or a conversion error: std::invalid_argument "'text' is not a valid integer value".
int DecimalOrThrow(std::wstring_view text);

std::wstring UpperAscii(std::wstring_view text);
std::wstring TrimBlanks(std::wstring_view text);  // removes characters <= ' ' at both ends
std::string NarrowForMessage(std::wstring_view text);  // UTF-8, for exception messages

// A path of the platform's form ("\" separators) as the file system of this build takes it.
std::filesystem::path NativeSkinPath(const std::wstring& path);
// A path as text, whatever the locale (UTF-8 file names outside Windows).
std::wstring PathText(const std::filesystem::path& path);
// The UTF-8 message of an exception as text for a message box.
std::wstring MessageText(const char* utf8);

}  // namespace sk
