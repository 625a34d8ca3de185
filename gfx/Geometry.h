#pragma once
#include <algorithm>
#include <cstdint>

namespace gfx {

struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;

  constexpr TPoint() = default;
  constexpr TPoint(int32_t x, int32_t y) : X(x), Y(y) {}
  friend constexpr bool operator==(const TPoint&, const TPoint&) = default;
};

// A width and a height.
struct TSize {
  int32_t Width = 0;
  int32_t Height = 0;

  constexpr TSize() = default;
  constexpr TSize(int32_t width, int32_t height) : Width(width), Height(height) {}
  [[nodiscard]] constexpr bool IsEmpty() const { return Width <= 0 || Height <= 0; }
  friend constexpr bool operator==(const TSize&, const TSize&) = default;
};

// A rectangle with exclusive right and bottom edges: (0, 0, 2, 1) holds the two
// pixels (0, 0) and (1, 0). Inverted rectangles (Right < Left) are empty.
// Arithmetic on edges is done in 64 bits where it could overflow.
struct TRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;

  constexpr TRect() = default;
  constexpr TRect(int32_t left, int32_t top, int32_t right, int32_t bottom)
    : Left(left), Top(top), Right(right), Bottom(bottom) {}
  static constexpr TRect Bounds(int32_t left, int32_t top, int32_t width, int32_t height)
  {
    return {left, top, left + width, top + height};
  }

  [[nodiscard]] constexpr int32_t Width() const { return Right - Left; }
  [[nodiscard]] constexpr int32_t Height() const { return Bottom - Top; }
  [[nodiscard]] constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  [[nodiscard]] constexpr bool Contains(TPoint p) const
  {
    return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom;
  }
  [[nodiscard]] constexpr bool Contains(const TRect& r) const
  {
    return r.Left >= Left && r.Right <= Right && r.Top >= Top && r.Bottom <= Bottom;
  }
  [[nodiscard]] constexpr TRect Intersected(const TRect& r) const
  {
    TRect result{std::max(Left, r.Left), std::max(Top, r.Top), std::min(Right, r.Right), std::min(Bottom, r.Bottom)};
    return result.IsEmpty() ? TRect{} : result;
  }
  [[nodiscard]] constexpr bool Intersects(const TRect& r) const { return !Intersected(r).IsEmpty(); }
  // Smallest rectangle holding both; an empty rectangle adds nothing.
  [[nodiscard]] constexpr TRect United(const TRect& r) const
  {
    if (IsEmpty())
      return r.IsEmpty() ? TRect{} : r;
    if (r.IsEmpty())
      return *this;
    return {std::min(Left, r.Left), std::min(Top, r.Top), std::max(Right, r.Right), std::max(Bottom, r.Bottom)};
  }
  [[nodiscard]] constexpr TRect Translated(int32_t dx, int32_t dy) const
  {
    return {Left + dx, Top + dy, Right + dx, Bottom + dy};
  }
  // Edges in order (left <= right, top <= bottom), as the platform normalises
  // rectangles handed to region and drawing calls.
  [[nodiscard]] constexpr TRect Normalized() const
  {
    return {std::min(Left, Right), std::min(Top, Bottom), std::max(Left, Right), std::max(Top, Bottom)};
  }
  friend constexpr bool operator==(const TRect&, const TRect&) = default;
};

} // namespace gfx
