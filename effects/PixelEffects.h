#pragma once
// The effects that work on pixel values: the cross-fade, the channel mix, the
// dissolve and random bars, the four pivots and pixelate. Each is declared
// with the table's effect signature (TEffectFunction in EffectTable.h).
#include "effects/EffectTable.h"
#include "framework/Bitmap.h"
#include "gfx/Pixmap.h"

#include <cstdint>

namespace effects {

// How a pixel effect draws, told where the frame's old pixels are: on Screen
// itself (under null) or in under, an old image of the frame's size, in
// which case every pixel of Screen is written once (see PixelCore.h).
using TPixelDraw = void(framework::TBitmap& Screen, framework::TBitmap& Picture, int32_t W, int32_t H, int32_t X,
                        int32_t Y, int32_t Progress, const gfx::TPixmap* under);

// 119: every pixel blended toward the new picture by Progress percent.
TPixelDraw DrawFade;
// 172: the three colour channels change over one after another, in an order
// drawn from the new picture's handle.
TPixelDraw DrawChannelMix;
// 169: single pixels of the new picture appear at random, stable from frame to
// frame for one picture.
TPixelDraw DrawDissolve;
// 170 and 171: whole rows or whole columns appear at random.
TPixelDraw DrawRandomBarsHorizontal;
TPixelDraw DrawRandomBarsVertical;
// 120 to 123: the new picture turns about a corner into place.
TPixelDraw DrawPivotFromTopLeft;
TPixelDraw DrawPivotFromBottomLeft;
TPixelDraw DrawPivotFromTopRight;
TPixelDraw DrawPivotFromBottomRight;

// Every pixel effect reads the bitmaps as W x H; a call that breaks that
// promise draws nothing rather than reading past either bitmap.
[[nodiscard]] bool HoldsPixelFrame(const framework::TBitmap& bitmap, int32_t W, int32_t H) noexcept;

// The table's procedures of a pixel effect: drawing on the old image in the
// frame, and composing over the old image in one pass.
template <TPixelDraw* Draw>
void PixelEffect(framework::TBitmap& Screen, framework::TBitmap& Picture, int32_t W, int32_t H, int32_t X, int32_t Y,
                 int32_t Progress)
{
  if (HoldsPixelFrame(Screen, W, H) && HoldsPixelFrame(Picture, W, H))
    Draw(Screen, Picture, W, H, X, Y, Progress, nullptr);
}

template <TPixelDraw* Draw>
void PixelCompose(framework::TBitmap& Screen, framework::TBitmap& OldImage, framework::TBitmap& Picture, int32_t W,
                  int32_t H, int32_t X, int32_t Y, int32_t Progress)
{
  if (HoldsPixelFrame(Screen, W, H) && HoldsPixelFrame(Picture, W, H) && HoldsPixelFrame(OldImage, W, H))
    Draw(Screen, Picture, W, H, X, Y, Progress, &OldImage.Pixmap());
  else
    CopyThenDraw<PixelEffect<Draw>>(Screen, OldImage, Picture, W, H, X, Y, Progress);
}

inline constexpr TEffectFunction& FadeEffect = PixelEffect<DrawFade>;
inline constexpr TEffectFunction& ChannelMixEffect = PixelEffect<DrawChannelMix>;
inline constexpr TEffectFunction& DissolveEffect = PixelEffect<DrawDissolve>;
inline constexpr TEffectFunction& RandomBarsHorizontalEffect = PixelEffect<DrawRandomBarsHorizontal>;
inline constexpr TEffectFunction& RandomBarsVerticalEffect = PixelEffect<DrawRandomBarsVertical>;
inline constexpr TEffectFunction& PivotFromTopLeftEffect = PixelEffect<DrawPivotFromTopLeft>;
inline constexpr TEffectFunction& PivotFromBottomLeftEffect = PixelEffect<DrawPivotFromBottomLeft>;
inline constexpr TEffectFunction& PivotFromTopRightEffect = PixelEffect<DrawPivotFromTopRight>;
inline constexpr TEffectFunction& PivotFromBottomRightEffect = PixelEffect<DrawPivotFromBottomRight>;

// 168: a blocky zoom into the old image that turns into a zoom out of the new
// picture.
TEffectFunction PixelateEffect;

// The numbers pixelate works with for one frame, exposed for tests.
struct TPixelateStep {
  bool FromPicture = false; // the stretch reads the new picture, not the frame
  bool Blend = false;       // the centre is blended before stretching
  int32_t BlendWeight = 0;  // 0..256 when Blend
  int32_t DX = 0;           // the source rectangle's corner
  int32_t DY = 0;
  int32_t SW = 0; // the source rectangle's size
  int32_t SH = 0;
};
[[nodiscard]] TPixelateStep PixelateStep(int32_t W, int32_t H, int32_t X, int32_t Y, int32_t Progress) noexcept;

} // namespace effects
