#pragma once
// Shapes for the region-shaped effects: a builder that collects any number of
// rectangles and turns them into one region in a single step, the polygon,
// sector and rotation helpers, and RevealRegion, which shows the new picture
// through a region and leaves the frame's canvas unclipped afterwards.
#include "gfx/DrawContext.h"
#include "gfx/Geometry.h"
#include "gfx/Region.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace framework {
class TBitmap;
}

namespace effects {

// Collects rectangles exactly as given (no sorting, clipping or merging; empty
// and inverted ones too) and makes one region of them. Room grows 500
// rectangles at a time, so the bar and shred patterns, which add hundreds to
// thousands of rectangles per frame, rarely reallocate.
class TComplexRegion {
public:
  static constexpr int32_t kGrowBy = 500;

  TComplexRegion() { Clear(); }

  // Forgets every rectangle and releases the room they took.
  void Clear();
  // Appends the rectangle and widens Bounds, each edge on its own.
  void AddRect(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom);
  // The union of all rectangles added, or nothing when none was added. The
  // builder keeps its rectangles.
  [[nodiscard]] std::optional<gfx::TRegion> CreateRegion() const;

  [[nodiscard]] int32_t Count() const noexcept { return int32_t(rects_.size()); }
  [[nodiscard]] int32_t Capacity() const noexcept { return capacity_; }
  // Smallest left and top, largest right and bottom of the rectangles added.
  // Before the first rectangle: (2147483647, 2147483647, -2147483647,
  // -2147483647).
  [[nodiscard]] const gfx::TRect& Bounds() const noexcept { return bounds_; }
  [[nodiscard]] std::span<const gfx::TRect> Rects() const noexcept { return rects_; }

  static constexpr gfx::TRect kEmptyBounds{2147483647, 2147483647, -2147483647, -2147483647};

private:
  std::vector<gfx::TRect> rects_;
  int32_t capacity_ = 0;
  gfx::TRect bounds_ = kEmptyBounds;
};

// A polygon region with the winding fill mode over the points x0, y0, x1, y1,
// ... of Coords; an odd trailing value is ignored.
[[nodiscard]] gfx::TRegion PolygonRegion(std::span<const int32_t> Coords);

// A pie slice as a polygon (winding fill) of Count + 1 vertices: the centre,
// then Count points on the circle from StartAngle in Count equal steps toward
// EndAngle, the last one step short of it. Angles are in radians; with y
// growing downward increasing angles turn clockwise.
[[nodiscard]] gfx::TRegion SectorRegion(int32_t CX, int32_t CY, int32_t R, long double StartAngle,
                                        long double EndAngle, int32_t Count);

// The vertices SectorRegion uses, for callers that combine them otherwise.
[[nodiscard]] std::vector<gfx::TPoint> SectorPoints(int32_t CX, int32_t CY, int32_t R, long double StartAngle,
                                                    long double EndAngle, int32_t Count);

// Turns every point by Angle radians about (OrgX, OrgY), rounding halves to
// even.
void RotatePoints(std::span<gfx::TPoint> Points, int32_t OrgX, int32_t OrgY, long double Angle);

// Removes the clipping from a canvas when the scope ends, also when drawing
// throws: a frame never keeps the clipping of an effect.
class TClipReset {
public:
  explicit TClipReset(gfx::TDCHandle dc) noexcept : dc_(dc) {}
  ~TClipReset() { gfx::SelectClipRgn(dc_, nullptr); }
  TClipReset(const TClipReset&) = delete;
  TClipReset& operator=(const TClipReset&) = delete;

private:
  gfx::TDCHandle dc_;
};

// Copies the whole of Picture onto Screen through the region. Nothing is drawn
// when there is no region. The clipping is removed from Screen's canvas before
// returning, also when drawing throws.
void RevealRegion(framework::TBitmap& Screen, framework::TBitmap& Picture, int32_t W, int32_t H,
                  const gfx::TRegion& Region);
void RevealRegion(framework::TBitmap& Screen, framework::TBitmap& Picture, int32_t W, int32_t H,
                  const std::optional<gfx::TRegion>& Region);

// The frame RevealRegion makes over the old image, made in one pass: each
// pixel of the W x H frame is copied once, from Picture inside the region and
// from OldImage outside it (see TComposeFunction).
void ComposeThroughRegion(framework::TBitmap& Screen, framework::TBitmap& OldImage, framework::TBitmap& Picture,
                          int32_t W, int32_t H, const std::optional<gfx::TRegion>& Region);

// Builds the region with a fresh builder and reveals through it. The builder
// lives only for the call, so nothing outlives a failure while building.
template <class TBuild>
void RevealRects(framework::TBitmap& Screen, framework::TBitmap& Picture, int32_t W, int32_t H, TBuild&& build)
{
  std::optional<gfx::TRegion> region;
  {
    TComplexRegion builder;
    build(builder);
    region = builder.CreateRegion();
  }
  RevealRegion(Screen, Picture, W, H, region);
}

} // namespace effects
