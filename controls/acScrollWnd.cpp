// The scroll bars of TacScrollWnd: non-client size, hit testing, painting and the mouse.
#include <algorithm>

#include "controls/acSBUtils.h"
#include "skinframework/sSkinManager.h"
#include "skinframework/sVclUtils.h"
#include "skinpaint/sMaskPaint.h"
#include "toolkit/Redraw.h"

namespace sk {

namespace {

int ScrollMessage(const TacScrollBar& bar) { return bar.Vertical() ? WM_VSCROLL : WM_HSCROLL; }

bool SameInfo(const SCROLLINFO& a, const SCROLLINFO& b) {
    return a.nMin == b.nMin && a.nMax == b.nMax && a.nPage == b.nPage && a.nPos == b.nPos;
}

const TacScrollData* ControlScrollData(const TsCommonData* data, const TacScrollBar& bar) {
    const auto* scroll = dynamic_cast<const TsScrollWndData*>(data);
    if (!scroll) return nullptr;
    return bar.Vertical() ? &scroll->FVertScrollData : &scroll->FHorzScrollData;
}

}  // namespace

TacScrollWnd::TacScrollWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager)
    : TacMainWnd(wnd, skinData, manager) {}

TacScrollWnd::~TacScrollWnd() { StopInteraction(); }

