#include "gfx/PixelRows.h"

#include <algorithm>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#define PLAYER_X86_KERNELS 1
#include <immintrin.h>
#endif

namespace gfx {

namespace {

void CopySpansPlain(TPixel* out, const TPixel* in, const TRect* spans, size_t count, int32_t left,
                    int32_t right) noexcept
{
  for (size_t k = 0; k < count; ++k) {
    const int32_t l = std::max(spans[k].Left, left);
    std::memcpy(out + l, in + l, size_t(std::min(spans[k].Right, right) - l) * sizeof(TPixel));
  }
}

void MergeSpansPlain(TPixel* out, const TPixel* in, const TPixel* under, const TRect* spans, size_t count,
                     int32_t left, int32_t right) noexcept
{
  int32_t x = left;
  for (size_t k = 0; k < count && x < right; ++k) {
    const int32_t l = std::clamp(spans[k].Left, x, right);
    const int32_t r = std::clamp(spans[k].Right, l, right);
    std::memcpy(out + x, under + x, size_t(l - x) * sizeof(TPixel));
    std::memcpy(out + l, in + l, size_t(r - l) * sizeof(TPixel));
    x = r;
  }
  std::memcpy(out + x, under + x, size_t(right - x) * sizeof(TPixel));
}

void SelectRowPlain(TPixel* out, const TPixel* in, const TPixel* under, const TPixel* mask, size_t n) noexcept
{
  for (size_t i = 0; i < n; ++i)
    out[i] = (in[i] & mask[i]) | (under[i] & ~mask[i]);
}

void GatherRowBackward(TPixel* out, const TPixel* in, const int32_t* cols, size_t n) noexcept
{
  for (size_t i = n; i-- > 0;)
    out[i] = in[size_t(cols[i])];
}

inline TPixel ShadePixel(TPixel p, TPixel raise, TPixel lower) noexcept
{
  TPixel result = p & 0xFF000000u;
  for (int shift = 0; shift < 24; shift += 8) {
    const int32_t v = int32_t((p >> shift) & 0xFF) + int32_t((raise >> shift) & 0xFF);
    const int32_t w = std::min(v, 255) - int32_t((lower >> shift) & 0xFF);
    result |= TPixel(std::max(w, 0)) << shift;
  }
  return result;
}

void ReverseRowPlain(TPixel* out, const TPixel* in, size_t n) noexcept
{
  for (size_t i = 0; i < n; ++i)
    out[i] = *(in - i);
}

void ShadeRowPlain(TPixel* row, const TPixel* raise, const TPixel* lower, size_t n) noexcept
{
  for (size_t i = 0; i < n; ++i)
    row[i] = ShadePixel(row[i], raise[i], lower[i]);
}

void ShadeRowUniformPlain(TPixel* row, TPixel raise, TPixel lower, size_t n) noexcept
{
  for (size_t i = 0; i < n; ++i)
    row[i] = ShadePixel(row[i], raise, lower);
}

} // namespace

void GatherRowScalar(TPixel* out, const TPixel* in, const int32_t* cols, size_t n) noexcept
{
  for (size_t i = 0; i < n; ++i)
    out[i] = in[size_t(cols[i])];
}

#ifdef PLAYER_X86_KERNELS

namespace {

// How a block of eight of a prepared gather is read.
constexpr uint8_t kOneLoad = 0;
constexpr uint8_t kTwoLoads = 1;
constexpr uint8_t kFourLoads = 2;
constexpr uint8_t kOneByOne = 3;

// Spans at least this long are left to the library's copy, which beats a
// plain vector loop once its call is paid for.
constexpr int32_t kLongSpan = 128;

// Eight pixels at a time. Because the indices are monotone, the eight
// sources of a block lie between its first and last index: when they span
// fewer than 8 (16) pixels, one (two) unaligned loads and a permute
// deliver them, which covers every enlargement and reductions down to about
// one half. Wider blocks are gathered. Loads are moved back from the end of
// the row so that they never read past inWidth.
__attribute__((target("avx2"))) void GatherRowAvx2(TPixel* out, const TPixel* in, size_t inWidth,
                                                   const int32_t* cols, size_t n) noexcept
{
  const int32_t width = int32_t(inWidth);
  const __m256i seven = _mm256_set1_epi32(7);
  size_t i = 0;
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
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), v);
  }
  GatherRowScalar(out + i, in, cols + i, n - i);
}

