#include "controls/sButton.h"

#include "controls/sButtonMenu.h"
#include "controls/sGlyphUtils.h"

#include <algorithm>

#include "skinframework/acGlow.h"
#include "skinframework/sControlPaint.h"
#include "skinframework/sControlText.h"
#include "skinframework/sSkinManager.h"
#include "skinpaint/sMaskPaint.h"
#include "skinpaint/sMaskRegion.h"
#include "skinpaint/sTextOutput.h"

namespace sk {

namespace {

// Set only around the synchronous redraw of a quick click.
bool gPaintPressedNow = false;

HRGN NoRegionYet() { return reinterpret_cast<HRGN>(1); }
bool IsRealRegion(HRGN r) { return r && r != NoRegionYet(); }

// The split button's drop-down part at the right.
constexpr int kSplitWidth = 16;

bool CursorOver(HWND h) {
    POINT p;
    RECT r;
    return GetCursorPos(&p) && GetWindowRect(h, &r) && PtInRect(&r, p);
}

}  // namespace

bool TsButton::PaintPressedNow() { return gPaintPressedNow; }

TsButton::TsButton(tk::TComponent* owner) : tk::TButton(owner) {}

TsButton::~TsButton() {
    *FAlive = false;
    if (FImages) FImages->RemoveFreeNotification(this);
    if (FDropDownMenu) FDropDownMenu->RemoveFreeNotification(this);
    StopFade(FFadeTimer);
    DropStoredRegion();
}

void TsButton::CreateParams(tk::TCreateParams& p) {
    tk::TButton::CreateParams(p);
    // The face is ours: the system button keeps only its input and state handling.
    p.Style = (p.Style & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_OWNERDRAW;
}

void TsButton::Loaded() {
    tk::TButton::Loaded();
    if (FSkinData.FCacheBmp) FSkinData.FCacheBmp->Canvas().Font.Assign(Font());
    FSkinData.Loaded();
}

void TsButton::SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& v) {
    if (FSkinData.ReadProperty(reader, name, v)) return;
    if (name == "ShowFocus") FShowFocus = reader.Bool(v);
    else if (name == "Down") FDown = reader.Bool(v);
    else if (name == "FocusMargin") FFocusMargin = reader.Int(v);
    else if (name == "ContentMargin") FContentMargin = reader.Int(v);
    else if (name == "WordWrap") FWordWrap = reader.Bool(v);
    else if (name == "CommandLinkHint") FCommandLinkHint = reader.String(v);
    else if (name == "Style") {
        const std::string style = reader.Ident(v);
        if (style == "bsCommandLink") FStyle = TsButtonStyle::bsCommandLink;
        else if (style == "bsSplitButton") FStyle = TsButtonStyle::bsSplitButton;
        else FStyle = TsButtonStyle::bsPushButton;
    }
    else tk::TButton::SetProperty(reader, name, v);
}

// ---- Properties ----

void TsButton::Changed() {
    if (IsLoading()) return;
    FSkinData.Invalidate();
}

void TsButton::SetShowFocus(bool value) {
    if (FShowFocus == value) return;
    FShowFocus = value;
    Changed();
}

void TsButton::SetDisabledKind(unsigned value) {
    if (FDisabledKind == value) return;
    FDisabledKind = value;
    Changed();
}

void TsButton::SetDown(bool value) {
    if (FDown == value) return;
    FDown = value;
    RegionChanged = true;
    Changed();
}

void TsButton::SetFocusMargin(int value) {
    if (FFocusMargin == value) return;
    FFocusMargin = value;
    Changed();
}

void TsButton::SetContentMargin(int value) {
    if (FContentMargin == value) return;
    FContentMargin = value;
    Changed();
}

void TsButton::SetWordWrap(bool value) {
    if (FWordWrap == value) return;
    FWordWrap = value;
    Changed();
}

void TsButton::SetImages(tk::TCustomImageList* value) {
    if (ReplaceLinked(FImages, value)) Changed();
}

void TsButton::Notification(tk::TComponent* component, tk::TOperation operation) {
    tk::TButton::Notification(component, operation);
    if (operation != tk::TOperation::opRemove) return;
    if (component == FDropDownMenu) FDropDownMenu = nullptr;
    if (component == FImages) {
        FImages = nullptr;
        Changed();
    }
}

void TsButton::SetStyle(TsButtonStyle value) {
    if (FStyle == value) return;
    FStyle = value;
    Changed();
}

void TsButton::SetDropDownMenu(tk::TPopupMenu* value) {
    ReplaceLinked(FDropDownMenu, value);
}

void TsButton::SetCommandLinkHint(const std::wstring& value) {
    if (FCommandLinkHint == value) return;
    FCommandLinkHint = value;
    Changed();
}

void TsButton::SetStateImageIndex(int slot, int value) {
    if (FImageIndexes[slot] == value) return;
    FImageIndexes[slot] = value;
    Changed();
}

void TsButton::SetImageAlignment(TImageAlignment value) {
    if (FImageAlignment == value) return;
    FImageAlignment = value;
    Changed();
}

void TsButton::SetImageMargins(const RECT& value) {
    if (EqualRect(&FImageMargins, &value)) return;
    FImageMargins = value;
    Changed();
}

void TsButton::SetReflected(bool value) {
    if (FReflected == value) return;
    FReflected = value;
    Changed();
}

void TsButton::SetButtonStyle(bool active) {
    if (IsFocused == active) return;
    IsFocused = active;
    FSkinData.BGChanged = true;
    if (!IsLoading() && HandleAllocated()) Invalidate();
}

// ---- State ----

int TsButton::CurrentState() {
    const bool pushed = HandleAllocated() && (SendMessageW(Handle(), BM_GETSTATE, 0, 0) & BST_PUSHED);
    if (pushed || gPaintPressedNow) {
        TsSkinManager* manager = FSkinData.SkinManager();
        const bool noHover = manager && manager->Options.NoMouseHover;
        if ((HandleAllocated() && CursorOver(Handle())) || GetCapture() != (HandleAllocated() ? Handle() : nullptr) ||
            noHover)
            return bsPressed;
    }
    if (FDown || FDroppedDown) return bsPressed;
    if (FSkinData.ControlIsHot()) return bsHot;
    // The form's default button while no other push button has the focus.
    if (Active()) return bsDefault;
    return bsNormal;
}

int TsButton::SkinState(int state) const {
    const TsGeneralData* section = FSkinData.Section();
    const int states = section ? std::max(section->States, 1) : 1;
    if (state == bsDefault && states < 4) return std::min(1, states - 1);
    return std::min(state, states - 1);
}

bool TsButton::Ready() const { return FSkinData.Skinned() && !FSkinData.OwnerDestroying(); }

// ---- Face ----

bool TsButton::NeedsRegion() const {
    const TsMaskData* mask = FSkinData.BorderMask();
    return mask && mask->CornerType == 2;
}

void TsButton::PaintBorder(rd::TBitmap32* cache, const rd::TCacheInfo& bg, int skinState) {
    const TsMaskData* mask = FSkinData.BorderMask();
    if (!mask) return;
    const bool skipNormal = skinState == 0 && (mask->DrawMode & 2);
    if (RegionChanged && mask->CornerType == 2 && !FSkinData.PrintDC && !FFadeTimer) {
        if (skipNormal) return;
        DropStoredRegion();
        FRegion = CreateRectRgn(0, 0, Width(), Height());
        rd::PaintMaskWithRegion(cache, FRegion, true, skinState, *mask);
        return;
    }
    if (!skipNormal) rd::PaintMaskNinePart(cache, {0, 0, Width(), Height()}, bg, true, skinState, *mask);
}

void TsButton::PaintFaceLayers(rd::TBitmap32* cache, const rd::TCacheInfo& bg, int skinState) {
    PaintControlBackground(FSkinData, bg, skinState, cache, {0, 0}, {0, 0, Width(), Height()});
    PaintBorder(cache, bg, skinState);
    ApplyColorTone(cache, FSkinData, skinState);
    FSkinData.PaintOuterEffects(this, {0, 0});
}

bool TsButton::PrepareCache() {
    const std::optional<rd::TCacheInfo> background = FSkinData.CacheBackground();
    if (!background) return false;
    const rd::TCacheInfo& bg = *background;
    TacCacheBitmap* cache = FSkinData.FCacheBmp.get();
    cache->Canvas().Font.Assign(Font());
    const int state = CurrentState();
    PaintFaceLayers(cache->View(), bg, SkinState(state));
    DrawGlyph(state);
    DrawCaption(state);
    if (FStyle == TsButtonStyle::bsSplitButton) DrawSplitArrow(SkinState(state));
    if (!Enabled()) {
        const rd::TColor parentColor = Parent() ? rd::ColorToRGB(Parent()->Color()) : rd::clMagenta;
        rd::ApplyDisabledLook(cache->View(), FDisabledKind, parentColor, {0, 0}, bg);
    }
    FSkinData.BGChanged = false;
    return true;
}

// ---- Caption ----

UINT TsButton::TextFormat() const {
    return DT_EXPANDTABS | DT_CENTER | (FWordWrap ? DT_WORDBREAK : DT_SINGLELINE);
}

SIZE TsButton::TextRectSize() {
    if (Caption().empty()) return SIZE{0, 0};
    if (FStyle == TsButtonStyle::bsCommandLink) {
        tk::TFont font;
        AssignCommandLinkFont(font);
        const int right = Width() - static_cast<int>(ImageBlockSize().cx) - 3 * FContentMargin - 6;
        return rd::MeasureText(font.Handle(), Caption(), DT_EXPANDTABS, std::max(right - FContentMargin, 0), true);
    }
    const int width = std::max(Width() - 2 * FContentMargin, 0);
    return rd::MeasureText(Font().Handle(), Caption(), DT_EXPANDTABS | DT_CENTER, width, FWordWrap);
}

int TsButton::ContentWidth() const { return Width() - (FStyle == TsButtonStyle::bsSplitButton ? kSplitWidth : 0); }

SIZE TsButton::ImageBlockSize() const {
    const int w = HasImage() ? FImages->Width() : 32, h = HasImage() ? FImages->Height() : 32;
    return SIZE{w + FImageMargins.left + FImageMargins.right, h + FImageMargins.top + FImageMargins.bottom};
}

void TsButton::AssignCommandLinkFont(tk::TFont& font) {
    font.Assign(Font());
    HDC screen = GetDC(nullptr);
    const int ppi = std::max(GetDeviceCaps(screen, LOGPIXELSY), 1);
    ReleaseDC(nullptr, screen);
    const int points = MulDiv(std::abs(font.Height), 72, ppi);
    font.Height = -MulDiv(points + 2, ppi, 72);
    font.Style |= tk::fsBold;
    font.Changed();
}

bool TsButton::ShiftsContent(int state) {
    TsSkinManager* manager = FSkinData.SkinManager();
    return state == bsPressed && (!FSkinData.Skinned() || (manager && manager->ButtonsOptions.ShiftContentOnClick));
}

bool TsButton::HasImage() const { return FImages && FImages->ValidIndex(FImageIndexes[0]); }

RECT TsButton::CaptionRect() {
    const SIZE text = TextRectSize();
    const int tw = static_cast<int>(text.cx), th = static_cast<int>(text.cy);
    const int w = ContentWidth(), h = Height(), cm = FContentMargin;
    const RECT& im = FImageMargins;
    const int iw = HasImage() ? FImages->Width() : 0, ih = HasImage() ? FImages->Height() : 0;
    RECT r;
    r.top = (h - th) / 2;
    r.bottom = h - r.top;
    if (FStyle == TsButtonStyle::bsCommandLink) {
        r = RECT{static_cast<LONG>(ImageBlockSize().cx) + cm + 6, cm, w - cm, cm + th};
        if (ShiftsContent(CurrentState())) OffsetRect(&r, 1, 1);
        return r;
    }
    switch (HasImage() ? FImageAlignment : TImageAlignment::iaCenter) {
        case TImageAlignment::iaLeft:
            r.left = im.left + cm + iw + im.right;
            r.right = w - cm;
            break;
        case TImageAlignment::iaRight:
            r.left = cm;
            r.right = w - im.right - cm - iw - im.left;
            break;
        case TImageAlignment::iaTop: {
            const int t = im.top + 2 * cm + ih;
            r.top = t + (h - cm - t - th) / 2;
            r.bottom = r.top + th;
            r.left = cm;
            r.right = w - cm;
            break;
        }
        case TImageAlignment::iaBottom: {
            const int b = h - im.bottom - cm - ih - im.top;
            r.top = im.top + (b - im.top - th) / 2;
            r.bottom = r.top + th;
            r.left = cm;
            r.right = w - cm;
            break;
        }
        case TImageAlignment::iaCenter:
            r.left = (w - tw) / 2 - 1;
            r.right = r.left + tw + 2;
            break;
    }
    if (ShiftsContent(CurrentState())) OffsetRect(&r, 1, 1);
    return r;
}

int TsButton::GlyphIndex() {
    if (!FImages) return -1;
    int slot = CurrentState();
    if (!Enabled()) slot = 4;
    else if (slot != bsPressed && FSkinData.FFocused) slot = 3;
    const int index = FImageIndexes[slot];
    if (FImages->ValidIndex(index)) return index;
    return FImages->ValidIndex(FImageIndexes[0]) ? FImageIndexes[0] : -1;
}

RECT TsButton::GlyphRect() {
    if (!HasImage()) return RECT{};
    const int w = ContentWidth(), h = Height(), cm = FContentMargin;
    const int iw = FImages->Width(), ih = FImages->Height();
    const RECT& im = FImageMargins;
    int x = (w - iw) / 2, y = (h - ih) / 2;
    if (FStyle == TsButtonStyle::bsCommandLink) {
        x = im.left + cm;
        y = cm;
    } else switch (FImageAlignment) {
        case TImageAlignment::iaLeft: x = im.left + cm; break;
        case TImageAlignment::iaRight: x = w - im.right - cm - iw; break;
        case TImageAlignment::iaTop: y = im.bottom + cm; break;
        case TImageAlignment::iaBottom: y = h - im.bottom - cm - ih; break;
        case TImageAlignment::iaCenter: break;
    }
    RECT r{x, y, x + iw, y + ih};
    if (ShiftsContent(CurrentState())) OffsetRect(&r, 1, 1);
    return r;
}

void TsButton::DrawGlyph(int state) {
    TacCacheBitmap* cache = FSkinData.FCacheBmp.get();
    const int index = GlyphIndex();
    if (!cache || index < 0) return;
    TsSkinManager* manager = FSkinData.SkinManager();
    TsGlyphPaintInfo info;
    info.DstBmp = cache->View();
    info.Images = FImages;
    info.ImageIndex = index;
    info.SkinIndex = FSkinData.SkinIndex;
    info.Manager = manager;
    info.GlyphRect = GlyphRect();
    info.Enabled = Enabled();
    info.Pressed = state == bsPressed;
    info.Grayed = FSkinData.Skinned() && manager && manager->Effects.DiscoloredGlyphs;
    info.State = state;
    info.DisabledGlyphKind = dgBlended;
    info.Reflected = FReflected;
    GdiFlush();
    PaintButtonGlyph(info);
}

void TsButton::DrawCaption(int state) {
    TacCacheBitmap* cache = FSkinData.FCacheBmp.get();
    if (!cache || Caption().empty()) return;
    tk::TCanvas& canvas = cache->Canvas();
    canvas.Brush.Clear = true;
    const RECT r = CaptionRect();
    if (FStyle == TsButtonStyle::bsCommandLink) {
        AssignCommandLinkFont(canvas.Font);
        WriteControlText(canvas, Caption(), Enabled(), state != bsNormal, FSkinData, DT_EXPANDTABS | DT_WORDBREAK, r);
        canvas.Font.Assign(Font());
        DrawCommandLinkHint(canvas, r, state);
    } else {
        canvas.Font.Assign(Font());
        const UINT format = DT_EXPANDTABS | DT_VCENTER | DT_CENTER | (FWordWrap ? DT_WORDBREAK : 0);
        WriteControlText(canvas, Caption(), Enabled(), state != bsNormal, FSkinData, format, r);
    }
    DrawFocusFrame(r);
}

void TsButton::DrawCommandLinkHint(tk::TCanvas& canvas, const RECT& caption, int state) {
    if (FCommandLinkHint.empty()) return;
    const RECT r{caption.left, caption.bottom + 6, caption.right, Height() - FContentMargin};
    if (r.bottom <= r.top) return;
    WriteControlText(canvas, FCommandLinkHint, Enabled(), state != bsNormal, FSkinData, DT_EXPANDTABS | DT_WORDBREAK, r);
}

void TsButton::DrawSplitArrow(int skinState) {
    const TsGeneralData* section = FSkinData.Section();
    TacCacheBitmap* cache = FSkinData.FCacheBmp.get();
    if (!section || !cache) return;
    const rd::TColor color = section->Props[skinState > 0 ? 1 : 0].FontColor.Color;
    tk::TCanvas& canvas = cache->Canvas();
    HDC dc = canvas.Handle();
    HPEN pen = CreatePen(PS_SOLID, 1, rd::ColorToRGB(color));
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, Width() - kSplitWidth + 1, 4, nullptr);
    LineTo(dc, Width() - kSplitWidth + 1, Height() - 4);
    SelectObject(dc, old);
    DeleteObject(pen);
    rd::DrawArrowShape(dc, color, RECT{Width() - kSplitWidth, 0, Width(), Height()}, 3);
    GdiFlush();
}

