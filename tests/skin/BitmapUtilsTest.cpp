// Colour blending, the saturation measure, ramps and gradients, key-colour
// replacement, mirror/flip/rotate, strip-frame draws and regions cut from
// bitmaps.
#include "skin/BitmapUtils.h"

#include "framework/Bitmap.h"

#include <gtest/gtest.h>

namespace {

using framework::TBitmap;
using gfx::TPixel;

TPixel At(const TBitmap& b, int32_t x, int32_t y) { return b.ScanLine(y)[x] & 0xFFFFFF; }

TPixel Tag(int32_t x, int32_t y) { return TPixel(((x + 1) << 10) | (y + 1)); }

void FillTagged(TBitmap& b)
{
  for (int32_t y = 0; y < b.Height(); ++y)
    for (int32_t x = 0; x < b.Width(); ++x)
      b.ScanLine(y)[x] = Tag(x, y);
}

TEST(Blend, PercentAndPerMilleRoundHalfUp)
{
  EXPECT_EQ(skin::Blend(0x000000, 0xFFFFFF, 50), 0x808080);
  EXPECT_EQ(skin::Blend(0x000000, 0xFFFFFF, 500), 0x808080);
  // 150 per mille of c1, 850 of c2, per channel.
  EXPECT_EQ(skin::Blend(0x0000C8, 0x000000, 150), 0x00001E);
  EXPECT_EQ(skin::Blend(0x102030, 0x405060, 0), 0x405060);
  EXPECT_EQ(skin::Blend(0x102030, 0x405060, 1000), 0x102030);
  // Shares beyond the scale stay inside the colour range.
  EXPECT_EQ(skin::Blend(0xFFFFFF, 0x000000, 5000), 0xFFFFFF);
  // System colours are resolved before mixing.
  EXPECT_EQ(skin::Blend(gfx::clBtnFace, gfx::clBtnFace, 30), gfx::ColorToRGB(gfx::clBtnFace));
}

TEST(SaturationMeasure, BrightColoursScaleDarkOnesAnswer200)
{
  EXPECT_EQ(skin::SaturationMeasure(gfx::RGBColor(255, 0, 0)), 255);
  EXPECT_EQ(skin::SaturationMeasure(gfx::RGBColor(100, 50, 50)), 200);
  EXPECT_EQ(skin::SaturationMeasure(gfx::RGBColor(0, 0, 0)), 200);
  EXPECT_EQ(skin::SaturationMeasure(gfx::RGBColor(200, 200, 200)), 0);
  // 3 / 170 * 255 = 4.5 rounds to the even 4; 1 / 170 * 255 = 1.5 to 2.
  EXPECT_EQ(skin::SaturationMeasure(gfx::RGBColor(170, 167, 167)), 4);
  EXPECT_EQ(skin::SaturationMeasure(gfx::RGBColor(170, 169, 169)), 2);
}

TEST(ColorRamp, EntriesAndCaching)
{
  skin::ClearColorRamps();
  const int32_t slot = skin::ColorRamp(5, 0x000000, 0x0000FF);
  const auto& ramp = skin::RampColors(slot);
  ASSERT_EQ(ramp.size(), 5u);
  // Red channel: (2 + i * 255) div 4.
  EXPECT_EQ(ramp[0], 0x000000);
  EXPECT_EQ(ramp[1], 0x000040);
  EXPECT_EQ(ramp[2], 0x000080);
  EXPECT_EQ(ramp[3], 0x0000BF);
  EXPECT_EQ(ramp[4], 0x0000FF);
  // The same ramp again is a hit in the same slot.
  EXPECT_EQ(skin::ColorRamp(5, 0x000000, 0x0000FF), slot);

  // One colour: halfway, truncating.
  EXPECT_EQ(skin::RampColors(skin::ColorRamp(1, 0x000000, 0x0000FF))[0], 0x00007F);

  // A falling ramp need not end on c2 ((1 - 20) div 2 = -9: 0x0A + -9 = 1),
  // so it misses the cache every time.
  const int32_t fall = skin::ColorRamp(3, 0x00000A, 0x000000);
  EXPECT_EQ(skin::RampColors(fall)[2], 0x000001);
  EXPECT_NE(skin::ColorRamp(3, 0x00000A, 0x000000), fall);

  // Sixteen new ramps push the first one out of the cache.
  for (int32_t i = 0; i < skin::kRampSlots; ++i)
    (void)skin::ColorRamp(2, i, 0xFFFFFF);
  const int32_t again = skin::ColorRamp(5, 0x000000, 0x0000FF);
  EXPECT_EQ(skin::RampColors(again)[3], 0x0000BF);
}

TEST(GradientFill, PaintsOnlyVisibleBandsWithTheirWholeRampColours)
{
  skin::ClearColorRamps();
  TBitmap b(4, 20);
  b.Context().FillRect(b.Pixmap().Bounds(), 0xABCDEF);
  b.Context().IntersectClipRect(0, 5, 4, 8);
  skin::GradientFill(b.Context(), {0, 0, 4, 20}, 0x000000, true, 0x0000FF);
  const auto& ramp = skin::RampColors(skin::ColorRamp(20, 0x000000, 0x0000FF));
  for (int32_t y = 0; y < 20; ++y) {
    const TPixel expected = y >= 5 && y < 8 ? gfx::ColorToPixel(ramp[size_t(y)]) : 0xABCDEF;
    EXPECT_EQ(At(b, 2, y), expected) << "row " << y;
  }

  TBitmap h(10, 2);
  skin::GradientFill(h.Context(), {0, 0, 10, 2}, 0x000000, false, 0x00FF00);
  EXPECT_EQ(At(h, 0, 1), 0x000000u);
  EXPECT_EQ(At(h, 9, 0), 0x00FF00u);
  // A rectangle outside the bitmap paints nothing and does not fail.
  skin::GradientFill(h.Context(), {20, 20, 30, 30}, 0, true, 0xFFFFFF);
}

TEST(ReplaceKeyColor, OnlyExactMagentaChanges)
{
  TBitmap b(3, 1);
  b.ScanLine(0)[0] = 0xFF00FF;
  b.ScanLine(0)[1] = gfx::ColorToPixel(gfx::RGBColor(255, 1, 255));
  b.ScanLine(0)[2] = 0x010203;
  skin::ReplaceKeyColor(b, gfx::RGBColor(10, 20, 30));
  EXPECT_EQ(At(b, 0, 0), gfx::ColorToPixel(gfx::RGBColor(10, 20, 30)));
  EXPECT_EQ(At(b, 1, 0), gfx::ColorToPixel(gfx::RGBColor(255, 1, 255)));
  EXPECT_EQ(At(b, 2, 0), 0x010203u);
  EXPECT_EQ(b.PixelFormat(), framework::pf24bit);
}

TEST(Transforms, MirrorFlipAndQuarterTurns)
{
  TBitmap b(3, 2);
  FillTagged(b);
  skin::Mirror(b);
  EXPECT_EQ(At(b, 0, 0), Tag(2, 0));
  EXPECT_EQ(At(b, 2, 1), Tag(0, 1));
  skin::Mirror(b);
  skin::Flip(b);
  EXPECT_EQ(At(b, 0, 0), Tag(0, 1));
  EXPECT_EQ(At(b, 2, 1), Tag(2, 0));
  skin::Flip(b);

  TBitmap left(3, 2);
  FillTagged(left);
  skin::RotateLeft(left);
  ASSERT_EQ(left.Width(), 2);
  ASSERT_EQ(left.Height(), 3);
  // (x, y) goes to (y, W - 1 - x).
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 3; ++x)
      EXPECT_EQ(At(left, y, 2 - x), Tag(x, y));

