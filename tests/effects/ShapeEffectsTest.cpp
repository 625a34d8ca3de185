// The shapes of the curved, polygonal, rotating and sweeping reveals.
#include "effects/ShapeEffects.h"
#include "effects/EffectTable.h"
#include "gfx/GdiConstants.h"

#include <gtest/gtest.h>

#include <optional>
#include <utility>
#include <vector>

using effects::ShapeRegion;
using gfx::TPoint;
using gfx::TRegion;

namespace {

std::optional<TRegion> Shape(int style, int32_t w, int32_t h, int32_t progress, uint32_t handle = 0)
{
  const auto size = effects::ProgressSize(w, h, progress);
  return ShapeRegion(effects::TShowStyle(style), w, h, size.X, size.Y, progress, handle);
}

bool In(const std::optional<TRegion>& r, int32_t x, int32_t y)
{
  return r && r->Contains(x, y);
}

int64_t AreaInFrame(const std::optional<TRegion>& r, int32_t w, int32_t h)
{
  return r ? r->Intersected({0, 0, w, h}).Area() : 0;
}

} // namespace

TEST(CurvedReveal, EllipticRevealIsOneRoundedRectangle)
{
  // 400 x 300 at 50: X = 200, Y = 150.
  EXPECT_EQ(*Shape(84, 400, 300, 50), TRegion::FromRoundRect(0, 0, 400, 300, 360, 270));
  // In to centre: the frame less the shrinking rounded rectangle.
  const auto in = Shape(85, 400, 300, 70);
  EXPECT_TRUE(In(in, 0, 0));
  EXPECT_FALSE(In(in, 200, 150));
}

TEST(CurvedReveal, FrontIsHalfAnEllipseLimitedToTheFrameHeight)
{
  // X = 100 on 400 x 300 (Progress 25): the right half of an ellipse 800 wide
  // and 301 high centred at (-200, 150). The region leaves out its right
  // column, so row 150 reveals columns 0 to 198.
  const auto front = Shape(58, 400, 300, 25);
  EXPECT_TRUE(In(front, 198, 150));
  EXPECT_FALSE(In(front, 199, 150));
  EXPECT_LT(front->Intersected({0, 0, 400, 1}).Area(), 30);
  EXPECT_LT(front->Intersected({0, 299, 400, 300}).Area(), 30);
  // The mirrored members start from the other edges.
  EXPECT_TRUE(In(Shape(59, 400, 300, 25), 399, 150));
  EXPECT_FALSE(In(Shape(59, 400, 300, 25), 0, 150));
  EXPECT_TRUE(In(Shape(69, 400, 300, 25), 200, 0));
  EXPECT_TRUE(In(Shape(70, 400, 300, 25), 200, 299));
  EXPECT_TRUE(In(Shape(80, 400, 300, 25), 0, 0));
  EXPECT_TRUE(In(Shape(81, 400, 300, 25), 399, 0));
  EXPECT_TRUE(In(Shape(82, 400, 300, 25), 0, 299));
  EXPECT_TRUE(In(Shape(83, 400, 300, 25), 399, 299));
  EXPECT_FALSE(In(Shape(83, 400, 300, 25), 0, 0));
}

TEST(PolygonReveal, TrianglesGrowFromTheirCorners)
{
  // 400 x 300 at 25: X = 100, Y = 75; the diagonal triangle's legs are 2X, 2Y.
  const auto tl = Shape(110, 400, 300, 25);
  EXPECT_TRUE(In(tl, 0, 0));
  EXPECT_TRUE(In(tl, 199 - 4, 0));
  EXPECT_FALSE(In(tl, 200, 0));
  EXPECT_FALSE(In(tl, 100, 100));
  EXPECT_TRUE(In(Shape(113, 400, 300, 25), 399, 299));
  EXPECT_FALSE(In(Shape(113, 400, 300, 25), 0, 0));
  // V from the left: apex 2X in, at mid height.
  const auto v = Shape(154, 400, 300, 25);
  EXPECT_TRUE(In(v, 190, 150));
  EXPECT_FALSE(In(v, 201, 150));
  // Bow tie: apexes X in from both sides (not 2X).
  const auto tie = Shape(158, 400, 300, 25);
  EXPECT_TRUE(In(tie, 95, 150));
  EXPECT_FALSE(In(tie, 105, 150));
  EXPECT_TRUE(In(tie, 304, 150));
  EXPECT_FALSE(In(tie, 294, 150));
  // The vertical bow tie's apexes lie 2Y in: at 20, Y = 60, apexes at 120 and 180.
  const auto vtie = Shape(159, 400, 300, 20);
  EXPECT_TRUE(In(vtie, 200, 110));
  EXPECT_FALSE(In(vtie, 200, 150));
  EXPECT_TRUE(In(vtie, 200, 190));
}

