// A control's face from its skin data: background, corner images, border per state, the custom
// colour, the control's colour adjustments, and input that must draw nothing.
#include <gtest/gtest.h>

#include "skin/acColorAdjust.h"
#include "skinframework/sControlPaint.h"
#include "skinpaint/sMaskPaint.h"
#include "tests/win_framework/controlpaint_support.h"

using namespace kvfw;

namespace {

constexpr int kW = 10, kH = 8;
constexpr rd::TPoint kAt{5, 3};  // the control's position in its parent
constexpr uint32_t kUntouched = 0x5A5A5A5Au;
constexpr uint32_t kKey = 0x00FF00FFu;

uint32_t Rgb(uint32_t pixel) { return pixel & 0x00FFFFFFu; }

bool InRing(int x, int y) {
    return x < kBorderWidth || y < kBorderWidth || x >= kW - kBorderWidth || y >= kH - kBorderWidth;
}

std::unique_ptr<rd::TMemBitmap32> Target(int w = kW, int h = kH) {
    auto t = std::make_unique<rd::TMemBitmap32>(w, h);
    rd::FillPixels32(t.get(), {0, 0, w, h}, 0x005A5A5A, 0x5A);
    return t;
}

// What the button face shows at (x, y) in a state already capped to the section's states.
uint32_t ButtonRgb(int state, int x, int y, const rd::TBitmap32& parent) {
    if (x == 0 && y == 0) return Rgb(rd::ReadPixel32(parent, x + kAt.X, y + kAt.Y));  // magenta corner
    if (InRing(x, y)) return kRingRgb[state];
    return RgbOf(state == 0 ? kFaceColor : kFaceHotColor);
}

}  // namespace

TEST(PaintControlFace, BorderFramesAndSectionColourFollowTheState) {
    const struct {
        int state, shownState;
    } cases[] = {{0, 0}, {1, 1}, {2, 2}, {5, 2} /* capped at States - 1 */, {-1, 0}};
    TPaintedSkin skin;
    auto parent = NumberedBitmap(40, 30);
    for (const auto& c : cases) {
        TBoundFace face(skin, psButton);
        auto target = Target();
        sk::PaintControlFace(face.Data, rd::CacheInfoForBitmap(parent.get(), 0, 0), true, target.get(), kAt,
                             {0, 0, kW, kH}, c.state);
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x)
                ASSERT_EQ(Rgb(rd::ReadPixel32(*target, x, y)), ButtonRgb(c.shownState, x, y, *parent))
                    << "state " << c.state << " at " << x << "," << y;
        EXPECT_EQ(rd::ReadPixel32(*target, 0, 0) >> 24, 255u) << "a corner over a ready background is opaque";
    }
}

TEST(PaintControlFace, CornersShowTheBackgroundOnlyWithTheCornerFlag) {
    const struct {
        bool cornerFlag;
        uint32_t corner;  // pixel (0, 0)
    } cases[] = {{true, 0}, {false, 0xFFFF00FFu}};
    TPaintedSkin skin;
    auto parent = NumberedBitmap(40, 30);
    for (const auto& c : cases) {
        TBoundFace face(skin, psButton);
        auto target = Target();
        sk::PaintControlFace(face.Data, rd::CacheInfoForBitmap(parent.get(), 0, 0), c.cornerFlag, target.get(), kAt,
                             {0, 0, kW, kH}, 0);
        const uint32_t expected = c.cornerFlag ? rd::ReadPixel32(*parent, kAt.X, kAt.Y) : c.corner;
        EXPECT_EQ(rd::ReadPixel32(*target, 0, 0), expected) << c.cornerFlag;
    }
}

TEST(PaintControlFace, PlainBorderKeysOnlyItsCorners) {
    TPaintedSkin skin;
    auto parent = NumberedBitmap(40, 30);
    TBoundFace face(skin, psPlainBorder);
    auto target = Target();
    sk::PaintControlFace(face.Data, rd::CacheInfoForBitmap(parent.get(), 0, 0), true, target.get(), kAt,
                         {0, 0, kW, kH}, 1);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) ASSERT_EQ(Rgb(rd::ReadPixel32(*target, x, y)), ButtonRgb(1, x, y, *parent)) << x << "," << y;
}

