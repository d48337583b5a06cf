#include "skin/SkinModel.h"
#include "skin/acColorAdjust.h"

#include <algorithm>
#include <fstream>

#include "render/sSysColors.h"
#include "skin/acImageDecode.h"
#include "skin/acntUtils.h"

namespace sk {

namespace {

const std::wstring kGlobal = L"GLOBALINFO";

bool Contains(const std::wstring& s, const wchar_t* what) { return s.find(what) != std::wstring::npos; }

std::unique_ptr<rd::TMemBitmap32> DecodeByName(const std::wstring& name, const TBytes& bytes) {
    const std::wstring upper = UpperAscii(name);
    TDecodedImage img = Contains(upper, L".PNG")   ? DecodePng(bytes.data(), bytes.size())
                        : Contains(upper, L".JPG") ? DecodeJpeg(bytes.data(), bytes.size())
                                                   : DecodeBmp(bytes.data(), bytes.size());
    if (!img.Has32Bits) MakeOpaqueExceptKey(*img.Bitmap);
    return std::move(img.Bitmap);
}

// A rectangle of the master bitmap is cut to the bitmap, so that no painter is handed a piece
// past its edge; false when nothing is left, and the value then defines no mask. Cut rather than
// refused: a mask that runs a few pixels over the edge keeps what lies inside, and its state
// frames and default border widths follow the cut size. Without a master bitmap nothing is ever
// drawn from the rectangle and it stays as written.
bool ClipToMasterBitmap(const rd::TBitmap32* master, rd::TRect& r) {
    return !master || rd::ClipToBitmap(*master, r);
}

}  // namespace

// PNG images are prepared for alpha painting when the brightness is not raised.
void PreparePng(rd::TBitmap32& bmp, double version) {
    if (version <= 7.45) return ClearWhiteTransparent(bmp);
    for (int y = 0; y < bmp.Height; ++y) {
        uint32_t* row = bmp.Row(y);
        for (int x = 0; x < bmp.Width; ++x) {
            uint32_t& p = row[x];
            if (p == 0x00FFFFFFu) {
                p = 0;
            } else {
                const uint32_t a = p >> 24;
                p = (((p & 0xFF) * a) >> 8) | (((((p >> 8) & 0xFF) * a) >> 8) << 8) |
                    (((((p >> 16) & 0xFF) * a) >> 8) << 16) | (a << 24);
            }
        }
    }
}

// ---- Loading ----

void TSkinModel::SetSource(const TOptionsFile& options, const TSkinSource& source) {
    FOptions = &options;
    FSource = source;
    SkinIsPacked = source.Package != nullptr;
    FCommon = TOptionsFile::FromText(CommonSections);
}

void TSkinModel::Load(const TOptionsFile& options, const TSkinSource& source) {
    SetSource(options, source);
    LoadAllMasks();
    LoadAllPatterns();
    LoadAllGeneralData();
    InitConstantIndexes();
}

const TBytes* TSkinModel::FindImage(const std::wstring& name, bool compareUpper, TBytes& buffer) const {
    if (FSource.Package) {
        const std::wstring wanted = compareUpper ? UpperAscii(name) : name;
        for (const auto& f : FSource.Package->Files)
            if (UpperAscii(f.FileName) == wanted) return &f.FileStream;
        return nullptr;
    }
    if (FSource.Folder.empty() && !Contains(name, L":")) return nullptr;
    const std::filesystem::path path = Contains(name, L":") ? NativeSkinPath(name) : FSource.Folder / NativeSkinPath(name);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return nullptr;
    std::ifstream in(path, std::ios::binary);
    buffer.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return &buffer;
}

void TSkinModel::LoadMasterBitmap() {
    MasterBitmap.reset();
    const std::wstring name = FOptions->ReadString(kGlobal, L"MASTERBITMAP", L"");
    if (name.empty()) return;
    TBytes buffer;
    if (const TBytes* bytes = FindImage(name, false, buffer)) MasterBitmap = DecodeByName(L".BMP", *bytes);
}

void TSkinModel::LoadAllMasks() {
    ma.clear();
    LoadMasterBitmap();
    for (const auto& section : FOptions->Sections())
        for (const auto& [key, value] : section.Keys)
            if (!(section.Name == kGlobal && key == L"MASTERBITMAP")) AddMask(section.Name, key, value);
    if (!FCommon.Empty()) AddCommonMasks(FCommon);
}

// Bitmap files and rectangle lists of the common sections join the skin's masks.
void TSkinModel::AddCommonMasks(const TOptionsFile& common) {
    for (const auto& section : common.Sections()) {
        if (UpperAscii(section.Name) == kGlobal) continue;
        for (const auto& [key, value] : section.Keys) {
            const auto notation = ParseImageNotation(value);
            if (!notation) continue;
            if (notation->Kind == TNotationKind::BitmapFile ||
                (notation->Kind == TNotationKind::RectList && MasterBitmap))
                AddMask(section.Name, key, value);
        }
    }
}

void TSkinModel::AddMask(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
    auto notation = ParseImageNotation(value);
    if (!notation) return;
    const bool ownImage = notation->Kind == TNotationKind::External || notation->Kind == TNotationKind::BitmapFile;
    std::unique_ptr<rd::TMemBitmap32> bmp;
    rd::TRect r = notation->R;
    if (ownImage) {
        TBytes buffer;
        const TBytes* bytes = FindImage(notation->FileName, false, buffer);
        if (!bytes) return;
        bmp = DecodeByName(notation->FileName, *bytes);
        if (!bmp || bmp->Width == 0) return;
        if (Contains(notation->FileName, L".PNG") && Adjustment.Brightness <= 0)
            PreparePng(*bmp, FOptions->ReadVersion(kGlobal, L"VERSION", 0));
        r = {0, 0, bmp->Width, bmp->Height};
    } else if (!ClipToMasterBitmap(MasterBitmap.get(), r)) {
        return;
    }
    TsMaskData m = MaskFromNotation(*notation, r);
    const bool upperNames = notation->Kind == TNotationKind::BitmapFile || notation->Kind == TNotationKind::RectList;
    m.ClassName = upperNames ? UpperAscii(section) : section;
    m.PropertyName = upperNames ? UpperAscii(key) : key;
    m.Manager = this;
    m.Bmp = std::move(bmp);
    const bool corners = notation->Kind == TNotationKind::External ? m.ImgType == itisaBorder
                                                                   : notation->Kind != TNotationKind::Glyph &&
                                                                         notation->Kind != TNotationKind::Texture;
    if (corners) m.CornerType = DetectCornerType(m, m.Bmp ? m.Bmp.get() : MasterBitmap.get());
    ma.push_back(std::move(m));
}

// Every JPEG image an options text names that can be found and has a width, with its
// upper-cased section and key.
template <class Use> void TSkinModel::ForEachJpeg(const TOptionsFile& options, Use use) const {
    for (const auto& section : options.Sections())
        for (const auto& [key, raw] : section.Keys) {
            const std::wstring value = UpperAscii(raw);
            if (!Contains(value, L".JPG") && !Contains(value, L".JPEG")) continue;
            TBytes buffer;
            const TBytes* bytes = FindImage(value, true, buffer);
            if (!bytes) continue;
            auto img = DecodeByName(L".JPG", *bytes);
            if (img && img->Width > 0) use(UpperAscii(section.Name), UpperAscii(key), std::move(img));
        }
}

void TSkinModel::LoadAllPatterns() {
    pa.clear();
    ForEachJpeg(*FOptions, [this](std::wstring section, std::wstring key, std::unique_ptr<rd::TMemBitmap32> img) {
        if (int64_t(img->Width) * img->Height > 899999) {
            pa.push_back({std::move(img), std::move(section), std::move(key)});
            return;
        }
        TsMaskData m;
        m.R = {0, 0, img->Width, img->Height};
        m.Bmp = std::move(img);
        m.ClassName = std::move(section);
        m.PropertyName = std::move(key);
        m.ImgType = itisaTexture;
        m.ImageCount = 1;
        m.Manager = this;
        ma.push_back(std::move(m));
    });
    // JPEG images of the common sections stay patterns whatever their size.
    if (!FCommon.Empty())
        ForEachJpeg(FCommon,
                    [this](std::wstring section, std::wstring key, std::unique_ptr<rd::TMemBitmap32> img) {
                        pa.push_back({std::move(img), std::move(section), std::move(key)});
                    });
}

// Sections of the common text update the entries of the same name (their keys replace the
// skin's, the others stay) or join the skin, inheriting from their parent section.
void TSkinModel::MergeCommonSections(const TOptionsFile& common) {
    const TOptionsFile merged = FOptions->MergedWith(common);
    const TOptionsFile* own = FOptions;
    FOptions = &merged;
    for (const auto& section : common.Sections()) {
        const int i = GetSkinIndex(section.Name);
        if (i >= 0) gd[static_cast<size_t>(i)] = ReadSection(section.Name);
        else gd.push_back(ReadSection(section.Name));
    }
    FOptions = own;
}

void TSkinModel::LoadAllGeneralData() {
    const TOptionsFile& f = *FOptions;
    auto gi = [&](const wchar_t* key, int def) { return f.ReadInteger(kGlobal, key, def); };
    auto d = std::make_unique<TsSkinData>();
    d->Active = true;
    d->SkinPath = FSource.Package ? std::wstring() : PathText(FSource.Folder);
    d->Version = f.ReadVersion(kGlobal, L"VERSION", 0);
    d->Author = f.ReadString(kGlobal, L"AUTHOR", L"");
    d->Description = f.ReadString(kGlobal, L"DESCRIPTION", L"");
    d->Shadow1Color = gi(L"SHADOW1COLOR", 0);
    d->Shadow1Offset = gi(L"SHADOW1OFFSET", 0);
    d->Shadow1Blur = gi(L"SHADOW1BLUR", -1);
    d->Shadow1Transparency = gi(L"SHADOW1TRANSPARENCY", 0);
    d->ExBorderWidth = gi(L"BORDERWIDTH", 4);
    d->ExTitleHeight = gi(L"TITLEHEIGHT", 30);
    if (d->ExTitleHeight == 0) d->ExTitleHeight = 30;
    d->ExMaxHeight = gi(L"MAXHEIGHT", 0);
    if (d->ExMaxHeight == 0) d->ExMaxHeight = d->ExTitleHeight;
    d->ExContentOffs = gi(L"FORMOFFSET", SizingFrameWidth);
    d->ExCenterOffs = gi(L"CENTEROFFSET", 0);
    d->ExDrawMode = gi(L"BORDERMODE", 0);
    d->ExShadowOffs = gi(L"ALIGNOFFSET", 0);
    d->ExShadowOffsR = gi(L"ALIGNOFFSETR", d->ExShadowOffs);
    d->ExShadowOffsT = gi(L"ALIGNOFFSETT", d->ExShadowOffs);
    d->ExShadowOffsB = gi(L"ALIGNOFFSETB", d->ExShadowOffs);
    d->BISpacing = gi(L"BISPACE", 0);
    d->BIVAlign = gi(L"BIVALIGN", 0);
    d->BIRightMargin = gi(L"BIRIGHT", 0);
    d->BILeftMargin = gi(L"BILEFT", 0);
    d->BITopMargin = gi(L"BITOP", 0);
    d->BIKeepHUE = gi(L"BIKEEPHUE", 0);
    d->BICloseGlow = gi(L"BICONCLOSEGLOW", 0);
    d->BICloseGlowMargin = gi(L"BICONCLOSEGLOWMARGIN", 0);
    d->BIMaxGlow = gi(L"BICONMAXGLOW", 0);
    d->BIMaxGlowMargin = gi(L"BICONMAXGLOWMARGIN", 0);
    d->BIMinGlow = gi(L"BICONMINGLOW", 0);
    d->BIMinGlowMargin = gi(L"BICONMINGLOWMARGIN", 0);
    d->UseAeroBluring = gi(L"AEROBLUR", 0) != 0;
    d->ComboBoxMargin = gi(L"COMBOMARGIN", 2);
    d->BrightMin = gi(L"BRIGHTMIN", -50);
    d->BrightMax = gi(L"BRIGHTMAX", 50);
    d->TabsCovering = f.ReadInteger(L"TABTOP", L"TABSCOVERING", 0);
    d->RibbonCovering = f.ReadInteger(L"RIBBONTAB", L"TABSCOVERING", 0);
    CommonSkinData = std::move(d);

    LoadOuterEffects();

    gd.clear();
    for (const auto& section : f.Sections()) gd.push_back(ReadSection(section.Name));
    if (!FCommon.Empty()) MergeCommonSections(FCommon);
    BuildPalette();
    if (GetSkinIndex(L"TRANSPARENT") < 0) {
        TsGeneralData t;
        t.ClassName = L"TRANSPARENT";
        t.States = 1;
        for (TsGenState& s : t.Props) {
            s = TsGenState{};
            s.Transparency = 100;
            s.FontColor.Color = Palette[pcLabelText];
            s.GradientData.clear();
            s.GlowColor = 0;
        }
        t.OuterMode = 0;
        t.OuterOpacity = 0;
        t.Color = t.HotColor = 0x00FFFFFF;
        t.Transparency = t.HotTransparency = 100;
        t.FontColor = t.HotFontColor = t.Props[0].FontColor;
        t.GlowColor = t.HotGlowColor = 0;
        gd.push_back(std::move(t));
    }
    AdjustSkinColors(*this, Adjustment);
}

void TSkinModel::LoadOuterEffects() {
    oe.assign(2, TacOutEffData{});
    struct Defaults { TColor l, t, r, b; int ol, ot, orr, ob, opacity; } defaults[2] = {
        {0x00FFFFFF, 0, 0x00FFFFFF, 0x00FFFFFF, 2, 2, 2, 4, 200}, {0, 0, 0, 0, 3, 2, 3, 5, 60}};
    const wchar_t* prefixes[2] = {L"LO_", L"SH_"};
    for (int i = 0; i < 2; ++i) {
        const std::wstring p = prefixes[i];
        auto gi = [&](const wchar_t* suffix, int def) { return FOptions->ReadInteger(kGlobal, p + suffix, def); };
        TacOutEffData& e = oe[i];
        const Defaults& df = defaults[i];
        e.ColorL = gi(L"COLORL", df.l);
        e.ColorT = gi(L"COLORT", df.t);
        e.ColorR = gi(L"COLORR", df.r);
        e.ColorB = gi(L"COLORB", df.b);
        e.OffsetL = gi(L"OFFSETL", df.ol);
        e.OffsetT = gi(L"OFFSETT", df.ot);
        e.OffsetR = gi(L"OFFSETR", df.orr);
        e.OffsetB = gi(L"OFFSETB", df.ob);
        e.WidthL = gi(L"WIDTHL", -1);
        e.WidthT = gi(L"WIDTHT", -1);
        e.WidthR = gi(L"WIDTHR", -1);
        e.WidthB = gi(L"WIDTHB", -1);
        e.Opacity = gi(L"OPACITY", df.opacity);
        e.Source = gi(L"SOURCE", 2);
        e.Mask = BuildOuterMask(i, p);
    }
}

int TSkinModel::BuildOuterMask(int index, const std::wstring& prefix) {
    TacOutEffData& e = oe[index];
    const std::wstring key = prefix + L"MASK";
    if (e.Source == 0) return -1;
    if (e.Source == 1) {
        auto value = FOptions->Value(kGlobal, key);
        if (!value || value->empty() || (*value)[0] != L'^') return -1;
        TImageNotation n = *ParseImageNotation(*value);
        rd::TRect r = n.R;
        if (!ClipToMasterBitmap(MasterBitmap.get(), r)) return -1;
        TsMaskData m = MaskFromNotation(n, r);
        m.ClassName = kGlobal;
        m.PropertyName = key;
        m.ImgType = itisaBorder;
        m.Manager = this;
        ma.push_back(std::move(m));
        return static_cast<int>(ma.size()) - 1;
    }
    // Generated from the blur template: coloured sides above, the template below.
    if (!BlurTemplate || BlurTemplate->Width <= 0 || BlurTemplate->Height < BlurTemplate->Width) return -1;
    const int w = BlurTemplate->Width, half = w / 2;
    for (int* width : {&e.WidthL, &e.WidthT, &e.WidthR, &e.WidthB})
        if (*width == -1) *width = half;
    auto bmp = std::make_unique<rd::TMemBitmap32>(w, 2 * w);
    auto pixel = [](TColor c) { return rd::ExchangeRedBlue(static_cast<uint32_t>(rd::ColorToRGB(c))) & 0x00FFFFFFu; };
    for (int y = 0; y < w; ++y)
        for (int x = 0; x < w; ++x) {
            // Triangles (0,1)-(half-1,half)-(0,w-2) and (w-1,1)-(half+1,half)-(w-1,w-2).
            const int reach = std::min(y - 1, w - 2 - y);
            uint32_t v = pixel(y < half ? e.ColorT : e.ColorB);
            if (reach >= 0 && x <= reach) v = pixel(e.ColorL);
            if (reach >= 0 && w - 1 - x <= reach) v = pixel(e.ColorR);
            rd::WritePixel32(*bmp, x, y, v);
            rd::WritePixel32(*bmp, x, w + y, rd::ReadPixel32(*BlurTemplate, x, y));
        }
    TsMaskData m;
    m.Bmp = std::move(bmp);
    m.ClassName = kGlobal;
    m.PropertyName = key;
    m.R = {0, 0, w, 2 * w};
    m.ImageCount = 1;
    m.MaskType = 1;
    m.BorderWidth = m.WL = m.WT = m.WR = m.WB = static_cast<int16_t>(half);
    m.DrawMode = 1;
    m.Manager = this;
    ma.push_back(std::move(m));
    return static_cast<int>(ma.size()) - 1;
}

TsGeneralData TSkinModel::ReadSection(const std::wstring& name) const {
    const TOptionsFile& f = *FOptions;
    auto in = [&](const wchar_t* key, int def, int max = 0x7FFFFFFF) { return f.ReadIntInherited(name, key, def, max); };
    TsGeneralData g;
    g.ClassName = name;
    g.ParentClass = f.ReadString(name, L"PARENTCLASS", L"");
    g.GiveOwnFont = f.ReadBoolInherited(name, L"GIVEOWNFONT", false);
    g.ReservedBoolean = f.ReadBoolInherited(name, L"RESERVEDBOOLEAN", false);
    g.GlowCount = in(L"GLOW", 0, 255);
    g.GlowMargin = in(L"GLOWMARGIN", 0, 255);
    g.States = in(L"STATES", 3, 255);
    g.OuterMode = in(L"OUTERMODE", 2);
    g.OuterOffset = {in(L"OUTOFFSL", 0, 255), in(L"OUTOFFST", 0, 255), in(L"OUTOFFSR", 0, 255), in(L"OUTOFFSB", 0, 255)};
    g.OuterOpacity = in(L"OUTOPACITY", 200, 255);

    auto readState = [&](TsGenState& s, const std::wstring& p) {
        auto key = [&](const wchar_t* k) { return p + k; };
        auto rd = [&](const wchar_t* k, int def, int max) { return f.ReadIntInherited(name, key(k), def, max); };
        s.Color = rd(L"COLOR", 0x00FFFFFF, 0x7FFFFFFF);
        s.FontColor = {rd(L"FONTCOLOR", 0, 0x7FFFFFFF), rd(L"TCLEFT", -1, 0x7FFFFFFF), rd(L"TCTOP", -1, 0x7FFFFFFF),
                       rd(L"TCRIGHT", -1, 0x7FFFFFFF), rd(L"TCBOTTOM", -1, 0x7FFFFFFF)};
        s.GradientPercent = rd(L"GRADIENTPERCENT", 0, 100);
        s.GradientData = f.ReadStringInherited(name, key(L"GRADIENTDATA"), L" ");
        s.ImagePercent = rd(L"IMAGEPERCENT", 0, 100);
        s.GlowColor = f.ReadIntInherited(name, p.empty() ? L"GCOL" : L"HGCOL", 0x00FFFFFF, 0x7FFFFFFF);
        s.GlowSize = f.ReadIntInherited(name, p.empty() ? L"GSIZE" : L"HGSIZE", 0, 255);
        s.Transparency = rd(L"TRANSPARENCY", 0, 100);
    };
    // A gradient text too short to hold a gradient turns the state's gradient off.
    auto parseGradient = [](TsGenState& s, size_t minLength) {
        if (s.GradientData.size() < minLength)
            s.GradientPercent = 0;
        else
            ParseGradientData(s.GradientData, s.GradientArray);
    };
    readState(g.Props[0], L"");
    parseGradient(g.Props[0], 2);
    if (g.States < 2)
        g.Props[1] = g.Props[0];
    else
        readState(g.Props[1], L"HOT");
    parseGradient(g.Props[1], 6);  // also for a hot state copied from the normal one

    CopyStatesToFields(g);
    return g;
}

void CopyStatesToFields(TsGeneralData& g) {
    const TsGenState &n = g.Props[0], &h = g.Props[1];
    g.Color = n.Color;
    g.Transparency = n.Transparency;
    g.GradientPercent = n.GradientPercent;
    g.GradientData = n.GradientData;
    g.GradientArray = n.GradientArray;
    g.ImagePercent = n.ImagePercent;
    g.FontColor = n.FontColor;
    g.HotColor = h.Color;
    g.HotTransparency = h.Transparency;
    g.HotGradientPercent = h.GradientPercent;
    g.HotGradientData = h.GradientData;
    g.HotGradientArray = h.GradientArray;
    g.HotImagePercent = h.ImagePercent;
    g.HotFontColor = h.FontColor;
    g.GlowColor = n.GlowColor;
    g.HotGlowColor = h.GlowColor;
    g.GlowSize = n.GlowSize;
    g.HotGlowSize = h.GlowSize;
}

void TSkinModel::BuildPalette() {
    const TOptionsFile& f = *FOptions;
    auto gi = [&](const wchar_t* key, int def) { return f.ReadInteger(kGlobal, key, def); };
    TacPaletteArray& p = Palette;
    p[pcMainColor] = gi(L"COLOR", rd::ColorToRGB(rd::clBtnFace));
    p[pcLabelText] = gi(L"FONTCOLOR", 0);
    p[pcWebText] = gi(L"TCBOTTOM", 0x00FF0000);
    p[pcWebTextHot] = gi(L"TCTOP", 0x000000FF);
    p[pcBorder] = gi(L"BORDERCOLOR", 0);
    const int edit = GetSkinIndex(L"EDIT");
    p[pcEditText] = edit >= 0 ? rd::ColorToRGB(gd[edit].Props[0].FontColor.Color) : rd::ColorToRGB(rd::clWindowText);
    p[pcEditBG] = edit >= 0 ? rd::ColorToRGB(gd[edit].Props[0].Color) : rd::ColorToRGB(rd::clWindow);

    const int sel = GetSkinIndex(L"SELECTION");
    if (sel >= 0) {
        const TsGenState& hot = gd[sel].Props[gd[sel].States < 2 ? 0 : 1];
        p[pcSelectionText_Focused] = hot.FontColor.Color;
        p[pcSelectionBG_Focused] = hot.Color;
        p[pcSelectionText] = gd[sel].Props[0].FontColor.Color;
        p[pcSelectionBG] = gd[sel].Props[0].Color;
    } else {
        p[pcSelectionText_Focused] = p[pcSelectionBG_Focused] = p[pcSelectionText] = p[pcSelectionBG] = -1;
    }
    if (p[pcSelectionText] == -1 || p[pcSelectionText] == rd::clMagenta) {
        const int item = GetSkinIndex(L"MENUITEM");
        if (item >= 0) {
            p[pcSelectionText] = gd[item].Props[1].FontColor.Color;
            p[pcSelectionBG] = p[pcSelectionBG_Focused] = gd[item].Props[1].Color;
            p[pcSelectionText] = p[pcSelectionText] == -1 || p[pcSelectionText] == rd::clMagenta
                                     ? rd::clHighlightText
                                     : rd::ColorToRGB(p[pcSelectionText]);
            p[pcSelectionText_Focused] = p[pcSelectionText];
        } else {
            p[pcSelectionText] = p[pcSelectionText_Focused] = rd::ColorToRGB(rd::clHighlightText);
            p[pcSelectionBG] = p[pcSelectionBG_Focused] = rd::ColorToRGB(rd::clHighlight);
        }
    }
    p[pcEditText_Ok] = gi(L"EDITTEXT_OK", 0x00008000);
    p[pcEditText_Warning] = gi(L"EDITTEXT_WARN", 0x00008484);
    p[pcEditText_Alert] = gi(L"EDITTEXT_ALERT", 0x000000FF);
    p[pcEditText_Caution] = gi(L"EDITTEXT_ALERT", 0x008597D9);
    p[pcEditText_Bypassed] = gi(L"EDITTEXT_ALERT", 0x004AB28F);
    p[pcEditBG_Ok] = gi(L"EDITBG_OK", 0x006CC2A5);
    p[pcEditBG_Warning] = gi(L"EDITBG_WARN", 0x0040FFFF);
    p[pcEditBG_Alert] = gi(L"EDITBG_ALERT", 0x0095A7E9);
    p[pcEditBG_Caution] = gi(L"EDITBG_ALERT", 0x008597D9);
    p[pcEditBG_Bypassed] = gi(L"EDITBG_ALERT", 0x004AB28F);
    p[pcEditText_Highlight1] = gi(L"EDITTEXT_H1", 0);
    p[pcEditText_Highlight2] = gi(L"EDITTEXT_H2", 0);
    p[pcEditText_Highlight3] = gi(L"EDITTEXT_H3", 0);
    p[pcEditText_Inverted] = gi(L"EDITTEXT_INV", p[pcEditBG]);
    p[pcEditBG_Inverted] = gi(L"EDITBG_INV", p[pcEditText]);
    p[pcEditBG_OddRow] = gi(L"EDITBG_ODD", p[pcEditBG]);
    p[pcEditBG_EvenRow] = gi(L"EDITBG_EVEN", static_cast<TColor>(rd::InterpolateColor(
                                                  static_cast<uint32_t>(p[pcEditText]), static_cast<uint32_t>(p[pcEditBG]), 0.05)));
}

// ---- Lookups ----

int TSkinModel::GetSkinIndex(std::wstring_view section) const {
    if (section.empty()) return -1;
    for (size_t i = 0; i < gd.size(); ++i)
        if (gd[i].ClassName == section) return static_cast<int>(i);
    return -1;
}

template <typename List, typename Match>
int TSkinModel::FindWithParent(const List& list, int skinIndex, std::wstring_view section, std::wstring_view key,
                               Match match) const {
    std::wstring name(section);
    for (int depth = 0; depth <= kMaxParentDepth; ++depth) {
        if (skinIndex < 0 || name.empty()) return -1;
        for (size_t i = 0; i < list.size(); ++i)
            if (match(list[i]) && list[i].ClassName == name && list[i].PropertyName == key) return static_cast<int>(i);
        if (skinIndex >= static_cast<int>(gd.size())) return -1;
        const std::wstring& parent = gd[skinIndex].ParentClass;
        if (parent.empty() || parent == name) return -1;
        name = parent;
        skinIndex = GetSkinIndex(name);
    }
    return -1;
}

int TSkinModel::GetMaskIndex(int skinIndex, std::wstring_view section, std::wstring_view key) const {
    return FindWithParent(ma, skinIndex, section, key, [](const TsMaskData&) { return true; });
}

int TSkinModel::GetMaskIndex(std::wstring_view section, std::wstring_view key) const {
    for (size_t i = 0; i < ma.size(); ++i)
        if (ma[i].ClassName == section && ma[i].PropertyName == key) return static_cast<int>(i);
    return -1;
}

int TSkinModel::GetPatternIndex(int skinIndex, std::wstring_view section, std::wstring_view key) const {
    return FindWithParent(pa, skinIndex, section, key, [](const TsPatternData&) { return true; });
}

int TSkinModel::GetTextureIndex(int skinIndex, std::wstring_view section, std::wstring_view key) const {
    return FindWithParent(ma, skinIndex, section, key, [](const TsMaskData& m) { return m.ImgType == itisaTexture; });
}

bool TSkinModel::IsValidSkinIndex(int index) const {
    return CommonSkinData && index >= 0 && index < static_cast<int>(gd.size());
}

int TSkinModel::MaskWidthLeft(int i) const {
    if (!IsValidImgIndex(i)) return 0;
    const TsMaskData& m = ma[i];
    if (m.WL > 0) return m.WL;
    if (m.BorderWidth > 0) return m.BorderWidth;
    const int count = m.ImageCount == 0 ? 1 : m.ImageCount;
    return m.R.Width() / count;
}

int TSkinModel::MaskWidthRight(int i) const {
    if (!IsValidImgIndex(i)) return 0;
    const TsMaskData& m = ma[i];
    return m.WR > 0 ? m.WR : m.BorderWidth > 0 ? m.BorderWidth : MaskImageWidth(m);
}

int TSkinModel::MaskWidthTop(int i) const {
    if (!IsValidImgIndex(i)) return 0;
    const TsMaskData& m = ma[i];
    return m.WT > 0 ? m.WT : m.BorderWidth > 0 ? m.BorderWidth : MaskImageHeight(m);
}

int TSkinModel::MaskWidthBottom(int i) const {
    if (!IsValidImgIndex(i)) return 0;
    const TsMaskData& m = ma[i];
    return m.WB > 0 ? m.WB : m.BorderWidth > 0 ? m.BorderWidth : MaskImageHeight(m);
}

// ---- Constant indexes ----

void TSkinModel::LookUpElement(TacConstElementData& e) const {
    e.SkinIndex = GetSkinIndex(e.SkinSection);
    e.MaskIndex = GetMaskIndex(e.SkinIndex, e.SkinSection, L"BORDERSMASK");
    e.GlyphIndex = GetMaskIndex(e.SkinIndex, e.SkinSection, L"GLYPHMASK");
    e.BGIndex[0] = GetMaskIndex(e.SkinIndex, e.SkinSection, L"PATTERN");
    e.BGIndex[1] = GetMaskIndex(e.SkinIndex, e.SkinSection, L"HOTPATTERN");
}

void TSkinModel::InitConstantIndexes() {
    TConstantSkinData& c = ConstData;
    c.IndexGLobalInfo = GetSkinIndex(kGlobal);
    auto global = [&](const wchar_t* key) { return GetMaskIndex(c.IndexGLobalInfo, kGlobal, key); };
    c.CheckBoxChecked = global(L"BOXCHECKED");
    c.CheckBoxUnChecked = global(L"BOXUNCHECKED");
    c.CheckBoxGrayed = global(L"BOXGRAYED");
    c.RadioButtonChecked = global(L"RADIOCHECKED");
    c.RadioButtonUnChecked = global(L"RADIOUNCHECKED");
    c.RadioButtonGrayed = global(L"RADIOGRAYED");
    c.SmallCheckBoxChecked = global(L"SMALLCHECKED");
    c.SmallCheckBoxUnChecked = global(L"SMALLUNCHECKED");
    c.SmallCheckBoxGrayed = global(L"SMALLGRAYED");
    c.ExBorder = global(L"EXBORDER");
    c.GripRightBottom = global(L"GRIPIMAGE");
    c.GripHorizontal = global(L"GRIPHORZ");
    c.GripVertical = global(L"GRIPVERT");

    c.ComboBtn.SkinSection = L"COMBOBTN";
    LookUpElement(c.ComboBtn);
    c.ComboBtn.GlyphIndex = GetMaskIndex(L"COMBOBOX", L"GLYPHMASK");

    auto sides = [&](TacSideElements& list, std::array<const wchar_t*, 4> names) {
        for (int i = 0; i < 4; ++i) {
            list[i].SkinSection = names[i];
            LookUpElement(list[i]);
        }
    };
    sides(c.Tabs, {L"TABLEFT", L"TABTOP", L"TABRIGHT", L"TABBOTTOM"});
    sides(c.ScrollBtns, {L"SCROLLBTNLEFT", L"SCROLLBTNTOP", L"SCROLLBTNRIGHT", L"SCROLLBTNBOTTOM"});
    c.Sliders[0].SkinSection = L"SCROLLSLIDERH";
    c.Sliders[1].SkinSection = L"SCROLLSLIDERV";
    for (auto& e : c.Sliders) LookUpElement(e);
    sides(c.Scrolls, {L"SCROLLBAR1H", L"SCROLLBAR1V", L"SCROLLBAR2H", L"SCROLLBAR2V"});

    c.MaskCloseBtn = global(L"BICONCLOSE");
    c.MaskCloseAloneBtn = global(L"BICLOSEALONE");
    c.MaskMaxBtn = global(L"BICONMAX");
    c.MaskNormBtn = global(L"BICONNORM");
    c.MaskMinBtn = global(L"BICONMIN");
    c.MaskHelpBtn = global(L"BICONHELP");
    c.MaskCloseSmall = global(L"SICONCLOSE");
    c.MaskMaxSmall = global(L"SICONMAX");
    c.MaskNormSmall = global(L"SICONNORM");
    c.MaskMinSmall = global(L"SICONMIN");
    c.MaskHelpSmall = global(L"SICONHELP");

    const wchar_t* sections[] = {L"MENUITEM", L"TOOLBUTTON", L"CHECKBOX", L"TRANSPARENT", L"GROUPBOX", L"WEBBUTTON"};
    for (int i = 0; i < 6; ++i) c.Sections[i] = GetSkinIndex(sections[i]);

    InitMaskIndexes();
    // The manager's shadow check follows here once the manager is built.
}

void TSkinModel::InitMaskIndexes() {
    for (int i = 0; i < static_cast<int>(gd.size()); ++i) {
        if (i == ConstData.IndexGLobalInfo) continue;
        TsGeneralData& g = gd[i];
        const std::wstring& s = g.ClassName;
        g.BorderIndex = GetMaskIndex(i, s, L"BORDERSMASK");
        g.OuterMask = GetMaskIndex(i, s, L"OUTERMASK");
        g.ImgTL = GetMaskIndex(i, s, L"IMGTOPLEFT");
        g.ImgTR = GetMaskIndex(i, s, L"IMGTOPRIGHT");
        g.ImgBL = GetMaskIndex(i, s, L"IMGBTMLEFT");
        g.ImgBR = GetMaskIndex(i, s, L"IMGBTMRIGHT");
        g.TextureNormal = g.Props[0].TextureIndex = GetTextureIndex(i, s, L"PATTERN");
        if (g.States > 1) g.Props[1].TextureIndex = GetTextureIndex(i, s, L"HOTPATTERN");
    }
}

}  // namespace sk
