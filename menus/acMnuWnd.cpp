#include "menus/acMnuWnd.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "menus/sSkinMenus.h"
#include "skinpaint/sSectionPaint.h"
#include "toolkit/Application.h"

namespace sk {

namespace {

// Every wrapper made; freed together once no wrapped window is left.
std::vector<std::unique_ptr<TacMnuWnd>>& TacMnuArray() {
    static std::vector<std::unique_ptr<TacMnuWnd>> list;
    return list;
}

bool CompositionEnabled() {
    using TIsEnabled = HRESULT(WINAPI*)(BOOL*);
    static const TIsEnabled isEnabled = [] {
        HMODULE lib = LoadLibraryW(L"DWMAPI.DLL");
        return lib ? reinterpret_cast<TIsEnabled>(reinterpret_cast<void*>(GetProcAddress(lib, "DwmIsCompositionEnabled")))
                   : nullptr;
    }();
    BOOL on = FALSE;
    return isEnabled && SUCCEEDED(isEnabled(&on)) && on;
}

// Where the client area starts inside the window.
POINT ClientOffset(HWND wnd) {
    RECT wr{};
    POINT origin{0, 0};
    if (!GetWindowRect(wnd, &wr) || !ClientToScreen(wnd, &origin)) return POINT{0, 0};
    return POINT{origin.x - wr.left, origin.y - wr.top};
}

void SetLayered(HWND wnd, bool layered) {
    const LONG_PTR ex = GetWindowLongPtrW(wnd, GWL_EXSTYLE);
    const LONG_PTR wanted = layered ? (ex | WS_EX_LAYERED) : (ex & ~LONG_PTR(WS_EX_LAYERED));
    if (wanted != ex) SetWindowLongPtrW(wnd, GWL_EXSTYLE, wanted);
}

}  // namespace

TacMnuWnd::TacMnuWnd(HWND wnd, TsSkinableMenus* menus) : FWnd(wnd), FMenus(menus) {}

TacMnuWnd::~TacMnuWnd() { Unsubclass(); }

TacMnuWnd* TacMnuWnd::Attach(HWND wnd, TsSkinableMenus* menus) {
    if (!wnd || !menus || Find(wnd)) return nullptr;
    std::unique_ptr<TacMnuWnd> wrapper(new TacMnuWnd(wnd, menus));
    wrapper->FOldProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TacMnuWnd::WndProc)));
    if (!wrapper->FOldProc) return nullptr;
    wrapper->RgnChanged = false;
    wrapper->Shown = false;
    TacMnuArray().push_back(std::move(wrapper));
    return TacMnuArray().back().get();
}

TacMnuWnd* TacMnuWnd::Find(HWND wnd) {
    for (auto& w : TacMnuArray())
        if (w->FWnd == wnd && !w->Destroyed) return w.get();
    return nullptr;
}

int TacMnuWnd::Count() { return static_cast<int>(TacMnuArray().size()); }

void TacMnuWnd::Unsubclass() {
    if (!FOldProc) return;
    if (IsWindow(FWnd) &&
        GetWindowLongPtrW(FWnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&TacMnuWnd::WndProc))
        SetWindowLongPtrW(FWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FOldProc));
    FOldProc = nullptr;
}

LRESULT CALLBACK TacMnuWnd::WndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    TacMnuWnd* self = Find(wnd);
    if (!self) return DefWindowProcW(wnd, msg, wp, lp);
    try {
        return self->Handle(msg, wp, lp);
    } catch (...) {
        if (tk::Application) tk::Application->HandleCurrentException();
        return 0;
    }
}

LRESULT TacMnuWnd::CallOld(UINT msg, WPARAM wp, LPARAM lp) {
    return FOldProc ? CallWindowProcW(FOldProc, FWnd, msg, wp, lp) : DefWindowProcW(FWnd, msg, wp, lp);
}

LRESULT TacMnuWnd::Handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case SM_SKINCMD: return OnSkinCommand(msg, wp, lp);
        case WM_DESTROY:
        case WM_NCDESTROY: {
            const LRESULT result = CallOld(msg, wp, lp);
            OnDestroy();  // may free this wrapper
            return result;
        }
        default: break;
    }
    if (MenusMeasuring) {
        switch (msg) {
            case WM_ERASEBKGND: return OnEraseBackground(reinterpret_cast<HDC>(wp));
            case WM_WINDOWPOSCHANGING: {
                const LRESULT result = CallOld(msg, wp, lp);
                OnPositionChanging(reinterpret_cast<const WINDOWPOS*>(lp));
                return result;
            }
            case WM_NCPAINT: OnFramePaint(); return 0;
            default: break;
        }
    }
    const LRESULT result = CallOld(msg, wp, lp);
    // A window hidden on show comes back at its first paint, whoever paints it.
    if ((msg == WM_NCPAINT || msg == WM_PAINT) && FHidden) {
        ApplyOpacity();
        Shown = true;
    }
    return result;
}

