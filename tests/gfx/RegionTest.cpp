#include "gfx/Region.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <limits>
#include <random>
#include <vector>

using gfx::TPoint;
using gfx::TRect;
using gfx::TRegion;

namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

// Every pixel of the box that the predicate holds must be in the region and
// no other; the region must also lie inside the box.
void ExpectPixels(const TRegion& region, const TRect& box, const std::function<bool(int32_t, int32_t)>& inside,
                  const char* what)
{
  int mismatches = 0;
  for (int32_t y = box.Top; y < box.Bottom; ++y)
    for (int32_t x = box.Left; x < box.Right; ++x)
      if (region.Contains(x, y) != inside(x, y) && ++mismatches <= 5)
        ADD_FAILURE() << what << ": pixel (" << x << ", " << y << ") expected " << inside(x, y);
  if (!region.IsEmpty()) {
    EXPECT_TRUE(box.Contains(region.Bounds())) << what;
  }
}

// The banded form: sorted bands, equal tops and bottoms inside a band,
// spans neither overlapping nor touching, equal neighbouring bands merged.
void ExpectBanded(const TRegion& region)
{
  const auto rects = region.Rects();
  size_t bandStart = 0;
  for (size_t i = 0; i < rects.size(); ++i) {
    ASSERT_FALSE(rects[i].IsEmpty());
    if (i > 0 && rects[i].Top == rects[i - 1].Top) {
      ASSERT_EQ(rects[i].Bottom, rects[i - 1].Bottom);
      ASSERT_GT(rects[i].Left, rects[i - 1].Right) << "spans overlap or touch";
      continue;
    }
    if (i > 0) {
      ASSERT_GE(rects[i].Top, rects[i - 1].Bottom) << "bands overlap";
      // A band that touches the previous one must differ from it.
      if (rects[i].Top == rects[i - 1].Bottom) {
        size_t end = i;
        while (end < rects.size() && rects[end].Top == rects[i].Top)
          ++end;
        bool same = end - i == i - bandStart;
        for (size_t k = 0; same && k < end - i; ++k)
          same = rects[i + k].Left == rects[bandStart + k].Left && rects[i + k].Right == rects[bandStart + k].Right;
        ASSERT_FALSE(same) << "equal bands not merged at y " << rects[i].Top;
      }
    }
    bandStart = i;
  }
}

// Independent statement of the polygon rule: a pixel centre (x, y) is inside
// when the edges crossing row y at or left of x wind (WINDING) or count
// (ALTERNATE) to inside; an edge covers rows top <= y < bottom.
bool InsidePolygon(const std::vector<TPoint>& pts, int mode, int64_t x, int64_t y)
{
  int winding = 0;
  int count = 0;
  for (size_t i = 0; i < pts.size(); ++i) {
    TPoint a = pts[i];
    TPoint b = pts[(i + 1) % pts.size()];
    if (a.Y == b.Y)
      continue;
    const int dir = a.Y < b.Y ? 1 : -1;
    if (a.Y > b.Y)
      std::swap(a, b);
    if (y < a.Y || y >= b.Y)
      continue;
    const int64_t dy = int64_t(b.Y) - a.Y;
    // edge x at row y <= x  <=>  (y - a.Y) * dx <= (x - a.X) * dy; the
    // products need up to 64 bits of magnitude, which the extended type
    // holds exactly.
    using Wide = long double;
    if (Wide(y - a.Y) * Wide(int64_t(b.X) - a.X) <= Wide(x - a.X) * Wide(dy)) {
      winding += dir;
      ++count;
    }
  }
  return mode == ALTERNATE ? (count & 1) != 0 : winding != 0;
}

} // namespace

TEST(RegionRects, SingleRectanglesAreExclusiveAndNormalisedOnlyByFromRectangle)
{
  const TRegion r(TRect{2, 3, 5, 4});
  EXPECT_TRUE(r.Contains(2, 3));
  EXPECT_TRUE(r.Contains(4, 3));
  EXPECT_FALSE(r.Contains(5, 3));
  EXPECT_FALSE(r.Contains(2, 4));
  EXPECT_EQ(r.Kind(), SIMPLEREGION);
  EXPECT_TRUE(TRegion(TRect{5, 3, 2, 4}).IsEmpty());
  EXPECT_EQ(TRegion::FromRectangle(5, 4, 2, 3), r);
  EXPECT_EQ(TRegion().Kind(), NULLREGION);
  EXPECT_EQ(TRegion().Bounds(), TRect{});
}

