// Text output on skinned surfaces with real fonts: contour passes, the disabled colour,
// coverage composition, the blurred glow and its cache, angled fonts and the small shapes.
#include <gtest/gtest.h>

#include <algorithm>

#include "skinpaint/sTextOutput.h"
#include "skin/SkinModel.h"

namespace {

constexpr int W = 120, H = 40;
const wchar_t kText[] = L"WAVE";

struct Font {
    HFONT handle;
    explicit Font(int height, const wchar_t* face = L"Arial") {
        handle = CreateFontW(height, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0, face);
    }
    ~Font() { DeleteObject(handle); }
};

// A 32-bit DIB section with a DC, so that GDI and the pixel routines see the same pixels.
struct Surface {
    HDC dc;
    HBITMAP bmp;
    HGDIOBJ old;
    rd::TBitmap32 view;
    Surface(int w, int h, uint32_t fill) {
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};  // bottom-up
        void* bits = nullptr;
        dc = CreateCompatibleDC(nullptr);
        bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        old = SelectObject(dc, bmp);
        view.Width = w;
        view.Height = h;
        view.Stride = -w * 4;
        view.Row0 = static_cast<uint8_t*>(bits) + static_cast<ptrdiff_t>(h - 1) * w * 4;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) view.Row(y)[x] = fill;
    }
    ~Surface() {
        SelectObject(dc, old);
        DeleteObject(bmp);
        DeleteDC(dc);
    }
    uint32_t At(int x, int y) const { return view.Row(y)[x]; }
    bool SameAs(const Surface& o) const {
        for (int y = 0; y < view.Height; ++y)
            for (int x = 0; x < view.Width; ++x)
                if ((At(x, y) & 0xFFFFFF) != (o.At(x, y) & 0xFFFFFF)) return false;
        return true;
    }
};

// A model with one section "BUTTON" whose colours the tests set.
struct OneSection {
    sk::TSkinModel model;
    sk::TsGeneralData& s;
    OneSection() : s((model.CommonSkinData = std::make_unique<sk::TsSkinData>(), model.gd.emplace_back())) {
        s.ClassName = L"BUTTON";
        s.States = 3;
        s.Props[0].Color = 0x00FFFFFF;
        s.Props[0].FontColor = {0x00000000, -1, -1, -1, -1};
        s.Props[1] = s.Props[0];
    }
};

void DrawReference(HDC dc, HFONT font, const std::vector<std::pair<COLORREF, POINT>>& passes) {
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    for (auto [color, shift] : passes) {
        RECT r{shift.x, shift.y, W + shift.x, H + shift.y};
        SetTextColor(dc, color);
        DrawTextW(dc, kText, -1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    }
    SelectObject(dc, old);
    GdiFlush();
}

constexpr UINT kFormat = DT_SINGLELINE | DT_CENTER | DT_VCENTER;
constexpr COLORREF kLeft = RGB(255, 0, 0), kTop = RGB(0, 255, 0), kRight = RGB(0, 0, 255), kBottom = RGB(255, 255, 0),
                   kMain = RGB(10, 20, 30);

}  // namespace

TEST(WriteSkinText, ContoursAreDrawnLeftTopRightBottomThenTheMainColour) {
    Font font(30);
    OneSection m;
    m.s.Props[0].FontColor = {static_cast<rd::TColor>(kMain), static_cast<rd::TColor>(kLeft),
                              static_cast<rd::TColor>(kTop), static_cast<rd::TColor>(kRight),
                              static_cast<rd::TColor>(kBottom)};
    Surface out(W, H, 0xFFFFFFFF), expected(W, H, 0xFFFFFFFF), otherOrder(W, H, 0xFFFFFFFF);
    HGDIOBJ old = SelectObject(out.dc, font.handle);
    rd::WriteSkinText(out.dc, kText, true, &m.model, 0, 0, kFormat, RECT{0, 0, W, H});
    SelectObject(out.dc, old);
    GdiFlush();
    DrawReference(expected.dc, font.handle,
                  {{kLeft, {-1, 0}}, {kTop, {0, -1}}, {kRight, {1, 0}}, {kBottom, {0, 1}}, {kMain, {0, 0}}});
    DrawReference(otherOrder.dc, font.handle,
                  {{kBottom, {0, 1}}, {kRight, {1, 0}}, {kTop, {0, -1}}, {kLeft, {-1, 0}}, {kMain, {0, 0}}});
    ASSERT_FALSE(expected.SameAs(otherOrder)) << "the text must show the order of the passes";
    EXPECT_TRUE(out.SameAs(expected));
}

TEST(WriteSkinText, WithoutContoursTheTextIsDrawnOnce) {
    Font font(30);
    OneSection m;
    m.s.Props[1].FontColor.Color = static_cast<rd::TColor>(kMain);
    Surface out(W, H, 0xFFFFFFFF), once(W, H, 0xFFFFFFFF);
    HGDIOBJ old = SelectObject(out.dc, font.handle);
    rd::WriteSkinText(out.dc, kText, true, &m.model, 1, 0, kFormat, RECT{0, 0, W, H});
    SelectObject(out.dc, old);
    GdiFlush();
    DrawReference(once.dc, font.handle, {{kMain, {0, 0}}});
    EXPECT_TRUE(out.SameAs(once));
}

