// Standard windowed controls over the system classes, and the text label.
#pragma once
#include "toolkit/Controls.h"

namespace tk {

class TButton : public TWinControl {
public:
    explicit TButton(TComponent* owner);
    void WndProc(TMessage& m) override;
protected:
    void CreateParams(TCreateParams& p) override;
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

class TLabel : public TGraphicControl {
public:
    explicit TLabel(TComponent* owner);
    void Paint(TCanvas& canvas) override;
    void SetProperty(TReader& reader, const std::string& name, const TValue& value) override;
    bool AutoSize() const { return FAutoSize; }
    void Loaded() override;
protected:
    void TextChanged() override;
    void AdjustBounds();
    virtual UINT DrawTextFlags() const;
    bool FAutoSize = true;
    bool FTransparent = false;
    bool FWordWrap = false;
    TAlignment FAlignment = TAlignment::taLeftJustify;
};

}  // namespace tk
