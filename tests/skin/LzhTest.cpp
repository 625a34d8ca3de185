#include "skin/LZH.h"
#include "skin/LzhTree.h"

#include <gtest/gtest.h>

#include <random>

using namespace skin;
using namespace skin::lzh;

namespace {

// Checks the structural rules the coder relies on: counts sorted in position
// order, every internal count the sum of its two children, parents pointing
// back at their children, and every symbol's leaf reachable from the root.
void ExpectConsistent(const TLzhTree& tree)
{
  for (int32_t i = 0; i + 1 < T; ++i)
    ASSERT_LE(tree.Freq(i), tree.Freq(i + 1)) << "position " << i;
  int32_t leaves = 0;
  for (int32_t i = 0; i < T; ++i) {
    const int32_t s = tree.Son(i);
    if (s >= T) {
      ++leaves;
      ASSERT_EQ(tree.Parent(s), i);
    } else {
      ASSERT_EQ(tree.Freq(i), tree.Freq(s) + tree.Freq(s + 1)) << "node " << i;
      ASSERT_EQ(tree.Parent(s), i);
      ASSERT_EQ(tree.Parent(s + 1), i);
    }
  }
  ASSERT_EQ(leaves, N_CHAR);
  for (int32_t symbol = 0; symbol < N_CHAR; ++symbol) {
    int32_t node = tree.Parent(symbol + T);
    ASSERT_EQ(tree.Son(node), symbol + T);
    int32_t depth = 0;
    while (node != R && depth < T) {
      node = tree.Parent(node);
      ++depth;
    }
    ASSERT_EQ(node, R) << "symbol " << symbol;
  }
}

} // namespace

TEST(LzhTables, PositionCodeMatchesTheRunLengths)
{
  const auto& t = kPositionTables;
  EXPECT_EQ(t.dCode[0x00], 0);
  EXPECT_EQ(t.dCode[0x1F], 0);
  EXPECT_EQ(t.dCode[0x20], 1);
  EXPECT_EQ(t.dCode[0x4F], 3);
  EXPECT_EQ(t.dCode[0x50], 4);
  EXPECT_EQ(t.dCode[0x8F], 11);
  EXPECT_EQ(t.dCode[0x90], 12);
  EXPECT_EQ(t.dCode[0xC0], 24);
  EXPECT_EQ(t.dCode[0xEF], 47);
  EXPECT_EQ(t.dCode[0xF0], 48);
  EXPECT_EQ(t.dCode[0xFF], 63);
  EXPECT_EQ(t.dLen[0x00], 3);
  EXPECT_EQ(t.dLen[0x20], 4);
  EXPECT_EQ(t.dLen[0x50], 5);
  EXPECT_EQ(t.dLen[0x90], 6);
  EXPECT_EQ(t.dLen[0xC0], 7);
  EXPECT_EQ(t.dLen[0xF0], 8);
  // The encoder's prefixes are the first byte of each run, and every byte
  // that starts with a prefix decodes to that prefix's value.
  for (uint32_t u = 0; u < 64; ++u) {
    const uint32_t prefix = t.pCode[u];
    EXPECT_EQ(t.dCode[prefix], u);
    const uint32_t span = 1u << (8 - t.pLen[u]);
    EXPECT_EQ(prefix % span, 0u);
    for (uint32_t b = prefix; b < prefix + span; ++b)
      EXPECT_EQ(t.dCode[b], u);
  }
}

TEST(LzhTree, InitialTreeIsBalancedPairs)
{
  TLzhTree tree;
  ExpectConsistent(tree);
  EXPECT_EQ(tree.Freq(R), N_CHAR);
  EXPECT_EQ(tree.Son(N_CHAR), 0);
  EXPECT_EQ(tree.Parent(0), N_CHAR);
  EXPECT_EQ(tree.Parent(1), N_CHAR);
  EXPECT_EQ(tree.Freq(T), 0xFFFF);
}

TEST(LzhTree, StaysConsistentThroughUpdatesAndRebuilds)
{
  TLzhTree tree;
  std::mt19937 rng(7);
  // A skewed distribution forces many reorderings; 0x8000 updates pass the
  // root's limit several times over, so rebuilds happen too.
  std::geometric_distribution<int32_t> skewed(0.05);
  int32_t rebuilds = 0;
  uint32_t lastRoot = tree.Freq(R);
  for (int32_t n = 0; n < 3 * 0x8000; ++n) {
    tree.Update(std::min(skewed(rng), N_CHAR - 1));
    if (tree.Freq(R) < lastRoot)
      ++rebuilds;
    lastRoot = tree.Freq(R);
    ASSERT_LE(tree.Freq(R), MAX_FREQ);
    if (n % 4096 == 0 || tree.Freq(R) < 0x4100)
      ExpectConsistent(tree);
  }
  EXPECT_GE(rebuilds, 2);
  ExpectConsistent(tree);
}

TEST(LzhDecoder, NothingRequestedReadsAndWritesNothing)
{
  int32_t reads = 0;
  int32_t writes = 0;
  TLZH lzh([&](std::span<uint8_t>) { ++reads; return size_t{0}; }, [&](std::span<const uint8_t>) { ++writes; });
  EXPECT_EQ(lzh.Decode(0), 0);
  EXPECT_EQ(lzh.Decode(-5), 0);
  EXPECT_EQ(reads, 0);
  EXPECT_EQ(writes, 0);
}

TEST(LzhDecoder, MissingInputReadsAsZeroBitsAndStillEnds)
{
  // No input at all: every bit is 0, the decoder still produces the count
  // (a match may overshoot it) and never reads past what the source gave.
  const std::vector<uint8_t> out = TLZH::DecodeBuffer({}, 100000);
  EXPECT_GE(out.size(), 100000u);
  EXPECT_LT(out.size(), 100000u + F);
  const std::vector<uint8_t> again = TLZH::DecodeBuffer({}, 100000);
  EXPECT_EQ(out, again);
}

TEST(LzhDecoder, BlockSizeOfTheSourceDoesNotMatter)
{
  std::mt19937 rng(3);
  std::vector<uint8_t> input(3000);
  for (auto& b : input)
    b = uint8_t(rng());
  const std::vector<uint8_t> whole = TLZH::DecodeBuffer(input, 20000);

  // The same stream handed over one byte per read, output collected in pieces.
  size_t pos = 0;
  std::vector<uint8_t> pieces;
  int32_t writes = 0;
  TLZH lzh(
    [&](std::span<uint8_t> buffer) {
      if (pos == input.size() || buffer.empty())
        return size_t{0};
      buffer[0] = input[pos++];
      return size_t{1};
    },
    [&](std::span<const uint8_t> bytes) {
      ++writes;
      pieces.insert(pieces.end(), bytes.begin(), bytes.end());
    });
  const int64_t written = lzh.Decode(20000);
  EXPECT_EQ(written, int64_t(pieces.size()));
  EXPECT_EQ(pieces, whole);
  EXPECT_GE(writes, 1);
}

TEST(LzhDecoder, ErrorsFromTheSinkPassThrough)
{
  TLZH lzh([](std::span<uint8_t>) { return size_t{0}; },
           [](std::span<const uint8_t>) { throw std::runtime_error("disk full"); });
  EXPECT_THROW(lzh.Decode(10), std::runtime_error);
}
