// Texture fill modes, masked texture tiles and the section fill composition.
#include <gtest/gtest.h>

#include <cmath>

#include "skinpaint/sTexture.h"

using namespace rd;

namespace {

uint32_t Px(int r, int g, int b, int a = 255) { return uint32_t(b) | uint32_t(g) << 8 | uint32_t(r) << 16 | uint32_t(a) << 24; }
uint32_t Grey(int c, int a = 255) { return Px(c, c, c, a); }
constexpr uint32_t kBlank = 0x01010101;

TMemBitmap32 Filled(int w, int h, uint32_t value) {
    TMemBitmap32 bmp(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) WritePixel32(bmp, x, y, value);
    return bmp;
}

// A model whose master bitmap holds, at (2, 3), a 4 x 5 texture with pixel value T(x, y),
// and below it (same columns) a mask band.
struct TTextureModel {
    sk::TSkinModel model;
    static uint32_t T(int x, int y) { return Grey(10 + x * 20 + y * 40, 0); }
    TTextureModel(int drawMode, int maskType = 0, uint32_t maskValue = 0) {
        model.MasterBitmap = std::make_unique<TMemBitmap32>(10, 16);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 4; ++x) {
                WritePixel32(*model.MasterBitmap, 2 + x, 3 + y, T(x, y));
                WritePixel32(*model.MasterBitmap, 2 + x, 8 + y, maskValue);
            }
        sk::TsMaskData m;
        m.R = {2, 3, 6, maskType ? 13 : 8};
        m.ImageCount = 1;
        m.MaskType = static_cast<int16_t>(maskType);
        m.DrawMode = static_cast<int16_t>(drawMode);
        m.Manager = &model;
        model.ma.push_back(std::move(m));
    }
    const sk::TsMaskData& Mask() const { return model.ma[0]; }
};

bool IsTexture(const TBitmap32& bmp, int x, int y, int originX, int originY) {
    return ReadPixel32(bmp, x, y) == TTextureModel::T((x - originX) % 4, (y - originY) % 5);
}

}  // namespace

TEST(FillTexture, ModesPaintTheirBandsAndReportTheRest) {
    struct Case {
        int mode;
        TRect uncovered;
        TPoint texturedInside, blankInside;  // a pixel the texture paints, one it leaves
    } cases[] = {
        {0, kCovered, {12, 12}, {-1, -1}},
        {2, {1, 7, 15, 22}, {14, 6}, {5, 7}},    // top band of 5 rows
        {3, {5, 2, 15, 22}, {4, 21}, {5, 3}},    // left band of 4 columns
        {6, {1, 2, 15, 17}, {14, 21}, {5, 16}},  // bottom band
        {7, {1, 2, 11, 22}, {11, 2}, {10, 20}},  // right band
        {8, {11, 2, 15, 22}, {11, 2}, {10, 20}}, // like 7, the band itself reported
        // whole tiles only: rows while y + 5 < 22 (2, 7, 12), last column cut; bottom strip left
        {10, kCovered, {14, 16}, {3, 17}},
    };
    for (const auto& c : cases) {
        TTextureModel tm(c.mode);
        TMemBitmap32 bmp = Filled(16, 24, kBlank);
        TRect rect{1, 2, 15, 22};
        FillTexture(&bmp, rect, nullptr, c.mode, &tm.Mask());
        EXPECT_EQ(rect.Left, c.uncovered.Left) << "mode " << c.mode;
        EXPECT_EQ(rect.Top, c.uncovered.Top) << "mode " << c.mode;
        EXPECT_EQ(rect.Right, c.uncovered.Right) << "mode " << c.mode;
        EXPECT_EQ(rect.Bottom, c.uncovered.Bottom) << "mode " << c.mode;
        const int ox = (c.mode == 7 || c.mode == 8) ? 11 : 1, oy = c.mode == 6 ? 17 : 2;
        EXPECT_TRUE(IsTexture(bmp, c.texturedInside.X, c.texturedInside.Y, ox, oy)) << "mode " << c.mode;
        if (c.blankInside.X >= 0) {
            EXPECT_EQ(ReadPixel32(bmp, c.blankInside.X, c.blankInside.Y), kBlank) << "mode " << c.mode;
        }
        EXPECT_EQ(ReadPixel32(bmp, 0, 0), kBlank);
        EXPECT_EQ(ReadPixel32(bmp, 15, 22), kBlank);
    }
}

