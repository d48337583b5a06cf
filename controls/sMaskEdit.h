// Edit painted from its skin section ("EDIT" unless another is stored): the frame and background
// come from the section, the colours of the section replace the stored ones while a skin is
// active (the hot set while focused or under the mouse, for sections with two states). While the
// edit has the focus the native edit draws its text, caret and selection inside the skinned
// frame; otherwise the whole window is painted from the cache, text, hint and password
// characters drawn by the skin. A bound label can stand beside it.
#pragma once
#include "controls/sBoundLabel.h"
#include "render/sAlphaGraph.h"
#include "skinframework/sCommonData.h"
#include "toolkit/EditCtrls.h"

namespace sk {

class TsMaskEdit : public tk::TMaskEdit {
public:
    explicit TsMaskEdit(tk::TComponent* owner) : TsMaskEdit(owner, 3) {}
    TsCommonData& SkinData() { return FSkinData; }
    TsBoundLabel& BoundLabel() { return FBoundLabel; }
    unsigned DisabledKind() const { return FDisabledKind; }
    void SetDisabledKind(unsigned value);

    // Rebuilds the whole face (frame, background, text) in the cache; false when the parent
    // could not give its background.
    bool PrepareCache();
    // Distance of the text from the window's edge: 0 without a border, else Ctl3D + 2.
    int TextMargin() const;
    // The text as the skin shows it: one password character per character when one is set.
    std::wstring ShownText() const;
    // The hint's colour: the font colour blended 65 % toward the background colour.
    rd::TColor HintColor() const;
    // The window shows the native edit's own painting (it has the focus).
    bool NativePainting() const;

    tk::TNotifyEvent OnMouseEnter, OnMouseLeave;

    void WndProc(tk::TMessage& m) override;
    void Loaded() override;
    void SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& value) override;

protected:
    TsMaskEdit(tk::TComponent* owner, int coc);
    void InitializeWnd() override;
    void Change() override;
    bool Ready() const;
    // What a derived edit adds to the face in the cache (the combo edit's button).
    virtual void PaintExtras(rd::TBitmap32*) {}
    // What a derived edit paints over the native painting (the combo edit's button).
    virtual void PaintOverNative(HDC) {}
    // Marks the face stale and repaints window and frame.
    void Refresh();

    TsCtrlSkinData FSkinData;

private:
    bool HandleSkinMessage(tk::TMessage& m);
    bool HandleSkinnedMessage(tk::TMessage& m);
    void PaintText(tk::TCanvas& canvas);
    int BorderWidth() const;
    void PaintFrame(HDC windowDC);
    void PaintFrameNow();
    void PaintWhole();
    void OnPaint(tk::TMessage& m);
    void OnPrint(tk::TMessage& m);
    void OnFocusChange(tk::TMessage& m);
    bool CacheReady();

    unsigned FDisabledKind = rd::dkBlended;
    TsBoundLabel FBoundLabel{this, &FSkinData};
};

}  // namespace sk
