// Takes over the window procedure of a window that some object decorates without owning it:
// a toolkit control's message handler, or the procedure of a raw window of any class. The
// messages arrive at one handler, which passes on what it does not handle; the previous
// procedure is put back on Detach and, by itself, once the window has seen WM_NCDESTROY.
#pragma once
#include <functional>
#include <memory>

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
    // What a toolkit control's handler calls: this object while attached, afterwards the
    // previous handler (when another handler was put over this one, the link stays in its
    // chain and passes everything on).
    struct TLink {
        TWindowSubclass* Owner;
        TWndMethod Previous;
        TWinControl* Control;
    };
    struct TForwarder {
        std::shared_ptr<TLink> Link;
        void operator()(TMessage& m) const;
    };
    static LRESULT CALLBACK RawProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
    void Deliver(TMessage& m);

    HWND FWnd = nullptr;
    TWinControl* FControl = nullptr;
    std::shared_ptr<TLink> FLink;  // a toolkit control's link (its previous handler inside)
    WNDPROC FOldProc = nullptr;  // a raw window's previous procedure
    THandler FHandler;
    bool* FGoneFlag = nullptr;  // set when the object is freed while delivering
};

}  // namespace tk
