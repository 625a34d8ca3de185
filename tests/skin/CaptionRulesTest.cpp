// The caption-button rules away from any window: visibility and enabling,
// placement, the frame a button shows, Actions and hints, hint timing, the
// system menu's per-state enabling, and the draw states of non-client objects.
#include "skin/frame/CaptionRules.h"

#include "skin/SkinElements.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace skin;

// The elements cannot be copied; the rules read the three fields only.
struct TButtonCodes {
  int32_t Action, Visibility, Visibility1;
};
TButtonShow ShowOf(TButtonCodes codes, const TCaptionWindow& w)
{
  TDataSkinSysButton b("BUTTON");
  b.Action = codes.Action;
  b.Visibility = codes.Visibility;
  b.Visibility1 = codes.Visibility1;
  return ButtonShow(b, w);
}

constexpr uint8_t kAllBoxes = fiMaximize | fiMinimize | fiSystemMenu;

TCaptionWindow Window(uint8_t icons = kAllBoxes, TFrameShowState state = ssNormal, bool active = true)
{
  TCaptionWindow w;
  w.BorderIcons = icons;
  w.ShowState = state;
  w.Active = active;
  return w;
}

// Action 5 has no rule of its own, so only the two codes decide.
bool Shows(int32_t visibility, int32_t visibility1, const TCaptionWindow& w)
{
  return ShowOf({5, visibility, visibility1}, w).Visible;
}

TEST(CaptionVisibility, WindowStateCodes)
{
  const TCaptionWindow normal = Window();
  const TCaptionWindow maximized = Window(kAllBoxes, ssMaximized);
  const TCaptionWindow inactive = Window(kAllBoxes, ssNormal, false);
  EXPECT_TRUE(Shows(0, 0, normal));
  EXPECT_TRUE(Shows(-1, 0, normal));
  EXPECT_FALSE(Shows(0, -1, normal)) << "-1 hides in Visibility1";
  EXPECT_FALSE(Shows(1, 0, normal));
  EXPECT_TRUE(Shows(1, 1, maximized));
  EXPECT_FALSE(Shows(0, 1, normal));
  EXPECT_TRUE(Shows(2, 2, normal));
  EXPECT_FALSE(Shows(2, 0, maximized));
  EXPECT_FALSE(Shows(0, 2, maximized));
  EXPECT_TRUE(Shows(3, 3, normal));
  EXPECT_FALSE(Shows(3, 0, inactive));
  EXPECT_TRUE(Shows(4, 4, inactive));
  EXPECT_FALSE(Shows(0, 4, normal));
  // 5 is no code: hidden either way.
  EXPECT_FALSE(Shows(5, 0, normal));
  EXPECT_FALSE(Shows(0, 5, normal));
}

TEST(CaptionVisibility, BorderIconCodes)
{
  const TCaptionWindow minOnly = Window(fiMinimize | fiSystemMenu);
  const TCaptionWindow noSysMenu = Window(fiMinimize | fiMaximize);
  const TCaptionWindow bare = Window(0);
  const TCaptionWindow help = Window(fiHelp | fiSystemMenu);
  // 6: a box and the system menu; Visibility1 6 needs only a box.
  EXPECT_TRUE(Shows(6, 0, minOnly));
  EXPECT_FALSE(Shows(6, 0, noSysMenu));
  EXPECT_TRUE(Shows(0, 6, noSysMenu));
  EXPECT_FALSE(Shows(0, 6, bare));
  EXPECT_TRUE(Shows(7, 7, minOnly));
  EXPECT_FALSE(Shows(7, 0, Window()));
  // 8: the system menu when there is a box at all.
  EXPECT_TRUE(Shows(8, 8, minOnly));
  EXPECT_FALSE(Shows(8, 0, noSysMenu));
  EXPECT_FALSE(Shows(8, 0, Window(fiSystemMenu)));
  EXPECT_TRUE(Shows(0, 8, Window(fiMaximize)));
  EXPECT_TRUE(Shows(9, 9, Window(fiMaximize)));
  EXPECT_FALSE(Shows(9, 0, minOnly));
  // 10: context help, and in Visibility only without boxes.
  EXPECT_TRUE(Shows(10, 10, help));
  EXPECT_FALSE(Shows(10, 0, Window(fiHelp | fiMinimize)));
  EXPECT_TRUE(Shows(0, 10, Window(fiHelp | fiMinimize)));
  EXPECT_FALSE(Shows(0, 10, minOnly));
}

