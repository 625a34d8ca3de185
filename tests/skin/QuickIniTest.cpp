#include "skin/QuickIni.h"
#include "skin/ValueParsers.h"

#include <gtest/gtest.h>

#include <random>

using namespace skin;

namespace {

TQuickIni Parse(std::string_view text)
{
  TQuickIni ini;
  ini.Load(text);
  return ini;
}

} // namespace

TEST(QuickIniLines, TrimsAndDropsBlankAndCommentLines)
{
  const TQuickIni ini = Parse("  ; comment\r\n\t[Buttons] \n\n  Bitmap = a.bmp ;not a comment\rTrans=1\r\n");
  EXPECT_EQ(ini.Lines(), (std::vector<std::string>{"[Buttons]", "Bitmap = a.bmp ;not a comment", "Trans=1"}));
  ASSERT_EQ(ini.Sections().size(), 1u);
  EXPECT_EQ(ini.Sections()[0].Header, "[Buttons]");
  EXPECT_EQ(ini.Sections()[0].Line, 0u);
  EXPECT_EQ(ini.ReadString("Buttons", "Bitmap", "-"), "a.bmp ;not a comment");
  // A semicolon after the start of a line belongs to the key.
  const TQuickIni keyed = Parse("[s]\nk;x=1\n;k=2\n");
  EXPECT_EQ(keyed.ReadString("s", "k;x", "-"), "1");
  EXPECT_EQ(keyed.ReadString("s", "k", "-"), "-");
}

TEST(QuickIniLines, NulEndsTheText)
{
  const TQuickIni ini = Parse(std::string_view("[a]\nk=1\0\n[b]\nk=2\n", 17));
  EXPECT_EQ(ini.SectionNames(), (std::vector<std::string>{"a"}));
  EXPECT_EQ(ini.ReadString("b", "k", "none"), "none");
}

TEST(QuickIniLookup, SectionsMatchInAnyCaseButBlanksMustMatch)
{
  const TQuickIni ini = Parse("[Buttons]\nA=1\n[ Tabs ]\nB=2\n[buttons]\nA=3\nC=4\n");
  EXPECT_EQ(ini.ReadString("BUTTONS", "a", ""), "1");
  // The first section of a name wins; its namesake later is never read.
  EXPECT_EQ(ini.ReadString("buttons", "C", "none"), "none");
  EXPECT_EQ(ini.ReadString("Tabs", "B", "none"), "none");
  EXPECT_EQ(ini.ReadString(" Tabs ", "b", "none"), "2");
  EXPECT_EQ(ini.SectionNames(), (std::vector<std::string>{"Buttons", "Tabs", "buttons"}));
}

TEST(QuickIniLookup, FirstKeyDecidesAndEmptyValuesKeepTheDefault)
{
  const TQuickIni ini = Parse("[s]\nKey=\nkey=later\nOther = value = more\nnoequals\n = blank key\n[t]\nKey=t\n");
  EXPECT_EQ(ini.ReadString("s", "KEY", "dflt"), "dflt");
  EXPECT_EQ(ini.ReadString("s", "other", ""), "value = more");
  EXPECT_EQ(ini.ReadString("s", "", "dflt"), "noequals");
  EXPECT_EQ(ini.ReadString("s", "missing", "dflt"), "dflt");
  EXPECT_EQ(ini.ReadString("t", "key", ""), "t");
  EXPECT_EQ(ini.ReadString("nowhere", "key", "dflt"), "dflt");
  EXPECT_EQ(Parse("").ReadString("s", "key", "dflt"), "dflt");
  // Lines before the first section belong to no section.
  EXPECT_EQ(Parse("key=1\n[s]\n").ReadString("s", "key", "dflt"), "dflt");
}

TEST(QuickIniIntegers, DecimalAndBothHexadecimalForms)
{
  const TQuickIni ini = Parse(
    "[n]\nhex1=0x1F\nhex2=$1F\nhex3=0X1f\nshort=0x\nbad=12abc\nneg=-42\nplus=+7\nbig=2147483648\n"
    "min=-2147483648\nallbits=$FFFFFFFF\nspace=1 2\nempty=\nsign=-\ndollar=$\nlonghex=$100000000\n");
  EXPECT_EQ(ini.ReadInteger("n", "hex1", -1), 31);
  EXPECT_EQ(ini.ReadInteger("n", "hex2", -1), 31);
  EXPECT_EQ(ini.ReadInteger("n", "hex3", -1), 31);
  EXPECT_EQ(ini.ReadInteger("n", "short", -1), -1);
  EXPECT_EQ(ini.ReadInteger("n", "bad", -1), -1);
  EXPECT_EQ(ini.ReadInteger("n", "neg", 0), -42);
  EXPECT_EQ(ini.ReadInteger("n", "plus", 0), 7);
  EXPECT_EQ(ini.ReadInteger("n", "big", 5), 5);
  EXPECT_EQ(ini.ReadInteger("n", "min", 5), INT32_MIN);
  EXPECT_EQ(ini.ReadInteger("n", "allbits", 5), -1);
  EXPECT_EQ(ini.ReadInteger("n", "space", 5), 5);
  EXPECT_EQ(ini.ReadInteger("n", "empty", 5), 5);
  EXPECT_EQ(ini.ReadInteger("n", "sign", 5), 5);
  EXPECT_EQ(ini.ReadInteger("n", "dollar", 5), 5);
  EXPECT_EQ(ini.ReadInteger("n", "longhex", 5), 5);
  EXPECT_EQ(ini.ReadInteger("n", "missing", 9), 9);
}

