// The in-memory skin model: skin-wide values, one general-data record per section, masks,
// patterns, outer effects, palette, master bitmap and constant indexes; its three loaders
// and the lookups controls use.
#pragma once
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "render/sGraphUtils.h"
#include "skin/GradientData.h"
#include "skin/OptionsFile.h"
#include "skin/acSkinPack.h"
#include "skin/sConst.h"
#include "skin/sMaskData.h"

namespace sk {

using rd::TColor;

struct TsSkinData {
    bool Active = false;
    std::wstring SkinPath;
    double Version = 0;
    std::wstring Author, Description;
    TColor Shadow1Color = 0;
    int Shadow1Offset = 0, Shadow1Blur = -1, Shadow1Transparency = 0;
    int ExBorderWidth = 4, ExTitleHeight = 30, ExMaxHeight = 0, ExContentOffs = 0, ExCenterOffs = 0,
        ExDrawMode = 0, ExShadowOffs = 0, ExShadowOffsR = 0, ExShadowOffsT = 0, ExShadowOffsB = 0;
    TColor FXColor = 0;
    int BISpacing = 0, BIVAlign = 0, BIRightMargin = 0, BILeftMargin = 0, BITopMargin = 0, BIKeepHUE = 0;
    int BICloseGlow = 0, BICloseGlowMargin = 0, BIMaxGlow = 0, BIMaxGlowMargin = 0, BIMinGlow = 0,
        BIMinGlowMargin = 0;
    bool UseAeroBluring = false;
    int ComboBoxMargin = 2, BrightMin = -50, BrightMax = 50, TabsCovering = 0, RibbonCovering = 0;
};

struct TsFontColor {
    TColor Color = 0;
    TColor Left = -1, Top = -1, Right = -1, Bottom = -1;  // -1: no contour on that side
};

struct TsGenState {
    TColor Color = 0x00FFFFFF;
    TsFontColor FontColor;
    int GradientPercent = 0;
    std::wstring GradientData = L" ";
    TsGradArray GradientArray;
    int ImagePercent = 0;
    int TextureIndex = -1;
    TColor GlowColor = 0x00FFFFFF;
    int GlowSize = 0;
    int Transparency = 0;
};

struct TsGeneralData {
    std::wstring ParentClass, ClassName;
    int States = 3;
    TsGenState Props[2];
    bool GiveOwnFont = false, ReservedBoolean = false;
    int GlowCount = 0, GlowMargin = 0;
    int BorderIndex = -1, ImgTL = -1, ImgTR = -1, ImgBL = -1, ImgBR = -1, TextureNormal = -1;
    // Copies of Props[0] / Props[1].
    TColor Color = 0x00FFFFFF;
    int Transparency = 0, GradientPercent = 0;
    std::wstring GradientData;
    TsGradArray GradientArray;
    int ImagePercent = 0;
    TsFontColor FontColor;
    TColor HotColor = 0x00FFFFFF;
    int HotTransparency = 0, HotGradientPercent = 0;
    std::wstring HotGradientData;
    TsGradArray HotGradientArray;
    int HotImagePercent = 0;
    TsFontColor HotFontColor;
    bool FadingEnabled = false;
    int FadingIterations = 0;
    TColor HotGlowColor = 0x00FFFFFF, GlowColor = 0x00FFFFFF;
    int HotGlowSize = 0, GlowSize = 0;
    int OuterMode = 2;
    rd::TRect OuterOffset;
    int OuterMask = -1;
    int OuterOpacity = 200;
};

struct TsPatternData {
    std::unique_ptr<rd::TMemBitmap32> Img;
    std::wstring ClassName, PropertyName;
};

struct TacOutEffData {
    TColor ColorL = 0, ColorT = 0, ColorR = 0, ColorB = 0;
    int OffsetL = 0, OffsetT = 0, OffsetR = 0, OffsetB = 0;
    int WidthL = -1, WidthT = -1, WidthR = -1, WidthB = -1;
    int Opacity = 0, Source = 2, Mask = -1;
};

// Where the images come from: a package's Files, or a skin folder.
struct TSkinSource {
    const TacSkinConvertor* Package = nullptr;
    std::filesystem::path Folder;
};

// The manager's tint, applied at the end of every general-data load.
struct TColorAdjustment {
    int HueOffset = 0;
    int Saturation = 0;  // percent
    int Brightness = 0;  // -100..100
};

// Fills the copies (Color ... HotGlowSize) from Props[0] and Props[1].
void CopyStatesToFields(TsGeneralData& g);
// Prepares a PNG image for alpha painting (0x00FFFFFF to 0; newer skins premultiplied).
void PreparePng(rd::TBitmap32& bmp, double version);

class TSkinModel {
public:
    std::unique_ptr<TsSkinData> CommonSkinData;
    std::vector<TsMaskData> ma;
    std::vector<TsPatternData> pa;
    std::vector<TsGeneralData> gd;
    std::vector<TacOutEffData> oe;
    TConstantSkinData ConstData;
    std::unique_ptr<rd::TMemBitmap32> MasterBitmap;
    bool SkinIsPacked = false;
    TacPaletteArray Palette{};

