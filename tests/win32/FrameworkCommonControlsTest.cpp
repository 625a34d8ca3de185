// The common controls a form can hold beside the basic ones: progress bars,
// tab controls with their tabs on any side, header controls, list views in
// report view, and status bars with bevelled and owner-drawn panels. Each is
// read from a description, written back, and driven through its window.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include "FrameworkTestSupport.h"
#include "framework/FormDescription.h"
#include "framework/win32/HeaderControl.h"
#include "framework/win32/ListView.h"
#include "framework/win32/ProgressBar.h"
#include "framework/win32/TabControl.h"
#include "tests/win32/InputSupport.h"
#include "tests/win32/ScreenProbe.h"

using namespace framework;
using namespace frameworktest;

namespace {

constexpr const char* kDescription = R"(
TForm ControlsForm {
  Caption = "Common controls"
  Left = 40
  Top = 40
  ClientWidth = 640
  ClientHeight = 420
  TProgressBar Progress {
    Left = 10 Top = 10 Width = 200 Height = 18
    Max = 50 Position = 20 Step = 20 Smooth = True
  }
  TProgressBar Upright {
    Left = 220 Top = 10 Width = 18 Height = 120
    Orientation = pbVertical
  }
  TTabControl Tabs {
    Left = 250 Top = 10 Width = 240 Height = 150
    TabPosition = tpLeft
    Tabs = ["One", "Two", "Three"]
    TabIndex = 0
    TPanel Inside { Align = alClient }
  }
  TPageControl Pages {
    Left = 500 Top = 10 Width = 130 Height = 150
    TabPosition = tpBottom
    TTabSheet First { Caption = "A" }
    TTabSheet Second { Caption = "B" }
  }
  THeaderControl Header {
    Align = alNone Left = 10 Top = 170 Width = 400 Height = 22
    Sections = [
      { Text = "Name" Width = 150 }
      { Text = "Size" Width = 80 Alignment = taRightJustify MaxWidth = 120 }
      { Text = "Kind" Width = 100 }
    ]
  }
  TListView List {
    Left = 10 Top = 200 Width = 400 Height = 160
    ViewStyle = vsReport
    RowSelect = True
    Columns = [
      { Caption = "Picture" Width = 200 }
      { Caption = "Size" Width = 80 Alignment = taRightJustify }
    ]
    Items = [
      { Caption = "Lighthouse.jpg" SubItems = ["1.2 MB"] }
      { Caption = "Rings.bmp" SubItems = ["3.4 MB"] }
    ]
  }
  TStatusBar Status {
    Panels = [
      { Text = "plain" Width = 120 Bevel = pbNone }
      { Text = "raised" Width = 120 Bevel = pbRaised }
      { Width = 120 Style = psOwnerDraw }
      { Text = "rest" }
    ]
  }
}
)";

constexpr COLORREF kPanelColour = RGB(30, 160, 90);

class CommonControlsTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    InitApplication();
    form = new TForm(Application);
    form->ReadDescription(kDescription);
    status()->OnDrawPanel = TDrawPanelEvent([this](TStatusBar* bar, TStatusPanel* panel, const gfx::TRect& rect) {
      drawnPanel = panel;
      drawnRect = rect;
      bar->Canvas().Brush.Color = gfx::TColor(kPanelColour);
      bar->Canvas().FillRect(rect);
    });
    form->Show();
    testsupport::BringToFront(form->Handle());
    Pump(150);
  }
  void TearDown() override
  {
    delete form;
    Pump(20);
  }

  template <class T>
  T* Find(const char* name) const
  {
    auto* found = dynamic_cast<T*>(form->FindComponent(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  TStatusBar* status() const { return Find<TStatusBar>("Status"); }

  static POINT ScreenOf(HWND window, POINT client)
  {
    ClientToScreen(window, &client);
    return client;
  }

  TForm* form = nullptr;
  TStatusPanel* drawnPanel = nullptr;
  gfx::TRect drawnRect;
  testsupport::TCursorRestorer cursor;
};

TEST_F(CommonControlsTest, DescriptionIsReadAndWrittenBackWhole)
{
  const std::string written = WriteFormDescription(DescribeComponentTree(*form));
  for (const char* expected :
       {"Orientation = pbVertical", "Smooth = True", "TabPosition = tpLeft", "TabPosition = tpBottom",
        "\"Three\"", "MaxWidth = 120", "ViewStyle = vsReport", "\"3.4 MB\"", "Bevel = pbRaised",
        "Style = psOwnerDraw"})
    EXPECT_NE(written.find(expected), std::string::npos) << expected << "\n" << written;
  // Aligned controls are placed by the shown window: the copy is shown too.
  TForm again(nullptr);
  again.ReadDescription(written);
  again.Show();
  Pump(50);
  auto* list = dynamic_cast<TListView*>(again.FindComponent("List"));
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->Items()->Count(), 2);
  EXPECT_EQ(list->Item(1)->SubItems()->Strings(0), "3.4 MB");
  EXPECT_EQ(WriteFormDescription(DescribeComponentTree(again)), written);
}

TEST_F(CommonControlsTest, ProgressBarKeepsItsPositionInRangeAndStepsRoundAtTheEnd)
{
  auto* bar = Find<TProgressBar>("Progress");
  const HWND window = bar->Handle();
  EXPECT_EQ(SendMessageW(window, PBM_GETPOS, 0, 0), 20);
  EXPECT_EQ(SendMessageW(window, PBM_GETRANGE, FALSE, 0), 50);
  bar->StepIt();
  EXPECT_EQ(bar->Position(), 40);
  bar->StepIt(); // past the end: starts over
  EXPECT_EQ(bar->Position(), 0);
  bar->StepBy(-5);
  EXPECT_EQ(bar->Position(), 0);
  bar->SetPosition(80);
  EXPECT_EQ(bar->Position(), 50);
  EXPECT_EQ(SendMessageW(window, PBM_GETPOS, 0, 0), 50);
  bar->SetMax(30);
  EXPECT_EQ(bar->Position(), 30);
  EXPECT_TRUE(GetWindowLongW(window, GWL_STYLE) & PBS_SMOOTH);
  EXPECT_TRUE(GetWindowLongW(Find<TProgressBar>("Upright")->Handle(), GWL_STYLE) & PBS_VERTICAL);
}

TEST_F(CommonControlsTest, TabsStandOnTheirSideAndFollowTheMouse)
{
  auto* tabs = Find<TTabControl>("Tabs");
  const HWND window = tabs->Handle();
  ASSERT_EQ(SendMessageW(window, TCM_GETITEMCOUNT, 0, 0), 3);
  EXPECT_TRUE(GetWindowLongW(window, GWL_STYLE) & TCS_VERTICAL);
  EXPECT_TRUE(GetWindowLongW(Find<TPageControl>("Pages")->Handle(), GWL_STYLE) & TCS_BOTTOM);
  // The display area stands beside the tabs on the left.
  RECT tab{};
  SendMessageW(window, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&tab));
  EXPECT_GE(Find<TPanel>("Inside")->Left(), tab.right - 2);

  int changes = 0;
  bool allow = false;
  tabs->OnChange = TNotifyEvent([&](TObject*) { ++changes; });
  tabs->OnChanging = decltype(tabs->OnChanging)([&](TObject*, bool& allowed) { allowed = allow; });
  const POINT second = ScreenOf(window, {(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2});
  testsupport::Click(second);
  Pump(100);
  EXPECT_EQ(tabs->TabIndex(), 0) << "the change was refused";
  EXPECT_EQ(changes, 0);
  allow = true;
  Pump(int(GetDoubleClickTime()) + 50); // a second click, not a double click
  testsupport::Click(second);
  Pump(100);
  EXPECT_EQ(tabs->TabIndex(), 1);
  EXPECT_EQ(changes, 1);

  tabs->Tabs()->Delete(2);
  tabs->Tabs()->Delete(1);
  EXPECT_EQ(tabs->TabIndex(), 0);
  EXPECT_EQ(SendMessageW(window, TCM_GETITEMCOUNT, 0, 0), 1);
}

TEST_F(CommonControlsTest, HeaderSectionsAnswerClicksAndKeepTheirLimits)
{
  auto* header = Find<THeaderControl>("Header");
  const HWND window = header->Handle();
  ASSERT_EQ(SendMessageW(window, HDM_GETITEMCOUNT, 0, 0), 3);
  THeaderSection* clicked = nullptr;
  THeaderSection* resized = nullptr;
  header->OnSectionClick = TSectionNotifyEvent([&](THeaderControl*, THeaderSection* s) { clicked = s; });
  header->OnSectionResize = TSectionNotifyEvent([&](THeaderControl*, THeaderSection* s) { resized = s; });
  RECT second{};
  SendMessageW(window, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
  EXPECT_EQ(second.left, header->Section(1)->Left());
  testsupport::Click(ScreenOf(window, {(second.left + second.right) / 2, (second.top + second.bottom) / 2}));
  Pump(100);
  EXPECT_EQ(clicked, header->Section(1));

  // A divider dragged past the section's limit stops at it.
  const POINT divider = ScreenOf(window, {second.right - 1, (second.top + second.bottom) / 2});
  testsupport::MouseDown(divider);
  testsupport::MoveMouse({divider.x + 30, divider.y});
  testsupport::MoveMouse({divider.x + 90, divider.y});
  testsupport::MouseUp({divider.x + 90, divider.y});
  Pump(100);
  EXPECT_EQ(resized, header->Section(1));
  EXPECT_EQ(header->Section(1)->Width(), 120);
  HDITEMW item{};
  item.mask = HDI_WIDTH;
  SendMessageW(window, HDM_GETITEMW, 1, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(item.cxy, 120);
}

TEST_F(CommonControlsTest, ListViewShowsRowsUnderItsColumnsAndFollowsTheSelection)
{
  auto* list = Find<TListView>("List");
  list->Items()->BeginUpdate();
  for (int i = 0; i < 60; ++i) {
    auto* item = static_cast<TListItem*>(list->Items()->Add());
    item->SetCaption("Photo " + std::to_string(i));
    item->SubItems()->Add(std::to_string(i) + " KB");
  }
  list->Items()->EndUpdate();
  const HWND window = list->Handle();
  ASSERT_EQ(SendMessageW(window, LVM_GETITEMCOUNT, 0, 0), 62);
  ASSERT_NE(list->HeaderHandle(), nullptr);
  EXPECT_EQ(SendMessageW(list->HeaderHandle(), HDM_GETITEMCOUNT, 0, 0), 2);
  wchar_t text[64] = {};
  LVITEMW cell{};
  cell.iSubItem = 1;
  cell.pszText = text;
  cell.cchTextMax = 64;
  SendMessageW(window, LVM_GETITEMTEXTW, 1, reinterpret_cast<LPARAM>(&cell));
  EXPECT_STREQ(text, L"3.4 MB");

  std::vector<std::pair<int, bool>> events;
  list->OnSelectItem = TLVSelectItemEvent(
    [&](TObject*, TListItem* item, bool selected) { events.emplace_back(item->Index(), selected); });
  RECT row{};
  row.left = LVIR_BOUNDS;
  SendMessageW(window, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
  testsupport::Click(ScreenOf(window, {row.left + 250, (row.top + row.bottom) / 2}));
  Pump(100);
  EXPECT_EQ(list->ItemIndex(), 1) << "a click beside the caption selects the whole row";
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back(), std::make_pair(1, true));

  list->SetItemIndex(55);
  Pump(50);
  EXPECT_EQ(list->ItemIndex(), 55);
  EXPECT_EQ(list->Selected(), list->Item(55));
  EXPECT_GT(list->TopIndex(), 0) << "the selected row is scrolled into view";
}

TEST_F(CommonControlsTest, StatusPanelsShowTheirBevelAndOwnerDrawnPanelsTheirEvent)
{
  const HWND window = status()->Handle();
  EXPECT_EQ(HIWORD(SendMessageW(window, SB_GETTEXTLENGTHW, 0, 0)) & SBT_NOBORDERS, SBT_NOBORDERS);
  EXPECT_EQ(HIWORD(SendMessageW(window, SB_GETTEXTLENGTHW, 1, 0)) & SBT_POPOUT, SBT_POPOUT);
  EXPECT_EQ(status()->PanelTextShown(1), "raised");

  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  Pump(50);
  ASSERT_EQ(drawnPanel, status()->Panel(2));
  RECT part{};
  SendMessageW(window, SB_GETRECT, 2, reinterpret_cast<LPARAM>(&part));
  EXPECT_GE(drawnRect.Left, part.left);
  EXPECT_LE(drawnRect.Right, part.right);
  const uint32_t pixel = testsupport::WindowPixel(window, (drawnRect.Left + drawnRect.Right) / 2,
                                                  (drawnRect.Top + drawnRect.Bottom) / 2);
  EXPECT_EQ(pixel, testsupport::RgbOf(kPanelColour));
}

} // namespace
