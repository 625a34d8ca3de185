// The portable rules of the skinned controls: which companion the Skin3rd
// kind words, the framework class rows and the bare-window rows choose, and
// the frames and placements of the faces drawn.
#include "skin/controls/AttachmentTables.h"
#include "skin/controls/ControlLooks.h"

#include <gtest/gtest.h>

#include <set>

using namespace skin;

namespace {

// A control whose class chain is given leaf first.
TControlFacts Facts(std::vector<std::string> chain, uint32_t style = 0)
{
  TControlFacts facts;
  facts.UpperClassName = chain.front();
  for (char& c : facts.UpperClassName)
    c = char(std::toupper(static_cast<unsigned char>(c)));
  facts.InheritsFrom = [chain](std::string_view name) {
    for (const std::string& c : chain)
      if (c == name)
        return true;
    return false;
  };
  facts.Style = style;
  return facts;
}

TCompanionKind KindOf(const std::optional<TAttachment>& attach) { return attach ? attach->Kind : ckNone; }

} // namespace

TEST(Skin3rdMatch, FirstLineNamingTheClassWinsWithoutRegardToCase)
{
  const std::vector<std::string> lines{"TFancyGridEx=container", "TFancyGrid=scrollbar", "tfancygrid=edit"};
  EXPECT_EQ(MatchSkin3rd(lines, "TFANCYGRID"), "scrollbar");
  EXPECT_EQ(MatchSkin3rd(lines, "TFancyGridEx"), "container");
  // A class whose name only begins another line's class is not matched by it.
  EXPECT_EQ(MatchSkin3rd(lines, "TFancy"), std::nullopt);
  const std::vector<std::string> longWord{"TX=" + std::string(60, 'a')};
  EXPECT_EQ(MatchSkin3rd(longWord, "TX")->size(), 50u);
}

TEST(Skin3rdMatch, EveryKindWordHasItsRowAndUnknownWordsNone)
{
  EXPECT_EQ(KindWords().size(), 26u); // "nil" and the 25 kinds
  std::set<std::string_view> distinct(KindWords().begin(), KindWords().end());
  EXPECT_EQ(distinct.size(), KindWords().size());
  for (std::string_view word : KindWords())
    EXPECT_TRUE(KindWordAttachment(word, "tsomething").has_value()) << word;
  EXPECT_FALSE(KindWordAttachment("spinner", "tsomething").has_value());

  struct TCase {
    const char* Word;
    TCompanionKind Kind;
    int Bit;
  };
  const TCase cases[] = {
    {"Panel", ckBox, xcPanel},           {"Checkbox", ckCheckBox, xcCheckBox},
    {"button", ckButton, xcButton},      {"trackbar", ckTrackBar, xcButton},
    {"speedbutton", ckSpeedButton, xcSpeedButton}, {"radiogroup", ckGroupBox, xcGroupBox},
    {"checkgroup", ckGroupBox, xcPanel}, {"groupbox", ckGroupBox, xcGroupBox},
    {"nil", ckNone, -1},                 {"container", ckChildrenOnly, -1},
  };
  for (const TCase& c : cases) {
    const auto attach = KindWordAttachment(c.Word, "tsomething");
    EXPECT_EQ(attach->Kind, c.Kind) << c.Word;
    EXPECT_EQ(attach->Bit, c.Bit) << c.Word;
  }
  EXPECT_TRUE(KindWordAttachment("panel", "x")->Has(afRecolour));
  EXPECT_TRUE(KindWordAttachment("panel", "x")->Has(afSetTransparent));
  EXPECT_EQ(KindWordAttachment("checkgroup", "x")->SelfBit, xcGroupBox);
  EXPECT_EQ(KindWordAttachment("radiogroup", "x")->Children, cpRadioButtons);
  EXPECT_TRUE(KindWordAttachment("bitbtn", "tcxbutton")->Has(afDropDownWhenCx));
  EXPECT_FALSE(KindWordAttachment("bitbtn", "tbitbtn")->Has(afDropDownWhenCx));
}

