// Console output of the driver (UTF-8, flushed per line) and the screenshot hand-shake with
// the script that runs it.
#pragma once
#include <string_view>

void console_init();
void print_line(std::wstring_view line);

// Prints "SCREENSHOT <state>" and, when hand-shaking is on, blocks until the controlling
// script has taken the picture and answered with one line on standard input.
void request_screenshot(std::wstring_view state);
void enable_screenshots(bool on);
