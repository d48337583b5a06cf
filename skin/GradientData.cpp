#include "skin/GradientData.h"

#include <algorithm>
#include <string>

#include "render/sSysColors.h"
#include "skin/acntUtils.h"

namespace sk {

void ParseGradientData(std::wstring_view text, TsGradArray& array) {
    array.clear();
    const int pieces = CountFields(text, L";") / 5;
    for (int i = 0; i < pieces; ++i) {
        auto field = [&](int k) { return DecimalOrThrow(FieldAt(i * 5 + k, text, L";")); };
        TsGradPie pie;
        pie.Color1 = rd::ColorToRGB(field(1));
        pie.Color2 = rd::ColorToRGB(field(2));
        pie.Percent = static_cast<uint8_t>(std::clamp(field(3), 0, 100));
        pie.Mode1 = field(4);
        field(5);  // Mode2: present, checked, not kept
        array.push_back(pie);
    }
}

}  // namespace sk
