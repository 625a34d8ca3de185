#include "skin/controls/ComboxScrollBar.h"

#include "skin/controls/ScrollBarPaint.h"

#include <windowsx.h>

namespace skin {

namespace {

LONG BarObject(bool vertical) { return vertical ? OBJID_VSCROLL : OBJID_HSCROLL; }

bool IsBarHit(WPARAM hit) { return hit == HTHSCROLL || hit == HTVSCROLL; }

int32_t Along(POINT point, bool vertical) { return vertical ? point.y : point.x; }

} // namespace

bool TComboxScrollBar::BeforeMessage(framework::TMessage& message)
{
  switch (message.Msg) {
  case WM_NCMOUSEMOVE:
    // The system would light its own bar's parts up over the skin's.
    return !IsBarHit(message.WParam);
  case WM_NCLBUTTONDOWN: {
    if (!IsBarHit(message.WParam))
      break;
    const bool vertical = message.WParam == HTVSCROLL;
    win32::TScrollBarFacts bar;
    if (!win32::ReadScrollBar(Window(), BarObject(vertical), bar))
      break;
    const POINT at{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
    const int32_t along = Along(at, vertical) - (vertical ? bar.Screen.top : bar.Screen.left);
    if (along < bar.Thumb.Start || along >= bar.Thumb.End)
      break;
    TrackThumb(vertical, bar);
    message.Result = 0;
    return false;
  }
  default:
    break;
  }
  return TSkinControl::BeforeMessage(message);
}

void TComboxScrollBar::AfterMessage(framework::TMessage& message)
{
  switch (message.Msg) {
  case WM_NCPAINT:
  case WM_HSCROLL:
  case WM_VSCROLL:
  case kListStartTrack:
    PaintNow(nullptr);
    break;
  default:
    TSkinControl::AfterMessage(message);
    break;
  }
}

void TComboxScrollBar::DrawSkin(HDC dc, const gfx::TRect&)
{
  PaintBar(dc, false);
  PaintBar(dc, true);
}

void TComboxScrollBar::PaintBar(HDC dc, bool vertical)
{
  win32::TScrollBarFacts bar;
  if (!win32::ReadScrollBar(Window(), BarObject(vertical), bar) || bar.Invisible)
    return;
  RECT window{};
  GetWindowRect(Window(), &window);
  const RECT& r = bar.Screen;
  TBarLook look;
  look.Vertical = vertical;
  look.Length = vertical ? r.bottom - r.top : r.right - r.left;
  look.Arrow = GetSystemMetrics(SM_CXHSCROLL);
  look.StripHeight = ArrowStripHeight(Data());
  look.Thumb = bar.Thumb;
  look.Enabled = !bar.Unavailable;
  if (tracking_ == int32_t(vertical)) {
    look.Active = spThumb;
    look.Pressed = true;
  }
  PaintScrollBar(dc, {r.left - window.left, r.top - window.top, r.right - window.left, r.bottom - window.top}, Data(),
                 look, false);
}

void TComboxScrollBar::SendScroll(bool vertical, WORD code, int32_t position)
{
  SendMessageW(Window(), vertical ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, WORD(position)), 0);
}

void TComboxScrollBar::TrackThumb(bool vertical, const win32::TScrollBarFacts& bar)
{
  const HWND list = Window();
  // The dropped-down list holds the capture; it keeps it after the drag.
  const bool listHeldCapture = GetCapture() == list;
  SetCapture(list);
  POINT pressed{};
  GetCursorPos(&pressed);
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
  GetScrollInfo(list, vertical ? SB_VERT : SB_HORZ, &info);
  const TScrollState state{info.nMin, info.nMax, int32_t(info.nPage), info.nPos};
  const int32_t arrow = GetSystemMetrics(SM_CXHSCROLL);
  const int32_t length = vertical ? bar.Screen.bottom - bar.Screen.top : bar.Screen.right - bar.Screen.left;
  const int32_t track = length - 2 * arrow;
  const int32_t offsetAtPress = bar.Thumb.Start - arrow;
  int32_t position = info.nPos;
  tracking_ = int32_t(vertical);
  PaintNow(nullptr);

  for (;;) {
    MSG message{};
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      // Nothing to do until the mouse moves or the button comes up; a
      // capture taken away ends the drag as a release would.
      if (GetCapture() != list)
        break;
      WaitMessage();
      continue;
    }
    if (message.message == WM_QUIT) {
      PostQuitMessage(int(message.wParam));
      break;
    }
    if (message.message == WM_LBUTTONUP || message.message == WM_NCLBUTTONUP) {
      SendScroll(vertical, SB_THUMBPOSITION, position);
      PostMessageW(list, vertical ? WM_VSCROLL : WM_HSCROLL, SB_ENDSCROLL, 0);
      break;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
    if (message.message != WM_MOUSEMOVE && message.message != WM_NCMOUSEMOVE)
      continue;
    POINT cursor{};
    GetCursorPos(&cursor);
    const int32_t offset = offsetAtPress + Along(cursor, vertical) - Along(pressed, vertical);
    const int32_t next = DraggedPosition(offset, state, track, bar.Thumb.Length());
    if (next == position)
      continue;
    position = next;
    SendScroll(vertical, SB_THUMBTRACK, position);
    // Some lists read a tracked thumb's place from the system's own tracking,
    // which this loop does not run: they are told the place outright.
    if (GetScrollPos(list, vertical ? SB_VERT : SB_HORZ) != position)
      SendScroll(vertical, SB_THUMBPOSITION, position);
  }
  tracking_ = -1;
  if (listHeldCapture)
    SetCapture(list);
  else
    ReleaseCapture();
  PaintNow(nullptr);
}

} // namespace skin
