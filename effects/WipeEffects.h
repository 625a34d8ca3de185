#pragma once
// The wipe, stretch, slide, zoom, roll, build-up, push and slide-out effects:
// the ones that move, scale or uncover rectangles with a few block transfers.
#include "effects/EffectTable.h"

#include <cstdint>
#include <vector>

namespace framework {
class TBitmap;
}

namespace effects {

// Whether the style is drawn by this family.
[[nodiscard]] bool IsWipeStyle(TShowStyle Style) noexcept;

// Draws one frame of a style of this family (the arguments are those of
// TEffectFunction). Throws std::invalid_argument for a style of another family.
void DrawWipeEffect(TShowStyle Style, framework::TBitmap& Screen, framework::TBitmap& Picture, int32_t W,
                    int32_t H, int32_t X, int32_t Y, int32_t Progress);

// The frame of a style of this family over the old image, in one pass where
// the style is a fixed list of transfers (see TComposeFunction).
void ComposeWipeEffect(TShowStyle Style, framework::TBitmap& Screen, framework::TBitmap& OldImage,
                       framework::TBitmap& Picture, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t Progress);

// The roll's cylinder shading: adds an offset to the red, green and blue of
// every pixel of Count columns from First (rows from First), darkest (-Amount)
// at the edges of the band and near 0 in its middle. Columns or rows outside
// the bitmap are skipped.
void ShadeColumns(framework::TBitmap& Screen, int32_t First, int32_t Count, int32_t Amount);
void ShadeRows(framework::TBitmap& Screen, int32_t First, int32_t Count, int32_t Amount);

// The offsets of the two shadings, band position 0 first: for columns the
// leftmost column, for rows the bottom row (the band is walked upward).
// Empty when the band is shaded not at all (Count < 2 or Amount 0).
[[nodiscard]] std::vector<int32_t> ShadeColumnOffsets(int32_t Count, int32_t Amount);
[[nodiscard]] std::vector<int32_t> ShadeRowOffsets(int32_t Count, int32_t Amount);

} // namespace effects
