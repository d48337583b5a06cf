// Filtered resize of 32-bit bitmaps: a separable two-pass resampler in 16.16 fixed point.
#pragma once
#include "render/sGraphUtils.h"

namespace rd {

// Kernels by number, with their support radius.
enum TResampleFilter : int {
    rfBox = 0,        // 0.51
    rfTriangle = 1,   // 1
    rfHermite = 2,    // 1
    rfBell = 3,       // 1.5
    rfSpline = 4,     // 2, cubic B-spline
    rfLanczos3 = 5,   // 3
    rfMitchell = 6,   // 2, B = C = 1/3
};

// Kernel value at distance x and its support; exposed for tests and callers that need them.
double ResampleKernel(int filter, double x);
double ResampleSupport(int filter);

// Resizes source into target at width x height (target is resized). Horizontal pass into a
// temporary bitmap of the new width and the old height, then the vertical pass. A source
// narrower or lower than 2 pixels, an empty target size or an unknown filter does nothing;
// equal sizes copy the bitmap.
void ResampleBitmap32(const TBitmap32* source, TMemBitmap32* target, int width, int filter, int height);

}  // namespace rd
