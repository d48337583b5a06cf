#include "toolkit/EditCtrls.h"

#include <commctrl.h>

#include "toolkit/DescriptionReader.h"

namespace tk {

namespace {

DWORD AlignmentStyle(TAlignment a) {
    switch (a) {
        case TAlignment::taRightJustify: return ES_RIGHT;
        case TAlignment::taCenter: return ES_CENTER;
        default: return ES_LEFT;
    }
}

}  // namespace

// --- TMaskEdit

TMaskEdit::TMaskEdit(TComponent* owner) : TCustomEdit(owner) {}

void TMaskEdit::CreateParams(TCreateParams& p) {
    TCustomEdit::CreateParams(p);
    if (FBorderStyle == TBorderStyle::bsNone) p.ExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
    p.Style |= AlignmentStyle(FAlignment);
    if (FPasswordChar) p.Style |= ES_PASSWORD;
}

void TMaskEdit::InitializeWnd() {
    TCustomEdit::InitializeWnd();
    HWND h = Handle();
    if (FPasswordChar) SendMessageW(h, EM_SETPASSWORDCHAR, FPasswordChar, 0);
    if (!FTextHint.empty()) SendMessageW(h, EM_SETCUEBANNER, FALSE, reinterpret_cast<LPARAM>(FTextHint.c_str()));
    ApplyFormattingRect();
}

void TMaskEdit::SetTextHint(const std::wstring& value) {
    if (FTextHint == value) return;
    FTextHint = value;
    if (!HandleAllocated()) return;
    SendMessageW(Handle(), EM_SETCUEBANNER, FALSE, reinterpret_cast<LPARAM>(FTextHint.c_str()));
    Invalidate();
}

void TMaskEdit::SetPasswordChar(wchar_t value) {
    if (FPasswordChar == value) return;
    FPasswordChar = value;
    if (!HandleAllocated()) return;
    SendMessageW(Handle(), EM_SETPASSWORDCHAR, value, 0);
    Invalidate();
}

void TMaskEdit::SetBorderStyle(TBorderStyle value) {
    if (FBorderStyle == value) return;
    FBorderStyle = value;
    if (!HandleAllocated()) return;
    HWND h = Handle();
    LONG_PTR ex = GetWindowLongPtrW(h, GWL_EXSTYLE);
    ex = value == TBorderStyle::bsSingle ? (ex | WS_EX_CLIENTEDGE) : (ex & ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE));
    SetWindowLongPtrW(h, GWL_EXSTYLE, ex);
    SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TMaskEdit::SetAlignment(TAlignment value) {
    if (FAlignment == value) return;
    FAlignment = value;
    if (!HandleAllocated()) return;
    HWND h = Handle();
    LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE) & ~static_cast<LONG_PTR>(ES_LEFT | ES_RIGHT | ES_CENTER);
    SetWindowLongPtrW(h, GWL_STYLE, style | static_cast<LONG_PTR>(AlignmentStyle(value)));
    Invalidate();
}

void TMaskEdit::SetReadOnly(bool value) {
    FReadOnly = value;
    if (HandleAllocated()) SendMessageW(Handle(), EM_SETREADONLY, value ? TRUE : FALSE, 0);
}

void TMaskEdit::SetFormattingRect(const RECT& rect) {
    FFormattingRect = rect;
    FHasFormattingRect = true;
    ApplyFormattingRect();
}

void TMaskEdit::ApplyFormattingRect() {
    if (!FHasFormattingRect || !HandleAllocated()) return;
    HWND h = Handle();
    if (GetWindowLongPtrW(h, GWL_STYLE) & ES_MULTILINE) {
        SendMessageW(h, EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&FFormattingRect));
        return;
    }
    // A one-line edit has no formatting rectangle of its own: its margins stand for it.
    RECT client;
    GetClientRect(h, &client);
    const LONG left = FFormattingRect.left > 0 ? FFormattingRect.left : 0;
    const LONG right = client.right > FFormattingRect.right ? client.right - FFormattingRect.right : 0;
    SendMessageW(h, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                 MAKELPARAM(static_cast<WORD>(left), static_cast<WORD>(right)));
}

