// Everything an installation touches, as one unit: removed before a scenario so each starts
// from a clean machine, and captured to prove that a later action changed nothing.
#pragma once
#include <map>
#include <string>

#include "CheckLog.h"
#include "InstallLayout.h"

void remove_installation(const InstallLayout& layout);

// Item name -> description of its state (file size, time and hash; registry type and data).
using StateSnapshot = std::map<std::wstring, std::wstring>;

StateSnapshot capture_installation(const InstallLayout& layout);
void expect_unchanged(CheckLog& log, const StateSnapshot& before, const StateSnapshot& after);
