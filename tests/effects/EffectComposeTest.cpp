// Every style's compose procedure against the two steps it stands for:
// copying the old image onto the frame and calling the effect. The frames
// must agree pixel for pixel whatever the frame held before, and the
// generator must be left where the two steps leave it.
#include "EffectTestSupport.h"

#include "effects/PixelCore.h"
#include "framework/Canvas.h"
#include "gfx/DrawContext.h"
#include "gfx/Random.h"

#include <gtest/gtest.h>

#include <string>

namespace effects {
namespace {

using framework::TBitmap;
using testing::FillTagged;
using testing::kNewTag;
using testing::kOldTag;

// Something the compose procedure must overwrite or leave alone, never keep
// by accident: a value no tagged pixel has.
void FillStale(TBitmap& bitmap, gfx::TPixel value)
{
  bitmap.Pixmap().Fill(value);
}

struct TCase {
  int32_t W;
  int32_t H;
  // The frame bitmap may be larger than the W x H frame, as the display's
  // is: the pixels beyond must be left as they were.
  int32_t ExtraW = 0;
  int32_t ExtraH = 0;
};

constexpr TCase kCases[] = {
  {40, 24}, {23, 41}, {1, 9}, {9, 1}, {64, 64}, {101, 37}, {30, 20, 7, 5},
  // More pixels than the pixel effects work on at a time.
  {130, 70},
};
constexpr int32_t kProgress[] = {1, 7, 25, 33, 50, 66, 75, 99};

std::string Describe(TShowStyle style, const TCase& c, int32_t progress)
{
  return "style " + std::to_string(style) + " (" + std::string(StyleName(style)) + ") " + std::to_string(c.W) +
         "x" + std::to_string(c.H) + (c.ExtraW || c.ExtraH ? " in a larger frame" : "") + " at " +
         std::to_string(progress);
}

// First differing pixel, or an empty string.
std::string FirstDifference(const TBitmap& a, const TBitmap& b)
{
  for (int32_t y = 0; y < a.Height(); ++y)
    for (int32_t x = 0; x < a.Width(); ++x)
      if (a.Pixmap().At(x, y) != b.Pixmap().At(x, y))
        return "first difference at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
  return {};
}

void ExpectEveryStyleComposesAsItDraws()
{
  for (const TCase& c : kCases) {
    TBitmap oldImage(c.W, c.H);
    TBitmap picture(c.W, c.H);
    FillTagged(oldImage, kOldTag);
    FillTagged(picture, kNewTag);
    TBitmap composed(c.W + c.ExtraW, c.H + c.ExtraH);
    TBitmap stepwise(c.W + c.ExtraW, c.H + c.ExtraH);
    for (TShowStyle style = 1; style <= kMaxStyle; ++style) {
      const TEffect& effect = EffectOfStyle(style);
      for (int32_t progress : kProgress) {
        const TProgressSize size = ProgressSize(c.W, c.H, progress);
        // Stale content differs between the two frames inside W x H, so a
        // pixel the compose procedure forgets to write shows up.
        FillStale(composed, 0xEE00BEEFu);
        FillStale(stepwise, 0xEE00BEEFu);
        gfx::FillRect(composed.Canvas().Handle(), gfx::TRect{0, 0, c.W, c.H}, gfx::TColor(0x00123456));

        gfx::RandSeed = 4242;
        gfx::SetStretchBltMode(composed.Canvas().Handle(), COLORONCOLOR);
        effect.Compose(composed, oldImage, picture, c.W, c.H, size.X, size.Y, progress);
        const uint32_t seedAfterCompose = gfx::RandSeed;

        gfx::RandSeed = 4242;
        gfx::SetStretchBltMode(stepwise.Canvas().Handle(), COLORONCOLOR);
        CopyOldImage(stepwise, oldImage, c.W, c.H);
        effect.Proc(stepwise, picture, c.W, c.H, size.X, size.Y, progress);

        const std::string what = Describe(style, c, progress);
        ASSERT_EQ(FirstDifference(composed, stepwise), "") << what;
        EXPECT_EQ(seedAfterCompose, gfx::RandSeed) << what;
        EXPECT_FALSE(composed.Context().ClipRegion().has_value()) << what;
      }
    }
  }
}

TEST(EffectCompose, EveryStyleGivesTheFrameOfCopyingTheOldImageThenDrawing)
{
  ExpectEveryStyleComposesAsItDraws();
}

TEST(EffectCompose, ThePortablePixelLoopsComposeAsTheyDraw)
{
  pixel::UseWideKernels(false);
  ExpectEveryStyleComposesAsItDraws();
  pixel::UseWideKernels(true);
}

TEST(EffectCompose, ComposingNeverChangesEitherPicture)
{
  TBitmap oldImage(33, 21);
  TBitmap picture(33, 21);
  FillTagged(oldImage, kOldTag);
  FillTagged(picture, kNewTag);
  TBitmap oldCopy(33, 21);
  TBitmap pictureCopy(33, 21);
  FillTagged(oldCopy, kOldTag);
  FillTagged(pictureCopy, kNewTag);
  TBitmap frame(33, 21);
  for (TShowStyle style = 1; style <= kMaxStyle; ++style) {
    ComposeEffectFrame(frame, oldImage, picture, style, 50);
    ASSERT_EQ(FirstDifference(oldImage, oldCopy), "") << "style " << int(style);
    ASSERT_EQ(FirstDifference(picture, pictureCopy), "") << "style " << int(style);
  }
}

} // namespace
} // namespace effects