TEST(RegionRects, UnsortedOverlappingListsGiveTheirUnion)
{
  std::mt19937 rng(1234);
  for (int round = 0; round < 200; ++round) {
    std::vector<TRect> rects;
    const int n = int(rng() % 12);
    for (int i = 0; i < n; ++i) {
      // Empty and inverted rectangles are part of the mix.
      rects.push_back({int32_t(rng() % 40) - 5, int32_t(rng() % 40) - 5, int32_t(rng() % 40) - 5,
                       int32_t(rng() % 40) - 5});
    }
    const TRegion region = TRegion::FromRects(rects);
    ExpectBanded(region);
    ExpectPixels(region, {-6, -6, 36, 36}, [&](int32_t x, int32_t y) {
      for (const TRect& r : rects)
        if (r.Contains(TPoint{x, y}))
          return true;
      return false;
    }, "FromRects");
  }
}

// Long lists take the sorting and merging paths that short ones never reach:
// unsorted lists of hundreds, many rectangles sharing one top, lists already
// in order. The oracle paints every rectangle into a grid.
TEST(RegionRects, LongListsGiveTheirUnionWhateverTheirOrder)
{
  std::mt19937 rng(99);
  const TRect box{-20, -20, 320, 220};
  for (int round = 0; round < 30; ++round) {
    std::vector<TRect> rects;
    const int n = 64 + int(rng() % 400);
    const int32_t sharedTop = int32_t(rng() % 150);
    for (int i = 0; i < n; ++i) {
      const int32_t left = int32_t(rng() % 260) - 10;
      const int32_t top = (i % 3 == 0) ? sharedTop : int32_t(rng() % 170) - 10;
      rects.push_back({left, top, left + int32_t(rng() % 40) - 2, top + 1 + int32_t(rng() % 30)});
    }
    if (round % 5 == 0) // already in order: the sort is skipped
      std::sort(rects.begin(), rects.end(),
                [](const TRect& a, const TRect& b) { return a.Top != b.Top ? a.Top < b.Top : a.Left < b.Left; });
    std::vector<uint8_t> grid(size_t(box.Width()) * size_t(box.Height()), 0);
    for (const TRect& r : rects)
      for (int32_t y = std::max(r.Top, box.Top); y < std::min(r.Bottom, box.Bottom); ++y)
        for (int32_t x = std::max(r.Left, box.Left); x < std::min(r.Right, box.Right); ++x)
          grid[size_t(y - box.Top) * size_t(box.Width()) + size_t(x - box.Left)] = 1;
    const TRegion region = TRegion::FromRects(rects);
    ExpectBanded(region);
    ExpectPixels(region, box, [&](int32_t x, int32_t y) {
      return grid[size_t(y - box.Top) * size_t(box.Width()) + size_t(x - box.Left)] != 0;
    }, "FromRects, long list");
    // The same pixels whatever the order of the list.
    std::shuffle(rects.begin(), rects.end(), rng);
    EXPECT_EQ(TRegion::FromRects(rects), region);
  }
}

TEST(RegionRects, UnionOfManyRegionsEqualsCombiningThemOneByOne)
{
  std::mt19937 rng(7);
  for (int round = 0; round < 60; ++round) {
    std::vector<TRegion> parts;
    const int n = int(rng() % 40);
    for (int i = 0; i < n; ++i) {
      const int32_t x = int32_t(rng() % 200) - 20;
      const int32_t y = int32_t(rng() % 150) - 20;
      const int32_t w = int32_t(rng() % 60);
      const int32_t h = int32_t(rng() % 60);
      switch (rng() % 4) {
      case 0: parts.push_back(TRegion::FromEllipse(x, y, x + w, y + h)); break;
      case 1: parts.push_back(TRegion::FromPolygon(std::vector<TPoint>{{x, y}, {x + w, y + h / 2}, {x, y + h}}, WINDING)); break;
      case 2: parts.push_back(TRegion(TRect{x, y, x + w, y + h})); break; // may be empty
      default: parts.push_back(TRegion::FromRects(std::vector<TRect>{{x, y, x + w, y + 3}, {x + 5, y + 2, x + 9, y + h}})); break;
      }
    }
    TRegion folded;
    for (const TRegion& part : parts)
      folded = TRegion::Combine(folded, part, RGN_OR);
    const TRegion swept = TRegion::FromUnion(parts);
    ExpectBanded(swept);
    EXPECT_EQ(swept, folded) << "round " << round;
    EXPECT_EQ(swept.Bounds(), folded.Bounds());
  }
}

