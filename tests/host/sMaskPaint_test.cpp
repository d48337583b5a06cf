// Nine-part mask drawing and its piece copies.
#include <gtest/gtest.h>

#include "render/acResample.h"
#include "skinpaint/sMaskPaint.h"

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

TEST(PaintMaskNinePart, NegativeMarginsKeepTheGridInsideTheRectangle) {
    // Border widths below 0 (possible in an external image's notation) count as 0.
    struct Case { int wl, wr, drawMode; } cases[] = {{-5, 6, 4}, {6, -7, 4}, {-3, -3, 5}, {-5, 6, 0}};
    for (const auto& c : cases) {
        TBorderModel bm(1, false, c.drawMode, 0, c.wl, c.wr);
        TMemBitmap32 bmp = Filled(24, 20, kBlank);
        const TRect rect{4, 4, 20, 16};
        PaintMaskNinePart(&bmp, rect, TCacheInfo{}, false, 0, bm.Mask());
        int outside = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 24; ++x)
                if ((x < rect.Left || x >= rect.Right || y < rect.Top || y >= rect.Bottom) && ReadPixel32(bmp, x, y) != kBlank)
                    ++outside;
        EXPECT_EQ(outside, 0) << c.wl << " " << c.wr << " " << c.drawMode;
        EXPECT_EQ(ReadPixel32(bmp, 4, 4), Src(0, 0, 0)) << c.wl << " " << c.wr;
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
        if (!c.masked) {
            EXPECT_EQ(ReadPixel32(bmp, 8, 0), kKey) << "an unmasked edge copies magenta unchanged";
        }
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

namespace {

uint32_t NextRandom(uint32_t& seed) {
    seed = seed * 1664525u + 1013904223u;
    return seed;
}

// Random pixels, about a quarter of them the key colour, in the storage order asked for.
TMemBitmap32 RandomBitmap(int w, int h, bool bottomUp, uint32_t seed) {
    TMemBitmap32 bmp(w, h, bottomUp);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t v = NextRandom(seed);
            WritePixel32(bmp, x, y, (v >> 28) < 4 ? kKey : v ^ (v << 7));
        }
    return bmp;
}

// The masked piece copy pixel by pixel as its rules read, without clipping arithmetic: every
// position of the smaller rectangle is tried and skipped when outside either bitmap.
void ReferenceMaskedPiece(TRect tr, TRect sr, TBitmap32& target, int maskDy, bool cornerFlag, const TCacheInfo& bg,
                          const TBitmap32& source) {
    auto mix = [](uint32_t d, uint32_t s, uint32_t m) {
        uint32_t out = d & 0xFF000000u;
        for (int l = 0; l < 3; ++l) {
            const int dc = (d >> 8 * l) & 255, sc = (s >> 8 * l) & 255, mc = (m >> 8 * l) & 255;
            out |= uint32_t((((dc - sc) * mc + sc * 256) >> 8) & 255) << 8 * l;
        }
        return out;
    };
    const int w = std::min(tr.Width(), sr.Width()), h = std::min(tr.Height(), sr.Height());
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            const int tx = tr.Left + i, ty = tr.Top + j, sx = sr.Left + i, sy = sr.Top + j;
            if (tx < 0 || ty < 0 || sx < 0 || sy < 0 || tx >= target.Width || ty >= target.Height ||
                sx >= source.Width || sy + maskDy >= source.Height)
                continue;
            const uint32_t s = ReadPixel32(source, sx, sy), m = ReadPixel32(source, sx, sy + maskDy);
            uint32_t d = ReadPixel32(target, tx, ty);
            if (bg.Ready && cornerFlag) {
                d |= 0xFF000000u;
                const int bx = tx + bg.X, by = ty + bg.Y;
                if (s != kKey) d = mix(d, s, m);
                else if (bx >= 0 && by >= 0 && bx < bg.Bmp->Width && by < bg.Bmp->Height) d = ReadPixel32(*bg.Bmp, bx, by);
            } else if (bg.Ready) {
                d = mix(d, s, m) | 0xFF000000u;
            } else if (s == kKey) {
                if (cornerFlag) d = ExchangeRedBlue(uint32_t(bg.FillColor));
            } else {
                d = mix(d, s, m);
            }
            WritePixel32(target, tx, ty, d);
        }
}

}  // namespace

