#include "effects/EffectFrame.h"

#include "framework/Bitmap.h"
#include "framework/Canvas.h"
#include "gfx/DrawContext.h"

#include <stdexcept>
#include <string>

namespace effects {

void ComposeEffectFrame(framework::TBitmap& Frame, framework::TBitmap& OldImage, framework::TBitmap& NewImage,
                        TShowStyle Style, int32_t Progress)
{
  const int32_t W = NewImage.Width();
  const int32_t H = NewImage.Height();
  if (OldImage.Width() != W || OldImage.Height() != H)
    throw std::invalid_argument("the old image and the new picture differ in size");
  if (Progress < 0 || Progress > 100)
    throw std::out_of_range("progress " + std::to_string(Progress) + " is outside 0..100");
  if (Style > kMaxStyle)
    throw std::out_of_range("no effect has style " + std::to_string(Style));
  if (Style == kCustomStyle)
    throw std::invalid_argument("style 0 is drawn by its owner, not by an effect");
  const TEffect& effect = EffectOfStyle(Style);

  if (Frame.Width() != W || Frame.Height() != H)
    Frame.SetSize(W, H);
  gfx::TDCHandle frame = Frame.Canvas().Handle();
  if (Progress == 0 || Progress == 100) {
    gfx::BitBlt(frame, 0, 0, W, H, (Progress == 0 ? OldImage : NewImage).Canvas().Handle(), 0, 0, SRCCOPY);
    return;
  }
  gfx::SetStretchBltMode(frame, COLORONCOLOR);
  const TProgressSize size = ProgressSize(W, H, Progress);
  effect.Compose(Frame, OldImage, NewImage, W, H, size.X, size.Y, Progress);
}

void CopyOldImage(framework::TBitmap& Screen, framework::TBitmap& OldImage, int32_t W, int32_t H)
{
  gfx::BitBlt(Screen.Canvas().Handle(), 0, 0, W, H, OldImage.Canvas().Handle(), 0, 0, SRCCOPY);
}

bool CoversFrame(const framework::TBitmap& Screen, const framework::TBitmap& OldImage,
                 const framework::TBitmap& Picture, int32_t W, int32_t H) noexcept
{
  const auto holds = [W, H](const framework::TBitmap& b) { return b.Width() >= W && b.Height() >= H; };
  return W > 0 && H > 0 && holds(Screen) && holds(OldImage) && holds(Picture);
}

} // namespace effects
