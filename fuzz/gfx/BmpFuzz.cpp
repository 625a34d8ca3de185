// Feeds arbitrary bytes to the BMP decoder. Anything it accepts must survive
// a 32-bit round trip through the encoder unchanged.
#include "gfx/codecs/Bmp.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

// Pictures above this many pixels are valid but only slow the search down.
constexpr int64_t kMaxFuzzPixels = int64_t(1) << 22;

bool TooLarge(const uint8_t* data, size_t size)
{
  if (size < 26)
    return false;
  uint32_t header = 0;
  std::memcpy(&header, data + 14, 4);
  int64_t w = 0, h = 0;
  if (header == 12) {
    w = data[18] | (data[19] << 8);
    h = data[20] | (data[21] << 8);
  } else {
    int32_t w32 = 0, h32 = 0;
    std::memcpy(&w32, data + 18, 4);
    std::memcpy(&h32, data + 22, 4);
    w = w32;
    h = h32 < 0 ? -int64_t(h32) : h32;
  }
  return w * h > kMaxFuzzPixels;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (TooLarge(data, size))
    return 0;
  gfx::TBmpImage image;
  try {
    image = gfx::DecodeBmpImage({data, size});
  } catch (const gfx::TCodecError&) {
    return 0;
  }
  if (image.DataEnd > size)
    __builtin_trap();
  const std::vector<uint8_t> again = gfx::EncodeBmp(image.Pixels, 32);
  const gfx::TPixmap back = gfx::DecodeBmp(again);
  if (back.Width() != image.Pixels.Width() || back.Height() != image.Pixels.Height() ||
      std::memcmp(back.Bits(), image.Pixels.Bits(),
                  size_t(back.Width()) * size_t(back.Height()) * sizeof(gfx::TPixel)) != 0)
    __builtin_trap();
  return 0;
}
