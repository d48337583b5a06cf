#include "controls/sComboBox.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <optional>

#include "controls/sMaskEditSkinCmd.h"
#include "skinframework/sControlPaint.h"
#include "skinframework/sSkinManager.h"
#include "skinpaint/sMaskPaint.h"
#include "skinpaint/sSectionPaint.h"
#include "skinpaint/sTextOutput.h"
#include "toolkit/Redraw.h"

namespace sk {

namespace {

constexpr UINT_PTR kEditSubclassId = 0x6B63;  // "kc"

bool CursorInside(HWND h) {
    POINT p;
    RECT r;
    return h && GetCursorPos(&p) && GetWindowRect(h, &r) && PtInRect(&r, p);
}

UINT AlignmentFlag(tk::TAlignment a) {
    switch (a) {
        case tk::TAlignment::taRightJustify: return DT_RIGHT;
        case tk::TAlignment::taCenter: return DT_CENTER;
        default: return DT_LEFT;
    }
}

UINT VerticalFlag(TVerticalAlignment a) {
    switch (a) {
        case TVerticalAlignment::taVerticalCenter: return DT_VCENTER;
        case TVerticalAlignment::taAlignBottom: return DT_BOTTOM;
        default: return DT_TOP;
    }
}

void FillRectColor(rd::TBitmap32* bmp, const RECT& r, rd::TColor color) {
    rd::FillPixels32(bmp, {r.left, r.top, r.right, r.bottom}, rd::ColorToRGB(color), 0xFF);
}

}  // namespace

TsComboBox::TsComboBox(tk::TComponent* owner) : tk::TCustomComboBox(owner) {
    FSkinData.FSkinSection = L"COMBOBOX";
}

TsComboBox::~TsComboBox() {
    DetachList();
    DetachEdit();
}

bool TsComboBox::Ready() const { return FSkinData.Skinned() && !FSkinData.OwnerDestroying(); }

void TsComboBox::Loaded() {
    tk::TCustomComboBox::Loaded();
    FSkinData.Loaded();
    FBoundLabel.Loaded();
}

void TsComboBox::InitializeWnd() {
    tk::TCustomComboBox::InitializeWnd();
    AttachEdit();
    if (Ready()) FSkinData.UpdateSkinColors(false);
}

void TsComboBox::SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& v) {
    if (FSkinData.ReadProperty(reader, name, v) || FBoundLabel.ReadProperty(reader, name, v)) return;
    if (name == "Alignment") {
        static const std::vector<std::string> names = {"taLeftJustify", "taRightJustify", "taCenter"};
        FAlignment = static_cast<tk::TAlignment>(reader.Enum(v, names));
    } else if (name == "VerticalAlignment") {
        static const std::vector<std::string> names = {"taAlignTop", "taAlignBottom", "taVerticalCenter"};
        FVerticalAlignment = static_cast<TVerticalAlignment>(reader.Enum(v, names));
    } else if (name == "ReadOnly") FReadOnly = reader.Bool(v);
    else if (name == "ShowButton") FShowButton = reader.Bool(v);
    else if (name == "AutoComplete" || name == "ParentColor" || name == "AutoDropDown") reader.Skip(v);
    else tk::TCustomComboBox::SetProperty(reader, name, v);
}

void TsComboBox::SetReadOnly(bool value) { FReadOnly = value; }

void TsComboBox::SetShowButton(bool value) {
    if (FShowButton == value) return;
    FShowButton = value;
    Refresh();
}