// One run of a span copy. Short runs are copied inline: a band may hold
// hundreds of them, and a library call each would cost more than the copy.
__attribute__((target("avx2"))) inline void CopyRunAvx2(TPixel* o, const TPixel* s, int32_t n) noexcept
{
  if (n >= kLongSpan) {
    std::memcpy(o, s, size_t(n) * sizeof(TPixel));
  } else if (n >= 8) {
    // Whole vectors, then one more that ends at the run's end and may
    // overlap the one before.
    int32_t i = 0;
    for (; i + 8 <= n; i += 8)
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(o + i),
                          _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i)));
    if (i < n)
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(o + n - 8),
                          _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + n - 8)));
  } else {
    for (int32_t i = 0; i < n; ++i)
      o[i] = s[i];
  }
}

__attribute__((target("avx2"))) void CopySpansAvx2(TPixel* out, const TPixel* in, const TRect* spans,
                                                   size_t count, int32_t left, int32_t right) noexcept
{
  for (size_t k = 0; k < count; ++k) {
    const int32_t l = std::max(spans[k].Left, left);
    CopyRunAvx2(out + l, in + l, std::min(spans[k].Right, right) - l);
  }
}

__attribute__((target("avx2"))) void MergeSpansAvx2(TPixel* out, const TPixel* in, const TPixel* under,
                                                    const TRect* spans, size_t count, int32_t left,
                                                    int32_t right) noexcept
{
  int32_t x = left;
  for (size_t k = 0; k < count && x < right; ++k) {
    const int32_t l = std::clamp(spans[k].Left, x, right);
    const int32_t r = std::clamp(spans[k].Right, l, right);
    CopyRunAvx2(out + x, under + x, l - x);
    CopyRunAvx2(out + l, in + l, r - l);
    x = r;
  }
  CopyRunAvx2(out + x, under + x, right - x);
}

__attribute__((target("avx2"))) void SelectRowAvx2(TPixel* out, const TPixel* in, const TPixel* under,
                                                   const TPixel* mask, size_t n) noexcept
{
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m256i m = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(mask + i));
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(under + i));
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + i));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), _mm256_blendv_epi8(a, b, m));
  }
  SelectRowPlain(out + i, in + i, under + i, mask + i, n - i);
}

// Eight pixels at a time, read backward and turned around.
__attribute__((target("avx2"))) void ReverseRowAvx2(TPixel* out, const TPixel* in, size_t n) noexcept
{
  const __m256i turn = _mm256_setr_epi32(7, 6, 5, 4, 3, 2, 1, 0);
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in - i - 7));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), _mm256_permutevar8x32_epi32(v, turn));
  }
  ReverseRowPlain(out + i, in - i, n - i);
}

// Saturating byte arithmetic does the clamping; the masks hold zero in the
// fourth byte, which therefore stays as it was.
__attribute__((target("avx2"))) void ShadeRowAvx2(TPixel* row, const TPixel* raise, const TPixel* lower,
                                                  size_t n) noexcept
{
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + i));
    v = _mm256_adds_epu8(v, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(raise + i)));
    v = _mm256_subs_epu8(v, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(lower + i)));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(row + i), v);
  }
  ShadeRowPlain(row + i, raise + i, lower + i, n - i);
}

__attribute__((target("avx2"))) void ShadeRowUniformAvx2(TPixel* row, TPixel raise, TPixel lower,
                                                         size_t n) noexcept
{
  const __m256i up = _mm256_set1_epi32(int32_t(raise));
  const __m256i down = _mm256_set1_epi32(int32_t(lower));
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + i));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(row + i), _mm256_subs_epu8(_mm256_adds_epu8(v, up), down));
  }
  ShadeRowUniformPlain(row + i, raise, lower, n - i);
}

__attribute__((target("avx2"))) void StreamRowAvx2(TPixel* out, const TPixel* in, size_t n) noexcept
{
  // Streaming stores need an aligned destination: the pixels before the
  // first 32-byte boundary are copied plainly, as are those after the last.
  size_t i = 0;
  while (i < n && (reinterpret_cast<uintptr_t>(out + i) & 31) != 0) {
    out[i] = in[i];
    ++i;
  }
  for (; i + 8 <= n; i += 8)
    _mm256_stream_si256(reinterpret_cast<__m256i*>(out + i),
                        _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + i)));
  for (; i < n; ++i)
    out[i] = in[i];
}

__attribute__((target("avx2"))) void FenceAvx2() noexcept
{
  _mm_sfence();
}

