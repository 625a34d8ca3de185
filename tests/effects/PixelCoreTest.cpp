// The per-pixel work of the pixel effects: blend rounding, the random choices
// against the process-wide generator, and the fixed-point pivot.
#include "effects/PixelCore.h"
#include "effects/SeededRandom.h"
#include "gfx/Random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

using effects::TSeededRandom;
using gfx::TPixel;
using gfx::TPixmap;
namespace pixel = effects::pixel;

namespace {

// Every pixel distinct: its position in the low 24 bits, a tag in the fourth byte.
TPixmap Numbered(int32_t w, int32_t h, uint32_t tag)
{
  TPixmap p(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x)
      p.At(x, y) = (tag << 24) | uint32_t(y * 4096 + x);
  return p;
}

uint8_t Channel(TPixel p, int c) { return uint8_t(p >> (8 * c)); }

} // namespace

TEST(PixelBlend, FloorsTowardMinusInfinity)
{
  // Weight 128 (progress 50): half-way rounds down in both directions.
  EXPECT_EQ(pixel::BlendPixel(0x00000000, 0x00FFFFFF, 128), 0x007F7F7Fu);
  EXPECT_EQ(pixel::BlendPixel(0x00FFFFFF, 0x00000000, 128), 0x007F7F7Fu);
  // Weight 3 (progress 1): a rise of 85 is lost, 86 gives one step, any fall
  // gives at least one step.
  EXPECT_EQ(pixel::BlendPixel(0x00101010, 0x00656565, 3), 0x00101010u);
  EXPECT_EQ(pixel::BlendPixel(0x00101010, 0x00666666, 3), 0x00111111u);
  EXPECT_EQ(pixel::BlendPixel(0x00808080, 0x007F7F7F, 3), 0x007F7F7Fu);
  // Channels are independent and the fourth byte is the old one.
  EXPECT_EQ(pixel::BlendPixel(0xAB00FF00, 0xCDFF00FF, 256), 0xABFF00FFu);
  EXPECT_EQ(pixel::BlendPixel(0xAB00FF00, 0xCDFF00FF, 0), 0xAB00FF00u);
}

TEST(PixelBlend, MatchesTheChannelFormulaForAllWeights)
{
  for (int32_t k = 0; k <= 256; k += 7) {
    for (int old = 0; old < 256; old += 15) {
      for (int neu = 0; neu < 256; neu += 17) {
        const TPixel a = uint32_t(old) | uint32_t(255 - old) << 8 | uint32_t(neu) << 16;
        const TPixel b = uint32_t(neu) | uint32_t(old) << 8 | uint32_t(255 - neu) << 16;
        const TPixel mixed = pixel::BlendPixel(a, b, uint32_t(k));
        for (int c = 0; c < 3; ++c) {
          const int from = Channel(a, c), to = Channel(b, c);
          const int expected = from + int(std::floor((to - from) * k / 256.0));
          ASSERT_EQ(Channel(mixed, c), expected) << "k " << k << " channel " << c;
        }
      }
    }
  }
}

TEST(PixelBlend, BlendWholeRunsLeavesNeighboursAlone)
{
  TPixel dst[5] = {0, 0, 0, 0, 0x12345678};
  const TPixel src[5] = {0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF};
  pixel::Blend(dst, src, 4, 256);
  EXPECT_EQ(dst[0], 0x00FFFFFFu);
  EXPECT_EQ(dst[3], 0x00FFFFFFu);
  EXPECT_EQ(dst[4], 0x12345678u);
}

TEST(SeededRandom, FollowsTheProcessWideGenerator)
{
  const uint32_t saved = gfx::RandSeed;
  for (uint32_t seed : {0u, 1u, 0x80000000u, 0xDEADBEEFu, 4242u}) {
    gfx::RandSeed = seed;
    TSeededRandom local(seed);
    for (uint32_t range : {1u, 2u, 3u, 100u, 1000u, 0xFFFFFFFFu}) {
      const uint32_t expected = gfx::Random(range);
      ASSERT_EQ(local.Next(range), expected);
    }
    // The shortcut comparison agrees with Random(100) < limit.
    for (uint32_t limit = 0; limit <= 100; ++limit) {
      TSeededRandom a(seed + limit), b(seed + limit);
      const uint64_t threshold = TSeededRandom::Threshold(limit, 100);
      for (int i = 0; i < 50; ++i)
        ASSERT_EQ(a.NextBelow(threshold), b.Next(100) < limit) << "limit " << limit;
    }
  }
  gfx::RandSeed = saved;
}

