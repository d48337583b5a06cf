// The skinned bit button: a push button whose image (a glyph strip or an image-list entry) and
// caption are placed by the bit button's layout, margin and spacing. The folder dialog's OK,
// Cancel and Create buttons. Everything else (skin commands, input, fades, the window region)
// is the push button's.
#pragma once
#include "controls/sButton.h"
#include "controls/sGlyphUtils.h"
#include "controls/sSpeedButton.h"  // TButtonLayout

namespace sk {

// Where the image and the caption go inside a client area of width x height.
struct TBitBtnLayoutInput {
    int Width = 0, Height = 0;
    SIZE Glyph{0, 0}, Text{0, 0};
    int Margin = -1, Spacing = 4;
    TButtonLayout Layout = TButtonLayout::blGlyphLeft;
    tk::TAlignment Alignment = tk::TAlignment::taCenter;  // of the horizontal layouts
    bool RightToLeft = false;
};
struct TBitBtnLayout {
    POINT GlyphPos{0, 0};
    RECT CaptionRect{0, 0, 0, 0};
};
TBitBtnLayout LayoutBitBtn(const TBitBtnLayoutInput& in);

class TsBitBtn : public TsButton {
public:
    explicit TsBitBtn(tk::TComponent* owner);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout value);
    int Margin() const { return FMargin; }
    void SetMargin(int value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int value);
    // The glyph strip (NumGlyphs frames side by side); call GlyphChanged after changing it.
    tk::TBitmap& Glyph() { return FGlyph; }
    void GlyphChanged();
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int value);
    bool ShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool value);
    tk::TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(tk::TAlignment value);
    tk::TAlignment TextAlignment() const { return FTextAlignment; }
    void SetTextAlignment(tk::TAlignment value);
    unsigned DisabledGlyphKind() const { return FDisabledGlyphKind; }
    void SetDisabledGlyphKind(unsigned value);
    bool Grayed();  // also while the manager discolours glyphs
    void SetGrayed(bool value);
    int Blend() const { return FBlend; }
    void SetBlend(int value);

    // The image's size: a list entry's or a glyph frame's, 0 x 0 without either.
    SIZE ImageSize() const;
    // Image and caption places for the current size, font and caption (client coordinates).
    TBitBtnLayout ContentLayout();
    // Where the image is painted in a state: moved by (1, 1) when pressed content shifts.
    RECT ImgRect(int state);

    bool PrepareCache() override;
    void SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& value) override;

private:
    void PropertyChanged();
    bool HasListImage() const;
    bool ContentShifts(int state);
    SIZE CaptionSize();
    UINT CaptionFormat(bool singleLine) const;
    void PaintCaption(int state, const RECT& caption);
    void PaintImage(int state);
    void PaintFocusFrame(const RECT& caption);

    TButtonLayout FLayout = TButtonLayout::blGlyphLeft;
    int FMargin = -1, FSpacing = 4, FNumGlyphs = 1;
    tk::TBitmap FGlyph;
    bool FShowCaption = true;
    tk::TAlignment FAlignment = tk::TAlignment::taCenter;
    tk::TAlignment FTextAlignment = tk::TAlignment::taCenter;
    unsigned FDisabledGlyphKind = dgBlended;
    bool FGrayed = false;
    int FBlend = 0;
};

}  // namespace sk
