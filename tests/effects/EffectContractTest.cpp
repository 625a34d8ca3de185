// What every effect of the table promises its caller, checked for every style.
#include "EffectTestSupport.h"

#include "framework/Canvas.h"
#include "gfx/Random.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace effects {
namespace {

using testing::kNewTag;
using testing::TTransition;

// The uneven shreds and the speckles draw from the generator without
// reseeding it: their edges move from frame to frame by design, so they are
// held to a fixed seed instead of to frame history.
bool DrawsUnseededRandomness(TShowStyle style)
{
  const std::string_view name = StyleName(style);
  return name.starts_with("Uneven shred") || name.starts_with("Unven shred") || name.starts_with("Speckle");
}

std::vector<gfx::TPixel> Pixels(const framework::TBitmap& bitmap)
{
  const gfx::TPixmap& p = bitmap.Pixmap();
  return {p.Bits(), p.Bits() + size_t(p.Width()) * size_t(p.Height())};
}

class EffectContract : public ::testing::TestWithParam<std::pair<int32_t, int32_t>> {};

TEST_P(EffectContract, EveryStyleKeepsTheCallingContract)
{
  const auto [w, h] = GetParam();
  TTransition t(w, h);
  const std::vector<gfx::TPixel> picture = Pixels(t.New);
  const std::vector<gfx::TPixel> old = Pixels(t.Old);
  for (TShowStyle style = 1; style <= kMaxStyle; ++style) {
    SCOPED_TRACE("style " + std::to_string(style) + " \"" + std::string(StyleName(style)) + "\" " +
                 std::to_string(w) + "x" + std::to_string(h));
    const bool unseeded = DrawsUnseededRandomness(style);
    gfx::TDrawContext& dc = t.Frame.Context();
    std::vector<std::vector<gfx::TPixel>> forward;
    for (int32_t progress : {1, 30, 50, 70, 99}) {
      gfx::RandSeed = 0x5EED1234;
      t.Compose(style, progress);
      // Only the frame was drawn on; the canvas is as the effect found it.
      ASSERT_EQ(Pixels(t.New), picture);
      ASSERT_EQ(Pixels(t.Old), old);
      ASSERT_FALSE(dc.ClipRegion().has_value());
      ASSERT_EQ(dc.SaveDepth(), 0);
      ASSERT_EQ(dc.ViewportOrg(), (gfx::TPoint{0, 0}));
      ASSERT_EQ(t.Frame.Width(), w);
      ASSERT_EQ(t.Frame.Height(), h);
      if (!unseeded) {
        ASSERT_EQ(gfx::RandSeed, 0x5EED1234u) << "at " << progress;
      }
      forward.push_back(Pixels(t.Frame));
    }
    // The same progress gives the same frame whatever came before: played
    // backward, the frames must repeat.
    size_t i = forward.size();
    for (int32_t progress : {99, 70, 50, 30, 1}) {
      --i;
      gfx::RandSeed = 0x5EED1234;
      t.Compose(style, progress);
      ASSERT_EQ(Pixels(t.Frame), forward[i]) << "at " << progress << " played backward";
    }
    // The ends of a transition are the old image and the new picture.
    t.Compose(style, 0);
    ASSERT_EQ(Pixels(t.Frame), old);
    t.Compose(style, 100);
    ASSERT_EQ(Pixels(t.Frame), picture);
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, EffectContract,
                         ::testing::Values(std::make_pair(48, 36), std::make_pair(37, 53), std::make_pair(1, 7),
                                           std::make_pair(7, 1), std::make_pair(2, 2)),
                         [](const auto& size) {
                           return std::to_string(size.param.first) + "x" + std::to_string(size.param.second);
                         });

TEST(EffectFrame, RefusesWhatNoEffectCanDraw)
{
  TTransition t(4, 4);
  EXPECT_THROW(t.Compose(0, 50), std::invalid_argument);
  EXPECT_THROW(t.Compose(177, 50), std::out_of_range);
  EXPECT_THROW(t.Compose(1, 101), std::out_of_range);
  EXPECT_THROW(t.Compose(1, -1), std::out_of_range);
  framework::TBitmap other(5, 4);
  EXPECT_THROW(ComposeEffectFrame(t.Frame, other, t.New, 1, 50), std::invalid_argument);
}

TEST(EffectFrame, SetsColourOnColourAndSizesTheFrame)
{
  TTransition t(6, 3);
  t.Frame.SetSize(2, 2);
  t.Compose(5, 50);
  EXPECT_EQ(t.Frame.Width(), 6);
  EXPECT_EQ(t.Frame.Height(), 3);
  EXPECT_EQ(t.Frame.Context().StretchBltMode(), COLORONCOLOR);
  EXPECT_EQ(t.SourceAt(0, 0).Tag, kNewTag);
}

} // namespace
} // namespace effects
