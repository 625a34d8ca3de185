#pragma once
// TSkinProgress: a progress bar repainted from the skin's "Progress" element,
// filled in one piece or in chunks ("Progress.Chunk"). A vertical bar is drawn
// lying down and turned, so that it fills from the bottom up.
#include "skin/controls/SkinControl.h"

namespace skin {

class TSkinProgress final : public TSkinControl {
protected:
  bool BeforeMessage(framework::TMessage& message) override;
  void DrawSkin(HDC dc, const gfx::TRect& rect) override;

private:
  // Draws the bar lying down on dc over size.
  void DrawLying(HDC dc, gfx::TPoint size, int32_t position, int32_t low, int32_t high) const;
  void DrawChunks(HDC dc, gfx::TPoint size, int32_t filled) const;

  framework::TBitmap lying_;
};

} // namespace skin
