#include "effects/PixelEffects.h"

#include "effects/PixelCore.h"
#include "framework/Bitmap.h"
#include "gfx/GdiConstants.h"
#include "gfx/Numeric.h"

#include <algorithm>
#include <numbers>

namespace effects {

bool HoldsPixelFrame(const framework::TBitmap& bitmap, int32_t W, int32_t H) noexcept
{
  return W > 0 && H > 0 && bitmap.Width() == W && bitmap.Height() == H;
}

void DrawFade(framework::TBitmap& Screen, framework::TBitmap& Picture, int32_t, int32_t, int32_t, int32_t,
              int32_t Progress, const gfx::TPixmap* under)
{
  pixel::BlendPixmap(Screen.Pixmap(), Picture.Pixmap(), gfx::MulDiv(256, Progress, 100), under);
}

void DrawChannelMix(framework::TBitmap& Screen, framework::TBitmap& Picture, int32_t, int32_t, int32_t, int32_t,
                    int32_t Progress, const gfx::TPixmap* under)
{
  // The order is drawn afresh from the picture's handle in every frame, so it
  // stays the same for the whole transition.
  const pixel::TChannelOrder order = pixel::ChannelOrder(Picture.Handle());
  const auto mask = [](int32_t channel) { return 0xFFu << (8 * channel); };
  if (Progress <= 33)
    pixel::MixChannels(Screen.Pixmap(), Picture.Pixmap(), 0, order.First, gfx::MulDiv(256, Progress, 33), under);
  else if (Progress <= 66)
    pixel::MixChannels(Screen.Pixmap(), Picture.Pixmap(), mask(order.First), order.Second,
                       gfx::MulDiv(256, Progress - 33, 33), under);
  else
    pixel::MixChannels(Screen.Pixmap(), Picture.Pixmap(), mask(order.First) | mask(order.Second), order.Third,
                       gfx::MulDiv(256, Progress - 66, 33), under);
}

// The random effects draw from the generator as if it had been seeded with
// the picture's handle, on a private copy of the sequence: the shared seed is
// never touched, so it is the same after the call as before it.
void DrawDissolve(framework::TBitmap& Screen, framework::TBitmap& Picture, int32_t, int32_t, int32_t, int32_t,
                  int32_t Progress, const gfx::TPixmap* under)
{
  pixel::Dissolve(Screen.Pixmap(), Picture.Pixmap(), Picture.Handle(), Progress, under);
}

void DrawRandomBarsHorizontal(framework::TBitmap& Screen, framework::TBitmap& Picture, int32_t, int32_t, int32_t,
                              int32_t, int32_t Progress, const gfx::TPixmap* under)
{
  pixel::RandomRows(Screen.Pixmap(), Picture.Pixmap(), Picture.Handle(), Progress, under);
}

void DrawRandomBarsVertical(framework::TBitmap& Screen, framework::TBitmap& Picture, int32_t, int32_t, int32_t,
                            int32_t, int32_t Progress, const gfx::TPixmap* under)
{
  pixel::RandomColumns(Screen.Pixmap(), Picture.Pixmap(), Picture.Handle(), Progress, under);
}

namespace {

// The pivots turn the picture by 0.9 degrees per percent still to go, about
// a point just outside one corner; the sign decides the direction.
void Pivot(framework::TBitmap& Screen, framework::TBitmap& Picture, int32_t orgX, int32_t orgY, int32_t sign,
           int32_t Progress, const gfx::TPixmap* under)
{
  const double angle = sign * (100 - Progress) * std::numbers::pi / 200.0;
  pixel::RotateInto(Screen.Pixmap(), Picture.Pixmap(), orgX, pixel::FixedTurn(angle), orgY, under);
}

} // namespace

void DrawPivotFromTopLeft(framework::TBitmap& Screen, framework::TBitmap& Picture, int32_t, int32_t, int32_t,
                          int32_t, int32_t Progress, const gfx::TPixmap* under)
{
  Pivot(Screen, Picture, -1, -1, 1, Progress, under);
}

void DrawPivotFromBottomLeft(framework::TBitmap& Screen, framework::TBitmap& Picture, int32_t, int32_t H, int32_t,
                             int32_t, int32_t Progress, const gfx::TPixmap* under)
{
  Pivot(Screen, Picture, -1, H, -1, Progress, under);
}

void DrawPivotFromTopRight(framework::TBitmap& Screen, framework::TBitmap& Picture, int32_t W, int32_t, int32_t,
                           int32_t, int32_t Progress, const gfx::TPixmap* under)
{
  Pivot(Screen, Picture, W, -1, -1, Progress, under);
}

void DrawPivotFromBottomRight(framework::TBitmap& Screen, framework::TBitmap& Picture, int32_t W, int32_t H,
                              int32_t, int32_t, int32_t Progress, const gfx::TPixmap* under)
{
  Pivot(Screen, Picture, W, H, 1, Progress, under);
}

TPixelateStep PixelateStep(int32_t W, int32_t H, int32_t X, int32_t Y, int32_t Progress) noexcept
{
  TPixelateStep step;
  int32_t f, u, v;
  if (Progress <= 50) {
    f = 180 - gfx::MulDiv(Progress, 82, 50);
    u = X;
    v = Y;
  } else {
    step.FromPicture = true;
    f = gfx::MulDiv(Progress - 100, 82, 50) + 180;
    u = W - X;
    v = H - Y;
  }
  step.DX = gfx::MulDiv(u, f, 100);
  step.DY = gfx::MulDiv(v, f, 100);
  step.SW = std::max(W - 2 * step.DX, 2);
  step.SH = std::max(H - 2 * step.DY, 2);
  if (Progress >= 41 && Progress <= 59) {
    step.Blend = true;
    step.BlendWeight = gfx::MulDiv(256, 5 * Progress - 200, 100);
    step.FromPicture = false;
  }
  return step;
}

void PixelateEffect(framework::TBitmap& Screen, framework::TBitmap& Picture,
                    int32_t W, int32_t H, int32_t X, int32_t Y, int32_t Progress)
{
  if (!HoldsPixelFrame(Screen, W, H) || !HoldsPixelFrame(Picture, W, H))
    return;
  const TPixelateStep step = PixelateStep(W, H, X, Y, Progress);
  if (step.Blend) {
    // Only the part of the centre that lies on the bitmaps is blended; on
    // frames a few pixels wide the two-pixel minimum can reach past the edge.
    const gfx::TRect centre =
      gfx::TRect::Bounds(step.DX, step.DY, step.SW, step.SH).Intersected(Screen.Pixmap().Bounds());
    for (int32_t y = centre.Bottom - 1; y >= centre.Top; --y)
      pixel::Blend(Screen.Pixmap().ScanLine(y) + centre.Left, Picture.Pixmap().ScanLine(y) + centre.Left,
                   size_t(centre.Width()), step.BlendWeight);
  }
  // The context reads the whole source rectangle before writing when the
  // frame stretches onto itself.
  framework::TBitmap& source = step.FromPicture ? Picture : Screen;
  gfx::StretchBlt(&Screen.Context(), -2 * step.DX, -2 * step.DY, W + 4 * step.DX, H + 4 * step.DY,
                  &source.Context(), step.DX, step.DY, step.SW, step.SH, SRCCOPY);
}

} // namespace effects
