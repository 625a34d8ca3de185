#include "skin/frame/CaptionRules.h"

#include "skin/SkinElements.h"

#include <algorithm>
#include <array>

namespace skin {

namespace {

// ----- Visibility ------------------------------------------------------------

using TWindowTest = bool (*)(const TCaptionWindow&);

constexpr bool Has(const TCaptionWindow& w, uint8_t icon) { return (w.BorderIcons & icon) != 0; }
constexpr bool HasMinOrMax(const TCaptionWindow& w) { return Has(w, fiMinimize) || Has(w, fiMaximize); }

// Message boxes and common dialogs are dialogs by their class; code 200 asks
// for windows that made themselves dialogs through their style.
bool DialogByStyle(const TCaptionWindow& w)
{
  return w.BorderKind == fbDialog && w.ClassName != "#32770" && w.ClassName != "TMessageForm";
}

struct TVisibilityRow {
  int32_t Code;
  TWindowTest Test;   // for Visibility
  TWindowTest Test1;  // for Visibility1
};

constexpr TWindowTest kShown = [](const TCaptionWindow&) { return true; };
constexpr TWindowTest kHidden = [](const TCaptionWindow&) { return false; };
constexpr TWindowTest kMaximized = [](const TCaptionWindow& w) { return w.ShowState == ssMaximized; };
constexpr TWindowTest kNotMaximized = [](const TCaptionWindow& w) { return w.ShowState != ssMaximized; };
constexpr TWindowTest kActive = [](const TCaptionWindow& w) { return w.Active; };
constexpr TWindowTest kInactive = [](const TCaptionWindow& w) { return !w.Active; };
constexpr TWindowTest kNoMaxBox = [](const TCaptionWindow& w) { return !Has(w, fiMaximize); };
constexpr TWindowTest kNoMinBox = [](const TCaptionWindow& w) { return !Has(w, fiMinimize); };
constexpr TWindowTest kMinOrMax = [](const TCaptionWindow& w) { return HasMinOrMax(w); };
constexpr TWindowTest kMdiChildInBar = [](const TCaptionWindow& w) { return w.MdiChildMaximizedInBar; };

constexpr std::array<TVisibilityRow, 13> kVisibility{{
  {-1, kShown, kHidden},
  {0, kShown, kShown},
  {1, kMaximized, kMaximized},
  {2, kNotMaximized, kNotMaximized},
  {3, kActive, kActive},
  {4, kInactive, kInactive},
  {6, [](const TCaptionWindow& w) { return HasMinOrMax(w) && Has(w, fiSystemMenu); }, kMinOrMax},
  {7, kNoMaxBox, kNoMaxBox},
  // With either box the system-menu bit decides; Visibility1 takes the
  // minimise box, else the maximise box, which is the same as either.
  {8, [](const TCaptionWindow& w) { return HasMinOrMax(w) && Has(w, fiSystemMenu); }, kMinOrMax},
  {9, kNoMinBox, kNoMinBox},
  {10, [](const TCaptionWindow& w) { return Has(w, fiHelp) && !HasMinOrMax(w); },
   [](const TCaptionWindow& w) { return Has(w, fiHelp); }},
  {100, kMdiChildInBar, kMdiChildInBar},
  {200, DialogByStyle, kHidden},
}};

const TVisibilityRow* FindRow(int32_t code)
{
  const auto it = std::find_if(kVisibility.begin(), kVisibility.end(), [code](const auto& r) { return r.Code == code; });
  return it == kVisibility.end() ? nullptr : &*it;
}

// Codes 201 to 999 show unconditionally in Visibility and never in
// Visibility1; 1000 to 2000 are the window's to answer.
bool PassesVisibility(int32_t code, int32_t action, const TCaptionWindow& w)
{
  if (const TVisibilityRow* row = FindRow(code))
    return row->Test(w);
  if (code >= 201 && code <= 999)
    return true;
  if (code >= 1000 && code <= 2000)
    return w.AskCustomVisible && w.AskCustomVisible(code, action);
  return false;
}

bool PassesVisibility1(int32_t code, const TCaptionWindow& w)
{
  const TVisibilityRow* row = FindRow(code);
  return row && row->Test1(w);
}

// ----- Actions ---------------------------------------------------------------

struct TActionRow {
  int32_t Action;
  TCaptionCommand Command;
  std::string_view Hint;
};

constexpr std::array<TActionRow, 15> kActions{{
  {0, ccClose, "Close"},
  {1, ccMaximize, "Maximize"},
  {2, ccMinimize, "Minimize"},
  {3, ccSystemMenu, ""},
  {4, ccContextHelp, ""},
  {7, ccMdiChildMinimize, "Minimize"},
  {8, ccMdiChildRestore, "Restore"},
  {9, ccMdiChildClose, "Close"},
  {11, ccSystemMenu, ""},
  {12, ccSystemMenu, ""},
  {22, ccMaximize, "Maximize"},
  {23, ccMinimize, "Minimize"},
  {60, ccMdiChildMinimize, "Minimize"},
  {61, ccMdiChildRestore, "Restore"},
  {62, ccMdiChildClose, "Close"},
}};

const TActionRow* FindAction(int32_t action)
{
  const auto it = std::find_if(kActions.begin(), kActions.end(), [action](const auto& r) { return r.Action == action; });
  return it == kActions.end() ? nullptr : &*it;
}

} // namespace

TButtonShow ButtonShow(const TDataSkinSysButton& button, const TCaptionWindow& window)
{
  TButtonShow show;
  show.Visible = PassesVisibility(button.Visibility, button.Action, window) &&
                 PassesVisibility1(button.Visibility1, window);
  const bool systemMenu = Has(window, fiSystemMenu);
  switch (button.Action) {
  case 0: show.Visible = show.Visible && systemMenu; break;
  case 1: show.Enabled = Has(window, fiMaximize) && systemMenu; break;
  case 2: show.Enabled = Has(window, fiMinimize) && systemMenu; break;
  case 3:
  case 11:
  case 12: show.Visible = show.Visible && window.BorderKind != fbDialog; break;
  default: break;
  }
  return show;
}

gfx::TRect PlaceButton(const TDataSkinSysButton& button, const TCaptionLayout& layout)
{
  const int32_t width = button.Image.Width() / button.FrameCount();
  const int32_t height = button.Image.Height();
  gfx::TPoint at;
  switch (button.Align) {
  case 0: at = {button.XCoord, button.YCoord}; break;
  case 1: at = {layout.WindowWidth - button.XCoord, button.YCoord}; break;
  case 2:
  case 8: at = {layout.Title.Left - width - button.XCoord, button.YCoord}; break;
  case 3:
  case 9: at = {layout.Title.Right + button.XCoord, button.YCoord}; break;
  case 100:
    at = {layout.WindowWidth - button.XCoord - layout.RightWidth - layout.MenuBarLeftWidth,
          layout.TopHeight + (layout.MenuHeight - height) / 2};
    break;
  default: break;
  }
  return gfx::TRect::Bounds(at.X, at.Y, width, height);
}

int32_t CaptionBandFrame(int32_t frames, bool active, bool enabled)
{
  return frames < 4 || (active && enabled) ? 1 : 4;
}

int32_t StateFrame(TNCDrawState state, int32_t frames, bool enabled, bool inMenuBar)
{
  int32_t frame = state;
  if (!enabled || state == dsDisabled)
    frame = frames > 3 ? 4 : 1;
  else if (inMenuBar && state == dsHot)
    frame = 4;
  return std::clamp(frame, 1, std::max(frames, 1));
}

bool IsWindowIconAction(int32_t action) { return action == 3 || action == 11; }

TCaptionCommand CaptionCommand(int32_t action)
{
  const TActionRow* row = FindAction(action);
  return row ? row->Command : ccCustom;
}

std::string_view CaptionHint(int32_t action)
{
  const TActionRow* row = FindAction(action);
  return row ? row->Hint : std::string_view{};
}

THintPhase HintPhase(int32_t hoverMs, int32_t hintPauseMs, int32_t hintHidePauseMs)
{
  const int64_t showAt = 2 * int64_t{hintPauseMs};
  if (hoverMs < showAt)
    return hpWaiting;
  return hoverMs < showAt + hintHidePauseMs ? hpShowing : hpOver;
}

TSystemMenuItemRule SystemMenuItemRule(uint32_t command, TFrameShowState state, uint8_t borderIcons)
{
  TSystemMenuItemRule rule;
  switch (command & 0xFFF0) {
  case kScSize:
  case kScMove:
    if (state == ssMaximized)
      rule.Enabled = false;
    break;
  case kScMinimize:
    rule.Enabled = state != ssMinimized && (borderIcons & fiMinimize) != 0;
    rule.Glyph = mgMinimize;
    break;
  case kScMaximize:
    rule.Enabled = state != ssMaximized && (borderIcons & fiMaximize) != 0;
    rule.Glyph = mgMaximize;
    break;
  case kScRestore:
    rule.Enabled = state != ssNormal;
    rule.Glyph = mgRestore;
    break;
  case kScClose: rule.Glyph = mgClose; break;
  default: break;
  }
  return rule;
}

} // namespace skin
