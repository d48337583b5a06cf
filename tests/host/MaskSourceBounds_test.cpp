// Masks whose rectangle reaches past the bitmap it lies in: every painter reads only the
// pixels inside that bitmap. The master bitmap here is a 20 x 20 view into a larger buffer
// whose pixels around the view are a guard colour; each painter runs twice, with two guard
// colours, and a painter that reads past the view's edge gives two different results.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "skinpaint/sMaskPaint.h"
#include "skinpaint/sTexture.h"

using namespace rd;

namespace {

constexpr int kSide = 20, kGuard = 24;
constexpr uint32_t kBlank = 0xFF010203u;  // the target before painting
constexpr uint32_t kKey = 0x00FF00FFu;

// Inside the view: varied image pixels, no magenta.
uint32_t Inside(int x, int y) { return 0xFF000000u | uint32_t(x * 12) << 16 | uint32_t(y * 12) << 8 | 0x40u; }

// A model whose master bitmap is the kSide x kSide middle of a buffer filled with `guard`.
struct TGuardedModel {
    TMemBitmap32 Buffer{kSide + 2 * kGuard, kSide + 2 * kGuard};
    sk::TSkinModel model;
    TGuardedModel(uint32_t guard, TRect r, int maskType, int imageCount, int drawMode) {
        for (int y = 0; y < Buffer.Height; ++y)
            for (int x = 0; x < Buffer.Width; ++x) WritePixel32(Buffer, x, y, guard);
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x) WritePixel32(Buffer, kGuard + x, kGuard + y, Inside(x, y));
        model.MasterBitmap = std::make_unique<TMemBitmap32>();
        TBitmap32& view = *model.MasterBitmap;
        view.Row0 = reinterpret_cast<uint8_t*>(Buffer.Row(kGuard) + kGuard);
        view.Stride = Buffer.Stride;
        view.Width = view.Height = kSide;
        sk::TsMaskData m;
        m.R = r;
        m.ImageCount = static_cast<int16_t>(imageCount);
        m.MaskType = static_cast<int16_t>(maskType);
        m.DrawMode = static_cast<int16_t>(drawMode);
        m.WL = m.WT = m.WR = m.WB = 6;
        m.CornerType = 1;
        m.Manager = &model;
        model.ma.push_back(std::move(m));
    }
    void Set(int x, int y, uint32_t v) { WritePixel32(Buffer, kGuard + x, kGuard + y, v); }
    const sk::TsMaskData& Mask() const { return model.ma[0]; }
};

TMemBitmap32 Blank(int w, int h) {
    TMemBitmap32 bmp(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) WritePixel32(bmp, x, y, kBlank);
    return bmp;
}

std::vector<uint32_t> Pixels(const TBitmap32& bmp) {
    std::vector<uint32_t> out;
    for (int y = 0; y < bmp.Height; ++y)
        for (int x = 0; x < bmp.Width; ++x) out.push_back(ReadPixel32(bmp, x, y));
    return out;
}

std::vector<int> Flat(const std::vector<TRect>& rects) {
    std::vector<int> out;
    for (const TRect& r : rects) out.insert(out.end(), {r.Left, r.Top, r.Right, r.Bottom});
    return out;
}

const TRect kWhole{0, 0, 24, 24};

}  // namespace