  TBitmap right(3, 2);
  FillTagged(right);
  skin::RotateRight(right);
  ASSERT_EQ(right.Width(), 2);
  // (x, y) goes to (H - 1 - y, x).
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 3; ++x)
      EXPECT_EQ(At(right, 1 - y, x), Tag(x, y));
  // A left and a right turn undo each other.
  skin::RotateLeft(right);
  EXPECT_EQ(right.Width(), 3);
  EXPECT_EQ(At(right, 2, 1), Tag(2, 1));
}

TEST(StripFrameDraws, StretchedAndCentred)
{
  TBitmap strip(12, 2); // three frames of 4 x 2
  FillTagged(strip);
  strip.ScanLine(0)[5] = 0xFF00FF;
  TBitmap target(10, 6);
  target.Context().FillRect(target.Pixmap().Bounds(), 0x111111);

  skin::DrawStripFrameCentred(target.Context(), {0, 0, 10, 6}, strip, true, 3, 2);
  // Offsets (10 - 4) div 2 = 3 and (6 - 2) div 2 = 2.
  EXPECT_EQ(At(target, 3, 2), Tag(4, 0));
  EXPECT_EQ(At(target, 4, 2), 0x111111u); // magenta left out
  EXPECT_EQ(At(target, 6, 3), Tag(7, 1));
  EXPECT_EQ(At(target, 2, 2), 0x111111u);

  skin::DrawStripFrameStretched(target.Context(), {0, 0, 8, 4}, strip, false, 3, 3);
  EXPECT_EQ(At(target, 0, 0), Tag(8, 0));
  EXPECT_EQ(At(target, 7, 3), Tag(11, 1));
  // Inverted rectangles draw nothing; a count of 0 counts as 1.
  skin::DrawStripFrameStretched(target.Context(), {5, 5, 1, 1}, strip, false, 3, 1);
  skin::DrawStripFrameStretched(target.Context(), {0, 0, 12, 2}, strip, false, 0, 1);
  EXPECT_EQ(At(target, 11 - 2, 1), Tag(9, 1));
}

