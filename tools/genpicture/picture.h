// The installer's left-hand picture: 200 x 500, drawn by code, stored as a baseline JPEG.
#pragma once

#include <cstdint>
#include <vector>

namespace genpicture {

constexpr int kWidth = 200;
constexpr int kHeight = 500;

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;  // RGB, 8 bits per channel, rows top-down
};

// Draws the picture (deterministic: the same bytes on every run).
RgbImage drawPicture();

// Encodes with libjpeg: baseline (sequential, not progressive), three components (YCbCr),
// the given quality. Throws std::runtime_error on a libjpeg error.
std::vector<std::uint8_t> encodeJpeg(const RgbImage& image, int quality = 90);

}  // namespace genpicture
