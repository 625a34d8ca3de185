#include "skin/frame/CaptionHostFacts.h"

namespace skin {

HWND ActiveMdiChild(const TCaptionHost& host, bool* maximized)
{
  if (maximized)
    *maximized = false;
  if (!host.IsMdiFrame())
    return nullptr;
  HWND client = FindWindowExW(host.Window(), nullptr, L"MDIClient", nullptr);
  if (!client)
    return nullptr;
  BOOL zoomed = FALSE;
  HWND child = reinterpret_cast<HWND>(SendMessageW(client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&zoomed)));
  if (maximized)
    *maximized = child && zoomed;
  return child;
}

TCaptionWindow CaptionWindowOf(const TCaptionHost& host)
{
  TCaptionWindow w;
  w.ShowState = host.ShowState();
  w.Active = host.Active();
  w.BorderIcons = host.BorderIcons();
  w.BorderKind = host.BorderKind();
  w.ClassName = host.WindowClassName();
  if (host.HasSkinnedMenuBar()) {
    bool childMaximized = false;
    (void)ActiveMdiChild(host, &childMaximized);
    w.MdiChildMaximizedInBar = childMaximized;
  }
  HWND window = host.Window();
  w.AskCustomVisible = [window](int32_t code, int32_t action) {
    return SendMessageW(window, kCaptionCustomVisible, WPARAM(code), LPARAM(action)) > 0;
  };
  return w;
}

gfx::TPoint ScreenToWindowPoint(HWND window, POINT screen)
{
  RECT r{};
  GetWindowRect(window, &r);
  return {int32_t(screen.x - r.left), int32_t(screen.y - r.top)};
}

POINT WindowToScreenPoint(HWND window, gfx::TPoint point)
{
  RECT r{};
  GetWindowRect(window, &r);
  return {LONG(r.left + point.X), LONG(r.top + point.Y)};
}

} // namespace skin
