// Tab strips and headers under the probe skin: tabs on every side with the
// focused tab in its own frame, close boxes that ask the form, overflowing
// tabs whose scroller keeps its own look, skinned pages, and header sections
// hot under the mouse.
#include "framework/win32/ComCtrls.h"
#include "framework/win32/HeaderControl.h"
#include "framework/win32/ListView.h"
#include "framework/win32/TabControl.h"
#include "skin/controls/SkinHeader.h"
#include "skin/controls/SkinListView.h"
#include "skin/controls/SkinTab.h"
#include "tests/win32/SkinnedWindowSupport.h"

#include <commctrl.h>
#include <gtest/gtest.h>

using namespace testsupport;

namespace {

bool Skinned(HWND control) { return SendMessageW(control, skin::WM_SKIN_QUERY, 0, 0) == 1; }

RECT TabRect(HWND tabs, int index)
{
  RECT r{};
  SendMessageW(tabs, TCM_GETITEMRECT, WPARAM(index), reinterpret_cast<LPARAM>(&r));
  return r;
}

RECT Deflated(RECT r, int by) { return {r.left + by, r.top + by, r.right - by, r.bottom - by}; }

class SkinTabsTest : public TSkinnedSuite<&ProbeSkinPackage> {
protected:
  // What the form answers a close box and what it was asked. They outlive the
  // form: the skinned frame keeps the form's window procedure chain, the
  // test's handler included, until the form goes.
  LRESULT closeAnswer_ = 1;
  std::vector<LPARAM> closeAsked_;
  framework::TWndMethod formOwnProc_;
  framework::TForm form{nullptr};

  void SetUp() override { form.SetBounds(40, 40, 700, 460); }

  template <class T>
  T* Make(int x, int y, int w, int h)
  {
    auto* control = new T(&form);
    control->SetParent(&form);
    control->SetBounds(x, y, w, h);
    return control;
  }

