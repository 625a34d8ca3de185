#include "skin/controls/SkinDateTime.h"

#include "skin/SkinData.h"
#include "skin/controls/EditLooks.h"

#include <windowsx.h>

namespace skin {

// ----- The arrow button ---------------------------------------------------------------

const framework::TClassInfo& TArrowButton::ClassType()
{
  static const framework::TClassInfo info("TArrowButton", &framework::TCustomControl::ClassType());
  return info;
}

TArrowButton::TArrowButton(TSkinData& data, HWND picker)
  : TCustomControl(nullptr), data_(data), picker_(picker), arrowSize_(GetSystemMetrics(SM_CXHSCROLL))
{
  SetTabStop(false);
  SetParentWindow(picker);
  Place();
  HandleNeeded();
}

void TArrowButton::Place()
{
  RECT picker{};
  if (!GetWindowRect(picker_, &picker))
    return;
  const bool left = (GetWindowLongPtrW(picker_, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
  const gfx::TRect bounds =
    PickerArrowBounds({picker.right - picker.left, picker.bottom - picker.top}, arrowSize_, left);
  SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
}

void TArrowButton::Paint()
{
  framework::TCanvas& canvas = Canvas();
  const gfx::TRect face(0, 0, Width(), Height());
  canvas.Brush.Color = data_.Color(scButtonFace);
  canvas.Brush.Style = framework::bsSolid;
  canvas.FillRect(face);
  const TDataSkinObject* arrow = data_.ComboxArrow.get();
  if (!arrow || arrow->Image.Empty() || !canvas.Handle())
    return;
  const int32_t frame = hot_ && PickerEnabled() ? 4 : 1;
  ElementDraw(*canvas.Handle(), face, arrow->Image, false, false, false, arrow->FrameCount(), frame, {});
}

void TArrowButton::WndProc(framework::TMessage& message)
{
  switch (message.Msg) {
  case framework::CM_MOUSEENTER:
    if (PickerEnabled()) {
      hot_ = true;
      Invalidate();
    }
    break;
  case framework::CM_MOUSELEAVE:
    if (hot_) {
      hot_ = false;
      Invalidate();
    }
    break;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    // The press lands on the picker's own button under this one.
    if (PickerEnabled()) {
      const LPARAM at = MAKELPARAM(GET_X_LPARAM(message.LParam) + Left(), GET_Y_LPARAM(message.LParam) + Top());
      PostMessageW(picker_, WM_LBUTTONDOWN, MK_LBUTTON, at);
      PostMessageW(picker_, WM_LBUTTONUP, 0, at);
    }
    Invalidate();
    return;
  case WM_LBUTTONUP:
    if (PickerEnabled())
      ::SetFocus(picker_);
    return;
  default:
    break;
  }
  TCustomControl::WndProc(message);
}

// ----- The picker ---------------------------------------------------------------------

TSkinDateTime::TSkinDateTime() = default;

TSkinDateTime::~TSkinDateTime() = default;

void TSkinDateTime::AttachControl(TWinSkinForm& form, TSkinData& data, framework::TWinControl& control,
                                  bool recolour)
{
  TSkinControl::AttachControl(form, data, control, recolour);
  MakeArrow();
}

void TSkinDateTime::AttachWindow(TWinSkinForm& form, TSkinData& data, HWND window)
{
  TSkinControl::AttachWindow(form, data, window);
  MakeArrow();
}

void TSkinDateTime::MakeArrow()
{
  if (arrow_ || !Window())
    return;
  // The picker must not paint its own button over ours.
  SetWindowLongPtrW(Window(), GWL_STYLE, GetWindowLongPtrW(Window(), GWL_STYLE) | WS_CLIPCHILDREN);
  arrow_ = std::make_unique<TArrowButton>(Data(), Window());
}

void TSkinDateTime::SkinSwitched(bool active)
{
  if (arrow_)
    arrow_->SetVisible(active);
}

void TSkinDateTime::Unskin()
{
  TSkinControl::Unskin();
  arrow_.reset();
}

void TSkinDateTime::AfterMessage(framework::TMessage& message)
{
  if (message.Msg == WM_SIZE && arrow_) {
    arrow_->Place();
    arrow_->Invalidate();
  }
  TSkinControl::AfterMessage(message);
}

void TSkinDateTime::DrawSkin(HDC dc, const gfx::TRect& rect)
{
  if (arrow_)
    arrow_->Place();
  RECT client{};
  GetClientRect(Window(), &client);
  if (HasBorder({client.right - client.left, client.bottom - client.top}, {rect.Width(), rect.Height()}))
    FrameSkinBorder(dc, rect, 2);
}

} // namespace skin
