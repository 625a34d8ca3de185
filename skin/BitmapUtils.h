#pragma once
// Colour and bitmap operations shared by the skin data model (its derived
// images) and by skinned surfaces while they paint: blending, a saturation
// measure, cached colour ramps and gradient fills, key-colour replacement,
// mirroring, flipping and rotating, strip-frame draws and regions cut out of
// bitmaps.
#include "framework/Bitmap.h"
#include "gfx/Color.h"
#include "gfx/DrawContext.h"
#include "gfx/Geometry.h"
#include "gfx/Region.h"

#include <cstdint>
#include <vector>

namespace skin {

// Magenta: transparent in every skin bitmap.
inline constexpr gfx::TColor kKeyColor = 0xFF00FF;

// Mixes two colours. a below 100 is the percentage of c1, a from 100 up its
// share in per mille; the rest comes from c2. Each channel is rounded half up.
// System colours are resolved first; shares outside the scale are clamped so
// the result stays a colour.
[[nodiscard]] gfx::TColor Blend(gfx::TColor c1, gfx::TColor c2, int32_t a);

// How colourful a colour is on a 0..255 scale: (max - min) / max of its
// channels, times 255, rounded half to even. Dark and muted colours, whose
// channels all lie at or below 159, answer 200.
[[nodiscard]] int32_t SaturationMeasure(gfx::TColor color);

// Cached colour ramps. ColorRamp answers the slot holding a ramp of n colours
// from c1 to c2 (computed on a miss into the next slot of 16, cyclically);
// RampColors reads a slot. A slot's contents stay valid until 16 further
// misses have come by, so callers read a ramp right after asking for it.
inline constexpr int32_t kRampSlots = 16;
[[nodiscard]] int32_t ColorRamp(int32_t n, gfx::TColor c1, gfx::TColor c2);
[[nodiscard]] const std::vector<gfx::TColor>& RampColors(int32_t slot);
// Empties the cache (tests start from a known state with it).
void ClearColorRamps();

// Fills rect with a gradient from c1 to c2, top to bottom when vertical, else
// left to right, one band per pixel row or column. Only the bands inside the
// context's clip box are painted; each keeps the colour it has in the ramp
// of the whole rectangle.
void GradientFill(gfx::TDrawContext& dc, const gfx::TRect& rect, gfx::TColor c1, bool vertical, gfx::TColor c2);

// Every pixel that is exactly magenta takes the colour (its low three bytes);
// the bitmap becomes 24-bit.
void ReplaceKeyColor(framework::TBitmap& bitmap, gfx::TColor color);

// Mirror reverses each row, Flip the order of the rows.
void Mirror(framework::TBitmap& bitmap);
void Flip(framework::TBitmap& bitmap);
// Quarter turns; width and height swap and the bitmap becomes 24-bit. Rotating
// left moves pixel (x, y) to (y, W - 1 - x); rotating right to (H - 1 - y, x).
void RotateLeft(framework::TBitmap& bitmap);
void RotateRight(framework::TBitmap& bitmap);

// Frame k (1-based) of a strip of n equal frames side by side, stretched to
// rect (DrawStripFrameStretched) or at its own size centred in rect
// (DrawStripFrameCentred), put on the context with magenta transparent when
// asked, else copied. An inverted rectangle draws nothing; a count below 1
// counts as 1.
void DrawStripFrameStretched(gfx::TDrawContext& dc, const gfx::TRect& rect, const framework::TBitmap& strip,
                             bool transparent, int32_t n, int32_t k);
void DrawStripFrameCentred(gfx::TDrawContext& dc, const gfx::TRect& rect, const framework::TBitmap& strip,
                           bool transparent, int32_t n, int32_t k);

// The pixels of the bitmap that are not of the key colour, shifted by the
// offsets. A pixel counts as key colour when each channel lies between the
// key's channel and that channel + 1, so that near-magenta left by lossy
// editing still reads as transparent. Runs are gathered in blocks of 2000
// rectangles, each united with the result. A fully transparent bitmap gives
// the empty region.
inline constexpr size_t kRegionBlockRects = 2000;
[[nodiscard]] gfx::TRegion RegionFromBitmap(const framework::TBitmap& bitmap, int32_t xOffset, int32_t yOffset,
                                            gfx::TColor keyColor);

// The target takes the source's size, pixel format and pixels.
void CopyBitmap(const framework::TBitmap& source, framework::TBitmap& target);

} // namespace skin
