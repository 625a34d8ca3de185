#pragma once
// The rules of the caption buttons, apart from any window: where a button
// sits, when it shows and takes clicks, which frame of its strip it shows,
// its hint, what its Action does, and how the skinned system menu treats
// each command. The Win32 part gathers the window's facts into a
// TCaptionWindow and carries out what these answer.
#include "gfx/Geometry.h"
#include "skin/frame/FrameKinds.h"
#include "skin/frame/NCObject.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

namespace skin {

class TDataSkinSysButton;

// What the rules need to know of the window at the moment they are asked.
struct TCaptionWindow {
  TFrameShowState ShowState = ssNormal;
  bool Active = true;
  // TFrameBorderIcon bits.
  uint8_t BorderIcons = 0;
  TFrameBorderKind BorderKind = fbSizeable;
  std::string_view ClassName;
  // An MDI frame whose active child is maximised, drawing its menu with a
  // skinned menu bar: the child's buttons then show in that bar.
  bool MdiChildMaximizedInBar = false;
  // Asks the window whether a button with a custom visibility code (1000 to
  // 2000) shows; without an answer such buttons stay hidden.
  std::function<bool(int32_t code, int32_t action)> AskCustomVisible;
};

struct TButtonShow {
  bool Visible = false;
  // Only the maximise and minimise buttons are ever disabled: when the window
  // lacks the box or the system menu.
  bool Enabled = true;
};

// Visibility AND Visibility1, then the rules of the button's Action.
[[nodiscard]] TButtonShow ButtonShow(const TDataSkinSysButton& button, const TCaptionWindow& window);

// Where the frame's geometry places the buttons.
struct TCaptionLayout {
  int32_t WindowWidth = 0;
  // Where the title text was drawn, in window coordinates.
  gfx::TRect Title;
  int32_t RightWidth = 0;
  int32_t TopHeight = 0;
  int32_t MenuHeight = 0;
  // The menu-bar element's left margin; buttons in the menu bar keep clear of it.
  int32_t MenuBarLeftWidth = 0;
};

// The button's rectangle in window coordinates, one frame of its strip wide
// and as high as its image.
[[nodiscard]] gfx::TRect PlaceButton(const TDataSkinSysButton& button, const TCaptionLayout& layout);

// The frame (from 1) a button shows when the whole caption band is drawn:
// its first, unless the window is inactive or the button disabled and the
// strip has a frame for that.
[[nodiscard]] int32_t CaptionBandFrame(int32_t frames, bool active, bool enabled);
// The frame a button shows when only it is redrawn after a state change.
// Buttons in the menu bar have no hot frame of their own and show the
// fourth one instead. Never past the strip's last frame.
[[nodiscard]] int32_t StateFrame(TNCDrawState state, int32_t frames, bool enabled, bool inMenuBar);

// Buttons that show the window's icon and open the system menu.
[[nodiscard]] bool IsWindowIconAction(int32_t action);

// What an Action does when its button is released.
enum TCaptionCommand : uint8_t {
  ccClose,
  ccMaximize,
  ccMinimize,
  ccSystemMenu,
  ccContextHelp,
  // The active child of an MDI frame.
  ccMdiChildMinimize,
  ccMdiChildRestore,
  ccMdiChildClose,
  // Left to the window: message 0x3514 with the Action.
  ccCustom,
};
[[nodiscard]] TCaptionCommand CaptionCommand(int32_t action);
// The hint a button shows while the mouse rests on it; empty for none.
[[nodiscard]] std::string_view CaptionHint(int32_t action);

// Where a hovering mouse is in the life of a hint. The caption buttons wait
// twice the application's hint pause, longer than the controls do, so that a
// pointer on its way to a button does not flash hints.
enum THintPhase : uint8_t { hpWaiting, hpShowing, hpOver };
[[nodiscard]] THintPhase HintPhase(int32_t hoverMs, int32_t hintPauseMs, int32_t hintHidePauseMs);

// System commands the skinned system menu treats specially. The low four
// bits of a command are the system's own and are ignored.
inline constexpr uint32_t kScSize = 0xF000;
inline constexpr uint32_t kScMove = 0xF010;
inline constexpr uint32_t kScMinimize = 0xF020;
inline constexpr uint32_t kScMaximize = 0xF030;
inline constexpr uint32_t kScClose = 0xF060;
inline constexpr uint32_t kScRestore = 0xF120;

// Menu glyph numbers in the skin data's image list.
enum TMenuGlyph : int8_t { mgNone = -1, mgRestore = 0, mgMaximize = 1, mgMinimize = 2, mgClose = 3 };

struct TSystemMenuItemRule {
  // The item's enabling in this window state; nothing keeps the system
  // menu's own.
  std::optional<bool> Enabled;
  TMenuGlyph Glyph = mgNone;
};
[[nodiscard]] TSystemMenuItemRule SystemMenuItemRule(uint32_t command, TFrameShowState state, uint8_t borderIcons);

} // namespace skin