void TacScrollWnd::Create() {
    sBarHorz.ReadScrollInfo(CtrlHandle);
    sBarVert.ReadScrollInfo(CtrlHandle);
    const LONG_PTR style = GetWindowLongPtrW(CtrlHandle, GWL_STYLE);
    fLeftScrollbar = (GetWindowLongPtrW(CtrlHandle, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
    sBarHorz.fScrollFlags = (style & WS_HSCROLL) ? 8 : 0;
    sBarVert.fScrollFlags = (style & WS_VSCROLL) ? 8 : 0;
    TacMainWnd::Create();
    sBarHorz.nMinThumbSize = sBarVert.nMinThumbSize = kMinThumbSize;
}

bool TacScrollWnd::BarSkinned(const TacScrollBar& bar) const {
    const TSkinModel* model = Model();
    return model && model->IsValidSkinIndex(model->ConstData.Scrolls[bar.Vertical() ? 1 : 0].SkinIndex);
}

int TacScrollWnd::BarThickness(const TacScrollBar& bar) const {
    const TacScrollData* own = ControlScrollData(SkinData, bar);
    if (own && own->ScrollWidth() >= 0) return own->ScrollWidth();
    if (SkinManager && SkinManager->ScrollsOptions.ScrollSize >= 0) return SkinManager->ScrollsOptions.ScrollSize;
    return GetSystemMetrics(bar.Vertical() ? SM_CXVSCROLL : SM_CYHSCROLL);
}

int TacScrollWnd::BarButtonLength(const TacScrollBar& bar) const {
    const TacScrollData* own = ControlScrollData(SkinData, bar);
    if (own && own->ButtonsSize() >= 0) return own->ButtonsSize();
    if (SkinManager && SkinManager->ScrollsOptions.ButtonsSize >= 0) return SkinManager->ScrollsOptions.ButtonsSize;
    return BarThickness(bar);
}

rd::TCacheInfo TacScrollWnd::Background() { return rd::TCacheInfo{}; }

// ---- Non-client size ----

void TacScrollWnd::OnNcCalcSize(tk::TMessage& m) {
    auto* rect = reinterpret_cast<RECT*>(m.LParam);
    if (!rect) {
        CallPrevProc(m);
        return;
    }
    const RECT window = *rect;
    const LONG_PTR style = GetWindowLongPtrW(CtrlHandle, GWL_STYLE);
    fLeftScrollbar = (GetWindowLongPtrW(CtrlHandle, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
    sBarHorz.fScrollFlags = (style & WS_HSCROLL) ? 8 : 0;
    sBarVert.fScrollFlags = (style & WS_VSCROLL) ? 8 : 0;
    // Only the bars drawn from the skin are taken away from the platform's computation.
    LONG_PTR removed = 0;
    if (BarSkinned(sBarHorz)) removed |= WS_HSCROLL;
    if (BarSkinned(sBarVert)) removed |= WS_VSCROLL;
    removed &= style;
    if (removed) {
        bPreventStyleChange = true;
        SetWindowLongPtrW(CtrlHandle, GWL_STYLE, style & ~removed);
        CallPrevProc(m);
        SetWindowLongPtrW(CtrlHandle, GWL_STYLE, style);
        bPreventStyleChange = false;
    } else {
        CallPrevProc(m);
    }
    RECT& client = *rect;
    cxLeftEdge = client.left - window.left;
    cyTopEdge = client.top - window.top;
    cxRightEdge = window.right - client.right;
    cyBottomEdge = window.bottom - client.bottom;

    const int vThick = BarThickness(sBarVert), hThick = BarThickness(sBarHorz);
    sBarVert.fScrollVisible = (removed & WS_VSCROLL) && client.right - client.left >= vThick;
    if (sBarVert.fScrollVisible) {
        if (fLeftScrollbar) client.left += vThick;
        else client.right -= vThick;
    }
    sBarHorz.fScrollVisible = (removed & WS_HSCROLL) && client.bottom - client.top >= hThick;
    if (sBarHorz.fScrollVisible) client.bottom -= hThick;
    ScrollsInitialized = true;
    UpdateBarRects();
}

void TacScrollWnd::UpdateBarRects() {
    RECT wr{};
    GetWindowRect(CtrlHandle, &wr);
    const int width = wr.right - wr.left, height = wr.bottom - wr.top;
    const int vThick = BarThickness(sBarVert), hThick = BarThickness(sBarHorz);
    const int hShown = sBarHorz.fScrollVisible ? hThick : 0, vShown = sBarVert.fScrollVisible ? vThick : 0;
    sBarVert.Thickness = vThick;
    sBarVert.ButtonLength = BarButtonLength(sBarVert);
    const int vLeft = fLeftScrollbar ? cxLeftEdge : width - cxRightEdge - vThick;
    sBarVert.BarRect = {vLeft, cyTopEdge, vLeft + vThick, height - cyBottomEdge - hShown};
    sBarHorz.Thickness = hThick;
    sBarHorz.ButtonLength = BarButtonLength(sBarHorz);
    const int hTop = height - cyBottomEdge - hThick;
    sBarHorz.BarRect = {cxLeftEdge + (fLeftScrollbar ? vShown : 0), hTop,
                        width - cxRightEdge - (fLeftScrollbar ? 0 : vShown), hTop + hThick};
}

// ---- Painting ----

bool TacScrollWnd::BarsVisible() const { return sBarHorz.fScrollVisible || sBarVert.fScrollVisible; }

bool TacScrollWnd::PaintAllowed() const {
    if (Destroyed || !IsWindowVisible(CtrlHandle) || !SkinActive()) return false;
    return !(SkinData && SkinData->FOwnerControl && SkinData->Updating());
}

TacBarLook TacScrollWnd::LookOf(const TacScrollBar& bar) const {
    TacBarLook look;
    if (FActiveBar == &bar) {
        look.Pressed = FPressedPart;
        if (fThumbTracking) look.DragThumbOffset = FDragOffset;
    }
    if (FHotBar == &bar) look.Hot = FHotPart;
    look.Disabled = bar.Unavailable(CtrlHandle);
    look.ShiftContentOnClick = !SkinManager || SkinManager->ButtonsOptions.ShiftContentOnClick;
    return look;
}

void TacScrollWnd::PaintBar(TacScrollBar& bar, HDC dc) {
    if (!bar.fScrollVisible || !BarSkinned(bar)) return;
    bar.ReadScrollInfo(CtrlHandle);
    FPaintedInfo[bar.nBarType] = bar.ScrollInfo;
    const rd::TPoint at{bar.BarRect.left, bar.BarRect.top};
    if (!PaintScrollBar(FBarPicture, bar, LookOf(bar), *Model(), Background(), at)) return;
    GdiFlush();
    BitBlt(dc, at.X, at.Y, FBarPicture.Width(), FBarPicture.Height(), FBarPicture.Canvas().Handle(), 0, 0, SRCCOPY);
}

void TacScrollWnd::PaintCorner(HDC dc) {
    if (!sBarHorz.fScrollVisible || !sBarVert.fScrollVisible) return;
    const RECT corner{sBarVert.BarRect.left, sBarHorz.BarRect.top, sBarVert.BarRect.right, sBarHorz.BarRect.bottom};
    const int w = corner.right - corner.left, h = corner.bottom - corner.top;
    if (w <= 0 || h <= 0) return;
    TacCacheBitmap square;
    square.SetSize(w, h);
    rd::TBitmap32* view = square.View();
    const rd::TCacheInfo behind = Background();
    rd::FillPixels32(view, {0, 0, w, h}, rd::ColorToRGB(behind.FillColor), 255);
    if (behind.Ready && behind.Bmp) {
        const int dx = behind.X + corner.left, dy = behind.Y + corner.top;
        for (int y = 0; y < h; ++y) {
            if (dy + y < 0 || dy + y >= behind.Bmp->Height) continue;
            for (int x = 0; x < w; ++x)
                if (dx + x >= 0 && dx + x < behind.Bmp->Width) view->Row(y)[x] = behind.Bmp->Row(dy + y)[dx + x];
        }
    }
    const TSkinModel* model = Model();
    const int grip = model ? model->ConstData.GripRightBottom : -1;
    if ((GetWindowLongPtrW(CtrlHandle, GWL_STYLE) & WS_THICKFRAME) && model && model->IsValidImgIndex(grip)) {
        const TsMaskData& mask = model->ma[static_cast<size_t>(grip)];
        rd::PaintMaskGlyph(view, {w - MaskImageWidth(mask), h - MaskImageHeight(mask)}, 0,
                           rd::CacheInfoForBitmap(view, 0, 0), mask, 1);
    }
    GdiFlush();
    BitBlt(dc, corner.left, corner.top, w, h, square.Canvas().Handle(), 0, 0, SRCCOPY);
}

void TacScrollWnd::PaintBars(HDC dc) {
    if (!PaintAllowed() || !ScrollsInitialized) return;
    const bool own = dc == nullptr;
    if (own) dc = GetWindowDC(CtrlHandle);
    if (!dc) return;
    UpdateBarRects();
    PaintBar(sBarVert, dc);
    PaintBar(sBarHorz, dc);
    PaintCorner(dc);
    if (own) ReleaseDC(CtrlHandle, dc);
}

bool TacScrollWnd::PaintNonClient(HDC dc) {
    PaintBars(dc);
    return false;
}

void TacScrollWnd::UpdateScrolls() {
    if (Destroyed || !IsWindowVisible(CtrlHandle)) return;
    if (SkinData && SkinData->FOwnerControl && SkinData->Updating()) return;
    sBarHorz.ReadScrollInfo(CtrlHandle);
    sBarVert.ReadScrollInfo(CtrlHandle);
    if (DontRepaint || !BarsVisible()) return;
    // The control may have drawn the platform's bar as it changed (an edit does as lines are
    // added): the skinned bars go over it at once, the rest of the frame with its next paint.
    PaintBars();
    tk::RedrawFrame(CtrlHandle);
}

bool TacScrollWnd::ScrollInfoChanged() {
    for (TacScrollBar* bar : {&sBarHorz, &sBarVert}) {
        if (!bar->fScrollVisible) continue;
        bar->ReadScrollInfo(CtrlHandle);
        if (!SameInfo(bar->ScrollInfo, FPaintedInfo[bar->nBarType])) return true;
    }
    return false;
}

// ---- Hit testing ----

POINT TacScrollWnd::WindowPointFromScreen(POINT screen) const {
    RECT wr{};
    GetWindowRect(CtrlHandle, &wr);
    return {screen.x - wr.left, screen.y - wr.top};
}

POINT TacScrollWnd::WindowPointFromClient(LPARAM lp) const {
    POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
    ClientToScreen(CtrlHandle, &p);
    return WindowPointFromScreen(p);
}

TacScrollBar* TacScrollWnd::BarAt(POINT p) {
    if (BarSkinned(sBarVert) && sBarVert.Contains(p)) return &sBarVert;
    if (BarSkinned(sBarHorz) && sBarHorz.Contains(p)) return &sBarHorz;
    return nullptr;
}

bool TacScrollWnd::BarEnabled(TacScrollBar& bar) {
    bar.ReadScrollInfo(CtrlHandle);
    return IsWindowEnabled(CtrlHandle) && !bar.Unavailable(CtrlHandle);
}

bool TacScrollWnd::ArrowDisabled(const TacScrollBar& bar, TacScrollPart part) const {
    if (part != spLineUp && part != spLineDown) return false;
    SCROLLBARINFO sbi{};
    sbi.cbSize = sizeof(sbi);
    if (!GetScrollBarInfo(CtrlHandle, bar.Vertical() ? OBJID_VSCROLL : OBJID_HSCROLL, &sbi)) return false;
    return (sbi.rgstate[part == spLineUp ? 1 : 5] & STATE_SYSTEM_UNAVAILABLE) != 0;
}

bool TacScrollWnd::OnNcHitTest(tk::TMessage& m) {
    if (!SkinActive() || !ScrollsInitialized) return false;
    UpdateBarRects();
    const POINT p = WindowPointFromScreen({static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))});
    if (TacScrollBar* bar = BarAt(p)) {
        m.Result = BarEnabled(*bar) ? (bar->Vertical() ? HTVSCROLL : HTHSCROLL) : HTNOWHERE;
        return true;
    }
    if (sBarHorz.fScrollVisible && sBarVert.fScrollVisible) {
        const RECT corner{sBarVert.BarRect.left, sBarHorz.BarRect.top, sBarVert.BarRect.right, sBarHorz.BarRect.bottom};
        if (PtInRect(&corner, p) && (GetWindowLongPtrW(CtrlHandle, GWL_STYLE) & WS_THICKFRAME)) {
            m.Result = HTBOTTOMRIGHT;
            return true;
        }
    }
    return false;
}

// ---- Mouse ----

bool TacScrollWnd::OnBarPress(tk::TMessage& m) {
    if (m.WParam != HTVSCROLL && m.WParam != HTHSCROLL) return false;
    TacScrollBar& bar = m.WParam == HTVSCROLL ? sBarVert : sBarHorz;
    if (!bar.fScrollVisible || !BarSkinned(bar) || !SkinActive()) return false;
    m.Result = 0;
    if (FActiveBar || !BarEnabled(bar)) return true;
    UpdateBarRects();
    const POINT p = WindowPointFromScreen({static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))});
    const int along = bar.Along(p);
    const TacScrollPart part = bar.PartAt(along);
    if (part == spNone || ArrowDisabled(bar, part)) return true;
    if (GetFocus() != CtrlHandle && (GetWindowLongPtrW(CtrlHandle, GWL_STYLE) & WS_TABSTOP)) SetFocus(CtrlHandle);
    FActiveBar = &bar;
    FPressedPart = part;
    SetCapture(CtrlHandle);
    if (part == spThumb) {
        FDragThumb = bar.Thumb();
        FDragOffset = FDragThumb.Offset;
        FGrabOffset = along - bar.ButtonLength - FDragThumb.Offset;
        FLastThumbPos = bar.ScrollInfo.nPos;
        bar.ScrollInfo.nTrackPos = bar.ScrollInfo.nPos;
        fThumbTracking = true;
        PaintBars();
        return true;
    }
    PaintBars();
    SendScrollCode(bar, part, bar.ScrollInfo.nPos);
    FRepeatFirst = true;
    SetTimer(CtrlHandle, kScrollRepeatTimer, kRepeatFirstDelayMs, nullptr);
    PaintBars();
    return true;
}

