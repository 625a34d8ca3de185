#include "gfx/DrawContext.h"

#include "gfx/PixelRows.h"
#include "gfx/StretchMap.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <string>

// Sections:
//   [1] clipping and state
//   [2] block transfers (BitBlt, MaskBlt, transparent blit)
//   [3] stretching
//   [4] fills and figures
//   [5] platform-style free functions

namespace gfx {

namespace {

// Device rectangles are computed in 64 bits and cut to the bitmap before
// anything is stored in 32 bits, so coordinates near the 32-bit limits
// cannot overflow.
struct TWideRect {
  int64_t Left, Top, Right, Bottom;
};

TRect CutTo(const TWideRect& r, const TRect& bounds) noexcept
{
  const TRect c{int32_t(std::clamp<int64_t>(r.Left, bounds.Left, bounds.Right)),
                int32_t(std::clamp<int64_t>(r.Top, bounds.Top, bounds.Bottom)),
                int32_t(std::clamp<int64_t>(r.Right, bounds.Left, bounds.Right)),
                int32_t(std::clamp<int64_t>(r.Bottom, bounds.Top, bounds.Bottom))};
  return c.IsEmpty() ? TRect{} : c;
}

// A device rectangle as the platform's clip calls take it: corners in any
// order, clamped to the region coordinate limit.
TRect ClampRect(int64_t left, int64_t top, int64_t right, int64_t bottom) noexcept
{
  constexpr int64_t lim = TRegion::kCoordLimit;
  return TRect{int32_t(std::clamp(left, -lim, lim)), int32_t(std::clamp(top, -lim, lim)),
               int32_t(std::clamp(right, -lim, lim)), int32_t(std::clamp(bottom, -lim, lim))}
    .Normalized();
}

enum class TRop { Copy, Paint, And, Invert, NotCopy, DstInvert, Black, White };


TRop DecodeRop(uint32_t rop)
{
  switch (rop) {
  case SRCCOPY:
    return TRop::Copy;
  case SRCPAINT:
    return TRop::Paint;
  case SRCAND:
    return TRop::And;
  case SRCINVERT:
    return TRop::Invert;
  case NOTSRCCOPY:
    return TRop::NotCopy;
  case DSTINVERT:
    return TRop::DstInvert;
  case BLACKNESS:
    return TRop::Black;
  case WHITENESS:
    return TRop::White;
  default:
    throw std::invalid_argument("Unsupported raster operation " + std::to_string(rop));
  }
}

bool NeedsSource(TRop rop) noexcept
{
  return rop != TRop::DstInvert && rop != TRop::Black && rop != TRop::White;
}

// One row of a raster operation; src may alias dst only for Copy (memmove).
void RopRow(TRop rop, TPixel* dst, const TPixel* src, size_t n) noexcept
{
  switch (rop) {
  case TRop::Copy:
    if (src) // the source-less operations never copy; this keeps that visible
      std::memmove(dst, src, n * sizeof(TPixel));
    break;
  case TRop::Paint:
    for (size_t i = 0; i < n; ++i)
      dst[i] |= src[i];
    break;
  case TRop::And:
    for (size_t i = 0; i < n; ++i)
      dst[i] &= src[i];
    break;
  case TRop::Invert:
    for (size_t i = 0; i < n; ++i)
      dst[i] ^= src[i];
    break;
  case TRop::NotCopy:
    for (size_t i = 0; i < n; ++i)
      dst[i] = ~src[i] & 0x00FFFFFFu;
    break;
  case TRop::DstInvert:
    for (size_t i = 0; i < n; ++i)
      dst[i] = ~dst[i] & 0x00FFFFFFu;
    break;
  case TRop::Black:
    std::fill_n(dst, n, TPixel{0});
    break;
  case TRop::White:
    std::fill_n(dst, n, TPixel{0x00FFFFFF});
    break;
  }
}

} // namespace

// ----- [1] clipping and state -------------------------------------------------

TRect TDrawContext::DeviceBounds() const noexcept
{
  return target_ ? target_->Bounds() : TRect{};
}

template <typename F> void TDrawContext::ForEachVisible(const TRect& deviceRect, F&& f) const
{
  const TRect r = deviceRect.Intersected(DeviceBounds());
  if (r.IsEmpty())
    return;
  if (!clip_) {
    f(r);
    return;
  }
  for (const TRect& c : clip_->Rects()) {
    if (c.Top >= r.Bottom)
      break;
    if (c.Bottom <= r.Top || c.Right <= r.Left || c.Left >= r.Right)
      continue;
    f(c.Intersected(r));
  }
}

template <typename F> void TDrawContext::ForEachRow(const TRect& deviceRect, F&& f, bool topDown) const
{
  const bool bottomUp = !topDown;
  const TRect r = deviceRect.Intersected(DeviceBounds());
  if (r.IsEmpty())
    return;
  if (!clip_) {
    if (bottomUp) {
      for (int32_t row = r.Bottom - 1; row >= r.Top; --row)
        f(row, &r, size_t(1), r.Left, r.Right);
    } else {
      for (int32_t row = r.Top; row < r.Bottom; ++row)
        f(row, &r, size_t(1), r.Left, r.Right);
    }
    return;
  }
  const auto rects = clip_->Rects();
  const TRect* begin = rects.data();
  const TRect* end = begin + rects.size();
  // One band [bandBegin, bandEnd): its spans that reach into r, row by row.
  const auto band = [&](const TRect* bandBegin, const TRect* bandEnd) {
    const TRect* first = bandBegin;
    while (first != bandEnd && first->Right <= r.Left)
      ++first;
    const TRect* last = first;
    while (last != bandEnd && last->Left < r.Right)
      ++last;
    if (first == last)
      return;
    const int32_t top = std::max(bandBegin->Top, r.Top);
    const int32_t bottom = std::min(bandBegin->Bottom, r.Bottom);
    if (bottomUp) {
      for (int32_t row = bottom - 1; row >= top; --row)
        f(row, first, size_t(last - first), r.Left, r.Right);
    } else {
      for (int32_t row = top; row < bottom; ++row)
        f(row, first, size_t(last - first), r.Left, r.Right);
    }
  };
  if (bottomUp) {
    const TRect* p = std::partition_point(begin, end, [&](const TRect& c) { return c.Top < r.Bottom; });
    while (p != begin && p[-1].Bottom > r.Top) {
      const TRect* bandBegin = p - 1;
      while (bandBegin != begin && bandBegin[-1].Top == p[-1].Top)
        --bandBegin;
      band(bandBegin, p);
      p = bandBegin;
    }
    return;
  }
  const TRect* p = std::partition_point(begin, end, [&](const TRect& c) { return c.Bottom <= r.Top; });
  while (p != end && p->Top < r.Bottom) {
    const TRect* bandEnd = p;
    while (bandEnd != end && bandEnd->Top == p->Top)
      ++bandEnd;
    band(p, bandEnd);
    p = bandEnd;
  }
}

int TDrawContext::SelectClipRgn(const TRegion* region)
{
  if (!region) {
    clip_.reset();
    return SIMPLEREGION;
  }
  clip_ = *region;
  return clip_->Kind();
}

int TDrawContext::ExcludeClipRect(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
  // The platform orders the corners after mapping them to the device.
  const TRect r = ClampRect(int64_t(left) + origin_.X, int64_t(top) + origin_.Y, int64_t(right) + origin_.X,
                            int64_t(bottom) + origin_.Y);
  // Without a clip region the whole bitmap is the starting point.
  const TRegion base = clip_ ? *clip_ : TRegion(DeviceBounds());
  clip_ = TRegion::Combine(base, TRegion(r), RGN_DIFF);
  return clip_->Kind();
}

int TDrawContext::IntersectClipRect(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
  const TRect r = ClampRect(int64_t(left) + origin_.X, int64_t(top) + origin_.Y, int64_t(right) + origin_.X,
                            int64_t(bottom) + origin_.Y);
  if (clip_)
    clip_ = clip_->Intersected(r);
  else
    clip_ = TRegion(r);
  return clip_->Kind();
}

int TDrawContext::OffsetClipRgn(int32_t dx, int32_t dy)
{
  if (!clip_)
    return SIMPLEREGION;
  clip_->Offset(dx, dy);
  return clip_->Kind();
}

// The clip box is the bounding box of the clip region cut to the bitmap,
// which is what the platform answers; it can be larger than the bounds of
// the region's visible part.
int TDrawContext::GetClipBox(TRect& box) const
{
  const TRect device = DeviceBounds();
  TRect b = device;
  int kind = SIMPLEREGION;
  if (clip_) {
    b = clip_->Bounds().Intersected(device);
    kind = clip_->Kind();
  }
  if (b.IsEmpty()) {
    box = {};
    return NULLREGION;
  }
  box = b.Translated(-origin_.X, -origin_.Y);
  return kind;
}

TRect TDrawContext::ClipBox() const
{
  TRect box;
  GetClipBox(box);
  return box;
}

// With a clip region the platform tests the rectangle against the region
// alone, not cut to the bitmap; without one, against the bitmap.
bool TDrawContext::RectVisible(const TRect& rect) const
{
  // The platform orders the corners of the rectangle it is asked about.
  const TRect n = rect.Normalized();
  const TRect device = ClampRect(int64_t(n.Left) + origin_.X, int64_t(n.Top) + origin_.Y,
                                 int64_t(n.Right) + origin_.X, int64_t(n.Bottom) + origin_.Y);
  if (clip_)
    return clip_->Intersects(device);
  return device.Intersects(DeviceBounds());
}

bool TDrawContext::PtVisible(int32_t x, int32_t y) const
{
  const int64_t dx = int64_t(x) + origin_.X;
  const int64_t dy = int64_t(y) + origin_.Y;
  const TRect device = DeviceBounds();
  if (dx < device.Left || dx >= device.Right || dy < device.Top || dy >= device.Bottom)
    return false;
  return !clip_ || clip_->Contains(int32_t(dx), int32_t(dy));
}

TPoint TDrawContext::SetViewportOrg(int32_t x, int32_t y) noexcept
{
  const TPoint previous = origin_;
  origin_ = {x, y};
  return previous;
}

TPoint TDrawContext::OffsetViewportOrg(int32_t dx, int32_t dy) noexcept
{
  const TPoint previous = origin_;
  constexpr int64_t lim = std::numeric_limits<int32_t>::max();
  origin_ = {int32_t(std::clamp<int64_t>(int64_t(origin_.X) + dx, -lim, lim)),
             int32_t(std::clamp<int64_t>(int64_t(origin_.Y) + dy, -lim, lim))};
  return previous;
}

int TDrawContext::SetStretchBltMode(int mode) noexcept
{
  if (mode < BLACKONWHITE || mode > HALFTONE)
    return 0;
  const int previous = stretchMode_;
  stretchMode_ = mode;
  return previous;
}

TColor TDrawContext::SetTextColor(TColor color) noexcept
{
  const TColor previous = textColor_;
  textColor_ = color;
  return previous;
}

TColor TDrawContext::SetBkColor(TColor color) noexcept
{
  const TColor previous = bkColor_;
  bkColor_ = color;
  return previous;
}

int TDrawContext::SaveDC()
{
  saved_.push_back({clip_, origin_, stretchMode_, pen_, brush_, textColor_, bkColor_});
  return int(saved_.size());
}

bool TDrawContext::RestoreDC(int level)
{
  const int depth = int(saved_.size());
  const int target = level < 0 ? depth + level + 1 : level;
  if (level == 0 || target < 1 || target > depth)
    return false;
  TState& s = saved_[size_t(target - 1)];
  clip_ = std::move(s.Clip);
  origin_ = s.Origin;
  stretchMode_ = s.StretchMode;
  pen_ = s.Pen;
  brush_ = s.Brush;
  textColor_ = s.TextColor;
  bkColor_ = s.BkColor;
  saved_.resize(size_t(target - 1));
  return true;
}

// ----- [2] block transfers -----------------------------------------------------

bool TDrawContext::BitBlt(int32_t x, int32_t y, int32_t width, int32_t height, const TDrawContext* source,
                          int32_t sx, int32_t sy, uint32_t rop)
{
  const TRop op = DecodeRop(rop);
  if (!target_)
    return false;
  const bool withSource = NeedsSource(op);
  if (withSource && (!source || !source->target_))
    return false;
  if (width <= 0 || height <= 0)
    return true;

  TWideRect dst{int64_t(x) + origin_.X, int64_t(y) + origin_.Y, 0, 0};
  dst.Right = dst.Left + width;
  dst.Bottom = dst.Top + height;
  int64_t shiftX = 0; // source device x minus destination device x
  int64_t shiftY = 0;
  if (withSource) {
    shiftX = int64_t(sx) + source->origin_.X - dst.Left;
    shiftY = int64_t(sy) + source->origin_.Y - dst.Top;
    // Destination pixels whose source lies outside the source bitmap are
    // left alone.
    const TRect sb = source->target_->Bounds();
    dst.Left = std::max(dst.Left, sb.Left - shiftX);
    dst.Top = std::max(dst.Top, sb.Top - shiftY);
    dst.Right = std::min(dst.Right, sb.Right - shiftX);
    dst.Bottom = std::min(dst.Bottom, sb.Bottom - shiftY);
  }
  const TRect area = CutTo(dst, DeviceBounds());
  if (area.IsEmpty())
    return true;

  TPixmap& d = *target_;
  if (!withSource) {
    ForEachVisible(area, [&](const TRect& r) {
      for (int32_t row = r.Top; row < r.Bottom; ++row)
        RopRow(op, d.ScanLine(row) + r.Left, nullptr, size_t(r.Width()));
    });
    return true;
  }

  const TPixmap& s = *source->target_;
  const bool sameBitmap = s.Bits() == d.Bits();
  const int32_t offX = int32_t(shiftX);
  const int32_t offY = int32_t(shiftY);
  // Source and destination of a self-copy overlap only when the rectangle
  // read meets the rectangle written; otherwise it is an ordinary copy.
  if (sameBitmap && (offX != 0 || offY != 0) && area.Translated(offX, offY).Intersects(area)) {
    // Overlap: read the whole source first. One clip rectangle can be
    // handled by walking the rows away from the overlap; with several, a
    // rectangle drawn earlier may be the source of a later one, so the
    // source block is copied aside.
    const bool single = !clip_ || clip_->RectCount() <= 1;
    if (single && op == TRop::Copy) {
      ForEachVisible(area, [&](const TRect& r) {
        const size_t n = size_t(r.Width());
        if (offY > 0) {
          for (int32_t row = r.Top; row < r.Bottom; ++row)
            std::memmove(d.ScanLine(row) + r.Left, s.ScanLine(row + offY) + r.Left + offX, n * sizeof(TPixel));
        } else {
          for (int32_t row = r.Bottom - 1; row >= r.Top; --row)
            std::memmove(d.ScanLine(row) + r.Left, s.ScanLine(row + offY) + r.Left + offX, n * sizeof(TPixel));
        }
      });
      return true;
    }
    const size_t w = size_t(area.Width());
    scratch_.resize(w * size_t(area.Height()));
    for (int32_t row = area.Top; row < area.Bottom; ++row)
      std::memcpy(scratch_.data() + size_t(row - area.Top) * w, s.ScanLine(row + offY) + area.Left + offX,
                  w * sizeof(TPixel));
    ForEachVisible(area, [&](const TRect& r) {
      for (int32_t row = r.Top; row < r.Bottom; ++row)
        RopRow(op, d.ScanLine(row) + r.Left, scratch_.data() + size_t(row - area.Top) * w + (r.Left - area.Left),
               size_t(r.Width()));
    });
    return true;
  }

  ForEachRow(area, [&](int32_t row, const TRect* spans, size_t count, int32_t left, int32_t right) {
    TPixel* out = d.ScanLine(row);
    const TPixel* in = s.ScanLine(row + offY) + offX;
    if (op == TRop::Copy) {
      CopySpans(out, in, spans, count, left, right);
      return;
    }
    for (size_t k = 0; k < count; ++k) {
      const int32_t l = std::max(spans[k].Left, left);
      RopRow(op, out + l, in + l, size_t(std::min(spans[k].Right, right) - l));
    }
  });
  return true;
}

bool TDrawContext::MaskBltKeep(int32_t x, int32_t y, int32_t width, int32_t height, const TDrawContext& source,
                               int32_t sx, int32_t sy, const TPixmap& mask)
{
  if (!target_ || !source.target_ || width <= 0 || height <= 0)
    return target_ != nullptr && source.target_ != nullptr;
  TWideRect dst{int64_t(x) + origin_.X, int64_t(y) + origin_.Y, 0, 0};
  dst.Right = dst.Left + width;
  dst.Bottom = dst.Top + height;
  const int64_t shiftX = int64_t(sx) + source.origin_.X - dst.Left;
  const int64_t shiftY = int64_t(sy) + source.origin_.Y - dst.Top;
  // Both the source and the mask must hold the pixel.
  const TRect sb = source.target_->Bounds().Intersected(mask.Bounds());
  dst.Left = std::max(dst.Left, sb.Left - shiftX);
  dst.Top = std::max(dst.Top, sb.Top - shiftY);
  dst.Right = std::min(dst.Right, sb.Right - shiftX);
  dst.Bottom = std::min(dst.Bottom, sb.Bottom - shiftY);
  const TRect area = CutTo(dst, DeviceBounds());
  if (area.IsEmpty())
    return true;
  const int32_t offX = int32_t(shiftX);
  const int32_t offY = int32_t(shiftY);
  TPixmap& d = *target_;
  const TPixmap& s = *source.target_;
  ForEachVisible(area, [&](const TRect& r) {
    for (int32_t row = r.Top; row < r.Bottom; ++row) {
      TPixel* out = d.ScanLine(row);
      const TPixel* in = s.ScanLine(row + offY);
      const TPixel* m = mask.ScanLine(row + offY);
      for (int32_t col = r.Left; col < r.Right; ++col)
        if ((m[col + offX] & 0x00FFFFFFu) == 0)
          out[col] = in[col + offX];
    }
  });
  return true;
}

bool TDrawContext::TransparentBlt(int32_t x, int32_t y, int32_t width, int32_t height, const TDrawContext& source,
                                  int32_t sx, int32_t sy, TColor key)
{
  if (!target_ || !source.target_)
    return false;
  if (width <= 0 || height <= 0)
    return true;
  TWideRect dst{int64_t(x) + origin_.X, int64_t(y) + origin_.Y, 0, 0};
  dst.Right = dst.Left + width;
  dst.Bottom = dst.Top + height;
  const int64_t shiftX = int64_t(sx) + source.origin_.X - dst.Left;
  const int64_t shiftY = int64_t(sy) + source.origin_.Y - dst.Top;
  const TRect sb = source.target_->Bounds();
  dst.Left = std::max(dst.Left, sb.Left - shiftX);
  dst.Top = std::max(dst.Top, sb.Top - shiftY);
  dst.Right = std::min(dst.Right, sb.Right - shiftX);
  dst.Bottom = std::min(dst.Bottom, sb.Bottom - shiftY);
  const TRect area = CutTo(dst, DeviceBounds());
  if (area.IsEmpty())
    return true;
  const TPixel keyPixel = ColorToPixel(ColorToRGB(key));
  const int32_t offX = int32_t(shiftX);
  const int32_t offY = int32_t(shiftY);
  TPixmap& d = *target_;
  const TPixmap& s = *source.target_;
  // A self-transfer reads from a copy, as every other transfer does.
  const bool sameBitmap = s.Bits() == d.Bits();
  const size_t w = size_t(area.Width());
  if (sameBitmap) {
    scratch_.resize(w * size_t(area.Height()));
    for (int32_t row = area.Top; row < area.Bottom; ++row)
      std::memcpy(scratch_.data() + size_t(row - area.Top) * w, s.ScanLine(row + offY) + area.Left + offX,
                  w * sizeof(TPixel));
  }
  ForEachVisible(area, [&](const TRect& r) {
    for (int32_t row = r.Top; row < r.Bottom; ++row) {
      TPixel* out = d.ScanLine(row);
      const TPixel* in = sameBitmap ? scratch_.data() + size_t(row - area.Top) * w - area.Left
                                    : s.ScanLine(row + offY) + offX;
      for (int32_t col = r.Left; col < r.Right; ++col)
        if ((in[col] & 0x00FFFFFFu) != keyPixel)
          out[col] = in[col];
    }
  });
  return true;
}

// ----- [3] stretching -----------------------------------------------------------
//
// The plan (StretchPlan.h) works out once per call which source pixel feeds
// every destination pixel and how the rows are made; the context clips, and
// hands the plan the rows of the pixels that have a source, band by band of
// the clip region.

bool TDrawContext::StretchBlt(int32_t x, int32_t y, int32_t width, int32_t height, const TDrawContext* source,
                              int32_t sx, int32_t sy, int32_t swidth, int32_t sheight, uint32_t rop)
{
  const TRop op = DecodeRop(rop);
  if (!target_)
    return false;
  if (!NeedsSource(op)) {
    const TRect n = TRect{x, y, int32_t(std::clamp<int64_t>(int64_t(x) + width, INT32_MIN, INT32_MAX)),
                          int32_t(std::clamp<int64_t>(int64_t(y) + height, INT32_MIN, INT32_MAX))}
                      .Normalized();
    return BitBlt(n.Left, n.Top, n.Width(), n.Height(), nullptr, 0, 0, rop);
  }
  if (!source || !source->target_)
    return false;
  if (width == 0 || height == 0 || swidth == 0 || sheight == 0)
    return true;
  if (width == swidth && height == sheight && width > 0 && height > 0)
    return BitBlt(x, y, width, height, source, sx, sy, rop);

  const TStretchAxis mx =
    MakeStretchAxis(int64_t(x) + origin_.X, width, int64_t(sx) + source->origin_.X, swidth, false);
  const TStretchAxis my =
    MakeStretchAxis(int64_t(y) + origin_.Y, height, int64_t(sy) + source->origin_.Y, sheight, true);
  const TRect area = CutTo({mx.DstStart, my.DstStart, mx.DstStart + mx.DstSize, my.DstStart + my.DstSize},
                           DeviceBounds());
  if (area.IsEmpty() || !stretchPlan_.Prepare(*target_, *source->target_, area, mx, my))
    return true;
  if (op != TRop::Copy || !stretchPlan_.Dense()) {
    StretchChecked(area, *source->target_, rop);
    return true;
  }
  ForEachRow(
    stretchPlan_.Drawn(),
    [&](int32_t row, const TRect* spans, size_t count, int32_t left, int32_t right) {
      stretchPlan_.DrawRow(row, spans, count, left, right);
    },
    stretchPlan_.TopDown());
  stretchPlan_.Finish();
  return true;
}

// Raster operations other than a copy, and tables with holes: every pixel
// is looked up in the plan and tested on its own, reading a copy of the
// rectangle read when source and destination are one bitmap.
void TDrawContext::StretchChecked(const TRect& area, const TPixmap& s, uint32_t rop)
{
  const TRop op = DecodeRop(rop);
  TPixmap& d = *target_;
  const TRect read = stretchPlan_.Read();
  const size_t readWidth = size_t(read.Width());
  const bool sameBitmap = s.Bits() == d.Bits();
  if (sameBitmap) {
    scratch_.resize(readWidth * size_t(read.Height()));
    for (int32_t row = read.Top; row < read.Bottom; ++row)
      std::memcpy(scratch_.data() + size_t(row - read.Top) * readWidth, s.ScanLine(row) + read.Left,
                  readWidth * sizeof(TPixel));
  }
  ForEachVisible(area, [&](const TRect& r) {
    for (int32_t row = r.Top; row < r.Bottom; ++row) {
      const int32_t sr = stretchPlan_.SourceRow(row);
      if (sr < 0)
        continue;
      const TPixel* in = sameBitmap ? scratch_.data() + size_t(sr - read.Top) * readWidth : s.ScanLine(sr) + read.Left;
      TPixel* out = d.ScanLine(row);
      for (int32_t col = r.Left; col < r.Right; ++col) {
        const int32_t sc = stretchPlan_.SourceColumn(col);
        if (sc < 0)
          continue;
        TPixel v = in[sc - read.Left];
        RopRow(op, out + col, &v, 1);
      }
    }
  });
}

// ----- [4] fills and figures ------------------------------------------------------

void TDrawContext::FillRect(const TRect& rect, TPixel color)
{
  if (!target_ || rect.IsEmpty())
    return;
  const TRect area = CutTo({int64_t(rect.Left) + origin_.X, int64_t(rect.Top) + origin_.Y,
                            int64_t(rect.Right) + origin_.X, int64_t(rect.Bottom) + origin_.Y},
                           DeviceBounds());
  if (area.IsEmpty())
    return;
  ForEachRow(area, [&](int32_t row, const TRect* spans, size_t count, int32_t left, int32_t right) {
    TPixel* out = target_->ScanLine(row);
    for (size_t k = 0; k < count; ++k) {
      const int32_t l = std::max(spans[k].Left, left);
      std::fill(out + l, out + std::min(spans[k].Right, right), color);
    }
  });
}

void TDrawContext::FrameRect(const TRect& rect, TPixel color)
{
  if (rect.IsEmpty())
    return;
  FillRect({rect.Left, rect.Top, rect.Right, rect.Top + 1}, color);
  FillRect({rect.Left, rect.Bottom - 1, rect.Right, rect.Bottom}, color);
  FillRect({rect.Left, rect.Top + 1, rect.Left + 1, rect.Bottom - 1}, color);
  FillRect({rect.Right - 1, rect.Top + 1, rect.Right, rect.Bottom - 1}, color);
}

void TDrawContext::InvertRect(const TRect& rect)
{
  if (!target_ || rect.IsEmpty())
    return;
  const TRect area = CutTo({int64_t(rect.Left) + origin_.X, int64_t(rect.Top) + origin_.Y,
                            int64_t(rect.Right) + origin_.X, int64_t(rect.Bottom) + origin_.Y},
                           DeviceBounds());
  ForEachVisible(area, [&](const TRect& r) {
    for (int32_t row = r.Top; row < r.Bottom; ++row)
      RopRow(TRop::DstInvert, target_->ScanLine(row) + r.Left, nullptr, size_t(r.Width()));
  });
}

void TDrawContext::FillRgn(const TRegion& region, TPixel color)
{
  if (!target_ || region.IsEmpty())
    return;
  const TRegion device = region.Offsetted(origin_.X, origin_.Y);
  for (const TRect& piece : device.Rects()) {
    ForEachVisible(piece, [&](const TRect& r) {
      for (int32_t row = r.Top; row < r.Bottom; ++row)
        std::fill_n(target_->ScanLine(row) + r.Left, size_t(r.Width()), color);
    });
  }
}

void TDrawContext::Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
  const TRect r = TRect{left, top, right, bottom}.Normalized();
  if (pen_.Style == gpsNull) {
    // No outline: the interior covers one pixel less on the right and bottom.
    if (!brush_.Null)
      FillRect({r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1}, brush_.Color);
    return;
  }
  const int32_t w = std::max<int32_t>(1, pen_.Width);
  TRect outer = r;
  if (pen_.Style == gpsSolid && w > 1) {
    // A wide ordinary pen is centred on the outline.
    const int32_t before = w / 2;
    const int32_t after = (w - 1) / 2;
    outer = {r.Left - before, r.Top - before, r.Right + after, r.Bottom + after};
  }
  const TRect inner{outer.Left + w, outer.Top + w, outer.Right - w, outer.Bottom - w};
  if (!brush_.Null && !inner.IsEmpty())
    FillRect(inner, brush_.Color);
  if (inner.IsEmpty()) {
    FillRect(outer, pen_.Color);
    return;
  }
  FillRect({outer.Left, outer.Top, outer.Right, inner.Top}, pen_.Color);
  FillRect({outer.Left, inner.Bottom, outer.Right, outer.Bottom}, pen_.Color);
  FillRect({outer.Left, inner.Top, inner.Left, inner.Bottom}, pen_.Color);
  FillRect({inner.Right, inner.Top, outer.Right, inner.Bottom}, pen_.Color);
}

