#include "skin/controls/ScrollBarInfo.h"

namespace skin::win32 {

namespace {

using TGetScrollBarInfo = BOOL(WINAPI*)(HWND, LONG, PSCROLLBARINFO);

TGetScrollBarInfo LookUp()
{
  static const TGetScrollBarInfo function = [] {
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<TGetScrollBarInfo>(
                      reinterpret_cast<void*>(GetProcAddress(user32, "GetScrollBarInfo")))
                  : nullptr;
  }();
  return function;
}

} // namespace

bool ScrollBarInfoAvailable() { return LookUp() != nullptr; }

bool ReadScrollBar(HWND window, LONG object, TScrollBarFacts& facts)
{
  const TGetScrollBarInfo get = LookUp();
  if (!get || !window)
    return false;
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  if (!get(window, object, &info))
    return false;
  facts.Screen = info.rcScrollBar;
  facts.Thumb = {info.xyThumbTop, info.xyThumbBottom};
  facts.Invisible = (info.rgstate[0] & STATE_SYSTEM_INVISIBLE) != 0;
  // A disabled window's bars are shown disabled, whatever the bar's own
  // state says.
  facts.Unavailable = (info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) || !IsWindowEnabled(window);
  return true;
}

} // namespace skin::win32
