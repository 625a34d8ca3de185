// Skinned menus on a real form under the probe skin: the bar drawn in the
// frame instead of the system's, its drop-downs opened by the mouse, by
// Alt with a letter and by the arrow keys, the items measured and drawn from
// the skin inside a pop-up framed with the menu background, the context menu
// and the system menu skinned alike, and nothing left behind by many openings.
//
// Menus run modal loops: the mouse and the keyboard are driven from a thread
// of their own, which also reads the screen while the loop shows the menu.
#include "framework/win32/Menus.h"
#include "skin/frame/MenuBtn.h"
#include "skin/frame/MenuItemPainter.h"
#include "skin/frame/SkinnedSystemMenu.h"
#include "skin/frame/WinSkinMenu.h"
#include "tests/win32/ResourceCount.h"
#include "tests/win32/SkinnedWindowSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

using namespace testsupport;

namespace {

// The probe skin has no "menuBar" image: the bar takes its Menubar colour.
constexpr uint32_t kMenubarColour = 0xBFD2EA;
// Its HilightText colour, the text of a selected item.
constexpr uint32_t kHilightText = 0x102870;
constexpr UINT kMenuGetHMenu = 0x01E1; // MN_GETHMENU

HWND VisibleMenuWindow()
{
  HWND menu = FindWindowW(L"#32768", nullptr);
  return menu && IsWindowVisible(menu) ? menu : nullptr;
}

// The menu the visible pop-up window shows, or nullptr.
HMENU ShownMenu()
{
  HWND window = VisibleMenuWindow();
  return window ? reinterpret_cast<HMENU>(SendMessageW(window, kMenuGetHMenu, 0, 0)) : nullptr;
}

// Waits, off the menu's thread, until the pop-up shows that menu.
bool WaitForShownMenu(HMENU menu, int32_t timeoutMs = 3000)
{
  const DWORD end = GetTickCount() + DWORD(timeoutMs);
  while (int32_t(GetTickCount() - end) < 0) {
    if (ShownMenu() == menu)
      return true;
    Sleep(15);
  }
  return false;
}

bool WaitForNoMenu(int32_t timeoutMs = 3000)
{
  const DWORD end = GetTickCount() + DWORD(timeoutMs);
  while (VisibleMenuWindow() && int32_t(GetTickCount() - end) < 0)
    Sleep(15);
  return !VisibleMenuWindow();
}

POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

RECT ItemRect(HMENU menu, UINT position)
{
  RECT r{};
  GetMenuItemRect(nullptr, menu, position, &r);
  return r;
}

int32_t HeightOf(const RECT& r) { return r.bottom - r.top; }

void Escape()
{
  PressKey(VK_ESCAPE);
  Sleep(40);
}

// Presses escape until no menu shows.
bool CloseMenus()
{
  for (int i = 0; i < 4 && VisibleMenuWindow(); ++i)
    Escape();
  return WaitForNoMenu();
}

class SkinMenusTest : public TSkinnedSuite<&ProbeSkinPackage> {
protected:
  framework::TForm form{nullptr};
  framework::TMainMenu* bar = new framework::TMainMenu(&form);
  framework::TPopupMenu* context = new framework::TPopupMenu(&form);
  framework::TMenuItem *file = nullptr, *open = nullptr, *exit = nullptr, *view = nullptr, *help = nullptr;
  std::vector<std::string> clicked;
  TCursorRestorer cursor;

  void SetUp() override
  {
    form.SetBounds(80, 80, 420, 300);
    file = Add(bar->Items(), "&File");
    open = Add(file, "&Open");
    Add(file, "-");
    exit = Add(file, "E&xit");
    view = Add(bar->Items(), "&View");
    Add(view, "&Zoom");
    Add(view, "&Fit");
    help = Add(bar->Items(), "&Help");
    Add(help, "&About");
    Add(context->Items(), "&First");
    Add(context->Items(), "-");
    Add(context->Items(), "&Second");
    form.SetMenu(bar);
    form.SetPopupMenu(context);
  }

  framework::TMenuItem* Add(framework::TMenuItem* parent, const std::string& caption)
  {
    auto* item = new framework::TMenuItem(&form);
    item->SetCaption(caption);
    item->OnClick = framework::TNotifyEvent([this, caption](framework::TObject*) { clicked.push_back(caption); });
    parent->Add(item);
    return item;
  }

