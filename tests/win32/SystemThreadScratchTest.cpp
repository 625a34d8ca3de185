// Regions built on threads the system starts rather than the C++ runtime, as
// the multimedia timer's thread is (under Wine a new one for each timer, so
// one per transition): whatever working memory they use must not stay behind
// when such a thread ends.
#include <windows.h>

#include <psapi.h>

#include <gtest/gtest.h>

#include "gfx/Region.h"

#include <vector>

namespace {

int64_t PrivateBytes()
{
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
  // Wine leaves PrivateUsage 0 and gives the same figure as PagefileUsage.
  return int64_t(memory.PrivateUsage != 0 ? memory.PrivateUsage : memory.PagefileUsage);
}

// A staircase of thousands of rectangles and a many-pointed star: large
// enough working lists for both ways of building a region.
DWORD WINAPI BuildRegions(LPVOID)
{
  std::vector<gfx::TRect> steps;
  for (int32_t i = 0; i < 4000; ++i)
    steps.push_back({i, i, i + 50, i + 2});
  std::vector<gfx::TPoint> star;
  for (int32_t i = 0; i < 2000; ++i)
    star.push_back({i % 2 ? 1000 + i : 1000 - i, i});
  const gfx::TRegion a = gfx::TRegion::FromRects(steps);
  const gfx::TRegion b = gfx::TRegion::FromPolygon(star, ALTERNATE);
  return DWORD(a.Rects().size() + b.Rects().size()) > 0 ? 0 : 1;
}

void BuildOnSystemThread()
{
  HANDLE thread = CreateThread(nullptr, 0, &BuildRegions, nullptr, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  // A thread that does not end within seconds is stuck in the runtime's
  // thread teardown: a failure, not something to wait out.
  ASSERT_EQ(WaitForSingleObject(thread, 10000), WAIT_OBJECT_0);
  DWORD code = 1;
  GetExitCodeThread(thread, &code);
  CloseHandle(thread);
  EXPECT_EQ(code, 0u);
}

} // namespace

TEST(SystemThreads, RegionsBuiltOnThreadsThatEndLeaveNoWorkingMemoryBehind)
{
  // The first threads set up what every thread costs the process once.
  for (int i = 0; i < 20; ++i)
    BuildOnSystemThread();
  const int64_t before = PrivateBytes();
  for (int i = 0; i < 200; ++i)
    BuildOnSystemThread();
  // Each thread's lists take over 100 KB; left behind, 200 threads would
  // hold some 20 MB.
  EXPECT_LT(PrivateBytes() - before, 4 * 1024 * 1024);
}
