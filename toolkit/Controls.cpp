#include "toolkit/Controls.h"

#include <algorithm>

#include "toolkit/DescriptionReader.h"
#include "toolkit/Forms.h"
#include "toolkit/Menus.h"

namespace tk {

namespace {
const wchar_t kControlProp[] = L"TkControl";
const wchar_t kWindowClass[] = L"TkWindow";

void RegisterToolkitClass() {
    static bool done = false;
    if (done) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconW(GetModuleHandleW(nullptr), L"MAINICON");
    wc.lpszClassName = kWindowClass;
    RegisterClassExW(&wc);
    done = true;
}
}  // namespace

// --- TControl

TControl::TControl(TComponent* owner) : TComponent(owner) {
    WindowProc = [this](TMessage& m) { WndProc(m); };
    FFont.OnChange = [this] { Perform(CM_FONTCHANGED); };
}

TControl::~TControl() {
    if (FParent) FParent->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == FParent) return;
    if (FParent) FParent->RemoveControl(this);
    FParent = nullptr;
    if (parent) parent->InsertControl(this);
    ParentFontChanged();
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
    Invalidate();
    FLeft = left; FTop = top; FWidth = width; FHeight = height;
    Invalidate();
}

void TControl::SetVisible(bool v) {
    if (v == FVisible) return;
    bool wasShowing = Showing();
    if (!v) Invalidate();
    FVisible = v;
    if (v) Invalidate();
    Perform(CM_VISIBLECHANGED, v);
    if (Showing() != wasShowing) ShowingChanged(!wasShowing);
}

void TControl::ShowingChanged(bool showing) {
    Perform(CM_SHOWINGCHANGED, showing);
    if (!IsWindowed()) return;
    // Hidden children stay hidden: their showing state does not change with ours.
    for (TControl* c : std::vector<TControl*>(static_cast<TWinControl*>(this)->FControls))
        if (c->Visible()) c->ShowingChanged(showing);
}

void TControl::SetEnabled(bool v) {
    if (v == FEnabled) return;
    FEnabled = v;
    EnabledChanged();
    Perform(CM_ENABLEDCHANGED);
    Invalidate();
}

bool TControl::Showing() const {
    if (!FVisible) return false;
    if (!FParent) return IsWindowed() && static_cast<const TWinControl*>(this)->HandleAllocated() &&
                         IsWindowVisible(const_cast<TWinControl*>(static_cast<const TWinControl*>(this))->Handle());
    return FParent->Showing();
}

void TControl::SetText(const std::wstring& text) {
    if (text == FText) return;
    FText = text;
    TextChanged();
    Perform(CM_TEXTCHANGED);
    Invalidate();
}

void TControl::SetParentFont(bool v) {
    FParentFont = v;
    ParentFontChanged();
}

void TControl::ParentFontChanged() {
    if (FParentFont && FParent && !(FParent->Font() == FFont)) {
        FFont.Assign(FParent->Font());
        FParentFont = true;  // Assign reports a change; the font still follows the parent
    }
}

void TControl::SetColor(TColor c) {
    if (c == FColor) return;
    FColor = c;
    FParentColor = false;
    Perform(CM_COLORCHANGED);
    Invalidate();
}

void TControl::Click() {
    if (OnClick) OnClick(this);
}

LRESULT TControl::Perform(UINT msg, WPARAM wp, LPARAM lp) {
    TMessage m{msg, wp, lp, 0};
    if (WindowProc) WindowProc(m);
    else WndProc(m);
    return m.Result;
}

void TControl::WndProc(TMessage& m) {
    switch (m.Msg) {
        case CM_MOUSEENTER: FMouseInside = true; Invalidate(); break;
        case CM_MOUSELEAVE: FMouseInside = false; Invalidate(); break;
        case CM_FONTCHANGED: FontChanged(); Invalidate(); break;
        case WM_CONTEXTMENU:  // a window-less control, asked by its parent
            if (ContextPopup(m.LParam)) m.Result = 1;
            break;
        default: break;
    }
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
    ReplaceLinked(FPopupMenu, menu);
}

void TControl::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == FPopupMenu) FPopupMenu = nullptr;
}

