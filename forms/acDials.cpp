#include "forms/acDials.h"

#include "forms/sSkinProvider.h"

namespace sk {

tk::TObject* MakeRunTimeProvider(tk::TForm* form, TsSkinManager* manager) {
    if (!form) return nullptr;
    auto* provider = new TsSkinProvider(form, manager);
    provider->UseGlobalColor = false;
    if (form->HandleAllocated())
        RedrawWindow(form->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    provider->MakeSkinMenu = false;
    return provider;
}

void RegisterFormSkinning() { TsSkinManager::SetProviderFactory(MakeRunTimeProvider); }

}  // namespace sk
