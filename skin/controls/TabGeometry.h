#pragma once
// Where a skinned tab strip draws: the side its tabs stand on, the page and
// strip rectangles, a tab moved into the work bitmap that is drawn lying
// down and turned for tabs on the left or right, and where a tab's image and
// text start. No platform header, so the rules are tested natively.
#include "gfx/Geometry.h"

#include <cstdint>

namespace skin {

enum TTabSide : uint8_t { tsideTop, tsideBottom, tsideLeft, tsideRight };

// The side from a tab window's style (vertical 0x80, bottom or right 2).
[[nodiscard]] TTabSide TabSideOfStyle(uint32_t style);

// The page rectangle from the display area the window reports: inflated by 4
// and moved a pixel on the tabs' side.
[[nodiscard]] gfx::TRect TabPageRect(const gfx::TRect& displayArea, TTabSide side);

// The strip: the window between its edge on the tabs' side and the page.
[[nodiscard]] gfx::TRect TabStripRect(const gfx::TRect& window, const gfx::TRect& page, TTabSide side);

// The work bitmap's size for a strip: laid horizontally, so tabs on the left
// or right give a bitmap as wide as the strip is high.
[[nodiscard]] gfx::TPoint TabWorkSize(const gfx::TRect& strip, TTabSide side);

// A tab's rectangle (window coordinates) in the work bitmap. stripLength is
// the strip's height for side tabs; windowRight the window's right edge;
// pageBottom the page rectangle's bottom.
[[nodiscard]] gfx::TRect TabInWork(const gfx::TRect& tab, TTabSide side, int32_t stripLength, int32_t windowRight,
                                   int32_t pageBottom);

// The x where a tab's (or header section's) image and text start, for an
// alignment of 0 left, 1 centre, 2 right.
[[nodiscard]] int32_t TabLabelStart(int32_t alignment, int32_t width, int32_t textWidth, int32_t imageWidth);

// A page control's close box on a tab: the square from (right - 8, top + 2)
// to (right - 2, top + 8).
[[nodiscard]] gfx::TRect TabCloseBox(const gfx::TRect& tab);

} // namespace skin
