// The owners of Win32 handles, the one class registration, the mute guard,
// the screen's list of forms and menu font, and what a control tells those
// who subclass its window when the window goes or is made anew.
#include <windows.h>

#include <mmsystem.h>

#include <atomic>
#include <functional>
#include <stdexcept>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "FrameworkTestSupport.h"
#include "framework/win32/Handles.h"

using namespace framework;
using namespace frameworktest;

namespace {

// A deleted GDI handle is no object at all any more.
bool IsGdiObject(HGDIOBJ handle) { return GetObjectType(handle) != 0; }

TEST(GdiOwners, DeleteWhatTheyHoldOnceAndMovedFromOwnersNothing)
{
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  HFONT font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
  HRGN region = CreateRectRgn(0, 0, 4, 4);
  {
    TGdiBrush first(brush);
    TGdiBrush second(std::move(first));
    EXPECT_EQ(first.Get(), nullptr);
    EXPECT_EQ(second.Get(), brush);
    TGdiFont fonts[2];
    fonts[0].Reset(font);
    fonts[1] = std::move(fonts[0]);
    TGdiRegion rgn(region);
    EXPECT_TRUE(IsGdiObject(brush) && IsGdiObject(font) && IsGdiObject(region));
  }
  EXPECT_FALSE(IsGdiObject(brush));
  EXPECT_FALSE(IsGdiObject(font));
  EXPECT_FALSE(IsGdiObject(region));

  // Reset deletes the old object; Release hands the handle on undeleted.
  HPEN pen1 = CreatePen(PS_SOLID, 1, 0), pen2 = CreatePen(PS_SOLID, 2, 0);
  TGdiPen pen(pen1);
  pen.Reset(pen2);
  EXPECT_FALSE(IsGdiObject(pen1));
  HPEN handed = pen.Release();
  EXPECT_EQ(handed, pen2);
  EXPECT_FALSE(pen);
  EXPECT_TRUE(IsGdiObject(handed));
  TGdiPen adopted(handed);
}

TEST(GdiOwners, ManyOwnersLeaveTheProcessWithTheObjectsItHadBefore)
{
  // Counted by the system where it keeps count; by the handles themselves
  // everywhere.
  const DWORD before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  std::vector<HGDIOBJ> made;
  for (int i = 0; i < 200; ++i) {
    TGdiBitmap bitmap(CreateBitmap(8, 8, 1, 32, nullptr));
    TMemoryDC dc(nullptr);
    TSelectObject selected(dc.Get(), bitmap.Get());
    TGdiBrush moved = TGdiBrush(CreateSolidBrush(RGB(i, 0, 0)));
    made.insert(made.end(), {bitmap.Get(), dc.Get(), moved.Get()});
  }
  EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), before);
  for (HGDIOBJ handle : made)
    ASSERT_FALSE(IsGdiObject(handle));
}

TEST(GdiOwners, SelectionIsRestoredAndDeviceContextsReleased)
{
  TMemoryDC dc(nullptr);
  const HGDIOBJ original = GetCurrentObject(dc.Get(), OBJ_BRUSH);
  TGdiBrush brush(CreateSolidBrush(RGB(9, 9, 9)));
  {
    TSelectObject selected(dc.Get(), brush.Get());
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BRUSH), brush.Get());
    {
      TSelectObject stock(dc.Get(), GetStockObject(BLACK_BRUSH));
      EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BRUSH), GetStockObject(BLACK_BRUSH));
    }
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BRUSH), brush.Get());
  }
  EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BRUSH), original);

  HDC handle = dc.Get();
  EXPECT_EQ(GetObjectType(handle), DWORD(OBJ_MEMDC));
  TMemoryDC other(std::move(dc));
  EXPECT_FALSE(dc);
  EXPECT_EQ(GetObjectType(handle), DWORD(OBJ_MEMDC));
  other.Reset();
  EXPECT_FALSE(IsGdiObject(handle));

  TWindowDC screen(nullptr);
  ASSERT_TRUE(screen);
  EXPECT_GT(GetDeviceCaps(screen.Get(), LOGPIXELSY), 0);
  TWindowDC taken(std::move(screen));
  EXPECT_FALSE(screen);
  EXPECT_TRUE(taken);
}

