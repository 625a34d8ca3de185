#include "gfx/Region.h"

#include "gfx/ScratchPool.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

// Regions from many rectangles: the rectangle lists that the bar, shred and
// speckle patterns hand over (hundreds to thousands of rectangles for every
// frame of a transition) and the union of many regions (the shred grids).
//
// The sweep. The rectangles are ordered by top, then by left, and their
// bottoms are ordered on their own. A sweep line runs down the rows, stopping
// only where some rectangle starts or ends (the next stop is the smaller of
// the next top and the next bottom, so no list of stops is built). The
// rectangles that cover the line are kept in an "active" list ordered by left
// edge: at a stop, those ending there are taken out (exactly as many as the
// bottoms equal to the stop) and those starting there are merged in. The
// spans of the band below the stop are the merged x intervals of the active
// list, found in one pass. When only new rectangles arrive and each of them
// lies inside a span already covered, the spans cannot change and the pass
// is skipped. A band is written only when the spans do change, so bands that
// touch and hold the same spans come out as one and the result is canonical.
//
// All working lists live in a scratch area reused from call to call, so a
// frame that builds its region allocates only the result.

namespace gfx {

namespace {

constexpr int32_t kLimit = TRegion::kCoordLimit;
// Up to this many rectangles starting on one row are inserted one by one;
// more are merged into the active list in one pass.
constexpr size_t kFewStarting = 8;

struct TActive {
  int32_t Left;
  int32_t Right;
  int32_t Bottom;
};

struct TSweepScratch {
  std::vector<TRect> Items;
  std::vector<TRect> Merged;
  std::vector<int32_t> Bottoms;
  std::vector<int32_t> SpareBottoms;
  std::vector<TActive> Active;
  std::vector<TActive> Merging;
  std::vector<int32_t> Spans;
  std::vector<int32_t> Fresh;
  std::vector<TRect> Out;

