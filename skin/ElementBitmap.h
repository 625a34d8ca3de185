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
// when the key names no bitmap, the package has no such file, or the file is
// not a readable bitmap (a damaged picture leaves the element without an image
// rather than failing the whole skin).
[[nodiscard]] gfx::TPixmap LoadElementBitmap(const TSkinReader& reader, std::string_view value);

} // namespace skin
