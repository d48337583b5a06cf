#include "controls/acScrollBar.h"

#include <algorithm>

#include "skinpaint/sSectionPaint.h"
#include "skinpaint/sTextOutput.h"

namespace sk {

namespace {

// a * b / c rounded half away from zero, as the platform's MulDiv; c > 0.
int64_t MulDivRound(int64_t a, int64_t b, int64_t c) {
    const int64_t p = a * b;
    return p >= 0 ? (p + c / 2) / c : -((-p + c / 2) / c);
}

int64_t Range(const SCROLLINFO& si) { return int64_t(si.nMax) - si.nMin; }

// The grey of the disabled look without a background image: the bar keeps 153/256 of itself.
constexpr uint32_t kDisabledMaskGrey = 0x00999999;

rd::TRect Span(const TacScrollBar& bar, int from, int to) {
    return bar.Vertical() ? rd::TRect{0, from, bar.Thickness, to} : rd::TRect{from, 0, to, bar.Thickness};
}

bool ValidElement(const TSkinModel& model, const TacConstElementData& e) { return model.IsValidSkinIndex(e.SkinIndex); }

// An element's face (fill, corners and border) into rect of target.
void PaintElementFace(const TSkinModel& model, const TacConstElementData& e, rd::TBitmap32* target,
                      const rd::TCacheInfo& behind, rd::TPoint offset, rd::TRect rect, int state) {
    if (!ValidElement(model, e) || rect.Width() <= 0 || rect.Height() <= 0) return;
    rd::PaintSectionFace(e.SkinIndex, e.SkinSection, behind, -1, -1, &model, target, offset, rect, state);
}

// The element's glyph image centred in rect; false when it has none.
bool PaintElementGlyph(const TSkinModel& model, const TacConstElementData& e, rd::TBitmap32* target,
                       const rd::TCacheInfo& behind, rd::TRect rect, int state) {
    if (!model.IsValidImgIndex(e.GlyphIndex)) return false;
    const TsMaskData& mask = model.ma[static_cast<size_t>(e.GlyphIndex)];
    const int w = MaskImageWidth(mask), h = MaskImageHeight(mask);
    if (w <= 0 || h <= 0) return false;
    const rd::TPoint at{rect.Left + (rect.Width() - w) / 2, rect.Top + (rect.Height() - h) / 2};
    rd::PaintMaskGlyph(target, at, state, behind, mask, 1);
    return true;
}

int PartState(TacScrollPart part, const TacBarLook& look) {
    if (look.Pressed == part) return 2;
    return look.Hot == part ? 1 : 0;
}

// An arrow button: its face over the track picture, then its glyph image or a drawn arrow.
void PaintArrowButton(TacCacheBitmap& picture, const rd::TCacheInfo& track, const TSkinModel& model,
                      const TacConstElementData& e, rd::TRect rect, int state, int arrowKind, bool shift) {
    rd::TBitmap32* view = picture.View();
    PaintElementFace(model, e, view, track, {0, 0}, rect, state);
    if (PaintElementGlyph(model, e, view, track, rect, state)) return;
    if (!ValidElement(model, e)) return;
    const TsGeneralData& section = model.gd[static_cast<size_t>(e.SkinIndex)];
    const rd::TColor color = section.Props[state == 0 ? 0 : 1].FontColor.Color;
    RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
    if (state == 2 && shift) OffsetRect(&r, 1, 1);
    GdiFlush();
    rd::DrawArrowShape(picture.Canvas().Handle(), color, r, arrowKind);
    GdiFlush();
}

// The finished bar blended with what lies behind it: it keeps 40 % of itself over an image,
// 153/256 of itself over a plain colour.
void BlendDisabled(TacCacheBitmap& picture, const TSkinModel& model, const rd::TCacheInfo& behind, rd::TPoint offset) {
    rd::TBitmap32* view = picture.View();
    if (behind.Ready && behind.Bmp) {
        const int dx = offset.X + behind.X, dy = offset.Y + behind.Y;
        rd::BlendFromBitmap(view, 0, 0, static_cast<uint32_t>(rd::clMagenta), rd::DisabledBlendLevel,
                            {dx, dy, dx + view->Width, dy + view->Height}, behind.Bmp);
        return;
    }
    rd::TColor fill = behind.FillColor;
    if (fill == rd::clMagenta && model.IsValidSkinIndex(model.ConstData.IndexGLobalInfo))
        fill = model.gd[static_cast<size_t>(model.ConstData.IndexGLobalInfo)].Props[0].Color;
    rd::TMemBitmap32 mask(view->Width, view->Height);
    for (int y = 0; y < mask.Height; ++y) std::fill_n(mask.Row(y), mask.Width, kDisabledMaskGrey);
    rd::BlendColorThroughMask(view, &mask, fill);
}

}  // namespace

int LastScrollPosition(const SCROLLINFO& si) {
    const int64_t last = int64_t(si.nMax) - std::max<int64_t>(int64_t(si.nPage) - 1, 0);
    return static_cast<int>(std::max<int64_t>(last, si.nMin));
}

TacThumb ThumbGeometry(const SCROLLINFO& si, int trackLength, int buttonLength, int minThumb) {
    const int64_t range = Range(si), page = si.nPage, track = trackLength;
    if (track <= 0 || range < 0 || range > kMaxThumbRange || range - page + 1 <= 0) return {};
    int64_t length = page == 0 ? std::max(buttonLength, minThumb) : MulDivRound(page, track, range + 1);
    if (buttonLength == 0 && length <= 18) length = 19;
    else length = std::max<int64_t>(length, minThumb);
    if (length >= track) return {};  // the thumb would fill the track: nothing to drag
    const int64_t positions = range - std::max<int64_t>(1, page) + 1;
    const int64_t room = track - length;
    const int64_t offset = positions > 0 ? MulDivRound(int64_t(si.nPos) - si.nMin, room, positions) : 0;
    return {static_cast<int>(std::clamp<int64_t>(offset, 0, room)), static_cast<int>(length)};
}

int ThumbPosition(const SCROLLINFO& si, int offset, int trackLength, int thumbLength) {
    const int64_t room = int64_t(trackLength) - thumbLength;
    int64_t position = si.nMin;
    if (room > 0) {
        const int64_t steps = Range(si) - int64_t(si.nPage) + 1;
        position += MulDivRound(std::clamp<int64_t>(offset, 0, room), std::max<int64_t>(steps, 0), room);
    }
    return static_cast<int>(std::clamp<int64_t>(position, si.nMin, LastScrollPosition(si)));
}

void TacScrollBar::ReadScrollInfo(HWND wnd) {
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    if (wnd && GetScrollInfo(wnd, nBarType, &si)) ScrollInfo = si;
    else ScrollInfo = SCROLLINFO{sizeof(SCROLLINFO), 0, 0, 0, 0, 0, 0};
}

bool TacScrollBar::Unavailable(HWND wnd) const {
    SCROLLBARINFO sbi{};
    sbi.cbSize = sizeof(sbi);
    if (wnd && GetScrollBarInfo(wnd, Vertical() ? OBJID_VSCROLL : OBJID_HSCROLL, &sbi)) {
        if (sbi.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) return true;
        if ((sbi.rgstate[1] & STATE_SYSTEM_UNAVAILABLE) && (sbi.rgstate[5] & STATE_SYSTEM_UNAVAILABLE)) return true;
    }
    return LastScrollPosition(ScrollInfo) <= ScrollInfo.nMin;
}

int TacScrollBar::Length() const {
    return Vertical() ? BarRect.bottom - BarRect.top : BarRect.right - BarRect.left;
}

TacThumb TacScrollBar::Thumb() const {
    if (!HasTrack()) return {};
    return ThumbGeometry(ScrollInfo, TrackLength(), ButtonLength, nMinThumbSize);
}

TacScrollPart TacScrollBar::PartAt(int along) const {
    const int length = Length();
    if (along < 0 || along >= length) return spNone;
    if (!HasTrack()) return along < length / 2 ? spLineUp : spLineDown;
    if (along < ButtonLength) return spLineUp;
    if (along >= length - ButtonLength) return spLineDown;
    const TacThumb thumb = Thumb();
    if (thumb.Length == 0) return along < length / 2 ? spPageUp : spPageDown;
    const int start = ButtonLength + thumb.Offset;
    if (along < start) return spPageUp;
    return along < start + thumb.Length ? spThumb : spPageDown;
}

int TacScrollBar::Along(POINT p) const { return Vertical() ? p.y - BarRect.top : p.x - BarRect.left; }

bool TacScrollBar::Contains(POINT p) const { return fScrollVisible && PtInRect(&BarRect, p); }

bool PaintScrollBar(TacCacheBitmap& picture, const TacScrollBar& bar, const TacBarLook& look, const TSkinModel& model,
                    const rd::TCacheInfo& behind, rd::TPoint offset) {
    const bool vertical = bar.Vertical();
    const auto& c = model.ConstData;
    const TacConstElementData& before = c.Scrolls[vertical ? 1 : 0];
    const TacConstElementData& after = c.Scrolls[vertical ? 3 : 2];
    const int length = bar.Length();
    if (!ValidElement(model, before) || length <= 1 || bar.Thickness <= 0) return false;
    picture.SetSize(vertical ? bar.Thickness : length, vertical ? length : bar.Thickness);
    rd::TBitmap32* view = picture.View();
    if (!view) return false;

    TacThumb thumb = look.Disabled ? TacThumb{} : bar.Thumb();
    if (thumb.Length > 0 && look.DragThumbOffset >= 0)
        thumb.Offset = std::clamp(look.DragThumbOffset, 0, bar.TrackLength() - thumb.Length);
    const int a = bar.HasTrack() ? bar.ButtonLength : length / 2;
    const int middle = thumb.Length > 0 ? a + thumb.Offset + thumb.Length / 2 : length / 2;
    PaintElementFace(model, before, view, behind, offset, Span(bar, 0, middle), look.Pressed == spPageUp ? 2 : 0);
    PaintElementFace(model, ValidElement(model, after) ? after : before, view, behind, offset, Span(bar, middle, length),
                     look.Pressed == spPageDown ? 2 : 0);

    // Buttons and thumb lie over a copy of the track.
    rd::TMemBitmap32 track(view->Width, view->Height);
    for (int y = 0; y < view->Height; ++y) std::copy_n(view->Row(y), view->Width, track.Row(y));
    const rd::TCacheInfo trackInfo = rd::CacheInfoForBitmap(&track, 0, 0);
    const TacConstElementData& first = c.ScrollBtns[vertical ? asTop : asLeft];
    const TacConstElementData& second = c.ScrollBtns[vertical ? asBottom : asRight];
    PaintArrowButton(picture, trackInfo, model, first, Span(bar, 0, a), PartState(spLineUp, look), vertical ? 1 : 0,
                     look.ShiftContentOnClick);
    PaintArrowButton(picture, trackInfo, model, second, Span(bar, length - a, length), PartState(spLineDown, look),
                     vertical ? 3 : 2, look.ShiftContentOnClick);
    if (thumb.Length > 0) {
        const TacConstElementData& slider = c.Sliders[vertical ? 1 : 0];
        const rd::TRect r = Span(bar, a + thumb.Offset, a + thumb.Offset + thumb.Length);
        const int state = PartState(spThumb, look);
        PaintElementFace(model, slider, view, trackInfo, {0, 0}, r, state);
        PaintElementGlyph(model, slider, view, trackInfo, r, state);
    }
    if (look.Disabled) BlendDisabled(picture, model, behind, offset);
    return true;
}

}  // namespace sk
