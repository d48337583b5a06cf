// The engine's built-in images: the blur template's quoted rows and symmetry, and the two
// shadow images' alpha profile, read back through the engine's own decoders.
#include <gtest/gtest.h>

#include "EngineArt.h"
#include "skin/acImageDecode.h"

using namespace genskinres;

TEST(BlurTemplate, QuotedRowsAndSymmetry) {
    const TBlurTemplate t = MakeBlurTemplate();
    const std::vector<int> rows[] = {
        {255, 254, 253, 250, 247, 243, 238, 235, 233, 232, 233, 235, 238, 243, 247, 250, 253, 254, 255},
        {247, 226, 194, 155, 115, 86, 69, 58, 52, 51, 52, 58, 69, 86, 115, 155, 194, 226, 247},
        {232, 188, 135, 87, 51, 51, 51, 51, 51, 51, 51, 51, 51, 51, 51, 87, 135, 188, 232},
    };
    const int rowIndex[] = {0, 4, 9};
    for (int r = 0; r < 3; ++r)
        for (int x = 0; x < kBlurSize; ++x) EXPECT_EQ(t[rowIndex[r]][x], rows[r][x]) << "row " << rowIndex[r] << " x " << x;
    for (int y = 0; y < kBlurSize; ++y)
        for (int x = 0; x < kBlurSize; ++x) {
            ASSERT_EQ(t[y][x], t[kBlurSize - 1 - y][x]);
            ASSERT_EQ(t[y][x], t[y][kBlurSize - 1 - x]);
            ASSERT_EQ(t[y][x], t[x][y]);
        }
    // Toward the middle the values never rise.
    for (int y = 0; y < kBlurSize / 2; ++y)
        for (int x = 0; x < kBlurSize / 2; ++x) {
            EXPECT_GE(t[y][x], t[y + 1][x]);
            EXPECT_GE(t[y][x], t[y][x + 1]);
        }
}

TEST(BlurTemplate, BitmapFileKeepsTheGreyLevels) {
    const TBlurTemplate t = MakeBlurTemplate();
    const auto file = EncodeGreyBmp(t);
    const auto decoded = sk::DecodeBmp(file.data(), file.size());
    ASSERT_TRUE(decoded.Bitmap);
    ASSERT_EQ(decoded.Bitmap->Width, kBlurSize);
    ASSERT_EQ(decoded.Bitmap->Height, kBlurSize);
    for (int y = 0; y < kBlurSize; ++y)
        for (int x = 0; x < kBlurSize; ++x) {
            const uint32_t g = t[y][x];
            EXPECT_EQ(decoded.Bitmap->Row(y)[x] & 0xFFFFFFu, g | (g << 8) | (g << 16)) << x << "," << y;
        }
}

TEST(ShadowImages, AlphaRisesFromTheEdgeToTheInnerValue) {
    struct Case {
        uint8_t inner;
        bool clearRing;
    } cases[] = {{128, false}, {77, true}};
    for (const auto& c : cases) {
        const auto png = genicon::encodePng(MakeShadowImage(c.inner, c.clearRing));
        const auto decoded = sk::DecodePng(png.data(), png.size());
        ASSERT_TRUE(decoded.Bitmap);
        const auto& b = *decoded.Bitmap;
        ASSERT_EQ(b.Width, kShadowSize);
        ASSERT_EQ(b.Height, kShadowSize);
        auto alpha = [&](int x, int y) { return int(b.Row(y)[x] >> 24); };
        EXPECT_EQ(alpha(0, 0), 0);
        EXPECT_EQ(alpha(16, 0), 0);
        EXPECT_EQ(alpha(16, 16), c.inner);
        EXPECT_EQ(alpha(kShadowDepth, 16), c.inner);
        if (c.clearRing) EXPECT_EQ(alpha(1, 16), 0) << "the ring inside the clear one starts the rise";
        else EXPECT_GT(alpha(1, 16), 0);
        for (int x = 0; x < 16; ++x) {
            EXPECT_LE(alpha(x, 16), alpha(x + 1, 16));
            EXPECT_EQ(b.Row(16)[x] & 0xFFFFFFu, 0u) << "black";
        }
    }
}
