#include "gfx/Numeric.h"
#include "gfx/Random.h"

#include <gtest/gtest.h>

#include <limits>

using gfx::MulDiv;

TEST(MulDiv, RoundsHalvesAwayFromZero)
{
  EXPECT_EQ(MulDiv(1, 1, 2), 1);
  EXPECT_EQ(MulDiv(-1, 1, 2), -1);
  EXPECT_EQ(MulDiv(1, -1, 2), -1);
  EXPECT_EQ(MulDiv(-1, -1, 2), 1);
  EXPECT_EQ(MulDiv(1, 1, -2), -1);
  EXPECT_EQ(MulDiv(5, 1, 3), 2);   // 1.67
  EXPECT_EQ(MulDiv(4, 1, 3), 1);   // 1.33
  EXPECT_EQ(MulDiv(-5, 1, 3), -2);
  EXPECT_EQ(MulDiv(1920, 37, 100), 710); // 710.4
  EXPECT_EQ(MulDiv(1080, 50, 100), 540);
}

TEST(MulDiv, UsesA64BitIntermediate)
{
  EXPECT_EQ(MulDiv(100000, 100000, 100000), 100000);
  EXPECT_EQ(MulDiv(std::numeric_limits<int32_t>::max(), 2, 2), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(MulDiv(std::numeric_limits<int32_t>::min(), 1, 1), std::numeric_limits<int32_t>::min());
}

TEST(MulDiv, AnswersMinusOneForZeroDivisorAndOverflow)
{
  EXPECT_EQ(MulDiv(5, 7, 0), -1);
  EXPECT_EQ(MulDiv(0, 7, 0), -1);
  EXPECT_EQ(MulDiv(std::numeric_limits<int32_t>::max(), 4, 2), -1);
  EXPECT_EQ(MulDiv(std::numeric_limits<int32_t>::min(), -1, 1), -1);
}

TEST(Round, RoundsHalvesToEven)
{
  EXPECT_EQ(gfx::Round(0.5), 0);
  EXPECT_EQ(gfx::Round(1.5), 2);
  EXPECT_EQ(gfx::Round(2.5), 2);
  EXPECT_EQ(gfx::Round(-0.5), 0);
  EXPECT_EQ(gfx::Round(-1.5), -2);
  EXPECT_EQ(gfx::Round(2.4999), 2);
  EXPECT_EQ(gfx::Round(2.5001), 3);
}

TEST(Random, FollowsTheLinearCongruentialSequence)
{
  gfx::TRandSeedGuard guard;
  gfx::RandSeed = 0;
  // Seed 0 -> 1 -> 134775814 -> ...; the value is the top 32 bits of seed * range.
  EXPECT_EQ(gfx::Random(100), 0u);
  EXPECT_EQ(gfx::RandSeed, 1u);
  EXPECT_EQ(gfx::Random(100), static_cast<uint32_t>((uint64_t{134775814u} * 100) >> 32));
  EXPECT_EQ(gfx::RandSeed, 134775814u);
  gfx::RandSeed = 0xFFFFFFFFu;
  EXPECT_EQ(gfx::Random(1u << 31), static_cast<uint32_t>((uint64_t(0xFFFFFFFFu * 134775813u + 1u) << 31) >> 32));
}

TEST(Random, SameSeedGivesSameSequenceAndStaysInRange)
{
  gfx::TRandSeedGuard guard;
  gfx::RandSeed = 12345;
  uint32_t first[50];
  for (auto& v : first) {
    v = gfx::Random(7);
    EXPECT_LT(v, 7u);
  }
  gfx::RandSeed = 12345;
  for (auto v : first)
    EXPECT_EQ(gfx::Random(7), v);
  EXPECT_EQ(gfx::Random(0), 0u);
}

TEST(Random, SeedGuardRestoresOnException)
{
  gfx::RandSeed = 77;
  try {
    gfx::TRandSeedGuard guard;
    gfx::RandSeed = 5;
    throw 1;
  } catch (int) {
  }
  EXPECT_EQ(gfx::RandSeed, 77u);
}
