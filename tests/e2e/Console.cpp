#include "Console.h"

#include <windows.h>

#include "TextUtil.h"

namespace {
bool screenshots_on = false;

void write_raw(const std::string& bytes) {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD written = 0;
  WriteFile(out, bytes.data(), DWORD(bytes.size()), &written, nullptr);
  FlushFileBuffers(out);
}

void read_line_from_stdin() {
  HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
  char c = 0;
  DWORD got = 0;
  while (ReadFile(in, &c, 1, &got, nullptr) && got == 1 && c != '\n') {
  }
}
}  // namespace

void console_init() { SetConsoleOutputCP(CP_UTF8); }

void print_line(std::wstring_view line) { write_raw(to_utf8(line) + "\n"); }

void enable_screenshots(bool on) { screenshots_on = on; }

void request_screenshot(std::wstring_view state) {
  if (!screenshots_on) return;
  print_line(L"SCREENSHOT " + std::wstring(state));
  read_line_from_stdin();
}
