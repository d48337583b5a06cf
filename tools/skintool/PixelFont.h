// A tiny built-in pixel font (3 x 5 pixels a glyph) for labels on contact sheets: digits,
// capital letters and a few signs; small letters are drawn as capitals, anything else as "?".
#pragma once
#include <string_view>

#include "render/sGraphUtils.h"

namespace skintool {

constexpr int kGlyphAdvance = 4;  // 3 pixels and a gap
constexpr int kGlyphHeight = 5;

// Characters the label takes (one per UTF-8 character).
int PixelTextLength(std::string_view text);
// Draws text with its top-left corner at (x, y); pixels outside the target are skipped.
void DrawPixelText(rd::TBitmap32& target, int x, int y, std::string_view text, rd::TColor color);

}  // namespace skintool
