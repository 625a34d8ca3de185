// The scroll bar control and the date picker on real windows: the scroll
// bar's range, page and position kept in line, its arrows, track and thumb
// pressed with the real mouse, and the date picker set by the program and
// changed by the user.
#include <algorithm>

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

// Where the system has the arrows and the thumb of a scroll bar control,
// in screen coordinates.
SCROLLBARINFO PartsOf(HWND bar)
{
  SCROLLBARINFO info{};
  info.cbSize = sizeof(info);
  GetScrollBarInfo(bar, OBJID_CLIENT, &info);
  return info;
}

// A press and its release queued together: the bar's own tracking loop
// starts with the press and finds the release already waiting. The cursor
// may move between them.
void PressAndRelease(POINT down, POINT up)
{
  ASSERT_TRUE(testsupport::MoveMouse(down));
  ASSERT_TRUE(testsupport::SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTDOWN, down));
  if (up.x != down.x || up.y != down.y) {
    ASSERT_TRUE(testsupport::SendMouse(MOUSEEVENTF_MOVE, up));
  }
  ASSERT_TRUE(testsupport::SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTUP, up));
  testsupport::PumpMessages(100);
}

class ScrollBarTest : public ListsFormTest {
protected:
  void SetUp() override
  {
    ListsFormTest::SetUp();
    bar = form->sbZoom->Handle();
    parts = PartsOf(bar);
    ASSERT_GT(parts.dxyLineButton, 0);
    middleY = (parts.rcScrollBar.top + parts.rcScrollBar.bottom) / 2;
  }
  // Each step the user makes ends with the end of the scroll.
  bool WaitForEndOfScroll()
  {
    return testsupport::PumpUntil([this] { return !form->scrollCodes.empty() && form->scrollCodes.back() == scEndScroll; });
  }

  HWND bar = nullptr;
  SCROLLBARINFO parts{};
  int middleY = 0;
};

TEST_F(ScrollBarTest, RangePageAndPositionStayInLineWithTheWindow)
{
  TScrollBar& zoom = *form->sbZoom;
  zoom.SetPosition(100);
  EXPECT_EQ(zoom.Position(), 56) << "the last place of a page of 5 in 10..60";
  zoom.SetPageSize(100);
  EXPECT_EQ(zoom.PageSize(), 51);
  EXPECT_EQ(zoom.Position(), 10);
  zoom.SetPageSize(0);
  zoom.SetMax(5);
  EXPECT_EQ(zoom.Min(), 5);
  EXPECT_EQ(zoom.Position(), 5);
  zoom.SetMin(70);
  EXPECT_EQ(zoom.Max(), 70);
  EXPECT_EQ(zoom.Position(), 70);
  EXPECT_EQ(form->zoomChanges, (std::vector<int>{56, 10, 5, 70}));
  const SCROLLINFO shown = ScrollInfoOf(bar);
  EXPECT_EQ(shown.nMin, 70);
  EXPECT_EQ(shown.nMax, 70);
  EXPECT_EQ(shown.nPos, 70);
  EXPECT_TRUE(form->scrollCodes.empty());

  zoom.SetSmallChange(0);
  zoom.SetLargeChange(100000);
  EXPECT_EQ(zoom.SmallChange(), 1);
  EXPECT_EQ(zoom.LargeChange(), 32767);
}

TEST_F(ScrollBarTest, TurnedOnItsSideItSwapsWidthAndHeightAndKeepsItsPlace)
{
  TScrollBar& zoom = *form->sbZoom;
  const int width = zoom.Width(), height = zoom.Height();
  zoom.SetKind(sbVertical);
  EXPECT_EQ(zoom.Width(), height);
  EXPECT_EQ(zoom.Height(), width);
  EXPECT_TRUE(StyleOf(zoom.Handle()) & SBS_VERT);
  EXPECT_EQ(ScrollInfoOf(zoom.Handle()).nPos, 20);
  EXPECT_EQ(ScrollInfoOf(zoom.Handle()).nPage, 5u);
}

TEST_F(ScrollBarTest, AClickOnAnArrowMovesALine)
{
  const POINT right{parts.rcScrollBar.right - parts.dxyLineButton / 2, middleY};
  PressAndRelease(right, right);
  ASSERT_TRUE(WaitForEndOfScroll());
  EXPECT_EQ(form->scrollCodes.front(), scLineDown);
  EXPECT_EQ(form->sbZoom->Position(), 22);
  EXPECT_EQ(form->zoomChanges, std::vector<int>{22});
  EXPECT_EQ(ScrollInfoOf(bar).nPos, 22);

  form->scrollCodes.clear();
  const POINT left{parts.rcScrollBar.left + parts.dxyLineButton / 2, middleY};
  PressAndRelease(left, left);
  ASSERT_TRUE(WaitForEndOfScroll());
  EXPECT_EQ(form->scrollCodes.front(), scLineUp);
  EXPECT_EQ(form->sbZoom->Position(), 20);
}

