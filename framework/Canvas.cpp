#include "framework/Canvas.h"

#include "framework/Bitmap.h"

namespace framework {

namespace {

gfx::TPixel PixelOf(gfx::TColor color)
{
  return gfx::ColorToPixel(gfx::ColorToRGB(color));
}

// Drawing reads another bitmap's pixels from its origin, whatever state its
// own context is in, so transfers use a fresh context on its pixels. The
// context is only ever read from.
gfx::TDrawContext SourceOf(const TBitmap& bitmap)
{
  return gfx::TDrawContext(const_cast<gfx::TPixmap&>(bitmap.Pixmap()));
}

} // namespace

void TCanvas::Lock()
{
  mutex_.lock();
  lockCount_.fetch_add(1);
}

void TCanvas::Unlock()
{
  lockCount_.fetch_sub(1);
  mutex_.unlock();
}

bool TCanvas::TryLock()
{
  if (!mutex_.try_lock())
    return false;
  lockCount_.fetch_add(1);
  return true;
}

void TCanvas::Changing() const
{
  if (OnChanging)
    OnChanging();
}

void TCanvas::Changed() const
{
  if (OnChange)
    OnChange();
  if (bitmap_)
    bitmap_->Changed();
}

void TCanvas::RealizeTools() const
{
  gfx::TGdiPen pen;
  pen.Color = PixelOf(Pen.Color);
  pen.Width = Pen.Width;
  pen.Style = Pen.Style == psClear ? gfx::gpsNull : Pen.Style == psInsideFrame ? gfx::gpsInsideFrame : gfx::gpsSolid;
  handle_->SelectPen(pen);
  gfx::TGdiBrush brush;
  brush.Color = PixelOf(Brush.Color);
  brush.Null = Brush.Style == bsClear;
  handle_->SelectBrush(brush);
}

void TCanvas::Draw(int32_t x, int32_t y, const TBitmap& bitmap)
{
  if (!handle_ || bitmap.Empty())
    return;
  Changing();
  gfx::TDrawContext source = SourceOf(bitmap);
  handle_->BitBlt(x, y, bitmap.Width(), bitmap.Height(), &source, 0, 0, SRCCOPY);
  Changed();
}

void TCanvas::StretchDraw(const gfx::TRect& rect, const TBitmap& bitmap)
{
  if (!handle_ || bitmap.Empty())
    return;
  Changing();
  gfx::TDrawContext source = SourceOf(bitmap);
  handle_->StretchBlt(rect.Left, rect.Top, rect.Width(), rect.Height(), &source, 0, 0, bitmap.Width(),
                      bitmap.Height(), SRCCOPY);
  Changed();
}

void TCanvas::CopyRect(const gfx::TRect& dest, const TCanvas& canvas, const gfx::TRect& source)
{
  if (!handle_ || !canvas.handle_)
    return;
  Changing();
  handle_->StretchBlt(dest.Left, dest.Top, dest.Width(), dest.Height(), canvas.handle_, source.Left, source.Top,
                      source.Width(), source.Height(), CopyMode);
  Changed();
}

void TCanvas::FillRect(const gfx::TRect& rect)
{
  if (!handle_ || Brush.Style == bsClear)
    return;
  Changing();
  handle_->FillRect(rect, PixelOf(Brush.Color));
  Changed();
}

void TCanvas::FrameRect(const gfx::TRect& rect)
{
  if (!handle_ || Brush.Style == bsClear)
    return;
  Changing();
  handle_->FrameRect(rect, PixelOf(Brush.Color));
  Changed();
}

void TCanvas::Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
  if (!handle_)
    return;
  Changing();
  RealizeTools();
  handle_->Rectangle(left, top, right, bottom);
  Changed();
}

void TCanvas::RoundRect(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t ellipseWidth,
                        int32_t ellipseHeight)
{
  if (!handle_)
    return;
  Changing();
  RealizeTools();
  handle_->RoundRect(left, top, right, bottom, ellipseWidth, ellipseHeight);
  Changed();
}

void TCanvas::Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
  if (!handle_)
    return;
  Changing();
  RealizeTools();
  handle_->Ellipse(left, top, right, bottom);
  Changed();
}

void TCanvas::Polygon(std::span<const gfx::TPoint> points)
{
  if (!handle_)
    return;
  Changing();
  RealizeTools();
  handle_->Polygon(points, ALTERNATE);
  Changed();
}

void TCanvas::LineTo(int32_t x, int32_t y)
{
  if (handle_ && Pen.Style != psClear) {
    Changing();
    handle_->Line(penPos_, {x, y}, PixelOf(Pen.Color));
    Changed();
  }
  penPos_ = {x, y};
}

gfx::TColor TCanvas::Pixel(int32_t x, int32_t y) const
{
  if (!handle_)
    return gfx::clNone;
  const auto p = handle_->GetPixel(x, y);
  return p ? gfx::PixelToColor(*p) : gfx::clNone;
}

void TCanvas::SetPixel(int32_t x, int32_t y, gfx::TColor color)
{
  if (!handle_)
    return;
  Changing();
  handle_->SetPixel(x, y, PixelOf(color));
  Changed();
}

gfx::TRect TCanvas::ClipRect() const
{
  return handle_ ? handle_->ClipBox() : gfx::TRect{};
}

} // namespace framework
