#pragma once
#include "gfx/Pixmap.h"

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace gfx {

// Every codec reports bad or unsupported data with this exception; its text
// says what was wrong in words a user can read.
class TCodecError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// A decoded Windows bitmap file and the colour depth it was stored with, which
// callers need when they write the picture back in the same depth.
struct TBmpImage {
  TPixmap Pixels;
  int32_t BitsPerPixel = 0;
  // Offset, in the bytes handed to the decoder, just past the pixel data;
  // icons keep their transparency mask there.
  size_t DataEnd = 0;
};

// Reads a Windows BMP file (the file header and everything after it): the OS/2
// core header and the later info headers; 1, 4, 8, 16, 24 and 32 bits per
// pixel; bottom-up and top-down rows; uncompressed, bit-field and RLE4/RLE8
// data. Throws TCodecError on bad or truncated data and for sizes beyond
// TPixmap::CheckSize, before anything large is allocated.
[[nodiscard]] TBmpImage DecodeBmpImage(std::span<const uint8_t> data);
[[nodiscard]] TPixmap DecodeBmp(std::span<const uint8_t> data);

// Reads the device-independent bitmap that follows a file header (an info
// header, a colour table and the pixels), as icons and clipboard data store it.
// heightScale is 2 for icon images, whose header counts the mask rows too.
[[nodiscard]] TBmpImage DecodeDib(std::span<const uint8_t> dib, int32_t heightScale = 1);

// Writes a bottom-up uncompressed BMP file with a 40-byte info header.
// bitsPerPixel 8 builds a palette from the picture's colours (TCodecError when
// there are more than 256); 24 and 32 store the pixels directly. Any other
// depth is refused with TCodecError.
[[nodiscard]] std::vector<uint8_t> EncodeBmp(const TPixmap& pixels, int bitsPerPixel);

} // namespace gfx
