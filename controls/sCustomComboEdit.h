// Edit with a button at its right edge: the button is a small skinned speed button inside the
// edit ("SPEEDBUTTON_SMALL"), the text is kept clear of it, the button or the click key
// (Alt+Down) runs the edit's action, and a read-only edit (or one without direct input) takes
// no typing, pasting or cutting.
#pragma once
#include "controls/sMaskEdit.h"
#include "controls/sSpeedButton.h"

namespace sk {

class TsCustomComboEdit;

class TsEditButton : public TsSpeedButton {
public:
    explicit TsEditButton(TsCustomComboEdit* owner);
    TsCustomComboEdit* Edit() const { return FEdit; }
    int GlyphWidth() const;
    int GlyphHeight() const;
    // Face from the section, then the glyph of the current state.
    bool PrepareCache() override;
    int Blend() const { return FBlend; }
    void SetBlend(int value);
    bool Grayed() const { return FGrayed; }
    void SetGrayed(bool value);
    const std::wstring& Hint() const { return FHint; }
    void SetHint(const std::wstring& value) { FHint = value; }

private:
    void DrawGlyph(rd::TBitmap32* cache, int state);
    TsCustomComboEdit* FEdit;
    int FBlend = 0;
    bool FGrayed = false;
    std::wstring FHint;
};

// The published face of the edit's button.
class TsGlyphMode : public tk::TObject {
public:
    explicit TsGlyphMode(TsCustomComboEdit* owner) : FOwner(owner) {}
    // Go to the button (0 and false while it is missing).
    int Blend() const;
    void SetBlend(int value);
    bool Grayed() const;
    void SetGrayed(bool value);
    std::wstring Hint() const;
    void SetHint(const std::wstring& value);
    int ImageIndex() const { return FImageIndex; }
    int ImageIndexHot() const { return FImageIndexHot; }
    int ImageIndexPressed() const { return FImageIndexPressed; }
    void SetImageIndex(int value);
    // Images of the default glyph strip (normal, hot, pressed side by side).
    int ImageCount() const;
    int Width() const;
    int Height() const;
    // "GlyphMode.*" of a window description; false for any other property.
    bool ReadProperty(tk::TReader& reader, const std::string& name, const tk::TValue& value);

private:
    TsEditButton* Btn() const;
    TsCustomComboEdit* FOwner;
    int FImageIndex = -1, FImageIndexHot = -1, FImageIndexPressed = -1;
};

class TsCustomComboEdit : public TsMaskEdit {
public:
    explicit TsCustomComboEdit(tk::TComponent* owner) : TsCustomComboEdit(owner, 138) {}
    TsEditButton* Button() const { return FButton; }
    TsGlyphMode& GlyphMode() { return FGlyphMode; }
    bool ShowButton() const { return FShowButton; }
    void SetShowButton(bool value);
    // Shortcut value: virtual key plus 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt.
    int ClickKey() const { return FClickKey; }
    void SetClickKey(int value) { FClickKey = value; }
    bool DirectInput() const { return FDirectInput; }
    void SetDirectInput(bool value);
    void SetComboReadOnly(bool value);
    // Index of the default glyph (-1: none).
    int DefBmpID() const { return FDefBmpID; }
    // The button's action: ButtonClick unless the edit is read-only.
    void DoClick();
    // Selects the whole text when there is any.
    void SelectAll();
    // Width the text keeps clear at the right (the button's, while it is shown).
    int ButtonSpace() const;
    tk::TNotifyEvent OnButtonClick;

    void WndProc(tk::TMessage& m) override;
    void Loaded() override;
    void SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& value) override;

protected:
    TsCustomComboEdit(tk::TComponent* owner, int coc);
    virtual void ButtonClick();
    void InitializeWnd() override;
    void PaintExtras(rd::TBitmap32* cache) override;
    void PaintOverNative(HDC dc) override;
    int FDefBmpID = -1;

private:
    void PlaceButton();
    void UpdateFormattingRect();
    void UpdateNativeReadOnly();
    bool IsClickKey(const tk::TMessage& m) const;

    TsEditButton* FButton;
    TsGlyphMode FGlyphMode{this};
    bool FShowButton = true;
    bool FPrintingWithoutButton = false;  // WM_PRINT shows the edit with its button hidden
    int FClickKey = 32808;
    bool FDirectInput = true;
};

}  // namespace sk