TEST(CopyMaskedPiece, MatchesPixelByPixelRulesOnVariedGeometry) {
    // Widths around the four-pixel runs of the row kernel, negative positions, pieces hanging
    // over the right and bottom edges, both storage orders.
    struct Geometry { TRect target, source; } geometries[] = {
        {{0, 0, 1, 1}, {0, 0, 1, 1}},     {{2, 1, 5, 4}, {1, 2, 4, 5}},     {{3, 2, 10, 9}, {0, 0, 7, 7}},
        {{-3, -2, 14, 8}, {2, 1, 19, 11}}, {{20, 10, 40, 30}, {5, 3, 25, 12}}, {{1, 0, 24, 12}, {-2, -1, 21, 11}},
        {{0, 5, 31, 17}, {0, 0, 31, 12}},
    };
    TMemBitmap32 parent = RandomBitmap(40, 30, true, 99);
    const TCacheInfo backgrounds[] = {
        TCacheInfo{}, TCacheInfo{nullptr, 0, 0, 0x00336699, {}, false}, CacheInfoForBitmap(&parent, 3, -2)};
    uint32_t seed = 1;
    for (const Geometry& g : geometries)
        for (const TCacheInfo& bg : backgrounds)
            for (bool cornerFlag : {false, true})
                for (bool bottomUp : {true, false}) {
                    const TMemBitmap32 source = RandomBitmap(32, 24, bottomUp, NextRandom(seed));
                    TMemBitmap32 got = RandomBitmap(25, 13, !bottomUp, NextRandom(seed)), want = got;
                    CopyMaskedPiece(g.target, g.source, &got, 12, cornerFlag, bg, &source);
                    ReferenceMaskedPiece(g.target, g.source, want, 12, cornerFlag, bg, source);
                    for (int y = 0; y < got.Height; ++y)
                        for (int x = 0; x < got.Width; ++x)
                            ASSERT_EQ(ReadPixel32(got, x, y), ReadPixel32(want, x, y))
                                << g.target.Left << "," << g.target.Top << " ready " << bg.Ready << " flag "
                                << cornerFlag << " at " << x << "," << y;
                }
}

namespace {

// Tiled nine-part drawing of frame 0 written pixel by pixel: each target pixel of a piece takes
// the source pixel at its offset modulo the piece size; corners of CornerType 0 and no
// background. Masked pieces compose through the mask below (key pixels leave the target),
// unmasked corners are keyed (key pixels take the empty background's fill), unmasked edges copy.
void ReferenceTiledNinePart(TBitmap32& target, TRect D, const sk::TsMaskData& m, const TBitmap32& src) {
    int l = m.WL, t = m.WT, r = m.WR, b = m.WB;
    auto shrink = [](int& a, int& c, int size) {
        if (size >= a + c) return;
        const int e = a + c - size;
        a = std::max(a - e / 2, 0);
        c = std::max(c - e / 2 - e % 2, 0);
    };
    shrink(l, r, D.Width());
    shrink(t, b, D.Height());
    const bool masked = m.MaskType >= 1;
    const int fw = m.R.Width() / m.ImageCount, fh = masked ? m.R.Height() / 2 : m.R.Height();
    const int sx = m.R.Left, sy = m.R.Top, cw = fw - l - r, ch = fh - t - b, dy = m.R.Height() / 2;
    const int xs[4] = {D.Left, D.Left + l, D.Right - r, D.Right}, sxs[3] = {sx, sx + l, sx + l + cw};
    const int ys[4] = {D.Top, D.Top + t, D.Bottom - b, D.Bottom}, sys[3] = {sy, sy + t, sy + fh - b};
    const int sws[3] = {l, cw, r}, shs[3] = {t, ch, b};
    for (int py = 0; py < 3; ++py)
        for (int px = 0; px < 3; ++px) {
            const bool corner = px != 1 && py != 1;
            if (sws[px] <= 0 || shs[py] <= 0) continue;
            for (int y = ys[py]; y < ys[py + 1]; ++y)
                for (int x = xs[px]; x < xs[px + 1]; ++x) {
                    const int ox = x - xs[px], oy = y - ys[py];
                    if (corner && (ox >= sws[px] || oy >= shs[py])) continue;
                    if (x < 0 || y < 0 || x >= target.Width || y >= target.Height) continue;
                    const int u = sxs[px] + ox % sws[px], v = sys[py] + oy % shs[py];
                    const uint32_t s = ReadPixel32(src, u, v);
                    uint32_t d = ReadPixel32(target, x, y);
                    if (masked) {
                        if (s != kKey) {
                            const uint32_t mk = ReadPixel32(src, u, v + dy);
                            uint32_t out = d & 0xFF000000u;
                            for (int k = 0; k < 3; ++k) {
                                const int dc = (d >> 8 * k) & 255, sc = (s >> 8 * k) & 255, mc = (mk >> 8 * k) & 255;
                                out |= uint32_t((((dc - sc) * mc + sc * 256) >> 8) & 255) << 8 * k;
                            }
                            d = out;
                        }
                    } else {
                        d = s;  // a keyed corner's key pixel takes the empty background's fill: magenta
                    }
                    WritePixel32(target, x, y, d);
                }
        }
}

}  // namespace

