#include "gfx/DrawContext.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <vector>

using gfx::TDrawContext;
using gfx::TDrawContextSaver;
using gfx::TPixel;
using gfx::TPixmap;
using gfx::TPoint;
using gfx::TRect;
using gfx::TRegion;

namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

// Every pixel says where it came from: (y << 12 | x) + 1.
void Label(TPixmap& p)
{
  for (int32_t y = 0; y < p.Height(); ++y)
    for (int32_t x = 0; x < p.Width(); ++x)
      p.At(x, y) = TPixel((y << 12) | x) + 1;
}

int32_t SourceX(TPixel p) { return p ? int32_t((p - 1) & 0xFFF) : -1; }
int32_t SourceY(TPixel p) { return p ? int32_t((p - 1) >> 12) : -1; }

// A one-row stretch of S labelled pixels to D pixels; the source column of
// each destination pixel.
std::vector<int32_t> StretchRow(int32_t S, int32_t D, bool mirrorDst, bool mirrorSrc)
{
  TPixmap src(64, 1), dst(64, 1);
  Label(src);
  TDrawContext s(src), d(dst);
  d.StretchBlt(mirrorDst ? 5 + D - 1 : 5, 0, mirrorDst ? -D : D, 1, &s, mirrorSrc ? 3 + S - 1 : 3, 0,
               mirrorSrc ? -S : S, 1, SRCCOPY);
  std::vector<int32_t> out;
  for (int32_t x = 5; x < 5 + D; ++x)
    out.push_back(SourceX(dst.At(x, 0)) - 3);
  return out;
}

std::vector<int32_t> StretchColumn(int32_t S, int32_t D)
{
  TPixmap src(1, 64), dst(1, 64);
  Label(src);
  TDrawContext s(src), d(dst);
  d.StretchBlt(0, 5, 1, D, &s, 0, 3, 1, S, SRCCOPY);
  std::vector<int32_t> out;
  for (int32_t y = 5; y < 5 + D; ++y)
    out.push_back(SourceY(dst.At(0, y)) - 3);
  return out;
}

using V = std::vector<int32_t>;

} // namespace

// The expected rows below were measured on the reference platform with the
// colour-on-colour mode.
TEST(StretchBlt, PicksTheReferenceSourcePixels)
{
  EXPECT_EQ(StretchRow(3, 7, false, false), (V{0, 0, 1, 1, 1, 2, 2}));
  EXPECT_EQ(StretchRow(4, 10, false, false), (V{0, 0, 0, 1, 1, 2, 2, 2, 3, 3}));
  EXPECT_EQ(StretchRow(7, 3, false, false), (V{1, 4, 6}));
  EXPECT_EQ(StretchRow(13, 5, false, false), (V{2, 4, 7, 9, 12}));
  EXPECT_EQ(StretchRow(5, 1, false, false), (V{3}));
  EXPECT_EQ(StretchRow(5, 1, true, false), (V{4}));
  EXPECT_EQ(StretchColumn(7, 3), (V{0, 2, 5}));
  EXPECT_EQ(StretchColumn(11, 4), (V{0, 3, 6, 8}));
  EXPECT_EQ(StretchColumn(3, 7), (V{0, 0, 1, 1, 1, 2, 2}));
}

TEST(StretchBlt, NegativeExtentsMirrorAndHoldTheirOrigin)
{
  EXPECT_EQ(StretchRow(5, 5, true, false), (V{4, 3, 2, 1, 0}));
  EXPECT_EQ(StretchRow(5, 5, false, true), (V{4, 3, 2, 1, 0}));
  EXPECT_EQ(StretchRow(5, 5, true, true), (V{0, 1, 2, 3, 4}));
  EXPECT_EQ(StretchRow(4, 9, true, false), (V{3, 3, 2, 2, 1, 1, 1, 0, 0}));
  EXPECT_EQ(StretchRow(4, 6, false, true), (V{3, 3, 2, 1, 1, 0}));
}