TEST(ChannelMixOrder, IsTheFirstTwoDistinctDrawsAfterSeeding)
{
  const uint32_t saved = gfx::RandSeed;
  int seen[3][3] = {};
  for (uint32_t seed = 0; seed < 300; ++seed) {
    gfx::RandSeed = seed * 2654435761u;
    const uint32_t first = gfx::Random(3);
    uint32_t second;
    do
      second = gfx::Random(3);
    while (second == first);
    const pixel::TChannelOrder order = pixel::ChannelOrder(seed * 2654435761u);
    ASSERT_EQ(order.First, int32_t(first));
    ASSERT_EQ(order.Second, int32_t(second));
    ASSERT_EQ(order.First + order.Second + order.Third, 3);
    ASSERT_NE(order.Third, order.First);
    ASSERT_NE(order.Third, order.Second);
    ++seen[order.First][order.Second];
  }
  gfx::RandSeed = saved;
  // Each of the six orders comes up for some handle.
  for (int a = 0; a < 3; ++a)
    for (int b = 0; b < 3; ++b)
      if (a != b) {
        EXPECT_GT(seen[a][b], 0) << a << b;
      }
}

TEST(ChannelMix, SetsBlendsAndKeepsTheRightChannels)
{
  TPixmap screen(3, 2), picture(3, 2);
  screen.Fill(0x11203040);
  picture.Fill(0x22A0B0C0);
  // Red set, blue blended by half, green kept.
  pixel::MixChannels(screen, picture, 0x00FF0000, 0, 128);
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 3; ++x)
      ASSERT_EQ(screen.At(x, y), 0x11A03080u); // blue 0x40 + (0xC0 - 0x40) / 2
}

TEST(Dissolve, AgreesWithOneDrawPerPixelInMemoryOrder)
{
  // 7 x 5 leaves a tail after the four-way interleaved loop.
  for (int32_t progress : {1, 37, 50, 99}) {
    TPixmap screen = Numbered(7, 5, 1), picture = Numbered(7, 5, 2);
    pixel::Dissolve(screen, picture, 0xCAFE, progress);
    TSeededRandom random(0xCAFE);
    // Memory order: bottom row first, left to right.
    for (int32_t y = 4; y >= 0; --y)
      for (int32_t x = 0; x < 7; ++x) {
        const bool copied = random.Next(100) < uint32_t(progress);
        ASSERT_EQ(screen.At(x, y) >> 24, copied ? 2u : 1u) << x << "," << y << " at " << progress;
      }
  }
}

TEST(Dissolve, GrowsWithProgressAndCoversAboutThatShare)
{
  TPixmap previous = Numbered(64, 64, 1);
  const TPixmap picture = Numbered(64, 64, 2);
  size_t lastCount = 0;
  for (int32_t progress = 1; progress <= 99; progress += 7) {
    TPixmap screen = Numbered(64, 64, 1);
    pixel::Dissolve(screen, picture, 777, progress);
    size_t count = 0;
    for (int32_t y = 0; y < 64; ++y)
      for (int32_t x = 0; x < 64; ++x) {
        const bool isNew = (screen.At(x, y) >> 24) == 2;
        count += isNew;
        // A pixel once new stays new.
        if ((previous.At(x, y) >> 24) == 2) {
          ASSERT_TRUE(isNew) << x << "," << y << " at " << progress;
        }
      }
    EXPECT_GE(count, lastCount);
    EXPECT_NEAR(double(count) / 4096.0, progress / 100.0, 0.04) << progress;
    lastCount = count;
    previous = std::move(screen);
  }
}

TEST(RandomBars, RowsDrawBottomFirstAndColumnsLeftFirst)
{
  TPixmap screen = Numbered(5, 6, 1);
  const TPixmap picture = Numbered(5, 6, 2);
  pixel::RandomRows(screen, picture, 99, 50);
  TSeededRandom rows(99);
  for (int32_t y = 5; y >= 0; --y) {
    const uint32_t expected = rows.Next(100) < 50 ? 2u : 1u;
    for (int32_t x = 0; x < 5; ++x)
      ASSERT_EQ(screen.At(x, y) >> 24, expected) << x << "," << y;
  }

  TPixmap columns = Numbered(9, 4, 1);
  const TPixmap wide = Numbered(9, 4, 2);
  pixel::RandomColumns(columns, wide, 12345, 60);
  TSeededRandom draws(12345);
  int copied = 0;
  for (int32_t x = 0; x < 9; ++x) {
    const uint32_t expected = draws.Next(100) < 60 ? 2u : 1u;
    copied += expected == 2;
    for (int32_t y = 0; y < 4; ++y) {
      ASSERT_EQ(columns.At(x, y) >> 24, expected) << x << "," << y;
      ASSERT_EQ(columns.At(x, y) & 0xFFFFFF, uint32_t(y * 4096 + x));
    }
  }
  EXPECT_GT(copied, 0);
  EXPECT_LT(copied, 9);
}

