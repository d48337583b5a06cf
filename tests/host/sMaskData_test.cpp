// Image notations, default border widths, image sizes and corner types.
#include <gtest/gtest.h>

#include "skin/SkinError.h"
#include "skin/sMaskData.h"

using namespace sk;

namespace {

TsMaskData Mask(const std::wstring& value) {
    auto n = ParseImageNotation(value);
    EXPECT_TRUE(n) << std::string(value.begin(), value.end());
    return MaskFromNotation(*n, n ? n->R : rd::TRect{});
}

}  // namespace

TEST(ImageNotation, FixedPositionNotations) {
    struct Case {
        const wchar_t* value;
        rd::TRect r;
        int count, type, mode, border, wl, wt, wr, wb;
        TacImgType kind;
    } cases[] = {
        {L"^0000^0037^0154^0046^0002^0002^0002^0002^2^0^1^1", {0, 37, 154, 46}, 2, 0, 1, 1, 2, 2, 2, 2, itisaBorder},
        {L"^0171^0039^0178^0040^0000^0000^0000^0000^1^0^1^0", {171, 39, 178, 40}, 1, 0, 1, 0, 2, 0, 2, 0, itisaBorder},
        {L"^0000^0000^0060^0040^0000^0000^0000^0000^2^1^1^0", {0, 0, 60, 40}, 2, 1, 1, 0, 10, 6, 10, 6, itisaBorder},
        {L"^0000^0000^0060^0040^0000^0000^0000^0000^2^1^1^3", {0, 0, 60, 40}, 2, 1, 1, 3, 3, 3, 3, 3, itisaBorder},
        {L"@0128@0074@0173@0089@3@0", {128, 74, 173, 89}, 3, 0, 0, 0, 0, 0, 0, 0, itisaGlyph},
        {L"~0619~0045~0625~0048~00~0", {619, 45, 625, 48}, 1, 0, 0, 0, 0, 0, 0, 0, itisaTexture},
        {L"~0619~0045~0625~0048~07", {619, 45, 625, 48}, 1, 0, 7, 0, 0, 0, 0, 0, itisaTexture},
        {L"# (1,2,31,42) (3 1 0 5)", {1, 2, 31, 42}, 3, 1, 5, 0, 3, 6, 3, 6, itisaBorder},
        {L"#(0,0,12,12)(2,-1,4)", {0, 0, 12, 12}, 2, 0, 1, 4, 4, 4, 4, 4, itisaBorder},
        {L"# 0,0,10,10 1,0,0,1", {0, 0, 10, 10}, 1, 0, 1, 0, 3, 3, 3, 3, itisaBorder},  // words split by blanks
        {L"#\t(3, 4, 33, 10)1,1", {3, 4, 33, 10}, 1, 1, 1, 0, 10, 1, 10, 1, itisaBorder},
    };
    for (const auto& c : cases) {
        const TsMaskData m = Mask(c.value);
        const std::string what(c.value, c.value + wcslen(c.value));
        EXPECT_EQ(m.R.Left, c.r.Left) << what;
        EXPECT_EQ(m.R.Top, c.r.Top) << what;
        EXPECT_EQ(m.R.Right, c.r.Right) << what;
        EXPECT_EQ(m.R.Bottom, c.r.Bottom) << what;
        EXPECT_EQ(m.ImageCount, c.count) << what;
        EXPECT_EQ(m.MaskType, c.type) << what;
        EXPECT_EQ(m.DrawMode, c.mode) << what;
        EXPECT_EQ(m.BorderWidth, c.border) << what;
        EXPECT_EQ((std::vector<int>{m.WL, m.WT, m.WR, m.WB}), (std::vector<int>{c.wl, c.wt, c.wr, c.wb})) << what;
        EXPECT_EQ(m.ImgType, c.kind) << what;
    }
}