TEST(StretchBlt, PixelsFedFromOutsideTheSourceAreLeftAlone)
{
  TPixmap src(8, 8), dst(20, 20);
  Label(src);
  dst.Fill(0xABCDEF);
  TDrawContext s(src), d(dst);
  // Source starts two pixels left of the bitmap: the first four destination
  // columns (2x enlargement) have no source.
  d.StretchBlt(0, 0, 10, 2, &s, -2, 0, 5, 1, SRCCOPY);
  for (int32_t x = 0; x < 4; ++x)
    EXPECT_EQ(dst.At(x, 0), 0xABCDEFu) << x;
  EXPECT_EQ(SourceX(dst.At(4, 0)), 0);
  EXPECT_EQ(SourceX(dst.At(9, 1)), 2);
  // A destination far off the bitmap draws nothing and does not overflow.
  d.StretchBlt(kMin, kMin, kMax, kMax, &s, 0, 0, 8, 8, SRCCOPY);
  d.StretchBlt(kMax, 0, kMin, 20, &s, kMin, 0, kMax, 8, SRCCOPY);
  d.StretchBlt(0, 0, 20, 20, &s, kMax - 3, kMax - 3, kMin, kMin, SRCCOPY);
  EXPECT_EQ(dst.At(0, 0), 0xABCDEFu);
}

TEST(StretchBlt, SelfStretchReadsTheWholeSourceFirst)
{
  TPixmap p(16, 16), expected(16, 16), copy(16, 16);
  Label(p);
  Label(copy);
  Label(expected);
  TDrawContext d(p), c(copy), e(expected);
  e.StretchBlt(2, 1, 14, 13, &c, 0, 0, 8, 9, SRCCOPY);
  d.StretchBlt(2, 1, 14, 13, &d, 0, 0, 8, 9, SRCCOPY);
  EXPECT_EQ(std::vector<TPixel>(p.Bits(), p.Bits() + 256), std::vector<TPixel>(expected.Bits(), expected.Bits() + 256));
}

TEST(BitBlt, CopiesThroughTheClipRegionOnly)
{
  std::mt19937 rng(5);
  for (int round = 0; round < 100; ++round) {
    TPixmap src(30, 30), dst(30, 30);
    Label(src);
    TDrawContext s(src), d(dst);
    std::vector<TRect> rects;
    for (int i = 0; i < 6; ++i) {
      const int32_t x = int32_t(rng() % 34) - 2, y = int32_t(rng() % 34) - 2;
      rects.push_back({x, y, x + int32_t(rng() % 10), y + int32_t(rng() % 10)});
    }
    const TRegion clip = TRegion::FromRects(rects);
    d.SelectClipRgn(&clip);
    const int32_t x = int32_t(rng() % 40) - 10, y = int32_t(rng() % 40) - 10;
    const int32_t sx = int32_t(rng() % 40) - 10, sy = int32_t(rng() % 40) - 10;
    const int32_t w = int32_t(rng() % 30), h = int32_t(rng() % 30);
    d.BitBlt(x, y, w, h, &s, sx, sy, SRCCOPY);
    for (int32_t py = 0; py < 30; ++py)
      for (int32_t px = 0; px < 30; ++px) {
        const int32_t fx = px - x + sx, fy = py - y + sy;
        const bool drawn = clip.Contains(px, py) && px >= x && px < x + w && py >= y && py < y + h && fx >= 0 &&
                           fx < 30 && fy >= 0 && fy < 30;
        const TPixel want = drawn ? src.At(fx, fy) : 0;
        ASSERT_EQ(dst.At(px, py), want) << "round " << round << " pixel " << px << "," << py;
      }
  }
}

TEST(BitBlt, OverlappingSelfCopiesBehaveAsIfReadFirst)
{
  for (int32_t dx : {-3, 0, 2}) {
    for (int32_t dy : {-2, 0, 3}) {
      for (bool clipped : {false, true}) {
        TPixmap p(12, 12), ref(12, 12), copy(12, 12);
        Label(p);
        Label(ref);
        Label(copy);
        TDrawContext d(p), r(ref), c(copy);
        if (clipped) {
          const std::vector<TRect> rects{{0, 0, 6, 6}, {5, 5, 12, 12}, {0, 8, 3, 12}};
          const TRegion clip = TRegion::FromRects(rects);
          d.SelectClipRgn(&clip);
          r.SelectClipRgn(&clip);
        }
        r.BitBlt(1 + dx, 1 + dy, 9, 9, &c, 1, 1, SRCCOPY);
        d.BitBlt(1 + dx, 1 + dy, 9, 9, &d, 1, 1, SRCCOPY);
        ASSERT_EQ(std::vector<TPixel>(p.Bits(), p.Bits() + 144), std::vector<TPixel>(ref.Bits(), ref.Bits() + 144))
          << dx << "," << dy << " clipped " << clipped;
      }
    }
  }
}

