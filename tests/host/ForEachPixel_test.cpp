// ForEachPixel on large bitmaps (where results of repeated colours are remembered) must give
// exactly what the operation gives pixel by pixel, skip the key, and keep the alpha channel
// handling of each operation.
#include <gtest/gtest.h>

#include <random>

#include "render/sGraphUtils.h"

using namespace rd;

namespace {

// Few distinct colours (as in skin images), many colliding in a small table, a key colour.
TMemBitmap32 Sample(int w, int h, uint32_t key) {
    TMemBitmap32 bmp(w, h);
    std::mt19937 random(7);
    std::vector<uint32_t> palette;
    for (int i = 0; i < 3000; ++i) palette.push_back(random());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            bmp.Row(y)[x] = (x + y) % 17 == 0 ? key : palette[random() % (x < w / 2 ? 40 : palette.size())];
    return bmp;
}

}  // namespace

TEST(ForEachPixel, EqualsTheOperationPixelByPixel) {
    struct Case {
        const char* name;
        TPixelOp op;
        int amount;
    } cases[] = {{"hue", PixelShiftHue, 196}, {"hue negative", PixelShiftHue, -35}};
    const uint32_t keyPixel = 0x00FF00FF;  // magenta is its own red-blue exchange
    for (const auto& c : cases)
        for (auto [w, h] : {std::pair{8, 8}, {200, 150}, {1, 5000}}) {
            TMemBitmap32 bmp = Sample(w, h, keyPixel);
            const TMemBitmap32 before = bmp;
            ForEachPixel(&bmp, c.op, c.amount, 0x00FF00FF);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const uint32_t in = before.Row(y)[x];
                    const uint32_t want = in == keyPixel ? in : c.op(in, c.amount);
                    ASSERT_EQ(bmp.Row(y)[x], want) << c.name << " " << w << "x" << h << " at " << x << "," << y;
                }
        }
}