__attribute__((target("avx2"))) void ApplyPlanAvx2(TPixel* out, const TPixel* in, const int32_t* base,
                                                   const int32_t* index, const uint8_t* kind, size_t blocks,
                                                   bool oneLoadEach, bool backward) noexcept
{
  if (oneLoadEach && !backward) {
    for (size_t b = 0; b < blocks; ++b) {
      const __m256i src = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + base[b]));
      const __m256i idx = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(index + 8 * b));
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 8 * b), _mm256_permutevar8x32_epi32(src, idx));
    }
    return;
  }
  const __m256i seven = _mm256_set1_epi32(7);
  const __m256i two = _mm256_set1_epi32(2);
  const __m256i three = _mm256_set1_epi32(3);
  for (size_t step = 0; step < blocks; ++step) {
    // Every block loads all its sources before it stores, so a backward
    // walk only has to visit the blocks in reverse.
    const size_t b = backward ? blocks - 1 - step : step;
    const __m256i idx = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(index + 8 * b));
    const TPixel* from = in + base[b];
    __m256i v;
    switch (kind[b]) {
    case kOneLoad:
      v = _mm256_permutevar8x32_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(from)), idx);
      break;
    case kTwoLoads: {
      const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from));
      const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + 8));
      v = _mm256_blendv_epi8(_mm256_permutevar8x32_epi32(low, idx), _mm256_permutevar8x32_epi32(high, idx),
                             _mm256_cmpgt_epi32(idx, seven));
      break;
    }
    case kFourLoads: {
      // Each index picks its lane within one of four loads; idx / 8 says
      // which, and the blends keep that load's pick.
      const __m256i which = _mm256_srli_epi32(idx, 3);
      v = _mm256_permutevar8x32_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(from)), idx);
      v = _mm256_blendv_epi8(
        v, _mm256_permutevar8x32_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + 8)), idx),
        _mm256_cmpeq_epi32(which, _mm256_set1_epi32(1)));
      v = _mm256_blendv_epi8(
        v, _mm256_permutevar8x32_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + 16)), idx),
        _mm256_cmpeq_epi32(which, two));
      v = _mm256_blendv_epi8(
        v, _mm256_permutevar8x32_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + 24)), idx),
        _mm256_cmpeq_epi32(which, three));
      break;
    }
    default:
      // Sources too far apart for whole loads: one at a time, which beats
      // the gather instruction on the machines measured.
      if (backward)
        GatherRowBackward(out + 8 * b, from, index + 8 * b, 8);
      else
        GatherRowScalar(out + 8 * b, from, index + 8 * b, 8);
      continue;
    }
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 8 * b), v);
  }
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

void TGatherPlan::Prepare(const int32_t* cols, size_t n, size_t inWidth)
{
  cols_.assign(cols, cols + n);
  vector_ = HasAvx2() && inWidth >= 16;
  if (!vector_)
    return;
  // The blocks are sorted as GatherRowAvx2 sorts them, once.
  const int32_t width = int32_t(inWidth);
  const size_t blocks = n / 8;
  base_.resize(blocks);
  index_.resize(8 * blocks);
  kind_.resize(blocks);
  oneLoadEach_ = true;
  for (size_t b = 0; b < blocks; ++b) {
    const int32_t* c = cols + 8 * b;
    const int32_t lo = std::min(c[0], c[7]), hi = std::max(c[0], c[7]);
    // The narrowest whole loads that hold the block's sources, moved back
    // from the end of the row so that they stay inside it.
    int32_t base = lo;
    if (hi - lo < 8) {
      kind_[b] = kOneLoad;
      base = std::min(lo, width - 8);
    } else if (hi - lo < 16) {
      kind_[b] = kTwoLoads;
      base = std::min(lo, width - 16);
    } else if (hi - lo < 32 && width >= 32) {
      kind_[b] = kFourLoads;
      base = std::min(lo, width - 32);
    } else {
      kind_[b] = kOneByOne;
    }
    oneLoadEach_ = oneLoadEach_ && kind_[b] == kOneLoad;
    base_[b] = base;
    for (size_t i = 0; i < 8; ++i)
      index_[8 * b + i] = c[i] - base;
  }
}

void TGatherPlan::Apply(TPixel* out, const TPixel* in, bool backward) const noexcept
{
  const size_t n = cols_.size();
  if (!vector_) {
    if (backward)
      GatherRowBackward(out, in, cols_.data(), n);
    else
      GatherRowScalar(out, in, cols_.data(), n);
    return;
  }
  const size_t blocks = n / 8;
  const size_t done = 8 * blocks;
  if (backward)
    GatherRowBackward(out + done, in, cols_.data() + done, n - done);
  ApplyPlanAvx2(out, in, base_.data(), index_.data(), kind_.data(), blocks, oneLoadEach_, backward);
  if (!backward)
    GatherRowScalar(out + done, in, cols_.data() + done, n - done);
}

void GatherRow(TPixel* out, const TPixel* in, size_t inWidth, const int32_t* cols, size_t n) noexcept
{
  if (HasAvx2())
    GatherRowAvx2(out, in, inWidth, cols, n);
  else
    GatherRowScalar(out, in, cols, n);
}

