// The payload scenarios, one per command-line name; each starts from a clean prefix, compares
// the prefix before the install with the prefix after the uninstall, and leaves it clean.
#pragma once
#include <string>

#include "../e2e/CheckLog.h"
#include "PayloadSteps.h"

// False when the name is unknown.
bool run_payload_scenario(const std::wstring& name, const PayloadInputs& inputs, CheckLog& log);
std::wstring payload_scenario_names();
