#pragma once
// A region described as the platform calls that make it: rectangle lists,
// polygons, ellipses and rounded rectangles, each merged into the shapes
// before it with a combination mode. The bar and shape families describe
// their region for a frame this way; BuildRegion makes it with our own
// regions, and the agreement suite makes the same calls on the platform.
#include "gfx/Geometry.h"
#include "gfx/Region.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace effects {

struct TShapeStep {
  enum TKind : uint8_t {
    skRects,     // one region of all Rects at once (ExtCreateRegion)
    skPolygon,   // Points with the winding fill mode (CreatePolygonRgn)
    skEllipse,   // inscribed in Box (CreateEllipticRgn)
    skRoundRect, // Box with corners EllipseWidth x EllipseHeight (CreateRoundRectRgn)
    skRectangle, // Box (CreateRectRgn)
  };
  TKind Kind = skRects;
  // 0 for the first step; RGN_AND, RGN_OR or RGN_XOR merges the step's shape
  // into the result of the steps before it (CombineRgn).
  int Mode = 0;
  gfx::TRect Box;
  int32_t EllipseWidth = 0;
  int32_t EllipseHeight = 0;
  std::vector<gfx::TPoint> Points;
  std::vector<gfx::TRect> Rects;
};

using TShapeRecipe = std::vector<TShapeStep>;

// The region of the recipe; empty for an empty recipe or when its first step
// is a rectangle list without rectangles (the builder then makes no region
// and the effect draws nothing).
[[nodiscard]] std::optional<gfx::TRegion> BuildRegion(const TShapeRecipe& recipe);

} // namespace effects
