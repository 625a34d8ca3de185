// Feeds arbitrary bytes to the PNG decoder: bad data must end in TCodecError,
// never in a crash, a hang or a jump across C++ frames. The background is taken
// from the input, so composing sees every colour.
#include "gfx/codecs/Png.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  try {
    const gfx::TPngInfo info = gfx::ReadPngInfo({data, size});
    // Valid but huge pictures only slow the search down.
    if (int64_t(info.Width) * info.Height > (int64_t(1) << 22))
      return 0;
    const gfx::TPixel background = size >= 3 ? gfx::TPixel(data[size - 1] | data[size - 2] << 8 | data[size - 3] << 16) : 0;
    const gfx::TPixmap pixels = gfx::DecodePng({data, size}, background);
    if (pixels.Width() != info.Width || pixels.Height() != info.Height)
      __builtin_trap();
    // Every pixel is written, and its fourth byte is cleared.
    for (int32_t y = 0; y < pixels.Height(); ++y)
      for (int32_t x = 0; x < pixels.Width(); ++x)
        if (pixels.At(x, y) >> 24 != 0)
          __builtin_trap();
  } catch (const gfx::TCodecError&) {
  }
  return 0;
}