TEST(ImageNotation, FileNotations) {
    auto huge = ParseImageNotation(L"!HUGE.BMP!3!0!0!0031!0031!0031!0031!5");
    ASSERT_TRUE(huge);
    EXPECT_EQ(huge->Kind, TNotationKind::External);
    EXPECT_EQ(huge->FileName, L"HUGE.BMP");
    TsMaskData m = MaskFromNotation(*huge, {0, 0, 93, 40});
    EXPECT_EQ(m.ImageCount, 3);
    EXPECT_EQ(m.MaskType, 0);
    EXPECT_EQ(m.ImgType, itisaBorder);
    EXPECT_EQ((std::vector<int>{m.WL, m.WT, m.WR, m.WB}), (std::vector<int>{31, 31, 31, 31}));
    EXPECT_EQ(m.DrawMode, 5);

    auto glow = ParseImageNotation(L"!CLOSEG.PNG!1!0!4!0000!0000!0000!0000!0");
    ASSERT_TRUE(glow);
    m = MaskFromNotation(*glow, {0, 0, 20, 20});
    EXPECT_EQ(m.ImgType, itisaPngGlyph);
    EXPECT_EQ(m.WL + m.WT + m.WR + m.WB, 0);
    EXPECT_EQ(m.DrawMode, 0);
    EXPECT_FALSE(ParseImageNotation(L"!closeg.png!1!0!4!0000!0000!0000!0000!0"));

    auto few = ParseImageNotation(L"!A.PNG!2!x!9");  // unparsable field: 0; kind above 4: 4
    ASSERT_TRUE(few);
    m = MaskFromNotation(*few, {0, 0, 60, 30});
    EXPECT_EQ(m.ImgType, itisaPngGlyph);
    EXPECT_EQ((std::vector<int>{m.WL, m.WT, m.WR, m.WB}), (std::vector<int>{10, 10, 10, 10}));
    EXPECT_EQ(m.DrawMode, 1);

    auto bmp = ParseImageNotation(L"button.bmp");
    ASSERT_TRUE(bmp);
    EXPECT_EQ(bmp->Kind, TNotationKind::BitmapFile);
    m = MaskFromNotation(*bmp, {0, 0, 90, 60});
    EXPECT_EQ(m.ImageCount, 3);
    EXPECT_EQ(m.MaskType, 1);
    EXPECT_EQ((std::vector<int>{m.WL, m.WT, m.WR, m.WB}), (std::vector<int>{10, 10, 10, 10}));
}

TEST(ImageNotation, ValuesThatDefineNothingOrFail) {
    for (const wchar_t* v : {L"", L"N/A", L"12", L"3421243;0;0", L"#", L"PAT.JPG", L"-16777201"})
        EXPECT_FALSE(ParseImageNotation(v)) << v;
    // Values with "#" whose second word is no usable rectangle are not rectangle lists.
    for (const wchar_t* v : {L"Studio #5", L"#5", L"#0,0,4,4", L"# 0,0,10", L"#(1,2,x,4)(1)", L"#(1,2)(1)",
                             L"#(0,0,4,4,4)(1)", L"#(5,5,1,1)(1)", L"#(0,0,0,9)(1)", L"#(0,0,3000000000,1)(1)",
                             L"#(-2000000000,0,2000000000,1)(1)", L"Studio #5.BMP", L"## ##"})
        EXPECT_FALSE(ParseImageNotation(v)) << v;
    for (const wchar_t* v : {L"^00x0^0037^0154^0046^0002^0002^0002^0002^2^0^1^1", L"^0000^0037", L"@0128@0074@0173@0089@x@0",
                             L"~0619~0045~0625~0048~A0~0"})
        EXPECT_ANY_THROW(ParseImageNotation(v)) << v;
    // Image count 0 with widths to be defaulted: a format error, no division.
    auto zero = ParseImageNotation(L"^0000^0000^0060^0040^0000^0000^0000^0000^0^0^1^0");
    ASSERT_TRUE(zero);
    EXPECT_THROW(MaskFromNotation(*zero, zero->R), ESkinError);
    auto list = ParseImageNotation(L"#(0,0,9,9)(0)");
    ASSERT_TRUE(list);
    EXPECT_THROW(MaskFromNotation(*list, list->R), ESkinError);
}

