#pragma once
// The bar, shred, blind and square effects: the new picture shows through a
// set of axis-aligned rectangles built for each frame. Three pattern
// procedures make the rectangles of most of them (interleaved bars, shreds
// with jittered ends, a solid edge with a speckled fringe); the rest build
// their own grids and slats.
#include "effects/EffectTable.h"
#include "effects/ShapeRecipe.h"
#include "gfx/Region.h"

#include <cstdint>
#include <optional>

namespace framework {
class TBitmap;
}

namespace effects {

// The pattern procedures. XLen is the length that row strips reach, YLen that
// of column strips; RowKind and ColumnKind pick the pattern of each
// orientation (0: none). Empty when no rectangle was added.
//
// Bars are Min(W, H) div 50 + 1 thick. Kinds 1 and 2 sweep the even bars in
// from the right (bottom) or left (top) while XLen <= W and then the odd
// bars; 4 and 5 sweep even bars from one side and odd bars from the other;
// 3 sweeps even bars from the right (bottom) and odd bars from the left (top)
// at once.
[[nodiscard]] std::optional<gfx::TRegion> BarRegion(int32_t XLen, int32_t YLen, int32_t W, int32_t H,
                                                    int32_t RowKind, int32_t ColumnKind);
// Shreds are Min(W, H) div 200 + 1 thick, each end jittered by up to a tenth
// of the frame with the process-wide generator (not reseeded, so the ends
// change from frame to frame). Kind 1 grows from the right (bottom), 2 from
// the left (top), 3 out from the middle, others in from both edges.
[[nodiscard]] std::optional<gfx::TRegion> ShredRegion(int32_t XLen, int32_t YLen, int32_t W, int32_t H,
                                                      int32_t RowKind, int32_t ColumnKind);
// A solid part XLen (YLen) long and a fringe of square cells ahead of it that
// thins out with distance, drawn from the process-wide generator. Kind 1
// grows from the right (bottom), any other kind from the left (top).
[[nodiscard]] std::optional<gfx::TRegion> SpeckleRegion(int32_t XLen, int32_t YLen, int32_t W, int32_t H,
                                                        int32_t RowKind, int32_t ColumnKind);

// The region style shows for one frame, for every style of this family
// (bars, criss-cross, uneven shreds, speckles, random squares, blinds,
// rectangular shred, rectangles). handle is the new picture's handle, which
// seeds the random squares. Empty when nothing is to be revealed; an unknown
// style gives nothing too.
[[nodiscard]] std::optional<gfx::TRegion> BarFamilyRegion(TShowStyle style, int32_t W, int32_t H, int32_t X,
                                                          int32_t Y, int32_t Progress, uint32_t handle);

// The same region as the calls that make it (see ShapeRecipe.h): one
// rectangle list, or two intersected for style 99. Empty for an unknown style
// and for frames without pixels.
[[nodiscard]] TShapeRecipe BarFamilyRecipe(TShowStyle style, int32_t W, int32_t H, int32_t X, int32_t Y,
                                           int32_t Progress, uint32_t handle);

// Reveals the new picture through BarFamilyRegion.
void DrawBarFamily(TShowStyle style, framework::TBitmap& Screen, framework::TBitmap& Picture, int32_t W, int32_t H,
                   int32_t X, int32_t Y, int32_t Progress);

// The frame of style over the old image in one pass (see TComposeFunction).
void ComposeBarFamily(TShowStyle style, framework::TBitmap& Screen, framework::TBitmap& OldImage,
                     framework::TBitmap& Picture, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t Progress);

} // namespace effects