  skin::TWinSkinForm* ShowFramed()
  {
    form.Show();
    BringToFront(form.Handle());
    return WaitForFrame(form.Handle());
  }
};

// Whichever side the tabs stand on, each shows the tabs' strip frame: the
// focused one frame 2, the others frame 1 (0 and 1 counted from 0 here).
TEST_F(SkinTabsTest, TabsOnEverySideShowTheFocusedTabInItsFrame)
{
  std::vector<framework::TTabControl*> strips;
  const framework::TTabPosition sides[] = {framework::tpTop, framework::tpBottom, framework::tpLeft,
                                           framework::tpRight};
  for (int i = 0; i < 4; ++i) {
    auto* tabs = Make<framework::TTabControl>(10 + 170 * i, 10, 160, 200);
    tabs->SetTabPosition(sides[i]);
    for (const char* caption : {"First", "Second", "Third"})
      tabs->Tabs()->Add(caption);
    tabs->SetTabIndex(0);
    strips.push_back(tabs);
  }
  ASSERT_NE(ShowFramed(), nullptr);
  for (size_t i = 0; i < strips.size(); ++i) {
    const HWND window = strips[i]->Handle();
    ASSERT_TRUE(Skinned(window)) << i;
    SendMessageW(window, TCM_SETCURFOCUS, 1, 0);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    PumpMessages(40);
    const TCapture capture = CaptureWindow(window);
    for (int tab = 0; tab < 3; ++tab) {
      const int32_t frame = tab == 1 ? 1 : 0;
      const TFrameCensus census = CensusOf(capture, Deflated(TabRect(window, tab), 3));
      EXPECT_GT(census.Count("tab.bmp", frame), 0) << "side " << i << " tab " << tab;
      EXPECT_EQ(census.Count("tab.bmp", 1 - frame), 0) << "side " << i << " tab " << tab;
    }
  }
}

TEST_F(SkinTabsTest, PagesWearTheSkinsFace)
{
  auto* pages = Make<framework::TPageControl>(10, 10, 300, 200);
  auto* sheet = new framework::TTabSheet(&form);
  sheet->SetPageControl(pages);
  sheet->SetCaption("Only");
  ASSERT_NE(ShowFramed(), nullptr);
  PumpMessages(60);
  ASSERT_TRUE(Skinned(sheet->Handle()));
  const uint32_t face = gfx::ColorToRGB(data_->Color(skin::scButtonFace));
  const uint32_t expected = ((face & 0xFF) << 16) | (face & 0xFF00) | ((face >> 16) & 0xFF);
  const SIZE size = WindowSize(sheet->Handle());
  EXPECT_EQ(WindowPixel(sheet->Handle(), size.cx / 2, size.cy / 2), expected);
}

// A page control whose Tag asks for close boxes asks the form before a page
// goes, and lets it go only when the form answers 0.
TEST_F(SkinTabsTest, CloseBoxFreesAPageOnlyWhenTheFormAgrees)
{
  auto* pages = Make<framework::TPageControl>(10, 10, 400, 200);
  pages->SetTag(skin::TSkinTab::kCloseBoxTag);
  for (const char* caption : {"Keep me", "Close me"}) {
    auto* sheet = new framework::TTabSheet(&form);
    sheet->SetPageControl(pages);
    sheet->SetCaption(caption);
  }
  formOwnProc_ = form.WindowProc;
  form.WindowProc = [this](framework::TMessage& message) {
    if (message.Msg == skin::WM_SKIN_CLOSE_TAB) {
      closeAsked_.push_back(message.LParam);
      message.Result = closeAnswer_;
      return;
    }
    formOwnProc_(message);
  };
  ASSERT_NE(ShowFramed(), nullptr);
  RedrawWindow(pages->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  PumpMessages(40);
  const RECT second = TabRect(pages->Handle(), 1);
  POINT box{second.right - 5, second.top + 1 + 5};
  ClientToScreen(pages->Handle(), &box);
  const TCursorRestorer cursor;
  Click(box);
  PumpMessages(100);
  ASSERT_EQ(closeAsked_, std::vector<LPARAM>{1});
  EXPECT_EQ(pages->PageCount(), 2) << "the form said no";
  closeAnswer_ = 0;
  PumpMessages(int(GetDoubleClickTime()) + 50);
  Click(box);
  PumpMessages(100);
  EXPECT_EQ(closeAsked_.size(), 2u);
  ASSERT_EQ(pages->PageCount(), 1);
  EXPECT_EQ(pages->Pages(0)->Caption(), "Keep me");
}

// Tabs wider than the strip bring the system's scroller: the strip leaves it
// alone, and it wears the skin as any up-down does.
TEST_F(SkinTabsTest, OverflowingTabsLeaveTheScrollerToTheSystem)
{
  auto* tabs = Make<framework::TTabControl>(10, 10, 200, 120);
  for (char letter = 'A'; letter < 'M'; ++letter)
    tabs->Tabs()->Add(std::string("Tab letter ") + letter);
  tabs->SetTabIndex(0);
  ASSERT_NE(ShowFramed(), nullptr);
  const HWND scroller = FindWindowExW(tabs->Handle(), nullptr, UPDOWN_CLASSW, nullptr);
  ASSERT_NE(scroller, nullptr);
  ASSERT_TRUE(IsWindowVisible(scroller));
  RedrawWindow(tabs->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  PumpMessages(60);
  const TCapture capture = CaptureWindow(scroller);
  const TFrameCensus census = CensusOf(capture, capture.Bounds());
  EXPECT_EQ(census.Count("tab.bmp", 0) + census.Count("tab.bmp", 1), 0);
  // The scroller is an up-down of its own, skinned as up-downs are.
  EXPECT_TRUE(Skinned(scroller));
  EXPECT_GT(census.Count("spinh.bmp", 0) + census.Count("spin.bmp", 0), 0);
  const TCapture strip = CaptureWindow(tabs->Handle());
  EXPECT_GT(CensusOf(strip, Deflated(TabRect(tabs->Handle(), 0), 3)).Count("tab.bmp", 0) +
              CensusOf(strip, Deflated(TabRect(tabs->Handle(), 0), 3)).Count("tab.bmp", 1),
            0);
}

TEST_F(SkinTabsTest, HeaderSectionUnderTheMouseIsHot)
{
  auto* header = Make<framework::THeaderControl>(10, 10, 400, 24);
  header->SetAlign(framework::alNone);
  for (const char* text : {"Name", "Size", "Kind"}) {
    auto* section = static_cast<framework::THeaderSection*>(header->Sections()->Add());
    section->SetText(text);
    section->SetWidth(100);
  }
  skin::TWinSkinForm* frame = ShowFramed();
  ASSERT_NE(frame, nullptr);
  auto* companion = dynamic_cast<skin::TSkinHeader*>(frame->CompanionFor(header->Handle()));
  ASSERT_NE(companion, nullptr);
  const HWND window = header->Handle();
  const TCursorRestorer cursor;
  POINT over{150, 12};
  ClientToScreen(window, &over);
  MoveMouse(over);
  PumpMessages(100);
  EXPECT_EQ(companion->HotSection(), 1);
  const TCapture hot = CaptureWindow(window);
  EXPECT_GT(CensusOf(hot, {105, 2, 195, 22}).Count("header.bmp", 1), 0);
  EXPECT_EQ(CensusOf(hot, {5, 2, 95, 22}).Count("header.bmp", 1), 0);
  EXPECT_GT(CensusOf(hot, {5, 2, 95, 22}).Count("header.bmp", 0), 0);
  // Past the last section the bar goes on in the normal frame.
  EXPECT_GT(CensusOf(hot, {320, 2, 390, 22}).Count("header.bmp", 0), 0);
  // The hot section follows the mouse to its neighbour.
  MoveMouse({over.x - 100, over.y});
  EXPECT_TRUE(PumpUntil([&] { return companion->HotSection() == 0; }, 1000));
  // Leaving clears it. Wine delivers the leave notice late or not at all
  // while other windows of the thread track the mouse, so the notice the
  // system would send is sent here.
  SendMessageW(window, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(companion->HotSection(), -1);
}

// A list view's column header is skinned with it, and its bars are the
// skin's overlays: the thumb goes down as the list scrolls down.
TEST_F(SkinTabsTest, ListViewScrollsUnderSkinnedBarsBelowASkinnedHeader)
{
  auto* list = Make<framework::TListView>(10, 10, 300, 200);
  list->SetViewStyle(framework::vsReport);
  for (const char* caption : {"Picture", "Size"}) {
    auto* column = static_cast<framework::TListColumn*>(list->Columns()->Add());
    column->SetCaption(caption);
    column->SetWidth(120);
  }
  list->Items()->BeginUpdate();
  for (char a = 'A'; a <= 'Z'; ++a)
    for (char b = 'a'; b <= 'd'; ++b)
      static_cast<framework::TListItem*>(list->Items()->Add())->SetCaption(std::string("Photo ") + a + b);
  list->Items()->EndUpdate();
  skin::TWinSkinForm* frame = ShowFramed();
  ASSERT_NE(frame, nullptr);
  ASSERT_NE(dynamic_cast<skin::TSkinListView*>(frame->CompanionFor(list->Handle())), nullptr);
  const HWND header = list->HeaderHandle();
  ASSERT_NE(dynamic_cast<skin::TSkinHeader*>(frame->CompanionFor(header)), nullptr);
  RedrawWindow(header, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  PumpMessages(60);
  const TCapture heading = CaptureWindow(header);
  EXPECT_GT(CensusOf(heading, heading.Bounds()).Count("header.bmp", 0), 0);

  const auto thumbRows = [list] {
    SCROLLBARINFO bar{};
    bar.cbSize = sizeof bar;
    GetScrollBarInfo(list->Handle(), OBJID_VSCROLL, &bar);
    const TCapture capture = CaptureScreen(bar.rcScrollBar);
    std::vector<int32_t> rows;
    for (int32_t y = 0; y < capture.Height(); ++y)
      if (CensusOf(capture, {0, y, capture.Width(), y + 1}).Count("scrollbarvthumb.bmp", 0) > 0)
        rows.push_back(y);
    return rows;
  };
  PumpMessages(60);
  const std::vector<int32_t> top = thumbRows();
  ASSERT_FALSE(top.empty()) << "the skin's thumb shows over the list's bar";
  list->SetItemIndex(100);
  PumpMessages(100);
  ASSERT_GT(list->TopIndex(), 50);
  const std::vector<int32_t> bottom = thumbRows();
  ASSERT_FALSE(bottom.empty());
  EXPECT_GT(bottom.front(), top.back()) << "the thumb went down with the rows";
}

} // namespace
