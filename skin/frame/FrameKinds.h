#pragma once
// The few facts about a skinned window that both the frame and its caption
// buttons reason about. Plain enumerations, no platform header, so that the
// rules built on them are tested natively.
#include <cstdint>

namespace skin {

// The kinds of border a frame gives its window.
enum TFrameBorderKind : uint8_t { fbSizeable = 0, fbFixed = 1, fbNoCaption = 2, fbDialog = 3 };

// Bits of the border icons a window asks for.
enum TFrameBorderIcon : uint8_t {
  fiMaximize = 1u << 0,
  fiMinimize = 1u << 1,
  fiHelp = 1u << 2,
  fiSystemMenu = 1u << 3,
  // The frame leaves the window's style alone (WS_SYSMENU stays on).
  fiKeepStyle = 1u << 4,
};

// Show states as the frame tracks them.
enum TFrameShowState : uint8_t { ssNormal = 0, ssMaximized = 1, ssMinimized = 2 };

// Which menu the next pop-up menu window belongs to; the manager chooses the
// pop-up skinner's look from it.
enum TPopupKind : uint8_t { pkContextMenu = 0, pkMenuBar = 1, pkSystemMenu = 2 };

} // namespace skin
