#pragma once
#include "gfx/Pixmap.h"

#include <cstdint>

namespace gfx {

// How a picture's stored pixels are turned to be shown upright, numbered as
// cameras tag their pictures: each value names the flip or turn that the
// stored picture needs.
enum class TOrientation : uint8_t {
  Normal = 1,      // as stored
  MirrorX = 2,     // mirrored left to right
  Rotate180 = 3,   // half a turn
  MirrorY = 4,     // mirrored top to bottom
  Transpose = 5,   // mirrored about the diagonal from the top left
  Rotate90 = 6,    // a quarter turn clockwise
  Transverse = 7,  // mirrored about the diagonal from the top right
  Rotate270 = 8,   // a quarter turn counter-clockwise
};

// The orientation a tag's value names; anything outside 1..8 is Normal.
[[nodiscard]] TOrientation OrientationFromTag(int value) noexcept;

// True for 5..8, whose result is as wide as the source is high.
[[nodiscard]] bool SwapsSides(TOrientation orientation) noexcept;

// Writes src, turned and mirrored as orientation says, into dst, which must be
// of the oriented size (sides swapped for 5..8) and must not share src's
// pixels. Throws std::invalid_argument when dst's size does not fit.
void OrientInto(const TPixmap& src, TOrientation orientation, TPixmap& dst);

// The oriented copy of src.
[[nodiscard]] TPixmap Orient(const TPixmap& src, TOrientation orientation);

} // namespace gfx