void TacScrollWnd::OnThumbDrag(tk::TMessage& m) {
    TacScrollBar& bar = *FActiveBar;
    const POINT p = WindowPointFromClient(m.LParam);
    const int room = bar.TrackLength() - FDragThumb.Length;
    FDragOffset = std::clamp(bar.Along(p) - bar.ButtonLength - FGrabOffset, 0, std::max(room, 0));
    PaintBars();
    const int position = ThumbPosition(bar.ScrollInfo, FDragOffset, bar.TrackLength(), FDragThumb.Length);
    if (position == FLastThumbPos) return;
    FLastThumbPos = position;
    bar.ScrollInfo.nTrackPos = position;
    SendScrollCode(bar, SB_THUMBTRACK, position);
}

bool TacScrollWnd::OnNcMouseMove(tk::TMessage& m) {
    if (!SkinActive() || !ScrollsInitialized) return false;
    UpdateBarRects();
    const POINT p = WindowPointFromScreen({static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))});
    TacScrollBar* bar = BarAt(p);
    if (!bar) return false;
    // Over a skinned bar the platform must not see the move: it would draw its own hot bar.
    m.Result = 0;
    if (FActiveBar) return true;
    const TacScrollPart part = bar->PartAt(bar->Along(p));
    if (bar != FHotBar || part != FHotPart) {
        FHotBar = bar;
        FHotPart = part;
        PaintBars();
    }
    if (!FHoverTimer) FHoverTimer = SetTimer(CtrlHandle, kScrollHoverTimer, kHoverIntervalMs, nullptr) != 0;
    return true;
}

