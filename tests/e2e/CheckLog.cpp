#include "CheckLog.h"

#include <cstdio>

#include "Console.h"

std::wstring quoted(std::wstring_view text) {
  std::wstring out = L"\"";
  for (wchar_t c : text) {
    if (c == L'\r') out += L"\\r";
    else if (c == L'\n') out += L"\\n";
    else if (c < 0x20) {
      wchar_t buf[8];
      swprintf(buf, 8, L"\\x%02x", unsigned(c));
      out += buf;
    } else out += c;
  }
  return out + L"\"";
}

bool CheckLog::expect(bool ok, std::wstring_view what, std::wstring_view expected, std::wstring_view actual) {
  std::wstring line = (ok ? L"ok    " : L"FAIL  ") + std::wstring(what);
  if (!ok && (!expected.empty() || !actual.empty()))
    line += L"\n        expected: " + std::wstring(expected) + L"\n        actual:   " + std::wstring(actual);
  print_line(line);
  if (!ok) ++failures_;
  return ok;
}

bool CheckLog::expect_equal(std::wstring_view what, std::wstring_view expected, std::wstring_view actual) {
  return expect(expected == actual, what, quoted(expected), quoted(actual));
}

bool CheckLog::expect_equal(std::wstring_view what, long long expected, long long actual) {
  return expect(expected == actual, what, std::to_wstring(expected), std::to_wstring(actual));
}

void CheckLog::note(std::wstring_view text) { print_line(L"note  " + std::wstring(text)); }
