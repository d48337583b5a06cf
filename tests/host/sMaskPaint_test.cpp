// Nine-part mask drawing and its piece copies.
#include <gtest/gtest.h>

#include "render/sMaskPaint.h"

using namespace rd;

namespace {

uint32_t Px(int r, int g, int b, int a = 0) { return uint32_t(b) | uint32_t(g) << 8 | uint32_t(r) << 16 | uint32_t(a) << 24; }
constexpr uint32_t kBlank = 0x01010101, kKey = 0x00FF00FF;

TMemBitmap32 Filled(int w, int h, uint32_t value) {
    TMemBitmap32 bmp(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) WritePixel32(bmp, x, y, value);
    return bmp;
}

// Source pixel encoding its frame and position: red = frame * 60 + 1, green = x, blue = y.
uint32_t Src(int frame, int x, int y) { return Px(frame * 60 + 1, x, y); }

// A border mask of `frames` frames, each 16 x 12, in the master bitmap at (0, 0); with
// masked, a mask band of the same size below (all 0: paints the image).
struct TBorderModel {
    sk::TSkinModel model;
    TBorderModel(int frames, bool masked, int drawMode, int cornerType = 0, int wl = 6, int wr = 6) {
        const int fw = 16, fh = 12;
        model.MasterBitmap = std::make_unique<TMemBitmap32>(fw * frames, masked ? 2 * fh : fh);
        for (int f = 0; f < frames; ++f)
            for (int y = 0; y < fh; ++y)
                for (int x = 0; x < fw; ++x) {
                    WritePixel32(*model.MasterBitmap, f * fw + x, y, Src(f, x, y));
                    if (masked) WritePixel32(*model.MasterBitmap, f * fw + x, fh + y, 0);
                }
        sk::TsMaskData m;
        m.R = {0, 0, fw * frames, masked ? 2 * fh : fh};
        m.ImageCount = static_cast<int16_t>(frames);
        m.MaskType = masked ? 1 : 0;
        m.DrawMode = static_cast<int16_t>(drawMode);
        m.WL = static_cast<int16_t>(wl);
        m.WR = static_cast<int16_t>(wr);
        m.WT = 3;
        m.WB = 3;
        m.CornerType = cornerType;
        m.Manager = &model;
        model.ma.push_back(std::move(m));
    }
    sk::TsMaskData& Mask() { return model.ma[0]; }
    void SetPixel(int x, int y, uint32_t v) { WritePixel32(*model.MasterBitmap, x, y, v); }
};

}  // namespace

TEST(PaintMaskNinePart, SmallTargetMarginsAndPieces) {
    // WL = WR = 6 drawn 9 wide: left 5, right 4, no centre columns.
    for (bool masked : {false, true}) {
        TBorderModel bm(1, masked, 0);
        TMemBitmap32 bmp = Filled(9, 12, kBlank);
        PaintMaskNinePart(&bmp, {0, 0, 9, 12}, TCacheInfo{}, false, 0, bm.Mask());
        for (int x = 0; x < 5; ++x) EXPECT_EQ(ReadPixel32(bmp, x, 0) & 0xFFFFFF, Src(0, x, 0)) << masked << " " << x;
        // Right margin of 4: source columns 12..15 of the frame.
        for (int x = 5; x < 9; ++x) EXPECT_EQ(ReadPixel32(bmp, x, 0) & 0xFFFFFF, Src(0, x + 7, 0)) << masked << " " << x;
        // Left edge tiled down between the corners with source rows 3..8.
        EXPECT_EQ(ReadPixel32(bmp, 0, 3) & 0xFFFFFF, Src(0, 0, 3));
        EXPECT_EQ(ReadPixel32(bmp, 4, 8) & 0xFFFFFF, Src(0, 4, 8));
        EXPECT_EQ(ReadPixel32(bmp, 0, 11) & 0xFFFFFF, Src(0, 0, 11));
    }
}

TEST(PaintMaskNinePart, TilesWholePiecesThenOneCutPiece) {
    TBorderModel bm(1, false, 4);  // tiled, centre filled
    TMemBitmap32 bmp = Filled(30, 20, kBlank);
    PaintMaskNinePart(&bmp, {0, 0, 30, 20}, TCacheInfo{}, false, 0, bm.Mask());
    // Top edge: pieces of cw = 4 from x = 6: 6, 10, 14, 18, then 22..23 (cut).
    for (int x = 6; x < 24; ++x) EXPECT_EQ(ReadPixel32(bmp, x, 1), Src(0, 6 + (x - 6) % 4, 1)) << x;
    // Centre rows: ch = 6 from y = 3: 3, 9, then 15..16 (cut).
    EXPECT_EQ(ReadPixel32(bmp, 7, 16), Src(0, 7, 3 + (16 - 3) % 6));
    EXPECT_EQ(ReadPixel32(bmp, 29, 19), Src(0, 15, 11));  // bottom-right corner
    TBorderModel noCentre(1, false, 0);
    TMemBitmap32 hollow = Filled(30, 20, kBlank);
    PaintMaskNinePart(&hollow, {0, 0, 30, 20}, TCacheInfo{}, false, 0, noCentre.Mask());
    EXPECT_EQ(ReadPixel32(hollow, 12, 10), kBlank);  // DrawMode without 4 leaves the centre
}

