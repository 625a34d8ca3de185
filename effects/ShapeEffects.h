#pragma once
// The curved, polygonal, rotating and sweeping reveals: the new picture shows
// through one shape per frame - a rounded or elliptic front, triangles and
// fans, diamonds, a zigzag band, a turning rectangle or star, a clock-hand
// sector, or a grid of growing triangles, circles or diamonds.
#include "effects/EffectTable.h"
#include "effects/ShapeRecipe.h"
#include "gfx/Geometry.h"
#include "gfx/Region.h"

#include <array>
#include <cstdint>
#include <optional>

namespace framework {
class TBitmap;
}

namespace effects {

// The region style shows for one frame, for every style of this family.
// handle is the new picture's handle: its parity decides which way the
// rotating shapes turn. Empty when nothing is to be revealed (an unknown
// style, or a shred grid without cells).
[[nodiscard]] std::optional<gfx::TRegion> ShapeRegion(TShowStyle style, int32_t W, int32_t H, int32_t X, int32_t Y,
                                                      int32_t Progress, uint32_t handle);

// The same region as the calls that make it (see ShapeRecipe.h). Empty for
// an unknown style.
[[nodiscard]] TShapeRecipe ShapeRecipe(TShowStyle style, int32_t W, int32_t H, int32_t X, int32_t Y,
                                       int32_t Progress, uint32_t handle);

// The 24 corners of the zigzag band of styles 162 (horizontal) and 163
// (vertical): twelve along one edge, then twelve back along the other.
[[nodiscard]] std::array<gfx::TPoint, 24> ZigzagPoints(bool vertical, int32_t W, int32_t H, int32_t X, int32_t Y,
                                                       int32_t Progress);

// Reveals the new picture through ShapeRegion.
void DrawShapeFamily(TShowStyle style, framework::TBitmap& Screen, framework::TBitmap& Picture, int32_t W,
                     int32_t H, int32_t X, int32_t Y, int32_t Progress);

// The frame of style over the old image in one pass (see TComposeFunction).
void ComposeShapeFamily(TShowStyle style, framework::TBitmap& Screen, framework::TBitmap& OldImage,
                     framework::TBitmap& Picture, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t Progress);

} // namespace effects
