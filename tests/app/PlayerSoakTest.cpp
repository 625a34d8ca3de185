// A short endurance run of player.exe: the same run as app_soak_bench, short
// enough for every test run. Every effect is used once in the first 176
// transitions, and some keep what they build for the next time, so the
// figures are compared from the span after that on.
#include "tests/app/PlayerSoak.h"

#include <gtest/gtest.h>

using namespace apptest;

namespace {

constexpr TSoakSettings kShortRun{.Transitions = 300, .SpanLength = 60, .Step = 25, .Delay = 5};
constexpr size_t kFirstComparedSpan = 3; // transitions 181 to 240

// How far a floor may rise over the last 120 transitions. A leak of one
// picture-sized bitmap, one handle per transition or a window per picture
// goes well beyond these; the memory allowance is the heap's own coming and
// going around pictures of up to 70 MB.
constexpr int64_t kMemoryTolerance = 4 * 1024 * 1024;
// The heaps' blocks in use leave that coming and going out: they rise only
// with what the player keeps, here its history of shown pictures (full after
// 500 names); the effects' working lists go when each transition ends. A leak
// of 5 KB per transition goes beyond this; private memory would let it pass.
constexpr int64_t kHeapTolerance = 512 * 1024;
constexpr int64_t kGdiTolerance = 4;
constexpr int64_t kUserTolerance = 1;

} // namespace

TEST(PlayerSoak, MemoryAndHandlesStayFlatOverThreeHundredTransitions)
{
  const TSoakFolder folder;
  TPlayerSoak soak(folder.Path(), kShortRun);
  PrintSpanHeader();
  std::vector<TSoakSpan> spans;
  try {
    spans = soak.Run(PrintSpan);
  } catch (const std::exception& error) {
    FAIL() << error.what();
  }
  ASSERT_EQ(spans.size(), size_t(kShortRun.Transitions / kShortRun.SpanLength));
  EXPECT_GT(spans.front().Least.PrivateBytes, 0) << "the player's private memory was not read";
  EXPECT_GT(spans.front().Least.HeapInUse, 0) << "the player did not answer its heaps' bytes in use";
  EXPECT_GT(spans.front().Least.GdiObjects, 0) << "the player's GDI objects were not counted";
  EXPECT_GT(spans.front().Least.UserObjects, 0) << "the player's windows were not counted";

  const TSoakFigures growth = FloorGrowth(spans, kFirstComparedSpan - 1);
  EXPECT_LE(growth.PrivateBytes, kMemoryTolerance);
  EXPECT_LE(growth.HeapInUse, kHeapTolerance);
  EXPECT_LE(growth.GdiObjects, kGdiTolerance);
  EXPECT_LE(growth.UserObjects, kUserTolerance);
}