bool TControl::ContextPopup(LPARAM pos) {
    if (!FPopupMenu || FPopupMenu->Showing()) return false;
    POINT at{static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
    HWND window = IsWindowed() ? static_cast<TWinControl*>(this)->Handle() : FParent ? FParent->Handle() : nullptr;
    if (at.x == -1 && at.y == -1) {
        at = IsWindowed() ? POINT{0, 0} : POINT{FLeft, FTop};
        if (window) ClientToScreen(window, &at);
    }
    FPopupMenu->PopupComponent = this;
    FPopupMenu->OwnerWindow = window ? GetAncestor(window, GA_ROOT) : nullptr;
    FPopupMenu->Popup(at.x, at.y);
    return true;
}

void TControl::Invalidate() {
    if (FParent && FParent->HandleAllocated()) {
        RECT r = BoundsRect();
        InvalidateRect(FParent->Handle(), &r, FALSE);
    }
}

void TControl::Repaint() {
    Invalidate();
    if (FParent && FParent->HandleAllocated()) UpdateWindow(FParent->Handle());
}

void TControl::MouseDown(int, int) { FPressed = true; Invalidate(); }

void TControl::MouseUp(int x, int y) {
    bool wasPressed = FPressed;
    FPressed = false;
    Invalidate();
    if (wasPressed && x >= 0 && y >= 0 && x < FWidth && y < FHeight && FEnabled) Click();
}

void TControl::MouseMove(int, int) {}

void TControl::SetProperty(TReader& reader, const std::string& name, const TValue& v) {
    if (name == "Left") FLeft = reader.Int(v);
    else if (name == "Top") FTop = reader.Int(v);
    else if (name == "Width") FWidth = reader.Int(v);
    else if (name == "Height") FHeight = reader.Int(v);
    else if (name == "Caption" || name == "Text") SetText(reader.String(v));
    else if (name == "Visible") FVisible = reader.Bool(v);
    else if (name == "Enabled") FEnabled = reader.Bool(v);
    else if (name == "Color") { FColor = reader.Color(v); FParentColor = false; }
    else if (name == "ParentColor") FParentColor = reader.Bool(v);
    else if (name == "ParentFont") FParentFont = reader.Bool(v);
    else if (name == "Font.Name") { FFont.Name = reader.String(v); FParentFont = false; }
    else if (name == "Font.Height") { FFont.Height = reader.Int(v); FParentFont = false; }
    else if (name == "Font.Color") { FFont.Color = reader.Color(v); FParentFont = false; }
    else if (name == "Font.Style") { FFont.Style = reader.FontStyle(v); FParentFont = false; }
    else if (name == "Font.Charset") { FFont.Charset = reader.Charset(v); FParentFont = false; }
    else if (name == "OnClick") OnClick = reader.NotifyEvent(v);
    else if (name == "Anchors") {
        FAnchors = 0;
        for (const std::string& side : reader.Set(v))
            FAnchors |= side == "akLeft" ? akLeft : side == "akTop" ? akTop : side == "akRight" ? akRight
                        : side == "akBottom" ? akBottom : 0u;
    } else if (name == "Cursor" || name == "Hint" || name == "ShowHint" || name == "ParentShowHint")
        reader.Skip(v);  // stored for the designer; no run-time effect in this toolkit
    else TComponent::SetProperty(reader, name, v);
}

void TControl::AnchorTo(int dx, int dy) {
    int left = FLeft, top = FTop, width = FWidth, height = FHeight;
    if (FAnchors & akRight) {
        if (FAnchors & akLeft) width = std::max(0, width + dx);
        else left += dx;
    }
    if (FAnchors & akBottom) {
        if (FAnchors & akTop) height = std::max(0, height + dy);
        else top += dy;
    }
    if (left != FLeft || top != FTop || width != FWidth || height != FHeight) SetBounds(left, top, width, height);
}

void TControl::Loaded() {
    TComponent::Loaded();
    FFont.Changed();
    ParentFontChanged();
}

// --- TWinControl

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    MarkDestroying();  // messages sent while the window goes away must see it
    for (TControl* c : FControls) c->FParent = nullptr;
    FControls.clear();
    DestroyHandle();
    if (FCtlBrush) DeleteObject(FCtlBrush);
}

void TWinControl::InsertControl(TControl* c) {
    FControls.push_back(c);
    c->FParent = this;
    if (HandleAllocated() && c->IsWindowed()) static_cast<TWinControl*>(c)->HandleNeeded();
}

