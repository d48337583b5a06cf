// Takes over the window procedure of a window that some object decorates without owning it:
// a toolkit control's message handler, or the procedure of a raw window of any class. The
// messages arrive at one handler, which passes on what it does not handle; the previous
// procedure is put back on Detach and, by itself, once the window has seen WM_NCDESTROY.
#pragma once
#include <functional>

#include "toolkit/Controls.h"

namespace tk {

class TWindowSubclass {
public:
    using THandler = std::function<void(TMessage&)>;

    TWindowSubclass() = default;
    ~TWindowSubclass();
    TWindowSubclass(const TWindowSubclass&) = delete;
    TWindowSubclass& operator=(const TWindowSubclass&) = delete;

    // Routes the window's messages to handler; false when wnd is not a window or when this
    // object already holds one.
    bool Attach(HWND wnd, THandler handler);
    // Puts the previous procedure back; nothing when not attached.
    void Detach();
    // Hands a message to the procedure the window had before Attach.
    void CallPrevious(TMessage& m);
    HWND Handle() const { return FWnd; }
    bool Attached() const { return FWnd != nullptr; }
    // The toolkit control of the window, or null for a raw window.
    TWinControl* Control() const { return FControl; }

private:
    static LRESULT CALLBACK RawProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
    void Deliver(TMessage& m);

    HWND FWnd = nullptr;
    TWinControl* FControl = nullptr;
    TWndMethod FOldMethod;       // a toolkit control's previous handler (empty: its WndProc)
    WNDPROC FOldProc = nullptr;  // a raw window's previous procedure
    THandler FHandler;
    bool* FGoneFlag = nullptr;  // set when the object is freed while delivering
};

}  // namespace tk
