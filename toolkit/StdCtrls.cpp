#include "toolkit/StdCtrls.h"

#include "toolkit/DescriptionReader.h"
#include "toolkit/Forms.h"

namespace tk {

// --- TButton

TButton::TButton(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
    SetBounds(0, 0, 75, 25);
}

void TButton::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.ClassName = L"BUTTON";
    p.Style |= BS_PUSHBUTTON;
}

void TButton::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
        Click();
        return;
    }
    if (m.Msg == CM_FOCUSCHANGED) {
        FocusChanged(reinterpret_cast<TWinControl*>(m.LParam));
        return;
    }

    if (m.Msg == CM_DIALOGKEY) {
        const bool mine = (m.WParam == VK_RETURN && TakesEnter()) || (m.WParam == VK_ESCAPE && FCancel);
        if (mine && Visible() && Enabled() && Showing()) {
            Click();
            m.Result = 1;
        }
        return;
    }
    TWinControl::WndProc(m);
}

void TButton::SetProperty(TReader& reader, const std::string& name, const TValue& v) {
    if (name == "Default") FDefault = FActive = reader.Bool(v);
    else if (name == "Cancel") FCancel = reader.Bool(v);
    else if (name == "ModalResult") FModalResult = reader.Int(v);
    else TWinControl::SetProperty(reader, name, v);
}

namespace {

TWinControl* RootOf(TWinControl* c) {
    while (c->Parent()) c = c->Parent();
    return c;
}

}  // namespace

bool TButton::TakesEnter() const {
    // Asked of the focus as it is now, not of the look (a subclass may keep the focus notice).
    HWND focus = GetFocus();
    TWinControl* focused = TWinControl::FromHandle(focus);
    if (focused == this) return true;
    if (!FDefault || dynamic_cast<TButton*>(focused)) return false;
    // Nor while a system push button has the focus: the dialog manager clicks that one.
    const LRESULT code = focus ? SendMessageW(focus, WM_GETDLGCODE, 0, 0) : 0;
    return !(code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON));
}

void TButton::FocusChanged(TWinControl* focused) {
    const bool active = focused == this || (FDefault && !dynamic_cast<TButton*>(focused));
    if (active == FActive) return;
    FActive = active;
    SetButtonStyle(active);
}

void TButton::SetDefault(bool value) {
    if (FDefault == value) return;
    FDefault = value;
    // The focus stays where it is: take the look it asks for now.
    TWinControl* focused = TWinControl::FromHandle(GetFocus());
    FocusChanged(focused && RootOf(focused) == RootOf(this) ? focused : nullptr);
}

void TButton::Click() {
    TWinControl::Click();
    if (FModalResult == mrNone) return;
    if (auto* form = dynamic_cast<TForm*>(RootOf(this))) form->SetModalResult(FModalResult);
}

// --- TCheckBox

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
    SetBounds(0, 0, 97, 17);
}

void TCheckBox::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.ClassName = L"BUTTON";
    p.Style |= BS_AUTOCHECKBOX;
}

void TCheckBox::InitializeWnd() {
    TWinControl::InitializeWnd();
    SendMessageW(Handle(), BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool TCheckBox::Checked() const {
    if (HandleAllocated()) FChecked = SendMessageW(const_cast<TCheckBox*>(this)->Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
    return FChecked;
}

void TCheckBox::SetChecked(bool v) {
    FChecked = v;
    if (HandleAllocated()) SendMessageW(Handle(), BM_SETCHECK, v ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TCheckBox::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
        Checked();
        Click();
        return;
    }
    TWinControl::WndProc(m);
}

void TCheckBox::SetProperty(TReader& reader, const std::string& name, const TValue& v) {
    if (name == "Checked") FChecked = reader.Bool(v);
    else if (name == "State") FChecked = reader.Ident(v) == "cbChecked";
    else TWinControl::SetProperty(reader, name, v);
}

// --- TCustomEdit

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
    FColor = clWindow;
    SetBounds(0, 0, 121, 21);
}

void TCustomEdit::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.ClassName = L"EDIT";
    p.Style |= ES_AUTOHSCROLL;
    p.ExStyle |= WS_EX_CLIENTEDGE;
    if (FReadOnly) p.Style |= ES_READONLY;
}

void TCustomEdit::InitializeWnd() {
    TWinControl::InitializeWnd();
    SendMessageW(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
}

void TCustomEdit::SetMaxLength(int n) {
    FMaxLength = n;
    if (HandleAllocated()) SendMessageW(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(n), 0);
}

void TCustomEdit::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == EN_CHANGE) {
        // Keep the stored text in step with what the user typed.
        FText = WindowText(Handle());
        return;
    }
    TWinControl::WndProc(m);
}

void TCustomEdit::SetProperty(TReader& reader, const std::string& name, const TValue& v) {
    if (name == "MaxLength") FMaxLength = reader.Int(v);
    else if (name == "ReadOnly") FReadOnly = reader.Bool(v);
    else if (name == "AutoSize") reader.Skip(v);
    else TWinControl::SetProperty(reader, name, v);
}

