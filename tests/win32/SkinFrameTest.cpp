// The skinned frame with the stored skin, on real windows framed by the
// manager: its geometry (borders, client size, menu band, hit test, region),
// switching the skin off and on again, and many windows made and destroyed.
#include "framework/win32/Menus.h"
#include "tests/win32/ResourceCount.h"
#include "tests/win32/SkinnedWindowSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace testsupport;

namespace {

constexpr DWORD kSizeable = WS_OVERLAPPEDWINDOW;

// The client size the system gives a window of that size and style.
SIZE SystemClientSize(DWORD style, int32_t width, int32_t height, bool menu = false)
{
  RECT r{0, 0, 0, 0};
  AdjustWindowRectEx(&r, style, menu, 0);
  return {width - (r.right - r.left), height - (r.bottom - r.top)};
}

class SkinFrameTest : public TSkinnedSuite<&StoredSkinPackage> {
protected:
  // Runs a manager action now instead of after the delay.
  static void RunAction(int32_t code)
  {
    Manager().PostAction(*data_, code, 1);
    Manager().MarkStarted();
    PumpUntil([] { return Manager().PendingAction() == skin::saNone; });
    PumpMessages(50);
  }
};

TEST_F(SkinFrameTest, ASizeableWindowGetsTheSkinsBordersAndKeepsItsClientArea)
{
  const TWindow window = MakeActiveWindow(kSizeable, 40, 40, 400, 300);
  const SIZE client = SystemClientSize(kSizeable, 400, 300);
  skin::TWinSkinForm* frame = WaitForFrame(window.Handle());
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->Borders(), (skin::TBorderMetrics{4, 29, 4, 5}));
  const SIZE now = ClientSizeOf(window.Handle());
  EXPECT_EQ(now.cx, client.cx);
  EXPECT_EQ(now.cy, client.cy);
  const RECT bounds = WindowRectOf(window.Handle());
  EXPECT_EQ(bounds.right - bounds.left, client.cx + 8);
  EXPECT_EQ(bounds.bottom - bounds.top, client.cy + 34);
  EXPECT_EQ(bounds.left, 40) << "the frame is applied without moving the window";
  const RECT inside = ClientRectInWindow(window.Handle());
  EXPECT_EQ(inside.left, 4);
  EXPECT_EQ(inside.top, 29);
  // The system's caption buttons are gone with the system-menu bit.
  EXPECT_FALSE(GetWindowLongPtrW(window.Handle(), GWL_STYLE) & WS_SYSMENU);
  EXPECT_EQ(SendMessageW(window.Handle(), skin::WM_SKIN_QUERY, 0, 0), 1);
}

TEST_F(SkinFrameTest, AWindowWithAMenuAddsTheMenuBarUnderTheCaption)
{
  HMENU menu = CreateMenu();
  AppendMenuW(menu, MF_STRING, 1, L"&File");
  TWindow window(CreateWindowExW(0, PlainWindowClass().Name(), L"Menu", kSizeable | WS_VISIBLE, 60, 60, 420, 320,
                                 nullptr, menu, GetModuleHandleW(nullptr), nullptr));
  BringToFront(window.Handle());
  const SIZE client = SystemClientSize(kSizeable, 420, 320, true);
  ASSERT_NE(WaitForFrame(window.Handle()), nullptr);
  const SIZE now = ClientSizeOf(window.Handle());
  EXPECT_EQ(now.cy, client.cy);
  const RECT bounds = WindowRectOf(window.Handle());
  EXPECT_EQ(bounds.bottom - bounds.top, client.cy + 34 + GetSystemMetrics(SM_CYMENU));
  EXPECT_EQ(ClientRectInWindow(window.Handle()).top, 29 + GetSystemMetrics(SM_CYMENU));
  // The menu band answers as menu, the caption above it as caption.
  const POINT inBand = WindowToScreen(window.Handle(), {100, 29 + 3});
  EXPECT_EQ(SendMessageW(window.Handle(), WM_NCHITTEST, 0, MAKELPARAM(inBand.x, inBand.y)), HTMENU);
}

