// The pixel effects as the table calls them: weights per progress, the random
// effects' stability and seed, the pivots' coverage and pixelate's zoom.
#include "effects/PixelCore.h"
#include "effects/PixelEffects.h"
#include "framework/Bitmap.h"
#include "gfx/Numeric.h"
#include "gfx/Random.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using framework::TBitmap;
using gfx::TPixel;
namespace pixel = effects::pixel;

namespace {

// Old and new images whose colour bytes differ everywhere: the old one a
// gradient, the new one its inverse; the fourth byte tags the source.
struct TFrames {
  int32_t W, H;
  TBitmap Screen{W, H};
  TBitmap Picture{W, H};

  TFrames(int32_t w, int32_t h) : W(w), H(h) { Reset(); }

  static TPixel OldAt(int32_t x, int32_t y) { return 0x01000000u | (uint32_t(x * 7 + y * 3) & 0xFFFFFFu); }
  static TPixel NewAt(int32_t x, int32_t y) { return 0x02000000u | (~uint32_t(x * 5 + y * 11) & 0xFFFFFFu); }

  void Reset()
  {
    for (int32_t y = 0; y < H; ++y)
      for (int32_t x = 0; x < W; ++x) {
        Screen.Pixmap().At(x, y) = OldAt(x, y);
        Picture.Pixmap().At(x, y) = NewAt(x, y);
      }
  }

  void Run(effects::TEffectProc effect, int32_t progress)
  {
    const auto size = effects::ProgressSize(W, H, progress);
    Screen.Context().SetStretchBltMode(COLORONCOLOR);
    effect(Screen, Picture, W, H, size.X, size.Y, progress);
  }

  TPixel At(int32_t x, int32_t y) const { return Screen.Pixmap().At(x, y); }
  std::vector<TPixel> Pixels() const
  {
    const gfx::TPixmap& p = Screen.Pixmap();
    return {p.Bits(), p.Bits() + size_t(W) * size_t(H)};
  }
  double NewShare() const
  {
    size_t count = 0;
    for (TPixel p : Pixels())
      count += (p >> 24) == 2;
    return double(count) / double(size_t(W) * size_t(H));
  }
};

uint8_t Channel(TPixel p, int32_t c) { return uint8_t(p >> (8 * c)); }

} // namespace

TEST(FadeEffect, BlendsEveryPixelByTheProgressWeight)
{
  TFrames f(9, 5);
  TBitmap& s = f.Screen;
  s.Pixmap().Fill(0x55000000);
  f.Picture.Pixmap().Fill(0x66FFFFFF);
  f.Run(effects::FadeEffect, 50);
  for (TPixel p : f.Pixels())
    ASSERT_EQ(p, 0x557F7F7Fu);
  // Progress 1: weight 3, a rise of 85 is lost and any fall shows.
  s.Pixmap().Fill(0x00808080);
  f.Picture.Pixmap().Fill(0x00D57F00); // +85, -1, -128
  f.Run(effects::FadeEffect, 1);
  EXPECT_EQ(f.At(4, 2), 0x00807F7Eu);
}

TEST(ChannelMixEffect, ChannelsChangeOverOneAfterAnother)
{
  TFrames f(6, 4);
  const pixel::TChannelOrder order = pixel::ChannelOrder(f.Picture.Handle());
  const auto check = [&](int32_t progress, int32_t setCount, int32_t blendWeight) {
    f.Reset();
    f.Run(effects::ChannelMixEffect, progress);
    const int32_t channels[3] = {order.First, order.Second, order.Third};
    for (int32_t y = 0; y < f.H; ++y)
      for (int32_t x = 0; x < f.W; ++x) {
        const TPixel old = TFrames::OldAt(x, y), neu = TFrames::NewAt(x, y), got = f.At(x, y);
        ASSERT_EQ(got >> 24, 1u) << "the fourth byte is never blended";
        for (int32_t i = 0; i < 3; ++i) {
          const int32_t c = channels[i];
          int expected = Channel(old, c);
          if (i < setCount)
            expected = Channel(neu, c);
          else if (i == setCount)
            expected = Channel(pixel::BlendPixel(old, neu, uint32_t(blendWeight)), c);
          ASSERT_EQ(Channel(got, c), expected) << "progress " << progress << " channel " << c;
        }
      }
  };
  check(1, 0, gfx::MulDiv(256, 1, 33));
  check(33, 0, 256); // the first channel already equals the new one
  check(34, 1, 8);
  check(50, 1, gfx::MulDiv(256, 17, 33));
  check(66, 1, 256);
  check(67, 2, 8);
  check(99, 2, 256);
}