TEST(FrameworkClassRows, FamiliesMatchInTableOrder)
{
  EXPECT_EQ(KindOf(FrameworkClassAttachment(Facts({"TButton", "TWinControl"}))), ckButton);
  EXPECT_EQ(KindOf(FrameworkClassAttachment(Facts({"TCheckBox", "TWinControl"}))), ckCheckBox);
  EXPECT_EQ(KindOf(FrameworkClassAttachment(Facts({"TRadioButton", "TWinControl"}))), ckRadioButton);
  // A radio group is a group box too; its own row comes first and skins its buttons.
  const auto radioGroup = FrameworkClassAttachment(Facts({"TRadioGroup", "TGroupBox", "TWinControl"}));
  EXPECT_EQ(radioGroup->Kind, ckGroupBox);
  EXPECT_EQ(radioGroup->Children, cpRadioButtons);
  EXPECT_EQ(radioGroup->Bit, xcRadioButton);
  const auto groupBox = FrameworkClassAttachment(Facts({"TGroupBox", "TWinControl"}));
  EXPECT_EQ(groupBox->Children, cpBefore);
  EXPECT_EQ(groupBox->Bit, xcPanel);
  const auto panel = FrameworkClassAttachment(Facts({"TMyPanel", "TPanel", "TWinControl"}));
  EXPECT_EQ(panel->Kind, ckBox);
  EXPECT_TRUE(panel->Has(afRecolour));
  // A button with a scroll-bar style is a scrolling control before it is a button.
  EXPECT_EQ(KindOf(FrameworkClassAttachment(Facts({"TButton", "TWinControl"}, 0x00200000))), ckScrollbar);
  EXPECT_EQ(KindOf(FrameworkClassAttachment(Facts({"TUPDOWN", "TWinControl"}))), ckUpDown);
  // A scroll-bar control is all bar, without a bar style; a list box scrolls
  // whether or not its bar shows now.
  const auto scrollBar = FrameworkClassAttachment(Facts({"TScrollBar", "TWinControl"}));
  EXPECT_EQ(KindOf(scrollBar), ckScrollBarControl);
  EXPECT_EQ(scrollBar->Bit, xcScrollbar);
  TControlFacts list = Facts({"TListBox", "TWinControl"});
  list.IsListBox = true;
  EXPECT_EQ(KindOf(FrameworkClassAttachment(list)), ckScrollbar);
  // A combo box keeps its list's scroll style and is a combo box first; a
  // memo without bars is an edit, one with bars a scrolling control.
  EXPECT_EQ(KindOf(FrameworkClassAttachment(Facts({"TComboBox", "TWinControl"}, 0x00200000))), ckCombo);
  EXPECT_EQ(KindOf(FrameworkClassAttachment(Facts({"TMemo", "TEdit", "TWinControl"}))), ckEdit);
  EXPECT_EQ(KindOf(FrameworkClassAttachment(Facts({"TMemo", "TEdit", "TWinControl"}, 0x00200000))), ckScrollbar);
  const auto picker = FrameworkClassAttachment(Facts({"TDateTimePicker", "TWinControl"}));
  EXPECT_EQ(KindOf(picker), ckDateTime);
  EXPECT_EQ(picker->Bit, xcCombo);
  EXPECT_FALSE(FrameworkClassAttachment(Facts({"TLabel", "TGraphicControl"})).has_value());

  TControlFacts pages = Facts({"TPageControl", "TWinControl"});
  pages.PageStyle = "tsTabs";
  EXPECT_EQ(KindOf(FrameworkClassAttachment(pages)), ckTab);
  pages.PageStyle = "tsButtons";
  EXPECT_EQ(KindOf(FrameworkClassAttachment(pages)), ckTabButtons);

  TControlFacts dcEdit = Facts({"TDCEdit", "TWinControl"});
  dcEdit.NumButtons = 1;
  EXPECT_EQ(KindOf(FrameworkClassAttachment(dcEdit)), ckCombo);
  dcEdit.NumButtons = 0;
  EXPECT_EQ(KindOf(FrameworkClassAttachment(dcEdit)), ckEdit);

  EXPECT_TRUE(NeverSkinnedClass("TFRPBOX"));
  EXPECT_FALSE(NeverSkinnedClass("TPANEL"));
  EXPECT_TRUE(IsButtonGroupClass("TMyRadioGroupEx"));
  EXPECT_TRUE(IsButtonGroupClass("tcheckgroup"));
  EXPECT_FALSE(IsButtonGroupClass("TGroupBox"));
}

