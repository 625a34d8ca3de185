#pragma once
#include "gfx/Pixmap.h"

#include <string>
#include <vector>

namespace skinart {

// One bitmap of the stored skin: its name in the package, the colour depth it
// is stored with, and its pixels.
struct TSkinBitmap {
  std::string Name;
  int32_t BitsPerPixel = 24;
  gfx::TPixmap Pixels;
};

// The skin's bitmaps, in the order the package lists them.
[[nodiscard]] std::vector<TSkinBitmap> DrawSkinBitmaps();

// The skin description, and the name it is stored under (last in the list).
[[nodiscard]] std::string SkinDescription();
inline constexpr const char* kDescriptionName = "tarsel-tarsel.ini";

} // namespace skinart