void TWinControl::RemoveControl(TControl* c) {
    if (FCaptureControl == c) FCaptureControl = nullptr;
    if (FHoverControl == c) FHoverControl = nullptr;
    FControls.erase(std::remove(FControls.begin(), FControls.end(), c), FControls.end());
    c->FParent = nullptr;
}

HWND TWinControl::Handle() {
    if (!FHandle) {
        // The parent's window creates its children's windows, this one among them.
        if (Parent()) Parent()->HandleNeeded();
        if (!FHandle) CreateWnd();
    }
    return FHandle;
}

void TWinControl::CreateParams(TCreateParams& p) {
    p.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (Visible()) p.Style |= WS_VISIBLE;
    if (!Enabled()) p.Style |= WS_DISABLED;
    if (FTabStop) p.Style |= WS_TABSTOP;
    if (Parent()) p.WndParent = Parent()->Handle();
}

void TWinControl::CreateWnd() {
    TCreateParams p;
    CreateParams(p);
    const wchar_t* cls = p.ClassName.empty() ? kWindowClass : p.ClassName.c_str();
    if (p.ClassName.empty()) RegisterToolkitClass();
    HWND h = CreateWindowExW(p.ExStyle, cls, FText.c_str(), p.Style, Left(), Top(), Width(), Height(),
                             p.WndParent, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!h) throw EOSError(Format(L"Error creating window: %s", {SysErrorMessage(GetLastError())}));
    FHandle = h;
    FOwnClass = p.ClassName.empty();
    SetPropW(h, kControlProp, this);
    FDefWndProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ToolkitWndProc)));
    InitializeWnd();
}

void TWinControl::InitializeWnd() {
    SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), FALSE);
    for (TControl* c : FControls)
        if (c->IsWindowed()) static_cast<TWinControl*>(c)->HandleNeeded();
    UpdateTabOrder();
}

