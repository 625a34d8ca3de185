#pragma once
// Small colour arithmetic for drawing pictures as functions of position.
#include "gfx/Pixmap.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace artwork {

struct Rgb {
  float R = 0, G = 0, B = 0;
};

inline Rgb Mix(Rgb a, Rgb b, float t)
{
  t = std::clamp(t, 0.0f, 1.0f);
  return {a.R + (b.R - a.R) * t, a.G + (b.G - a.G) * t, a.B + (b.B - a.B) * t};
}

inline Rgb Scale(Rgb c, float k) { return {c.R * k, c.G * k, c.B * k}; }
inline Rgb Add(Rgb a, Rgb b) { return {a.R + b.R, a.G + b.G, a.B + b.B}; }

// 0 well inside the edge, 1 well outside, a one-pixel-wide soft step between,
// so shapes come out antialiased.
inline float Smooth(float edge, float value, float pixel)
{
  return std::clamp((value - edge) / pixel + 0.5f, 0.0f, 1.0f);
}

inline gfx::TPixel ToPixel(Rgb c)
{
  auto channel = [](float v) { return gfx::TPixel(std::clamp(v, 0.0f, 255.0f) + 0.5f); };
  return (channel(c.R) << 16) | (channel(c.G) << 8) | channel(c.B);
}

// The colour of a point: u from 0 (left) to 1 (right), v from 0 (top) to 1
// (bottom); pixel is the size of one pixel in those units (for soft edges).
using Scene = std::function<Rgb(float u, float v, float pixel)>;

inline gfx::TPixmap Render(int32_t width, int32_t height, const Scene& scene)
{
  gfx::TPixmap pixmap(width, height);
  const float pixel = 1.0f / float(std::max(width, height));
  for (int32_t y = 0; y < height; ++y) {
    gfx::TPixel* row = pixmap.ScanLine(y);
    for (int32_t x = 0; x < width; ++x)
      row[x] = ToPixel(scene((float(x) + 0.5f) / float(width), (float(y) + 0.5f) / float(height), pixel));
  }
  return pixmap;
}

// Deterministic value noise, so the same build gives the same pictures.
float Noise(float x, float y);
float Fractal(float x, float y, int octaves);

} // namespace artwork
