#pragma once
#include "gfx/Orientation.h"

#include <cstdint>
#include <span>
#include <vector>

namespace gfx {

// The orientation tag of a camera's EXIF block, given the bytes of the JPEG
// APP1 segment after its length: "Exif", two zero bytes, then a TIFF header
// (byte order, 42, the offset of the first directory) and that directory.
// Only the first directory is read and only its orientation entry is used;
// every offset and count is checked against the block's length first. A block
// that is missing, damaged, truncated or lying in any way answers Normal.
[[nodiscard]] TOrientation ReadExifOrientation(std::span<const uint8_t> segment) noexcept;

// The smallest EXIF block that carries an orientation tag, as ReadExifOrientation
// reads it: the APP1 segment's contents, in little-endian ("II") or big-endian
// ("MM") byte order.
[[nodiscard]] std::vector<uint8_t> MakeExifOrientationBlock(TOrientation orientation, bool bigEndian = false);

} // namespace gfx