TEST(CaptionVisibility, SpecialCodes)
{
  TCaptionWindow w = Window();
  EXPECT_FALSE(Shows(100, 100, w));
  w.MdiChildMaximizedInBar = true;
  EXPECT_TRUE(Shows(100, 100, w));

  // 200: dialogs by style only, never by class; never in Visibility1.
  TCaptionWindow dialog = Window();
  dialog.BorderKind = fbDialog;
  dialog.ClassName = "TOptionsDialog";
  EXPECT_TRUE(Shows(200, 0, dialog));
  EXPECT_FALSE(Shows(0, 200, dialog));
  dialog.ClassName = "#32770";
  EXPECT_FALSE(Shows(200, 0, dialog));
  dialog.ClassName = "TMessageForm";
  EXPECT_FALSE(Shows(200, 0, dialog));
  EXPECT_FALSE(Shows(200, 0, Window()));

  EXPECT_TRUE(Shows(201, 0, w));
  EXPECT_TRUE(Shows(999, 0, w));
  EXPECT_FALSE(Shows(0, 500, w));

  // 1000 to 2000 ask the window, with the code and the Action.
  EXPECT_FALSE(Shows(1500, 0, w)) << "nobody to ask";
  std::vector<std::pair<int32_t, int32_t>> asked;
  w.AskCustomVisible = [&](int32_t code, int32_t action) {
    asked.emplace_back(code, action);
    return code == 1500;
  };
  EXPECT_TRUE(Shows(1500, 0, w));
  EXPECT_FALSE(Shows(1501, 0, w));
  EXPECT_FALSE(Shows(2001, 0, w));
  EXPECT_FALSE(Shows(0, 1500, w));
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_EQ(asked[0], std::make_pair(1500, 5));
}

TEST(CaptionVisibility, ActionRules)
{
  // Close needs the system menu.
  EXPECT_TRUE(ShowOf({0, 0, 0}, Window()).Visible);
  EXPECT_FALSE(ShowOf({0, 0, 0}, Window(fiMinimize | fiMaximize)).Visible);
  // Maximise and minimise stay visible but are disabled without their box or
  // the system menu; their other codes (22, 23) are never disabled.
  const TCaptionWindow minOnly = Window(fiMinimize | fiSystemMenu);
  const TButtonShow max = ShowOf({1, 2, 6}, minOnly);
  EXPECT_TRUE(max.Visible);
  EXPECT_FALSE(max.Enabled);
  EXPECT_TRUE(ShowOf({1, 2, 6}, Window()).Enabled);
  EXPECT_TRUE(ShowOf({2, 8, 0}, minOnly).Enabled);
  EXPECT_FALSE(ShowOf({2, 0, 0}, Window(fiMinimize)).Enabled);
  EXPECT_TRUE(ShowOf({22, 0, 0}, Window(0)).Enabled);
  // The icon buttons leave dialogs.
  TCaptionWindow dialog = Window();
  dialog.BorderKind = fbDialog;
  for (const int32_t action : {3, 11, 12}) {
    EXPECT_FALSE(ShowOf({action, 0, 0}, dialog).Visible) << action;
    EXPECT_TRUE(ShowOf({action, 0, 0}, Window()).Visible) << action;
  }
}

