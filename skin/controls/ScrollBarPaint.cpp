#include "skin/controls/ScrollBarPaint.h"

#include "framework/Bitmap.h"
#include "framework/win32/Handles.h"
#include "skin/SkinData.h"
#include "skin/controls/SkinControl.h"
#include "skin/win32/SkinDataWin32.h"

#include <new>

namespace skin {

namespace {

constexpr int32_t kStripFrames = 23;
constexpr int32_t kTrackFrames = 4;

// A piece of the arrow strip (an arrow or a grip), stretched whole over its
// square with the key colour left out.
void DrawStripPiece(HDC dc, const TSkinData& data, const TBarPiece& piece)
{
  win32::ElementDraw(dc, piece.Rect, data.Scrollbar->Image, false, false, true, kStripFrames, piece.Frame, {});
}

// The track takes its own element's margins and key colour; both orientations
// tile or stretch as the horizontal track says, and so do the thumbs, which
// take their frame count and key colour from the horizontal thumb.
void DrawTrack(HDC dc, const TSkinData& data, const TBarLook& look, const TBarPiece& piece)
{
  const TDataSkinObject* track = look.Vertical ? data.VertScroll.get() : data.HorzScroll.get();
  if (!track || track->Image.Empty())
    return;
  const bool tile = data.HorzScroll && data.HorzScroll->Tile == 1;
  win32::ElementDraw(dc, piece.Rect, track->Image, false, tile, track->Trans == 1, kTrackFrames, piece.Frame,
                     track->Margins());
}

void DrawThumb(HDC dc, const TSkinData& data, const TBarLook& look, const TBarPiece& piece)
{
  const TDataSkinObject* thumb = look.Vertical ? data.VertScrollThumb.get() : data.HorzScrollThumb.get();
  const TDataSkinObject* shape = data.HorzScrollThumb ? data.HorzScrollThumb.get() : thumb;
  if (!thumb || thumb->Image.Empty())
    return;
  win32::ElementDraw(dc, piece.Rect, thumb->Image, false, thumb->Tile == 1, shape->Trans == 1,
                     shape->FrameCount(), piece.Frame, thumb->Margins());
}

} // namespace

bool SkinPaintsScrollBars(const TSkinData& data) { return data.Scrollbar && !data.Scrollbar->Image.Empty(); }

int32_t ArrowStripHeight(const TSkinData& data)
{
  return SkinPaintsScrollBars(data) ? data.Scrollbar->Image.Height() : 0;
}

bool PaintScrollBar(HDC dc, const gfx::TRect& target, const TSkinData& data, const TBarLook& look, bool stretch)
{
  if (!SkinPaintsScrollBars(data) || look.Length <= 0)
    return false;
  const TBarLayout layout = LayoutBar(look);
  const int32_t width = look.Vertical ? layout.Thickness : look.Length;
  const int32_t height = look.Vertical ? look.Length : layout.Thickness;
  framework::TBitmap bar;
  try {
    bar.SetSize(width, height);
  } catch (const std::bad_alloc&) {
    return false;
  }
  if (!bar.NativeHandle())
    return false;
  gfx::win32::TBitmapDC face(bar.NativeHandle());
  SetStretchBltMode(face.Get(), COLORONCOLOR);
  const RECT all{0, 0, width, height};
  const framework::TGdiBrush brush(CreateSolidBrush(ColourRef(data.Color(scButtonFace))));
  FillRect(face.Get(), &all, brush.Get());
  if (layout.Track)
    DrawTrack(face.Get(), data, look, *layout.Track);
  DrawStripPiece(face.Get(), data, layout.FirstArrow);
  DrawStripPiece(face.Get(), data, layout.SecondArrow);
  if (layout.Thumb)
    DrawThumb(face.Get(), data, look, *layout.Thumb);
  if (layout.Grip)
    DrawStripPiece(face.Get(), data, *layout.Grip);
  GdiFlush();
  if (stretch) {
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, target.Left, target.Top, target.Width(), target.Height(), face.Get(), 0, 0, width, height,
               SRCCOPY);
  } else {
    BitBlt(dc, target.Left, target.Top, width, height, face.Get(), 0, 0, SRCCOPY);
  }
  return true;
}

} // namespace skin
