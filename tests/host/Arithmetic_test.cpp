// The number model of docs/arithmetic.md: percentages scaled to 0..255, fractions held as
// doubles, single-precision quotients, and the routines that use them at their boundary values.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "render/acArithmetic.h"
#include "render/sAlphaGraph.h"
#include "render/sGradient.h"
#include "skin/GradientData.h"
#include "render/sGraphUtils.h"
#include "skin/acColorAdjust.h"

using namespace rd;

namespace {

uint32_t Px(int r, int g, int b) { return uint32_t(b) | uint32_t(g) << 8 | uint32_t(r) << 16 | 0xFF000000u; }

}  // namespace

TEST(Arithmetic, PercentOf255TruncatesTowardZero) {
    struct Case { int percent, expected; } cases[] = {
        {100, 255}, {-100, -255},  // 255 exactly: a double 2.55 would give 254
        {50, 127}, {-50, -127},    // 127.5
        {90, 229}, {20, 51},       {1, 2}, {-1, -2}, {0, 0}, {101, 257}, {-120, -306},
    };
    for (const auto& c : cases) EXPECT_EQ(TruncPercentOf255(c.percent), c.expected) << c.percent;
}

TEST(Arithmetic, PercentOf255RoundsHalfToEven) {
    struct Case { int percent, expected; } cases[] = {
        {50, 128},  {90, 230}, {10, 26}, {30, 76}, {70, 178},  // the halves: 127.5, 229.5, 25.5, 76.5, 178.5
        {100, 255}, {1, 3},    {0, 0},   {-50, -128}, {-30, -76},
    };
    for (const auto& c : cases) EXPECT_EQ(RoundPercentOf255(c.percent), c.expected) << c.percent;
}

