#pragma once
// Generated pictures for trying effects without picture files. Each pattern
// makes every region of the frame recognisable, so that a wrong offset, a
// mirror or a missing strip shows at a glance.
#include "gfx/Pixmap.h"

#include <string>
#include <string_view>
#include <vector>

namespace render {

// The names PatternPixmap knows.
[[nodiscard]] std::vector<std::string> PatternNames();

// A pattern of the given size: "bars" (vertical colour bars over a grey
// ramp), "rings" (concentric rings around the centre), "grid" (a red-green
// coordinate gradient with a blue grid every 16 pixels), "checker" (8-pixel
// squares, warm against cool). Throws std::invalid_argument for another name
// or an empty size.
[[nodiscard]] gfx::TPixmap PatternPixmap(std::string_view name, int32_t width, int32_t height);

} // namespace render