void TsButton::DrawFocusFrame(const RECT& caption) {
    TsSkinManager* manager = FSkinData.SkinManager();
    const TsGeneralData* section = FSkinData.Section();
    if (!FSkinData.FFocused || !Enabled() || !section || !manager || Caption().empty() || !FShowFocus ||
        !manager->ButtonsOptions.ShowFocusRect)
        return;
    RECT r = caption;
    InflateRect(&r, FFocusMargin + 1, FFocusMargin);
    r.top = std::max<LONG>(r.top, 3);
    r.bottom = std::min<LONG>(r.bottom, Height() - 3);
    const rd::TColor color = section->Props[std::min(1, section->States)].FontColor.Color;
    rd::DrawDottedFrame(FSkinData.FCacheBmp->Canvas().Handle(), r, color, rd::clNone);
}

// ---- Window region ----

void TsButton::DropStoredRegion() {
    if (IsRealRegion(FRegion)) DeleteObject(FRegion);
    FRegion = nullptr;
}

void TsButton::RemoveWindowRegion() {
    if (HandleAllocated() && FRegionApplied) SetWindowRgn(Handle(), nullptr, TRUE);
    FRegionApplied = false;
}

void TsButton::ApplyRegion(HDC dc) {
    if (!PrepareCache()) return;
    const TsMaskData* mask = FSkinData.BorderMask();
    TacCacheBitmap* cache = FSkinData.FCacheBmp.get();
    if (mask && cache) {
        // The corners first, so that nothing else shows through while the shape changes.
        const int w = Width(), h = Height();
        HDC src = cache->Canvas().Handle();
        BitBlt(dc, 0, 0, mask->WL, mask->WT, src, 0, 0, SRCCOPY);
        BitBlt(dc, w - mask->WR, 0, mask->WR, mask->WT, src, w - mask->WR, 0, SRCCOPY);
        BitBlt(dc, 0, h - mask->WB, mask->WL, mask->WB, src, 0, h - mask->WB, SRCCOPY);
        BitBlt(dc, w - mask->WR, h - mask->WB, mask->WR, mask->WB, src, w - mask->WR, h - mask->WB, SRCCOPY);
    }
    const bool first = FRegion && !FRegionApplied;
    if (IsRealRegion(FRegion)) {
        // The window owns the region from here on: forget the handle so it is never deleted twice.
        SetWindowRgn(Handle(), FRegion, first ? TRUE : FALSE);
        FRegion = nullptr;
        FRegionApplied = true;
    }
    const RECT now = BoundsRect();
    if (Parent() && Parent()->HandleAllocated() && (now.right - now.left < LastRect.right - LastRect.left ||
                                                   now.bottom - now.top < LastRect.bottom - LastRect.top))
        InvalidateRect(Parent()->Handle(), &LastRect, FALSE);
    LastRect = now;
    RegionChanged = false;
}

