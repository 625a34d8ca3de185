#include "effects/PixelCore.h"

#include "effects/SeededRandom.h"
#include "gfx/PixelRows.h"
#include "gfx/ScratchPool.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <cstring>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#define PIXEL_X86_KERNELS 1
#include <immintrin.h>
#endif

namespace effects::pixel {

namespace {

// Tests switch the wide kernels off to check the portable loops too.
std::atomic<bool> gWideKernels{true};

size_t PixelCount(const gfx::TPixmap& pixmap) noexcept
{
  return pixmap.IsEmpty() ? 0 : size_t(pixmap.Width()) * size_t(pixmap.Height());
}

// Four pixels as bytes, and the same bytes widened to 16 bits: every byte
// becomes (old * w + new * (256 - w)) >> 8, whose largest value 255 * 256
// still fits 16 bits. The compiler maps these vector types onto whatever
// SIMD the target has (or plain code where it has none).
using TBytes16 = uint8_t __attribute__((vector_size(16)));
using TWords16 = uint16_t __attribute__((vector_size(32)));

// Moves each byte of count pixels toward src: byte c of every pixel keeps
// oldWeight[c] / 256 of its old value (read from under) and takes the rest
// from the new one. A weight of 256 keeps the byte, 0 takes the new byte,
// anything between blends with the floor of the exact result.
void WeighBytesPortable(gfx::TPixel* dst, const gfx::TPixel* under, const gfx::TPixel* src, size_t count,
                        const uint16_t (&oldWeight)[4]) noexcept
{
  TWords16 keep;
  for (int i = 0; i < 16; ++i)
    keep[i] = oldWeight[i % 4];
  const TWords16 take = 256 - keep;
  size_t i = 0;
  for (; i + 4 <= count; i += 4) {
    TBytes16 old, neu;
    std::memcpy(&old, under + i, sizeof old);
    std::memcpy(&neu, src + i, sizeof neu);
    const TWords16 mixed =
      (__builtin_convertvector(old, TWords16) * keep + __builtin_convertvector(neu, TWords16) * take) >> 8;
    const TBytes16 out = __builtin_convertvector(mixed, TBytes16);
    std::memcpy(dst + i, &out, sizeof out);
  }
  for (; i < count; ++i) {
    gfx::TPixel result = 0;
    for (int c = 0; c < 4; ++c) {
      const uint32_t o = (under[i] >> (8 * c)) & 0xFFu, n = (src[i] >> (8 * c)) & 0xFFu;
      result |= ((o * oldWeight[c] + n * (256u - oldWeight[c])) >> 8) << (8 * c);
    }
    dst[i] = result;
  }
}

bool HasAvx2() noexcept;

#ifdef PIXEL_X86_KERNELS

// WeighBytes eight pixels at a time: the bytes widened to 16 bits within
// each half of the vector, weighed, and packed back in the same order.
__attribute__((target("avx2"))) size_t WeighBytesAvx2(gfx::TPixel* dst, const gfx::TPixel* under,
                                                      const gfx::TPixel* src, size_t count,
                                                      const uint16_t (&oldWeight)[4]) noexcept
{
  const __m256i keep = _mm256_setr_epi16(
    int16_t(oldWeight[0]), int16_t(oldWeight[1]), int16_t(oldWeight[2]), int16_t(oldWeight[3]),
    int16_t(oldWeight[0]), int16_t(oldWeight[1]), int16_t(oldWeight[2]), int16_t(oldWeight[3]),
    int16_t(oldWeight[0]), int16_t(oldWeight[1]), int16_t(oldWeight[2]), int16_t(oldWeight[3]),
    int16_t(oldWeight[0]), int16_t(oldWeight[1]), int16_t(oldWeight[2]), int16_t(oldWeight[3]));
  const __m256i take = _mm256_sub_epi16(_mm256_set1_epi16(256), keep);
  const __m256i zero = _mm256_setzero_si256();
  size_t i = 0;
  for (; i + 8 <= count; i += 8) {
    const __m256i old = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(under + i));
    const __m256i neu = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
    const __m256i low = _mm256_srli_epi16(
      _mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpacklo_epi8(old, zero), keep),
                       _mm256_mullo_epi16(_mm256_unpacklo_epi8(neu, zero), take)),
      8);
    const __m256i high = _mm256_srli_epi16(
      _mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpackhi_epi8(old, zero), keep),
                       _mm256_mullo_epi16(_mm256_unpackhi_epi8(neu, zero), take)),
      8);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), _mm256_packus_epi16(low, high));
  }
  return i;
}

