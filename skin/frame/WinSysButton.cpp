#include "skin/frame/WinSysButton.h"

#include "framework/Bitmap.h"
#include "framework/win32/Handles.h"
#include "skin/BitmapUtils.h"
#include "skin/SkinElements.h"
#include "skin/win32/SkinDataWin32.h"

namespace skin {

TWinSysButton::TWinSysButton(TDataSkinSysButton& element, TCaptionHost& host) : element_(element), host_(host) {}

int32_t TWinSysButton::Action() const { return element_.Action; }

bool TWinSysButton::Clickable() const { return visible_ && !element_.Image.Empty(); }

bool TWinSysButton::InMenuBar() const { return element_.Visibility == 100; }

bool TWinSysButton::ShowsIcon() const { return IsWindowIconAction(element_.Action); }

void TWinSysButton::Update(const TCaptionWindow& window)
{
  const TButtonShow show = ButtonShow(element_, window);
  visible_ = show.Visible;
  enabled_ = show.Enabled;
}

void TWinSysButton::Place(const TCaptionLayout& layout) { SetRect(PlaceButton(element_, layout)); }

void TWinSysButton::DrawInBand(HDC dc, bool active) const
{
  DrawFrame(dc, CaptionBandFrame(element_.FrameCount(), active, enabled_));
}

void TWinSysButton::DrawInMenuBar(HDC dc) const { DrawFrame(dc, 1); }

void TWinSysButton::Redraw()
{
  if (!Clickable() || (!InMenuBar() && !host_.FrameVisible()))
    return;
  const framework::TWindowDC dc = framework::TWindowDC::WholeWindow(host_.Window());
  if (!dc)
    return;
  const framework::TUnmirroredDC unmirrored(dc.Get());
  DrawFrame(dc.Get(), StateFrame(DrawState(), element_.FrameCount(), enabled_, InMenuBar()));
}

void TWinSysButton::DrawFrame(HDC dc, int32_t frame) const
{
  const gfx::TRect& r = Rect();
  if (r.IsEmpty())
    return;
  if (ShowsIcon()) {
    DrawIcon(dc);
    return;
  }
  // Composed off screen at the button's size, then put down in one transfer
  // with the skin's magenta left out, so the caption shows through.
  framework::TBitmap composed(r.Width(), r.Height());
  DrawStripFrameStretched(composed.Context(), gfx::TRect(0, 0, r.Width(), r.Height()), element_.Image, false,
                          element_.FrameCount(), frame);
  win32::TransparentBlit(dc, r, composed, kKeyColor);
}

// The window's own icon when it hands one out (small first), else the icon
// bitmap the frame made of it, at the frame's icon size.
void TWinSysButton::DrawIcon(HDC dc) const
{
  const framework::TBitmap& bitmap = host_.IconBitmap();
  const gfx::TRect& r = Rect();
  const int32_t width = bitmap.Empty() ? r.Width() : bitmap.Width();
  const int32_t height = bitmap.Empty() ? r.Height() : bitmap.Height();
  HWND window = host_.Window();
  auto icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_SMALL, 0));
  if (!icon)
    icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_BIG, 0));
  if (icon) {
    DrawIconEx(dc, r.Left, r.Top, icon, width, height, 0, nullptr, DI_NORMAL);
    return;
  }
  win32::TransparentBlit(dc, gfx::TRect::Bounds(r.Left, r.Top, width, height), bitmap, kKeyColor);
}

} // namespace skin
