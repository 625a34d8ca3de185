#pragma once
#include "tools/skinart/SkinArt.h"

#include <string>
#include <vector>

namespace skinart {

// The probe skin's bitmaps: the stored ones with every frame painted in its
// own flat colour (tools/skinart/ProbeColours.h), magenta kept wherever the
// stored bitmap has it. Throws when the colour table and the stored skin
// disagree about names or frame layouts.
[[nodiscard]] std::vector<TSkinBitmap> ProbeBitmaps(const std::vector<TSkinBitmap>& stored);

// The stored description with the probe skin's name.
[[nodiscard]] std::string ProbeDescription(const std::string& stored);

} // namespace skinart