TEST(WriteSkinText, DisabledTextBlendsFontAndSectionColours) {
    Font font(30);
    OneSection m;
    m.s.Props[0].FontColor = {0x00000000, static_cast<rd::TColor>(kLeft), -1, -1, -1};
    m.s.Props[0].Color = 0x00FFFFFF;
    Surface out(W, H, 0xFFFFFFFF);
    HGDIOBJ old = SelectObject(out.dc, font.handle);
    rd::WriteSkinText(out.dc, kText, false, &m.model, 0, 0, kFormat, RECT{0, 0, W, H});
    SelectObject(out.dc, old);
    GdiFlush();
    // 40 per cent black text over 60 per cent white section: 153, and no contour colour.
    const uint32_t blended = rd::InterpolateColor(0x00000000, 0x00FFFFFF, 0.4) & 0xFF;
    int text = 0, other = 0;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            uint32_t p = out.At(x, y) & 0xFFFFFF;
            if (p == (blended * 0x010101u)) ++text;
            else if (p != 0xFFFFFF) ++other;
        }
    EXPECT_GT(text, 50);
    EXPECT_EQ(other, 0);
}

TEST(WriteTextOnBitmap32, ComposesByCoverageAndMakesTextOpaque) {
    Font font(30);
    Surface target(W, H, 0x00336699);  // transparent background of some colour
    const rd::TColor color = 0x000080FF;  // orange as a colour value (red in the low byte)
    rd::WriteTextOnBitmap32(&target.view, font.handle, kText, color, kFormat, rd::TRect{0, 0, W, H});
    Surface coverage(W, H, 0xFFFFFFFF);
    DrawReference(coverage.dc, font.handle, {{RGB(0, 0, 0), {0, 0}}});
    int composed = 0;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            uint32_t t = coverage.At(x, y), p = target.At(x, y);
            if ((t & 0xFFFFFF) == 0xFFFFFF) {
                EXPECT_EQ(p, 0x00336699u) << x << "," << y;
                continue;
            }
            ++composed;
            EXPECT_EQ(p >> 24, 0xFFu);
            const int cc[3] = {0x00, 0x80, 0xFF};  // blue, green, red of the colour value 0x0080FF
            for (int lane = 0; lane < 3; ++lane) {
                int d = (0x336699 >> (8 * lane)) & 0xFF, tv = (t >> (8 * lane)) & 0xFF;
                EXPECT_EQ(static_cast<int>((p >> (8 * lane)) & 0xFF), (((d - cc[lane]) * tv + cc[lane] * 256) >> 8) & 0xFF);
            }
        }
    EXPECT_GT(composed, 50);
}

TEST(WriteTextOnBitmap32, SkipsWhatLiesOutsideTheTarget) {
    Font font(30);
    Surface target(40, 20, 0);
    // The rect sticks out on every side; only the part over the target is composed.
    rd::WriteTextOnBitmap32(&target.view, font.handle, kText, 0x00FFFFFF, kFormat, rd::TRect{-40, -10, 80, 30});
    int composed = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x) composed += target.At(x, y) >> 24 == 0xFF;
    EXPECT_GT(composed, 20);
    EXPECT_LT(composed, 40 * 20);
    Surface untouched(40, 20, 0);
    rd::WriteTextOnBitmap32(&untouched.view, font.handle, L"", 0x00FFFFFF, kFormat, rd::TRect{0, 0, 40, 20});
    rd::WriteTextOnBitmap32(&untouched.view, font.handle, kText, 0x00FFFFFF, kFormat, rd::TRect{0, 0, 0, 20});
    EXPECT_TRUE(untouched.SameAs(Surface(40, 20, 0)));
}

TEST(WriteTextShadowed, GlowOfSizeFourWorksOnAnAreaSixteenPixelsLarger) {
    Font font(20);
    Surface target(W, H, 0xFF000000);
    std::unique_ptr<rd::TMemBitmap8> cache;
    rd::WriteTextShadowed(&target.view, font.handle, kText, rd::TRect{10, 5, 90, 30}, cache, 0x00FFFFFF, 4, rd::ssAll,
                          kFormat);
    ASSERT_TRUE(cache);
    EXPECT_EQ(cache->Width, 80 + 16);
    EXPECT_EQ(cache->Height, 25 + 16);
    int lit = 0;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) lit += (target.At(x, y) & 0xFF) > 0;
    EXPECT_GT(lit, 100);
}