void ReverseRow(TPixel* out, const TPixel* in, size_t n) noexcept
{
  if (HasAvx2())
    ReverseRowAvx2(out, in, n);
  else
    ReverseRowPlain(out, in, n);
}

void StreamRow(TPixel* out, const TPixel* in, size_t n) noexcept
{
  if (HasAvx2())
    StreamRowAvx2(out, in, n);
  else
    std::memcpy(out, in, n * sizeof(TPixel));
}

void StreamFence() noexcept
{
  // Only the vector kernel stores past the cache.
  if (HasAvx2())
    FenceAvx2();
}

void ShadeRow(TPixel* row, const TPixel* raise, const TPixel* lower, size_t n) noexcept
{
  if (HasAvx2())
    ShadeRowAvx2(row, raise, lower, n);
  else
    ShadeRowPlain(row, raise, lower, n);
}

void ShadeRowUniform(TPixel* row, TPixel raise, TPixel lower, size_t n) noexcept
{
  if (HasAvx2())
    ShadeRowUniformAvx2(row, raise, lower, n);
  else
    ShadeRowUniformPlain(row, raise, lower, n);
}

void CopySpans(TPixel* out, const TPixel* in, const TRect* spans, size_t count, int32_t left,
               int32_t right) noexcept
{
  if (HasAvx2())
    CopySpansAvx2(out, in, spans, count, left, right);
  else
    CopySpansPlain(out, in, spans, count, left, right);
}

void SelectRow(TPixel* out, const TPixel* in, const TPixel* under, const TPixel* mask, size_t n) noexcept
{
  if (HasAvx2())
    SelectRowAvx2(out, in, under, mask, n);
  else
    SelectRowPlain(out, in, under, mask, n);
}

void MergeSpans(TPixel* out, const TPixel* in, const TPixel* under, const TRect* spans, size_t count, int32_t left,
                int32_t right) noexcept
{
  if (HasAvx2())
    MergeSpansAvx2(out, in, under, spans, count, left, right);
  else
    MergeSpansPlain(out, in, under, spans, count, left, right);
}

#else

void TGatherPlan::Prepare(const int32_t* cols, size_t n, size_t)
{
  cols_.assign(cols, cols + n);
}

void TGatherPlan::Apply(TPixel* out, const TPixel* in, bool backward) const noexcept
{
  if (backward)
    GatherRowBackward(out, in, cols_.data(), cols_.size());
  else
    GatherRowScalar(out, in, cols_.data(), cols_.size());
}

void GatherRow(TPixel* out, const TPixel* in, size_t, const int32_t* cols, size_t n) noexcept
{
  GatherRowScalar(out, in, cols, n);
}

void ReverseRow(TPixel* out, const TPixel* in, size_t n) noexcept
{
  ReverseRowPlain(out, in, n);
}

void StreamRow(TPixel* out, const TPixel* in, size_t n) noexcept
{
  std::memcpy(out, in, n * sizeof(TPixel));
}

void StreamFence() noexcept {}

void ShadeRow(TPixel* row, const TPixel* raise, const TPixel* lower, size_t n) noexcept
{
  ShadeRowPlain(row, raise, lower, n);
}

void ShadeRowUniform(TPixel* row, TPixel raise, TPixel lower, size_t n) noexcept
{
  ShadeRowUniformPlain(row, raise, lower, n);
}

void CopySpans(TPixel* out, const TPixel* in, const TRect* spans, size_t count, int32_t left,
               int32_t right) noexcept
{
  CopySpansPlain(out, in, spans, count, left, right);
}

void SelectRow(TPixel* out, const TPixel* in, const TPixel* under, const TPixel* mask, size_t n) noexcept
{
  SelectRowPlain(out, in, under, mask, n);
}

void MergeSpans(TPixel* out, const TPixel* in, const TPixel* under, const TRect* spans, size_t count, int32_t left,
                int32_t right) noexcept
{
  MergeSpansPlain(out, in, under, spans, count, left, right);
}

#endif

void SpanMask(TPixel* mask, const TRect* spans, size_t count, int32_t left, int32_t right) noexcept
{
  int32_t x = left;
  for (size_t k = 0; k < count && x < right; ++k) {
    const int32_t l = std::clamp(spans[k].Left, x, right);
    const int32_t r = std::clamp(spans[k].Right, l, right);
    std::fill(mask + (x - left), mask + (l - left), TPixel{0});
    std::fill(mask + (l - left), mask + (r - left), ~TPixel{0});
    x = r;
  }
  std::fill(mask + (x - left), mask + (right - left), TPixel{0});
}

} // namespace gfx