void TacScrollWnd::OnHoverTick() {
    POINT cursor{};
    GetCursorPos(&cursor);
    UpdateBarRects();
    const POINT p = WindowPointFromScreen(cursor);
    TacScrollBar* bar = WindowFromPoint(cursor) == CtrlHandle ? BarAt(p) : nullptr;
    const TacScrollPart part = bar ? bar->PartAt(bar->Along(p)) : spNone;
    if (!bar) {
        KillTimer(CtrlHandle, kScrollHoverTimer);
        FHoverTimer = false;
    }
    if (bar == FHotBar && part == FHotPart) return;
    FHotBar = bar;
    FHotPart = part;
    PaintBars();
}

void TacScrollWnd::OnRepeatTick() {
    if (!FActiveBar || FPressedPart == spThumb) return;
    if (FRepeatFirst) {
        FRepeatFirst = false;
        SetTimer(CtrlHandle, kScrollRepeatTimer, kRepeatIntervalMs, nullptr);
        return;
    }
    ++FRepeatTicks;
    POINT cursor{};
    GetCursorPos(&cursor);
    POINT p = WindowPointFromScreen(cursor);
    p.x = std::max<LONG>(p.x, 0);
    p.y = std::max<LONG>(p.y, 0);
    TacScrollBar& bar = *FActiveBar;
    UpdateBarRects();
    bar.ReadScrollInfo(CtrlHandle);
    const bool over = bar.Contains(p) && bar.PartAt(bar.Along(p)) == FPressedPart;
    // Off the pressed part the repeat pauses and the part shows released until the cursor returns.
    const TacScrollPart shown = FPressedPart;
    if (!over) {
        FPressedPart = spNone;
        PaintBars();
        FPressedPart = shown;
        return;
    }
    SendScrollCode(bar, FPressedPart, bar.ScrollInfo.nPos);
    PaintBars();
}

