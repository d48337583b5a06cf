// Gives the skin manager its menu support: the program calls this once at start-up, before its
// skin manager is made, so that popup menus (controls' own ones included) and the window's
// system menu take the skin.
#pragma once

namespace sk {

void RegisterMenuSkinning();

}  // namespace sk