// ---- Painting ----

void TsButton::PaintToDC(HDC dc) {
    if (!HandleAllocated()) return;
    const bool own = dc == nullptr;
    PAINTSTRUCT ps{};
    if (own) dc = BeginPaint(Handle(), &ps);
    // The skin data's own flag: asking the parents at every paint would cost more than the copy.
    if (!FSkinData.FUpdating && !FFadeTimer) {
        if (RegionChanged && NeedsRegion() && !FSkinData.PrintDC) {
            ApplyRegion(dc);
        } else if (FSkinData.BGChanged) {
            PrepareCache();
        }
        // One blit changes nothing of the DC's state, so none is saved around it.
        if (!FSkinData.BGChanged && FSkinData.FCacheBmp)
            BitBlt(dc, 0, 0, Width(), Height(), FSkinData.FCacheBmp->Canvas().Handle(), 0, 0, SRCCOPY);
    }
    if (own) EndPaint(Handle(), &ps);
}

// ---- State changes ----

void TsButton::StateChanged(TacAnimatEvent event, bool fast) {
    FSkinData.BGChanged = false;
    FadeOnStateChange(FFadeTimer, FSkinData, fast, fdUp,
                      AnimationAllowed(event, FAnimatEvents, FSkinData.SkinManager()));
}