TEST(FillTexture, EveryModeStaysInsideARectangleSmallerThanTheTexture) {
    // The texture is 4 x 5; the rectangles are narrower or shallower than it.
    for (const TRect rect : {TRect{2, 2, 5, 5}, TRect{2, 2, 6, 5}, TRect{3, 1, 5, 9}})
        for (int mode = 0; mode <= 11; ++mode) {
            TTextureModel tm(mode);
            TMemBitmap32 bmp = Filled(12, 12, kBlank);
            TRect r = rect;
            FillTexture(&bmp, r, nullptr, mode, &tm.Mask());
            int outside = 0;
            for (int y = 0; y < bmp.Height; ++y)
                for (int x = 0; x < bmp.Width; ++x) {
                    const bool in = x >= rect.Left && x < rect.Right && y >= rect.Top && y < rect.Bottom;
                    if (!in && ReadPixel32(bmp, x, y) != kBlank) ++outside;
                }
            EXPECT_EQ(outside, 0) << "mode " << mode << ", rect " << rect.Left << "," << rect.Top << ","
                                  << rect.Right << "," << rect.Bottom;
        }
}

TEST(FillTexture, StretchedBandsAreCutByAShallowerRectangle) {
    // Rect (2, 2)-(5, 5): mode 4 stretches 4 columns to 3 and keeps the rows 1:1; mode 5 keeps
    // the columns and stretches 5 rows to 3 (source rows 0, 1, 3).
    struct Case { int mode; TPoint at; int tx, ty; } cases[] = {
        {4, {4, 4}, 2, 2}, {4, {3, 2}, 1, 0}, {5, {4, 4}, 2, 3}, {5, {2, 3}, 0, 1},
    };
    for (const auto& c : cases) {
        TTextureModel tm(c.mode);
        TMemBitmap32 bmp = Filled(12, 12, kBlank);
        TRect r{2, 2, 5, 5};
        FillTexture(&bmp, r, nullptr, c.mode, &tm.Mask());
        EXPECT_EQ(ReadPixel32(bmp, c.at.X, c.at.Y), TTextureModel::T(c.tx, c.ty)) << "mode " << c.mode;
        EXPECT_EQ(r.Left, -1) << "the band covers the whole rectangle";
    }
}

TEST(FillTexture, StretchModesAndPattern) {
    TTextureModel tm(1);
    TMemBitmap32 bmp = Filled(8, 10, kBlank);
    TRect rect{0, 0, 8, 10};
    FillTexture(&bmp, rect, nullptr, 1, &tm.Mask());  // 4 x 5 stretched 2x both ways
    EXPECT_EQ(rect.Left, -1);
    EXPECT_EQ(ReadPixel32(bmp, 7, 9), TTextureModel::T(3, 4));
    EXPECT_EQ(ReadPixel32(bmp, 2, 1), TTextureModel::T(1, 0));

    TMemBitmap32 band = Filled(8, 10, kBlank);
    rect = {0, 0, 8, 10};
    FillTexture(&band, rect, nullptr, 4, &tm.Mask());  // stretched across, 5 rows high
    EXPECT_EQ(rect.Top, 5);
    EXPECT_EQ(ReadPixel32(band, 7, 4), TTextureModel::T(3, 4));
    EXPECT_EQ(ReadPixel32(band, 7, 5), kBlank);

    TMemBitmap32 pattern = Filled(3, 3, Grey(77));
    WritePixel32(pattern, 2, 2, Grey(5));
    TMemBitmap32 tiled = Filled(8, 8, kBlank);
    rect = {1, 1, 8, 8};
    FillTexture(&tiled, rect, &pattern, 5, &tm.Mask());  // a pattern always tiles
    EXPECT_EQ(rect.Left, -1);
    EXPECT_EQ(ReadPixel32(tiled, 3, 3), Grey(5));
    EXPECT_EQ(ReadPixel32(tiled, 6, 6), Grey(5));
    EXPECT_EQ(ReadPixel32(tiled, 7, 7), Grey(77));
    EXPECT_EQ(ReadPixel32(tiled, 0, 7), kBlank);
}

TEST(TileMaskedTexture, MaskComposesAndMagentaShowsBackground) {
    struct Case { int mode; TCacheInfo bg; uint32_t magentaResult, rightStrip; } cases[] = {
        // Composed pixels keep the target's alpha; magenta takes the fill colour with its top byte.
        {0, TCacheInfo{}, kBlank, Px(100, 100, 100, 1)},  // last column cut at the right
        {0, TCacheInfo{nullptr, 0, 0, 0x00332211, {}, false}, Px(0x11, 0x22, 0x33, 0), Px(100, 100, 100, 1)},
        // mode 10: the strip right of the whole tiles comes from the background, opaque
        {10, TCacheInfo{nullptr, 0, 0, 0x00332211, {}, false}, Px(0x11, 0x22, 0x33, 0), Px(0x11, 0x22, 0x33, 255)},
        {7, TCacheInfo{}, kBlank, kBlank},                                        // other modes: nothing
    };
    for (const auto& c : cases) {
        TTextureModel tm(c.mode, 1, Grey(0, 0));  // mask 0: paints the image
        // Image: grey 100 everywhere except one magenta pixel at (1, 1) of the tile.
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 4; ++x) WritePixel32(*tm.model.MasterBitmap, 2 + x, 3 + y, Grey(100, 0));
        WritePixel32(*tm.model.MasterBitmap, 3, 4, 0x00FF00FF);
        TMemBitmap32 bmp = Filled(10, 12, kBlank);
        TRect rect{0, 0, 10, 12};
        TileMaskedTexture(&bmp, rect, c.bg, c.mode, tm.Mask());
        EXPECT_EQ(rect.Left, c.mode == 7 ? 0 : -1);
        EXPECT_EQ(ReadPixel32(bmp, 1, 1), c.magentaResult) << "mode " << c.mode;
        EXPECT_EQ(ReadPixel32(bmp, 9, 2), c.rightStrip) << "mode " << c.mode;  // beyond the two whole columns
        if (c.mode != 7) {
            EXPECT_EQ(ReadPixel32(bmp, 0, 0), Px(100, 100, 100, 1)) << "alpha is not written";
        }
    }
}

