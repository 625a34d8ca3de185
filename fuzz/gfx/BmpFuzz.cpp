// Feeds arbitrary bytes to the BMP decoder. Anything it accepts must survive
// a 32-bit round trip through the encoder unchanged.
#include "fuzz/gfx/BmpFuzzLimit.h"
#include "gfx/codecs/Bmp.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (fuzzlimit::BmpTooLarge({data, size}))
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
