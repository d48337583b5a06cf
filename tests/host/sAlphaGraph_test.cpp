// Bitmap blends and the disabled look.
#include <gtest/gtest.h>

#include "render/sAlphaGraph.h"

using namespace rd;

namespace {

uint32_t Px(int r, int g, int b, int a = 0) { return uint32_t(b) | uint32_t(g) << 8 | uint32_t(r) << 16 | uint32_t(a) << 24; }
uint32_t Grey(int c, int a = 0) { return Px(c, c, c, a); }

TMemBitmap32 Filled(int w, int h, uint32_t value, bool bottomUp = true) {
    TMemBitmap32 bmp(w, h, bottomUp);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) WritePixel32(bmp, x, y, value);
    return bmp;
}

}  // namespace

TEST(CrossFade, LevelsAndSizeMismatch) {
    struct Case { int d, s, level, expected; } cases[] = {
        {200, 40, 0, 40},                     // level 0: exactly the source
        {200, 40, 255, (200 * 255 + 40) >> 8},  // 199
        {0, 255, 128, 127},
        {255, 0, 128, 127},
    };
    for (const auto& c : cases) {
        TMemBitmap32 t = Filled(2, 2, Grey(c.d, 9)), s = Filled(2, 2, Grey(c.s, 200), false);
        CrossFade32(&t, &s, c.level);
        EXPECT_EQ(ReadPixel32(t, 1, 1), Grey(c.expected, 9)) << c.d << " " << c.s << " " << c.level;
    }
    TMemBitmap32 t = Filled(2, 2, Grey(1)), s = Filled(3, 2, Grey(2));
    CrossFade32(&t, &s, 0);
    EXPECT_EQ(ReadPixel32(t, 0, 0), Grey(1));
}

TEST(BlendColorThroughMask, MaskChannelsSelectColour) {
    TMemBitmap32 t = Filled(3, 1, Px(10, 20, 30, 7)), m(3, 1);
    WritePixel32(m, 0, 0, Grey(255));
    WritePixel32(m, 1, 0, Grey(0));
    WritePixel32(m, 2, 0, Px(0, 255, 128));
    BlendColorThroughMask(&t, &m, 0x00FF8000);  // colour value: red 0, green 0x80, blue 0xFF
    EXPECT_EQ(ReadPixel32(t, 0, 0), Px(9, 20, 30, 7));  // mask 255 keeps the pixel (10 * 255 >> 8 = 9)
    EXPECT_EQ(ReadPixel32(t, 1, 0), Px(0, 128, 255, 7));  // mask 0 paints the colour
    EXPECT_EQ(ReadPixel32(t, 2, 0), Px(0, 20, 142, 7));   // blue: (-225 * 128 + 65280) >> 8
}

TEST(BlendFromBitmap, InclusiveSourceRectAndKey) {
    TMemBitmap32 target = Filled(4, 4, Grey(0, 50));
    TMemBitmap32 src = Filled(3, 3, Grey(255, 1));
    WritePixel32(src, 1, 1, 0x00FF00FFu);
    // Right/Bottom 2 are the last column/row: a 3 x 3 block at (1, 1).
    BlendFromBitmap(&target, 1, 1, 0x00FF00FFu, 0.4, {0, 0, 2, 2}, &src);
    EXPECT_EQ(ReadPixel32(target, 0, 0), Grey(0, 50));
    EXPECT_EQ(ReadPixel32(target, 1, 1), Grey(152, 50));  // Trunc(255 - 255 * 0.4) in extended precision
    EXPECT_EQ(ReadPixel32(target, 3, 3), Grey(152, 50));
    EXPECT_EQ(ReadPixel32(target, 2, 2), Grey(0, 50));    // key skipped
}

TEST(BlendFromBitmap, NegativeSourceOriginMovesTargetAndClips) {
    TMemBitmap32 target = Filled(3, 3, Grey(100));
    TMemBitmap32 src(2, 2);
    WritePixel32(src, 0, 0, Grey(0));
    WritePixel32(src, 1, 0, Grey(10));
    WritePixel32(src, 0, 1, Grey(20));
    WritePixel32(src, 1, 1, Grey(30));
    // Left -1 raised to 0: source column 0 lands on target column 1.
    BlendFromBitmap(&target, 0, 0, 0x1FFFFFFFu, 0.0, {-1, 0, 5, 5}, &src);
    EXPECT_EQ(ReadPixel32(target, 0, 0), Grey(100));
    EXPECT_EQ(ReadPixel32(target, 1, 0), Grey(0));
    EXPECT_EQ(ReadPixel32(target, 2, 1), Grey(30));
    EXPECT_EQ(ReadPixel32(target, 1, 2), Grey(100));
}

