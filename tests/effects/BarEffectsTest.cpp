// Geometry of the bar, shred, blind and square effects: which pixels each
// pattern reveals, how the random ones use the generator.
#include "effects/BarEffects.h"
#include "effects/EffectTable.h"
#include "gfx/GdiConstants.h"
#include "gfx/Random.h"

#include <gtest/gtest.h>

#include <optional>

using effects::BarFamilyRegion;
using effects::BarRegion;
using effects::ShredRegion;
using effects::SpeckleRegion;
using gfx::TRegion;

namespace {

bool In(const std::optional<TRegion>& r, int32_t x, int32_t y)
{
  return r && r->Contains(x, y);
}

// The columns of row y inside the region, as [first, last] or (-1, -1).
std::pair<int32_t, int32_t> RowSpan(const std::optional<TRegion>& r, int32_t y, int32_t w)
{
  int32_t first = -1, last = -1;
  for (int32_t x = 0; x < w; ++x)
    if (In(r, x, y)) {
      if (first < 0)
        first = x;
      last = x;
    }
  return {first, last};
}

int64_t AreaInFrame(const std::optional<TRegion>& r, int32_t w, int32_t h)
{
  return r ? r->Intersected({0, 0, w, h}).Area() : 0;
}

// Keeps the shared generator's seed for the test, whatever the code under
// test does with it.
struct TSeedKeeper {
  uint32_t Saved = gfx::RandSeed;
  ~TSeedKeeper() { gfx::RandSeed = Saved; }
};

} // namespace

TEST(BarRegion, FirstPhaseSweepsEvenBarsThenSecondPhaseOddBars)
{
  // 100 x 100: bars 3 thick.
  const auto early = BarRegion(60, 0, 100, 100, 1, 0);
  for (int32_t y : {0, 2, 6, 8, 96, 98})
    EXPECT_EQ(RowSpan(early, y, 100), std::make_pair(40, 99)) << y;
  for (int32_t y : {3, 5, 9, 11, 99})
    EXPECT_EQ(RowSpan(early, y, 100), std::make_pair(-1, -1)) << y;

  const auto late = BarRegion(160, 0, 100, 100, 1, 0);
  for (int32_t y : {0, 2, 6, 96})
    EXPECT_EQ(RowSpan(late, y, 100), std::make_pair(0, 99)) << y;
  for (int32_t y : {3, 5, 9, 99})
    EXPECT_EQ(RowSpan(late, y, 100), std::make_pair(40, 99)) << y;

  // Kind 2 comes from the left; 4 starts left and ends right; 5 the reverse.
  EXPECT_EQ(RowSpan(BarRegion(60, 0, 100, 100, 2, 0), 0, 100), std::make_pair(0, 59));
  EXPECT_EQ(RowSpan(BarRegion(160, 0, 100, 100, 2, 0), 3, 100), std::make_pair(0, 59));
  EXPECT_EQ(RowSpan(BarRegion(60, 0, 100, 100, 4, 0), 0, 100), std::make_pair(0, 59));
  EXPECT_EQ(RowSpan(BarRegion(160, 0, 100, 100, 4, 0), 3, 100), std::make_pair(40, 99));
  EXPECT_EQ(RowSpan(BarRegion(60, 0, 100, 100, 5, 0), 0, 100), std::make_pair(40, 99));
  EXPECT_EQ(RowSpan(BarRegion(160, 0, 100, 100, 5, 0), 3, 100), std::make_pair(0, 59));
}

TEST(BarRegion, BothSidesGrowEvenBarsFromTheRightAndOddFromTheLeft)
{
  const auto both = BarRegion(30, 0, 100, 100, 3, 0);
  EXPECT_EQ(RowSpan(both, 0, 100), std::make_pair(70, 99));
  EXPECT_EQ(RowSpan(both, 3, 100), std::make_pair(0, 29));
  EXPECT_EQ(RowSpan(both, 7, 100), std::make_pair(70, 99));
  EXPECT_EQ(RowSpan(both, 10, 100), std::make_pair(0, 29));
}

