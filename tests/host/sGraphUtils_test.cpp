// Pixel model, fills and colour operations on 32-bit bitmaps.
#include <gtest/gtest.h>

#include <cstdint>

#include "render/sGraphUtils.h"

using namespace rd;

namespace {

uint32_t Px(int r, int g, int b, int a = 0) { return uint32_t(b) | uint32_t(g) << 8 | uint32_t(r) << 16 | uint32_t(a) << 24; }

TMemBitmap32 Filled(int w, int h, uint32_t value, bool bottomUp = true) {
    TMemBitmap32 bmp(w, h, bottomUp);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) WritePixel32(bmp, x, y, value);
    return bmp;
}

// Distinct value per position, to see where pixels land.
TMemBitmap32 Numbered(int w, int h, bool bottomUp = true) {
    TMemBitmap32 bmp(w, h, bottomUp);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) WritePixel32(bmp, x, y, uint32_t(y * 100 + x));
    return bmp;
}

}  // namespace

TEST(PixelModel, RowsAreAddressedThroughRowZeroAndSignedStride) {
    for (bool bottomUp : {true, false}) {
        TMemBitmap32 bmp = Numbered(3, 4, bottomUp);
        uint8_t* row0;
        ptrdiff_t stride;
        ASSERT_TRUE(GetScanGeometry(&bmp, row0, stride));
        EXPECT_EQ(stride, bottomUp ? -12 : 12);
        EXPECT_EQ(*reinterpret_cast<uint32_t*>(row0 + 2 * stride + 1 * 4), 201u);
    }
    TMemBitmap32 empty(5, 0);
    uint8_t* row0;
    ptrdiff_t stride;
    EXPECT_FALSE(GetScanGeometry(&empty, row0, stride));
    EXPECT_FALSE(GetScanGeometry(nullptr, row0, stride));
    TMemBitmap32 one(4, 1);
    ASSERT_TRUE(GetScanGeometry(&one, row0, stride));
    EXPECT_EQ(stride, 0);
}

TEST(PixelModel, ExchangeRedBlueSwapsBytesZeroAndTwo) {
    EXPECT_EQ(ExchangeRedBlue(0x11223344u), 0x11443322u);
    EXPECT_EQ(ExchangeRedBlue(ExchangeRedBlue(0xA1B2C3D4u)), 0xA1B2C3D4u);
}

TEST(BitmapHelpers, CopyWholeBitmapAndRotate) {
    TMemBitmap32 src = Numbered(3, 2);
    TMemBitmap32 copy;
    CopyWholeBitmap(copy, src);
    ASSERT_EQ(copy.Width, 3);
    ASSERT_EQ(copy.Height, 2);
    EXPECT_EQ(ReadPixel32(copy, 2, 1), 102u);

    auto cw = RotateBitmap32(&src, true);
    ASSERT_TRUE(cw);
    EXPECT_EQ(cw->Width, 2);
    EXPECT_EQ(cw->Height, 3);
    // (x, y) -> column h-1-y, row x
    EXPECT_EQ(ReadPixel32(*cw, 1, 0), 0u);
    EXPECT_EQ(ReadPixel32(*cw, 0, 2), 102u);
    auto ccw = RotateBitmap32(&src, false);
    // (x, y) -> column y, row w-1-x
    EXPECT_EQ(ReadPixel32(*ccw, 0, 2), 0u);
    EXPECT_EQ(ReadPixel32(*ccw, 1, 0), 102u);
    TMemBitmap32 empty;
    EXPECT_EQ(RotateBitmap32(&empty, true), nullptr);
}

TEST(BitmapHelpers, CopyByteChannelAndKeyedOpaque) {
    TMemBitmap32 t = Filled(2, 2, 0x11223344u), s = Filled(2, 2, 0xAABBCCDDu);
    CopyByteChannel(&t, &s, 3);
    EXPECT_EQ(ReadPixel32(t, 1, 1), 0xAA223344u);
    CopyByteChannel(&t, &s, 0);
    EXPECT_EQ(ReadPixel32(t, 0, 0), 0xAA2233DDu);

    TMemBitmap32 target = Filled(4, 3, 0);
    TMemBitmap32 src(2, 2);
    WritePixel32(src, 0, 0, Px(255, 0, 255));  // key magenta in pixel order
    WritePixel32(src, 1, 0, Px(1, 2, 3));
    WritePixel32(src, 0, 1, Px(4, 5, 6, 7));
    WritePixel32(src, 1, 1, Px(8, 9, 10));
    CopyKeyedOpaque(&target, &src, 3, clMagenta, 2);  // clipped to one pixel: (3, 2) <- (0, 0), the key
    EXPECT_EQ(ReadPixel32(target, 3, 2), 0u);
    CopyKeyedOpaque(&target, &src, 0, clMagenta, 0);
    EXPECT_EQ(ReadPixel32(target, 0, 0), 0u);
    EXPECT_EQ(ReadPixel32(target, 1, 0), Px(1, 2, 3, 255));
    EXPECT_EQ(ReadPixel32(target, 0, 1), Px(4, 5, 6, 255));
}

