// The fast paths of the stretch and of copies through clip regions against
// the plain rule applied one pixel at a time.
#include "gfx/DrawContext.h"
#include "gfx/PixelRows.h"
#include "gfx/StretchMap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

using gfx::TDrawContext;
using gfx::TPixel;
using gfx::TPixmap;
using gfx::TRect;
using gfx::TRegion;

namespace {

// Every pixel names its position and its bitmap, so that any misplaced
// pixel shows.
void Label(TPixmap& p, uint32_t salt)
{
  for (int32_t y = 0; y < p.Height(); ++y)
    for (int32_t x = 0; x < p.Width(); ++x)
      p.At(x, y) = (salt << 24) | TPixel(y << 12) | TPixel(x);
}

std::vector<TPixel> Pixels(const TPixmap& p)
{
  return {p.Bits(), p.Bits() + size_t(p.Width()) * size_t(p.Height())};
}

std::string FirstDifference(const TPixmap& a, const TPixmap& b)
{
  for (int32_t y = 0; y < a.Height(); ++y)
    for (int32_t x = 0; x < a.Width(); ++x)
      if (a.At(x, y) != b.At(x, y)) {
        std::ostringstream s;
        s << "first difference at " << x << "," << y << ": want " << std::hex << a.At(x, y) << " got " << b.At(x, y);
        return s.str();
      }
  return "no difference";
}

// The stretch as the rule states it: every destination pixel inside the
// bitmap and the clip region takes the source pixel its row and column map
// to, read from the source as it was before the call.
void ReferenceStretch(TPixmap& dst, const std::optional<TRegion>& clip, gfx::TPoint origin, int32_t x, int32_t y,
                      int32_t w, int32_t h, const TPixmap& src, gfx::TPoint srcOrigin, int32_t sx, int32_t sy,
                      int32_t sw, int32_t sh)
{
  const std::vector<TPixel> before = Pixels(src);
  const auto sourceAt = [&](int32_t c, int32_t r) {
    return before[size_t(src.Height() - 1 - r) * size_t(src.Width()) + size_t(c)];
  };
  const gfx::TStretchAxis mx = gfx::MakeStretchAxis(int64_t(x) + origin.X, w, int64_t(sx) + srcOrigin.X, sw, false);
  const gfx::TStretchAxis my = gfx::MakeStretchAxis(int64_t(y) + origin.Y, h, int64_t(sy) + srcOrigin.Y, sh, true);
  for (int32_t py = 0; py < dst.Height(); ++py) {
    const int32_t r = gfx::StretchSourceIndex(my, py, src.Height());
    if (r < 0)
      continue;
    for (int32_t px = 0; px < dst.Width(); ++px) {
      const int32_t c = gfx::StretchSourceIndex(mx, px, src.Width());
      if (c >= 0 && (!clip || clip->Contains(px, py)))
        dst.At(px, py) = sourceAt(c, r);
    }
  }
}

TRegion RandomRegion(std::mt19937& rng, int32_t w, int32_t h, int count)
{
  std::vector<TRect> rects;
  for (int i = 0; i < count; ++i) {
    const int32_t x = int32_t(rng() % uint32_t(w + 8)) - 4, y = int32_t(rng() % uint32_t(h + 8)) - 4;
    rects.push_back({x, y, x + 1 + int32_t(rng() % uint32_t(w / 2)), y + 1 + int32_t(rng() % uint32_t(h / 2))});
  }
  return TRegion::FromRects(rects);
}

struct TCase {
  int32_t X, Y, W, H, SX, SY, SW, SH;
};

std::string Describe(const TCase& c)
{
  std::ostringstream s;
  s << "StretchBlt(" << c.X << ", " << c.Y << ", " << c.W << ", " << c.H << "; " << c.SX << ", " << c.SY << ", "
    << c.SW << ", " << c.SH << ")";
  return s.str();
}

} // namespace

