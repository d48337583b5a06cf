// Gradient description strings: decimal integers separated by ";", five per piece
// (Color1; Color2; Percent; Mode1; Mode2). Runs of ";" are one separator.
#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

namespace sk {

struct TsGradPie {
    int32_t Color1 = 0;   // colour value, system colours resolved
    int32_t Color2 = 0;
    uint8_t Percent = 0;  // 0..100
    int32_t Mode1 = 0;    // shape: 0 vertical, 1 horizontal, 2 four triangles (the first piece's counts)
    int32_t Mode2 = 0;    // always 0 after parsing
};
using TsGradArray = std::vector<TsGradPie>;

// Empties array, then appends one piece per complete group of five fields. A field that is
// not an integer raises std::invalid_argument.
void ParseGradientData(std::wstring_view text, TsGradArray& array);

}  // namespace sk
