#include "controls/sBitBtn.h"

#include <algorithm>

#include "skinframework/sControlText.h"
#include "skinframework/sSkinManager.h"
#include "skinpaint/sTextOutput.h"
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

// ---- Properties ----

void TsBitBtn::PropertyChanged() {
    if (IsLoading()) return;
    SkinData().Invalidate();
}

void TsBitBtn::SetLayout(TButtonLayout value) {
    if (value == FLayout) return;
    FLayout = value;
    PropertyChanged();
}

void TsBitBtn::SetMargin(int value) {
    if (value == FMargin) return;
    FMargin = value;
    PropertyChanged();
}

void TsBitBtn::SetSpacing(int value) {
    if (value == FSpacing) return;
    FSpacing = value;
    PropertyChanged();
}

void TsBitBtn::GlyphChanged() { PropertyChanged(); }

void TsBitBtn::SetNumGlyphs(int value) {
    value = std::max(1, value);
    if (value == FNumGlyphs) return;
    FNumGlyphs = value;
    PropertyChanged();
}

void TsBitBtn::SetShowCaption(bool value) {
    if (value == FShowCaption) return;
    FShowCaption = value;
    PropertyChanged();
}

void TsBitBtn::SetAlignment(tk::TAlignment value) {
    if (value == FAlignment) return;
    FAlignment = value;
    PropertyChanged();
}

void TsBitBtn::SetTextAlignment(tk::TAlignment value) {
    if (value == FTextAlignment) return;
    FTextAlignment = value;
    PropertyChanged();
}

void TsBitBtn::SetDisabledGlyphKind(unsigned value) {
    if (value == FDisabledGlyphKind) return;
    FDisabledGlyphKind = value;
    PropertyChanged();
}

bool TsBitBtn::Grayed() {
    if (FGrayed) return true;
    const TsCommonData& data = SkinData();
    const TsSkinManager* manager = data.SkinManager();
    return data.Skinned() && manager && manager->Effects.DiscoloredGlyphs;
}

void TsBitBtn::SetGrayed(bool value) {
    if (value == FGrayed) return;
    FGrayed = value;
    PropertyChanged();
}

void TsBitBtn::SetBlend(int value) {
    value = std::clamp(value, 0, 100);
    if (value == FBlend) return;
    FBlend = value;
    PropertyChanged();
}

// ---- Layout ----

bool TsBitBtn::HasListImage() const { return Images() && Images()->ValidIndex(ImageIndex()); }

SIZE TsBitBtn::ImageSize() const {
    if (HasListImage()) return {Images()->Width() / FNumGlyphs, Images()->Height()};
    if (FGlyph.Width() > 0 && FGlyph.Height() > 0) return {GlyphFrameWidth(FGlyph.Width(), FNumGlyphs), FGlyph.Height()};
    return {0, 0};
}

UINT TsBitBtn::CaptionFormat(bool singleLine) const {
    const UINT align = FTextAlignment == tk::TAlignment::taLeftJustify    ? DT_LEFT
                       : FTextAlignment == tk::TAlignment::taRightJustify ? DT_RIGHT
                                                                          : DT_CENTER;
    return align | DT_VCENTER | DT_EXPANDTABS | (singleLine || !WordWrap() ? DT_SINGLELINE : DT_WORDBREAK);
}

SIZE TsBitBtn::CaptionSize() {
    if (!FShowCaption || Caption().empty()) return {0, 0};
    const SIZE image = ImageSize();
    const bool beside = FLayout == TButtonLayout::blGlyphLeft || FLayout == TButtonLayout::blGlyphRight;
    int room = Width() - 2 * std::max(FMargin, 0);
    if (beside && image.cx > 0) room -= image.cx + std::max(FSpacing, 0);
    room = std::max(room, 0);
    SIZE size = rd::MeasureText(Font().Handle(), Caption(), CaptionFormat(false), room, WordWrap());
    // A caption wider than the room is cut to it and ends with an ellipsis when painted.
    size.cx = std::min<LONG>(size.cx, room);
    size.cy = std::min<LONG>(size.cy, Height());
    return size;
}

TBitBtnLayout TsBitBtn::ContentLayout() {
    TBitBtnLayoutInput in;
    in.Width = Width();
    in.Height = Height();
    in.Glyph = ImageSize();
    in.Text = CaptionSize();
    in.Margin = FMargin;
    in.Spacing = FSpacing;
    in.Layout = FLayout;
    in.Alignment = FAlignment;
    in.RightToLeft = HandleAllocated() && (GetWindowLongPtrW(Handle(), GWL_EXSTYLE) & WS_EX_RTLREADING);
    return LayoutBitBtn(in);
}

bool TsBitBtn::ContentShifts(int state) {
    TsSkinManager* manager = SkinData().SkinManager();
    return state == bsPressed && (!SkinData().Skinned() || (manager && manager->ButtonsOptions.ShiftContentOnClick));
}

