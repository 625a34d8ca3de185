// Objects that come and go by the thousand, as every transition's images do,
// give back to the heaps all they took: also what the thread library
// allocated behind their locks, which the standard mutex of this toolchain
// does not release.
#include <windows.h>

#include <gtest/gtest.h>

#include "framework/Bitmap.h"
#include "framework/Canvas.h"
#include "framework/win32/HeapUsage.h"

#include <thread>

namespace {

// How far the heaps' blocks in use grew over the rounds, after a few rounds
// that set up whatever the first use costs once.
template <class TRound>
int64_t HeapGrowth(int rounds, TRound round)
{
  for (int i = 0; i < 20; ++i)
    round();
  const int64_t before = framework::HeapBytesInUse();
  for (int i = 0; i < rounds; ++i)
    round();
  return framework::HeapBytesInUse() - before;
}

// The smallest block a leak could leave is over 16 bytes; a byte per round
// leaves room for a heap that rounds a reused block differently.
constexpr int kRounds = 2000;
constexpr int64_t kAllowance = kRounds;

} // namespace

TEST(HeapRelease, BitmapsGiveBackTheirCanvasLocks)
{
  // Locked once, as a transition locks its images to compose a frame.
  EXPECT_LT(HeapGrowth(kRounds,
                       [] {
                         framework::TBitmap image(4, 4);
                         const framework::TCanvasLock locked(image.Canvas());
                       }),
            kAllowance);
  // Never locked, as most bitmaps are: their lock had nothing to give back.
  EXPECT_LT(HeapGrowth(kRounds, [] { framework::TBitmap image(4, 4); }), kAllowance);
}

TEST(HeapRelease, ACanvasTwoThreadsWaitedForGivesBackItsLock)
{
  // One thread holds the canvas while another waits for it, as the GUI
  // thread's paint and the timer thread's frame do: waiting takes another
  // way through the thread library than locking a free canvas.
  constexpr int kContended = 200;
  const int64_t growth = HeapGrowth(kContended, [] {
    framework::TBitmap image(4, 4);
    std::thread waiter;
    {
      const framework::TCanvasLock held(image.Canvas());
      waiter = std::thread([&image] { const framework::TCanvasLock locked(image.Canvas()); });
      Sleep(1);
    }
    waiter.join();
  });
  EXPECT_LT(growth, int64_t(kContended));
}
