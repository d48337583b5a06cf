#include "toolkit/EditCtrls.h"

#include <commctrl.h>

#include <algorithm>

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

TBiDiMode ReadBiDiMode(TReader& reader, const TValue& value) {
    static const std::vector<std::string> names = {"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign",
                                                   "bdRightToLeftReadingOnly"};
    return static_cast<TBiDiMode>(reader.Enum(value, names));
}

TAlignment MirroredAlignment(TAlignment alignment) {
    switch (alignment) {
        case TAlignment::taLeftJustify: return TAlignment::taRightJustify;
        case TAlignment::taRightJustify: return TAlignment::taLeftJustify;
        default: return alignment;
    }
}

// --- TMaskEdit

TMaskEdit::TMaskEdit(TComponent* owner) : TCustomEdit(owner) {}

void TMaskEdit::CreateParams(TCreateParams& p) {
    TCustomEdit::CreateParams(p);
    if (FBorderStyle == TBorderStyle::bsNone) p.ExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
    p.Style |= AlignmentStyle(ShownAlignment());
    if (RightToLeftReading(FBiDiMode)) p.ExStyle |= WS_EX_RTLREADING;
    if (FPasswordChar) p.Style |= ES_PASSWORD;
}

void TMaskEdit::InitializeWnd() {
    TCustomEdit::InitializeWnd();
    HWND h = Handle();
    if (FPasswordChar) SendMessageW(h, EM_SETPASSWORDCHAR, FPasswordChar, 0);
    if (!FTextHint.empty()) SendMessageW(h, EM_SETCUEBANNER, FALSE, reinterpret_cast<LPARAM>(FTextHint.c_str()));
    ApplyFormattingRect();
    if (IsMasked()) {
        SendMessageW(h, EM_LIMITTEXT, FMask.Length(), 0);
        SetWindowTextW(h, MaskedWindowText().c_str());
    }
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
    SetWindowLongPtrW(h, GWL_STYLE, style | static_cast<LONG_PTR>(AlignmentStyle(ShownAlignment())));
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
    if (IsMasked() && HandleAllocated() && HandleMaskMessage(m)) return;
    TCustomEdit::WndProc(m);
}

// ---- Edit mask