RECT TsBitBtn::ImgRect(int state) {
    const SIZE size = ImageSize();
    const POINT at = ContentLayout().GlyphPos;
    RECT r{at.x, at.y, at.x + size.cx, at.y + size.cy};
    if (ContentShifts(state)) OffsetRect(&r, 1, 1);
    if (Reflected()) OffsetRect(&r, 0, -(size.cx / 6));
    return r;
}

// ---- Cache ----

void TsBitBtn::PaintFocusFrame(const RECT& caption) {
    TsSkinManager* manager = SkinData().SkinManager();
    const TsGeneralData* section = SkinData().Section();
    if (!SkinData().FFocused || !Enabled() || !section || !manager || !manager->ButtonsOptions.ShowFocusRect ||
        Caption().empty() || !ShowFocus() || !FShowCaption)
        return;
    RECT r = caption;
    InflateRect(&r, FocusMargin() + 1, FocusMargin());
    const rd::TColor color = section->Props[std::min(1, section->States)].FontColor.Color;
    rd::DrawDottedFrame(SkinData().FCacheBmp->Canvas().Handle(), r, color, rd::clNone);
}

void TsBitBtn::PaintCaption(int state, const RECT& caption) {
    TacCacheBitmap* cache = SkinData().FCacheBmp.get();
    if (!cache || !FShowCaption || Caption().empty()) return;
    tk::TCanvas& canvas = cache->Canvas();
    canvas.Font.Assign(Font());
    canvas.Brush.Clear = true;
    RECT r = caption;
    if (ContentShifts(state)) OffsetRect(&r, 1, 1);
    const bool oneLine = r.bottom - r.top <= canvas.TextExtent(L"Wg").cy;
    UINT format = CaptionFormat(oneLine) | DT_END_ELLIPSIS;
    if (HandleAllocated() && (GetWindowLongPtrW(Handle(), GWL_EXSTYLE) & WS_EX_RTLREADING)) format |= DT_RTLREADING;
    WriteControlText(canvas, Caption(), Enabled(), state != bsNormal, SkinData(), format, r);
    PaintFocusFrame(r);
}

void TsBitBtn::PaintImage(int state) {
    TacCacheBitmap* cache = SkinData().FCacheBmp.get();
    if (!cache) return;
    TsGlyphPaintInfo info;
    info.DstBmp = cache->View();
    info.Images = Images();
    info.ImageIndex = ImageIndex();
    info.Glyph = &FGlyph;
    info.SkinIndex = SkinData().SkinIndex;
    info.Manager = SkinData().SkinManager();
    info.GlyphRect = ImgRect(state);
    info.NumGlyphs = FNumGlyphs;
    info.Enabled = Enabled();
    info.Blend = FBlend;
    info.Pressed = Down();
    info.Grayed = Grayed();
    info.State = state;
    info.DisabledGlyphKind = FDisabledGlyphKind;
    info.Reflected = Reflected();
    GdiFlush();
    PaintButtonGlyph(info);
}

bool TsBitBtn::PrepareCache() {
    TsCommonData& data = SkinData();
    const std::optional<rd::TCacheInfo> background = data.CacheBackground();
    if (!background) return false;
    const rd::TCacheInfo& bg = *background;
    TacCacheBitmap* cache = data.FCacheBmp.get();
    cache->Canvas().Font.Assign(Font());
    const int state = CurrentState();
    PaintFaceLayers(cache->View(), bg, SkinState(state));
    const TBitBtnLayout layout = ContentLayout();
    PaintCaption(state, layout.CaptionRect);
    PaintImage(state);
    if (!Enabled()) {
        const rd::TColor parentColor = Parent() ? rd::ColorToRGB(Parent()->Color()) : rd::clMagenta;
        rd::ApplyDisabledLook(cache->View(), DisabledKind(), parentColor, {0, 0}, bg);
    }
    data.BGChanged = false;
    return true;
}

void TsBitBtn::SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& v) {
    if (name == "Layout")
        FLayout = static_cast<TButtonLayout>(
            reader.Enum(v, {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"}));
    else if (name == "Margin") FMargin = reader.Int(v);
    else if (name == "Spacing") FSpacing = reader.Int(v);
    else if (name == "NumGlyphs") FNumGlyphs = std::max(1, reader.Int(v));
    else if (name == "ShowCaption") FShowCaption = reader.Bool(v);
    else if (name == "Grayed") FGrayed = reader.Bool(v);
    else if (name == "Blend") FBlend = std::clamp(reader.Int(v), 0, 100);
    else if (name == "Glyph.Data") LoadGlyphData(reader.Binary(v), FGlyph);
    else if (name == "Kind") reader.Skip(v);
    else TsButton::SetProperty(reader, name, v);
}

}  // namespace sk
