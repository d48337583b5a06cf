// Section faces and background layers: transparency paths, corner images, the alpha variant.
#include <gtest/gtest.h>

#include <cmath>

#include "skinpaint/sSectionPaint.h"

using namespace rd;

namespace {

uint32_t Px(int r, int g, int b, int a = 0) { return uint32_t(b) | uint32_t(g) << 8 | uint32_t(r) << 16 | uint32_t(a) << 24; }
int Lane(uint32_t v, int lane) { return static_cast<int>((v >> (8 * lane)) & 0xFF); }

// Distinct opaque pixel per position.
TMemBitmap32 Numbered(int w, int h) {
    TMemBitmap32 bmp(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) WritePixel32(bmp, x, y, Px(x * 3 + 1, y * 5 + 2, (x + y) & 0xFF, 255));
    return bmp;
}

// A model with one section "BUTTON" whose normal state has the given colour and transparency.
struct TSectionModel {
    sk::TSkinModel model;
    TSectionModel(TColor color, int transparency) {
        model.CommonSkinData = std::make_unique<sk::TsSkinData>();
        model.MasterBitmap = std::make_unique<TMemBitmap32>(4, 4);
        sk::TsGeneralData gd;
        gd.ClassName = L"BUTTON";
        for (auto& p : gd.Props) {
            p.Color = color;
            p.Transparency = transparency;
        }
        model.gd.push_back(std::move(gd));
    }
};

}  // namespace

TEST(PaintSectionBackground, FullyTransparentReproducesReadyParentExactly) {
    TSectionModel sm(0x00123456, 100);
    TMemBitmap32 parent = Numbered(40, 30), face(12, 8);
    const TCacheInfo bg = CacheInfoForBitmap(&parent, 3, 2);
    PaintSectionFace(0, L"", bg, -1, -1, &sm.model, &face, {10, 7}, {0, 0, 12, 8}, 0);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 12; ++x) ASSERT_EQ(ReadPixel32(face, x, y), ReadPixel32(parent, x + 13, y + 9)) << x << "," << y;
}

TEST(PaintSectionBackground, PartlyTransparentOverColourInterpolates) {
    // Transparency 40 with plain colour over a known fill colour: InterpolateColor(fill, colour, 0.4).
    const struct { TColor fill, color; int transparency; } cases[] = {
        {0x00FFFFFF, 0x00000000, 40}, {0x00204080, 0x00C0A0E0, 40}, {0x000000FF, 0x00FF0000, 75}};
    for (const auto& c : cases) {
        TSectionModel sm(c.color, c.transparency);
        TMemBitmap32 face(5, 4);
        const TCacheInfo bg = BackgroundToCacheInfo(0, nullptr, {}, c.fill, {});
        PaintSectionBackground(0, L"", bg, clMagenta, -1, -1, &sm.model, &face, {}, {0, 0, 5, 4}, 0);
        const double k = c.transparency / 100.0;
        uint32_t expected = 0xFF000000u;
        for (int lane = 0; lane < 3; ++lane) {  // colour value lane 0 is red: pixel lane 2
            const long double v = (long double)k * Lane(c.fill, lane) + (1 - (long double)k) * Lane(c.color, lane);
            expected |= uint32_t(static_cast<int>(v)) << (8 * (2 - lane));
        }
        EXPECT_EQ(ReadPixel32(face, 0, 0), expected) << std::hex << c.fill << " " << c.color;
        EXPECT_EQ(ReadPixel32(face, 4, 3), expected);
    }
}

TEST(PaintSectionBackground, PartlyTransparentOverReadyParentBlendsByRoundedLevel) {
    TSectionModel sm(0x00101010, 50);  // level Round(50 * 2.55) = Round(127.5) = 128, half to even
    TMemBitmap32 parent = Numbered(20, 20), face(6, 6);
    PaintSectionBackground(0, L"", CacheInfoForBitmap(&parent, 0, 0), clMagenta, -1, -1, &sm.model, &face, {2, 3},
                           {1, 1, 5, 5}, 0);
    const int level = 128;
    for (int y = 1; y < 5; ++y)
        for (int x = 1; x < 5; ++x) {
            const uint32_t p = ReadPixel32(face, x, y), b = ReadPixel32(parent, x + 2, y + 3);
            for (int lane = 0; lane < 3; ++lane)
                ASSERT_EQ(Lane(p, lane), ((Lane(b, lane) - 0x10) * level + 0x10 * 256) >> 8) << x << "," << y;
        }
    EXPECT_EQ(ReadPixel32(face, 0, 0), 0u) << "outside rect untouched";
}

TEST(PaintSectionBackground, NotReadyParentCopiesOnlyItsBorderStrips) {
    // The parent's bitmap is valid in a 2-pixel left strip and a 1-pixel top strip.
    TSectionModel sm(0x00445566, 100);
    TMemBitmap32 parent = Numbered(10, 10), face(4, 4);
    const TCacheInfo bg = BackgroundToCacheInfo(0, &parent, {0, 0}, 0x00ABCDEF, {2, 1, 0, 0});
    PaintSectionBackground(0, L"", bg, clMagenta, -1, -1, &sm.model, &face, {1, 0}, {0, 0, 4, 4}, 0);
    const uint32_t fill = Px(0xEF, 0xCD, 0xAB, 255);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            const bool strip = x + 1 < 2 || y < 1;
            EXPECT_EQ(ReadPixel32(face, x, y), strip ? ReadPixel32(parent, x + 1, y) : fill) << x << "," << y;
        }
}

