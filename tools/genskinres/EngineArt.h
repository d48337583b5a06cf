// The skinning engine's own built-in images: the 19 x 19 blur template "BLUR5" that outer
// effect masks are generated from, and the two 33 x 33 form-shadow images "acSHDA" (active)
// and "acSHDI" (inactive).
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "icon.h"

namespace genskinres {

constexpr int kBlurSize = 19;
using TBlurTemplate = std::array<std::array<uint8_t, kBlurSize>, kBlurSize>;  // [row][column]

// Grey levels: a plateau of 51 inside, rising to 255 at the corners; symmetric about the
// middle row and column and about the diagonal.
TBlurTemplate MakeBlurTemplate();
// An 8-bit palette bitmap file whose palette index equals its grey level.
std::vector<uint8_t> EncodeGreyBmp(const TBlurTemplate& t);

constexpr int kShadowSize = 33;
constexpr int kShadowDepth = 9;  // the rings that fade in from the outer edge
// Black pixels whose alpha rises from the outer edge to innerAlpha; with a transparent
// outer ring the rise starts one ring further in.
genicon::RgbaImage MakeShadowImage(uint8_t innerAlpha, bool transparentOuterRing);

}  // namespace genskinres
