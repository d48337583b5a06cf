// The skin model built from small skins made in the test: loaders, lookups, indexes, palette.
#include <gtest/gtest.h>
#include <png.h>

#include "skin/SkinError.h"
#include "skin/SkinModel.h"
#include "skin/acColorAdjust.h"
#include "skin/acImageDecode.h"

using namespace sk;

namespace {

void Put(TBytes& b, uint32_t v, int n) {
    for (int i = 0; i < n; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// A 24-bit bottom-up bitmap, every pixel `fill` (0xRRGGBB) except `marks` (x, y) in magenta.
TBytes Bmp24(int w, int h, uint32_t fill, std::vector<std::pair<int, int>> marks = {}) {
    const int row = (w * 3 + 3) & ~3;
    TBytes b{'B', 'M'};
    Put(b, 54 + row * h, 4);
    Put(b, 0, 4);
    Put(b, 54, 4);
    Put(b, 40, 4);
    Put(b, w, 4);
    Put(b, h, 4);
    Put(b, 1, 2);
    Put(b, 24, 2);
    for (int i = 0; i < 6; ++i) Put(b, 0, 4);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            bool magenta = std::find(marks.begin(), marks.end(), std::make_pair(x, y)) != marks.end();
            Put(b, magenta ? 0xFF00FF : fill, 3);
        }
        for (int p = w * 3; p < row; ++p) b.push_back(0);
    }
    return b;
}

TBytes Png(int w, int h, uint32_t bgra) {
    std::vector<uint32_t> px(w * h, bgra);
    png_image img{};
    img.version = PNG_IMAGE_VERSION;
    img.width = w;
    img.height = h;
    img.format = PNG_FORMAT_BGRA;
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&img, nullptr, &size, 0, px.data(), 0, nullptr);
    TBytes out(size);
    png_image_write_to_memory(&img, out.data(), &size, 0, px.data(), 0, nullptr);
    return out;
}

TBytes Text(const std::wstring& s) { return TBytes(s.begin(), s.end()); }

const wchar_t* const kOptions =
    L"[GLOBALINFO]\n"
    L"MASTERBITMAP=MASTER.BMP\n"
    L"VERSION=7.20\n"
    L"BISPACE=-1\n"
    L"TITLEHEIGHT=0\n"
    L"EDITTEXT_ALERT=255\n"
    L"BOXCHECKED=@0000@0000@0045@0015@3@0\n"
    L"BICONCLOSE=!CLOSE.PNG!3!0!2\n"
    L"[EDIT]\n"
    L"COLOR=-16777201\n"
    L"FONTCOLOR=65280\n"
    L"BORDERSMASK=^0000^0020^0030^0030^0000^0000^0000^0000^1^0^1^0\n"
    L"GRADIENTDATA=N/A\n"
    L"GRADIENTPERCENT=100\n"
    L"[MEMO]\n"
    L"PARENTCLASS=EDIT\n"
    L"STATES=1\n"
    L"HOTCOLOR=255\n"
    L"[BUTTON_HUGE]\n"
    L"BORDERSMASK=!HUGE.BMP!3!0!0!0031!0031!0031!0031!5\n"
    L"[COMBOBOX]\n"
    L"GLYPHMASK=@0030@0000@0040@0010@1@0\n"
    L"[SPEEDBUTTON]\n"
    L"BORDERSMASK=^0000^0000^0030^0020^0002^0002^0002^0002^1^0^1^0\n"
    L"[SPEEDBUTTON_SMALL]\n"
    L"PARENTCLASS=SPEEDBUTTON\n"
    L"BORDERSMASK=^0000^0000^0010^0010^0001^0001^0001^0001^1^0^1^0\n"
    L"[TOOLBUTTON]\n"
    L"PARENTCLASS=SPEEDBUTTON\n";

