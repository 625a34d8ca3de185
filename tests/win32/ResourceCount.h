#pragma once
// What the process holds of the system's objects, for endurance checks: GDI
// and USER objects as the system counts them. Wine does not count them
// (GetGuiResources answers 0); there the GDI handles our owners hold and the
// windows of the thread are counted instead.
#include <windows.h>

#include "gfx/win32/GdiHandles.h"

namespace testsupport {

struct TResourceCount {
  long Gdi = 0;
  long User = 0;
  // Whether the figures are the system's own.
  bool System = false;
};

inline BOOL CALLBACK CountChildWindow(HWND, LPARAM count)
{
  ++*reinterpret_cast<long*>(count);
  return TRUE;
}

inline BOOL CALLBACK CountThreadWindow(HWND window, LPARAM count)
{
  ++*reinterpret_cast<long*>(count);
  EnumChildWindows(window, &CountChildWindow, count);
  return TRUE;
}

// The windows of a thread (of any process), their children included.
inline long CountThreadWindows(DWORD thread)
{
  long windows = 0;
  EnumThreadWindows(thread, &CountThreadWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

inline TResourceCount CountResources()
{
  const DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  const DWORD user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  if (gdi != 0 || user != 0)
    return {long(gdi), long(user), true};
  return {gfx::win32::HeldGdiHandles().load(), CountThreadWindows(GetCurrentThreadId()), false};
}

} // namespace testsupport
