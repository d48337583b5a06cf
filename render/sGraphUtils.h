// 32-bit bitmaps and per-pixel colour operations.
//
// Pixel: bytes blue, green, red, alpha (0xAARRGGBB read as a number), straight alpha.
// Colour value: 0x00BBGGRR (red in the low byte); ExchangeRedBlue converts between the two.
// Rows are reached through row 0 and a signed stride; nothing here assumes top-down storage.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "render/sSysColors.h"

namespace rd {

struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
};

struct TPoint {
    int X = 0, Y = 0;
};

// A view of 32-bit pixel rows owned elsewhere (a DIB section on Windows, a TMemBitmap32).
struct TBitmap32 {
    uint8_t* Row0 = nullptr;  // address of the top row
    ptrdiff_t Stride = 0;     // bytes from row y to row y + 1; negative for bottom-up storage
    int Width = 0;
    int Height = 0;

    uint32_t* Row(int y) const { return reinterpret_cast<uint32_t*>(Row0 + y * Stride); }
};

// Row 0 and the stride; false for a missing bitmap or one without rows.
bool GetScanGeometry(const TBitmap32* bitmap, uint8_t*& row0, ptrdiff_t& stride);

// A 32-bit bitmap that owns its pixels. Stored bottom-up like the platform's bitmaps unless
// asked otherwise, so every routine is exercised with a negative stride.
class TMemBitmap32 : public TBitmap32 {
public:
    TMemBitmap32() = default;
    TMemBitmap32(int width, int height, bool bottomUp = true) { SetSize(width, height, bottomUp); }
    TMemBitmap32(const TMemBitmap32& other);
    TMemBitmap32& operator=(const TMemBitmap32& other);
    void SetSize(int width, int height, bool bottomUp = true);
    bool BottomUp() const { return Stride < 0; }

private:
    std::vector<uint32_t> FPixels;
};

// rect cut down to the bitmap; false when nothing is left.
bool ClipToBitmap(const TBitmap32& bitmap, TRect& rect);

// The pixels of rect cut to the bitmap, as a bitmap of their own that shares the rows; a bitmap
// without rows when nothing is left.
TBitmap32 ViewOfRect(const TBitmap32& bitmap, TRect rect);

// Bitmap helpers.
std::unique_ptr<TMemBitmap32> NewBitmap32(int width, int height);
std::unique_ptr<TMemBitmap32> NewBitmapLike(const TBitmap32& source);
void CopyWholeBitmap(TMemBitmap32& target, const TBitmap32& source);
inline uint32_t ReadPixel32(const TBitmap32& bitmap, int x, int y) { return bitmap.Row(y)[x]; }
inline void WritePixel32(const TBitmap32& bitmap, int x, int y, uint32_t value) { bitmap.Row(y)[x] = value; }
// A new bitmap of swapped size turned by a quarter turn; nullptr for a bitmap without pixels.
std::unique_ptr<TMemBitmap32> RotateBitmap32(const TBitmap32* bitmap, bool clockwise);
// Copies byte lane (0 blue, 1 green, 2 red, 3 alpha) of every pixel; both of one size.
void CopyByteChannel(TBitmap32* target, const TBitmap32* source, int lane);
// Copies source at (x, y) clipped to target; pixels equal to ExchangeRedBlue(key) are skipped,
// copied ones become opaque.
void CopyKeyedOpaque(TBitmap32* target, const TBitmap32* source, int x, TColor key, int y);

// Rectangle fills.
void FillPixels32(TBitmap32* bitmap, TRect rect, TColor color, uint8_t alpha);
void FillFramePixels32(TBitmap32* bitmap, TRect rect, int left, TColor color, int bottom, int right, int top);
void TintPixels32(TBitmap32* bitmap, TRect rect, TColor color, int percent, uint8_t alpha);
// Right and Bottom are inclusive here.
void MixRectWithColor(TBitmap32* bitmap, TRect rect, int percent, TColor color);
// Not clipped: rect must lie inside the bitmap. key compares whole pixels; clNone sets all.
void SetAlphaInRect(TBitmap32* bitmap, TRect rect, uint8_t alpha, uint32_t key);
void PremultiplyRect(TBitmap32* bitmap, TRect rect);
void PremultiplyBitmap(TBitmap32* bitmap);

// Per-pixel driver: operation(pixel, amount) for every pixel not equal to ExchangeRedBlue(key).
using TPixelOp = uint32_t (*)(uint32_t pixel, int amount);
void ForEachPixel(TBitmap32* bitmap, TPixelOp operation, int amount, TColor key);

// Colour operations; byte 3 is carried through unchanged unless said otherwise.
inline uint32_t ExchangeRedBlue(uint32_t v) {
    return (v & 0xFF00FF00u) | ((v & 0xFFu) << 16) | ((v >> 16) & 0xFFu);
}
uint32_t ShiftBrightness(uint32_t color, int amount);
uint32_t ShiftSaturation(int amount, uint32_t color);
uint32_t ShiftHue(int offset, uint32_t pixel);
uint32_t ShiftHueOfColor(int offset, uint32_t color);
uint32_t ToneByBrightest(uint32_t value, uint32_t tone);
uint32_t InterpolateColor(uint32_t a, uint32_t b, double k);
uint32_t HalfwayColor(uint32_t a, uint32_t b);

// Pixel forms for ForEachPixel.
uint32_t PixelShiftBrightness(uint32_t pixel, int amount);
uint32_t PixelShiftSaturation(uint32_t pixel, int amount);
uint32_t PixelShiftHue(uint32_t pixel, int offset);
uint32_t PixelToneByBrightest(uint32_t pixel, int tone);  // tone: a colour value
uint32_t PixelMakeOpaque(uint32_t pixel, int);

// The colour adjustments a control applies to itself.
struct TControlColorAdjust {
    TColor ColorTone = clNone;  // clNone: no tone
    int HueOffset = 0;          // degrees
    int Saturation = 0;         // percent
};
TColor AdjustControlColor(TColor color, const TControlColorAdjust& control);

// Grey by the mean of the three colour channels; alpha unchanged.
void MakeGrey32(TBitmap32* bitmap);
void MakeGreyExceptKey32(TBitmap32* bitmap, uint32_t key);

}  // namespace rd
