#pragma once
// The drawing every skinned surface shares: one frame of a bitmap strip scaled
// to any size by nine parts (fixed corners, stretched edges, a stretched or
// tiled centre), and put on a context opaque or with magenta transparent.
// The operations take plain values, not element objects, so the skin data
// model can use them to build its derived images.
#include "framework/Bitmap.h"
#include "gfx/Color.h"
#include "gfx/DrawContext.h"
#include "gfx/Geometry.h"

#include <cstdint>
#include <memory>

namespace skin {

// The fixed margins of a frame, in pixels.
struct TElementMargins {
  int32_t LeftWidth = 0;
  int32_t TopHeight = 0;
  int32_t RightWidth = 0;
  int32_t BottomHeight = 0;
};

// Where frame k (1-based) of a strip of n frames lies: side by side
// (stacked = false) or one above the other. A count below 1 counts as 1: a
// description that gives no frame count must not divide by zero.
[[nodiscard]] gfx::TRect StripFrameRect(int32_t imageWidth, int32_t imageHeight, bool stacked, int32_t n,
                                        int32_t k);

// A new bitmap of width x height holding frame k of image scaled by nine
// parts. Margins that do not fit the target (left + right wider than it, or
// top + bottom taller) are dropped in that direction. Corners keep their size;
// edges are always stretched; the centre is tiled from the top-left when tile
// is true, else stretched.
[[nodiscard]] std::unique_ptr<framework::TBitmap> ElementImage(int32_t width, int32_t height,
                                                               const framework::TBitmap& image,
                                                               const TElementMargins& margins, bool stacked,
                                                               bool tile, int32_t n, int32_t k);

// Builds the element image for rect and puts it at rect's top-left, with
// magenta left out when transparent, else copied. An inverted rect draws
// nothing.
void ElementDraw(gfx::TDrawContext& dc, const gfx::TRect& rect, const framework::TBitmap& image, bool stacked,
                 bool tile, bool transparent, int32_t n, int32_t k, const TElementMargins& margins);

// Copies bitmap to rect (at rect's size, no scaling), leaving the destination
// as it was under pixels of the key colour.
void TransparentBlit(gfx::TDrawContext& dc, const gfx::TRect& rect, const framework::TBitmap& bitmap,
                     gfx::TColor keyColor);

} // namespace skin
