// Captions of skinned controls: the passes each case draws (contours in their order, main colour,
// disabled and custom-font colours, the embossed text of an unskinned control), the web button's
// hot underline, the clip, and the section of a parent that gives its font.
#include <gtest/gtest.h>

#include <vector>

#include "skinframework/sControlText.h"
#include "tests/win_framework/FrameworkFixture.h"
#include "tests/win_framework/TestControls.h"

using namespace kvfw;

namespace {

constexpr int kW = 64, kH = 26;
constexpr RECT kRect{6, 4, 58, 22};
constexpr UINT kFormat = DT_SINGLELINE | DT_CENTER | DT_VCENTER;
const std::wstring kText = L"Hg";

// One drawing of the text: moved by (dx, dy), in a colour, with or without the no-clip flag.
struct TPass {
    int dx, dy;
    rd::TColor color;
    bool noClip;
};

std::unique_ptr<tk::TBitmap> WhiteBitmap() {
    auto b = std::make_unique<tk::TBitmap>(kW, kH);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) b->ScanLine(y)[x] = 0xFFFFFFFFu;
    return b;
}

// What the caption should look like: the passes drawn one after another, clipped to kRect.
std::unique_ptr<tk::TBitmap> Expected(const std::vector<TPass>& passes, bool underline) {
    auto b = WhiteBitmap();
    tk::TFont font;
    if (underline) font.Style |= tk::fsUnderline;
    HDC dc = b->Canvas().Handle();
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, kRect.left, kRect.top, kRect.right, kRect.bottom);
    SetBkMode(dc, TRANSPARENT);
    SelectObject(dc, font.Handle());
    for (const TPass& p : passes) {
        RECT r = kRect;
        OffsetRect(&r, p.dx, p.dy);
        SetTextColor(dc, static_cast<COLORREF>(rd::ColorToRGB(p.color)));
        DrawTextW(dc, kText.c_str(), static_cast<int>(kText.size()), &r, kFormat | (p.noClip ? DT_NOCLIP : 0));
    }
    RestoreDC(dc, saved);
    GdiFlush();
    return b;
}

std::unique_ptr<tk::TBitmap> Written(sk::TsCommonData& data, bool enabled, bool hot, rd::TColor canvasColor = 0x00406080) {
    auto b = WhiteBitmap();
    tk::TCanvas& canvas = b->Canvas();
    canvas.Font.Color = canvasColor;
    sk::WriteControlText(canvas, kText, enabled, hot, data, kFormat, kRect);
    GdiFlush();
    return b;
}

// The first differing pixel as "x,y", or empty when the bitmaps are equal.
std::string FirstDifference(const tk::TBitmap& a, const tk::TBitmap& b) {
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            if (a.ScanLine(y)[x] != b.ScanLine(y)[x]) return std::to_string(x) + "," + std::to_string(y);
    return {};
}

bool AnyInk(const tk::TBitmap& b) {
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            if ((b.ScanLine(y)[x] & 0xFFFFFF) != 0xFFFFFF) return true;
    return false;
}

struct TCaptionedButton {
    std::unique_ptr<sk::TsSkinManager> Manager = MakeManager();
    TTestForm Form;
    TTestWinControl* Button = new TTestWinControl(&Form, kButtonKind, {10, 10, 85, 35}, L"", L"Button");
    sk::TSkinModel& Model() { return Manager->Core().Model(); }
    sk::TsGeneralData& Section() { return Model().gd[static_cast<size_t>(Button->SkinData.SkinIndex)]; }
};

constexpr rd::TColor kMain = 0x00102030, kHotMain = 0x00203040;
constexpr rd::TColor kL = 0x000000FF, kT = 0x0000FF00, kR = 0x00FF0000, kB = 0x0000FFFF;

}  // namespace