TEST_F(ScrollBarTest, AClickOnTheTrackMovesAPage)
{
  const int trackAfterThumb = parts.rcScrollBar.left + (parts.xyThumbBottom + parts.rcScrollBar.right -
                                                        parts.rcScrollBar.left - parts.dxyLineButton) / 2;
  const POINT page{trackAfterThumb, middleY};
  PressAndRelease(page, page);
  ASSERT_TRUE(WaitForEndOfScroll());
  EXPECT_EQ(form->scrollCodes.front(), scPageDown);
  EXPECT_EQ(form->sbZoom->Position(), 30);
  EXPECT_EQ(ScrollInfoOf(bar).nPos, 30);
}

TEST_F(ScrollBarTest, OnScrollDecidesWhereAStepLeads)
{
  form->lineDownGoesTo = 44;
  const POINT right{parts.rcScrollBar.right - parts.dxyLineButton / 2, middleY};
  PressAndRelease(right, right);
  ASSERT_TRUE(WaitForEndOfScroll());
  EXPECT_EQ(form->sbZoom->Position(), 44);
  EXPECT_EQ(ScrollInfoOf(bar).nPos, 44);
  // A place beyond the end is held at the last one.
  form->lineDownGoesTo = 1000;
  form->scrollCodes.clear();
  PressAndRelease(right, right);
  ASSERT_TRUE(WaitForEndOfScroll());
  EXPECT_EQ(form->sbZoom->Position(), 56);
}

TEST_F(ScrollBarTest, TheThumbDraggedTakesThePositionAlong)
{
  const POINT thumb{parts.rcScrollBar.left + (parts.xyThumbTop + parts.xyThumbBottom) / 2, middleY};
  const POINT dropped{thumb.x + 120, middleY};
  PressAndRelease(thumb, dropped);
  ASSERT_TRUE(WaitForEndOfScroll());
  const auto& codes = form->scrollCodes;
  EXPECT_NE(std::find(codes.begin(), codes.end(), scTrack), codes.end());
  EXPECT_NE(std::find(codes.begin(), codes.end(), scPosition), codes.end());
  EXPECT_GT(form->sbZoom->Position(), 30);
  EXPECT_EQ(ScrollInfoOf(bar).nPos, form->sbZoom->Position());
  ASSERT_FALSE(form->zoomChanges.empty());
  EXPECT_EQ(form->zoomChanges.back(), form->sbZoom->Position());
}

// ---------------------------------------------------------------------------
// Date picker

SYSTEMTIME Shown(HWND picker)
{
  SYSTEMTIME st{};
  SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
  return st;
}

TEST_F(ListsFormTest, TheDayAndTheTimeOfThePickerAreSetApart)
{
  TDateTimePicker& picker = *form->dtpDay;
  picker.SetDate(EncodeDate(2023, 12, 31));
  SYSTEMTIME st = Shown(picker.Handle());
  EXPECT_EQ((std::vector<int>{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond}),
            (std::vector<int>{2023, 12, 31, 8, 30, 15}));
  picker.SetTime(EncodeTime(17, 5, 0));
  st = Shown(picker.Handle());
  EXPECT_EQ((std::vector<int>{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond}),
            (std::vector<int>{2023, 12, 31, 17, 5, 0}));
  EXPECT_DOUBLE_EQ(picker.DateTime(), CombineDateTime(EncodeDate(2023, 12, 31), EncodeTime(17, 5, 0)));

  picker.SetKind(dtkTime);
  EXPECT_EQ(StyleOf(picker.Handle()) & DTS_TIMEFORMAT, DTS_TIMEFORMAT);
  EXPECT_EQ(Shown(picker.Handle()).wHour, 17);
  EXPECT_EQ(form->dayChanges, 0) << "the program's changes are not the user's";
}

TEST_F(ListsFormTest, TheUserChangesThePickersDayWithTheKeys)
{
  TDateTimePicker& picker = *form->dtpDay;
  picker.SetDateFormat(dfShort);
  const TDateTime before = picker.DateTime();
  // A click on the first field selects it; Up moves it one on.
  ASSERT_TRUE(testsupport::ClickClient(picker.Handle(), {6, picker.ClientHeight() / 2}));
  ASSERT_TRUE(testsupport::PressKey(VK_UP));
  ASSERT_TRUE(testsupport::PumpUntil([&] { return form->dayChanges > 0; }));
  EXPECT_EQ(form->dayChanges, 1);
  EXPECT_NE(picker.DateTime(), before);
  EXPECT_EQ(TimeToText(picker.Time()), "08:30:15");
  const SYSTEMTIME st = Shown(picker.Handle());
  EXPECT_EQ(picker.Date(), EncodeDate(st.wYear, st.wMonth, st.wDay));
}

TEST_F(ListsFormTest, TheArrowOfThePickerDropsTheCalendar)
{
  TDateTimePicker& picker = *form->dtpDay;
  ASSERT_FALSE(picker.DroppedDown());
  ASSERT_TRUE(testsupport::ClickClient(picker.Handle(), {picker.ClientWidth() - 6, picker.ClientHeight() / 2}));
  ASSERT_TRUE(testsupport::PumpUntil([&] { return picker.DroppedDown(); }));
  // The arrow again closes it.
  ASSERT_TRUE(testsupport::ClickClient(picker.Handle(), {picker.ClientWidth() - 6, picker.ClientHeight() / 2}));
  EXPECT_TRUE(testsupport::PumpUntil([&] { return !picker.DroppedDown(); }));
  EXPECT_EQ(DateToText(picker.Date()), "2024-05-17");
}

} // namespace
