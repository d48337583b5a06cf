// Vertical, horizontal and four-triangle gradients and the gradient-with-texture pass.
#include <gtest/gtest.h>

#include "render/sGradient.h"
#include "skin/GradientData.h"

using namespace rd;

namespace {

uint32_t Px(int r, int g, int b, int a = 255) { return uint32_t(b) | uint32_t(g) << 8 | uint32_t(r) << 16 | uint32_t(a) << 24; }
uint32_t Grey(int c, int a = 255) { return Px(c, c, c, a); }

sk::TsGradArray Parse(const wchar_t* text) {
    sk::TsGradArray a;
    sk::ParseGradientData(text, a);
    return a;
}

TMemBitmap32 Filled(int w, int h, uint32_t value) {
    TMemBitmap32 bmp(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) WritePixel32(bmp, x, y, value);
    return bmp;
}

}  // namespace

TEST(FillGradient, VerticalWhiteToBlackOverHundredRows) {
    TMemBitmap32 bmp = Filled(3, 100, 0);
    FillGradient(&bmp, {0, 0, 3, 100}, Parse(L"16777215;0;50;0;0;0;0;50;0;0"));
    for (int y = 0; y <= 50; ++y) {
        float acc = 255;
        for (int k = 0; k < y; ++k) acc = float(acc + (-255.0 / 50));
        const int expected = y == 50 ? 0 : int(acc);  // row 50 starts the black piece
        EXPECT_EQ(ReadPixel32(bmp, 1, y), Grey(expected)) << y;
    }
    EXPECT_EQ(ReadPixel32(bmp, 0, 0), Grey(255));
    EXPECT_EQ(ReadPixel32(bmp, 2, 1), Grey(249));   // 255 - 5.1
    EXPECT_EQ(ReadPixel32(bmp, 0, 25), Grey(127));  // 255 - 127.5
    for (int y = 50; y < 100; ++y) EXPECT_EQ(ReadPixel32(bmp, 2, y), Grey(0)) << y;
}

TEST(FillGradient, VerticalPiecesOffsetsAndClipping) {
    const uint32_t untouched = 0x11223344;
    struct Case {
        const wchar_t* data;
        TRect rect;
        int offset;
        int row;
        uint32_t expected;
    } cases[] = {
        // A first piece of 0 per cent is skipped: the second piece starts at the top row.
        {L"255;255;0;0;0;65280;16711680;100;0;0", {0, 0, 4, 10}, 0, 0, Px(0, 255, 0)},
        // Nine single-precision steps of 255 / 9 end just short of 255 on the last row.
        {L"255;255;0;0;0;65280;16711680;100;0;0", {0, 0, 4, 10}, 0, 9, Px(0, 0, 254)},
        // One colour on both ends: every row that colour.
        {L"8421504;8421504;100;0;0", {0, 2, 4, 8}, 0, 5, Grey(128)},
        {L"8421504;8421504;100;0;0", {0, 2, 4, 8}, 0, 1, untouched},
        {L"8421504;8421504;100;0;0", {0, 2, 4, 8}, 0, 8, untouched},
        // offset: starts lower; the rows above stay.
        {L"0;16777215;100;0;0", {0, 0, 4, 10}, 3, 2, untouched},
        {L"0;16777215;100;0;0", {0, 0, 4, 10}, 3, 3, Grey(0)},
        {L"0;16777215;100;0;0", {0, 0, 4, 10}, 3, 9, Grey(255)},  // six steps of 42.5: exact
        // rect reaching past the bitmap is clipped.
        {L"0;16777215;100;0;0", {-5, -20, 40, 40}, 0, 9, Grey(254)},
        {L"0;16777215;100;0;0", {-5, -20, 40, 40}, 0, 0, Grey(0)},
    };
    for (const auto& c : cases) {
        TMemBitmap32 bmp = Filled(4, 10, untouched);
        FillGradient(&bmp, c.rect, Parse(c.data), c.offset);
        EXPECT_EQ(ReadPixel32(bmp, 1, c.row), c.expected) << c.row << " " << c.offset;
    }
}

TEST(FillGradient, HorizontalColumnsCopiedToEveryRow) {
    TMemBitmap32 bmp = Filled(10, 3, 0);
    FillGradient(&bmp, {0, 0, 10, 3}, Parse(L"0;255;50;1;0;65280;65280;50;0;0"));
    // Piece 0: columns 0..5 (Trunc(50 * 0.1f + 0)), red rising by 51 per column.
    for (int x = 0; x < 5; ++x)
        for (int y = 0; y < 3; ++y) EXPECT_EQ(ReadPixel32(bmp, x, y), Px(x * 51, 0, 0)) << x << "," << y;
    for (int x = 5; x < 10; ++x) EXPECT_EQ(ReadPixel32(bmp, x, 2), Px(0, 255, 0)) << x;
}

TEST(FillGradient, OneLineFillsTakeTheFirstColour) {
    // A gradient one column (horizontal) or one row (vertical) across paints that line whole
    // with the colour a longer fill starts with; the pixels around it stay.
    const uint32_t untouched = 0x11223344;
    struct Case { const wchar_t* data; TRect rect; uint32_t expected; } cases[] = {
        {L"255;65280;100;1;0", {3, 1, 4, 5}, Px(255, 0, 0)},                     // one column
        {L"255;65280;100;0;0", {1, 2, 6, 3}, Px(255, 0, 0)},                     // one row
        {L"255;255;50;1;0;16711680;0;50;0;0", {0, 0, 1, 6}, Px(255, 0, 0)},      // first of two pieces
        {L"255;255;0;1;0;16711680;0;100;0;0", {5, 0, 6, 6}, Px(0, 0, 255)},      // a 0 per cent piece is skipped
        {L"255;255;0;0;0;16711680;0;0;0;0", {0, 5, 6, 6}, Px(0, 0, 255)},        // no share anywhere: the last piece
    };
    for (const auto& c : cases) {
        TMemBitmap32 bmp = Filled(6, 6, untouched);
        FillGradient(&bmp, c.rect, Parse(c.data));
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 6; ++x) {
                const bool in = x >= c.rect.Left && x < c.rect.Right && y >= c.rect.Top && y < c.rect.Bottom;
                EXPECT_EQ(ReadPixel32(bmp, x, y), in ? c.expected : untouched) << x << "," << y;
            }
    }
}