TEST(MaskSourceBounds, PaintersReadNothingPastTheSource) {
    // A painter draws into the target and may list rectangles (the corner region).
    using TPaint = std::function<void(TBitmap32*, const sk::TsMaskData&, std::vector<TRect>&)>;
    const struct {
        const char* painter;
        TPaint paint;
    } painters[] = {
        {"nine-part", [](TBitmap32* t, const sk::TsMaskData& m, std::vector<TRect>&) {
             PaintMaskNinePart(t, kWhole, {}, true, 0, m);
         }},
        {"nine-part alpha", [](TBitmap32* t, const sk::TsMaskData& m, std::vector<TRect>&) {
             PaintMaskNinePartAlpha(t, kWhole, {}, 0, m);
         }},
        {"nine-part with region", [](TBitmap32* t, const sk::TsMaskData& m, std::vector<TRect>& cut) {
             PaintMaskWithRegion(t, cut, true, 0, m);
         }},
        {"glyph", [](TBitmap32* t, const sk::TsMaskData& m, std::vector<TRect>&) {
             PaintMaskGlyph(t, {0, 0}, 0, {}, m, 1);
         }},
        {"masked texture, mode 0", [](TBitmap32* t, const sk::TsMaskData& m, std::vector<TRect>&) {
             TRect r = kWhole;
             TileMaskedTexture(t, r, {}, 0, m);
         }},
        {"masked texture, mode 10", [](TBitmap32* t, const sk::TsMaskData& m, std::vector<TRect>&) {
             TRect r = kWhole;
             TileMaskedTexture(t, r, TCacheInfo{nullptr, 0, 0, 0x00010203, {}, false}, 10, m);
         }},
    };
    const struct {
        TRect r;
        int maskType, imageCount, drawMode;
    } masks[] = {
        {{12, 12, 30, 30}, 1, 1, 0},  // past the right and bottom edges
        {{12, 12, 30, 30}, 0, 1, 4},  // unmasked, tiled with the centre
        {{15, 10, 30, 20}, 1, 1, 0},  // the mask band partly below the bitmap
        {{-8, -8, 10, 10}, 1, 1, 1},  // before the left and top edges, stretched
        {{4, 0, 34, 20}, 1, 2, 0},    // the second state wholly outside
    };
    const uint32_t guards[2] = {kKey, 0xFF5A3C1Eu};
    for (const auto& p : painters)
        for (const auto& mk : masks) {
            std::vector<uint32_t> pixels[2];
            std::vector<TRect> cut[2];
            for (int g = 0; g < 2; ++g) {
                TGuardedModel gm(guards[g], mk.r, mk.maskType, mk.imageCount, mk.drawMode);
                TMemBitmap32 target = Blank(kWhole.Width(), kWhole.Height());
                p.paint(&target, gm.Mask(), cut[g]);
                pixels[g] = Pixels(target);
            }
            const std::string row = std::string(p.painter) + ", mask (" + std::to_string(mk.r.Left) + "," +
                                    std::to_string(mk.r.Top) + "," + std::to_string(mk.r.Right) + "," +
                                    std::to_string(mk.r.Bottom) + ")";
            EXPECT_EQ(pixels[0], pixels[1]) << row;
            EXPECT_EQ(Flat(cut[0]), Flat(cut[1])) << row;
        }
}

TEST(MaskSourceBounds, InsidePartOfAMaskPastTheEdgeIsStillPainted) {
    // Texture tile (15, 10)-(30, 15) over its mask band 5 rows lower: the first five columns
    // lie inside and show the image (mask 0).
    TGuardedModel texture(0xFF5A3C1Eu, {15, 10, 30, 20}, 1, 1, 0);
    for (int y = 15; y < 20; ++y)
        for (int x = 15; x < 20; ++x) texture.Set(x, y, 0);
    TMemBitmap32 target = Blank(24, 24);
    TRect rect = kWhole;
    TileMaskedTexture(&target, rect, {}, 0, texture.Mask());
    EXPECT_EQ(ReadPixel32(target, 2, 3) & 0xFFFFFF, Inside(17, 13) & 0xFFFFFF);
    EXPECT_EQ(ReadPixel32(target, 7, 3), kBlank);  // its columns outside the bitmap: nothing
    // Nine-part: the top-left corner (12, 12)-(18, 18) lies inside.
    TGuardedModel border(0xFF5A3C1Eu, {12, 12, 30, 30}, 0, 1, 0);
    target = Blank(24, 24);
    PaintMaskNinePart(&target, kWhole, {}, false, 0, border.Mask());
    EXPECT_EQ(ReadPixel32(target, 3, 4), Inside(15, 16));
}
