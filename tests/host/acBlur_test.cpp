// Blur kernel taps and the box blur of 8-bit grey bitmaps.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "render/acBlur.h"

using namespace rd;

TEST(MakeBlurKernel, TapsPerRadius) {
    struct Case { int radius, taps; } cases[] = {{1, 3}, {2, 3}, {3, 5}, {4, 7}, {6, 13}, {0, 3}, {-5, 3}, {14, 33 - 2}};
    for (const auto& c : cases) {
        const TBlurKernel k = MakeBlurKernel(c.radius);
        EXPECT_EQ(2 * k.HalfSize + 1, c.taps) << "radius " << c.radius;
        double sum = 0;
        for (int i = -16; i <= 16; ++i) {
            const float w = k.Weights[16 + i];
            if (i < -k.HalfSize || i > k.HalfSize) EXPECT_EQ(w, 0.0f) << c.radius << " " << i;
            else EXPECT_FLOAT_EQ(w, 1.0f / static_cast<float>(c.taps)) << c.radius << " " << i;
            sum += w;
        }
        EXPECT_NEAR(sum, 1.0, 1e-6);
    }
}

namespace {

// Direct filter: weighted sum in double, edges repeated, rows then columns.
std::vector<int> ReferenceBlur(std::vector<int> px, int w, int h, int radius) {
    const TBlurKernel k = MakeBlurKernel(radius);
    auto pass = [&](int n, int lines, auto index) {
        std::vector<int> out(px.size());
        for (int l = 0; l < lines; ++l)
            for (int i = 0; i < n; ++i) {
                double s = 0;
                for (int t = -k.HalfSize; t <= k.HalfSize; ++t)
                    s += double(k.Weights[16 + t]) * px[index(l, std::clamp(i - t, 0, n - 1))];
                out[index(l, i)] = std::clamp(int(s), 0, 255);
            }
        px = out;
    };
    pass(w, h, [w](int l, int i) { return l * w + i; });
    pass(h, w, [w](int l, int i) { return i * w + l; });
    return px;
}

}  // namespace

TEST(BlurGrey8, MatchesDirectWeightedSum) {
    for (int radius : {1, 2, 3, 6}) {
        const int w = 23, h = 11;
        TMemBitmap8 bmp(w, h);
        std::vector<int> px(w * h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) bmp.Row(y)[x] = uint8_t(px[y * w + x] = ((x * 7) ^ (y * 13)) & 0xFF);
        BlurGrey8(&bmp, radius);
        const std::vector<int> ref = ReferenceBlur(px, w, h, radius);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) ASSERT_EQ(bmp.Row(y)[x], ref[y * w + x]) << radius << " " << x << "," << y;
    }
}

TEST(BlurGrey8, WhiteStaysWhiteAndSpotSpreadsOverTheBox) {
    TMemBitmap8 white(40, 8, 255);
    BlurGrey8(&white, 6);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 40; ++x) ASSERT_EQ(white.Row(y)[x], 255);  // the 255 clamp keeps white

    // A black spot in white: radius 3 is a 5 x 5 box, 24 of 25 samples white.
    TMemBitmap8 spot(11, 11, 255);
    spot.Row(5)[5] = 0;
    BlurGrey8(&spot, 3);
    EXPECT_EQ(spot.Row(5)[5], 244);  // rows: 4 * 255 / 5 = 204; columns: (4 * 255 + 204) / 5 = 244.8
    EXPECT_EQ(spot.Row(3)[3], 244);
    EXPECT_EQ(spot.Row(2)[5], 255);  // outside the box
    EXPECT_EQ(spot.Row(5)[8], 255);
}

TEST(BlurGrey8, IgnoresMissingOrEmptyBitmapsAndBadRadius) {
    BlurGrey8(nullptr, 3);
    TMemBitmap8 empty(0, 0);
    BlurGrey8(&empty, 3);
    TMemBitmap8 one(3, 1, 255);
    one.Row(0)[0] = 0;
    BlurGrey8(&one, 0);
    EXPECT_EQ(one.Row(0)[0], 0);
    BlurGrey8(&one, 1);  // a single row: columns of one pixel stay as the rows left them
    EXPECT_EQ(one.Row(0)[0], 85);
    EXPECT_EQ(one.Row(0)[1], 170);
}

TEST(BlurGrey8, MatchesDirectSumOnVariedSizesAndRowOrders) {
    // Lines shorter than the window, single rows and columns, the widest kernel, and a view
    // into a larger top-down buffer (its own stride, untouched margins).
    struct Case { int w, h, radius; } cases[] = {{1, 1, 3}, {1, 9, 2}, {9, 1, 6}, {4, 3, 6}, {37, 5, 14},
                                                 {60, 40, 6}, {13, 29, 4}, {400, 3, 1}};
    uint32_t seed = 5;
    for (const Case& c : cases)
        for (bool view : {false, true}) {
            std::vector<int> px(c.w * c.h);
            for (int& v : px) {
                seed = seed * 1664525u + 1013904223u;
                v = (seed >> 24) < 64 ? 255 : int(seed >> 24);
            }
            const int pad = 3, stride = c.w + 2 * pad;
            std::vector<uint8_t> buffer(size_t(stride) * (c.h + 2), 77);
            TMemBitmap8 own(c.w, c.h);
            TBitmap8 outer{buffer.data() + stride + pad, stride, c.w, c.h};
            TBitmap8& bmp = view ? outer : own;
            for (int y = 0; y < c.h; ++y)
                for (int x = 0; x < c.w; ++x) bmp.Row(y)[x] = uint8_t(px[y * c.w + x]);
            BlurGrey8(&bmp, c.radius);
            const std::vector<int> ref = ReferenceBlur(px, c.w, c.h, c.radius);
            for (int y = 0; y < c.h; ++y)
                for (int x = 0; x < c.w; ++x)
                    ASSERT_EQ(bmp.Row(y)[x], ref[y * c.w + x]) << c.w << "x" << c.h << " r" << c.radius << " at " << x
                                                                << "," << y << (view ? " view" : "");
            if (!view) continue;
            for (size_t i = 0; i < buffer.size(); ++i) {
                const long y = long(i) / stride - 1, x = long(i) % stride - pad;
                if (y < 0 || y >= c.h || x < 0 || x >= c.w) {
                    ASSERT_EQ(buffer[i], 77) << "margin byte " << i;
                }
            }
        }
}
