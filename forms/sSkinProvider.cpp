// The provider's window procedure: which messages it takes from the form, hit testing, the
// caption buttons' mouse handling, activation and the skin message.
#include "forms/sSkinProvider.h"

#include <windowsx.h>

#include <algorithm>

#include "forms/sTitleAnimation.h"
#include "skinframework/sSkinManager.h"
#include "toolkit/DescriptionReader.h"
#include "toolkit/Redraw.h"
#include "skinframework/sVclUtils.h"

namespace sk {

namespace {

constexpr UINT kSysMenuAtCursor = 0x0313;  // the platform's undocumented "system menu here"
constexpr DWORD kTransitionsForceDisabled = 3;
constexpr UINT_PTR kIconMenuTimer = 0x4B56;      // the pause before the menu drops from the icon
constexpr UINT kIconMenuPauseMs = 200;

// Desktop composition, looked up once; missing functions count as composition off.
struct TDwm {
    HRESULT(WINAPI* IsCompositionEnabled)(BOOL*) = nullptr;
    HRESULT(WINAPI* SetWindowAttribute)(HWND, DWORD, LPCVOID, DWORD) = nullptr;
};

const TDwm& Dwm() {
    static const TDwm dwm = [] {
        TDwm d;
        if (HMODULE lib = LoadLibraryW(L"DWMAPI.DLL")) {
            d.IsCompositionEnabled = reinterpret_cast<decltype(d.IsCompositionEnabled)>(
                reinterpret_cast<void*>(GetProcAddress(lib, "DwmIsCompositionEnabled")));
            d.SetWindowAttribute = reinterpret_cast<decltype(d.SetWindowAttribute)>(
                reinterpret_cast<void*>(GetProcAddress(lib, "DwmSetWindowAttribute")));
        }
        return d;
    }();
    return dwm;
}

bool CompositionEnabled() {
    BOOL on = FALSE;
    return Dwm().IsCompositionEnabled && SUCCEEDED(Dwm().IsCompositionEnabled(&on)) && on;
}

void SetTransitionsDisabled(HWND window, bool disabled) {
    if (!CompositionEnabled() || !Dwm().SetWindowAttribute) return;
    const BOOL value = disabled ? TRUE : FALSE;
    Dwm().SetWindowAttribute(window, kTransitionsForceDisabled, &value, sizeof(value));
}

}  // namespace

TsSkinProvider::TsSkinProvider(tk::TForm* form, TsSkinManager* manager)
    : tk::TComponent(form), FForm(form), FCommonData(std::make_unique<TsScrollWndData>(this, true)) {
    if (manager && manager != TsSkinManager::DefaultManager()) FCommonData->SetSkinManager(manager);
    FCommonData->FSkinSection = L"FORM";
    FCommonData->Loaded();
    InAero = CompositionEnabled();
    OldWndProc = form->WindowProc;
    form->WindowProc = [this](tk::TMessage& m) { NewWndProc(m); };
}

TsSkinProvider::~TsSkinProvider() {
    for (TsCaptionButton* b : {&FButtons.Close, &FButtons.Max, &FButtons.Min, &FButtons.Help}) b->Timer.reset();
    if (FForm) {
        FForm->WindowProc = OldWndProc;
        if (FForm->HandleAllocated() && !FForm->Destroying()) {
            SetWindowRgn(FForm->Handle(), nullptr, TRUE);
            RedrawWindow(FForm->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        }
    }
    TsSkinManager::ProviderDestroyed(this);
}

rd::TPoint TsSkinProvider::ClientOffset() const {
    const TFrameGeometry g = Geometry();
    return {g.OffsetX, g.OffsetY};
}

bool TsSkinProvider::FrameSkinned() const {
    if (!DrawNonClientArea || !FCommonData->Skinned(true)) return false;
    const TSkinModel* model = FCommonData->ActiveModel();
    return model && model->IsValidSkinIndex(FTitleSkinIndex >= 0 ? FTitleSkinIndex : model->GetSkinIndex(L"FORMTITLE"));
}

void TsSkinProvider::CallOld(tk::TMessage& m) {
    if (OldWndProc) OldWndProc(m);
}

// ---- The window procedure ----

void TsSkinProvider::NewWndProc(tk::TMessage& m) {
    if (m.Msg == SM_SKINCMD && HandleSkinCmd(m)) return;
    if (FForm->Destroying() || !FForm->HandleAllocated() || !FrameSkinned()) {
        CallOld(m);
        return;
    }
    switch (m.Msg) {
        case WM_NCPAINT:
            PaintFrame();
            m.Result = 0;
            return;
        case WM_NCACTIVATE: OnNcActivate(m); return;
        case WM_NCHITTEST: m.Result = HitTest(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)); return;
        case WM_NCMOUSEMOVE: OnNcMouseMove(m); return;
        case WM_NCMOUSELEAVE: {
            FTrackingLeave = false;
            if (CursorOverHotButton()) {
                // A leave reported while the cursor is still on the button (a fade's overlay
                // appearing under it): the fade itself watches for the real leave.
                m.Result = 0;
                return;
            }
            int changed[2];
            FButtons.Leave(changed);
            RepaintChanged(changed);
            CallOld(m);
            return;
        }
        case WM_NCLBUTTONDOWN: case WM_NCLBUTTONDBLCLK: OnNcLButtonDown(m); return;
        case WM_NCLBUTTONUP: {
            RECT wr;
            GetWindowRect(FForm->Handle(), &wr);
            OnButtonUp(m, OwnHitTest(GET_X_LPARAM(m.LParam) - wr.left, GET_Y_LPARAM(m.LParam) - wr.top));
            return;
        }
        case WM_LBUTTONUP:
            if (FButtons.Held()) {
                POINT p;
                RECT wr;
                GetCursorPos(&p);
                GetWindowRect(FForm->Handle(), &wr);
                tk::TMessage up = m;
                OnButtonUp(up, OwnHitTest(p.x - wr.left, p.y - wr.top));
            }
            break;
        case WM_NCRBUTTONDOWN: case WM_NCRBUTTONUP:
            if (OnNcRightButton(m)) return;
            break;
        case WM_CONTEXTMENU:
            if (m.LParam != -1) {
                const int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
                const LRESULT code = HitTest(x, y);
                if (code == htCaption || code == htSysMenu) {
                    DropSysMenu(x, y);
                    m.Result = 0;
                    return;
                }
            }
            // The form's own popup menu, shown by the toolkit's default, takes the skin first.
            if (TsSkinManager* manager = FCommonData->SkinManager(); manager && HookControlPopupMenu)
                HookControlPopupMenu(FForm, *manager);
            break;
        case WM_SYSCOMMAND:
            if ((m.WParam & 0xFFF0) == SC_KEYMENU && m.LParam == VK_SPACE) {
                RECT wr;
                GetWindowRect(FForm->Handle(), &wr);
                const TFrameGeometry g = Geometry();
                DropSysMenu(wr.left + g.FrameWidth, wr.top + g.HeaderHeight);
                m.Result = 0;
                return;
            }
            if ((m.WParam & 0xFFF0) == SC_MOUSEMENU) {
                POINT p;
                GetCursorPos(&p);
                DropSysMenu(p.x, p.y);
                m.Result = 0;
                return;
            }
            break;
        case kSysMenuAtCursor: {
            POINT p;
            GetCursorPos(&p);
            DropSysMenu(p.x, p.y);
            m.Result = 0;
            return;
        }
        case WM_SETTEXT: case WM_SETICON: case WM_STYLECHANGED:
            // The platform draws its own caption for these; the skinned one goes back over it.
            CallOld(m);
            FIconKnown = FIconKnown && m.Msg != WM_SETICON;
            FCommonData->BGChanged = true;
            RgnChanged = RgnChanged || m.Msg == WM_STYLECHANGED;
            InvalidateFrame(true);
            return;
        case WM_SIZE:
            RgnChanged = true;
            FCommonData->BGChanged = true;
            break;
        case WM_ERASEBKGND:
            if (!DrawClientArea) break;
            m.Result = 1;
            return;
        case WM_PAINT:
            if (!DrawClientArea) break;
            OnPaint(m);
            return;
        case WM_ENTERIDLE:
            m.Result = 0;
            return;
        case WM_TIMER:
            if (m.WParam != kIconMenuTimer) break;
            KillTimer(FForm->Handle(), kIconMenuTimer);
            DropSysMenuAtIcon();
            m.Result = 0;
            return;
        default: break;
    }
    CallOld(m);
}

bool TsSkinProvider::HandleSkinCmd(tk::TMessage& m) {
    TsScrollWndData& d = *FCommonData;
    switch (SkinCmdOf(m.WParam)) {
        case SC_GETPROVIDER:
            m.Result = reinterpret_cast<LRESULT>(this);
            return true;
        case SC_GETCLIENTOFFSET: {
            const rd::TPoint p = ClientOffset();
            m.Result = MAKELONG(p.X, p.Y);
            return true;
        }
        case SC_PREPARECACHE:
            if (FrameSkinned() && FForm->HandleAllocated()) PrepareCache();
            else d.BGChanged = false;
            return true;
        case SC_GETBG: {
            HandleSkinCommand(m, d);
            auto* request = reinterpret_cast<TacBgRequest*>(m.LParam);
            if (!request || request->Bitmap != d.FCacheBmp.get() || !request->Bitmap) return true;
            if (request->BgKind == bgBitmap) {
                const rd::TPoint offset = ClientOffset();
                request->Offset.X += offset.X;
                request->Offset.Y += offset.Y;
            } else {
                // A plain client area: the frame's border strips are no child's business.
                request->Bitmap = nullptr;
                request->BorderInsets = {};
            }
            return true;
        }
        case SC_NEWSKIN: case SC_REFRESH: {
            const bool handled = HandleSkinCommand(m, d);
            if (m.LParam != reinterpret_cast<LPARAM>(d.SkinManager())) return handled;
            for (TsCaptionButton* b : {&FButtons.Close, &FButtons.Max, &FButtons.Min, &FButtons.Help}) b->Timer.reset();
            LookUpSections();
            d.BGChanged = true;
            RgnChanged = true;
            // Not only while visible: the manager switches a form's drawing off (and with it the
            // visible style) while it announces a skin.
            if (FForm->HandleAllocated() && !FrameSkinned()) SetWindowRgn(FForm->Handle(), nullptr, FALSE);
            if (FForm->HandleAllocated() && IsWindowVisible(FForm->Handle())) {
                RedrawWindow(FForm->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
            }
            return handled;
        }
        case SC_REMOVESKIN: {
            const bool handled = HandleSkinCommand(m, d);
            for (TsCaptionButton* b : {&FButtons.Close, &FButtons.Max, &FButtons.Min, &FButtons.Help}) b->Timer.reset();
            SetTransitionsDisabled(FForm->HandleAllocated() ? FForm->Handle() : nullptr, false);
            if (FForm->HandleAllocated()) {
                SetWindowRgn(FForm->Handle(), nullptr, FALSE);
                RedrawWindow(FForm->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
            }
            d.EmptyCache();
            return handled;
        }
        default: return HandleSkinCommand(m, d);
    }
}

// ---- Preparing ----

void TsSkinProvider::LookUpSections() {
    const TSkinModel* model = FCommonData->ActiveModel();
    FTitleSkinIndex = model ? model->GetSkinIndex(L"FORMTITLE") : -1;
    FCaptionSkinIndex = model ? model->GetSkinIndex(L"CAPTION") : -1;
    const bool maximized = FForm->HandleAllocated() && IsZoomed(FForm->Handle());
    const bool iconic = FForm->HandleAllocated() && IsIconic(FForm->Handle());
    FButtons.AssignMasks(model, ButtonVisibility(), maximized, iconic);
}

void TsSkinProvider::Prepare() {
    RTInit = false;
    if (!FForm->HandleAllocated()) return;
    FCommonData->UpdateIndexes(true);
    LookUpSections();
    if (!FSystemMenu) FSystemMenu = std::make_unique<TsSystemMenu>(FForm->Handle());
    SetTransitionsDisabled(FForm->Handle(), DrawNonClientArea);
}

TButtonVisibility TsSkinProvider::ButtonVisibility() const {
    TButtonVisibility v;
    if (!FForm->HandleAllocated()) return v;
    HWND h = FForm->Handle();
    const LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
    const LONG_PTR exStyle = GetWindowLongPtrW(h, GWL_EXSTYLE);
    if (!(style & WS_SYSMENU)) return v;
    using tk::TFormBorderStyle;
    const TFormBorderStyle bs = FForm->BorderStyle();
    v.BigButtons = bs == TFormBorderStyle::bsSingle || bs == TFormBorderStyle::bsSizeable;
    HMENU own = GetSystemMenu(h, FALSE);
    v.Close = own && GetMenuState(own, SC_CLOSE, MF_BYCOMMAND) != UINT(-1);
    const bool iconic = IsIconic(h) != FALSE;
    const bool mainForm = tk::Application && tk::Application->MainForm() == FForm;
    v.Max = (iconic && !mainForm) || (v.BigButtons && (style & WS_MAXIMIZEBOX));
    v.Min = iconic || (v.BigButtons && (style & WS_MINIMIZEBOX));
    v.Help = (exStyle & WS_EX_CONTEXTHELP) != 0;
    return v;
}

void TsSkinProvider::LayoutButtons() {
    const TFrameGeometry g = Geometry();
    TButtonLayoutInput in;
    in.CaptionWidth = CaptionWidth();
    in.FrameWidth = g.FrameWidth;
    in.VCenter = g.VCenter;
    in.SizingFrame = GetSystemMetrics(SM_CXSIZEFRAME);
    in.Maximized = IsZoomed(FForm->Handle()) != FALSE;
    FButtons.Layout(FCommonData->ActiveModel(), ButtonVisibility(), in);
}

// ---- Geometry ----

HICON TsSkinProvider::FormIcon() const {
    if (!FForm->HandleAllocated()) return nullptr;
    if (!FIconKnown) {
        FIcon = LookUpIcon(FForm->Handle());
        FIconKnown = true;
    }
    return FIcon;
}

HICON TsSkinProvider::LookUpIcon(HWND h) {
    if (auto icon = reinterpret_cast<HICON>(SendMessageW(h, WM_GETICON, ICON_SMALL, 0))) return icon;
    if (auto icon = reinterpret_cast<HICON>(SendMessageW(h, WM_GETICON, ICON_BIG, 0))) return icon;
    if (auto icon = reinterpret_cast<HICON>(GetClassLongPtrW(h, GCLP_HICONSM))) return icon;
    if (auto icon = reinterpret_cast<HICON>(GetClassLongPtrW(h, GCLP_HICON))) return icon;
    // The application's icon, from the module the window descriptions come from.
    static HICON appIcon = static_cast<HICON>(
        LoadImageW(tk::ResourceInstance(), L"MAINICON", IMAGE_ICON, 16, 16, LR_SHARED));
    return appIcon;
}

TFrameGeometry TsSkinProvider::Geometry() const {
    TFrameInput in;
    if (!FForm->HandleAllocated()) return {};
    HWND h = FForm->Handle();
    RECT wr, cr;
    GetWindowRect(h, &wr);
    GetClientRect(h, &cr);
    const LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
    const LONG_PTR exStyle = GetWindowLongPtrW(h, GWL_EXSTYLE);
    using tk::TFormBorderStyle;
    const TFormBorderStyle bs = FForm->BorderStyle();
    in.WindowWidth = wr.right - wr.left;
    in.WindowHeight = wr.bottom - wr.top;
    in.ClientWidth = cr.right;
    in.ClientHeight = cr.bottom;
    in.ThickFrame = (style & WS_THICKFRAME) != 0;
    in.BorderStyle = (style & (WS_BORDER | WS_DLGFRAME)) != 0 || (exStyle & WS_EX_DLGMODALFRAME);
    in.FullCaption = (style & WS_CAPTION) == WS_CAPTION;
    in.ToolWindow = bs == TFormBorderStyle::bsToolWindow || bs == TFormBorderStyle::bsSizeToolWin;
    in.Iconic = IsIconic(h) != FALSE;
    in.Maximized = IsZoomed(h) != FALSE;
    in.NoBorderStyle = bs == TFormBorderStyle::bsNone;
    in.ChildWindow = (style & WS_CHILD) != 0;
    in.SizingFrame = GetSystemMetrics(SM_CXSIZEFRAME);
    in.DialogFrame = GetSystemMetrics(SM_CXDLGFRAME);
    in.CaptionMetric = GetSystemMetrics(SM_CYCAPTION);
    in.SmallCaptionMetric = GetSystemMetrics(SM_CYSMCAPTION);
    in.VScrollWidth = (style & WS_VSCROLL) ? GetSystemMetrics(SM_CXVSCROLL) : 0;
    in.HScrollHeight = (style & WS_HSCROLL) ? GetSystemMetrics(SM_CYHSCROLL) : 0;
    const TSkinModel* model = FCommonData->ActiveModel();
    in.LeftMargin = model && model->CommonSkinData ? model->CommonSkinData->BILeftMargin : 0;
    in.IconShown = ShowAppIcon && (style & WS_SYSMENU) && FormIcon() != nullptr;
    return ComputeFrameGeometry(in);
}

int TsSkinProvider::CaptionWidth() const {
    if (!FForm->HandleAllocated()) return 0;
    HWND h = FForm->Handle();
    const bool mainForm = tk::Application && tk::Application->MainForm() == FForm;
    if (IsIconic(h) && !mainForm) return 160;
    RECT wr;
    GetWindowRect(h, &wr);
    return wr.right - wr.left;
}

// ---- Hit testing and the mouse ----

bool TsSkinProvider::ButtonEnabled(int code) const {
    if (!FForm->HandleAllocated()) return false;
    HWND h = FForm->Handle();
    HMENU own = GetSystemMenu(h, FALSE);
    auto enabled = [own](UINT command) {
        const UINT state = own ? GetMenuState(own, command, MF_BYCOMMAND) : UINT(-1);
        return state != UINT(-1) && !(state & (MF_GRAYED | MF_DISABLED));
    };
    switch (code) {
        case htCloseButton: return enabled(SC_CLOSE);
        case htMaxButton: return enabled(SC_MAXIMIZE) || (IsZoomed(h) && enabled(SC_RESTORE));
        case htMinButton: return enabled(SC_MINIMIZE) || IsIconic(h);
        default: return true;
    }
}

rd::TRect TsSkinProvider::GripRect() const {
    if (!GripRightBottom || !FForm->HandleAllocated()) return {};
    HWND h = FForm->Handle();
    const LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
    const TSkinModel* model = FCommonData->ActiveModel();
    if (!(style & WS_THICKFRAME) || IsZoomed(h) || !model) return {};
    const int grip = model->ConstData.GripRightBottom;
    if (!model->IsValidImgIndex(grip)) return {};
    const TsMaskData& mask = model->ma[static_cast<size_t>(grip)];
    const TFrameGeometry g = Geometry();
    RECT cr;
    GetClientRect(h, &cr);
    const int right = g.OffsetX + cr.right, bottom = g.OffsetY + cr.bottom;
    return {right - MaskImageWidth(mask), bottom - MaskImageHeight(mask), right, bottom};
}

void TsSkinProvider::SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& v) {
    if (name == "GripMode") GripRightBottom = reader.Enum(v, {"gmNone", "gmRightBottom"}) == 1;
    else if (name == "ShowAppIcon") ShowAppIcon = reader.Bool(v);
    else if (name == "DrawNonClientArea") DrawNonClientArea = reader.Bool(v);
    else if (name == "DrawClientArea") DrawClientArea = reader.Bool(v);
    else if (name == "UseGlobalColor") UseGlobalColor = reader.Bool(v);
    else if (name == "MakeSkinMenu") MakeSkinMenu = reader.Bool(v);
    else if (!FCommonData->ReadProperty(reader, name, v)) tk::TComponent::SetProperty(reader, name, v);
}

void TsSkinProvider::Loaded() {
    tk::TComponent::Loaded();
    FCommonData->Loaded();
}

int TsSkinProvider::OwnHitTest(int x, int y) {
    if (TsCaptionButton* b = FButtons.At(x, y)) {
        if (b->HitCode == htCloseButton || b->HitCode == htMaxButton || b->HitCode == htMinButton)
            return ButtonEnabled(b->HitCode) ? b->HitCode : int(htCaption);
        return b->HitCode;
    }
    const TFrameGeometry g = Geometry();
    const rd::TRect& icon = g.IconRect;
    if (icon.Right > icon.Left && x >= icon.Left && x < icon.Right && y >= icon.Top && y < icon.Bottom)
        return htSysMenu;
    const rd::TRect grip = GripRect();
    if (x >= grip.Left && x < grip.Right && y >= grip.Top && y < grip.Bottom) return HTBOTTOMRIGHT;
    return 0;
}

LRESULT TsSkinProvider::HitTest(int screenX, int screenY) {
    RECT wr;
    GetWindowRect(FForm->Handle(), &wr);
    if (RTInit) Prepare();
    if (!FButtons.Close.Visible() && !FButtons.Max.Visible() && !FButtons.Min.Visible()) LayoutButtons();
    if (const int own = OwnHitTest(screenX - wr.left, screenY - wr.top)) return own;
    tk::TMessage d{WM_NCHITTEST, 0, MAKELPARAM(screenX, screenY), 0};
    CallOld(d);
    const TFrameGeometry g = Geometry();
    return CleanDefaultHitCode(static_cast<int>(d.Result), g.IconRect.Right > g.IconRect.Left);
}

bool TsSkinProvider::CursorOverHotButton() {
    const int hot = FButtons.CurrentHT();
    if (hot <= 0 || !IsButtonHitCode(hot)) return false;
    POINT p;
    RECT wr;
    GetCursorPos(&p);
    GetWindowRect(FForm->Handle(), &wr);
    return OwnHitTest(p.x - wr.left, p.y - wr.top) == hot;
}

void TsSkinProvider::TrackNonClientLeave() {
    if (FTrackingLeave) return;
    TRACKMOUSEEVENT t{sizeof(t), TME_LEAVE | TME_NONCLIENT, FForm->Handle(), 0};
    FTrackingLeave = TrackMouseEvent(&t) != FALSE;
}

void TsSkinProvider::OnNcMouseMove(tk::TMessage& m) {
    TrackNonClientLeave();
    if (TsSkinManager* manager = FCommonData->SkinManager()) manager->SetActiveControl(FForm->Handle());
    RECT wr;
    GetWindowRect(FForm->Handle(), &wr);
    const int code = OwnHitTest(GET_X_LPARAM(m.LParam) - wr.left, GET_Y_LPARAM(m.LParam) - wr.top);
    int changed[2];
    if (IsButtonHitCode(code)) {
        FButtons.SetHot(code, changed);
        RepaintChanged(changed);
        m.Result = 0;
        return;
    }
    FButtons.SetHot(0, changed);
    RepaintChanged(changed);
    CallOld(m);
}

void TsSkinProvider::OnNcLButtonDown(tk::TMessage& m) {
    const int code = static_cast<int>(m.WParam);
    int changed[2];
    if (IsButtonHitCode(code)) {
        FButtons.SetPressed(code, ButtonEnabled(code), changed);
        RepaintChanged(changed);
        m.Result = 0;
        return;
    }
    if (code == htSysMenu) {
        FButtons.SetHot(0, changed);
        RepaintChanged(changed);
        if (m.Msg == WM_NCLBUTTONDOWN) {
            // The platform's menu drops only after a short pause, as it does from a system icon;
            // a skinned popup menu drops at once.
            const TsSkinManager* manager = FCommonData->SkinManager();
            if (manager && manager->SkinnedPopups) DropSysMenuAtIcon();
            else SetTimer(FForm->Handle(), kIconMenuTimer, kIconMenuPauseMs, nullptr);
        }
        m.Result = 0;
        return;
    }
    CallOld(m);
}

void TsSkinProvider::DropSysMenuAtIcon() {
    RECT wr;
    GetWindowRect(FForm->Handle(), &wr);
    const TFrameGeometry g = Geometry();
    DropSysMenu(wr.left + g.IconRect.Left, wr.top + g.IconRect.Bottom);
}

void TsSkinProvider::OnButtonUp(tk::TMessage& m, int code) {
    const bool held = FButtons.Held();
    int changed[2];
    const int action = FButtons.Release(code, changed);
    for (int c : changed)
        if (c > 0) RepaintButton(c, !held);
    if (!held) {
        if (m.Msg == WM_NCLBUTTONUP) CallOld(m);
        return;
    }
    m.Result = 0;
    if (action) PerformButton(action);
}

void TsSkinProvider::PerformButton(int code) {
    HWND h = FForm->Handle();
    switch (code) {
        case htCloseButton:
            SendMessageW(h, WM_SYSCOMMAND, SC_CLOSE, 0);
            if (!FForm->Destroying() && FForm->HandleAllocated() && IsWindowVisible(h)) FCommonData->BGChanged = true;
            break;
        case htMinButton: SendMessageW(h, WM_SYSCOMMAND, IsIconic(h) ? SC_RESTORE : SC_MINIMIZE, 0); break;
        case htMaxButton: SendMessageW(h, WM_SYSCOMMAND, IsZoomed(h) ? SC_RESTORE : SC_MAXIMIZE, 0); break;
        case htHelpButton: SendMessageW(h, WM_SYSCOMMAND, SC_CONTEXTHELP, 0); break;
        default: break;
    }
}

bool TsSkinProvider::OnNcRightButton(tk::TMessage& m) {
    const int code = static_cast<int>(m.WParam);
    if (code != htCaption && code != htSysMenu) return false;
    if (m.Msg == WM_NCRBUTTONUP) DropSysMenu(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
    m.Result = 0;
    return true;
}

void TsSkinProvider::DropSysMenu(int x, int y) {
    if (!FForm->HandleAllocated()) return;
    if (!FSystemMenu) FSystemMenu = std::make_unique<TsSystemMenu>(FForm->Handle());
    int changed[2];
    FButtons.SetHot(0, changed);
    RepaintChanged(changed);
    FSystemMenu->DropDown(x, y);
}

// ---- Activation ----

void TsSkinProvider::OnNcActivate(tk::TMessage& m) {
    HWND h = FForm->Handle();
    FFormActive = m.WParam != 0;
    FCommonData->BGChanged = true;
    // The cover hides whatever the system paints into the frame while the state changes; a
    // form that is only now being shown has nothing on screen to hide yet.
    const bool composition = CompositionEnabled();
    const bool shown = IsWindowVisible(h) && !RTInit;
    const bool covered = (composition || shown) && PrepareCache();
    if (covered) {
        if (!CaptForm) CaptForm = std::make_unique<TacCoverWindow>(h, [this](HDC dc) { PaintFrameTo(dc); });
        CaptForm->Cover();
    }
    const bool lock = composition && !InAero && shown;
    if (lock) tk::LockRedraw(h, true);
    // -1: the platform changes the active state without painting its own caption.
    tk::TMessage d{WM_NCACTIVATE, m.WParam, -1, 0};
    CallOld(d);
    if (lock) {
        tk::LockRedraw(h, false);
        RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
    m.Result = d.Result ? d.Result : TRUE;
    PaintFrame();
    if (covered) CaptForm->Uncover();
}

}  // namespace sk
