#include "controls/sMaskEdit.h"

#include <algorithm>
#include <optional>

#include "controls/sMaskEditSkinCmd.h"
#include "skinframework/sControlPaint.h"
#include "skinframework/sControlText.h"
#include "skinframework/sSkinManager.h"
#include "skinpaint/sMaskPaint.h"
#include "toolkit/Redraw.h"

namespace sk {

namespace {

UINT AlignmentFlag(tk::TAlignment a) {
    switch (a) {
        case tk::TAlignment::taRightJustify: return DT_RIGHT;
        case tk::TAlignment::taCenter: return DT_CENTER;
        default: return DT_LEFT;
    }
}

// Each channel of from moved percent of the way toward to, in floating point, truncated.
rd::TColor BlendToward(rd::TColor from, rd::TColor to, int percent) {
    const auto f = static_cast<uint32_t>(rd::ColorToRGB(from)), t = static_cast<uint32_t>(rd::ColorToRGB(to));
    const double p = percent / 100.0;
    uint32_t result = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const double a = (f >> shift) & 0xFF, b = (t >> shift) & 0xFF;
        result |= (static_cast<uint32_t>(a * (1 - p) + b * p) & 0xFF) << shift;
    }
    return static_cast<rd::TColor>(result);
}

int FontHeight(HFONT font) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return static_cast<int>(tm.tmHeight);
}

// The part of a long text that can show in a line of `width` pixels (every character takes at
// least one): its start, end or middle by the alignment, never splitting a surrogate pair.
std::wstring VisiblePart(const std::wstring& text, int width, tk::TAlignment alignment) {
    const size_t room = static_cast<size_t>(std::max(width, 1)) + 2;
    if (text.size() <= room) return text;
    size_t start = 0;
    if (alignment == tk::TAlignment::taRightJustify) start = text.size() - room;
    else if (alignment == tk::TAlignment::taCenter) start = (text.size() - room) / 2;
    if (start > 0 && IS_LOW_SURROGATE(text[start])) ++start;
    size_t end = std::min(text.size(), start + room);
    if (end < text.size() && end > start && IS_HIGH_SURROGATE(text[end - 1])) --end;
    return text.substr(start, end - start);
}

// Messages after which the native edit may have drawn changed text by itself.
bool ChangesText(UINT msg) {
    switch (msg) {
        case WM_SETTEXT: case EM_REPLACESEL: case WM_PASTE: case WM_CUT: case WM_CLEAR: case WM_UNDO: case EM_UNDO:
        case EM_SETSEL: case EM_SETPASSWORDCHAR:
            return true;
        default: return false;
    }
}

}  // namespace

TsMaskEdit::TsMaskEdit(tk::TComponent* owner, int coc) : tk::TMaskEdit(owner), FSkinData(this, true, coc) {
    FSkinData.FSkinSection = L"EDIT";
}

void TsMaskEdit::SetDisabledKind(unsigned value) {
    if (FDisabledKind == value) return;
    FDisabledKind = value;
    Refresh();
}

void TsMaskEdit::Loaded() {
    tk::TMaskEdit::Loaded();
    FSkinData.Loaded();
    FBoundLabel.Loaded();
}

void TsMaskEdit::InitializeWnd() {
    tk::TMaskEdit::InitializeWnd();
    // The skin's colours replace the stored ones once there is a window to show them.
    if (Ready()) FSkinData.UpdateSkinColors(false);
}

void TsMaskEdit::SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& v) {
    if (FSkinData.ReadProperty(reader, name, v) || FBoundLabel.ReadProperty(reader, name, v)) return;
    if (name == "DisabledKind") {
        unsigned kinds = 0;
        for (const auto& k : reader.Set(v)) kinds |= k == "dkBlended" ? rd::dkBlended : k == "dkGrayed" ? rd::dkGrayed : 0u;
        FDisabledKind = kinds;
    } else if (name == "OnMouseEnter") OnMouseEnter = reader.NotifyEvent(v);
    else if (name == "OnMouseLeave") OnMouseLeave = reader.NotifyEvent(v);
    else if (name == "ParentDoubleBuffered" || name == "DoubleBuffered") reader.Skip(v);
    else tk::TMaskEdit::SetProperty(reader, name, v);
}

void TsMaskEdit::Change() {
    if (IsLoading()) return;
    tk::TMaskEdit::Change();
}

bool TsMaskEdit::Ready() const { return FSkinData.Skinned() && !FSkinData.OwnerDestroying(); }

bool TsMaskEdit::NativePainting() const { return Focused(); }

int TsMaskEdit::TextMargin() const {
    return BorderStyle() == tk::TBorderStyle::bsNone ? 0 : (Ctl3D() ? 1 : 0) + 2;
}