void TsButton::OnMouseEnterMsg(tk::TMessage& m) {
    const bool wasAbove = FSkinData.FMouseAbove;
    TsSkinManager* manager = FSkinData.SkinManager();
    const bool hover = manager && !manager->Options.NoMouseHover;
    HandleCommonMessage(m, FSkinData);
    tk::TButton::WndProc(m);
    if (!Enabled() || wasAbove || !hover) return;
    if (OnMouseEnter) OnMouseEnter(this);
    FSkinData.FMouseAbove = true;
    StateChanged(aeMouseEnter, false);
}

void TsButton::OnMouseLeaveMsg(tk::TMessage& m) {
    HandleCommonMessage(m, FSkinData);
    tk::TButton::WndProc(m);
    if (!Enabled()) return;
    if (OnMouseLeave) OnMouseLeave(this);
    FSkinData.FMouseAbove = false;
    StateChanged(aeMouseLeave, false);
}

bool TsButton::IsSplitPress(const tk::TMessage& m) const {
    const int x = static_cast<short>(LOWORD(m.LParam));
    return FStyle == TsButtonStyle::bsSplitButton && FDropDownMenu && x >= Width() - kSplitWidth;
}

void TsButton::DropDown() {
    StopFade(FFadeTimer);
    if (FDroppedDown || FDropDownMenu->Showing()) return;
    FDroppedDown = true;
    FSkinData.BGChanged = true;
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const auto alive = FAlive;
    DropMenuBelow(*FDropDownMenu, *this, FSkinData.SkinManager());
    if (!*alive) return;
    FDroppedDown = false;
    FSkinData.BGChanged = true;
    Invalidate();
}