TEST(RectFills, FillPixelsClipsAndSetsAlpha) {
    TMemBitmap32 bmp = Filled(4, 4, 0);
    FillPixels32(&bmp, {-2, 3, 2, 9}, 0x00332211, 128);
    EXPECT_EQ(ReadPixel32(bmp, 0, 3), 0x80112233u);
    EXPECT_EQ(ReadPixel32(bmp, 1, 3), 0x80112233u);
    EXPECT_EQ(ReadPixel32(bmp, 2, 3), 0u);
    EXPECT_EQ(ReadPixel32(bmp, 0, 2), 0u);
    FillPixels32(&bmp, {3, 0, 1, 4}, 0xFFFFFF, 255);  // inverted: nothing
    EXPECT_EQ(ReadPixel32(bmp, 2, 0), 0u);
}

TEST(RectFills, FillFramePaintsFourBands) {
    TMemBitmap32 bmp = Filled(6, 5, 0);
    FillFramePixels32(&bmp, {0, 0, 6, 5}, 1, 0x0000FF, 1, 2, 1);
    const char* expected[] = {"######", "#...##", "#...##", "#...##", "######"};
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(ReadPixel32(bmp, x, y), expected[y][x] == '#' ? 0xFFFF0000u : 0u) << x << "," << y;
}

TEST(RectFills, TintTruncatesTowardZeroUsesLowBytePercentAndClamps) {
    struct Case { uint32_t pixel; uint32_t color; int percent; uint32_t expected; } cases[] = {
        {Px(200, 100, 0), 0x000000, 50, Px(100, 50, 0, 9)},
        {Px(0, 0, 0), 0xFFFFFF, 33, Px(84, 84, 84, 9)},    // 0 - (-255*33)/100 = 84.15 -> 84
        {Px(10, 20, 30), 0x000000, 256 + 50, Px(5, 10, 15, 9)},  // low byte of 306 is 50
        {Px(255, 0, 0), 0x0000FF, 100, Px(255, 0, 0, 9)},
        // Above 100 per cent each channel is held to 0..255 and never reaches its neighbours.
        {Px(255, 255, 255), 0x000000, 200, Px(0, 0, 0, 9)},
        {Px(0, 0, 0), 0xFFFFFF, 150, Px(255, 255, 255, 9)},
        {Px(200, 10, 100), 0x80FF00, 255, Px(0, 255, 171, 9)},  // -310, 634, 100 + (28 * 255) / 100
    };
    for (const auto& c : cases) {
        TMemBitmap32 bmp = Filled(1, 1, c.pixel);
        TintPixels32(&bmp, {0, 0, 1, 1}, c.color, c.percent, 9);
        EXPECT_EQ(ReadPixel32(bmp, 0, 0), c.expected) << std::hex << c.pixel;
    }
}

TEST(RectFills, MixRectWithColorRoundsHalfToEvenWithInclusiveCorner) {
    struct Case { int channel; int percent; int target; int expected; } cases[] = {
        {1, 50, 0, 0},    // 0.5 -> 0
        {3, 50, 0, 2},    // 1.5 -> 2
        {5, 50, 0, 2},    // 2.5 -> 2
        {0, 40, 255, 153},
        {100, 0, 7, 7},
    };
    for (const auto& c : cases) {
        TMemBitmap32 bmp = Filled(2, 2, Px(c.channel, c.channel, c.channel, 77));
        MixRectWithColor(&bmp, {0, 0, 0, 0}, c.percent, c.target | c.target << 8 | c.target << 16);
        EXPECT_EQ(ReadPixel32(bmp, 0, 0), Px(c.expected, c.expected, c.expected, 77)) << c.channel << " " << c.percent;
        EXPECT_EQ(ReadPixel32(bmp, 1, 0), Px(c.channel, c.channel, c.channel, 77));  // Right 0 inclusive: one column
    }
    TMemBitmap32 bmp = Filled(2, 2, Px(0, 0, 0));
    MixRectWithColor(&bmp, {-5, -5, 99, 99}, 0, 0x0000FF);  // red, clamped to the whole bitmap
    EXPECT_EQ(ReadPixel32(bmp, 1, 1), Px(255, 0, 0));
    MixRectWithColor(&bmp, {0, 0, 1, 1}, 0, clBtnFace);  // system colour resolved
    EXPECT_EQ(ReadPixel32(bmp, 0, 0), Px(0xF0, 0xF0, 0xF0));
}

