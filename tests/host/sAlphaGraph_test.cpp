// Bitmap blends and the disabled look.
#include <gtest/gtest.h>

#include <algorithm>

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

TEST(BlendRectConstant, MatchesPerChannelFormulaOnVariedRunsAndLevels) {
    // Runs around the four-pixel steps, clipped placements, both storage orders, levels at and
    // beyond the ends of their range; CrossFade32 is the whole-bitmap case of the same blend.
    uint32_t seed = 11;
    auto random = [&seed](int w, int h, bool bottomUp) {
        TMemBitmap32 b(w, h, bottomUp);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) WritePixel32(b, x, y, seed = seed * 1664525u + 1013904223u);
        return b;
    };
    auto mix = [](uint32_t d, uint32_t s, int level) {
        uint32_t out = d & 0xFF000000u;
        for (int l = 0; l < 3; ++l) {
            const int dc = (d >> 8 * l) & 255, sc = (s >> 8 * l) & 255;
            out |= uint32_t((((dc - sc) * level + sc * 256) >> 8) & 255) << 8 * l;
        }
        return out;
    };
    struct Case { TPoint at; TRect source; } cases[] = {
        {{0, 0}, {0, 0, 1, 1}}, {{2, 1}, {1, 0, 6, 3}}, {{-3, 2}, {0, 1, 13, 9}}, {{9, -2}, {2, 0, 19, 7}}};
    for (int level : {0, 1, 128, 254, 255, 300, -5})
        for (const Case& c : cases)
            for (bool bottomUp : {true, false}) {
                const TMemBitmap32 src = random(19, 9, bottomUp);
                TMemBitmap32 got = random(17, 8, !bottomUp), want = got;
                BlendRectConstant(&got, &src, level, c.at, c.source);
                for (int y = c.source.Top; y < c.source.Bottom; ++y)
                    for (int x = c.source.Left; x < c.source.Right; ++x) {
                        const int tx = x - c.source.Left + c.at.X, ty = y - c.source.Top + c.at.Y;
                        if (tx >= 0 && ty >= 0 && tx < want.Width && ty < want.Height)
                            WritePixel32(want, tx, ty, mix(ReadPixel32(want, tx, ty), ReadPixel32(src, x, y), level));
                    }
                for (int y = 0; y < got.Height; ++y)
                    for (int x = 0; x < got.Width; ++x)
                        ASSERT_EQ(ReadPixel32(got, x, y), ReadPixel32(want, x, y)) << level << " at " << x << "," << y;
                TMemBitmap32 fade = random(19, 9, !bottomUp), fadeWant = fade;
                CrossFade32(&fade, &src, level);
                for (int y = 0; y < 9; ++y)
                    for (int x = 0; x < 19; ++x) {
                        WritePixel32(fadeWant, x, y, mix(ReadPixel32(fadeWant, x, y), ReadPixel32(src, x, y), level));
                        ASSERT_EQ(ReadPixel32(fade, x, y), ReadPixel32(fadeWant, x, y)) << level << " fade " << x << "," << y;
                    }
            }
}

TEST(BlendFromBitmap, MatchesExtendedPrecisionFormulaOnVariedGeometry) {
    // Source rectangles reaching past the source (clamped, inclusive), negative origins moving the
    // target position, targets partly off every edge, key pixels skipped, two levels in turn.
    uint32_t seed = 17;
    auto random = [&seed](int w, int h, bool bottomUp) {
        TMemBitmap32 b(w, h, bottomUp);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                seed = seed * 1664525u + 1013904223u;
                WritePixel32(b, x, y, (seed >> 29) == 0 ? 0x00FF00FFu : seed);
            }
        return b;
    };
    struct Case { int x, y; TRect rect; } cases[] = {
        {0, 0, {0, 0, 5, 3}}, {3, 2, {1, 1, 30, 30}}, {-4, -1, {2, 0, 12, 6}}, {6, 4, {-3, -2, 7, 5}}, {14, 7, {0, 0, 9, 9}}};
    for (double level : {0.4, 0.5, 0.4})
        for (const Case& c : cases)
            for (bool bottomUp : {true, false}) {
                const TMemBitmap32 src = random(13, 8, bottomUp);
                TMemBitmap32 got = random(17, 9, !bottomUp), want = got;
                BlendFromBitmap(&got, c.x, c.y, 0x00FF00FFu, level, c.rect, &src);
                TRect r = c.rect;
                int x = c.x, y = c.y;
                r.Right = std::min(r.Right, src.Width - 1);
                r.Bottom = std::min(r.Bottom, src.Height - 1);
                if (r.Left < 0) x -= r.Left, r.Left = 0;
                if (r.Top < 0) y -= r.Top, r.Top = 0;
                for (int j = 0; j <= r.Bottom - r.Top; ++j)
                    for (int i = 0; i <= r.Right - r.Left; ++i) {
                        const int tx = x + i, ty = y + j;
                        const uint32_t s = ReadPixel32(src, r.Left + i, r.Top + j);
                        if (tx < 0 || ty < 0 || tx >= want.Width || ty >= want.Height || s == 0x00FF00FFu) continue;
                        const uint32_t d = ReadPixel32(want, tx, ty);
                        uint32_t out = d & 0xFF000000u;
                        for (int l = 0; l < 3; ++l) {
                            const int sc = (s >> 8 * l) & 255, dc = (d >> 8 * l) & 255;
                            out |= uint32_t(std::clamp(int(sc - (sc - dc) * static_cast<long double>(level)), 0, 255)) << 8 * l;
                        }
                        WritePixel32(want, tx, ty, out);
                    }
                for (int ty = 0; ty < got.Height; ++ty)
                    for (int tx = 0; tx < got.Width; ++tx)
                        ASSERT_EQ(ReadPixel32(got, tx, ty), ReadPixel32(want, tx, ty))
                            << level << " case " << c.x << "," << c.y << " at " << tx << "," << ty;
            }
}