TEST(PolygonReveal, UnionsCoverEveryPart)
{
  // The starbursts and sweeps are unions: each triangle's own corner shows.
  const auto star = Shape(116, 400, 300, 40);
  EXPECT_TRUE(In(star, 1, 0));
  EXPECT_TRUE(In(star, 0, 298));
  EXPECT_TRUE(In(star, 398, 299));
  EXPECT_TRUE(In(star, 399, 1));
  const auto sweep = Shape(114, 400, 300, 40);
  EXPECT_TRUE(In(sweep, 0, 150));
  EXPECT_TRUE(In(sweep, 399, 150));
  const auto cross = Shape(160, 400, 300, 40);
  EXPECT_TRUE(In(cross, 0, 150));
  EXPECT_TRUE(In(cross, 399, 150));
  EXPECT_TRUE(In(cross, 200, 0));
  EXPECT_TRUE(In(cross, 200, 299));
  EXPECT_FALSE(In(cross, 200, 150));
}

TEST(PolygonReveal, ShapesAreExcludedByExclusiveOr)
{
  // Diagonal Cross Out early on: the four excluded triangles reach almost to
  // the centre; the corners between them show the new picture, inside the
  // triangles the old image stays.
  const auto out = Shape(161, 400, 300, 2);
  EXPECT_TRUE(In(out, 2, 2));
  EXPECT_TRUE(In(out, 397, 297));
  EXPECT_FALSE(In(out, 60, 150));
  EXPECT_FALSE(In(out, 200, 40));
  // The diamond in to centre, early: the frame less the large diamond; the
  // corners show.
  const auto diamond = Shape(166, 400, 300, 2);
  EXPECT_TRUE(In(diamond, 0, 0));
  EXPECT_FALSE(In(diamond, 200, 150));
  // The diamond reaches past the frame; exclusive-or (not a difference) adds
  // that part, where it shows nothing.
  EXPECT_TRUE(In(diamond, -150, 150));
  // Diagonal box: a ring between two diamonds.
  const auto ring = Shape(167, 400, 300, 40);
  EXPECT_FALSE(In(ring, 200, 150));
  EXPECT_TRUE(In(ring, 200, 30));
}

TEST(ZigzagBand, VerticesAlternateAlongBothEdges)
{
  // 400 x 300 at 50: amp 30, seg 40, off = 15 + 75 = 90 about mid 150.
  const auto band = effects::ZigzagPoints(false, 400, 300, 200, 150, 50);
  EXPECT_EQ(band[0], TPoint(0, 90));
  EXPECT_EQ(band[1], TPoint(40, 30));
  EXPECT_EQ(band[11], TPoint(440, 30));
  EXPECT_EQ(band[12], TPoint(440, 210));
  EXPECT_EQ(band[22], TPoint(40, 210));
  EXPECT_EQ(band[23], TPoint(0, 270));
  const auto region = Shape(162, 400, 300, 50);
  EXPECT_TRUE(In(region, 0, 150));
  EXPECT_TRUE(In(region, 399, 150));
  EXPECT_FALSE(In(region, 0, 80));
  EXPECT_FALSE(In(region, 0, 280));
  // The vertical band swaps the axes.
  const auto vertical = effects::ZigzagPoints(true, 300, 400, 150, 200, 50);
  EXPECT_EQ(vertical[0], TPoint(90, 0));
  EXPECT_EQ(vertical[1], TPoint(30, 40));
  // Late on the band covers almost all of the frame.
  EXPECT_GT(AreaInFrame(Shape(163, 300, 400, 99), 300, 400), 300 * 400 * 99 / 100);
}

