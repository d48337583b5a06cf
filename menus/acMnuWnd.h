// The wrapper of a menu window ("#32768"): made by the skin manager's window hook when the
// window is created, it subclasses the window so that, while skinned items are being measured,
// its background, frame and opacity follow the skin: hidden (opacity 0) from the moment it is
// shown until its first frame paint, which always brings it back.
#pragma once
#include <windows.h>

#include "render/sGraphUtils.h"
#include "skinframework/sSkinCmd.h"
#include "toolkit/Graphics.h"

namespace sk {

class TsSkinableMenus;

// The menu window's own sub-commands of the skin message: the answer to "was the region
// applied while visible" (a number of its own, apart from the framework's SC_SETUPDATING), and
// the notice that the region has just been applied.
constexpr WORD kMnuGetRgnChanged = 90;
constexpr WORD kMnuSetRgnChanged = 14;

class TacMnuWnd {
public:
    // Subclasses the window and adds the wrapper to the list; nothing when it has one.
    static TacMnuWnd* Attach(HWND wnd, TsSkinableMenus* menus);
    // The wrapper of the window, or null.
    static TacMnuWnd* Find(HWND wnd);
    // The wrappers alive.
    static int Count();

    HWND Handle() const { return FWnd; }
    bool Shown = false;       // the window has had its first frame paint
    bool RgnChanged = false;  // the region was applied while the window was visible
    bool Destroyed = false;
    // True from the show until the first frame paint: the window is layered at opacity 0.
    bool Hidden() const { return FHidden; }

    ~TacMnuWnd();

private:
    TacMnuWnd(HWND wnd, TsSkinableMenus* menus);
    static LRESULT CALLBACK WndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT CallOld(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT OnSkinCommand(UINT msg, WPARAM wp, LPARAM lp);
    void OnDestroy();
    LRESULT OnEraseBackground(HDC dc);
    void OnPositionChanging(const WINDOWPOS* pos);
    void OnFramePaint();
    void ApplyOpacity();
    // The "MAINMENU" face at the window's size, rebuilt when stale.
    void PrepareCache();
    tk::TBitmap* Picture();
    void Unsubclass();

    HWND FWnd;
    TsSkinableMenus* FMenus;
    WNDPROC FOldProc = nullptr;
    tk::TBitmap FCache;
    bool FCacheValid = false;
    bool FHidden = false;
    bool FInPosChanging = false;
};

}  // namespace sk