#endif

// Each byte c of dst[i] becomes the byte of under[i] weighed with
// oldWeight[c] / 256 plus that of src[i] with the rest; under may be dst.
void WeighBytes(gfx::TPixel* dst, const gfx::TPixel* under, const gfx::TPixel* src, size_t count,
                const uint16_t (&oldWeight)[4]) noexcept
{
  size_t done = 0;
#ifdef PIXEL_X86_KERNELS
  if (HasAvx2())
    done = WeighBytesAvx2(dst, under, src, count, oldWeight);
#endif
  WeighBytesPortable(dst + done, under + done, src + done, count - done, oldWeight);
}

} // namespace

void Blend(gfx::TPixel* dst, const gfx::TPixel* src, size_t count, int32_t k) noexcept
{
  const uint16_t keep = uint16_t(256 - std::clamp(k, 0, 256));
  const uint16_t weights[4] = {keep, keep, keep, 256};
  WeighBytes(dst, dst, src, count, weights);
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

void BlendPixmap(gfx::TPixmap& screen, const gfx::TPixmap& picture, int32_t k, const gfx::TPixmap* under) noexcept
{
  gfx::TPixel* dst = screen.Bits();
  const gfx::TPixel* src = picture.Bits();
  const uint16_t keep = uint16_t(256 - std::clamp(k, 0, 256));
  const uint16_t weights[4] = {keep, keep, keep, 256};
  WeighBytes(dst, under != nullptr ? under->Bits() : dst, src, PixelCount(screen), weights);
}

void MixChannels(gfx::TPixmap& screen, const gfx::TPixmap& picture, uint32_t setMask, int32_t blendChannel,
                 int32_t k, const gfx::TPixmap* under) noexcept
{
  uint16_t weights[4];
  for (int32_t c = 0; c < 4; ++c)
    weights[c] = (setMask >> (8 * c)) & 0xFFu ? 0 : 256;
  weights[std::clamp(blendChannel, 0, 2)] = uint16_t(256 - std::clamp(k, 0, 256));
  gfx::TPixel* dst = screen.Bits();
  const gfx::TPixel* src = picture.Bits();
  WeighBytes(dst, under != nullptr ? under->Bits() : dst, src, PixelCount(screen), weights);
}

namespace {

// The generator's seed after n draws from seed: the draw for pixel n is
// decided by SeedAt(seed, n + 1). Stepping by squaring, 32 steps at most.
uint32_t SeedAt(uint32_t seed, uint64_t n) noexcept
{
  uint32_t a = TSeededRandom::kMultiplier, c = 1u; // one step: s * a + c
  uint32_t s = seed;
  for (; n != 0; n >>= 1) {
    if (n & 1u)
      s = s * a + c;
    c = c * a + c;
    a = a * a;
  }
  return s;
}

bool HasAvx2() noexcept
{
#ifdef PIXEL_X86_KERNELS
  static const bool has = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
  }();
  return has && gWideKernels.load(std::memory_order_relaxed);
#else
  return false;
#endif
}

#ifdef PIXEL_X86_KERNELS

// Dissolve with sixteen interleaved chains in two eight-lane vectors, each
// chain stepping sixteen places at once. Answers how many pixels it did (a
// multiple of sixteen); the caller finishes the rest.
__attribute__((target("avx2"))) size_t DissolveAvx2(gfx::TPixel* dst, const gfx::TPixel* under,
                                                    const gfx::TPixel* src, size_t count, uint32_t seed,
                                                    uint32_t threshold) noexcept
{
  constexpr size_t kLanes = 16;
  uint32_t stride = 1; // the multiplier of sixteen steps
  for (size_t j = 0; j < kLanes; ++j)
    stride *= TSeededRandom::kMultiplier;
  const __m256i multiplier = _mm256_set1_epi32(int32_t(stride));
  const __m256i increment = _mm256_set1_epi32(int32_t(SeedAt(0, kLanes)));
  alignas(32) uint32_t first[kLanes];
  for (size_t j = 0; j < kLanes; ++j)
    first[j] = SeedAt(seed, j + 1);
  __m256i low = _mm256_load_si256(reinterpret_cast<const __m256i*>(first));
  __m256i high = _mm256_load_si256(reinterpret_cast<const __m256i*>(first + 8));
  // Unsigned comparison by signed comparison of values moved by 2^31.
  const __m256i bias = _mm256_set1_epi32(int32_t(0x80000000u));
  const __m256i limit = _mm256_xor_si256(_mm256_set1_epi32(int32_t(threshold)), bias);
  size_t i = 0;
  for (; i + kLanes <= count; i += kLanes) {
    const __m256i takeLow = _mm256_cmpgt_epi32(limit, _mm256_xor_si256(low, bias));
    const __m256i takeHigh = _mm256_cmpgt_epi32(limit, _mm256_xor_si256(high, bias));
    __m256i* outLow = reinterpret_cast<__m256i*>(dst + i);
    __m256i* outHigh = reinterpret_cast<__m256i*>(dst + i + 8);
    const __m256i newLow = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
    const __m256i newHigh = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i + 8));
    const __m256i oldLow = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(under + i));
    const __m256i oldHigh = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(under + i + 8));
    _mm256_storeu_si256(outLow, _mm256_blendv_epi8(oldLow, newLow, takeLow));
    _mm256_storeu_si256(outHigh, _mm256_blendv_epi8(oldHigh, newHigh, takeHigh));
    low = _mm256_add_epi32(_mm256_mullo_epi32(low, multiplier), increment);
    high = _mm256_add_epi32(_mm256_mullo_epi32(high, multiplier), increment);
  }
  return i;
}

