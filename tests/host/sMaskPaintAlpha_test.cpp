// Mask drawing whose alpha matters, region cut-outs and glyphs.
#include <gtest/gtest.h>

#include "skinpaint/sMaskPaint.h"

using namespace rd;

namespace {

uint32_t Px(int r, int g, int b, int a = 0) { return uint32_t(b) | uint32_t(g) << 8 | uint32_t(r) << 16 | uint32_t(a) << 24; }
constexpr uint32_t kKey = 0x00FF00FF;

// One frame of w x h, image filled with `image`, mask band below filled with grey `mask`.
struct TMaskModel {
    sk::TSkinModel model;
    TMaskModel(int w, int h, uint32_t image, int mask, int drawMode = 4, int margin = 1, int frames = 1) {
        model.MasterBitmap = std::make_unique<TMemBitmap32>(w * frames, 2 * h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w * frames; ++x) {
                WritePixel32(*model.MasterBitmap, x, y, image);
                WritePixel32(*model.MasterBitmap, x, h + y, uint32_t(mask) * 0x010101u);
            }
        sk::TsMaskData m;
        m.R = {0, 0, w * frames, 2 * h};
        m.ImageCount = static_cast<int16_t>(frames);
        m.MaskType = 1;
        m.DrawMode = static_cast<int16_t>(drawMode);
        m.WL = m.WT = m.WR = m.WB = static_cast<int16_t>(margin);
        m.CornerType = 2;
        m.Manager = &model;
        model.ma.push_back(std::move(m));
    }
    sk::TsMaskData& Mask() { return model.ma[0]; }
};

TMemBitmap32 Filled(int w, int h, uint32_t v) {
    TMemBitmap32 bmp(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) WritePixel32(bmp, x, y, v);
    return bmp;
}

}  // namespace

TEST(PaintMaskNinePartAlpha, WeightsAndAlphaRule) {
    // Image 200, destination 100 in every channel; alpha by the rule 0 -> 255 - m, 255 stays, else max.
    const struct { int mask; int alpha; int channel; int expectedAlpha; } cases[] = {
        {0, 0, (100 * 0 + 200 * 255) >> 8, 255},
        {255, 0, (100 * 255 + 200 * 0) >> 8, 0},
        {64, 0, (100 * 64 + 200 * 191) >> 8, 191},
        {64, 255, (100 * 64 + 200 * 191) >> 8, 255},
        {64, 100, (100 * 64 + 200 * 191) >> 8, 191},
        {200, 100, (100 * 200 + 200 * 55) >> 8, 100},
    };
    for (const auto& c : cases) {
        TMaskModel mm(4, 4, Px(200, 200, 200), c.mask);
        TMemBitmap32 bmp = Filled(8, 6, Px(100, 100, 100, c.alpha));
        PaintMaskNinePartAlpha(&bmp, {0, 0, 8, 6}, TCacheInfo{}, 0, mm.Mask());
        for (const TPoint p : {TPoint{0, 0}, TPoint{4, 0}, TPoint{3, 3}, TPoint{7, 5}})  // corner, edge, centre
            EXPECT_EQ(ReadPixel32(bmp, p.X, p.Y), Px(c.channel, c.channel, c.channel, c.expectedAlpha))
                << c.mask << " " << c.alpha << " at " << p.X << "," << p.Y;
    }
}

TEST(PaintMaskNinePartAlpha, MagentaClearsOrTakesReadyBackground) {
    TMaskModel mm(4, 4, kKey, 0);
    TMemBitmap32 bmp = Filled(6, 6, Px(1, 2, 3, 200));
    PaintMaskNinePartAlpha(&bmp, {0, 0, 6, 6}, TCacheInfo{}, 0, mm.Mask());
    EXPECT_EQ(ReadPixel32(bmp, 0, 0), Px(1, 2, 3, 0));
    EXPECT_EQ(ReadPixel32(bmp, 3, 3), Px(1, 2, 3, 0));
    TMemBitmap32 behind = Filled(7, 7, Px(9, 8, 7, 66));
    WritePixel32(behind, 2, 1, Px(50, 60, 70, 80));
    PaintMaskNinePartAlpha(&bmp, {0, 0, 6, 6}, CacheInfoForBitmap(&behind, 1, 0), 0, mm.Mask());
    EXPECT_EQ(ReadPixel32(bmp, 1, 1), Px(50, 60, 70, 80));
    EXPECT_EQ(ReadPixel32(bmp, 5, 5), Px(9, 8, 7, 66));
}

