#include "controls/sSpeedButton.h"

#include <algorithm>
#include <vector>

#include "controls/sButtonMenu.h"
#include "controls/sGlyphUtils.h"
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

// Set while siblings are painted into a cache, so that two overlapping buttons never paint
// each other in turn.
bool gPaintingSiblings = false;

// The speed button whose drop-down menu is shown now.
TsSpeedButton* gDroppedButton = nullptr;

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

TsSpeedButton* TsSpeedButton::DroppedButton() { return gDroppedButton; }

TsSpeedButton::~TsSpeedButton() {
    *FAlive = false;
    if (gDroppedButton == this) gDroppedButton = nullptr;
    if (FDropdownMenu) FDropdownMenu->RemoveFreeNotification(this);
    if (FImages) FImages->RemoveFreeNotification(this);
    StopFade(FFadeTimer);
}

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
    else if (name == "NumGlyphs") FNumGlyphs = std::max(1, reader.Int(v));
    else if (name == "GroupIndex") FGroupIndex = reader.Int(v);
    else if (name == "AllowAllUp") FAllowAllUp = reader.Bool(v);
    else if (name == "Glyph.Data") LoadGlyphData(reader.Binary(v), FGlyph);
    else if (name == "ButtonStyle") {
        static const char* const names[] = {"tbsButton", "tbsCheck", "tbsDropDown", "tbsSeparator", "tbsDivider", "tbsTextButton"};
        const std::string style = reader.Ident(v);
        for (int i = 0; i < 6; ++i)
            if (style == names[i]) FButtonStyle = static_cast<TsSpeedButtonStyle>(i);
    }
    else if (name == "Layout") {
        const std::string layout = reader.Ident(v);
        if (layout == "blGlyphRight") FLayout = TButtonLayout::blGlyphRight;
        else if (layout == "blGlyphTop") FLayout = TButtonLayout::blGlyphTop;
        else if (layout == "blGlyphBottom") FLayout = TButtonLayout::blGlyphBottom;
        else FLayout = TButtonLayout::blGlyphLeft;
    }
    else tk::TSpeedButton::SetProperty(reader, name, v);
}

// Skinned() already answers false while the button is being destroyed.
bool TsSpeedButton::Ready() const { return FSkinData.Skinned(); }

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

void TsSpeedButton::SetMargin(int value) {
    if (FMargin == value) return;
    FMargin = value;
    PropertyChanged();
}

void TsSpeedButton::SetSpacing(int value) {
    if (FSpacing == value) return;
    FSpacing = value;
    PropertyChanged();
}

void TsSpeedButton::SetLayout(TButtonLayout value) {
    if (FLayout == value) return;
    FLayout = value;
    PropertyChanged();
}

void TsSpeedButton::SetAlignment(tk::TAlignment value) {
    if (FAlignment == value) return;
    FAlignment = value;
    PropertyChanged();
}

void TsSpeedButton::GlyphChanged() { PropertyChanged(); }

void TsSpeedButton::SetNumGlyphs(int value) {
    value = std::max(1, value);
    if (FNumGlyphs == value) return;
    FNumGlyphs = value;
    PropertyChanged();
}

void TsSpeedButton::SetImages(tk::TCustomImageList* value) {
    if (ReplaceLinked(FImages, value)) PropertyChanged();
}

void TsSpeedButton::Notification(tk::TComponent* component, tk::TOperation operation) {
    tk::TSpeedButton::Notification(component, operation);
    if (operation == tk::TOperation::opRemove && component == FDropdownMenu) FDropdownMenu = nullptr;
    if (operation == tk::TOperation::opRemove && component == FImages) {
        FImages = nullptr;
        FSkinData.BGChanged = true;
    }
}

void TsSpeedButton::SetImageIndex(int value) {
    if (FImageIndex == value) return;
    FImageIndex = value;
    PropertyChanged();
}

void TsSpeedButton::SetBlend(int value) {
    value = std::clamp(value, 0, 100);
    if (FBlend == value) return;
    FBlend = value;
    PropertyChanged();
}

void TsSpeedButton::SetGrayed(bool value) {
    if (FGrayed == value) return;
    FGrayed = value;
    PropertyChanged();
}

void TsSpeedButton::SetReflected(bool value) {
    if (FReflected == value) return;
    FReflected = value;
    PropertyChanged();
}

void TsSpeedButton::SetDisabledKind(unsigned value) {
    if (FDisabledKind == value) return;
    FDisabledKind = value;
    PropertyChanged();
}

// ---- State ----