TEST(PaintControlFace, HoverOnlyBorderAppearsFromStateOne) {
    TPaintedSkin skin;
    for (int state : {0, 1}) {
        TBoundFace face(skin, psHoverBorder);
        auto target = Target();
        sk::PaintControlFace(face.Data, rd::TCacheInfo{}, true, target.get(), kAt, {0, 0, kW, kH}, state);
        const uint32_t face1 = RgbOf(state == 0 ? kFaceColor : kFaceHotColor);
        EXPECT_EQ(Rgb(rd::ReadPixel32(*target, 1, 4)), state == 0 ? face1 : kRingRgb[1]) << state;
        EXPECT_EQ(Rgb(rd::ReadPixel32(*target, 4, 4)), face1) << state;
    }
}

TEST(PaintControlFace, CornerImagesSitInTheirCornersInTheStateFrame) {
    TPaintedSkin skin;
    for (int state : {0, 2}) {
        TBoundFace face(skin, psGlyphs);
        auto target = Target();
        sk::PaintControlFace(face.Data, rd::TCacheInfo{}, true, target.get(), kAt, {0, 0, kW, kH}, state);
        const uint32_t fill = RgbOf(state == 0 ? kFaceColor : kFaceHotColor);
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                const bool topRight = x >= kW - 2 && y < 2, bottomLeft = x < 2 && y >= kH - 2;
                ASSERT_EQ(Rgb(rd::ReadPixel32(*target, x, y)), topRight || bottomLeft ? kGlyphRgb[state] : fill)
                    << state << " at " << x << "," << y;
            }
    }
}

TEST(PaintControlFace, CustomColourReplacesTheSectionColourInEveryState) {
    TPaintedSkin skin;
    for (int state : {0, 1, 2}) {
        TBoundFace face(skin, psButton);
        face.Owner.SetColor(0x00336699);
        face.Data.FCustomColor = true;
        auto target = Target();
        sk::PaintControlFace(face.Data, rd::TCacheInfo{}, true, target.get(), kAt, {0, 0, kW, kH}, state);
        EXPECT_EQ(Rgb(rd::ReadPixel32(*target, 4, 4)), RgbOf(0x00336699)) << state;
        EXPECT_EQ(Rgb(rd::ReadPixel32(*target, 1, 4)), kRingRgb[state]) << "the border stays the skin's";
    }
}

TEST(PaintControlFace, ColourAdjustmentsApplyInsideRectAndKeepTheKeyColour) {
    // Over an unknown background the magenta corner keeps the key colour, which no adjustment
    // may change; the pixels outside rect belong to someone else.
    const struct {
        const char* name;
        rd::TColor tone;
        int hue, saturation;
    } cases[] = {
        {"tone", 0x00FF8040, 0, 0},
        {"hue", rd::clNone, 120, 0},
        {"saturation", rd::clNone, 0, -60},
        {"all three", 0x00204080, 40, 30},
    };
    TPaintedSkin skin;
    for (const auto& c : cases) {
        TBoundFace plain(skin, psButton), adjusted(skin, psButton);
        adjusted.Data.FColorTone = c.tone;
        adjusted.Data.FHUEOffset = c.hue;
        adjusted.Data.FSaturation = c.saturation;
        const rd::TRect rect{1, 1, 1 + kW, 1 + kH};
        auto before = Target(kW + 2, kH + 2), after = Target(kW + 2, kH + 2);
        sk::PaintControlFace(plain.Data, rd::TCacheInfo{}, true, before.get(), kAt, rect, 0);
        sk::PaintControlFace(adjusted.Data, rd::TCacheInfo{}, true, after.get(), kAt, rect, 0);
        ASSERT_EQ(rd::ReadPixel32(*before, 1, 1), kKey) << c.name;
        for (int y = 0; y < kH + 2; ++y)
            for (int x = 0; x < kW + 2; ++x) {
                const uint32_t p = rd::ReadPixel32(*before, x, y);
                uint32_t expected = p;
                const bool inside = x >= rect.Left && x < rect.Right && y >= rect.Top && y < rect.Bottom;
                if (inside && p != kKey) {
                    if (c.tone != rd::clNone) expected = rd::ToneByBrightest(expected, static_cast<uint32_t>(c.tone));
                    if (c.hue) expected = rd::ShiftHue(c.hue, expected);
                    if (c.saturation) expected = rd::ShiftSaturation(sk::SaturationAmount(c.saturation), expected);
                }
                ASSERT_EQ(rd::ReadPixel32(*after, x, y), expected) << c.name << " at " << x << "," << y;
            }
    }
}

