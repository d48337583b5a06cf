// The end-to-end scenarios, one per command-line name.
#pragma once
#include <string>
#include <vector>

#include "CheckLog.h"

struct ScenarioInputs {
  std::wstring installer_exe;  // the build under test (the full one or the one missing a payload)
  std::wstring payload_dir;    // the payload sources the installed files must equal
};

std::vector<std::wstring> scenario_names();

// Runs one scenario from a clean machine; false when the name is unknown.
bool run_scenario(const std::wstring& name, const ScenarioInputs& inputs, CheckLog& log);
