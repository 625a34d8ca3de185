#include "gfx/Region.h"

#include "gfx/ScratchPool.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <limits>
#include <stdexcept>
#include <string>

// Sections:
//   [1] band writer        appends bands and merges equal neighbours
//   [2] rectangles          single rectangles (lists: RegionSweep.cpp)
//   [3] combination         the two-region sweep behind CombineRgn
//   [4] polygons            scan conversion with both fill modes
//   [5] ellipses            rounded rectangles and ellipses
//   [6] queries             point and rectangle tests, offset
//
// Bands. A region is a stack of horizontal bands; every rectangle of a band
// has the band's top and bottom, and the band's rectangles are its spans from
// left to right. Every builder below produces its result band by band from
// top to bottom and hands each band to the writer, which drops empty bands
// and merges a band into the one above when they touch and hold the same
// spans. The result is therefore canonical and equality is list equality.

namespace gfx {

namespace {

constexpr int32_t kLimit = TRegion::kCoordLimit;
// Curved and polygonal shapes are scan-converted only within this distance
// of the origin: rows further out lie beyond any bitmap, and converting them
// would cost time and memory without bound.
constexpr int64_t kScanLimit = int64_t{1} << 18;
// Corner ellipses are traced step by step, so their size is bounded too.
constexpr int64_t kMaxEllipse = int64_t{1} << 18;

constexpr int32_t Clamp(int64_t v) noexcept
{
  return int32_t(std::clamp<int64_t>(v, -kLimit, kLimit));
}

// ----- [1] band writer -------------------------------------------------------

class TBandWriter {
public:
  explicit TBandWriter(std::vector<TRect>& out) : out_(out) {}

