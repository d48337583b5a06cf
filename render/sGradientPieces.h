// One piece of a gradient description: two colours, the share of the area it covers and its
// shape. The skin's options text is parsed into these (skin/GradientData); the gradient
// painter reads them.
#pragma once
#include <cstdint>
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

}  // namespace sk