TEST(Arithmetic, DivRoundHalfEvenOnBothSides) {
    struct Case { int64_t n, d, expected; } cases[] = {
        {5, 10, 0}, {15, 10, 2}, {25, 10, 2}, {-5, 10, 0}, {-15, 10, -2}, {-25, 10, -2},
        {14, 10, 1}, {16, 10, 2}, {-14, 10, -1}, {-16, 10, -2}, {0, 7, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(DivRoundHalfEven(c.n, c.d), c.expected) << c.n << "/" << c.d;
}

TEST(Arithmetic, TruncAddTimesIsExactOnTheDoubleFraction) {
    const double tiny = 1e-300, big = std::numeric_limits<int>::max();
    struct Case { int base, delta; double k; int expected; } cases[] = {
        {255, -255, 0.4, 152},  // 255 - 255 * 0.4 with 0.4 as a double: just under 153
        {0, 255, 0.4, 102},     // 102.0000000000000056...
        {0, 100, 0.29, 28},     // 28.999999999999998...
        {7, 0, 0.5, 7},         {10, 3, 0.5, 11},  {10, -3, 0.5, 8},
        {5, 1, tiny, 5},        {5, -1, tiny, 4},  {0, -1, tiny, 0},  {-3, 1, tiny, -2},  // toward zero
        {0, 200, 1.0, 200},     {0, 3, 1e20, std::numeric_limits<int>::max()},
        {0, -3, 1e20, std::numeric_limits<int>::min()}, {1, 1, big, std::numeric_limits<int>::max()},
        {4, 1, std::nan(""), 4}, {4, 1, INFINITY, std::numeric_limits<int>::max()},
    };
    for (const auto& c : cases) EXPECT_EQ(TruncAddTimes(c.base, c.delta, c.k), c.expected) << c.base << " " << c.delta << " " << c.k;
}

TEST(Arithmetic, TruncSingleProductKeepsOnlyTheQuotientSingle) {
    struct Case { int a; float q; int b, expected; } cases[] = {
        {30, 70 / 100.0f, 0, 20},  // 20.99999964...: a single-precision product would round to 21
        {30, 70 / 100.0f, 5, 25}, {50, 10 / 100.0f, 0, 5}, {30, 1.0f, 3, 33},
        {-30, 70 / 100.0f, 0, -20}, {2000000000, 0.75f, 0, 1500000000}, {1, 3.0e9f, 0, std::numeric_limits<int>::max()},
    };
    for (const auto& c : cases) EXPECT_EQ(TruncSingleProduct(c.a, c.q, c.b), c.expected) << c.a << " " << c.q;
}

TEST(Arithmetic, SaturationAmountAtTheLimits) {
    struct Case { int percent, expected; } cases[] = {
        {-100, -255}, {100, 255}, {-120, -255}, {130, 255}, {50, 127}, {-50, -127}, {0, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(sk::SaturationAmount(c.percent), c.expected) << c.percent;
    // -100 % makes a colour grey: the mean of its channels.
    EXPECT_EQ(ShiftSaturation(sk::SaturationAmount(-100), 0x000000FFu), 0x00555555u);
}

TEST(Arithmetic, HorizontalGradientPieceEnds) {
    // Piece 0 (red) covers Trunc(percent * single(width / 100)) columns; the first column of
    // piece 1 (green) is where it ends.
    struct Case { int width, percent, end; } cases[] = {{70, 30, 20}, {10, 50, 5}, {100, 30, 30}, {7, 30, 2}, {33, 60, 19}};
    for (const auto& c : cases) {
        TMemBitmap32 bmp(c.width, 2);
        const std::wstring data = L"255;255;" + std::to_wstring(c.percent) + L";1;0;65280;65280;" +
                                  std::to_wstring(100 - c.percent) + L";0;0";
        sk::TsGradArray array;
        sk::ParseGradientData(data, array);
        FillGradient(&bmp, {0, 0, c.width, 2}, array);
        EXPECT_EQ(ReadPixel32(bmp, c.end - 1, 1), Px(255, 0, 0)) << c.width << " " << c.percent;
        EXPECT_EQ(ReadPixel32(bmp, c.end, 1), Px(0, 255, 0)) << c.width << " " << c.percent;
    }
}

TEST(Arithmetic, MixTiesRoundToEven) {
    // Genuine halves in hundredths: (c * p + t * (100 - p)) / 100.
    struct Case { int c, t, percent, expected; } cases[] = {
        {55, 105, 1, 104},  // 104.5
        {5, 255, 67, 88},   // 87.5
        {1, 0, 50, 0},      // 0.5
        {3, 0, 50, 2},      // 1.5
        {200, 100, 0, 100}, {200, 100, 100, 200},
    };
    for (const auto& c : cases) {
        TMemBitmap32 bmp(1, 1);
        WritePixel32(bmp, 0, 0, uint32_t(c.c) | 0x77000000u);
        MixRectWithColor(&bmp, {0, 0, 0, 0}, c.percent, static_cast<TColor>(c.t << 16));  // blue lane
        EXPECT_EQ(ReadPixel32(bmp, 0, 0), uint32_t(c.expected) | 0x77000000u) << c.c << " " << c.t << " " << c.percent;
    }
}

TEST(Arithmetic, DisabledBlendOfBlackOverWhiteIs152) {
    // A black face keeps 0.4 of itself under the white parent: Trunc(255 - 255 * 0.4) with 0.4
    // as a double is Trunc(152.99999999999999...).
    TMemBitmap32 face(1, 1), parent(1, 1);
    WritePixel32(face, 0, 0, 0xFF000000u);
    WritePixel32(parent, 0, 0, 0x00FFFFFFu);
    BlendFromBitmap(&face, 0, 0, 0x00FF00FFu, DisabledBlendLevel, {0, 0, 0, 0}, &parent);
    EXPECT_EQ(ReadPixel32(face, 0, 0), 0xFF989898u);
    // InterpolateColor: Trunc(0.4 * 0 + 0.6 * 255) the same way.
    EXPECT_EQ(InterpolateColor(0x00000000u, 0x00FFFFFFu, 0.4), 0x00989898u);
}
