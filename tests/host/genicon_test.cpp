// genicon: a multi-size .ico: 16, 32, 48 as 32-bit DIB entries with AND mask, 256 as PNG.
#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <vector>

#include "icon.h"

namespace {

std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t o) {
  return b[o] | (b[o + 1] << 8) | (b[o + 2] << 16) | (static_cast<std::uint32_t>(b[o + 3]) << 24);
}
unsigned le16(const std::vector<std::uint8_t>& b, std::size_t o) { return b[o] | (b[o + 1] << 8); }

struct PngInfo {
  bool ok = false;
  png_uint_32 w = 0, h = 0;
  int colorType = -1, depth = 0;
  std::vector<std::uint8_t> rgba;
};

PngInfo readPng(const std::uint8_t* data, std::size_t size) {
  PngInfo r;
  png_image img;
  std::memset(&img, 0, sizeof img);
  img.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&img, data, size)) return r;
  r.w = img.width;
  r.h = img.height;
  r.colorType = (img.format & PNG_FORMAT_FLAG_ALPHA) ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB;
  img.format = PNG_FORMAT_RGBA;
  r.rgba.resize(PNG_IMAGE_SIZE(img));
  r.ok = png_image_finish_read(&img, nullptr, r.rgba.data(), 0, nullptr) != 0;
  return r;
}

const std::vector<std::uint8_t>& ico() {
  static const std::vector<std::uint8_t> bytes = genicon::buildIco();
  return bytes;
}

TEST(GenIcon, Directory) {
  const auto& b = ico();
  ASSERT_GE(b.size(), 6u + 4 * 16);
  EXPECT_EQ(le16(b, 0), 0u);
  EXPECT_EQ(le16(b, 2), 1u);
  ASSERT_EQ(le16(b, 4), 4u);
  const int sizes[] = {16, 32, 48, 0};
  std::size_t expectedOffset = 6 + 4 * 16;
  for (int i = 0; i < 4; ++i) {
    std::size_t e = 6 + 16 * i;
    EXPECT_EQ(b[e], sizes[i]);
    EXPECT_EQ(b[e + 1], sizes[i]);
    EXPECT_EQ(b[e + 2], 0);
    EXPECT_EQ(b[e + 3], 0);
    EXPECT_EQ(le16(b, e + 4), 1u);
    EXPECT_EQ(le16(b, e + 6), 32u);
    EXPECT_EQ(le32(b, e + 12), expectedOffset);
    expectedOffset += le32(b, e + 8);
  }
  EXPECT_EQ(expectedOffset, b.size());
}

TEST(GenIcon, DibEntries) {
  const auto& b = ico();
  for (int i = 0; i < 3; ++i) {
    static const int kSizes[] = {16, 32, 48};
    const int size = kSizes[i];
    std::size_t off = le32(b, 6 + 16 * i + 12);
    std::size_t len = le32(b, 6 + 16 * i + 8);
    const std::size_t maskStride = ((size + 31) / 32) * 4;
    ASSERT_EQ(len, 40u + size * size * 4u + maskStride * size) << size;
    EXPECT_EQ(le32(b, off), 40u);
    EXPECT_EQ(le32(b, off + 4), static_cast<std::uint32_t>(size));
    EXPECT_EQ(le32(b, off + 8), static_cast<std::uint32_t>(2 * size));
    EXPECT_EQ(le16(b, off + 12), 1u);
    EXPECT_EQ(le16(b, off + 14), 32u);
    EXPECT_EQ(le32(b, off + 16), 0u);  // BI_RGB
    // Corners transparent, centre opaque; the AND mask agrees with alpha everywhere.
    const std::size_t pix = off + 40, mask = pix + size * size * 4;
    int opaque = 0, partial = 0;
    for (int row = 0; row < size; ++row)      // bottom-up rows
      for (int x = 0; x < size; ++x) {
        std::uint8_t a = b[pix + (static_cast<std::size_t>(row) * size + x) * 4 + 3];
        bool transparentBit = (b[mask + row * maskStride + x / 8] >> (7 - x % 8)) & 1;
        EXPECT_EQ(transparentBit, a == 0) << size << " " << x << "," << row;
        opaque += a == 255;
        partial += a > 0 && a < 255;
      }
    EXPECT_EQ(b[pix + 3], 0) << "corner";
    std::size_t centre = pix + (static_cast<std::size_t>(size / 2) * size + size / 2) * 4;
    EXPECT_EQ(b[centre + 3], 255) << "centre";
    EXPECT_GT(opaque, size * size / 2);
    EXPECT_GT(partial, 0) << "anti-aliased edge";
  }
}

TEST(GenIcon, PngEntry) {
  const auto& b = ico();
  std::size_t off = le32(b, 6 + 16 * 3 + 12);
  std::size_t len = le32(b, 6 + 16 * 3 + 8);
  ASSERT_LE(off + len, b.size());
  const std::uint8_t sig[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  ASSERT_EQ(std::memcmp(&b[off], sig, 8), 0);
  PngInfo p = readPng(&b[off], len);
  ASSERT_TRUE(p.ok);
  EXPECT_EQ(p.w, 256u);
  EXPECT_EQ(p.h, 256u);
  EXPECT_EQ(p.colorType, PNG_COLOR_TYPE_RGB_ALPHA);
  EXPECT_EQ(p.rgba[3], 0);                                 // corner
  EXPECT_EQ(p.rgba[(128 * 256 + 128) * 4 + 3], 255);      // centre
  EXPECT_EQ(p.rgba, genicon::drawIcon(256).pixels);
}

TEST(GenIcon, Deterministic) { EXPECT_EQ(genicon::buildIco(), ico()); }

}  // namespace
