#include "controls/sBitBtn.h"

#include <algorithm>

#include "toolkit/DescriptionReader.h"

namespace sk {

namespace {

bool Horizontal(TButtonLayout l) { return l == TButtonLayout::blGlyphLeft || l == TButtonLayout::blGlyphRight; }

// Margin and spacing once the automatic values (-1) are resolved, along the layout's axis.
void ResolveGaps(const TBitBtnLayoutInput& in, int room, int glyph, int text, int& margin, int& spacing) {
    if (margin == -1) {
        if (spacing == -1) margin = spacing = (room - glyph - text) / 3;
        else if (in.Alignment == tk::TAlignment::taCenter) margin = (room - (glyph + spacing + text) + 1) / 2;
        else margin = 2;
    } else if (spacing == -1) {
        spacing = ((room - margin - glyph) - text) / 2;
    }
}

}  // namespace

TBitBtnLayout LayoutBitBtn(const TBitBtnLayoutInput& in) {
    TButtonLayout layout = in.Layout;
    if (in.RightToLeft && layout == TButtonLayout::blGlyphLeft) layout = TButtonLayout::blGlyphRight;
    else if (in.RightToLeft && layout == TButtonLayout::blGlyphRight) layout = TButtonLayout::blGlyphLeft;
    const int gw = in.Glyph.cx, gh = in.Glyph.cy, tw = in.Text.cx, th = in.Text.cy;
    const int W = in.Width, H = in.Height;
    int margin = in.Margin, spacing = in.Spacing;
    if (tw == 0 || gw == 0) spacing = 0;
    struct { int x = 0, y = 0; } glyph, text;
    if (Horizontal(layout)) {
        glyph.y = (H - gh + 1) / 2;
        text.y = (H - th + 1) / 2;
        ResolveGaps(in, W, gw, tw, margin, spacing);
    } else {
        glyph.x = (W - gw + 1) / 2;
        text.x = (W - tw + 1) / 2;
        ResolveGaps(in, H, gh, th, margin, spacing);
    }
    int textWidth = tw;
    switch (layout) {
        case TButtonLayout::blGlyphLeft:
            if (in.Alignment == tk::TAlignment::taLeftJustify) {
                glyph.x = margin;
                text.x = margin + gw + spacing;
                textWidth = std::min(tw, W - margin - text.x);
            } else if (in.Alignment == tk::TAlignment::taRightJustify) {
                text.x = W - margin - tw;
                glyph.x = text.x - spacing - gw;
            } else {
                glyph.x = std::max((W - tw - spacing - gw) / 2, margin);
                text.x = glyph.x + spacing + gw;
            }
            break;
        case TButtonLayout::blGlyphRight:
            if (in.Alignment == tk::TAlignment::taLeftJustify) {
                text.x = margin;
                glyph.x = margin + tw + spacing;
            } else if (in.Alignment == tk::TAlignment::taRightJustify) {
                glyph.x = W - margin - gw;
                text.x = glyph.x - spacing - tw;
            } else {
                text.x = (W - tw - spacing - gw) / 2;
                glyph.x = text.x + spacing + tw;
            }
            break;
        case TButtonLayout::blGlyphTop:
            glyph.y = (H - gh - spacing - th) / 2;
            text.y = glyph.y + gh + spacing;
            break;
        case TButtonLayout::blGlyphBottom:
            glyph.y = H - gh - (H - gh - spacing - th) / 2;
            text.y = glyph.y - spacing - th;
            break;
    }
    TBitBtnLayout out;
    out.GlyphPos = {glyph.x, glyph.y};
    out.CaptionRect = {text.x, text.y, text.x + std::max(0, textWidth), text.y + th};
    return out;
}

TsBitBtn::TsBitBtn(tk::TComponent* owner) : TsButton(owner) {
    SkinData().COC = 94;
    SetWordWrap(true);
}

void TsBitBtn::SetLayout(TButtonLayout value) {
    if (value == FLayout) return;
    FLayout = value;
    SkinData().BGChanged = true;
    Invalidate();
}

void TsBitBtn::SetMargin(int value) {
    if (value == FMargin) return;
    FMargin = value;
    SkinData().BGChanged = true;
    Invalidate();
}

void TsBitBtn::SetSpacing(int value) {
    if (value == FSpacing) return;
    FSpacing = value;
    SkinData().BGChanged = true;
    Invalidate();
}

void TsBitBtn::SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& v) {
    if (name == "Layout")
        FLayout = static_cast<TButtonLayout>(
            reader.Enum(v, {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"}));
    else if (name == "Margin") FMargin = reader.Int(v);
    else if (name == "Spacing") FSpacing = reader.Int(v);
    else if (name == "NumGlyphs") FNumGlyphs = std::max(1, reader.Int(v));
    else if (name == "Kind" || name == "Glyph.Data") reader.Skip(v);
    else TsButton::SetProperty(reader, name, v);
}

}  // namespace sk
