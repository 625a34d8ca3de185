// Feeds arbitrary bytes to the EXIF reader as an APP1 segment: it must answer
// one of the eight orientations without reading outside the bytes, and the
// answer must turn a small picture into one of the expected size.
#include "gfx/codecs/Exif.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  const gfx::TOrientation o = gfx::ReadExifOrientation({data, size});
  if (int(o) < 1 || int(o) > 8)
    __builtin_trap();
  gfx::TPixmap picture(3, 2);
  const gfx::TPixmap turned = gfx::Orient(picture, o);
  if (turned.Width() != (gfx::SwapsSides(o) ? 2 : 3))
    __builtin_trap();
  return 0;
}