void TWinControl::UpdateTabOrder() {
    // Window order is tab order: windowed children sorted by TabOrder (stable for ties).
    std::vector<TWinControl*> wins;
    for (TControl* c : FControls)
        if (c->IsWindowed() && static_cast<TWinControl*>(c)->HandleAllocated()) wins.push_back(static_cast<TWinControl*>(c));
    std::stable_sort(wins.begin(), wins.end(), [](TWinControl* a, TWinControl* b) {
        int ta = a->FTabOrder < 0 ? INT32_MAX : a->FTabOrder, tb = b->FTabOrder < 0 ? INT32_MAX : b->FTabOrder;
        return ta < tb;
    });
    HWND after = HWND_TOP;
    for (TWinControl* w : wins) {
        SetWindowPos(w->FHandle, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        after = w->FHandle;
    }
}

void TWinControl::DestroyHandle() {
    if (!FHandle) return;
    HWND h = FHandle;
    DestroyWindow(h);  // WM_NCDESTROY clears FHandle
    FHandle = nullptr;
}

std::wstring WindowText(HWND h) {
    int n = GetWindowTextLengthW(h);
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    n = GetWindowTextW(h, s.data(), n + 1);
    s.resize(static_cast<size_t>(n));
    return s;
}

std::wstring TWinControl::GetText() const { return FHandle ? WindowText(FHandle) : FText; }

TWinControl* TWinControl::FromHandle(HWND h) {
    return h ? static_cast<TWinControl*>(GetPropW(h, kControlProp)) : nullptr;
}

void TWinControl::SetTabStop(bool v) {
    FTabStop = v;
    if (FHandle) {
        LONG_PTR s = GetWindowLongPtrW(FHandle, GWL_STYLE);
        SetWindowLongPtrW(FHandle, GWL_STYLE, v ? s | WS_TABSTOP : s & ~WS_TABSTOP);
    }
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    bool changed = left != Left() || top != Top() || width != Width() || height != Height();
    FLeft = left; FTop = top; FWidth = width; FHeight = height;
    if (changed && FHandle) SetWindowPos(FHandle, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinControl::SetFocus() {
    if (FHandle) ::SetFocus(FHandle);
}

bool TWinControl::Focused() const { return FHandle && GetFocus() == FHandle; }

bool TWinControl::CanFocus() const { return Visible() && Enabled() && FHandle && IsWindowVisible(FHandle); }

void TWinControl::Invalidate() {
    if (FHandle) InvalidateRect(FHandle, nullptr, TRUE);
}

void TWinControl::Repaint() {
    if (FHandle) {
        InvalidateRect(FHandle, nullptr, TRUE);
        UpdateWindow(FHandle);
    }
}

RECT TWinControl::ClientRect() const {
    RECT r{0, 0, Width(), Height()};
    if (FHandle) GetClientRect(FHandle, &r);
    return r;
}

void TWinControl::SetProperty(TReader& reader, const std::string& name, const TValue& v) {
    if (name == "TabOrder") FTabOrder = reader.Int(v);
    else if (name == "TabStop") FTabStop = reader.Bool(v);
    else TControl::SetProperty(reader, name, v);
}

TControl* TWinControl::ContextControlAt(LPARAM pos) const {
    POINT p{static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
    if ((p.x == -1 && p.y == -1) || !FHandle || !ScreenToClient(FHandle, &p)) return nullptr;
    TControl* c = GraphicControlAt(p.x, p.y, false);
    return c && c->PopupMenu() ? c : nullptr;
}

TControl* TWinControl::GraphicControlAt(int x, int y, bool allowDisabled) const {
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
        TControl* c = *it;
        if (c->IsWindowed() || !c->Visible() || (!allowDisabled && !c->Enabled())) continue;
        RECT r = c->BoundsRect();
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return c;
    }
    return nullptr;
}

void TWinControl::PaintBackground(HDC dc, const RECT& r) {
    HBRUSH b = CreateSolidBrush(ColorToRGB(Color()));
    FillRect(dc, &r, b);
    DeleteObject(b);
}

void TWinControl::PaintWindow(HDC dc, const RECT& clip) {
    PaintBackground(dc, clip);
    PaintGraphicControls(dc, clip);
}

void TWinControl::HandlePaint(TMessage& m) {
    if (m.WParam) {
        RECT client = ClientRect();
        PaintWindow(reinterpret_cast<HDC>(m.WParam), client);
        return;
    }
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(FHandle, &ps);
    PaintWindow(dc, ps.rcPaint);
    EndPaint(FHandle, &ps);
}

void TWinControl::PaintTo(HDC dc, int x, int y) {
    HWND h = Handle();
    POINT old;
    OffsetViewportOrgEx(dc, x, y, &old);
    SendMessageW(h, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SendMessageW(h, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    SetViewportOrgEx(dc, old.x, old.y, nullptr);
}

void TWinControl::PaintGraphicControls(HDC dc, const RECT& clip) {
    TCanvas canvas(dc);
    for (TControl* c : FControls) {
        if (c->IsWindowed() || !c->Visible()) continue;
        RECT r = c->BoundsRect(), hit;
        if (!IntersectRect(&hit, &r, &clip)) continue;
        int saved = SaveDC(dc);
        OffsetViewportOrgEx(dc, r.left, r.top, nullptr);  // keeps an origin the caller set
        IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
        c->Paint(canvas);
        RestoreDC(dc, saved);
    }
}

LRESULT TWinControl::CtlColor(HDC dc) {
    COLORREF rgb = ColorToRGB(Color());
    if (!FCtlBrush || FCtlBrushColor != rgb) {
        if (FCtlBrush) DeleteObject(FCtlBrush);
        FCtlBrush = CreateSolidBrush(rgb);
        FCtlBrushColor = rgb;
    }
    SetTextColor(dc, ColorToRGB(Font().Color));
    SetBkColor(dc, rgb);
    return reinterpret_cast<LRESULT>(FCtlBrush);
}

bool TWinControl::ReflectToChild(TMessage& m) {
    HWND child = nullptr;
    switch (m.Msg) {
        case WM_COMMAND: child = reinterpret_cast<HWND>(m.LParam); break;
        case WM_NOTIFY: child = reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom; break;
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam);
            if (!item || item->CtlType == ODT_MENU) return false;  // menus draw through their own window
            child = item->hwndItem;
            break;
        }
        case WM_CTLCOLOREDIT: case WM_CTLCOLORSTATIC: case WM_CTLCOLORBTN: case WM_CTLCOLORLISTBOX:
            child = reinterpret_cast<HWND>(m.LParam); break;
        default: return false;
    }
    // The edit inside a combo box speaks for the combo box.
    TWinControl* target = FromHandle(child);
    if (!target && child) target = FromHandle(GetParent(child));
    if (!target || target == this) return false;
    m.Result = target->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
    return true;
}

void TWinControl::TrackMouseInside() {
    if (FTrackingLeave) return;
    TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, FHandle, 0};
    FTrackingLeave = TrackMouseEvent(&t) != FALSE;
}

namespace {

HCURSOR CursorHandle(TCursor cursor) {
    switch (cursor) {
        case crArrow: return LoadCursorW(nullptr, IDC_ARROW);
        case crIBeam: return LoadCursorW(nullptr, IDC_IBEAM);
        case crHandPoint: return LoadCursorW(nullptr, IDC_HAND);
        default: return nullptr;
    }
}

}  // namespace

bool TWinControl::SetControlCursor(TMessage& m) {
    if (reinterpret_cast<HWND>(m.WParam) != FHandle || LOWORD(m.LParam) != HTCLIENT) return false;
    TControl* over = FCaptureControl;
    if (!over) {
        POINT p;
        if (!GetCursorPos(&p) || !ScreenToClient(FHandle, &p)) return false;
        over = GraphicControlAt(p.x, p.y, true);
    }
    if (!over && FCursor == crDefault) return false;
    HCURSOR cursor = CursorHandle(over ? over->Cursor() : FCursor);
    if (!cursor) return false;
    ::SetCursor(cursor);
    m.Result = TRUE;
    return true;
}

void TWinControl::AnchorControls(int clientWidth, int clientHeight) {
    if (FAnchorWidth >= 0 && (clientWidth != FAnchorWidth || clientHeight != FAnchorHeight)) {
        const int dx = clientWidth - FAnchorWidth, dy = clientHeight - FAnchorHeight;
        for (TControl* c : std::vector<TControl*>(FControls)) c->AnchorTo(dx, dy);
    }
    FAnchorWidth = clientWidth;
    FAnchorHeight = clientHeight;
}

void TWinControl::RouteMouse(TMessage& m) {
    int x = static_cast<short>(LOWORD(m.LParam)), y = static_cast<short>(HIWORD(m.LParam));
    switch (m.Msg) {
        case WM_MOUSEMOVE: {
            if (!FMouseInside) {
                FMouseInside = true;
                Perform(CM_MOUSEENTER);
            }
            TrackMouseInside();
            TControl* hover = FCaptureControl ? FCaptureControl : GraphicControlAt(x, y, true);
            if (hover != FHoverControl) {
                if (FHoverControl) FHoverControl->Perform(CM_MOUSELEAVE);
                FHoverControl = hover;
                if (hover) hover->Perform(CM_MOUSEENTER);
            }
            if (hover) hover->MouseMove(x - hover->Left(), y - hover->Top());
            break;
        }
        case WM_MOUSELEAVE:
            FTrackingLeave = false;
            if (FHoverControl) FHoverControl->Perform(CM_MOUSELEAVE);
            FHoverControl = nullptr;
            FMouseInside = false;
            Perform(CM_MOUSELEAVE);
            break;
        case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK:
            if (TControl* c = GraphicControlAt(x, y, false)) {
                FCaptureControl = c;
                SetCapture(FHandle);
                c->MouseDown(x - c->Left(), y - c->Top());
            }
            break;
        case WM_LBUTTONUP:
            if (TControl* c = FCaptureControl) {
                FCaptureControl = nullptr;
                ReleaseCapture();
                c->MouseUp(x - c->Left(), y - c->Top());
            }
            break;
        case WM_CAPTURECHANGED:
            if (FCaptureControl && reinterpret_cast<HWND>(m.LParam) != FHandle) {
                FCaptureControl->MouseUp(-1, -1);
                FCaptureControl = nullptr;
            }
            break;
        default: break;
    }
}

namespace {

TWinControl* RootOf(TWinControl* c) {
    while (c->Parent()) c = c->Parent();
    return c;
}

// Tells every control of the focused control's top-level window who has the focus now.
void BroadcastFocusChange(TWinControl* focused) {
    TWinControl* root = RootOf(focused);
    if (!root->Destroying()) root->Broadcast(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(focused));
}

// The focus left `from` for a window that is not a control of the same top-level window (or
// for none, as when `from` is disabled): no control there announces it, so `from` tells its
// own window that none of its controls has the focus now.
void BroadcastFocusLeft(TWinControl* from, HWND to) {
    TWinControl* next = TWinControl::FromHandle(to);
    TWinControl* root = RootOf(from);
    if (from->Destroying() || root->Destroying()) return;
    if (!next || RootOf(next) != root) root->Broadcast(CM_FOCUSCHANGED, 0, 0);
}

}  // namespace

void TWinControl::WndProc(TMessage& m) {
    if (ReflectToChild(m)) return;
    switch (m.Msg) {
        case WM_SIZE:
            if (m.WParam != SIZE_MINIMIZED) AnchorControls(LOWORD(m.LParam), HIWORD(m.LParam));
            break;
        case WM_MOUSEMOVE: case WM_MOUSELEAVE: case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: case WM_LBUTTONUP:
        case WM_CAPTURECHANGED:
            RouteMouse(m);
            break;
        case WM_PAINT:
            if (!FOwnClass) break;
            HandlePaint(m);
            return;
        case WM_ERASEBKGND:
            if (!FOwnClass) break;
            m.Result = 1;  // WM_PAINT paints the background with the rest
            return;
        case WM_SETCURSOR:
            if (SetControlCursor(m)) return;
            break;
        case WM_CONTEXTMENU:
            // A window-less control under the point shows its own menu; without one of its own
            // the request goes on to the window's default (a child passes it to its parent).
            if (TControl* c = ContextControlAt(m.LParam)) {
                m.Result = c->Perform(WM_CONTEXTMENU, m.WParam, m.LParam);
                return;
            }
            if (ContextPopup(m.LParam)) {
                m.Result = 1;
                return;
            }
            break;
        case WM_SETFOCUS:
            Perform(CM_ENTER);
            BroadcastFocusChange(this);
            break;
        case WM_KILLFOCUS:
            Perform(CM_EXIT);
            BroadcastFocusLeft(this, reinterpret_cast<HWND>(m.WParam));
            break;
        case CM_ENABLEDCHANGED:
            if (FHandle) EnableWindow(FHandle, Enabled());
            return;
        case CM_VISIBLECHANGED:
            if (FHandle) ShowWindow(FHandle, Visible() ? SW_SHOWNA : SW_HIDE);
            return;
        case CM_TEXTCHANGED:
            if (FHandle) SetWindowTextW(FHandle, FText.c_str());
            return;
        case CM_FONTCHANGED:
            if (FHandle) SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), TRUE);
            FontChanged();
            for (TControl* c : FControls) c->ParentFontChanged();
            return;
        case CN_CTLCOLOREDIT: case CN_CTLCOLORSTATIC: case CN_CTLCOLORBTN: case CN_CTLCOLORLISTBOX:
            m.Result = CtlColor(reinterpret_cast<HDC>(m.WParam));
            return;
        default:
            break;
    }
    if (IsToolkitMessage(m.Msg)) {
        TControl::WndProc(m);
        return;
    }
    DefaultHandler(m);
}