TEST(PaintMaskNinePart, DrawModeBitsAndStateClamping) {
    struct Case { int frames, drawMode, state; bool drawn; int frame; } cases[] = {
        {3, 2, 0, false, 0},  // bit 2: nothing in state 0
        {3, 2, 1, true, 1},
        {3, 0, 5, true, 2},   // state 5 of 3 frames: frame 2
        {3, 0, -1, true, 0},
        {1, 0, 2, true, 0},
    };
    for (const auto& c : cases) {
        TBorderModel bm(c.frames, false, c.drawMode);
        TMemBitmap32 bmp = Filled(20, 12, kBlank);
        PaintMaskNinePart(&bmp, {0, 0, 20, 12}, TCacheInfo{}, false, c.state, bm.Mask());
        EXPECT_EQ(ReadPixel32(bmp, 1, 1), c.drawn ? Src(c.frame, 1, 1) : kBlank) << c.drawMode << " " << c.state;
    }
    TBorderModel bm(1, false, 0);
    TMemBitmap32 bmp = Filled(20, 12, kBlank);
    PaintMaskNinePart(&bmp, {0, 0, 1, 12}, TCacheInfo{}, false, 0, bm.Mask());  // narrower than 2
    EXPECT_EQ(ReadPixel32(bmp, 0, 0), kBlank);
}

TEST(PaintMaskNinePart, StretchedEdgesColourOnColour) {
    TBorderModel bm(1, false, 1 | 4);
    TMemBitmap32 bmp = Filled(24, 12, kBlank);
    PaintMaskNinePart(&bmp, {0, 0, 24, 12}, TCacheInfo{}, false, 0, bm.Mask());
    // Top edge: 4 source columns stretched over 12: each repeated three times.
    for (int x = 6; x < 18; ++x) EXPECT_EQ(ReadPixel32(bmp, x, 0), Src(0, 6 + (x - 6) / 3, 0)) << x;
}

TEST(PaintMaskNinePart, CornersKeyedOrMaskedByCornerType) {
    TMemBitmap32 parent = Filled(40, 40, Px(9, 8, 7, 255));
    const TCacheInfo bg = CacheInfoForBitmap(&parent, 10, 10);
    struct Case { bool masked; int cornerType; bool cornerFlag; uint32_t expected; } cases[] = {
        {false, 1, true, Px(9, 8, 7, 255)},  // keyed corner shows the parent's pixel
        {false, 0, true, kBlank},            // CornerType 0: no background; over a ready one key pixels stay
        {true, 1, true, Px(9, 8, 7, 255)},
        // masked, CornerType 0: magenta composed through its mask (0 paints the image), opaque
        {true, 0, true, kKey | 0xFF000000u},
        {true, 1, false, kKey | 0xFF000000u},
    };
    for (const auto& c : cases) {
        TBorderModel bm(1, c.masked, 0, c.cornerType);
        bm.SetPixel(0, 0, kKey);
        bm.SetPixel(8, 0, kKey);  // a magenta pixel of the top edge
        TMemBitmap32 bmp = Filled(20, 12, kBlank);
        PaintMaskNinePart(&bmp, {0, 0, 20, 12}, bg, c.cornerFlag, 0, bm.Mask());
        EXPECT_EQ(ReadPixel32(bmp, 0, 0), c.expected) << c.masked << " " << c.cornerType << " " << c.cornerFlag;
        if (!c.masked) EXPECT_EQ(ReadPixel32(bmp, 8, 0), kKey) << "an unmasked edge copies magenta unchanged";
    }
}

TEST(CopyKeyedPiece, KeyPixelsByBackgroundKind) {
    TMemBitmap32 src = Filled(2, 1, Px(1, 2, 3));
    WritePixel32(src, 0, 0, kKey);
    TMemBitmap32 parent = Filled(8, 8, Px(50, 60, 70, 255));
    struct Case { TCacheInfo bg; bool flag; uint32_t key, other; } cases[] = {
        {TCacheInfo{nullptr, 0, 0, 0x00112233, {}, false}, false, Px(0x33, 0x22, 0x11), Px(1, 2, 3)},
        {CacheInfoForBitmap(&parent, 0, 0), true, Px(50, 60, 70, 255), Px(1, 2, 3)},
        {CacheInfoForBitmap(&parent, 0, 0), false, kBlank, Px(1, 2, 3)},
    };
    for (const auto& c : cases) {
        TMemBitmap32 t = Filled(4, 2, kBlank);
        CopyKeyedPiece(&t, &src, 1, c.flag, c.bg, kKey, {0, 0, 1, 0}, 1);
        EXPECT_EQ(ReadPixel32(t, 1, 1), c.key);
        EXPECT_EQ(ReadPixel32(t, 2, 1), c.other);
    }
    // The target as its own background: key pixels stay, copied pixels become opaque.
    TMemBitmap32 t = Filled(4, 2, kBlank);
    CopyKeyedPiece(&t, &src, 1, true, CacheInfoForBitmap(&t, 0, 0), kKey, {0, 0, 1, 0}, 1);
    EXPECT_EQ(ReadPixel32(t, 1, 1), kBlank);
    EXPECT_EQ(ReadPixel32(t, 2, 1), Px(1, 2, 3, 255));
}

TEST(BackgroundToCacheInfo, KindsAndBitmapInfo) {
    TMemBitmap32 parent(4, 4);
    const TCacheInfo ready = BackgroundToCacheInfo(2, &parent, {3, 4}, 0x123456, {1, 2, 3, 4});
    EXPECT_TRUE(ready.Ready);
    EXPECT_EQ(ready.FillColor, clMagenta);
    EXPECT_EQ(ready.FillRect.Right, 0);
    EXPECT_EQ(ready.X, 3);
    const TCacheInfo colour = BackgroundToCacheInfo(1, &parent, {3, 4}, clBtnFace, {1, 2, 3, 4});
    EXPECT_FALSE(colour.Ready);
    EXPECT_EQ(colour.FillColor, ColorToRGB(clBtnFace));
    EXPECT_EQ(colour.FillRect.Bottom, 4);
    EXPECT_EQ(colour.Bmp, &parent);
}