TEST(PaintMaskNinePartOpacity, OpacityScalesImageWeightAndLimitsCapMargins) {
    const int opacity = 128, m = 64, k = ((255 - m) * opacity) >> 8;
    TMaskModel mm(6, 6, Px(200, 200, 200), m, 0, 2);  // no centre fill
    TMemBitmap32 bmp = Filled(10, 10, Px(100, 100, 100, 0));
    PaintMaskNinePartOpacity(&bmp, {0, 0, 10, 10}, TCacheInfo{}, opacity, {1, 2, 2, 2}, 0, mm.Mask());
    const int c = (100 * (255 - k) + 200 * k) >> 8;
    EXPECT_EQ(ReadPixel32(bmp, 0, 0), Px(c, c, c, k));
    EXPECT_EQ(ReadPixel32(bmp, 1, 5), Px(100, 100, 100, 0)) << "left margin capped to 1: column 1 is centre";
    EXPECT_EQ(ReadPixel32(bmp, 8, 5), Px(c, c, c, k)) << "right margin 2";
}

TEST(PaintMaskWithRegion, MagentaCornerPixelsBecomeRowRuns) {
    TMaskModel mm(6, 6, Px(10, 20, 30), 0, 4, 3);
    auto& master = *mm.model.MasterBitmap;
    WritePixel32(master, 0, 0, kKey);  // top-left: run of 2 in row 0, single in row 1
    WritePixel32(master, 1, 0, kKey);
    WritePixel32(master, 0, 1, kKey);
    WritePixel32(master, 5, 5, kKey);  // bottom-right corner pixel
    WritePixel32(master, 3, 0, kKey);  // top-right corner block starts at x 3: its first pixel
    TMemBitmap32 bmp = Filled(10, 8, 0);
    std::vector<TRect> cut;
    PaintMaskWithRegion(&bmp, cut, true, 0, mm.Mask());
    ASSERT_EQ(cut.size(), 4u);
    EXPECT_EQ(cut[0].Left, 0); EXPECT_EQ(cut[0].Right, 2); EXPECT_EQ(cut[0].Top, 0); EXPECT_EQ(cut[0].Bottom, 1);
    EXPECT_EQ(cut[1].Left, 0); EXPECT_EQ(cut[1].Right, 1); EXPECT_EQ(cut[1].Top, 1);
    EXPECT_EQ(cut[2].Left, 9); EXPECT_EQ(cut[2].Top, 7);  // bottom-right is drawn before top-right
    EXPECT_EQ(cut[3].Left, 7); EXPECT_EQ(cut[3].Top, 0);
    EXPECT_EQ(ReadPixel32(bmp, 2, 2), Px(10, 20, 30)) << "the mask itself was drawn";
}

TEST(PaintMaskGlyph, MaskedNormalAndDisabled) {
    // Image 200 over destination 100, mask 50: normal composes through 50, disabled through 150.
    const struct { int mode; int mask; } cases[] = {{1, 50}, {0, 50}, {0, 200}};
    for (const auto& c : cases) {
        TMaskModel mm(2, 2, Px(200, 200, 200), c.mask, 0, 0, 3);
        TMemBitmap32 bmp = Filled(4, 4, Px(100, 100, 100, 40));
        PaintMaskGlyph(&bmp, {-1, 1}, 7, TCacheInfo{}, mm.Mask(), c.mode);
        const int m = c.mode == 1 ? c.mask : std::min(c.mask + 100, 255);
        const int ch = ((100 - 200) * m + 200 * 256) >> 8, a = 40 + (((255 - 40) * (255 - m)) >> 8);
        EXPECT_EQ(ReadPixel32(bmp, 0, 1), Px(ch, ch, ch, a)) << c.mode << " " << c.mask;
        EXPECT_EQ(ReadPixel32(bmp, 1, 1), Px(100, 100, 100, 40)) << "cut off left of the origin: one column only";
    }
}

TEST(PaintMaskGlyph, PlainImageKeyedOrHalfBlended) {
    sk::TSkinModel model;
    model.MasterBitmap = std::make_unique<TMemBitmap32>(2, 1);
    WritePixel32(*model.MasterBitmap, 0, 0, kKey);
    WritePixel32(*model.MasterBitmap, 1, 0, Px(200, 100, 0));
    sk::TsMaskData m;
    m.R = {0, 0, 2, 1};
    m.ImageCount = 1;
    m.Manager = &model;
    TMemBitmap32 parent = Filled(4, 4, Px(7, 7, 7, 255));
    TMemBitmap32 bmp = Filled(4, 4, Px(50, 50, 50));
    PaintMaskGlyph(&bmp, {1, 1}, 0, CacheInfoForBitmap(&parent, 0, 0), m, 1);
    EXPECT_EQ(ReadPixel32(bmp, 1, 1), Px(7, 7, 7, 255)) << "key shows the background";
    EXPECT_EQ(ReadPixel32(bmp, 2, 1), Px(200, 100, 0));
    TMemBitmap32 dis = Filled(4, 4, Px(50, 50, 50));
    PaintMaskGlyph(&dis, {1, 1}, 0, TCacheInfo{}, m, 0);
    EXPECT_EQ(ReadPixel32(dis, 1, 1), Px(50, 50, 50)) << "key skipped";
    EXPECT_EQ(ReadPixel32(dis, 2, 1), Px(125, 75, 25));  // Trunc(s - (s - d) * 0.5)
}
