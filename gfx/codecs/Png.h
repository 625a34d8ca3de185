#pragma once
#include "gfx/Color.h"
#include "gfx/Pixmap.h"
#include "gfx/codecs/Bmp.h" // TCodecError

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace gfx {

// What a PNG file's header says about it, read without decoding the pixels.
struct TPngInfo {
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t BitDepth = 0;     // 1, 2, 4, 8 or 16 bits per sample
  bool Palette = false;     // colours come from a palette
  bool Colour = false;      // red, green and blue rather than grey
  bool Transparent = false; // an alpha channel or a transparency chunk
  bool Interlaced = false;
};

[[nodiscard]] TPngInfo ReadPngInfo(std::span<const uint8_t> data);

// Decodes a PNG of any colour type and depth, interlaced or not, into 32-bit
// pixels whose fourth byte is 0. Sixteen-bit samples are rounded to eight.
// Where the picture is transparent (an alpha channel, or a transparency
// chunk's colours), it is composed over background, a 0x00RRGGBB pixel value.
// Bad, truncated or oversized data raises TCodecError; the decoder never jumps
// across C++ frames.
[[nodiscard]] TPixmap DecodePng(std::span<const uint8_t> data, TPixel background);

// The same, into pixels the caller provides: once the header is read and the
// size checked, target(width, height) is called and must answer pixels of
// exactly that size (a bitmap's own memory). They need not be cleared: every
// pixel is written.
void DecodePngInto(std::span<const uint8_t> data, TPixel background,
                   const std::function<TPixmap&(int32_t, int32_t)>& target);

// Encodes the pixels as an 8-bit RGB file, or RGBA when alpha is given: one
// byte per pixel, row by row from the top, 255 opaque.
[[nodiscard]] std::vector<uint8_t> EncodePng(const TPixmap& pixels, std::span<const uint8_t> alpha = {});

} // namespace gfx