TEST(RotatingShape, DirectionFollowsTheHandleParity)
{
  // At 10 the rectangle is turned by 36 degrees, one way or the other.
  const auto even = Shape(150, 400, 300, 10, 2);
  const auto odd = Shape(150, 400, 300, 10, 3);
  ASSERT_TRUE(even && odd);
  EXPECT_FALSE(*even == *odd);
  // At 25 it stands turned by 90 degrees: X = 100, Y = 75, half sizes 50 and
  // 37, so it reaches 37 left and right of the centre and 50 up and down.
  const auto quarter = Shape(150, 400, 300, 25, 2);
  EXPECT_EQ(quarter->Bounds(), gfx::TRect(200 - 37, 150 - 50, 200 + 37, 150 + 50));
  EXPECT_EQ(*quarter, *Shape(150, 400, 300, 25, 7));
  // The spiral turns about (X, Y) instead of the centre.
  EXPECT_FALSE(*Shape(152, 400, 300, 25, 2) == *quarter);
  const auto star = Shape(151, 400, 300, 50, 2);
  EXPECT_TRUE(In(star, 200, 150));
}

TEST(Sweep, FirstFrameShowsNothingThenASliver)
{
  // Progress 1: the centre and one arc vertex, a polygon of two points.
  const auto one = Shape(144, 400, 300, 1);
  EXPECT_TRUE(!one || one->IsEmpty());
  // Progress 2: a sector of 3.6 degrees right of straight up for clockwise,
  // left of it for anticlockwise.
  const auto clockwise = Shape(144, 400, 300, 2);
  const auto anticlockwise = Shape(145, 400, 300, 2);
  ASSERT_TRUE(clockwise && anticlockwise);
  EXPECT_FALSE(clockwise->IsEmpty());
  EXPECT_GE(clockwise->Bounds().Left, 199);
  EXPECT_LE(anticlockwise->Bounds().Right, 201);
  // Radius 250 reaches the corners: half-way round, the right half is shown.
  const auto half = Shape(144, 400, 300, 51);
  EXPECT_TRUE(In(half, 390, 10));
  EXPECT_TRUE(In(half, 390, 290));
  EXPECT_FALSE(In(half, 10, 150));
}

TEST(ShredGrid, TrianglesCirclesAndDiamondsGrowOnTheirGrid)
{
  // Triangular shred on 400 x 300: p = 41, q = 31. At 25, a = 21 and b = 16:
  // the first triangle is (20, 15), (41, 47), (62, 15).
  const auto triangles = Shape(118, 400, 300, 25);
  EXPECT_TRUE(In(triangles, 41, 16));
  EXPECT_TRUE(In(triangles, 41, 45));
  EXPECT_FALSE(In(triangles, 41, 14));
  EXPECT_FALSE(In(triangles, 41 + 82, 14));
  EXPECT_TRUE(In(triangles, 41 + 82, 31 + 62));
  // At 50 the triangles reach their cell's edges: a = p, b = q.
  const auto full = Shape(118, 400, 300, 50);
  EXPECT_EQ(full->Bounds().Left, 0);
  EXPECT_EQ(full->Bounds().Top, 0);

  // Circles: p = 31 on 400 x 300; r = MulDiv(93, 50, 200) = 23 at 50.
  const auto circles = Shape(153, 400, 300, 50);
  EXPECT_TRUE(In(circles, 31, 31));
  EXPECT_TRUE(In(circles, 31 + 20, 31));
  EXPECT_FALSE(In(circles, 31 + 24, 31));
  EXPECT_FALSE(In(circles, 62, 62));
  EXPECT_TRUE(In(circles, 93, 93));

  // Diamonds: d = MulDiv(31, 25, 50) = 16 at 25.
  const auto diamonds = Shape(164, 400, 300, 25);
  EXPECT_TRUE(In(diamonds, 31 + 14, 31));
  EXPECT_FALSE(In(diamonds, 31 + 16, 31));
  EXPECT_FALSE(In(diamonds, 31 + 10, 31 + 10));
}

