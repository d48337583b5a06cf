// Painting a skinned control's face from its skin data: background layer, corner images,
// border, and the control's own colour adjustments; and the cheap repaint of the border's
// corners alone when only what lies behind the control changed. Works on bitmaps and returns;
// when to paint is the controls' business.
#pragma once
#include "skinframework/sCommonData.h"

namespace sk {

// Corners of the border mask, as RefreshFaceCorners takes them.
enum TFaceCorners : unsigned {
    fcTopLeft = 1,
    fcBottomLeft = 2,
    fcTopRight = 4,
    fcBottomRight = 8,
    fcAllCorners = 15,
};

// The complete face of the control into rect of target, in state min(state, States - 1):
// background layer, corner images, border (its corners show background when cornerFlag is set)
// and the control's tone, hue and saturation over rect. background describes what lies behind
// the control; offset is the control's position in it. Nothing without a manager, a valid
// section, a target with rows, or when rect does not lie inside the target.
void PaintControlFace(TsCommonData& common, const rd::TCacheInfo& background, bool cornerFlag, rd::TBitmap32* target,
                      rd::TPoint offset, rd::TRect rect, int state);

// The background layer alone: section colour, gradient and texture over what lies behind; a
// control with a custom colour is filled with its own colour (a form's, for a skin provider).
// Nothing under the same conditions as PaintControlFace.
void PaintControlBackground(TsCommonData& common, const rd::TCacheInfo& background, int state, rd::TBitmap32* target,
                            rd::TPoint offset, rd::TRect rect);

// Repaints only the asked corners (TFaceCorners bits) of the border mask in the control's cache
// over a fresh background from the parent. Nothing unless the control has a border mask whose
// corners show the background, a cache and an owner control, and the parent's background is
// known.
void RefreshFaceCorners(TsCommonData& common, int state, unsigned corners);

// The control's tone, hue offset and saturation over every pixel of bitmap except the key
// colour, then the four border corners re-blended with the parent's background.
void ApplyColorTone(rd::TBitmap32* bitmap, TsCommonData& common, int state);

}  // namespace sk