#endif

} // namespace

namespace {

// The dissolve of count pixels whose draws follow seed: pixel i takes the new
// value when the generator's seed after i + 1 steps from seed is below
// threshold, and keeps the old one (read from under, which may be dst)
// otherwise.
void DissolveRange(gfx::TPixel* dst, const gfx::TPixel* under, const gfx::TPixel* src, size_t count,
                   uint32_t seed, uint32_t threshold) noexcept
{

  // The sequence is one long chain of multiplications. Eight interleaved
  // chains, each stepping eight places at once, give the same numbers for the
  // same pixels while the processor works on all of them together: two
  // vectors of four lanes (the compiler maps them onto the target's SIMD
  // registers, or plain code where there are none). The choice is a select
  // rather than a branch, since it is a coin toss.
  using TLanes = uint32_t __attribute__((vector_size(16)));
  using TMask = int32_t __attribute__((vector_size(16)));
  constexpr int kLanes = 8;
  constexpr uint32_t a1 = TSeededRandom::kMultiplier;
  uint32_t aLanes = 1, cLanes = 0; // a^8 and a^7 + ... + a + 1
  for (int j = 0; j < kLanes; ++j) {
    cLanes += aLanes;
    aLanes *= a1;
  }
  uint32_t lane[kLanes];
  uint32_t next = seed;
  for (int j = 0; j < kLanes; ++j)
    lane[j] = next = next * a1 + 1u;
  size_t i = 0;
#ifdef PIXEL_X86_KERNELS
  if (HasAvx2()) {
    i = DissolveAvx2(dst, under, src, count, seed, threshold);
    for (uint32_t s = SeedAt(seed, i + 1); i < count; ++i, s = s * a1 + 1u)
      dst[i] = s < threshold ? src[i] : under[i];
    return;
  }
#endif
  TLanes low{lane[0], lane[1], lane[2], lane[3]};
  TLanes high{lane[4], lane[5], lane[6], lane[7]};
  const TLanes multiplier = TLanes{} + aLanes;
  const TLanes increment = TLanes{} + cLanes;
  const TLanes limit = TLanes{} + threshold;
  for (; i + kLanes <= count; i += kLanes) {
    TLanes oldLow, oldHigh, newLow, newHigh;
    std::memcpy(&oldLow, under + i, sizeof oldLow);
    std::memcpy(&oldHigh, under + i + 4, sizeof oldHigh);
    std::memcpy(&newLow, src + i, sizeof newLow);
    std::memcpy(&newHigh, src + i + 4, sizeof newHigh);
    const TLanes takeLow = TLanes(TMask(low < limit));
    const TLanes takeHigh = TLanes(TMask(high < limit));
    const TLanes outLow = (newLow & takeLow) | (oldLow & ~takeLow);
    const TLanes outHigh = (newHigh & takeHigh) | (oldHigh & ~takeHigh);
    std::memcpy(dst + i, &outLow, sizeof outLow);
    std::memcpy(dst + i + 4, &outHigh, sizeof outHigh);
    low = low * multiplier + increment;
    high = high * multiplier + increment;
  }
  // low[0] now holds the seed for pixel i; the tail steps one at a time.
  for (uint32_t s = low[0]; i < count; ++i, s = s * a1 + 1u)
    dst[i] = s < threshold ? src[i] : under[i];
}

} // namespace