TEST(WriteTextShadowed, ACacheOfTheRightSizeIsUsedAsItIs) {
    Font font(20);
    Surface target(W, H, 0x00000000);
    auto cache = std::make_unique<rd::TMemBitmap8>(80 + 12, 25 + 12, 255);
    cache->Row(3)[5] = 0;  // one fully covered pixel, nothing else
    rd::TMemBitmap8* kept = cache.get();
    rd::WriteTextShadowed(&target.view, font.handle, kText, rd::TRect{10, 5, 90, 30}, cache, 0x000000FF, 2, rd::ssAll,
                          kFormat);
    EXPECT_EQ(cache.get(), kept);
    // Cache (5, 3) lands at (5 + 11 - 6, 3 + 6 - 6). With coverage g = 255 the shifts by 8
    // give alpha (255 * 255) >> 8 = 254 and red 254; everything else is untouched.
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            uint32_t p = target.At(x, y);
            if (x == 10 && y == 3) EXPECT_EQ(p, 0xFEFE0000u);
            else EXPECT_EQ(p, 0u) << x << "," << y;
        }
}

TEST(SelectAngledFont, MsSansSerifBecomesArialOthersKeepTheirName) {
    EXPECT_EQ(rd::AngledFaceName(L"MS Sans Serif"), L"Arial");
    EXPECT_EQ(rd::AngledFaceName(L"Tahoma"), L"Tahoma");
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ before = GetCurrentObject(dc, OBJ_FONT);
    LOGFONTW lf{};
    lf.lfHeight = -13;
    lf.lfWeight = FW_BOLD;
    lstrcpyW(lf.lfFaceName, L"MS Sans Serif");
    HFONT previous = rd::SelectAngledFont(dc, lf, 0x000000FF, 900);
    EXPECT_EQ(previous, before);
    EXPECT_EQ(GetTextColor(dc), RGB(255, 0, 0));
    LOGFONTW got{};
    GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof got, &got);
    EXPECT_STREQ(got.lfFaceName, L"Arial");
    EXPECT_EQ(got.lfEscapement, 900);
    EXPECT_EQ(got.lfWeight, FW_BOLD);
    DeleteObject(SelectObject(dc, previous));
    DeleteDC(dc);
}

TEST(MeasureText, WordWrapLaysTheTextOutInTheWidth) {
    Font font(16);
    SIZE line = rd::MeasureText(font.handle, L"Установка успешно завершена", 0, 0, false);
    SIZE wrapped = rd::MeasureText(font.handle, L"Установка успешно завершена", 0, 60, true);
    EXPECT_GT(line.cx, 60);
    EXPECT_GT(wrapped.cy, line.cy);
    EXPECT_LE(wrapped.cx, line.cx);
}

struct ArrowCase { int kind, pixels, rowsOrColumns; bool rows; };

class ArrowShapes : public ::testing::TestWithParam<ArrowCase> {};

TEST_P(ArrowShapes, HaveTheirRowsOfPixels) {
    Surface s(20, 20, 0xFFFFFFFF);
    rd::DrawArrowShape(s.dc, 0, RECT{0, 0, 20, 20}, GetParam().kind);
    GdiFlush();
    int total = 0;
    std::vector<int> lines(20, 0);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            if ((s.At(x, y) & 0xFFFFFF) == 0) {
                ++total;
                ++lines[GetParam().rows ? y : x];
            }
    EXPECT_EQ(total, GetParam().pixels);
    EXPECT_EQ(static_cast<int>(std::count_if(lines.begin(), lines.end(), [](int n) { return n > 0; })),
              GetParam().rowsOrColumns);
}

INSTANTIATE_TEST_SUITE_P(Kinds, ArrowShapes, ::testing::Values(
    ArrowCase{3, 8 + 6 + 4 + 2, 4, true}, ArrowCase{1, 20, 4, true}, ArrowCase{0, 7 + 5 + 3 + 1, 4, false},
    ArrowCase{2, 16, 4, false}, ArrowCase{7, 0, 0, true}));

TEST(ArrowShapes, DownArrowIsWidestAtTheTop) {
    Surface s(20, 20, 0xFFFFFFFF);
    rd::DrawArrowShape(s.dc, 0, RECT{0, 0, 20, 20}, 3);
    GdiFlush();
    // x0 = (20 - 6) / 2 - 1 = 6, y0 = (20 - 3) / 2 - 1 = 7: row 7 covers 6..13.
    for (int x = 6; x <= 13; ++x) EXPECT_EQ(s.At(x, 7) & 0xFFFFFF, 0u) << x;
    EXPECT_EQ(s.At(5, 7) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(s.At(9, 10) & 0xFFFFFF, 0u);
    EXPECT_EQ(s.At(8, 10) & 0xFFFFFF, 0xFFFFFFu);
}

TEST(DrawDottedFrame, AlternatesTheColoursAndSkipsNoColour) {
    Surface s(10, 6, 0xFFFFFFFF);
    rd::DrawDottedFrame(s.dc, RECT{0, 0, 10, 6}, 0x000000FF, rd::clNone);
    GdiFlush();
    // colorA at odd x on the top row, colorB (none) at even x.
    EXPECT_EQ(s.At(1, 0) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(s.At(2, 0) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(s.At(3, 5) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(s.At(0, 1) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(s.At(9, 3) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(s.At(4, 2) & 0xFFFFFF, 0xFFFFFFu) << "inside stays";
}
