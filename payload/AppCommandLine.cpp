#include "payload/AppCommandLine.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cwctype>

namespace kv {

std::vector<std::wstring> ProcessArguments() {
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::wstring> args;
  for (int i = 1; argv && i < count; ++i) args.emplace_back(argv[i]);
  LocalFree(argv);
  return args;
}

namespace {
std::wstring Lower(std::wstring text) {
  std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return wchar_t(std::towlower(c)); });
  return text;
}

// Options start with '-'; a document path never does.
bool IsOption(const std::wstring& arg) { return arg.size() > 1 && arg[0] == L'-'; }
}  // namespace

AppOptions ParseAppCommandLine(const std::vector<std::wstring>& args) {
  AppOptions options;
  for (const auto& arg : args) {
    if (arg.empty()) continue;
    if (!IsOption(arg)) {
      if (options.document.empty()) options.document = arg;
      continue;
    }
    if (Lower(arg) == L"-newinstance")
      options.new_instance = true;
    else
      options.unknown_options.push_back(arg);
  }
  return options;
}

}  // namespace kv
