#include "toolkit/Forms.h"

#include <algorithm>

#include "toolkit/DescriptionReader.h"
#include "toolkit/Redraw.h"
#include "toolkit/Streams.h"

namespace tk {

TForm::TForm(TComponent* owner) : TWinControl(owner) {
    FColor = clBtnFace;
    Font().Name = L"MS Sans Serif";
    Font().Height = -11;
    EnsureScreen().AddForm(this);
}

TForm::~TForm() {
    MarkDestroying();  // messages sent while the window goes away must see it
    if (Application) Application->CancelRelease(this);
    EnsureScreen().RemoveForm(this);
    // Free the owned controls while the window still exists, then the window.
    while (ComponentCount() > 0) delete Components(ComponentCount() - 1);
    DestroyHandle();
}

void TForm::Release() {
    if (!Application) throw EInvalidOperation(L"A form can only be released while the application exists");
    Application->QueueRelease(this);
}

void TForm::SetBorderStyle(TFormBorderStyle style) {
    if (style == FBorderStyle) return;
    FBorderStyle = style;
    ApplyStyles();
}

void TForm::SetShowInTaskbar(bool v) {
    if (v == FShowInTaskbar) return;
    FShowInTaskbar = v;
    ApplyStyles();
}

void TForm::ApplyStyles() {
    if (!HandleAllocated()) return;
    TCreateParams p;
    CreateParams(p);
    HWND h = Handle();
    const LONG_PTR kept = WS_VISIBLE | WS_DISABLED | WS_MINIMIZE | WS_MAXIMIZE;
    LONG_PTR style = static_cast<LONG_PTR>(p.Style) | (GetWindowLongPtrW(h, GWL_STYLE) & kept);
    SetWindowLongPtrW(h, GWL_STYLE, style);
    SetWindowLongPtrW(h, GWL_EXSTYLE, static_cast<LONG_PTR>(p.ExStyle));
    SetWindowLongPtrW(h, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(p.WndParent));
    ApplyFrameChange(h);
}

void TForm::LoadDescription(const std::wstring& resourceName, const TMethodTable& methods,
                            const std::function<void()>& afterLoad) {
    TResourceStream res(ResourceInstance(), resourceName, MAKEINTRESOURCEW(10));
    TReader reader(res.Memory(), static_cast<size_t>(res.Size()));
    reader.SetMethods(&methods);
    reader.ReadRoot(*this);
    if (afterLoad) afterLoad();
    DoCreate();
}

void TForm::DoCreate() {
    if (OnCreate) OnCreate(this);
}

void TForm::SetClientSize(int width, int height) {
    FClientWidth = width;
    FClientHeight = height;
    TCreateParams p;
    CreateParams(p);
    RECT r{0, 0, width, height};
    AdjustWindowRectEx(&r, p.Style, FALSE, p.ExStyle);
    TWinControl::SetBounds(Left(), Top(), r.right - r.left, r.bottom - r.top);
}

void TForm::CreateParams(TCreateParams& p) {
    p.ClassName.clear();
    p.WndParent = nullptr;
    p.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    p.ExStyle = 0;
    switch (FBorderStyle) {
        case TFormBorderStyle::bsNone: p.Style |= WS_POPUP; break;
        case TFormBorderStyle::bsDialog:
            p.Style |= WS_POPUP | WS_CAPTION;
            p.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
            break;
        case TFormBorderStyle::bsSingle: p.Style |= WS_CAPTION | WS_BORDER; break;
        default: p.Style |= WS_CAPTION | WS_THICKFRAME; break;
    }
    if (FSystemMenu) p.Style |= WS_SYSMENU;
    if (FBorderStyle != TFormBorderStyle::bsDialog) {
        if (FMinimize) p.Style |= WS_MINIMIZEBOX;
        if (FMaximize) p.Style |= WS_MAXIMIZEBOX;
    }
    if (FAlphaBlend) p.ExStyle |= WS_EX_LAYERED;
    if (!FShowInTaskbar) {
        // An unowned window gets a taskbar button whatever its styles; an owned one does not.
        if (Application) p.WndParent = Application->Handle();
    } else if (!Owner() || Owner() == Application) {
        p.ExStyle |= WS_EX_APPWINDOW;
    }
    p.ExStyle |= FExtraExStyle;
}

void TForm::InitializeWnd() {
    if (FAlphaBlend) SetLayeredWindowAttributes(Handle(), 0, static_cast<BYTE>(FAlphaBlendValue), LWA_ALPHA);
    TWinControl::InitializeWnd();
}

void TForm::CentreOnScreen() {
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    int w = Width(), h = Height();
    int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    if (x < work.left) x = work.left;
    if (y < work.top) y = work.top;
    TWinControl::SetBounds(x, y, w, h);
}

HWND TForm::PrepareShow() {
    // The designed client size is the one the children were placed for, whatever size the
    // window had before it was first shown.
    if (!HandleAllocated() || !IsWindowVisible(Handle())) ForgetAnchorBase();
    if (FClientWidth && FClientHeight) SetClientSize(FClientWidth, FClientHeight);
    if (FPosition == TPosition::poScreenCenter || FPosition == TPosition::poDesktopCenter) CentreOnScreen();
    return Handle();
}

void TForm::Show() {
    HWND h = PrepareShow();
    bool wasShowing = Showing();
    ShowWindow(h, SW_SHOWNORMAL);
    if (!wasShowing) ShowingChanged(true);
    UpdateWindow(h);
    // Focus the first control in tab order that can take it.
    HWND first = GetNextDlgTabItem(h, nullptr, FALSE);
    if (first) ::SetFocus(first);
}

void TForm::ShowNoActivate() {
    HWND h = PrepareShow();
    bool wasShowing = Showing();
    ShowWindow(h, SW_SHOWNOACTIVATE);
    if (!wasShowing) ShowingChanged(true);
    UpdateWindow(h);
}

void TForm::Close() {
    if (Application && Application->MainForm() == this) Application->Terminate();
    else if (HandleAllocated()) {
        bool wasShowing = Showing();
        ShowWindow(Handle(), SW_HIDE);
        if (wasShowing) ShowingChanged(false);
    }
}

void TForm::PaintWindow(HDC dc, const RECT& clip) {
    // Paint into a buffer first so that the graphic controls never flicker.
    RECT client;
    GetClientRect(Handle(), &client);
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP bmp = CreateCompatibleBitmap(dc, client.right, client.bottom);
    HGDIOBJ old = SelectObject(mem, bmp);
    PaintBackground(mem, client);
    PaintGraphicControls(mem, clip);
    BitBlt(dc, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, mem, clip.left, clip.top, SRCCOPY);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
}

void TForm::WndProc(TMessage& m) {
    switch (m.Msg) {
        case WM_CLOSE:
            Close();
            return;
        case WM_QUERYENDSESSION:
            if (!Parent() && Application) Application->SetLogonEnding(true);
            break;
        case WM_GETMINMAXINFO:
            TWinControl::WndProc(m);
            LimitTracking(*reinterpret_cast<MINMAXINFO*>(m.LParam));
            return;
        case WM_ENDSESSION:
            if (!m.WParam && !Parent() && Application) Application->SetLogonEnding(false);
            break;
        case WM_CTLCOLORSTATIC: case WM_CTLCOLORBTN:
            // Check boxes and other static-looking children sit on the form's colour.
            if (TWinControl* child = FromHandle(reinterpret_cast<HWND>(m.LParam)); child && child->Color() == Color()) {
                m.Result = CtlColor(reinterpret_cast<HDC>(m.WParam));
                SetTextColor(reinterpret_cast<HDC>(m.WParam), ColorToRGB(child->Font().Color));
                return;
            }
            break;
        default:
            break;
    }
    TWinControl::WndProc(m);
}

void TForm::LimitTracking(MINMAXINFO& info) {
    if (!HandleAllocated()) return;
    RECT frame{0, 0, FMinClientWidth, FMinClientHeight};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_EXSTYLE)));
    if (FMinClientWidth > 0) info.ptMinTrackSize.x = std::max<LONG>(info.ptMinTrackSize.x, frame.right - frame.left);
    if (FMinClientHeight > 0) info.ptMinTrackSize.y = std::max<LONG>(info.ptMinTrackSize.y, frame.bottom - frame.top);
    info.ptMinTrackSize.x = std::max<LONG>(info.ptMinTrackSize.x, FMinWidth);
    info.ptMinTrackSize.y = std::max<LONG>(info.ptMinTrackSize.y, FMinHeight);
}

