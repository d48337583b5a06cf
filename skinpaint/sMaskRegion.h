// The window-region side of painting a border mask with transparent corners (Windows only):
// the corner pixels the mask leaves transparent are cut out of the control's region.
#pragma once
#include <windows.h>

#include "skinpaint/sMaskPaint.h"

namespace rd {

// Paints the mask over the whole target like PaintMaskNinePart and removes from region the
// corner pixels whose image pixel is magenta (a run of them in one row as one rectangle).
// region must be a valid region in the target's coordinates; false when it could not be
// changed (the painting is done either way).
bool PaintMaskWithRegion(TBitmap32* target, HRGN region, bool cornerFlag, int state, const sk::TsMaskData& mask);

}  // namespace rd
