#include "effects/ShapeRecipe.h"

#include "gfx/GdiConstants.h"

#include <algorithm>
#include <cstddef>
#include <span>
#include <utility>
#include <vector>

namespace effects {

namespace {

gfx::TRegion StepRegion(const TShapeStep& step)
{
  switch (step.Kind) {
  case TShapeStep::skRects: return gfx::TRegion::FromRects(step.Rects);
  case TShapeStep::skPolygon: return gfx::TRegion::FromPolygon(step.Points, WINDING);
  case TShapeStep::skEllipse:
    return gfx::TRegion::FromEllipse(step.Box.Left, step.Box.Top, step.Box.Right, step.Box.Bottom);
  case TShapeStep::skRoundRect:
    return gfx::TRegion::FromRoundRect(step.Box.Left, step.Box.Top, step.Box.Right, step.Box.Bottom,
                                       step.EllipseWidth, step.EllipseHeight);
  case TShapeStep::skRectangle:
    return gfx::TRegion::FromRectangle(step.Box.Left, step.Box.Top, step.Box.Right, step.Box.Bottom);
  }
  return {};
}

// Twice the signed area of a polygon: positive when it runs clockwise on the
// screen (y down), negative the other way, 0 for a flat one.
int64_t SignedArea2(std::span<const gfx::TPoint> points)
{
  int64_t sum = 0;
  for (size_t i = 0; i < points.size(); ++i) {
    const gfx::TPoint& a = points[i];
    const gfx::TPoint& b = points[(i + 1) % points.size()];
    sum += int64_t(a.X) * b.Y - int64_t(b.X) * a.Y;
  }
  return sum;
}

// Every turn of the outline bends the same way (straight stretches allowed):
// the polygon is convex and winds once around each inside point.
bool IsConvex(std::span<const gfx::TPoint> points)
{
  const size_t n = points.size();
  int sign = 0;
  for (size_t i = 0; i < n; ++i) {
    const gfx::TPoint& a = points[i];
    const gfx::TPoint& b = points[(i + 1) % n];
    const gfx::TPoint& c = points[(i + 2) % n];
    const int64_t cross =
      (int64_t(b.X) - a.X) * (int64_t(c.Y) - b.Y) - (int64_t(b.Y) - a.Y) * (int64_t(c.X) - b.X);
    const int turn = cross > 0 ? 1 : (cross < 0 ? -1 : 0);
    if (turn != 0 && sign != 0 && turn != sign)
      return false;
    if (turn != 0)
      sign = turn;
  }
  return true;
}

// The union of convex polygons in one scan. A convex polygon winds once
// around every pixel centre inside it, clockwise or anticlockwise; with all
// of them turned the same way (a polygon holds the same pixels in either
// direction), the winding numbers of the parts add up to a non-zero number
// exactly where at least one part holds the pixel. So one polygon set under
// the winding rule holds the same pixels as the parts merged one by one, and
// costs one pass over the rows instead of a region per part and a merge.
// Empty when a part is not convex (or a point list is too large to count).
std::optional<gfx::TRegion> ConvexUnion(const TShapeRecipe& recipe)
{
  std::vector<gfx::TPoint> points;
  std::vector<int32_t> counts;
  counts.reserve(recipe.size());
  for (const TShapeStep& step : recipe) {
    if (step.Kind != TShapeStep::skPolygon || !IsConvex(step.Points) || step.Points.size() > 64)
      return std::nullopt;
    const size_t first = points.size();
    points.insert(points.end(), step.Points.begin(), step.Points.end());
    if (SignedArea2(step.Points) < 0)
      std::reverse(points.begin() + std::ptrdiff_t(first), points.end());
    counts.push_back(int32_t(step.Points.size()));
  }
  return gfx::TRegion::FromPolyPolygon(points, counts, WINDING);
}

} // namespace

std::optional<gfx::TRegion> BuildRegion(const TShapeRecipe& recipe)
{
  if (recipe.empty())
    return std::nullopt;
  // A builder that received no rectangle makes no region at all.
  if (recipe.front().Kind == TShapeStep::skRects && recipe.front().Rects.empty())
    return std::nullopt;
  // A chain of unions (the shred grids merge dozens of cells) gives the same
  // pixels in any grouping, so all parts are merged in one sweep instead of
  // growing one region cell by cell.
  if (std::all_of(recipe.begin() + 1, recipe.end(), [](const TShapeStep& s) { return s.Mode == RGN_OR; })) {
    if (recipe.size() == 1)
      return StepRegion(recipe.front());
    if (std::optional<gfx::TRegion> convex = ConvexUnion(recipe))
      return convex;
    std::vector<gfx::TRegion> parts;
    parts.reserve(recipe.size());
    // The circles of a shred grid are one shape in many places: each size of
    // ellipse is traced once and moved to the others. An ellipse's pixels
    // depend only on its size, so the moved copy is the same region, as long
    // as no coordinate comes near the limit where regions clamp.
    std::vector<std::pair<gfx::TRect, size_t>> traced; // box and index into parts
    for (const TShapeStep& step : recipe) {
      const gfx::TRect box = step.Box.Normalized();
      constexpr int32_t kFar = gfx::TRegion::kCoordLimit / 4;
      const bool movable = step.Kind == TShapeStep::skEllipse && box.Left > -kFar && box.Top > -kFar &&
                           box.Right < kFar && box.Bottom < kFar;
      if (!movable) {
        parts.push_back(StepRegion(step));
        continue;
      }
      const auto same = std::find_if(traced.begin(), traced.end(), [&](const auto& t) {
        return t.first.Width() == box.Width() && t.first.Height() == box.Height();
      });
      if (same == traced.end()) {
        traced.emplace_back(box, parts.size());
        parts.push_back(StepRegion(step));
        continue;
      }
      parts.push_back(parts[same->second].Offsetted(box.Left - same->first.Left, box.Top - same->first.Top));
    }
    return gfx::TRegion::FromUnion(parts);
  }
  gfx::TRegion result = StepRegion(recipe.front());
  for (size_t i = 1; i < recipe.size(); ++i)
    result = gfx::TRegion::Combine(result, StepRegion(recipe[i]), recipe[i].Mode);
  return result;
}

} // namespace effects