TEST(CaptionPlacement, EveryAlignment)
{
  TDataSkinSysButton b("BUTTON");
  b.Image.SetSize(126, 21); // six frames of 21
  b.Frame = 6;
  b.XCoord = 25;
  b.YCoord = 5;
  TCaptionLayout layout;
  layout.WindowWidth = 400;
  layout.Title = gfx::TRect(30, 4, 180, 25);
  layout.RightWidth = 4;
  layout.TopHeight = 29;
  layout.MenuHeight = 19;
  layout.MenuBarLeftWidth = 3;

  const auto at = [&](int32_t align) {
    b.Align = align;
    return PlaceButton(b, layout);
  };
  EXPECT_EQ(at(0), gfx::TRect(25, 5, 46, 26));
  EXPECT_EQ(at(1), gfx::TRect(375, 5, 396, 26));
  EXPECT_EQ(at(2), gfx::TRect(30 - 21 - 25, 5, 30 - 25, 26));
  EXPECT_EQ(at(8), at(2));
  EXPECT_EQ(at(3), gfx::TRect(205, 5, 226, 26));
  EXPECT_EQ(at(9), at(3));
  // In the menu bar: from the right, clear of the border and the bar's
  // margin, centred in the bar's height (19 - 21 halves toward zero).
  EXPECT_EQ(at(100), gfx::TRect(400 - 25 - 4 - 3, 29 + (19 - 21) / 2, 400 - 25 - 4 - 3 + 21, 29 + (19 - 21) / 2 + 21));
  EXPECT_EQ(at(5), gfx::TRect(0, 0, 21, 21));
}

TEST(CaptionFrames, BandAndStateFrames)
{
  EXPECT_EQ(CaptionBandFrame(6, true, true), 1);
  EXPECT_EQ(CaptionBandFrame(6, false, true), 4);
  EXPECT_EQ(CaptionBandFrame(6, true, false), 4);
  EXPECT_EQ(CaptionBandFrame(3, false, false), 1) << "no fourth frame to show";

  EXPECT_EQ(StateFrame(dsNormal, 6, true, false), 1);
  EXPECT_EQ(StateFrame(dsPressed, 6, true, false), 2);
  EXPECT_EQ(StateFrame(dsHot, 6, true, false), 3);
  EXPECT_EQ(StateFrame(dsDisabled, 6, true, false), 4);
  EXPECT_EQ(StateFrame(dsPressed, 6, false, false), 4) << "a disabled button looks disabled when pressed";
  EXPECT_EQ(StateFrame(dsHot, 3, false, false), 1);
  EXPECT_EQ(StateFrame(dsHot, 4, true, true), 4) << "the menu bar's hot frame";
  EXPECT_EQ(StateFrame(dsPressed, 4, true, true), 2);
  // A strip shorter than the state never reads past its end.
  EXPECT_EQ(StateFrame(dsHot, 1, true, false), 1);
  EXPECT_EQ(StateFrame(dsHot, 2, true, false), 2);
}

TEST(CaptionActions, CommandsAndHints)
{
  struct TCase {
    int32_t Action;
    TCaptionCommand Command;
    std::string_view Hint;
  };
  for (const TCase& c : std::vector<TCase>{
         {0, ccClose, "Close"}, {1, ccMaximize, "Maximize"}, {22, ccMaximize, "Maximize"},
         {2, ccMinimize, "Minimize"}, {23, ccMinimize, "Minimize"}, {3, ccSystemMenu, ""},
         {11, ccSystemMenu, ""}, {12, ccSystemMenu, ""}, {4, ccContextHelp, ""},
         {7, ccMdiChildMinimize, "Minimize"}, {60, ccMdiChildMinimize, "Minimize"},
         {8, ccMdiChildRestore, "Restore"}, {61, ccMdiChildRestore, "Restore"},
         {9, ccMdiChildClose, "Close"}, {62, ccMdiChildClose, "Close"},
         {5, ccCustom, ""}, {-1, ccCustom, ""}, {100, ccCustom, ""}}) {
    EXPECT_EQ(CaptionCommand(c.Action), c.Command) << c.Action;
    EXPECT_EQ(CaptionHint(c.Action), c.Hint) << c.Action;
  }
  EXPECT_TRUE(IsWindowIconAction(3));
  EXPECT_TRUE(IsWindowIconAction(11));
  EXPECT_FALSE(IsWindowIconAction(12)) << "opens the menu but draws its own image";
}