void TsComboBox::Refresh() {
    FSkinData.BGChanged = true;
    if (HandleAllocated()) RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// ---- Geometry and state ----

RECT TsComboBox::ButtonRect() {
    const TSkinModel* model = FSkinData.ActiveModel();
    const int margin = model && model->CommonSkinData ? model->CommonSkinData->ComboBoxMargin : 2;
    const int width = FShowButton && Style() != tk::TComboBoxStyle::csSimple ? GetSystemMetrics(SM_CXVSCROLL) + 1 : 0;
    // At the right edge, or at the left for right-to-left placement.
    const int left = RightToLeft() ? margin : Width() - margin - width;
    return RECT{left, margin, left + width, Height() - margin};
}

int TsComboBox::ButtonState() const {
    if (FDropDown) return 2;
    return FSkinData.ControlIsHot() ? 1 : 0;
}

RECT TsComboBox::TextRect() {
    const RECT button = ButtonRect();
    if (RightToLeft()) return RECT{std::min<LONG>(Width() - 3, button.right + 1), 3, Width() - 3, Height() - 3};
    return RECT{3, 3, std::max<LONG>(3, button.left - 1), Height() - 3};
}

bool TsComboBox::ReadOnlySwallows(UINT msg, WPARAM key) {
    if (msg == WM_CHAR || msg == WM_SYSCHAR) return true;
    if (msg != WM_KEYDOWN && msg != WM_SYSKEYDOWN) return false;
    // Space, page keys, End, Home and arrows; digits and letters (they pick items); F4.
    return (key >= VK_SPACE && key <= VK_DOWN) || (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z') ||
           key == VK_F4;
}

// ---- Face ----

bool TsComboBox::PrepareCache() {
    const std::optional<rd::TCacheInfo> background = FSkinData.CacheBackground();
    if (!background) return false;
    const rd::TCacheInfo& bg = *background;
    TacCacheBitmap* cache = FSkinData.FCacheBmp.get();
    rd::TBitmap32* view = cache->View();
    PaintControlFace(FSkinData, bg, true, view, {0, 0}, {0, 0, Width(), Height()}, FSkinData.ControlIsHot() ? 1 : 0);
    if (Style() != tk::TComboBoxStyle::csSimple) PaintItem(view, bg);
    if (FShowButton) PaintButton(view, bg);
    if (!Enabled()) {
        const rd::TColor parentColor = Parent() ? rd::ColorToRGB(Parent()->Color()) : rd::clMagenta;
        rd::ApplyDisabledLook(view, FDisabledKind, parentColor, {0, 0}, bg);
    }
    FSkinData.BGChanged = false;
    FSkinData.FUpdating = false;
    return true;
}

void TsComboBox::PaintItem(rd::TBitmap32*, const rd::TCacheInfo&) {
    const RECT r = TextRect();
    if (r.right <= r.left || r.bottom <= r.top) return;
    const std::wstring text = IsListStyle() ? ItemText(ItemIndex()) : GetText();
    const int section = FSkinData.CustomFont() ? -1 : FSkinData.SkinIndex;
    PaintItemFace(*FSkinData.FCacheBmp, r, text, Focus() && IsListStyle(), FSkinData.ControlIsHot(), section);
}

void TsComboBox::PaintItemFace(TacCacheBitmap& bmp, const RECT& r, const std::wstring& text, bool selected, bool hot,
                               int textSection) {
    const TSkinModel* model = FSkinData.ActiveModel();
    TsSkinManager* manager = FSkinData.SkinManager();
    if (!model || !manager) return;
    rd::TBitmap32* view = bmp.View();
    const int selection = model->GetSkinIndex(L"SELECTION");
    rd::TColor textColor = Font().Color;
    if (selected) {
        if (selection >= 0) {
            const rd::TCacheInfo plain = rd::BackgroundToCacheInfo(bgFill, nullptr, {0, 0}, Color(), {});
            PaintSectionFace(selection, L"SELECTION", plain, -1, -1, model, view, {0, 0},
                             {r.left, r.top, r.right, r.bottom}, 1);
            textSection = FSkinData.CustomFont() ? -1 : selection;
        } else {
            FillRectColor(view, r, manager->Core().GetHighLightColor(true));
            textSection = -1;
            textColor = manager->Core().GetHighLightFontColor(true);
        }
    }
    tk::TCanvas& canvas = bmp.Canvas();
    canvas.Font.Assign(Font());
    RECT tr = r;
    InflateRect(&tr, -1, 0);
    const tk::TAlignment alignment = RightToLeft() ? tk::MirroredAlignment(FAlignment) : FAlignment;
    const UINT reading = tk::RightToLeftReading(BiDiMode()) ? static_cast<UINT>(DT_RTLREADING) : 0u;
    const UINT format = AlignmentFlag(alignment) | VerticalFlag(FVerticalAlignment) | DT_SINGLELINE | DT_NOPREFIX | reading;
    rd::WriteSkinTextOnBitmap32(view, Font().Handle(), text, Enabled(), rd::ColorToRGB(textColor),
                                textSection >= 0 ? model : nullptr, hot, textSection, format,
                                {tr.left, tr.top, tr.right, tr.bottom});
    if (selected && selection < 0) {
        RECT focus = r;
        DrawFocusRect(canvas.Handle(), &focus);
    }
}

void TsComboBox::DrawItem(const DRAWITEMSTRUCT& item) {
    if (!HandleAllocated() || !Ready()) {
        tk::TCustomComboBox::DrawItem(item);
        return;
    }
    const RECT& rc = item.rcItem;
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    if (w <= 0 || h <= 0) return;
    if (item.itemState & ODS_COMBOBOXEDIT) {
        // The selection field is part of the face in the cache.
        if (!FSkinData.Updating() && CacheReady())
            BitBlt(item.hDC, rc.left, rc.top, w, h, FSkinData.FCacheBmp->Canvas().Handle(), rc.left, rc.top, SRCCOPY);
        return;
    }
    TacCacheBitmap bmp;
    bmp.SetSize(w, h);
    const RECT all{0, 0, w, h};
    FillRectColor(bmp.View(), all, Color());
    PaintItemFace(bmp, all, ItemText(static_cast<int>(item.itemID)), (item.itemState & ODS_SELECTED) != 0, false, -1);
    BitBlt(item.hDC, rc.left, rc.top, w, h, bmp.Canvas().Handle(), 0, 0, SRCCOPY);
}

void TsComboBox::PaintButton(rd::TBitmap32* cache, const rd::TCacheInfo& bg) {
    const TSkinModel* model = FSkinData.ActiveModel();
    if (!model) return;
    const RECT b = ButtonRect();
    if (b.right <= b.left || b.bottom <= b.top) return;
    const int state = ButtonState();
    const TacConstElementData& combo = model->ConstData.ComboBtn;
    if (combo.SkinIndex >= 0)
        PaintSectionFace(combo.SkinIndex, L"COMBOBTN", bg, -1, -1, model, cache, {0, 0},
                         {b.left, b.top, b.right, b.bottom}, state);
    if (model->IsValidImgIndex(combo.GlyphIndex)) {
        const TsMaskData& glyph = model->ma[static_cast<size_t>(combo.GlyphIndex)];
        const int gw = MaskImageWidth(glyph), gh = MaskImageHeight(glyph);
        const rd::TPoint at{b.left + (b.right - b.left - gw) / 2, (Height() - gh) / 2};
        const int frame = std::min(state, std::max(0, static_cast<int>(glyph.ImageCount) - 1));
        rd::PaintMaskGlyph(cache, at, frame, bg, glyph, 1);
        return;
    }
    rd::TColor arrow = rd::ColorToRGB(tk::clWindowText);
    if (combo.SkinIndex >= 0 && model->IsValidSkinIndex(combo.SkinIndex))
        arrow = model->gd[static_cast<size_t>(combo.SkinIndex)].Props[std::min(state, 1)].FontColor.Color;
    rd::DrawArrowShape(FSkinData.FCacheBmp->Canvas().Handle(), arrow, b, 3);
}

bool TsComboBox::CacheReady() {
    TacCacheBitmap* cache = FSkinData.FCacheBmp.get();
    const bool sized = cache && cache->Width() == Width() && cache->Height() == Height();
    if (FSkinData.BGChanged || !sized) return PrepareCache();
    return true;
}

// ---- Painting ----

void TsComboBox::OnPaint(tk::TMessage& m) {
    HWND h = Handle();
    PAINTSTRUCT ps{};
    HDC dc = m.WParam ? reinterpret_cast<HDC>(m.WParam) : BeginPaint(h, &ps);
    m.Result = 0;
    if (!FSkinData.Updating() && CacheReady()) {
        HDC src = FSkinData.FCacheBmp->Canvas().Handle();
        const int w = Width(), hh = Height();
        if (Focus() && Style() == tk::TComboBoxStyle::csDropDown && FEditWnd) {
            // The native edit shows text and caret: only the frame and the button come from the cache.
            constexpr int f = 3;
            BitBlt(dc, 0, 0, w, f, src, 0, 0, SRCCOPY);
            BitBlt(dc, 0, hh - f, w, f, src, 0, hh - f, SRCCOPY);
            BitBlt(dc, 0, f, f, hh - 2 * f, src, 0, f, SRCCOPY);
            const RECT b = ButtonRect();
            if (RightToLeft()) {
                const int left = std::max<int>(static_cast<int>(b.right) + 1, f);
                BitBlt(dc, 0, f, left, hh - 2 * f, src, 0, f, SRCCOPY);
            } else {
                const int right = std::min<int>(static_cast<int>(b.left) - 1, w - f);
                BitBlt(dc, right, f, w - right, hh - 2 * f, src, right, f, SRCCOPY);
            }
        } else {
            BitBlt(dc, 0, 0, w, hh, src, 0, 0, SRCCOPY);
        }
    }
    if (!m.WParam) EndPaint(h, &ps);
}

// ---- Edit part ----

void TsComboBox::AttachEdit() {
    HWND edit = EditHandle();
    if (!edit || edit == FEditWnd) return;
    DetachEdit();
    if (SetWindowSubclass(edit, EditProc, kEditSubclassId, reinterpret_cast<DWORD_PTR>(this))) FEditWnd = edit;
    if (RightToLeft()) {
        const LONG_PTR style = GetWindowLongPtrW(edit, GWL_STYLE) & ~static_cast<LONG_PTR>(ES_LEFT | ES_CENTER);
        SetWindowLongPtrW(edit, GWL_STYLE, style | ES_RIGHT);
        PlaceEditRightToLeft();
    }
}

bool TsComboBox::RightToLeft() const { return tk::RightToLeftPlacement(BiDiMode()); }

void TsComboBox::PlaceEditRightToLeft() {
    if (!FEditWnd || !HandleAllocated()) return;
    // The native edit goes where the text is drawn, clear of the button at the left.
    const RECT text = TextRect();
    SetWindowPos(FEditWnd, nullptr, text.left, text.top, text.right - text.left, text.bottom - text.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TsComboBox::PressOnLeftButton(tk::TMessage& m) {
    // The native combo only knows its own button at the right: a press on the skin's button at
    // the left reaches it as a press on the mirrored point.
    const POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    const RECT b = ButtonRect();
    if (!PtInRect(&b, p)) return;
    const int mirrored = Width() - static_cast<int>(b.left + b.right) / 2;
    m.LParam = MAKELPARAM(static_cast<WORD>(mirrored), static_cast<WORD>(p.y));
}

void TsComboBox::DetachEdit() {
    if (FEditWnd) RemoveWindowSubclass(FEditWnd, EditProc, kEditSubclassId);
    FEditWnd = nullptr;
}

LRESULT CALLBACK TsComboBox::EditProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<TsComboBox*>(data);
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(h, EditProc, kEditSubclassId);
        if (self->FEditWnd == h) self->FEditWnd = nullptr;
        return DefSubclassProc(h, msg, wp, lp);
    }
    LRESULT result = 0;
    if (self->EditMessage(h, msg, wp, lp, result)) return result;
    return DefSubclassProc(h, msg, wp, lp);
}

bool TsComboBox::EditMessage(HWND edit, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (FReadOnly) {
        if (ReadOnlySwallows(msg, wp)) return true;
        switch (msg) {
            case WM_CUT: case WM_PASTE: case WM_CLEAR: case WM_UNDO: case EM_UNDO: case WM_MOUSEWHEEL: return true;
            default: break;
        }
    }
    if (!Ready()) return false;
    switch (msg) {
        case WM_PAINT:
            if (Focus()) return false;
            {
                // Not focused: the edit part shows the combo's cache.
                PAINTSTRUCT ps{};
                HDC dc = wp ? reinterpret_cast<HDC>(wp) : BeginPaint(edit, &ps);
                if (!FSkinData.Updating() && CacheReady()) {
                    RECT r;
                    GetWindowRect(edit, &r);
                    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&r), 2);
                    BitBlt(dc, 0, 0, r.right - r.left, r.bottom - r.top, FSkinData.FCacheBmp->Canvas().Handle(), r.left,
                           r.top, SRCCOPY);
                }
                if (!wp) EndPaint(edit, &ps);
            }
            return true;
        case WM_ERASEBKGND:
            if (Focus()) return false;
            result = 1;
            return true;
        case WM_WINDOWPOSCHANGING:
            // The combo lays its edit out at the left; right to left it stays beside the button.
            if (RightToLeft()) {
                auto* pos = reinterpret_cast<WINDOWPOS*>(lp);
                const RECT text = TextRect();
                pos->x = text.left;
                pos->y = text.top;
                pos->cx = text.right - text.left;
                pos->cy = text.bottom - text.top;
                pos->flags &= ~static_cast<UINT>(SWP_NOMOVE | SWP_NOSIZE);
            }
            return false;
        case WM_MOUSEMOVE: {
            TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, edit, 0};
            TrackMouseEvent(&t);
            if (!FSkinData.FMouseAbove) Perform(tk::CM_MOUSEENTER);
            return false;
        }
        case WM_MOUSELEAVE:
            if (!CursorInside(Handle())) Perform(tk::CM_MOUSELEAVE);
            return false;
        case WM_SETTEXT: case EM_REPLACESEL: case WM_CHAR: case WM_PASTE: case WM_CUT: case WM_CLEAR: case WM_UNDO:
            result = DefSubclassProc(edit, msg, wp, lp);
            FSkinData.BGChanged = true;
            if (!Focus()) Refresh();
            return true;
        default: return false;
    }
}

