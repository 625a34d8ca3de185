// Feeds arbitrary bytes to the JPEG decoder: bad data must end in TCodecError,
// never in a crash, a hang or a jump across C++ frames.
#include "gfx/codecs/Jpeg.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  try {
    const gfx::TJpegInfo info = gfx::ReadJpegInfo({data, size});
    // Valid but huge pictures only slow the search down.
    if (int64_t(info.Width) * info.Height > (int64_t(1) << 22))
      return 0;
    const gfx::TPixmap pixels = gfx::DecodeJpeg({data, size});
    if (pixels.Width() != info.Width || pixels.Height() != info.Height)
      __builtin_trap();
  } catch (const gfx::TCodecError&) {
  }
  return 0;
}