TEST(CaptionHints, ShownFromTwiceThePauseForTheHidePause)
{
  EXPECT_EQ(HintPhase(0, 500, 2500), hpWaiting);
  EXPECT_EQ(HintPhase(750, 500, 2500), hpWaiting);
  EXPECT_EQ(HintPhase(1000, 500, 2500), hpShowing);
  EXPECT_EQ(HintPhase(3250, 500, 2500), hpShowing);
  EXPECT_EQ(HintPhase(3500, 500, 2500), hpOver);
  EXPECT_EQ(HintPhase(0, 0, 250), hpShowing);
  EXPECT_EQ(HintPhase(250, 0, 0), hpOver);
}

TEST(SystemMenuRules, EnablingInEachWindowState)
{
  const uint8_t boxes = fiMinimize | fiMaximize;
  struct TCase {
    uint32_t Command;
    TFrameShowState State;
    uint8_t Icons;
    std::optional<bool> Enabled;
  };
  for (const TCase& c : std::vector<TCase>{
         {kScMove, ssNormal, boxes, std::nullopt},
         {kScMove, ssMaximized, boxes, false},
         {kScSize, ssMaximized, boxes, false},
         {kScSize, ssMinimized, boxes, std::nullopt},
         {kScMinimize, ssNormal, boxes, true},
         {kScMinimize, ssMinimized, boxes, false},
         {kScMinimize, ssNormal, fiMaximize, false},
         {kScMaximize, ssNormal, boxes, true},
         {kScMaximize, ssMaximized, boxes, false},
         {kScMaximize, ssMinimized, fiMinimize, false},
         {kScRestore, ssNormal, boxes, false},
         {kScRestore, ssMaximized, boxes, true},
         {kScRestore, ssMinimized, boxes, true},
         {kScClose, ssMaximized, 0, std::nullopt},
         // The system keeps its own bits in the low four.
         {kScMaximize | 2, ssMaximized, boxes, false},
         {0x1234, ssMaximized, boxes, std::nullopt}}) {
    EXPECT_EQ(SystemMenuItemRule(c.Command, c.State, c.Icons).Enabled, c.Enabled)
      << std::hex << c.Command << " state " << int(c.State);
  }
  EXPECT_EQ(SystemMenuItemRule(kScRestore, ssNormal, 0).Glyph, mgRestore);
  EXPECT_EQ(SystemMenuItemRule(kScMaximize, ssNormal, 0).Glyph, mgMaximize);
  EXPECT_EQ(SystemMenuItemRule(kScMinimize, ssNormal, 0).Glyph, mgMinimize);
  EXPECT_EQ(SystemMenuItemRule(kScClose, ssNormal, 0).Glyph, mgClose);
  EXPECT_EQ(SystemMenuItemRule(kScMove, ssNormal, 0).Glyph, mgNone);
}

// A non-client object that counts its redraws.
class TCountingObject final : public TNCObject {
public:
  void Redraw() override { ++Redraws; }
  int32_t Redraws = 0;
};

TEST(NCObject, StatesRedrawOnlyWhenTheyChange)
{
  TCountingObject o;
  o.SetRect(gfx::TRect(10, 5, 31, 26));
  EXPECT_EQ(o.DrawState(), dsNormal);
  EXPECT_TRUE(o.Contains({10, 5}));
  EXPECT_FALSE(o.Contains({31, 5})) << "right edge is exclusive";

  o.Enter();
  EXPECT_EQ(o.DrawState(), dsHot);
  o.Enter();
  EXPECT_EQ(o.Redraws, 1) << "moving within the object draws nothing";
  o.Press();
  EXPECT_EQ(o.DrawState(), dsPressed);
  o.Release();
  EXPECT_EQ(o.DrawState(), dsHot);
  o.Leave();
  EXPECT_EQ(o.DrawState(), dsNormal);
  EXPECT_EQ(o.Redraws, 4);
}

} // namespace
