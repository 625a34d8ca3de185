#include "framework/win32/Controls.h"

namespace framework {

// ---------------------------------------------------------------------------
// [SECTION] TCustomControl, TGraphicControl

const TClassInfo& TCustomControl::ClassType()
{
  static const TClassInfo info("TCustomControl", &TWinControl::ClassType());
  return info;
}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {}

const TClassInfo& TGraphicControl::ClassType()
{
  static const TClassInfo info("TGraphicControl", &TControl::ClassType());
  return info;
}

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}

void TGraphicControl::WndProc(TMessage& message)
{
  if (message.Msg != WM_PAINT) {
    TControl::WndProc(message);
    return;
  }
  if (paintCanvas_)
    Paint();
  message.Result = 0;
}

TCanvas& TGraphicControl::Canvas()
{
  if (paintCanvas_)
    return *paintCanvas_;
  if (!idleCanvas_)
    idleCanvas_ = std::make_unique<TCanvas>();
  return *idleCanvas_;
}

} // namespace framework
