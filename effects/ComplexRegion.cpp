#include "effects/ComplexRegion.h"

#include "effects/EffectTable.h"
#include "framework/Bitmap.h"
#include "framework/Canvas.h"
#include "gfx/GdiConstants.h"
#include "gfx/PixelRows.h"
#include "gfx/ScratchPool.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace effects {

void TComplexRegion::Clear()
{
  std::vector<gfx::TRect>().swap(rects_);
  capacity_ = 0;
  bounds_ = kEmptyBounds;
}

void TComplexRegion::AddRect(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom)
{
  if (Count() == capacity_) {
    rects_.reserve(size_t(capacity_) + kGrowBy);
    capacity_ += kGrowBy;
  }
  rects_.emplace_back(Left, Top, Right, Bottom);
  if (Left < bounds_.Left)
    bounds_.Left = Left;
  if (Top < bounds_.Top)
    bounds_.Top = Top;
  if (Right > bounds_.Right)
    bounds_.Right = Right;
  if (Bottom > bounds_.Bottom)
    bounds_.Bottom = Bottom;
}

std::optional<gfx::TRegion> TComplexRegion::CreateRegion() const
{
  if (rects_.empty())
    return std::nullopt;
  return gfx::TRegion::FromRects(rects_);
}

gfx::TRegion PolygonRegion(std::span<const int32_t> Coords)
{
  std::vector<gfx::TPoint> points;
  points.reserve(Coords.size() / 2);
  for (size_t i = 0; i + 1 < Coords.size(); i += 2)
    points.emplace_back(Coords[i], Coords[i + 1]);
  return gfx::TRegion::FromPolygon(points, WINDING);
}

namespace {

// Nearest integer with halves to even, in the precision the angles are kept.
int32_t RoundCoord(long double value)
{
  return int32_t(std::llrint(value));
}

} // namespace

std::vector<gfx::TPoint> SectorPoints(int32_t CX, int32_t CY, int32_t R, long double StartAngle,
                                      long double EndAngle, int32_t Count)
{
  std::vector<gfx::TPoint> points;
  if (Count < 0)
    return points;
  points.reserve(size_t(Count) + 1);
  points.emplace_back(CX, CY);
  // The angle advances by repeated addition, as the shapes were always made;
  // computing start + k * step instead can move a vertex by a pixel.
  const long double step = (EndAngle - StartAngle) / Count;
  long double angle = StartAngle;
  for (int32_t k = 1; k <= Count; ++k) {
    points.emplace_back(CX + RoundCoord(R * std::cos(angle)), CY + RoundCoord(R * std::sin(angle)));
    angle += step;
  }
  return points;
}

gfx::TRegion SectorRegion(int32_t CX, int32_t CY, int32_t R, long double StartAngle, long double EndAngle,
                          int32_t Count)
{
  return gfx::TRegion::FromPolygon(SectorPoints(CX, CY, R, StartAngle, EndAngle, Count), WINDING);
}

void RotatePoints(std::span<gfx::TPoint> Points, int32_t OrgX, int32_t OrgY, long double Angle)
{
  const long double c = std::cos(Angle);
  const long double s = std::sin(Angle);
  for (gfx::TPoint& p : Points) {
    const long double dx = p.X - OrgX;
    const long double dy = p.Y - OrgY;
    p = {OrgX + RoundCoord(dx * c - dy * s), OrgY + RoundCoord(dx * s + dy * c)};
  }
}

void RevealRegion(framework::TBitmap& Screen, framework::TBitmap& Picture, int32_t W, int32_t H,
                  const gfx::TRegion& Region)
{
  gfx::TDCHandle dc = Screen.Canvas().Handle();
  TClipReset reset(dc);
  gfx::SelectClipRgn(dc, &Region);
  gfx::BitBlt(dc, 0, 0, W, H, Picture.Canvas().Handle(), 0, 0, SRCCOPY);
}

void RevealRegion(framework::TBitmap& Screen, framework::TBitmap& Picture, int32_t W, int32_t H,
                  const std::optional<gfx::TRegion>& Region)
{
  if (Region)
    RevealRegion(Screen, Picture, W, H, *Region);
}

namespace {

// Spans shorter than this on average make a band cheaper to draw through a
// mask than span by span.
constexpr int32_t kShortSpan = 48;

bool ShortSpans(const gfx::TRect* first, const gfx::TRect* last, int32_t W)
{
  int64_t count = 0;
  for (const gfx::TRect* r = first; r != last; ++r)
    count += r->Right > 0 && r->Left < W;
  return count * kShortSpan > W;
}

// The mask of the band being drawn: reused so that no frame allocates once
// the widest frame has been drawn.
gfx::TScratchPool<std::vector<gfx::TPixel>>& RowMasks()
{
  static gfx::TScratchPool<std::vector<gfx::TPixel>> pool;
  return pool;
}

} // namespace

void ComposeThroughRegion(framework::TBitmap& Screen, framework::TBitmap& OldImage, framework::TBitmap& Picture,
                          int32_t W, int32_t H, const std::optional<gfx::TRegion>& Region)
{
  if (!CoversFrame(Screen, OldImage, Picture, W, H)) {
    CopyOldImage(Screen, OldImage, W, H);
    RevealRegion(Screen, Picture, W, H, Region);
    return;
  }
  gfx::TPixmap& out = Screen.Pixmap();
  const gfx::TPixmap& in = Picture.Pixmap();
  const gfx::TPixmap& under = OldImage.Pixmap();
  const std::span<const gfx::TRect> rects = Region ? Region->Rects() : std::span<const gfx::TRect>();
  // Rows are walked bottom-up, in memory order, and with them the bands of
  // the region from the last: [first, last) is the band at or above row y.
  const gfx::TRect* const begin = rects.data();
  const gfx::TRect* first = begin + rects.size();
  const gfx::TRect* last = first;
  bool masked = false;
  const auto lease = RowMasks().Acquire();
  std::vector<gfx::TPixel>& mask = *lease;
  if (mask.size() < size_t(W))
    mask.resize(size_t(W));
  for (int32_t y = H - 1; y >= 0; --y) {
    for (;;) {
      if (first == last && last != begin) {
        first = last - 1;
        while (first != begin && (first - 1)->Top == first->Top)
          --first;
        masked = ShortSpans(first, last, W);
        if (masked)
          gfx::SpanMask(mask.data(), first, size_t(last - first), 0, W);
      }
      if (first == last || first->Top <= y)
        break;
      last = first;
    }
    gfx::TPixel* row = out.ScanLine(y);
    if (first == last || first->Bottom <= y)
      std::memcpy(row, under.ScanLine(y), size_t(W) * sizeof(gfx::TPixel));
    else if (masked)
      gfx::SelectRow(row, in.ScanLine(y), under.ScanLine(y), mask.data(), size_t(W));
    else
      gfx::MergeSpans(row, in.ScanLine(y), under.ScanLine(y), first, size_t(last - first), 0, W);
  }
}

} // namespace effects