TEST(WriteControlText, DrawsContoursInTheirOrderThenTheMainColour) {
    const struct {
        const char* name;
        rd::TColor left, top, right, bottom;
        bool enabled, hot, customFont;
        int hue;
        std::vector<TPass> passes;
    } cases[] = {
        {"four contours", kL, kT, kR, kB, true, false, false, 0,
         {{-1, 0, kL, false}, {0, -1, kT, false}, {1, 0, kR, false}, {0, 1, kB, false}, {0, 0, kMain, true}}},
        {"top and right only", -1, kT, kR, -1, true, false, false, 0,
         {{0, -1, kT, false}, {1, 0, kR, false}, {0, 0, kMain, true}}},
        {"no contour: the text once", -1, -1, -1, -1, true, false, false, 0, {{0, 0, kMain, true}}},
        {"hot set", -1, -1, -1, -1, true, true, false, 0, {{0, 0, kHotMain, true}}},
        {"disabled: once, no contours", kL, kT, kR, kB, false, false, false, 0, {{0, 0, kMain, false}}},
        {"custom font: canvas colour", kL, kT, kR, kB, true, false, true, 0, {{0, 0, 0x00406080, true}}},
        {"hue offset adjusts every colour", kL, -1, -1, kB, true, false, false, 120,
         {{-1, 0, rd::AdjustControlColor(kL, {rd::clNone, 120, 0}), false},
          {0, 1, rd::AdjustControlColor(kB, {rd::clNone, 120, 0}), false},
          {0, 0, rd::AdjustControlColor(kMain, {rd::clNone, 120, 0}), true}}},
    };
    for (const auto& c : cases) {
        TCaptionedButton t;
        for (sk::TsGenState& props : t.Section().Props) props.FontColor = {kMain, c.left, c.top, c.right, c.bottom};
        t.Section().Props[1].FontColor.Color = kHotMain;
        t.Button->SkinData.FCustomFont = c.customFont;
        t.Button->SkinData.FHUEOffset = c.hue;
        auto written = Written(t.Button->SkinData, c.enabled, c.hot);
        auto expected = Expected(c.passes, false);
        ASSERT_TRUE(AnyInk(*expected)) << c.name;
        EXPECT_EQ(FirstDifference(*written, *expected), "") << c.name;
    }
}

TEST(WriteControlText, UnskinnedControlDrawsPlainOrEmbossedText) {
    const struct {
        bool enabled;
        std::vector<TPass> passes;
    } cases[] = {
        {true, {{0, 0, 0x00406080, false}}},
        {false, {{1, 1, tk::clBtnHighlight, false}, {0, 0, tk::clBtnShadow, false}}},
    };
    for (const auto& c : cases) {
        TCaptionedButton t;
        t.Button->SkinData.SkinIndex = -1;
        EXPECT_EQ(FirstDifference(*Written(t.Button->SkinData, c.enabled, false), *Expected(c.passes, false)), "")
            << c.enabled;
    }
}

TEST(WriteControlText, WebButtonIsUnderlinedOnlyWhenHot) {
    for (bool hot : {false, true}) {
        TCaptionedButton t;
        t.Model().ConstData.Sections[sk::ssWebBtn] = t.Button->SkinData.SkinIndex;
        for (sk::TsGenState& props : t.Section().Props) props.FontColor = {kMain, -1, -1, -1, -1};
        t.Section().Props[1].FontColor.Color = kHotMain;
        auto b = WhiteBitmap();
        tk::TCanvas& canvas = b->Canvas();
        sk::WriteControlText(canvas, kText, true, hot, t.Button->SkinData, kFormat, kRect);
        GdiFlush();
        EXPECT_EQ(FirstDifference(*b, *Expected({{0, 0, hot ? kHotMain : kMain, true}}, hot)), "") << hot;
        EXPECT_EQ(canvas.Font.Style & tk::fsUnderline, 0u) << "the canvas's own font is left as it was";
    }
}

TEST(WriteControlText, NothingLandsOutsideTheRect) {
    TCaptionedButton t;
    for (sk::TsGenState& props : t.Section().Props) props.FontColor = {kMain, kL, kT, kR, kB};
    auto b = Written(t.Button->SkinData, true, false);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            if (x < kRect.left || x >= kRect.right || y < kRect.top || y >= kRect.bottom) {
                ASSERT_EQ(b->ScanLine(y)[x], 0xFFFFFFFFu) << x << "," << y;
            }
    auto empty = WhiteBitmap();
    sk::WriteControlText(empty->Canvas(), L"", true, false, t.Button->SkinData, kFormat, kRect);
    EXPECT_FALSE(AnyInk(*empty));
}

