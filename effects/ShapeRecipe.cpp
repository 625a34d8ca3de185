#include "effects/ShapeRecipe.h"

#include "gfx/GdiConstants.h"

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
  gfx::TRegion result = StepRegion(recipe.front());
  for (size_t i = 1; i < recipe.size(); ++i)
    result = gfx::TRegion::Combine(result, StepRegion(recipe[i]), recipe[i].Mode);
  return result;
}

} // namespace effects
