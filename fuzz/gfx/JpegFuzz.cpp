// Feeds arbitrary bytes to the JPEG decoder, whole and at a reduced size: bad
// data must end in TCodecError, never in a crash, a hang or a jump across C++
// frames.
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
    // The reduced decodes take other paths through the library.
    const int reduction = 2 << (size % 3);
    gfx::TPixmap reduced;
    gfx::DecodeJpegInto(
      {data, size},
      [&reduced](int32_t w, int32_t h) -> gfx::TPixmap& { return reduced = gfx::TPixmap::ForOverwrite(w, h); },
      reduction);
    if (reduced.Width() != (info.Width + reduction - 1) / reduction ||
        reduced.Height() != (info.Height + reduction - 1) / reduction)
      __builtin_trap();
  } catch (const gfx::TCodecError&) {
  }
  return 0;
}
