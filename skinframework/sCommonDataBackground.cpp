// Background requests between a control and its parent (SC_GETBG), and copying a cache to
// the screen around the children that paint themselves.
#include <algorithm>

#include "skinframework/sCommonData.h"
#include "skinframework/sSkinManager.h"
#include "skinframework/sVclUtils.h"
#include "skinpaint/sMaskPaint.h"

namespace sk {

namespace {

constexpr rd::TColor kButtonFace = rd::clBtnFace;

rd::TColor GlobalColor(TsSkinManager* manager) {
    return manager ? manager->Core().GetGlobalColor() : kButtonFace;
}

bool CacheMissingOrEmpty(const TacCacheBitmap* cache) { return !cache || cache->Empty(); }

void FillArea(HDC dc, const rd::TRect& area, rd::TColor color) {
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(rd::ColorToRGB(color)));
    const RECT r{area.Left, area.Top, area.Right, area.Bottom};
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

// Area of the cache, seen from the requester's origin at offset, into the same area of dc.
void CopyCacheArea(TacCacheBitmap& cache, HDC dc, const rd::TRect& area, rd::TPoint offset) {
    BitBlt(dc, area.Left, area.Top, area.Width(), area.Height(), cache.Canvas().Handle(), area.Left + offset.X,
           area.Top + offset.Y, SRCCOPY);
}

void AnswerFill(TacBgRequest& request, rd::TColor color) {
    request.BgKind = bgFill;
    request.Color = color;
}

void AnswerBitmap(TacBgRequest& request, TacCacheBitmap* cache) {
    request.BgKind = bgBitmap;
    request.Bitmap = cache;
}

// An unskinned parent paints itself into the target, shifted so that the requester's area
// receives the pixels behind it.
void ParentPaintsItself(tk::TWinControl& parent, TacBgRequest& request) {
    if (!request.TargetDC || !parent.HandleAllocated()) return;
    HDC dc = request.TargetDC;
    const int saved = SaveDC(dc);
    OffsetViewportOrgEx(dc, -request.Offset.X, -request.Offset.Y, nullptr);
    const rd::TRect& a = request.Area;
    IntersectClipRect(dc, a.Left + request.Offset.X, a.Top + request.Offset.Y, a.Right + request.Offset.X,
                      a.Bottom + request.Offset.Y);
    parent.PaintTo(dc, 0, 0);
    RestoreDC(dc, saved);
}

// A request passed on to the responder's own parent sees the responder's border from farther
// away: its insets shrink by the requester's distance from each edge.
void ShrinkInsets(rd::TRect& insets, const RECT& bounds, int parentWidth, int parentHeight) {
    insets.Left = std::max(0, insets.Left - static_cast<int>(bounds.left));
    insets.Top = std::max(0, insets.Top - static_cast<int>(bounds.top));
    insets.Right = std::max(0, insets.Right - (parentWidth - static_cast<int>(bounds.right)));
    insets.Bottom = std::max(0, insets.Bottom - (parentHeight - static_cast<int>(bounds.bottom)));
}

}  // namespace

void GetParentBg(TsCommonData& skinData, TacBgRequest& request) {
    request.Bitmap = nullptr;
    request.BgKind = bgNone;
    request.BorderInsets = {};
    tk::TControl* owner = skinData.FOwnerControl;
    tk::TWinControl* parent = owner ? owner->Parent() : nullptr;
    if (parent) {
        PerformSkinCmd(parent, SC_GETBG, reinterpret_cast<LPARAM>(&request));
        if (request.BgKind != bgNone) return;
        if (request.DrawNow) {
            ParentPaintsItself(*parent, request);
            return;
        }
        const auto reply = static_cast<rd::TColor>(PerformSkinCmd(parent, SC_GETBGCOLOR));
        AnswerFill(request, reply ? reply : rd::ColorToRGB(parent->Color()));
        return;
    }
    HWND handle = skinData.OwnerHandle();
    if (HWND parentWindow = handle ? GetParent(handle) : nullptr)
        SendSkinCmd(parentWindow, SC_GETBG, reinterpret_cast<LPARAM>(&request));
    if (request.BgKind == bgNone) AnswerFill(request, GlobalColor(TsSkinManager::DefaultManager()));
}

void TsCommonData::GetParentCache(rd::TCacheInfo& info) {
    const bool graphicWithoutParent = FOwnerControl && !OwnerWinControl() && !FOwnerControl->Parent();
    if (!Skinned() || graphicWithoutParent) {
        info = rd::TCacheInfo{nullptr, 0, 0, rd::ColorToRGB(GetBgColor(0)), rd::TRect{}, false};
        return;
    }
    TacBgRequest request;
    if (FOwnerControl) request.Offset = {FOwnerControl->Left(), FOwnerControl->Top()};
    GetParentBg(*this, request);
    if (request.BgKind == bgNotReady) {
        info = rd::TCacheInfo{nullptr, 0, 0, rd::clMagenta, rd::TRect{}, false};
        return;
    }
    info = rd::BackgroundToCacheInfo(request.BgKind, request.Bitmap ? request.Bitmap->View() : nullptr, request.Offset,
                                     request.Color, request.BorderInsets);
}

// ---- Answering ----

// Step 1: the requester wants its target painted now.
void TsCommonData::DrawBgNow(TacBgRequest& request, int state) {
    UpdateCtrlSkinState(false);
    if (!CacheIsNeeded()) {
        const rd::TColor color = GetBgColor(state);
        if (request.TargetDC) FillArea(request.TargetDC, request.Area, color);
        AnswerFill(request, color);
        return;
    }
    if (BGChanged) NotifyOwner(SC_PREPARECACHE);
    if (!BGChanged && !CacheMissingOrEmpty(FCacheBmp.get()) && request.TargetDC)
        CopyCacheArea(*FCacheBmp, request.TargetDC, request.Area, request.Offset);
    AnswerBitmap(request, FCacheBmp.get());
}

// Step 3: a fully transparent responder shows what lies behind itself.
void TsCommonData::AnswerTransparent(TacBgRequest& request) {
    if ((GetCtrlSkinState() & ACS_BGUNIFORM) || !FCacheBmp) {
        if (PassBgRequestOn(request)) return;
        AnswerFill(request, GlobalColor(SkinManager()));
        return;
    }
    if (BGChanged) NotifyOwner(SC_PREPARECACHE);
    if (BGChanged) AnswerFill(request, GetBgColor(0));
    else AnswerBitmap(request, FCacheBmp.get());
}

// Passes the request to the responder's own parent with the responder's position added;
// false when there is nobody to ask. An unanswered pass falls back to the responder's colour.
bool TsCommonData::PassBgRequestOn(TacBgRequest& request) {
    tk::TWinControl* parent = nullptr;
    RECT bounds{};
    if (FOwnerControl) {
        parent = FOwnerControl->Parent();
        bounds = FOwnerControl->BoundsRect();
    } else if (FProvider && FProvider->Form()) {
        parent = FProvider->Form()->Parent();
        bounds = FProvider->Form()->BoundsRect();
    }
    if (!parent) return false;
    const rd::TPoint original = request.Offset;
    request.Offset.X += bounds.left;
    request.Offset.Y += bounds.top;
    PerformSkinCmd(parent, SC_GETBG, reinterpret_cast<LPARAM>(&request));
    if (request.BgKind == bgNone) {
        request.Offset = original;
        AnswerFill(request, GetBgColor(0));
        return true;
    }
    ShrinkInsets(request.BorderInsets, bounds, parent->Width(), parent->Height());
    return true;
}

void TsCommonData::FillBgRequest(TacBgRequest& request, int state) {
    if (request.DrawNow) {
        DrawBgNow(request, state);
        return;
    }
    const TsGenState* props = FCustomColor ? nullptr : Skinned() ? StateProps(state) : nullptr;
    if (!props) {
        AnswerFill(request, rd::ColorToRGB(OwnerColor()));
        return;
    }
    const int transparency = std::clamp(props->Transparency, 0, 100);
    if (transparency == 100) {
        AnswerTransparent(request);
        return;
    }
    if (transparency > 0) {
        if (!FCacheBmp) AnswerFill(request, rd::clMagenta);
        else if (FCacheBmp->Empty()) MarkNotReady(request);
        else AnswerBitmap(request, FCacheBmp.get());
        return;
    }
    if (IsPlainColourFace(*props)) {
        AnswerFill(request, GetBgColor(state));
        const TsMaskData* border = BorderMask();
        if (border && !(border->DrawMode & 2)) {
            request.Bitmap = FCacheBmp.get();
            const TSkinModel& model = SkinManager()->Model();
            request.BorderInsets = {model.MaskWidthLeft(BorderIndex), model.MaskWidthTop(BorderIndex),
                                    model.MaskWidthRight(BorderIndex), model.MaskWidthBottom(BorderIndex)};
        }
        return;
    }
    AnswerFromCache(request);
}

// Step 5's test: an opaque face of one colour, apart from the border.
bool TsCommonData::IsPlainColourFace(const TsGenState& props) const {
    if (props.GradientPercent != 0 || props.ImagePercent != 0 || OuterEffectsAllowed()) return false;
    const TsGeneralData* section = Section();
    const TSkinModel& model = SkinManager()->Model();
    for (int corner : {section->ImgTL, section->ImgTR, section->ImgBL, section->ImgBR})
        if (model.IsValidImgIndex(corner)) return false;
    return true;
}

// Step 6: the responder's cache is the background; it is rebuilt when it does not fit.
void TsCommonData::AnswerFromCache(TacBgRequest& request) {
    request.Color = GlobalColor(SkinManager());
    const bool wrongSize = FCacheBmp && FOwnerControl &&
                           (FCacheBmp->Width() != FOwnerControl->Width() || FCacheBmp->Height() != FOwnerControl->Height());
    if (CacheMissingOrEmpty(FCacheBmp.get()) || wrongSize) {
        BGChanged = true;
        EmptyCache();
        NotifyOwner(SC_PREPARECACHE);
        if (CacheMissingOrEmpty(FCacheBmp.get())) {
            MarkNotReady(request);
            return;
        }
    }
    AnswerBitmap(request, FCacheBmp.get());
}

// The responder has nothing to give yet: it paints once its update ends, and so does the
// requester.
void TsCommonData::MarkNotReady(TacBgRequest& request) {
    FUpdating = true;
    request.BgKind = bgNotReady;
    request.Bitmap = nullptr;
}

// ---- Copying a cache to the screen ----

namespace {

bool PaintsItself(tk::TControl& child) {
    if (!child.Visible()) return false;
    if (auto* win = dynamic_cast<tk::TWinControl*>(&child)) return win->HandleAllocated();
    return true;  // a graphic control paints itself over its parent
}

void BlitCache(TacCacheBitmap& cache, HDC dc, int x, int y, const RECT& rect) {
    BitBlt(dc, x, y, rect.right - rect.left, rect.bottom - rect.top, cache.Canvas().Handle(), rect.left, rect.top,
           SRCCOPY);
}

// The device context's clip, saved before the first child is left out and restored at the end:
// a control without children to leave out costs one copy and nothing more.
class TClipScope {
public:
    explicit TClipScope(HDC dc) : FDC(dc) {}
    ~TClipScope() {
        if (FSaved) RestoreDC(FDC, FSaved);
    }
    TClipScope(const TClipScope&) = delete;
    TClipScope& operator=(const TClipScope&) = delete;
    HDC DC() const { return FDC; }
    void Exclude(int left, int top, int right, int bottom) {
        if (!FSaved) FSaved = SaveDC(FDC);
        ExcludeClipRect(FDC, left, top, right, bottom);
    }

private:
    HDC FDC;
    int FSaved = 0;
};

void ExcludeChildRect(TClipScope& clip, const RECT& child, const RECT& rect, int x, int y) {
    RECT hit;
    if (!IntersectRect(&hit, &child, &rect)) return;
    clip.Exclude(x + hit.left - rect.left, y + hit.top - rect.top, x + hit.right - rect.left, y + hit.bottom - rect.top);
}

// The caption band and border strips of a group box window: the only parts it paints itself.
void ExcludeGroupBoxFrame(TClipScope& clip, HWND box, const RECT& boxRect, const RECT& rect, int x, int y) {
    int left = 1, top = 1, right = 1, bottom = 1;
    if (const TsSkinManager* manager = TsSkinManager::DefaultManager(); manager && manager->Active()) {
        const TSkinModel& model = manager->Model();
        const int mask = model.GetMaskIndex(model.GetSkinIndex(L"GROUPBOX"), L"GROUPBOX", L"BORDERSMASK");
        if (model.IsValidImgIndex(mask)) {
            left = model.MaskWidthLeft(mask);
            top = model.MaskWidthTop(mask);
            right = model.MaskWidthRight(mask);
            bottom = model.MaskWidthBottom(mask);
        }
    }
    TEXTMETRICW metrics{};
    HDC boxDC = GetDC(box);
    HGDIOBJ old = SelectObject(boxDC, reinterpret_cast<HGDIOBJ>(SendMessageW(box, WM_GETFONT, 0, 0)));
    GetTextMetricsW(boxDC, &metrics);
    SelectObject(boxDC, old);
    ReleaseDC(box, boxDC);
    const int caption = std::max(top, static_cast<int>(metrics.tmHeight));
    const RECT strips[] = {
        {boxRect.left, boxRect.top, boxRect.right, boxRect.top + caption},
        {boxRect.left, boxRect.top, boxRect.left + left, boxRect.bottom},
        {boxRect.right - right, boxRect.top, boxRect.right, boxRect.bottom},
        {boxRect.left, boxRect.bottom - bottom, boxRect.right, boxRect.bottom},
    };
    for (const RECT& strip : strips) ExcludeChildRect(clip, strip, rect, x, y);
}

}  // namespace

void CopyCacheToDC(TsCommonData& skinData, HDC dc, int x, int y, const RECT& rect) {
    TacCacheBitmap* cache = skinData.FCacheBmp.get();
    if (!dc || CacheMissingOrEmpty(cache)) return;
    TClipScope clip(dc);
    if (tk::TWinControl* owner = skinData.OwnerWinControl()) {
        for (int i = 0; i < owner->ControlCount(); ++i) {
            tk::TControl* child = owner->Controls(i);
            if (child && PaintsItself(*child)) ExcludeChildRect(clip, child->BoundsRect(), rect, x, y);
        }
    }
    BlitCache(*cache, dc, x, y, rect);
}

void CopyCacheToDC(TacCacheBitmap* cache, HWND parent, HDC dc, int x, int y, const RECT& rect) {
    if (!dc || CacheMissingOrEmpty(cache)) return;
    TClipScope clip(dc);
    for (HWND child = parent ? GetWindow(parent, GW_CHILD) : nullptr; child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) continue;
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
        wchar_t className[16] = {};
        GetClassNameW(child, className, 16);
        const bool groupBox = lstrcmpiW(className, L"Button") == 0 &&
                              (GetWindowLongPtrW(child, GWL_STYLE) & 0x0F) == BS_GROUPBOX;
        if (groupBox) ExcludeGroupBoxFrame(clip, child, r, rect, x, y);
        else ExcludeChildRect(clip, r, rect, x, y);
    }
    BlitCache(*cache, dc, x, y, rect);
}

}  // namespace sk
