#include "skin/controls/WScrollbar.h"

#include "framework/TypeInfo.h"
#include "framework/win32/Handles.h"
#include "skin/SkinData.h"
#include "skin/controls/ScrollBarPaint.h"
#include "skin/controls/SkinControl.h"

#include <windowsx.h>

namespace skin {

// A bar's parts are numbered as the scroll codes, so that the low word of a
// scroll message names the part it came from.
static_assert(spFirstArrow == SB_LINEUP && spSecondArrow == SB_LINEDOWN && spPageBefore == SB_PAGEUP &&
              spPageAfter == SB_PAGEDOWN && spThumb == SB_THUMBTRACK);

namespace {

LPARAM PointParam(POINT point) { return MAKELPARAM(WORD(SHORT(point.x)), WORD(SHORT(point.y))); }

} // namespace

const framework::TClassInfo& TWScrollbar::ClassType()
{
  static const framework::TClassInfo info("TWScrollbar", &framework::TCustomControl::ClassType());
  return info;
}

TWScrollbar::TWScrollbar(TSkinData& data, HWND target, TOverlayKind kind, gfx::TColor colour,
                         framework::TWinControl* control)
  : framework::TCustomControl(nullptr), data_(data), target_(target), control_(control), kind_(kind),
    vertical_(kind == okVertical), arrow_(GetSystemMetrics(SM_CXHSCROLL))
{
  if (kind_ == okControl && control_)
    vertical_ = !framework::SameText(framework::GetEnumProp(*control_, "Kind"), "sbHorizontal");
  SetVisible(false);
  SetColor(colour);
  SetParentWindow(GetParent(target_));
  HandleNeeded();
  if (control_)
    control_->AddHandleListener(this);
}

TWScrollbar::~TWScrollbar()
{
  if (control_)
    control_->RemoveHandleListener(this);
}

// The target's window goes, possibly inside this overlay's own press: the
// overlay's window goes with it, the object stays for its companion to free.
void TWScrollbar::HandleDestroying(framework::TWinControl* control, HWND)
{
  control->RemoveHandleListener(this);
  control_ = nullptr;
  target_ = nullptr;
  shown_ = false;
  pressed_ = false;
  DestroyHandle();
}

void TWScrollbar::CreateParams(framework::TCreateParams& params)
{
  framework::TCustomControl::CreateParams(params);
  params.ExStyle |= WS_EX_TOOLWINDOW;
}

// ----- Where the bar is -------------------------------------------------------------

bool TWScrollbar::ReadBar(win32::TScrollBarFacts& facts) const
{
  switch (kind_) {
  case okHorizontal: return win32::ReadScrollBar(target_, OBJID_HSCROLL, facts);
  case okVertical: return win32::ReadScrollBar(target_, OBJID_VSCROLL, facts);
  case okControl: break;
  }
  // A scroll-bar control is all bar; its thumb is worked out from its range.
  if (!win32::ReadScrollBar(target_, OBJID_CLIENT, facts))
    return false;
  GetWindowRect(target_, &facts.Screen);
  facts.Thumb = ControlThumbNow(LengthOf(facts.Screen));
  return true;
}

int32_t TWScrollbar::LengthOf(const RECT& bar) const
{
  return vertical_ ? bar.bottom - bar.top : bar.right - bar.left;
}

TThumb TWScrollbar::ControlThumbNow(int32_t length) const
{
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
  if (!GetScrollInfo(target_, SB_CTL, &info))
    return {};
  return ControlThumb({info.nMin, info.nMax, int32_t(info.nPage), info.nPos}, length, arrow_);
}

TThumb TWScrollbar::ControlThumbFromProperties(int32_t length) const
{
  if (!control_)
    return ControlThumbNow(length);
  const auto property = [this](const char* name) { return int32_t(framework::GetOrdProp(*control_, name)); };
  return ControlThumbAtPress({property("Min"), property("Max"), property("PageSize"), property("Position")}, length,
                             arrow_);
}

void TWScrollbar::Reposition()
{
  win32::TScrollBarFacts facts;
  if (!ReadBar(facts))
    return;
  if (!SkinPaintsScrollBars(data_) || !(GetWindowLongPtrW(target_, GWL_STYLE) & WS_VISIBLE) || facts.Invisible) {
    HideOverlay();
    return;
  }
  barRect_ = facts.Screen;
  MapWindowPoints(nullptr, target_, reinterpret_cast<POINT*>(&barRect_), 2);
  length_ = LengthOf(facts.Screen);
  RECT place = facts.Screen;
  MapWindowPoints(nullptr, GetParent(Handle()), reinterpret_cast<POINT*>(&place), 2);
  // Just above the target: after the window that is above it now, unless
  // that is this overlay already.
  const HWND above = GetWindow(target_, GW_HWNDPREV);
  UINT flags = SWP_NOACTIVATE;
  if (above == Handle())
    flags |= SWP_NOZORDER;
  SetWindowPos(Handle(), above ? above : HWND_TOP, place.left, place.top, place.right - place.left,
               place.bottom - place.top, flags);
  SetVisible(true);
  InvalidateRect(Handle(), nullptr, FALSE);
  shown_ = true;
}

void TWScrollbar::HideOverlay()
{
  SetVisible(false);
  shown_ = false;
}

void TWScrollbar::SetActivePart(int32_t part)
{
  active_ = TScrollPart(part);
  Invalidate();
}

// ----- The mouse --------------------------------------------------------------------

int32_t TWScrollbar::Along(LPARAM position) const
{
  return vertical_ ? GET_Y_LPARAM(position) : GET_X_LPARAM(position);
}

void TWScrollbar::WndProc(framework::TMessage& message)
{
  switch (message.Msg) {
  case WM_MOUSEMOVE:
    Hover(message.LParam);
    break;
  case WM_MOUSELEAVE:
    Leave();
    break;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    Press(message.LParam);
    message.Result = 0;
    return;
  case WM_LBUTTONUP:
    Release(message.LParam);
    message.Result = 0;
    return;
  default:
    break;
  }
  framework::TCustomControl::WndProc(message);
}

void TWScrollbar::Hover(LPARAM position)
{
  win32::TScrollBarFacts facts;
  if (!ReadBar(facts))
    return;
  const TScrollPart part = HitTestBar(Along(position), length_, arrow_, facts.Thumb);
  if (part != active_) {
    active_ = part;
    Invalidate();
  }
  AskForLeaveNotice(Handle());
}

void TWScrollbar::Leave()
{
  if (pressed_)
    return;
  active_ = spNone;
  Invalidate();
}

LPARAM TWScrollbar::ToTarget(LPARAM position) const
{
  if (kind_ == okControl)
    return position;
  return PointParam({barOrigin_.x + GET_X_LPARAM(position), barOrigin_.y + GET_Y_LPARAM(position)});
}

// The system's scroll loop runs inside the SendMessage: it takes the capture,
// scrolls the target, and returns when the button is released. Meanwhile the
// overlay keeps painting from the target's scroll messages.
void TWScrollbar::Press(LPARAM position)
{
  GetCursorPos(&cursorAtPress_);
  win32::TScrollBarFacts facts;
  if (!ReadBar(facts))
    return;
  thumbAtPress_ = kind_ == okControl ? ControlThumbFromProperties(length_) : facts.Thumb;
  active_ = HitTestBar(Along(position), length_, arrow_, thumbAtPress_);
  barOrigin_ = {facts.Screen.left, facts.Screen.top};
  const LPARAM at = ToTarget(position);
  pressed_ = true;
  Invalidate();
  ReleaseCapture();
  if (kind_ == okControl)
    SendMessageW(target_, WM_LBUTTONDOWN, MK_LBUTTON, at);
  else
    SendMessageW(target_, WM_NCLBUTTONDOWN, vertical_ ? HTVSCROLL : HTHSCROLL, at);
  pressed_ = false;
  ReleaseCapture();
  if (kind_ == okControl)
    Invalidate();
}

// A release the system's loop did not take (it ended already) still reaches
// the target, so that it never waits for one.
void TWScrollbar::Release(LPARAM position)
{
  const LPARAM at = ToTarget(position);
  pressed_ = false;
  ReleaseCapture();
  if (kind_ == okControl) {
    PostMessageW(target_, WM_LBUTTONUP, MK_LBUTTON, at);
    Invalidate();
  } else {
    PostMessageW(target_, WM_NCLBUTTONUP, vertical_ ? HTVSCROLL : HTHSCROLL, at);
  }
}

// ----- Painting ---------------------------------------------------------------------

TBarLook TWScrollbar::LookOf(const win32::TScrollBarFacts& facts) const
{
  TBarLook look;
  look.Vertical = vertical_;
  look.Length = LengthOf(facts.Screen);
  look.Arrow = arrow_;
  look.StripHeight = ArrowStripHeight(data_);
  look.Thumb = facts.Thumb;
  look.Active = active_;
  look.Pressed = pressed_;
  look.Enabled = !facts.Unavailable;
  // While the system's loop drags the thumb, it follows the cursor rather
  // than the position, which moves in whole steps.
  if (pressed_ && active_ == spThumb && kind_ != okControl) {
    POINT cursor{};
    GetCursorPos(&cursor);
    const int32_t moved = vertical_ ? cursor.y - cursorAtPress_.y : cursor.x - cursorAtPress_.x;
    look.Thumb = DraggedThumb(thumbAtPress_, moved, look.Length, arrow_);
  }
  return look;
}

void TWScrollbar::PaintWindow(HDC dc)
{
  RECT client{};
  GetClientRect(Handle(), &client);
  const gfx::TRect all{0, 0, client.right, client.bottom};
  win32::TScrollBarFacts facts;
  const bool fits = ReadBar(facts) && !facts.Invisible && facts.Screen.right - facts.Screen.left <= client.right &&
                    facts.Screen.bottom - facts.Screen.top <= client.bottom;
  if (fits && PaintScrollBar(dc, all, data_, LookOf(facts), kind_ == okControl))
    return;
  // Until the next positioning corrects it, a bar that does not fit shows the
  // parent's colour rather than whatever was on the screen.
  const framework::TGdiBrush brush(CreateSolidBrush(ColourRef(Color())));
  FillRect(dc, &client, brush.Get());
}

} // namespace skin
