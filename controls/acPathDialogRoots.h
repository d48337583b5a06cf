// The folder dialog's root buttons: Desktop, My Computer, My Documents and Network, stacked
// at the top of a box; each shows its folder's name and icon, and a click roots the tree there.
#pragma once
#include <vector>

#include "toolkit/Controls.h"

namespace sk {

class TsShellTreeView;
class TsSpeedButton;

// The roots of the buttons, top to bottom.
inline constexpr const wchar_t* kRootButtonRoots[] = {L"rfDesktop", L"rfMyComputer", L"rfPersonal", L"rfNetwork"};
inline constexpr int kRootButtonHeight = 70;

// Creates the buttons in box (which owns them), one under the other across its width.
std::vector<TsSpeedButton*> CreateRootButtons(tk::TWinControl& box, TsShellTreeView& tree);

}  // namespace sk
