// Shortcut text both ways and caption accelerators, as menus show them and
// form descriptions store them.
#include "framework/ShortCut.h"

#include <gtest/gtest.h>

using namespace framework;

namespace {

constexpr uint16_t kF11 = 0x7A, kSpace = 0x20, kLeft = 0x25, kDelete = 0x2E;

TEST(ShortCutText, ModifiersComeInAFixedOrderBeforeTheKey)
{
  EXPECT_EQ(ShortCutToText(scCtrl | 'O'), "Ctrl+O");
  EXPECT_EQ(ShortCutToText(scAlt | scShift | scCtrl | 'S'), "Ctrl+Shift+Alt+S");
  EXPECT_EQ(ShortCutToText(kF11), "F11");
  EXPECT_EQ(ShortCutToText(kSpace), "Space");
  EXPECT_EQ(ShortCutToText(scShift | kLeft), "Shift+Left");
  EXPECT_EQ(ShortCutToText(scCtrl | '5'), "Ctrl+5");
  EXPECT_EQ(ShortCutToText(scNone), "");
  // A key without a name has no text, whatever the modifiers.
  EXPECT_EQ(ShortCutToText(scCtrl | 0x07), "");
}

TEST(ShortCutText, TextIsReadBackInAnyCaseAndOrder)
{
  EXPECT_EQ(TextToShortCut("Ctrl+O"), scCtrl | 'O');
  EXPECT_EQ(TextToShortCut("alt+ctrl+o"), scCtrl | scAlt | 'O');
  EXPECT_EQ(TextToShortCut("f11"), kF11);
  EXPECT_EQ(TextToShortCut("F24"), 0x70 + 23);
  EXPECT_EQ(TextToShortCut("Shift+Del"), scShift | kDelete);
  EXPECT_EQ(TextToShortCut("Num +"), 0x6B);
  EXPECT_EQ(TextToShortCut("Ctrl+Num +"), scCtrl | 0x6B);
  EXPECT_EQ(TextToShortCut(""), scNone);
  for (const char* nonsense : {"Ctrl+", "F0", "F25", "Ctrl+Banana", "Shift", "Ctrl+OO"})
    EXPECT_EQ(TextToShortCut(nonsense), scNone) << nonsense;
}

TEST(ShortCutText, EveryNamedShortCutSurvivesTheRoundTrip)
{
  int named = 0;
  for (uint32_t key = 1; key <= 0xFF; ++key)
    for (TShortCut modifiers : {TShortCut(0), scCtrl, TShortCut(scShift | scAlt)}) {
      const auto shortCut = TShortCut(modifiers | key);
      const std::string text = ShortCutToText(shortCut);
      if (text.empty())
        continue;
      ++named;
      EXPECT_EQ(TextToShortCut(text), shortCut) << text;
    }
  EXPECT_GT(named, 3 * 80);
}

TEST(ShortCutText, ShiftStateBitsBecomeModifiers)
{
  EXPECT_EQ(MakeShortCut('O', 4), scCtrl | 'O');
  EXPECT_EQ(MakeShortCut('O', 1 | 2), scShift | scAlt | 'O');
  // Mouse buttons and double clicks in the state are not modifiers.
  EXPECT_EQ(MakeShortCut(kSpace, 8 | 64), kSpace);
}

TEST(CaptionAccelerators, TheLetterAfterASingleAmpersand)
{
  EXPECT_EQ(CaptionAccelerator("&File"), U'F');
  EXPECT_EQ(CaptionAccelerator("E&xit"), U'X');
  EXPECT_EQ(CaptionAccelerator("Fish && &Chips"), U'C');
  EXPECT_EQ(CaptionAccelerator("Fish && Chips"), 0u);
  EXPECT_EQ(CaptionAccelerator("Trailing&"), 0u);
  EXPECT_EQ(CaptionAccelerator("\xC3\xA9t\xC3\xA9 &\xC3\xA9"), U'\u00E9');
  EXPECT_TRUE(IsAccel(U'x', "E&xit"));
  EXPECT_TRUE(IsAccel(U'X', "E&xit"));
  EXPECT_FALSE(IsAccel(U'E', "E&xit"));
  EXPECT_FALSE(IsAccel(U'E', "Exit"));
}

TEST(CaptionAccelerators, StrippedCaptionsKeepLiteralAmpersands)
{
  EXPECT_EQ(StripHotkey("&Open folder..."), "Open folder...");
  EXPECT_EQ(StripHotkey("Fish && &Chips"), "Fish & Chips");
  EXPECT_EQ(StripHotkey("Plain"), "Plain");
  EXPECT_EQ(StripHotkey("End&"), "End&");
}

} // namespace
