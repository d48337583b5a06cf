// Check box. While skinned it takes all mouse and keyboard input itself, paints its face, the
// check glyph and the caption into its cache, and toggles on release; the system check box
// underneath holds the focus and a copy of the state that others read with BM_GETCHECK.
#pragma once
#include "render/sAlphaGraph.h"
#include "skinframework/sCommonData.h"
#include "skinframework/sFade.h"
#include "toolkit/ImgList.h"
#include "toolkit/StdCtrls.h"

namespace sk {

enum class TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
enum class TsVerticalAlign { vaTop, vaMiddle, vaBottom };

class TsCheckBox : public tk::TCheckBox {
public:
    explicit TsCheckBox(tk::TComponent* owner);
    ~TsCheckBox() override;
    TsCommonData& SkinData() { return FSkinData; }

    // Checked is State = cbChecked. Setting it (not while loading) repaints and fires
    // OnValueChanged when the value changes.
    bool Checked() const { return FState == TCheckBoxState::cbChecked; }
    void SetChecked(bool value);
    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState value);
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool value);
    // Unchecked -> checked -> grayed (with AllowGrayed) -> unchecked, then OnClick.
    virtual void Toggle();

    tk::TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(tk::TAlignment value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    int Margin() const { return FMargin; }
    void SetMargin(int value);
    int TextIndent() const { return FTextIndent; }
    void SetTextIndent(int value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value) { FReadOnly = value; }
    bool ShowFocus() const { return FShowFocus; }
    void SetShowFocus(bool value);
    TsVerticalAlign VerticalAlign() const { return FVerticalAlign; }
    void SetVerticalAlign(TsVerticalAlign value);
    unsigned DisabledKind() const { return FDisabledKind; }
    void SetDisabledKind(unsigned value);
    TacAnimatEvents AnimatEvents() const { return FAnimatEvents; }
    void SetAnimatEvents(TacAnimatEvents value) { FAnimatEvents = value; }
    // Custom glyph strips (frames side by side, as many as width div height, at least one).
    tk::TBitmap& GlyphChecked() { return FGlyphChecked; }
    tk::TBitmap& GlyphUnChecked() { return FGlyphUnChecked; }
    void GlyphChanged();
    int ImgChecked() const { return FImgChecked; }
    void SetImgChecked(int value);
    int ImgUnchecked() const { return FImgUnchecked; }
    void SetImgUnchecked(int value);
    // Glyphs from an image list (used while both indexes are not negative): an image as wide
    // as a multiple of its height is a strip of square frames. Not owned; let go when freed.
    tk::TCustomImageList* Images() const { return FImages; }
    void SetImages(tk::TCustomImageList* value);

    tk::TNotifyEvent OnValueChanged;

    // 0 normal, 1 hot (focused or hovered, not read-only), 2 pressed.
    int InteractionState() const;
    bool Pressed() const { return FPressed; }
    SIZE GlyphSize() const;
    RECT GlyphRect() const;
    // Paints the face into the cache; false (and updating) when the parent's background is not
    // ready yet.
    bool PrepareCache();
    // Width and height from glyph and caption, when AutoSize is on.
    void AdjustSize();
    TsFadeTimer* FadeTimer() const { return FFadeTimer; }

    void WndProc(tk::TMessage& m) override;
    void Loaded() override;
    void SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& value) override;

protected:
    void CreateParams(tk::TCreateParams& params) override;
    void InitializeWnd() override;
    void Notification(tk::TComponent* component, tk::TOperation operation) override;

private:
    bool HandleSkinnedInput(tk::TMessage& m);
    bool HandleSkinnedPaint(tk::TMessage& m);
    bool HandleSkinnedFocus(tk::TMessage& m);
    bool OnSkinCommand(tk::TMessage& m);
    void HandleUnskinned(tk::TMessage& m);
    void PressStarted(bool mouse);
    void PressEnded(bool toggle);
    void MouseEntered();
    void MouseLeft();
    void StateChanged();
    void Fade(TacAnimatEvent event, bool fast);
    void PushStateToWindow();
    void CopyCache(HDC dc);
    void PaintTo(HDC dc);
    void DrawCaption(TacCacheBitmap& cache, int state);
    void DrawGlyph(TacCacheBitmap& cache, int state);
    // keepAlpha: the strip's alpha is its transparency even where it is 0 everywhere.
    void DrawStripFrame(TacCacheBitmap& cache, const tk::TBitmap& strip, int state, bool keepAlpha = false);
    const tk::TBitmap* CustomGlyph() const;
    bool UsesImages() const;
    bool RightToLeft() const;
    bool GlyphAtLeft() const;
    SIZE MeasureCaption(int width) const;

    TsCtrlSkinData FSkinData{this, true, 32};
    TCheckBoxState FState = TCheckBoxState::cbUnchecked;
    bool FAllowGrayed = false;
    tk::TAlignment FAlignment = tk::TAlignment::taRightJustify;
    bool FAutoSize = true;
    bool FWordWrap = false;
    unsigned FDisabledKind = rd::dkBlended;
    tk::TBitmap FGlyphUnChecked, FGlyphChecked;
    int FTextIndent = 0;
    bool FShowFocus = true;
    int FMargin = 2;
    TsFadeTimer* FFadeTimer = nullptr;
    int FImgChecked = 0, FImgUnchecked = 0;
    tk::TCustomImageList* FImages = nullptr;
    TacAnimatEvents FAnimatEvents = AnimatEventSet(aeGlobalDef);
    TsVerticalAlign FVerticalAlign = TsVerticalAlign::vaMiddle;
    bool FReadOnly = false;
};

// The frame of a glyph strip of `frames` frames for an interaction state: min(2, n - 1)
// pressed, min(1, n - 1) hot, else 0.
int GlyphFrameIndex(int frames, int interactionState);
// Frames of a custom strip: width div height, at least one.
int StripFrameCount(int width, int height);

}  // namespace sk