void TDrawContext::RoundRect(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t ellipseWidth,
                             int32_t ellipseHeight)
{
  const TRect r = TRect{left, top, right, bottom}.Normalized();
  // The figure includes its right column and bottom row, one more than the
  // region of the same rectangle.
  const TRegion shape = TRegion::FromRoundRect(r.Left, r.Top, r.Right + 1, r.Bottom + 1, ellipseWidth, ellipseHeight);
  if (pen_.Style == gpsNull) {
    if (!brush_.Null)
      FillRgn(TRegion::FromRoundRect(r.Left, r.Top, r.Right, r.Bottom, ellipseWidth, ellipseHeight), brush_.Color);
    return;
  }
  const int32_t w = std::max<int32_t>(1, pen_.Width);
  const TRegion inner = TRegion::FromRoundRect(r.Left + w, r.Top + w, r.Right + 1 - w, r.Bottom + 1 - w,
                                               std::max(0, ellipseWidth - 2 * w), std::max(0, ellipseHeight - 2 * w));
  if (!brush_.Null)
    FillRgn(inner, brush_.Color);
  FillRgn(TRegion::Combine(shape, inner, RGN_DIFF), pen_.Color);
}

void TDrawContext::Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
  const TRect r = TRect{left, top, right, bottom}.Normalized();
  RoundRect(r.Left, r.Top, r.Right, r.Bottom, r.Width(), r.Height());
}

