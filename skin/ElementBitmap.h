#pragma once
#include "gfx/Pixmap.h"

#include <optional>
#include <string>
#include <string_view>

namespace skin {

class TSkinReader;

// The package member an image key names: the file-name part of the value (any
// folder part is dropped), provided its extension is exactly ".bmp" in lower
// case. Anything else names no bitmap.
[[nodiscard]] std::optional<std::string> ElementFileName(std::string_view value);

// The bitmap an image key names, decoded from the package; an empty pixmap
// when the key names no bitmap or the package has no such file. A file that is
// there but is not a readable bitmap throws ESkinPackage: the package is
// damaged, and a skin with a hole in it is not loaded at all.
[[nodiscard]] gfx::TPixmap LoadElementBitmap(const TSkinReader& reader, std::string_view value);

} // namespace skin