// ---- Drop-down list ----

TacEditWnd* TsComboBox::ListSW() const {
    return lboxhandle ? dynamic_cast<TacEditWnd*>(FindScrollWnd(lboxhandle)) : nullptr;
}

void TsComboBox::AttachList(HWND list) {
    if (!list || list == FEditWnd || ListSW()) return;
    if (AttachComboListWnd(list, &FSkinData, FSkinData.SkinManager(), L"EDIT")) lboxhandle = list;
}

void TsComboBox::DetachList() {
    if (lboxhandle && IsWindow(lboxhandle) && FindScrollWnd(lboxhandle)) DetachEditWnd(lboxhandle);
    lboxhandle = nullptr;
}

// ---- Input ----

void TsComboBox::OnFocusNotice(bool gained) {
    FSkinData.FFocused = gained;
    FSkinData.FMouseAbove = false;
    if (IsEditKind(FSkinData.COC)) {
        const TsGeneralData* section = FSkinData.Section();
        if (section && section->States > 1) FSkinData.SwitchEditColors(FSkinData.ControlIsHot());
    }
    Refresh();
}

void TsComboBox::OnMouseEnterLeave(tk::TMessage& m, bool enter) {
    if (FDropDown || (!enter && CursorInside(Handle()))) {
        tk::TCustomComboBox::WndProc(m);
        return;
    }
    if (enter == FSkinData.FMouseAbove) return;
    HandleCommonMessage(m, FSkinData);
    tk::TCustomComboBox::WndProc(m);
    FSkinData.FMouseAbove = enter;
    if (enter) {
        if (TsSkinManager* manager = FSkinData.SkinManager()) manager->SetActiveControl(Handle());
    }
    FSkinData.UpdateGlow(!enter);
    Refresh();
}

