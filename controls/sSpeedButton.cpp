#include "controls/sSpeedButton.h"

#include <algorithm>
#include <vector>

#include "skinframework/sControlPaint.h"
#include "skinframework/sControlText.h"
#include "skinframework/sSkinManager.h"
#include "skinframework/sSkinState.h"
#include "skinframework/sVclUtils.h"
#include "skinpaint/sMaskPaint.h"
#include "skinpaint/sTextOutput.h"

namespace sk {

namespace {

constexpr int kArrowWidth = 16;

// What lies behind the button, or a plain fill when the parent has no pixels to give.
void FillWithBackground(rd::TBitmap32* cache, const rd::TCacheInfo& bg) {
    const rd::TRect all{0, 0, cache->Width, cache->Height};
    if (bg.Ready && bg.Bmp && bg.Bmp->Row0) {
        for (int y = 0; y < cache->Height; ++y) {
            const int sy = y + bg.Y;
            if (sy < 0 || sy >= bg.Bmp->Height) continue;
            for (int x = 0; x < cache->Width; ++x) {
                const int sx = x + bg.X;
                if (sx >= 0 && sx < bg.Bmp->Width) cache->Row(y)[x] = bg.Bmp->Row(sy)[sx];
            }
        }
        return;
    }
    rd::FillPixels32(cache, all, bg.FillColor, 0xFF);
}

}  // namespace

TsSpeedButton::TsSpeedButton(tk::TComponent* owner) : tk::TSpeedButton(owner) {}

TsSpeedButton::~TsSpeedButton() { StopFade(FFadeTimer); }

void TsSpeedButton::Loaded() {
    tk::TSpeedButton::Loaded();
    if (FSkinData.FCacheBmp) FSkinData.FCacheBmp->Canvas().Font.Assign(Font());
    FSkinData.Loaded();
}

void TsSpeedButton::SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& v) {
    if (FSkinData.ReadProperty(reader, name, v)) return;
    if (name == "DrawOverBorder") FDrawOverBorder = reader.Bool(v);
    else if (name == "WordWrap") FWordWrap = reader.Bool(v);
    else if (name == "ShowCaption") FShowCaption = reader.Bool(v);
    else if (name == "TextOffset") FOffset = reader.Int(v);
    else if (name == "Down") FDown = reader.Bool(v);
    else if (name == "Margin") FMargin = reader.Int(v);
    else if (name == "Spacing") FSpacing = reader.Int(v);
    else tk::TSpeedButton::SetProperty(reader, name, v);
}

bool TsSpeedButton::Ready() const { return FSkinData.Skinned() && !FSkinData.OwnerDestroying(); }

// ---- Properties ----

void TsSpeedButton::PropertyChanged() {
    FSkinData.BGChanged = true;
    if (!IsLoading() && Visible()) GraphRepaint();
}

void TsSpeedButton::SetDown(bool value) {
    if (FDown == value) return;
    FDown = value;
    PropertyChanged();
}

void TsSpeedButton::SetButtonStyle(TsSpeedButtonStyle value) {
    if (FButtonStyle == value) return;
    FButtonStyle = value;
    if (NeverHot()) FSkinData.FMouseAbove = false;
    PropertyChanged();
}

void TsSpeedButton::SetDrawOverBorder(bool value) {
    if (FDrawOverBorder == value) return;
    FDrawOverBorder = value;
    PropertyChanged();
}

void TsSpeedButton::SetWordWrap(bool value) {
    if (FWordWrap == value) return;
    FWordWrap = value;
    PropertyChanged();
}

void TsSpeedButton::SetShowCaption(bool value) {
    if (FShowCaption == value) return;
    FShowCaption = value;
    PropertyChanged();
}

void TsSpeedButton::SetTextOffset(int value) {
    if (FOffset == value) return;
    FOffset = value;
    PropertyChanged();
}

void TsSpeedButton::SetDisabledKind(unsigned value) {
    if (FDisabledKind == value) return;
    FDisabledKind = value;
    PropertyChanged();
}

// ---- State ----

int TsSpeedButton::CurrentState() {
    if (FDown || (FPressed && FMouseInside)) return 2;
    if (!NeverHot() && FSkinData.ControlIsHot()) return 1;
    return 0;
}

// ---- Caption ----