  skin::TWinSkinForm* ShowFramed()
  {
    form.Show();
    BringToFront(form.Handle());
    return WaitForFrame(form.Handle());
  }

  [[nodiscard]] POINT ButtonCentre(skin::TWinSkinForm& frame, size_t index)
  {
    const gfx::TRect& r = frame.MenuBar()->Button(index).Rect();
    return WindowToScreen(form.Handle(), {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
  }

  [[nodiscard]] static HMENU DropDown(skin::TWinSkinForm& frame, size_t index)
  {
    return frame.MenuBar()->Button(index).DropDown();
  }

  // Runs the user's part on a thread of its own while this thread pumps
  // messages (and with them any menu loop the user opens), until the user is
  // done.
  static void AsUser(const std::function<void()>& user)
  {
    std::atomic<bool> done{false};
    std::thread thread([&] {
      user();
      done = true;
    });
    PumpUntil([&] { return done.load(); }, 20000);
    thread.join();
    PumpMessages(50);
  }
};

// The bar is the frame's: the window shows no system menu while skinned, the
// band under the caption shows the skin's bar colour active and inactive, and
// un-skinning puts the same menu back.
TEST_F(SkinMenusTest, TheBarIsDrawnByTheFrameAndGivenBackAtUnskin)
{
  skin::TWinSkinForm* frame = ShowFramed();
  ASSERT_NE(frame, nullptr);
  ASSERT_NE(frame->MenuBar(), nullptr);
  const HMENU taken = frame->MenuBar()->WindowMenu();
  EXPECT_EQ(taken, bar->Handle());
  EXPECT_EQ(GetMenu(form.Handle()), nullptr);
  ASSERT_EQ(frame->MenuBar()->Count(), 3u);

  const gfx::TRect band = frame->MenuBar()->Rect();
  ASSERT_GT(band.Height(), 0);
  const RECT area{band.Left, band.Top, band.Right, band.Bottom};
  const auto barPixels = [&] {
    RedrawWindow(form.Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    PumpMessages(60);
    const TCapture capture = CaptureWindow(form.Handle());
    int32_t matching = 0;
    for (int32_t y = area.top; y < area.bottom; ++y)
      for (int32_t x = area.left; x < area.right; ++x)
        matching += capture.At(x, y) == kMenubarColour;
    return matching;
  };
  const int32_t all = band.Width() * band.Height();
  // The captions take some of the band; the rest is the bar's colour.
  EXPECT_GT(barPixels(), all * 3 / 4) << "active";
  {
    const TWindow other = MakeActiveWindow(WS_OVERLAPPEDWINDOW, 600, 80, 200, 150);
    PumpMessages(100);
    EXPECT_GT(barPixels(), all * 3 / 4) << "inactive";
  }
  BringToFront(form.Handle());

  frame->Unskin(true);
  EXPECT_EQ(GetMenu(form.Handle()), taken);
}

// A click on a bar button opens its drop-down; a click on an item delivers
// its command once.
TEST_F(SkinMenusTest, AClickOpensTheDropDownAndAnItemClickArrivesOnce)
{
  skin::TWinSkinForm* frame = ShowFramed();
  ASSERT_NE(frame, nullptr);
  const HMENU fileMenu = DropDown(*frame, 0);
  ASSERT_NE(fileMenu, nullptr);
  std::atomic<bool> opened{false};
  AsUser([&] {
    Click(ButtonCentre(*frame, 0));
    opened = WaitForShownMenu(fileMenu);
    if (!opened)
      return;
    const POINT item = Centre(ItemRect(fileMenu, 0));
    MoveMouse(item);
    Sleep(80);
    Click(item);
    WaitForNoMenu();
  });
  EXPECT_TRUE(opened);
  PumpMessages(150);
  // Opening a bar menu delivers the bar item's own command first, as for a
  // bar item without a drop-down.
  EXPECT_EQ(clicked, (std::vector<std::string>{"&File", "&Open"}));
}

// Alt with a letter opens the bar menu with that accelerator; the right
// arrow on an item without a sub-menu moves to the next bar menu, and on
// the last one wraps to the first.
TEST_F(SkinMenusTest, TheKeyboardOpensAndMovesAlongTheBar)
{
  skin::TWinSkinForm* frame = ShowFramed();
  ASSERT_NE(frame, nullptr);
  std::atomic<bool> byLetter{false}, toHelp{false}, wrapped{false};
  AsUser([&] {
    PressKey('V', {VK_MENU});
    byLetter = WaitForShownMenu(DropDown(*frame, 1));
    if (byLetter) {
      PressKey(VK_RIGHT);
      toHelp = WaitForShownMenu(DropDown(*frame, 2));
    }
    if (toHelp) {
      PressKey(VK_RIGHT);
      wrapped = WaitForShownMenu(DropDown(*frame, 0));
    }
    CloseMenus();
  });
  EXPECT_TRUE(byLetter);
  EXPECT_TRUE(toHelp);
  EXPECT_TRUE(wrapped);
  EXPECT_EQ(clicked, (std::vector<std::string>{"&View", "&Help", "&File"}));
}

// Inside the open drop-down: the window is framed with the menu background
// after the menu painted itself; a separator is 8 pixels high and the text
// items all of one height, the separator cut from the item image's second
// frame; the item under the mouse is drawn selected (the
// probe skin's selected frame is transparent, so the background shows
// through, with the selected text colour), the others are not.
TEST_F(SkinMenusTest, TheDropDownIsFramedAndItsItemsDrawnFromTheSkin)
{
  skin::TWinSkinForm* frame = ShowFramed();
  ASSERT_NE(frame, nullptr);
  const HMENU fileMenu = DropDown(*frame, 0);
  std::atomic<bool> opened{false};
  RECT windowRect{}, items[3]{};
  TCapture shown(0, 0, {});
  AsUser([&] {
    Click(ButtonCentre(*frame, 0));
    opened = WaitForShownMenu(fileMenu);
    if (!opened)
      return;
    for (UINT i = 0; i < 3; ++i)
      items[i] = ItemRect(fileMenu, i);
    MoveMouse(Centre(items[2]));
    Sleep(300);
    GetWindowRect(VisibleMenuWindow(), &windowRect);
    shown = CaptureScreen(windowRect);
    CloseMenus();
  });
  ASSERT_TRUE(opened);
  EXPECT_EQ(HeightOf(items[1]), skin::kMenuSeparatorHeight);
  EXPECT_GT(HeightOf(items[0]), skin::kMenuSeparatorHeight);
  EXPECT_EQ(HeightOf(items[0]), HeightOf(items[2]));

  const int32_t w = shown.Width(), h = shown.Height();
  for (const POINT p : {POINT{0, 0}, POINT{w - 1, h - 1}, POINT{1, h / 2}, POINT{w - 2, h / 2}})
    EXPECT_TRUE(ShowsFrame(shown.At(p.x, p.y), "menubackground.bmp", 0))
      << p.x << "," << p.y << ": " << DescribePixel(shown.At(p.x, p.y));

  const auto local = [&](RECT r) {
    OffsetRect(&r, -windowRect.left, -windowRect.top);
    return r;
  };
  const auto textPixels = [&](RECT r) {
    int32_t n = 0;
    for (int32_t y = r.top; y < r.bottom; ++y)
      for (int32_t x = r.left; x < r.right; ++x)
        n += shown.At(x, y) == kHilightText;
    return n;
  };
  const TFrameCensus selected = CensusOf(shown, local(items[2]));
  const TFrameCensus normal = CensusOf(shown, local(items[0]));
  EXPECT_GT(selected.Count("menubackground.bmp", 0), 0);
  EXPECT_GT(normal.Count("menubackground.bmp", 0), 0);
  // The selected item stands in frame 4; the normal item's frame 1 is empty.
  EXPECT_GT(selected.Count("menuitem.bmp", 3), 0);
  for (int32_t k = 0; k < 5; ++k)
    EXPECT_EQ(normal.Count("menuitem.bmp", k), 0) << "frame " << k;
  EXPECT_GT(textPixels(local(items[2])), 0);
  EXPECT_EQ(textPixels(local(items[0])), 0);
  EXPECT_GT(CensusOf(shown, local(items[1])).Count("menuitem.bmp", 1), 0);
}

// The context menu of the form is skinned like the bar's drop-downs: framed
// with the menu background, and its separator cut from the item image's
// second frame rather than the system's etched line.
TEST_F(SkinMenusTest, TheContextMenuIsSkinned)
{
  skin::TWinSkinForm* frame = ShowFramed();
  ASSERT_NE(frame, nullptr);
  const HMENU menu = context->Handle();
  std::atomic<bool> opened{false};
  RECT windowRect{}, line{};
  TCapture shown(0, 0, {});
  AsUser([&] {
    Click(WindowToScreen(form.Handle(), {200, 150}), TMouseButton::Right);
    opened = WaitForShownMenu(menu);
    if (!opened)
      return;
    line = ItemRect(menu, 1);
    Sleep(250);
    GetWindowRect(VisibleMenuWindow(), &windowRect);
    shown = CaptureScreen(windowRect);
    CloseMenus();
  });
  ASSERT_TRUE(opened);
  EXPECT_TRUE(ShowsFrame(shown.At(0, 0), "menubackground.bmp", 0)) << DescribePixel(shown.At(0, 0));
  EXPECT_EQ(HeightOf(line), skin::kMenuSeparatorHeight);
  OffsetRect(&line, -windowRect.left, -windowRect.top);
  EXPECT_GT(CensusOf(shown, line).Count("menuitem.bmp", 1), 0);
  EXPECT_TRUE(clicked.empty());
}

// A right click on the caption opens the skinned system menu: its items
// are drawn by the frame over the menu background, not in the system's
// menu colour.
TEST_F(SkinMenusTest, TheSystemMenusItemsAreDrawnFromTheSkin)
{
  skin::TWinSkinForm* frame = ShowFramed();
  ASSERT_NE(frame, nullptr);
  std::atomic<HMENU> menu{nullptr};
  std::atomic<ULONG_PTR> tag{0};
  RECT windowRect{}, first{};
  TCapture shown(0, 0, {});
  AsUser([&] {
    Click(WindowToScreen(form.Handle(), {150, 12}), TMouseButton::Right);
    const DWORD end = GetTickCount() + 3000;
    while (!ShownMenu() && int32_t(GetTickCount() - end) < 0)
      Sleep(15);
    menu = ShownMenu();
    if (!menu)
      return;
    // The menu is built for each opening and gone once it closes.
    MENUINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIM_MENUDATA;
    if (GetMenuInfo(menu, &info))
      tag = info.dwMenuData;
    first = ItemRect(menu, 0);
    Sleep(250);
    GetWindowRect(VisibleMenuWindow(), &windowRect);
    shown = CaptureScreen(windowRect);
    CloseMenus();
  });
  ASSERT_NE(menu.load(), nullptr);
  EXPECT_EQ(tag.load(), skin::kSystemMenuTag);
  EXPECT_GT(HeightOf(first), skin::kMenuSeparatorHeight);
  OffsetRect(&first, -windowRect.left, -windowRect.top);
  const TFrameCensus census = CensusOf(shown, first);
  EXPECT_GT(census.Count("menubackground.bmp", 0), census.Unnamed);
  EXPECT_TRUE(clicked.empty());
}

// Opening and closing a bar menu many times leaves no handles behind.
TEST_F(SkinMenusTest, ManyOpeningsKeepTheHandleCountsFlat)
{
  skin::TWinSkinForm* frame = ShowFramed();
  ASSERT_NE(frame, nullptr);
  const HMENU fileMenu = DropDown(*frame, 0);
  const auto openAndClose = [&] {
    AsUser([&] {
      Click(ButtonCentre(*frame, 0));
      if (WaitForShownMenu(fileMenu))
        CloseMenus();
    });
  };
  openAndClose();
  const TResourceCount before = CountResources();
  int32_t opened = 0;
  for (int i = 0; i < 20; ++i) {
    std::atomic<bool> shown{false};
    AsUser([&] {
      Click(ButtonCentre(*frame, 0));
      shown = WaitForShownMenu(fileMenu);
      CloseMenus();
    });
    opened += shown;
  }
  const TResourceCount after = CountResources();
  EXPECT_EQ(opened, 20);
  EXPECT_EQ(after.Gdi, before.Gdi);
  EXPECT_EQ(after.User, before.User);
}

} // namespace
