// Plain block transfers between 32-bit bitmaps on raw rows: what the platform's BitBlt and
// colour-on-colour StretchBlt do for these bitmaps, without a device context.
#pragma once
#include "render/sGraphUtils.h"

namespace rd {

// Clips a w x h block at (tx, ty) of target / (sx, sy) of source to both bitmaps, the source
// limited to its first sourceRows rows; false when nothing is left.
bool ClipBlock(const TBitmap32& target, const TBitmap32& source, int& tx, int& ty, int& sx, int& sy, int& w, int& h,
               int sourceRows);

// Copies the w x h block at (sx, sy) of source to (tx, ty) of target, clipped to both.
void CopyRect32(TBitmap32* target, int tx, int ty, const TBitmap32* source, int sx, int sy, int w, int h);

// Stretches sourceRect of source into targetRect of target by nearest samples (colour on
// colour: no halftoning). Target pixels outside the target are skipped; sourceRect must lie
// inside the source.
void StretchRect32(TBitmap32* target, TRect targetRect, const TBitmap32* source, TRect sourceRect);

// Source index of target sample i when `from` samples are stretched to `to` samples.
inline int StretchIndex(int i, int from, int to) {
    return static_cast<int>((static_cast<int64_t>(i) * from) / to);
}

}  // namespace rd