TEST(BlendRectConstant, ClipsToBothBitmaps) {
    TMemBitmap32 target = Filled(3, 3, Grey(200, 5));
    TMemBitmap32 src = Filled(4, 4, Grey(0, 9));
    BlendRectConstant(&target, &src, 0, {-1, 2}, {0, 0, 4, 4});
    EXPECT_EQ(ReadPixel32(target, 0, 2), Grey(0, 5));
    EXPECT_EQ(ReadPixel32(target, 2, 2), Grey(0, 5));
    EXPECT_EQ(ReadPixel32(target, 0, 1), Grey(200, 5));
    BlendRectConstant(&target, &src, 128, {0, 0}, {0, 0, 1, 1});
    EXPECT_EQ(ReadPixel32(target, 0, 0), Grey(100, 5));
    EXPECT_EQ(ReadPixel32(target, 1, 0), Grey(200, 5));
}

TEST(AlphaOver, ComposesStraightAlpha) {
    struct Case { uint32_t d, s, expected; } cases[] = {
        {Grey(0, 0), Grey(255, 255), Px(254, 254, 254, 254)},
        {Grey(100, 255), Grey(200, 0), Grey(100, 255)},
        {Grey(0, 100), Grey(255, 128), Px(127, 127, 127, 177)},
    };
    for (const auto& c : cases) {
        TMemBitmap32 t = Filled(1, 1, c.d), s = Filled(1, 1, c.s);
        AlphaOver32({0, 0, 1, 1}, {0, 0, 1, 1}, &t, false, TCacheInfo{}, &s);
        EXPECT_EQ(ReadPixel32(t, 0, 0), c.expected) << std::hex << c.d << " " << c.s;
    }
}

TEST(AlphaOver, ReadyBackgroundKeepsOrCopiesMagenta) {
    TMemBitmap32 bg = Filled(4, 4, Px(1, 2, 3, 0));
    TCacheInfo info;
    info.Bmp = &bg;
    info.X = 2;
    info.Y = 0;
    info.Ready = true;
    TMemBitmap32 src = Filled(3, 1, 0x00FF00FFu);
    for (bool copyParent : {false, true}) {
        TMemBitmap32 t = Filled(3, 1, Grey(50, 60));
        AlphaOver32({0, 0, 3, 1}, {0, 0, 3, 1}, &t, copyParent, info, &src);
        EXPECT_EQ(ReadPixel32(t, 0, 0), copyParent ? Px(1, 2, 3, 255) : Grey(50, 60));
        EXPECT_EQ(ReadPixel32(t, 2, 0), Grey(50, 60));  // 2 + 2 is outside the background
    }
    // Without a ready background magenta with alpha 0 composes as a transparent pixel.
    TMemBitmap32 t = Filled(1, 1, Grey(50, 60));
    AlphaOver32({0, 0, 1, 1}, {0, 0, 1, 1}, &t, true, TCacheInfo{}, &src);
    EXPECT_EQ(ReadPixel32(t, 0, 0), Grey(50, 60));
}

TEST(DisabledLook, BlackOverReadyWhiteBecomes152) {
    TMemBitmap32 parent = Filled(10, 10, Grey(255, 255));
    TCacheInfo bg;
    bg.Bmp = &parent;
    bg.Ready = true;
    TMemBitmap32 face = Filled(3, 2, Grey(0, 255));
    ApplyDisabledLook(&face, dkBlended | dkGrayed, 0, {4, 5}, bg);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(ReadPixel32(face, x, y), Grey(152, 255));
}

TEST(DisabledLook, GrayedOnlyAndFillColourPaths) {
    TMemBitmap32 face = Filled(1, 1, Px(255, 0, 0, 9));
    ApplyDisabledLook(&face, dkGrayed, 0, {}, TCacheInfo{});
    EXPECT_EQ(ReadPixel32(face, 0, 0), Px(195, 30, 30, 9));

    struct Case { TColor fill, parent; int expected; } cases[] = {
        {0x00FFFFFF, 0, 153},           // Round(0 * 0.4 + 255 * 0.6)
        {clMagenta, 0x00FFFFFF, 153},   // unknown fill: the parent's colour
        {clMagenta, 0x00000000, 0},
    };
    for (const auto& c : cases) {
        TMemBitmap32 f = Filled(2, 2, Grey(0, 255));
        TCacheInfo info;
        info.FillColor = c.fill;
        ApplyDisabledLook(&f, dkBlended, c.parent, {}, info);
        EXPECT_EQ(ReadPixel32(f, 1, 1), Grey(c.expected, 255)) << std::hex << c.fill;
    }
    TMemBitmap32 key = Filled(1, 1, 0x00FF00FFu);
    ApplyDisabledLook(&key, dkGrayed, 0, {}, TCacheInfo{});
    EXPECT_EQ(ReadPixel32(key, 0, 0), 0x00FF00FFu);
}
