#pragma once
#include "gfx/Color.h"
#include "gfx/Geometry.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace gfx {

// Row kernels of the blits. Each uses the processor's vector instructions
// where it has them (chosen once, at the first call) and plain loops
// otherwise.

// out[i] = in[cols[i]] for i < n, where every index lies in [0, inWidth) and
// the indices never decrease or never increase along the row, as the
// column tables of a stretch do.
void GatherRow(TPixel* out, const TPixel* in, size_t inWidth, const int32_t* cols, size_t n) noexcept;
// GatherRow for many rows through the same column table: the work that
// depends on the table alone (where each block of eight loads from, how it
// is permuted) is done once by Prepare, leaving a load, a permute and a
// store per block for every row. The buffers are kept between uses.
class TGatherPlan {
public:
  void Prepare(const int32_t* cols, size_t n, size_t inWidth);
  // out[i] = in[cols[i]] for the prepared table, from the left end of the
  // row or, backward, from the right end. The row may be its own source
  // when every out[i] reads at or right of itself (forward) or at or left
  // of itself (backward): no pixel is then read after it was written.
  void Apply(TPixel* out, const TPixel* in, bool backward = false) const noexcept;
  [[nodiscard]] size_t Size() const noexcept { return cols_.size(); }

private:
  std::vector<int32_t> cols_;
  // Per block of eight: where its load starts, its permute indices (the
  // table itself for a gathered block) and how it is read (one load, two,
  // or a gather).
  std::vector<int32_t> base_;
  std::vector<int32_t> index_;
  std::vector<uint8_t> kind_;
  bool oneLoadEach_ = false;
  bool vector_ = false;
};

// The plain loop of GatherRow.
void GatherRowScalar(TPixel* out, const TPixel* in, const int32_t* cols, size_t n) noexcept;

// out[i] = in[-i] for i < n: a row drawn mirrored; in points at the source
// of out[0], the rightmost source pixel read.
void ReverseRow(TPixel* out, const TPixel* in, size_t n) noexcept;

// Copies n pixels to out past the cache, for rows that nothing reads soon:
// the processor then need not read each destination line before writing it.
// StreamFence must follow before another thread reads what was stored.
void StreamRow(TPixel* out, const TPixel* in, size_t n) noexcept;
void StreamFence() noexcept;

// Brightens or darkens the blue, green and red bytes of each pixel with
// clamping, leaving the fourth byte alone: each byte of row[i] becomes
// min(255, byte + the byte of raise[i]), then max(0, that - the byte of
// lower[i]). With one of raise[i] and lower[i] zero, this adds a signed
// offset to the three channels clamped to 0..255.
void ShadeRow(TPixel* row, const TPixel* raise, const TPixel* lower, size_t n) noexcept;
// The same with one raise and lower for the whole row.
void ShadeRowUniform(TPixel* row, TPixel raise, TPixel lower, size_t n) noexcept;
// The raise and lower pixels for a signed offset (see ShadeRow).
[[nodiscard]] constexpr TPixel ShadeRaise(int32_t offset) noexcept
{
  const TPixel b = offset > 0 ? TPixel(offset > 255 ? 255 : offset) : 0;
  return b | (b << 8) | (b << 16);
}
[[nodiscard]] constexpr TPixel ShadeLower(int32_t offset) noexcept
{
  return ShadeRaise(offset < 0 ? (offset < -255 ? 255 : -offset) : 0);
}

// Copies in[x] to out[x] for x in each span, cut to [left, right): one row
// of a copy through a clip region. Short spans are copied inline rather
// than by a library call each, since a band may hold hundreds of them.
void CopySpans(TPixel* out, const TPixel* in, const TRect* spans, size_t count, int32_t left,
               int32_t right) noexcept;

// One row of a picture shown through a region over another: in[x] for x in
// the spans, under[x] elsewhere in [left, right), each pixel written once.
// The spans are those of one band of a region: sorted, apart, possibly
// reaching outside [left, right).
void MergeSpans(TPixel* out, const TPixel* in, const TPixel* under, const TRect* spans, size_t count, int32_t left,
                int32_t right) noexcept;

// MergeSpans costs a few instructions per span: a row of many short spans is
// cheaper through a mask made once per band (all bits set where a span
// covers x in [left, right), mask[0] standing for left) and a select that
// reads both rows whole: out[i] = mask[i] ? in[i] : under[i].
void SpanMask(TPixel* mask, const TRect* spans, size_t count, int32_t left, int32_t right) noexcept;
void SelectRow(TPixel* out, const TPixel* in, const TPixel* under, const TPixel* mask, size_t n) noexcept;

} // namespace gfx
