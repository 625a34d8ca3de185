// The scratch pool behind the regions' and effects' working lists: what one
// call leaves is what the next one gets, whichever thread either runs on.
#include "gfx/ScratchPool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

using gfx::TScratchPool;

TEST(ScratchPool, AnObjectOutlivesTheThreadThatUsedItAndServesTheNextCall)
{
  TScratchPool<std::vector<int>> pool;
  const int* storage = nullptr;
  std::thread([&] {
    const auto lease = pool.Acquire();
    lease->assign(1000, 7);
    storage = lease->data();
  }).join();
  EXPECT_EQ(pool.Idle(), 1u);
  const auto lease = pool.Acquire();
  // The same memory, not a copy: the next frame does not allocate again.
  EXPECT_EQ(lease->data(), storage);
  EXPECT_EQ(lease->size(), 1000u);
  EXPECT_EQ(pool.Idle(), 0u);
}

TEST(ScratchPool, CallsAtTheSameTimeGetObjectsOfTheirOwnAndAllComeBack)
{
  TScratchPool<std::vector<int>> pool;
  {
    const auto first = pool.Acquire();
    const auto second = pool.Acquire();
    EXPECT_NE(&*first, &*second);
    first->push_back(1);
    EXPECT_TRUE(second->empty());
  }
  EXPECT_EQ(pool.Idle(), 2u);
  // An error leaving the scope gives the object back too.
  try {
    const auto lease = pool.Acquire();
    throw std::runtime_error("drawing failed");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(pool.Idle(), 2u);
}

TEST(ScratchPool, ThreadsTakingTurnsNeedNoMoreObjectsThanRunAtOnce)
{
  TScratchPool<std::vector<int>> pool;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&pool] {
      for (int i = 0; i < 2000; ++i) {
        const auto lease = pool.Acquire();
        lease->push_back(i);
      }
    });
  for (std::thread& thread : threads)
    thread.join();
  EXPECT_GE(pool.Idle(), 1u);
  EXPECT_LE(pool.Idle(), 4u);
}

TEST(ScratchPool, ReleasingIdleScratchFreesOnlyWhatNoCallHolds)
{
  TScratchPool<std::vector<int>> pool;
  {
    const auto first = pool.Acquire();
    const auto second = pool.Acquire();
    first->assign(100, 1);
    second->assign(200, 2);
  }
  EXPECT_EQ(pool.Idle(), 2u);
  {
    const auto held = pool.Acquire();
    const size_t heldSize = held->size();
    gfx::ReleaseIdleScratch();
    EXPECT_EQ(pool.Idle(), 0u);
    EXPECT_EQ(held->size(), heldSize) << "an object in use is left as it is";
  }
  // The held object came back; the next calls get it, then new ones.
  EXPECT_EQ(pool.Idle(), 1u);
  const auto again = pool.Acquire();
  EXPECT_FALSE(again->empty());
  const auto fresh = pool.Acquire();
  EXPECT_TRUE(fresh->empty());

  // A pool that has ended is no longer reached (the sanitizers would see it).
  {
    TScratchPool<std::vector<int>> ended;
    ended.Acquire()->assign(10, 3);
  }
  gfx::ReleaseIdleScratch();
}

TEST(ScratchPool, ReleasesWhileOtherThreadsDrawLoseNothing)
{
  TScratchPool<std::vector<int>> pool;
  std::atomic<bool> drawing{true};
  std::thread releaser([&] {
    while (drawing)
      gfx::ReleaseIdleScratch();
  });
  std::vector<std::thread> threads;
  std::atomic<int> wrong{0};
  for (int t = 0; t < 3; ++t)
    threads.emplace_back([&pool, &wrong, t] {
      for (int i = 0; i < 3000; ++i) {
        const auto lease = pool.Acquire();
        lease->assign(50, t);
        std::this_thread::yield();
        if ((*lease)[49] != t)
          ++wrong;
      }
    });
  for (std::thread& thread : threads)
    thread.join();
  drawing = false;
  releaser.join();
  EXPECT_EQ(wrong, 0);
  EXPECT_LE(pool.Idle(), 3u);
}