void TsButton::OnLeftPress(tk::TMessage& m) {
    if (Enabled() && IsSplitPress(m)) {
        // The menu part: the system button sees no press, so no click follows the menu.
        DropDown();
        m.Result = 0;
        return;
    }
    FInPress = true;
    tk::TButton::WndProc(m);  // the system button takes the capture and sets its pushed flag
    FInPress = false;
    if (!Enabled()) return;
    FSkinData.FUpdating = false;
    FMouseClicked = true;
    if (FDown) return;
    RegionChanged = true;
    FSkinData.Updating();
    StateChanged(aeMouseDown, true);
}

void TsButton::ShowPressedFaceBriefly() {
    StopFade(FFadeTimer);
    FSkinData.BGChanged = true;
    gPaintPressedNow = true;
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    gPaintPressedNow = false;
    Sleep(30);
}

void TsButton::OnLeftRelease(tk::TMessage& m) {
    // A press that began elsewhere: no click, no change of face.
    if (!FMouseClicked) return;
    FMouseClicked = false;
    if (FFadeTimer && FFadeTimer->FadeLevel < FFadeTimer->Iterations) ShowPressedFaceBriefly();
    const auto alive = FAlive;
    RECT client;
    GetClientRect(Handle(), &client);
    const POINT at{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
    FClickSeen = false;
    FInPress = true;
    tk::TButton::WndProc(m);  // releases the pushed flag and fires the click
    if (!*alive) return;
    FInPress = false;
    // The system button forgets a press when it loses the capture or the focus before the
    // release (the activation that comes with the same click can do that); a release over the
    // button that began on it is still a click.
    if (!FClickSeen && PtInRect(&client, at) && Enabled() && !Destroying()) {
        Click();
        if (!*alive) return;
    }
    if (Destroying() || !HandleAllocated()) return;
    FSkinData.FUpdating = false;
    RegionChanged = true;
    if (FSkinData.BGChanged) {
        // The click changed the face (caption, enabled state): fading from the outdated picture
        // would show the old caption; the new face is shown at once.
        FadeOnStateChange(FFadeTimer, FSkinData, true, fdUp, false);
        return;
    }
    StateChanged(aeMouseUp, true);
}

void TsButton::OnFocusChange(tk::TMessage& m, bool gained) {
    if (!gained) StopFade(FFadeTimer);
    HandleCommonMessage(m, FSkinData);
    tk::TButton::WndProc(m);
    if (!Ready()) return;
    if (!gained) {
        FSkinData.FFocused = false;
        HideGlow(FSkinData.GlowID);
    }
    RegionChanged = true;
    FSkinData.BGChanged = true;
    if (FFadeTimer) FFadeTimer->Change();
    else Invalidate();
}

void TsButton::OnEnabledChanged(tk::TMessage& m) {
    if (!Enabled()) StopFade(FFadeTimer);
    tk::TButton::WndProc(m);
    FSkinData.FUpdating = false;
    FSkinData.BGChanged = true;
    if (Visible()) Invalidate();
}

// ---- Messages ----

bool TsButton::HandleSkinMessage(tk::TMessage& m) {
    const bool ours = m.LParam == reinterpret_cast<LPARAM>(FSkinData.SkinManager());
    switch (SkinCmdOf(m.WParam)) {
        case SC_NEWSKIN:
            if (!ours) return false;
            RegionChanged = true;
            StopFade(FFadeTimer);
            HandleSkinCommand(m, FSkinData);
            return true;
        case SC_REMOVESKIN:
            if (!ours || Destroying()) return false;
            StopFade(FFadeTimer);
            HandleSkinCommand(m, FSkinData);
            DropStoredRegion();
            RemoveWindowRegion();
            Invalidate();
            return true;
        case SC_REFRESH:
            if (!ours) return false;
            StopFade(FFadeTimer);
            RemoveWindowRegion();
            HandleSkinCommand(m, FSkinData);
            RegionChanged = true;
            if (!FSkinData.PrintDC) Invalidate();
            return true;
        case SC_ISHANDLED: m.Result = 1; return true;
        case SC_FADEDONE: StopFade(FFadeTimer); return true;
        case SC_PREPARECACHE: m.Result = PrepareCache() ? 0 : 1; return true;
        case SC_PAINTFADEFRAME: DropStoredRegion(); return false;
        default: return false;
    }
}

bool TsButton::HandleSkinnedMessage(tk::TMessage& m) {
    switch (m.Msg) {
        case WM_PAINT: PaintToDC(reinterpret_cast<HDC>(m.WParam)); m.Result = 0; return true;
        case WM_ERASEBKGND:
            if (m.WParam && !FFadeTimer) {
                if (FSkinData.BGChanged) PrepareCache();
                if (!FSkinData.BGChanged)
                    CopyCacheToDC(FSkinData, reinterpret_cast<HDC>(m.WParam), 0, 0, RECT{0, 0, Width(), Height()});
            }
            m.Result = 0;
            return true;
        case WM_PRINTCLIENT: case WM_PRINT:
            RegionChanged = true;
            FSkinData.FUpdating = false;
            PaintToDC(reinterpret_cast<HDC>(m.WParam));
            return true;
        case tk::CM_MOUSEENTER: OnMouseEnterMsg(m); return true;
        case tk::CM_MOUSELEAVE: OnMouseLeaveMsg(m); return true;
        case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: OnLeftPress(m); return true;
        case WM_LBUTTONUP: OnLeftRelease(m); return true;
        case WM_SETFOCUS: OnFocusChange(m, true); return true;
        case WM_KILLFOCUS: OnFocusChange(m, false); return true;
        case tk::CM_ENABLEDCHANGED: OnEnabledChanged(m); return true;
        case WM_ENABLE: case WM_UPDATEUISTATE: m.Result = 1; return true;
        case WM_KEYUP:
            tk::TButton::WndProc(m);
            if (m.WParam == VK_SPACE) {
                RegionChanged = true;
                FSkinData.BGChanged = true;
                Invalidate();
            }
            return true;
        case BM_SETSTATE:
            tk::TButton::WndProc(m);
            if (!FInPress && !FFadeTimer) {
                FSkinData.BGChanged = true;
                Invalidate();
            }
            return true;
        case tk::CM_TEXTCHANGED:
            tk::TButton::WndProc(m);
            FSkinData.BGChanged = true;
            Invalidate();
            return true;
        case WM_SIZE: case WM_WINDOWPOSCHANGING:
            RegionChanged = true;
            if (m.Msg == WM_SIZE) HideGlow(FSkinData.GlowID);
            return false;
        case WM_WINDOWPOSCHANGED:
            RegionChanged = true;
            FSkinData.BGChanged = true;
            return false;
        default: return false;
    }
}

void TsButton::WndProc(tk::TMessage& m) {
    if (m.Msg == SM_SKINCMD && HandleSkinMessage(m)) return;
    if (m.Msg != SM_SKINCMD && Ready() && HandleSkinnedMessage(m)) return;
    if (!Ready() && m.Msg == WM_PAINT) {
        PaintPlain(reinterpret_cast<HDC>(m.WParam));
        return;
    }
    if (HandleCommonMessage(m, FSkinData)) return;
    tk::TButton::WndProc(m);
    // The system button draws an owner-drawn face only through its parent: show the new state.
    if (!Ready() && (m.Msg == BM_SETSTATE || m.Msg == WM_SETFOCUS || m.Msg == WM_KILLFOCUS) && HandleAllocated())
        InvalidateRect(Handle(), nullptr, FALSE);
}

void TsButton::PaintPlain(HDC dc) {
    const bool own = dc == nullptr;
    PAINTSTRUCT ps{};
    if (own) dc = BeginPaint(Handle(), &ps);
    RECT r{0, 0, Width(), Height()};
    const bool pushed = SendMessageW(Handle(), BM_GETSTATE, 0, 0) & BST_PUSHED;
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0) | (Enabled() ? 0 : DFCS_INACTIVE));
    tk::TCanvas canvas(dc);
    canvas.Font.Assign(Font());
    canvas.Brush.Clear = true;
    RECT text = r;
    InflateRect(&text, -FContentMargin, 0);
    if (pushed) OffsetRect(&text, 1, 1);
    WriteControlText(canvas, Caption(), Enabled(), false, FSkinData, TextFormat() | DT_VCENTER, text);
    if (GetFocus() == Handle() && !Caption().empty()) {
        RECT focus = r;
        InflateRect(&focus, -4, -4);
        DrawFocusRect(dc, &focus);
    }
    if (own) EndPaint(Handle(), &ps);
}

}  // namespace sk