TEST(PaintControlFace, TransparentFaceWithoutBorderKeepsTheParentsColours) {
    TPaintedSkin skin;
    auto parent = NumberedBitmap(40, 30);
    TBoundFace face(skin, psClear);
    face.Data.FColorTone = 0x000000FF;
    face.Data.FHUEOffset = 90;
    auto target = Target();
    sk::PaintControlFace(face.Data, rd::CacheInfoForBitmap(parent.get(), 0, 0), true, target.get(), kAt,
                         {0, 0, kW, kH}, 1);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            ASSERT_EQ(rd::ReadPixel32(*target, x, y), rd::ReadPixel32(*parent, x + kAt.X, y + kAt.Y)) << x << "," << y;
}

TEST(PaintControlFace, InvalidInputDrawsNothing) {
    const struct {
        const char* name;
        int skinIndex, borderIndex;
        bool manager;
        rd::TRect rect;
        int targetW, targetH;
    } cases[] = {
        {"rect right of the target", psButton, pmBorder, true, {1, 0, kW + 1, kH}, kW, kH},
        {"rect above the target", psButton, pmBorder, true, {0, -1, kW, kH - 1}, kW, kH},
        {"rect far outside", psButton, pmBorder, true, {100, 100, 110, 108}, kW, kH},
        {"empty rect", psButton, pmBorder, true, {3, 3, 3, 6}, kW, kH},
        {"section out of range", 99, pmBorder, true, {0, 0, kW, kH}, kW, kH},
        {"no section", -1, pmBorder, true, {0, 0, kW, kH}, kW, kH},
        {"no manager's section", psButton, pmBorder, false, {0, 0, kW, kH}, kW, kH},
        {"empty cache", psButton, pmBorder, true, {0, 0, kW, kH}, 0, 0},
    };
    TPaintedSkin skin;
    for (const auto& c : cases) {
        // Without a manager of its own the control would use the default one: give it one
        // without a skin (made first: the skin data tells its manager when it goes).
        TPaintedSkin unskinned;
        unskinned.Model().CommonSkinData.reset();
        TBoundFace face(skin, psButton);
        face.Data.SkinIndex = c.skinIndex;
        face.Data.BorderIndex = c.borderIndex;
        if (!c.manager) face.Data.FSkinManager = unskinned.Manager.get();
        auto target = Target(c.targetW, c.targetH);
        sk::PaintControlFace(face.Data, rd::TCacheInfo{}, true, target.get(), kAt, c.rect, 1);
        sk::PaintControlBackground(face.Data, rd::TCacheInfo{}, 1, target.get(), kAt, c.rect);
        for (int y = 0; y < c.targetH; ++y)
            for (int x = 0; x < c.targetW; ++x) ASSERT_EQ(rd::ReadPixel32(*target, x, y), kUntouched) << c.name;
    }
}

TEST(PaintControlFace, BorderMaskOutOfRangeLeavesOnlyTheBackground) {
    TPaintedSkin skin;
    for (int border : {99, -7, static_cast<int>(pmPlainBorder) + 1}) {
        TBoundFace face(skin, psButton);
        face.Data.BorderIndex = border;
        auto target = Target();
        sk::PaintControlFace(face.Data, rd::TCacheInfo{}, true, target.get(), kAt, {0, 0, kW, kH}, 0);
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) ASSERT_EQ(Rgb(rd::ReadPixel32(*target, x, y)), RgbOf(kFaceColor)) << border;
    }
}

TEST(PaintControlBackground, FillsOnlyRectWithTheStateColour) {
    const struct {
        int state;
        bool custom;
        uint32_t rgb;
    } cases[] = {{0, false, RgbOf(kFaceColor)},
                 {1, false, RgbOf(kFaceHotColor)},
                 {7, false, RgbOf(kFaceHotColor)},
                 {1, true, RgbOf(0x00010203)}};
    TPaintedSkin skin;
    for (const auto& c : cases) {
        TBoundFace face(skin, psButton);
        face.Owner.SetColor(0x00010203);
        face.Data.FCustomColor = c.custom;
        auto target = Target();
        sk::PaintControlBackground(face.Data, rd::TCacheInfo{}, c.state, target.get(), kAt, {2, 2, 6, 5});
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                const bool inside = x >= 2 && x < 6 && y >= 2 && y < 5;
                const uint32_t p = rd::ReadPixel32(*target, x, y);
                if (inside) ASSERT_EQ(p, c.rgb | 0xFF000000u) << c.state << " at " << x << "," << y;
                else ASSERT_EQ(p, kUntouched) << c.state << " at " << x << "," << y;
            }
    }
}
