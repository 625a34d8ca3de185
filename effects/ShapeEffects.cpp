#include "effects/ShapeEffects.h"

#include "effects/ComplexRegion.h"
#include "framework/Bitmap.h"
#include "gfx/GdiConstants.h"
#include "gfx/Numeric.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <numbers>
#include <span>

namespace effects {

namespace {

using gfx::TPoint;
using gfx::TRegion;

TShapeStep PolygonStep(std::span<const TPoint> points, int mode = 0)
{
  TShapeStep step;
  step.Kind = TShapeStep::skPolygon;
  step.Mode = mode;
  step.Points.assign(points.begin(), points.end());
  return step;
}

TShapeStep Polygon(std::initializer_list<TPoint> points)
{
  return PolygonStep(std::span<const TPoint>(points.begin(), points.size()));
}

TShapeStep BoxStep(TShapeStep::TKind kind, int32_t left, int32_t top, int32_t right, int32_t bottom,
                   int32_t ellipseWidth = 0, int32_t ellipseHeight = 0)
{
  TShapeStep step;
  step.Kind = kind;
  step.Box = {left, top, right, bottom};
  step.EllipseWidth = ellipseWidth;
  step.EllipseHeight = ellipseHeight;
  return step;
}

TShapeRecipe RoundRect(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t ew, int32_t eh)
{
  return {BoxStep(TShapeStep::skRoundRect, left, top, right, bottom, ew, eh)};
}

// The shapes merged one after another into the first with the given mode.
TShapeRecipe Merge(TShapeStep first, std::initializer_list<TShapeStep> others, int mode)
{
  TShapeRecipe recipe{std::move(first)};
  for (const TShapeStep& other : others) {
    recipe.push_back(other);
    recipe.back().Mode = mode;
  }
  return recipe;
}

TShapeRecipe Union(TShapeStep first, std::initializer_list<TShapeStep> others)
{
  return Merge(std::move(first), others, RGN_OR);
}

// The full frame with each shape excluded in turn by exclusive-or: where two
// excluded shapes overlap, the overlap shows the new picture again.
TShapeRecipe FrameXor(int32_t W, int32_t H, std::initializer_list<TShapeStep> shapes)
{
  return Merge(BoxStep(TShapeStep::skRectangle, 0, 0, W, H), shapes, RGN_XOR);
}

// Smallest integer not below the distance from the centre to a corner.
int32_t CornerRadius(int32_t cx, int32_t cy)
{
  const int64_t squared = int64_t{cx} * cx + int64_t{cy} * cy;
  auto root = int64_t(std::sqrt(double(squared)));
  while (root * root > squared)
    --root;
  while (root * root < squared)
    ++root;
  return int32_t(root);
}

// Grids of shapes growing about the centres (p, q), (p, 3q), ... (3p, q), ...:
// columns outer, rows inner, all merged by union into the first shape.
template <class TShape>
TShapeRecipe ShredGrid(int32_t p, int32_t q, int32_t columnLimit, int32_t rowLimit, TShape&& shape)
{
  TShapeRecipe recipe;
  for (int32_t x = p; x - p < columnLimit; x += 2 * p)
    for (int32_t y = q; y - q < rowLimit; y += 2 * q) {
      recipe.push_back(shape(x, y));
      recipe.back().Mode = recipe.size() == 1 ? 0 : RGN_OR;
    }
  return recipe;
}

// 150 to 152: a rectangle or star turned by Progress * 3.6 degrees, the
// direction set by the parity of the picture's handle.
TShapeStep RotatingShape(TShowStyle style, int32_t cx, int32_t cy, int32_t X, int32_t Y, int32_t hx, int32_t hy,
                         int32_t Progress, uint32_t handle)
{
  long double angle = Progress * std::numbers::pi_v<long double> / 50;
  if (handle & 1u)
    angle = -angle;
  if (style == 151) {
    std::array<TPoint, 8> star = {{{cx - 2 * X, cy}, {cx - hx, cy - hy}, {cx, cy - 2 * Y}, {cx + hx, cy - hy},
                                   {cx + 2 * X, cy}, {cx + hx, cy + hy}, {cx, cy + 2 * Y}, {cx - hx, cy + hy}}};
    RotatePoints(star, cx, cy, angle);
    return PolygonStep(star);
  }
  std::array<TPoint, 4> box = {{{cx - hx, cy - hy}, {cx + hx, cy - hy}, {cx + hx, cy + hy}, {cx - hx, cy + hy}}};
  if (style == 152)
    RotatePoints(box, X, Y, angle);
  else
    RotatePoints(box, cx, cy, angle);
  return PolygonStep(box);
}

} // namespace

std::array<TPoint, 24> ZigzagPoints(bool vertical, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t Progress)
{
  const int32_t amp = (vertical ? W : H) / 10;
  const int32_t seg = (vertical ? H : W) / 10;
  const int32_t mid = vertical ? W / 2 : H / 2;
  const int32_t off = gfx::MulDiv(amp, Progress, 100) + (vertical ? X : Y) / 2;
  const int32_t a0 = mid + amp - off;
  const int32_t a1 = mid - amp - off;
  const int32_t b0 = mid + amp + off;
  const int32_t b1 = mid - amp + off;
  std::array<TPoint, 24> points;
  const auto at = [vertical](int32_t along, int32_t across) {
    return vertical ? TPoint(across, along) : TPoint(along, across);
  };
  for (int32_t k = 0; k < 12; ++k) {
    const int32_t t = k * seg;
    const bool even = k % 2 == 0;
    points[size_t(k)] = at(t, even ? a0 : a1);
    points[size_t(23 - k)] = at(t, even ? b0 : b1);
  }
  return points;
}

TShapeRecipe ShapeRecipe(TShowStyle style, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t Progress,
                         uint32_t handle)
{
  const int32_t cx = W / 2;
  const int32_t cy = H / 2;
  const int32_t hx = X / 2;
  const int32_t hy = Y / 2;
  const auto round = RoundRect;

  switch (style) {
  // Rounded and elliptic fronts: the corner ellipse is larger than the
  // rectangle's height (width), which rounds the front into half an ellipse.
  case 58: return round(-2 * W, 0, 2 * X, H + 1, 2 * W, 2 * W);
  case 59: return round(W - 2 * X, 0, 3 * W, H + 1, 2 * W, 2 * W);
  case 69: return round(0, -2 * H, W + 1, 2 * Y, 2 * H, 2 * H);
  case 70: return round(0, H - 2 * Y, W + 1, 3 * H, 2 * H, 2 * H);
  case 80: return round(-W, -H, (3 * X) / 2, (3 * Y) / 2, 2 * W, 2 * H);
  case 81: return round(W - (3 * X) / 2, -H, 2 * W, (3 * Y) / 2, 2 * W, 2 * H);
  case 82: return round(-W, H - (3 * Y) / 2, (3 * X) / 2, 2 * H, 2 * W, 2 * H);
  case 83: return round(W - (3 * X) / 2, H - (3 * Y) / 2, 2 * W, 2 * H, 2 * W, 2 * H);
  case 84: return round(cx - X, cy - Y, cx + X, cy + Y, (9 * X) / 5, (9 * Y) / 5);
  case 85:
    return FrameXor(W, H, {BoxStep(TShapeStep::skRoundRect, X - cx, Y - cy, 3 * cx - X, 3 * cy - Y, (9 * (W - X)) / 5,
                                   (9 * (H - Y)) / 5)});

  // Triangles and fans.
  case 110: return {Polygon({{0, 0}, {2 * X, 0}, {0, 2 * Y}})};
  case 111: return {Polygon({{W, 0}, {W - 2 * X, 0}, {W, 2 * Y}})};
  case 112: return {Polygon({{0, H}, {2 * X, H}, {0, H - 2 * Y}})};
  case 113: return {Polygon({{W, H}, {W - 2 * X, H}, {W, H - 2 * Y}})};
  case 114: return Union(Polygon({{0, H}, {0, 0}, {X, H}}), {Polygon({{W, H}, {W, 0}, {W - X, 0}})});
  case 115: return Union(Polygon({{W, 0}, {0, 0}, {W, Y}}), {Polygon({{W, H}, {0, H}, {0, H - Y}})});
  case 116:
    return Union(Polygon({{cx, cy}, {0, 0}, {X, 0}}), {Polygon({{cx, cy}, {0, H}, {0, H - Y}}),
                  Polygon({{cx, cy}, {W, H}, {W - X, H}}), Polygon({{cx, cy}, {W, 0}, {W, Y}})});
  case 117:
    return Union(Polygon({{cx, cy}, {0, 0}, {0, Y}}), {Polygon({{cx, cy}, {0, H}, {X, H}}),
                  Polygon({{cx, cy}, {W, H}, {W, H - Y}}), Polygon({{cx, cy}, {W, 0}, {W - X, 0}})});
  case 154: return {Polygon({{0, cy - Y}, {2 * X, cy}, {0, cy + Y}})};
  case 155: return {Polygon({{W, cy - Y}, {W - 2 * X, cy}, {W, cy + Y}})};
  case 156: return {Polygon({{cx - X, 0}, {cx, 2 * Y}, {cx + X, 0}})};
  case 157: return {Polygon({{cx - X, H}, {cx, H - 2 * Y}, {cx + X, H}})};
  // The horizontal bow tie's apexes lie X in from the sides, the vertical
  // one's 2Y in from the top and bottom.
  case 158:
    return Union(Polygon({{0, cy - Y}, {X, cy}, {0, cy + Y}}), {Polygon({{W, cy - Y}, {W - X, cy}, {W, cy + Y}})});
  case 159:
    return Union(Polygon({{cx - X, 0}, {cx, 2 * Y}, {cx + X, 0}}), {Polygon({{cx - X, H}, {cx, H - 2 * Y}, {cx + X, H}})});
  case 160:
    return Union(Polygon({{0, cy - hy}, {hx, cy}, {0, cy + hy}}), {Polygon({{W, cy - hy}, {W - hx, cy}, {W, cy + hy}}),
                  Polygon({{cx - hx, 0}, {cx, hy}, {cx + hx, 0}}), Polygon({{cx - hx, H}, {cx, H - hy}, {cx + hx, H}})});
  case 161: {
    const int32_t rx = (W - X) / 2;
    const int32_t ry = (H - Y) / 2;
    return FrameXor(W, H,
                    {Polygon({{0, cy - ry}, {rx, cy}, {0, cy + ry}}), Polygon({{W, cy - ry}, {W - rx, cy}, {W, cy + ry}}),
                     Polygon({{cx - rx, 0}, {cx, ry}, {cx + rx, 0}}), Polygon({{cx - rx, H}, {cx, H - ry}, {cx + rx, H}})});
  }

  // Diamonds.
  case 165: return {Polygon({{cx - X, cy}, {cx, cy - Y}, {cx + X, cy}, {cx, cy + Y}})};
  case 166: return FrameXor(W, H, {Polygon({{X - cx, cy}, {cx, Y - cy}, {3 * cx - X, cy}, {cx, 3 * cy - Y}})});
  case 167:
    return Merge(Polygon({{-hx, cy}, {cx, -hy}, {2 * cx + hx, cy}, {cx, 2 * cy + hy}}),
                 {Polygon({{hx, cy}, {cx, hy}, {2 * cx - hx, cy}, {cx, 2 * cy - hy}})}, RGN_XOR);

  // Zigzag bands.
  case 162:
  case 163: {
    const std::array<TPoint, 24> band = ZigzagPoints(style == 163, W, H, X, Y, Progress);
    return {PolygonStep(band)};
  }

  // Turning shapes.
  case 150:
  case 151:
  case 152: return {RotatingShape(style, cx, cy, X, Y, hx, hy, Progress, handle)};

  // The clock hand: Progress arc vertices from straight up, so the last one
  // lies one step (3.6 degrees) short of the hand and the first frame shows
  // nothing.
  case 144:
  case 145: {
    const long double pi = std::numbers::pi_v<long double>;
    const long double sweep = Progress * pi / 50;
    const long double start = -pi / 2;
    return {PolygonStep(
      SectorPoints(cx, cy, CornerRadius(cx, cy), start, style == 144 ? start + sweep : start - sweep, Progress))};
  }

  // Shred grids.
  case 118: {
    const int32_t p = W / 10 + 1;
    const int32_t q = H / 10 + 1;
    const int32_t a = gfx::MulDiv(p, Progress, 50);
    const int32_t b = gfx::MulDiv(q, Progress, 50);
    return ShredGrid(p, q, W, H + q,
                     [&](int32_t x, int32_t y) { return Polygon({{x - a, y - b}, {x, y + b}, {x + a, y - b}}); });
  }
  case 153: {
    const int32_t p = std::min(W, H) / 10 + 1;
    const int32_t r = gfx::MulDiv(3 * p, Progress, 200);
    return ShredGrid(p, p, W, H,
                     [&](int32_t x, int32_t y) { return BoxStep(TShapeStep::skEllipse, x - r, y - r, x + r, y + r); });
  }
  case 164: {
    const int32_t p = std::min(W, H) / 10 + 1;
    const int32_t d = gfx::MulDiv(p, Progress, 50);
    return ShredGrid(p, p, W, H,
                     [&](int32_t x, int32_t y) { return Polygon({{x - d, y}, {x, y - d}, {x + d, y}, {x, y + d}}); });
  }
  default: return {};
  }
}

std::optional<TRegion> ShapeRegion(TShowStyle style, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t Progress,
                                   uint32_t handle)
{
  return BuildRegion(ShapeRecipe(style, W, H, X, Y, Progress, handle));
}

void DrawShapeFamily(TShowStyle style, framework::TBitmap& Screen, framework::TBitmap& Picture, int32_t W,
                     int32_t H, int32_t X, int32_t Y, int32_t Progress)
{
  RevealRegion(Screen, Picture, W, H, ShapeRegion(style, W, H, X, Y, Progress, Picture.Handle()));
}

void ComposeShapeFamily(TShowStyle style, framework::TBitmap& Screen, framework::TBitmap& OldImage,
                     framework::TBitmap& Picture, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t Progress)
{
  ComposeThroughRegion(Screen, OldImage, Picture, W, H, ShapeRegion(style, W, H, X, Y, Progress, Picture.Handle()));
}

} // namespace effects
