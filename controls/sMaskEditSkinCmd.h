// The skin commands that the skinned edits and the combo box answer alike.
#pragma once
#include <functional>

#include "skinframework/sCommonData.h"

namespace sk {

// A new, removed or refreshed skin of the control's own manager: beforeRebind (when set) runs,
// the skin data is bound again and the control repaints. The end of an update repaints a control
// that waited for its parent's background; SC_ISHANDLED answers 1. False for any other command,
// for another manager's and while the control is being destroyed (the shared handler answers).
bool HandleEditSkinCmd(tk::TMessage& m, TsCommonData& skinData, const std::function<void()>& refresh,
                       const std::function<void()>& beforeRebind = nullptr);

}  // namespace sk
