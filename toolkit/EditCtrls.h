// Edit and combo box settings beyond the plain system controls: a hint shown in an empty edit,
// password characters, the border, text alignment and the rectangle the text is kept in; combo
// box styles with the notices of the list opening and closing, and the list's window.
#pragma once
#include "toolkit/EditCtrlsMask.h"
#include "toolkit/StdCtrls.h"

namespace tk {

enum class TBorderStyle { bsNone, bsSingle };

// Right-to-left reading, and (bdRightToLeft only) right-to-left placement: the alignment
// mirrored and a control's button at its left edge.
enum class TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
inline bool RightToLeftReading(TBiDiMode mode) { return mode != TBiDiMode::bdLeftToRight; }
inline bool RightToLeftPlacement(TBiDiMode mode) { return mode == TBiDiMode::bdRightToLeft; }
TBiDiMode ReadBiDiMode(TReader& reader, const TValue& value);
TAlignment MirroredAlignment(TAlignment alignment);

class TMaskEdit : public TCustomEdit {
public:
    explicit TMaskEdit(TComponent* owner);
    const std::wstring& TextHint() const { return FTextHint; }
    void SetTextHint(const std::wstring& value);
    // 0: the text is shown as it is.
    wchar_t PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(wchar_t value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);
    bool Ctl3D() const { return FCtl3D; }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    // Takes effect when the window is next created.
    TBiDiMode BiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(TBiDiMode value) { FBiDiMode = value; }
    // The alignment the text is shown with: mirrored for right-to-left placement.
    TAlignment ShownAlignment() const {
        return RightToLeftPlacement(FBiDiMode) ? MirroredAlignment(FAlignment) : FAlignment;
    }
    void SetReadOnly(bool value);
    // Keeps the text inside rect of the client area (left and right margins of a one-line
    // edit); reapplied whenever the window is created.
    void SetFormattingRect(const RECT& rect);
    const RECT& FormattingRect() const { return FFormattingRect; }
    // Selection in characters.
    void SelectRange(int start, int end);
    // The edit mask (see EditCtrlsMask.h); empty: the text is free. Setting it lays the text
    // onto the new mask.
    const std::wstring& EditMask() const { return FEditMask; }
    void SetEditMask(const std::wstring& value);
    const TEditMask& Mask() const { return FMask; }
    bool IsMasked() const { return !FMask.Empty(); }
    // The first required position of the mask left blank; TEditMask::npos when the text is
    // complete (or there is no mask).
    size_t ValidateEdit();
    TNotifyEvent OnChange;
    // The focus left a masked edit whose text changed and misses a required position; the
    // caret stands at that position.
    TNotifyEvent OnValidateError;
    void SetProperty(TReader& reader, const std::string& name, const TValue& value) override;
    void WndProc(TMessage& m) override;

protected:
    void CreateParams(TCreateParams& p) override;
    void InitializeWnd() override;
    // The user or the program changed the text.
    virtual void Change();
    void ApplyFormattingRect();

private:
    // Typing, deleting, pasting and cutting in a masked edit; true when the message is done.
    bool HandleMaskMessage(TMessage& m);
    void MaskedInsert(const std::wstring& chars);
    void MaskedDelete(bool backward);
    void MaskedCut();
    void MaskedSetText(TMessage& m);
    void MaskedExit();
    std::wstring MaskedWindowText();
    void ShowMaskedText(const std::wstring& text, size_t caret);
    void GetSelection(size_t& start, size_t& end);

    std::wstring FEditMask;
    TEditMask FMask;
    std::wstring FTextOnEnter;
    std::wstring FTextHint;
    wchar_t FPasswordChar = 0;
    TBorderStyle FBorderStyle = TBorderStyle::bsSingle;
    bool FCtl3D = true;
    TAlignment FAlignment = TAlignment::taLeftJustify;
    TBiDiMode FBiDiMode = TBiDiMode::bdLeftToRight;
    RECT FFormattingRect{0, 0, 0, 0};
    bool FHasFormattingRect = false;
};

enum class TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

class TCustomComboBox : public TComboBox {
public:
    explicit TCustomComboBox(TComponent* owner);
    TComboBoxStyle Style() const { return FStyle; }
    // Takes effect when the window is next created.
    void SetStyle(TComboBoxStyle value) { FStyle = value; }
    // Takes effect when the window is next created.
    TBiDiMode BiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(TBiDiMode value) { FBiDiMode = value; }
    int DropDownCount() const { return FDropDownCount; }
    // The list is open.
    bool DroppedDown();
    void SetDroppedDown(bool value);
    // The drop-down list's window and the edit part's window (null when there is none).
    HWND ListHandle();
    HWND EditHandle();
    bool IsListStyle() const { return FStyle != TComboBoxStyle::csDropDown && FStyle != TComboBoxStyle::csSimple; }
    bool IsOwnerDrawStyle() const {
        return FStyle == TComboBoxStyle::csOwnerDrawFixed || FStyle == TComboBoxStyle::csOwnerDrawVariable;
    }
    // The text of an item as the window holds it (the stored items before there is a window);
    // empty for an index out of range.
    std::wstring ItemText(int index);
    // Height of the list's items of an owner-drawn style; 0 keeps the system's.
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int value);
    TNotifyEvent OnDropDown, OnCloseUp, OnChange, OnDblClick;
    void SetProperty(TReader& reader, const std::string& name, const TValue& value) override;
    void WndProc(TMessage& m) override;

protected:
    void CreateParams(TCreateParams& p) override;
    virtual void DropDown();
    virtual void CloseUp();
    virtual void Change();
    void InitializeWnd() override;
    // Draws an item of an owner-drawn style (in the list or the selection field) in the
    // system's window and highlight colours.
    virtual void DrawItem(const DRAWITEMSTRUCT& item);

private:
    void ApplyItemHeight();

    TComboBoxStyle FStyle = TComboBoxStyle::csDropDown;
    TBiDiMode FBiDiMode = TBiDiMode::bdLeftToRight;
    int FDropDownCount = 8;
    int FItemHeight = 0;
};

}  // namespace tk