void TWinControl::Broadcast(UINT msg, WPARAM wp, LPARAM lp) {
    for (TControl* c : std::vector<TControl*>(FControls)) {
        c->Perform(msg, wp, lp);
        if (c->IsWindowed()) static_cast<TWinControl*>(c)->Broadcast(msg, wp, lp);
    }
}

void TWinControl::DefaultHandler(TMessage& m) {
    if (!FHandle) return;
    m.Result = FDefWndProc ? CallWindowProcW(FDefWndProc, FHandle, m.Msg, m.WParam, m.LParam)
                           : DefWindowProcW(FHandle, m.Msg, m.WParam, m.LParam);
}

void TWinControl::DetachWindow() {
    HWND h = FHandle;
    RemovePropW(h, kControlProp);
    SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FDefWndProc ? FDefWndProc : DefWindowProcW));
    FHandle = nullptr;
    FDefWndProc = nullptr;
}

LRESULT CALLBACK ToolkitWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    TWinControl* c = TWinControl::FromHandle(hwnd);
    if (!c) return DefWindowProcW(hwnd, msg, wp, lp);
    TMessage m{msg, wp, lp, 0};
    try {
        if (c->WindowProc) c->WindowProc(m);
        else c->WndProc(m);
    } catch (...) {
        if (Application) Application->HandleCurrentException();
    }
    // The window is gone: the handlers (and through them the original procedure) have
    // seen WM_NCDESTROY; the control lets go of it.
    if (msg == WM_NCDESTROY && TWinControl::FromHandle(hwnd) == c) c->DetachWindow();
    return m.Result;
}

}  // namespace tk
