// The window outline from a border mask's corners: key-coloured corner pixels are cut away,
// other masks leave the rectangle whole, and margins larger than the picture read nothing
// outside it.
#include <gtest/gtest.h>

#include "forms/sFormRegion.h"
#include "render/acPixelRows.h"

namespace {

constexpr uint32_t kKey = rd::kKeyPixel;
constexpr uint32_t kFrame = 0xFF404040u;

// A mask with its own 2-picture bitmap of size x size pictures, margins `margin`; the pixels
// listed are key-coloured in the first picture.
sk::TsMaskData MaskWithKeys(int size, int margin, std::initializer_list<std::pair<int, int>> keys) {
    sk::TsMaskData m;
    m.Bmp = std::make_unique<rd::TMemBitmap32>(size * 2, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size * 2; ++x) m.Bmp->Row(y)[x] = kFrame;
    for (auto [x, y] : keys) m.Bmp->Row(y)[x] = kKey;
    m.R = {0, 0, size * 2, size};
    m.ImageCount = 2;
    m.WL = m.WT = m.WR = m.WB = int16_t(margin);
    return m;
}

struct RegionCase {
    const char* Rule;
    std::initializer_list<std::pair<int, int>> Keys;
    bool TopOnly;
    std::vector<rd::TRect> Expected;  // in a 100 x 50 window
};

TEST(FormRegion, CornerRunsOfKeyPixels) {
    const RegionCase cases[] = {
        {"no key pixels: nothing cut", {}, false, {}},
        {"one pixel per corner",
         {{0, 0}, {7, 0}, {0, 7}, {7, 7}},
         false,
         {{0, 0, 1, 1}, {99, 0, 100, 1}, {0, 49, 1, 50}, {99, 49, 100, 50}}},
        {"a run of three in the top row is one rectangle", {{0, 0}, {1, 0}, {2, 0}, {0, 1}}, false,
         {{0, 0, 3, 1}, {0, 1, 1, 2}}},
        {"top corners only for title masks", {{0, 0}, {0, 7}}, true, {{0, 0, 1, 1}}},
        {"key pixels in the middle of the picture are not corners", {{4, 4}}, false, {}},
        {"the second picture is never read", {{8, 0}, {15, 7}}, false, {}},
    };
    for (const RegionCase& c : cases) {
        SCOPED_TRACE(c.Rule);
        const sk::TsMaskData mask = MaskWithKeys(8, 3, c.Keys);
        std::vector<rd::TRect> cut;
        sk::AddCornerCutouts(mask, 100, 50, c.TopOnly, cut);
        ASSERT_EQ(cut.size(), c.Expected.size());
        for (size_t i = 0; i < cut.size(); ++i) {
            EXPECT_EQ(cut[i].Left, c.Expected[i].Left) << i;
            EXPECT_EQ(cut[i].Top, c.Expected[i].Top) << i;
            EXPECT_EQ(cut[i].Right, c.Expected[i].Right) << i;
            EXPECT_EQ(cut[i].Bottom, c.Expected[i].Bottom) << i;
        }
    }
}

TEST(FormRegion, MarginsLargerThanThePictureStayInside) {
    // Margins of 40 on an 8-pixel picture: every pixel of the picture is scanned once per
    // corner at most, none outside it.
    sk::TsMaskData mask = MaskWithKeys(8, 40, {{0, 0}});
    std::vector<rd::TRect> cut;
    sk::AddCornerCutouts(mask, 100, 50, false, cut);
    for (const rd::TRect& r : cut) {
        EXPECT_GE(r.Left, 0);
        EXPECT_LE(r.Right, 100);
        EXPECT_GE(r.Top, 0);
        EXPECT_LE(r.Bottom, 50);
    }
    EXPECT_FALSE(cut.empty());
}

TEST(FormRegion, MasksWithoutPixelsOrOutsideTheirBitmap) {
    sk::TsMaskData none;  // no bitmap, no manager
    none.R = {0, 0, 10, 10};
    none.ImageCount = 1;
    none.WL = none.WT = none.WR = none.WB = 3;
    std::vector<rd::TRect> cut;
    sk::AddCornerCutouts(none, 100, 50, false, cut);
    EXPECT_TRUE(cut.empty());

    sk::TsMaskData outside = MaskWithKeys(8, 3, {{0, 0}});
    outside.R = {100, 100, 116, 108};  // claims pixels the bitmap does not have
    sk::AddCornerCutouts(outside, 100, 50, false, cut);
    EXPECT_TRUE(cut.empty());

    sk::TsMaskData tiny = MaskWithKeys(8, 3, {{0, 0}});
    sk::AddCornerCutouts(tiny, 2, 1, false, cut);  // a window smaller than the margins
    for (const rd::TRect& r : cut) {
        EXPECT_GE(r.Left, 0);
        EXPECT_LE(r.Right, 2);
        EXPECT_GE(r.Top, 0);
        EXPECT_LE(r.Bottom, 1);
    }
}

TEST(FormRegion, RegionLosesExactlyTheCutPixels) {
    const std::vector<rd::TRect> cut = {{0, 0, 2, 1}, {0, 1, 1, 2}, {99, 49, 100, 50}};
    HRGN region = sk::MakeWindowRegion(100, 50, cut);
    ASSERT_NE(region, nullptr);
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    EXPECT_FALSE(PtInRegion(region, 1, 0));
    EXPECT_FALSE(PtInRegion(region, 0, 1));
    EXPECT_FALSE(PtInRegion(region, 99, 49));
    EXPECT_TRUE(PtInRegion(region, 2, 0));
    EXPECT_TRUE(PtInRegion(region, 1, 1));
    EXPECT_TRUE(PtInRegion(region, 99, 0));
    EXPECT_TRUE(PtInRegion(region, 50, 25));
    DeleteObject(region);
}

}  // namespace