void TForm::SetProperty(TReader& reader, const std::string& name, const TValue& v) {
    if (name == "ClientWidth") FClientWidth = reader.Int(v);
    else if (name == "Constraints.MinWidth") FMinWidth = reader.Int(v);
    else if (name == "Constraints.MinHeight") FMinHeight = reader.Int(v);
    else if (name == "ClientHeight") FClientHeight = reader.Int(v);
    else if (name == "BorderStyle") {
        static const std::vector<std::string> names = {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow",
                                                       "bsSizeToolWin"};
        FBorderStyle = static_cast<TFormBorderStyle>(reader.Enum(v, names));
    } else if (name == "Position") {
        static const std::vector<std::string> names = {"poDesigned", "poScreenCenter", "poDesktopCenter",
                                                       "poMainFormCenter"};
        FPosition = static_cast<TPosition>(reader.Enum(v, names));
    } else if (name == "BorderIcons") {
        auto icons = reader.Set(v);
        auto has = [&](const char* s) { return std::find(icons.begin(), icons.end(), s) != icons.end(); };
        FSystemMenu = has("biSystemMenu");
        FMinimize = has("biMinimize");
        FMaximize = has("biMaximize");
    } else if (name == "AlphaBlend") FAlphaBlend = reader.Bool(v);
    else if (name == "AlphaBlendValue") FAlphaBlendValue = reader.Int(v);
    else if (name == "PixelsPerInch") FPixelsPerInch = reader.Int(v);
    else if (name == "TextHeight") FTextHeight = reader.Int(v);
    else if (name == "OnCreate") OnCreate = reader.NotifyEvent(v);
    else if (name == "OldCreateOrder" || name == "Scaled" || name == "Visible") reader.Skip(v);
    else TWinControl::SetProperty(reader, name, v);
}

}  // namespace tk
