// Automatic form skinning: the skin manager's window hook gives every form it attaches to a
// run-time skin provider made here.
#pragma once
#include "skinframework/sSkinManager.h"

namespace sk {

// A run-time provider for the form, owned by the form; the hook's factory.
tk::TObject* MakeRunTimeProvider(tk::TForm* form, TsSkinManager* manager);

// Makes the hook attach run-time providers (call once at start-up, before the first form is
// shown).
void RegisterFormSkinning();

}  // namespace sk
