#include "effects/EffectTable.h"

#include "framework/StringList.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace effects {
namespace {

TEST(EffectTable, HoldsTheNamesInTheirStoredOrder)
{
  const std::vector<std::string> names = EffectNames();
  ASSERT_EQ(names.size(), 176u);
  EXPECT_EQ(names.front(), "Expand from right");
  EXPECT_EQ(names.back(), "Slide out from top");
  // Positions other code and stored forms rely on, and spellings that are
  // stored data and must not be corrected.
  EXPECT_EQ(StyleName(52), "Expand out from centre");
  EXPECT_EQ(StyleName(76), "Unven shred from bottom");
  EXPECT_EQ(StyleName(135), "Push and sqeeze down");
  EXPECT_EQ(StyleName(146), "Rectangles apear from left and disapear to right");
  EXPECT_EQ(StyleName(119), "Fade");
  EXPECT_EQ(StyleName(172), "Channel Mix");
  for (size_t i = 0; i < names.size(); ++i)
    EXPECT_EQ(names[i], StyleName(TShowStyle(i + 1))) << "position " << i;
}

TEST(EffectTable, OnlyTwoNamesAreShared)
{
  std::set<std::string> seen;
  std::vector<TShowStyle> repeated;
  for (TShowStyle s = 1; s <= kMaxStyle; ++s)
    if (!seen.insert(std::string(StyleName(s))).second)
      repeated.push_back(s);
  EXPECT_EQ(repeated, (std::vector<TShowStyle>{33, 34}));
  EXPECT_EQ(StyleName(33), StyleName(18));
  EXPECT_EQ(StyleName(34), StyleName(25));
}

TEST(EffectRegistry, StyleZeroIsCustomAndHasNoEntry)
{
  EXPECT_EQ(StyleName(0), "Custom");
  EXPECT_THROW((void)EffectOfStyle(0), std::out_of_range);
  EXPECT_THROW((void)EffectOfStyle(177), std::out_of_range);
  EXPECT_THROW((void)StyleName(177), std::out_of_range);
  EXPECT_EQ(&EffectOfStyle(1), &EffectTable[0]);
  EXPECT_EQ(&EffectOfStyle(176), &EffectTable[175]);
}

TEST(EffectRegistry, FindsStylesByNameIgnoringCase)
{
  EXPECT_EQ(FindStyle("cUsToM"), std::optional<TShowStyle>(0));
  EXPECT_EQ(FindStyle("EXPAND FROM RIGHT"), std::optional<TShowStyle>(1));
  EXPECT_EQ(FindStyle("slide out from top"), std::optional<TShowStyle>(176));
  // A shared name always gives the first entry that carries it.
  EXPECT_EQ(FindStyle("Expand from bottom"), std::optional<TShowStyle>(18));
  EXPECT_EQ(FindStyle("Expand in from top"), std::optional<TShowStyle>(25));
  // Whole names only: no prefixes, no surrounding blanks.
  EXPECT_EQ(FindStyle("Expand from"), std::nullopt);
  EXPECT_EQ(FindStyle(" Fade"), std::nullopt);
  EXPECT_EQ(FindStyle(""), std::nullopt);
}

TEST(EffectRegistry, UnknownNameLeavesTheStyleUnchanged)
{
  TShowStyle style = 42;
  EXPECT_FALSE(StyleOfName("Spin and explode", style));
  EXPECT_EQ(style, 42);
  EXPECT_TRUE(StyleOfName("fade", style));
  EXPECT_EQ(style, 119);
  EXPECT_TRUE(StyleOfName("CUSTOM", style));
  EXPECT_EQ(style, 0);
}

struct TRecordingList {
  std::vector<std::string> Lines;
  std::vector<std::string> Calls;
  void BeginUpdate() { Calls.push_back("begin"); }
  void EndUpdate() { Calls.push_back("end"); }
  void Add(const std::string& s)
  {
    if (Calls.back() != "add")
      Calls.push_back("add");
    Lines.push_back(s);
  }
};

TEST(EffectRegistry, AppendsNamesBetweenBeginAndEndUpdate)
{
  TRecordingList list;
  list.Lines.push_back("kept");
  AppendEffectNames(list);
  EXPECT_EQ(list.Calls, (std::vector<std::string>{"begin", "add", "end"}));
  ASSERT_EQ(list.Lines.size(), 177u);
  EXPECT_EQ(list.Lines[0], "kept");
  EXPECT_EQ(list.Lines[1], "Expand from right");
  EXPECT_EQ(list.Lines[176], "Slide out from top");
}

TEST(EffectRegistry, FillsTheFrameworkStringList)
{
  framework::TStringList list;
  AppendEffectNames(list);
  ASSERT_EQ(list.Count(), 176);
  EXPECT_EQ(list[0], "Expand from right");
  EXPECT_EQ(list[51], "Expand out from centre"); // position i is style i + 1
  EXPECT_EQ(list[175], "Slide out from top");
}

struct TFailingList {
  int Updating = 0;
  void BeginUpdate() { ++Updating; }
  void EndUpdate() { --Updating; }
  void Add(const std::string&) { throw std::runtime_error("full"); }
};

TEST(EffectRegistry, EndsTheUpdateWhenAddingFails)
{
  TFailingList list;
  EXPECT_THROW(AppendEffectNames(list), std::runtime_error);
  EXPECT_EQ(list.Updating, 0);
}

TEST(ProgressSize, ScalesFromTheLongerSide)
{
  EXPECT_EQ(ProgressSize(400, 300, 50), (TProgressSize{200, 150}));
  EXPECT_EQ(ProgressSize(300, 400, 33), (TProgressSize{99, 132}));
  // Square frames scale from the width; rounding is to nearest.
  EXPECT_EQ(ProgressSize(7, 7, 50), (TProgressSize{4, 4}));
  EXPECT_EQ(ProgressSize(1, 1, 49), (TProgressSize{0, 0}));
  EXPECT_EQ(ProgressSize(1, 1, 50), (TProgressSize{1, 1}));
  EXPECT_EQ(ProgressSize(1000, 1, 99), (TProgressSize{990, 1}));
  EXPECT_EQ(ProgressSize(1, 1000, 1), (TProgressSize{0, 10}));
  // An empty frame has nothing to scale.
  EXPECT_EQ(ProgressSize(0, 0, 50), (TProgressSize{0, 0}));
  for (int32_t p = 0; p <= 100; ++p) {
    const TProgressSize s = ProgressSize(640, 480, p);
    EXPECT_TRUE(s.X >= 0 && s.X <= 640 && s.Y >= 0 && s.Y <= 480) << p;
  }
}

} // namespace
} // namespace effects