// --- TMemo

std::vector<std::wstring> TMemoStrings::Split() const {
    std::wstring text = FMemo.GetText();
    std::vector<std::wstring> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L"\r\n", start);
        if (end == std::wstring::npos) { lines.push_back(text.substr(start)); break; }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

int TMemoStrings::Count() const { return static_cast<int>(Split().size()); }

std::wstring TMemoStrings::Get(int index) const {
    auto lines = Split();
    if (index < 0 || index >= static_cast<int>(lines.size()))
        throw EInvalidOperation(Format(L"List index out of bounds (%d)", {std::to_wstring(index)}));
    return lines[static_cast<size_t>(index)];
}

void TMemoStrings::Clear() { FMemo.SetText(L""); }

int TMemoStrings::Add(const std::wstring& s) {
    // Append at the end without rewriting the whole text, so the memo scrolls to the new line.
    std::wstring text = FMemo.GetText();
    std::wstring add = (text.empty() || text.ends_with(L"\r\n") ? L"" : L"\r\n") + s + L"\r\n";
    if (FMemo.HandleAllocated()) {
        HWND h = FMemo.Handle();
        int len = GetWindowTextLengthW(h);
        SendMessageW(h, EM_SETSEL, static_cast<WPARAM>(len), static_cast<LPARAM>(len));
        SendMessageW(h, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(add.c_str()));
    } else {
        FMemo.SetText(text + add);
    }
    return Count() - 1;
}

TMemo::TMemo(TComponent* owner) : TCustomEdit(owner) { SetBounds(0, 0, 185, 89); }

void TMemo::CreateParams(TCreateParams& p) {
    TCustomEdit::CreateParams(p);
    p.Style &= ~ES_AUTOHSCROLL;
    p.Style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
    if (FScrollBars == TScrollStyle::ssVertical || FScrollBars == TScrollStyle::ssBoth) p.Style |= WS_VSCROLL;
    if (FScrollBars == TScrollStyle::ssHorizontal || FScrollBars == TScrollStyle::ssBoth)
        p.Style |= WS_HSCROLL | ES_AUTOHSCROLL;
}

void TMemo::SetProperty(TReader& reader, const std::string& name, const TValue& v) {
    if (name == "ScrollBars") {
        static const std::vector<std::string> names = {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"};
        FScrollBars = static_cast<TScrollStyle>(reader.Enum(v, names));
    } else if (name == "Lines.Strings") {
        std::wstring text;
        for (const auto& l : reader.List(v)) text += l + L"\r\n";
        SetText(text);
    } else TCustomEdit::SetProperty(reader, name, v);
}

// --- TComboBox

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
    FColor = clWindow;
    SetBounds(0, 0, 145, 21);
}

void TComboBox::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.ClassName = L"COMBOBOX";
    p.Style |= CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL;
}

void TComboBox::InitializeWnd() {
    TWinControl::InitializeWnd();
    HWND h = Handle();
    // The drop-down list takes its height from the window height given at creation.
    SetWindowPos(h, nullptr, 0, 0, Width(), Height() + 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (int i = 0; i < FItems.Count(); ++i)
        SendMessageW(h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(FItems.Get(i).c_str()));
    if (FItemIndex >= 0) SendMessageW(h, CB_SETCURSEL, static_cast<WPARAM>(FItemIndex), 0);
    else SetWindowTextW(h, Caption().c_str());
}

int TComboBox::ItemIndex() const {
    if (HandleAllocated()) FItemIndex = static_cast<int>(SendMessageW(const_cast<TComboBox*>(this)->Handle(), CB_GETCURSEL, 0, 0));
    return FItemIndex;
}

void TComboBox::SetItemIndex(int i) {
    FItemIndex = i;
    if (HandleAllocated()) SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(i), 0);
}

void TComboBox::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND) {
        if (HIWORD(m.WParam) == CBN_SELCHANGE) Click();
        return;
    }
    TWinControl::WndProc(m);
}

void TComboBox::SetProperty(TReader& reader, const std::string& name, const TValue& v) {
    if (name == "Items.Strings") FItems.Assign(reader.List(v));
    else if (name == "ItemIndex") FItemIndex = reader.Int(v);
    else if (name == "Style" || name == "ItemHeight" || name == "DropDownCount") reader.Skip(v);
    else TWinControl::SetProperty(reader, name, v);
}

// --- TLabel

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 65, 17); }

UINT EllipsisFlag(TEllipsisPosition position) {
    switch (position) {
        case TEllipsisPosition::epPathEllipsis: return DT_PATH_ELLIPSIS;
        case TEllipsisPosition::epEndEllipsis: return DT_END_ELLIPSIS;
        case TEllipsisPosition::epWordEllipsis: return DT_WORD_ELLIPSIS;
        default: return 0;
    }
}