void Dissolve(gfx::TPixmap& screen, const gfx::TPixmap& picture, uint32_t seed, int32_t progress,
              const gfx::TPixmap* under) noexcept
{
  const size_t count = PixelCount(screen);
  gfx::TPixel* dst = screen.Bits();
  const gfx::TPixel* src = picture.Bits();
  const uint64_t wideThreshold = TSeededRandom::Threshold(uint32_t(std::clamp(progress, 0, 100)), 100);
  if (wideThreshold > UINT32_MAX) { // every draw is below 100
    std::memcpy(dst, src, count * sizeof(gfx::TPixel));
    return;
  }
  DissolveRange(dst, under != nullptr ? under->Bits() : dst, src, count, seed, uint32_t(wideThreshold));
}

void RandomRows(gfx::TPixmap& screen, const gfx::TPixmap& picture, uint32_t seed, int32_t progress,
                const gfx::TPixmap* under) noexcept
{
  if (screen.IsEmpty())
    return;
  const size_t width = size_t(screen.Width());
  const int32_t height = screen.Height();
  gfx::TPixel* dst = screen.Bits();
  const gfx::TPixel* src = picture.Bits();
  const gfx::TPixel* old = under != nullptr ? under->Bits() : nullptr;
  TSeededRandom random(seed);
  const uint64_t threshold = TSeededRandom::Threshold(uint32_t(progress), 100);
  // Memory row m is row H - 1 - m: the bottom row draws first.
  for (int32_t m = 0; m < height; ++m) {
    const size_t at = size_t(m) * width;
    if (random.NextBelow(threshold))
      std::memcpy(dst + at, src + at, width * sizeof(gfx::TPixel));
    else if (old != nullptr)
      std::memcpy(dst + at, old + at, width * sizeof(gfx::TPixel));
  }
}

void RandomColumns(gfx::TPixmap& screen, const gfx::TPixmap& picture, uint32_t seed, int32_t progress,
                   const gfx::TPixmap* under) noexcept
{
  if (screen.IsEmpty())
    return;
  const int32_t width = screen.Width();
  const int32_t height = screen.Height();
  TSeededRandom random(seed);
  const uint64_t threshold = TSeededRandom::Threshold(uint32_t(progress), 100);

  // Decide every column first, as a mask of whole pixels, then take the
  // masked pixels row by row: the rows are walked forward through memory and
  // the select needs no branch.
  std::vector<gfx::TPixel> take(static_cast<size_t>(width));
  bool any = false;
  for (int32_t x = 0; x < width; ++x) {
    const bool chosen = random.NextBelow(threshold);
    take[size_t(x)] = chosen ? ~gfx::TPixel(0) : 0;
    any = any || chosen;
  }
  if (!any && under == nullptr)
    return;
  for (int32_t m = 0; m < height; ++m) {
    const size_t at = size_t(m) * size_t(width);
    gfx::TPixel* dstRow = screen.Bits() + at;
    gfx::SelectRow(dstRow, picture.Bits() + at, under != nullptr ? under->Bits() + at : dstRow, take.data(),
                   size_t(width));
  }
}

TFixedTurn FixedTurn(double angle) noexcept
{
  // static_cast truncates toward zero, as the fixed-point values require.
  return {static_cast<int32_t>(std::sin(-angle) * 65536.0), static_cast<int32_t>(std::cos(-angle) * 65536.0)};
}