TEST(RandomPixelEffects, RepeatTheSameFrameAndKeepTheSeed)
{
  for (effects::TEffectProc effect :
       {effects::DissolveEffect, effects::RandomBarsHorizontalEffect, effects::RandomBarsVerticalEffect}) {
    TFrames f(37, 23);
    gfx::RandSeed = 0x12345678;
    f.Run(*effect, 45);
    EXPECT_EQ(gfx::RandSeed, 0x12345678u);
    const std::vector<TPixel> first = f.Pixels();
    f.Reset();
    gfx::Random(10); // another user of the generator between frames changes nothing
    f.Run(*effect, 45);
    EXPECT_EQ(f.Pixels(), first);
    EXPECT_GT(f.NewShare(), 0.15);
    EXPECT_LT(f.NewShare(), 0.75);
  }
}

TEST(RandomPixelEffects, PatternDependsOnThePictureAndWholeBarsAreCopied)
{
  TFrames a(40, 30), b(40, 30);
  a.Run(effects::DissolveEffect, 50);
  b.Run(effects::DissolveEffect, 50);
  ASSERT_NE(a.Picture.Handle(), b.Picture.Handle());
  EXPECT_NE(a.Pixels(), b.Pixels());

  TFrames rows(40, 30);
  rows.Run(effects::RandomBarsHorizontalEffect, 60);
  for (int32_t y = 0; y < 30; ++y)
    for (int32_t x = 1; x < 40; ++x)
      ASSERT_EQ(rows.At(x, y) >> 24, rows.At(0, y) >> 24) << x << "," << y;
  TFrames columns(40, 30);
  columns.Run(effects::RandomBarsVerticalEffect, 60);
  for (int32_t x = 0; x < 40; ++x)
    for (int32_t y = 1; y < 30; ++y)
      ASSERT_EQ(columns.At(x, y) >> 24, columns.At(x, 0) >> 24) << x << "," << y;
}

TEST(PivotEffects, TurnIntoPlaceAboutFourCorners)
{
  effects::TEffectProc pivots[] = {effects::PivotFromTopLeftEffect, effects::PivotFromBottomLeftEffect,
                                        effects::PivotFromTopRightEffect, effects::PivotFromBottomRightEffect};
  std::vector<std::vector<TPixel>> halfway;
  for (effects::TEffectProc pivot : pivots) {
    TFrames f(80, 60);
    f.Run(*pivot, 1);
    EXPECT_LT(f.NewShare(), 0.05); // turned by 89.1 degrees: a sliver
    f.Reset();
    f.Run(*pivot, 50);
    EXPECT_GT(f.NewShare(), 0.2);
    EXPECT_LT(f.NewShare(), 0.8);
    halfway.push_back(f.Pixels());
    f.Reset();
    f.Run(*pivot, 99);
    EXPECT_GT(f.NewShare(), 0.9);
    // Where the picture shows it is the picture's own pixel or a neighbour's.
    for (int32_t y = 10; y < 50; ++y)
      for (int32_t x = 10; x < 70; ++x) {
        const TPixel p = f.At(x, y);
        ASSERT_EQ(p >> 24, 2u);
      }
  }
  for (size_t i = 0; i < halfway.size(); ++i)
    for (size_t j = i + 1; j < halfway.size(); ++j)
      EXPECT_NE(halfway[i], halfway[j]) << i << " and " << j;
}