void TsSpeedButton::SetDropdownMenu(tk::TPopupMenu* value) {
    ReplaceLinked(FDropdownMenu, value);
}

int TsSpeedButton::CurrentState() {
    if (FDown || FDroppedDown || (FPressed && FMouseInside)) return 2;
    if (!NeverHot() && (FHotState || FSkinData.ControlIsHot())) return 1;
    return 0;
}

void TsSpeedButton::SetHotState(bool value) {
    if (FHotState == value) return;
    FHotState = value;
    FSkinData.BGChanged = true;
    if (Visible()) GraphRepaint();
}

void TsSpeedButton::ToggleDown() {
    if (FGroupIndex == 0) {
        SetDown(!FDown);
        return;
    }
    if (FDown) {
        if (FAllowAllUp) SetDown(false);
        return;
    }
    if (Parent())
        for (int i = 0; i < Parent()->ControlCount(); ++i) {
            auto* other = dynamic_cast<TsSpeedButton*>(Parent()->Controls(i));
            if (other && other != this && other->FGroupIndex == FGroupIndex) other->SetDown(false);
        }
    SetDown(true);
}

void TsSpeedButton::Click() {
    if (FButtonStyle == tbsCheck && Enabled()) ToggleDown();
    tk::TSpeedButton::Click();
}

// ---- Caption and glyph ----

bool TsSpeedButton::HasGlyph() const {
    return (FGlyph.Width() > 0 && FGlyph.Height() > 0) || (FImages && FImages->ValidIndex(FImageIndex));
}

int TsSpeedButton::GlyphWidth() const {
    if (FGlyph.Width() > 0 && FGlyph.Height() > 0) return FGlyph.Width() / FNumGlyphs;
    if (FImages && FImages->ValidIndex(FImageIndex)) return FImages->Width() / FNumGlyphs;
    return 0;
}

int TsSpeedButton::GlyphHeight() const {
    if (FGlyph.Width() > 0 && FGlyph.Height() > 0) return FGlyph.Height();
    if (FImages && FImages->ValidIndex(FImageIndex)) return FImages->Height();
    return 0;
}

bool TsSpeedButton::GetGrayed() const {
    if (FGrayed) return true;
    TsSkinManager* manager = FSkinData.SkinManager();
    return FSkinData.Skinned() && manager && manager->Effects.DiscoloredGlyphs;
}

SIZE TsSpeedButton::TextRectSize() {
    if (!FShowCaption || Caption().empty()) return SIZE{0, 0};
    const int margin = FMargin < 0 ? 0 : FMargin + 3;
    const int arrow = FButtonStyle == tbsDropDown ? kArrowWidth : 0;
    const bool beside = FLayout == TButtonLayout::blGlyphLeft || FLayout == TButtonLayout::blGlyphRight;
    const int glyph = beside && GlyphWidth() > 0 ? GlyphWidth() + FSpacing : 0;
    const int width = std::max(Width() - 2 * margin - arrow - glyph, 0);
    SIZE s = rd::MeasureText(Font().Handle(), Caption(), DT_EXPANDTABS, width, FWordWrap);
    // A caption that does not fit is shortened with an ellipsis to the room there is.
    s.cx = std::min<LONG>(s.cx, width);
    s.cy = std::min<LONG>(s.cy, Height());
    return s;
}

void TsSpeedButton::PlaceContent(RECT& glyph, RECT& caption, bool shiftClicked) {
    const SIZE text = TextRectSize();
    const int tw = static_cast<int>(text.cx), th = static_cast<int>(text.cy);
    const int gw = GlyphWidth(), gh = GlyphHeight();
    const int gap = gw > 0 && tw > 0 ? FSpacing : 0;
    const int margin = FMargin < 0 ? 0 : FMargin + 3;
    const int inner = Width() - (FButtonStyle == tbsDropDown ? kArrowWidth : 0);
    int gx, gy, tx, ty;
    if (FLayout == TButtonLayout::blGlyphLeft || FLayout == TButtonLayout::blGlyphRight) {
        const int block = gw + gap + tw;
        const bool left = FLayout == TButtonLayout::blGlyphLeft;
        int start;
        if (FMargin >= 0) start = left ? margin : inner - margin - block;
        else if (FAlignment == tk::TAlignment::taLeftJustify) start = margin;
        else if (FAlignment == tk::TAlignment::taRightJustify) start = inner - margin - block;
        else start = (inner - block) / 2;
        gx = left ? start : start + tw + gap;
        tx = (left ? start + gw + gap : start) + FOffset;
        gy = (Height() - gh) / 2;
        ty = (Height() - th) / 2;
    } else {
        const int block = gh + gap + th;
        const bool top = FLayout == TButtonLayout::blGlyphTop;
        const int start = FMargin >= 0 ? (top ? margin : Height() - margin - block) : (Height() - block) / 2;
        gy = top ? start : start + th + gap;
        ty = (top ? start + gh + gap : start) + FOffset;
        gx = (inner - gw) / 2;
        tx = (inner - tw) / 2;
    }
    if (FReflected) gy -= gh / 6;
    glyph = gw > 0 ? RECT{gx, gy, gx + gw, gy + gh} : RECT{};
    caption = RECT{tx, ty, tx + tw, ty + th};
    TsSkinManager* manager = FSkinData.SkinManager();
    if (shiftClicked && CurrentState() == 2 &&
        (!FSkinData.Skinned() || (manager && manager->ButtonsOptions.ShiftContentOnClick))) {
        if (gw > 0) OffsetRect(&glyph, 1, 1);
        OffsetRect(&caption, 1, 1);
    }
}