TEST_F(SkinFrameTest, HitTestingTurnsTheSkinnedCaptionIntoCaption)
{
  const TWindow window = MakeActiveWindow(kSizeable, 80, 80, 360, 240);
  ASSERT_NE(WaitForFrame(window.Handle()), nullptr);
  auto hit = [&](int32_t x, int32_t y) {
    const POINT p = WindowToScreen(window.Handle(), {x, y});
    return SendMessageW(window.Handle(), WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
  };
  // The system knows nothing of the band's lower rows; the skin does.
  EXPECT_EQ(hit(150, 27), HTCAPTION);
  EXPECT_EQ(hit(150, 12), HTCAPTION);
  EXPECT_EQ(hit(150, 1), HTTOP) << "the top rows stay for sizing";
  EXPECT_EQ(hit(150, 100), HTCLIENT);
}

TEST_F(SkinFrameTest, TheRegionCutsTheTransparentCornersOfTheBorders)
{
  const TWindow window = MakeActiveWindow(kSizeable, 100, 60, 380, 260);
  ASSERT_NE(WaitForFrame(window.Handle()), nullptr);
  const framework::TGdiRegion region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(window.Handle(), region.Get()), ERROR);
  const RECT bounds = WindowRectOf(window.Handle());
  const int32_t w = bounds.right - bounds.left;
  const int32_t h = bounds.bottom - bounds.top;
  // The stored skin rounds the caption's upper corners; the bottom border has
  // no transparency and stays square.
  EXPECT_FALSE(PtInRegion(region.Get(), 0, 0));
  EXPECT_FALSE(PtInRegion(region.Get(), w - 1, 0));
  EXPECT_TRUE(PtInRegion(region.Get(), w / 2, 0));
  EXPECT_TRUE(PtInRegion(region.Get(), w / 2, h / 2));
  EXPECT_TRUE(PtInRegion(region.Get(), 0, h - 1));
  EXPECT_TRUE(PtInRegion(region.Get(), w - 1, h - 1));
}

TEST_F(SkinFrameTest, AWindowWithoutACaptionKeepsItsSystemFrame)
{
  const DWORD style = WS_POPUP | WS_THICKFRAME;
  const TWindow window = MakeActiveWindow(style, 120, 120, 300, 200, L"No caption");
  skin::TWinSkinForm* frame = WaitForFrame(window.Handle());
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->BorderKind(), skin::fbNoCaption);
  const SIZE client = SystemClientSize(style, 300, 200);
  const SIZE now = ClientSizeOf(window.Handle());
  EXPECT_EQ(now.cx, client.cx);
  EXPECT_EQ(now.cy, client.cy);
  EXPECT_EQ(GetWindowRgn(window.Handle(), framework::TGdiRegion(CreateRectRgn(0, 0, 0, 0)).Get()), ERROR);
}