TEST(BitBlt, RasterOperations)
{
  TPixmap src(2, 1), dst(2, 1);
  src.At(0, 0) = 0x00F0F0F0;
  src.At(1, 0) = 0x000F0F0F;
  TDrawContext s(src), d(dst);
  const auto run = [&](uint32_t rop) {
    dst.At(0, 0) = 0x00FF00FF;
    dst.At(1, 0) = 0x00FF00FF;
    d.BitBlt(0, 0, 2, 1, &s, 0, 0, rop);
    return std::pair{dst.At(0, 0), dst.At(1, 0)};
  };
  EXPECT_EQ(run(SRCCOPY), (std::pair<TPixel, TPixel>{0xF0F0F0, 0x0F0F0F}));
  EXPECT_EQ(run(SRCAND), (std::pair<TPixel, TPixel>{0xF000F0, 0x0F000F}));
  EXPECT_EQ(run(SRCPAINT), (std::pair<TPixel, TPixel>{0xFFF0FF, 0xFF0FFF}));
  EXPECT_EQ(run(SRCINVERT), (std::pair<TPixel, TPixel>{0x0FF00F, 0xF00FF0}));
  EXPECT_EQ(run(NOTSRCCOPY), (std::pair<TPixel, TPixel>{0x0F0F0F, 0xF0F0F0}));
  EXPECT_EQ(run(DSTINVERT), (std::pair<TPixel, TPixel>{0x00FF00, 0x00FF00}));
  EXPECT_EQ(run(BLACKNESS), (std::pair<TPixel, TPixel>{0, 0}));
  EXPECT_EQ(run(WHITENESS), (std::pair<TPixel, TPixel>{0xFFFFFF, 0xFFFFFF}));
  EXPECT_THROW(run(0x12345678), std::invalid_argument);
  EXPECT_FALSE(d.BitBlt(0, 0, 2, 1, nullptr, 0, 0, SRCCOPY));
}

TEST(Clipping, ExcludeIntersectAndTheViewportOrigin)
{
  TPixmap p(20, 20);
  TDrawContext d(p);
  EXPECT_EQ(d.ClipBox(), TRect(0, 0, 20, 20));
  EXPECT_EQ(d.ExcludeClipRect(5, 5, 15, 15), COMPLEXREGION);
  EXPECT_FALSE(d.RectVisible({6, 6, 14, 14}));
  EXPECT_TRUE(d.RectVisible({6, 6, 16, 14}));
  // Inverted rectangles are put in order first.
  EXPECT_EQ(d.ExcludeClipRect(2, 0, 0, 2), COMPLEXREGION);
  EXPECT_FALSE(d.RectVisible({0, 0, 2, 2}));
  EXPECT_TRUE(d.RectVisible({2, 2, 3, 3}));
  {
    TDrawContextSaver saver(d);
    EXPECT_EQ(d.IntersectClipRect(20, 4, 16, 0), SIMPLEREGION);
    EXPECT_FALSE(d.RectVisible({0, 0, 16, 20}));
    EXPECT_EQ(d.ClipBox(), TRect(16, 0, 20, 4));
  }
  EXPECT_TRUE(d.RectVisible({2, 2, 3, 3}));

  // Clip rectangles are logical; the region is kept in device coordinates.
  d.SelectClipRgn(nullptr);
  d.SetViewportOrg(-10, -10);
  d.IntersectClipRect(10, 10, 15, 15);
  EXPECT_EQ(d.ClipRegion()->Bounds(), TRect(0, 0, 5, 5));
  EXPECT_EQ(d.ClipBox(), TRect(10, 10, 15, 15));
  d.FillRect({0, 0, 100, 100}, 7);
  EXPECT_EQ(p.At(4, 4), 7u);
  EXPECT_EQ(p.At(5, 5), 0u);
  d.SetViewportOrg(0, 0);
  EXPECT_EQ(d.ClipBox(), TRect(0, 0, 5, 5));
  EXPECT_EQ(d.SelectClipRgn(nullptr), SIMPLEREGION);
  EXPECT_FALSE(d.ClipRegion().has_value());
  // Extreme rectangles neither overflow nor wrap.
  d.ExcludeClipRect(kMin, kMin, kMax, kMax);
  EXPECT_FALSE(d.RectVisible({0, 0, 20, 20}));
  d.SelectClipRgn(nullptr);
  d.SetViewportOrg(kMax, kMax);
  EXPECT_FALSE(d.RectVisible({0, 0, 20, 20}));
  EXPECT_TRUE(d.RectVisible({kMin, kMin, kMin + 30, kMin + 30}));
}