  // spans: left/right pairs, sorted, neither overlapping nor touching.
  void Band(int32_t top, int32_t bottom, const std::vector<int32_t>& spans)
  {
    if (spans.empty() || bottom <= top)
      return;
    const size_t count = spans.size() / 2;
    if (hasPrevious_ && out_[prevStart_].Bottom == top && out_.size() - prevStart_ == count) {
      bool same = true;
      for (size_t i = 0; i < count && same; ++i)
        same = out_[prevStart_ + i].Left == spans[2 * i] && out_[prevStart_ + i].Right == spans[2 * i + 1];
      if (same) {
        for (size_t i = prevStart_; i < out_.size(); ++i)
          out_[i].Bottom = bottom;
        return;
      }
    }
    prevStart_ = out_.size();
    hasPrevious_ = true;
    for (size_t i = 0; i < count; ++i)
      out_.push_back({spans[2 * i], top, spans[2 * i + 1], bottom});
  }

private:
  std::vector<TRect>& out_;
  size_t prevStart_ = 0;
  bool hasPrevious_ = false;
};

// End of the band that starts at p.
const TRect* BandEnd(const TRect* p, const TRect* end) noexcept
{
  const int32_t top = p->Top;
  while (p != end && p->Top == top)
    ++p;
  return p;
}

bool Apply(int mode, bool inA, bool inB) noexcept
{
  switch (mode) {
  case RGN_AND:
    return inA && inB;
  case RGN_OR:
    return inA || inB;
  case RGN_XOR:
    return inA != inB;
  default: // RGN_DIFF
    return inA && !inB;
  }
}

// Combines the spans of one band of each operand. Walks the edges of both
// span lists in x order; a span of the result starts where the combined
// state turns on and ends where it turns off, so the spans come out maximal.
void CombineSpans(const TRect* a, const TRect* ae, const TRect* b, const TRect* be, int mode,
                  std::vector<int32_t>& spans)
{
  spans.clear();
  bool inA = false;
  bool inB = false;
  bool on = false;
  constexpr int64_t kEnd = std::numeric_limits<int64_t>::max();
  for (;;) {
    const int64_t nextA = a == ae ? kEnd : (inA ? a->Right : a->Left);
    const int64_t nextB = b == be ? kEnd : (inB ? b->Right : b->Left);
    const int64_t x = std::min(nextA, nextB);
    if (x == kEnd)
      break;
    if (nextA == x) {
      if (inA)
        ++a;
      inA = !inA;
    }
    if (nextB == x) {
      if (inB)
        ++b;
      inB = !inB;
    }
    const bool now = Apply(mode, inA, inB);
    if (now != on) {
      spans.push_back(int32_t(x));
      on = now;
    }
  }
}

} // namespace

// ----- [2] rectangles --------------------------------------------------------

TRegion::TRegion(const TRect& rect)
{
  const TRect r{Clamp(rect.Left), Clamp(rect.Top), Clamp(rect.Right), Clamp(rect.Bottom)};
  if (!r.IsEmpty()) {
    rects_.push_back(r);
    bounds_ = r;
  }
}

TRegion TRegion::FromRectangle(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
  return TRegion(TRect{left, top, right, bottom}.Normalized());
}

TRegion TRegion::FromBandedRects(std::vector<TRect> rects)
{
  TRegion region;
  region.rects_ = std::move(rects);
  region.UpdateBounds();
  return region;
}

void TRegion::UpdateBounds() noexcept
{
  if (rects_.empty()) {
    bounds_ = {};
    return;
  }
  TRect b{rects_.front().Left, rects_.front().Top, rects_.front().Right, rects_.back().Bottom};
  for (const TRect& r : rects_) {
    b.Left = std::min(b.Left, r.Left);
    b.Right = std::max(b.Right, r.Right);
  }
  bounds_ = b;
}

// FromRects and FromUnion, the sweeps over many rectangles, are in
// RegionSweep.cpp.

// ----- [3] combination -------------------------------------------------------

TRegion TRegion::Combine(const TRegion& a, const TRegion& b, int mode)
{
  switch (mode) {
  case RGN_COPY:
    return a;
  case RGN_AND:
    if (a.IsEmpty() || b.IsEmpty() || !a.bounds_.Intersects(b.bounds_))
      return {};
    break;
  case RGN_OR:
  case RGN_XOR:
    if (b.IsEmpty())
      return a;
    if (a.IsEmpty())
      return b;
    break;
  case RGN_DIFF:
    if (a.IsEmpty() || b.IsEmpty() || !a.bounds_.Intersects(b.bounds_))
      return a;
    break;
  default:
    throw std::invalid_argument("Unknown region combination mode " + std::to_string(mode));
  }

  std::vector<TRect> out;
  out.reserve(a.rects_.size() + b.rects_.size());
  TBandWriter writer(out);
  std::vector<int32_t> spans;

  const TRect* pa = a.rects_.data();
  const TRect* ea = pa + a.rects_.size();
  const TRect* pb = b.rects_.data();
  const TRect* eb = pb + b.rects_.size();
  const TRect* qa = BandEnd(pa, ea);
  const TRect* qb = BandEnd(pb, eb);
  constexpr int64_t kEnd = std::numeric_limits<int64_t>::max();
  int64_t y = std::numeric_limits<int64_t>::min();

  // Each step handles the stretch of rows from y to the next band edge of
  // either operand; inside it both operands have fixed spans.
  while (pa != ea || pb != eb) {
    if (pa == ea && (mode == RGN_AND || mode == RGN_DIFF))
      break;
    if (pb == eb && mode == RGN_AND)
      break;
    const int64_t aTop = pa != ea ? pa->Top : kEnd;
    const int64_t bTop = pb != eb ? pb->Top : kEnd;
    y = std::max(y, std::min(aTop, bTop));
    const bool aActive = pa != ea && aTop <= y;
    const bool bActive = pb != eb && bTop <= y;
    int64_t next = kEnd;
    if (pa != ea)
      next = std::min<int64_t>(next, aActive ? pa->Bottom : aTop);
    if (pb != eb)
      next = std::min<int64_t>(next, bActive ? pb->Bottom : bTop);

    CombineSpans(aActive ? pa : nullptr, aActive ? qa : nullptr, bActive ? pb : nullptr, bActive ? qb : nullptr,
                 mode, spans);
    writer.Band(int32_t(y), int32_t(next), spans);
    y = next;
    if (aActive && pa->Bottom == next) {
      pa = qa;
      qa = pa != ea ? BandEnd(pa, ea) : ea;
    }
    if (bActive && pb->Bottom == next) {
      pb = qb;
      qb = pb != eb ? BandEnd(pb, eb) : eb;
    }
  }
  return FromBandedRects(std::move(out));
}

TRegion TRegion::Intersected(const TRect& rect) const
{
  if (IsEmpty() || rect.IsEmpty())
    return {};
  if (rect.Contains(bounds_))
    return *this;
  return Combine(*this, TRegion(rect), RGN_AND);
}

// ----- [4] polygons ----------------------------------------------------------

namespace {

// One non-horizontal edge, oriented top to bottom. The pixel centre (x, y)
// lies right of the edge (or on it) when x >= the edge's exact x at row y;
// X() answers the smallest such integer x, ceil(x1 + (y - y1) * dx / dy),
// kept exactly with a whole part and a remainder so that no coordinate can
// overflow (dx and dy need 33 bits, their products 64).
struct TEdge {
  int64_t yTop = 0;
  int64_t yBottom = 0;
  int64_t dy = 0;
  int64_t q = 0;  // floor(dx / dy)
  uint64_t r = 0; // dx - q * dy, in 0 .. dy - 1
  int64_t whole = 0;
  uint64_t frac = 0; // numerator over dy of the fractional part
  int32_t dir = 0;   // +1 when the polygon runs downward along it

