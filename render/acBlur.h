// Box blur of 8-bit grey bitmaps (the shadow bitmaps of blurred text).
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace rd {

// A view of 8-bit grey rows owned elsewhere; rows through row 0 and a signed stride.
struct TBitmap8 {
    uint8_t* Row0 = nullptr;
    ptrdiff_t Stride = 0;
    int Width = 0;
    int Height = 0;

    uint8_t* Row(int y) const { return Row0 + y * Stride; }
};

// An 8-bit grey bitmap that owns its pixels, stored bottom-up like the platform's bitmaps.
class TMemBitmap8 : public TBitmap8 {
public:
    TMemBitmap8() = default;
    TMemBitmap8(int width, int height, uint8_t fill = 255);
    TMemBitmap8(const TMemBitmap8&) = delete;
    TMemBitmap8& operator=(const TMemBitmap8&) = delete;

private:
    std::vector<uint8_t> FPixels;
};

// Half size n (1..16) and weights indexed -16..16 (Weights[16 + i]); -n..n are used.
struct TBlurKernel {
    int HalfSize = 1;
    float Weights[33] = {};
};

// Weights Round(exp(-(i / radius)^2 / 2)) trimmed of their outermost taps and normalised:
// radius 1 and 2 give 3 taps, 3 gives 5, 6 gives 13. A radius below 1 is taken as 1.
TBlurKernel MakeBlurKernel(int radius);

// Filters every row, then every column, with the kernel of radius (edge pixels repeated,
// results clamped to 0..255). A missing bitmap, one without pixels or a radius below 1 does nothing.
void BlurGrey8(TBitmap8* bitmap, int radius);

}  // namespace rd
