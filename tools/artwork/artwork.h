// Small raster toolkit for the artwork generators (genpicture, genicon): a float RGBA canvas
// with premultiplied alpha, signed-distance shapes with analytic anti-aliasing, and the
// Kalvetra emblem shared by the installer picture and the application icon.
// Everything is deterministic: no clocks, no global random state.
#pragma once

#include <cstdint>
#include <vector>

namespace art {

struct Color {
  float r = 0, g = 0, b = 0;
};

Color rgb(std::uint32_t hex);  // 0xRRGGBB
Color mix(Color a, Color b, float t);
Color scale(Color c, float k);
Color add(Color a, Color b);

float clamp01(float v);
float smoothstep(float e0, float e1, float x);

// Premultiplied RGBA, rows top-down, values nominally in [0, 1].
struct Pixel {
  float r = 0, g = 0, b = 0, a = 0;
};

class Canvas {
 public:
  Canvas(int width, int height);
  int width() const { return w_; }
  int height() const { return h_; }
  Pixel& at(int x, int y) { return px_[static_cast<std::size_t>(y) * w_ + x]; }
  const Pixel& at(int x, int y) const { return px_[static_cast<std::size_t>(y) * w_ + x]; }

  // Source-over with a straight colour and a coverage/alpha value.
  void blend(int x, int y, Color c, float alpha);
  // Additive light (premultiplied add, also raises alpha).
  void addLight(int x, int y, Color c, float intensity);

  // 8-bit output with ordered dithering (deterministic). RGB drops alpha (composited on
  // black, which is what an opaque canvas already is).
  std::vector<std::uint8_t> toRGB8() const;
  // Straight (non-premultiplied) RGBA, 8 bits per channel.
  std::vector<std::uint8_t> toRGBA8() const;

 private:
  int w_, h_;
  std::vector<Pixel> px_;
};

// Signed distances (negative inside), in the units of the arguments.
float sdRoundBox(float px, float py, float halfW, float halfH, float radius);
float sdSegment(float px, float py, float ax, float ay, float bx, float by);  // distance to the segment
float sdCircle(float px, float py, float cx, float cy, float r);
// Coverage of a pixel by a shape whose signed distance (in pixels) is d.
inline float coverage(float dPixels) { return clamp01(0.5f - dPixels); }

// The graph of a function y = f(x) as a polyline sampled at increasing x, with the true
// distance from a point to it (only segments within `maxDist` in x are looked at).
class CurveDistance {
 public:
  template <typename F>
  CurveDistance(F f, float x0, float x1, float step) {
    for (float x = x0; x <= x1 + step * 0.5f; x += step) {
      xs_.push_back(x);
      ys_.push_back(f(x));
    }
  }
  // Returns the distance, or maxDist when the curve is farther than that.
  float distance(float px, float py, float maxDist) const;

 private:
  std::vector<float> xs_, ys_;
};

// Deterministic pseudo-random numbers (xorshift), fixed seed by the caller.
class Rng {
 public:
  explicit Rng(std::uint32_t seed) : s_(seed ? seed : 0x9E3779B9u) {}
  std::uint32_t next();
  float uniform(float lo, float hi);  // [lo, hi)
 private:
  std::uint32_t s_;
};

// The emblem: a rounded square with a teal-to-indigo gradient and a white "K" whose lower
// leg turns into a sound wave. `detail` drops fine elements at small sizes:
// 0 = 16 px (shape + K only), 1 = 32 px, 2 = 48 px and larger (wave, glows, rim).
struct EmblemOptions {
  int detail = 2;
  bool outerGlow = false;  // soft halo around the square (for the picture's dark background)
};

// Draws the emblem centred at (cx, cy), `size` pixels wide and high.
void drawEmblem(Canvas& canvas, float cx, float cy, float size, const EmblemOptions& options);

}  // namespace art
