#include "controls/sCheckBox.h"

#include <algorithm>

#include "skinframework/sControlPaint.h"
#include "skinframework/sControlText.h"
#include "skinframework/sSkinManager.h"
#include "skinpaint/sMaskPaint.h"
#include "skinpaint/sTextOutput.h"
#include "toolkit/Application.h"
#include "toolkit/DescriptionReader.h"

namespace sk {

namespace {

constexpr SIZE kDefaultGlyph{16, 16};

WPARAM NativeCheck(TCheckBoxState s) {
    switch (s) {
        case TCheckBoxState::cbChecked: return BST_CHECKED;
        case TCheckBoxState::cbGrayed: return BST_INDETERMINATE;
        default: return BST_UNCHECKED;
    }
}

TCheckBoxState StateOfNative(WPARAM check) {
    if (check == BST_CHECKED) return TCheckBoxState::cbChecked;
    if (check == BST_INDETERMINATE) return TCheckBoxState::cbGrayed;
    return TCheckBoxState::cbUnchecked;
}

// Size of one square (or whole non-square) frame of a strip.
SIZE StripFrameSize(const tk::TBitmap& strip) {
    const int w = strip.Width(), h = strip.Height();
    if (h > 0 && w % h == 0) return SIZE{h, h};
    return SIZE{w, h};
}

}  // namespace

int GlyphFrameIndex(int frames, int interactionState) {
    const int last = std::max(0, frames - 1);
    if (interactionState >= 2) return std::min(2, last);
    if (interactionState == 1) return std::min(1, last);
    return 0;
}

int StripFrameCount(int width, int height) { return height > 0 ? std::max(1, width / height) : 1; }

TsCheckBox::TsCheckBox(tk::TComponent* owner) : tk::TCheckBox(owner) { FSkinData.Loaded(); }

TsCheckBox::~TsCheckBox() {
    MarkDestroying();
    if (FImages) FImages->RemoveFreeNotification(this);
    StopFade(FFadeTimer);
}

void TsCheckBox::Loaded() {
    tk::TCheckBox::Loaded();
    FSkinData.Loaded();
    AdjustSize();
}

void TsCheckBox::CreateParams(tk::TCreateParams& p) {
    tk::TCheckBox::CreateParams(p);
    if (FAllowGrayed) p.Style = (p.Style & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_AUTO3STATE;
}

void TsCheckBox::InitializeWnd() {
    tk::TWinControl::InitializeWnd();  // the state comes from here, not from the toolkit's copy
    PushStateToWindow();
}

// ---- State ----

void TsCheckBox::PushStateToWindow() {
    if (!HandleAllocated()) return;
    tk::TMessage set{BM_SETCHECK, NativeCheck(FState), 0, 0};
    DefaultHandler(set);  // straight to the system check box: our own handler would set the state again
}

void TsCheckBox::SetState(TCheckBoxState value) {
    if (value == TCheckBoxState::cbGrayed && !FAllowGrayed && !IsLoading()) value = TCheckBoxState::cbChecked;
    if (value == FState) return;
    const bool wasChecked = Checked();
    FState = value;
    PushStateToWindow();
    if (IsLoading()) return;
    StateChanged();
    if (Checked() != wasChecked && OnValueChanged) OnValueChanged(this);
}

void TsCheckBox::SetChecked(bool value) {
    if (IsLoading()) {
        FState = value ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked;
        return;
    }
    if (value == Checked()) return;
    SetState(value ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked);
}

void TsCheckBox::SetAllowGrayed(bool value) {
    if (value == FAllowGrayed) return;
    FAllowGrayed = value;
    if (HandleAllocated())
        SendMessageW(Handle(), BM_SETSTYLE, value ? BS_AUTO3STATE : BS_AUTOCHECKBOX, FALSE);
    if (!value && FState == TCheckBoxState::cbGrayed) SetState(TCheckBoxState::cbChecked);
}

void TsCheckBox::Toggle() {
    switch (FState) {
        case TCheckBoxState::cbUnchecked: SetState(TCheckBoxState::cbChecked); break;
        case TCheckBoxState::cbChecked:
            SetState(FAllowGrayed ? TCheckBoxState::cbGrayed : TCheckBoxState::cbUnchecked);
            break;
        case TCheckBoxState::cbGrayed: SetState(TCheckBoxState::cbUnchecked); break;
    }
    Click();
}

// A running fade follows the new state; otherwise the new face shows at once.
void TsCheckBox::StateChanged() {
    if (FFadeTimer && FSkinData.Skinned()) {
        Fade(aeMouseUp, true);
        return;
    }
    FSkinData.BGChanged = true;
    Repaint();
}

// ---- Settings ----

void TsCheckBox::SetAlignment(tk::TAlignment value) {
    if (value == FAlignment) return;
    FAlignment = value;
    FSkinData.Invalidate();
}

void TsCheckBox::SetAutoSize(bool value) {
    FAutoSize = value;
    AdjustSize();
}

void TsCheckBox::SetWordWrap(bool value) {
    if (value == FWordWrap) return;
    FWordWrap = value;
    AdjustSize();
    FSkinData.Invalidate();
}

void TsCheckBox::SetMargin(int value) {
    if (value == FMargin) return;
    FMargin = value;
    AdjustSize();
    FSkinData.Invalidate();
}

void TsCheckBox::SetTextIndent(int value) {
    if (value == FTextIndent) return;
    FTextIndent = value;
    AdjustSize();
    FSkinData.Invalidate();
}

void TsCheckBox::SetShowFocus(bool value) {
    if (value == FShowFocus) return;
    FShowFocus = value;
    FSkinData.BGChanged = true;
    Repaint();
}

void TsCheckBox::SetVerticalAlign(TsVerticalAlign value) {
    if (value == FVerticalAlign) return;
    FVerticalAlign = value;
    FSkinData.BGChanged = true;
    Repaint();
}

void TsCheckBox::SetDisabledKind(unsigned value) {
    if (value == FDisabledKind) return;
    FDisabledKind = value;
    FSkinData.Invalidate();
}

void TsCheckBox::SetImages(tk::TCustomImageList* value) {
    if (ReplaceLinked(FImages, value)) GlyphChanged();
}

void TsCheckBox::Notification(tk::TComponent* component, tk::TOperation operation) {
    tk::TCheckBox::Notification(component, operation);
    if (operation == tk::TOperation::opRemove && component == FImages) {
        FImages = nullptr;
        if (!Destroying()) GlyphChanged();
    }
}

void TsCheckBox::SetImgChecked(int value) {
    if (value == FImgChecked) return;
    FImgChecked = value;
    AdjustSize();
    if (Checked()) FSkinData.Invalidate();
}

void TsCheckBox::SetImgUnchecked(int value) {
    if (value == FImgUnchecked) return;
    FImgUnchecked = value;
    AdjustSize();
    if (!Checked()) FSkinData.Invalidate();
}

void TsCheckBox::GlyphChanged() {
    AdjustSize();
    FSkinData.Invalidate();
}

// ---- Layout ----

bool TsCheckBox::RightToLeft() const {
    auto* self = const_cast<TsCheckBox*>(this);
    return self->HandleAllocated() && (GetWindowLongPtrW(self->Handle(), GWL_EXSTYLE) & WS_EX_RTLREADING) != 0;
}

bool TsCheckBox::GlyphAtLeft() const {
    tk::TAlignment effective = FAlignment;
    if (RightToLeft() && effective != tk::TAlignment::taCenter)
        effective = effective == tk::TAlignment::taLeftJustify ? tk::TAlignment::taRightJustify
                                                               : tk::TAlignment::taLeftJustify;
    return effective == tk::TAlignment::taRightJustify;
}

int TsCheckBox::InteractionState() const {
    if (FPressed) return 2;
    if (FReadOnly || !FSkinData.ControlIsHot()) return 0;
    return 1;
}

const tk::TBitmap* TsCheckBox::CustomGlyph() const {
    const tk::TBitmap& glyph = Checked() ? FGlyphChecked : FGlyphUnChecked;
    return glyph.Width() > 0 && glyph.Height() > 0 ? &glyph : nullptr;
}

bool TsCheckBox::UsesImages() const { return FImages && FImgChecked >= 0 && FImgUnchecked >= 0; }

SIZE TsCheckBox::GlyphSize() const {
    if (UsesImages()) {
        const int w = FImages->Width(), h = FImages->Height();
        return SIZE{w % h == 0 ? h : w, h};
    }
    if (const tk::TBitmap* custom = CustomGlyph()) return StripFrameSize(*custom);
    const TSkinModel* model = FSkinData.ActiveModel();
    if (!model) return kDefaultGlyph;
    const int index = model->ConstData.CheckBoxChecked;
    if (index < 0 || index >= static_cast<int>(model->ma.size())) return kDefaultGlyph;
    const TsMaskData& mask = model->ma[static_cast<size_t>(index)];
    const SIZE size{MaskImageWidth(mask), MaskImageHeight(mask)};
    return size.cx > 0 && size.cy > 0 ? size : kDefaultGlyph;
}

RECT TsCheckBox::GlyphRect() const {
    const SIZE g = GlyphSize();
    int top = 0;
    if (FVerticalAlign == TsVerticalAlign::vaMiddle) top = (Height() - g.cy) / 2;
    else if (FVerticalAlign == TsVerticalAlign::vaBottom) top = Height() - g.cy;
    const int left = GlyphAtLeft() ? FMargin : Width() - g.cx - FMargin;
    return RECT{left, top, left + g.cx, top + g.cy};
}

SIZE TsCheckBox::MeasureCaption(int width) const {
    const std::wstring caption = const_cast<TsCheckBox*>(this)->Caption();
    if (caption.empty()) return SIZE{0, 0};
    tk::TFont& font = const_cast<TsCheckBox*>(this)->Font();
    return rd::MeasureText(font.Handle(), caption, DT_NOPREFIX, width, FWordWrap);
}

void TsCheckBox::AdjustSize() {
    if (!FAutoSize || IsLoading() || Destroying()) return;
    const bool hasCaption = !Caption().empty();
    const SIZE text = MeasureCaption(FWordWrap ? std::max(1, Width()) : 0x7FFF);
    int width, height;
    if (FSkinData.Skinned()) {
        const SIZE g = GlyphSize();
        width = g.cx + 2 * FMargin + (hasCaption ? text.cx + FTextIndent + 8 : 0);
        height = std::max<int>(g.cy, (hasCaption ? text.cy : 0) + 2 * FMargin) + 2;
    } else {
        width = text.cx + 10;
        height = std::max<int>(text.cy + 4, 20);
    }
    if (width != Width() || height != Height()) {
        SetBounds(Left(), Top(), width, height);
        FSkinData.BGChanged = true;
    }
}

// ---- Painting ----

void TsCheckBox::DrawCaption(TacCacheBitmap& cache, int state) {
    const std::wstring caption = Caption();
    if (caption.empty()) return;
    const SIZE glyph = GlyphSize();
    const int available = Width() - glyph.cx - FTextIndent - 2 * FMargin - 2;
    tk::TCanvas& canvas = cache.Canvas();
    canvas.Font.Assign(Font());
    const UINT lines = FWordWrap ? DT_WORDBREAK : DT_SINGLELINE;
    RECT measure{0, 0, std::max(0, available), 0};
    HDC dc = canvas.Handle();
    HGDIOBJ oldFont = SelectObject(dc, Font().Handle());
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &measure, DT_CALCRECT | DT_NOPREFIX | lines);
    SelectObject(dc, oldFont);
    const int w = measure.right - measure.left, h = measure.bottom - measure.top;
    RECT r;
    r.top = std::max((Height() - h) / 2, FMargin);
    r.bottom = r.top + h;
    UINT format = lines;
    const bool rtl = RightToLeft();
    if (GlyphAtLeft() && !rtl) {
        r.left = Width() - available - FMargin + 2;
        r.right = r.left + w;
    } else if (GlyphAtLeft()) {
        r.right = Width() - FMargin - glyph.cx - FTextIndent - 4;
        r.left = r.right - w;
        if (!FWordWrap) format |= DT_RIGHT;
    } else {
        r.left = FMargin;
        r.right = FMargin + available;
    }
    OffsetRect(&r, FWordWrap ? -1 : 0, -1);
    if (rtl) format |= DT_RTLREADING;
    WriteControlText(canvas, caption, Enabled(), state != 0, FSkinData, format, r);
    if (!Focused() || !FShowFocus) return;
    r.top += 1;
    if (!FWordWrap) r.bottom -= 1;
    InflateRect(&r, 2, 1);
    const TsGeneralData* section = FSkinData.Section();
    const rd::TColor color = section ? section->Props[std::clamp(section->States, 0, 1)].FontColor.Color
                                     : rd::ColorToRGB(Font().Color);
    rd::DrawDottedFrame(dc, r, color, tk::clNone);
}

void TsCheckBox::DrawStripFrame(TacCacheBitmap& cache, const tk::TBitmap& strip, int state, bool keepAlpha) {
    const SIZE frame = StripFrameSize(strip);
    const int frames = StripFrameCount(strip.Width(), strip.Height());
    const int index = GlyphFrameIndex(frames, state);
    // Read through a 32-bit copy; a strip without alpha counts as opaque.
    tk::TBitmap copy(strip.Width(), strip.Height());
    BitBlt(copy.Canvas().Handle(), 0, 0, strip.Width(), strip.Height(), const_cast<tk::TBitmap&>(strip).Canvas().Handle(),
           0, 0, SRCCOPY);
    GdiFlush();
    bool anyAlpha = keepAlpha;
    for (int y = 0; y < copy.Height() && !anyAlpha; ++y)
        for (int x = 0; x < copy.Width(); ++x)
            if (copy.ScanLine(y)[x] >> 24) { anyAlpha = true; break; }
    if (!anyAlpha)
        for (int y = 0; y < copy.Height(); ++y)
            for (int x = 0; x < copy.Width(); ++x) copy.ScanLine(y)[x] |= 0xFF000000u;
    rd::TBitmap32 source{copy.Row0(), copy.Stride(), copy.Width(), copy.Height()};
    const RECT at = GlyphRect();
    rd::AlphaOver32(rd::TRect{at.left, at.top, at.left + frame.cx, at.top + frame.cy},
                    rd::TRect{index * frame.cx, 0, (index + 1) * frame.cx, frame.cy}, cache.View(), false,
                    rd::TCacheInfo{}, &source);
}

void TsCheckBox::DrawGlyph(TacCacheBitmap& cache, int state) {
    if (UsesImages()) {
        // The image is a strip of square frames when its width is a multiple of its height,
        // else one picture; either way it is composed by its alpha.
        tk::TBitmap image;
        FImages->GetBitmap(Checked() ? FImgChecked : FImgUnchecked, image);
        if (image.Width() > 0) DrawStripFrame(cache, image, state, true);
        return;
    }
    if (const tk::TBitmap* custom = CustomGlyph()) {
        DrawStripFrame(cache, *custom, state);
        return;
    }
    const TSkinModel* model = FSkinData.ActiveModel();
    if (!model) return;
    const int masks[] = {model->ConstData.CheckBoxUnChecked, model->ConstData.CheckBoxChecked,
                         model->ConstData.CheckBoxGrayed};
    const int index = masks[static_cast<int>(FState)];
    if (index < 0 || index >= static_cast<int>(model->ma.size())) return;  // no glyph; the layout keeps its room
    const TsMaskData& mask = model->ma[static_cast<size_t>(index)];
    const RECT at = GlyphRect();
    GdiFlush();
    rd::PaintMaskGlyph(cache.View(), rd::TPoint{at.left, at.top}, GlyphFrameIndex(mask.ImageCount, state),
                       rd::CacheInfoForBitmap(cache.View(), 0, 0), mask, 1);
}

bool TsCheckBox::PrepareCache() {
    TacCacheBitmap* cache = FSkinData.InitCacheBmp();
    if (!cache || cache->Empty()) return false;
    rd::TCacheInfo behind;
    FSkinData.GetParentCache(behind);
    if (!behind.Ready && behind.FillColor == rd::clMagenta) {
        FSkinData.FUpdating = true;
        return false;
    }
    const int state = InteractionState();
    const rd::TRect whole{0, 0, Width(), Height()};
    PaintControlFace(FSkinData, behind, true, cache->View(), {0, 0}, whole, state);
    DrawCaption(*cache, state);
    GdiFlush();
    DrawGlyph(*cache, state);
    if (!Enabled()) rd::ApplyDisabledLook(cache->View(), FDisabledKind, FSkinData.GetBgColor(0), {0, 0}, behind);
    FSkinData.BGChanged = false;
    return true;
}

void TsCheckBox::CopyCache(HDC dc) {
    TacCacheBitmap* cache = FSkinData.FCacheBmp.get();
    if (!cache || cache->Empty()) return;
    BitBlt(dc, 0, 0, cache->Width(), cache->Height(), cache->Canvas().Handle(), 0, 0, SRCCOPY);
}

void TsCheckBox::PaintTo(HDC dc) {
    if (!FSkinData.Updating() && !FFadeTimer) PrepareCache();
    if (FSkinData.FUpdating) return;
    CopyCache(dc);
}

bool TsCheckBox::HandleSkinnedPaint(tk::TMessage& m) {
    switch (m.Msg) {
        case WM_PRINT: case WM_PRINTCLIENT:
            FSkinData.FUpdating = false;
            if (m.WParam) PaintTo(reinterpret_cast<HDC>(m.WParam));
            return true;
        case WM_PAINT: {
            if (m.WParam && (FSkinData.CtrlSkinState & ACS_PRINTING)) {
                PaintTo(reinterpret_cast<HDC>(m.WParam));
                return true;
            }
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(Handle(), &ps);
            PaintTo(dc);
            EndPaint(Handle(), &ps);
            return true;
        }
        case WM_ERASEBKGND:
            if (m.WParam && !FFadeTimer && !FSkinData.BGChanged) CopyCache(reinterpret_cast<HDC>(m.WParam));
            m.Result = 1;
            return true;
        case WM_ENABLE: case WM_NCPAINT: case BM_SETSTATE:
            return true;  // the system check box would draw its own look
        default: return false;
    }
}

// ---- Input ----

void TsCheckBox::Fade(TacAnimatEvent event, bool fast) {
    FadeOnStateChange(FFadeTimer, FSkinData, fast, fdUp, AnimationAllowed(event, FAnimatEvents, FSkinData.SkinManager()));
}

void TsCheckBox::PressStarted(bool mouse) {
    FPressed = true;
    if (!Focused()) SetFocus();
    if (mouse) {
        Fade(aeMouseDown, true);
    } else {
        FSkinData.BGChanged = true;
        Repaint();
    }
}

void TsCheckBox::PressEnded(bool toggle) {
    const bool wasPressed = FPressed;
    FPressed = false;
    if (wasPressed && toggle) Toggle();
    else if (wasPressed) StateChanged();
    // A fade that started at another size would blend faces that do not match.
    if (FFadeTimer && FSkinData.FCacheBmp && FSkinData.FCacheBmp->Width() != Width()) {
        StopFade(FFadeTimer);
        FSkinData.BGChanged = true;
        Repaint();
    }
}

void TsCheckBox::MouseEntered() {
    if (FSkinData.FMouseAbove) return;
    FSkinData.FMouseAbove = true;
    Fade(aeMouseEnter, false);
}

void TsCheckBox::MouseLeft() {
    if (!FSkinData.FMouseAbove) return;
    FSkinData.FMouseAbove = false;
    FPressed = false;  // a press that leaves the box never toggles it
    Fade(aeMouseLeave, false);
}

bool TsCheckBox::HandleSkinnedInput(tk::TMessage& m) {
    const bool usable = Enabled();
    switch (m.Msg) {
        case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK:
            if (usable && !FReadOnly) PressStarted(true);
            return true;
        case WM_LBUTTONUP: {
            if (!usable || FReadOnly) return true;
            const POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
            const RECT client{0, 0, Width(), Height()};
            PressEnded(PtInRect(&client, p) != FALSE);
            return true;
        }
        case WM_KEYDOWN:
            if (m.WParam != VK_SPACE) return false;
            if (!FReadOnly && !(m.LParam & (1 << 30))) PressStarted(false);  // not on auto-repeat
            return true;
        case WM_KEYUP:
            if (m.WParam != VK_SPACE) return false;
            if (!FReadOnly) PressEnded(true);
            return true;
        case WM_CHAR:
            return m.WParam == L' ';
        case tk::CM_MOUSEENTER:
            if (usable) MouseEntered();
            tk::TCheckBox::WndProc(m);
            return true;
        case tk::CM_MOUSELEAVE:
            if (usable) MouseLeft();
            tk::TCheckBox::WndProc(m);
            return true;
        default: return false;
    }
}

bool TsCheckBox::HandleSkinnedFocus(tk::TMessage& m) {
    switch (m.Msg) {
        case WM_SETFOCUS:
            if (!Enabled()) return true;
            FSkinData.FFocused = true;
            Perform(tk::CM_ENTER);
            if (FFadeTimer) Fade(aeMouseEnter, true);
            else {
                FSkinData.BGChanged = true;
                Repaint();
            }
            return true;
        case WM_KILLFOCUS:
            StopFade(FFadeTimer);
            FSkinData.FFocused = false;
            FSkinData.FMouseAbove = false;
            FPressed = false;  // a release after the focus went elsewhere had no press
            Perform(tk::CM_EXIT);
            FSkinData.BGChanged = true;
            Invalidate();
            return true;
        default: return false;
    }
}

bool TsCheckBox::OnSkinCommand(tk::TMessage& m) {
    switch (SkinCmdOf(m.WParam)) {
        case SC_NEWSKIN:
            StopFade(FFadeTimer);
            HandleSkinCommand(m, FSkinData);
            AdjustSize();  // the new skin's glyph may have another size
            return true;
        case SC_REMOVESKIN:
            StopFade(FFadeTimer);
            HandleSkinCommand(m, FSkinData);
            PushStateToWindow();
            Repaint();
            return true;
        case SC_REFRESH:
            StopFade(FFadeTimer);
            HandleSkinCommand(m, FSkinData);
            AdjustSize();
            FSkinData.BGChanged = true;
            Repaint();
            return true;
        case SC_ISHANDLED: m.Result = 1; return true;
        case SC_FADEDONE: StopFade(FFadeTimer); return true;
        case SC_PREPARECACHE: m.Result = PrepareCache() ? 0 : 1; return true;
        case SC_GETAPPLICATION: m.Result = reinterpret_cast<LRESULT>(tk::Application); return true;
        case SC_ENDUPDATE: {
            const bool was = FSkinData.FUpdating || FSkinData.HalfVisible;
            HandleSkinCommand(m, FSkinData);
            if (was && !FSkinData.FUpdating) Repaint();
            return true;
        }
        default: return false;
    }
}

void TsCheckBox::HandleUnskinned(tk::TMessage& m) {
    switch (m.Msg) {
        case WM_LBUTTONDOWN: case WM_KEYDOWN: FPressed = m.Msg == WM_LBUTTONDOWN || m.WParam == VK_SPACE; break;
        case WM_LBUTTONUP: case WM_KEYUP: FPressed = false; break;
        case WM_LBUTTONDBLCLK:
            if (FReadOnly) return;
            break;
        case BM_SETCHECK: case BM_SETSTATE:
            if (FReadOnly && FPressed) return;  // the system box toggling itself
            if (m.Msg == BM_SETCHECK) {
                const bool wasChecked = Checked();
                FState = StateOfNative(m.WParam);
                if (Checked() != wasChecked && OnValueChanged && !IsLoading()) OnValueChanged(this);
            }
            break;
        default: break;
    }
    if (!HandleCommonMessage(m, FSkinData)) tk::TCheckBox::WndProc(m);
}

void TsCheckBox::WndProc(tk::TMessage& m) {
    if (m.Msg == SM_SKINCMD && OnSkinCommand(m)) return;
    if (!FSkinData.Skinned()) {
        HandleUnskinned(m);
        return;
    }
    if (HandleSkinnedInput(m) || HandleSkinnedPaint(m) || HandleSkinnedFocus(m)) return;
    switch (m.Msg) {
        case BM_SETCHECK:
            StopFade(FFadeTimer);
            SetState(StateOfNative(m.WParam));
            return;
        case tk::CM_ENABLEDCHANGED:
            HandleCommonMessage(m, FSkinData);
            tk::TCheckBox::WndProc(m);
            FSkinData.BGChanged = true;
            Repaint();
            return;
        case tk::CM_FONTCHANGED: case tk::CM_TEXTCHANGED:
            tk::TCheckBox::WndProc(m);
            AdjustSize();
            FSkinData.BGChanged = true;
            Repaint();
            return;
        default: break;
    }
    if (!HandleCommonMessage(m, FSkinData)) tk::TCheckBox::WndProc(m);
}

void TsCheckBox::SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& v) {
    if (FSkinData.ReadProperty(reader, name, v)) return;
    if (name == "Checked") SetChecked(reader.Bool(v));
    else if (name == "State") {
        const std::string s = reader.Ident(v);
        FState = s == "cbChecked" ? TCheckBoxState::cbChecked
                                  : s == "cbGrayed" ? TCheckBoxState::cbGrayed : TCheckBoxState::cbUnchecked;
    } else if (name == "AllowGrayed") FAllowGrayed = reader.Bool(v);
    else if (name == "AutoSize") FAutoSize = reader.Bool(v);
    else if (name == "WordWrap") FWordWrap = reader.Bool(v);
    else if (name == "Margin") FMargin = reader.Int(v);
    else if (name == "TextIndent") FTextIndent = reader.Int(v);
    else if (name == "ReadOnly") FReadOnly = reader.Bool(v);
    else if (name == "ShowFocus") FShowFocus = reader.Bool(v);
    else if (name == "ImgChecked") FImgChecked = reader.Int(v);
    else if (name == "ImgUnchecked") FImgUnchecked = reader.Int(v);
    else if (name == "Alignment") {
        const std::string s = reader.Ident(v);
        FAlignment = s == "taLeftJustify" ? tk::TAlignment::taLeftJustify
                                          : s == "taCenter" ? tk::TAlignment::taCenter : tk::TAlignment::taRightJustify;
    } else tk::TCheckBox::SetProperty(reader, name, v);
}

}  // namespace sk
