// One skinned scroll bar of a window whose scrolling the window does itself: its geometry
// (thumb length and offset from the window's scroll information, the part under a point) and
// its picture, painted from the skin's scroll sections into an off-screen bitmap.
#pragma once
#include <cstdint>

#include "render/sAlphaGraph.h"
#include "skin/SkinModel.h"
#include "skinframework/sCommonData.h"

namespace sk {

// The parts of a bar, numbered as the scroll codes they send (SB_LINEUP ... SB_THUMBTRACK).
enum TacScrollPart : int {
    spNone = -1,
    spLineUp = SB_LINEUP,
    spLineDown = SB_LINEDOWN,
    spPageUp = SB_PAGEUP,
    spPageDown = SB_PAGEDOWN,
    spThumb = SB_THUMBTRACK,
};

constexpr int kMinThumbSize = 16;
// A range above this shows no thumb (its arithmetic would not fit in 32 bits).
constexpr int64_t kMaxThumbRange = 2147483646;

// Where the thumb lies in the track: Length 0 means no thumb.
struct TacThumb {
    int Offset = 0;  // from the start of the track (after the first button)
    int Length = 0;
};

// The thumb for scroll information si in a track of trackLength pixels between buttons of
// buttonLength. No thumb when nothing can be scrolled (max - min - page + 1 <= 0), when the
// range is too large, or when the thumb would fill the track (also when its minimum length
// does not fit).
TacThumb ThumbGeometry(const SCROLLINFO& si, int trackLength, int buttonLength, int minThumb = kMinThumbSize);
// The last position a window can scroll to: max - max(page - 1, 0).
int LastScrollPosition(const SCROLLINFO& si);
// The position shown by a thumb of thumbLength at offset in the track, from min to the last
// position; a thumb at the end of the track gives the last position.
int ThumbPosition(const SCROLLINFO& si, int offset, int trackLength, int thumbLength);

class TacScrollBar {
public:
    // barType SB_HORZ (0) or SB_VERT (1).
    explicit TacScrollBar(int barType) : nBarType(barType) {}

    // Reads the window's scroll information (range, page, position, track position).
    void ReadScrollInfo(HWND wnd);
    // The platform reports the bar unavailable (or both arrows disabled), or there is
    // nothing to scroll.
    bool Unavailable(HWND wnd) const;
    // Bar length along its direction and the track between the buttons.
    int Length() const;
    int TrackLength() const { return Length() - 2 * ButtonLength; }
    // The buttons fit with room for the track.
    bool HasTrack() const { return Length() > 2 * ButtonLength; }
    TacThumb Thumb() const;
    // The part at distance `along` from the bar's start (spNone outside).
    TacScrollPart PartAt(int along) const;
    // The distance from the bar's start of a point given in window coordinates.
    int Along(POINT windowPoint) const;
    // The point in window coordinates lies on the bar.
    bool Contains(POINT windowPoint) const;
    bool Vertical() const { return nBarType == SB_VERT; }

    int fScrollFlags = 0;         // 8: the window's style has this bar
    int nBarType;                 // SB_HORZ or SB_VERT
    int nMinThumbSize = kMinThumbSize;
    bool fScrollVisible = false;  // the bar has room and is shown
    int Thickness = 0;            // across the bar
    int ButtonLength = 0;         // each arrow button along the bar
    RECT BarRect{};               // in window coordinates
    SCROLLINFO ScrollInfo{sizeof(SCROLLINFO), 0, 0, 0, 0, 0, 0};
};

// What a bar looks like at one moment.
struct TacBarLook {
    TacScrollPart Pressed = spNone;  // the part held down (spThumb while dragging)
    TacScrollPart Hot = spNone;      // the part under the mouse
    bool Disabled = false;
    int DragThumbOffset = -1;        // while dragging: the thumb's offset, else -1
    bool ShiftContentOnClick = true;
};

// Paints bar into picture (sized to the bar) from the scroll sections of model. behind is what
// lies behind the bar, offset the bar's position in it. False (nothing painted) when the skin
// has no track section for the bar's direction or the bar is one pixel long or less.
bool PaintScrollBar(TacCacheBitmap& picture, const TacScrollBar& bar, const TacBarLook& look, const TSkinModel& model,
                    const rd::TCacheInfo& behind, rd::TPoint offset);

}  // namespace sk
