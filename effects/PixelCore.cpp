#include "effects/PixelCore.h"

#include "effects/SeededRandom.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace effects::pixel {

namespace {

size_t PixelCount(const gfx::TPixmap& pixmap) noexcept
{
  return pixmap.IsEmpty() ? 0 : size_t(pixmap.Width()) * size_t(pixmap.Height());
}

} // namespace

void Blend(gfx::TPixel* dst, const gfx::TPixel* src, size_t count, int32_t k) noexcept
{
  const uint32_t weight = uint32_t(k);
  for (size_t i = 0; i < count; ++i)
    dst[i] = BlendPixel(dst[i], src[i], weight);
}

TChannelOrder ChannelOrder(uint32_t seed) noexcept
{
  TSeededRandom random(seed);
  TChannelOrder order;
  order.First = int32_t(random.Next(3));
  do
    order.Second = int32_t(random.Next(3));
  while (order.Second == order.First);
  order.Third = 3 - order.First - order.Second;
  return order;
}

void MixChannels(gfx::TPixmap& screen, const gfx::TPixmap& picture, uint32_t setMask, int32_t blendChannel,
                 int32_t k) noexcept
{
  const size_t count = PixelCount(screen);
  gfx::TPixel* dst = screen.Bits();
  const gfx::TPixel* src = picture.Bits();
  const uint32_t shift = uint32_t(blendChannel) * 8u;
  const uint32_t blendMask = 0xFFu << shift;
  const uint32_t keepMask = ~(setMask | blendMask);
  const uint32_t weight = uint32_t(k);
  const uint32_t inverse = 256u - weight;
  for (size_t i = 0; i < count; ++i) {
    const uint32_t old = dst[i];
    const uint32_t neu = src[i];
    const uint32_t blended = ((((old >> shift) & 0xFFu) * inverse + ((neu >> shift) & 0xFFu) * weight) >> 8) << shift;
    dst[i] = (old & keepMask) | (neu & setMask) | blended;
  }
}

void Dissolve(gfx::TPixmap& screen, const gfx::TPixmap& picture, uint32_t seed, int32_t progress) noexcept
{
  const size_t count = PixelCount(screen);
  gfx::TPixel* dst = screen.Bits();
  const gfx::TPixel* src = picture.Bits();
  const uint64_t threshold = TSeededRandom::Threshold(uint32_t(progress), 100);

  // The sequence is one long chain of multiplications; four interleaved
  // chains, each stepping four places at once, give the same numbers in the
  // same order while the processor works on all four together.
  constexpr uint32_t a1 = TSeededRandom::kMultiplier;
  constexpr uint32_t a2 = a1 * a1;
  constexpr uint32_t a4 = a2 * a2;
  constexpr uint32_t c4 = a1 * a2 + a2 + a1 + 1u; // a^3 + a^2 + a + 1
  uint32_t s0 = seed * a1 + 1u;
  uint32_t s1 = s0 * a1 + 1u;
  uint32_t s2 = s1 * a1 + 1u;
  uint32_t s3 = s2 * a1 + 1u;
  size_t i = 0;
  for (; i + 4 <= count; i += 4) {
    if (s0 < threshold)
      dst[i] = src[i];
    if (s1 < threshold)
      dst[i + 1] = src[i + 1];
    if (s2 < threshold)
      dst[i + 2] = src[i + 2];
    if (s3 < threshold)
      dst[i + 3] = src[i + 3];
    s0 = s0 * a4 + c4;
    s1 = s1 * a4 + c4;
    s2 = s2 * a4 + c4;
    s3 = s3 * a4 + c4;
  }
  // s0 now holds the seed for pixel i; the tail steps one at a time.
  for (; i < count; ++i) {
    if (s0 < threshold)
      dst[i] = src[i];
    s0 = s0 * a1 + 1u;
  }
}