RECT TsSpeedButton::CaptionRect(bool shiftClicked) {
    RECT glyph, caption;
    PlaceContent(glyph, caption, shiftClicked);
    return caption;
}

RECT TsSpeedButton::ImgRect(bool shiftClicked) {
    RECT glyph, caption;
    PlaceContent(glyph, caption, shiftClicked);
    return glyph;
}

void TsSpeedButton::DrawGlyph(int state) {
    TacCacheBitmap* cache = FSkinData.FCacheBmp.get();
    if (!cache || !HasGlyph()) return;
    TsGlyphPaintInfo info;
    info.DstBmp = cache->View();
    if (FGlyph.Width() > 0 && FGlyph.Height() > 0) info.Glyph = &FGlyph;
    else {
        info.Images = FImages;
        info.ImageIndex = FImageIndex;
    }
    info.NumGlyphs = FNumGlyphs;
    info.SkinIndex = FSkinData.SkinIndex;
    info.Manager = FSkinData.SkinManager();
    info.GlyphRect = ImgRect(true);
    info.Enabled = Enabled();
    info.Blend = FBlend;
    info.Pressed = FDown || (FPressed && FMouseInside);
    info.Grayed = GetGrayed();
    info.State = state;
    info.Reflected = FReflected;
    GdiFlush();
    PaintButtonGlyph(info);
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

RECT TsSpeedButton::ArrowRect() const {
    if (FButtonStyle != tbsDropDown) return RECT{};
    return RECT{std::max(Width() - kArrowWidth, 0), 0, Width(), Height()};
}

// The split look's arrow part is a face of its own beside the main one.
void TsSpeedButton::PaintArrowPart(rd::TBitmap32* cache, const rd::TCacheInfo& bg, int state) {
    const RECT a = ArrowRect();
    const rd::TRect part{a.left, a.top, a.right, a.bottom};
    PaintControlBackground(FSkinData, bg, state, cache, {0, 0}, part);
    if (const TsMaskData* mask = FSkinData.BorderMask()) rd::PaintMaskNinePart(cache, part, bg, true, state, *mask);
}

void TsSpeedButton::DrawArrow(int state) {
    const TsGeneralData* section = FSkinData.Section();
    TacCacheBitmap* cache = FSkinData.FCacheBmp.get();
    if (!section || !cache || FButtonStyle != tbsDropDown) return;
    const rd::TColor color = section->Props[state > 0 && section->States > 1 ? 1 : 0].FontColor.Color;
    rd::DrawArrowShape(cache->Canvas().Handle(), color, ArrowRect(), 3);
    GdiFlush();
}

void TsSpeedButton::PaintFace(rd::TBitmap32* cache, const rd::TCacheInfo& bg, int state) {
    const bool split = SplitLook();
    if (split) PaintArrowPart(cache, bg, state);
    const rd::TRect main{0, 0, split ? std::max(Width() - kArrowWidth, 0) : Width(), Height()};
    if (FDrawOverBorder) {
        PaintControlFace(FSkinData, bg, true, cache, {0, 0}, main, state);
        DrawCaption(state);
        DrawGlyph(state);
    } else {
        PaintControlBackground(FSkinData, bg, state, cache, {0, 0}, main);
        DrawCaption(state);
        DrawGlyph(state);
        if (const TsMaskData* mask = FSkinData.BorderMask()) rd::PaintMaskNinePart(cache, main, bg, true, state, *mask);
    }
    DrawArrow(state);
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
    PaintOverlappingSiblings();
    FStoredDown = FDown;
    FSkinData.BGChanged = false;
    return true;
}

void TsSpeedButton::PaintOverlappingSiblings() {
    if (gPaintingSiblings || !Parent() || !FSkinData.FCacheBmp) return;
    const RECT bounds = BoundsRect();
    HDC dc = FSkinData.FCacheBmp->Canvas().Handle();
    bool behind = true;  // graphic controls before this one in the parent's list lie under it
    gPaintingSiblings = true;
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        tk::TControl* other = Parent()->Controls(i);
        if (other == this) {
            behind = false;
            continue;
        }
        if (!other->Visible() || (behind && !other->IsWindowed())) continue;
        const RECT r = other->BoundsRect();
        const POINT corners[] = {{r.left, r.top}, {r.right - 1, r.bottom - 1}};
        if (!PtInRect(&bounds, corners[0]) && !PtInRect(&bounds, corners[1])) continue;
        const int saved = SaveDC(dc);
        OffsetViewportOrgEx(dc, r.left - bounds.left, r.top - bounds.top, nullptr);
        IntersectClipRect(dc, 0, 0, other->Width(), other->Height());
        if (auto* win = dynamic_cast<tk::TWinControl*>(other)) {
            if (win->HandleAllocated()) {
                SendMessageW(win->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
                SendMessageW(win->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
            }
        } else {
            tk::TCanvas canvas(dc);
            other->Paint(canvas);
        }
        RestoreDC(dc, saved);
    }
    gPaintingSiblings = false;
    GdiFlush();
}

// ---- Painting ----

bool TsSpeedButton::CacheIsStale(HDC dc) {
    // A window-less button is above state 0 only while down, pressed, focused or hovered: those
    // flags are read first, so the common paint asks nothing more.
    const bool mayBeActive = FDown || FPressed || FSkinData.FMouseAbove || FSkinData.FFocused;
    if (FSkinData.BGChanged || FDown != FStoredDown || !FSkinData.FCacheBmp ||
        FSkinData.FCacheBmp->Width() != Width() || FSkinData.FCacheBmp->Height() != Height() ||
        (mayBeActive && CurrentState() > 0))
        return true;
    // Half visible: the button reaches outside its parent. Told from the stored bounds, not by
    // asking the system, since this runs at every paint (an empty clip paints nothing anyway).
    (void)dc;
    return Left() < 0 || Top() < 0 || (Parent() && (Left() + Width() > Parent()->Width() || Top() + Height() > Parent()->Height()));
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
    if (FMenuVisible) {
        FSkinData.BGChanged = true;
        return;
    }
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
    if (FMenuOwnerMode) {
        FSkinData.BGChanged = true;
        return;
    }
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
    if (FMenuOwnerMode || !Visible()) {
        FSkinData.BGChanged = true;
        return;
    }
    StateChanged(aeMouseLeave, false);
}

bool TsSpeedButton::IsMenuPress(int x) const {
    return FButtonStyle == tbsDropDown && FDropdownMenu && (x >= Width() - kArrowWidth || !OnClick);
}

void TsSpeedButton::DropDown() {
    StopFade(FFadeTimer);
    if (FMenuVisible || FDropdownMenu->Showing()) return;
    FMenuVisible = FDroppedDown = true;
    gDroppedButton = this;
    FSkinData.BGChanged = true;
    GraphRepaint();
    const auto alive = FAlive;
    DropMenuBelow(*FDropdownMenu, *this, FSkinData.SkinManager());
    if (!*alive) return;
    if (gDroppedButton == this) gDroppedButton = nullptr;
    FMenuVisible = FDroppedDown = false;
    FPressed = false;
    FSkinData.BGChanged = true;
    POINT cursor{};
    GetCursorPos(&cursor);
    if (Parent() && Parent()->HandleAllocated()) ScreenToClient(Parent()->Handle(), &cursor);
    const RECT bounds = BoundsRect();
    if (!PtInRect(&bounds, cursor)) Perform(tk::CM_MOUSELEAVE);
    GraphRepaint();
}

void TsSpeedButton::MouseDown(int x, int y) {
    if (Enabled() && IsMenuPress(x)) {
        // The menu takes the press: no click follows it.
        DropDown();
        return;
    }
    tk::TSpeedButton::MouseDown(x, y);
    if (Ready() && Enabled()) StateChanged(aeMouseDown, true);
}

void TsSpeedButton::MouseUp(int x, int y) {
    if (FMenuVisible) {
        // The menu took the capture from the parent: the press is over without a click.
        tk::TSpeedButton::MouseUp(-1, -1);
        return;
    }
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
