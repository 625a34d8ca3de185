// The list box, memo, scroll bar and date picker read from a form
// description onto real windows and written back; and the skin library's
// notice that shares the number of a reflected WM_NOTIFY, sent to every
// control of the form.
#include <memory>

#include "tests/win32/ListsForm.h"

using namespace framework;
using namespace liststest;

namespace {

SCROLLINFO ScrollInfoOf(HWND bar)
{
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  GetScrollInfo(bar, SB_CTL, &info);
  return info;
}

TEST_F(ListsFormTest, TheDescriptionMakesEachControlAndItsWindow)
{
  const std::vector<std::string> sorted{"apple", "banana", "fig", "pear", "quince"};
  EXPECT_EQ(Strings(*form->lbFruit->Items()), sorted);
  const HWND list = form->lbFruit->Handle();
  EXPECT_EQ(WindowItems(list), sorted);
  // The index read with the items applies to the sorted list.
  EXPECT_EQ(form->lbFruit->ItemIndex(), 1);
  EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);
  EXPECT_TRUE(StyleOf(list) & LBS_NOINTEGRALHEIGHT);

  const HWND memo = form->memoNotes->Handle();
  EXPECT_EQ(WindowTextOf(memo), "first line\r\nsecond line\r\n");
  EXPECT_EQ(form->memoNotes->Lines()->Count(), 3);
  EXPECT_EQ((StyleOf(memo) & (ES_MULTILINE | ES_AUTOHSCROLL | WS_HSCROLL | WS_VSCROLL)),
            LONG_PTR(ES_MULTILINE | ES_AUTOHSCROLL | WS_HSCROLL | WS_VSCROLL));

  const SCROLLINFO zoom = ScrollInfoOf(form->sbZoom->Handle());
  EXPECT_EQ(zoom.nMin, 10);
  EXPECT_EQ(zoom.nMax, 60);
  EXPECT_EQ(zoom.nPage, 5u);
  EXPECT_EQ(zoom.nPos, 20);
  EXPECT_EQ(StyleOf(form->sbZoom->Handle()) & SBS_VERT, 0);
  EXPECT_TRUE(StyleOf(form->sbSide->Handle()) & SBS_VERT);
  EXPECT_EQ(ScrollInfoOf(form->sbSide->Handle()).nMax, 1000);
  EXPECT_EQ(form->sbSide->Height(), 200);

  SYSTEMTIME shown{};
  ASSERT_EQ(SendMessageW(form->dtpDay->Handle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown)), GDT_VALID);
  EXPECT_EQ(shown.wYear, 2024);
  EXPECT_EQ(shown.wMonth, 5);
  EXPECT_EQ(shown.wDay, 17);
  EXPECT_EQ(shown.wHour, 8);
  EXPECT_EQ(shown.wMinute, 30);
  EXPECT_EQ(shown.wSecond, 15);
  EXPECT_TRUE(StyleOf(form->dtpDay->Handle()) & DTS_LONGDATEFORMAT);

  // Reading a description is nobody's change.
  EXPECT_EQ(EventCount(*form), 0u);
}

TEST_F(ListsFormTest, WrittenBackAndReadAgainEveryPropertyComesBack)
{
  form->lbFruit->Items()->Add("cherry");
  form->lbFruit->SetColumns(2);
  form->lbFruit->SetIntegralHeight(true);
  form->memoNotes->Lines()->SetText("one\r\ntwo");
  form->memoNotes->SetWantReturns(false);
  form->sbZoom->SetPosition(33);
  form->dtpDay->SetKind(dtkTime);
  form->dtpDay->SetTime(EncodeTime(23, 4, 5));

  const std::string written = WriteFormDescription(DescribeComponentTree(*form));
  for (const char* stored : {"Items = [\"apple\", \"banana\", \"cherry\", \"fig\", \"pear\", \"quince\"]",
                             "Columns = 2", "IntegralHeight = True", "Lines = [\"one\", \"two\"]",
                             "WantReturns = False", "ScrollBars = ssBoth", "Position = 33", "Kind = sbVertical",
                             "Kind = dtkTime", "Date = \"2024-05-17\"", "Time = \"23:04:05\""})
    EXPECT_NE(written.find(stored), std::string::npos) << stored << "\n" << written;

  // Read into a form that never gets a window, and written again, the
  // description is the same: the values live without windows too.
  std::unique_ptr<TListsForm> again(new TListsForm(nullptr));
  again->ReadDescription(written);
  EXPECT_EQ(WriteFormDescription(DescribeComponentTree(*again)), written);
  EXPECT_EQ(again->lbFruit->ItemIndex(), 1);
  EXPECT_DOUBLE_EQ(again->dtpDay->DateTime(), CombineDateTime(EncodeDate(2024, 5, 17), EncodeTime(23, 4, 5)));
}

TEST_F(ListsFormTest, TextThatIsNoDateIsRefused)
{
  EXPECT_THROW(SetPropValue(*form->dtpDay, "Date", "2024-13-01"), EPropertyError);
  EXPECT_THROW(SetPropValue(*form->dtpDay, "Time", "25:00:00"), EPropertyError);
  EXPECT_EQ(DateToText(form->dtpDay->Date()), "2024-05-17");
  EXPECT_EQ(TimeToText(form->dtpDay->Time()), "08:30:15");
}

// The skin library sends its skin-aware notice (0xBC4E with the tag 0x41A2
// in LParam) to windows it skins. Under that number the framework reflects a
// child's WM_NOTIFY, whose LParam points at a header: a control that took
// the tag for a header would read from address 0x41A2.
TEST_F(ListsFormTest, TheSkinAwareNoticeChangesNoControl)
{
  constexpr UINT kSkinAwareNotice = 0xBC4E;
  constexpr LPARAM kTag = 0x41A2;
  static_assert(kSkinAwareNotice == CN_NOTIFY && kTag == kSkinAwareNotifyTag);
  const std::string before = WriteFormDescription(DescribeComponentTree(*form));
  int controls = 0;
  for (int i = 0; i < form->ComponentCount(); ++i) {
    auto* control = dynamic_cast<TWinControl*>(form->Components(i));
    if (!control)
      continue;
    ++controls;
    SCOPED_TRACE(control->Name());
    EXPECT_EQ(SendMessageW(control->Handle(), kSkinAwareNotice, 0, kTag), 0);
    EXPECT_EQ(control->Perform(kSkinAwareNotice, 0, kTag), 0);
  }
  EXPECT_EQ(controls, 12);
  testsupport::PumpMessages(50);
  EXPECT_EQ(WriteFormDescription(DescribeComponentTree(*form)), before);
  EXPECT_EQ(EventCount(*form), 0u);
  EXPECT_EQ(form->Pages->ActivePage()->Name(), "TabTwo");
}

} // namespace