struct Fixture {
    TacSkinConvertor pack;
    TOptionsFile options;
    TSkinModel model;
    explicit Fixture(const wchar_t* text = kOptions) {
        // Magenta at (1, 21): inside the top-left corner box of EDIT's border mask.
        pack.Files.push_back({L"Master.bmp", true, Bmp24(60, 40, 0x336699, {{1, 21}})});
        pack.Files.push_back({L"Huge.bmp", true, Bmp24(93, 40, 0x112233)});
        pack.Files.push_back({L"Close.png", false, Png(30, 10, 0x80FFFFFF)});
        options = TOptionsFile::FromText(text);
        model.Load(options, {&pack, {}});
    }
};

}  // namespace

TEST(SkinModel, MasksInFileOrderWithCornerTypes) {
    Fixture f;
    TSkinModel& m = f.model;
    ASSERT_TRUE(m.MasterBitmap);
    EXPECT_EQ(rd::ReadPixel32(*m.MasterBitmap, 0, 0), 0xFF336699u);  // 24-bit source made opaque
    EXPECT_EQ(rd::ReadPixel32(*m.MasterBitmap, 1, 21), 0x00FF00FFu);  // except the key
    ASSERT_EQ(m.ma.size(), 7u);
    EXPECT_EQ(m.ma[0].PropertyName, L"BOXCHECKED");
    EXPECT_EQ(m.ma[1].PropertyName, L"BICONCLOSE");
    EXPECT_EQ(m.ma[1].ImgType, itisaGlyph);
    EXPECT_EQ(m.ma[1].R.Right, 30);
    // A skin of version 7.20 (not above 7.45): PNG pixels are not premultiplied.
    EXPECT_EQ(rd::ReadPixel32(*m.ma[1].Bmp, 0, 0), 0x80FFFFFFu);
    EXPECT_EQ(m.ma[2].ClassName, L"EDIT");
    EXPECT_EQ(m.ma[2].CornerType, 1);
    EXPECT_EQ((std::vector<int>{m.ma[2].WL, m.ma[2].WT}), (std::vector<int>{10, 3}));
    EXPECT_EQ(m.ma[3].ClassName, L"BUTTON_HUGE");
    EXPECT_EQ(m.ma[3].CornerType, 2);
    EXPECT_EQ(m.ma[5].CornerType, 0);
}

TEST(SkinModel, GeneralDataInheritanceAndStates) {
    Fixture f;
    TSkinModel& m = f.model;
    const int edit = m.GetSkinIndex(L"EDIT"), memo = m.GetSkinIndex(L"MEMO");
    ASSERT_GE(edit, 0);
    ASSERT_GE(memo, 0);
    EXPECT_EQ(m.gd[edit].Color, -16777201);      // own system colour kept
    EXPECT_EQ(m.gd[memo].Color, 0x00F0F0F0);     // inherited: resolved
    EXPECT_EQ(m.gd[memo].HotColor, 0x00F0F0F0);  // one state: HOTCOLOR ignored
    EXPECT_EQ(m.gd[memo].ParentClass, L"EDIT");
    EXPECT_EQ(m.gd[edit].GradientPercent, 100);  // "N/A" is long enough, parses to nothing
    EXPECT_TRUE(m.gd[edit].GradientArray.empty());
    EXPECT_EQ(m.gd[edit].HotGradientPercent, 0);
    const int global = m.GetSkinIndex(L"GLOBALINFO");
    EXPECT_EQ(m.gd[global].Color, 0x00FFFFFF);
    EXPECT_EQ(m.CommonSkinData->BISpacing, -1);
    EXPECT_EQ(m.CommonSkinData->ExTitleHeight, 30);
    EXPECT_EQ(m.CommonSkinData->ExMaxHeight, 30);
    EXPECT_DOUBLE_EQ(m.CommonSkinData->Version, 7.2);
    // TRANSPARENT is added last.
    const int t = m.GetSkinIndex(L"TRANSPARENT");
    EXPECT_EQ(t, static_cast<int>(m.gd.size()) - 1);
    EXPECT_EQ(m.gd[t].Transparency, 100);
    EXPECT_EQ(m.gd[t].States, 1);
}

