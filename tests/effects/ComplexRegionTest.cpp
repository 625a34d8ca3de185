#include "effects/ComplexRegion.h"

#include "framework/Bitmap.h"
#include "framework/Canvas.h"

#include <gtest/gtest.h>

#include <numbers>
#include <stdexcept>
#include <vector>

namespace effects {
namespace {

using gfx::TPoint;
using gfx::TRect;

TEST(ComplexRegion, NewBuilderMakesNoRegion)
{
  TComplexRegion builder;
  EXPECT_EQ(builder.Count(), 0);
  EXPECT_EQ(builder.Capacity(), 0);
  EXPECT_EQ(builder.Bounds(), (TRect{2147483647, 2147483647, -2147483647, -2147483647}));
  EXPECT_FALSE(builder.CreateRegion().has_value());
}

TEST(ComplexRegion, GrowsByFiveHundredAndKeepsWhatItHolds)
{
  TComplexRegion builder;
  builder.AddRect(10, 20, 30, 40);
  EXPECT_EQ(builder.Bounds(), (TRect{10, 20, 30, 40}));
  EXPECT_EQ(builder.Count(), 1);
  EXPECT_EQ(builder.Capacity(), 500);
  for (int32_t i = 1; i < 500; ++i)
    builder.AddRect(i, 0, i + 1, 1);
  EXPECT_EQ(builder.Capacity(), 500);
  builder.AddRect(-5, -6, 0, 0);
  EXPECT_EQ(builder.Count(), 501);
  EXPECT_EQ(builder.Capacity(), 1000);
  EXPECT_EQ(builder.Rects()[0], (TRect{10, 20, 30, 40}));
  EXPECT_EQ(builder.Rects()[499], (TRect{499, 0, 500, 1}));
  EXPECT_EQ(builder.Rects()[500], (TRect{-5, -6, 0, 0}));
  EXPECT_EQ(builder.Bounds(), (TRect{-5, -6, 500, 40}));
  builder.Clear();
  EXPECT_EQ(builder.Count(), 0);
  EXPECT_EQ(builder.Capacity(), 0);
  EXPECT_FALSE(builder.CreateRegion().has_value());
}

TEST(ComplexRegion, StoresInvertedRectanglesAsGiven)
{
  TComplexRegion builder;
  builder.AddRect(30, 0, 10, 5);
  EXPECT_EQ(builder.Rects()[0], (TRect{30, 0, 10, 5}));
  EXPECT_EQ(builder.Bounds(), (TRect{30, 0, 10, 5}));
  // The region of an inverted rectangle holds nothing, but it is a region.
  const std::optional<gfx::TRegion> region = builder.CreateRegion();
  ASSERT_TRUE(region.has_value());
  EXPECT_TRUE(region->IsEmpty());
}

TEST(ComplexRegion, RegionIsTheUnionOfOverlappingRectangles)
{
  TComplexRegion builder;
  builder.AddRect(0, 0, 4, 4);
  builder.AddRect(2, 2, 6, 6);
  builder.AddRect(10, 10, 10, 12); // empty: adds no pixel
  const std::optional<gfx::TRegion> region = builder.CreateRegion();
  ASSERT_TRUE(region.has_value());
  EXPECT_EQ(region->Area(), 16 + 16 - 4);
  EXPECT_TRUE(region->Contains(5, 5));
  EXPECT_TRUE(region->Contains(0, 3));
  EXPECT_FALSE(region->Contains(5, 0));
  EXPECT_FALSE(region->Contains(10, 10));
  EXPECT_EQ(builder.Count(), 3); // the builder keeps its rectangles
}

TEST(PolygonShapes, SectorVerticesStopOneStepShortOfTheEnd)
{
  const std::vector<TPoint> points = SectorPoints(100, 100, 50, -std::numbers::pi_v<long double> / 2, 0, 2);
  EXPECT_EQ(points, (std::vector<TPoint>{{100, 100}, {100, 50}, {135, 65}}));
  // Vertices are rounded halves-to-even: cos(pi/3) * 5 = 2.5 gives 2.
  const std::vector<TPoint> half = SectorPoints(0, 0, 5, std::numbers::pi_v<long double> / 3, 1, 1);
  EXPECT_EQ(half[1].X, 2);
}

TEST(PolygonShapes, SectorRegionIsTheWindingPolygonOfItsVertices)
{
  const gfx::TRegion sector = SectorRegion(100, 100, 50, -std::numbers::pi_v<long double> / 2, 0, 2);
  const std::vector<TPoint> points{{100, 100}, {100, 50}, {135, 65}};
  EXPECT_EQ(sector, gfx::TRegion::FromPolygon(points, WINDING));
  EXPECT_FALSE(sector.IsEmpty());
}

TEST(PolygonShapes, PolygonRegionPairsTheCoordinates)
{
  const std::vector<int32_t> coords{0, 0, 10, 0, 10, 10, 0, 10, 99};
  const gfx::TRegion square = PolygonRegion(coords);
  EXPECT_EQ(square, gfx::TRegion(TRect{0, 0, 10, 10}));
  // A self-crossing star keeps its centre under the winding rule.
  const std::vector<int32_t> star{50, 0, 79, 90, 2, 35, 98, 35, 21, 90};
  EXPECT_TRUE(PolygonRegion(star).Contains(50, 50));
}

TEST(PolygonShapes, RotatePointsTurnsClockwiseOnScreen)
{
  std::vector<TPoint> points{{10, 0}, {3, 4}, {7, 7}};
  RotatePoints(points, 0, 0, std::numbers::pi_v<long double> / 2);
  EXPECT_EQ(points[0], (TPoint{0, 10}));
  EXPECT_EQ(points[1], (TPoint{-4, 3}));
  // About another origin: a half turn mirrors through it.
  std::vector<TPoint> around{{7, 7}, {5, 9}};
  RotatePoints(around, 5, 5, std::numbers::pi_v<long double>);
  EXPECT_EQ(around, (std::vector<TPoint>{{3, 3}, {5, 1}}));
}

// Old image 0x11..., new picture 0x22...: every pixel tells where it came from.
struct TRevealFixture : ::testing::Test {
  framework::TBitmap Screen{8, 6};
  framework::TBitmap Picture{8, 6};
  void SetUp() override
  {
    Screen.Pixmap().Fill(0x111111);
    Picture.Pixmap().Fill(0x222222);
  }
  [[nodiscard]] int CountNew() const
  {
    int n = 0;
    for (int32_t y = 0; y < 6; ++y)
      for (int32_t x = 0; x < 8; ++x)
        n += Screen.Pixmap().At(x, y) == 0x222222;
    return n;
  }
};

TEST_F(TRevealFixture, RevealsThroughTheRegionAndUnclips)
{
  RevealRects(Screen, Picture, 8, 6, [](TComplexRegion& r) {
    r.AddRect(1, 1, 3, 2);
    r.AddRect(6, 4, 20, 20); // reaches outside the frame
  });
  EXPECT_EQ(CountNew(), 2 + 2 * 2);
  EXPECT_EQ(Screen.Pixmap().At(1, 1), 0x222222u);
  EXPECT_EQ(Screen.Pixmap().At(7, 5), 0x222222u);
  EXPECT_EQ(Screen.Pixmap().At(0, 0), 0x111111u);
  EXPECT_FALSE(Screen.Context().ClipRegion().has_value());
}

TEST_F(TRevealFixture, NoRegionDrawsNothing)
{
  RevealRects(Screen, Picture, 8, 6, [](TComplexRegion&) {});
  RevealRegion(Screen, Picture, 8, 6, std::optional<gfx::TRegion>{});
  EXPECT_EQ(CountNew(), 0);
  EXPECT_FALSE(Screen.Context().ClipRegion().has_value());
}

TEST_F(TRevealFixture, FailureWhileBuildingLeavesNoClipping)
{
  EXPECT_THROW(RevealRects(Screen, Picture, 8, 6,
                           [](TComplexRegion& r) {
                             r.AddRect(0, 0, 8, 6);
                             throw std::bad_alloc();
                           }),
               std::bad_alloc);
  EXPECT_EQ(CountNew(), 0);
  EXPECT_FALSE(Screen.Context().ClipRegion().has_value());
}

TEST_F(TRevealFixture, ClipResetRemovesClippingWhenDrawingThrows)
{
  gfx::TDCHandle dc = Screen.Canvas().Handle();
  const gfx::TRegion region(TRect{0, 0, 2, 2});
  try {
    TClipReset reset(dc);
    gfx::SelectClipRgn(dc, &region);
    ASSERT_TRUE(Screen.Context().ClipRegion().has_value());
    throw std::runtime_error("drawing failed");
  } catch (const std::runtime_error&) {
  }
  EXPECT_FALSE(Screen.Context().ClipRegion().has_value());
}

} // namespace
} // namespace effects
