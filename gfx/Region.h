#pragma once
#include "gfx/GdiConstants.h"
#include "gfx/Geometry.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace gfx {

// A set of pixels held as a banded list of rectangles, the way the platform
// keeps its regions:
//
//   - the rectangles are sorted by Top, then by Left;
//   - rectangles with the same Top form a band and all share its Bottom; bands
//     do not overlap vertically;
//   - inside a band the rectangles neither overlap nor touch;
//   - two bands that touch vertically and hold the same horizontal spans are
//     merged into one.
//
// That form is canonical: two regions hold the same pixels exactly when their
// rectangle lists are equal. Every operation builds its result by one sweep
// over the bands of its operands. A region is a plain value: copy, move and
// compare it freely; nothing is owned besides its vector.
//
// Coordinates are 32-bit like the platform's; shapes given with coordinates
// far outside any bitmap are clipped to kCoordLimit so that nothing overflows
// and no shape costs more than its visible part (see the factories).
class TRegion {
public:
  // Coordinates beyond +-kCoordLimit are clamped when a region is built: the
  // platform's own coordinate space is 27 bits, and a clamped edge still lies
  // far outside every bitmap.
  static constexpr int32_t kCoordLimit = 1 << 27;

  // The empty region.
  TRegion() = default;
  // One rectangle; an empty or inverted one gives the empty region (as
  // CreateRectRgn normalises its corners, use FromRectangle for that).
  explicit TRegion(const TRect& rect);

  // CreateRectRgn(left, top, right, bottom): corners in any order.
  [[nodiscard]] static TRegion FromRectangle(int32_t left, int32_t top, int32_t right, int32_t bottom);
  // ExtCreateRegion with a rectangle list: the union of the rectangles, which
  // may come unsorted and overlapping; empty and inverted rectangles add
  // nothing.
  [[nodiscard]] static TRegion FromRects(std::span<const TRect> rects);
  // The union of any number of regions, made in one sweep: the same region
  // as combining them one after another with RGN_OR.
  [[nodiscard]] static TRegion FromUnion(std::span<const TRegion> regions);
  // CreatePolygonRgn: the pixels whose centres lie inside the polygon under
  // the fill mode (ALTERNATE or WINDING), with the platform's rule for pixels
  // on an edge (left and top edges are inside, right and bottom outside).
  // Fewer than three points, or an unknown fill mode, give the empty region.
  [[nodiscard]] static TRegion FromPolygon(std::span<const TPoint> points, int fillMode);
  // CreatePolyPolygonRgn: several closed polygons filled together.
  [[nodiscard]] static TRegion FromPolyPolygon(std::span<const TPoint> points, std::span<const int32_t> counts,
                                               int fillMode);
  // CreateEllipticRgn: the ellipse inscribed in the rectangle, without the
  // rectangle's right column and bottom row, as the platform builds it.
  [[nodiscard]] static TRegion FromEllipse(int32_t left, int32_t top, int32_t right, int32_t bottom);
  // CreateRoundRectRgn: the rectangle (right column and bottom row left out)
  // with corners rounded by an ellipse ellipseWidth x ellipseHeight; a corner
  // ellipse larger than the rectangle is limited to the rectangle's size, which
  // makes fully rounded ends.
  [[nodiscard]] static TRegion FromRoundRect(int32_t left, int32_t top, int32_t right, int32_t bottom,
                                             int32_t ellipseWidth, int32_t ellipseHeight);

  // CombineRgn: RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF (a without b) or RGN_COPY
  // (a). Throws std::invalid_argument for any other mode.
  [[nodiscard]] static TRegion Combine(const TRegion& a, const TRegion& b, int mode);

  [[nodiscard]] bool IsEmpty() const noexcept { return rects_.empty(); }
  // NULLREGION, SIMPLEREGION (one rectangle) or COMPLEXREGION.
  [[nodiscard]] int Kind() const noexcept;
  // The smallest rectangle holding the region; (0, 0, 0, 0) when empty.
  [[nodiscard]] const TRect& Bounds() const noexcept { return bounds_; }
  // PtInRegion.
  [[nodiscard]] bool Contains(int32_t x, int32_t y) const noexcept;
  [[nodiscard]] bool Contains(TPoint p) const noexcept { return Contains(p.X, p.Y); }
  // RectInRegion: does any pixel of the rectangle belong to the region?
  [[nodiscard]] bool Intersects(const TRect& rect) const noexcept;
  // The banded rectangles (see the class comment).
  [[nodiscard]] std::span<const TRect> Rects() const noexcept { return rects_; }
  [[nodiscard]] size_t RectCount() const noexcept { return rects_.size(); }
  // Number of pixels held (64-bit: a clamped region can be huge).
  [[nodiscard]] int64_t Area() const noexcept;

  // OffsetRgn; the result saturates at kCoordLimit.
  void Offset(int32_t dx, int32_t dy);
  [[nodiscard]] TRegion Offsetted(int32_t dx, int32_t dy) const;
  // The part of the region inside rect.
  [[nodiscard]] TRegion Intersected(const TRect& rect) const;

  friend bool operator==(const TRegion& a, const TRegion& b) noexcept { return a.rects_ == b.rects_; }

  // Builds a region from rectangles that are already banded (as Rects()
  // returns them); the caller vouches for the form. Used by the platform
  // conversions and the sweeps.
  [[nodiscard]] static TRegion FromBandedRects(std::vector<TRect> rects);

private:
  void UpdateBounds() noexcept;

  std::vector<TRect> rects_;
  TRect bounds_;
};

} // namespace gfx
