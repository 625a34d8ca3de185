#include "framework/win32/OffScreenDraw.h"

#include "framework/Bitmap.h"
#include "framework/win32/Handles.h"

namespace framework {

void DrawOffScreen(HDC dc, const gfx::TRect& rect, const TFont& font, const std::function<void(TCanvas&)>& draw)
{
  if (rect.Width() <= 0 || rect.Height() <= 0)
    return;
  TBitmap buffer(rect.Width(), rect.Height());
  buffer.Context().OffsetViewportOrg(-rect.Left, -rect.Top);
  TCanvas& canvas = buffer.Canvas();
  canvas.Font = font;
  draw(canvas);
  GdiFlush();
  TMemoryDC memory(dc);
  TSelectObject selected(memory.Get(), static_cast<HBITMAP>(buffer.NativeHandle()));
  BitBlt(dc, rect.Left, rect.Top, rect.Width(), rect.Height(), memory.Get(), 0, 0, SRCCOPY);
}

} // namespace framework
