#pragma once
#include "gfx/Pixmap.h"

#include <cstdint>
#include <vector>

namespace artwork {

// An icon file with one 32-bit image per pixmap (largest first is fine). The
// fourth byte of each pixel is its opacity; fully transparent pixels are also
// set in the AND mask, so programs that ignore opacity still see the shape.
std::vector<uint8_t> EncodeIcon(const std::vector<const gfx::TPixmap*>& images);

} // namespace artwork
