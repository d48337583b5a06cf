// The skin manager component: its stored settings feed the portable manager core, which
// loads and tints the skin; the component announces every skin change to all forms and their
// controls with the skin message, and the default manager hooks the thread's windows so that
// forms get a skin provider as they are first activated. A failed load shows the error in a
// message box.
#pragma once
#include <functional>
#include <memory>

#include "skin/sSkinManagerCore.h"
#include "skin/sSkinManagerOptions.h"
#include "skinframework/acSkinPreview.h"
#include "skinframework/sSkinHooks.h"
#include "toolkit/Controls.h"
#include "toolkit/DescriptionReader.h"

namespace tk {
class TPopupMenu;
}

namespace sk {

class TsSkinManager;

// The manager's popup-menu skinning. It lives in a layer above this one, which registers the
// factory that makes it (TsSkinManager::SetMenuSkinningFactory).
class TacMenuSkinning : public tk::TObject {
public:
    // Switches the menu's items to skinned measuring and drawing, or back.
    virtual void HookPopupMenu(tk::TPopupMenu* menu, bool active) = 0;
    // The window hook saw a menu window ("#32768") being created.
    virtual void MenuWindowCreated(HWND window) = 0;
    // A message of the application window; true when it was the menus' own and is handled.
    virtual bool ApplicationMessage(tk::TMessage& m) = 0;
    // A skin was announced: what depends on the skin is worked out again.
    virtual void SkinChanged() = 0;
};
using TMenuSkinningFactory = std::function<std::unique_ptr<TacMenuSkinning>(TsSkinManager* manager)>;

class TsSkinManager : public tk::TComponent {
public:
    explicit TsSkinManager(tk::TComponent* owner);
    ~TsSkinManager() override;

    // The first manager of the process, used by every skinned control; null without one.
    static TsSkinManager* DefaultManager() { return FDefault; }
    bool IsDefault() const { return FDefault == this; }
    // true makes this the default manager and announces its skin (or its lack of one);
    // false does nothing.
    void SetIsDefault(bool value);

    // Published settings.
    TacSkinEffects Effects;
    TacAnimEffects AnimEffects;
    TacButtonsSupport ButtonsOptions;
    TacLabelsSupport LabelsOptions;
    TacMenuSupport MenuSupport;
    TacOptions Options;
    TacScrollBarsSupport ScrollsOptions;
    ThirdPartyList ThirdParty;
    bool SkinnedPopups = true;
    static const wchar_t* Version() { return kEngineVersion; }
    std::wstring SkinInfo() const { return FCore.SkinInfo(); }
    void ExtractInternalSkin(const std::wstring& nameOfSkin, const std::wstring& destDir) {
        FCore.ExtractInternalSkin(nameOfSkin, destDir);
    }
    void ExtractByIndex(int index, const std::wstring& destDir) { FCore.ExtractByIndex(index, destDir); }
    // Class names per kind, refilled from ThirdParty at construction and load.
    const TThirdLists& ThirdLists() const { return FThirdLists; }
    int HueOffset() const { return FCore.HueOffset(); }
    int Saturation() const { return FCore.Saturation(); }
    int Brightness() const { return FCore.Brightness(); }
    const std::wstring& SkinName() const { return FCore.SkinName(); }
    const TsStoredSkins& InternalSkins() const { return FCore.InternalSkins(); }
    bool Active() const { return FCore.Active(); }
    TSkinManagerCore& Core() { return FCore; }
    const TSkinModel& Model() const { return FCore.Model(); }

    // Setters; each tells the windows what changed (see the core for the loading side).
    void SetSkinName(const std::wstring& name) { FCore.SetSkinName(name); }
    void SetActive(bool value) { FCore.SetActive(value); }
    void SetSkinDirectory(const std::wstring& dir) { FCore.SetSkinDirectory(dir); }
    void SetHueOffset(int value) { FCore.SetHueOffset(value); }
    void SetSaturation(int value) { FCore.SetSaturation(value); }
    void SetBrightness(int value) { FCore.SetBrightness(value); }
    bool ExtendedBorders() const { return FCore.ExtendedBorders(); }
    void SetExtendedBorders(bool value) { FCore.SetExtendedBorders(value); }

