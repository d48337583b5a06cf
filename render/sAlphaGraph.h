// Blends of 32-bit bitmaps with each other and the disabled look of a finished control face.
#pragma once
#include "render/sGraphUtils.h"

namespace rd {

// What lies behind a control while it paints: the parent's bitmap at offset (X, Y), or,
// when no bitmap is ready, a plain fill colour.
struct TCacheInfo {
    TBitmap32* Bmp = nullptr;
    int X = 0, Y = 0;
    TColor FillColor = clMagenta;  // clMagenta: unknown
    TRect FillRect;                // four border widths
    bool Ready = false;
};

// Source rectangle (Right/Bottom clamped to the last column/row, so inclusive) blended onto
// target at (x, y): d := Trunc(s - (s - d) * level). Pixels equal to key are skipped.
void BlendFromBitmap(TBitmap32* target, int x, int y, uint32_t key, double level, TRect rect,
                     const TBitmap32* source);
// Per channel d := ((d - t) * m + t * 256) >> 8, m from the mask; equal sizes only.
void BlendColorThroughMask(TBitmap32* target, const TBitmap32* mask, TColor color);
// Per channel d := ((d - s) * level + s * 256) >> 8, level 0..255; equal sizes only.
void CrossFade32(TBitmap32* target, const TBitmap32* source, int level);
// As CrossFade32 over sourceRect of source placed at `at` in target, clipped to both.
void BlendRectConstant(TBitmap32* target, const TBitmap32* source, int level, TPoint at, TRect sourceRect);
// Source-over composition with straight alpha.
void AlphaOver32(TRect targetRect, TRect sourceRect, TBitmap32* target, bool copyParent,
                 const TCacheInfo& background, const TBitmap32* source);

enum TsDisabledKind : unsigned { dkBlended = 1, dkGrayed = 2 };
constexpr int DisabledSaturationAmount = -90;
constexpr double DisabledBlendLevel = 0.4;

// The look of a disabled control applied to its face. at: the control's position in its
// parent; parentColor: used when the background is neither ready nor has a fill colour.
void ApplyDisabledLook(TBitmap32* bitmap, unsigned kinds, TColor parentColor, TPoint at,
                       const TCacheInfo& background);

}  // namespace rd
