#include "skin/controls/SkinSpeedButton.h"

#include "framework/MuteScope.h"
#include "framework/TypeInfo.h"
#include "framework/win32/Graphics.h"

namespace skin {

namespace {

bool ReadsTrue(const framework::TControl& control, std::string_view property)
{
  return framework::SameText(framework::GetPropValue(control, property), "True");
}

} // namespace

void TSkinSpeedButton::AttachSpeedButton(TWinSkinForm& form, TSkinData& data, framework::TControl& control)
{
  AttachWindowless(form, data, control);
  ReadTransparent(control);
}

// ----- Messages ---------------------------------------------------------------------

bool TSkinSpeedButton::BeforeMessage(framework::TMessage& message)
{
  switch (message.Msg) {
  case WM_PAINT:
    if (!ButtonsElement())
      return true;
    PaintControl(reinterpret_cast<HDC>(message.WParam));
    message.Result = 1;
    return false;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    // The control takes the press first (its own pressed state, the
    // capture); the pressed look follows.
    PassOn(message);
    SetLook(lbPressed, true);
    return false;
  default:
    return TSkinControl::BeforeMessage(message);
  }
}

void TSkinSpeedButton::AfterMessage(framework::TMessage& message)
{
  switch (message.Msg) {
  case WM_LBUTTONUP:
    SetLook(lbPressed, false);
    break;
  case WM_KEYDOWN:
  case WM_KEYUP:
    if (message.WParam == VK_SPACE)
      SetLook(lbPressed, message.Msg == WM_KEYDOWN);
    break;
  case framework::CM_MOUSEENTER:
    SetLook(lbHot, true);
    break;
  case framework::CM_MOUSELEAVE:
    look_ &= uint8_t(~(lbHot | lbPressed));
    if (SkinnedControl() && SkinnedControl()->Visible())
      Repaint();
    break;
  case WM_ENABLE:
  case framework::CM_FOCUSCHANGED:
  case framework::CM_ENABLEDCHANGED:
    // The control repaints itself on these.
    break;
  default:
    TSkinControl::AfterMessage(message);
    break;
  }
}

void TSkinSpeedButton::SetLook(uint8_t bits, bool on)
{
  look_ = on ? uint8_t(look_ | bits) : uint8_t(look_ & ~bits);
  Repaint();
}

// ----- Painting ---------------------------------------------------------------------

void TSkinSpeedButton::PaintControl(HDC dc)
{
  auto* control = dynamic_cast<framework::TGraphicControl*>(SkinnedControl());
  if (!control || painting_)
    return;
  const framework::TMuteScope<bool> guard(painting_);
  const gfx::TRect rect{0, 0, control->Width(), control->Height()};
  if (rect.IsEmpty())
    return;
  try {
    if (dc) {
      DrawSpeedButton(dc, rect, *control);
      return;
    }
    // The Canvas is the parent's paint surface, set up for this control.
    framework::TCanvas& canvas = control->Canvas();
    const framework::TCanvasLock lock(canvas);
    const framework::TCanvasDC canvasDC(canvas);
    if (canvasDC.DC())
      DrawSpeedButton(canvasDC.DC(), rect, *control);
  } catch (...) {
    // A face that cannot be built ends this paint; the button still works.
  }
}

void TSkinSpeedButton::DrawSpeedButton(HDC dc, const gfx::TRect& rect, const framework::TControl& control)
{
  TSpeedButtonLook speed;
  speed.Down = ReadsTrue(control, "Down");
  speed.Disabled = !ReadsTrue(control, "Enabled");
  speed.Pressed = look_ & lbPressed;
  speed.Hot = look_ & lbHot;
  speed.Flat = ReadsTrue(control, "Flat");
  TButtonLook look;
  look.Pressed = speed.Down || speed.Pressed;
  look.Hot = speed.Hot;
  look.Disabled = speed.Disabled && !speed.Down;
  enabledLook_ = !speed.Disabled;
  focused_ = false;
  caption_ = SplitCaption(ReadCaption());
  DrawButton(dc, rect, look, SpeedButtonFace(speed));
}

} // namespace skin