SIZE TsSpeedButton::TextRectSize() {
    if (!FShowCaption || Caption().empty()) return SIZE{0, 0};
    const int margin = FMargin < 0 ? 0 : FMargin + 3;
    const int arrow = FButtonStyle == tbsDropDown ? kArrowWidth : 0;
    const int width = std::max(Width() - 2 * margin - arrow, 0);
    SIZE s = rd::MeasureText(Font().Handle(), Caption(), DT_EXPANDTABS, width, FWordWrap);
    // A caption that does not fit is shortened with an ellipsis to the room there is.
    s.cx = std::min<LONG>(s.cx, width);
    s.cy = std::min<LONG>(s.cy, Height());
    return s;
}

RECT TsSpeedButton::CaptionRect(bool shiftClicked) {
    const SIZE text = TextRectSize();
    const int arrow = FButtonStyle == tbsDropDown ? kArrowWidth : 0;
    RECT r;
    r.left = (Width() - arrow - static_cast<int>(text.cx)) / 2 + FOffset;
    r.right = r.left + static_cast<int>(text.cx);
    r.top = (Height() - static_cast<int>(text.cy)) / 2;
    r.bottom = r.top + static_cast<int>(text.cy);
    TsSkinManager* manager = FSkinData.SkinManager();
    if (shiftClicked && CurrentState() == 2 &&
        (!FSkinData.Skinned() || (manager && manager->ButtonsOptions.ShiftContentOnClick)))
        OffsetRect(&r, 1, 1);
    return r;
}

void TsSpeedButton::DrawCaption(int state) {
    TacCacheBitmap* cache = FSkinData.FCacheBmp.get();
    if (!cache || !FShowCaption || Caption().empty()) return;
    tk::TCanvas& canvas = cache->Canvas();
    canvas.Font.Assign(Font());
    canvas.Brush.Clear = true;
    const RECT r = CaptionRect(true);
    const UINT format = DT_CENTER | DT_END_ELLIPSIS | DT_EXPANDTABS |
                        (FWordWrap && TextRectSize().cy > canvas.TextExtent(L"Wg").cy ? DT_WORDBREAK : DT_SINGLELINE);
    WriteControlText(canvas, Caption(), Enabled(), state != 0, FSkinData, format, r);
}

// ---- Face ----

void TsSpeedButton::PaintDivider(rd::TBitmap32* cache, const rd::TCacheInfo& bg) {
    const TSkinModel* model = FSkinData.ActiveModel();
    if (!model) return;
    const int section = model->GetSkinIndex(L"DIVIDER");
    const int maskIndex = section < 0 ? -1 : model->GetMaskIndex(section, L"DIVIDER", L"BORDERSMASK");
    if (maskIndex < 0 || maskIndex >= static_cast<int>(model->ma.size())) return;
    const int x = Width() / 2;
    rd::PaintMaskNinePart(cache, {x, 0, x + 1, Height()}, bg, true, 0, model->ma[static_cast<size_t>(maskIndex)]);
}

void TsSpeedButton::PaintFace(rd::TBitmap32* cache, const rd::TCacheInfo& bg, int state) {
    const rd::TRect all{0, 0, Width(), Height()};
    if (FDrawOverBorder) {
        PaintControlFace(FSkinData, bg, true, cache, {0, 0}, all, state);
        DrawCaption(state);
        return;
    }
    PaintControlBackground(FSkinData, bg, state, cache, {0, 0}, all);
    DrawCaption(state);
    if (const TsMaskData* mask = FSkinData.BorderMask()) rd::PaintMaskNinePart(cache, all, bg, true, state, *mask);
}

bool TsSpeedButton::PrepareCache() {
    rd::TCacheInfo bg;
    FSkinData.GetParentCache(bg);
    if (!bg.Ready && bg.FillColor == rd::clMagenta) {
        FSkinData.FUpdating = true;
        return false;
    }
    TacCacheBitmap* cache = FSkinData.InitCacheBmp();
    if (!cache || cache->Empty()) return false;
    cache->Canvas().Font.Assign(Font());
    rd::TBitmap32* view = cache->View();
    if (NeverHot()) {
        FillWithBackground(view, bg);
        if (FButtonStyle == tbsDivider) PaintDivider(view, bg);
    } else {
        PaintFace(view, bg, CurrentState());
    }
    if (!Enabled()) {
        const rd::TColor parentColor = Parent() ? rd::ColorToRGB(Parent()->Color()) : rd::clMagenta;
        rd::ApplyDisabledLook(view, FDisabledKind, parentColor, {0, 0}, bg);
    }
    FStoredDown = FDown;
    FSkinData.BGChanged = false;
    return true;
}