TEST(RectFills, SetAlphaSkipsKeyComparedAsWholePixel) {
    TMemBitmap32 bmp = Filled(3, 1, 0x00FF00FFu);
    WritePixel32(bmp, 1, 0, 0xFFFF00FFu);
    SetAlphaInRect(&bmp, {0, 0, 2, 1}, 200, 0x00FF00FFu);
    EXPECT_EQ(ReadPixel32(bmp, 0, 0), 0x00FF00FFu);
    EXPECT_EQ(ReadPixel32(bmp, 1, 0), 0xC8FF00FFu);
    EXPECT_EQ(ReadPixel32(bmp, 2, 0), 0x00FF00FFu);  // outside the rectangle
    SetAlphaInRect(&bmp, {0, 0, 3, 1}, 1, static_cast<uint32_t>(clNone));
    EXPECT_EQ(ReadPixel32(bmp, 0, 0), 0x01FF00FFu);
}

TEST(RectFills, Premultiply) {
    struct Case { uint32_t in, out; } cases[] = {
        {0x00FFFFFFu, 0u},
        {Px(255, 255, 255, 255), Px(254, 254, 254, 255)},
        {Px(200, 100, 50, 128), Px(100, 50, 25, 128)},
        {Px(200, 100, 50, 0), Px(0, 0, 0, 0)},
    };
    for (const auto& c : cases) {
        TMemBitmap32 bmp = Filled(2, 2, c.in);
        PremultiplyBitmap(&bmp);
        EXPECT_EQ(ReadPixel32(bmp, 1, 1), c.out) << std::hex << c.in;
    }
}

TEST(ColorOps, ShiftHue) {
    struct Case { int offset; uint32_t in, out; } cases[] = {
        {120, Px(255, 0, 0), Px(0, 255, 0)},
        {196, Px(0, 128, 255), Px(255, 191, 0)},
        {196, Px(30, 200, 90), Px(200, 30, 95)},
        {196, Px(30, 200, 90, 0x80), Px(200, 30, 95, 0x80)},
        {0, Px(12, 34, 56, 7), Px(12, 34, 56, 7)},
        {77, Px(128, 128, 128, 3), Px(128, 128, 128, 3)},
        {77, Px(0, 0, 0), Px(0, 0, 0)},
        {77, Px(255, 255, 255, 255), Px(255, 255, 255, 255)},
        {240, Px(0, 0, 255), Px(0, 255, 0)},
        {-120, Px(0, 255, 0), Px(255, 0, 0)},
    };
    for (const auto& c : cases) EXPECT_EQ(ShiftHue(c.offset, c.in), c.out) << c.offset << " " << std::hex << c.in;
}

TEST(ColorOps, ShiftHueNegativeOffsetWrapsAndFullTurnKeepsPrimaries) {
    for (uint32_t v : {Px(10, 200, 30), Px(250, 3, 99), Px(1, 2, 3), Px(0, 128, 255)})
        EXPECT_EQ(ShiftHue(-30, v), ShiftHue(330, v)) << std::hex << v;
    for (uint32_t v : {Px(255, 0, 0), Px(0, 255, 0), Px(0, 0, 255)}) EXPECT_EQ(ShiftHue(360, v), v);
}

TEST(ColorOps, ShiftHueOfColorWorksInColourOrder) {
    EXPECT_EQ(ShiftHueOfColor(120, 0x000000FF), 0x0000FF00u);  // red -> green as colour values
    EXPECT_EQ(ShiftHueOfColor(196, 0x00FF8000), 0x0000BFFFu);  // (0,128,255) -> (255,191,0)
    EXPECT_EQ(ShiftHueOfColor(0, 0xFF00000Fu), 0xFF00000Fu);
}

TEST(ColorOps, ShiftSaturationAndBrightness) {
    struct Case { int amount; uint32_t in, out; } sat[] = {
        {-255, Px(255, 0, 0, 9), Px(85, 85, 85, 9)},
        {-255, Px(10, 20, 31), Px(20, 20, 20)},
        {0, Px(1, 2, 3, 4), Px(1, 2, 3, 4)},
        {255, Px(200, 100, 0), Px(255, 100, 0)},
        {-90, Px(0, 0, 0), Px(0, 0, 0)},
        {-90, Px(255, 0, 0), Px(195, 30, 30)},  // mean 85: 255 - 15300/255, 0 + 7650/255
    };
    for (const auto& c : sat) EXPECT_EQ(ShiftSaturation(c.amount, c.in), c.out) << c.amount << " " << std::hex << c.in;

    EXPECT_EQ(ShiftBrightness(0x00102030u, 240), 0x00FFFFFFu);
    EXPECT_EQ(ShiftBrightness(0x7F102030u, 240), 0x7FFFFFFFu);
    EXPECT_EQ(ShiftBrightness(0x7F102030u, -0x20), 0x7F000010u);
    EXPECT_EQ(ShiftBrightness(0xAB102030u, 0), 0xAB102030u);
}

