#include "forms/sCoverWindow.h"

namespace sk {

namespace {

constexpr wchar_t kCoverClass[] = L"KalvetraFrameCover";

bool RegisterCoverClass(WNDPROC proc) {
    static const bool registered = [proc] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kCoverClass;
        wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
        return RegisterClassExW(&wc) != 0;
    }();
    return registered;
}

// The form's client rectangle in its window coordinates.
RECT ClientInWindow(HWND form) {
    RECT wr, cr;
    GetWindowRect(form, &wr);
    GetClientRect(form, &cr);
    POINT origin{0, 0};
    ClientToScreen(form, &origin);
    OffsetRect(&cr, origin.x - wr.left, origin.y - wr.top);
    return cr;
}

}  // namespace

const wchar_t* TacCoverWindow::ClassName() { return kCoverClass; }

TacCoverWindow::TacCoverWindow(HWND form, std::function<void(HDC)> paint) : FForm(form), FPaint(std::move(paint)) {}

TacCoverWindow::~TacCoverWindow() {
    if (!FWindow) return;
    SetWindowLongPtrW(FWindow, GWLP_USERDATA, 0);
    DestroyWindow(FWindow);
}

bool TacCoverWindow::MakeWindow() {
    if (FWindow) return true;
    if (!FForm || !RegisterCoverClass(CoverProc)) return false;
    FWindow = CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, kCoverClass, L"", WS_POPUP, 0, 0, 0, 0, FForm,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
    if (FWindow) SetWindowLongPtrW(FWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return FWindow != nullptr;
}

void TacCoverWindow::Cover() {
    RECT wr;
    if (!GetWindowRect(FForm, &wr) || !MakeWindow()) return;
    const int w = wr.right - wr.left, h = wr.bottom - wr.top;
    if (w <= 0 || h <= 0) return;
    const bool topmost = (GetWindowLongPtrW(FForm, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    if (topmost != ((GetWindowLongPtrW(FWindow, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0))
        SetWindowPos(FWindow, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ApplyRegion(w, h);
    // Directly above the form and below everything that was above it (a window being activated
    // at this moment among them), shown without taking the activation.
    HWND above = GetWindow(FForm, GW_HWNDPREV);
    if (above == FWindow) above = GetWindow(FWindow, GW_HWNDPREV);
    SetWindowPos(FWindow, above ? above : HWND_TOP, wr.left, wr.top, w, h, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    RedrawWindow(FWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void TacCoverWindow::Uncover() {
    if (FWindow && IsWindowVisible(FWindow))
        SetWindowPos(FWindow, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
}

void TacCoverWindow::ApplyRegion(int width, int height) {
    // The form's own outline (its cut corners stay cut), less the client area.
    HRGN outline = CreateRectRgn(0, 0, width, height);
    if (GetWindowRgn(FForm, outline) == ERROR) SetRectRgn(outline, 0, 0, width, height);
    const RECT cr = ClientInWindow(FForm);
    HRGN client = CreateRectRgn(cr.left, cr.top, cr.right, cr.bottom);
    CombineRgn(outline, outline, client, RGN_DIFF);
    DeleteObject(client);
    if (!SetWindowRgn(FWindow, outline, FALSE)) DeleteObject(outline);  // owned by the window once set
}

LRESULT CALLBACK TacCoverWindow::CoverProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<TacCoverWindow*>(GetWindowLongPtrW(h, GWLP_USERDATA));
    switch (msg) {
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(h, &ps);
            if (self && self->FPaint) self->FPaint(dc);
            EndPaint(h, &ps);
            return 0;
        }
        case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
        case WM_NCHITTEST: return HTTRANSPARENT;
        case WM_NCDESTROY:
            if (self) self->FWindow = nullptr;  // gone with its owner
            return DefWindowProcW(h, msg, wp, lp);
        default: return DefWindowProcW(h, msg, wp, lp);
    }
}

}  // namespace sk
