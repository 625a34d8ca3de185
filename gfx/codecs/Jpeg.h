#pragma once
#include "gfx/Pixmap.h"
#include "gfx/codecs/Bmp.h" // TCodecError

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace gfx {

// What a JPEG file's header says about it, read without decoding the pixels.
struct TJpegInfo {
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t Components = 0; // 1 grey, 3 colour, 4 CMYK or YCCK
  bool Progressive = false;
};

[[nodiscard]] TJpegInfo ReadJpegInfo(std::span<const uint8_t> data);

// Decodes a baseline or progressive JPEG, grey or colour (CMYK and YCCK are
// converted to RGB), into 32-bit pixels whose fourth byte is 0. Bad, truncated
// or oversized data raises TCodecError; the decoder never jumps across C++
// frames.
[[nodiscard]] TPixmap DecodeJpeg(std::span<const uint8_t> data);

// The same, into pixels the caller provides: once the header is read and the
// size checked, target(width, height) is called and must answer pixels of
// exactly that size (a bitmap's own memory, so nothing is copied afterwards).
void DecodeJpegInto(std::span<const uint8_t> data, const std::function<TPixmap&(int32_t, int32_t)>& target);

struct TJpegOptions {
  int Quality = 90;          // 1..100
  bool Progressive = false;  // several scans, coarse to fine
  bool Grayscale = false;    // one component
};

// Encodes the pixels (the fourth byte is ignored) as a JFIF file.
[[nodiscard]] std::vector<uint8_t> EncodeJpeg(const TPixmap& pixels, const TJpegOptions& options = {});

} // namespace gfx