TEST(RegionRects, EqualPixelSetsCompareEqualWhateverTheirHistory)
{
  const std::vector<TRect> a{{0, 0, 10, 5}, {0, 5, 10, 10}};
  const std::vector<TRect> b{{5, 0, 10, 10}, {0, 0, 5, 10}, {2, 2, 3, 3}};
  EXPECT_EQ(TRegion::FromRects(a), TRegion(TRect{0, 0, 10, 10}));
  EXPECT_EQ(TRegion::FromRects(b), TRegion(TRect{0, 0, 10, 10}));
  EXPECT_EQ(TRegion::FromRects(a).RectCount(), 1u);
  EXPECT_FALSE(TRegion::FromRects(a) == TRegion(TRect{0, 0, 10, 9}));
}

TEST(RegionRects, ExtremeCoordinatesAreClampedNotOverflowed)
{
  const TRegion huge(TRect{kMin, kMin, kMax, kMax});
  EXPECT_TRUE(huge.Contains(0, 0));
  EXPECT_TRUE(huge.Contains(-100000000, 100000000));
  EXPECT_EQ(huge.Bounds().Right, TRegion::kCoordLimit);
  const std::vector<TRect> list{{kMax - 1, 0, kMax, 10}, {kMin, kMin, kMin + 1, kMin + 1}, {0, 0, 4, 4}};
  EXPECT_EQ(TRegion::FromRects(list), TRegion(TRect{0, 0, 4, 4}));
  // Offsets saturate instead of wrapping around.
  TRegion moved = TRegion(TRect{0, 0, 10, 10}).Offsetted(kMax, kMax);
  EXPECT_FALSE(moved.Contains(5, 5));
  EXPECT_FALSE(moved.Contains(kMin + 5, kMin + 5));
  TRegion back = huge;
  back.Offset(kMin, 0);
  EXPECT_TRUE(back.IsEmpty()); // squeezed against the limit
}

TEST(RegionCombine, EveryModeMatchesThePixelRule)
{
  std::mt19937 rng(99);
  const auto randomRegion = [&] {
    std::vector<TRect> rects;
    for (int i = 0; i < 5; ++i) {
      const int32_t x = int32_t(rng() % 30), y = int32_t(rng() % 30);
      rects.push_back({x, y, x + int32_t(rng() % 12), y + int32_t(rng() % 12)});
    }
    return std::pair{TRegion::FromRects(rects), rects};
  };
  for (int round = 0; round < 150; ++round) {
    const auto [a, ra] = randomRegion();
    const auto [b, rb] = randomRegion();
    for (int mode : {RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF, RGN_COPY}) {
      const TRegion c = TRegion::Combine(a, b, mode);
      ExpectBanded(c);
      ExpectPixels(c, {0, 0, 45, 45}, [&](int32_t x, int32_t y) {
        const bool inA = a.Contains(x, y), inB = b.Contains(x, y);
        switch (mode) {
        case RGN_AND: return inA && inB;
        case RGN_OR: return inA || inB;
        case RGN_XOR: return inA != inB;
        case RGN_DIFF: return inA && !inB;
        default: return inA;
        }
      }, "Combine");
    }
  }
  EXPECT_THROW((void)TRegion::Combine(TRegion(), TRegion(), 0), std::invalid_argument);
  EXPECT_THROW((void)TRegion::Combine(TRegion(), TRegion(), 6), std::invalid_argument);
}

TEST(RegionCombine, ResultsReportTheirKind)
{
  const TRegion a(TRect{0, 0, 10, 10});
  const TRegion b(TRect{5, 5, 15, 15});
  EXPECT_EQ(TRegion::Combine(a, b, RGN_AND).Kind(), SIMPLEREGION);
  EXPECT_EQ(TRegion::Combine(a, b, RGN_OR).Kind(), COMPLEXREGION);
  EXPECT_EQ(TRegion::Combine(a, a, RGN_DIFF).Kind(), NULLREGION);
  EXPECT_EQ(TRegion::Combine(a, b, RGN_XOR).Area(), 100 + 100 - 2 * 25);
}

