#include "skin/frame/BarMenuTracking.h"

#include "framework/win32/Hooks.h"
#include "skin/frame/WinSkinMenu.h"
#include "skin/win32/SkinManage.h"

namespace skin {

namespace {

POINT ScreenPointOf(HWND window, gfx::TPoint windowPoint)
{
  RECT r{};
  GetWindowRect(window, &r);
  return {r.left + windowPoint.X, r.top + windowPoint.Y};
}

gfx::TPoint WindowPointOf(HWND window, POINT screen)
{
  RECT r{};
  GetWindowRect(window, &r);
  return {screen.x - r.left, screen.y - r.top};
}

// The visible menu window of this thread (the loop reads its keys from the
// thread's queue, so the owner does as well when there is none).
HWND MenuWindow(HWND owner)
{
  HWND menu = FindWindowW(L"#32768", nullptr);
  if (menu && IsWindowVisible(menu) && GetWindowThreadProcessId(menu, nullptr) == GetCurrentThreadId())
    return menu;
  return owner;
}

} // namespace

void MakeOwnerDrawn(HMENU menu)
{
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_SUBMENU;
    if (!GetMenuItemInfoW(menu, UINT(i), TRUE, &info))
      continue;
    if (!(info.fType & MFT_OWNERDRAW)) {
      info.fMask = MIIM_FTYPE;
      info.fType |= MFT_OWNERDRAW;
      SetMenuItemInfoW(menu, UINT(i), TRUE, &info);
    }
    if (info.hSubMenu)
      MakeOwnerDrawn(info.hSubMenu);
  }
}

TBarMenuTracking::TBarMenuTracking(HWND window, TWinSkinMenu& bar, TSkinManage& manager, bool rightToLeft)
  : window_(window), bar_(bar), manager_(manager), rightToLeft_(rightToLeft)
{
}

bool TBarMenuTracking::Open(TMenuBtn& button)
{
  // A bar item without a drop-down is a command of its own.
  PostMessageW(window_, WM_COMMAND, button.Command(), 0);
  if (!button.DropDown())
    return false;
  TMenuBtn* next = &button;
  while (next) {
    pending_ = nullptr;
    Track(*next);
    next = pending_;
    if (next)
      PostMessageW(window_, WM_COMMAND, next->Command(), 0);
    if (next && !next->DropDown())
      next = nullptr;
  }
  return true;
}

void TBarMenuTracking::Track(TMenuBtn& button)
{
  index_ = button.Index();
  MakeOwnerDrawn(button.DropDown());
  menuOpen_ = true;
  manager_.SetPopupKind(pkMenuBar);
  manager_.SetMenuBarTracking(true);
  tracked_ = button.DropDown();
  bar_.SetHot(&button);
  button.Press();
  firstFilter_ = true;
  switching_ = false;
  selectedMenu_ = nullptr;
  selectedHasChildren_ = false;
  GetCursorPos(&lastCursor_);
  {
    const framework::TThreadHook filter(WH_MSGFILTER, [this](int code, WPARAM, LPARAM lParam) {
      return Filter(code, *reinterpret_cast<MSG*>(lParam));
    });
    if (button.Enabled()) {
      const gfx::TRect& r = button.Rect();
      const POINT at = ScreenPointOf(window_, {rightToLeft_ ? r.Right : r.Left, r.Bottom});
      TrackPopupMenu(button.DropDown(), TPM_NONOTIFY | TPM_RIGHTBUTTON | (rightToLeft_ ? TPM_RIGHTALIGN : 0u), at.x,
                     at.y, 0, window_, nullptr);
    }
  }
  menuOpen_ = false;
  tracked_ = nullptr;
  index_ = -1;
  selectedMenu_ = nullptr;
  bar_.LeaveHot();
}

void TBarMenuTracking::SwitchTo(TMenuBtn& button)
{
  if (!menuOpen_ || button.Index() == index_)
    return;
  pending_ = &button;
  EndMenu();
}

void TBarMenuTracking::RequestSwitch(TMenuBtn* button)
{
  if (!button || button->Index() == index_)
    return;
  switching_ = true;
  const gfx::TRect& r = button->Rect();
  const POINT at = ScreenPointOf(window_, {r.Left + 1, r.Top + 1});
  PostMessageW(window_, WM_NCLBUTTONDOWN, kSwitchHitTest, MAKELPARAM(at.x, at.y));
}

void TBarMenuTracking::MenuSelected(WPARAM wParam, LPARAM lParam)
{
  const auto menu = reinterpret_cast<HMENU>(lParam);
  if (HIWORD(wParam) == 0xFFFF && !menu) {
    if (!switching_)
      menuOpen_ = false;
    return;
  }
  switching_ = false;
  selectedMenu_ = menu;
  selectedHasChildren_ = (HIWORD(wParam) & MF_POPUP) != 0;
}

std::optional<LRESULT> TBarMenuTracking::Filter(int code, MSG& message)
{
  // Right-to-left bars run the other way.
  if (rightToLeft_ && (message.message == WM_KEYDOWN) && (message.wParam == VK_LEFT || message.wParam == VK_RIGHT))
    message.wParam = message.wParam == VK_LEFT ? VK_RIGHT : VK_LEFT;
  if (code != MSGF_MENU)
    return std::nullopt;
  if (firstFilter_) {
    // The first item is selected as the menu opens, as with the system's bar.
    firstFilter_ = false;
    PostMessageW(MenuWindow(window_), WM_KEYDOWN, VK_DOWN, 0);
  }
  switch (message.message) {
  case WM_KEYDOWN:
    if (KeyDown(message))
      return 1;
    break;
  case WM_SYSKEYDOWN:
    if (message.wParam == VK_MENU)
      menuOpen_ = false;
    break;
  case WM_MOUSEMOVE: {
    // The cursor itself, not the message's point: a move queued before the
    // last switch can still arrive in the new menu's loop, at the old button.
    POINT cursor{};
    GetCursorPos(&cursor);
    if (cursor.x == lastCursor_.x && cursor.y == lastCursor_.y)
      break;
    lastCursor_ = cursor;
    if (TMenuBtn* button = bar_.ButtonAt(WindowPointOf(window_, cursor)))
      RequestSwitch(button);
    break;
  }
  default: break;
  }
  return std::nullopt;
}

// Left past the open menu's own items and right past an item without
// children move along the bar, wrapping at its ends.
bool TBarMenuTracking::KeyDown(MSG& message)
{
  switch (message.wParam) {
  case VK_RETURN:
  case VK_ESCAPE: switching_ = false; return false;
  case VK_LEFT:
    if (selectedMenu_ && selectedMenu_ != tracked_)
      return false;
    RequestSwitch(bar_.Neighbour(index_, -1));
    return true;
  case VK_RIGHT:
    if (selectedMenu_ && selectedHasChildren_)
      return false;
    RequestSwitch(bar_.Neighbour(index_, 1));
    return true;
  default: return false;
  }
}

} // namespace skin
