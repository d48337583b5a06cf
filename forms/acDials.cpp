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

void RegisterFormSkinning() {
    TsSkinManager::SetProviderFactory(MakeRunTimeProvider);
    // A provider stored in a form's description belongs to that form.
    tk::TClassRegistry::Register("TsSkinProvider", [](tk::TComponent* owner) -> tk::TComponent* {
        auto* form = dynamic_cast<tk::TForm*>(owner);
        if (!form) throw tk::Exception(L"A skin provider belongs to a form");
        return new TsSkinProvider(form, nullptr);
    });
}

}  // namespace sk