TEST(BarRegion, ColumnsMirrorRows)
{
  // 80 wide, 120 high: bars Min(80, 120) div 50 + 1 = 2 thick.
  const auto columns = BarRegion(0, 50, 80, 120, 0, 1);
  for (int32_t x : {0, 1, 4, 5}) {
    EXPECT_TRUE(In(columns, x, 119));
    EXPECT_TRUE(In(columns, x, 70));
    EXPECT_FALSE(In(columns, x, 69));
  }
  for (int32_t x : {2, 3, 6})
    EXPECT_FALSE(In(columns, x, 119));
  const auto late = BarRegion(0, 170, 80, 120, 0, 2);
  EXPECT_TRUE(In(late, 0, 119));  // even columns full
  EXPECT_TRUE(In(late, 2, 49));   // odd columns from the top, 170 - 120 long
  EXPECT_FALSE(In(late, 2, 50));
}

TEST(BarFamily, CrissCrossFromBottomLeftTopRightIsTheOverlapOfTwoPatterns)
{
  const int32_t w = 200, h = 150;
  for (int32_t progress : {5, 30, 60, 90}) {
    const auto size = effects::ProgressSize(w, h, progress);
    const auto both = BarFamilyRegion(99, w, h, size.X, size.Y, progress, 0);
    const auto a = BarRegion(2 * size.X, 2 * size.Y, w, h, 1, 1);
    const auto b = BarRegion(2 * size.X, 2 * size.Y, w, h, 2, 2);
    ASSERT_TRUE(both && a && b);
    EXPECT_EQ(*both, TRegion::Combine(*a, *b, RGN_AND));
    // The overlap is smaller than either pattern.
    EXPECT_LE(both->Area(), a->Area());
    EXPECT_LE(both->Area(), b->Area());
  }
  // Early on the two patterns barely meet.
  const auto size = effects::ProgressSize(w, h, 5);
  EXPECT_LT(AreaInFrame(BarFamilyRegion(99, w, h, size.X, size.Y, 5, 0), w, h), w * h / 100);
}

TEST(ShredRegion, ShredsOverlapByTheGapAndJitterWithinATenth)
{
  TSeedKeeper keeper;
  // 203 x 401: shreds 203 div 200 + 1 = 2 thick, rows overlap by 401 mod 2 = 1.
  const int32_t w = 203, h = 401, xLen = 100, jitter = w / 10;
  gfx::RandSeed = 1234;
  const auto shreds = ShredRegion(xLen, 0, w, h, 1, 0);
  // Rows start every 2 pixels: 201 draws.
  uint32_t expectedSeed = 1234;
  for (int i = 0; i < 201; ++i)
    expectedSeed = expectedSeed * 134775813u + 1u;
  EXPECT_EQ(gfx::RandSeed, expectedSeed);
  for (int32_t y = 0; y < h; ++y) {
    const auto [first, last] = RowSpan(shreds, y, w);
    ASSERT_EQ(last, w - 1) << y;
    ASSERT_GE(w - first, xLen - jitter) << y;
    ASSERT_LT(w - first, xLen + jitter) << y;
  }
  // A new frame jitters the ends anew.
  const auto again = ShredRegion(xLen, 0, w, h, 1, 0);
  EXPECT_FALSE(again == shreds);
}

TEST(ShredRegion, FullLengthCoversTheFrameWithoutJitter)
{
  TSeedKeeper keeper;
  const int32_t w = 120, h = 90;
  for (int32_t kind : {1, 2, 3}) {
    const auto rows = ShredRegion(w, 0, w, h, kind, 0);
    EXPECT_EQ(AreaInFrame(rows, w, h), w * h) << kind;
    const auto columns = ShredRegion(0, h, w, h, 0, kind);
    EXPECT_EQ(AreaInFrame(columns, w, h), w * h) << kind;
  }
  // In from both edges: each half is len div 2 long.
  const auto edges = ShredRegion(w, 0, w, h, 4, 0);
  EXPECT_EQ(RowSpan(edges, 10, w), std::make_pair(0, w - 1));
  // Out from the middle: both halves meet at W div 2.
  const auto middle = ShredRegion(40, 0, 121, 90, 3, 0);
  EXPECT_TRUE(In(middle, 60, 0) || In(middle, 59, 0));
}

