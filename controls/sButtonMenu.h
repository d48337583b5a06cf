// The drop-down menu of a button (the split push button, the drop-down speed button): shown at
// the button's bottom-left corner with the button as its popup component, and skinned by the
// skin manager while the manager skins popup menus.
#pragma once
#include "skinframework/sSkinManager.h"
#include "toolkit/Controls.h"
#include "toolkit/Menus.h"

namespace sk {

// The screen point under the control's bottom-left corner.
POINT BottomLeftOnScreen(tk::TControl& control);

// Shows menu below control and waits until it closes; the chosen item's OnClick has run by
// then. Returns the chosen item, null when the menu closed without a choice. The control must
// be checked for being alive by the caller afterwards (an item's OnClick may free it).
tk::TMenuItem* DropMenuBelow(tk::TPopupMenu& menu, tk::TControl& control, TsSkinManager* manager);

}  // namespace sk
