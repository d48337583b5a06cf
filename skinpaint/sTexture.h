// Texture fills: tiled, stretched and banded textures from skin masks, pattern images,
// masked (transparent) textures, and the fill of one section state mixing colour, gradient
// and texture.
#pragma once
#include "render/sAlphaGraph.h"
#include "skin/SkinModel.h"

namespace rd {

// The rectangle value meaning "everything covered".
constexpr TRect kCovered{-1, -1, -1, -1};

// Frame 0 of a mask and the bitmap it lies in (its own image or the master bitmap); false
// when the mask has no manager, no image or an empty frame.
bool MaskFrame0(const sk::TsMaskData& mask, const TBitmap32*& source, TRect& frame);

// Tiles image over rect: whole tiles, the last column and row cut to fit.
void TilePatternImage(TBitmap32* target, TRect rect, const TBitmap32* image);

// Fills rect with a pattern image (when given) or frame 0 of an unmasked texture mask in
// fill mode `mode` (0 to 10, see the texture modes). On return rect is the part still
// uncovered, or kCovered.
void FillTexture(TBitmap32* target, TRect& rect, const TBitmap32* pattern, int mode, const sk::TsMaskData* mask);

// Tiles a masked texture (image over its mask) in mode 0 or 10, rect becomes kCovered;
// other modes do nothing and leave rect unchanged.
void TileMaskedTexture(TBitmap32* target, TRect& rect, const TCacheInfo& background, int mode,
                       const sk::TsMaskData& mask);

// One section state's fill values.
struct TSectionFill {
    TColor Color = clWhite;
    int GradientPercent = 0;
    const sk::TsGradArray* GradientArray = nullptr;  // none or empty: no gradient data
    int ImagePercent = 0;
    int TextureIndex = -1;                  // a mask of the model, or -1
    const TBitmap32* Pattern = nullptr;     // used when TextureIndex is not a valid mask
};

// Texture, then gradient, then colour, into rect of target (see the composition rules).
void ComposeSectionFill(TBitmap32* target, TRect rect, const TSectionFill& fill, const sk::TSkinModel& model);

}  // namespace rd