void TsComboBox::DropDown() {
    FDropDown = true;
    Refresh();
    tk::TCustomComboBox::DropDown();
}

void TsComboBox::CloseUp() {
    FDropDown = false;
    Refresh();
    tk::TCustomComboBox::CloseUp();
}

bool TsComboBox::HandleReadOnly(tk::TMessage& m) {
    if (!FReadOnly) return false;
    if (ReadOnlySwallows(m.Msg, m.WParam)) return true;
    switch (m.Msg) {
        case WM_LBUTTONDOWN:
            // Takes the focus, does not open the list.
            if (CanFocus()) SetFocus();
            return true;
        case WM_LBUTTONDBLCLK:
            if (CanFocus()) SetFocus();
            if (OnDblClick) OnDblClick(this);
            return true;
        case CB_SHOWDROPDOWN: case WM_MOUSEWHEEL: return true;
        default: return false;
    }
}

// ---- Messages ----

bool TsComboBox::HandleSkinMessage(tk::TMessage& m) {
    // The list takes its object again the next time it asks for its colours.
    return HandleEditSkinCmd(m, FSkinData, [this] { Refresh(); }, [this] { DetachList(); });
}

bool TsComboBox::HandleSkinnedMessage(tk::TMessage& m) {
    switch (m.Msg) {
        case WM_PAINT: OnPaint(m); return true;
        case WM_ERASEBKGND: m.Result = 1; return true;
        case WM_PRINTCLIENT: case WM_PRINT:
            FSkinData.FUpdating = false;
            OnPaint(m);
            return true;
        // The edit part takes the focus from the combo: focus is followed by the combo's notices.
        case WM_SETFOCUS: case WM_KILLFOCUS: tk::TCustomComboBox::WndProc(m); return true;
        case tk::CN_COMMAND:
            if (HIWORD(m.WParam) == CBN_SETFOCUS || HIWORD(m.WParam) == CBN_KILLFOCUS) {
                OnFocusNotice(HIWORD(m.WParam) == CBN_SETFOCUS);
                return true;
            }
            tk::TCustomComboBox::WndProc(m);
            if (HIWORD(m.WParam) == CBN_SELCHANGE || HIWORD(m.WParam) == CBN_EDITCHANGE) Refresh();
            return true;
        case tk::CM_MOUSEENTER: OnMouseEnterLeave(m, true); return true;
        case tk::CM_MOUSELEAVE: OnMouseEnterLeave(m, false); return true;
        case CB_SETCURSEL: case WM_SETTEXT: case WM_SETFONT: case tk::CM_ENABLEDCHANGED: case tk::CM_VISIBLECHANGED:
        case tk::CM_COLORCHANGED: case tk::CM_FONTCHANGED: case tk::CM_TEXTCHANGED:
            if (!HandleCommonMessage(m, FSkinData)) tk::TCustomComboBox::WndProc(m);
            Refresh();
            return true;
        case WM_SIZE: case WM_WINDOWPOSCHANGED:
            FSkinData.BGChanged = true;
            if (!RightToLeft()) return false;
            if (!HandleCommonMessage(m, FSkinData)) tk::TCustomComboBox::WndProc(m);
            PlaceEditRightToLeft();
            return true;
        case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK:
            if (RightToLeft()) PressOnLeftButton(m);
            return false;
        case WM_CTLCOLORLISTBOX:
            AttachList(reinterpret_cast<HWND>(m.LParam));
            return false;
        default: return false;
    }
}

void TsComboBox::WndProc(tk::TMessage& m) {
    if (m.Msg == SM_SKINCMD && HandleSkinMessage(m)) return;
    if (HandleReadOnly(m)) return;
    if (m.Msg != SM_SKINCMD && HandleAllocated() && Ready() && HandleSkinnedMessage(m)) return;
    if (HandleCommonMessage(m, FSkinData)) return;
    tk::TCustomComboBox::WndProc(m);
}

}  // namespace sk