TEST(BareWindowRows, ButtonStylesChooseTheirCompanions)
{
  struct TCase {
    uint32_t Style;
    TCompanionKind Kind;
  };
  const TCase cases[] = {
    {0x0, ckButton},       // BS_PUSHBUTTON
    {0x1, ckButton},       // BS_DEFPUSHBUTTON
    {0x2, ckCheckBox},     // BS_CHECKBOX
    {0x3, ckCheckBox},     // BS_AUTOCHECKBOX
    {0x4, ckRadioButton},  // BS_RADIOBUTTON
    {0x5, ckCheckBox},     // BS_3STATE
    {0x6, ckCheckBox},     // BS_AUTO3STATE
    {0x7, ckNone},         // BS_GROUPBOX
    {0x9, ckRadioButton},  // BS_AUTORADIOBUTTON
    {0xB, ckNone},         // BS_OWNERDRAW
    {0x80, ckNone},        // BS_BITMAP
    {0x50010000, ckButton},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(KindOf(BareWindowAttachment("button", c.Style)), c.Kind) << std::hex << c.Style;
}

TEST(BareWindowRows, OtherClassesByNameAndStyle)
{
  EXPECT_EQ(KindOf(BareWindowAttachment("#32770", 0)), ckBoxH);
  EXPECT_FALSE(BareWindowAttachment("#32770", 0x00010000).has_value());
  EXPECT_EQ(KindOf(BareWindowAttachment("scrollbar", 0)), ckSizer);
  EXPECT_FALSE(BareWindowAttachment("scrollbar", 0x00010000).has_value());
  EXPECT_EQ(KindOf(BareWindowAttachment("combobox", 0x2)), ckCombo);
  EXPECT_FALSE(BareWindowAttachment("combobox", 0x1).has_value()); // CBS_SIMPLE
  EXPECT_EQ(KindOf(BareWindowAttachment("systabcontrol32", 0)), ckTab);
  EXPECT_FALSE(BareWindowAttachment("systabcontrol32", 0x2000).has_value());
  EXPECT_EQ(BareWindowAttachment("tpanel", 0)->Children, cpAfter);
  EXPECT_EQ(KindOf(BareWindowAttachment("toolbarwindow32", 0)), ckBoxH);
  EXPECT_FALSE(BareWindowAttachment("static", 0).has_value());
}

TEST(BareWindowRows, TheSkinControlsSetGatesEveryRowWithABit)
{
  const TAttachment button = *BareWindowAttachment("button", 0);
  EXPECT_TRUE(Allowed(button, kDefaultSkinControls));
  EXPECT_FALSE(Allowed(button, kDefaultSkinControls & ~Bit(xcButton)));
  EXPECT_TRUE(Allowed(*BareWindowAttachment("#32770", 0), 0));
}

TEST(ButtonLooks, DisabledOverridesPressedOverridesHotOverridesFocus)
{
  EXPECT_EQ(ButtonFrame({}), 1);
  EXPECT_EQ(ButtonFrame({.Pressed = true, .Hot = true, .FocusedOrDefault = true}), 2);
  EXPECT_EQ(ButtonFrame({.Hot = true, .FocusedOrDefault = true}), 4);
  EXPECT_EQ(ButtonFrame({.FocusedOrDefault = true}), 5);
  EXPECT_EQ(ButtonFrame({.Pressed = true, .FocusedOrDefault = true, .Disabled = true}), 3);
}

TEST(ButtonLooks, CaptionSplitsAtTheFirstDoubleBarOnly)
{
  EXPECT_EQ(SplitCaption(L"Open||file"), L"Open\r\nfile");
  EXPECT_EQ(SplitCaption(L"a||b||c"), L"a\r\nb||c");
  EXPECT_EQ(SplitCaption(L"plain"), L"plain");
}

TEST(ButtonLooks, CaptionBlockSitsOnePixelAboveTheMiddle)
{
  EXPECT_EQ(CaptionBlockOrigin({75, 25}, {31, 13}), gfx::TPoint(22, 5));
  EXPECT_EQ(CaptionBlockOrigin({10, 10}, {20, 20}), gfx::TPoint(-5, -6));
}

TEST(ButtonLooks, FocusRectangleFollowsTheAlignmentAndStaysInside)
{
  const gfx::TRect area{10, 10, 110, 40};
  const gfx::TRect measured{10, 10, 50, 23};
  EXPECT_EQ(FocusRectAround(area, measured, tlLeft), gfx::TRect(10, 10, 52, 24));
  EXPECT_EQ(FocusRectAround(area, measured, tlCenter), gfx::TRect(38, 16, 82, 31));
  EXPECT_EQ(FocusRectAround(area, measured, tlRight), gfx::TRect(68, 10, 110, 24));
}

TEST(CheckLooks, FourFrameStrips)
{
  EXPECT_EQ(CheckBoxFrame({}, 4), 1);
  EXPECT_EQ(CheckBoxFrame({.Checked = true}, 4), 2);
  EXPECT_EQ(CheckBoxFrame({.Disabled = true}, 4), 3);
  EXPECT_EQ(CheckBoxFrame({.Checked = true, .Disabled = true}, 4), 4);
  EXPECT_EQ(CheckBoxFrame({.Indeterminate = true}, 4), 4);
  EXPECT_EQ(CheckBoxFrame({.Indeterminate = true, .Disabled = true}, 4), 4);
  EXPECT_EQ(RadioButtonFrame({.Checked = true}, 4), 2);
  EXPECT_EQ(RadioButtonFrame({.Checked = true}, 2), 2);
}

TEST(CheckLooks, LongStripsKeepAFrameForEveryStateAndLook)
{
  EXPECT_EQ(CheckBoxFrame({}, 12), 1);
  EXPECT_EQ(CheckBoxFrame({.Checked = true}, 12), 5);
  EXPECT_EQ(CheckBoxFrame({.Disabled = true}, 12), 4);
  EXPECT_EQ(CheckBoxFrame({.Checked = true, .Disabled = true}, 12), 8);
  EXPECT_EQ(CheckBoxFrame({.Indeterminate = true}, 12), 9);
  EXPECT_EQ(CheckBoxFrame({.Indeterminate = true, .Disabled = true}, 12), 12);
  EXPECT_EQ(RadioButtonFrame({}, 8), 1);
  EXPECT_EQ(RadioButtonFrame({.Checked = true}, 8), 5);
  EXPECT_EQ(RadioButtonFrame({.Disabled = true}, 8), 4);
  EXPECT_EQ(RadioButtonFrame({.Checked = true, .Disabled = true}, 8), 8);
}

TEST(CheckLooks, BoxStandsLeftOrWithLeftTextRight)
{
  const gfx::TRect rect{0, 0, 100, 21};
  const TCheckLayout left = LayoutCheck(rect, {13, 13}, false, false);
  EXPECT_EQ(left.Box, gfx::TRect(0, 4, 13, 17));
  EXPECT_EQ(left.Caption, gfx::TRect(15, 0, 100, 21));
  EXPECT_FALSE(left.RightAligned);
  const TCheckLayout right = LayoutCheck(rect, {13, 13}, true, false);
  EXPECT_EQ(right.Box, gfx::TRect(87, 4, 100, 17));
  EXPECT_EQ(right.Caption, gfx::TRect(0, 0, 85, 21));
  EXPECT_TRUE(right.RightAligned);
  EXPECT_EQ(LayoutCheck(rect, {13, 13}, true, true).Box, gfx::TRect(86, 4, 99, 17));
}

TEST(GroupBoxLooks, LineDropsWithTheFont)
{
  EXPECT_EQ(GroupBoxLineTop(13), 5);
  EXPECT_EQ(GroupBoxLineTop(24), 11);
}

TEST(StatusBarLooks, PanelsWidenToMeetAndTheLastReachesTheEdge)
{
  const std::vector<gfx::TRect> parts{{0, 2, 100, 20}, {102, 2, 200, 20}, {}, {202, 2, 250, 20}};
  const std::vector<gfx::TRect> panels = StatusPanelRects(parts, 300);
  ASSERT_EQ(panels.size(), 4u);
  EXPECT_EQ(panels[0], gfx::TRect(0, 2, 102, 20));
  EXPECT_EQ(panels[1], gfx::TRect(102, 2, 202, 20));
  EXPECT_TRUE(panels[2].IsEmpty()) << "a part without a rectangle stays without one";
  EXPECT_EQ(panels[3], gfx::TRect(202, 2, 300, 20));
  EXPECT_EQ(StatusEdgeFrame(0), 3); // no bevel
  EXPECT_EQ(StatusEdgeFrame(1), 1); // lowered
  EXPECT_EQ(StatusEdgeFrame(2), 2); // raised
  EXPECT_EQ(StatusTextTop({0, 2, 100, 22}, 13), 4);
  EXPECT_EQ(StatusTextTop({0, 0, 100, 20}, 14), 2);
}

TEST(ProgressLooks, FilledWidthForBothStyles)
{
  // Plain: measured from the low limit.
  EXPECT_EQ(ProgressFilledWidth(false, 200, 0, 0, 100), 0);
  EXPECT_EQ(ProgressFilledWidth(false, 200, 50, 0, 100), 100);
  EXPECT_EQ(ProgressFilledWidth(false, 200, 100, 0, 100), 200);
  EXPECT_EQ(ProgressFilledWidth(false, 200, 60, 20, 100), 100);
  EXPECT_EQ(ProgressFilledWidth(false, 201, 1, 0, 2), 101) << "halves round as the platform's MulDiv";
  // Chunked: measured from 0, whatever the low limit.
  EXPECT_EQ(ProgressFilledWidth(true, 200, 60, 20, 100), 120);
  // Nothing without a positive high limit and position, and no division by an empty range.
  EXPECT_EQ(ProgressFilledWidth(true, 200, 50, 0, 0), 0);
  EXPECT_EQ(ProgressFilledWidth(false, 200, -5, -10, 10), 0);
  EXPECT_EQ(ProgressFilledWidth(false, 200, 7, 7, 7), 200);
}
