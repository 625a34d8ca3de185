#pragma once
// Text as the skinned strips draw it: in the control's font without bold or
// italic, and a tab's or header section's image and caption laid out in its
// rectangle.
#include <windows.h>

#include <commctrl.h>

#include "framework/win32/Handles.h"
#include "gfx/Color.h"
#include "gfx/Geometry.h"

#include <string>

namespace skin {

// A copy of font with no style.
[[nodiscard]] framework::TGdiFont PlainFontOf(HFONT font);

struct TTabLabel {
  std::wstring Text;
  int32_t ImageIndex = -1;
  HIMAGELIST Images = nullptr;
  // 0 left, 1 centre, 2 right.
  int32_t Alignment = 1;
  gfx::TColor Colour = gfx::clBtnText;
  bool Disabled = false;
  bool RightToLeft = false;
};

// Draws the image (when the list has it and it is narrower than rect) and the
// text after it, both centred vertically, the text clipped to rect and drawn
// transparently in the font selected into dc.
void DrawTabLabel(HDC dc, const gfx::TRect& rect, const TTabLabel& label);

} // namespace skin
