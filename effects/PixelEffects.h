#pragma once
// The effects that work on pixel values: the cross-fade, the channel mix, the
// dissolve and random bars, the four pivots and pixelate. Each is declared
// with the table's effect signature (TEffectFunction in EffectTable.h).
#include "effects/EffectTable.h"

#include <cstdint>

namespace effects {

// 119: every pixel blended toward the new picture by Progress percent.
TEffectFunction FadeEffect;
// 172: the three colour channels change over one after another, in an order
// drawn from the new picture's handle.
TEffectFunction ChannelMixEffect;
// 169: single pixels of the new picture appear at random, stable from frame to
// frame for one picture.
TEffectFunction DissolveEffect;
// 170 and 171: whole rows or whole columns appear at random.
TEffectFunction RandomBarsHorizontalEffect;
TEffectFunction RandomBarsVerticalEffect;
// 120 to 123: the new picture turns about a corner into place.
TEffectFunction PivotFromTopLeftEffect;
TEffectFunction PivotFromBottomLeftEffect;
TEffectFunction PivotFromTopRightEffect;
TEffectFunction PivotFromBottomRightEffect;
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
