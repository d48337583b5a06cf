#include "toolkit/WindowSubclass.h"

#include "toolkit/Application.h"

namespace tk {

namespace {
// The property that leads a raw window's procedure back to its subclass object.
constexpr wchar_t kSubclassProp[] = L"KalvetraSubclass";
}  // namespace

TWindowSubclass::~TWindowSubclass() {
    if (FGoneFlag) *FGoneFlag = true;
    Detach();
}

bool TWindowSubclass::Attach(HWND wnd, THandler handler) {
    if (FWnd || !wnd || !IsWindow(wnd) || !handler) return false;
    FHandler = std::move(handler);
    FWnd = wnd;
    FControl = TWinControl::FromHandle(wnd);
    if (FControl) {
        FOldMethod = FControl->WindowProc;
        FControl->WindowProc = [this](TMessage& m) { Deliver(m); };
        return true;
    }
    SetPropW(wnd, kSubclassProp, this);
    FOldProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RawProc)));
    return true;
}

void TWindowSubclass::Detach() {
    if (!FWnd) return;
    if (FControl) {
        FControl->WindowProc = FOldMethod;
    } else if (IsWindow(FWnd)) {
        // Only a procedure that is still ours is replaced; a later subclass keeps its own.
        if (GetWindowLongPtrW(FWnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(RawProc))
            SetWindowLongPtrW(FWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FOldProc));
        RemovePropW(FWnd, kSubclassProp);
    }
    FWnd = nullptr;
    FControl = nullptr;
    FOldMethod = nullptr;
    FOldProc = nullptr;
}

void TWindowSubclass::CallPrevious(TMessage& m) {
    if (FControl) {
        if (FOldMethod) FOldMethod(m);
        else FControl->WndProc(m);
        return;
    }
    if (!FWnd) return;
    if (IsToolkitMessage(m.Msg)) return;  // never meant for a system window procedure
    m.Result = FOldProc ? CallWindowProcW(FOldProc, FWnd, m.Msg, m.WParam, m.LParam)
                        : DefWindowProcW(FWnd, m.Msg, m.WParam, m.LParam);
}

void TWindowSubclass::Deliver(TMessage& m) {
    // The handler may free this object (and its owner); nothing here is touched after that.
    bool gone = false;
    bool* outer = FGoneFlag;
    FGoneFlag = &gone;
    FHandler(m);
    if (gone) {
        if (outer) *outer = true;
        return;
    }
    FGoneFlag = outer;
    if (m.Msg == WM_NCDESTROY) Detach();
}

LRESULT CALLBACK TWindowSubclass::RawProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = static_cast<TWindowSubclass*>(GetPropW(wnd, kSubclassProp));
    if (!self) return DefWindowProcW(wnd, msg, wp, lp);
    const WNDPROC previous = self->FOldProc;
    TMessage m{msg, wp, lp, 0};
    try {
        self->Deliver(m);
    } catch (...) {
        if (Application) Application->HandleCurrentException();
    }
    // The window is gone: whatever happened to the object, the window keeps no pointer to it.
    if (msg == WM_NCDESTROY && GetWindowLongPtrW(wnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(RawProc)) {
        SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous ? previous : DefWindowProcW));
        RemovePropW(wnd, kSubclassProp);
    }
    return m.Result;
}

}  // namespace tk
