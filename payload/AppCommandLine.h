// The application's command line: an optional document path (the association passes it as
// "%1") and the option "-newinstance".
#pragma once
#include <string>
#include <vector>

namespace kv {

struct AppOptions {
  std::wstring document;      // the first argument that is not an option; empty when none
  bool new_instance = false;  // "-newinstance" (any letter case)
  std::vector<std::wstring> unknown_options;
};

// The arguments of this process without the program name, split as the shell splits them.
std::vector<std::wstring> ProcessArguments();

// `args` without the program name, as CommandLineToArgvW splits them.
AppOptions ParseAppCommandLine(const std::vector<std::wstring>& args);

}  // namespace kv
