#pragma once
// What the caption buttons read off the window behind their host: its state
// for the rules, its MDI children, and points in its own coordinates.
#include <windows.h>

#include "gfx/Geometry.h"
#include "skin/frame/CaptionHost.h"
#include "skin/frame/CaptionRules.h"

namespace skin {

// Sent to the window for buttons whose Action the skin library does not
// know (wParam = Action) and asked of it for custom visibility codes
// (wParam = code, lParam = Action; an answer above 0 shows the button).
inline constexpr UINT kCaptionCustomAction = 0x3514;
inline constexpr UINT kCaptionCustomVisible = 0x3515;

// The active child of an MDI frame, nullptr when the host is none or has no
// active child; maximized tells whether that child is maximised.
[[nodiscard]] HWND ActiveMdiChild(const TCaptionHost& host, bool* maximized = nullptr);

// The window's state as the caption-button rules read it, asking the window
// itself about custom visibility codes.
[[nodiscard]] TCaptionWindow CaptionWindowOf(const TCaptionHost& host);

// A screen point in coordinates of the whole window (0, 0 at the top-left
// corner of its window rectangle), and back.
[[nodiscard]] gfx::TPoint ScreenToWindowPoint(HWND window, POINT screen);
[[nodiscard]] POINT WindowToScreenPoint(HWND window, gfx::TPoint point);

} // namespace skin