TEST(ComposeSectionFill, TextureModeTwoOnFortyRowsLeavesColourBelow) {
    TTextureModel tm(2);
    // A 10-row texture: the mask covers (2, 3) .. (6, 13) of a taller master bitmap.
    tm.model.MasterBitmap = std::make_unique<TMemBitmap32>(10, 16);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 4; ++x) WritePixel32(*tm.model.MasterBitmap, 2 + x, 3 + y, Grey(y * 10, 255));
    tm.model.ma[0].R = {2, 3, 6, 13};
    TMemBitmap32 bmp = Filled(6, 40, kBlank);
    TSectionFill fill;
    fill.Color = 0x00203040;
    fill.ImagePercent = 100;
    fill.TextureIndex = 0;
    ComposeSectionFill(&bmp, {0, 0, 6, 40}, fill, tm.model);
    for (int y = 0; y < 10; ++y) EXPECT_EQ(ReadPixel32(bmp, 5, y), Grey(y * 10)) << y;
    for (int y = 10; y < 40; ++y) EXPECT_EQ(ReadPixel32(bmp, 5, y), Px(0x40, 0x30, 0x20)) << y;
}

TEST(ComposeSectionFill, ImageThirtyGradientThirty) {
    TTextureModel tm(0);
    sk::TsGradArray gradient;
    sk::ParseGradientData(L"0;0;100;0;0", gradient);  // black
    TSectionFill fill;
    fill.Color = 0x00C8C8C8;  // 200
    fill.GradientPercent = 30;
    fill.GradientArray = &gradient;
    fill.ImagePercent = 30;
    fill.TextureIndex = 0;
    TMemBitmap32 bmp = Filled(8, 10, kBlank);
    ComposeSectionFill(&bmp, {0, 0, 8, 10}, fill, tm.model);
    const int level = 30 * 255 / 100;  // 76: the texture keeps 30 per cent over the gradient
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 8; ++x) {
            const int t = (TTextureModel::T(x % 4, y % 5) & 0xFF);
            const int blended = ((t - 0) * level + 0 * 256) >> 8;
            const int mixed = int(std::nearbyint(blended * 0.6L + 200 * (1 - 0.6L)));
            ASSERT_EQ(ReadPixel32(bmp, x, y), Grey(mixed, 0)) << x << "," << y;  // texture alpha kept
        }
}

TEST(ComposeSectionFill, GradientAndTextureShareTheFillInOnePass) {
    TTextureModel tm(0);
    sk::TsGradArray gradient;
    sk::ParseGradientData(L"16777215;16777215;100;0;0", gradient);  // white
    TSectionFill fill{0x000000FF, 60, &gradient, 40, 0, nullptr};
    TMemBitmap32 bmp = Filled(8, 10, kBlank);
    ComposeSectionFill(&bmp, {2, 0, 8, 10}, fill, tm.model);
    const int level = 40 * 255 / 100;
    // The texture grid starts at the target's origin, not at the rectangle.
    const int t = TTextureModel::T(5 % 4, 7 % 5) & 0xFF;
    EXPECT_EQ(ReadPixel32(bmp, 5, 7), Grey(((t - 255) * level + 255 * 256) >> 8));
    EXPECT_EQ(ReadPixel32(bmp, 1, 7), kBlank);
}

TEST(ComposeSectionFill, ColourOnlyAndMissingTexture) {
    sk::TSkinModel model;
    TMemBitmap32 bmp = Filled(4, 4, Grey(100, 9));
    TSectionFill fill{0x00000000, 0, nullptr, 50, 7, nullptr};  // invalid texture: its share falls to colour
    ComposeSectionFill(&bmp, {0, 0, 4, 4}, fill, model);
    EXPECT_EQ(ReadPixel32(bmp, 3, 3), Grey(50, 9));  // Round(100 * 0.5), alpha untouched
    fill.ImagePercent = 0;
    ComposeSectionFill(&bmp, {0, 0, 2, 2}, fill, model);
    EXPECT_EQ(ReadPixel32(bmp, 1, 1), Grey(0));
    EXPECT_EQ(ReadPixel32(bmp, 2, 2), Grey(50, 9));
}
