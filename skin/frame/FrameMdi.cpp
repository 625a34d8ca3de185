// The MDI rules of a skinned frame: an MDI frame watches its client and
// shows a maximised document's buttons in its bar; a document's frame steps
// aside while it is maximised and tells the MDI frame when that changes.
#include "skin/frame/WinSkinForm.h"

#include "skin/frame/CaptionButtons.h"
#include "skin/frame/MdiClientHook.h"
#include "skin/frame/WinSkinMenu.h"
#include "skin/win32/SkinManage.h"

namespace skin {

void TWinSkinForm::AttachMdiClient()
{
  if (mdiChild_)
    return;
  if (HWND client = FindWindowExW(window_, nullptr, L"MDIClient", nullptr))
    mdiClient_ = std::make_unique<TMdiClientHook>(*this, manager_, client);
}

void TWinSkinForm::CorrectMdiChildMenuHeight()
{
  const int32_t systemCaption = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CXFRAME);
  if (borders_.Top < systemCaption)
    menuHeight_ = systemCaption - borders_.Top;
}

std::optional<int32_t> TWinSkinForm::MenuBarButtonsLeft() const { return buttons_->MenuBarLeft(); }

void TWinSkinForm::RebuildMenuBar()
{
  if (!menuBar_)
    return;
  menuBar_->Rebuild();
  RedrawFrame();
}

void TWinSkinForm::MdiMenuSet()
{
  if (state_ != fsRunning || !GetMenu(window_))
    return;
  if (menuBar_)
    menuBar_->BuildAfterMdiSetMenu();
  else
    TakeMenuBar();
  // A frame that had no menu gets the band for its new one.
  if (menuHeight_ == 0 && frameSkinning_) {
    menuHeight_ = GetSystemMetrics(SM_CYMENU);
    ApplyFrame();
  }
  RedrawFrame();
}

void TWinSkinForm::MdiMenuStateChanged()
{
  if (state_ != fsRunning || !frameSkinning_)
    return;
  ReadShowState();
  UpdateRegion();
  RedrawFrame();
  NotifyMdiFrame();
}

void TWinSkinForm::FitMaximizedMdiChild(WINDOWPOS& position) const
{
  RECT area{};
  GetClientRect(GetParent(window_), &area);
  position.x = 0;
  position.y = 0;
  position.cx = area.right - area.left;
  position.cy = area.bottom - area.top;
  position.flags &= ~UINT(SWP_NOMOVE | SWP_NOSIZE);
}

HWND TWinSkinForm::MdiFrameWindow() const
{
  HWND client = mdiChild_ ? GetParent(window_) : nullptr;
  return client ? GetParent(client) : nullptr;
}

void TWinSkinForm::LastDocumentDeactivated()
{
  if (TWinSkinForm* frame = manager_.FrameOf(MdiFrameWindow()))
    frame->RebuildMenuBar();
}

void TWinSkinForm::NotifyMdiFrame() const { PostMessageW(GetParent(window_), WM_SKIN_MDI_REDRAW, 0, 0); }

} // namespace skin
