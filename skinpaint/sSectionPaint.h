// The face of a skin section without a control: background layer (colour, gradient, texture and
// transparency over what lies behind), corner images and border; and the same for surfaces
// whose alpha must survive (title bar parts of layered frames).
#pragma once
#include <string_view>

#include "skinpaint/sMaskPaint.h"

namespace rd {

// Background layer of section sectionIndex (or, when that is not valid, the section named
// sectionName) in state min(state, States - 1, 1) into rect of target. background describes what
// lies behind the target; offset is the target's position in it. colorOverride other than
// clMagenta paints that colour opaque. hotTexture (state 1) / texture (state 0): a texture mask
// index, or -1 for the state's own.
void PaintSectionBackground(int sectionIndex, std::wstring_view sectionName, const TCacheInfo& background,
                            TColor colorOverride, int hotTexture, int texture, const sk::TSkinModel* model,
                            TBitmap32* target, TPoint offset, TRect rect, int state);

// Background layer, corner images and border of a section; corners always show the background.
// Nothing when rect does not lie inside the target.
void PaintSectionFace(int sectionIndex, std::wstring_view sectionName, const TCacheInfo& background, int hotTexture,
                      int texture, const sk::TSkinModel* model, TBitmap32* target, TPoint offset, TRect rect,
                      int state);

// Background and border over the target's own pixels with alpha kept: the border is composed
// with PaintMaskNinePartAlpha over a copy of the target; a fully transparent section covering
// the whole target clears it; a rect covering the whole target is premultiplied at the end.
void PaintSectionAlpha(int sectionIndex, int state, const sk::TSkinModel* model, TBitmap32* target, TRect rect);

}  // namespace rd