TEST(PaintSectionBackground, OpaqueOrOverrideOrUnknownBackgroundPaintsFill) {
    const struct { int transparency; TColor override_; bool known; uint32_t expected; } cases[] = {
        {0, clMagenta, true, Px(0x56, 0x34, 0x12, 255)},    // opaque section
        {60, 0x000000FF, true, Px(0xFF, 0, 0, 255)},         // an override is opaque
        {100, clMagenta, false, Px(0x56, 0x34, 0x12, 255)},  // nothing known behind: plain colour
    };
    for (const auto& c : cases) {
        TSectionModel sm(0x00123456, c.transparency);
        TMemBitmap32 face(3, 3);
        const TCacheInfo bg = c.known ? BackgroundToCacheInfo(0, nullptr, {}, 0x00FFFFFF, {}) : TCacheInfo{};
        PaintSectionBackground(0, L"", bg, c.override_, -1, -1, &sm.model, &face, {}, {0, 0, 3, 3}, 1);
        EXPECT_EQ(ReadPixel32(face, 1, 1), c.expected) << c.transparency;
    }
}

TEST(PaintSectionFace, InvalidInputsDrawNothing) {
    TSectionModel sm(0x00123456, 0);
    TMemBitmap32 face(4, 4);
    const TCacheInfo bg{};
    PaintSectionFace(5, L"NOSUCH", bg, -1, -1, &sm.model, &face, {}, {0, 0, 4, 4}, 0);
    PaintSectionFace(0, L"", bg, -1, -1, &sm.model, &face, {}, {-1, 0, 4, 4}, 0);
    PaintSectionFace(0, L"", bg, -1, -1, &sm.model, &face, {}, {0, 0, 5, 4}, 0);
    PaintSectionFace(0, L"", bg, -1, -1, nullptr, &face, {}, {0, 0, 4, 4}, 0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(ReadPixel32(face, x, y), 0u);
    PaintSectionFace(-1, L"BUTTON", bg, -1, -1, &sm.model, &face, {}, {0, 0, 4, 4}, 0);  // found by name
    EXPECT_EQ(ReadPixel32(face, 3, 3), Px(0x56, 0x34, 0x12, 255));
}

TEST(PaintSectionFace, CornerImagesLandInTheFourCorners) {
    // A 2 x 2 plain glyph (single frame) whose top-left pixel is magenta, so it shows the face.
    TSectionModel sm(0x00000000, 0);
    auto& master = *sm.model.MasterBitmap;
    WritePixel32(master, 0, 0, 0x00FF00FF);
    WritePixel32(master, 1, 0, Px(1, 2, 3));
    WritePixel32(master, 0, 1, Px(4, 5, 6));
    WritePixel32(master, 1, 1, Px(7, 8, 9));
    sk::TsMaskData glyph;
    glyph.R = {0, 0, 2, 2};
    glyph.ImageCount = 1;
    glyph.Manager = &sm.model;
    sm.model.ma.push_back(std::move(glyph));
    auto& gd = sm.model.gd[0];
    gd.ImgTL = gd.ImgTR = gd.ImgBL = gd.ImgBR = 0;
    TMemBitmap32 face(6, 5);
    PaintSectionFace(0, L"", TCacheInfo{}, -1, -1, &sm.model, &face, {}, {0, 0, 6, 5}, 0);
    const uint32_t black = Px(0, 0, 0, 255);
    const TPoint origins[] = {{0, 0}, {4, 0}, {0, 3}, {4, 3}};
    for (const TPoint& o : origins) {
        EXPECT_EQ(ReadPixel32(face, o.X, o.Y), black) << "key pixel shows the face";
        EXPECT_EQ(ReadPixel32(face, o.X + 1, o.Y), Px(1, 2, 3, 255)) << o.X << "," << o.Y;  // copied over itself: opaque
        EXPECT_EQ(ReadPixel32(face, o.X + 1, o.Y + 1), Px(7, 8, 9, 255));
    }
    EXPECT_EQ(ReadPixel32(face, 2, 2), black);
}

TEST(PaintSectionAlpha, FullyTransparentWholeTargetClearsThenPremultiplies) {
    TSectionModel sm(0x00123456, 100);
    TMemBitmap32 target = Numbered(4, 3);
    PaintSectionAlpha(0, 0, &sm.model, &target, {0, 0, 4, 3});
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(ReadPixel32(target, x, y), 0u);
    // An opaque section over part of the target: painted, alpha 255, not premultiplied.
    TSectionModel opaque(0x00FF8040, 0);
    TMemBitmap32 part = Numbered(4, 3);
    const uint32_t kept = ReadPixel32(part, 3, 2);
    PaintSectionAlpha(0, 0, &opaque.model, &part, {0, 0, 2, 2});
    EXPECT_EQ(ReadPixel32(part, 1, 1), Px(0x40, 0x80, 0xFF, 255));
    EXPECT_EQ(ReadPixel32(part, 3, 2), kept);
    // The same over the whole target: premultiplied, (c * 255) >> 8.
    TMemBitmap32 whole = Numbered(4, 3);
    PaintSectionAlpha(0, 0, &opaque.model, &whole, {0, 0, 4, 3});
    EXPECT_EQ(ReadPixel32(whole, 2, 1), Px((0x40 * 255) >> 8, (0x80 * 255) >> 8, (0xFF * 255) >> 8, 255));
}
