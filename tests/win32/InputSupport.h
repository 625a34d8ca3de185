#pragma once
// Real input for the Win32 suites: the mouse moved and clicked and keys
// pressed through SendInput, so that messages arrive the way a user's would
// (hit testing, capture, focus, the system's own menus and hooks included),
// and the message pumping that lets the windows of the test's thread see them.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <iterator>

namespace testsupport {

// ---- message pumping -----------------------------------------------------------

// Dispatches every message waiting for the thread, translating keys into
// characters as an application's loop does.
inline void DispatchPending()
{
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// Pumps for at least the given time: input injected through SendInput, and
// the painting it causes, reach the thread's queue a little later.
inline void PumpMessages(int32_t milliseconds = 50)
{
  const DWORD start = GetTickCount();
  do {
    DispatchPending();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  } while (int32_t(GetTickCount() - start) < milliseconds);
  DispatchPending();
}

// Pumps until the condition holds or the time is up; tells which.
inline bool PumpUntil(const std::function<bool()>& condition, int32_t timeoutMs = 3000)
{
  const DWORD start = GetTickCount();
  for (;;) {
    DispatchPending();
    if (condition())
      return true;
    if (int32_t(GetTickCount() - start) >= timeoutMs)
      return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

// Shows the window on top, active and with the keyboard focus; pumps until
// the system agrees it is in front.
inline bool BringToFront(HWND window, int32_t timeoutMs = 3000)
{
  ShowWindow(window, SW_SHOW);
  SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  SetForegroundWindow(window);
  SetActiveWindow(window);
  SetFocus(window);
  UpdateWindow(window);
  return PumpUntil([window] { return GetForegroundWindow() == window; }, timeoutMs);
}

// ---- mouse ---------------------------------------------------------------------

// A screen coordinate as SendInput's absolute coordinates over the virtual
// screen: 0 at its left (top) edge, 65535 at its right (bottom) one. The
// value is rounded up, so that the system's conversion back, which scales by
// the screen size and truncates, lands on the pixel itself and not its
// neighbour to the left.
inline LONG NormalisedX(int32_t x)
{
  const int32_t left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int32_t width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  return LONG((int64_t(x - left) * 65536 + width - 1) / width);
}
inline LONG NormalisedY(int32_t y)
{
  const int32_t top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int32_t height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  return LONG((int64_t(y - top) * 65536 + height - 1) / height);
}

inline bool SendMouse(DWORD flags, POINT screen)
{
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = NormalisedX(screen.x);
  input.mi.dy = NormalisedY(screen.y);
  input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
  return SendInput(1, &input, sizeof(INPUT)) == 1;
}

inline bool CursorAt(POINT screen)
{
  POINT at{};
  return GetCursorPos(&at) && at.x == screen.x && at.y == screen.y;
}

// Moves the cursor to a point of the screen and waits until it stays there.
// Under Wine the move also warps the display's pointer, and a motion event
// from before the warp can still arrive and put the cursor back where it
// was; a button pressed then would land there. So the move is checked after
// a pause and sent again when it did not hold.
inline bool MoveMouse(POINT screen)
{
  for (int32_t attempt = 0; attempt < 4; ++attempt) {
    if (!SendMouse(MOUSEEVENTF_MOVE, screen))
      return false;
    if (PumpUntil([screen] { return CursorAt(screen); }, 500)) {
      PumpMessages(30);
      if (CursorAt(screen))
        return true;
    }
  }
  return false;
}

// Puts the cursor back where it was when the owner was made, so that a suite
// leaves no hover behind for the windows of the next one.
class TCursorRestorer {
public:
  TCursorRestorer() { GetCursorPos(&saved_); }
  TCursorRestorer(const TCursorRestorer&) = delete;
  TCursorRestorer& operator=(const TCursorRestorer&) = delete;
  ~TCursorRestorer() { MoveMouse(saved_); }

private:
  POINT saved_{};
};

enum class TMouseButton { Left, Right, Middle };

inline DWORD DownFlag(TMouseButton button)
{
  switch (button) {
  case TMouseButton::Right: return MOUSEEVENTF_RIGHTDOWN;
  case TMouseButton::Middle: return MOUSEEVENTF_MIDDLEDOWN;
  default: return MOUSEEVENTF_LEFTDOWN;
  }
}
inline DWORD UpFlag(TMouseButton button)
{
  switch (button) {
  case TMouseButton::Right: return MOUSEEVENTF_RIGHTUP;
  case TMouseButton::Middle: return MOUSEEVENTF_MIDDLEUP;
  default: return MOUSEEVENTF_LEFTUP;
  }
}

// Presses or releases a button at a point; the suites that check pressed
// looks press, read pixels, then release. The cursor is moved there and
// waited for first, and the button event carries the position once more:
// under Wine a button event without one can be placed where the display's
// pointer was before the last warp, not where the cursor is.
inline bool MouseDown(POINT screen, TMouseButton button = TMouseButton::Left)
{
  if (!MoveMouse(screen) || !SendMouse(MOUSEEVENTF_MOVE | DownFlag(button), screen))
    return false;
  PumpMessages(30);
  return true;
}
inline bool MouseUp(POINT screen, TMouseButton button = TMouseButton::Left)
{
  if (!MoveMouse(screen) || !SendMouse(MOUSEEVENTF_MOVE | UpFlag(button), screen))
    return false;
  PumpMessages(30);
  return true;
}

// Moves there, presses and releases.
inline bool Click(POINT screen, TMouseButton button = TMouseButton::Left)
{
  return MouseDown(screen, button) && MouseUp(screen, button);
}

// A click at a point of the window's client area.
inline bool ClickClient(HWND window, POINT client, TMouseButton button = TMouseButton::Left)
{
  ClientToScreen(window, &client);
  return Click(client, button);
}

// ---- keyboard ------------------------------------------------------------------

// Keys whose scan codes carry the extended prefix: the arrows and the block
// above them, the right-hand Ctrl and Alt, the keypad's divide and Enter keys
// have no virtual key of their own and are left out.
inline bool IsExtendedKey(WORD vk)
{
  switch (vk) {
  case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
  case VK_INSERT: case VK_DELETE: case VK_HOME: case VK_END: case VK_PRIOR: case VK_NEXT:
  case VK_RCONTROL: case VK_RMENU: case VK_DIVIDE: case VK_NUMLOCK: case VK_LWIN: case VK_RWIN: case VK_APPS:
    return true;
  default:
    return false;
  }
}

// One key going down or up: the virtual key together with its scan code, so
// that WM_KEYDOWN's lParam carries the scan code and the extended flag as a
// keyboard's would.
inline bool SendKey(WORD vk, bool up)
{
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.wScan = WORD(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (IsExtendedKey(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
  return SendInput(1, &input, sizeof(INPUT)) == 1;
}

inline bool KeyDown(WORD vk)
{
  const bool sent = SendKey(vk, false);
  PumpMessages(20);
  return sent;
}
inline bool KeyUp(WORD vk)
{
  const bool sent = SendKey(vk, true);
  PumpMessages(20);
  return sent;
}

// Presses and releases a key, with the modifiers (VK_SHIFT, VK_CONTROL,
// VK_MENU) held around it in order and released in reverse.
inline bool PressKey(WORD vk, std::initializer_list<WORD> modifiers = {})
{
  bool sent = true;
  for (const WORD m : modifiers)
    sent = SendKey(m, false) && sent;
  sent = SendKey(vk, false) && SendKey(vk, true) && sent;
  for (auto m = std::rbegin(modifiers); m != std::rend(modifiers); ++m)
    sent = SendKey(*m, true) && sent;
  PumpMessages(50);
  return sent;
}

} // namespace testsupport