TEST(StretchSourceTable, AgreesWithThePixelByPixelRule)
{
  std::mt19937 rng(99);
  std::vector<int32_t> table;
  for (int round = 0; round < 4000; ++round) {
    const auto extent = [&](uint32_t range) {
      const int32_t e = int32_t(rng() % range) + 1;
      return rng() % 3 == 0 ? -e : e;
    };
    const uint32_t range = round % 4 == 0 ? 3000u : 90u;
    const int32_t limit = int32_t(rng() % 120) + 1;
    const int32_t d = int32_t(rng() % 160) - 40, s = int32_t(rng() % 160) - 40;
    const gfx::TStretchAxis axis = gfx::MakeStretchAxis(d, extent(range), s, extent(range), rng() % 2 == 0);
    // Ranges that start before the destination and end after it, too.
    const int32_t from = int32_t(rng() % 200) - 60;
    const int32_t to = from + int32_t(rng() % 260);
    gfx::StretchSourceTable(axis, from, to, limit, table);
    ASSERT_EQ(table.size(), size_t(to - from));
    for (int32_t p = from; p < to; ++p)
      ASSERT_EQ(table[size_t(p - from)], gfx::StretchSourceIndex(axis, p, limit))
        << "round " << round << " p " << p << " axis d=" << axis.DstStart << "+" << axis.DstSize << " s="
        << axis.SrcStart << "+" << axis.SrcSize << (axis.DstMirrored ? " dst mirrored" : "")
        << (axis.SrcMirrored ? " src mirrored" : "") << (axis.Vertical ? " vertical" : "");
  }
}

// Random stretches between two bitmaps, with and without a clip region and a
// viewport origin: whole-row copies (one-to-one columns), reversed rows,
// gathers, repeated rows, mirrored either way.
TEST(StretchBlt, FastPathsAgreeWithTheRuleBetweenBitmaps)
{
  std::mt19937 rng(7);
  TPixmap src(37, 29);
  Label(src, 1);
  for (int round = 0; round < 1500; ++round) {
    TPixmap ours(45, 33), expected(45, 33);
    Label(ours, 2);
    Label(expected, 2);
    TDrawContext d(ours), s(src);
    const auto coord = [&](int32_t size) { return int32_t(rng() % uint32_t(size + 20)) - 10; };
    const auto extent = [&](int32_t size) {
      const int32_t e = int32_t(rng() % uint32_t(2 * size)) + 1;
      return rng() % 4 == 0 ? -e : e;
    };
    TCase c{coord(45), coord(33), extent(45), extent(33), coord(37), coord(29), extent(37), extent(29)};
    // One case in three keeps one axis one-to-one, mirrored or not.
    if (round % 3 == 1)
      c.SW = rng() % 2 ? c.W : -c.W;
    if (round % 3 == 2)
      c.SH = rng() % 2 ? c.H : -c.H;
    std::optional<TRegion> clip;
    if (round % 2)
      clip = RandomRegion(rng, 45, 33, 1 + int(rng() % 12));
    const gfx::TPoint origin{int32_t(rng() % 7) - 3, int32_t(rng() % 7) - 3};
    if (clip)
      d.SelectClipRgn(&*clip);
    d.SetViewportOrg(origin.X, origin.Y);
    d.StretchBlt(c.X, c.Y, c.W, c.H, &s, c.SX, c.SY, c.SW, c.SH, SRCCOPY);
    ReferenceStretch(expected, clip, origin, c.X, c.Y, c.W, c.H, src, {0, 0}, c.SX, c.SY, c.SW, c.SH);
    ASSERT_EQ(Pixels(ours), Pixels(expected))
      << "round " << round << " " << Describe(c) << (clip ? " clipped" : "") << " origin " << origin.X << ","
      << origin.Y << " " << FirstDifference(expected, ours);
  }
}