namespace {

// The clipboard's text, read no further than its memory block reaches.
std::wstring ClipboardText(HWND owner) {
    std::wstring text;
    if (!OpenClipboard(owner)) return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            const size_t limit = GlobalSize(data) / sizeof(wchar_t);
            size_t n = 0;
            while (n < limit && chars[n]) ++n;
            text.assign(chars, n);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

}  // namespace

void TMaskEdit::SetEditMask(const std::wstring& value) {
    if (FEditMask == value) return;
    std::wstring text = HandleAllocated() ? WindowText(Handle()) : GetText();
    // A new mask takes what was typed into the old one, without its literals and blanks.
    if (IsMasked()) text = FMask.Typed(text);
    FEditMask = value;
    FMask = TEditMask(value);
    if (!HandleAllocated()) {
        if (IsMasked()) SetText(FMask.Conform(text));
        return;
    }
    SendMessageW(Handle(), EM_LIMITTEXT, IsMasked() ? FMask.Length() : 0, 0);
    if (IsMasked()) SetWindowTextW(Handle(), FMask.Conform(text).c_str());
}

size_t TMaskEdit::ValidateEdit() {
    if (!IsMasked()) return TEditMask::npos;
    return FMask.MissingRequired(HandleAllocated() ? WindowText(Handle()) : GetText());
}

bool TMaskEdit::HandleMaskMessage(TMessage& m) {
    const bool editable = !FReadOnly;
    switch (m.Msg) {
        case WM_CHAR:
            if (m.WParam == VK_ESCAPE) {
                // Escape takes back what was typed since the edit took the focus.
                if (MaskedWindowText() != FTextOnEnter) ShowMaskedText(FTextOnEnter, 0);
                return true;
            }
            if (!editable) return false;
            if (m.WParam == VK_BACK) MaskedDelete(true);
            else if (m.WParam >= L' ') MaskedInsert(std::wstring(1, static_cast<wchar_t>(m.WParam)));
            else return false;  // control characters: Ctrl+C, Ctrl+V, Ctrl+X come back as messages
            return true;
        case WM_KEYDOWN:
            if (m.WParam != VK_DELETE || !editable) return false;
            MaskedDelete(false);
            return true;
        case WM_PASTE:
            if (editable) MaskedInsert(ClipboardText(Handle()));
            return true;
        case WM_CUT:
            if (editable) MaskedCut();
            return true;
        case WM_CLEAR:
            if (editable) MaskedDelete(false);
            return true;
        case WM_SETTEXT: MaskedSetText(m); return true;
        case WM_SETFOCUS:
            FTextOnEnter = MaskedWindowText();
            return false;
        case WM_KILLFOCUS:
            TCustomEdit::WndProc(m);
            MaskedExit();
            return true;
        default: return false;
    }
}

std::wstring TMaskEdit::MaskedWindowText() {
    const std::wstring text = WindowText(Handle());
    return text.size() == FMask.Length() ? text : FMask.Conform(text);
}

void TMaskEdit::GetSelection(size_t& start, size_t& end) {
    DWORD s = 0, e = 0;
    SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    start = std::min<size_t>(s, FMask.Length());
    end = std::max(start, std::min<size_t>(e, FMask.Length()));
}

void TMaskEdit::ShowMaskedText(const std::wstring& text, size_t caret) {
    SendMessageW(Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    SelectRange(static_cast<int>(caret), static_cast<int>(caret));
}

void TMaskEdit::MaskedInsert(const std::wstring& chars) {
    std::wstring text = MaskedWindowText();
    size_t start = 0, end = 0;
    GetSelection(start, end);
    for (size_t p = start; p < end; ++p)
        if (FMask.IsInput(p)) text[p] = FMask.Blank();
    size_t pos = start;
    bool taken = false;
    for (wchar_t c : chars) {
        // A typed literal passes over its place; anything else goes to the next input position.
        if (pos < FMask.Length() && !FMask.IsInput(pos) && c == FMask.Position(pos).Literal) {
            ++pos;
            continue;
        }
        pos = FMask.NextInput(pos);
        const wchar_t accepted = pos == TEditMask::npos ? 0 : FMask.Accept(pos, c);
        if (!accepted) break;
        text[pos++] = accepted;
        taken = true;
    }
    if (!taken) {
        MessageBeep(MB_OK);
        return;
    }
    // The caret skips the literals that follow.
    const size_t next = FMask.NextInput(pos);
    ShowMaskedText(text, next == TEditMask::npos ? FMask.Length() : next);
}

void TMaskEdit::MaskedDelete(bool backward) {
    std::wstring text = MaskedWindowText();
    size_t start = 0, end = 0;
    GetSelection(start, end);
    if (start == end) {
        const size_t pos = backward ? FMask.PrevInput(start) : FMask.NextInput(start);
        if (pos == TEditMask::npos) return;
        text[pos] = FMask.Blank();
        ShowMaskedText(text, backward ? pos : start);
        return;
    }
    for (size_t p = start; p < end; ++p)
        if (FMask.IsInput(p)) text[p] = FMask.Blank();
    ShowMaskedText(text, start);
}

void TMaskEdit::MaskedCut() {
    size_t start = 0, end = 0;
    GetSelection(start, end);
    if (start == end) return;
    Perform(WM_COPY);
    MaskedDelete(false);
}

void TMaskEdit::MaskedSetText(TMessage& m) {
    const auto* chars = reinterpret_cast<const wchar_t*>(m.LParam);
    const std::wstring conformed = FMask.Conform(chars ? std::wstring(chars) : std::wstring());
    const LPARAM original = m.LParam;
    m.LParam = reinterpret_cast<LPARAM>(conformed.c_str());
    TCustomEdit::WndProc(m);
    m.LParam = original;
}

void TMaskEdit::MaskedExit() {
    if (Destroying() || MaskedWindowText() == FTextOnEnter) return;
    const size_t missing = ValidateEdit();
    if (missing == TEditMask::npos) return;
    SelectRange(static_cast<int>(missing), static_cast<int>(missing));
    if (OnValidateError) OnValidateError(this);
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
    else if (name == "BiDiMode") FBiDiMode = ReadBiDiMode(reader, v);
    else if (name == "EditMask") SetEditMask(reader.String(v));
    else TCustomEdit::SetProperty(reader, name, v);
}

// --- TCustomComboBox

TCustomComboBox::TCustomComboBox(TComponent* owner) : TComboBox(owner) {}

void TCustomComboBox::InitializeWnd() {
    TComboBox::InitializeWnd();
    ApplyItemHeight();
}

void TCustomComboBox::SetItemHeight(int value) {
    FItemHeight = std::max(0, value);
    ApplyItemHeight();
}

void TCustomComboBox::ApplyItemHeight() {
    if (FItemHeight <= 0 || !IsOwnerDrawStyle() || !HandleAllocated()) return;
    SendMessageW(Handle(), CB_SETITEMHEIGHT, 0, FItemHeight);
}

std::wstring TCustomComboBox::ItemText(int index) {
    if (index < 0) return L"";
    if (!HandleAllocated()) return index < Items().Count() ? Items().Get(index) : L"";
    HWND h = Handle();
    const LRESULT length = SendMessageW(h, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length <= 0) return L"";
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(h, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(copied > 0 ? std::min(static_cast<size_t>(copied), static_cast<size_t>(length)) : 0);
    return text;
}

void TCustomComboBox::DrawItem(const DRAWITEMSTRUCT& item) {
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const std::wstring text = ItemText(static_cast<int>(item.itemID));
    if (!text.empty()) {
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        InflateRect(&r, -2, 0);
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        InflateRect(&r, 2, 0);
    }
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) DrawFocusRect(dc, &r);
}

void TCustomComboBox::CreateParams(TCreateParams& p) {
    TComboBox::CreateParams(p);
    static constexpr DWORD kTypes[] = {CBS_DROPDOWN, CBS_SIMPLE, CBS_DROPDOWNLIST, CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED,
                                       CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE};
    p.Style &= ~static_cast<DWORD>(CBS_DROPDOWN | CBS_SIMPLE | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED |
                                   CBS_OWNERDRAWVARIABLE);
    p.Style |= kTypes[static_cast<int>(FStyle)];
    if (FStyle == TComboBoxStyle::csOwnerDrawFixed || FStyle == TComboBoxStyle::csOwnerDrawVariable)
        p.Style |= CBS_HASSTRINGS;
    if (RightToLeftReading(FBiDiMode)) p.ExStyle |= WS_EX_RTLREADING;
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
    if (m.Msg == CN_DRAWITEM) {
        if (const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam)) DrawItem(*item);
        m.Result = TRUE;
        return;
    }
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
    else if (name == "BiDiMode") FBiDiMode = ReadBiDiMode(reader, v);
    else if (name == "ItemHeight") FItemHeight = std::max(0, reader.Int(v));
    else if (name == "OnChange") OnChange = reader.NotifyEvent(v);
    else TComboBox::SetProperty(reader, name, v);
}

}  // namespace tk