TEST(RegionPolygon, RandomPolygonsFollowThePixelCentreRule)
{
  std::mt19937 rng(7);
  for (int round = 0; round < 300; ++round) {
    std::vector<TPoint> pts;
    const int n = 3 + int(rng() % 6);
    for (int i = 0; i < n; ++i)
      pts.push_back({int32_t(rng() % 40) - 4, int32_t(rng() % 40) - 4});
    for (int mode : {ALTERNATE, WINDING}) {
      const TRegion region = TRegion::FromPolygon(pts, mode);
      ExpectBanded(region);
      ExpectPixels(region, {-5, -5, 37, 37}, [&](int32_t x, int32_t y) { return InsidePolygon(pts, mode, x, y); },
                   "Polygon");
    }
  }
}

TEST(RegionPolygon, TopAndLeftEdgesAreInsideRightAndBottomOutside)
{
  const std::vector<TPoint> square{{0, 0}, {4, 0}, {4, 3}, {0, 3}};
  EXPECT_EQ(TRegion::FromPolygon(square, ALTERNATE), TRegion(TRect{0, 0, 4, 3}));
  // A star drawn in one stroke: its centre is a hole only with ALTERNATE.
  const std::vector<TPoint> star{{10, 0}, {16, 20}, {0, 7}, {20, 7}, {4, 20}};
  EXPECT_FALSE(TRegion::FromPolygon(star, ALTERNATE).Contains(10, 10));
  EXPECT_TRUE(TRegion::FromPolygon(star, WINDING).Contains(10, 10));
}

TEST(RegionPolygon, DegenerateInputGivesTheEmptyRegion)
{
  const std::vector<TPoint> two{{0, 0}, {10, 10}};
  const std::vector<TPoint> line{{0, 0}, {10, 10}, {20, 20}};
  const std::vector<TPoint> flat{{0, 5}, {10, 5}, {20, 5}};
  EXPECT_TRUE(TRegion::FromPolygon(two, ALTERNATE).IsEmpty());
  EXPECT_TRUE(TRegion::FromPolygon(line, WINDING).IsEmpty());
  EXPECT_TRUE(TRegion::FromPolygon(flat, ALTERNATE).IsEmpty());
  EXPECT_TRUE(TRegion::FromPolygon({}, ALTERNATE).IsEmpty());
  const std::vector<TPoint> tri{{0, 0}, {10, 0}, {0, 10}};
  EXPECT_TRUE(TRegion::FromPolygon(tri, 0).IsEmpty());
}

TEST(RegionPolygon, HugeCoordinatesStayExactNearTheOrigin)
{
  // The edge from (kMin, kMin) to (kMax, kMax) passes through the pixel
  // centres (x, x) only approximately; the region must still agree with the
  // exact rule where a bitmap could show it, and finish quickly.
  const std::vector<TPoint> pts{{kMin, kMin}, {kMax, kMax}, {kMin, kMax}};
  const TRegion region = TRegion::FromPolygon(pts, ALTERNATE);
  ExpectPixels(region.Intersected({-20, -20, 20, 20}), {-20, -20, 20, 20},
               [&](int32_t x, int32_t y) { return InsidePolygon(pts, ALTERNATE, x, y); }, "huge polygon");
  const std::vector<TPoint> far{{kMax - 10, kMax - 10}, {kMax, kMax - 10}, {kMax, kMax}};
  EXPECT_TRUE(TRegion::FromPolygon(far, WINDING).IsEmpty());
}

