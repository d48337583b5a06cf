// Draws the thumbnail of a Kalvetra document: a rounded card whose tint comes from the
// document's bytes, with a bar graph of the byte values of its sixteen equal parts.
// Pure pixels: no Windows types.
#pragma once
#include <cstdint>
#include <vector>

namespace qz {

// Square image, rows top to bottom, each pixel 0xAARRGGBB with premultiplied colour.
struct ThumbnailImage {
  int size = 0;
  std::vector<uint32_t> pixels;
};

inline constexpr int kThumbnailBars = 16;

// Heights of the bars in 0..255: the mean byte value of each sixteenth of the document
// (parts of an empty or short document that hold no bytes are 0).
std::vector<int> BarLevels(const std::vector<uint8_t>& document);

// `size` must be at least 1.
ThumbnailImage PaintThumbnail(const std::vector<uint8_t>& document, int size);

}  // namespace qz
