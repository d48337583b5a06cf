// The skinned bit button: a push button whose image and caption are placed by the bit
// button's layout, margin and spacing. The folder dialog's OK, Cancel and Create buttons.
#pragma once
#include "controls/sButton.h"
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
    int NumGlyphs() const { return FNumGlyphs; }

    void SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& value) override;

private:
    TButtonLayout FLayout = TButtonLayout::blGlyphLeft;
    int FMargin = -1, FSpacing = 4, FNumGlyphs = 1;
};

}  // namespace sk