  void Start(int64_t x1, int64_t y)
  {
    const uint64_t t = uint64_t(y - yTop);
    // t and r are both below dy <= 2^32, so their product fits 64 bits.
    const uint64_t tr = t * r;
    whole = x1 + int64_t(t) * q + int64_t(tr / uint64_t(dy));
    frac = tr % uint64_t(dy);
  }
  [[nodiscard]] int64_t X() const noexcept { return whole + (frac != 0 ? 1 : 0); }
  void Step() noexcept
  {
    whole += q;
    frac += r;
    if (frac >= uint64_t(dy)) {
      frac -= uint64_t(dy);
      ++whole;
    }
  }
};

} // namespace

TRegion TRegion::FromPolygon(std::span<const TPoint> points, int fillMode)
{
  const int32_t count = int32_t(std::min<size_t>(points.size(), size_t(std::numeric_limits<int32_t>::max())));
  return FromPolyPolygon(points, std::span<const int32_t>(&count, 1), fillMode);
}

TRegion TRegion::FromPolyPolygon(std::span<const TPoint> points, std::span<const int32_t> counts, int fillMode)
{
  if (fillMode != ALTERNATE && fillMode != WINDING)
    return {};

  // Edges of every polygon, each closed back to its first point. A polygon
  // that claims more points than given is cut to what is there.
  std::vector<TEdge> edges;
  std::vector<int64_t> startX;
  size_t first = 0;
  for (const int32_t n : counts) {
    if (n <= 0 || first >= points.size())
      continue;
    const size_t m = std::min(size_t(n), points.size() - first);
    if (m >= 2) {
      for (size_t i = 0; i < m; ++i) {
        const TPoint p = points[first + i];
        const TPoint q = points[first + (i + 1) % m];
        if (p.Y == q.Y)
          continue;
        const bool down = p.Y < q.Y;
        const TPoint top = down ? p : q;
        const TPoint bottom = down ? q : p;
        TEdge e;
        e.yTop = top.Y;
        e.yBottom = bottom.Y;
        e.dy = e.yBottom - e.yTop;
        const int64_t dx = int64_t(bottom.X) - top.X;
        e.q = dx >= 0 ? dx / e.dy : -((-dx + e.dy - 1) / e.dy);
        e.r = uint64_t(dx - e.q * e.dy);
        e.dir = down ? 1 : -1;
        edges.push_back(e);
        startX.push_back(top.X);
      }
    }
    first += m;
  }
  if (edges.empty())
    return {};

  std::vector<uint32_t> order(edges.size());
  for (size_t i = 0; i < order.size(); ++i)
    order[i] = uint32_t(i);
  std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) { return edges[a].yTop < edges[b].yTop; });

  int64_t yEnd = 0;
  for (const TEdge& e : edges)
    yEnd = std::max(yEnd, e.yBottom);
  yEnd = std::min(yEnd, kScanLimit);

  // The active edges are kept ordered by their crossing on the current row.
  // From one row to the next the order changes only where edges cross, so an
  // insertion sort over the previous order costs one comparison per edge on
  // most rows. Edges leave only on the rows where one of them ends.
  struct TCrossingEdge {
    int64_t x;
    uint32_t edge;
  };
  // Working lists are reused from call to call: a frame scans several
  // polygons, and growing fresh lists every time costs more than the scan.
  struct TScratch {
    std::vector<TRect> Out;
    std::vector<TCrossingEdge> Active;
    std::vector<int32_t> Spans;
  };
  static TScratchPool<TScratch> pool;
  const auto lease = pool.Acquire();
  TScratch& scratch = *lease;
  std::vector<TRect>& out = scratch.Out;
  std::vector<TCrossingEdge>& active = scratch.Active;
  std::vector<int32_t>& spans = scratch.Spans;
  out.clear();
  active.clear();
  TBandWriter writer(out);
  constexpr int64_t kNever = std::numeric_limits<int64_t>::max();
  int64_t firstEnd = kNever; // the first row where an active edge has ended
  size_t next = 0;
  int64_t y = std::max(edges[order[0]].yTop, -kScanLimit);
  while (y < yEnd) {
    // Edges that begin at or above this row (above only where rows above the
    // scan limit were skipped) join; edges that ended leave.
    while (next < order.size() && edges[order[next]].yTop <= y) {
      TEdge& e = edges[order[next]];
      if (e.yBottom > y) {
        e.Start(startX[order[next]], y);
        active.push_back({0, order[next]});
        firstEnd = std::min(firstEnd, e.yBottom);
      }
      ++next;
    }
    if (firstEnd <= y) {
      std::erase_if(active, [&](const TCrossingEdge& c) { return edges[c.edge].yBottom <= y; });
      firstEnd = kNever;
      for (const TCrossingEdge& c : active)
        firstEnd = std::min(firstEnd, edges[c.edge].yBottom);
    }
    if (active.empty()) {
      if (next >= order.size())
        break;
      y = std::max(y + 1, edges[order[next]].yTop);
      continue;
    }

    for (TCrossingEdge& c : active)
      c.x = edges[c.edge].X();
    for (size_t k = 1; k < active.size(); ++k) {
      const TCrossingEdge c = active[k];
      size_t j = k;
      for (; j > 0 && active[j - 1].x > c.x; --j)
        active[j] = active[j - 1];
      active[j] = c;
    }
    spans.clear();
    int32_t winding = 0;
    bool on = false;
    for (size_t k = 0; k < active.size();) {
      const int64_t x = active[k].x;
      for (; k < active.size() && active[k].x == x; ++k)
        winding += fillMode == ALTERNATE ? 1 : edges[active[k].edge].dir;
      const bool now = fillMode == ALTERNATE ? (winding & 1) != 0 : winding != 0;
      if (now != on) {
        const int32_t cx = Clamp(x);
        if (now || spans.back() != cx)
          spans.push_back(cx);
        else
          spans.pop_back(); // clamped to nothing
        on = now;
      }
    }
    writer.Band(int32_t(y), int32_t(y + 1), spans);

    for (const TCrossingEdge& c : active)
      edges[c.edge].Step();
    ++y;
  }
  TRegion region = FromBandedRects(std::vector<TRect>(out.begin(), out.end()));
  // A huge polygon should not pin its memory for the life of the thread.
  if (out.capacity() > (size_t{1} << 18))
    std::vector<TRect>().swap(out);
  return region;
}

