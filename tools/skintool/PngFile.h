// A 32-bit bitmap as an 8-bit RGB PNG image (alpha is dropped: the picture as it shows on an
// opaque window).
#pragma once
#include "render/sGraphUtils.h"
#include "skin/acSkinPack.h"

namespace skintool {

sk::TBytes EncodePngRgb(const rd::TBitmap32& bitmap);

}  // namespace skintool
