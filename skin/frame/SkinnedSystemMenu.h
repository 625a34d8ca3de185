#pragma once
// The system menu a skinned frame shows instead of the system's own: a copy
// of the window's system menu with each item enabled as the window's state
// allows, tagged so the menu skinning recognises it.
#include <windows.h>

#include "skin/frame/CaptionHost.h"
#include "skin/frame/MenuOwner.h"

namespace skin {

// The menu-info data (MENUINFO.dwMenuData) that marks a skinned system menu.
inline constexpr ULONG_PTR kSystemMenuTag = 33333;

// A copy of the host's system menu: each item's text (a separator when it
// has none), command, checks and enabling, with the window-state rules for
// moving, sizing, minimising, maximising and restoring applied. Each item's
// data is its menu glyph number (-1 for none) for whoever draws the items.
[[nodiscard]] TMenuOwner BuildSkinnedSystemMenu(const TCaptionHost& host);

// Pops the menu up at a screen point and waits for the user: the chosen
// command, or 0 when the menu was dismissed.
[[nodiscard]] UINT TrackSkinnedSystemMenu(const TCaptionHost& host, HMENU menu, POINT screen);

} // namespace skin
