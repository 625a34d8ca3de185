// The eight orientations against layouts worked out by hand, on a picture
// whose every pixel names its source.
#include "gfx/Orientation.h"
#include "tests/gfx/PixmapCompare.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

using gfx::TOrientation;
using gfx::TPixel;
using gfx::TPixmap;

namespace {

// Rows of letters, top first: "abc", "def" is three wide and two high.
TPixmap FromRows(const std::vector<std::string>& rows)
{
  TPixmap p(int32_t(rows[0].size()), int32_t(rows.size()));
  for (size_t y = 0; y < rows.size(); ++y)
    for (size_t x = 0; x < rows[y].size(); ++x)
      p.At(int32_t(x), int32_t(y)) = TPixel(uint8_t(rows[y][x]));
  return p;
}

std::vector<std::string> ToRows(const TPixmap& p)
{
  std::vector<std::string> rows;
  for (int32_t y = 0; y < p.Height(); ++y) {
    std::string row;
    for (int32_t x = 0; x < p.Width(); ++x)
      row += char(p.At(x, y) & 0xFF);
    rows.push_back(row);
  }
  return rows;
}

TPixmap Labelled(int32_t w, int32_t h)
{
  TPixmap p(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x)
      p.At(x, y) = TPixel(y << 16 | x);
  return p;
}

using gfx::test::SamePixels;

using Rows = std::vector<std::string>;

TEST(Orientation, EachOfTheEightGivesItsLayout)
{
  const TPixmap src = FromRows({"abc", "def"});
  const std::vector<std::pair<int, Rows>> expected = {
    {1, {"abc", "def"}},
    {2, {"cba", "fed"}},
    {3, {"fed", "cba"}},
    {4, {"def", "abc"}},
    {5, {"ad", "be", "cf"}},
    {6, {"da", "eb", "fc"}},
    {7, {"fc", "eb", "da"}},
    {8, {"cf", "be", "ad"}},
  };
  for (const auto& [tag, rows] : expected) {
    const TOrientation o = gfx::OrientationFromTag(tag);
    EXPECT_EQ(ToRows(gfx::Orient(src, o)), rows) << "orientation " << tag;
    EXPECT_EQ(gfx::SwapsSides(o), tag >= 5) << "orientation " << tag;
  }
}

TEST(Orientation, TagsOutsideOneToEightLeaveThePictureAsStored)
{
  const TPixmap src = FromRows({"abc", "def"});
  for (int tag : {-1, 0, 9, 255}) {
    EXPECT_EQ(gfx::OrientationFromTag(tag), TOrientation::Normal);
    EXPECT_EQ(ToRows(gfx::Orient(src, TOrientation(uint8_t(tag)))), (Rows{"abc", "def"})) << tag;
  }
}

// Wide rows go through the vector kernels, a single row or column has no
// next row to step to: turning there and back must give every pixel back.
TEST(Orientation, TurnsUndoEachOtherOnWideAndThinPictures)
{
  const std::vector<std::pair<TOrientation, TOrientation>> inverses = {
    {TOrientation::MirrorX, TOrientation::MirrorX},     {TOrientation::Rotate180, TOrientation::Rotate180},
    {TOrientation::MirrorY, TOrientation::MirrorY},     {TOrientation::Transpose, TOrientation::Transpose},
    {TOrientation::Rotate90, TOrientation::Rotate270},  {TOrientation::Transverse, TOrientation::Transverse},
  };
  for (const auto& [w, h] : std::vector<std::pair<int32_t, int32_t>>{{67, 5}, {1, 9}, {9, 1}, {1, 1}}) {
    const TPixmap src = Labelled(w, h);
    for (const auto& [there, back] : inverses) {
      const TPixmap turned = gfx::Orient(src, there);
      EXPECT_TRUE(SamePixels(gfx::Orient(turned, back), src)) << w << "x" << h << " orientation " << int(there);
    }
    // Two quarter turns clockwise are half a turn.
    EXPECT_TRUE(SamePixels(gfx::Orient(gfx::Orient(src, TOrientation::Rotate90), TOrientation::Rotate90),
                           gfx::Orient(src, TOrientation::Rotate180)));
  }
}

TEST(Orientation, RefusesADestinationOfTheWrongSize)
{
  const TPixmap src = FromRows({"abc", "def"});
  TPixmap same(3, 2);
  EXPECT_THROW(gfx::OrientInto(src, TOrientation::Rotate90, same), std::invalid_argument);
  TPixmap swapped(2, 3);
  EXPECT_THROW(gfx::OrientInto(src, TOrientation::MirrorX, swapped), std::invalid_argument);
  EXPECT_NO_THROW(gfx::OrientInto(src, TOrientation::Rotate90, swapped));
}

} // namespace
