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

TacCoverWindow::TacCoverWindow(HWND form, std::function<void(HDC)> paint) : FForm(form), FPaint(std::move(paint)) {
    if (!form || !RegisterCoverClass(CoverProc)) return;
    RECT wr;
    GetWindowRect(form, &wr);
    const int w = wr.right - wr.left, h = wr.bottom - wr.top;
    if (w <= 0 || h <= 0) return;
    HWND above = GetWindow(form, GW_HWNDPREV);  // the cover goes between the form and this
    DWORD exStyle = WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW;
    if (GetWindowLongPtrW(form, GWL_EXSTYLE) & WS_EX_TOPMOST) exStyle |= WS_EX_TOPMOST;
    FWindow = CreateWindowExW(exStyle, kCoverClass, L"", WS_POPUP, wr.left, wr.top, w, h, form, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    if (!FWindow) return;
    SetWindowLongPtrW(FWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ApplyRegion(w, h);
    // Directly above the form and below everything that was above it (a window being activated
    // at this moment among them), shown without taking the activation.
    SetWindowPos(FWindow, above ? above : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    UpdateWindow(FWindow);
}

TacCoverWindow::~TacCoverWindow() {
    if (!FWindow) return;
    SetWindowLongPtrW(FWindow, GWLP_USERDATA, 0);
    DestroyWindow(FWindow);
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
        default: return DefWindowProcW(h, msg, wp, lp);
    }
}

}  // namespace sk
