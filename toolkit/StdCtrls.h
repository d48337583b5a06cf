// Standard windowed controls over the system classes, and the text label.
#pragma once
#include "toolkit/Controls.h"

namespace tk {

// Modal results a button hands to its form when clicked.
constexpr int mrNone = 0, mrOk = 1, mrCancel = 2;

class TButton : public TWinControl {
public:
    explicit TButton(TComponent* owner);
    void WndProc(TMessage& m) override;
    void SetProperty(TReader& reader, const std::string& name, const TValue& value) override;
    // Clicks, then gives the form the button's modal result when it has one.
    void Click() override;
    // Default: Enter clicks it while the focus is on a control that is not a push button.
    bool Default() const { return FDefault; }
    void SetDefault(bool value);
    // Cancel: Escape clicks it.
    bool Cancel() const { return FCancel; }
    void SetCancel(bool value) { FCancel = value; }
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int value) { FModalResult = value; }
    // Whether the button acts on Enter now: it has the focus, or it is the default button and
    // no other push button has the focus. Follows the focus through CM_FOCUSCHANGED.
    bool Active() const { return FActive; }
protected:
    void CreateParams(TCreateParams& p) override;
    // Called when Active changes (the default look follows it).
    virtual void SetButtonStyle(bool active) { (void)active; }
private:
    // Enter is for this button: it has the focus, or it is the default button and no other
    // push button has the focus.
    bool TakesEnter() const;
    void FocusChanged(TWinControl* focused);
    bool FDefault = false, FCancel = false, FActive = false;
    int FModalResult = mrNone;
};

class TCheckBox : public TWinControl {
public:
    explicit TCheckBox(TComponent* owner);
    bool Checked() const;
    void SetChecked(bool v);
    void WndProc(TMessage& m) override;
    void SetProperty(TReader& reader, const std::string& name, const TValue& value) override;
protected:
    void CreateParams(TCreateParams& p) override;
    void InitializeWnd() override;
private:
    mutable bool FChecked = false;
};

class TCustomEdit : public TWinControl {
public:
    explicit TCustomEdit(TComponent* owner);
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int n);
    bool ReadOnly() const { return FReadOnly; }
    void SetProperty(TReader& reader, const std::string& name, const TValue& value) override;
    void WndProc(TMessage& m) override;
protected:
    void CreateParams(TCreateParams& p) override;
    void InitializeWnd() override;
    int FMaxLength = 0;
    bool FReadOnly = false;
};

class TEdit : public TCustomEdit {
public:
    using TCustomEdit::TCustomEdit;
};

class TMemo;

// The lines of a memo: reads and appends go straight to the edit window when it exists.
class TMemoStrings : public TStrings {
public:
    explicit TMemoStrings(TMemo& memo) : FMemo(memo) {}
    int Count() const override;
    std::wstring Get(int index) const override;
    void Clear() override;
    int Add(const std::wstring& s) override;
private:
    std::vector<std::wstring> Split() const;
    TMemo& FMemo;
};

enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TMemo : public TCustomEdit {
public:
    explicit TMemo(TComponent* owner);
    TStrings& Lines() { return FLines; }
    void SetProperty(TReader& reader, const std::string& name, const TValue& value) override;
protected:
    void CreateParams(TCreateParams& p) override;
private:
    TMemoStrings FLines{*this};
    TScrollStyle FScrollBars = TScrollStyle::ssNone;
};

// The items of a combo box, kept in the control and mirrored into its window.
class TComboBoxStrings : public TStringList {};

class TComboBox : public TWinControl {
public:
    explicit TComboBox(TComponent* owner);
    TStrings& Items() { return FItems; }
    int ItemIndex() const;
    void SetItemIndex(int i);
    void SetProperty(TReader& reader, const std::string& name, const TValue& value) override;
    void WndProc(TMessage& m) override;
protected:
    void CreateParams(TCreateParams& p) override;
    void InitializeWnd() override;
private:
    TStringList FItems;
    mutable int FItemIndex = -1;
};

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TTextLayout { tlTop, tlCenter, tlBottom };
enum class TEllipsisPosition { epNone, epPathEllipsis, epEndEllipsis, epWordEllipsis };

class TLabel : public TGraphicControl {
public:
    explicit TLabel(TComponent* owner);
    // Background (unless transparent), then the text through DoDrawText, placed by Layout.
    void Paint(TCanvas& canvas) override;
    void SetProperty(TReader& reader, const std::string& name, const TValue& value) override;
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout value);
    // On: "&" marks the next character as the accelerator (underlined), "&&" is one "&".
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool value);
    // Where a text that does not fit is cut with "..." (only when AutoSize is off).
    TEllipsisPosition EllipsisPosition() const { return FEllipsisPosition; }
    void SetEllipsisPosition(TEllipsisPosition value);
    void Loaded() override;
    // The text as drawn and measured: a blank for an empty text (or a lone accelerator
    // mark), so an empty label keeps one line's height.
    std::wstring DrawnText() const;
protected:
    void TextChanged() override;
    void FontChanged() override;
    virtual void AdjustBounds();
    virtual UINT DrawTextFlags() const;
    // Draws (or with DT_CALCRECT measures into rect) the text with the given flags.
    virtual void DoDrawText(TCanvas& canvas, RECT& rect, UINT flags);
    bool FAutoSize = true;
    bool FTransparent = false;
    bool FWordWrap = false;
    bool FShowAccelChar = true;
    TAlignment FAlignment = TAlignment::taLeftJustify;
    TTextLayout FLayout = TTextLayout::tlTop;
    TEllipsisPosition FEllipsisPosition = TEllipsisPosition::epNone;
};

// The DrawText flag of an ellipsis position (0 for none).
UINT EllipsisFlag(TEllipsisPosition position);

}  // namespace tk
