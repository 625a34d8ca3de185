#pragma once
// Pixel-for-pixel comparison of two pictures, shared by the pixel layer's suites.
#include "gfx/Pixmap.h"

namespace gfx::test {

// Same size and every pixel equal.
inline bool SamePixels(const TPixmap& a, const TPixmap& b)
{
  if (a.Width() != b.Width() || a.Height() != b.Height())
    return false;
  for (int32_t y = 0; y < a.Height(); ++y)
    for (int32_t x = 0; x < a.Width(); ++x)
      if (a.At(x, y) != b.At(x, y))
        return false;
  return true;
}

} // namespace gfx::test
