#pragma once
// A photograph-like picture for the decoding benchmarks: smooth light and
// colour fields with fine texture, so the entropy coder and the transforms
// have real work. The same seed gives the same pixels on every platform.
#include "gfx/Pixmap.h"

#include <algorithm>
#include <cstdint>

namespace bench {

inline gfx::TPixmap SamplePhoto(int32_t width, int32_t height)
{
  gfx::TPixmap p(width, height);
  uint32_t seed = 2024;
  for (int32_t y = 0; y < height; ++y) {
    gfx::TPixel* row = p.ScanLine(y);
    for (int32_t x = 0; x < width; ++x) {
      seed = seed * 1664525u + 1013904223u;
      const int noise = int(seed >> 28) - 8;
      const int r = std::clamp(int(int64_t(x) * 255 / width) + noise, 0, 255);
      const int g = std::clamp(int(int64_t(y) * 255 / height) + ((x / 40 + y / 40) % 2) * 30 + noise, 0, 255);
      const int b = std::clamp(128 + int((int64_t(x) * y) >> 14) % 100 - 50 + noise, 0, 255);
      row[x] = gfx::TPixel(b | (g << 8) | (r << 16));
    }
  }
  return p;
}

} // namespace bench
