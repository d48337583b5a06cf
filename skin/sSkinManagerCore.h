// The skin manager's portable part: which skin its name selects (a folder or a packed file
// in the skin directory, or an internal skin), loading it into the skin model, the tint by
// hue offset, saturation and brightness, the version check and the skin-name lists.
// The platform side supplies the message boxes, the command line and the program folder.
#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "skin/SkinModel.h"
#include "skin/acShadows.h"

namespace sk {

// A skin stored in the manager (its "InternalSkins"): the packed skin and the values kept with it.
struct TsStoredSkin {
    TsStoredSkin() = default;
    TsStoredSkin(std::wstring name, std::vector<uint8_t> data) : Name(std::move(name)), Data(std::move(data)) {}

    std::wstring Name;
    std::vector<uint8_t> Data;          // a packed skin
    std::vector<uint8_t> MasterBitmap;  // a bitmap kept with the item, as stored (BMP bytes)
    TColor Shadow1Color = 0;
    int Shadow1Offset = 0;
    int Shadow1Blur = -1;
    int Shadow1Transparency = 0;
    TColor BorderColor = 0x00FF00FF;
    double Version = 0;
    std::wstring Author;
    std::wstring Description;
};

class TSkinManagerCore;

// The stored skins of one manager. Every change of the list (adding, clearing, assigning)
// runs Update, which fires the owning manager's OnSkinListChanged; a caller that changes an
// item in place calls Update itself. Assigning copies the items, never the owner.
class TsStoredSkins {
public:
    explicit TsStoredSkins(TSkinManagerCore* owner = nullptr) : FOwner(owner) {}
    TsStoredSkins(const TsStoredSkins&) = delete;  // an owner belongs to one list
    TsStoredSkins& operator=(const TsStoredSkins& source) { return *this = source.FItems; }
    TsStoredSkins& operator=(const std::vector<TsStoredSkin>& items);
    void Assign(const TsStoredSkins& source) { *this = source; }

    // The index of the first item named exactly `name` (case-sensitive), or -1.
    int IndexOf(const std::wstring& name) const;
    void Update(int index = -1);  // index of the changed item, -1 for the whole list

    void push_back(TsStoredSkin item);
    void clear();
    size_t size() const { return FItems.size(); }
    bool empty() const { return FItems.empty(); }
    TsStoredSkin& operator[](size_t i) { return FItems[i]; }
    const TsStoredSkin& operator[](size_t i) const { return FItems[i]; }
    std::vector<TsStoredSkin>::iterator begin() { return FItems.begin(); }
    std::vector<TsStoredSkin>::iterator end() { return FItems.end(); }
    std::vector<TsStoredSkin>::const_iterator begin() const { return FItems.begin(); }
    std::vector<TsStoredSkin>::const_iterator end() const { return FItems.end(); }
    operator const std::vector<TsStoredSkin>&() const { return FItems; }

private:
    TSkinManagerCore* FOwner;
    std::vector<TsStoredSkin> FItems;
};

struct TSkinManagerHost {
    std::function<void(const std::wstring&)> ShowError;           // the error box of a failed load
    std::function<void(const std::wstring&)> ShowMessage;         // plain information
    std::function<void(const std::wstring&)> ShowWarning;         // a warning box with an OK button
    std::function<bool(const std::wstring&)> HasCommandLineArg;   // argument, compared in lower case
    std::wstring ExeFolder;                                       // the program's folder, ends in "\"
    bool LayeredWindows = false;                                  // the platform can draw form shadows
    TBuiltInShadows BuiltInShadows;                               // "acSHDA" / "acSHDI"
    const rd::TBitmap32* BlurTemplate = nullptr;                  // "BLUR5"
    int SizingFrameWidth = 4;                                     // SM_CXFRAME, default of "FORMOFFSET"
};

enum TSkinningRule : uint8_t { srStdForms = 1, srStdDialogs = 2, srThirdParty = 4 };
enum class TSkinListKind { Internal, External, All };

inline const wchar_t* const kDefaultSkinDirectory = L"c:\\Skins";
inline const wchar_t* const kEngineVersion = L"9.14";

class TSkinManagerCore {
public:
    explicit TSkinManagerCore(TSkinManagerHost host);

    // Notifications around a skin change, in the order they fire.
    std::function<void()> OnBeforeChange, OnSkinLoading, OnActivate, OnAfterChange, OnDeactivate;
    // Fired by the stored skins' Update.
    std::function<void()> OnSkinListChanged;

    // Where the windows take part in a skin change (the platform side fills these in):
    // around every reload, true at its start and false at its end (also when it raises);
    std::function<void(bool reloading)> OnReloading;
    // after the name setter loaded a skin and the manager is still active, before OnActivate;
    std::function<void()> OnSkinApplied;
    // after a tint or shadow change reloaded the active skin;
    std::function<void()> OnSkinReloaded;
    // just before the skin model is freed: the windows let go of it first.
    std::function<void()> OnRemovingSkin;

    TSkinModel& Model() { return *FModel; }
    const TSkinModel& Model() const { return *FModel; }

