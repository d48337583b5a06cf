#include "picture.h"

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "artwork.h"

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

namespace genpicture {

using art::Canvas;
using art::Color;
using art::rgb;

namespace {

constexpr float kPi = 3.14159265358979f;

Color gradientAt(const float* stops, const std::uint32_t* colors, int n, float t) {
  if (t <= stops[0]) return rgb(colors[0]);
  for (int i = 1; i < n; ++i)
    if (t <= stops[i]) {
      float k = (t - stops[i - 1]) / (stops[i] - stops[i - 1]);
      k = k * k * (3 - 2 * k);
      return art::mix(rgb(colors[i - 1]), rgb(colors[i]), k);
    }
  return rgb(colors[n - 1]);
}

void drawBackground(Canvas& c) {
  const float stops[] = {0.0f, 0.30f, 0.58f, 0.80f, 1.0f};
  const std::uint32_t colors[] = {0x0A1634, 0x0C2A4E, 0x0B3A57, 0x0A2442, 0x060D22};
  for (int y = 0; y < c.height(); ++y) {
    Color row = gradientAt(stops, colors, 5, (y + 0.5f) / c.height());
    for (int x = 0; x < c.width(); ++x) {
      float fx = (x + 0.5f) / c.width();
      // Faint diagonal light from the top left.
      float beam = std::exp(-std::pow((fx * 0.9f - (y + 0.5f) / c.height() * 0.55f - 0.05f) / 0.16f, 2.0f));
      Color col = art::add(row, art::scale(rgb(0x1B5C7A), 0.22f * beam * (1 - (y + 0.5f) / c.height())));
      // Vignette: darker toward the corners and the outer (left) edge.
      float vx = (fx - 0.55f) * 1.1f, vy = ((y + 0.5f) / c.height() - 0.45f) * 1.25f;
      float vig = 1.0f - 0.35f * std::min(1.0f, vx * vx + vy * vy);
      c.blend(x, y, art::scale(col, vig), 1.0f);
    }
  }
}

void softGlow(Canvas& c, float cx, float cy, float rx, float ry, Color col, float strength) {
  for (int y = 0; y < c.height(); ++y)
    for (int x = 0; x < c.width(); ++x) {
      float dx = (x + 0.5f - cx) / rx, dy = (y + 0.5f - cy) / ry;
      float d2 = dx * dx + dy * dy;
      if (d2 > 9) continue;
      c.addLight(x, y, col, strength * std::exp(-d2));
    }
}

void drawBokeh(Canvas& c) {
  art::Rng rng(0x4B414C56u);  // "KALV"
  const std::uint32_t palette[] = {0x3FD6E0, 0x3A8EE8, 0x6F6AE8, 0x2FC4B0, 0x9AD8FF};
  for (int i = 0; i < 34; ++i) {
    float r = rng.uniform(0, 1);
    float radius = 3.0f + 22.0f * r * r;
    float cx = rng.uniform(-10, c.width() + 10);
    // More of them in the upper two thirds.
    float t = rng.uniform(0, 1);
    float cy = (t * t * 0.55f + t * 0.25f) * c.height() + rng.uniform(0, 60);
    Color col = rgb(palette[rng.next() % 5]);
    float intensity = rng.uniform(0.035f, 0.11f) * (radius < 8 ? 1.6f : 1.0f);
    int x0 = std::max(0, static_cast<int>(cx - radius - 3)), x1 = std::min(c.width(), static_cast<int>(cx + radius + 4));
    int y0 = std::max(0, static_cast<int>(cy - radius - 3)), y1 = std::min(c.height(), static_cast<int>(cy + radius + 4));
    float edge = std::max(1.2f, radius * 0.12f);
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) {
        float d = art::sdCircle(x + 0.5f, y + 0.5f, cx, cy, radius);
        float disc = 1 - art::smoothstep(-edge, edge, d);
        // A slightly brighter rim, like an out-of-focus highlight.
        float rim = std::exp(-std::pow((d + edge) / edge, 2.0f)) * 0.6f;
        float centre = std::hypot(x + 0.5f - cx, y + 0.5f - cy) / radius;
        float body = disc * (0.75f + 0.25f * centre);
        c.addLight(x, y, col, intensity * (body + rim * disc));
      }
  }
}

// A soft-glowing line y = f(x): a crisp core and a two-part halo, by true distance.
template <typename F>
void glowCurve(Canvas& c, F f, Color core, Color halo, float width, float haloRadius, float strength,
               float yMin, float yMax) {
  const art::CurveDistance curve(f, -2.0f, c.width() + 2.0f, 0.5f);
  const float reach = haloRadius * 7;
  int ya = std::max(0, static_cast<int>(yMin)), yb = std::min(c.height(), static_cast<int>(yMax));
  for (int y = ya; y < yb; ++y)
    for (int x = 0; x < c.width(); ++x) {
      float fx = x + 0.5f;
      float d = curve.distance(fx, y + 0.5f, reach);
      if (d >= reach) continue;
      // Fade the wave in and out at the picture's edges.
      float edgeFade = art::smoothstep(0.0f, 30.0f, fx) * art::smoothstep(0.0f, 30.0f, c.width() - fx);
      float line = art::coverage(d - width * 0.5f);
      float glow = std::exp(-d / haloRadius) * 0.5f + std::exp(-d * d / (haloRadius * haloRadius * 6)) * 0.22f;
      c.addLight(x, y, halo, strength * glow * edgeFade);
      c.addLight(x, y, core, strength * line * edgeFade);
    }
}

void drawWaves(Canvas& c) {
  const float base = 292.0f;
  auto envelope = [](float x) {
    float u = (x - 100.0f) / 100.0f;
    return 0.22f + 0.78f * std::exp(-u * u * 2.4f);
  };
  // Three voices of one sound: a strong main wave and two quieter, slower companions.
  auto main = [&](float x) {
    return base + envelope(x) * (25.0f * std::sin(x * 0.072f + 0.5f) + 5.0f * std::sin(x * 0.17f + 1.3f));
  };
  auto second = [&](float x) {
    return base + envelope(x) * (18.0f * std::sin(x * 0.058f + 2.3f) + 4.0f * std::sin(x * 0.21f + 0.2f));
  };
  auto third = [&](float x) {
    return base + envelope(x) * (12.0f * std::sin(x * 0.095f + 4.1f) + 3.0f * std::sin(x * 0.27f + 2.5f));
  };
  glowCurve(c, third, rgb(0x9C8CFF), rgb(0x5A48D8), 1.0f, 4.5f, 0.42f, base - 90, base + 90);
  glowCurve(c, second, rgb(0x6AB4FF), rgb(0x2F6FE0), 1.2f, 5.0f, 0.50f, base - 90, base + 90);
  glowCurve(c, main, rgb(0xD8FCFF), rgb(0x26C8E0), 1.7f, 6.0f, 0.80f, base - 90, base + 90);
}

void drawSpectrum(Canvas& c) {
  const int bars = 18;
  const float left = 13.0f, right = c.width() - 13.0f;
  const float pitch = (right - left) / bars;
  const float barW = pitch * 0.68f;
  const float baseY = 452.0f;
  const float maxH = 70.0f;
  art::Rng rng(0x53504543u);  // fixed seed: the same picture on every build
  for (int i = 0; i < bars; ++i) {
    float t = (i + 0.5f) / bars;
    // Colours drift from teal on the left to blue-violet on the right, like the waves.
    const Color bottom = art::mix(rgb(0x1E5CC0), rgb(0x3A36B8), t);
    const Color middle = art::mix(rgb(0x19B0D0), rgb(0x4A78E8), t);
    const Color top = art::mix(rgb(0x8AF6EC), rgb(0xA8B8FF), t);
    // A typical music spectrum: strong lows, a bump in the mids, falling highs.
    float shape = 0.55f + 0.35f * std::exp(-std::pow((t - 0.18f) / 0.14f, 2.0f)) +
                  0.25f * std::exp(-std::pow((t - 0.55f) / 0.12f, 2.0f)) - 0.35f * t;
    float h = maxH * std::clamp(shape * rng.uniform(0.72f, 1.08f), 0.12f, 1.0f);
    float x0 = left + i * pitch + (pitch - barW) * 0.5f;
    float cxb = x0 + barW * 0.5f;
    float cyb = baseY - h * 0.5f;
    float peakY = baseY - h - 5.0f - rng.uniform(0, 5);
    for (int y = static_cast<int>(peakY - 4); y < static_cast<int>(baseY + 44); ++y) {
      for (int x = static_cast<int>(x0 - 2); x < static_cast<int>(x0 + barW + 3); ++x) {
        float px = x + 0.5f, py = y + 0.5f;
        if (py < baseY) {
          float d = art::sdRoundBox(px - cxb, py - cyb, barW * 0.5f, h * 0.5f, 1.5f);
          float cov = art::coverage(d);
          float k = art::clamp01((baseY - py) / h) * (0.55f + 0.45f * h / maxH);
          Color col = k < 0.5f ? art::mix(bottom, middle, k * 2) : art::mix(middle, top, (k - 0.5f) * 2);
          c.blend(x, y, col, cov * 0.92f);
          c.addLight(x, y, rgb(0x1E90C8), 0.10f * std::exp(-std::max(d, 0.0f) / 2.5f) * (1 - cov));
          // Peak marker above the bar.
          float dp = art::sdRoundBox(px - cxb, py - peakY, barW * 0.5f, 1.0f, 0.8f);
          c.blend(x, y, art::mix(top, rgb(0xFFFFFF), 0.4f), art::coverage(dp) * 0.9f);
        } else {
          // Reflection on the floor, fading with distance.
          float ry = 2 * baseY - py;
          float d = art::sdRoundBox(px - cxb, ry - cyb, barW * 0.5f, h * 0.5f, 1.5f);
          float fade = std::exp(-(py - baseY) / 11.0f) * 0.28f;
          float k = art::clamp01((baseY - ry) / h) * 0.5f;
          Color col = art::mix(bottom, middle, k);
          c.blend(x, y, col, art::coverage(d) * fade);
        }
      }
    }
  }
  // A thin glowing floor line.
  for (int y = static_cast<int>(baseY - 6); y < static_cast<int>(baseY + 7); ++y)
    for (int x = 0; x < c.width(); ++x) {
      float d = std::fabs(y + 0.5f - (baseY + 0.5f));
      float fx = (x + 0.5f) / c.width();
      float fade = std::exp(-std::pow((fx - 0.5f) / 0.32f, 2.0f));
      c.addLight(x, y, rgb(0x58D8F0), fade * (0.30f * art::coverage(d - 0.5f) + 0.08f * std::exp(-d / 2.0f)));
    }
}

}  // namespace

