#pragma once
// What the system knows of a window's scroll bar: its rectangle on screen,
// the thumb's ends and its state. The call is looked up in user32 by name
// once, so that a system without it still runs the program, with the
// system's own bars.
#include <windows.h>

#include "skin/controls/ScrollBarGeometry.h"

namespace skin::win32 {

// One bar as the overlays and the drop-down list's bar paint it.
struct TScrollBarFacts {
  // The bar's rectangle on screen, arrows included.
  RECT Screen{};
  // The thumb's ends, counted from the bar's start.
  TThumb Thumb;
  // The bar is not shown (its window lacks the style, or the range is empty
  // without a disabled bar asked for).
  bool Invisible = false;
  // The bar is shown disabled.
  bool Unavailable = false;
};

// Whether the system offers GetScrollBarInfo at all.
[[nodiscard]] bool ScrollBarInfoAvailable();

// The facts of the window's bar (OBJID_HSCROLL, OBJID_VSCROLL, or
// OBJID_CLIENT for a scroll-bar control); nothing when the system cannot
// tell.
[[nodiscard]] bool ReadScrollBar(HWND window, LONG object, TScrollBarFacts& facts);

} // namespace skin::win32
