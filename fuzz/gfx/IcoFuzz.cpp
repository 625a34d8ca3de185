// Feeds arbitrary bytes to the icon reader and composes every image it
// accepts, at natural size and scaled.
#include "gfx/codecs/Ico.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  try {
    const auto entries = gfx::ReadIconDirectory({data, size});
    (void)gfx::SelectIconEntry(entries, 32, 32, 32);
    for (const gfx::TIconEntry& entry : entries) {
      if (int64_t(entry.Width) * entry.Height > (int64_t(1) << 20))
        continue;
      try {
        const gfx::TIconImage image = gfx::DecodeIconImage({data, size}, entry);
        if (image.Mask.size() != size_t(image.Pixels.Width()) * size_t(image.Pixels.Height()))
          __builtin_trap();
        gfx::TPixmap dest(17, 9);
        gfx::ComposeIconImage(image, dest);
        gfx::ComposeIconImage(image, dest, 40, 40, -3, 7);
      } catch (const gfx::TCodecError&) {
      }
    }
  } catch (const gfx::TCodecError&) {
  }
  return 0;
}
