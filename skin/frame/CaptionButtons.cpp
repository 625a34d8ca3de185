#include "skin/frame/CaptionButtons.h"

#include "framework/win32/Forms.h"
#include "framework/win32/Hooks.h"
#include "skin/BitmapUtils.h"
#include "skin/SkinData.h"
#include "skin/frame/CaptionHostFacts.h"
#include "skin/frame/SkinnedSystemMenu.h"
#include "skin/frame/WinSysButton.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdint>
#include <string>

namespace skin {

namespace {

POINT PointOf(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

// The hint timing follows the application's; without an application the
// framework's defaults answer.
int32_t HintPause() { return framework::Application ? framework::Application->HintPause() : 500; }
int32_t HintHidePause() { return framework::Application ? framework::Application->HintHidePause() : 2500; }

// Below the pointer, clear of the cursor's arrow.
constexpr int32_t kHintBelowPointer = 24;

} // namespace

TCaptionButtons::TCaptionButtons(TCaptionHost& host) : host_(host) {}

TCaptionButtons::~TCaptionButtons() = default;

// ----- Building and painting ---------------------------------------------------

void TCaptionButtons::Rebuild()
{
  Clear();
  const framework::TBitmap& icon = host_.IconBitmap();
  for (const auto& element : host_.SkinData().CaptionButtons) {
    if (!element)
      continue;
    // An icon button the skin drew no image for is as large as the icon.
    if (IsWindowIconAction(element->Action) && element->Image.Empty() && !icon.Empty()) {
      CopyBitmap(icon, element->Image);
      element->Frame = 1;
    }
    buttons_.push_back(std::make_unique<TWinSysButton>(*element, host_));
  }
}

void TCaptionButtons::Clear()
{
  hot_ = nullptr;
  hoverMs_ = 0;
  host_.SkinData().HideHint();
  buttons_.clear();
}

bool TCaptionButtons::Empty() const { return buttons_.empty(); }

void TCaptionButtons::PaintInCaption(HDC dc, int32_t windowWidth)
{
  const TCaptionWindow window = CaptionWindowOf(host_);
  TCaptionLayout layout;
  layout.WindowWidth = windowWidth;
  layout.Title = host_.TitleRect();
  layout.RightWidth = host_.RightWidth();
  layout.TopHeight = host_.TopHeight();
  layout.MenuHeight = host_.MenuHeight();
  layout.MenuBarLeftWidth = host_.SkinData().MenuBar ? host_.SkinData().MenuBar->LeftWidth : 0;
  for (const auto& button : buttons_) {
    button->Update(window);
    if (!button->Clickable())
      continue;
    button->Place(layout);
    // The skinned menu bar draws the buttons that live in it.
    if (!button->InMenuBar())
      button->DrawInBand(dc, window.Active);
  }
}

void TCaptionButtons::PaintInMenuBar(HDC dc) const
{
  for (const auto& button : buttons_)
    if (button->Clickable() && button->InMenuBar())
      button->DrawInMenuBar(dc);
}

std::optional<int32_t> TCaptionButtons::MenuBarLeft() const
{
  std::optional<int32_t> left;
  for (const auto& button : buttons_)
    if (button->Clickable() && button->InMenuBar())
      left = std::min(left.value_or(INT32_MAX), button->Rect().Left);
  return left;
}

int32_t TCaptionButtons::RightButtonsReach() const
{
  int32_t reach = 0;
  for (const auto& button : buttons_)
    if (button->Visible() && button->Element().Align == 1)
      reach = std::max(reach, button->Element().XCoord);
  return reach;
}

// ----- The hot object ----------------------------------------------------------------

TWinSysButton* TCaptionButtons::ButtonAt(gfx::TPoint windowPoint) const
{
  for (const auto& button : buttons_)
    if (button->Clickable() && button->Contains(windowPoint))
      return button.get();
  return nullptr;
}

TWinSysButton* TCaptionButtons::HotButton() const
{
  for (const auto& button : buttons_)
    if (button.get() == hot_)
      return button.get();
  return nullptr;
}

// The frame keeps one hot object: the one it had lets go first.
void TCaptionButtons::MakeHot(TNCObject* object)
{
  if (hot_ == object)
    return;
  if (hot_)
    hot_->Leave();
  hot_ = object;
  hoverMs_ = 0;
  host_.SkinData().HideHint();
}

void TCaptionButtons::LeaveHot() { MakeHot(nullptr); }

// ----- Mouse ---------------------------------------------------------------------------

std::optional<LRESULT> TCaptionButtons::HandleMouse(UINT message, WPARAM wParam, LPARAM lParam)
{
  const POINT screen = PointOf(lParam);
  const gfx::TPoint at = ScreenToWindowPoint(host_.Window(), screen);
  switch (message) {
  case WM_NCMOUSEMOVE: return MouseMove(at);
  case WM_NCLBUTTONDOWN: return LeftDown(wParam, lParam, at);
  case WM_NCLBUTTONUP: return LeftUp(at, screen);
  case WM_NCLBUTTONDBLCLK: return DoubleClick(wParam, lParam, at);
  case WM_NCRBUTTONDOWN: return RightDown(wParam, at, screen);
  case WM_NCRBUTTONUP: return OnCaption(wParam, at) ? std::optional<LRESULT>(0) : std::nullopt;
  default: return std::nullopt;
  }
}

// An inactive window's buttons do not light up under a passing mouse.
std::optional<LRESULT> TCaptionButtons::MouseMove(gfx::TPoint at)
{
  if (!host_.Active())
    return std::nullopt;
  if (TWinSysButton* button = ButtonAt(at)) {
    if (button != hot_) {
      MakeHot(button);
      button->Enter();
    }
    return 0;
  }
  MakeHot(nullptr);
  return std::nullopt;
}

std::optional<LRESULT> TCaptionButtons::LeftDown(WPARAM hitTest, LPARAM lParam, gfx::TPoint at)
{
  host_.SkinData().HideHint();
  if (TWinSysButton* button = ButtonAt(at)) {
    if (!host_.Active())
      SetForegroundWindow(host_.Window());
    MakeHot(button);
    button->Press();
    return 0;
  }
  // A maximised window fills the screen: its caption must not start a drag.
  if (hitTest == HTCAPTION && host_.ShowState() == ssMaximized && host_.Active())
    return host_.PassOn(WM_NCLBUTTONDOWN, HTMENU, lParam);
  return std::nullopt;
}

std::optional<LRESULT> TCaptionButtons::LeftUp(gfx::TPoint at, POINT screen)
{
  host_.SkinData().HideHint();
  TWinSysButton* pressed = HotButton();
  if (!pressed || pressed->DrawState() != dsPressed)
    return std::nullopt;
  if (ButtonAt(at) != pressed) {
    // Released elsewhere: the press is called off.
    MakeHot(nullptr);
    return std::nullopt;
  }
  pressed->Release();
  RunAction(*pressed, screen);
  return 0;
}

std::optional<LRESULT> TCaptionButtons::DoubleClick(WPARAM hitTest, LPARAM lParam, gfx::TPoint at)
{
  if (TWinSysButton* button = ButtonAt(at)) {
    if (button->ShowsIcon()) {
      host_.StopTimer();
      PostSysCommand(SC_CLOSE);
      return 0;
    }
    // The second click of a quick pair on any other button is a click of its own.
    return LeftDown(hitTest, lParam, at);
  }
  if (hitTest != HTCAPTION)
    return std::nullopt;
  if (host_.ShowState() != ssNormal) {
    host_.SetShowState(ssNormal);
    PostSysCommand(SC_RESTORE);
    return 0;
  }
  if (host_.BorderIcons() & fiMaximize) {
    host_.SetShowState(ssMaximized);
    PostSysCommand(SC_MAXIMIZE);
    return 0;
  }
  return std::nullopt;
}

// MDI children leave their caption's right button to the system.
bool TCaptionButtons::OnCaption(WPARAM hitTest, gfx::TPoint at) const
{
  return !host_.IsMdiChild() && (hitTest == HTCAPTION || ButtonAt(at));
}

std::optional<LRESULT> TCaptionButtons::RightDown(WPARAM hitTest, gfx::TPoint at, POINT screen)
{
  if (!OnCaption(hitTest, at))
    return std::nullopt;
  OpenSystemMenu(screen);
  return 0;
}

// ----- Actions ---------------------------------------------------------------------------

void TCaptionButtons::RunAction(const TWinSysButton& button, POINT screen)
{
  switch (CaptionCommand(button.Action())) {
  case ccClose: Close(); break;
  case ccMaximize:
    if (button.Enabled())
      ToggleMaximized();
    break;
  case ccMinimize:
    if (button.Enabled())
      ToggleMinimized();
    break;
  case ccSystemMenu: OpenSystemMenu({screen.x + 1, screen.y + 1}); break;
  case ccContextHelp: PostSysCommand(SC_CONTEXTHELP); break;
  case ccMdiChildMinimize: SendToActiveMdiChild(SC_MINIMIZE); break;
  case ccMdiChildRestore: SendToActiveMdiChild(SC_RESTORE); break;
  case ccMdiChildClose: SendToActiveMdiChild(SC_CLOSE); break;
  case ccCustom: PostMessageW(host_.Window(), kCaptionCustomAction, WPARAM(button.Action()), 0); break;
  }
}

void TCaptionButtons::PostSysCommand(UINT command) const { PostMessageW(host_.Window(), WM_SYSCOMMAND, command, 0); }

// Only a window whose system menu offers closing is closed by the button.
void TCaptionButtons::Close()
{
  HMENU menu = host_.SystemMenu();
  if (!menu || GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND) == UINT(-1))
    return;
  host_.StopTimer();
  PostSysCommand(SC_CLOSE);
}

void TCaptionButtons::ToggleMaximized()
{
  if (host_.ShowState() == ssMaximized) {
    host_.SetShowState(ssNormal);
    PostSysCommand(SC_RESTORE);
    return;
  }
  if (host_.IsMdiChild())
    host_.SetMdiMenuState(true);
  host_.SetShowState(ssMaximized);
  PostSysCommand(SC_MAXIMIZE);
}

void TCaptionButtons::ToggleMinimized()
{
  if (host_.ShowState() == ssMinimized) {
    host_.SetShowState(ssNormal);
    PostSysCommand(SC_RESTORE);
    return;
  }
  host_.SetShowState(ssMinimized);
  // A minimised window is reached through its system menu (the task bar's
  // button); the frame took the style bit off only to keep the system from
  // drawing caption buttons of its own.
  HWND window = host_.Window();
  SetWindowLongPtrW(window, GWL_STYLE, GetWindowLongPtrW(window, GWL_STYLE) | WS_SYSMENU);
  PostSysCommand(SC_MINIMIZE);
}

void TCaptionButtons::SendToActiveMdiChild(UINT command) const
{
  if (HWND child = ActiveMdiChild(host_))
    SendMessageW(child, WM_SYSCOMMAND, command, 0);
}

// ----- Hover and hints ------------------------------------------------------------------

void TCaptionButtons::TimerTick(uint32_t intervalMs)
{
  if (!hot_ || menuOpen_ || !host_.Active())
    return;
  POINT cursor{};
  GetCursorPos(&cursor);
  if (!hot_->Contains(ScreenToWindowPoint(host_.Window(), cursor))) {
    MakeHot(nullptr);
    return;
  }
  const TWinSysButton* button = HotButton();
  if (!button)
    return;
  hoverMs_ += intervalMs;
  switch (HintPhase(int32_t(std::min<uint32_t>(hoverMs_, INT32_MAX)), HintPause(), HintHidePause())) {
  case hpWaiting: break;
  case hpShowing: ShowHoverHint(*button, cursor); break;
  case hpOver: host_.SkinData().HideHint(); break;
  }
}

void TCaptionButtons::ShowHoverHint(const TWinSysButton& button, POINT cursor)
{
  const std::string_view text = CaptionHint(button.Action());
  if (text.empty())
    return;
  const POINT left = WindowToScreenPoint(host_.Window(), {button.Rect().Left, 0});
  host_.SkinData().ShowHint({int32_t(left.x), int32_t(cursor.y + kHintBelowPointer)}, std::string(text));
}

// ----- The skinned system menu ----------------------------------------------------------

void TCaptionButtons::OpenSystemMenu(POINT screenPoint)
{
  // Two requests in quick succession on a caption button are a double click
  // on it, and close the window as the system's icon does.
  const DWORD now = GetTickCount();
  if (hot_ && lastMenuRequest_ && now - *lastMenuRequest_ < GetDoubleClickTime()) {
    CloseOnDoubleClick();
    return;
  }
  host_.SetPopupKind(pkSystemMenu);
  lastMenuRequest_ = now;
  const TMenuOwner menu = BuildSkinnedSystemMenu(host_);
  if (!menu)
    return;
  host_.SkinData().HideHint();
  // A second press on the button that opened the menu, soon after, is the
  // second click of a double click. The menu's own loop would take it (the
  // menu may even lie under it), so it is caught as the loop reads it.
  const gfx::TRect opener = hot_ ? hot_->Rect() : gfx::TRect{};
  bool pressedOpener = false;
  const framework::TThreadHook watch(WH_GETMESSAGE, [&](int code, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
    auto* message = reinterpret_cast<MSG*>(lParam);
    if (code != HC_ACTION || !message ||
        (message->message != WM_LBUTTONDOWN && message->message != WM_NCLBUTTONDOWN))
      return std::nullopt;
    if (!opener.Contains(ScreenToWindowPoint(host_.Window(), message->pt)) ||
        GetTickCount() - now >= GetDoubleClickTime())
      return std::nullopt;
    pressedOpener = true;
    message->message = WM_NULL;
    EndMenu();
    return std::nullopt;
  });
  menuOpen_ = true;
  host_.SystemMenuOpening(menu.Get());
  const UINT command = TrackSkinnedSystemMenu(host_, menu.Get(), screenPoint);
  host_.SystemMenuClosed();
  menuOpen_ = false;
  if (command) {
    PostSysCommand(command);
  } else if (pressedOpener) {
    CloseOnDoubleClick();
  }
}

void TCaptionButtons::CloseOnDoubleClick()
{
  lastMenuRequest_.reset();
  host_.StopTimer();
  PostMessageW(host_.Window(), WM_CLOSE, 0, 0);
}

} // namespace skin