TEST(FillGradient, TrianglesTakeVertexColoursFromPieces) {
    // Two pieces: vertex 0 (top-left) gets piece 0, the centre and vertices 2..4 piece 1.
    TMemBitmap32 bmp = Filled(21, 11, 0);
    FillGradient(&bmp, {0, 0, 21, 11}, Parse(L"255;0;50;2;0;16711680;0;50;0;0"));
    const uint32_t blue = Px(0, 0, 255);
    EXPECT_EQ(ReadPixel32(bmp, 0, 0), Px(255, 0, 0));
    EXPECT_EQ(ReadPixel32(bmp, 10, 5), blue);
    // Right and bottom triangles have piece 1 on all three vertices.
    for (int y = 1; y < 11; ++y) EXPECT_EQ(ReadPixel32(bmp, 20, y), blue) << y;
    for (int x = 2; x < 21; ++x) EXPECT_EQ(ReadPixel32(bmp, x, 10), blue) << x;
    // On the top edge, 10 of 21 pixels from vertex 0 toward vertex 2 (at x = 21).
    const uint32_t mid = ReadPixel32(bmp, 10, 0);
    EXPECT_EQ(int((mid >> 16) & 0xFF), 255 * 11 / 21);
    EXPECT_EQ(int(mid & 0xFF), 255 * 10 / 21);
    EXPECT_EQ(mid >> 24, 255u);
}

TEST(FillGradient, TrianglesCoverTheRectangleExactly) {
    // The portable triangle fill paints every pixel of the rectangle and none outside it: its
    // right and bottom sides are exclusive like every rectangle's.
    const uint32_t untouched = 0x01020304;
    for (const TRect rect : {TRect{5, 4, 15, 12}, TRect{0, 0, 30, 20}, TRect{3, 3, 4, 9}, TRect{2, 7, 11, 8},
                             TRect{7, 2, 14, 17}, TRect{-4, -3, 6, 5}}) {
        TMemBitmap32 bmp = Filled(30, 20, untouched);
        FillGradient(&bmp, rect, Parse(L"255;0;20;2;0;65280;0;20;0;0;16711680;0;20;0;0;0;0;20;0;0;16777215;0;20;0;0"));
        int outside = 0, missing = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 30; ++x) {
                const bool in = x >= rect.Left && x < rect.Right && y >= rect.Top && y < rect.Bottom;
                const bool painted = ReadPixel32(bmp, x, y) != untouched;
                outside += !in && painted;
                missing += in && !painted;
            }
        const std::string at = std::to_string(rect.Left) + "," + std::to_string(rect.Top) + "," +
                               std::to_string(rect.Right) + "," + std::to_string(rect.Bottom);
        EXPECT_EQ(outside, 0) << at;
        EXPECT_EQ(missing, 0) << at;
    }
}

namespace {
int GFillCalls = 0;
bool NoTriangleFill(TBitmap32*, const TTriVertex* v, int n, const TTriangle*, int t) {
    ++GFillCalls;
    EXPECT_EQ(n, 5);
    EXPECT_EQ(t, 4);
    EXPECT_EQ(v[1].X, 2);  // centre of (0, 0, 5, 7)
    EXPECT_EQ(v[1].Y, 3);
    EXPECT_EQ(v[0].Red, 0xFF00);
    EXPECT_EQ(v[0].Alpha, 0xFF00);
    return false;
}
}  // namespace

TEST(FillGradient, TrianglesGoThroughInstalledPlatformFill) {
    SetTriangleFillFunc(NoTriangleFill);
    TMemBitmap32 bmp = Filled(5, 7, 0x01020304);
    FillGradient(&bmp, {0, 0, 5, 7}, Parse(L"255;0;100;2;0"));
    SetTriangleFillFunc(nullptr);
    EXPECT_EQ(GFillCalls, 1);
    EXPECT_EQ(ReadPixel32(bmp, 2, 3), 0x01020304u);  // a platform without the fill draws nothing
}

TEST(FillGradientTextured, TextureGridAnchoredAtTargetOrigin) {
    TMemBitmap32 texture = Filled(6, 6, 0);
    // Texture rect (1, 1, 4, 3): 3 x 2 pixels, distinct values.
    for (int y = 1; y < 3; ++y)
        for (int x = 1; x < 4; ++x) WritePixel32(texture, x, y, Grey(x * 20 + y * 50, 0));
    TMemBitmap32 bmp = Filled(8, 4, 0);
    const int level = 30 * 255 / 100;
    FillGradientTextured(&bmp, {2, 1, 8, 4}, Parse(L"0;0;100;0;0"), 255, level, {1, 1, 4, 3}, &texture);
    for (int y = 1; y < 4; ++y)
        for (int x = 2; x < 8; ++x) {
            const int t = (x % 3 + 1) * 20 + (y % 2 + 1) * 50;
            EXPECT_EQ(ReadPixel32(bmp, x, y), Grey((t * level) >> 8)) << x << "," << y;
        }
    EXPECT_EQ(ReadPixel32(bmp, 1, 1), 0u);
    EXPECT_EQ(ReadPixel32(bmp, 2, 0), 0u);
}
