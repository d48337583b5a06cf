#include "artwork.h"

#include <algorithm>
#include <cmath>

namespace art {

Color rgb(std::uint32_t hex) {
  return {((hex >> 16) & 0xFF) / 255.0f, ((hex >> 8) & 0xFF) / 255.0f, (hex & 0xFF) / 255.0f};
}
Color mix(Color a, Color b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
Color scale(Color c, float k) { return {c.r * k, c.g * k, c.b * k}; }
Color add(Color a, Color b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }

float clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
float smoothstep(float e0, float e1, float x) {
  float t = clamp01((x - e0) / (e1 - e0));
  return t * t * (3 - 2 * t);
}

Canvas::Canvas(int width, int height) : w_(width), h_(height), px_(static_cast<std::size_t>(width) * height) {}

void Canvas::blend(int x, int y, Color c, float alpha) {
  if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
  alpha = clamp01(alpha);
  if (alpha <= 0) return;
  Pixel& p = at(x, y);
  float k = 1 - alpha;
  p.r = c.r * alpha + p.r * k;
  p.g = c.g * alpha + p.g * k;
  p.b = c.b * alpha + p.b * k;
  p.a = alpha + p.a * k;
}

void Canvas::addLight(int x, int y, Color c, float intensity) {
  if (x < 0 || y < 0 || x >= w_ || y >= h_ || intensity <= 0) return;
  Pixel& p = at(x, y);
  p.r += c.r * intensity;
  p.g += c.g * intensity;
  p.b += c.b * intensity;
  p.a = std::min(1.0f, p.a + intensity * std::max({c.r, c.g, c.b}));
}

// 8x8 Bayer matrix, values 0..63.
static const std::uint8_t kBayer[8][8] = {
    {0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26}, {12, 44, 4, 36, 14, 46, 6, 38},
    {60, 28, 52, 20, 62, 30, 54, 22}, {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
    {15, 47, 7, 39, 13, 45, 5, 37},  {63, 31, 55, 23, 61, 29, 53, 21}};

static std::uint8_t quantize(float v, int x, int y) {
  float d = (kBayer[y & 7][x & 7] + 0.5f) / 64.0f - 0.5f;
  float q = std::floor(clamp01(v) * 255.0f + 0.5f + d);
  return static_cast<std::uint8_t>(std::clamp(q, 0.0f, 255.0f));
}

// Soft roll-off of over-bright additive light instead of hard clipping.
static float tone(float v) {
  if (v <= 0.9f) return v;
  float e = v - 0.9f;
  return 0.9f + 0.1f * (1 - std::exp(-e / 0.1f));
}

std::vector<std::uint8_t> Canvas::toRGB8() const {
  std::vector<std::uint8_t> out(static_cast<std::size_t>(w_) * h_ * 3);
  for (int y = 0; y < h_; ++y)
    for (int x = 0; x < w_; ++x) {
      const Pixel& p = at(x, y);
      std::size_t i = (static_cast<std::size_t>(y) * w_ + x) * 3;
      out[i] = quantize(tone(p.r), x, y);
      out[i + 1] = quantize(tone(p.g), x, y);
      out[i + 2] = quantize(tone(p.b), x, y);
    }
  return out;
}

std::vector<std::uint8_t> Canvas::toRGBA8() const {
  std::vector<std::uint8_t> out(static_cast<std::size_t>(w_) * h_ * 4);
  for (int y = 0; y < h_; ++y)
    for (int x = 0; x < w_; ++x) {
      const Pixel& p = at(x, y);
      std::size_t i = (static_cast<std::size_t>(y) * w_ + x) * 4;
      float a = clamp01(p.a);
      std::uint8_t a8 = static_cast<std::uint8_t>(std::floor(a * 255.0f + 0.5f));
      if (a8 == 0) {
        out[i] = out[i + 1] = out[i + 2] = out[i + 3] = 0;
        continue;
      }
      float inv = 1.0f / a;
      // No dithering and no roll-off here: icons are small and should stay crisp and white.
      out[i] = static_cast<std::uint8_t>(std::floor(clamp01(p.r * inv) * 255.0f + 0.5f));
      out[i + 1] = static_cast<std::uint8_t>(std::floor(clamp01(p.g * inv) * 255.0f + 0.5f));
      out[i + 2] = static_cast<std::uint8_t>(std::floor(clamp01(p.b * inv) * 255.0f + 0.5f));
      out[i + 3] = a8;
    }
  return out;
}

float sdRoundBox(float px, float py, float halfW, float halfH, float radius) {
  float qx = std::fabs(px) - (halfW - radius);
  float qy = std::fabs(py) - (halfH - radius);
  float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
  return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - radius;
}

float sdSegment(float px, float py, float ax, float ay, float bx, float by) {
  float pax = px - ax, pay = py - ay, bax = bx - ax, bay = by - ay;
  float h = clamp01((pax * bax + pay * bay) / (bax * bax + bay * bay));
  float dx = pax - bax * h, dy = pay - bay * h;
  return std::sqrt(dx * dx + dy * dy);
}

float sdCircle(float px, float py, float cx, float cy, float r) {
  return std::hypot(px - cx, py - cy) - r;
}

float CurveDistance::distance(float px, float py, float maxDist) const {
  if (xs_.size() < 2) return maxDist;
  auto lo = std::lower_bound(xs_.begin(), xs_.end(), px - maxDist);
  std::size_t i = static_cast<std::size_t>(std::max<std::ptrdiff_t>(0, (lo - xs_.begin()) - 1));
  float best = maxDist;
  for (; i + 1 < xs_.size() && xs_[i] <= px + maxDist; ++i)
    best = std::min(best, sdSegment(px, py, xs_[i], ys_[i], xs_[i + 1], ys_[i + 1]));
  return best;
}

std::uint32_t Rng::next() {
  s_ ^= s_ << 13;
  s_ ^= s_ >> 17;
  s_ ^= s_ << 5;
  return s_;
}

float Rng::uniform(float lo, float hi) { return lo + (hi - lo) * (next() >> 8) * (1.0f / 16777216.0f); }

// ---------------------------------------------------------------------------------------
// The emblem. Unit coordinates: u, v in [-0.5, 0.5], v grows downwards.

namespace {

struct KGeometry {
  float stemX, top, bottom, half;  // stem centre line and stroke half-width
  float armJoinY;                  // where the upper arm leaves the stem
  float armEndX, armEndY;          // upper arm's end (top right)
  float legStartX, legStartY;      // lower leg starts on the upper arm
  float legEndX, legEndY;          // lower leg's end (bottom right)
};

KGeometry kGeometry(int detail) {
  KGeometry k;
  if (detail == 0) {
    // 16 px: stroke exactly 2 px, stem on whole pixels.
    k.stemX = -3.0f / 16;
    k.half = 1.0f / 16;
    k.top = -4.0f / 16;
    k.bottom = 4.0f / 16;
  } else if (detail == 1) {
    k.stemX = -0.17f;
    k.half = 0.062f;
    k.top = -0.245f;
    k.bottom = 0.245f;
  } else {
    // Room for the sound wave below the letter.
    k.stemX = -0.165f;
    k.half = 0.056f;
    k.top = -0.305f;
    k.bottom = 0.175f;
  }
  float mid = (k.top + k.bottom) * 0.5f;
  k.armJoinY = mid + 0.045f;
  k.armEndX = 0.19f;
  k.armEndY = k.top;
  // The lower leg starts on the upper arm's centre line, so its round cap stays hidden.
  const float ax = k.stemX + k.half * 0.5f, ay = k.armJoinY, bx = k.armEndX, by = k.armEndY + k.half;
  const float t = 0.36f;
  k.legStartX = ax + (bx - ax) * t;
  k.legStartY = ay + (by - ay) * t;
  k.legEndX = 0.205f;
  k.legEndY = k.bottom;
  return k;
}

// Distance (unit space) to the K's centre lines, minus the stroke half-width.
float sdK(const KGeometry& k, float u, float v) {
  float d = sdSegment(u, v, k.stemX, k.top + k.half, k.stemX, k.bottom - k.half);
  d = std::min(d, sdSegment(u, v, k.stemX + k.half * 0.5f, k.armJoinY, k.armEndX, k.armEndY + k.half));
  d = std::min(d, sdSegment(u, v, k.legStartX, k.legStartY, k.legEndX, k.legEndY - k.half));
  return d - k.half;
}

// The wave below the K: a damped sine across the square.
float waveY(float u) {
  float env = std::exp(-u * u / (2 * 0.16f * 0.16f));
  return 0.305f + 0.075f * env * std::sin(u * 40.0f + 0.3f);
}

}  // namespace

void drawEmblem(Canvas& canvas, float cx, float cy, float size, const EmblemOptions& o) {
  const float boxHalf = o.detail == 0 ? 0.5f - 0.5f / 16 : 0.47f;
  const float radius = o.detail == 0 ? 0.2f : 0.215f;
  const KGeometry k = kGeometry(o.detail);

  const Color c0 = rgb(0x2BD9C8);  // aqua (top left)
  const Color c1 = rgb(0x1690C8);  // azure
  const Color c2 = rgb(0x2A2E8C);  // indigo (bottom right)
  const Color glow = rgb(0x2FB8D8);
  const Color white = rgb(0xFAFEFF);
  const Color waveColor = rgb(0xBFF6FF);

  const CurveDistance wave(waveY, -0.5f, 0.5f, 0.004f);

  float margin = o.outerGlow ? size * 0.45f : 1.0f;
  int x0 = static_cast<int>(std::floor(cx - size * 0.5f - margin));
  int x1 = static_cast<int>(std::ceil(cx + size * 0.5f + margin));
  int y0 = static_cast<int>(std::floor(cy - size * 0.5f - margin));
  int y1 = static_cast<int>(std::ceil(cy + size * 0.5f + margin));
  x0 = std::max(x0, 0);
  y0 = std::max(y0, 0);
  x1 = std::min(x1, canvas.width());
  y1 = std::min(y1, canvas.height());

  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      float u = (x + 0.5f - cx) / size;
      float v = (y + 0.5f - cy) / size;
      float dBox = sdRoundBox(u, v, boxHalf, boxHalf, radius) * size;  // pixels

      if (o.outerGlow && dBox > -1) {
        float g = 0.55f * std::exp(-std::max(dBox, 0.0f) / (0.09f * size)) +
                  0.25f * std::exp(-std::max(dBox, 0.0f) / (0.25f * size));
        canvas.addLight(x, y, glow, g * 0.55f * (1 - coverage(dBox)));
      }
      float cov = coverage(dBox);
      if (cov <= 0) continue;

      // Body gradient along the diagonal, plus a soft light from the top left.
      float t = clamp01((u * 0.55f + v * 0.95f) / 1.5f + 0.5f);
      Color c = t < 0.5f ? mix(c0, c1, t * 2) : mix(c1, c2, (t - 0.5f) * 2);
      float hl = std::exp(-((u + 0.32f) * (u + 0.32f) + (v + 0.36f) * (v + 0.36f)) / 0.12f);
      c = mix(c, rgb(0xFFFFFF), 0.22f * hl);
      // Darker toward the bottom edge: a hint of depth.
      c = scale(c, 1.0f - 0.18f * smoothstep(0.1f, 0.5f, v));
      canvas.blend(x, y, c, cov);

      if (o.detail >= 1) {
        // Inner rim: light along the top, dark along the bottom.
        float rimW = o.detail >= 2 ? std::max(1.0f, size * 0.012f) : 1.0f;
        float rim = coverage(dBox + rimW) > 0 ? (1 - coverage(dBox + rimW)) * cov : 0.0f;
        float topness = clamp01(0.5f - v * 1.4f);
        canvas.blend(x, y, rgb(0xFFFFFF), rim * 0.35f * topness);
        canvas.blend(x, y, rgb(0x10124A), rim * 0.35f * (1 - topness));
      }

      if (o.detail >= 2) {
        // Sound wave behind the letter.
        float dist = wave.distance(u, v, 0.2f) * size;  // px
        float lineHalf = std::max(0.6f, size * 0.011f);
        float fade = smoothstep(0.44f, 0.30f, std::fabs(u));
        float line = coverage(dist - lineHalf);
        float halo = std::exp(-dist / std::max(1.5f, size * 0.03f));
        canvas.addLight(x, y, glow, 0.35f * halo * fade * cov);
        canvas.blend(x, y, waveColor, 0.85f * line * fade * cov);
      }

      // The K: a soft shadow, then the letter.
      float dK = sdK(k, u, v);
      if (o.detail >= 1) {
        float sdist = sdK(k, u - 0.012f, v - 0.022f) * size;
        float soft = std::max(1.0f, size * 0.03f);
        float shadow = 1 - smoothstep(-soft, soft, sdist);
        canvas.blend(x, y, rgb(0x0A1040), 0.35f * shadow * cov);
      }
      canvas.blend(x, y, white, coverage(dK * size) * cov);
    }
  }
}

}  // namespace art