TEST(ColorOps, ToneInterpolateHalfway) {
    // Brightest channel 200; tone colour value red (0x0000FF) tones a pixel red.
    EXPECT_EQ(ToneByBrightest(Px(50, 200, 10, 5), 0x000000FF), Px(199, 0, 0, 5));
    EXPECT_EQ(ToneByBrightest(Px(255, 255, 255), 0x00804020), Px(0x1F, 0x3F, 0x7F));
    EXPECT_EQ(InterpolateColor(0x11FFFFFFu, 0x22000000u, 0.05), 0x110C0C0Cu);  // Trunc(12.75)
    EXPECT_EQ(InterpolateColor(0x00000064u, 0x000000C8u, 0.5), 0x00000096u);
    EXPECT_EQ(HalfwayColor(0xFF0000FFu, 0x00FF0000u), 0x0080007Eu);  // 255*127>>8 = 126, 255*129>>8 = 128
}

TEST(ForEachPixelDriver, KeySkipsOnlyExactMagenta) {
    TMemBitmap32 bmp(3, 2);
    WritePixel32(bmp, 0, 0, 0x00FF00FFu);
    WritePixel32(bmp, 1, 0, 0xFFFF00FFu);
    WritePixel32(bmp, 2, 0, Px(1, 2, 3));
    for (int x = 0; x < 3; ++x) WritePixel32(bmp, x, 1, Px(10, 10, 10));
    ForEachPixel(&bmp, PixelShiftBrightness, 5, clMagenta);
    EXPECT_EQ(ReadPixel32(bmp, 0, 0), 0x00FF00FFu);
    EXPECT_EQ(ReadPixel32(bmp, 1, 0), 0xFFFF05FFu);
    EXPECT_EQ(ReadPixel32(bmp, 2, 0), Px(6, 7, 8));
    ForEachPixel(&bmp, PixelMakeOpaque, 0, clNone);
    EXPECT_EQ(ReadPixel32(bmp, 0, 0), 0xFFFF00FFu);
    EXPECT_EQ(ReadPixel32(bmp, 2, 1), Px(15, 15, 15, 255));
    ForEachPixel(nullptr, PixelMakeOpaque, 0, clNone);  // nothing happens
}

TEST(ColorOps, AdjustControlColorOrder) {
    TControlColorAdjust none;
    EXPECT_EQ(AdjustControlColor(0x00123456, none), 0x00123456);
    EXPECT_EQ(AdjustControlColor(clBtnFace, none), 0x00F0F0F0);
    TControlColorAdjust tone{0x000000FF, 0, 0};  // red tone: brightest channel kept, hue from the tone
    EXPECT_EQ(AdjustControlColor(0x00404080, tone), 0x0000007F);
    TControlColorAdjust hue{clNone, 120, 0};
    EXPECT_EQ(AdjustControlColor(0x000000FF, hue), 0x0000FF00);
    TControlColorAdjust grey{clNone, 0, -100};  // Trunc(-100 * 2.55) = -255: fully grey
    EXPECT_EQ(AdjustControlColor(0x000000FF, grey), 0x00555555);
    // A system colour is resolved before the arithmetic.
    EXPECT_EQ(AdjustControlColor(clHighlight, hue), static_cast<TColor>(ShiftHueOfColor(120, 0x00FF9933)));
}

TEST(Grey, MakeGreyAndExceptKey) {
    TMemBitmap32 bmp(2, 1);
    WritePixel32(bmp, 0, 0, Px(10, 20, 31, 40));
    WritePixel32(bmp, 1, 0, 0x00FF00FFu);
    TMemBitmap32 copy = bmp;
    MakeGrey32(&bmp);
    EXPECT_EQ(ReadPixel32(bmp, 0, 0), Px(20, 20, 20, 40));
    EXPECT_EQ(ReadPixel32(bmp, 1, 0), Px(170, 170, 170));
    MakeGreyExceptKey32(&copy, 0x00FF00FFu);
    EXPECT_EQ(ReadPixel32(copy, 0, 0), Px(20, 20, 20, 40));
    EXPECT_EQ(ReadPixel32(copy, 1, 0), 0x00FF00FFu);
}
