// Drawing skin masks: nine-part borders stretched or tiled to any size, and the piece
// copies they are made of (keyed, masked, stretched).
#pragma once
#include <vector>

#include "render/sAlphaGraph.h"
#include "skin/SkinModel.h"

namespace rd {

// What lies behind a bitmap that is itself the background (offset x, y), ready.
TCacheInfo CacheInfoForBitmap(TBitmap32* bitmap, int x, int y);
// The answer of a background request: kind 2 is a ready bitmap at offset; any other kind a
// fill colour (resolved) with the parent's border strips (insets) valid in bitmap.
TCacheInfo BackgroundToCacheInfo(int bgKind, TBitmap32* bitmap, TPoint offset, TColor color, TRect borderInsets);

// Copies the smaller of the two rectangles from an image whose mask lies maskDy rows lower,
// composing each pixel through its mask: d := ((d - s) * m + s * 256) >> 8 per channel.
void CopyMaskedPiece(TRect targetRect, TRect sourceRect, TBitmap32* target, int maskDy, bool cornerFlag,
                     const TCacheInfo& background, const TBitmap32* source);

// Copies the inclusive sourceRect to (x, y); pixels equal to key show the background.
void CopyKeyedPiece(TBitmap32* target, const TBitmap32* source, int x, bool cornerFlag, const TCacheInfo& background,
                    uint32_t key, TRect sourceRect, int y);

// Scales a source piece (and, with maskOffset, its mask) to width x height at (x, y) and
// composes it through the mask; composed pixels become opaque.
void StretchMaskedPiece(int x, int y, int width, bool centre, int maskOffset, const TBitmap32* source,
                        TBitmap32* target, int srcHeight, int srcWidth, int srcY, int srcX, int height);

// Draws frame `state` of mask into rect with the nine-part grid.
void PaintMaskNinePart(TBitmap32* target, TRect rect, const TCacheInfo& background, bool cornerFlag, int state,
                       const sk::TsMaskData& mask);

// The same grid for targets whose alpha matters. A magenta image pixel clears the target pixel
// (alpha 0) or, with a ready background, takes its pixel whole; any other pixel, m the red byte
// of its mask pixel, gets d := (d * m + s * (255 - m)) >> 8 and alpha 255 - m when it was 0,
// 255 when it was 255, else max(alpha, 255 - m).
void PaintMaskNinePartAlpha(TBitmap32* target, TRect rect, const TCacheInfo& background, int state,
                            const sk::TsMaskData& mask);

// As PaintMaskNinePartAlpha with the image weight k := ((255 - m) * opacity) >> 8 in place of
// 255 - m, and the margins capped by limits (left, top, right, bottom).
void PaintMaskNinePartOpacity(TBitmap32* target, TRect rect, const TCacheInfo& background, int opacity, TRect limits,
                              int state, const sk::TsMaskData& mask);

// Draws the mask over the whole target like PaintMaskNinePart and lists, in cutOut, the corner
// pixels whose image pixel is magenta, one rectangle per run in a row: what the window region
// of a control with CornerType 2 loses.
void PaintMaskWithRegion(TBitmap32* target, std::vector<TRect>& cutOut, bool cornerFlag, int state,
                         const sk::TsMaskData& mask);

// One state frame of a small mask, unscaled, top-left at `at`. mode 1 is normal; any other
// value is the disabled look (plain images blended at level 0.5, masks made 100 lighter).
void PaintMaskGlyph(TBitmap32* target, TPoint at, int state, const TCacheInfo& background, const sk::TsMaskData& mask,
                    int mode);

}  // namespace rd
