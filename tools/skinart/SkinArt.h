// The artwork of the internal skin Velmora2, drawn by code. Rectangles match the notations
// of assets/velmora2/Options.dat.
#pragma once
#include <cstdint>
#include <filesystem>
#include <vector>

namespace skinart {

// 0x00RRGGBB pixels, top row first; 0x00FF00FF is the skin's transparent colour.
struct TImage {
    int Width = 0, Height = 0;
    std::vector<uint32_t> Rgb;
    std::vector<uint8_t> Alpha;  // empty: opaque
};

TImage DrawMasterBitmap();                 // MASTER.BMP, 256 x 152
TImage DrawHugeButton();                   // КНОПКА.BMP, three 48 x 48 states
// The hue offset the installer gives the skin; the artwork's warm accents become azure.
constexpr int kInstallerHueOffset = 196;
// A glow covers a big caption button (24 x 20) and its glow margin (10) on every side.
constexpr int kGlowWidth = 44, kGlowHeight = 40;
TImage DrawCaptionGlow(uint32_t colour);   // the glow behind a big caption button

// Writes the skin folder: the options text (converted to code page 1251) and the images.
void WriteVelmora2(const std::filesystem::path& optionsSource, const std::filesystem::path& outDir);

}  // namespace skinart
