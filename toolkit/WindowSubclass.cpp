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
        FLink = std::make_shared<TLink>(TLink{this, FControl->WindowProc, FControl});
        FControl->WindowProc = TForwarder{FLink};
        return true;
    }
    SetPropW(wnd, kSubclassProp, this);
    FOldProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RawProc)));
    return true;
}

void TWindowSubclass::Detach() {
    if (!FWnd) return;
    if (FControl) {
        // Unlinked only while this is the outermost handler; otherwise the link passes on.
        const TForwarder* top = FControl->WindowProc.target<TForwarder>();
        if (top && top->Link == FLink) FControl->WindowProc = FLink->Previous;
        FLink->Owner = nullptr;
        FLink.reset();
    } else if (IsWindow(FWnd)) {
        // Only a procedure that is still ours is replaced; a later subclass keeps its own.
        if (GetWindowLongPtrW(FWnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(RawProc))
            SetWindowLongPtrW(FWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FOldProc));
        RemovePropW(FWnd, kSubclassProp);
    }
    FWnd = nullptr;
    FControl = nullptr;
    FOldProc = nullptr;
}

void TWindowSubclass::CallPrevious(TMessage& m) {
    if (FControl) {
        if (FLink && FLink->Previous) FLink->Previous(m);
        else FControl->WndProc(m);
        return;
    }
    if (!FWnd) return;
    if (IsToolkitMessage(m.Msg)) return;  // never meant for a system window procedure
    m.Result = FOldProc ? CallWindowProcW(FOldProc, FWnd, m.Msg, m.WParam, m.LParam)
                        : DefWindowProcW(FWnd, m.Msg, m.WParam, m.LParam);
}

void TWindowSubclass::TForwarder::operator()(TMessage& m) const {
    const std::shared_ptr<TLink> link = Link;  // kept alive while the handler runs
    if (link->Owner) link->Owner->Deliver(m);
    else if (link->Previous) link->Previous(m);
    else link->Control->WndProc(m);
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