TEST(SkinModel, LookupsWithParentFallback) {
    Fixture f;
    TSkinModel& m = f.model;
    const int small = m.GetSkinIndex(L"SPEEDBUTTON_SMALL"), tool = m.GetSkinIndex(L"TOOLBUTTON");
    EXPECT_EQ(m.GetMaskIndex(small, L"SPEEDBUTTON_SMALL", L"BORDERSMASK"), 6);
    EXPECT_EQ(m.GetMaskIndex(tool, L"TOOLBUTTON", L"BORDERSMASK"), 5);  // the parent's
    EXPECT_EQ(m.GetMaskIndex(L"TOOLBUTTON", L"BORDERSMASK"), -1);       // no fallback
    EXPECT_EQ(m.gd[tool].BorderIndex, 5);
    EXPECT_EQ(m.GetMaskIndex(-1, L"EDIT", L"BORDERSMASK"), -1);
    EXPECT_EQ(m.GetTextureIndex(tool, L"TOOLBUTTON", L"BORDERSMASK"), -1);
    EXPECT_EQ(m.GetSkinIndex(L""), -1);
    EXPECT_EQ(m.GetSkinIndex(L"edit"), -1);
    EXPECT_TRUE(m.IsValidSkinIndex(0));
    EXPECT_FALSE(m.IsValidSkinIndex(static_cast<int>(m.gd.size())));
    // Widths: own, else border width, else one image.
    EXPECT_EQ(m.MaskWidthLeft(6), 1);
    EXPECT_EQ(m.MaskWidthLeft(0), 0 + 15);  // glyph: no widths, image 45 / 3
    EXPECT_EQ(m.MaskWidthTop(0), 15);
}

TEST(SkinModel, ConstantIndexesAndPalette) {
    Fixture f;
    TSkinModel& m = f.model;
    const TConstantSkinData& c = m.ConstData;
    EXPECT_EQ(c.IndexGLobalInfo, 0);
    EXPECT_EQ(c.CheckBoxChecked, 0);
    EXPECT_EQ(c.MaskCloseBtn, 1);
    EXPECT_EQ(c.RadioButtonGrayed, -1);
    EXPECT_EQ(c.MaskHelpSmall, -1);
    EXPECT_EQ(c.ComboBtn.SkinIndex, -1);
    EXPECT_EQ(c.ComboBtn.GlyphIndex, 4);
    EXPECT_EQ(c.Sections[ssToolButton], m.GetSkinIndex(L"TOOLBUTTON"));
    EXPECT_EQ(c.Sections[ssTransparent], m.GetSkinIndex(L"TRANSPARENT"));
    EXPECT_EQ(m.Palette[pcEditText], 65280);
    EXPECT_EQ(m.Palette[pcEditBG], 0x00F0F0F0);
    EXPECT_EQ(m.Palette[pcEditText_Alert], 255);
    EXPECT_EQ(m.Palette[pcEditText_Caution], 255);
    EXPECT_EQ(m.Palette[pcEditText_Bypassed], 255);
    EXPECT_EQ(m.Palette[pcSelectionBG], rd::ColorToRGB(rd::clHighlight));
    EXPECT_EQ(m.Palette[pcEditBG_EvenRow], static_cast<int>(rd::InterpolateColor(65280, 0x00F0F0F0, 0.05)));
}

TEST(SkinModel, NewerSkinsPremultiplyPngImages) {
    std::wstring text = kOptions;
    text.replace(text.find(L"VERSION=7.20"), 12, L"VERSION=7.50");
    Fixture f(text.c_str());
    EXPECT_EQ(rd::ReadPixel32(*f.model.ma[1].Bmp, 0, 0), 0x807F7F7Fu);  // 255 * 128 >> 8
}

TEST(SkinModel, WithoutGlobalInfoAndDefaults) {
    Fixture f(L"[X]\nCOLOR=1\n");
    TSkinModel& m = f.model;
    EXPECT_FALSE(m.MasterBitmap);
    EXPECT_EQ(m.ConstData.IndexGLobalInfo, -1);
    EXPECT_EQ(m.ConstData.CheckBoxChecked, -1);
    EXPECT_EQ(m.ConstData.GripVertical, -1);
    EXPECT_EQ(m.Palette[pcEditText_Alert], 0x000000FF);
    EXPECT_EQ(m.Palette[pcEditText_Caution], 0x008597D9);
    EXPECT_EQ(m.Palette[pcEditText_Bypassed], 0x004AB28F);
    EXPECT_EQ(m.oe.size(), 2u);
    EXPECT_EQ(m.oe[0].Mask, -1);  // no blur template given
    EXPECT_EQ(m.oe[1].Opacity, 60);
}