    const std::wstring& SkinName() const { return FSkinName; }
    void SetSkinName(const std::wstring& name);
    const std::wstring& SkinDirectory() const { return FSkinDirectory; }
    void SetSkinDirectory(const std::wstring& dir) { FSkinDirectory = dir; }
    void DefaultEmptySkinDirectory();
    int HueOffset() const { return FAdjustment.HueOffset; }
    void SetHueOffset(int value);
    int Saturation() const { return FAdjustment.Saturation; }
    void SetSaturation(int value);
    int Brightness() const { return FAdjustment.Brightness; }
    void SetBrightness(int value);  // clamped to -100..100
    bool Active() const { return FActive; }
    void SetActive(bool value);
    // Runs OnRemovingSkin, then frees the skin model (also when OnRemovingSkin raises, which
    // is passed on afterwards).
    void RemoveSkin();
    TsStoredSkins& InternalSkins() { return FInternalSkins; }
    const TsStoredSkins& InternalSkins() const { return FInternalSkins; }
    uint8_t SkinningRules() const { return FSkinningRules; }
    void SetSkinningRules(uint8_t rules) { FSkinningRules = rules; }
    // Extra options text merged into the skin; a change reloads the skin.
    const std::wstring& CommonSections() const { return FCommonSections; }
    void SetCommonSections(const std::wstring& text);

    // Reads as true only when the platform can draw the shadows.
    bool ExtendedBorders() const { return FExtendedBorders && FHost.LayeredWindows; }
    void SetExtendedBorders(bool value);
    const rd::TRect& FormShadowSize() const { return FShadows.Size; }
    const rd::TBitmap32* ShdaTemplate() const { return FShadows.Active.get(); }
    const rd::TBitmap32* ShdiTemplate() const { return FShadows.Inactive.get(); }

    // Options text a skin editor sent for the skin `name`: the next name-setter load of that
    // skin (or reload, while it is the current one) reads it instead of the skin's own, once.
    // Setting another name drops it.
    void SetPreviewOptions(const std::wstring& name, std::wstring text);
    bool HasPreviewOptions() const { return FPreview.has_value(); }

    // While a window description is read, the tint setters only store their values.
    void SetDescriptionLoading(bool loading) { FDescriptionLoading = loading; }
    bool Designing = false;
    bool IsLoadingSkin() const { return FLoadingSkin; }
    bool SkinLoaded() const;  // a skin is active and its model is filled
    std::wstring SkinInfo() const;  // the skin's version ("7.2"), "N/A" without a skin

    std::wstring GetFullSkinDirectory() const;
    std::vector<std::wstring> GetSkinNames(TSkinListKind kind) const;
    std::vector<std::wstring> GetExternalSkinNames() const;
    std::wstring GetRandomSkin() const;  // empty when there is no skin at all

    // Write internal skins' packed data to "<dir><name> extracted.kvp"; errors go to the error box.
    void ExtractInternalSkin(const std::wstring& nameOfSkin, const std::wstring& destDir);
    void ExtractByIndex(int index, const std::wstring& destDir);

    TColor GetGlobalColor() const { return Palette(pcMainColor); }
    TColor GetGlobalFontColor() const { return Palette(pcLabelText); }
    TColor GetActiveEditColor() const { return Palette(pcEditBG); }
    TColor GetActiveEditFontColor() const { return Palette(pcEditText); }
    TColor GetHighLightColor(bool focused) const;
    TColor GetHighLightFontColor(bool focused) const;

private:
    TColor Palette(TacPaletteColors c) const { return FModel->Palette[c]; }
    std::wstring PackedFileName() const;
    std::wstring FolderSkinPath() const;  // the skin's folder in the skin directory, ends in "\"
    bool SkinIsPackedFile() const;
    void Reload();                  // packed file or normal reload, as the name decides
    bool ReloadReportingErrors();   // false when the reload raised (message shown)
    bool Reporting(const std::function<void()>& load);  // false when load raised (message shown)
    void RemoveSkinWhenInactive();  // after a reload that found no skin at all
    void ReportError(const std::wstring& message);
    void ReloadSkin();
    void ReloadInternalSkin();
    void ReloadPackedSkin();
    std::unique_ptr<TSkinModel> NewModel() const;  // empty, with the platform's values
    void LoadModel(const TOptionsFile& options, const TSkinSource& source, const std::wstring& skinPath);
    void CheckVersion(double version);
    void ReapplyTint();
    bool LoadInternalAfterExternalFailed();
    void CheckShadows();
    static void Fire(const std::function<void()>& event);

    TSkinManagerHost FHost;
    std::unique_ptr<TSkinModel> FModel;
    std::wstring FSkinName, FSkinDirectory = kDefaultSkinDirectory, FCommonSections;
    TColorAdjustment FAdjustment;
    bool FActive = true, FDescriptionLoading = false, FLoadingSkin = false, FExtendedBorders = false;
    TFormShadows FShadows;
    uint8_t FSkinningRules = srStdForms | srStdDialogs | srThirdParty;
    TsStoredSkins FInternalSkins{this};
    struct TPreview {
        std::wstring Name, Text;
    };
    std::optional<TPreview> FPreview;
};

}  // namespace sk
