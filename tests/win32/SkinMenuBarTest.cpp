// The skinned menu bar under the probe skin: its background from a bar
// element (active and inactive, tiled or in three parts), a right-to-left
// bar, disabled bar items, the mouse sliding along the bar while a menu is
// open, Alt with a letter no bar item has, and bar items without drop-downs.
//
// Menus run modal loops: the mouse and the keyboard are driven from a thread
// of their own, which also reads the screen while the loop shows the menu.
#include "framework/win32/Timer.h"
#include "skin/SkinElements.h"
#include "tests/win32/SkinMenusSupport.h"

#include <gtest/gtest.h>

#include <memory>

using namespace testsupport;

namespace {

// The colours of one frame of the test's bar image: its left and right
// parts, and its middle with a top row of its own.
struct TBarFrameColours {
  uint32_t Left, Top, Middle, Right;
};
constexpr TBarFrameColours kActiveBar{0x115599, 0x22AA44, 0x33CC77, 0x4411EE};
constexpr TBarFrameColours kInactiveBar{0x556611, 0x66AA22, 0x77CC33, 0x88EE44};
constexpr int32_t kBarSide = 5;
constexpr int32_t kBarFrameWidth = 30;
constexpr int32_t kBarFrameHeight = 8;

// A "menuBar" element of two frames one above the other, put in the skin
// data for the scope's life; the skin's own (none in the probe skin) comes
// back after.
class TBarElementScope {
public:
  TBarElementScope(skin::TSkinData& data, int32_t tile) : data_(data), saved_(std::move(data.MenuBar))
  {
    auto element = std::make_unique<skin::TDataSkinObject>("menuBar");
    element->Image.SetSize(kBarFrameWidth, 2 * kBarFrameHeight);
    for (int32_t y = 0; y < 2 * kBarFrameHeight; ++y) {
      const TBarFrameColours& colours = y < kBarFrameHeight ? kActiveBar : kInactiveBar;
      for (int32_t x = 0; x < kBarFrameWidth; ++x) {
        const bool top = y % kBarFrameHeight == 0;
        element->Image.ScanLine(y)[x] = x < kBarSide                    ? colours.Left
                                        : x >= kBarFrameWidth - kBarSide ? colours.Right
                                        : top                            ? colours.Top
                                                                         : colours.Middle;
      }
    }
    element->LeftWidth = kBarSide;
    element->RightWidth = kBarSide;
    element->Frame = 2;
    element->Tile = tile;
    data_.MenuBar = std::move(element);
  }
  ~TBarElementScope() { data_.MenuBar = std::move(saved_); }
  TBarElementScope(const TBarElementScope&) = delete;
  TBarElementScope& operator=(const TBarElementScope&) = delete;

private:
  skin::TSkinData& data_;
  std::unique_ptr<skin::TDataSkinObject> saved_;
};

// A form laid out right to left, window frame and menu bar included.
class TRightToLeftForm : public framework::TForm {
public:
  using framework::TForm::TForm;

protected:
  void CreateParams(framework::TCreateParams& params) override
  {
    framework::TForm::CreateParams(params);
    params.ExStyle |= WS_EX_LAYOUTRTL;
  }
};

class SkinMenuBarTest : public SkinMenusFixture {
protected:
  // The bar band as the screen shows it, after the frame painted it again.
  TCapture PaintedWindow(HWND window)
  {
    RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    PumpMessages(60);
    return CaptureScreenOf(window);
  }

