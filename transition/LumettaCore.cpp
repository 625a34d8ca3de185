#include "transition/LumettaCore.h"

#include "framework/Canvas.h"
#include "gfx/DrawContext.h"
#include "gfx/GdiConstants.h"

#include <algorithm>
#include <mutex>

namespace transition {

using framework::TBitmap;
using framework::TCanvas;
using framework::TCanvasLock;
using gfx::TRect;

TLumettaCore::TLumettaCore(ITransitionHost& host, ILumettaPicture& picture, ILumettaPicture& bgPicture)
  : TLumettaDriver(host), picture_(picture), bgPicture_(bgPicture), displayImage_(std::make_unique<TBitmap>())
{
}

TLumettaCore::~TLumettaCore()
{
  // Stops a running transition while the images and hooks are still whole;
  // no event is raised any more.
  BeginDestroy();
}

// ---------------------------------------------------------------------------
// Properties

void TLumettaCore::SetBgMode(TBackgroundMode value)
{
  if (value == bgMode_)
    return;
  bgMode_ = value;
  if (bgPicture_.HasGraphic()) {
    if (oldIsBackground_ && oldImage_)
      RefreshOldImage();
    Host().Invalidate();
  }
}

void TLumettaCore::GeometryChanged()
{
  CalculateRects();
  if (!displayImage_->Empty())
    Host().Invalidate();
}

void TLumettaCore::SetCenter(bool value)
{
  if (value == center_)
    return;
  center_ = value;
  GeometryChanged();
}

void TLumettaCore::SetStretch(bool value)
{
  if (value == stretch_)
    return;
  stretch_ = value;
  GeometryChanged();
}

void TLumettaCore::SetProportional(bool value)
{
  if (value == proportional_)
    return;
  proportional_ = value;
  GeometryChanged();
}

void TLumettaCore::SetFrameColor(gfx::TColor value)
{
  if (value == frameColor_)
    return;
  frameColor_ = value;
  if (frameWidth_ != 0 && !displayImage_->Empty())
    Host().Invalidate();
}

void TLumettaCore::SetFrameWidth(int32_t value)
{
  value = std::max(value, 0);
  if (value == frameWidth_)
    return;
  frameWidth_ = value;
  AdjustSize();
  if (!displayImage_->Empty())
    GeometryChanged();
}

std::string TLumettaCore::StyleName() const
{
  return std::string(effects::StyleName(Style()));
}

void TLumettaCore::SetStyleName(std::string_view name)
{
  TShowStyle style = Style();
  if (effects::StyleOfName(name, style))
    SetStyle(style);
}

void TLumettaCore::Clear()
{
  if (Busy() || displayImage_->Empty())
    return;
  {
    std::lock_guard guard(Lock());
    displayImage_->Assign(nullptr);
    sourceRect_ = {};
    pictureSize_ = {};
    displayRect_ = {};
    shown_.reset();
  }
  Host().Invalidate();
}

// ---------------------------------------------------------------------------
// Notifications

void TLumettaCore::PictureChanged()
{
  if (Destroying())
    return;
  if (picture_.HasGraphic())
    AdjustSize();
  DoChange();
}

void TLumettaCore::BgPictureChanged()
{
  if (bgMode_ == bmNone)
    return;
  if (oldIsBackground_ && oldImage_)
    RefreshOldImage();
  Host().Invalidate();
}

void TLumettaCore::Resized()
{
  CalculateRects();
  SharpenShownPicture();
  if (!displayImage_->Empty())
    Host().Invalidate();
}

// ---------------------------------------------------------------------------
// Geometry

void TLumettaCore::CalculateRects()
{
  std::lock_guard guard(Lock());
  const TRect client = ClientRect();
  // A control smaller than its frame leaves no room rather than a negative
  // one, which a stretch would take for a mirror image.
  const int32_t availW = std::max(client.Width() - 2 * frameWidth_, 0);
  const int32_t availH = std::max(client.Height() - 2 * frameWidth_, 0);
  const gfx::TSize shown = TPictureLayout{{availW, availH}, stretch_, proportional_}.ShownSize(pictureSize_);
  const int32_t w = shown.Width;
  const int32_t h = shown.Height;

  TRect rect{0, 0, w, h};
  if (center_)
    rect = rect.Translated(frameWidth_ + (availW - w) / 2, frameWidth_ + (availH - h) / 2);
  else
    rect = rect.Translated(frameWidth_, frameWidth_);
  displayRect_ = rect.Translated(client.Left, client.Top);

  if (oldIsBackground_ && oldImage_)
    RefreshOldImage();
}

TPictureLayout TLumettaCore::Layout() const
{
  const TRect client = ClientRect();
  // A control smaller than its frame leaves no room rather than a negative one.
  return {{std::max(client.Width() - 2 * frameWidth_, 0), std::max(client.Height() - 2 * frameWidth_, 0)},
          stretch_,
          proportional_};
}

framework::TGraphic::TShowLimit TLumettaCore::ShowLimit() const
{
  return [layout = Layout()](gfx::TSize picture) { return layout.ShownSize(picture); };
}

// A picture decoded for a small window is decoded again when the window
// grows (full screen, say) while it is on show. Only a finished transition to
// it is redrawn: a frame stopped half-way or played back, or one an event
// drew on, is the caller's and stays as it is.
void TLumettaCore::SharpenShownPicture()
{
  if (!shown_ || Busy() || Progress() != 100 || Reverse() || OnAfterNewFrame)
    return;
  const gfx::TSize before = shown_->PixelSize();
  shown_->SetShowLimit(ShowLimit());
  const gfx::TSize pixels = shown_->PixelSize();
  if (pixels == before)
    return;
  {
    std::lock_guard guard(Lock());
    TBitmap image(pixels.Width, pixels.Height);
    gfx::FillRect(image.Canvas().Handle(), TRect{0, 0, pixels.Width, pixels.Height}, Color());
    shown_->Draw(image.Canvas(), TRect{0, 0, pixels.Width, pixels.Height});
    image.SetPixelFormat(framework::pf32bit);
    displayImage_->Assign(image);
    sourceRect_ = {0, 0, pixels.Width, pixels.Height};
  }
  if (pixels == pictureSize_)
    shown_.reset();
  Host().Invalidate();
}

// ---------------------------------------------------------------------------
// Painting

void TLumettaCore::PaintBackground(TCanvas& canvas, const TRect& rect)
{
  gfx::TDCHandle dc = canvas.Handle();
  if (dc == nullptr || !gfx::RectVisible(dc, rect))
    return;
  TDetachedChange detached(bgPicture_);
  const TBackgroundMode mode = bgPicture_.Empty() ? bmNone : bgMode_;
  switch (mode) {
  case bmNone:
    gfx::FillRect(dc, rect, Color());
    break;
  case bmTiled:
    TileDraw(canvas, rect);
    break;
  case bmStretched:
    bgPicture_.Draw(canvas, rect);
    break;
  case bmCentered: {
    const int32_t gw = bgPicture_.Width();
    const int32_t gh = bgPicture_.Height();
    const TRect picture =
      TRect::Bounds(rect.Left + (rect.Width() - gw) / 2, rect.Top + (rect.Height() - gh) / 2, gw, gh);
    bgPicture_.Draw(canvas, picture);
    gfx::TDrawContextSaver saver(*dc);
    gfx::ExcludeClipRect(dc, picture.Left, picture.Top, picture.Right, picture.Bottom);
    gfx::FillRect(dc, rect, Color());
    break;
  }
  }
}

void TLumettaCore::TileDraw(TCanvas& canvas, const TRect& rect)
{
  gfx::TDCHandle dc = canvas.Handle();
  const int32_t gw = bgPicture_.Width();
  const int32_t gh = bgPicture_.Height();
  if (gw <= 0 || gh <= 0)
    return;
  gfx::TDrawContextSaver saver(*dc);
  gfx::IntersectClipRect(dc, rect.Left, rect.Top, rect.Right, rect.Bottom);
  TRect clip;
  gfx::GetClipBox(dc, clip);
  // Start at the tile column and row that hold the clip box's corner, so the
  // tiles line up with rect's origin whatever part is repainted.
  const int32_t left = clip.Left - (clip.Left - rect.Left) % gw;
  const int32_t top = clip.Top - (clip.Top - rect.Top) % gh;
  for (int32_t y = top; y < clip.Bottom; y += gh)
    for (int32_t x = left; x < clip.Right; x += gw) {
      const TRect tile = TRect::Bounds(x, y, gw, gh);
      if (gfx::RectVisible(dc, tile))
        bgPicture_.Draw(canvas, tile);
    }
}

void TLumettaCore::PaintContent(TCanvas& canvas)
{
  gfx::TDCHandle dc = canvas.Handle();
  if (dc == nullptr)
    return;
  std::lock_guard guard(Lock());
  const TRect client = ClientRect();
  if (displayImage_->Empty()) {
    PaintBackground(canvas, client);
    return;
  }
  if (gfx::RectVisible(dc, displayRect_)) {
    TCanvasLock locked(displayImage_->Canvas());
    gfx::SetStretchBltMode(dc, COLORONCOLOR);
    canvas.CopyRect(displayRect_, displayImage_->Canvas(), sourceRect_);
  }
  TRect frame = displayRect_;
  if (frameWidth_ != 0) {
    frame = {frame.Left - frameWidth_, frame.Top - frameWidth_, frame.Right + frameWidth_,
             frame.Bottom + frameWidth_};
    if (gfx::RectVisible(dc, frame)) {
      const framework::TPen pen = canvas.Pen;
      const framework::TBrush brush = canvas.Brush;
      canvas.Pen = {frameColor_, frameWidth_, framework::psInsideFrame, framework::pmCopy};
      canvas.Brush.Style = framework::bsClear;
      canvas.Rectangle(frame);
      canvas.Pen = pen;
      canvas.Brush = brush;
    }
  }
  gfx::TDrawContextSaver saver(*dc);
  gfx::ExcludeClipRect(dc, frame.Left, frame.Top, frame.Right, frame.Bottom);
  PaintBackground(canvas, client);
}

bool TLumettaCore::CanPaintByStretch(const TRect& update) const
{
  return !displayImage_->Empty() && displayRect_.Left <= update.Left && displayRect_.Top <= update.Top &&
         displayRect_.Right >= update.Right && displayRect_.Bottom >= update.Bottom;
}

// ---------------------------------------------------------------------------
// Transition images

void TLumettaCore::Prepare()
{
  {
    // A picture held with fewer pixels than this layout shows, or composed
    // over another colour than the control's, decodes again here, before any
    // lock is taken.
    TDetachedChange detached(picture_);
    picture_.SetShowLimit(ShowLimit());
    picture_.SetBackground(Color());
  }
  // The images hold the picture's pixels; the layout is that of its full size.
  const gfx::TSize pixels = picture_.PixelSize();
  const gfx::TSize full{picture_.Width(), picture_.Height()};
  const int32_t w = pixels.Width;
  const int32_t h = pixels.Height;
  {
    std::lock_guard guard(Lock());
    // The old image is not final until DisplayImage copies it below; no frame
    // is composed from it before then.
    struct TPreparing {
      bool& Flag;
      ~TPreparing() { Flag = false; }
    } preparing{preparing_ = true};
    oldImage_ = std::make_unique<TBitmap>();
    if (overDraw_ && !displayImage_->Empty() && displayImage_->Width() == w && displayImage_->Height() == h &&
        pictureSize_ == full) {
      oldIsBackground_ = false;
      oldImage_->Assign(*displayImage_);
    } else {
      // Rendered from the background by CalculateRects below.
      oldIsBackground_ = true;
      oldImage_->SetSize(w, h);
    }
    oldImage_->SetPixelFormat(framework::pf32bit);

    newImage_ = std::make_unique<TBitmap>();
    newImage_->Canvas().Brush.Color = Color();
    newImage_->SetSize(w, h);
    // A transparent or smaller graphic shows the control's colour around it.
    gfx::FillRect(newImage_->Canvas().Handle(), TRect{0, 0, w, h}, Color());
    {
      TDetachedChange detached(picture_);
      picture_.Draw(newImage_->Canvas(), TRect{0, 0, w, h});
    }
    newImage_->SetPixelFormat(framework::pf32bit);

    displayImage_->SetSize(w, h);
    displayImage_->SetPixelFormat(framework::pf32bit);
    sourceRect_ = {0, 0, w, h};
    pictureSize_ = full;
    shown_ = pixels == full ? nullptr : picture_.Copy();
    CalculateRects();
    displayImage_->Assign(*oldImage_);
  }
  ResetProgress();
  Host().Invalidate();
  DoStart(*newImage_, *oldImage_);
}

void TLumettaCore::RefreshOldImage()
{
  std::lock_guard guard(Lock());
  if (!oldImage_)
    return;
  const int32_t w = sourceRect_.Width();
  const int32_t h = sourceRect_.Height();
  {
    TCanvasLock locked(oldImage_->Canvas());
    gfx::TDCHandle old = oldImage_->Canvas().Handle();
    if (displayRect_.IsEmpty()) {
      // No background lies under an empty display rectangle.
      gfx::FillRect(old, TRect{0, 0, w, h}, Color());
    } else {
      TBitmap background(displayRect_.Width(), displayRect_.Height());
      gfx::TDCHandle dc = background.Canvas().Handle();
      gfx::SetViewportOrgEx(dc, -displayRect_.Left, -displayRect_.Top, nullptr);
      PaintBackground(background.Canvas(), ClientRect());
      gfx::SetViewportOrgEx(dc, 0, 0, nullptr);
      gfx::StretchBlt(old, 0, 0, w, h, dc, 0, 0, background.Width(), background.Height(), SRCCOPY);
    }
  }
  if (Busy() && Manual() && !Stopping() && !preparing_)
    ComposeFrame();
}

void TLumettaCore::ComposeFrame()
{
  std::lock_guard guard(Lock());
  if (!newImage_ || !oldImage_)
    return;
  TBitmap& display = *displayImage_;
  TBitmap& picture = *newImage_;
  TCanvasLock pictureLock(picture.Canvas());
  TCanvasLock displayLock(display.Canvas());
  const int32_t w = sourceRect_.Width();
  const int32_t h = sourceRect_.Height();
  gfx::TDCHandle screen = display.Canvas().Handle();
  const int32_t progress = Progress();
  const TShowStyle style = Style();
  if (ComposeInOnePass(display, picture, style, progress)) {
    DoAfterNewFrame(picture, display);
    return;
  }
  {
    TCanvasLock oldLock(oldImage_->Canvas());
    gfx::BitBlt(screen, 0, 0, w, h, oldImage_->Canvas().Handle(), 0, 0, SRCCOPY);
  }
  DoBeforeNewFrame(picture, display);
  if (progress == 100) {
    gfx::BitBlt(screen, 0, 0, w, h, picture.Canvas().Handle(), 0, 0, SRCCOPY);
  } else if (progress == 0) {
    // The old image is the whole frame.
  } else if (style == effects::kCustomStyle) {
    DoCustomDraw(picture, display);
  } else if (w > 0 && h > 0) {
    gfx::SetStretchBltMode(screen, COLORONCOLOR);
    const effects::TProgressSize size = effects::ProgressSize(w, h, progress);
    effects::EffectOfStyle(style).Proc(display, picture, w, h, size.X, size.Y, progress);
  }
  DoAfterNewFrame(picture, display);
}

bool TLumettaCore::ComposeInOnePass(TBitmap& display, TBitmap& picture, TShowStyle style, int32_t progress)
{
  const int32_t w = sourceRect_.Width();
  const int32_t h = sourceRect_.Height();
  if (HandlesBeforeNewFrame() || progress <= 0 || progress >= 100 || style == effects::kCustomStyle || w <= 0 || h <= 0)
    return false;
  TCanvasLock oldLock(oldImage_->Canvas());
  gfx::SetStretchBltMode(display.Canvas().Handle(), COLORONCOLOR);
  const effects::TProgressSize size = effects::ProgressSize(w, h, progress);
  effects::EffectOfStyle(style).Compose(display, *oldImage_, picture, w, h, size.X, size.Y, progress);
  return true;
}

void TLumettaCore::FreeImages()
{
  std::lock_guard guard(Lock());
  newImage_.reset();
  oldImage_.reset();
}

// ---------------------------------------------------------------------------
// Dispatchers

void TLumettaCore::DoChange()
{
  OnChange(Sender());
}

void TLumettaCore::DoCustomDraw(TBitmap& picture, TBitmap& screen)
{
  OnCustomDraw(Sender(), picture, screen);
}

void TLumettaCore::DoBeforeNewFrame(TBitmap& picture, TBitmap& screen)
{
  OnBeforeNewFrame(Sender(), picture, screen);
}

void TLumettaCore::DoAfterNewFrame(TBitmap& picture, TBitmap& screen)
{
  OnAfterNewFrame(Sender(), picture, screen);
}

void TLumettaCore::DoStart(TBitmap& picture, TBitmap& screen)
{
  OnStart(Sender(), picture, screen);
}

} // namespace transition
