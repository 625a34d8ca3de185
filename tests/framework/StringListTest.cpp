#include <gtest/gtest.h>

#include "framework/StringList.h"

using namespace framework;

TEST(StringList, SortedListKeepsOrderAndAppliesDuplicateRule)
{
  TStringList list;
  list.SetSorted(true);
  list.Add("pear.jpg");
  list.Add("Apple.bmp");
  list.Add("banana.ico");
  EXPECT_EQ(list.Text(), "Apple.bmp\r\nbanana.ico\r\npear.jpg\r\n");
  EXPECT_EQ(list.Add("APPLE.BMP"), 0); // ignored: same name, case aside
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.IndexOf("BANANA.ico"), 1);
  EXPECT_EQ(list.IndexOf("cherry"), -1);
  list.SetDuplicates(TDuplicates::dupError);
  EXPECT_THROW(list.Add("pear.jpg"), EStringListError);
  list.SetDuplicates(TDuplicates::dupAccept);
  list.Add("pear.jpg");
  EXPECT_EQ(list.Count(), 4);
  EXPECT_THROW(list.Insert(0, "x"), EStringListError);
}

TEST(StringList, CaseSensitiveComparisonChangesLookups)
{
  TStringList list;
  list.Add("a");
  list.Add("A");
  EXPECT_EQ(list.IndexOf("A"), 0);
  list.SetCaseSensitive(true);
  EXPECT_EQ(list.IndexOf("A"), 1);
}

TEST(StringList, TextSplitsEveryLineBreakKind)
{
  TStringList list;
  list.SetText("one\r\ntwo\nthree\rfour");
  ASSERT_EQ(list.Count(), 4);
  EXPECT_EQ(list[3], "four");
  list.SetText("\n\n");
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list[0], "");
}

TEST(StringList, ChangesAreAnnouncedOncePerUpdate)
{
  TStringList list;
  int changes = 0;
  list.OnChange = TNotifyEvent([&](TObject*) { ++changes; });
  list.Add("x");
  EXPECT_EQ(changes, 1);
  list.BeginUpdate();
  list.Add("y");
  list.Delete(0);
  EXPECT_EQ(changes, 1);
  list.EndUpdate();
  EXPECT_EQ(changes, 2);
  list.SetText("a\nb\nc");
  EXPECT_EQ(changes, 3);
}

TEST(StringList, BadIndexesRaise)
{
  TStringList list;
  list.Add("only");
  EXPECT_THROW((void)list.Strings(1), EStringListError);
  EXPECT_THROW((void)list.Strings(-1), EStringListError);
  EXPECT_THROW(list.Delete(5), EStringListError);
  EXPECT_THROW(list.Insert(3, "x"), EStringListError);
  TStringList copy;
  copy.Assign(list);
  EXPECT_TRUE(copy.Equals(list));
}