TEST(ShapeFamily, EveryMemberHasAShapeAndOthersNone)
{
  int members = 0;
  for (int style = 1; style <= 176; ++style) {
    const auto region = Shape(style, 160, 120, 50, 4);
    if (!region)
      continue;
    ++members;
    EXPECT_GT(AreaInFrame(region, 160, 120), 0) << style;
  }
  EXPECT_EQ(members, 39);
}

namespace {

// A recipe made the way the platform makes it: each step's region merged into
// the result of the steps before it, one CombineRgn at a time.
TRegion OneByOne(const effects::TShapeRecipe& recipe)
{
  const auto step = [](const effects::TShapeStep& s) {
    switch (s.Kind) {
    case effects::TShapeStep::skRects: return TRegion::FromRects(s.Rects);
    case effects::TShapeStep::skPolygon: return TRegion::FromPolygon(s.Points, WINDING);
    case effects::TShapeStep::skEllipse: return TRegion::FromEllipse(s.Box.Left, s.Box.Top, s.Box.Right, s.Box.Bottom);
    case effects::TShapeStep::skRoundRect:
      return TRegion::FromRoundRect(s.Box.Left, s.Box.Top, s.Box.Right, s.Box.Bottom, s.EllipseWidth, s.EllipseHeight);
    case effects::TShapeStep::skRectangle:
      return TRegion::FromRectangle(s.Box.Left, s.Box.Top, s.Box.Right, s.Box.Bottom);
    }
    return TRegion();
  };
  TRegion result = step(recipe.front());
  for (size_t i = 1; i < recipe.size(); ++i)
    result = TRegion::Combine(result, step(recipe[i]), recipe[i].Mode);
  return result;
}

effects::TShapeStep PolygonStep(std::vector<TPoint> points, int mode)
{
  effects::TShapeStep s;
  s.Kind = effects::TShapeStep::skPolygon;
  s.Mode = mode;
  s.Points = std::move(points);
  return s;
}

} // namespace

// Unions are built in one pass (convex polygons as one polygon set, other
// shapes by one sweep over all their rectangles); the pixels must be those of
// merging the parts one by one, as the platform does.
TEST(ShapeUnion, OnePassGivesThePixelsOfMergingOneByOne)
{
  for (const auto& frame : {std::pair{400, 300}, std::pair{37, 91}, std::pair{3, 2}})
    for (const int style : {114, 115, 116, 117, 118, 153, 158, 159, 160, 164})
      for (int32_t progress = 1; progress <= 99; progress += 7) {
        const int32_t w = frame.first, h = frame.second;
        const auto size = effects::ProgressSize(w, h, progress);
        const effects::TShapeRecipe recipe =
          effects::ShapeRecipe(effects::TShowStyle(style), w, h, size.X, size.Y, progress, 0);
        ASSERT_FALSE(recipe.empty());
        const std::optional<TRegion> built = effects::BuildRegion(recipe);
        ASSERT_TRUE(built.has_value());
        EXPECT_EQ(*built, OneByOne(recipe)) << "style " << style << " at " << progress << " on " << w << "x" << h;
      }

  // Triangles running opposite ways overlap: their winding numbers would
  // cancel if the parts were not turned the same way first.
  const effects::TShapeRecipe opposite{PolygonStep({{0, 0}, {40, 0}, {0, 30}}, 0),
                                       PolygonStep({{10, 5}, {0, 35}, {45, 5}}, RGN_OR),
                                       PolygonStep({{20, 20}, {20, 20}, {30, 40}}, RGN_OR)}; // flat
  EXPECT_EQ(*effects::BuildRegion(opposite), OneByOne(opposite));
  // A part that is not convex (a self-crossing bow tie, a notched square)
  // is merged by the general sweep.
  const effects::TShapeRecipe mixed{PolygonStep({{0, 0}, {30, 30}, {30, 0}, {0, 30}}, 0),
                                    PolygonStep({{5, 5}, {25, 5}, {15, 12}, {25, 25}, {5, 25}}, RGN_OR),
                                    PolygonStep({{20, 10}, {50, 12}, {22, 40}}, RGN_OR)};
  EXPECT_EQ(*effects::BuildRegion(mixed), OneByOne(mixed));
}