// ---- Painting ----

bool TsSpeedButton::CacheIsStale(HDC dc) {
    if (FSkinData.BGChanged || FDown != FStoredDown || !FSkinData.FCacheBmp ||
        FSkinData.FCacheBmp->Width() != Width() || FSkinData.FCacheBmp->Height() != Height() || CurrentState() > 0)
        return true;
    // Half visible: the paint's clip box is empty or the button reaches outside the parent.
    RECT clip{};
    return GetClipBox(dc, &clip) == NULLREGION || Left() < 0 || Top() < 0;
}

void TsSpeedButton::CopyFace(HDC dc) {
    if (Width() <= 0 || Height() <= 0) return;
    if (FFadeTimer) {
        TacCacheBitmap* frame = FFadeTimer->TmpBmp();
        if (frame && frame->Width() == Width() && frame->Height() == Height())
            BitBlt(dc, 0, 0, Width(), Height(), frame->Canvas().Handle(), 0, 0, SRCCOPY);
        return;
    }
    if (CacheIsStale(dc) && !PrepareCache()) return;
    BitBlt(dc, 0, 0, Width(), Height(), FSkinData.FCacheBmp->Canvas().Handle(), 0, 0, SRCCOPY);
}

void TsSpeedButton::Paint(tk::TCanvas& canvas) {
    TsSkinManager* manager = FSkinData.SkinManager();
    if (manager && manager->Active() && FSkinData.SkinIndex <= 0) FSkinData.UpdateIndexes();
    if (!Ready()) {
        tk::TSpeedButton::Paint(canvas);
        return;
    }
    CopyFace(canvas.Handle());
}

void TsSpeedButton::GraphRepaint() {
    if (IsLoading() || Destroying() || !Visible() || !Parent() || !Parent()->HandleAllocated() ||
        !IsWindowVisible(Parent()->Handle()))
        return;
    if (!Ready()) {
        Invalidate();
        return;
    }
    if (FSkinData.Updating()) return;
    HDC dc = GetDC(Parent()->Handle());
    const int saved = SaveDC(dc);
    OffsetViewportOrgEx(dc, Left(), Top(), nullptr);
    IntersectClipRect(dc, 0, 0, Width(), Height());
    CopyFace(dc);
    RestoreDC(dc, saved);
    ReleaseDC(Parent()->Handle(), dc);
}

// ---- State changes ----

void TsSpeedButton::StateChanged(TacAnimatEvent event, bool fast) {
    const bool animate = AnimationAllowed(event, FAnimatEvents, FSkinData.SkinManager()) && Ready() &&
                         !acSkinLoading && FSkinData.FCacheBmp && !FSkinData.FCacheBmp->Empty() &&
                         !FSkinData.BGChanged && Visible();
    FSkinData.BGChanged = true;
    if (animate) {
        TsAnimTimer* timer = RestartAnimTimer(FFadeTimer, FSkinData, fast);
        if (PrepareCache()) {
            timer->Start();
        } else {
            StopFade(FFadeTimer);
        }
    } else {
        StopFade(FFadeTimer);
        GraphRepaint();
    }
    FSkinData.UpdateGlow(fast);
}

void TsSpeedButton::OnMouseEnterMsg(tk::TMessage& m) {
    const bool wasAbove = FSkinData.FMouseAbove;
    const bool canBeHot = Enabled() && !NeverHot();
    if (canBeHot) HandleCommonMessage(m, FSkinData);
    tk::TSpeedButton::WndProc(m);
    if (!canBeHot || wasAbove || !FSkinData.FMouseAbove) return;
    if (OnMouseEnter) OnMouseEnter(this);
    StateChanged(aeMouseEnter, false);
}

void TsSpeedButton::OnMouseLeaveMsg(tk::TMessage& m) {
    const bool wasAbove = FSkinData.FMouseAbove;
    HandleCommonMessage(m, FSkinData);
    tk::TSpeedButton::WndProc(m);
    if (!wasAbove) return;
    FSkinData.FMouseAbove = false;
    TsSkinManager* manager = FSkinData.SkinManager();
    if (manager && manager->ActiveGraphControl() == this) manager->SetActiveGraphControl(nullptr);
    if (OnMouseLeave) OnMouseLeave(this);
    StateChanged(aeMouseLeave, false);
}