  [[nodiscard]] static RECT RectOf(const gfx::TRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

  // Moves the mouse onto a point of the bar while a menu is open and waits
  // until the menu shown is the expected one. Under Wine the display's
  // pointer follows a move only when the thread that owns the windows sets
  // it; otherwise it puts the cursor back where it was as the next menu
  // window appears. So the menu loop's thread places the cursor (from a
  // timer, which the loop runs) before the move is sent as input.
  bool SlideTo(POINT screen, HMENU expected)
  {
    warpTo = screen;
    warpPending = true;
    const DWORD end = GetTickCount() + 1000;
    while (warpPending && int32_t(GetTickCount() - end) < 0)
      Sleep(10);
    return MoveMouse(screen) && WaitForShownMenu(expected, 1500);
  }

  void SetUp() override
  {
    SkinMenusFixture::SetUp();
    warper.SetInterval(20);
    warper.OnTimer = framework::TNotifyEvent([this](framework::TObject*) {
      if (warpPending) {
        const POINT to = warpTo;
        SetCursorPos(to.x, to.y);
        warpPending = false;
      }
    });
  }

  framework::TTimer warper{nullptr};
  std::atomic<POINT> warpTo{POINT{0, 0}};
  std::atomic<bool> warpPending{false};
};

// With a bar element the band shows its first frame while the form is active
// and its second while not; the first button starts past the element's left
// part. In three parts every part is stretched to the band's height; tiled,
// the middle repeats downwards from the top.
TEST_F(SkinMenuBarTest, TheBarElementIsDrawnActiveAndInactiveInThreePartsOrTiled)
{
  for (const TBarFrameColours& colours : {kActiveBar, kInactiveBar})
    for (const uint32_t c : {colours.Left, colours.Top, colours.Middle, colours.Right})
      ASSERT_FALSE(probeskin::FindProbeFrame(c, 0).has_value()) << DescribePixel(c);
  skin::TWinSkinForm* frame = ShowFramed();
  ASSERT_NE(frame, nullptr);
  for (const int32_t tile : {0, 1}) {
    SCOPED_TRACE(tile ? "tiled" : "three parts");
    const TBarElementScope element(*data_, tile);
    const auto check = [&](const TBarFrameColours& colours, const char* state) {
      SCOPED_TRACE(state);
      const TCapture shown = PaintedWindow(form.Handle());
      const gfx::TRect band = frame->MenuBar()->Rect();
      ASSERT_GT(band.Height(), kBarFrameHeight + 1);
      const int32_t middleX = band.Right - kBarSide - 3;
      for (int32_t y = band.Top; y < band.Bottom; ++y) {
        EXPECT_EQ(shown.At(band.Left + 1, y), colours.Left) << "row " << y - band.Top;
        EXPECT_EQ(shown.At(band.Right - 1, y), colours.Right) << "row " << y - band.Top;
      }
      EXPECT_EQ(shown.At(middleX, band.Top), colours.Top);
      EXPECT_EQ(shown.At(middleX, band.Bottom - 1), colours.Middle);
      // Row 8 starts the second tile; stretched, it is well inside the middle.
      EXPECT_EQ(shown.At(middleX, band.Top + kBarFrameHeight), tile ? colours.Top : colours.Middle);
      // Stretching makes the top row at least two rows high.
      EXPECT_EQ(shown.At(middleX, band.Top + 1), tile ? colours.Middle : colours.Top);
      EXPECT_EQ(frame->MenuBar()->Button(0).Rect().Left, band.Left + kBarSide + 4);
    };
    check(kActiveBar, "active");
    {
      const TWindow other = MakeActiveWindow(WS_OVERLAPPEDWINDOW, 600, 80, 200, 150);
      PumpMessages(100);
      check(kInactiveBar, "inactive");
    }
    BringToFront(form.Handle());
  }
}

// A right-to-left form lays its bar out from the right edge, draws the
// captions where the buttons are, opens a drop-down right-aligned under its
// button, and the arrow keys run the other way: Left goes to the next bar
// menu (leftwards on screen), Right to the previous one, wrapping.
TEST_F(SkinMenuBarTest, ARightToLeftBarRunsFromTheRightAndSwapsTheArrows)
{
  TRightToLeftForm mirrored(nullptr);
  mirrored.SetBounds(80, 80, 420, 300);
  auto* rtlBar = new framework::TMainMenu(&mirrored);
  const auto addTo = [&](framework::TMenuItem* parent, const std::string& caption) {
    auto* item = new framework::TMenuItem(&mirrored);
    item->SetCaption(caption);
    item->OnClick = framework::TNotifyEvent([this, caption](framework::TObject*) { clicked.push_back(caption); });
    parent->Add(item);
    return item;
  };
  for (const char* caption : {"&File", "&View", "&Help"})
    addTo(addTo(rtlBar->Items(), caption), "&Item");
  mirrored.SetMenu(rtlBar);
  skin::TWinSkinForm* frame = ShowFramed(mirrored);
  ASSERT_NE(frame, nullptr);
  ASSERT_TRUE(frame->RightToLeft());
  const HWND window = mirrored.Handle();

  const TCapture shown = PaintedWindow(window);
  const gfx::TRect band = frame->MenuBar()->Rect();
  const gfx::TRect first = frame->MenuBar()->Button(0).Rect();
  const gfx::TRect second = frame->MenuBar()->Button(1).Rect();
  const gfx::TRect third = frame->MenuBar()->Button(2).Rect();
  EXPECT_EQ(first.Right, band.Right - 6);
  EXPECT_EQ(second.Right, first.Left);
  EXPECT_EQ(third.Right, second.Left);
  const uint32_t text = SkinRgb(*data_, skin::scMenuBarText);
  for (const gfx::TRect& button : {first, second, third})
    EXPECT_GT(shown.Count(text, RectOf(button)), 0);
  EXPECT_EQ(shown.Count(text, {band.Left, band.Top, third.Left, band.Bottom}), 0);

  std::atomic<bool> opened{false}, toView{false}, back{false}, wrapped{false};
  RECT popup{};
  AsUser([&] {
    // A mouse resting on the bar would take the menus back to its button.
    MoveMouse(WindowToScreen(window, {30, 250}));
    PressKey('F', {VK_MENU});
    opened = WaitForShownMenu(DropDown(*frame, 0));
    if (!opened)
      return;
    GetWindowRect(VisibleMenuWindow(), &popup);
    PressKey(VK_LEFT);
    toView = WaitForShownMenu(DropDown(*frame, 1));
    if (toView) {
      PressKey(VK_RIGHT);
      back = WaitForShownMenu(DropDown(*frame, 0));
    }
    if (back) {
      PressKey(VK_RIGHT);
      wrapped = WaitForShownMenu(DropDown(*frame, 2));
    }
    CloseMenus();
  });
  ASSERT_TRUE(opened);
  EXPECT_EQ(popup.right, WindowToScreen(window, {first.Right, 0}).x);
  EXPECT_TRUE(toView);
  EXPECT_TRUE(back);
  EXPECT_TRUE(wrapped);
  EXPECT_EQ(clicked, (std::vector<std::string>{"&File", "&View", "&File", "&Help"}));
}

// A disabled bar item shows its caption in the skin's shadow colour, and
// the mouse over it still frames it in the highlight colour.
TEST_F(SkinMenuBarTest, ADisabledBarItemIsGreyButStillLightsUp)
{
  help->SetEnabled(false);
  skin::TWinSkinForm* frame = ShowFramed();
  ASSERT_NE(frame, nullptr);
  skin::TMenuBtn& disabled = frame->MenuBar()->Button(2);
  ASSERT_FALSE(disabled.Enabled());
  const uint32_t text = SkinRgb(*data_, skin::scMenuBarText);
  const uint32_t grey = SkinRgb(*data_, skin::scButtonShadow);
  const uint32_t frameColour = SkinRgb(*data_, skin::scButtonHilight);
  ASSERT_NE(text, grey);
  {
    const TCapture shown = PaintedWindow(form.Handle());
    const RECT helpCell = RectOf(disabled.Rect());
    EXPECT_GT(shown.Count(grey, helpCell), 0);
    EXPECT_EQ(shown.Count(text, helpCell), 0);
    EXPECT_GT(shown.Count(text, RectOf(frame->MenuBar()->Button(0).Rect())), 0);
  }

  ASSERT_TRUE(MoveMouse(ButtonCentre(*frame, 2)));
  EXPECT_TRUE(PumpUntil([&] { return disabled.DrawState() == skin::dsHot; }, 2000));
  PumpMessages(60);
  const TCapture shown = CaptureScreenOf(form.Handle());
  const gfx::TRect& r = disabled.Rect();
  EXPECT_EQ(shown.Count(frameColour, {r.Left, r.Top, r.Right, r.Top + 1}), r.Width());
  EXPECT_EQ(shown.Count(frameColour, {r.Left, r.Top, r.Left + 1, r.Bottom}), r.Height());
  EXPECT_GT(shown.Count(grey, RectOf(r)), 0);
  const gfx::TRect& normal = frame->MenuBar()->Button(0).Rect();
  EXPECT_LT(shown.Count(frameColour, {normal.Left, normal.Top, normal.Right, normal.Top + 1}), normal.Width());
}

// While a bar menu is open, the mouse sliding onto another bar button opens
// that button's menu in its place, and on to the next; each opening
// delivers the bar item's command.
TEST_F(SkinMenuBarTest, TheMouseSlidingAlongTheBarOpensTheNeighbours)
{
  skin::TWinSkinForm* frame = ShowFramed();
  ASSERT_NE(frame, nullptr);
  std::atomic<bool> opened{false}, toView{false}, toHelp{false};
  AsUser([&] {
    Click(ButtonCentre(*frame, 0));
    opened = WaitForShownMenu(DropDown(*frame, 0));
    if (opened)
      toView = SlideTo(ButtonCentre(*frame, 1), DropDown(*frame, 1));
    if (toView)
      toHelp = SlideTo(ButtonCentre(*frame, 2), DropDown(*frame, 2));
    CloseMenus();
  });
  EXPECT_TRUE(opened);
  EXPECT_TRUE(toView);
  EXPECT_TRUE(toHelp);
  EXPECT_EQ(clicked, (std::vector<std::string>{"&File", "&View", "&Help"}));
}

// Alt with a letter that no bar item of the form has goes on to the
// application's main form, whose bar item with that letter opens; a letter
// no form knows opens nothing.
TEST_F(SkinMenuBarTest, AltWithALetterTheBarLacksGoesToTheMainForm)
{
  framework::TForm* main = nullptr;
  framework::Application->CreateForm(main);
  const std::unique_ptr<framework::TForm> mainOwner(main);
  ASSERT_EQ(framework::Application->MainForm(), main);
  main->SetBounds(520, 80, 300, 200);
  auto* mainBar = new framework::TMainMenu(main);
  auto* tools = new framework::TMenuItem(main);
  tools->SetCaption("&Tools");
  tools->OnClick = framework::TNotifyEvent([this](framework::TObject*) { clicked.push_back("main &Tools"); });
  auto* options = new framework::TMenuItem(main);
  options->SetCaption("&Options");
  tools->Add(options);
  mainBar->Items()->Add(tools);
  main->SetMenu(mainBar);
  skin::TWinSkinForm* mainFrame = ShowFramed(*main);
  ASSERT_NE(mainFrame, nullptr);
  skin::TWinSkinForm* frame = ShowFramed();
  ASSERT_NE(frame, nullptr);

  std::atomic<bool> mainOpened{false};
  AsUser(
    [&] {
      PressKey('T', {VK_MENU});
      mainOpened = WaitForShownMenu(tools->Handle());
      CloseMenus();
    },
    TPump::Application);
  EXPECT_TRUE(mainOpened);
  EXPECT_EQ(clicked, (std::vector<std::string>{"main &Tools"}));

  clicked.clear();
  BringToFront(form.Handle());
  std::atomic<bool> anyMenu{false};
  AsUser(
    [&] {
      PressKey('K', {VK_MENU});
      const DWORD end = GetTickCount() + 600;
      while (!anyMenu && int32_t(GetTickCount() - end) < 0) {
        anyMenu = VisibleMenuWindow() != nullptr;
        Sleep(15);
      }
      CloseMenus();
    },
    TPump::Application);
  EXPECT_FALSE(anyMenu);
  EXPECT_TRUE(clicked.empty());
  EXPECT_EQ(GetForegroundWindow(), form.Handle());
}

// A bar item without a drop-down is a command: a click and its Alt letter
// each deliver it once and open no menu.
TEST_F(SkinMenuBarTest, ABarItemWithoutDropDownPostsItsCommandAndOpensNothing)
{
  Add(bar->Items(), "&Go");
  skin::TWinSkinForm* frame = ShowFramed();
  ASSERT_NE(frame, nullptr);
  ASSERT_EQ(frame->MenuBar()->Count(), 4u);
  ASSERT_EQ(DropDown(*frame, 3), nullptr);
  std::atomic<bool> anyMenu{false};
  const auto watchForMenus = [&] {
    const DWORD end = GetTickCount() + 500;
    while (int32_t(GetTickCount() - end) < 0) {
      anyMenu = anyMenu || VisibleMenuWindow() != nullptr;
      Sleep(15);
    }
    CloseMenus();
  };
  AsUser([&] {
    Click(ButtonCentre(*frame, 3));
    watchForMenus();
  });
  EXPECT_FALSE(anyMenu);
  EXPECT_EQ(clicked, (std::vector<std::string>{"&Go"}));
  AsUser([&] {
    PressKey('G', {VK_MENU});
    watchForMenus();
  });
  EXPECT_FALSE(anyMenu);
  EXPECT_EQ(clicked, (std::vector<std::string>{"&Go", "&Go"}));
}

} // namespace