// A frame is painted through the whole window's DC, which reaches past the
// client area to the caption and borders.
TEST(GdiOwners, TheWholeWindowDcReachesTheFrame)
{
  HWND window = CreateWindowExW(0, L"STATIC", L"frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 240, 160,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_TRUE(window);
  RECT bounds{}, client{}, whole{}, inner{};
  GetWindowRect(window, &bounds);
  GetClientRect(window, &client);
  {
    TWindowDC frame = TWindowDC::WholeWindow(window);
    TWindowDC area(window);
    ASSERT_TRUE(frame && area);
    GetClipBox(frame.Get(), &whole);
    GetClipBox(area.Get(), &inner);
  }
  DestroyWindow(window);
  EXPECT_EQ(whole.right - whole.left, bounds.right - bounds.left);
  EXPECT_EQ(whole.bottom - whole.top, bounds.bottom - bounds.top);
  EXPECT_EQ(inner.right - inner.left, client.right);
  EXPECT_LT(inner.bottom - inner.top, whole.bottom - whole.top);
}

std::atomic<int> g_ticks{0};

void CALLBACK CountTick(UINT, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR) { ++g_ticks; }

TEST(MultimediaTimer, StopsCallingOnceItsOwnerKilledIt)
{
  g_ticks = 0;
  TMultimediaTimer timer(5, 1, &CountTick, 0, TIME_PERIODIC | TIME_CALLBACK_FUNCTION | TIME_KILL_SYNCHRONOUS);
  ASSERT_TRUE(timer);
  const DWORD end = GetTickCount() + 2000;
  while (g_ticks < 3 && GetTickCount() < end)
    Sleep(5);
  ASSERT_GE(g_ticks.load(), 3);
  TMultimediaTimer moved(std::move(timer));
  EXPECT_EQ(timer.Get(), 0u);
  moved.Reset();
  const int after = g_ticks;
  Sleep(60);
  EXPECT_EQ(g_ticks.load(), after);
  EXPECT_FALSE(moved);
}

TEST(WindowClasses, RegisteredOnceAndFailuresThrow)
{
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"THandlesTestClass";
  RegisterWindowClass(wc);
  EXPECT_NO_THROW(RegisterWindowClass(wc));
  HWND window = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance,
                                nullptr);
  EXPECT_NE(window, nullptr);
  DestroyWindow(window);

  // A class the system refuses (no structure size) is an error.
  WNDCLASSEXW bad = wc;
  bad.cbSize = 0;
  bad.lpszClassName = L"THandlesTestRefused";
  EXPECT_THROW(RegisterWindowClass(bad), Exception);
}

TEST(MuteScope, RaisesTheFlagAndPutsItBackOnEveryExit)
{
  bool muted = false;
  try {
    TMuteScope outer(muted);
    {
      TMuteScope inner(muted);
      EXPECT_TRUE(muted);
    }
    EXPECT_TRUE(muted); // the outer guard still holds it
    throw std::runtime_error("leave");
  } catch (const std::runtime_error&) {
  }
  EXPECT_FALSE(muted);

  // A notification callback is detached for the scope and comes back.
  int calls = 0;
  std::function<void()> onChange = [&calls] { ++calls; };
  try {
    TMuteScope detached(onChange);
    EXPECT_FALSE(onChange);
    throw std::runtime_error("leave");
  } catch (const std::runtime_error&) {
  }
  ASSERT_TRUE(onChange);
  onChange();
  EXPECT_EQ(calls, 1);
}

TEST(Screen, KeepsFormsInCreationOrderAndKnowsTheMenuFont)
{
  InitApplication();
  const int before = Screen->FormCount();
  auto* a = new TForm(Application);
  auto* b = new TForm(Application);
  auto* c = new TForm(Application);
  ASSERT_EQ(Screen->FormCount(), before + 3);
  EXPECT_EQ(Screen->Forms(before), a);
  EXPECT_EQ(Screen->Forms(before + 1), b);
  EXPECT_EQ(Screen->Forms(before + 2), c);
  delete b;
  ASSERT_EQ(Screen->FormCount(), before + 2);
  EXPECT_EQ(Screen->Forms(before + 1), c);
  delete a;
  delete c;
  EXPECT_EQ(Screen->FormCount(), before);

  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
  TControlFont* menu = Screen->MenuFont();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->Value().Name, std::wstring(metrics.lfMenuFont.lfFaceName));
  EXPECT_EQ(menu->Height(), metrics.lfMenuFont.lfHeight);
  EXPECT_NE(menu->Handle(), nullptr);
  EXPECT_EQ(Screen->MenuFont(), menu);
}

// Records what a control tells about its window.
class TRecorder : public THandleListener {
public:
  struct TEvent {
    bool Created;
    TWinControl* Control;
    HWND Window;
    bool WindowAlive;
    bool WatchedAlive; // the window in watch, when told
  };
  void HandleDestroying(TWinControl* control, HWND window) override
  {
    events.push_back({false, control, window, IsWindow(window) != FALSE, IsWindow(watch) != FALSE});
    if (removeOnDestroy)
      control->RemoveHandleListener(this);
  }
  void HandleCreated(TWinControl* control, HWND window) override
  {
    events.push_back({true, control, window, IsWindow(window) != FALSE, IsWindow(watch) != FALSE});
  }
  std::vector<TEvent> events;
  bool removeOnDestroy = false;
  HWND watch = nullptr;
};

class HandleListenerTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    InitApplication();
    form = new TForm(Application);
    panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(0, 0, 50, 50);
    edit = new TEdit(form);
    edit->SetParent(panel);
    form->HandleNeeded();
  }
  void TearDown() override { delete form; }

  TForm* form = nullptr;
  TPanel* panel = nullptr;
  TEdit* edit = nullptr;
  TRecorder recorder;
};