void TDrawContext::Polygon(std::span<const TPoint> points, int fillMode)
{
  if (points.size() < 2)
    return;
  if (!brush_.Null)
    FillRgn(TRegion::FromPolygon(points, fillMode), brush_.Color);
  if (pen_.Style == gpsNull)
    return;
  for (size_t i = 0; i < points.size(); ++i)
    Line(points[i], points[(i + 1) % points.size()], pen_.Color);
}

void TDrawContext::Line(TPoint a, TPoint b, TPixel color)
{
  if (!target_)
    return;
  // One pixel per step along the longer axis, the other axis rounded; b
  // itself is left out. Only the steps that can land on the bitmap are
  // walked, so a line between far-away points costs what its visible part
  // costs.
  const int64_t x0 = int64_t(a.X) + origin_.X, y0 = int64_t(a.Y) + origin_.Y;
  const int64_t dx = int64_t(b.X) - a.X, dy = int64_t(b.Y) - a.Y;
  const int64_t steps = std::max(std::llabs(dx), std::llabs(dy));
  if (steps == 0)
    return;
  const TRect device = DeviceBounds();
  long double first = 0, last = static_cast<long double>(steps);
  const auto limit = [&](int64_t start, int64_t delta, int64_t lo, int64_t hi) {
    // Steps k with lo - 1 <= start + k * delta / steps <= hi.
    if (delta == 0) {
      if (start < lo - 1 || start > hi)
        last = -1;
      return;
    }
    long double k1 = static_cast<long double>(lo - 1 - start) * steps / delta;
    long double k2 = static_cast<long double>(hi - start) * steps / delta;
    if (k1 > k2)
      std::swap(k1, k2);
    first = std::max(first, k1);
    last = std::min(last, k2);
  };
  limit(x0, dx, device.Left, device.Right);
  limit(y0, dy, device.Top, device.Bottom);
  if (last < first)
    return;
  const int64_t kFirst = std::max<int64_t>(0, int64_t(first) - 1);
  const int64_t kLast = std::min<int64_t>(steps, int64_t(last) + 2);
  for (int64_t k = kFirst; k < kLast; ++k) {
    const int64_t px = x0 + int64_t(std::llround(static_cast<long double>(k) * dx / steps));
    const int64_t py = y0 + int64_t(std::llround(static_cast<long double>(k) * dy / steps));
    if (px >= device.Left && px < device.Right && py >= device.Top && py < device.Bottom &&
        (!clip_ || clip_->Contains(int32_t(px), int32_t(py))))
      target_->At(int32_t(px), int32_t(py)) = color;
  }
}

