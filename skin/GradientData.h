// Gradient description strings: decimal integers separated by ";", five per piece
// (Color1; Color2; Percent; Mode1; Mode2). Runs of ";" are one separator.
#pragma once
#include <string_view>

#include "render/sGradientPieces.h"

namespace sk {

// Empties array, then appends one piece per complete group of five fields. A field that is
// not an integer raises std::invalid_argument.
void ParseGradientData(std::wstring_view text, TsGradArray& array);

}  // namespace sk