TEST(WriteControlText, GlowGoesIntoTheCacheAroundTheText) {
    // Above the clip rect only the glow can change the cache.
    const RECT r{10, 6, 65, 21};
    for (int glowSize : {0, 8}) {
        TCaptionedButton t;
        t.Button->PrepareCache();
        sk::TacCacheBitmap& cache = *t.Button->SkinData.FCacheBmp;
        std::vector<uint32_t> before;
        for (int y = 0; y < r.top; ++y)
            for (int x = 0; x < cache.Width(); ++x) before.push_back(rd::ReadPixel32(*cache.View(), x, y));
        for (sk::TsGenState& props : t.Section().Props) {
            props.FontColor = {kMain, -1, -1, -1, -1};
            props.GlowSize = glowSize;
            props.GlowColor = 0x00FF0000;  // blue
        }
        sk::WriteControlText(cache.Canvas(), L"Glow", true, false, t.Button->SkinData, kFormat, r);
        GdiFlush();
        int bluer = 0, changed = 0;
        for (int y = 0; y < r.top; ++y)
            for (int x = 0; x < cache.Width(); ++x) {
                const uint32_t was = before[size_t(y) * cache.Width() + x], now = rd::ReadPixel32(*cache.View(), x, y);
                changed += now != was;
                bluer += (now & 0xFF) > (was & 0xFF);
            }
        if (glowSize == 0) EXPECT_EQ(changed, 0);
        else EXPECT_GT(bluer, 0);
    }
}

// form > outer "PANEL" (opaque) > inner (a section that varies) > a "CHECKBOX" (fully transparent)
struct TTextOnParents {
    std::unique_ptr<sk::TsSkinManager> Manager = MakeManager();
    TTestForm Form;
    TTestWinControl* Outer = new TTestWinControl(&Form, kPanelKind, {5, 5, 305, 205}, L"PANEL", L"Outer");
    TTestWinControl* Inner = new TTestWinControl(Outer, kPanelKind, {5, 5, 255, 155}, L"SEMI", L"Inner");
    TTestGraphicControl* Box = new TTestGraphicControl(Inner, kCheckBoxKind, {10, 10, 110, 40}, L"", L"Box");
    sk::TSkinModel& Model() { return Manager->Core().Model(); }
    sk::TsGeneralData& Section(const wchar_t* name) { return Model().gd[static_cast<size_t>(Model().GetSkinIndex(name))]; }
};

TEST(FindFontSection, PicksTheFirstParentThatShowsItsOwnFace) {
    const struct {
        const char* name;
        int innerTransparency;
        bool innerFillsCentre;
        const wchar_t* expected;
    } cases[] = {
        {"half transparent is enough", 50, false, L"SEMI"},
        {"more than half: the next parent", 51, false, L"PANEL"},
        {"a border that fills its centre", 80, true, L"SEMI"},
    };
    for (const auto& c : cases) {
        TTextOnParents t;
        sk::TsGeneralData& semi = t.Section(L"SEMI");
        semi.Props[0].Transparency = c.innerTransparency;
        if (c.innerFillsCentre) {
            semi.BorderIndex = t.Section(L"EDIT").BorderIndex;
            t.Model().ma[static_cast<size_t>(semi.BorderIndex)].DrawMode |= 4;
        }
        EXPECT_EQ(sk::FindFontSection(t.Box, t.Model()), t.Model().GetSkinIndex(c.expected)) << c.name;
    }
}

TEST(FindFontSection, EndsAtTheTopLevelWindow) {
    TTextOnParents t;
    t.Section(L"SEMI").Props[0].Transparency = 100;
    t.Section(L"PANEL").Props[0].Transparency = 100;
    EXPECT_EQ(sk::FindFontSection(t.Box, t.Model()), -1) << "the unskinned test form has no section";
    EXPECT_EQ(sk::FindFontSection(nullptr, t.Model()), -1);
}

TEST(WriteControlText, TransparentGroupSectionTakesAParentsFontOnlyWhenItGivesIt) {
    const struct {
        bool giveOwnFont, customFont;
        rd::TColor expected;
    } cases[] = {{true, false, 0x00ABCDEF}, {false, false, 0x00112233}, {true, true, 0x00406080}};
    for (const auto& c : cases) {
        TTextOnParents t;
        t.Model().ConstData.Sections[sk::ssCheckBox] = t.Model().GetSkinIndex(L"CHECKBOX");
        sk::TsGeneralData& semi = t.Section(L"SEMI");
        semi.GiveOwnFont = c.giveOwnFont;
        for (sk::TsGenState& props : semi.Props) props.FontColor = {0x00ABCDEF, -1, -1, -1, -1};
        for (sk::TsGenState& props : t.Section(L"CHECKBOX").Props) props.FontColor = {0x00112233, -1, -1, -1, -1};
        t.Box->SkinData.FCustomFont = c.customFont;
        auto written = Written(t.Box->SkinData, true, false);
        EXPECT_EQ(FirstDifference(*written, *Expected({{0, 0, c.expected, true}}, false)), "")
            << c.giveOwnFont << c.customFont;
    }
}