TEST(PaintMaskNinePart, TiledBandsMatchPixelByPixelTiling) {
    // Margins 5 / 4 / 3 / 2 and a 21 x 16 frame: pieces of 12 x 10 in the centre tiled over
    // sizes that are not multiples of them, targets that hang over every edge.
    const TRect rects[] = {{0, 0, 40, 30}, {-7, -5, 33, 26}, {3, 2, 61, 45}, {10, 8, 58, 41}, {0, 0, 8, 6}};
    uint32_t seed = 3;
    for (bool masked : {false, true})
        for (bool bottomUp : {true, false})
            for (const TRect& rect : rects) {
                sk::TSkinModel model;
                model.MasterBitmap = std::make_unique<TMemBitmap32>(RandomBitmap(50, 40, bottomUp, NextRandom(seed)));
                sk::TsMaskData m;
                m.R = {4, 3, 4 + 2 * 21, 3 + (masked ? 32 : 16)};
                m.ImageCount = 2;
                m.MaskType = masked ? 1 : 0;
                m.DrawMode = 4;
                m.WL = 5, m.WT = 4, m.WR = 3, m.WB = 2;
                m.Manager = &model;
                TMemBitmap32 got = RandomBitmap(50, 38, !bottomUp, NextRandom(seed)), want = got;
                PaintMaskNinePart(&got, rect, TCacheInfo{}, false, 0, m);
                ReferenceTiledNinePart(want, rect, m, *model.MasterBitmap);
                for (int y = 0; y < got.Height; ++y)
                    for (int x = 0; x < got.Width; ++x)
                        ASSERT_EQ(ReadPixel32(got, x, y), ReadPixel32(want, x, y))
                            << "masked " << masked << " rect " << rect.Left << "," << rect.Top << " at " << x << "," << y;
            }
}

TEST(StretchMaskedPiece, MatchesScaledCopiesComposedPixelByPixel) {
    // The image piece and its mask each copied out and scaled on their own (Mitchell when
    // shrinking one way or for a centre, nearest samples otherwise), then every covered target
    // pixel composed: key pixels leave the target, the others go through the mask and become opaque.
    struct Case { int x, y, w, h; bool centre; int sx, sy, sw, sh; } cases[] = {
        {2, 1, 23, 9, true, 3, 2, 6, 5},      // centre, both ways larger
        {-4, -3, 17, 12, true, 1, 0, 9, 7},   // centre hanging over the top-left corner
        {5, 2, 4, 7, false, 0, 1, 9, 7},      // narrower, same height: smooth
        {1, 0, 30, 3, false, 2, 3, 5, 3},     // an edge stretched along: nearest samples
        {20, 6, 15, 9, false, 4, 0, 5, 4},    // hanging over the right and bottom edges
    };
    uint32_t seed = 21;
    for (const Case& c : cases)
        for (bool bottomUp : {true, false}) {
            const int maskDy = 12;
            const TMemBitmap32 source = RandomBitmap(16, 24, bottomUp, NextRandom(seed));
            TMemBitmap32 got = RandomBitmap(31, 14, !bottomUp, NextRandom(seed)), want = got;
            StretchMaskedPiece(c.x, c.y, c.w, c.centre, maskDy, &source, &got, c.sh, c.sw, c.sy, c.sx, c.h);
            const bool smooth = (c.w < c.sw && c.h == c.sh) || (c.h < c.sh && c.w == c.sw) || c.centre;
            auto scaled = [&](int dy) {
                TMemBitmap32 piece(c.sw, c.sh), out(c.w, c.h);
                for (int y = 0; y < c.sh; ++y)
                    for (int x = 0; x < c.sw; ++x) WritePixel32(piece, x, y, ReadPixel32(source, c.sx + x, c.sy + dy + y));
                if (smooth) ResampleBitmap32(&piece, &out, c.w, rfMitchell, c.h);
                else
                    for (int y = 0; y < c.h; ++y)
                        for (int x = 0; x < c.w; ++x)
                            WritePixel32(out, x, y, ReadPixel32(piece, x * c.sw / c.w, y * c.sh / c.h));
                return out;
            };
            const TMemBitmap32 image = scaled(0), mask = scaled(maskDy);
            for (int y = 0; y < c.h; ++y)
                for (int x = 0; x < c.w; ++x) {
                    const int tx = c.x + x, ty = c.y + y;
                    if (tx < 0 || ty < 0 || tx >= want.Width || ty >= want.Height) continue;
                    const uint32_t s = ReadPixel32(image, x, y), m = ReadPixel32(mask, x, y);
                    if (s == kKey) continue;
                    const uint32_t d = ReadPixel32(want, tx, ty);
                    uint32_t out = 0xFF000000u;
                    for (int l = 0; l < 3; ++l) {
                        const int dc = (d >> 8 * l) & 255, sc = (s >> 8 * l) & 255, mc = (m >> 8 * l) & 255;
                        out |= uint32_t((((dc - sc) * mc + sc * 256) >> 8) & 255) << 8 * l;
                    }
                    WritePixel32(want, tx, ty, out);
                }
            for (int y = 0; y < got.Height; ++y)
                for (int x = 0; x < got.Width; ++x)
                    ASSERT_EQ(ReadPixel32(got, x, y), ReadPixel32(want, x, y))
                        << c.x << "," << c.y << " " << c.w << "x" << c.h << " at " << x << "," << y;
        }
}