TEST(PixelateEffect, ZoomsIntoTheOldImageAndOutOfTheNew)
{
  // 400 x 300 at 50: f = 98, dx = 196, dy = 147, an 8 x 6 centre blended half
  // way and stretched to 1184 x 888 from (-392, -294).
  const effects::TPixelateStep half = effects::PixelateStep(400, 300, 200, 150, 50);
  EXPECT_FALSE(half.FromPicture);
  EXPECT_TRUE(half.Blend);
  EXPECT_EQ(half.BlendWeight, 128);
  EXPECT_EQ(half.DX, 196);
  EXPECT_EQ(half.DY, 147);
  EXPECT_EQ(half.SW, 8);
  EXPECT_EQ(half.SH, 6);
  // At 60 there is no blend and the stretch reads the new picture.
  const effects::TPixelateStep sixty = effects::PixelateStep(400, 300, 240, 180, 60);
  EXPECT_TRUE(sixty.FromPicture);
  EXPECT_FALSE(sixty.Blend);
  // Blending starts at 41 (5 %) and ends at 59 (95 %).
  EXPECT_FALSE(effects::PixelateStep(400, 300, 160, 120, 40).Blend);
  EXPECT_EQ(effects::PixelateStep(400, 300, 164, 123, 41).BlendWeight, gfx::MulDiv(256, 5, 100));
  EXPECT_EQ(effects::PixelateStep(400, 300, 236, 177, 59).BlendWeight, gfx::MulDiv(256, 95, 100));

  TFrames f(400, 300);
  f.Run(effects::PixelateEffect, 50);
  // The top-left pixel is fed by centre pixel (198, 148), blended half way.
  EXPECT_EQ(f.At(0, 0), pixel::BlendPixel(TFrames::OldAt(198, 148), TFrames::NewAt(198, 148), 128));
  // Blocks of 148 x 148 pixels share one source pixel; the stretch starts
  // 392 and 294 pixels outside, so the first block shows 52 x 2 pixels.
  EXPECT_EQ(f.At(0, 0), f.At(40, 1));
  EXPECT_EQ(f.At(0, 2), f.At(40, 100));
  EXPECT_NE(f.At(0, 0), f.At(0, 2));
  f.Reset();
  f.Run(effects::PixelateEffect, 60);
  EXPECT_EQ(f.NewShare(), 1.0);
  f.Reset();
  f.Run(effects::PixelateEffect, 10);
  EXPECT_EQ(f.NewShare(), 0.0);
}

TEST(PixelateEffect, TinyFramesStayInsideTheBitmaps)
{
  // The two-pixel minimum of the centre reaches past frames this small; only
  // the part on the bitmaps is blended and every pixel still comes from one
  // of the two images (the sanitizer build also watches the memory).
  for (int32_t progress : {1, 41, 50, 59, 99}) {
    for (auto [w, h] : {std::pair{1, 1}, std::pair{3, 2}, std::pair{2, 5}}) {
      TFrames f(w, h);
      f.Run(effects::PixelateEffect, progress);
      for (TPixel p : f.Pixels())
        ASSERT_TRUE((p >> 24) == 1 || (p >> 24) == 2) << w << "x" << h << " at " << progress;
    }
  }
}

TEST(PixelEffects, DrawNothingWhenTheBitmapsAreNotWByH)
{
  // A caller that hands a larger size than the bitmaps have must not make the
  // effects read or write past them.
  effects::TEffectProc all[] = {effects::FadeEffect,
                                effects::ChannelMixEffect,
                                effects::DissolveEffect,
                                effects::RandomBarsHorizontalEffect,
                                effects::RandomBarsVerticalEffect,
                                effects::PivotFromTopLeftEffect,
                                effects::PivotFromBottomRightEffect,
                                effects::PixelateEffect};
  for (effects::TEffectProc effect : all) {
    TFrames f(12, 8);
    TBitmap smaller(6, 8);
    const std::vector<TPixel> before = f.Pixels();
    (*effect)(f.Screen, f.Picture, 24, 8, 12, 4, 50);
    EXPECT_EQ(f.Pixels(), before);
    (*effect)(f.Screen, smaller, 12, 8, 6, 4, 50);
    EXPECT_EQ(f.Pixels(), before);
  }
}