void TDrawContext::SetPixel(int32_t x, int32_t y, TPixel color)
{
  if (PtVisible(x, y))
    target_->At(x + origin_.X, y + origin_.Y) = color;
}

std::optional<TPixel> TDrawContext::GetPixel(int32_t x, int32_t y) const
{
  const int64_t dx = int64_t(x) + origin_.X;
  const int64_t dy = int64_t(y) + origin_.Y;
  if (!target_ || dx < 0 || dy < 0 || dx >= target_->Width() || dy >= target_->Height())
    return std::nullopt;
  return target_->At(int32_t(dx), int32_t(dy));
}

// ----- [5] platform-style free functions --------------------------------------------

bool BitBlt(TDCHandle dst, int32_t x, int32_t y, int32_t width, int32_t height, TDCHandle src, int32_t sx,
            int32_t sy, uint32_t rop)
{
  return dst && dst->BitBlt(x, y, width, height, src, sx, sy, rop);
}

bool StretchBlt(TDCHandle dst, int32_t x, int32_t y, int32_t width, int32_t height, TDCHandle src, int32_t sx,
                int32_t sy, int32_t swidth, int32_t sheight, uint32_t rop)
{
  return dst && dst->StretchBlt(x, y, width, height, src, sx, sy, swidth, sheight, rop);
}