// Destinations too large to stay in the cache are made row by row in a
// staging row and stored past the cache: enlargements whose rows repeat,
// mirrored either way, rows that only move, and the same through a clip
// region (drawn in place) and onto the bitmap itself.
TEST(StretchBlt, LargeDestinationsAgreeWithTheRule)
{
  TPixmap src(1030, 1000);
  Label(src, 6);
  const TCase cases[] = {
    {0, 0, 2060, 2100, 0, 0, 1030, 1000},     // twice each side, and a little more down
    {2059, 5, -2060, 2090, 3, 0, 1027, 1000}, // mirrored across
    {-7, 2099, 2070, -2100, 1029, 999, -1030, -1000},
    {1, 3, 2058, 2097, 0, 0, 2058, 999},      // columns one to one (half read), rows doubled
    {0, 0, 2060, 2100, 500, 300, 1700, 3000}, // reduced down, read beyond the source
  };
  const TRegion clip = TRegion::FromRects(std::vector<TRect>{{0, 0, 900, 2100}, {1000, 40, 2060, 2000}});
  for (const TCase& c : cases)
    for (bool clipped : {false, true}) {
      TPixmap ours(2060, 2100), expected(2060, 2100);
      Label(ours, 7);
      Label(expected, 7);
      TDrawContext d(ours), s(src);
      if (clipped)
        d.SelectClipRgn(&clip);
      d.StretchBlt(c.X, c.Y, c.W, c.H, &s, c.SX, c.SY, c.SW, c.SH, SRCCOPY);
      std::optional<TRegion> expectedClip;
      if (clipped)
        expectedClip = clip;
      ReferenceStretch(expected, expectedClip, {0, 0}, c.X, c.Y, c.W, c.H, src, {0, 0}, c.SX, c.SY, c.SW, c.SH);
      ASSERT_EQ(Pixels(ours), Pixels(expected))
        << Describe(c) << (clipped ? " clipped" : "") << " " << FirstDifference(expected, ours);
    }
  // A large self-stretch: the left half widened over the whole bitmap.
  TPixmap ours(2060, 2100), expected(2060, 2100);
  Label(ours, 8);
  Label(expected, 8);
  TDrawContext d(ours);
  d.StretchBlt(0, 0, 2060, 2100, &d, 0, 0, 1030, 2100, SRCCOPY);
  ReferenceStretch(expected, std::nullopt, {0, 0}, 0, 0, 2060, 2100, expected, {0, 0}, 0, 0, 1030, 2100);
  ASSERT_EQ(Pixels(ours), Pixels(expected)) << FirstDifference(expected, ours);
}

// Hand-computed: a 1:1 column stretch through a clip region doubles the rows
// and leaves the pixels outside the region alone; a mirrored 3x enlargement
// repeats each source row three times from the bottom up.
TEST(StretchBlt, RepeatedRowsThroughClipsAndMirrors)
{
  TPixmap src(4, 2), dst(6, 6);
  Label(src, 1);
  dst.Fill(0xEE);
  TDrawContext s(src), d(dst);
  const std::vector<TRect> rects{{0, 0, 2, 3}, {3, 0, 6, 3}, {0, 3, 6, 4}};
  const TRegion clip = TRegion::FromRects(rects);
  d.SelectClipRgn(&clip);
  d.StretchBlt(1, 0, 4, 4, &s, 0, 0, 4, 2, SRCCOPY);
  const auto px = [](uint32_t x, uint32_t y) { return TPixel(0x01000000u | (y << 12) | x); };
  EXPECT_EQ(dst.At(0, 0), 0xEEu);
  EXPECT_EQ(dst.At(1, 0), px(0, 0));
  EXPECT_EQ(dst.At(1, 1), px(0, 0));
  EXPECT_EQ(dst.At(2, 1), 0xEEu); // outside the clip region
  EXPECT_EQ(dst.At(3, 2), px(2, 1));
  EXPECT_EQ(dst.At(4, 3), px(3, 1));
  EXPECT_EQ(dst.At(4, 4), 0xEEu);

  dst.Fill(0xEE);
  d.SelectClipRgn(nullptr);
  // Destination rows 5 down to 0 show source rows 0, 0, 0, 1, 1, 1, each
  // row reversed (negative source width).
  d.StretchBlt(0, 5, 4, -6, &s, 3, 0, -4, 2, SRCCOPY);
  for (uint32_t y = 0; y < 6; ++y)
    for (uint32_t x = 0; x < 4; ++x)
      ASSERT_EQ(dst.At(int32_t(x), int32_t(y)), px(3 - x, y < 3 ? 1 : 0)) << x << "," << y;
  EXPECT_EQ(dst.At(4, 0), 0xEEu);
}

