#include "skin/controls/SkinScControl.h"

#include "framework/win32/Messages.h"

namespace skin {

namespace {

// The scroll-bar control tells its object of the user's scrolling as a
// reflected WM_VSCROLL; its bar then moves through SBM_SETSCROLLINFO.
constexpr UINT kReflectedVScroll = framework::CN_VSCROLL;

} // namespace

void TSkinScControl::AttachControl(TWinSkinForm& form, TSkinData& data, framework::TWinControl& control, bool)
{
  if (Life() != clNew)
    return;
  TSkinControl::AttachControl(form, data, control, false);
  overlay_ = std::make_unique<TWScrollbar>(data, Window(), okControl, ParentColour(), &control);
  overlay_->SetShowHint(control.ShowHint());
  overlay_->SetHint(control.Hint());
  if (control.Visible())
    overlay_->Reposition();
}

void TSkinScControl::Unskin()
{
  if (!SkinActive())
    return;
  TSkinControl::Unskin();
  if (Life() != clDestroyed)
    overlay_.reset();
}

void TSkinScControl::AfterMessage(framework::TMessage& message)
{
  if (!overlay_) {
    TSkinControl::AfterMessage(message);
    return;
  }
  switch (message.Msg) {
  case WM_WINDOWPOSCHANGED:
  case WM_NCPAINT:
    overlay_->Reposition();
    break;
  case SBM_SETSCROLLINFO:
  case kReflectedVScroll:
    overlay_->Invalidate();
    break;
  case framework::CM_VISIBLECHANGED:
    if (message.WParam)
      overlay_->Reposition();
    else
      overlay_->HideOverlay();
    break;
  default:
    TSkinControl::AfterMessage(message);
    break;
  }
}

void TSkinScControl::DrawSkin(HDC, const gfx::TRect&)
{
  if (overlay_)
    overlay_->Invalidate();
}

} // namespace skin