TEST_F(SkinFrameTest, SkinOffGivesEveryWindowItsOwnFrameBackAndSkinOnFramesItAgain)
{
  const TWindow first = MakeActiveWindow(kSizeable, 30, 30, 400, 300, L"First");
  const TWindow second = MakeActiveWindow(kSizeable, 90, 90, 350, 250, L"Second");
  ASSERT_NE(WaitForFrame(first.Handle()), nullptr);
  ASSERT_NE(WaitForFrame(second.Handle()), nullptr);
  const auto procedure = GetWindowLongPtrW(first.Handle(), GWLP_WNDPROC);
  EXPECT_NE(procedure, reinterpret_cast<LONG_PTR>(&PlainWindowProc));

  RunAction(skin::saSkinOff);
  EXPECT_EQ(Manager().FrameCount(), 0u);
  for (HWND window : {first.Handle(), second.Handle()}) {
    EXPECT_EQ(GetWindowLongPtrW(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&PlainWindowProc));
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_STYLE) & WS_SYSMENU);
    EXPECT_EQ(GetWindowRgn(window, framework::TGdiRegion(CreateRectRgn(0, 0, 0, 0)).Get()), ERROR);
    EXPECT_EQ(SendMessageW(window, skin::WM_SKIN_QUERY, 0, 0), 0);
  }
  RECT r = WindowRectOf(first.Handle());
  EXPECT_EQ(r.right - r.left, 400);
  EXPECT_EQ(r.bottom - r.top, 300);
  r = WindowRectOf(second.Handle());
  EXPECT_EQ(r.right - r.left, 350);
  EXPECT_EQ(r.bottom - r.top, 250);

  // Skinning on again frames the windows that are shown; the manager's pass
  // goes over forms, and activation brings the others.
  RunAction(skin::saSkinOn);
  BringToFront(first.Handle());
  ASSERT_NE(WaitForFrame(first.Handle()), nullptr);
  r = WindowRectOf(first.Handle());
  const SIZE client = SystemClientSize(kSizeable, 400, 300);
  EXPECT_EQ(r.right - r.left, client.cx + 8);
}

TEST_F(SkinFrameTest, ActionsDoNotQueueTheLastRequestWins)
{
  const TWindow window = MakeActiveWindow(kSizeable, 50, 50, 300, 200, L"Queue");
  ASSERT_NE(WaitForFrame(window.Handle()), nullptr);
  int changes = 0;
  data_->OnSkinChanged = framework::TNotifyEvent([&](framework::TObject*) { ++changes; });
  Manager().PostAction(*data_, skin::saSkinOn, 250);
  Manager().PostAction(*data_, skin::saSkinOff, 250);
  PumpUntil([] { return Manager().PendingAction() == skin::saNone; });
  PumpMessages(300);
  data_->OnSkinChanged = {};
  EXPECT_EQ(changes, 1);
  EXPECT_FALSE(Manager().SkinningOn());
  EXPECT_EQ(Manager().FrameOf(window.Handle()), nullptr);
  RunAction(skin::saSkinOn);
}

TEST_F(SkinFrameTest, ManyWindowsMadeAndDestroyedLeaveNoFramesOrHandlesBehind)
{
  auto cycle = [] {
    const TWindow window = MakeActiveWindow(kSizeable, 70, 70, 320, 220, L"Cycle");
    ASSERT_NE(WaitForFrame(window.Handle(), 2000), nullptr);
  };
  cycle(); // the first window makes what every later one reuses
  Manager().DiscardStaleFrames();
  const TResourceCount before = CountResources();
  for (int i = 0; i < 200; ++i)
    cycle();
  Manager().DiscardStaleFrames();
  EXPECT_EQ(Manager().FrameCount(), 0u);
  const TResourceCount after = CountResources();
  // A handful of caches may settle; a leak per window would show 200 or more.
  EXPECT_LE(after.Gdi, before.Gdi + 10) << (before.System ? "system" : "owned") << " GDI count";
  EXPECT_LE(after.User, before.User + 10) << (before.System ? "system" : "thread") << " USER count";
}

