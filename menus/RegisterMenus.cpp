#include "menus/RegisterMenus.h"

#include "menus/sSkinMenus.h"
#include "skinframework/sCommonData.h"
#include "toolkit/Controls.h"

namespace sk {

namespace {

// A control's popup menu takes the skin just before the control shows it.
void HookPopupMenuOf(tk::TControl* control, TsSkinManager& manager) {
    tk::TPopupMenu* menu = control ? control->PopupMenu() : nullptr;
    if (TacMenuSkinning* menus = menu ? manager.SkinableMenus() : nullptr) menus->HookPopupMenu(menu, true);
}

}  // namespace

void RegisterMenuSkinning() {
    TsSkinManager::SetMenuSkinningFactory(
        [](TsSkinManager* manager) -> std::unique_ptr<TacMenuSkinning> { return std::make_unique<TsSkinableMenus>(manager); });
    HookControlPopupMenu = HookPopupMenuOf;
}

}  // namespace sk
