// The skin manager component: its stored settings feed the portable manager core, which
// loads and tints the skin. A failed load shows the error in a message box.
#pragma once
#include <functional>

#include "skin/sSkinManagerCore.h"
#include "skin/sSkinManagerOptions.h"
#include "toolkit/DescriptionReader.h"

namespace sk {

class TsSkinManager : public tk::TComponent {
public:
    explicit TsSkinManager(tk::TComponent* owner);
    ~TsSkinManager() override;

    // The first manager of the process, used by every skinned control; null without one.
    static TsSkinManager* DefaultManager() { return FDefault; }
    bool IsDefault() const { return FDefault == this; }
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

    void BeginLoading() override;
    void SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& value) override;
    void Loaded() override;

    // How load errors are shown; a message box unless replaced (tests replace it).
    static std::function<void(const std::wstring&)> ErrorBox;

private:
    void RefillThirdLists();
    bool SetSettingsProperty(tk::TReader& reader, const std::string& name, const tk::TValue& v);
    void ReadInternalSkins(tk::TReader& reader, const tk::TValue& v);

    TSkinManagerCore FCore;
    TThirdLists FThirdLists;
    static TsSkinManager* FDefault;
};

}  // namespace sk