void TacScrollWnd::OnTimer(UINT_PTR id) {
    if (id == kScrollRepeatTimer) OnRepeatTick();
    else OnHoverTick();
}

void TacScrollWnd::SendScrollCode(TacScrollBar& bar, int code, int position) {
    const UINT message = static_cast<UINT>(ScrollMessage(bar));
    const LPARAM scrollParam = MAKELPARAM(code, message);
    DontRepaint = true;
    const LRESULT answer = SendSkinCmd(CtrlHandle, SC_BEGINSCROLL, scrollParam);
    LPARAM longParam = 0;
    if (answer == 1) {
        longParam = position;
    } else {
        const int trackPos = bar.ScrollInfo.nTrackPos;
        bar.ReadScrollInfo(CtrlHandle);
        bar.ScrollInfo.nTrackPos = trackPos;
        if (code == SB_THUMBTRACK) SetScrollPos(CtrlHandle, bar.nBarType, position, FALSE);
    }
    const WPARAM wp = MAKEWPARAM(code, static_cast<WORD>(std::clamp(position, 0, 65535)));
    SendMessageW(CtrlHandle, message, wp, longParam);
    ++FScrollCodesSent;
    if (!Destroyed) SendSkinCmd(CtrlHandle, SC_ENDSCROLL, scrollParam);
    DontRepaint = false;
}