void TsSpeedButton::MouseDown(int x, int y) {
    tk::TSpeedButton::MouseDown(x, y);
    if (Ready() && Enabled()) StateChanged(aeMouseDown, true);
}

void TsSpeedButton::MouseUp(int x, int y) {
    if (!Ready()) {
        tk::TSpeedButton::MouseUp(x, y);
        return;
    }
    if (FFadeTimer && FFadeTimer->TmpBmp() && FFadeTimer->TmpBmp()->Width() == Width()) {
        StopFade(FFadeTimer);
        FSkinData.BGChanged = true;
        GraphRepaint();
    }
    tk::TSpeedButton::MouseUp(x, y);  // may run the click
    if (!Visible() || Destroying()) return;
    StateChanged(aeMouseUp, true);
}

// ---- Messages ----

bool TsSpeedButton::HandleSkinMessage(tk::TMessage& m) {
    const bool ours = m.LParam == reinterpret_cast<LPARAM>(FSkinData.SkinManager());
    switch (SkinCmdOf(m.WParam)) {
        case SC_NEWSKIN:
        case SC_REFRESH:
            if (!ours) return false;
            StopFade(FFadeTimer);
            HandleSkinCommand(m, FSkinData);
            if (Visible()) Invalidate();
            return true;
        case SC_REMOVESKIN:
            if (!ours || Destroying()) return false;
            StopFade(FFadeTimer);
            HandleSkinCommand(m, FSkinData);
            if (Visible()) Invalidate();
            return true;
        case SC_ENDUPDATE:
            if (!FSkinData.CheckUpdating()) GraphRepaint();
            return true;
        case SC_ISHANDLED: m.Result = 1; return true;
        case SC_ISUPDATING: m.Result = FSkinData.FUpdating ? 1 : 0; return true;
        case SC_UPDATESECTION: GraphRepaint(); return true;
        case SC_FADEDONE: StopFade(FFadeTimer); return true;
        case SC_INVALIDATE:
            FSkinData.FUpdating = false;
            if (!FFadeTimer) FSkinData.BGChanged = true;
            GraphRepaint();
            return true;
        case SC_PREPARECACHE: m.Result = PrepareCache() ? 0 : 1; return true;
        case SC_DEACTIVATED: {
            tk::TMessage leave{tk::CM_MOUSELEAVE, 0, 0, 0};
            OnMouseLeaveMsg(leave);
            return true;
        }
        default: return false;
    }
}

bool TsSpeedButton::HandleSkinnedMessage(tk::TMessage& m) {
    switch (m.Msg) {
        case tk::CM_MOUSEENTER: OnMouseEnterMsg(m); return true;
        case tk::CM_MOUSELEAVE: OnMouseLeaveMsg(m); return true;
        case tk::CM_ENABLEDCHANGED:
            if (!Enabled()) StopFade(FFadeTimer);
            FSkinData.BGChanged = true;
            tk::TSpeedButton::WndProc(m);
            if (!IsLoading()) GraphRepaint();
            return true;
        case tk::CM_TEXTCHANGED:
            FSkinData.BGChanged = true;
            tk::TSpeedButton::WndProc(m);
            if (FShowCaption) GraphRepaint();
            return true;
        case tk::CM_VISIBLECHANGED:
            FSkinData.BGChanged = true;
            FSkinData.FMouseAbove = false;
            return false;
        case tk::CM_FONTCHANGED:
            FSkinData.BGChanged = true;
            return false;
        case WM_SIZE: case WM_WINDOWPOSCHANGED:
            if (Visible()) FSkinData.BGChanged = true;
            return false;
        case WM_ERASEBKGND: case WM_NCPAINT: m.Result = 1; return true;
        default: return false;
    }
}

void TsSpeedButton::WndProc(tk::TMessage& m) {
    if (m.Msg == SM_SKINCMD && HandleSkinMessage(m)) return;
    if (m.Msg != SM_SKINCMD && Ready() && HandleSkinnedMessage(m)) return;
    if (!HandleCommonMessage(m, FSkinData)) tk::TSpeedButton::WndProc(m);
}

}  // namespace sk
