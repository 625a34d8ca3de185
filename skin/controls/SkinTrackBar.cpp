#include "skin/controls/SkinTrackBar.h"

#include "framework/win32/Handles.h"
#include "gfx/win32/GdiInterop.h"
#include "skin/SkinData.h"
#include "skin/win32/SkinDataWin32.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

namespace skin {

namespace {

bool HasImage(const TDataSkinObject* element) { return element && !element->Image.Empty(); }

// An image drawn in three parts along its length: the first and last parts
// at their own size, the middle stretched over the rest. Across, it keeps its
// own size and is centred when smaller than the target.
void DrawThreeParts(HDC dc, const gfx::TRect& target, const TDataSkinObject& element, bool vertical)
{
  const int32_t imageLength = vertical ? element.Image.Height() : element.Image.Width();
  const int32_t across = vertical ? element.Image.Width() : element.Image.Height();
  const int32_t targetLength = vertical ? target.Height() : target.Width();
  const int32_t targetAcross = vertical ? target.Width() : target.Height();
  const int32_t first = vertical ? element.TopHeight : element.LeftWidth;
  const int32_t last = vertical ? element.BottomHeight : element.RightWidth;
  const int32_t offset = across < targetAcross ? (targetAcross - across) / 2 : 0;
  gfx::win32::TBitmapDC source(element.Image.NativeHandle());
  // Parts as (target start, target length, source start, source length).
  const int32_t parts[3][4] = {{0, first, 0, first},
                               {first, targetLength - first - last, first, imageLength - first - last},
                               {targetLength - last, last, imageLength - last, last}};
  for (const auto& part : parts) {
    if (part[1] <= 0 || part[3] <= 0)
      continue;
    if (vertical)
      StretchBlt(dc, target.Left + offset, target.Top + part[0], across, part[1], source.Get(), 0, part[2], across,
                 part[3], SRCCOPY);
    else
      StretchBlt(dc, target.Left + part[0], target.Top + offset, part[1], across, source.Get(), part[2], 0, part[3],
                 across, SRCCOPY);
  }
}

} // namespace

void TSkinTrackBar::SkinChanged()
{
  TSkinControl::SkinChanged();
  const HWND had = GetFocus();
  SetFocus(Window());
  SetFocus(had);
}

bool TSkinTrackBar::BeforeMessage(framework::TMessage& message)
{
  if (message.Msg == framework::CN_CTLCOLORSTATIC && Control()) {
    message.Result = reinterpret_cast<LRESULT>(ParentBackgroundBrush(reinterpret_cast<HDC>(message.WParam)));
    return false;
  }
  // The reflected notice is told from the skin's own notice of that number.
  const NMHDR* header = message.Msg == WM_NOTIFY ? reinterpret_cast<const NMHDR*>(message.LParam)
                                                 : framework::ReflectedNotifyHeader(message);
  if (header) {
    const auto& draw = *reinterpret_cast<const NMCUSTOMDRAW*>(header);
    LRESULT result = 0;
    if (draw.hdr.code == UINT(NM_CUSTOMDRAW) && CustomDraw(draw, result)) {
      message.Result = result;
      return false;
    }
  }
  return TSkinControl::BeforeMessage(message);
}

HBRUSH TSkinTrackBar::ParentBackgroundBrush(HDC dc)
{
  const SIZE size = [this] {
    RECT r{};
    GetClientRect(Window(), &r);
    return SIZE{std::max<LONG>(r.right, 1), std::max<LONG>(r.bottom, 1)};
  }();
  background_.SetSize(size.cx, size.cy);
  {
    gfx::win32::TBitmapDC face(background_.NativeHandle());
    win32::PaintParentBackground(*Control(), face.Get());
    GdiFlush();
  }
  backgroundBrush_ = framework::TGdiBrush(CreatePatternBrush(static_cast<HBITMAP>(background_.NativeHandle())));
  SetBrushOrgEx(dc, 0, 0, nullptr);
  return backgroundBrush_.Get();
}

bool TSkinTrackBar::CustomDraw(const NMCUSTOMDRAW& draw, LRESULT& result) const
{
  if (draw.dwDrawStage == CDDS_PREPAINT) {
    result = CDRF_NOTIFYITEMDRAW;
    return true;
  }
  if (draw.dwDrawStage != CDDS_ITEMPREPAINT)
    return false;
  switch (draw.dwItemSpec) {
  case TBCD_TICS:
    result = CDRF_DODEFAULT;
    return true;
  case TBCD_THUMB:
    DrawThumb(draw.hdc);
    result = CDRF_SKIPDEFAULT;
    return true;
  case TBCD_CHANNEL:
    DrawChannel(draw.hdc);
    result = CDRF_SKIPDEFAULT;
    return true;
  default:
    return false;
  }
}

void TSkinTrackBar::DrawThumb(HDC dc) const
{
  RECT r{};
  SendMessageW(Window(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&r));
  const gfx::TRect thumb(r.left, r.top, r.right, r.bottom);
  const TDataSkinObject* vertical = Data().ThumbVert.get();
  const TDataSkinObject* image = HasStyle(TBS_VERT) && HasImage(vertical) ? vertical : Data().ThumbHorz.get();
  if (HasImage(image)) {
    win32::ElementDraw(dc, thumb, image->Image, false, false, true, 5, 2, {});
    return;
  }
  const framework::TGdiPen pen(CreatePen(PS_SOLID, 1, ColourRef(Data().Color(scButtonShadow))));
  const framework::TSelectObject selectedPen(dc, pen.Get());
  const framework::TSelectObject hollow(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, thumb.Left, thumb.Top, thumb.Right, thumb.Bottom);
}

void TSkinTrackBar::DrawChannel(HDC dc) const
{
  RECT r{};
  SendMessageW(Window(), TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&r));
  const bool vertical = HasStyle(TBS_VERT);
  // A vertical bar reports its channel as if it lay down.
  if (vertical) {
    std::swap(r.left, r.top);
    std::swap(r.right, r.bottom);
  }
  const gfx::TRect channel(r.left, r.top, r.right, r.bottom);
  if (vertical && HasImage(Data().TrackVert.get())) {
    DrawThreeParts(dc, channel, *Data().TrackVert, true);
    return;
  }
  if (HasImage(Data().Track.get()))
    DrawThreeParts(dc, channel, *Data().Track, false);
}

} // namespace skin
