#include "render/sSysColors.h"

namespace rd {

namespace {

// The platform's default colour scheme, indexed by COLOR_xxx, as 0x00BBGGRR.
constexpr TColor kDefaultScheme[] = {
    0xC8C8C8, 0x000000, 0xD1B499, 0xDBCDBF, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
    0x000000, 0x000000, 0xB4B4B4, 0xFCF7F4, 0xABABAB, 0xFF9933, 0xFFFFFF, 0xF0F0F0,
    0xA0A0A0, 0x6D6D6D, 0x000000, 0x544E43, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
    0xE1FFFF, 0x000000, 0xCC6600, 0xEAD1B9, 0xF2E4D7, 0xFF9933, 0xF0F0F0,
};

TSysColorFunc gSysColor = &DefaultSysColor;

}  // namespace

TColor DefaultSysColor(int index) {
    if (index < 0 || index >= static_cast<int>(sizeof kDefaultScheme / sizeof kDefaultScheme[0])) return 0;
    return kDefaultScheme[index];
}

void SetSysColorFunc(TSysColorFunc func) { gSysColor = func ? func : &DefaultSysColor; }

TColor ColorToRGB(TColor color) {
    if (color >= 0) return color;
    return gSysColor(color & 0xFF);
}

}  // namespace rd
