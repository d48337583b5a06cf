// thumbnail_client32 / thumbnail_client64: the shell's side of the thumbnail check, built for
// both bitnesses. Prints each problem and exits with 1 when there is one.
// Usage: thumbnail_client<bits> <folder for the sample documents>
#include <windows.h>
#include <objbase.h>

#include <cstdio>

#include "ThumbnailCheck.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fputws(L"usage: thumbnail_client <sample folder>\n", stderr);
    return 2;
  }
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  auto problems = check_thumbnail_handler(argv[1]);
  CoUninitialize();
  for (const auto& p : problems) std::wprintf(L"problem: %ls\n", p.c_str());
  std::wprintf(problems.empty() ? L"thumbnail handler ok\n" : L"thumbnail handler failed\n");
  return problems.empty() ? 0 : 1;
}
