#include "gfx/PixelRows.h"

#include <algorithm>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#define PLAYER_X86_KERNELS 1
#include <immintrin.h>
#endif

namespace gfx {

namespace {

// Destinations above this size cannot stay in the caches of the machines we
// run on, so reading their lines before writing them is wasted traffic.
constexpr uint64_t kStreamThreshold = uint64_t{16} << 20;

} // namespace

bool ShouldStream(uint64_t bytes) noexcept
{
  return bytes >= kStreamThreshold;
}

void GatherRowScalar(TPixel* out, const TPixel* in, const int32_t* cols, size_t n) noexcept
{
  for (size_t i = 0; i < n; ++i)
    out[i] = in[size_t(cols[i])];
}

#ifdef PLAYER_X86_KERNELS

namespace {

// Pixels written one by one until out is aligned for streaming stores.
size_t AlignHead(TPixel* out, size_t n) noexcept
{
  const size_t misalign = (reinterpret_cast<uintptr_t>(out) / sizeof(TPixel)) % 8;
  return misalign == 0 ? 0 : std::min(n, 8 - misalign);
}

__attribute__((target("avx2"))) inline void Store8(TPixel* out, __m256i v, bool stream) noexcept
{
  if (stream)
    _mm256_stream_si256(reinterpret_cast<__m256i*>(out), v);
  else
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), v);
}

// Eight pixels at a time. Because the indices are monotone, the eight
// sources of a block lie between its first and last index: when they span
// fewer than 8 (16) pixels, one (two) unaligned loads and a permute
// deliver them, which covers every enlargement and reductions down to about
// one half. Wider blocks are gathered. Loads are moved back from the end of
// the row so that they never read past inWidth.
__attribute__((target("avx2"))) void GatherRowAvx2(TPixel* out, const TPixel* in, size_t inWidth,
                                                   const int32_t* cols, size_t n, bool stream) noexcept
{
  const int32_t width = int32_t(inWidth);
  const __m256i seven = _mm256_set1_epi32(7);
  size_t i = stream ? AlignHead(out, n) : 0;
  GatherRowScalar(out, in, cols, i);
  for (; i + 8 <= n; i += 8) {
    const int32_t a = cols[i], b = cols[i + 7];
    const int32_t lo = std::min(a, b), hi = std::max(a, b);
    const __m256i idx = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(cols + i));
    __m256i v;
    if (hi - lo < 8 && width >= 8) {
      const int32_t base = std::min(lo, width - 8);
      const __m256i src = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + base));
      v = _mm256_permutevar8x32_epi32(src, _mm256_sub_epi32(idx, _mm256_set1_epi32(base)));
    } else if (hi - lo < 16 && width >= 16) {
      const int32_t base = std::min(lo, width - 16);
      const __m256i rel = _mm256_sub_epi32(idx, _mm256_set1_epi32(base));
      const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + base));
      const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + base + 8));
      const __m256i fromLow = _mm256_permutevar8x32_epi32(low, rel);
      const __m256i fromHigh = _mm256_permutevar8x32_epi32(high, rel);
      v = _mm256_blendv_epi8(fromLow, fromHigh, _mm256_cmpgt_epi32(rel, seven));
    } else {
      v = _mm256_i32gather_epi32(reinterpret_cast<const int*>(in), idx, 4);
    }
    Store8(out + i, v, stream);
  }
  GatherRowScalar(out + i, in, cols + i, n - i);
}

__attribute__((target("avx2"))) void StreamRowAvx2(TPixel* out, const TPixel* in, size_t n) noexcept
{
  size_t i = AlignHead(out, n);
  std::memcpy(out, in, i * sizeof(TPixel));
  for (; i + 8 <= n; i += 8)
    Store8(out + i, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + i)), true);
  std::memcpy(out + i, in + i, (n - i) * sizeof(TPixel));
}

__attribute__((target("avx2"))) void FenceAvx2() noexcept
{
  _mm_sfence();
}

bool HasAvx2() noexcept
{
  static const bool has = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
  }();
  return has;
}

} // namespace

void GatherRow(TPixel* out, const TPixel* in, size_t inWidth, const int32_t* cols, size_t n, bool stream) noexcept
{
  if (HasAvx2())
    GatherRowAvx2(out, in, inWidth, cols, n, stream);
  else
    GatherRowScalar(out, in, cols, n);
}

void CopyRow(TPixel* out, const TPixel* in, size_t n, bool stream) noexcept
{
  if (stream && HasAvx2())
    StreamRowAvx2(out, in, n);
  else
    std::memcpy(out, in, n * sizeof(TPixel));
}

void StreamFence() noexcept
{
  if (HasAvx2())
    FenceAvx2();
}

#else

void GatherRow(TPixel* out, const TPixel* in, size_t, const int32_t* cols, size_t n, bool) noexcept
{
  GatherRowScalar(out, in, cols, n);
}

void CopyRow(TPixel* out, const TPixel* in, size_t n, bool) noexcept
{
  std::memcpy(out, in, n * sizeof(TPixel));
}

void StreamFence() noexcept {}

#endif

} // namespace gfx
