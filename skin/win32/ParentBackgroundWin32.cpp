// Kept apart from the rest of the Win32 skin parts: it is the only piece that
// needs the framework's controls.
#include "framework/win32/Controls.h"
#include "skin/win32/SkinDataWin32.h"

namespace skin::win32 {

void PaintParentBackground(framework::TControl& control, HDC dc)
{
  framework::TWinControl* parent = control.Parent();
  if (!parent)
    return;
  const gfx::TRect bounds = control.BoundsRect();
  TSavedDC saved(dc);
  OffsetViewportOrgEx(dc, -bounds.Left, -bounds.Top, nullptr);
  IntersectClipRect(dc, bounds.Left, bounds.Top, bounds.Right, bounds.Bottom);
  const bool designing = control.HasState(framework::csDesigning);
  for (UINT msg : {UINT(WM_ERASEBKGND), UINT(WM_PAINT)}) {
    if (!designing) {
      parent->Perform(msg, reinterpret_cast<WPARAM>(dc), 0);
      continue;
    }
    // In the designer a parent that cannot paint this way only loses its
    // background behind the control.
    try {
      parent->Perform(msg, reinterpret_cast<WPARAM>(dc), 0);
    } catch (...) {
      return;
    }
  }
}

} // namespace skin::win32
