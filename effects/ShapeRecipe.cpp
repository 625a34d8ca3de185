#include "effects/ShapeRecipe.h"

#include "gfx/GdiConstants.h"

#include <algorithm>
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

} // namespace

std::optional<gfx::TRegion> BuildRegion(const TShapeRecipe& recipe)
{
  if (recipe.empty())
    return std::nullopt;
  // A builder that received no rectangle makes no region at all.
  if (recipe.front().Kind == TShapeStep::skRects && recipe.front().Rects.empty())
    return std::nullopt;
  // A chain of unions (the shred grids merge dozens of cells) gives the same
  // pixels in any grouping; merging neighbours pairwise keeps every merge
  // small instead of growing one region cell by cell.
  if (std::all_of(recipe.begin() + 1, recipe.end(), [](const TShapeStep& s) { return s.Mode == RGN_OR; })) {
    std::vector<gfx::TRegion> parts;
    parts.reserve(recipe.size());
    for (const TShapeStep& step : recipe)
      parts.push_back(StepRegion(step));
    while (parts.size() > 1) {
      std::vector<gfx::TRegion> merged;
      merged.reserve((parts.size() + 1) / 2);
      for (size_t i = 0; i + 1 < parts.size(); i += 2)
        merged.push_back(gfx::TRegion::Combine(parts[i], parts[i + 1], RGN_OR));
      if (parts.size() % 2)
        merged.push_back(std::move(parts.back()));
      parts = std::move(merged);
    }
    return std::move(parts.front());
  }
  gfx::TRegion result = StepRegion(recipe.front());
  for (size_t i = 1; i < recipe.size(); ++i)
    result = gfx::TRegion::Combine(result, StepRegion(recipe[i]), recipe[i].Mode);
  return result;
}

} // namespace effects