// ----- [5] ellipses ----------------------------------------------------------

// The rectangle loses its right column and bottom row; the corner ellipse is
// limited to what is left. Its outline is traced with the integer ellipse
// algorithm that steps from the middle row outward, adding 8 b^2 and 8 a^2 to
// the error terms; the horizontal inset recorded for each row is then used
// for the row and its mirror image. The rows between the two corner halves
// form one band as wide as the rectangle.
TRegion TRegion::FromRoundRect(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t ellipseWidth,
                               int32_t ellipseHeight)
{
  int64_t l = std::min(left, right);
  int64_t r = std::max(left, right);
  int64_t t = std::min(top, bottom);
  int64_t b = std::max(top, bottom);
  --r;
  --b;
  const int64_t ew = std::min<int64_t>(r - l, std::llabs(int64_t(ellipseWidth)));
  const int64_t eh = std::min<int64_t>(b - t, std::llabs(int64_t(ellipseHeight)));
  // Too small for a corner: the shrunken rectangle, put in order again, so
  // a rectangle of zero width gives the column left of it.
  if (ew < 2 || eh < 2)
    return TRegion(TRect{Clamp(l), Clamp(t), Clamp(r), Clamp(b)}.Normalized());
  if (ew > kMaxEllipse || eh > kMaxEllipse)
    throw std::length_error("Corner ellipse of " + std::to_string(ew) + " x " + std::to_string(eh) +
                            " pixels is too large for a region");

  std::vector<int64_t> inset(size_t(eh), 0);
  const int64_t a = ew - 1;
  const int64_t bb = eh - 1;
  const int64_t asq = 8 * a * a;
  const int64_t bsq = 8 * bb * bb;
  int64_t dx = 4 * bb * bb * (1 - a);
  int64_t dy = 4 * a * a * (1 + (bb % 2));
  int64_t err = dx + dy + a * a * (bb % 2);
  int64_t x = 0;
  int64_t y = eh / 2;
  while (x <= ew / 2) {
    const int64_t e2 = 2 * err;
    if (e2 >= dx) {
      ++x;
      dx += bsq;
      err += dx;
    }
    if (e2 <= dy) {
      ++y;
      dy += asq;
      err += dy;
      if (y >= eh)
        break;
      inset[size_t(y)] = x;
    }
  }
  // Very tall, narrow ellipses run out of columns before they run out of
  // rows; the remaining rows continue the tip at its last width.
  for (int64_t row = std::min(y, eh - 1) + 1; row < eh; ++row)
    inset[size_t(row)] = inset[size_t(row - 1)];

  std::vector<TRect> rows;
  rows.reserve(size_t(eh));
  const int64_t half = eh / 2;
  for (int64_t i = 0; i < half; ++i) {
    const int64_t in = inset[size_t(bb - i)];
    rows.push_back({Clamp(l + in), Clamp(t + i), Clamp(r - in), Clamp(t + i + 1)});
  }
  // The middle row stretches over every row between the corner halves.
  rows.push_back({Clamp(l), Clamp(t + half), Clamp(r), Clamp(b - eh + half + 1)});
  for (int64_t i = half + 1; i < eh; ++i) {
    const int64_t in = inset[size_t(i)];
    rows.push_back({Clamp(l + in), Clamp(b - eh + i), Clamp(r - in), Clamp(b - eh + i + 1)});
  }
  // The rows are already in order and one span each; the writer only merges
  // equal neighbours (and drops rows clamped to nothing).
  std::vector<TRect> out;
  out.reserve(rows.size());
  TBandWriter writer(out);
  std::vector<int32_t> spans(2);
  for (const TRect& row : rows) {
    if (row.IsEmpty())
      continue;
    spans[0] = row.Left;
    spans[1] = row.Right;
    writer.Band(row.Top, row.Bottom, spans);
  }
  return FromBandedRects(std::move(out));
}

