// Records the outcome of every check: a line per check, and the count of failures that
// decides the driver's exit code.
#pragma once
#include <string>
#include <string_view>

class CheckLog {
 public:
  // Returns ok, so callers can stop dependent checks after a failure.
  bool expect(bool ok, std::wstring_view what, std::wstring_view expected = {}, std::wstring_view actual = {});
  bool expect_equal(std::wstring_view what, std::wstring_view expected, std::wstring_view actual);
  bool expect_equal(std::wstring_view what, long long expected, long long actual);
  void fail(std::wstring_view what) { expect(false, what); }
  void note(std::wstring_view text);
  int failures() const { return failures_; }

 private:
  int failures_ = 0;
};

// Renders a string for a check line: in quotes, control characters escaped.
std::wstring quoted(std::wstring_view text);
