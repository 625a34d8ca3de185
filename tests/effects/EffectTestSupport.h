#pragma once
// Frames whose every pixel tells where it came from: the old image holds
// 0x01 in its fourth byte and the new picture 0x02, and the colour bytes hold
// the pixel's own coordinates (x in the low 12 bits, y in the next 12).
#include "effects/EffectFrame.h"
#include "effects/EffectTable.h"
#include "framework/Bitmap.h"

#include <cstdint>
#include <optional>

namespace effects::testing {

inline constexpr uint32_t kOldTag = 0x01;
inline constexpr uint32_t kNewTag = 0x02;

[[nodiscard]] constexpr gfx::TPixel TaggedPixel(uint32_t tag, int32_t x, int32_t y)
{
  return (tag << 24) | (uint32_t(y) << 12) | uint32_t(x);
}

struct TSource {
  uint32_t Tag = 0;
  int32_t X = 0;
  int32_t Y = 0;
  friend bool operator==(const TSource&, const TSource&) = default;
};

[[nodiscard]] constexpr TSource Decode(gfx::TPixel p)
{
  return {p >> 24, int32_t(p & 0xFFF), int32_t((p >> 12) & 0xFFF)};
}

inline void FillTagged(framework::TBitmap& bitmap, uint32_t tag)
{
  for (int32_t y = 0; y < bitmap.Height(); ++y)
    for (int32_t x = 0; x < bitmap.Width(); ++x)
      bitmap.Pixmap().At(x, y) = TaggedPixel(tag, x, y);
}

// An old image, a new picture and a frame of one size.
struct TTransition {
  int32_t W;
  int32_t H;
  framework::TBitmap Old{W, H};
  framework::TBitmap New{W, H};
  framework::TBitmap Frame{W, H};

  TTransition(int32_t width, int32_t height) : W(width), H(height)
  {
    FillTagged(Old, kOldTag);
    FillTagged(New, kNewTag);
  }

  void Compose(TShowStyle style, int32_t progress) { ComposeEffectFrame(Frame, Old, New, style, progress); }
  [[nodiscard]] gfx::TPixel At(int32_t x, int32_t y) const { return Frame.Pixmap().At(x, y); }
  [[nodiscard]] TSource SourceAt(int32_t x, int32_t y) const { return Decode(At(x, y)); }
};

} // namespace effects::testing