TEST(RegionFromBitmap, RunsOfOpaquePixels)
{
  TBitmap empty(5, 5);
  empty.Context().FillRect(empty.Pixmap().Bounds(), 0xFF00FF);
  // Near-magenta counts as key colour too.
  empty.ScanLine(2)[2] = gfx::ColorToPixel(gfx::RGBColor(255, 1, 255));
  EXPECT_TRUE(skin::RegionFromBitmap(empty, 0, 0, skin::kKeyColor).IsEmpty());

  TBitmap b(6, 2);
  b.Context().FillRect(b.Pixmap().Bounds(), 0xFF00FF);
  b.ScanLine(0)[1] = 0;
  b.ScanLine(0)[2] = 0;
  b.ScanLine(1)[4] = gfx::ColorToPixel(gfx::RGBColor(254, 0, 255));
  const gfx::TRegion r = skin::RegionFromBitmap(b, 10, 20, skin::kKeyColor);
  EXPECT_EQ(r.Area(), 3);
  EXPECT_TRUE(r.Contains(11, 20));
  EXPECT_TRUE(r.Contains(12, 20));
  EXPECT_TRUE(r.Contains(14, 21));
  EXPECT_FALSE(r.Contains(13, 20));
}

TEST(RegionFromBitmap, MoreRunsThanOneBlockHolds)
{
  // Every other column opaque: 60 runs a row, 3000 runs in all.
  TBitmap b(120, 50);
  for (int32_t y = 0; y < 50; ++y)
    for (int32_t x = 0; x < 120; ++x)
      b.ScanLine(y)[x] = (x + y) % 2 ? 0xFF00FF : 0x000000;
  const gfx::TRegion r = skin::RegionFromBitmap(b, 0, 0, skin::kKeyColor);
  EXPECT_EQ(r.Area(), 3000);
  for (int32_t y = 0; y < 50; y += 7)
    for (int32_t x = 0; x < 120; x += 3)
      EXPECT_EQ(r.Contains(x, y), (x + y) % 2 == 0) << x << "," << y;
}

TEST(CopyBitmap, TakesSizeFormatAndPixels)
{
  TBitmap source(3, 4);
  FillTagged(source);
  source.SetPixelFormat(framework::pf24bit);
  TBitmap target(10, 10);
  skin::CopyBitmap(source, target);
  EXPECT_EQ(target.Width(), 3);
  EXPECT_EQ(target.Height(), 4);
  EXPECT_EQ(target.PixelFormat(), framework::pf24bit);
  EXPECT_EQ(At(target, 2, 3), Tag(2, 3));
}

} // namespace