TEST(Pivot, FixedPointTurnIsTruncated)
{
  // 45 degrees: 46340.95 truncates to 46340, the sine of the negated angle to -46340.
  const pixel::TFixedTurn half = pixel::FixedTurn(std::numbers::pi / 4);
  EXPECT_EQ(half.Sin, -46340);
  EXPECT_EQ(half.Cos, 46340);
  // A right angle: the cosine's rounding residue truncates to 0.
  const pixel::TFixedTurn right = pixel::FixedTurn(-std::numbers::pi / 2);
  EXPECT_EQ(right.Sin, 65536);
  EXPECT_EQ(right.Cos, 0);
  const pixel::TFixedTurn none = pixel::FixedTurn(0.0);
  EXPECT_EQ(none.Sin, 0);
  EXPECT_EQ(none.Cos, 65536);
}

TEST(Pivot, UnturnedPictureLandsOnePixelOffAsTheFormulaSays)
{
  // With no turn, column x reads column x + 1 and row r reads row r - 1 of
  // the picture for a pivot at (-1, -1): the last column and the top row
  // keep the old image.
  TPixmap screen = Numbered(6, 4, 1);
  const TPixmap picture = Numbered(6, 4, 2);
  pixel::RotateInto(screen, picture, -1, pixel::FixedTurn(0.0), -1);
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 0; x < 6; ++x) {
      if (x == 5 || y == 0)
        ASSERT_EQ(screen.At(x, y), (1u << 24) | uint32_t(y * 4096 + x)) << x << "," << y;
      else
        ASSERT_EQ(screen.At(x, y), (2u << 24) | uint32_t((y - 1) * 4096 + x + 1)) << x << "," << y;
    }
}

TEST(Pivot, TurnsAboutTheCornerByTheFixedPointFormula)
{
  // Pivot (W, H) = (4, 4), turn -90 degrees (sn = 65536, cs = 0):
  // v = 4 - r - 4 = -r, so sx = 4 + ((-v * 65536) >> 16) = 4 + r lies right of
  // a 4-wide picture for every pixel: nothing changes.
  TPixmap screen = Numbered(4, 4, 1);
  const TPixmap picture = Numbered(4, 4, 2);
  pixel::RotateInto(screen, picture, 4, pixel::FixedTurn(std::numbers::pi / 2), 4);
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 0; x < 4; ++x)
      ASSERT_EQ(screen.At(x, y) >> 24, 1u);

  // A small turn about the bottom-left corner (-1, 4) lets the picture in.
  // sn = Trunc(sin(0.05) * 65536) = 3275, cs = 65454. Pixel (0, 3): u = 2, v = -3;
  // sx = -1 + ((2 * 65454 + 3 * 3275) >> 16) = -1 + 2 = 1;
  // sy = 4 + ((2 * 3275 - 3 * 65454) >> 16) = 4 + (-189812 >> 16) = 4 - 3 = 1,
  // which is picture row 4 - 1 - 1 = 2 counted from the top.
  TPixmap tilted = Numbered(4, 4, 1);
  pixel::RotateInto(tilted, picture, -1, pixel::FixedTurn(-0.05), 4);
  EXPECT_EQ(tilted.At(0, 3), (2u << 24) | uint32_t(2 * 4096 + 1));
}

TEST(Pivot, WrapsProductsAt32BitsWithoutFaulting)
{
  // A pivot far away makes the sums overflow 32 bits; the wrapped values
  // decide the pixels, and nothing outside the picture is ever read.
  TPixmap screen = Numbered(8, 8, 1);
  const TPixmap picture = Numbered(8, 8, 2);
  pixel::RotateInto(screen, picture, 1 << 20, pixel::FixedTurn(1.0), -(1 << 20));
  for (int32_t y = 0; y < 8; ++y)
    for (int32_t x = 0; x < 8; ++x) {
      const uint32_t tag = screen.At(x, y) >> 24;
      ASSERT_TRUE(tag == 1 || tag == 2);
    }
}