TEST(SkinModel, BrokenInputEndsTheLoad) {
    struct Case { const wchar_t* options; } cases[] = {
        {L"[A]\nBORDERSMASK=^00x0^0037^0154^0046^0002^0002^0002^0002^2^0^1^1\n"},
        {L"[A]\nBORDERSMASK=^0000^0000^0060^0040^0000^0000^0000^0000^0^0^1^0\n"},
        {L"[A]\nGRADIENTDATA=1;2;x;4;5\n"},
        {L"[A]\nX=!BAD.PNG!1!0!0\n"},
    };
    for (const auto& c : cases) {
        TacSkinConvertor pack;
        pack.Files.push_back({L"Bad.png", false, Text(L"\x89PNG broken")});
        TOptionsFile options = TOptionsFile::FromText(c.options);
        TSkinModel model;
        EXPECT_ANY_THROW(model.Load(options, {&pack, {}}));
    }
}

TEST(SkinModel, MasterBitmapRectanglesAreCutToTheBitmap) {
    // A 20 x 20 master bitmap; rectangles past its edge are cut to it, and one with nothing
    // inside defines no mask. Default widths follow the cut size.
    struct Case {
        const wchar_t* line;  // in section [A]; LO_ keys belong to [GLOBALINFO]
        bool defined;
        rd::TRect r;
        int wl, wt;
    } cases[] = {
        {L"X=^0012^0012^0030^0030^0002^0002^0002^0002^1^0^1^0", true, {12, 12, 20, 20}, 2, 2},
        {L"X=^0012^0012^0030^0030^0000^0000^0000^0000^1^0^1^0", true, {12, 12, 20, 20}, 2, 2},  // 8 div 3
        {L"X=^0000^0000^0030^0010^0000^0000^0000^0000^1^0^1^0", true, {0, 0, 20, 10}, 6, 3},
        {L"X=@0012@0012@0030@0030@1@0", true, {12, 12, 20, 20}, 0, 0},
        {L"X=~0015~0010~0030~0020~00~1", true, {15, 10, 20, 20}, 0, 0},
        {L"X=#(12,12,30,30)(1,0,0,1)", true, {12, 12, 20, 20}, 2, 2},
        {L"X=^0020^0000^0030^0010^0002^0002^0002^0002^1^0^1^0", false, {}, 0, 0},  // right of the bitmap
        {L"X=@0000@0020@0010@0030@1@0", false, {}, 0, 0},                          // below it
        {L"X=~0005~0005~0005~0010~00~0", false, {}, 0, 0},                         // no width
    };
    for (const auto& c : cases) {
        const std::wstring text = std::wstring(L"[GLOBALINFO]\nMASTERBITMAP=MASTER.BMP\n[A]\n") + c.line + L"\n";
        TacSkinConvertor pack;
        pack.Files.push_back({L"Master.bmp", true, Bmp24(20, 20, 0x336699)});
        TOptionsFile options = TOptionsFile::FromText(text);
        TSkinModel m;
        m.Load(options, {&pack, {}});
        const int i = m.GetMaskIndex(L"A", L"X");
        ASSERT_EQ(i >= 0, c.defined) << c.line;
        if (!c.defined) continue;
        const TsMaskData& mask = m.ma[i];
        EXPECT_EQ((std::vector<int>{mask.R.Left, mask.R.Top, mask.R.Right, mask.R.Bottom, mask.WL, mask.WT}),
                  (std::vector<int>{c.r.Left, c.r.Top, c.r.Right, c.r.Bottom, c.wl, c.wt}))
            << c.line;
    }
}