TEST(Clipping, SaveAndRestoreLevels)
{
  TPixmap p(10, 10);
  TDrawContext d(p);
  EXPECT_EQ(d.SaveDC(), 1);
  d.SetViewportOrg(3, 3);
  d.SetStretchBltMode(COLORONCOLOR);
  EXPECT_EQ(d.SaveDC(), 2);
  d.IntersectClipRect(0, 0, 2, 2);
  EXPECT_EQ(d.SaveDC(), 3);
  d.SetViewportOrg(7, 7);
  EXPECT_TRUE(d.RestoreDC(-1));
  EXPECT_EQ(d.ViewportOrg(), TPoint(3, 3));
  EXPECT_TRUE(d.ClipRegion().has_value());
  EXPECT_FALSE(d.RestoreDC(5));
  EXPECT_FALSE(d.RestoreDC(0));
  EXPECT_TRUE(d.RestoreDC(1));
  EXPECT_EQ(d.SaveDepth(), 0);
  EXPECT_EQ(d.ViewportOrg(), TPoint(0, 0));
  EXPECT_FALSE(d.ClipRegion().has_value());
  EXPECT_EQ(d.StretchBltMode(), BLACKONWHITE);
  EXPECT_FALSE(d.RestoreDC(-1));
  EXPECT_EQ(d.SetStretchBltMode(9), 0);
}

TEST(Figures, RectangleWithAnInsideFramePenAndClearBrush)
{
  TPixmap p(12, 12);
  p.Fill(1);
  TDrawContext d(p);
  d.SelectPen({9, 2, gfx::gpsInsideFrame});
  d.SelectBrush({5, true});
  d.Rectangle(1, 1, 11, 10);
  for (int32_t y = 0; y < 12; ++y)
    for (int32_t x = 0; x < 12; ++x) {
      const bool inRect = x >= 1 && x < 11 && y >= 1 && y < 10;
      const bool inInner = x >= 3 && x < 9 && y >= 3 && y < 8;
      ASSERT_EQ(p.At(x, y), inRect && !inInner ? 9u : 1u) << x << "," << y;
    }
  // A null pen shrinks the filled interior by one on the right and bottom.
  p.Fill(0);
  d.SelectPen({0, 1, gfx::gpsNull});
  d.SelectBrush({4, false});
  d.Rectangle(0, 0, 4, 4);
  EXPECT_EQ(p.At(2, 2), 4u);
  EXPECT_EQ(p.At(3, 2), 0u);
  EXPECT_EQ(p.At(0, 0), 0u);
}

TEST(Figures, FillsFramesAndTransparentCopies)
{
  TPixmap p(6, 6), src(3, 1);
  TDrawContext d(p), s(src);
  d.FrameRect({1, 1, 5, 5}, 3);
  EXPECT_EQ(p.At(1, 1), 3u);
  EXPECT_EQ(p.At(4, 4), 3u);
  EXPECT_EQ(p.At(2, 2), 0u);
  EXPECT_EQ(p.At(5, 5), 0u);
  d.FillRect({4, 4, 2, 2}, 8); // inverted: nothing
  EXPECT_EQ(p.At(3, 3), 0u);
  src.At(0, 0) = gfx::ColorToPixel(gfx::clFuchsia);
  src.At(1, 0) = 0x123456;
  src.At(2, 0) = gfx::ColorToPixel(gfx::clFuchsia) | 0xFF000000u; // the unused byte does not count
  d.TransparentBlt(0, 0, 3, 1, s, 0, 0, gfx::clFuchsia);
  EXPECT_EQ(p.At(0, 0), 0u);
  EXPECT_EQ(p.At(1, 0), 0x123456u);
  EXPECT_EQ(p.At(2, 0), 0u);
  TPixmap mask(3, 1);
  mask.At(1, 0) = 0xFFFFFF;
  p.Fill(0);
  src.At(0, 0) = 0x111111;
  d.MaskBltKeep(0, 0, 3, 1, s, 0, 0, mask);
  EXPECT_EQ(p.At(0, 0), 0x111111u);
  EXPECT_EQ(p.At(1, 0), 0u);
}

TEST(Figures, PolygonAndLinesStayInsideTheBitmap)
{
  TPixmap p(10, 10);
  TDrawContext d(p);
  d.SelectPen({2, 1, gfx::gpsSolid});
  d.SelectBrush({6, false});
  const std::vector<TPoint> tri{{0, 0}, {8, 0}, {0, 8}};
  d.Polygon(tri);
  EXPECT_EQ(p.At(2, 2), 6u);
  EXPECT_EQ(p.At(0, 0), 2u);
  EXPECT_EQ(p.At(9, 9), 0u);
  d.Line({kMin, kMin}, {kMax, kMax}, 3); // must end quickly
  d.Line({-5, 5}, {20, 5}, 4);
  EXPECT_EQ(p.At(0, 5), 4u);
  EXPECT_EQ(p.At(9, 5), 4u);
}