TEST(RegionEllipse, LeavesOutTheRightColumnAndBottomRowAndIsSymmetric)
{
  for (int32_t w = 1; w < 30; w += 3) {
    for (int32_t h = 1; h < 30; h += 4) {
      const TRegion e = TRegion::FromEllipse(10, 20, 10 + w, 20 + h);
      ExpectBanded(e);
      if (w < 3 || h < 3) {
        // Too thin for a corner: the rectangle less its right column and bottom row.
        EXPECT_EQ(e, TRegion(TRect{10, 20, 10 + w - 1, 20 + h - 1}));
        continue;
      }
      EXPECT_TRUE(TRect(10, 20, 10 + w - 1, 20 + h - 1).Contains(e.Bounds())) << w << "x" << h;
      for (int32_t y = 20; y < 20 + h - 1; ++y)
        for (int32_t x = 10; x < 10 + w - 1; ++x) {
          ASSERT_EQ(e.Contains(x, y), e.Contains(10 + (w - 2) - (x - 10), y)) << "left-right " << w << "x" << h;
          ASSERT_EQ(e.Contains(x, y), e.Contains(x, 20 + (h - 2) - (y - 20))) << "top-bottom " << w << "x" << h;
        }
      // The middle row spans the whole width.
      EXPECT_TRUE(e.Contains(10, 20 + (h - 1) / 2));
      EXPECT_TRUE(e.Contains(10 + w - 2, 20 + (h - 1) / 2));
      if (w > 8 && h > 8) {
        EXPECT_FALSE(e.Contains(10, 20)) << w << "x" << h;
      }
    }
  }
  EXPECT_EQ(TRegion::FromEllipse(30, 40, 10, 20), TRegion::FromEllipse(10, 20, 30, 40));
}

TEST(RegionEllipse, OversizedCornersMakeFullyRoundedEnds)
{
  const TRegion limited = TRegion::FromRoundRect(0, 0, 100, 20, 1000, 1000);
  EXPECT_EQ(limited, TRegion::FromEllipse(0, 0, 100, 20));
  const TRegion pill = TRegion::FromRoundRect(0, 0, 100, 20, 20, 1000);
  EXPECT_TRUE(pill.Contains(50, 0));
  EXPECT_FALSE(pill.Contains(0, 0));
  EXPECT_TRUE(pill.Contains(0, 9));
  // Small corners leave the straight edges whole.
  const TRegion round = TRegion::FromRoundRect(0, 0, 50, 40, 10, 10);
  EXPECT_TRUE(round.Contains(25, 0));
  EXPECT_TRUE(round.Contains(0, 20));
  EXPECT_FALSE(round.Contains(0, 0));
  EXPECT_FALSE(round.Contains(49, 20));
  EXPECT_TRUE(round.Contains(48, 20));
}

TEST(RegionEllipse, AbsurdSizesAreRefusedRatherThanTraced)
{
  EXPECT_THROW((void)TRegion::FromEllipse(kMin, kMin, kMax, kMax), std::length_error);
  EXPECT_NO_THROW((void)TRegion::FromRoundRect(kMin, kMin, kMax, kMax, 40, 40));
  EXPECT_TRUE(TRegion::FromRoundRect(kMin, kMin, kMax, kMax, 40, 40).Contains(0, 0));
  // Losing the right column and bottom row turns a zero-size rectangle
  // inside out; the platform then puts the corners back in order.
  EXPECT_EQ(TRegion::FromEllipse(5, 5, 5, 5), TRegion(TRect{4, 4, 5, 5}));
}

TEST(RegionQueries, RectangleTestsAndOffsets)
{
  const std::vector<TRect> rects{{0, 0, 10, 10}, {20, 0, 30, 10}, {0, 20, 30, 30}};
  const TRegion r = TRegion::FromRects(rects);
  EXPECT_TRUE(r.Intersects({9, 9, 11, 11}));
  EXPECT_FALSE(r.Intersects({10, 0, 20, 20}));
  EXPECT_FALSE(r.Intersects({5, 5, 5, 50}));
  EXPECT_EQ(r.Bounds(), TRect(0, 0, 30, 30));
  EXPECT_EQ(r.Area(), 100 + 100 + 300);
  const TRegion moved = r.Offsetted(-5, 7);
  EXPECT_TRUE(moved.Contains(-5, 7));
  EXPECT_FALSE(moved.Contains(0, 0));
  EXPECT_EQ(moved.Offsetted(5, -7), r);
  EXPECT_EQ(r.Intersected({5, 5, 25, 25}), TRegion::FromRects(std::vector<TRect>{{5, 5, 10, 10}, {20, 5, 25, 10},
                                                                                  {5, 20, 25, 25}}));
}
