// The state of a Wine prefix that an installation can touch: every file on drive C: (path
// and size) and the registry keys of the uninstall entry, the document types and the
// thumbnail handler's class in both registry views.
#pragma once
#include <map>
#include <string>
#include <vector>

using PrefixSnapshot = std::map<std::wstring, std::wstring>;

PrefixSnapshot capture_prefix();

// One line per item that differs: "item: <before> -> <after>".
std::vector<std::wstring> snapshot_differences(const PrefixSnapshot& before, const PrefixSnapshot& after);