TEST(SpeckleRegion, SolidPartAndFirstCellAlwaysShowNothingBeyondTheFringe)
{
  TSeedKeeper keeper;
  // W = 400: fringe 40 deep, cells 2 wide, strips every pixel, 20 cells.
  const int32_t w = 400, h = 30, xLen = 100;
  gfx::RandSeed = 77;
  const auto fromRight = SpeckleRegion(xLen, 0, w, h, 1, 0);
  for (int32_t y = 0; y < h; ++y) {
    ASSERT_TRUE(In(fromRight, w - xLen, y));
    ASSERT_TRUE(In(fromRight, w - 1, y));
    ASSERT_TRUE(In(fromRight, w - xLen - 1, y)) << "cell 1, row " << y;
    ASSERT_FALSE(In(fromRight, w - xLen - 41, y)) << "beyond the fringe, row " << y;
  }
  // Some cells far out show and some do not.
  int64_t fringe = AreaInFrame(fromRight, w, h) - int64_t(xLen) * h;
  EXPECT_GT(fringe, 2 * h);
  EXPECT_LT(fringe, 40 * h);

  const auto fromTop = SpeckleRegion(0, 20, 50, 200, 0, 2);
  for (int32_t x = 0; x < 50; ++x) {
    ASSERT_TRUE(In(fromTop, x, 0));
    ASSERT_TRUE(In(fromTop, x, 20)) << "cell 1, column " << x;
    ASSERT_FALSE(In(fromTop, x, 41)) << "beyond the fringe, column " << x;
  }
}

TEST(RandomSquares, StableForOnePictureAndTheSeedIsKept)
{
  TSeedKeeper keeper;
  const int32_t w = 200, h = 120; // cells 120 div 50 + 1 = 3, squares 6 wide
  gfx::RandSeed = 555;
  const auto first = BarFamilyRegion(128, w, h, 0, 0, 40, 0xBEEF);
  EXPECT_EQ(gfx::RandSeed, 555u);
  const auto second = BarFamilyRegion(128, w, h, 0, 0, 40, 0xBEEF);
  ASSERT_TRUE(first && second);
  EXPECT_EQ(*first, *second);
  EXPECT_FALSE(*first == *BarFamilyRegion(128, w, h, 0, 0, 40, 0xBEF0));
  // About Progress percent show, and more progress only adds squares.
  const auto later = BarFamilyRegion(128, w, h, 0, 0, 70, 0xBEEF);
  ASSERT_TRUE(later);
  EXPECT_EQ(TRegion::Combine(*first, *later, RGN_DIFF), TRegion());
  const double share = double(AreaInFrame(first, w, h)) / double(w * h);
  EXPECT_NEAR(share, 0.40, 0.08);
  // Squares sit on the 6-pixel grid.
  for (const gfx::TRect& r : first->Rects()) {
    EXPECT_EQ(r.Left % 6, 0);
    EXPECT_EQ(r.Top % 6, 0);
  }
}

TEST(Blinds, SlatsOpenAboutTheirCentres)
{
  // W = 400: n = 11, pitch 22; Progress 50 gives a = 6, twelve columns per slat.
  const auto blinds = BarFamilyRegion(137, 400, 50, 200, 25, 50, 0);
  EXPECT_EQ(RowSpan(blinds, 0, 22), std::make_pair(5, 16));
  EXPECT_TRUE(In(blinds, 22 + 5, 49));
  EXPECT_FALSE(In(blinds, 22 + 4, 49));
  // Slats start at 0, 22, ..., 396; the last one opens at 401, outside the frame.
  EXPECT_EQ(AreaInFrame(blinds, 400, 50), 18 * 12 * 50);
  const auto rows = BarFamilyRegion(138, 50, 400, 25, 200, 50, 0);
  EXPECT_TRUE(In(rows, 0, 5));
  EXPECT_TRUE(In(rows, 49, 16));
  EXPECT_FALSE(In(rows, 0, 17));
  EXPECT_FALSE(In(rows, 0, 4));
}

