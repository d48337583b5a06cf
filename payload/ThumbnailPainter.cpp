#include "payload/ThumbnailPainter.h"

#include <algorithm>

namespace qz {

namespace {
constexpr uint8_t kCardAlpha = 224;
constexpr uint8_t kBarAlpha = 255;

struct Rgb {
  int r, g, b;
};

uint32_t Premultiplied(Rgb c, uint8_t alpha) {
  auto mul = [alpha](int v) { return uint32_t((v * alpha + 127) / 255); };
  return uint32_t(alpha) << 24 | mul(c.r) << 16 | mul(c.g) << 8 | mul(c.b);
}

// FNV-1a of the content: the same document always gets the same tint.
uint32_t ContentHash(const std::vector<uint8_t>& document) {
  uint32_t hash = 2166136261u;
  for (uint8_t b : document) hash = (hash ^ b) * 16777619u;
  return hash;
}

Rgb CardTint(uint32_t hash) {
  return {40 + int(hash & 0x3F), 40 + int((hash >> 8) & 0x3F), 60 + int((hash >> 16) & 0x5F)};
}

bool InsideRoundedRect(int x, int y, int left, int top, int right, int bottom, int radius) {
  if (x < left || x >= right || y < top || y >= bottom) return false;
  int cx = std::clamp(x, left + radius, right - 1 - radius);
  int cy = std::clamp(y, top + radius, bottom - 1 - radius);
  int dx = x - cx, dy = y - cy;
  return dx * dx + dy * dy <= radius * radius;
}
}  // namespace

std::vector<int> BarLevels(const std::vector<uint8_t>& document) {
  std::vector<int> levels(kThumbnailBars, 0);
  const size_t n = document.size();
  for (int i = 0; i < kThumbnailBars; ++i) {
    size_t begin = n * size_t(i) / kThumbnailBars, end = n * size_t(i + 1) / kThumbnailBars;
    if (end <= begin) continue;
    uint64_t sum = 0;
    for (size_t k = begin; k < end; ++k) sum += document[k];
    levels[i] = int(sum / (end - begin));
  }
  return levels;
}

ThumbnailImage PaintThumbnail(const std::vector<uint8_t>& document, int size) {
  ThumbnailImage image{size, std::vector<uint32_t>(size_t(size) * size, 0)};
  const int margin = size / 16, radius = size / 8;
  const int left = margin, top = margin, right = size - margin, bottom = size - margin;
  const Rgb tint = CardTint(ContentHash(document));
  const Rgb bar = {std::min(255, tint.r + 150), std::min(255, tint.g + 150), std::min(255, tint.b + 120)};
  const std::vector<int> levels = BarLevels(document);

  const int inner = std::max(1, right - left - 2 * margin);
  const int floor_y = bottom - margin, graph_height = std::max(1, floor_y - (top + margin));
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      if (!InsideRoundedRect(x, y, left, top, right, bottom, radius)) continue;
      int slot = (x - left - margin) * kThumbnailBars / inner;
      bool in_bar = slot >= 0 && slot < kThumbnailBars && y < floor_y &&
                    y >= floor_y - levels[slot] * graph_height / 255 &&
                    (x - left - margin) * kThumbnailBars % inner < inner * 3 / 4;
      image.pixels[size_t(y) * size + x] = in_bar ? Premultiplied(bar, kBarAlpha) : Premultiplied(tint, kCardAlpha);
    }
  }
  return image;
}

}  // namespace qz