// Self-stretches: rows that read at or below themselves, at or above, both
// (mirrored, which needs the copy aside), and rows that read themselves.
TEST(StretchBlt, OverlappingSelfStretchesReadTheSourceFirst)
{
  std::mt19937 rng(31);
  for (int round = 0; round < 1500; ++round) {
    TPixmap ours(40, 30), expected(40, 30);
    Label(ours, 3);
    Label(expected, 3);
    TDrawContext d(ours);
    const auto coord = [&](int32_t size) { return int32_t(rng() % uint32_t(size + 10)) - 5; };
    const auto extent = [&](int32_t size) {
      const int32_t e = int32_t(rng() % uint32_t(size + 8)) + 1;
      return rng() % 5 == 0 ? -e : e;
    };
    TCase c{coord(40), coord(30), extent(40), extent(30), coord(40), coord(30), extent(40), extent(30)};
    switch (round % 4) {
    case 0: // the push-and-squeeze shapes, across and along
      c = {int32_t(rng() % 40), 0, 40 - c.X, 30, 0, 0, 40, 30};
      if (rng() % 2)
        c = {0, int32_t(rng() % 30), 40, 0, 0, 0, 40, 30}, c.H = 30 - c.Y;
      if (rng() % 2)
        c.X = 0, c.Y = 0;
      break;
    case 1: // one-to-one rows, moved up or down
      c.SH = c.H;
      break;
    case 2: // one-to-one columns
      c.SW = c.W;
      break;
    default:
      break;
    }
    std::optional<TRegion> clip;
    if (round % 3 == 0)
      clip = RandomRegion(rng, 40, 30, 1 + int(rng() % 8));
    if (clip)
      d.SelectClipRgn(&*clip);
    d.StretchBlt(c.X, c.Y, c.W, c.H, &d, c.SX, c.SY, c.SW, c.SH, SRCCOPY);
    ReferenceStretch(expected, clip, {0, 0}, c.X, c.Y, c.W, c.H, expected, {0, 0}, c.SX, c.SY, c.SW, c.SH);
    ASSERT_EQ(Pixels(ours), Pixels(expected)) << "round " << round << " " << Describe(c) << (clip ? " clipped" : "")
                                              << " " << FirstDifference(expected, ours);
  }
}

// Other raster operations take the checked path; a stretch with SRCINVERT
// twice restores the destination.
TEST(StretchBlt, OtherRasterOperationsPixelByPixel)
{
  TPixmap src(5, 5), dst(9, 9), copy(9, 9);
  Label(src, 4);
  Label(dst, 5);
  Label(copy, 5);
  TDrawContext s(src), d(dst);
  d.StretchBlt(-1, 2, 11, -7, &s, 4, 0, -5, 5, SRCINVERT);
  EXPECT_NE(Pixels(dst), Pixels(copy));
  d.StretchBlt(-1, 2, 11, -7, &s, 4, 0, -5, 5, SRCINVERT);
  EXPECT_EQ(Pixels(dst), Pixels(copy));
  d.StretchBlt(0, 0, 9, 9, &d, 0, 0, 3, 3, SRCPAINT);
  EXPECT_EQ(dst.At(8, 8), copy.At(8, 8) | copy.At(2, 2));
}

