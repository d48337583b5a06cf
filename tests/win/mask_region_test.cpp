// A border mask with transparent corners cuts its magenta corner pixels out of a real
// window region; everything else of the region stays.
#include <gtest/gtest.h>

#include "skinpaint/sMaskRegion.h"
#include "skin/SkinModel.h"

namespace {

constexpr uint32_t kKey = 0x00FF00FF;

// One 6 x 6 frame with margins 3 and a masked band, whose top-left and bottom-right corner
// pixels are magenta.
struct RoundedBorder {
    sk::TSkinModel model;
    RoundedBorder() {
        model.MasterBitmap = std::make_unique<rd::TMemBitmap32>(6, 12);
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 6; ++x) rd::WritePixel32(*model.MasterBitmap, x, y, y < 6 ? 0x00203040u : 0);
        for (auto [x, y] : {std::pair{0, 0}, {1, 0}, {0, 1}, {5, 5}}) rd::WritePixel32(*model.MasterBitmap, x, y, kKey);
        sk::TsMaskData m;
        m.R = {0, 0, 6, 12};
        m.ImageCount = 1;
        m.MaskType = 1;
        m.DrawMode = 4;
        m.WL = m.WT = m.WR = m.WB = 3;
        m.CornerType = 2;
        m.Manager = &model;
        model.ma.push_back(std::move(m));
    }
};

}  // namespace

TEST(MaskRegion, MagentaCornerPixelsLeaveTheWindowRegion) {
    RoundedBorder border;
    constexpr int W = 40, H = 20;
    rd::TMemBitmap32 target(W, H);
    HRGN region = CreateRectRgn(0, 0, W, H);
    ASSERT_TRUE(rd::PaintMaskWithRegion(&target, region, true, 0, border.model.ma[0]));
    const struct {
        int x, y;
        bool inside;
    } cases[] = {{0, 0, false}, {1, 0, false}, {0, 1, false}, {2, 0, true}, {1, 1, true},
                 {W - 1, H - 1, false}, {W - 2, H - 1, true}, {W - 1, 0, true}, {0, H - 1, true}, {20, 10, true}};
    for (const auto& c : cases)
        EXPECT_EQ(PtInRegion(region, c.x, c.y) != 0, c.inside) << c.x << "," << c.y;
    RECT box;
    EXPECT_EQ(GetRgnBox(region, &box), COMPLEXREGION);
    EXPECT_EQ(box.right, W);
    EXPECT_EQ(rd::ReadPixel32(target, 2, 2) & 0xFFFFFFu, 0x00203040u) << "the mask was drawn";
    DeleteObject(region);
}

TEST(MaskRegion, WithoutARegionOnlyThePaintingHappens) {
    RoundedBorder border;
    rd::TMemBitmap32 target(10, 10);
    EXPECT_FALSE(rd::PaintMaskWithRegion(&target, nullptr, true, 0, border.model.ma[0]));
    EXPECT_EQ(rd::ReadPixel32(target, 2, 2) & 0xFFFFFFu, 0x00203040u);
}
