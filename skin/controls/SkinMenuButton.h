#pragma once
// TSkinMenuButton: a button with a drop-down arrow after its caption, and a
// glyph at its left when it has one.
#include "skin/controls/SkinBitButton.h"

namespace skin {

class TSkinMenuButton : public TSkinBitButton {
protected:
  void DrawContent(HDC dc, const gfx::TRect& rect, const TButtonLook& look, const TButtonFace& face) override;
  // The skin's normal caption colour shows in the normal look only.
  [[nodiscard]] gfx::TColor CaptionColour(const TButtonLook& look) const override;
};

} // namespace skin
