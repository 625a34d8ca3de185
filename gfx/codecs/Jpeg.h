#pragma once
#include "gfx/Geometry.h"
#include "gfx/Orientation.h"
#include "gfx/Pixmap.h"
#include "gfx/codecs/Bmp.h" // TCodecError

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace gfx {

// What a JPEG file's header says about it, read without decoding the pixels.
// Width and Height are those of the picture as shown, after the orientation
// its EXIF block names (Normal when there is none or it is damaged).
struct TJpegInfo {
  int32_t Width = 0;
  int32_t Height = 0;
  TOrientation Orientation = TOrientation::Normal;
  int32_t Components = 0; // 1 grey, 3 colour, 4 CMYK or YCCK
  bool Progressive = false;
};

[[nodiscard]] TJpegInfo ReadJpegInfo(std::span<const uint8_t> data);

// Decodes a baseline or progressive JPEG, grey or colour (CMYK and YCCK are
// converted to RGB), into 32-bit pixels whose fourth byte is 0, turned and
// mirrored upright as the orientation tag of its EXIF block says. Bad, truncated
// or oversized data raises TCodecError; the decoder never jumps across C++
// frames.
[[nodiscard]] TPixmap DecodeJpeg(std::span<const uint8_t> data);

// The same, into pixels the caller provides: once the header is read and the
// size checked, target(width, height) is called with the oriented size and
// must answer pixels of exactly that size (a bitmap's own memory: a picture
// stored upright is decoded straight into it, a turned one through a copy).
// The pixels need not be cleared: every one of them is written.
//
// reduction 2, 4 or 8 decodes the picture at that fraction of each side
// (rounded up), which the decoder does in a fraction of the time; any other
// value decodes it whole.
void DecodeJpegInto(std::span<const uint8_t> data, const std::function<TPixmap&(int32_t, int32_t)>& target,
                    int reduction = 1);

// The strongest reduction the decoder offers (1, 2, 4 or 8) whose result still
// covers shownAtMost in both directions, for a picture of the given size; both
// sizes are upright, as the picture is shown. A picture shown at its full size
// or larger gets 1; an empty limit (nothing shown) gets 8.
[[nodiscard]] int JpegReductionFor(TSize picture, TSize shownAtMost);

struct TJpegOptions {
  int Quality = 90;          // 1..100
  bool Progressive = false;  // several scans, coarse to fine
  bool Grayscale = false;    // one component
  // Other than Normal: an EXIF block with this orientation tag is written, and
  // readers turn the stored pixels accordingly to show them.
  TOrientation Orientation = TOrientation::Normal;
};

// Encodes the pixels (the fourth byte is ignored) as a JFIF file.
[[nodiscard]] std::vector<uint8_t> EncodeJpeg(const TPixmap& pixels, const TJpegOptions& options = {});

} // namespace gfx
