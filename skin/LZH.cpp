#include "skin/LZH.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace skin {

using namespace lzh;

namespace {

constexpr size_t kInputBlock = 16384;
constexpr size_t kOutputBlock = 16384;

} // namespace

// Everything a decode needs, allocated for one Decode call and freed after it,
// also when the callbacks throw.
struct TLZH::TState {
  TLzhTree tree;
  uint8_t ring[N + F - 1] = {};
  uint8_t in[kInputBlock];
  size_t inPos = 0;
  size_t inEnd = 0;
  bool inExhausted = false;
  uint8_t out[kOutputBlock];
  size_t outLen = 0;
  uint32_t bitBuf = 0; // 16 significant bits, the next bit in bit 15
  int32_t bitCount = 0;
};

TLZH::TLZH(TReadBytes reader, TWriteBytes writer) : reader_(std::move(reader)), writer_(std::move(writer)) {}

TLZH::~TLZH() = default;

int64_t TLZH::Decode(int64_t count)
{
  if (count <= 0)
    return 0;

  std::unique_ptr<TState> s(new (std::nothrow) TState);
  if (!s)
    throw ElzhException("LZH : Cannot get memory for dictionary tables");

  const auto nextByte = [&]() -> uint32_t {
    if (s->inPos == s->inEnd) {
      if (s->inExhausted)
        return 0;
      s->inPos = 0;
      s->inEnd = std::min(reader_(std::span<uint8_t>(s->in, kInputBlock)), kInputBlock);
      if (s->inEnd == 0) {
        s->inExhausted = true;
        return 0;
      }
    }
    return s->in[s->inPos++];
  };
  const auto refill = [&] {
    while (s->bitCount <= 8) {
      s->bitBuf |= nextByte() << (8 - s->bitCount);
      s->bitCount += 8;
    }
  };
  const auto getBit = [&]() -> int32_t {
    refill();
    const int32_t bit = int32_t((s->bitBuf >> 15) & 1u);
    s->bitBuf = (s->bitBuf << 1) & 0xFFFFu;
    --s->bitCount;
    return bit;
  };
  const auto getByte = [&]() -> int32_t {
    refill();
    const int32_t byte = int32_t((s->bitBuf >> 8) & 0xFFu);
    s->bitBuf = (s->bitBuf << 8) & 0xFFFFu;
    s->bitCount -= 8;
    return byte;
  };
  const auto put = [&](uint8_t b) {
    s->out[s->outLen++] = b;
    if (s->outLen == kOutputBlock) {
      writer_(std::span<const uint8_t>(s->out, s->outLen));
      s->outLen = 0;
    }
  };

  std::memset(s->ring, ' ', N - F);
  int32_t r = N - F;
  int64_t written = 0;
  TLzhTree& tree = s->tree;
  while (written < count) {
    int32_t x = tree.Son(R);
    while (x < T)
      x = tree.Son(x + getBit());
    x -= T;
    tree.Update(x);

    if (x < 256) {
      put(uint8_t(x));
      s->ring[r] = uint8_t(x);
      r = (r + 1) & (N - 1);
      ++written;
      continue;
    }

    int32_t i = getByte();
    const int32_t high = int32_t(kPositionTables.dCode[size_t(i)]) << 6;
    for (int32_t j = kPositionTables.dLen[size_t(i)] - 2; j > 0; --j)
      i = (i << 1) + getBit();
    const int32_t position = high | (i & 63);

    const int32_t from = (r - position - 1) & (N - 1);
    const int32_t length = x - 255 + THRESHOLD;
    for (int32_t k = 0; k < length; ++k) {
      const uint8_t b = s->ring[(from + k) & (N - 1)];
      put(b);
      s->ring[r] = b;
      r = (r + 1) & (N - 1);
    }
    written += length;
  }
  if (s->outLen > 0)
    writer_(std::span<const uint8_t>(s->out, s->outLen));
  return written;
}

std::vector<uint8_t> TLZH::DecodeBuffer(std::span<const uint8_t> input, int64_t count)
{
  std::vector<uint8_t> output;
  if (count > 0)
    output.reserve(size_t(count) + F);
  size_t consumed = 0;
  TLZH lzh(
    [&](std::span<uint8_t> buffer) {
      const size_t n = std::min(buffer.size(), input.size() - consumed);
      if (n > 0)
        std::memcpy(buffer.data(), input.data() + consumed, n);
      consumed += n;
      return n;
    },
    [&](std::span<const uint8_t> bytes) { output.insert(output.end(), bytes.begin(), bytes.end()); });
  lzh.Decode(count);
  return output;
}

} // namespace skin