TEST(SkinModel, OuterEffectMaskRectangleIsCutToTheMasterBitmap) {
    struct Case { const wchar_t* mask; int right; } cases[] = {
        {L"^0010^0010^0040^0040^0002^0002^0002^0002^1^0^1^0", 20},
        {L"^0030^0010^0040^0040^0002^0002^0002^0002^1^0^1^0", -1},  // wholly outside: no mask
    };
    for (const auto& c : cases) {
        const std::wstring text =
            std::wstring(L"[GLOBALINFO]\nMASTERBITMAP=MASTER.BMP\nLO_SOURCE=1\nLO_MASK=") + c.mask + L"\n";
        TacSkinConvertor pack;
        pack.Files.push_back({L"Master.bmp", true, Bmp24(20, 20, 0x336699)});
        TOptionsFile options = TOptionsFile::FromText(text);
        TSkinModel m;
        m.Load(options, {&pack, {}});
        if (c.right < 0) {
            EXPECT_EQ(m.oe[0].Mask, -1) << c.mask;
        } else {
            ASSERT_TRUE(m.IsValidImgIndex(m.oe[0].Mask)) << c.mask;
            EXPECT_EQ(m.ma[m.oe[0].Mask].R.Right, c.right);
        }
    }
}

TEST(SkinModel, TintWorksOnTheRgbOfSystemColours) {
    // System colours (negative values) are resolved before each tint step, so a tinted
    // section colour is an RGB value and no longer names a system colour. Brightness leaves
    // the palette alone.
    const rd::TColor face = rd::ColorToRGB(rd::clBtnFace), highlight = rd::ColorToRGB(rd::clHighlight);
    struct Case {
        TColorAdjustment tint;
        uint32_t (*op)(uint32_t color, const TColorAdjustment& tint);
        bool palette;
    } cases[] = {
        {{196, 0, 0}, [](uint32_t c, const TColorAdjustment& t) { return rd::ShiftHueOfColor(t.HueOffset, c); }, true},
        {{0, 60, 0},
         [](uint32_t c, const TColorAdjustment& t) { return rd::ShiftSaturation(SaturationAmount(t.Saturation), c); }, true},
        {{0, -60, 0},
         [](uint32_t c, const TColorAdjustment& t) { return rd::ShiftSaturation(SaturationAmount(t.Saturation), c); }, true},
        {{0, 0, 30}, [](uint32_t c, const TColorAdjustment& t) { return rd::ShiftBrightness(c, t.Brightness); }, false},
    };
    for (const auto& c : cases) {
        TOptionsFile options = TOptionsFile::FromText(
            L"[GLOBALINFO]\nCOLOR=-16777203\n[EDIT]\nCOLOR=-16777201\nFONTCOLOR=-16777203\nTCLEFT=-16777208\n");
        TSkinModel m;
        m.Adjustment = c.tint;
        m.Load(options, {});
        const TsGeneralData& edit = m.gd[m.GetSkinIndex(L"EDIT")];
        const std::vector<rd::TColor> got = {edit.Color, edit.FontColor.Color, edit.FontColor.Left,
                                             m.Palette[pcMainColor]};
        const std::vector<rd::TColor> want = {
            static_cast<rd::TColor>(c.op(face, c.tint)), static_cast<rd::TColor>(c.op(highlight, c.tint)),
            static_cast<rd::TColor>(c.op(rd::ColorToRGB(rd::clWindowText), c.tint)),
            c.palette ? static_cast<rd::TColor>(c.op(highlight, c.tint)) : rd::clHighlight};
        EXPECT_EQ(got, want) << c.tint.HueOffset << " " << c.tint.Saturation << " " << c.tint.Brightness;
        for (size_t i = 0; i < 3; ++i) EXPECT_GE(got[i], 0) << "still a system colour";
    }
}

