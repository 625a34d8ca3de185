#include "skin/controls/SkinUpDown.h"

#include "framework/win32/Handles.h"
#include "skin/SkinData.h"
#include "skin/win32/SkinDataWin32.h"

#include <commctrl.h>

namespace skin {

bool TSkinUpDown::BeforeMessage(framework::TMessage& message)
{
  switch (message.Msg) {
  case WM_PAINT:
    PaintHandler(message);
    return false;
  case WM_ERASEBKGND:
    // Every pixel is painted by DrawSkin; a bare window starts from white,
    // as the edit it usually stands in.
    if (!Control()) {
      RECT client{};
      GetClientRect(Window(), &client);
      FillColour(reinterpret_cast<HDC>(message.WParam), {client.left, client.top, client.right, client.bottom},
                 gfx::clWhite);
    }
    message.Result = 1;
    return false;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    // The control starts its own repeat first.
    PassOn(message);
    look_ |= lbPressed;
    PaintNow(nullptr);
    return false;
  case WM_LBUTTONUP:
    look_ &= uint8_t(~lbPressed);
    PassOn(message);
    PaintNow(nullptr);
    return false;
  default:
    return TSkinControl::BeforeMessage(message);
  }
}

void TSkinUpDown::AfterMessage(framework::TMessage& message)
{
  switch (message.Msg) {
  case WM_MOUSEMOVE:
    FollowMouse();
    break;
  case WM_MOUSELEAVE:
  case framework::CM_MOUSELEAVE:
    if (look_ & lbHot) {
      look_ &= uint8_t(~lbHot);
      hotHalf_ = -1;
      PaintNow(nullptr);
    }
    break;
  default:
    TSkinControl::AfterMessage(message);
    break;
  }
}

void TSkinUpDown::FollowMouse()
{
  const int32_t half = HalfUnderCursor(area_);
  if ((look_ & lbHot) && half == hotHalf_)
    return;
  if (!(look_ & lbHot)) {
    look_ |= lbHot;
    AskForLeaveNotice(Window());
  }
  hotHalf_ = half;
  PaintNow(nullptr);
}

gfx::TRect TSkinUpDown::DrawingRect(const gfx::TRect& rect) const
{
  if (!embedded_)
    return rect;
  RECT own{}, edit{};
  if (!GetWindowRect(Window(), &own) || !GetWindowRect(GetParent(Window()), &edit))
    return rect;
  const gfx::TRect inEdit(own.left - edit.left, own.top - edit.top, own.right - edit.left, own.bottom - edit.top);
  return EmbeddedSpinRect(rect, inEdit, {edit.right - edit.left, edit.bottom - edit.top});
}

int32_t TSkinUpDown::HalfUnderCursor(const gfx::TRect& area) const
{
  POINT cursor{};
  RECT window{};
  if (!GetCursorPos(&cursor) || !GetWindowRect(Window(), &window))
    return -1;
  const gfx::TPoint at(cursor.x - window.left, cursor.y - window.top);
  const auto halves = SpinHalves(area, HasStyle(UDS_HORZ));
  for (int32_t i = 0; i < 2; ++i)
    if (halves[size_t(i)].Rect.Contains(at))
      return i;
  return -1;
}

void TSkinUpDown::DrawSkin(HDC dc, const gfx::TRect& rect)
{
  ReadWindowState();
  const bool horizontal = HasStyle(UDS_HORZ);
  const gfx::TRect area = DrawingRect(rect);
  if (embedded_)
    FillColour(dc, rect, gfx::clWhite);
  area_ = area;
  const int32_t under = HalfUnderCursor(area);
  const TDataSkinBorder* element = horizontal ? Data().UpDownHorz.get() : Data().UpDownVert.get();
  const bool skinned = element && !element->Image.Empty();
  const gfx::TRect local(0, 0, area.Width(), area.Height());
  const auto halves = SpinHalves(local, horizontal);
  DrawThroughFace(dc, area, [&](HDC face) {
    FillSkinColour(face, local);
    for (int32_t i = 0; i < 2; ++i) {
      const TPartLook look = SpinHalfLook(under == i, look_ & lbPressed, look_ & lbHot, !enabledLook_);
      if (skinned)
        DrawElementHalf(face, *element, halves[size_t(i)], look);
      else
        DrawLineHalf(face, halves[size_t(i)], look);
    }
  });
}

void TSkinUpDown::DrawElementHalf(HDC dc, const TDataSkinBorder& element, const TSpinHalf& half,
                                  TPartLook look) const
{
  const int32_t frames = element.FrameCount();
  const int32_t frame = SpinFrame(look, half.Direction);
  win32::ElementDraw(dc, half.Rect, element.Image, false, false, true, frames, frame, {});
  if (element.Image2.Empty())
    return;
  const gfx::TRect glyph = StripFrameRect(element.Image2.Width(), element.Image2.Height(), false, frames, frame);
  win32::ElementDraw(dc, CentredIn(half.Rect, glyph.Width(), glyph.Height()), element.Image2, false, false, true,
                     frames, frame, {});
}

void TSkinUpDown::DrawLineHalf(HDC dc, const TSpinHalf& half, TPartLook look) const
{
  const bool sunk = look == plPressed || look == plHot;
  FillColour(dc, half.Rect, Data().Color(sunk ? scButtonShadow : scButtonFace));
  const framework::TGdiPen outline(CreatePen(PS_SOLID, 1, ColourRef(Data().Color(scButtonDkShadow))));
  {
    const framework::TSelectObject pen(dc, outline.Get());
    const framework::TSelectObject hollow(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, half.Rect.Left, half.Rect.Top, half.Rect.Right, half.Rect.Bottom);
  }
  const framework::TGdiPen arrow(
    CreatePen(PS_SOLID, 1, ColourRef(Data().Color(look == plDisabled ? scButtonShadow : scButtonDkShadow))));
  const framework::TSelectObject pen(dc, arrow.Get());
  for (const TLine& line : SpinArrowLines(half.Rect, half.Direction)) {
    MoveToEx(dc, line.From.X, line.From.Y, nullptr);
    LineTo(dc, line.To.X, line.To.Y);
  }
}

} // namespace skin