  // A huge call should not pin its memory for the life of the process.
  void Trim()
  {
    constexpr size_t kKeep = size_t{1} << 18;
    const auto trim = [](auto& v) {
      if (v.capacity() > kKeep)
        std::remove_reference_t<decltype(v)>().swap(v);
    };
    trim(Items);
    trim(Merged);
    trim(Bottoms);
    trim(SpareBottoms);
    trim(Active);
    trim(Merging);
    trim(Spans);
    trim(Fresh);
    trim(Out);
  }
};

TScratchPool<TSweepScratch>& Scratch()
{
  static TScratchPool<TSweepScratch> pool;
  return pool;
}

constexpr int32_t Clamp(int32_t v) noexcept
{
  return v < -kLimit ? -kLimit : (v > kLimit ? kLimit : v);
}

// Top, then left, as one number: both are within the clamped range, so
// biased into 32 unsigned bits each they order like the pair.
constexpr uint64_t TopLeftKey(const TRect& r) noexcept
{
  return (uint64_t(uint32_t(r.Top + kLimit)) << 32) | uint32_t(r.Left + kLimit);
}

constexpr bool TopLeftBefore(const TRect& a, const TRect& b) noexcept
{
  return TopLeftKey(a) < TopLeftKey(b);
}

// Least-significant-digit radix sort of values by an unsigned key of the
// given number of bits, 11 bits a pass, through the spare buffer. Rectangle
// lists run to thousands of entries per frame, where comparison sorts cost
// many times more.
template <class T, class TKey>
void RadixSort(std::vector<T>& values, std::vector<T>& spare, int bits, TKey&& key)
{
  constexpr int kDigit = 11;
  constexpr size_t kBuckets = size_t{1} << kDigit;
  spare.resize(values.size());
  std::array<uint32_t, kBuckets> counts;
  for (int shift = 0; shift < bits; shift += kDigit) {
    std::fill(counts.begin(), counts.end(), 0u);
    for (const T& v : values)
      ++counts[(key(v) >> shift) & (kBuckets - 1)];
    uint32_t sum = 0;
    for (uint32_t& c : counts) {
      const uint32_t here = c;
      c = sum;
      sum += here;
    }
    for (const T& v : values)
      spare[counts[(key(v) >> shift) & (kBuckets - 1)]++] = v;
    values.swap(spare);
  }
}

int BitsFor(uint64_t range) noexcept
{
  int bits = 0;
  while (bits < 64 && (range >> bits) != 0)
    ++bits;
  return bits;
}

// Orders items by top, then left: nothing to do for the lists that patterns
// add row by row, a radix sort on the pair otherwise.
void Order(TSweepScratch& s)
{
  std::vector<TRect>& items = s.Items;
  const auto before = [](const TRect& a, const TRect& b) { return TopLeftBefore(a, b); };
  if (std::is_sorted(items.begin(), items.end(), before))
    return;
  if (items.size() < 64) {
    std::sort(items.begin(), items.end(), before);
    return;
  }
  int32_t minTop = items.front().Top, maxTop = minTop;
  int32_t minLeft = items.front().Left, maxLeft = minLeft;
  for (const TRect& r : items) {
    minTop = std::min(minTop, r.Top);
    maxTop = std::max(maxTop, r.Top);
    minLeft = std::min(minLeft, r.Left);
    maxLeft = std::max(maxLeft, r.Left);
  }
  // Both ranges fit 29 bits (coordinates are clamped), the pair 58.
  const int leftBits = BitsFor(uint64_t(int64_t(maxLeft) - minLeft));
  const int topBits = BitsFor(uint64_t(int64_t(maxTop) - minTop));
  RadixSort(items, s.Merged, leftBits + topBits, [=](const TRect& r) {
    return (uint64_t(uint32_t(r.Top - minTop)) << leftBits) | uint32_t(r.Left - minLeft);
  });
}

// Orders the bottoms the same way.
void OrderBottoms(std::vector<int32_t>& bottoms, std::vector<int32_t>& spare)
{
  if (std::is_sorted(bottoms.begin(), bottoms.end()))
    return;
  if (bottoms.size() < 64) {
    std::sort(bottoms.begin(), bottoms.end());
    return;
  }
  const auto [low, high] = std::minmax_element(bottoms.begin(), bottoms.end());
  const int32_t minimum = *low;
  RadixSort(bottoms, spare, BitsFor(uint64_t(int64_t(*high) - minimum)),
            [=](int32_t b) { return uint64_t(uint32_t(b - minimum)); });
}

// Is [left, right) inside one of the count / 2 spans (left/right pairs,
// ordered)?
bool InsideSpans(const int32_t* spans, size_t count, int32_t left, int32_t right) noexcept
{
  size_t lo = 0;
  size_t hi = count / 2;
  // The last span whose left edge is at or before left.
  while (lo < hi) {
    const size_t mid = (lo + hi) / 2;
    if (spans[2 * mid] <= left)
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo > 0 && right <= spans[2 * (lo - 1) + 1];
}

// The sweep over items, which are non-empty and ordered by top, then left.
std::vector<TRect> Sweep(TSweepScratch& s)
{
  const std::vector<TRect>& items = s.Items;
  const size_t n = items.size();
  std::vector<int32_t>& bottoms = s.Bottoms;
  bottoms.resize(n);
  for (size_t i = 0; i < n; ++i)
    bottoms[i] = items[i].Bottom;
  OrderBottoms(bottoms, s.SpareBottoms);

  std::vector<TActive>& active = s.Active;
  std::vector<int32_t>& spans = s.Spans;
  std::vector<int32_t>& fresh = s.Fresh;
  std::vector<TRect>& out = s.Out;
  active.clear();
  out.clear();
  size_t spanCount = 0;
  int32_t bandTop = 0;
  size_t ti = 0;
  size_t bi = 0;
  while (bi < n) {
    const int32_t y = ti < n ? std::min(items[ti].Top, bottoms[bi]) : bottoms[bi];
    bool changed = false;

    // Rectangles that end here leave the active list. Exactly those with
    // this bottom go (the ones above left earlier), so the walk stops after
    // the last of them and the rest moves down in one block.
    if (bottoms[bi] == y) {
      size_t leaving = 0;
      while (bi < n && bottoms[bi] == y) {
        ++bi;
        ++leaving;
      }
      TActive* p = active.data();
      const size_t count = active.size();
      size_t i = 0;
      while (p[i].Bottom != y)
        ++i;
      size_t kept = i;
      for (; leaving > 0; ++i) {
        if (p[i].Bottom == y)
          --leaving;
        else
          p[kept++] = p[i];
      }
      std::copy(p + i, p + count, p + kept);
      active.resize(kept + (count - i));
      changed = true;
    }

    // Rectangles that start here join it in left order. When only new
    // rectangles arrive and each lies inside a span already covered, the
    // spans stay as they are and the band simply goes on.
    const size_t first = ti;
    while (ti < n && items[ti].Top == y)
      ++ti;
    for (size_t i = first; i < ti && !changed; ++i)
      changed = !InsideSpans(spans.data(), spanCount, items[i].Left, items[i].Right);
    if (ti - first <= kFewStarting) {
      for (size_t i = first; i < ti; ++i) {
        const TRect& r = items[i];
        const auto at = std::upper_bound(active.begin(), active.end(), r.Left,
                                         [](int32_t left, const TActive& e) { return left < e.Left; });
        active.insert(at, TActive{r.Left, r.Right, r.Bottom});
      }
    } else {
      // Many at once (a pattern's first row, a band of a region): one merge.
      std::vector<TActive>& merged = s.Merging;
      merged.clear();
      size_t a = 0;
      for (size_t i = first; i < ti; ++i) {
        while (a < active.size() && active[a].Left <= items[i].Left)
          merged.push_back(active[a++]);
        merged.push_back({items[i].Left, items[i].Right, items[i].Bottom});
      }
      merged.insert(merged.end(), active.begin() + std::ptrdiff_t(a), active.end());
      active.swap(merged);
    }
    if (!changed)
      continue;

    // The spans of the new band: the merged x intervals of the active list.
    // Plain pointers keep the loop in registers; at most one span per
    // active rectangle. The buffers only ever grow.
    if (fresh.size() < 2 * active.size())
      fresh.resize(2 * active.size());
    int32_t* f = fresh.data();
    if (!active.empty()) {
      const TActive* e = active.data();
      const TActive* end = e + active.size();
      int32_t left = e->Left;
      int32_t right = e->Right;
      for (++e; e != end; ++e) {
        if (e->Left > right) {
          *f++ = left;
          *f++ = right;
          left = e->Left;
          right = e->Right;
        } else {
          right = std::max(right, e->Right);
        }
      }
      *f++ = left;
      *f++ = right;
    }
    const size_t freshCount = size_t(f - fresh.data());
    if (freshCount == spanCount && std::equal(fresh.data(), f, spans.data()))
      continue;
    for (size_t i = 0; i < spanCount; i += 2)
      out.push_back({spans[i], bandTop, spans[i + 1], y});
    spans.swap(fresh);
    spanCount = freshCount;
    bandTop = y;
  }
  return std::vector<TRect>(out.begin(), out.end());
}

} // namespace

TRegion TRegion::FromRects(std::span<const TRect> rects)
{
  const auto lease = Scratch().Acquire();
  TSweepScratch& s = *lease;
  s.Items.clear();
  s.Items.reserve(rects.size());
  for (const TRect& r : rects) {
    const TRect c{Clamp(r.Left), Clamp(r.Top), Clamp(r.Right), Clamp(r.Bottom)};
    if (c.Left < c.Right && c.Top < c.Bottom)
      s.Items.push_back(c);
  }
  if (s.Items.empty())
    return {};
  if (s.Items.size() == 1)
    return TRegion(s.Items.front());
  Order(s);
  TRegion region = FromBandedRects(Sweep(s));
  s.Trim();
  return region;
}

TRegion TRegion::FromUnion(std::span<const TRegion> regions)
{
  const auto lease = Scratch().Acquire();
  TSweepScratch& s = *lease;
  s.Items.clear();
  // Each region's rectangles are already ordered, so the list is made of
  // ordered runs; merging neighbouring runs pairwise orders it in log(runs)
  // passes.
  std::vector<size_t> runs;
  runs.reserve(regions.size() + 1);
  const TRegion* only = nullptr;
  size_t nonEmpty = 0;
  for (const TRegion& region : regions) {
    if (region.IsEmpty())
      continue;
    ++nonEmpty;
    only = &region;
    runs.push_back(s.Items.size());
    s.Items.insert(s.Items.end(), region.rects_.begin(), region.rects_.end());
  }
  if (nonEmpty == 0)
    return {};
  if (nonEmpty == 1)
    return *only;
  runs.push_back(s.Items.size());
  while (runs.size() > 2) {
    s.Merged.resize(s.Items.size());
    std::vector<size_t> merged;
    merged.reserve(runs.size() / 2 + 2);
    size_t i = 0;
    for (; i + 2 < runs.size(); i += 2) {
      merged.push_back(runs[i]);
      std::merge(s.Items.begin() + std::ptrdiff_t(runs[i]), s.Items.begin() + std::ptrdiff_t(runs[i + 1]),
                 s.Items.begin() + std::ptrdiff_t(runs[i + 1]), s.Items.begin() + std::ptrdiff_t(runs[i + 2]),
                 s.Merged.begin() + std::ptrdiff_t(runs[i]),
                 [](const TRect& x, const TRect& y) { return TopLeftBefore(x, y); });
    }
    if (i + 1 < runs.size()) {
      merged.push_back(runs[i]);
      std::copy(s.Items.begin() + std::ptrdiff_t(runs[i]), s.Items.begin() + std::ptrdiff_t(runs[i + 1]),
                s.Merged.begin() + std::ptrdiff_t(runs[i]));
    }
    merged.push_back(runs.back());
    s.Items.swap(s.Merged);
    runs = std::move(merged);
  }
  TRegion region = FromBandedRects(Sweep(s));
  s.Trim();
  return region;
}

} // namespace gfx
