#include "controls/sButtonMenu.h"

namespace sk {

POINT BottomLeftOnScreen(tk::TControl& control) {
    POINT p{0, control.Height()};
    if (auto* windowed = dynamic_cast<tk::TWinControl*>(&control); windowed && windowed->HandleAllocated()) {
        ClientToScreen(windowed->Handle(), &p);
        return p;
    }
    p = POINT{control.Left(), control.Top() + control.Height()};
    if (tk::TWinControl* parent = control.Parent(); parent && parent->HandleAllocated()) ClientToScreen(parent->Handle(), &p);
    return p;
}

tk::TMenuItem* DropMenuBelow(tk::TPopupMenu& menu, tk::TControl& control, TsSkinManager* manager) {
    const POINT at = BottomLeftOnScreen(control);
    menu.PopupComponent = &control;
    TacMenuSkinning* skinning = manager && manager->Active() && manager->SkinnedPopups ? manager->SkinableMenus() : nullptr;
    if (skinning) skinning->HookPopupMenu(&menu, true);
    tk::TMenuItem* chosen = menu.Popup(at.x, at.y);
    if (skinning) skinning->HookPopupMenu(&menu, false);
    return chosen;
}

}  // namespace sk