    // Announces the active skin again (SC_NEWSKIN to every form and control), repainting
    // when asked. Nothing without an active skin.
    void UpdateSkin(bool repaint = true);
    // Tells the controls bound to the section (any case) to repaint.
    void UpdateSkinSection(const std::wstring& sectionName);
    // Stops running fades and makes every form and control repaint (SC_REFRESH); with
    // lockForms the forms are not drawn until all of them are done.
    void RepaintForms(bool lockForms = true);
    // Between BeginUpdate and EndUpdate skin changes load but are not announced; EndUpdate
    // announces the skin, with the skin-changing animation switched off for that call when
    // animation is not allowed.
    void BeginUpdate() { FNoAutoUpdate = true; }
    void EndUpdate(bool repaint = false, bool allowAnimation = true);
    bool Updating() const { return FNoAutoUpdate; }
    // True while the skin is being taken off the windows.
    bool SkinRemoving() const { return FSkinRemoving; }

    // The thread's hook that gives forms a skin provider on their first activation (the
    // default manager only, once).
    void InstallHook();
    void UnInstallHook();
    bool GlobalHookInstalled() const { return FormHookInstalled(); }
    // What the hook calls to make a form's provider (none set: nothing is attached).
    static void SetProviderFactory(TProviderFactory factory) { sk::SetProviderFactory(std::move(factory)); }
    // A provider made by the factory calls this from its destructor.
    static void ProviderDestroyed(tk::TObject* provider) { ForgetProvider(provider); }
    // What makes the manager's menu support (none set: popup menus keep the platform's look).
    static void SetMenuSkinningFactory(TMenuSkinningFactory factory);
    // The menu support, made on first use; null without a factory.
    TacMenuSkinning* SkinableMenus();

    // The last minimise or restore command of the application seen while a skin is active.
    enum class TShowState { saIgnore, saRestore, saMinimize };
    TShowState ShowState = TShowState::saIgnore;

    // Live preview: a record from a skin editor, waiting or being applied (see acSkinPreview).
    TacPreviewBuffer& PreviewBuffer() { return FPreview; }
    // Applies the waiting preview record: its folder, name and options text, in one update.
    void ApplyPreview();

    void BeginLoading() override;
    void SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& value) override;
    void Loaded() override;

    // How load errors are shown; a message box unless replaced (tests replace it).
    static std::function<void(const std::wstring&)> ErrorBox;

    // The control under the mouse: a window, or a control without one. Setting one tells the
    // previous control SC_DEACTIVATED and the new one SC_ACTIVATED (sSkinManagerActive.cpp).
    HWND ActiveControl() const { return FActiveControl; }
    void SetActiveControl(HWND value);
    tk::TControl* ActiveGraphControl() const { return FActiveGraphControl; }
    void SetActiveGraphControl(tk::TControl* value);
    // Forgets a control that is being destroyed, without telling it anything.
    void ControlDestroyed(tk::TControl* control, HWND handle);

private:
    void BindCore();
    void InstallApplicationHook();
    void RemoveApplicationHook();
    // The activation broadcast: SC_NEWSKIN to every form and control (not while loading).
    void AnnounceSkin(bool repaint);
    // The deactivation: SC_REMOVESKIN to every form and control, then the hook's providers
    // are let go of; the model is freed by the core afterwards.
    void AnnounceSkinRemoval();
    void SkinReloaded();
    bool Loading() const;
    void RefillThirdLists();
    bool SetSettingsProperty(tk::TReader& reader, const std::string& name, const tk::TValue& v);
    void ReadInternalSkins(tk::TReader& reader, const tk::TValue& v);

    TSkinManagerCore FCore;
    TThirdLists FThirdLists;
    HWND FActiveControl = nullptr;
    tk::TControl* FActiveGraphControl = nullptr;
    bool FNoAutoUpdate = false;
    bool FSkinRemoving = false;
    int FApplicationHook = 0;  // the application-window hook's id, 0 without one
    TacPreviewBuffer FPreview;
    std::unique_ptr<TacMenuSkinning> FMenus;
    static TsSkinManager* FDefault;
};

}  // namespace sk