TRegion TRegion::FromEllipse(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
  const int64_t w = std::llabs(int64_t(right) - left);
  const int64_t h = std::llabs(int64_t(bottom) - top);
  return FromRoundRect(left, top, right, bottom, int32_t(std::min<int64_t>(w, std::numeric_limits<int32_t>::max())),
                       int32_t(std::min<int64_t>(h, std::numeric_limits<int32_t>::max())));
}

// ----- [6] queries -----------------------------------------------------------

int TRegion::Kind() const noexcept
{
  if (rects_.empty())
    return NULLREGION;
  return rects_.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

bool TRegion::Contains(int32_t x, int32_t y) const noexcept
{
  if (!bounds_.Contains(TPoint{x, y}))
    return false;
  // The band holding y: the last rectangle with Top <= y belongs to it.
  auto it = std::upper_bound(rects_.begin(), rects_.end(), y, [](int32_t v, const TRect& r) { return v < r.Top; });
  if (it == rects_.begin())
    return false;
  --it;
  if (it->Bottom <= y)
    return false;
  const int32_t top = it->Top;
  auto bandBegin = it;
  while (bandBegin != rects_.begin() && (bandBegin - 1)->Top == top)
    --bandBegin;
  auto span = std::upper_bound(bandBegin, it + 1, x, [](int32_t v, const TRect& r) { return v < r.Left; });
  if (span == bandBegin)
    return false;
  --span;
  return x < span->Right;
}

bool TRegion::Intersects(const TRect& rect) const noexcept
{
  if (rect.IsEmpty() || !bounds_.Intersects(rect))
    return false;
  for (const TRect& r : rects_) {
    if (r.Top >= rect.Bottom)
      break;
    if (r.Intersects(rect))
      return true;
  }
  return false;
}

int64_t TRegion::Area() const noexcept
{
  int64_t area = 0;
  for (const TRect& r : rects_)
    area += int64_t(r.Width()) * r.Height();
  return area;
}

void TRegion::Offset(int32_t dx, int32_t dy)
{
  if (rects_.empty() || (dx == 0 && dy == 0))
    return;
  // Saturating at the limit may squeeze bands or spans to nothing, so the
  // region is rebuilt through the writer when anything reached it.
  const int64_t ddx = dx;
  const int64_t ddy = dy;
  const bool saturates = bounds_.Left + ddx < -kLimit || bounds_.Right + ddx > kLimit ||
                         bounds_.Top + ddy < -kLimit || bounds_.Bottom + ddy > kLimit;
  if (!saturates) {
    for (TRect& r : rects_)
      r = r.Translated(dx, dy);
    bounds_ = bounds_.Translated(dx, dy);
    return;
  }
  std::vector<TRect> moved;
  moved.reserve(rects_.size());
  for (const TRect& r : rects_)
    moved.push_back({Clamp(r.Left + ddx), Clamp(r.Top + ddy), Clamp(r.Right + ddx), Clamp(r.Bottom + ddy)});
  *this = FromRects(moved);
}

TRegion TRegion::Offsetted(int32_t dx, int32_t dy) const
{
  TRegion copy = *this;
  copy.Offset(dx, dy);
  return copy;
}

} // namespace gfx