TEST(Blinds, UnevenBlindPitchGrowsWithProgress)
{
  EXPECT_FALSE(BarFamilyRegion(139, 400, 300, 0, 0, 1, 0).has_value());
  EXPECT_FALSE(BarFamilyRegion(142, 400, 300, 0, 0, 1, 0).has_value());
  // Progress 50 on 400 x 300: X = 200, slats 100 wide every 200 columns.
  const auto left = BarFamilyRegion(139, 400, 300, 200, 150, 50, 0);
  EXPECT_EQ(RowSpan(left, 0, 200), std::make_pair(0, 99));
  EXPECT_EQ(RowSpan(left, 299, 400).second, 299);
  EXPECT_FALSE(In(left, 300, 0));
  const auto right = BarFamilyRegion(140, 400, 300, 200, 150, 50, 0);
  EXPECT_TRUE(In(right, 300, 0));
  EXPECT_TRUE(In(right, 100, 0));
  EXPECT_FALSE(In(right, 99, 0));
  EXPECT_FALSE(In(right, 299, 0));
  // Y = 150, slats 75 high.
  const auto top = BarFamilyRegion(141, 400, 300, 200, 150, 50, 0);
  EXPECT_TRUE(In(top, 0, 74));
  EXPECT_FALSE(In(top, 0, 75));
  EXPECT_TRUE(In(top, 0, 150));
  const auto bottom = BarFamilyRegion(142, 400, 300, 200, 150, 50, 0);
  EXPECT_TRUE(In(bottom, 0, 299));
  EXPECT_TRUE(In(bottom, 0, 225));
  EXPECT_FALSE(In(bottom, 0, 224));
}

TEST(Blinds, RectangularShredGrowsSquaresFromGridCentres)
{
  // 200 x 100: n = 11, squares about (11, 11), (33, 11), ...; a = 6 at 50.
  const auto grid = BarFamilyRegion(143, 200, 100, 100, 50, 50, 0);
  EXPECT_TRUE(In(grid, 5, 5));
  EXPECT_TRUE(In(grid, 16, 16));
  EXPECT_FALSE(In(grid, 17, 11));
  EXPECT_FALSE(In(grid, 11, 4));
  EXPECT_TRUE(In(grid, 33, 33));
}

TEST(Rectangles, StripesThickenAndSlatsFill)
{
  // 400 x 200 at Progress 50: s = 10, a = 5, stripes about y = -10, 20, 50, ...;
  // slats of pitch X = 200, 100 wide.
  const auto r146 = BarFamilyRegion(146, 400, 200, 200, 100, 50, 0);
  EXPECT_TRUE(In(r146, 399, 15));
  EXPECT_TRUE(In(r146, 399, 24));
  EXPECT_FALSE(In(r146, 399, 25));
  EXPECT_FALSE(In(r146, 399, 14));
  EXPECT_TRUE(In(r146, 399, 45));
  EXPECT_TRUE(In(r146, 0, 30));
  EXPECT_TRUE(In(r146, 299, 30));
  EXPECT_FALSE(In(r146, 399, 30));
  const auto r147 = BarFamilyRegion(147, 400, 200, 200, 100, 50, 0);
  EXPECT_TRUE(In(r147, 399, 30));
  EXPECT_FALSE(In(r147, 0, 30));
  // Columns: s = W div 20.
  const auto r148 = BarFamilyRegion(148, 400, 200, 200, 100, 50, 0);
  EXPECT_TRUE(In(r148, 35, 199)); // stripe about x = 40, a = 10
  EXPECT_FALSE(In(r148, 29, 199));
  EXPECT_TRUE(In(r148, 0, 49));  // slat from the top
  const auto r149 = BarFamilyRegion(149, 400, 200, 200, 100, 50, 0);
  EXPECT_TRUE(In(r149, 0, 199));
  EXPECT_FALSE(In(r149, 0, 49));
  // Too narrow or no progress length: nothing.
  EXPECT_FALSE(BarFamilyRegion(148, 19, 200, 10, 100, 50, 0).has_value());
  EXPECT_FALSE(BarFamilyRegion(146, 400, 19, 200, 10, 50, 0).has_value());
  EXPECT_FALSE(BarFamilyRegion(146, 400, 200, 0, 0, 50, 0).has_value());
}

TEST(BarFamily, EveryPatternMemberRevealsSomethingAndOnlyItsOwnStyles)
{
  TSeedKeeper keeper;
  int members = 0;
  for (int style = 1; style <= 176; ++style) {
    const auto region = BarFamilyRegion(effects::TShowStyle(style), 64, 48, 32, 24, 50, 2);
    if (!region)
      continue;
    ++members;
    EXPECT_GT(AreaInFrame(region, 64, 48), 0) << style;
  }
  // 58 members, all of which show something half-way on this frame.
  EXPECT_EQ(members, 58);
}