TEST_F(SkinFrameTest, AFormIsFramedWhileHiddenSoItsFirstPaintIsTheSkins)
{
  std::vector<bool> visibleWhenFramed;
  data_->OnAfterSkinForm = decltype(data_->OnAfterSkinForm)(
    [&](framework::TObject*, void* window, const std::string&) {
      visibleWhenFramed.push_back(IsWindowVisible(static_cast<HWND>(window)) != FALSE);
    });
  framework::TForm form(nullptr);
  framework::TMainMenu menu(&form);
  auto* file = new framework::TMenuItem(&menu);
  file->SetCaption("&File");
  menu.Items()->Add(file);
  form.SetMenu(&menu);
  form.SetBounds(70, 70, 420, 320);

  form.Show();
  // Nothing was pumped since: the frame started inside Show, before the
  // window appeared, and the posted start that follows finds it running.
  skin::TWinSkinForm* frame = Manager().FrameOf(form.Handle());
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->State(), skin::fsRunning);
  EXPECT_EQ(visibleWhenFramed, std::vector<bool>{false});
  EXPECT_EQ(GetMenu(form.Handle()), nullptr) << "the skin draws the bar, the system none";
  // The skin's borders and bar lie around the client area already.
  const SIZE client = ClientSizeOf(form.Handle());
  const RECT bounds = WindowRectOf(form.Handle());
  EXPECT_EQ(bounds.right - bounds.left, client.cx + 8);
  EXPECT_EQ(bounds.bottom - bounds.top, client.cy + 34 + GetSystemMetrics(SM_CYMENU));
  EXPECT_EQ(ClientRectInWindow(form.Handle()).top, 29 + GetSystemMetrics(SM_CYMENU));
  EXPECT_EQ(bounds.left, 70);

  BringToFront(form.Handle());
  PumpMessages(100);
  EXPECT_EQ(visibleWhenFramed.size(), 1u) << "activation frames it no second time";
  EXPECT_EQ(Manager().FrameOf(form.Handle()), frame);
  // Hidden and shown again, it keeps the frame it has.
  form.Hide();
  form.Show();
  EXPECT_EQ(Manager().FrameOf(form.Handle()), frame);
  EXPECT_EQ(visibleWhenFramed.size(), 1u);
  form.SetMenu(nullptr);
  data_->OnAfterSkinForm = {};
}

// Runs last: the manager goes as the program's end takes it.
TEST_F(SkinFrameTest, TheManagerGoingGivesEveryWindowBackAndHooksNothingMore)
{
  std::vector<std::string> events;
  data_->OnBeforeSkinForm = decltype(data_->OnBeforeSkinForm)(
    [&](framework::TObject*, void*, const std::string& name) { events.push_back("before " + name); });
  data_->OnAfterSkinForm = decltype(data_->OnAfterSkinForm)(
    [&](framework::TObject*, void*, const std::string& name) { events.push_back("after " + name); });
  framework::TForm form(nullptr);
  form.SetColor(gfx::clWindow);
  form.SetBounds(60, 60, 340, 240);
  form.Show();
  BringToFront(form.Handle());
  ASSERT_NE(WaitForFrame(form.Handle()), nullptr);
  EXPECT_EQ(events, (std::vector<std::string>{"before TForm", "after TForm"}));
  EXPECT_EQ(form.Color(), data_->Color(skin::scButtonFace));
  const TWindow window = MakeActiveWindow(kSizeable, 90, 90, 300, 220, L"Last");
  ASSERT_NE(WaitForFrame(window.Handle()), nullptr);

  skin::FinalizeSkinManager();
  EXPECT_EQ(skin::SkinManager(), nullptr);
  EXPECT_EQ(GetWindowLongPtrW(window.Handle(), GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&PlainWindowProc));
  EXPECT_EQ(SendMessageW(form.Handle(), skin::WM_SKIN_QUERY, 0, 0), 0);
  EXPECT_EQ(form.Color(), gfx::clWindow);
  const RECT r = WindowRectOf(window.Handle());
  EXPECT_EQ(r.right - r.left, 300);

  // Nothing is hooked any more: a new window is left as the system made it.
  const TWindow later = MakeActiveWindow(kSizeable, 120, 120, 300, 220, L"After");
  PumpMessages(200);
  EXPECT_EQ(SendMessageW(later.Handle(), skin::WM_SKIN_QUERY, 0, 0), 0);
  data_->OnBeforeSkinForm = {};
  data_->OnAfterSkinForm = {};
}

} // namespace