std::wstring TsMaskEdit::ShownText() const {
    std::wstring text = GetText();
    if (PasswordChar()) text.assign(text.size(), PasswordChar());
    return text;
}

rd::TColor TsMaskEdit::HintColor() const {
    auto* self = const_cast<TsMaskEdit*>(this);
    return BlendToward(self->Font().Color, Color(), 65);
}

void TsMaskEdit::Refresh() {
    FSkinData.BGChanged = true;
    if (!HandleAllocated()) return;
    InvalidateRect(Handle(), nullptr, TRUE);
    tk::RedrawFrame(Handle());
}

// ---- Face ----

bool TsMaskEdit::PrepareCache() {
    const std::optional<rd::TCacheInfo> background = FSkinData.CacheBackground();
    if (!background) return false;
    const rd::TCacheInfo& bg = *background;
    TacCacheBitmap* cache = FSkinData.FCacheBmp.get();
    rd::TBitmap32* view = cache->View();
    const rd::TRect all{0, 0, Width(), Height()};
    if (BorderStyle() == tk::TBorderStyle::bsSingle)
        PaintControlFace(FSkinData, bg, true, view, {0, 0}, all, FSkinData.ControlIsHot() ? 1 : 0);
    else
        PaintControlBackground(FSkinData, bg, 0, view, {0, 0}, all);
    PaintText(cache->Canvas());
    PaintExtras(view);
    if (!Enabled()) {
        const rd::TColor parentColor = Parent() ? rd::ColorToRGB(Parent()->Color()) : rd::clMagenta;
        rd::ApplyDisabledLook(view, FDisabledKind, parentColor, {0, 0}, bg);
    }
    FSkinData.BGChanged = false;
    FSkinData.FUpdating = false;
    return true;
}

void TsMaskEdit::PaintText(tk::TCanvas& canvas) {
    const int m = TextMargin();
    canvas.Font.Assign(Font());
    canvas.Brush.Clear = true;
    const RECT& format = FormattingRect();
    const int border = BorderWidth();
    RECT r{m, m, Width() - m, m + FontHeight(Font().Handle()) + 2};
    // Text never runs under what the formatting rectangle keeps clear (the combo edit's button).
    if (format.right > format.left) r.right = std::min<LONG>(r.right, format.right + border);
    r.left = std::max<LONG>(r.left, format.left + border);
    const UINT align = AlignmentFlag(ShownAlignment()) | DT_SINGLELINE | DT_NOPREFIX |
                       (tk::RightToLeftReading(BiDiMode()) ? static_cast<UINT>(DT_RTLREADING) : 0u);
    const std::wstring text = GetText();
    if (text.empty()) {
        if (TextHint().empty()) return;
        HDC dc = canvas.Handle();
        HGDIOBJ old = SelectObject(dc, Font().Handle());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, static_cast<COLORREF>(rd::ColorToRGB(HintColor())));
        DrawTextW(dc, TextHint().c_str(), static_cast<int>(TextHint().size()), &r, align | DT_EXTERNALLEADING);
        SelectObject(dc, old);
        return;
    }
    WriteControlText(canvas, VisiblePart(ShownText(), r.right - r.left, ShownAlignment()), Enabled(), FSkinData.ControlIsHot(), FSkinData,
                     align | (PasswordChar() ? 0u : static_cast<UINT>(DT_EXTERNALLEADING)), r);
}

bool TsMaskEdit::CacheReady() {
    TacCacheBitmap* cache = FSkinData.FCacheBmp.get();
    const bool sized = cache && cache->Width() == Width() && cache->Height() == Height();
    if (FSkinData.BGChanged || !sized) return PrepareCache();
    return true;
}

// ---- Painting ----

int TsMaskEdit::BorderWidth() const {
    auto* self = const_cast<TsMaskEdit*>(this);
    if (!self->HandleAllocated()) return 0;
    RECT window;
    POINT origin{0, 0};
    GetWindowRect(self->Handle(), &window);
    ClientToScreen(self->Handle(), &origin);
    return std::max<int>(0, origin.x - window.left);
}

void TsMaskEdit::PaintFrame(HDC dc) {
    const int b = BorderWidth();
    TacCacheBitmap* cache = FSkinData.FCacheBmp.get();
    if (b <= 0 || !cache) return;
    const int w = Width(), h = Height();
    HDC src = cache->Canvas().Handle();
    BitBlt(dc, 0, 0, w, b, src, 0, 0, SRCCOPY);
    BitBlt(dc, 0, h - b, w, b, src, 0, h - b, SRCCOPY);
    BitBlt(dc, 0, b, b, h - 2 * b, src, 0, b, SRCCOPY);
    BitBlt(dc, w - b, b, b, h - 2 * b, src, w - b, b, SRCCOPY);
}

