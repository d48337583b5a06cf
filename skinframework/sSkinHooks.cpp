#include "skinframework/sSkinHooks.h"

#include <algorithm>
#include <cwchar>

#include "skinframework/sSkinManager.h"
#include "skinframework/sVclUtils.h"
#include "toolkit/Redraw.h"

namespace sk {

namespace {

// Forms whose Tag has this bit are never given a provider (the engine's own helper windows).
constexpr int kNoSkinTag = 256;
// Posted to the application window: every form with a window repaints.
constexpr UINT kRepaintAllFormsMessage = 0xB000;

struct THookedForm {
    tk::TForm* Form;
    tk::TObject* Provider;
};

// The forms the hook gave a provider, and the providers let go of that wait to be freed. It
// is linked to each form and to each provider that is a component, so an entry goes away
// when either is freed, whether or not the provider said so.
class TProviderList : public tk::TComponent {
public:
    TProviderList() : tk::TComponent(nullptr) {}
    std::vector<THookedForm> Hooked, Retired;

    void Add(tk::TForm* form, tk::TObject* provider) {
        Hooked.push_back({form, provider});
        FreeNotification(form);
        if (auto* component = dynamic_cast<tk::TComponent*>(provider)) FreeNotification(component);
    }
    const THookedForm* Find(const tk::TForm* form) const {
        for (const auto* list : {&Hooked, &Retired})
            for (const auto& entry : *list)
                if (entry.Form == form) return &entry;
        return nullptr;
    }
    // Drops every entry for which gone(entry) holds, unlinking what it linked.
    template <class Pred> void DropIf(Pred gone) {
        for (auto* list : {&Hooked, &Retired}) {
            auto keep = std::stable_partition(list->begin(), list->end(), [&](const auto& e) { return !gone(e); });
            std::vector<THookedForm> dropped(keep, list->end());
            list->erase(keep, list->end());
            for (const auto& entry : dropped) Unlink(entry);
        }
    }
    void Unlink(const THookedForm& entry) {
        RemoveFreeNotification(entry.Form);
        if (auto* component = dynamic_cast<tk::TComponent*>(entry.Provider)) RemoveFreeNotification(component);
    }

protected:
    void Notification(tk::TComponent* component, tk::TOperation operation) override {
        if (operation != tk::TOperation::opRemove) return;
        const tk::TObject* gone = component;
        DropIf([gone](const THookedForm& e) { return e.Form == gone || e.Provider == gone; });
    }
};

// Lives as long as the process: forms and providers may still unlink from it at exit.
TProviderList& Providers() {
    static TProviderList* list = new TProviderList;
    return *list;
}

TProviderFactory& Factory() {
    static TProviderFactory factory;
    return factory;
}

HHOOK formHook = nullptr;
bool attaching = false;  // a factory that activates a window does not re-enter

UINT RetiredProvidersMessage() {
    static const UINT message = RegisterWindowMessageW(L"Kalvetra.FreeRetiredProviders");
    return message;
}

bool ApplicationEnding() { return !tk::Application || tk::Application->Destroying(); }

// A popup window without a border is not a form to frame.
bool FrameableStyle(HWND handle) {
    const LONG_PTR style = GetWindowLongPtrW(handle, GWL_STYLE);
    return !(style & WS_POPUP) || (style & WS_BORDER);
}

// The toolkit form of the window when it is one the hook gives a provider.
tk::TForm* FormToAttach(HWND handle, TsSkinManager& manager) {
    if (handle == tk::Application->Handle()) return nullptr;
    auto* form = dynamic_cast<tk::TForm*>(tk::TWinControl::FromHandle(handle));
    if (!form || form->Destroying() || form->IsLoading() || (form->Tag() & kNoSkinTag)) return nullptr;
    if (!(manager.Core().SkinningRules() & srStdForms) || !FrameableStyle(handle)) return nullptr;
    if (Providers().Find(form) || IsSkinnedWindow(handle)) return nullptr;  // it has a provider
    return form;
}

void AttachOnActivation(HWND handle) {
    TsSkinManager* manager = TsSkinManager::DefaultManager();
    if (attaching || !manager || !Factory()) return;
    tk::TForm* form = FormToAttach(handle, *manager);
    if (!form) return;
    attaching = true;
    tk::TObject* provider = nullptr;
    try {
        provider = Factory()(form, manager);
    } catch (...) {
        attaching = false;
        throw;
    }
    attaching = false;
    if (provider) Providers().Add(form, provider);
}

// A menu window ("#32768") being created gets the menu support's wrapper when popups are skinned.
void WrapMenuWindow(HWND handle) {
    TsSkinManager* manager = TsSkinManager::DefaultManager();
    if (!manager || !manager->SkinnedPopups) return;
    wchar_t name[16] = {};
    if (GetClassNameW(handle, name, 16) <= 0 || wcscmp(name, L"#32768") != 0) return;
    if (TacMenuSkinning* menus = manager->SkinableMenus()) menus->MenuWindowCreated(handle);
}

LRESULT CALLBACK FormHookProc(int code, WPARAM wParam, LPARAM lParam) {
    const LRESULT next = CallNextHookEx(nullptr, code, wParam, lParam);
    if (code == HCBT_CREATEWND && !ApplicationEnding()) {
        try {
            WrapMenuWindow(reinterpret_cast<HWND>(wParam));
        } catch (...) {
            tk::Application->HandleCurrentException();
        }
    }
    if (code == HCBT_ACTIVATE && !ApplicationEnding()) {
        // Nothing may escape into the system's hook chain.
        try {
            AttachOnActivation(reinterpret_cast<HWND>(wParam));
        } catch (...) {
            tk::Application->HandleCurrentException();
        }
    }
    return next;
}

void FreeProvider(tk::TObject* provider) {
    if (auto* component = dynamic_cast<tk::TComponent*>(provider)) tk::TComponent::Free(component);
    else delete provider;
}

// ---- The application window ----

bool SentFromAnotherThread() { return InSendMessageEx(nullptr) != ISMEX_NOSEND; }

// A preview record from a skin editor: taken, then applied when the message loop gets to it.
bool ReceivePreview(TsSkinManager& manager, tk::TMessage& m) {
    if (m.WParam != kPreviewCopyId) return false;
    TacPreviewBuffer& preview = manager.PreviewBuffer();
    m.Result = 0;
    if (!preview.Receive(reinterpret_cast<const COPYDATASTRUCT*>(m.LParam))) return true;
    if (PostMessageW(tk::Application->Handle(), SM_SKINCMD, SkinCmdWParam(SC_PREVIEWSKIN), 0)) m.Result = 1;
    else preview.Finish();
    return true;
}

// The skin message carries pointers into this process: from another thread it is dropped.
// The one command the application window takes is the preview it posted to itself.
bool HandleSkinCommand(TsSkinManager& manager, tk::TMessage& m) {
    m.Result = 0;
    if (SentFromAnotherThread()) return true;
    if (SkinCmdOf(m.WParam) != SC_PREVIEWSKIN) return false;
    manager.ApplyPreview();
    return true;
}

void RepaintAllForms() {
    if (!tk::Screen) return;
    for (int i = 0; i < tk::Screen->FormCount(); ++i)
        if (tk::TForm* form = tk::Screen->Forms(i); form->HandleAllocated()) tk::RedrawAll(form->Handle(), true);
}

void NoteShowState(TsSkinManager& manager, WPARAM command) {
    if (!manager.Core().SkinLoaded()) return;
    switch (command & 0xFFF0) {
        case SC_MINIMIZE: manager.ShowState = TsSkinManager::TShowState::saMinimize; break;
        case SC_RESTORE: manager.ShowState = TsSkinManager::TShowState::saRestore; break;
        default: break;
    }
}

}  // namespace

void SetProviderFactory(TProviderFactory factory) { Factory() = std::move(factory); }

bool FormHookInstalled() { return formHook != nullptr; }

void InstallFormHook() {
    if (formHook) return;
    formHook = SetWindowsHookExW(WH_CBT, FormHookProc, nullptr, GetCurrentThreadId());
    if (!formHook) return;
    auto& list = Providers();
    list.Hooked.insert(list.Hooked.end(), list.Retired.begin(), list.Retired.end());
    list.Retired.clear();
}

void UninstallFormHook() {
    if (formHook) UnhookWindowsHookEx(formHook);
    formHook = nullptr;
    auto& list = Providers();
    if (list.Hooked.empty()) return;
    list.Retired.insert(list.Retired.end(), list.Hooked.begin(), list.Hooked.end());
    list.Hooked.clear();
    if (!ApplicationEnding()) PostMessageW(tk::Application->Handle(), RetiredProvidersMessage(), 0, 0);
}

void ForgetProvider(tk::TObject* provider) {
    if (!provider) return;
    Providers().DropIf([provider](const THookedForm& e) { return e.Provider == provider; });
}

std::vector<HWND> HookedFormWindows() {
    std::vector<HWND> windows;
    for (const auto& entry : Providers().Hooked)
        if (entry.Form->HandleAllocated()) windows.push_back(entry.Form->Handle());
    return windows;
}

tk::TObject* HookedProvider(tk::TForm* form) {
    const THookedForm* entry = Providers().Find(form);
    return entry ? entry->Provider : nullptr;
}

void FreeRetiredProviders() {
    auto& list = Providers();
    // Freeing one provider may free others (through their forms): take one at a time.
    while (!list.Retired.empty()) {
        const THookedForm entry = list.Retired.back();
        list.Retired.pop_back();
        list.Unlink(entry);
        FreeProvider(entry.Provider);
    }
}

bool HandleApplicationMessage(TsSkinManager& manager, tk::TMessage& m) {
    if (m.Msg == RetiredProvidersMessage()) {
        FreeRetiredProviders();
        return true;
    }
    if (manager.SkinnedPopups)
        if (TacMenuSkinning* menus = manager.SkinableMenus(); menus && menus->ApplicationMessage(m)) return true;
    switch (m.Msg) {
        case WM_COPYDATA: return ReceivePreview(manager, m);
        case SM_SKINCMD: return HandleSkinCommand(manager, m);
        case kRepaintAllFormsMessage: RepaintAllForms(); return true;
        case WM_THEMECHANGED: m.Result = 0; return true;
        case WM_SYSCOMMAND: NoteShowState(manager, m.WParam); return false;
        default: return false;
    }
}

}  // namespace sk
