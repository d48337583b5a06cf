// The application icon "MAINICON": 16, 32 and 48 px as 32-bit BGRA DIB entries with an
// AND mask, 256 px as a PNG entry. Drawn by code (the same emblem as the picture).
#pragma once

#include <cstdint>
#include <vector>

namespace genicon {

struct RgbaImage {
  int size = 0;                      // width == height
  std::vector<std::uint8_t> pixels;  // straight RGBA, rows top-down
};

// Draws the emblem at one icon size (detail is chosen from the size).
RgbaImage drawIcon(int size);

// PNG (8-bit RGBA) through libpng. Throws std::runtime_error on error.
std::vector<std::uint8_t> encodePng(const RgbaImage& image);

// One DIB icon entry: BITMAPINFOHEADER (height doubled), BGRA rows bottom-up, AND mask
// (1 = transparent, rows padded to 32 bits, bottom-up).
std::vector<std::uint8_t> encodeDib(const RgbaImage& image);

// The whole .ico file: sizes 16, 32, 48 (DIB) and 256 (PNG), in that order.
std::vector<std::uint8_t> buildIco();

// Builds an .ico from ready entries (size, bytes); `size` 256 is written as 0 in the directory.
struct IcoEntry {
  int size;
  std::vector<std::uint8_t> data;
};
std::vector<std::uint8_t> buildIco(const std::vector<IcoEntry>& entries);

}  // namespace genicon
