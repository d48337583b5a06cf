// Small text helpers of the end-to-end driver: UTF-8 conversion, paths, log lines.
#pragma once
#include <string>
#include <string_view>
#include <vector>

std::string to_utf8(std::wstring_view text);
std::wstring from_utf8(std::string_view text);

// "/work/x" -> "Z:\work\x" (Wine maps the Unix root to drive Z:); other paths unchanged.
std::wstring to_windows_path(std::wstring_view path);

// Splits a memo's text at CR LF (or a lone LF); a trailing line break adds no empty line.
std::vector<std::wstring> split_lines(std::wstring_view text);

bool contains_ignoring_case(std::wstring_view haystack, std::wstring_view needle);