// The row kernels against plain loops: monotone column tables of every
// slope (enlargements, reductions past the permute window, mirrored),
// indices up to the last pixel of the row, and lengths that leave tails.
TEST(RowKernels, GatherAndReverseMatchPlainLoops)
{
  std::mt19937 rng(17);
  for (int round = 0; round < 3000; ++round) {
    const size_t inWidth = 1 + rng() % 200;
    const size_t n = rng() % 120;
    std::vector<TPixel> in(inWidth);
    for (TPixel& p : in)
      p = TPixel(rng());
    // Steps of 0 or more per pixel, in either direction, kept inside the row.
    const double slope = double(rng() % 4000) / 1000.0;
    const bool down = rng() % 3 == 0;
    const double start = double(rng() % inWidth);
    std::vector<int32_t> cols(n);
    for (size_t i = 0; i < n; ++i) {
      const double v = down ? start - slope * double(i) : start + slope * double(i);
      cols[i] = int32_t(std::clamp(v, 0.0, double(inWidth - 1)));
    }
    std::vector<TPixel> fast(n + 1, 0xDEAD), plain(n + 1, 0xDEAD);
    gfx::GatherRow(fast.data(), in.data(), inWidth, cols.data(), n);
    gfx::GatherRowScalar(plain.data(), in.data(), cols.data(), n);
    ASSERT_EQ(fast, plain) << "round " << round << " width " << inWidth << " n " << n << " slope " << slope;

    const size_t m = std::min(n, inWidth);
    const TPixel* last = in.data() + (m == 0 ? 0 : m - 1) + (inWidth - std::max<size_t>(m, 1)) / 2;
    gfx::ReverseRow(fast.data(), last, m);
    for (size_t i = 0; i < m; ++i)
      ASSERT_EQ(fast[i], *(last - i)) << "round " << round << " reversed pixel " << i;
    ASSERT_EQ(fast[n], 0xDEADu);

    // The streaming copy, from any alignment of the destination.
    const size_t skew = rng() % 8;
    std::vector<TPixel> streamed(skew + inWidth + 1, 0xDEAD);
    gfx::StreamRow(streamed.data() + skew, in.data(), inWidth);
    gfx::StreamFence();
    ASSERT_TRUE(std::equal(in.begin(), in.end(), streamed.begin() + std::ptrdiff_t(skew))) << "round " << round;
    ASSERT_EQ(streamed[skew + inWidth], 0xDEADu);
    ASSERT_TRUE(skew == 0 || streamed[skew - 1] == 0xDEADu);
  }
}

// Shading adds a signed offset to blue, green and red with clamping and
// keeps the fourth byte; offsets beyond a byte saturate.
TEST(RowKernels, ShadeClampsEachChannelAndKeepsTheFourthByte)
{
  std::mt19937 rng(23);
  const auto clamped = [](TPixel p, int32_t offset) {
    TPixel r = p & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8)
      r |= TPixel(std::clamp(int32_t((p >> shift) & 0xFF) + offset, 0, 255)) << shift;
    return r;
  };
  for (int round = 0; round < 500; ++round) {
    const size_t n = rng() % 70;
    std::vector<TPixel> row(n), uniform(n), raise(n), lower(n);
    std::vector<int32_t> offsets(n);
    for (size_t i = 0; i < n; ++i) {
      row[i] = TPixel(rng());
      offsets[i] = int32_t(rng() % 700) - 350;
      raise[i] = gfx::ShadeRaise(offsets[i]);
      lower[i] = gfx::ShadeLower(offsets[i]);
    }
    uniform = row;
    const std::vector<TPixel> before = row;
    gfx::ShadeRow(row.data(), raise.data(), lower.data(), n);
    const int32_t one = offsets.empty() ? 5 : offsets[0];
    gfx::ShadeRowUniform(uniform.data(), gfx::ShadeRaise(one), gfx::ShadeLower(one), n);
    for (size_t i = 0; i < n; ++i) {
      ASSERT_EQ(row[i], clamped(before[i], offsets[i])) << "round " << round << " pixel " << i;
      ASSERT_EQ(uniform[i], clamped(before[i], one)) << "round " << round << " pixel " << i;
    }
  }
  TPixel p = 0x80FF0010;
  gfx::ShadeRow(&p, nullptr, nullptr, 0);
  EXPECT_EQ(p, 0x80FF0010u);
}