TEST(ColorText, ThreeNumbersSeparatedByAnything)
{
  EXPECT_EQ(ParseColorText("191 210 234", 1), 0xEAD2BF);
  EXPECT_EQ(ParseColorText("10,20,30", 1), gfx::RGBColor(10, 20, 30));
  EXPECT_EQ(ParseColorText("  r=10; g=20; b=30;  ", 1), gfx::RGBColor(10, 20, 30));
  EXPECT_EQ(ParseColorText("300 0 0", 1), gfx::RGBColor(44, 0, 0));
  // Long numbers do not overflow: only their value modulo 256 counts.
  EXPECT_EQ(ParseColorText("99999999999999999999 1 2", 1), gfx::RGBColor(255, 1, 2));
  EXPECT_EQ(ParseColorText("1 2 3 4", 0), gfx::RGBColor(1, 2, 3));
  EXPECT_EQ(ParseColorText("", 0x123456), 0x123456);
  EXPECT_EQ(ParseColorText("   ", 0x123456), 0x123456);
  EXPECT_EQ(ParseColorText("none", 0x123456), 0);
}

TEST(ColorText, ATrailingNumberCountsOnlyAsTheThird)
{
  EXPECT_EQ(ParseColorText("5 6", 1), gfx::RGBColor(5, 0, 0));
  EXPECT_EQ(ParseColorText("5 6 ", 1), gfx::RGBColor(5, 0, 0)); // trimmed first
  EXPECT_EQ(ParseColorText("5 6;", 1), gfx::RGBColor(5, 6, 0));
  EXPECT_EQ(ParseColorText("5", 1), 0);
  EXPECT_EQ(ParseColorText("5,", 1), gfx::RGBColor(5, 0, 0));
}

TEST(SplitColor, SetOnlyWhenAllThreeArePresent)
{
  const TQuickIni ini = Parse("[Personality]\nActiveTextR=1\nActiveTextG=2\nActiveTextB=0x103\n"
                              "InActiveTextR=1\nInActiveTextG=2\nOddR=-1\nOddG=0\nOddB=0\n");
  gfx::TColor c = gfx::clNone;
  EXPECT_TRUE(ReadSplitColor(ini, "personality", "ActiveText", c));
  EXPECT_EQ(c, gfx::RGBColor(1, 2, 3));
  gfx::TColor d = gfx::clNone;
  EXPECT_FALSE(ReadSplitColor(ini, "personality", "InActiveText", d));
  EXPECT_EQ(d, gfx::clNone);
  EXPECT_FALSE(ReadSplitColor(ini, "personality", "Odd", d));
  EXPECT_EQ(d, gfx::clNone);
}

TEST(SectionFilters, CaptionButtonsAndColourSections)
{
  const TQuickIni ini = Parse(
    "[Buttons]\n[Button]\n[BUTTON.RADIO]\n[button.checkbox]\n[Button0]\nAction=0\n"
    "[Button1]\nAction=-1\nVisibility=2\n[Button2]\nAction=-1\nVisibility=0\n[Button3]\nAction=-1\n"
    "[ButtonX]\nAction=-1\nVisibility=\n[Colours]\n[Colour.Edit]\ncolor=1 2 3\n[COLOURX]\n[Colour]\n");
  // Button1 is switched off; Button3 and ButtonX have no usable Visibility,
  // which counts as -1 (non-zero), so they are off as well.
  EXPECT_EQ(CaptionButtonSections(ini), (std::vector<std::string>{"Button0", "Button2"}));
  EXPECT_EQ(ColourSections(ini), (std::vector<std::string>{"Colour.Edit", "COLOURX", "Colour"}));
}

TEST(QuickIniHostile, RandomTextNeverBreaksTheReader)
{
  std::mt19937 rng(5);
  const char alphabet[] = "[]=; \t\r\n\0abAB01$x";
  for (int32_t round = 0; round < 500; ++round) {
    std::string text(rng() % 200, ' ');
    for (char& c : text)
      c = alphabet[rng() % (sizeof alphabet - 1)];
    TQuickIni ini;
    ini.Load(text);
    for (const std::string& name : ini.SectionNames()) {
      const int32_t found = ini.FindSection(name);
      // Names with blanks trimmed away are not found again: that is the rule.
      if (found >= 0) {
        EXPECT_LT(size_t(found), ini.Sections().size());
      }
      (void)ini.ReadInteger(name, "a", 0);
      (void)ParseColorText(ini.ReadString(name, "b", ""), 0);
    }
    for (const std::string& line : ini.Lines()) {
      ASSERT_FALSE(line.empty());
      EXPECT_NE(line.front(), ';');
      EXPECT_GT(uint8_t(line.front()), 32);
      EXPECT_GT(uint8_t(line.back()), 32);
    }
  }
}
