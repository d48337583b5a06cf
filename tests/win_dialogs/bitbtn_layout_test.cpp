// Where the bit button puts its image and caption: the defaults without an image, the even
// spread of margin -1 with spacing -1, the fixed margins, and the vertical layouts.
#include <gtest/gtest.h>

#include "controls/sBitBtn.h"

namespace {

using sk::TButtonLayout;

struct LayoutCase {
    const char* Name;
    sk::TBitBtnLayoutInput In;
    POINT Glyph;
    RECT Caption;
};

sk::TBitBtnLayoutInput Input(SIZE glyph, SIZE text, int margin, int spacing, TButtonLayout layout,
                             tk::TAlignment alignment = tk::TAlignment::taCenter, bool rtl = false) {
    sk::TBitBtnLayoutInput in;
    in.Width = 100;
    in.Height = 40;
    in.Glyph = glyph;
    in.Text = text;
    in.Margin = margin;
    in.Spacing = spacing;
    in.Layout = layout;
    in.Alignment = alignment;
    in.RightToLeft = rtl;
    return in;
}

TEST(BitBtnLayout, ImageAndCaptionPlaces) {
    const LayoutCase cases[] = {
        // No image: the caption is centred ((W - T + 1) div 2, (H - T + 1) div 2).
        {"caption only", Input({0, 0}, {30, 13}, -1, 4, TButtonLayout::blGlyphLeft), {35, 20}, {35, 14, 65, 27}},
        // -1 / -1: margins and gap each a third of the free width (100 - 16 - 30) / 3 = 18.
        {"even spread", Input({16, 16}, {30, 13}, -1, -1, TButtonLayout::blGlyphLeft), {18, 12}, {52, 14, 82, 27}},
        // Centre alignment with a spacing: glyph at max((W - T - S - G) div 2, M).
        {"centred", Input({16, 16}, {30, 13}, -1, 4, TButtonLayout::blGlyphLeft), {25, 12}, {45, 14, 75, 27}},
        {"left aligned", Input({16, 16}, {30, 13}, 3, 4, TButtonLayout::blGlyphLeft, tk::TAlignment::taLeftJustify),
         {3, 12}, {23, 14, 53, 27}},
        {"glyph right", Input({16, 16}, {30, 13}, 3, 4, TButtonLayout::blGlyphRight, tk::TAlignment::taRightJustify),
         {81, 12}, {47, 14, 77, 27}},
        // Right to left swaps the horizontal layouts.
        {"right to left", Input({16, 16}, {30, 13}, 3, 4, TButtonLayout::blGlyphLeft, tk::TAlignment::taRightJustify, true),
         {81, 12}, {47, 14, 77, 27}},
        // Vertical: glyph y = (H - G - S - T) div 2, text below it.
        {"glyph top", Input({16, 16}, {30, 13}, -1, 4, TButtonLayout::blGlyphTop), {42, 3}, {35, 23, 65, 36}},
        {"glyph bottom", Input({16, 16}, {30, 13}, -1, 4, TButtonLayout::blGlyphBottom), {42, 21}, {35, 4, 65, 17}},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const sk::TBitBtnLayout out = sk::LayoutBitBtn(c.In);
        EXPECT_EQ(out.GlyphPos.x, c.Glyph.x);
        EXPECT_EQ(out.GlyphPos.y, c.Glyph.y);
        EXPECT_EQ(out.CaptionRect.left, c.Caption.left);
        EXPECT_EQ(out.CaptionRect.top, c.Caption.top);
        EXPECT_EQ(out.CaptionRect.right, c.Caption.right);
        EXPECT_EQ(out.CaptionRect.bottom, c.Caption.bottom);
    }
}

}  // namespace
