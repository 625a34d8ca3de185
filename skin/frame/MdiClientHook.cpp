#include "skin/frame/MdiClientHook.h"

#include "skin/SkinData.h"
#include "skin/frame/WinSkinForm.h"
#include "skin/win32/SkinManage.h"

namespace skin {

namespace {

constexpr LONG_PTR kScrollBars = WS_HSCROLL | WS_VSCROLL;

LONG_PTR StyleOf(HWND window) { return GetWindowLongPtrW(window, GWL_STYLE); }

} // namespace

TMdiClientHook::TMdiClientHook(TWinSkinForm& frame, TSkinManage& manager, HWND client)
  : frame_(frame), manager_(manager), client_(client), scrollBars_(StyleOf(client) & kScrollBars),
    menuUpdate_(frame.SkinData().MenuUpdate())
{
  Install(client_);
}

TMdiClientHook::~TMdiClientHook()
{
  if (!Installed())
    return;
  Remove();
  const LONG_PTR style = StyleOf(client_);
  if ((style & kScrollBars) != scrollBars_) {
    SetWindowLongPtrW(client_, GWL_STYLE, (style & ~kScrollBars) | scrollBars_);
    SetWindowPos(client_, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
}

LRESULT TMdiClientHook::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
  switch (message) {
  case WM_NCCALCSIZE:
    KeepScrollBarsOff();
    break;
  case WM_MDICREATE:
    frame_.SkinData().SetMenuUpdate(false);
    break;
  case WM_MDIDESTROY: {
    const LRESULT result = CallPrevious(message, wParam, lParam);
    DocumentDestroyed();
    return result;
  }
  case WM_MDITILE:
  case WM_MDICASCADE:
    // Arranged documents are all in their normal state.
    manager_.SetMdiMenuState(false);
    break;
  case WM_MDISETMENU: {
    const LRESULT result = CallPrevious(message, wParam, lParam);
    frame_.MdiMenuSet();
    return result;
  }
  case WM_SKIN_MDI_REDRAW:
    RedrawWindow(frame_.Window(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    return 0;
  default:
    break;
  }
  return CallPrevious(message, wParam, lParam);
}

void TMdiClientHook::KeepScrollBarsOff()
{
  if (!frame_.FrameSkinning() || (frame_.SkinData().Options() & Bit(xoMDIScrollbar)))
    return;
  const LONG_PTR style = StyleOf(client_);
  if (style & kScrollBars)
    SetWindowLongPtrW(client_, GWL_STYLE, style & ~kScrollBars);
}

void TMdiClientHook::DocumentDestroyed()
{
  BOOL maximized = FALSE;
  const auto active =
    reinterpret_cast<HWND>(SendMessageW(client_, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
  manager_.SetMdiMenuState(active && maximized);
  if (active || !frame_.MenuBar())
    return;
  frame_.SkinData().SetMenuUpdate(menuUpdate_);
  frame_.RebuildMenuBar();
}

} // namespace skin