void RandomRows(gfx::TPixmap& screen, const gfx::TPixmap& picture, uint32_t seed, int32_t progress) noexcept
{
  if (screen.IsEmpty())
    return;
  const size_t width = size_t(screen.Width());
  const int32_t height = screen.Height();
  gfx::TPixel* dst = screen.Bits();
  const gfx::TPixel* src = picture.Bits();
  TSeededRandom random(seed);
  const uint64_t threshold = TSeededRandom::Threshold(uint32_t(progress), 100);
  // Memory row m is row H - 1 - m: the bottom row draws first.
  for (int32_t m = 0; m < height; ++m) {
    if (random.NextBelow(threshold))
      std::memcpy(dst + size_t(m) * width, src + size_t(m) * width, width * sizeof(gfx::TPixel));
  }
}

void RandomColumns(gfx::TPixmap& screen, const gfx::TPixmap& picture, uint32_t seed, int32_t progress) noexcept
{
  if (screen.IsEmpty())
    return;
  const int32_t width = screen.Width();
  const int32_t height = screen.Height();
  TSeededRandom random(seed);
  const uint64_t threshold = TSeededRandom::Threshold(uint32_t(progress), 100);

  // Decide every column first, as runs of neighbouring chosen columns, then
  // copy the runs row by row so that memory is walked forward.
  struct TRun {
    int32_t Left;
    int32_t Count;
  };
  std::vector<TRun> runs;
  for (int32_t x = 0; x < width; ++x) {
    if (!random.NextBelow(threshold))
      continue;
    if (!runs.empty() && runs.back().Left + runs.back().Count == x)
      ++runs.back().Count;
    else
      runs.push_back({x, 1});
  }
  if (runs.empty())
    return;
  for (int32_t m = 0; m < height; ++m) {
    gfx::TPixel* dstRow = screen.Bits() + size_t(m) * size_t(width);
    const gfx::TPixel* srcRow = picture.Bits() + size_t(m) * size_t(width);
    for (const TRun& run : runs)
      std::memcpy(dstRow + run.Left, srcRow + run.Left, size_t(run.Count) * sizeof(gfx::TPixel));
  }
}

TFixedTurn FixedTurn(double angle) noexcept
{
  // static_cast truncates toward zero, as the fixed-point values require.
  return {static_cast<int32_t>(std::sin(-angle) * 65536.0), static_cast<int32_t>(std::cos(-angle) * 65536.0)};
}

void RotateInto(gfx::TPixmap& screen, const gfx::TPixmap& picture, int32_t orgX, TFixedTurn turn,
                int32_t orgY) noexcept
{
  if (screen.IsEmpty() || picture.IsEmpty())
    return;
  const int32_t width = screen.Width();
  const int32_t height = screen.Height();
  const int32_t pictureWidth = picture.Width();
  const int32_t pictureHeight = picture.Height();
  const gfx::TPixel* src = picture.Bits();
  // Products and sums wrap at 32 bits; unsigned arithmetic gives the wrapped
  // values without undefined behaviour, and the shift is done on the signed
  // reinterpretation so that it stays arithmetic.
  const uint32_t sn = uint32_t(turn.Sin);
  const uint32_t cs = uint32_t(turn.Cos);
  for (int32_t r = 0; r < height; ++r) {
    gfx::TPixel* row = screen.ScanLine(r);
    const uint32_t u0 = uint32_t(1 - int64_t{orgX});
    const uint32_t v = uint32_t(int64_t{pictureHeight} - r - orgY);
    // Along a row u grows by one per pixel, so both sums grow by a constant.
    uint32_t across = u0 * cs - v * sn;
    uint32_t down = u0 * sn + v * cs;
    for (int32_t x = 0; x < width; ++x) {
      const int32_t sx = orgX + (int32_t(across) >> 16);
      const int32_t sy = orgY + (int32_t(down) >> 16);
      if (uint32_t(sx) < uint32_t(pictureWidth) && uint32_t(sy) < uint32_t(pictureHeight))
        row[x] = src[size_t(sy) * size_t(pictureWidth) + size_t(sx)];
      across += cs;
      down += sn;
    }
  }
}

} // namespace effects::pixel