RgbImage drawPicture() {
  Canvas c(kWidth, kHeight);
  drawBackground(c);
  softGlow(c, 100, 112, 95, 80, rgb(0x157A9A), 0.22f);
  softGlow(c, 100, 292, 120, 60, rgb(0x143E8A), 0.20f);
  drawBokeh(c);
  drawWaves(c);
  drawSpectrum(c);
  art::EmblemOptions eo;
  eo.detail = 2;
  eo.outerGlow = true;
  art::drawEmblem(c, 100.0f, 112.0f, 96.0f, eo);

  RgbImage img;
  img.width = kWidth;
  img.height = kHeight;
  img.pixels = c.toRGB8();
  return img;
}

// ---------------------------------------------------------------------------------------
// JPEG

namespace {

struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void onError(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

}  // namespace

std::vector<std::uint8_t> encodeJpeg(const RgbImage& image, int quality) {
  if (image.width <= 0 || image.height <= 0 ||
      image.pixels.size() != static_cast<std::size_t>(image.width) * image.height * 3)
    throw std::invalid_argument("encodeJpeg: bad image");

  jpeg_compress_struct cinfo{};
  ErrorManager err{};
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = onError;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  // Nothing with a destructor lives between setjmp and longjmp.
  if (setjmp(err.jump)) {
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    throw std::runtime_error(std::string("libjpeg: ") + err.message);
  }
  jpeg_create_compress(&cinfo);
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = static_cast<JDIMENSION>(image.width);
  cinfo.image_height = static_cast<JDIMENSION>(image.height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);                 // YCbCr, 3 components, 2x2 chroma, sequential
  jpeg_set_quality(&cinfo, quality, TRUE);   // baseline quantisation tables
  cinfo.optimize_coding = TRUE;              // optimal Huffman tables: still baseline (SOF0)
  cinfo.dct_method = JDCT_ISLOW;             // exact integer DCT: the same bytes everywhere
  cinfo.write_JFIF_header = TRUE;
  cinfo.density_unit = 1;                    // dots per inch
  cinfo.X_density = 96;
  cinfo.Y_density = 96;
  jpeg_start_compress(&cinfo, TRUE);
  const int stride = image.width * 3;
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(image.pixels.data() + static_cast<std::size_t>(cinfo.next_scanline) * stride);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::vector<std::uint8_t> out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

}  // namespace genpicture