LRESULT TacMnuWnd::OnSkinCommand(UINT msg, WPARAM wp, LPARAM lp) {
    switch (SkinCmdOf(wp)) {
        case SC_ISHANDLED: return 1;
        case kMnuGetRgnChanged: return RgnChanged ? 1 : 0;
        case kMnuSetRgnChanged:
            if (IsWindowVisible(FWnd)) RgnChanged = true;
            return 0;
        case SC_GETAPPLICATION: return reinterpret_cast<LRESULT>(tk::Application);
        default: return 0;
    }
    (void)msg;
    (void)lp;
}

void TacMnuWnd::OnDestroy() {
    Unsubclass();
    Destroyed = true;
    RgnChanged = false;
    ClearMenuInfoList();
    MenusMeasuring = false;
    bool anyAlive = false;
    for (auto& w : TacMnuArray()) {
        if (w.get() == this || w->Destroyed || !IsWindow(w->FWnd)) continue;
        anyAlive = true;
        RedrawWindow(w->FWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW);
    }
    if (!anyAlive) TacMnuArray().clear();  // this wrapper too: nothing of it is used after
}

// The menu's picture when it has the window's size, else the wrapper's own cache.
tk::TBitmap* TacMnuWnd::Picture() {
    TacMenuInfo* info = FMenus->PrepareForWindow(FWnd);
    if (info && PictureFitsWindow(info->Bmp.get(), FWnd)) return info->Bmp.get();
    PrepareCache();
    return FCache.Row0() ? &FCache : nullptr;
}

LRESULT TacMnuWnd::OnEraseBackground(HDC dc) {
    tk::TBitmap* picture = Picture();
    HDC target = dc ? dc : GetDC(FWnd);
    if (target && picture) {
        const POINT offset = ClientOffset(FWnd);
        RECT client{};
        GetClientRect(FWnd, &client);
        BitBlt(target, 0, 0, client.right, client.bottom, picture->Canvas().Handle(), offset.x, offset.y, SRCCOPY);
    }
    if (!dc && target) ReleaseDC(FWnd, target);
    RgnChanged = false;
    return 1;
}

void TacMnuWnd::OnPositionChanging(const WINDOWPOS* pos) {
    if (FInPosChanging || !pos) return;
    FInPosChanging = true;
    if (!(pos->flags & SWP_NOREDRAW) && (pos->flags & SWP_SHOWWINDOW) && !IsWindowVisible(FWnd)) {
        // The picture and the region before the first paint, for the size the window takes
        // now: cut before it shows, nothing is painted twice.
        SIZE coming{pos->cx, pos->cy};
        const TacMenuInfo* info = nullptr;
        if (!(pos->flags & SWP_NOSIZE) || MenuWindowSize(FWnd, coming)) info = FMenus->PrepareForWindow(FWnd, &coming);
        // Hidden at opacity 0 until the first frame paint, unless that paint comes from the
        // picture already made and the window stays opaque: then nothing unskinned can show.
        const bool ready = info && PictureFits(info->Bmp.get(), coming.cx, coming.cy);
        if (!ready || FMenus->Manager()->MenuSupport.AlphaBlend < 255) {
            SetLayered(FWnd, true);
            SetLayeredWindowAttributes(FWnd, 0, 0, LWA_ALPHA);
            FHidden = true;
        }
    }
    FInPosChanging = false;
}

void TacMnuWnd::OnFramePaint() {
    tk::TBitmap* picture = Picture();
    if (HDC dc = picture ? GetWindowDC(FWnd) : nullptr) {
        CopyMenuFrame(dc, *picture);
        ReleaseDC(FWnd, dc);
    }
    if (CompositionEnabled() && !Shown) RedrawWindow(FWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    ApplyOpacity();
    Shown = true;
}

void TacMnuWnd::ApplyOpacity() {
    const int alpha = std::clamp(FMenus->Manager()->MenuSupport.AlphaBlend, 0, 255);
    if (alpha == 255) {
        SetLayered(FWnd, false);
    } else {
        SetLayered(FWnd, true);
        SetLayeredWindowAttributes(FWnd, 0, static_cast<BYTE>(alpha), LWA_ALPHA);
    }
    FHidden = false;
}

void TacMnuWnd::PrepareCache() {
    RECT r{};
    if (!GetWindowRect(FWnd, &r)) return;
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (FCacheValid && PictureFits(&FCache, width, height)) return;
    FCache.SetSize(width, height);
    rd::TBitmap32 view = ViewOf(FCache);
    if (!view.Row0) return;
    const TSkinModel* model = FMenus->Manager()->Active() ? &FMenus->Manager()->Model() : nullptr;
    const int section = model ? model->GetSkinIndex(L"MAINMENU") : -1;
    const rd::TCacheInfo behind{nullptr, 0, 0, static_cast<rd::TColor>(GetSysColor(COLOR_MENU)), rd::TRect{}, false};
    if (model && model->IsValidSkinIndex(section))
        rd::PaintSectionFace(section, L"MAINMENU", behind, -1, -1, model, &view, {0, 0}, {0, 0, width, height}, 0);
    else {
        const RECT whole{0, 0, width, height};
        FillRect(FCache.Canvas().Handle(), &whole, GetSysColorBrush(COLOR_MENU));
    }
    FCacheValid = true;
}

}  // namespace sk
