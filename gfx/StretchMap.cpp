#include "gfx/StretchMap.h"

#include <algorithm>

namespace gfx {

namespace {

// Which source pixel feeds destination pixel i (0 .. D - 1, counted from
// where the transfer starts) of a stretch from S pixels to D, as the
// reference platform chooses in the colour-on-colour mode (measured pixel by
// pixel). Picture the transfer as a line through (destination, source)
// steps: each destination pixel owns a run of source steps.
//   - Enlarging (D >= S), every run is one step: (2iS + S - 1) / 2D.
//   - Reducing vertically, run i starts at (iS + D/2) / D and the first
//     source row of the run that lies inside the source bitmap is taken.
//   - Reducing horizontally, run i ends at (iS + S - (D+1)/2) / D and the
//     last source column of the run inside the bitmap is taken.
//   - A single destination pixel owns all but the last source step unless
//     the transfer is mirrored.
// lo and hi bound the steps whose source pixels lie inside the bitmap; the
// answer is a step index, or -1 when the run has no visible step.
int64_t SourceStep(const TStretchAxis& m, int64_t i, int64_t lo, int64_t hi) noexcept
{
  const int64_t S = m.SrcSize;
  const int64_t D = m.DstSize;
  if (D >= S) {
    const int64_t j = (2 * i * S + S - 1) / (2 * D);
    return j >= lo && j <= hi ? j : -1;
  }
  const bool mirrored = m.DstMirrored || m.SrcMirrored;
  int64_t first, last;
  if (m.Vertical) {
    first = (i * S + D / 2) / D;
    last = ((i + 1) * S + D / 2) / D - 1;
  } else {
    first = i == 0 ? 0 : ((i - 1) * S + S - (D + 1) / 2) / D + 1;
    last = (i * S + S - (D + 1) / 2) / D;
  }
  if (D == 1)
    last = mirrored ? S - 1 : S - 2;
  first = std::max(first, lo);
  last = std::min(last, hi);
  if (first > last)
    return -1;
  return m.Vertical ? first : last;
}

// The steps whose source pixel lies inside [0, limit).
void VisibleSteps(const TStretchAxis& m, int32_t limit, int64_t& lo, int64_t& hi) noexcept
{
  if (m.SrcMirrored) {
    lo = m.SrcStart + m.SrcSize - limit;
    hi = m.SrcStart + m.SrcSize - 1;
  } else {
    lo = -m.SrcStart;
    hi = limit - 1 - m.SrcStart;
  }
  lo = std::max<int64_t>(lo, 0);
  hi = std::min<int64_t>(hi, m.SrcSize - 1);
}

int32_t SourceOfStep(const TStretchAxis& m, int64_t j) noexcept
{
  return j < 0 ? -1 : int32_t(m.SrcStart + (m.SrcMirrored ? m.SrcSize - 1 - j : j));
}

// floor((a * i + b) / c) for i = i0, i0 + 1, ..., with a * i + b >= 0 and
// c > 0, by adding the quotient and remainder of a / c at every step.
class TFloorSequence {
public:
  TFloorSequence(int64_t a, int64_t b, int64_t c, int64_t i0) noexcept : c_(c), aq_(a / c), ar_(a % c)
  {
    const int64_t n = a * i0 + b;
    q_ = n / c;
    r_ = n % c;
  }
  [[nodiscard]] int64_t Value() const noexcept { return q_; }
  void Next() noexcept
  {
    q_ += aq_;
    r_ += ar_;
    if (r_ >= c_) {
      r_ -= c_;
      ++q_;
    }
  }

private:
  int64_t c_, aq_, ar_;
  int64_t q_ = 0, r_ = 0;
};

} // namespace

TStretchAxis MakeStretchAxis(int64_t d, int64_t dSize, int64_t s, int64_t sSize, bool vertical) noexcept
{
  TStretchAxis m;
  m.DstMirrored = dSize < 0;
  m.SrcMirrored = sSize < 0;
  if (dSize < 0) {
    d += dSize + 1;
    dSize = -dSize;
  }
  if (sSize < 0) {
    s += sSize + 1;
    sSize = -sSize;
  }
  m.DstStart = d;
  m.DstSize = dSize;
  m.SrcStart = s;
  m.SrcSize = sSize;
  m.Vertical = vertical;
  return m;
}

int32_t StretchSourceIndex(const TStretchAxis& m, int64_t p, int32_t limit) noexcept
{
  int64_t i = p - m.DstStart;
  if (i < 0 || i >= m.DstSize)
    return -1;
  if (m.DstMirrored)
    i = m.DstSize - 1 - i;
  int64_t lo, hi;
  VisibleSteps(m, limit, lo, hi);
  return SourceOfStep(m, SourceStep(m, i, lo, hi));
}

void StretchSourceTable(const TStretchAxis& m, int32_t from, int32_t to, int32_t limit, std::vector<int32_t>& table)
{
  table.assign(to > from ? size_t(int64_t(to) - from) : 0, -1);
  // Only the part of [from, to) inside the destination rectangle has a
  // source; its steps i run over [iFirst, iLast].
  const int64_t pFirst = std::max<int64_t>(from, m.DstStart);
  const int64_t pLast = std::min<int64_t>(int64_t(to) - 1, m.DstStart + m.DstSize - 1);
  if (pFirst > pLast)
    return;
  const int64_t S = m.SrcSize;
  const int64_t D = m.DstSize;
  if (D == 1 || pLast - pFirst < 4) {
    for (int64_t p = pFirst; p <= pLast; ++p)
      table[size_t(p - from)] = StretchSourceIndex(m, p, limit);
    return;
  }
  int64_t lo, hi;
  VisibleSteps(m, limit, lo, hi);
  const int64_t iFirst = m.DstMirrored ? m.DstStart + D - 1 - pLast : pFirst - m.DstStart;
  const int64_t iLast = m.DstMirrored ? m.DstStart + D - 1 - pFirst : pLast - m.DstStart;
  // Where step i lands in the table.
  const auto slot = [&](int64_t i) -> int32_t& {
    const int64_t p = m.DstMirrored ? m.DstStart + D - 1 - i : m.DstStart + i;
    return table[size_t(p - from)];
  };

  if (D >= S) {
    TFloorSequence j(2 * S, S - 1, 2 * D, iFirst);
    for (int64_t i = iFirst; i <= iLast; ++i, j.Next()) {
      const int64_t v = j.Value();
      slot(i) = SourceOfStep(m, v >= lo && v <= hi ? v : -1);
    }
    return;
  }
  if (m.Vertical) {
    // Run i is [start(i), start(i + 1) - 1]; the first visible row is taken.
    TFloorSequence start(S, D / 2, D, iFirst);
    for (int64_t i = iFirst; i <= iLast; ++i) {
      const int64_t first = std::max(start.Value(), lo);
      start.Next();
      const int64_t last = std::min(start.Value() - 1, hi);
      slot(i) = SourceOfStep(m, first > last ? -1 : first);
    }
    return;
  }
  // Run i is [end(i - 1) + 1, end(i)], the first run starting at 0; the last
  // visible column is taken.
  TFloorSequence end(S, S - (D + 1) / 2, D, iFirst);
  int64_t previousEnd = iFirst == 0 ? -1 : ((iFirst - 1) * S + S - (D + 1) / 2) / D;
  for (int64_t i = iFirst; i <= iLast; ++i, end.Next()) {
    const int64_t first = std::max(previousEnd + 1, lo);
    const int64_t last = std::min(end.Value(), hi);
    previousEnd = end.Value();
    slot(i) = SourceOfStep(m, first > last ? -1 : last);
  }
}

} // namespace gfx
