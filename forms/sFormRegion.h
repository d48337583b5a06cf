// The outline of a skinned window: the corner pixels of the skin's border masks that are
// exactly the key colour are cut out of the window's region (rounded corners). The scan never
// reads outside the mask's first picture, whatever margins the skin claims.
#pragma once
#include <windows.h>

#include <vector>

#include "skin/SkinModel.h"

namespace sk {

// Appends to cutOut one rectangle per run of key pixels in each corner of the mask's first
// picture, placed in a window of width x height: the top corners always, the bottom ones
// unless topOnly. Nothing for a mask without a picture.
void AddCornerCutouts(const TsMaskData& mask, int width, int height, bool topOnly, std::vector<rd::TRect>& cutOut);

// The rectangle (0, 0, width, height) without the cut-out rectangles; null when the platform
// cannot make a region.
HRGN MakeWindowRegion(int width, int height, const std::vector<rd::TRect>& cutOut);

}  // namespace sk
