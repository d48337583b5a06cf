// System colours of the platform. A colour value below 0 names a system colour
// (0xFF000000 | index); ColorToRGB turns it into 0x00BBGGRR. The Win32 side installs a
// resolver over GetSysColor; until then a fixed table of the platform's default scheme
// answers, which is what host tools and tests see.
#pragma once
#include <cstdint>

namespace rd {

using TColor = int32_t;

constexpr TColor clNone = 0x1FFFFFFF;     // no colour: no key, no tone
constexpr TColor clMagenta = 0x00FF00FF;  // transparent key of skin images, unknown background
constexpr TColor clWhite = 0x00FFFFFF;

// System colour values (0xFF000000 | COLOR_xxx index).
constexpr TColor clWindow = static_cast<TColor>(0xFF000005);
constexpr TColor clWindowText = static_cast<TColor>(0xFF000008);
constexpr TColor clHighlight = static_cast<TColor>(0xFF00000D);
constexpr TColor clHighlightText = static_cast<TColor>(0xFF00000E);
constexpr TColor clBtnFace = static_cast<TColor>(0xFF00000F);

// Resolver of one system colour index (the low byte of a negative colour value).
using TSysColorFunc = TColor (*)(int index);

// Installs the platform's resolver; nullptr restores the built-in default table.
void SetSysColorFunc(TSysColorFunc func);

// Negative values are resolved through the installed resolver; others are returned as they are.
TColor ColorToRGB(TColor color);

// The built-in table (also the host resolver).
TColor DefaultSysColor(int index);

}  // namespace rd