namespace {

int64_t FloorDiv(int64_t a, int64_t b) noexcept
{
  const int64_t q = a / b;
  return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

int64_t CeilDiv(int64_t a, int64_t b) noexcept
{
  return -FloorDiv(-a, b);
}

// Narrows [first, last] to the x for which low <= start + x * step <= high.
void KeepInside(int64_t start, int64_t step, int64_t low, int64_t high, int64_t& first, int64_t& last) noexcept
{
  if (step == 0) {
    if (start < low || start > high)
      last = first - 1;
    return;
  }
  if (step > 0) {
    first = std::max(first, CeilDiv(low - start, step));
    last = std::min(last, FloorDiv(high - start, step));
  } else {
    first = std::max(first, CeilDiv(high - start, step));
    last = std::min(last, FloorDiv(low - start, step));
  }
}

bool FitsInt32(int64_t v) noexcept
{
  return v >= INT32_MIN && v <= INT32_MAX;
}

// The old image on both sides of a turned row's run [first, last] (the
// whole row when the run is empty, as first > last then).
void KeepOldOutside(gfx::TPixel* row, const gfx::TPixel* old, int32_t width, int32_t first, int32_t last) noexcept
{
  if (first > last) {
    std::memcpy(row, old, size_t(width) * sizeof(gfx::TPixel));
    return;
  }
  std::memcpy(row, old, size_t(first) * sizeof(gfx::TPixel));
  std::memcpy(row + last + 1, old + last + 1, size_t(width - 1 - last) * sizeof(gfx::TPixel));
}

} // namespace

namespace {

#ifdef PIXEL_X86_KERNELS

// One run of a turned row, eight pixels at a time with the processor's
// gather load. index = base + (down >> 16) * rowLength + (across >> 16) as in
// the portable loop; the pixels that the row ahead rows further down reads
// at the same column are asked for early. Answers how many pixels it did.
__attribute__((target("avx2"))) int32_t RotateRunAvx2(gfx::TPixel* row, const gfx::TPixel* src, int32_t count,
                                                      int32_t across, int32_t down, int32_t stepAcross,
                                                      int32_t stepDown, int32_t base, int32_t rowLength,
                                                      int32_t aheadAcross, int32_t aheadDown) noexcept
{
  const __m256i lane = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
  __m256i a = _mm256_add_epi32(_mm256_set1_epi32(across), _mm256_mullo_epi32(lane, _mm256_set1_epi32(stepAcross)));
  __m256i d = _mm256_add_epi32(_mm256_set1_epi32(down), _mm256_mullo_epi32(lane, _mm256_set1_epi32(stepDown)));
  const __m256i eightAcross = _mm256_set1_epi32(int32_t(uint32_t(stepAcross) * 8u));
  const __m256i eightDown = _mm256_set1_epi32(int32_t(uint32_t(stepDown) * 8u));
  const __m256i baseLanes = _mm256_set1_epi32(base);
  const __m256i length = _mm256_set1_epi32(rowLength);
  const __m256i aheadA = _mm256_set1_epi32(aheadAcross);
  const __m256i aheadD = _mm256_set1_epi32(aheadDown);
  const uintptr_t pictureBase = reinterpret_cast<uintptr_t>(src);
  int32_t x = 0;
  for (; x + 8 <= count; x += 8) {
    const __m256i index = _mm256_add_epi32(
      baseLanes, _mm256_add_epi32(_mm256_mullo_epi32(_mm256_srai_epi32(d, 16), length), _mm256_srai_epi32(a, 16)));
    const __m256i ahead = _mm256_add_epi32(
      baseLanes, _mm256_add_epi32(_mm256_mullo_epi32(_mm256_srai_epi32(_mm256_add_epi32(d, aheadD), 16), length),
                                  _mm256_srai_epi32(_mm256_add_epi32(a, aheadA), 16)));
    const int32_t ahead0 = _mm256_extract_epi32(ahead, 0);
    const int32_t ahead4 = _mm256_extract_epi32(ahead, 4);
    __builtin_prefetch(reinterpret_cast<const char*>(pictureBase + uintptr_t(ahead0) * 4));
    __builtin_prefetch(reinterpret_cast<const char*>(pictureBase + uintptr_t(ahead4) * 4));
    const __m256i pixels = _mm256_i32gather_epi32(reinterpret_cast<const int*>(src), index, 4);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(row + x), pixels);
    a = _mm256_add_epi32(a, eightAcross);
    d = _mm256_add_epi32(d, eightDown);
  }
  return x;
}

#endif

} // namespace

