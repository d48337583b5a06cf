#include "icon.h"

#include <png.h>

#include <csetjmp>
#include <stdexcept>
#include <string>

#include "artwork.h"

namespace genicon {

RgbaImage drawIcon(int size) {
  art::Canvas c(size, size);
  art::EmblemOptions o;
  o.detail = size <= 16 ? 0 : (size <= 32 ? 1 : 2);
  art::drawEmblem(c, size * 0.5f, size * 0.5f, static_cast<float>(size), o);
  RgbaImage img;
  img.size = size;
  img.pixels = c.toRGBA8();
  return img;
}

namespace {

void put16(std::vector<std::uint8_t>& o, unsigned v) {
  o.push_back(static_cast<std::uint8_t>(v));
  o.push_back(static_cast<std::uint8_t>(v >> 8));
}
void put32(std::vector<std::uint8_t>& o, std::uint32_t v) {
  for (int k = 0; k < 4; ++k) o.push_back(static_cast<std::uint8_t>(v >> (8 * k)));
}

void pngWrite(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}
void pngFlush(png_structp) {}

}  // namespace

std::vector<std::uint8_t> encodePng(const RgbaImage& image) {
  if (image.size <= 0 || image.pixels.size() != static_cast<std::size_t>(image.size) * image.size * 4)
    throw std::invalid_argument("encodePng: bad image");
  std::vector<std::uint8_t> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) throw std::runtime_error("libpng: cannot create write struct");
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    throw std::runtime_error("libpng: cannot create info struct");
  }
  std::vector<png_bytep> rows(static_cast<std::size_t>(image.size));
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    throw std::runtime_error("libpng: write error");
  }
  png_set_write_fn(png, &out, pngWrite, pngFlush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(image.size), static_cast<png_uint_32>(image.size), 8,
               PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(png, 9);
  png_write_info(png, info);
  for (int y = 0; y < image.size; ++y)
    rows[static_cast<std::size_t>(y)] = const_cast<png_bytep>(image.pixels.data() + static_cast<std::size_t>(y) * image.size * 4);
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

std::vector<std::uint8_t> encodeDib(const RgbaImage& image) {
  const int n = image.size;
  const std::size_t xorSize = static_cast<std::size_t>(n) * n * 4;
  const std::size_t maskStride = ((static_cast<std::size_t>(n) + 31) / 32) * 4;
  const std::size_t andSize = maskStride * n;
  std::vector<std::uint8_t> o;
  o.reserve(40 + xorSize + andSize);
  put32(o, 40);                              // biSize
  put32(o, static_cast<std::uint32_t>(n));   // biWidth
  put32(o, static_cast<std::uint32_t>(2 * n));  // biHeight: XOR + AND
  put16(o, 1);                               // biPlanes
  put16(o, 32);                              // biBitCount
  put32(o, 0);                               // biCompression = BI_RGB
  put32(o, static_cast<std::uint32_t>(xorSize + andSize));  // biSizeImage
  put32(o, 0);
  put32(o, 0);
  put32(o, 0);
  put32(o, 0);
  for (int y = n - 1; y >= 0; --y)
    for (int x = 0; x < n; ++x) {
      const std::uint8_t* p = &image.pixels[(static_cast<std::size_t>(y) * n + x) * 4];
      o.push_back(p[2]);
      o.push_back(p[1]);
      o.push_back(p[0]);
      o.push_back(p[3]);
    }
  for (int y = n - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(maskStride, 0);
    for (int x = 0; x < n; ++x)
      if (image.pixels[(static_cast<std::size_t>(y) * n + x) * 4 + 3] == 0)
        row[static_cast<std::size_t>(x) / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    o.insert(o.end(), row.begin(), row.end());
  }
  return o;
}

std::vector<std::uint8_t> buildIco(const std::vector<IcoEntry>& entries) {
  std::vector<std::uint8_t> o;
  put16(o, 0);  // reserved
  put16(o, 1);  // type: icon
  put16(o, static_cast<unsigned>(entries.size()));
  std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * entries.size());
  for (const auto& e : entries) {
    if (e.size < 1 || e.size > 256) throw std::invalid_argument("icon size out of range");
    o.push_back(static_cast<std::uint8_t>(e.size == 256 ? 0 : e.size));  // width
    o.push_back(static_cast<std::uint8_t>(e.size == 256 ? 0 : e.size));  // height
    o.push_back(0);  // colour count
    o.push_back(0);  // reserved
    put16(o, 1);     // planes
    put16(o, 32);    // bits per pixel
    put32(o, static_cast<std::uint32_t>(e.data.size()));
    put32(o, offset);
    offset += static_cast<std::uint32_t>(e.data.size());
  }
  for (const auto& e : entries) o.insert(o.end(), e.data.begin(), e.data.end());
  return o;
}

std::vector<std::uint8_t> buildIco() {
  std::vector<IcoEntry> entries;
  for (int s : {16, 32, 48}) entries.push_back({s, encodeDib(drawIcon(s))});
  entries.push_back({256, encodePng(drawIcon(256))});
  return buildIco(entries);
}

}  // namespace genicon
