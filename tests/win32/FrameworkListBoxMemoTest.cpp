// The list box and the memo on real windows: their lists and the windows'
// lists kept together whichever side changes, selection by the program and by
// the user's mouse and keys, and the styles that make the windows anew.
#include "tests/win32/ListsForm.h"

using namespace framework;
using namespace liststest;

namespace {

// ---------------------------------------------------------------------------
// List box

TEST_F(ListsFormTest, ItemsChangesReachTheWindowAndKeepTheSelectedItem)
{
  TListBox& list = *form->lbFruit;
  const HWND window = list.Handle();
  list.SetSorted(false);
  list.SetItemIndex(2); // "fig"
  list.Items()->Add("zucchini");
  list.Items()->Insert(0, "lemon");
  list.Items()->Delete(4); // "pear"
  list.Items()->Put(1, "apricot");
  EXPECT_EQ(WindowItems(window), Strings(*list.Items()));
  EXPECT_EQ(Strings(*list.Items()), (std::vector<std::string>{"lemon", "apricot", "banana", "fig", "quince", "zucchini"}));
  // Only the changed items were replaced: the selection moved with "fig".
  EXPECT_EQ(list.ItemIndex(), 3);

  list.Items()->Clear();
  EXPECT_EQ(SendMessageW(window, LB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(list.ItemIndex(), -1);
  EXPECT_TRUE(form->fruitClicks.empty());
}

TEST_F(ListsFormTest, StringsPutIntoTheWindowByOthersReachItems)
{
  TListBox& list = *form->lbFruit;
  const HWND window = list.Handle();
  // Sorted: an added string goes to its place in both, and the sender is
  // told that place.
  EXPECT_EQ(SendMessageW(window, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"cherry")), 2);
  EXPECT_EQ(list.Items()->IndexOf("cherry"), 2);
  EXPECT_EQ(WindowItems(window), Strings(*list.Items()));

  list.SetSorted(false);
  SendMessageW(window, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(L"\u00e9clair"));
  SendMessageW(window, LB_DELETESTRING, 3, 0);
  EXPECT_EQ(Strings(*list.Items()),
            (std::vector<std::string>{"\xC3\xA9" "clair", "apple", "banana", "fig", "pear", "quince"}));
  EXPECT_EQ(WindowItems(window), Strings(*list.Items()));
  // A refused index changes neither.
  EXPECT_EQ(SendMessageW(window, LB_DELETESTRING, 40, 0), LB_ERR);
  EXPECT_EQ(list.Items()->Count(), 6);

  SendMessageW(window, LB_RESETCONTENT, 0, 0);
  EXPECT_EQ(list.Items()->Count(), 0);
}

TEST_F(ListsFormTest, ItemIndexAndTheWindowSelectionAreOne)
{
  TListBox& list = *form->lbFruit;
  const HWND window = list.Handle();
  list.SetItemIndex(3);
  EXPECT_EQ(SendMessageW(window, LB_GETCURSEL, 0, 0), 3);
  SendMessageW(window, LB_SETCURSEL, 4, 0);
  EXPECT_EQ(list.ItemIndex(), 4);
  EXPECT_TRUE(list.Selected(4));
  EXPECT_EQ(list.SelCount(), 1);
  list.SetItemIndex(9);
  EXPECT_EQ(list.ItemIndex(), -1);
  EXPECT_EQ(list.SelCount(), 0);
  // The program's selection is not the user's click.
  EXPECT_TRUE(form->fruitClicks.empty());
}

TEST_F(ListsFormTest, TheUsersClicksAndKeysSelectAndRaiseTheirEvents)
{
  TListBox& list = *form->lbFruit;
  const HWND window = list.Handle();
  const gfx::TRect third = list.ItemRect(3);
  ASSERT_FALSE(third.IsEmpty());
  const POINT at = OnScreen(window, third.Left + 10, (third.Top + third.Bottom) / 2);
  ASSERT_EQ(list.ItemAtPos({third.Left + 10, third.Top + 1}), 3);
  ASSERT_TRUE(testsupport::Click(at));
  ASSERT_TRUE(testsupport::PumpUntil([&] { return !form->fruitClicks.empty(); }));
  EXPECT_EQ(list.ItemIndex(), 3);
  EXPECT_EQ(form->fruitClicks, std::vector<int>{3});
  EXPECT_EQ(form->fruitDoubleClicks, 0);

  ASSERT_TRUE(testsupport::Click(at));
  ASSERT_TRUE(testsupport::PumpUntil([&] { return form->fruitDoubleClicks == 1; }));
  for (int clicked : form->fruitClicks)
    EXPECT_EQ(clicked, 3);

  ASSERT_TRUE(testsupport::PressKey(VK_DOWN));
  ASSERT_TRUE(testsupport::PumpUntil([&] { return form->fruitClicks.back() == 4; }));
  EXPECT_EQ(list.ItemIndex(), 4);
  EXPECT_EQ(form->fruitDoubleClicks, 1);
}

TEST_F(ListsFormTest, MultiSelectKeepsSeveralItemsThroughANewWindow)
{
  TListBox& list = *form->lbFruit;
  list.SetMultiSelect(true);
  EXPECT_TRUE(StyleOf(list.Handle()) & LBS_EXTENDEDSEL);
  // The selection of the old window carried over.
  EXPECT_EQ(list.ItemIndex(), 1);
  list.SetSelected(3, true);
  list.SetSelected(4, true);
  list.SetSelected(1, false);
  EXPECT_EQ(list.SelCount(), 2);

  list.SetIntegralHeight(true); // a new window
  EXPECT_FALSE(StyleOf(list.Handle()) & LBS_NOINTEGRALHEIGHT);
  EXPECT_EQ(list.SelCount(), 2);
  EXPECT_TRUE(list.Selected(3) && list.Selected(4));
  EXPECT_FALSE(list.Selected(1));

  // A click selects one item; Shift with the arrow keys adds the range.
  const gfx::TRect first = list.ItemRect(0);
  ASSERT_TRUE(testsupport::ClickClient(list.Handle(), {first.Left + 10, first.Top + 2}));
  EXPECT_EQ(list.SelCount(), 1);
  ASSERT_TRUE(testsupport::PressKey(VK_DOWN, {VK_SHIFT}));
  ASSERT_TRUE(testsupport::PressKey(VK_DOWN, {VK_SHIFT}));
  EXPECT_EQ(list.SelCount(), 3);
  EXPECT_TRUE(list.Selected(0) && list.Selected(1) && list.Selected(2));
  EXPECT_EQ(list.ItemIndex(), 2);

  list.SetItemIndex(4);
  EXPECT_EQ(list.SelCount(), 1);
  EXPECT_EQ(list.ItemIndex(), 4);
}

TEST_F(ListsFormTest, ColumnsShareTheClientWidth)
{
  TListBox& list = *form->lbFruit;
  list.SetColumns(2);
  EXPECT_TRUE(StyleOf(list.Handle()) & LBS_MULTICOLUMN);
  EXPECT_EQ(list.ItemRect(0).Width(), list.ClientWidth() / 2);
  list.SetColumns(3);
  EXPECT_EQ(list.ItemRect(0).Width(), list.ClientWidth() / 3);
  list.SetWidth(list.Width() + 60);
  EXPECT_EQ(list.ItemRect(0).Width(), list.ClientWidth() / 3);
  list.SetColumns(0);
  EXPECT_FALSE(StyleOf(list.Handle()) & LBS_MULTICOLUMN);
  EXPECT_EQ(WindowItems(list.Handle()), Strings(*list.Items()));
  EXPECT_EQ(list.ItemIndex(), 1);
}

TEST(ListBoxWithoutWindow, KeepsItsItemsAndSelectionUntilItGetsOne)
{
  Application->Initialize();
  std::unique_ptr<TForm> form(new TForm(nullptr));
  auto* list = new TListBox(form.get());
  list->Items()->SetText("one\r\ntwo\r\nthree");
  list->SetItemIndex(2);
  list->SetItemIndex(7);
  EXPECT_EQ(list->ItemIndex(), -1);
  list->SetItemIndex(2);
  list->Items()->Delete(2);
  EXPECT_EQ(list->ItemIndex(), -1);
  list->SetItemIndex(1);
  EXPECT_FALSE(list->HandleAllocated());
  list->SetParent(form.get());
  form->Show();
  EXPECT_EQ(WindowItems(list->Handle()), (std::vector<std::string>{"one", "two"}));
  EXPECT_EQ(SendMessageW(list->Handle(), LB_GETCURSEL, 0, 0), 1);
}

// ---------------------------------------------------------------------------
// Memo

TEST_F(ListsFormTest, LinesAndTheWindowTextFollowEachOther)
{
  TMemo& memo = *form->memoNotes;
  const HWND window = memo.Handle();
  memo.Lines()->Add("fourth");
  EXPECT_EQ(WindowTextOf(window), "first line\r\nsecond line\r\n\r\nfourth");
  EXPECT_EQ(form->notes, std::vector<int>{4});

  SetWindowTextW(window, L"a\r\nb");
  EXPECT_EQ(Strings(*memo.Lines()), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(form->notes, (std::vector<int>{4, 2}));

  memo.SetText("x\ny\rz\r\n");
  EXPECT_EQ(Strings(*memo.Lines()), (std::vector<std::string>{"x", "y", "z", ""}));
  EXPECT_EQ(WindowTextOf(window), "x\r\ny\r\nz\r\n");
  EXPECT_EQ(form->notes, (std::vector<int>{4, 2, 4}));
  memo.SetText("x\r\ny\r\nz\r\n");
  EXPECT_EQ(form->notes.size(), 3u) << "the same text again is no change";
}

TEST_F(ListsFormTest, WhatTheUserTypesIsInLinesAtOnce)
{
  TMemo& memo = *form->memoNotes;
  memo.Lines()->Clear();
  form->notes.clear();
  memo.SetFocus();
  TypeKeys({'H', 'I', VK_RETURN, 'Y'});
  ASSERT_TRUE(AppPumpUntil([&] { return memo.Lines()->Count() == 2 && (*memo.Lines())[1] == "y"; }));
  EXPECT_EQ((*memo.Lines())[0], "hi");
  EXPECT_EQ(form->notes.size(), 4u);
  EXPECT_EQ(form->defaultClicks, 0) << "Enter is the memo's while it wants returns";
}

TEST_F(ListsFormTest, WithoutWantReturnsEnterGoesToTheDefaultButton)
{
  TMemo& memo = *form->memoNotes;
  memo.SetWantReturns(false);
  memo.SetFocus();
  const int lines = memo.Lines()->Count();
  TypeKeys({VK_RETURN});
  ASSERT_TRUE(AppPumpUntil([&] { return form->defaultClicks == 1; }));
  EXPECT_EQ(memo.Lines()->Count(), lines);

  // Tab moves on unless the memo wants tabs.
  TypeKeys({VK_TAB});
  EXPECT_NE(GetFocus(), memo.Handle());
  memo.SetWantTabs(true);
  memo.SetFocus();
  TypeKeys({VK_TAB});
  EXPECT_EQ(GetFocus(), memo.Handle());
  EXPECT_NE(memo.Text().find('\t'), std::string::npos);
}

TEST_F(ListsFormTest, ScrollBarsAndWordWrapMakeTheWindowAnewWithItsText)
{
  TMemo& memo = *form->memoNotes;
  const std::string text = WindowTextOf(memo.Handle());
  struct TCase {
    TScrollStyle Bars;
    LONG_PTR Style;
  };
  for (const TCase& c : {TCase{ssNone, 0}, TCase{ssHorizontal, WS_HSCROLL}, TCase{ssVertical, WS_VSCROLL},
                         TCase{ssBoth, WS_HSCROLL | WS_VSCROLL}}) {
    memo.SetScrollBars(c.Bars);
    EXPECT_EQ(StyleOf(memo.Handle()) & (WS_HSCROLL | WS_VSCROLL), c.Style) << int(c.Bars);
    EXPECT_EQ(WindowTextOf(memo.Handle()), text);
  }
  memo.SetWordWrap(true);
  EXPECT_FALSE(StyleOf(memo.Handle()) & ES_AUTOHSCROLL);
  EXPECT_EQ(WindowTextOf(memo.Handle()), text);
  EXPECT_EQ(memo.Lines()->Count(), 3);
  // New windows bring no change of text.
  EXPECT_TRUE(form->notes.empty());
}

} // namespace
