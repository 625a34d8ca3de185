#include "Shading.h"

#include <cstdint>

namespace artwork {

namespace {

float Lattice(int32_t x, int32_t y)
{
  uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return float((h ^ (h >> 16)) & 0xFFFF) / 65535.0f;
}

float SmoothStep(float t) { return t * t * (3 - 2 * t); }

} // namespace

float Noise(float x, float y)
{
  const float fx = std::floor(x), fy = std::floor(y);
  const int32_t ix = int32_t(fx), iy = int32_t(fy);
  const float tx = SmoothStep(x - fx), ty = SmoothStep(y - fy);
  const float top = Lattice(ix, iy) + (Lattice(ix + 1, iy) - Lattice(ix, iy)) * tx;
  const float bottom = Lattice(ix, iy + 1) + (Lattice(ix + 1, iy + 1) - Lattice(ix, iy + 1)) * tx;
  return top + (bottom - top) * ty;
}

float Fractal(float x, float y, int octaves)
{
  float sum = 0, amplitude = 0.5f, frequency = 1;
  for (int i = 0; i < octaves; ++i) {
    sum += Noise(x * frequency, y * frequency) * amplitude;
    amplitude *= 0.5f;
    frequency *= 2.03f;
  }
  return sum;
}

} // namespace artwork