TEST(SkinModel, TextsWithAHashAreNotRectangleLists) {
    // Any value may contain "#"; only a usable rectangle after it makes a mask.
    TacSkinConvertor pack;
    pack.Files.push_back({L"Master.bmp", true, Bmp24(20, 20, 0x336699)});
    TOptionsFile options = TOptionsFile::FromText(
        L"[GLOBALINFO]\nMASTERBITMAP=MASTER.BMP\nAUTHOR=Studio #5\nDESCRIPTION=# 1 (first)\n"
        L"[A]\nX=# 0,0,10,10 1,0,0,1\n");
    TSkinModel m;
    m.Load(options, {&pack, {}});
    EXPECT_EQ(m.CommonSkinData->Author, L"Studio #5");
    ASSERT_EQ(m.ma.size(), 1u);
    EXPECT_EQ(m.GetMaskIndex(L"A", L"X"), 0);
    EXPECT_EQ(m.ma[0].R.Right, 10);
}

TEST(SkinModel, HotGradientNeedsSixCharactersAlsoWhenCopied) {
    // The hot state's gradient text must be at least six characters long, the normal one's two;
    // a one-state section copies its normal state into the hot one and the rule still applies.
    struct Case { const wchar_t* keys; int normalPercent, hotPercent; size_t hotPieces; } cases[] = {
        {L"STATES=1\nGRADIENTDATA=N/A\nGRADIENTPERCENT=100\n", 100, 0, 0},
        {L"STATES=1\nGRADIENTDATA=1;2;3\nGRADIENTPERCENT=40\n", 40, 0, 0},
        {L"STATES=1\nGRADIENTDATA=1;2;100;0;0\nGRADIENTPERCENT=40\n", 40, 40, 1},
        {L"STATES=2\nHOTGRADIENTDATA=N/A\nHOTGRADIENTPERCENT=50\n", 0, 0, 0},
        {L"STATES=2\nHOTGRADIENTDATA=0;0;100;0;0\nHOTGRADIENTPERCENT=50\n", 0, 50, 1},
    };
    for (const auto& c : cases) {
        TOptionsFile options = TOptionsFile::FromText(std::wstring(L"[A]\n") + c.keys);
        TSkinModel m;
        m.Load(options, {});
        const TsGeneralData& a = m.gd[m.GetSkinIndex(L"A")];
        EXPECT_EQ(a.GradientPercent, c.normalPercent) << c.keys;
        EXPECT_EQ(a.HotGradientPercent, c.hotPercent) << c.keys;
        EXPECT_EQ(a.Props[1].GradientPercent, c.hotPercent) << c.keys;
        EXPECT_EQ(a.HotGradientArray.size(), c.hotPieces) << c.keys;
    }
}

TEST(ImageDecode, BadAndEnormousImages) {
    TBytes bmp = Bmp24(4, 4, 0);
    TBytes cut(bmp.begin(), bmp.end() - 5);
    TBytes huge = bmp;
    huge[18] = 0xFF, huge[19] = 0xFF, huge[20] = 0x00;  // 65535 x 4... then pixels past the end
    TBytes wide = bmp;
    wide[21] = 0x40;  // width 2^30
    EXPECT_THROW(DecodeBmp(cut.data(), cut.size()), ESkinError);
    EXPECT_THROW(DecodeBmp(huge.data(), huge.size()), ESkinError);
    EXPECT_THROW(DecodeBmp(wide.data(), wide.size()), ESkinError);
    EXPECT_THROW(DecodeBmp(bmp.data(), 10), ESkinError);
    TBytes png = Png(3, 2, 0xFF010203);
    TDecodedImage ok = DecodePng(png.data(), png.size());
    EXPECT_EQ(rd::ReadPixel32(*ok.Bitmap, 2, 1), 0xFF010203u);
    TBytes badPng = png;
    badPng.resize(png.size() / 2);
    EXPECT_THROW(DecodePng(badPng.data(), badPng.size()), ESkinError);
    TBytes hugePng = png;
    hugePng[16] = 0x7F;  // width in IHDR (CRC then wrong as well)
    EXPECT_THROW(DecodePng(hugePng.data(), hugePng.size()), ESkinError);
    const TBytes notJpeg = Text(L"\xFF\xD8 not a jpeg");
    EXPECT_THROW(DecodeJpeg(notJpeg.data(), notJpeg.size()), ESkinError);
}
