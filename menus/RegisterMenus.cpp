#include "menus/RegisterMenus.h"

#include "menus/sSkinMenus.h"

namespace sk {

void RegisterMenuSkinning() {
    TsSkinManager::SetMenuSkinningFactory(
        [](TsSkinManager* manager) -> std::unique_ptr<TacMenuSkinning> { return std::make_unique<TsSkinableMenus>(manager); });
}

}  // namespace sk