void TsMaskEdit::PaintFrameNow() {
    if (!HandleAllocated() || !IsWindowVisible(Handle()) || FSkinData.Updating()) return;
    if (!CacheReady()) return;
    HDC dc = GetWindowDC(Handle());
    PaintFrame(dc);
    ReleaseDC(Handle(), dc);
}

void TsMaskEdit::OnPaint(tk::TMessage& m) {
    HWND h = Handle();
    if (NativePainting()) {
        tk::TMaskEdit::WndProc(m);
        HDC dc = GetDC(h);
        PaintOverNative(dc);
        ReleaseDC(h, dc);
        PaintFrameNow();
        return;
    }
    PAINTSTRUCT ps{};
    HDC dc = m.WParam ? reinterpret_cast<HDC>(m.WParam) : BeginPaint(h, &ps);
    if (!FSkinData.Updating() && CacheReady()) {
        RECT client;
        GetClientRect(h, &client);
        const int b = BorderWidth();
        BitBlt(dc, 0, 0, client.right, client.bottom, FSkinData.FCacheBmp->Canvas().Handle(), b, b, SRCCOPY);
    }
    if (!m.WParam) EndPaint(h, &ps);
    m.Result = 0;
    PaintFrameNow();
}

void TsMaskEdit::OnPrint(tk::TMessage& m) {
    FSkinData.FUpdating = false;
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    m.Result = 0;
    if (!dc || !PrepareCache()) return;
    HDC src = FSkinData.FCacheBmp->Canvas().Handle();
    if (m.Msg == WM_PRINT && (m.LParam & PRF_NONCLIENT)) {
        BitBlt(dc, 0, 0, Width(), Height(), src, 0, 0, SRCCOPY);
        return;
    }
    RECT client;
    GetClientRect(Handle(), &client);
    const int b = BorderWidth();
    BitBlt(dc, 0, 0, client.right, client.bottom, src, b, b, SRCCOPY);
}

void TsMaskEdit::OnFocusChange(tk::TMessage& m) {
    HandleCommonMessage(m, FSkinData);
    tk::TMaskEdit::WndProc(m);
    if (Destroying() || !HandleAllocated()) return;
    // The native edit paints while focused, the cache otherwise: the whole window changes.
    Refresh();
}

// ---- Messages ----

bool TsMaskEdit::HandleSkinMessage(tk::TMessage& m) {
    return HandleEditSkinCmd(m, FSkinData, [this] { Refresh(); });
}

bool TsMaskEdit::HandleSkinnedMessage(tk::TMessage& m) {
    switch (m.Msg) {
        case WM_PAINT: OnPaint(m); return true;
        case WM_NCPAINT:
            PaintFrameNow();
            m.Result = 0;
            return true;
        case WM_ERASEBKGND:
            if (NativePainting()) return false;
            m.Result = 1;
            return true;
        case WM_PRINT: case WM_PRINTCLIENT: OnPrint(m); return true;
        case WM_SETFOCUS: case WM_KILLFOCUS: OnFocusChange(m); return true;
        case tk::CM_MOUSEENTER: case tk::CM_MOUSELEAVE: {
            const bool enter = m.Msg == tk::CM_MOUSEENTER;
            HandleCommonMessage(m, FSkinData);
            tk::TMaskEdit::WndProc(m);
            if (enter && OnMouseEnter) OnMouseEnter(this);
            if (!enter && OnMouseLeave) OnMouseLeave(this);
            Refresh();
            return true;
        }
        case WM_SETFONT: case tk::CM_VISIBLECHANGED: case tk::CM_ENABLEDCHANGED: case tk::CM_COLORCHANGED:
        case tk::CM_FONTCHANGED: case tk::CM_TEXTCHANGED:
            if (!HandleCommonMessage(m, FSkinData)) tk::TMaskEdit::WndProc(m);
            Refresh();
            return true;
        case WM_SIZE: case WM_WINDOWPOSCHANGED:
            FSkinData.BGChanged = true;
            return false;
        default:
            if (!ChangesText(m.Msg) && !(m.Msg == tk::CN_COMMAND && HIWORD(m.WParam) == EN_CHANGE)) return false;
            if (!HandleCommonMessage(m, FSkinData)) tk::TMaskEdit::WndProc(m);
            FSkinData.BGChanged = true;
            if (!NativePainting() && HandleAllocated()) InvalidateRect(Handle(), nullptr, FALSE);
            return true;
    }
}

void TsMaskEdit::WndProc(tk::TMessage& m) {
    if (m.Msg == SM_SKINCMD && HandleSkinMessage(m)) return;
    if (m.Msg != SM_SKINCMD && HandleAllocated() && Ready() && HandleSkinnedMessage(m)) return;
    if (HandleCommonMessage(m, FSkinData)) return;
    tk::TMaskEdit::WndProc(m);
}

}  // namespace sk