TEST(ImageNotation, NumbersBeyondTheMaskFieldsSaturate) {
    // Counts, types, widths and modes of external images and rectangle lists may be any integer:
    // the default widths are computed without overflow and the 16-bit fields keep the sign.
    struct Case {
        const wchar_t* value;
        int count, type, mode, wl, wt;
    } cases[] = {
        {L"!A.PNG!1000000000!0!0", 32767, 0, 1, 0, 10},
        {L"!A.PNG!1!2000000000!0", 1, 32767, 1, 20, 0},
        {L"#(0,0,60,30)(1000000000)", 32767, 0, 1, 0, 10},
        {L"!A.PNG!1!0!0!40000!-40000!1!1!-2147483648", 1, 0, -32768, 32767, -32768},
    };
    for (const auto& c : cases) {
        auto n = ParseImageNotation(c.value);
        ASSERT_TRUE(n);
        const TsMaskData m = MaskFromNotation(*n, {0, 0, 60, 30});
        const std::string what(c.value, c.value + wcslen(c.value));
        EXPECT_EQ((std::vector<int>{m.ImageCount, m.MaskType, m.DrawMode, m.WL, m.WT}),
                  (std::vector<int>{c.count, c.type, c.mode, c.wl, c.wt}))
            << what;
    }
}

TEST(MaskGeometry, ImageWidthAndHeight) {
    struct Case { int count, type, w, h, imageW, imageH; } cases[] = {
        {0, 0, 90, 60, 0, 60}, {1, 0, 90, 60, 90, 60}, {3, 1, 90, 61, 30, 30},
        {2, 2, 91, 60, 45, 20}, {1, -1, 10, 10, 10, 0},
    };
    for (const auto& c : cases) {
        TsMaskData m;
        m.ImageCount = static_cast<int16_t>(c.count);
        m.MaskType = static_cast<int16_t>(c.type);
        m.R = {5, 5, 5 + c.w, 5 + c.h};
        EXPECT_EQ(MaskImageWidth(m), c.imageW);
        EXPECT_EQ(MaskImageHeight(m), c.imageH);
    }
}

TEST(MaskGeometry, DetectCornerType) {
    // A 2 x 1 mask of 10 x 10 images with 3-pixel borders, in a 30 x 12 bitmap.
    TsMaskData m;
    m.R = {0, 0, 20, 10};
    m.ImageCount = 2;
    m.WL = m.WT = m.WR = m.WB = 3;
    struct Case { int x, y, expected; } cases[] = {
        {-1, -1, 0}, {0, 0, 1}, {2, 2, 1}, {3, 0, 0}, {7, 1, 1}, {9, 9, 1},
        {0, 8, 1}, {5, 5, 0}, {10, 0, 0},  // second image is not looked at
    };
    for (const auto& c : cases) {
        rd::TMemBitmap32 bmp(30, 12);
        if (c.x >= 0) rd::WritePixel32(bmp, c.x, c.y, 0x00FF00FFu);
        EXPECT_EQ(DetectCornerType(m, &bmp), c.expected) << c.x << "," << c.y;
    }
    rd::TMemBitmap32 alpha(30, 12);
    rd::WritePixel32(alpha, 0, 0, 0xFFFF00FFu);  // opaque magenta is not the key
    EXPECT_EQ(DetectCornerType(m, &alpha), 0);
    // The box is clipped to the bitmap without its last column and row.
    rd::TMemBitmap32 small(10, 10);
    rd::WritePixel32(small, 9, 9, 0x00FF00FFu);
    TsMaskData one;
    one.WL = one.WT = one.WR = one.WB = 3;
    one.R = {0, 0, 10, 10};
    one.ImageCount = 1;
    EXPECT_EQ(DetectCornerType(one, &small), 0);
    one.ClassName = L"BUTTON_HUGE";
    one.PropertyName = L"BORDERSMASK";
    EXPECT_EQ(DetectCornerType(one, &small), 2);
}
