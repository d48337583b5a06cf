#include "toolkit/Redraw.h"

namespace tk {

void RedrawAll(HWND h, bool now) {
    UINT flags = RDW_FRAME | RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN;
    if (now) flags |= RDW_UPDATENOW | RDW_ERASENOW;
    RedrawWindow(h, nullptr, nullptr, flags);
}

void RedrawFrame(HWND h) {
    // The frame as a region in client coordinates: the window rectangle less the client
    // area. RDW_FRAME sends WM_NCPAINT for it; the client area stays valid.
    RECT window, client;
    if (!GetWindowRect(h, &window) || !GetClientRect(h, &client)) return;
    POINT origin{0, 0};
    ClientToScreen(h, &origin);
    OffsetRect(&window, -origin.x, -origin.y);
    HRGN frame = CreateRectRgnIndirect(&window);
    HRGN inner = CreateRectRgnIndirect(&client);
    CombineRgn(frame, frame, inner, RGN_DIFF);
    RedrawWindow(h, nullptr, frame, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
    DeleteObject(inner);
    DeleteObject(frame);
}

void LockRedraw(HWND h, bool lock) { SendMessageW(h, WM_SETREDRAW, lock ? FALSE : TRUE, 0); }

void ApplyFrameChange(HWND h) {
    SetWindowPos(h, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS |
                     SWP_NOOWNERZORDER);
}

}  // namespace tk