void TMaskEdit::SelectRange(int start, int end) {
    if (HandleAllocated()) SendMessageW(Handle(), EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
}

void TMaskEdit::Change() {
    if (OnChange) OnChange(this);
}

void TMaskEdit::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == EN_CHANGE) {
        TCustomEdit::WndProc(m);
        Change();
        return;
    }
    TCustomEdit::WndProc(m);
}

void TMaskEdit::SetProperty(TReader& reader, const std::string& name, const TValue& v) {
    if (name == "TextHint") FTextHint = reader.String(v);
    else if (name == "PasswordChar") {
        const std::wstring s = reader.String(v);
        FPasswordChar = s.empty() ? 0 : s[0];
    } else if (name == "BorderStyle") {
        static const std::vector<std::string> names = {"bsNone", "bsSingle"};
        FBorderStyle = static_cast<TBorderStyle>(reader.Enum(v, names));
    } else if (name == "Ctl3D") FCtl3D = reader.Bool(v);
    else if (name == "Alignment") {
        static const std::vector<std::string> names = {"taLeftJustify", "taRightJustify", "taCenter"};
        FAlignment = static_cast<TAlignment>(reader.Enum(v, names));
    } else if (name == "OnChange") OnChange = reader.NotifyEvent(v);
    else TCustomEdit::SetProperty(reader, name, v);
}

// --- TCustomComboBox

TCustomComboBox::TCustomComboBox(TComponent* owner) : TComboBox(owner) {}

void TCustomComboBox::CreateParams(TCreateParams& p) {
    TComboBox::CreateParams(p);
    static constexpr DWORD kTypes[] = {CBS_DROPDOWN, CBS_SIMPLE, CBS_DROPDOWNLIST, CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED,
                                       CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE};
    p.Style &= ~static_cast<DWORD>(CBS_DROPDOWN | CBS_SIMPLE | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED |
                                   CBS_OWNERDRAWVARIABLE);
    p.Style |= kTypes[static_cast<int>(FStyle)];
    if (FStyle == TComboBoxStyle::csOwnerDrawFixed || FStyle == TComboBoxStyle::csOwnerDrawVariable)
        p.Style |= CBS_HASSTRINGS;
}

bool TCustomComboBox::DroppedDown() {
    return HandleAllocated() && SendMessageW(Handle(), CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TCustomComboBox::SetDroppedDown(bool value) {
    if (HandleAllocated()) SendMessageW(Handle(), CB_SHOWDROPDOWN, value ? TRUE : FALSE, 0);
}

HWND TCustomComboBox::ListHandle() {
    if (!HandleAllocated()) return nullptr;
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    return GetComboBoxInfo(Handle(), &info) ? info.hwndList : nullptr;
}

HWND TCustomComboBox::EditHandle() {
    if (!HandleAllocated()) return nullptr;
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    return GetComboBoxInfo(Handle(), &info) ? info.hwndItem : nullptr;
}

void TCustomComboBox::DropDown() {
    if (OnDropDown) OnDropDown(this);
}

void TCustomComboBox::CloseUp() {
    if (OnCloseUp) OnCloseUp(this);
}

void TCustomComboBox::Change() {
    if (OnChange) OnChange(this);
}

void TCustomComboBox::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND) {
        switch (HIWORD(m.WParam)) {
            case CBN_DROPDOWN: DropDown(); return;
            case CBN_CLOSEUP: CloseUp(); return;
            case CBN_EDITCHANGE: Change(); return;
            case CBN_SELCHANGE:
                TComboBox::WndProc(m);
                Change();
                return;
            default: break;
        }
    }
    if (m.Msg == WM_LBUTTONDBLCLK && OnDblClick) {
        TComboBox::WndProc(m);
        OnDblClick(this);
        return;
    }
    TComboBox::WndProc(m);
}

void TCustomComboBox::SetProperty(TReader& reader, const std::string& name, const TValue& v) {
    if (name == "Style") {
        static const std::vector<std::string> names = {"csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed",
                                                       "csOwnerDrawVariable"};
        FStyle = static_cast<TComboBoxStyle>(reader.Enum(v, names));
    } else if (name == "DropDownCount") FDropDownCount = reader.Int(v);
    else if (name == "OnChange") OnChange = reader.NotifyEvent(v);
    else TComboBox::SetProperty(reader, name, v);
}

}  // namespace tk