// Self-copies through clip regions of many rectangles, overlapping or not,
// against a copy read from a snapshot.
TEST(BitBlt, SelfCopiesThroughClipRegionsReadTheSourceFirst)
{
  std::mt19937 rng(41);
  for (int round = 0; round < 1000; ++round) {
    TPixmap ours(36, 28);
    Label(ours, 6);
    const std::vector<TPixel> before = Pixels(ours);
    TDrawContext d(ours);
    const TRegion clip = RandomRegion(rng, 36, 28, 1 + int(rng() % 10));
    if (round % 4 != 0)
      d.SelectClipRgn(&clip);
    const int32_t x = int32_t(rng() % 44) - 4, y = int32_t(rng() % 36) - 4;
    const int32_t sx = int32_t(rng() % 44) - 4, sy = int32_t(rng() % 36) - 4;
    const int32_t w = 1 + int32_t(rng() % 36), h = 1 + int32_t(rng() % 28);
    d.BitBlt(x, y, w, h, &d, sx, sy, SRCCOPY);
    for (int32_t py = 0; py < 28; ++py)
      for (int32_t px = 0; px < 36; ++px) {
        const int32_t fx = px - x + sx, fy = py - y + sy;
        const bool drawn = (round % 4 == 0 || clip.Contains(px, py)) && px >= x && px < x + w && py >= y &&
                           py < y + h && fx >= 0 && fx < 36 && fy >= 0 && fy < 28;
        const TPixel want = drawn ? before[size_t(27 - fy) * 36 + size_t(fx)] : before[size_t(27 - py) * 36 + size_t(px)];
        ASSERT_EQ(ours.At(px, py), want) << "round " << round << " pixel " << px << "," << py;
      }
  }
}

// A picture shown through one band of a region over another: span by span,
// and through a mask, every pixel of [left, right) comes from the picture
// inside a span and from the one under it elsewhere, and nothing outside
// [left, right) is touched. Spans of every length from one pixel up reach
// past either end.
TEST(RowKernels, MergingThroughSpansTakesEachPixelFromOnePicture)
{
  std::mt19937 rng(41);
  for (int round = 0; round < 400; ++round) {
    const int32_t width = 1 + int32_t(rng() % 700);
    std::vector<TPixel> in(static_cast<size_t>(width)), under(static_cast<size_t>(width));
    for (int32_t x = 0; x < width; ++x) {
      in[size_t(x)] = 0x01000000u | TPixel(x);
      under[size_t(x)] = 0x02000000u | TPixel(x);
    }
    std::vector<TRect> spans;
    for (int32_t x = -int32_t(rng() % 20); x < width + 20;) {
      const int32_t gap = int32_t(rng() % (round % 2 ? 9 : 300));
      const int32_t length = 1 + int32_t(rng() % (round % 3 ? 12 : 400));
      spans.push_back({x + gap, 0, x + gap + length, 1});
      x += gap + length + 1;
    }
    const int32_t left = int32_t(rng() % uint32_t(width));
    const int32_t right = left + int32_t(rng() % uint32_t(width - left + 1));
    const auto inside = [&](int32_t x) {
      return std::any_of(spans.begin(), spans.end(), [x](const TRect& r) { return x >= r.Left && x < r.Right; });
    };

    std::vector<TPixel> merged(size_t(width), 0xDEAD);
    gfx::MergeSpans(merged.data(), in.data(), under.data(), spans.data(), spans.size(), left, right);
    std::vector<TPixel> mask(size_t(right - left) + 1, 0xBEEF);
    gfx::SpanMask(mask.data(), spans.data(), spans.size(), left, right);
    ASSERT_EQ(mask.back(), 0xBEEFu) << "the mask reaches past right in round " << round;
    std::vector<TPixel> selected(size_t(width), 0xDEAD);
    gfx::SelectRow(selected.data() + left, in.data() + left, under.data() + left, mask.data(),
                   size_t(right - left));
    for (int32_t x = 0; x < width; ++x) {
      const TPixel expected = x < left || x >= right ? 0xDEADu : inside(x) ? in[size_t(x)] : under[size_t(x)];
      ASSERT_EQ(merged[size_t(x)], expected) << "spans, round " << round << " pixel " << x;
      ASSERT_EQ(selected[size_t(x)], expected) << "mask, round " << round << " pixel " << x;
    }
  }
}
