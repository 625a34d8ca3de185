#pragma once
// Painting a skinned scroll bar: arrows and thumb grips from the skin's
// "Scrollbar" strip, the track and the thumb from their own elements, all
// composed off screen and put on the target in one transfer, so the bar never
// shows half drawn. The overlays and the drop-down list's bar share it.
#include <windows.h>

#include "gfx/Geometry.h"
#include "skin/controls/ScrollBarGeometry.h"

namespace skin {

class TSkinData;

// Whether the skin can paint bars at all: without an arrow strip the
// system's own bars stay in sight.
[[nodiscard]] bool SkinPaintsScrollBars(const TSkinData& data);

// The height of one frame of the arrow strip (0 without one).
[[nodiscard]] int32_t ArrowStripHeight(const TSkinData& data);

// Paints the bar look describes onto dc, at its own size from target's
// top-left or, with stretch, scaled over target. Answers false when nothing
// was painted (no arrow strip, an empty bar, no memory for the bitmap).
bool PaintScrollBar(HDC dc, const gfx::TRect& target, const TSkinData& data, const TBarLook& look, bool stretch);

} // namespace skin