TEST(Pivot, FindsTheVisibleRunOfEachRowExactly)
{
  // The formula applied pixel by pixel, in wrapping 32-bit arithmetic.
  const auto reference = [](TPixmap& screen, const TPixmap& picture, int32_t orgX, pixel::TFixedTurn t,
                            int32_t orgY) {
    for (int32_t r = 0; r < screen.Height(); ++r)
      for (int32_t x = screen.Width() - 1; x >= 0; --x) {
        const uint32_t u = uint32_t(x + 1 - orgX), v = uint32_t(picture.Height() - r - orgY);
        const int32_t sx = orgX + (int32_t(u * uint32_t(t.Cos) - v * uint32_t(t.Sin)) >> 16);
        const int32_t sy = orgY + (int32_t(u * uint32_t(t.Sin) + v * uint32_t(t.Cos)) >> 16);
        if (sx >= 0 && sx < picture.Width() && sy >= 0 && sy < picture.Height())
          screen.At(x, r) = picture.At(sx, picture.Height() - 1 - sy);
      }
  };
  uint32_t seed = 2024;
  const auto next = [&seed](uint32_t n) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 8) % n;
  };
  for (int round = 0; round < 300; ++round) {
    // Every third round is wide and turned by less than a degree, where four
    // neighbouring pixels often come from one source row and are copied as
    // a block; every fifth is wider than the strips the frame is turned in.
    const bool slight = round % 3 == 0;
    const bool wide = round % 5 == 4;
    const int32_t w = 1 + int32_t(next(wide ? 1200 : slight ? 150 : 40)), h = 1 + int32_t(next(40));
    const TPixmap picture = Numbered(w, h, 2);
    const double angle = slight ? (double(next(200)) - 100.0) / 6000.0 : (double(next(2000)) - 1000.0) / 300.0;
    const int32_t corners[][2] = {{-1, -1}, {-1, h}, {w, -1}, {w, h}, {int32_t(next(uint32_t(w))), int32_t(next(uint32_t(h)))}};
    const auto corner = corners[next(5)];
    TPixmap fast = Numbered(w, h, 1), slow = Numbered(w, h, 1);
    pixel::RotateInto(fast, picture, corner[0], pixel::FixedTurn(angle), corner[1]);
    reference(slow, picture, corner[0], pixel::FixedTurn(angle), corner[1]);
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x)
        ASSERT_EQ(fast.At(x, y), slow.At(x, y)) << w << "x" << h << " angle " << angle << " at " << x << "," << y;
  }
}

namespace {

// Random bytes everywhere, the fourth byte included.
TPixmap Noise(int32_t w, int32_t h, uint32_t seed)
{
  TPixmap p(w, h);
  for (int32_t i = 0; i < w * h; ++i) {
    seed = seed * 1664525u + 1013904223u;
    p.Bits()[i] = seed;
  }
  return p;
}

bool SamePixels(const TPixmap& a, const TPixmap& b)
{
  return std::equal(a.Bits(), a.Bits() + size_t(a.Width()) * size_t(a.Height()), b.Bits());
}

// Switches the kernels for wide vector units off for a scope.
struct TPortableOnly {
  TPortableOnly() { pixel::UseWideKernels(false); }
  ~TPortableOnly() { pixel::UseWideKernels(true); }
};

} // namespace

// The other tests check whatever kernels this processor runs against the
// formulas; this one checks that the portable loops give the same pixels, so
// both are covered on a processor with wide vector units. Sizes leave tails
// after every vector width, and the pivot angles include slight turns.
TEST(PortableKernels, GiveTheSamePixelsAsTheWideOnes)
{
  for (const auto& size : {std::pair{37, 23}, std::pair{16, 4}, std::pair{5, 3}, std::pair{131, 17}}) {
    const int32_t w = size.first, h = size.second;
    const TPixmap neu = Noise(w, h, 22);
    const auto both = [&](const auto& draw, const char* what) {
      TPixmap wide = Noise(w, h, 11), portable = Noise(w, h, 11);
      draw(wide);
      {
        TPortableOnly portableOnly;
        draw(portable);
      }
      EXPECT_TRUE(SamePixels(wide, portable)) << what << " on " << w << "x" << h;
    };
    for (const int32_t k : {0, 1, 77, 128, 255, 256})
      both([&](TPixmap& p) { pixel::Blend(p.Bits(), neu.Bits(), size_t(w) * size_t(h), k); }, "blend");
    both([&](TPixmap& p) { pixel::MixChannels(p, neu, 0x0000FF00u, 2, 99); }, "channel mix");
    for (const int32_t progress : {1, 33, 50, 99})
      both([&](TPixmap& p) { pixel::Dissolve(p, neu, 0xBEEF + uint32_t(progress), progress); }, "dissolve");
    for (const double angle : {0.004, -0.01, 0.4, 1.2, -0.9, 3.0})
      for (const auto& corner : {std::pair{-1, -1}, std::pair{w, h}, std::pair{-1, h}, std::pair{w, -1}})
        both([&](TPixmap& p) { pixel::RotateInto(p, neu, corner.first, pixel::FixedTurn(angle), corner.second); },
             "pivot");
  }
}
