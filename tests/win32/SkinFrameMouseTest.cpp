// The skinned frame under the real mouse (SendInput) with the stored skin:
// the caption buttons minimise, maximise, restore and close the window, a
// press released away from a button does nothing, a double click on the
// icon closes the window, the hint comes after the hover time, and a window
// destroyed while its hint shows takes the hint with it. Windows re-created
// by the framework are framed again.
#include "framework/win32/Forms.h"
#include "tests/win32/SkinnedWindowSupport.h"

#include <gtest/gtest.h>

using namespace testsupport;

namespace {

class SkinFrameMouseTest : public TSkinnedSuite<&StoredSkinPackage> {};

// A point of a caption button of the stored skin: close, maximise and
// minimise sit 25, 49 and 73 pixels left of the right edge, 5 down, 21 wide.
POINT CaptionButton(HWND window, int32_t fromRight)
{
  const SIZE size = WindowSize(window);
  return WindowToScreen(window, {size.cx - fromRight + 10, 5 + 8});
}

constexpr int32_t kClose = 25;
constexpr int32_t kMaximise = 49;
constexpr int32_t kMinimise = 73;

TEST_F(SkinFrameMouseTest, TheCaptionButtonsMinimiseMaximiseRestoreAndClose)
{
  const TWindow window = MakeActiveWindow(WS_OVERLAPPEDWINDOW, 120, 100, 420, 300, L"Buttons");
  ASSERT_NE(WaitForFrame(window.Handle()), nullptr);
  PumpMessages(100);

  ASSERT_TRUE(Click(CaptionButton(window.Handle(), kMaximise)));
  EXPECT_TRUE(PumpUntil([&] { return IsZoomed(window.Handle()) != FALSE; }));
  PumpMessages(100);
  // Restore sits where maximise was.
  ASSERT_TRUE(Click(CaptionButton(window.Handle(), kMaximise)));
  EXPECT_TRUE(PumpUntil([&] { return !IsZoomed(window.Handle()); }));
  PumpMessages(100);

  ASSERT_TRUE(Click(CaptionButton(window.Handle(), kMinimise)));
  EXPECT_TRUE(PumpUntil([&] { return IsIconic(window.Handle()) != FALSE; }));
  ShowWindow(window.Handle(), SW_RESTORE);
  BringToFront(window.Handle());
  PumpMessages(100);

  ASSERT_TRUE(Click(CaptionButton(window.Handle(), kClose)));
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(window.Handle()); }));
}

TEST_F(SkinFrameMouseTest, APressReleasedAwayFromTheButtonDoesNothing)
{
  const TWindow window = MakeActiveWindow(WS_OVERLAPPEDWINDOW, 140, 120, 400, 280, L"Away");
  ASSERT_NE(WaitForFrame(window.Handle()), nullptr);
  PumpMessages(100);
  const POINT close = CaptionButton(window.Handle(), kClose);
  ASSERT_TRUE(MouseDown(close));
  PumpMessages(50);
  ASSERT_TRUE(MouseUp(WindowToScreen(window.Handle(), {150, 120})));
  PumpMessages(300);
  EXPECT_TRUE(IsWindow(window.Handle()));
  EXPECT_FALSE(IsIconic(window.Handle()));
}

// The first click on the icon opens the skinned system menu, whose loop
// then runs the thread: the second click is made from a timer inside it, and
// a later timer ends any menu still open so that a failure cannot hang.
POINT iconPoint{};

void CALLBACK SecondClick(HWND, UINT, UINT_PTR id, DWORD)
{
  KillTimer(nullptr, id);
  Click(iconPoint);
}

void CALLBACK EndAnyMenu(HWND, UINT, UINT_PTR id, DWORD)
{
  KillTimer(nullptr, id);
  EndMenu();
}

TEST_F(SkinFrameMouseTest, ADoubleClickOnTheIconClosesTheWindow)
{
  const TWindow window = MakeActiveWindow(WS_OVERLAPPEDWINDOW, 160, 140, 400, 280, L"Icon");
  ASSERT_NE(WaitForFrame(window.Handle()), nullptr);
  PumpMessages(100);
  iconPoint = WindowToScreen(window.Handle(), {8 + 7, 7 + 7});
  const UINT_PTR second = SetTimer(nullptr, 0, 150, &SecondClick);
  const UINT_PTR safety = SetTimer(nullptr, 0, 3000, &EndAnyMenu);
  ASSERT_TRUE(Click(iconPoint));
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(window.Handle()); }, 4000));
  KillTimer(nullptr, second);
  KillTimer(nullptr, safety);
  PumpMessages(100);
  EXPECT_EQ(Manager().PopupSkinnerCount(), 0u);
}

TEST_F(SkinFrameMouseTest, TheHintComesAfterTheHoverTimeAndGoesWithTheWindow)
{
  auto* platform = skin::win32::PlatformOf(*data_);
  ASSERT_NE(platform, nullptr);
  {
    const TWindow window = MakeActiveWindow(WS_OVERLAPPEDWINDOW, 100, 160, 420, 280, L"Hint");
    ASSERT_NE(WaitForFrame(window.Handle()), nullptr);
    PumpMessages(100);
    ASSERT_TRUE(MoveMouse(CaptionButton(window.Handle(), kClose)));
    ASSERT_TRUE(PumpUntil([&] { return platform->HintShowing(); }, 4000)) << "no hint after the hover time";
    EXPECT_EQ(platform->HintText(), L"Close");
    EXPECT_TRUE(IsWindowVisible(platform->HintWindow()));
  } // the window is destroyed with the hint up
  PumpMessages(300);
  EXPECT_FALSE(platform->HintShowing());
  EXPECT_FALSE(IsWindowVisible(platform->HintWindow()));
  MoveMouse({5, 5});
}

TEST_F(SkinFrameMouseTest, AFormWhoseWindowIsMadeAgainIsFramedAgain)
{
  framework::TForm form(nullptr);
  form.SetBounds(90, 90, 360, 260);
  form.Show();
  BringToFront(form.Handle());
  ASSERT_NE(WaitForFrame(form.Handle()), nullptr);
  const HWND first = form.Handle();
  form.RecreateWnd();
  const HWND second = form.Handle();
  ASSERT_NE(second, first);
  BringToFront(second);
  EXPECT_NE(WaitForFrame(second), nullptr);
  Manager().DiscardStaleFrames();
  EXPECT_EQ(Manager().FrameOf(first), nullptr);
}

} // namespace