UINT TLabel::DrawTextFlags() const {
    UINT f = DT_EXPANDTABS;
    if (!FShowAccelChar) f |= DT_NOPREFIX;
    f |= FWordWrap ? DT_WORDBREAK : DT_SINGLELINE;
    if (FAlignment == TAlignment::taCenter) f |= DT_CENTER;
    else if (FAlignment == TAlignment::taRightJustify) f |= DT_RIGHT;
    return f;
}

std::wstring TLabel::DrawnText() const {
    if (Caption().empty() || (FShowAccelChar && Caption() == L"&")) return Caption() + L" ";
    return Caption();
}

void TLabel::DoDrawText(TCanvas& canvas, RECT& rect, UINT flags) {
    std::wstring text = DrawnText();
    if (FEllipsisPosition != TEllipsisPosition::epNone && !FAutoSize)
        flags = (flags & ~static_cast<UINT>(DT_EXPANDTABS)) | EllipsisFlag(FEllipsisPosition);
    canvas.Font.Assign(Font());
    if (!Enabled()) canvas.Font.Color = clGrayText;
    SelectObject(canvas.Handle(), canvas.Font.Handle());
    SetTextColor(canvas.Handle(), ColorToRGB(canvas.Font.Color));
    SetBkMode(canvas.Handle(), TRANSPARENT);
    DrawTextW(canvas.Handle(), text.c_str(), static_cast<int>(text.size()), &rect, flags);
}

void TLabel::Paint(TCanvas& canvas) {
    RECT r{0, 0, Width(), Height()};
    if (!FTransparent) {
        canvas.Brush.Color = Parent() ? Parent()->Color() : Color();
        canvas.FillRect(r);
    }
    const UINT flags = DrawTextFlags();
    if (FLayout != TTextLayout::tlTop) {
        RECT calc = r;
        DoDrawText(canvas, calc, flags | DT_CALCRECT);
        const int spare = Height() - (calc.bottom - calc.top);
        r.top += FLayout == TTextLayout::tlCenter ? spare / 2 : spare;
    }
    DoDrawText(canvas, r, flags);
}

void TLabel::AdjustBounds() {
    if (!FAutoSize || IsLoading()) return;
    HDC dc = GetDC(nullptr);
    TCanvas canvas(dc);
    RECT r{0, 0, FWordWrap ? Width() : 0, 0};
    DoDrawText(canvas, r, (DrawTextFlags() & ~static_cast<UINT>(DT_CENTER | DT_RIGHT)) | DT_CALCRECT);
    ReleaseDC(nullptr, dc);
    int left = Left();
    if (FAlignment == TAlignment::taRightJustify) left += Width() - r.right;
    else if (FAlignment == TAlignment::taCenter) left += (Width() - r.right) / 2;
    SetBounds(FWordWrap ? Left() : left, Top(), r.right, r.bottom);
}

void TLabel::FontChanged() { AdjustBounds(); }

void TLabel::SetAutoSize(bool value) {
    if (value == FAutoSize) return;
    FAutoSize = value;
    AdjustBounds();
}

void TLabel::SetTransparent(bool value) {
    if (value == FTransparent) return;
    FTransparent = value;
    Invalidate();
}

void TLabel::SetWordWrap(bool value) {
    if (value == FWordWrap) return;
    FWordWrap = value;
    AdjustBounds();
    Invalidate();
}

void TLabel::SetAlignment(TAlignment value) {
    if (value == FAlignment) return;
    FAlignment = value;
    Invalidate();
}

void TLabel::SetLayout(TTextLayout value) {
    if (value == FLayout) return;
    FLayout = value;
    Invalidate();
}

void TLabel::SetShowAccelChar(bool value) {
    if (value == FShowAccelChar) return;
    FShowAccelChar = value;
    AdjustBounds();
    Invalidate();
}

void TLabel::SetEllipsisPosition(TEllipsisPosition value) {
    if (value == FEllipsisPosition) return;
    FEllipsisPosition = value;
    Invalidate();
}

void TLabel::TextChanged() { AdjustBounds(); }

void TLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TLabel::SetProperty(TReader& reader, const std::string& name, const TValue& v) {
    if (name == "AutoSize") FAutoSize = reader.Bool(v);
    else if (name == "Transparent") FTransparent = reader.Bool(v);
    else if (name == "WordWrap") FWordWrap = reader.Bool(v);
    else if (name == "Alignment") {
        static const std::vector<std::string> names = {"taLeftJustify", "taRightJustify", "taCenter"};
        FAlignment = static_cast<TAlignment>(reader.Enum(v, names));
    } else if (name == "Layout") {
        static const std::vector<std::string> names = {"tlTop", "tlCenter", "tlBottom"};
        FLayout = static_cast<TTextLayout>(reader.Enum(v, names));
    } else if (name == "ShowAccelChar") FShowAccelChar = reader.Bool(v);
    else if (name == "EllipsisPosition") {
        static const std::vector<std::string> names = {"epNone", "epPathEllipsis", "epEndEllipsis", "epWordEllipsis"};
        FEllipsisPosition = static_cast<TEllipsisPosition>(reader.Enum(v, names));
    } else TGraphicControl::SetProperty(reader, name, v);
}

}  // namespace tk