TEST_F(HandleListenerTest, RecreationTellsOfTheOldWindowWhileItLivesThenOfTheNewOne)
{
  HWND old = edit->Handle();
  EXPECT_EQ(TWinControl::FindControl(old), edit);
  edit->AddHandleListener(&recorder);
  edit->AddHandleListener(&recorder); // once only
  edit->RecreateWnd();
  ASSERT_EQ(recorder.events.size(), 2u);
  EXPECT_FALSE(recorder.events[0].Created);
  EXPECT_EQ(recorder.events[0].Window, old);
  EXPECT_TRUE(recorder.events[0].WindowAlive);
  EXPECT_TRUE(recorder.events[1].Created);
  EXPECT_EQ(recorder.events[1].Window, edit->Handle());
  EXPECT_NE(recorder.events[1].Window, old);
  EXPECT_EQ(TWinControl::FindControl(edit->Handle()), edit);
  EXPECT_EQ(TWinControl::FindControl(old), nullptr);

  // A parent made anew takes its children with it: they are told too.
  recorder.events.clear();
  panel->RecreateWnd();
  ASSERT_EQ(recorder.events.size(), 2u);
  EXPECT_FALSE(recorder.events[0].Created);
  EXPECT_TRUE(recorder.events[1].Created);
  EXPECT_EQ(recorder.events[1].Window, edit->Handle());

  // A window going with its parent's is told of before its children go, so
  // that whoever subclassed them too can still let go of them.
  TRecorder panelRecorder;
  panelRecorder.watch = edit->Handle();
  panel->AddHandleListener(&panelRecorder);
  form->RecreateWnd();
  ASSERT_EQ(panelRecorder.events.size(), 2u);
  EXPECT_FALSE(panelRecorder.events[0].Created);
  EXPECT_TRUE(panelRecorder.events[0].WatchedAlive);
  EXPECT_TRUE(panelRecorder.events[1].Created);
  panel->RemoveHandleListener(&panelRecorder);

  // A listener taken off hears nothing more.
  edit->RemoveHandleListener(&recorder);
  recorder.events.clear();
  edit->RecreateWnd();
  EXPECT_TRUE(recorder.events.empty());
}

TEST_F(HandleListenerTest, FreeingTellsOnceAlsoForOwnedControlsOfAFreedForm)
{
  HWND window = edit->Handle();
  edit->AddHandleListener(&recorder);
  recorder.removeOnDestroy = true; // listeners may leave while told
  edit->DestroyHandle();
  ASSERT_EQ(recorder.events.size(), 1u);
  EXPECT_EQ(recorder.events[0].Window, window);

  recorder.removeOnDestroy = false;
  recorder.events.clear();
  edit->AddHandleListener(&recorder);
  window = edit->Handle(); // made again on demand
  ASSERT_EQ(recorder.events.size(), 1u);
  EXPECT_TRUE(recorder.events[0].Created);
  EXPECT_EQ(recorder.events[0].Window, window);
  recorder.events.clear();
  delete edit;
  edit = nullptr;
  ASSERT_EQ(recorder.events.size(), 1u);
  EXPECT_FALSE(recorder.events[0].Created);
  EXPECT_EQ(recorder.events[0].Window, window);
  EXPECT_TRUE(recorder.events[0].WindowAlive);

  // The panel is owned by the form: freeing the form frees it, and its
  // window's end is told before the window goes.
  recorder.events.clear();
  HWND panelWindow = panel->Handle();
  panel->AddHandleListener(&recorder);
  TRecorder formRecorder;
  form->AddHandleListener(&formRecorder);
  delete form;
  form = nullptr;
  ASSERT_EQ(recorder.events.size(), 1u);
  EXPECT_EQ(recorder.events[0].Window, panelWindow);
  EXPECT_TRUE(recorder.events[0].WindowAlive);
  ASSERT_EQ(formRecorder.events.size(), 1u);
  EXPECT_FALSE(formRecorder.events[0].Created);
}

TEST_F(HandleListenerTest, WindowsTheSystemDestroysWithTheirParentAreNoLongerFound)
{
  const HWND formWindow = form->Handle();
  const HWND panelWindow = panel->Handle();
  const HWND editWindow = edit->Handle();
  EXPECT_EQ(TWinControl::FindControl(panelWindow), panel);
  EXPECT_EQ(TWinControl::FindControl(editWindow), edit);
  // Not through the controls: the system takes the children along.
  DestroyWindow(formWindow);
  for (HWND gone : {formWindow, panelWindow, editWindow})
    EXPECT_EQ(TWinControl::FindControl(gone), nullptr);
  EXPECT_FALSE(edit->HandleAllocated());
  EXPECT_FALSE(panel->HandleAllocated());
  // Asked again, each control makes a window of its own, found as its own.
  EXPECT_EQ(TWinControl::FindControl(edit->Handle()), edit);
  EXPECT_EQ(TWinControl::FindControl(form->Handle()), form);
  EXPECT_EQ(TWinControl::FindControl(nullptr), nullptr);
}

} // namespace