    // Settings the platform side provides.
    TColorAdjustment Adjustment;                  // the manager's tint (its brightness also steers PNG preparation)
    int SizingFrameWidth = 4;                     // SM_CXFRAME, default of "FORMOFFSET"
    const rd::TBitmap32* BlurTemplate = nullptr;  // the "BLUR5" template of generated outer masks
    std::wstring CommonSections;                  // extra options text merged into every skin

    // The whole load: the three loaders in order, then the constant indexes.
    void Load(const TOptionsFile& options, const TSkinSource& source);
    // What the loaders below read, with CommonSections parsed; Load sets it. The options must
    // outlive the loads.
    void SetSource(const TOptionsFile& options, const TSkinSource& source);
    void LoadAllMasks();
    void LoadAllPatterns();
    void LoadAllGeneralData();
    void InitConstantIndexes();
    void InitMaskIndexes();

    // Lookups (exact, case-sensitive names; -1 for none).
    int GetSkinIndex(std::wstring_view section) const;
    int GetMaskIndex(int skinIndex, std::wstring_view section, std::wstring_view key) const;
    int GetMaskIndex(std::wstring_view section, std::wstring_view key) const;
    int GetPatternIndex(int skinIndex, std::wstring_view section, std::wstring_view key) const;
    int GetTextureIndex(int skinIndex, std::wstring_view section, std::wstring_view key) const;
    bool IsValidSkinIndex(int index) const;
    bool IsValidImgIndex(int index) const { return index >= 0 && index < static_cast<int>(ma.size()); }
    int MaskWidthLeft(int maskIndex) const;
    int MaskWidthTop(int maskIndex) const;
    int MaskWidthRight(int maskIndex) const;
    int MaskWidthBottom(int maskIndex) const;

private:
    // nullptr when the image cannot be found; folder files are read into buffer.
    const TBytes* FindImage(const std::wstring& name, bool compareUpper, TBytes& buffer) const;
    void AddMask(const std::wstring& section, const std::wstring& key, const std::wstring& value);
    void LoadMasterBitmap();
    void AddCommonMasks(const TOptionsFile& common);
    template <class Use> void ForEachJpeg(const TOptionsFile& options, Use use) const;
    void MergeCommonSections(const TOptionsFile& common);
    void LoadOuterEffects();
    int BuildOuterMask(int index, const std::wstring& prefix);
    TsGeneralData ReadSection(const std::wstring& name) const;
    void BuildPalette();
    void LookUpElement(TacConstElementData& e) const;
    template <typename List, typename Match>
    int FindWithParent(const List& list, int skinIndex, std::wstring_view section, std::wstring_view key,
                       Match match) const;

    const TOptionsFile* FOptions = nullptr;
    TOptionsFile FCommon;  // CommonSections, parsed once per load
    TSkinSource FSource;
};

}  // namespace sk