void RotateInto(gfx::TPixmap& screen, const gfx::TPixmap& picture, int32_t orgX, TFixedTurn turn, int32_t orgY,
                const gfx::TPixmap* under) noexcept
{
  if (screen.IsEmpty() || picture.IsEmpty())
    return;
  const int32_t width = screen.Width();
  const int32_t height = screen.Height();
  const int32_t pictureWidth = picture.Width();
  const int32_t pictureHeight = picture.Height();
  const gfx::TPixel* src = picture.Bits();
  const int64_t sn = turn.Sin;
  const int64_t cs = turn.Cos;
  // Along a row u grows by one per pixel, so both sums grow by a constant:
  // across(x) = across(0) + x * cs and down(x) = down(0) + x * sn. The
  // source column orgX + (across >> 16) is inside the picture exactly when
  // -orgX * 65536 <= across < (Wp - orgX) * 65536, and likewise for rows, so
  // each row's visible pixels form one run that is found by division.
  const int64_t acrossLow = -int64_t{orgX} * 65536;
  const int64_t acrossHigh = (int64_t{pictureWidth} - orgX) * 65536 - 1;
  const int64_t downLow = -int64_t{orgY} * 65536;
  const int64_t downHigh = (int64_t{pictureHeight} - orgY) * 65536 - 1;

  // Each row's run is found first; the copying then walks the frame in
  // strips (see below).
  struct TRun {
    int32_t First;
    int32_t Last; // First > Last: nothing visible
    int32_t Across;
    int32_t Down;
    bool Tested = false; // drawn pixel by pixel already
  };
  static gfx::TScratchPool<std::vector<TRun>> pool;
  const auto lease = pool.Acquire();
  std::vector<TRun>& runs = *lease;
  runs.resize(size_t(height));
  for (int32_t r = 0; r < height; ++r) {
    TRun& run = runs[size_t(r)];
    const int64_t u0 = 1 - int64_t{orgX};
    const int64_t v = int64_t{pictureHeight} - r - orgY;
    const int64_t across0 = u0 * cs - v * sn;
    const int64_t down0 = u0 * sn + v * cs;
    const int64_t acrossEnd = across0 + int64_t{width - 1} * cs;
    const int64_t downEnd = down0 + int64_t{width - 1} * sn;
    if (FitsInt32(across0) && FitsInt32(down0) && FitsInt32(acrossEnd) && FitsInt32(downEnd)) {
      int64_t first = 0, last = width - 1;
      KeepInside(across0, cs, acrossLow, acrossHigh, first, last);
      KeepInside(down0, sn, downLow, downHigh, first, last);
      run = {int32_t(first), int32_t(last), int32_t(across0 + first * cs), int32_t(down0 + first * sn), false};
      continue;
    }
    // Sums that leave 32 bits wrap around, as 32-bit arithmetic does; such
    // rows (pivots far outside huge frames) test every pixel.
    run = {0, -1, 0, 0, true};
    gfx::TPixel* row = screen.ScanLine(r);
    if (under != nullptr)
      std::memcpy(row, under->ScanLine(r), size_t(width) * sizeof(gfx::TPixel));
    uint32_t across = uint32_t(across0);
    uint32_t down = uint32_t(down0);
    for (int32_t x = 0; x < width; ++x) {
      const int32_t sx = orgX + (int32_t(across) >> 16);
      const int32_t sy = orgY + (int32_t(down) >> 16);
      if (uint32_t(sx) < uint32_t(pictureWidth) && uint32_t(sy) < uint32_t(pictureHeight))
        row[x] = src[size_t(sy) * size_t(pictureWidth) + size_t(sx)];
      across += uint32_t(cs);
      down += uint32_t(sn);
    }
  }

  // Inside a run every source index is in the picture, and the sums stay in
  // 32 bits (checked above), so the copying needs no tests. Four pixels at a
  // time: their source indices are worked out side by side in one vector
  // (the compiler maps it onto the target's SIMD registers, or plain code
  // where there are none) and only the loads and stores remain per pixel.
  using TLanes = int32_t __attribute__((vector_size(16)));
  using TWrapping = uint32_t __attribute__((vector_size(16)));
  const int32_t stepAcross = int32_t(cs);
  const int32_t stepDown = int32_t(sn);
  const TLanes lane{0, 1, 2, 3};
  const TLanes fourAcross = TLanes{} + 4 * stepAcross;
  const TLanes fourDown = TLanes{} + 4 * stepDown;
  // base + (down >> 16) * Wp + (across >> 16) is the source index; base alone
  // may be negative, the sum never is.
  const TLanes base = TLanes{} + int32_t(uint32_t(int64_t{orgY} * pictureWidth + orgX));
  const TLanes rowLength = TLanes{} + pictureWidth;
  const uintptr_t pictureBase = reinterpret_cast<uintptr_t>(src);
  // A row reads a slanted line of the picture crossing hundreds of its rows,
  // which no hardware prefetcher follows, and the loads wait for memory. The
  // pixels that the row kAhead further down will read at the same column are
  // asked for early (a prefetch never faults, so an address outside the
  // picture is harmless); by the time that row comes, they are in the cache.
  constexpr int32_t kAhead = 8;
  const TLanes aheadAcross = TLanes{} + int32_t(kAhead * sn);
  const TLanes aheadDown = TLanes{} - int32_t(kAhead * cs);
#ifdef PIXEL_X86_KERNELS
  const bool avx2 = HasAvx2();
#endif
  // Pixels first to last of a row's run, whose first pixel is run.First.
  const auto copyTurned = [&](gfx::TPixel* row, const TRun& run, int32_t first, int32_t last) {
    // The sums stay in 32 bits along the whole run (checked above).
    const int32_t skip = first - run.First;
    int32_t x = first;
#ifdef PIXEL_X86_KERNELS
    if (avx2) {
      x += RotateRunAvx2(row + x, src, last - x + 1, int32_t(run.Across + int64_t{skip} * stepAcross),
                         int32_t(run.Down + int64_t{skip} * stepDown), stepAcross, stepDown, base[0], pictureWidth,
                         aheadAcross[0], aheadDown[0]);
    }
#endif
    const int32_t done = x - run.First;
    TLanes across = (run.Across + lane * stepAcross) + done * stepAcross;
    TLanes down = (run.Down + lane * stepDown) + done * stepDown;
    for (; x + 3 <= last; x += 4) {
      const TLanes index = base + (down >> 16) * rowLength + (across >> 16);
      // Wrapping sums: far outside the picture the address is junk, harmlessly.
      const TWrapping aheadIndex =
        TWrapping(base) + TWrapping((TLanes(TWrapping(down) + TWrapping(aheadDown)) >> 16) * rowLength) +
        TWrapping(TLanes(TWrapping(across) + TWrapping(aheadAcross)) >> 16);
      __builtin_prefetch(reinterpret_cast<const char*>(pictureBase + uintptr_t(int32_t(aheadIndex[0])) * 4));
      __builtin_prefetch(reinterpret_cast<const char*>(pictureBase + uintptr_t(int32_t(aheadIndex[2])) * 4));
      // Turned by a small angle, the four usually come from four neighbouring
      // pixels of one source row: one block copy then.
      const TLanes consecutive = index - (index[0] + lane);
      if ((consecutive[0] | consecutive[1] | consecutive[2] | consecutive[3]) == 0) {
        std::memcpy(row + x, src + uint32_t(index[0]), 4 * sizeof(gfx::TPixel));
      } else {
        row[x] = src[uint32_t(index[0])];
        row[x + 1] = src[uint32_t(index[1])];
        row[x + 2] = src[uint32_t(index[2])];
        row[x + 3] = src[uint32_t(index[3])];
      }
      across += fourAcross;
      down += fourDown;
    }
    int32_t a = across[0];
    int32_t d = down[0];
    for (; x <= last; ++x) {
      row[x] = src[uint32_t(base[0] + (d >> 16) * pictureWidth + (a >> 16))];
      a += stepAcross;
      d += stepDown;
    }
  };
  if (under != nullptr)
    for (int32_t r = 0; r < height; ++r)
      if (!runs[size_t(r)].Tested)
        KeepOldOutside(screen.ScanLine(r), under->ScanLine(r), width, runs[size_t(r)].First, runs[size_t(r)].Last);
  // The frame is turned in strips of columns, each from its top row to its
  // bottom. A whole row of a large frame reads a slanted line that crosses
  // thousands of the picture's rows, pages and cache lines, and the next row
  // needs the same lines again only after all of them; a strip's row crosses
  // a few hundred, which the caches still hold when the next row comes.
  constexpr int32_t kStrip = 256;
  for (int32_t left = 0; left < width; left += kStrip) {
    const int32_t right = std::min(width, left + kStrip) - 1;
    for (int32_t r = 0; r < height; ++r) {
      const TRun& run = runs[size_t(r)];
      const int32_t first = std::max(run.First, left);
      const int32_t last = std::min(run.Last, right);
      if (!run.Tested && first <= last)
        copyTurned(screen.ScanLine(r), run, first, last);
    }
  }
}

void UseWideKernels(bool enabled) noexcept
{
  gWideKernels.store(enabled, std::memory_order_relaxed);
}

} // namespace effects::pixel