int SetStretchBltMode(TDCHandle dc, int mode)
{
  return dc ? dc->SetStretchBltMode(mode) : 0;
}

int SelectClipRgn(TDCHandle dc, const TRegion* region)
{
  return dc ? dc->SelectClipRgn(region) : RGN_ERROR;
}

int ExcludeClipRect(TDCHandle dc, int32_t left, int32_t top, int32_t right, int32_t bottom)
{
  return dc ? dc->ExcludeClipRect(left, top, right, bottom) : RGN_ERROR;
}

int IntersectClipRect(TDCHandle dc, int32_t left, int32_t top, int32_t right, int32_t bottom)
{
  return dc ? dc->IntersectClipRect(left, top, right, bottom) : RGN_ERROR;
}

bool RectVisible(TDCHandle dc, const TRect& rect)
{
  return dc && dc->RectVisible(rect);
}

int GetClipBox(TDCHandle dc, TRect& box)
{
  if (!dc) {
    box = {};
    return RGN_ERROR;
  }
  return dc->GetClipBox(box);
}

int SaveDC(TDCHandle dc)
{
  return dc ? dc->SaveDC() : 0;
}

bool RestoreDC(TDCHandle dc, int level)
{
  return dc && dc->RestoreDC(level);
}

bool SetViewportOrgEx(TDCHandle dc, int32_t x, int32_t y, TPoint* previous)
{
  if (!dc)
    return false;
  const TPoint old = dc->SetViewportOrg(x, y);
  if (previous)
    *previous = old;
  return true;
}

bool OffsetViewportOrgEx(TDCHandle dc, int32_t dx, int32_t dy, TPoint* previous)
{
  if (!dc)
    return false;
  const TPoint old = dc->OffsetViewportOrg(dx, dy);
  if (previous)
    *previous = old;
  return true;
}

void FillRect(TDCHandle dc, const TRect& rect, TColor color)
{
  if (dc)
    dc->FillRect(rect, ColorToPixel(ColorToRGB(color)));
}

} // namespace gfx
