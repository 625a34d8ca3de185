// The scratch pool behind the regions' and effects' working lists: what one
// call leaves is what the next one gets, whichever thread either runs on.
#include "gfx/ScratchPool.h"

#include <gtest/gtest.h>

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
