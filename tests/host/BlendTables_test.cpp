// The table paths of MixRectWithColor and BlendFromBitmap against their formulas evaluated
// directly and exactly, for every input byte (and every byte pair).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "render/sAlphaGraph.h"

using namespace rd;

namespace {

// Round(c * k + t * (1 - k)), half to even, k = percent / 100 exactly (percent 0..100): the
// value in hundredths is whole, so a tie is a remainder of exactly 50.
int DirectMix(int c, int t, int percent) {
    const int hundredths = c * percent + t * (100 - percent);
    const int whole = hundredths / 100, rest = hundredths % 100;
    return std::clamp(whole + (rest > 50 || (rest == 50 && whole % 2 == 1) ? 1 : 0), 0, 255);
}

// Trunc(s - (s - d) * level) in extended precision, which is exact for the levels used here.
int DirectBlend(int s, int d, double level) {
    const long double k = level;
    return std::clamp(static_cast<int>(s - (s - d) * k), 0, 255);
}

int Lane(uint32_t v, int lane) { return static_cast<int>((v >> (8 * lane)) & 0xFF); }

}  // namespace

TEST(PixelTables, MixRectWithColorMatchesFormulaForEveryByte) {
    // Colours with distinct channels, so a lane mix-up shows; percents around the halves.
    const TColor colors[] = {0x00000000, 0x00FFFFFF, 0x00C08040, 0x00017FFE};
    const int percents[] = {0, 1, 25, 33, 40, 50, 60, 67, 99, 100};
    for (const TColor color : colors) {
        for (const int percent : percents) {
            TMemBitmap32 bmp(256, 1);
            for (int c = 0; c < 256; ++c)  // every byte in every lane, the lanes apart
                WritePixel32(bmp, c, 0, uint32_t(c) | uint32_t(255 - c) << 8 | uint32_t((c * 7) & 0xFF) << 16 | 0x5A000000u);
            MixRectWithColor(&bmp, {0, 0, 255, 0}, percent, color);
            const uint32_t t = ExchangeRedBlue(static_cast<uint32_t>(color));
            for (int c = 0; c < 256; ++c) {
                const uint32_t p = ReadPixel32(bmp, c, 0);
                const int in[3] = {c, 255 - c, (c * 7) & 0xFF};
                for (int lane = 0; lane < 3; ++lane)
                    ASSERT_EQ(Lane(p, lane), DirectMix(in[lane], Lane(t, lane), percent))
                        << "colour " << std::hex << color << std::dec << " percent " << percent << " byte " << in[lane];
                ASSERT_EQ(p >> 24, 0x5Au);
            }
        }
    }
}

TEST(PixelTables, MixRectWithColorRebuildsTablesWhenColourOrPercentChanges) {
    // Consecutive calls with one colour then another must not reuse the first call's tables.
    TMemBitmap32 bmp(1, 1);
    const struct { int percent; TColor color; } calls[] = {{50, 0x00000000}, {50, 0x00FFFFFF}, {20, 0x00FFFFFF}, {20, 0x00FFFFFF}};
    for (const auto& call : calls) {
        WritePixel32(bmp, 0, 0, 0x00646464u);
        MixRectWithColor(&bmp, {0, 0, 0, 0}, call.percent, call.color);
        const int expected = DirectMix(100, static_cast<int>(call.color & 0xFF), call.percent);
        EXPECT_EQ(ReadPixel32(bmp, 0, 0), uint32_t(expected) * 0x010101u) << call.percent << " " << call.color;
    }
}

TEST(PixelTables, BlendFromBitmapMatchesFormulaForEveryBytePair) {
    // Source row s, target column d in every lane: all 65536 pairs per level.
    const double levels[] = {0.0, 0.1, 0.4, 0.5, 0.75, 1.0 / 3, 1.0};
    for (const double level : levels) {
        TMemBitmap32 source(256, 256), target(256, 256);
        for (int s = 0; s < 256; ++s)
            for (int d = 0; d < 256; ++d) {
                WritePixel32(source, d, s, uint32_t(s) * 0x010101u | 0xFF000000u);
                WritePixel32(target, d, s, uint32_t(d) | uint32_t(255 - d) << 8 | uint32_t(d) << 16 | 0x33000000u);
            }
        BlendFromBitmap(&target, 0, 0, static_cast<uint32_t>(clNone), level, {0, 0, 255, 255}, &source);
        for (int s = 0; s < 256; ++s)
            for (int d = 0; d < 256; ++d) {
                const uint32_t p = ReadPixel32(target, d, s);
                ASSERT_EQ(Lane(p, 0), DirectBlend(s, d, level)) << level << " " << s << " " << d;
                ASSERT_EQ(Lane(p, 1), DirectBlend(s, 255 - d, level)) << level << " " << s << " " << d;
                ASSERT_EQ(p >> 24, 0x33u);
            }
    }
}