void TacScrollWnd::EndPress() {
    TacScrollBar* bar = FActiveBar;
    if (!bar) return;
    const TacScrollPart part = FPressedPart;
    const bool dragged = fThumbTracking;
    // Cleared first: releasing the capture comes back here through WM_CAPTURECHANGED.
    FActiveBar = nullptr;
    FPressedPart = spNone;
    fThumbTracking = false;
    FDragOffset = -1;
    FRepeatFirst = false;
    KillTimer(CtrlHandle, kScrollRepeatTimer);
    if (GetCapture() == CtrlHandle) ReleaseCapture();
    if (Destroyed) return;
    if (dragged) SendScrollCode(*bar, SB_THUMBPOSITION, FLastThumbPos);
    if (part != spNone) SendScrollCode(*bar, SB_ENDSCROLL, bar->ScrollInfo.nPos);
    if (!Destroyed) PaintBars();
}

void TacScrollWnd::StopInteraction() {
    if (FActiveBar && GetCapture() == CtrlHandle) {
        FActiveBar = nullptr;
        ReleaseCapture();
    }
    FActiveBar = nullptr;
    FPressedPart = spNone;
    FHotBar = nullptr;
    FHotPart = spNone;
    fThumbTracking = false;
    FRepeatFirst = false;
    if (IsWindow(CtrlHandle)) {
        KillTimer(CtrlHandle, kScrollRepeatTimer);
        KillTimer(CtrlHandle, kScrollHoverTimer);
    }
    FHoverTimer = false;
}

// ---- Messages ----

bool TacScrollWnd::ChangesScrollState(UINT msg) {
    // Messages after which the platform may have drawn its own bar without a change of the
    // scroll information (a change of it is detected by itself). An edit sets its bar again
    // with the same values as it scrolls to the caret, drawing it each time.
    switch (msg) {
        case WM_SIZE: case WM_SETFOCUS: case WM_KILLFOCUS: case WM_ENABLE: case WM_STYLECHANGED:
        case WM_NCMOUSELEAVE: case WM_SETFONT:
        case WM_SETTEXT: case WM_CHAR: case WM_KEYDOWN: case WM_PASTE: case WM_CUT: case WM_CLEAR: case WM_UNDO:
        case EM_REPLACESEL: case EM_SETSEL: case EM_SCROLLCARET: case EM_LINESCROLL: case EM_SCROLL: case EM_UNDO:
            return true;
        default:
            return false;
    }
}

void TacScrollWnd::acWndProc(tk::TMessage& m) {
    if (Destroyed) {
        CallPrevProc(m);
        return;
    }
    switch (m.Msg) {
        case WM_NCCALCSIZE:
            OnNcCalcSize(m);
            return;
        case WM_STYLECHANGING: case WM_STYLECHANGED:
            if (bPreventStyleChange) return;
            break;
        case WM_NCHITTEST:
            if (OnNcHitTest(m)) return;
            break;
        case WM_NCLBUTTONDOWN: case WM_NCLBUTTONDBLCLK:
            if (OnBarPress(m)) return;
            break;
        case WM_NCMOUSEMOVE:
            if (OnNcMouseMove(m)) return;
            break;
        case WM_MOUSEMOVE:
            if (FActiveBar) {
                if (fThumbTracking) OnThumbDrag(m);
                return;
            }
            break;
        case WM_LBUTTONUP:
            if (FActiveBar) {
                EndPress();
                return;
            }
            break;
        case WM_CAPTURECHANGED:
            // A message box, a window switch or anyone else taking the mouse ends the press.
            if (FActiveBar && reinterpret_cast<HWND>(m.LParam) != CtrlHandle) EndPress();
            break;
        case WM_CANCELMODE:
            if (FActiveBar) EndPress();
            break;
        case WM_TIMER:
            if (m.WParam == kScrollRepeatTimer || m.WParam == kScrollHoverTimer) {
                OnTimer(m.WParam);
                return;
            }
            break;
        case WM_DESTROY:
            StopInteraction();
            break;
        case WM_NCDESTROY:
            // The window's last message: the object goes with it.
            StopInteraction();
            CallPrevProc(m);
            Release(this);
            return;
        default:
            break;
    }
    CallPrevProc(m);
    if (Destroyed || DontRepaint) return;
    if (ChangesScrollState(m.Msg) || ScrollInfoChanged()) UpdateScrolls();
}

}  // namespace sk
