// Skinned scroll bars on a real form under the probe skin: overlays lying
// exactly over the system's bars of a list box, a memo and a scroll-bar
// control through resizing, hiding and showing; their pixels named by the
// skin frames they show; presses, drags and the wheel scrolling each control
// exactly as the same control left unskinned beside it; the lists of combo
// boxes, a simple one's under overlays and a dropped-down one's painted in
// its frame with its own thumb loop; a skin without an arrow strip; and no
// handles left behind by forms that come and go.
#include "framework/win32/ListBox.h"
#include "framework/win32/Memo.h"
#include "framework/win32/ScrollBar.h"
#include "framework/win32/StdCtrls.h"
#include "skin/controls/ComboxScrollBar.h"
#include "skin/controls/SkinScrollbar.h"
#include "tests/win32/ResourceCount.h"
#include "tests/win32/SkinnedWindowSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace testsupport;

namespace {

constexpr int32_t kUnskinnedTag = 99;

bool Skinned(HWND control) { return SendMessageW(control, skin::WM_SKIN_QUERY, 0, 0) == 1; }

std::wstring ClassOf(HWND window)
{
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

// The overlays among a window's children that are showing.
std::vector<HWND> ShownOverlays(HWND parent)
{
  std::vector<HWND> overlays;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (ClassOf(child) == L"TWScrollbar" && IsWindowVisible(child))
      overlays.push_back(child);
  return overlays;
}

// The showing overlay whose rectangle is exactly that one, or null.
HWND OverlayOver(HWND parent, const RECT& screen)
{
  for (HWND overlay : ShownOverlays(parent)) {
    RECT r{};
    GetWindowRect(overlay, &r);
    if (EqualRect(&r, &screen))
      return overlay;
  }
  return nullptr;
}

SCROLLBARINFO BarOf(HWND window, LONG object)
{
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  GetScrollBarInfo(window, object, &info);
  return info;
}

// Whether an overlay lies exactly over the bar and just above the window in
// Z order (nothing between them but the window's other overlay).
::testing::AssertionResult CoveredByOverlay(HWND window, LONG object)
{
  const SCROLLBARINFO bar = BarOf(window, object);
  if (bar.rgstate[0] & STATE_SYSTEM_INVISIBLE)
    return ::testing::AssertionFailure() << "the bar itself is not showing";
  const HWND overlay = OverlayOver(GetParent(window), bar.rcScrollBar);
  if (!overlay)
    return ::testing::AssertionFailure() << "no overlay over the bar at (" << bar.rcScrollBar.left << ", "
                                         << bar.rcScrollBar.top << ", " << bar.rcScrollBar.right << ", "
                                         << bar.rcScrollBar.bottom << ")";
  HWND below = GetWindow(overlay, GW_HWNDNEXT);
  if (below != window && ClassOf(below) == L"TWScrollbar")
    below = GetWindow(below, GW_HWNDNEXT);
  if (below != window)
    return ::testing::AssertionFailure() << "the overlay is not just above its window";
  return ::testing::AssertionSuccess();
}

POINT Mid(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// Steps of real input sent one per timer tick. A press on a scroll bar starts
// the system's modal scroll loop, which returns only at the release, so the
// steps after a press must come from a timer that loop dispatches.
class TInputScript {
public:
  using TStep = std::function<void()>;

  static bool Run(std::vector<TStep> steps)
  {
    TInputScript script(std::move(steps));
    running_ = &script;
    const UINT_PTR timer = SetTimer(nullptr, 0, 40, &Tick);
    const bool finished = PumpUntil([&] { return script.next_ >= script.steps_.size(); }, 10000);
    KillTimer(nullptr, timer);
    running_ = nullptr;
    PumpMessages(120);
    return finished;
  }

  static TStep Press(POINT at)
  {
    return [at] { SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTDOWN, at); };
  }
  static TStep Move(POINT at)
  {
    return [at] { SendMouse(MOUSEEVENTF_MOVE, at); };
  }
  static TStep Release(POINT at)
  {
    return [at] { SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTUP, at); };
  }

private:
  explicit TInputScript(std::vector<TStep> steps) : steps_(std::move(steps)) {}

  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
  {
    if (running_ && running_->next_ < running_->steps_.size())
      running_->steps_[running_->next_++]();
  }

  std::vector<TStep> steps_;
  size_t next_ = 0;
  static inline TInputScript* running_ = nullptr;
};

bool ClickAt(POINT at)
{
  if (!MoveMouse(at))
    return false;
  return TInputScript::Run({TInputScript::Press(at), TInputScript::Release(at)});
}

bool DragBy(POINT from, POINT by, const TInputScript::TStep& midway = {})
{
  if (!MoveMouse(from))
    return false;
  const POINT half{from.x + by.x / 2, from.y + by.y / 2};
  const POINT to{from.x + by.x, from.y + by.y};
  // Each move is sent twice: on a loaded machine Wine may hand the first to
  // the scroll loop only after the next tick, when the midway step looks.
  std::vector<TInputScript::TStep> steps{TInputScript::Press(from), TInputScript::Move(half),
                                         TInputScript::Move(half)};
  if (midway)
    steps.push_back(midway);
  steps.push_back(TInputScript::Move(to));
  steps.push_back(TInputScript::Move(to));
  steps.push_back(TInputScript::Release(to));
  return TInputScript::Run(std::move(steps));
}

bool Wheel(POINT at, int32_t notches)
{
  if (!MoveMouse(at))
    return false;
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.mouseData = DWORD(-notches * WHEEL_DELTA);
  input.mi.dwFlags = MOUSEEVENTF_WHEEL;
  const bool sent = SendInput(1, &input, sizeof input) == 1;
  PumpMessages(150);
  return sent;
}

// The arrows' size. (Some systems report the thumb's length in
// SCROLLBARINFO's dxyLineButton.)
int32_t ArrowSize() { return GetSystemMetrics(SM_CXHSCROLL); }

// Where on screen the bar's parts are.
POINT SecondArrow(const SCROLLBARINFO& bar, bool vertical)
{
  const RECT& r = bar.rcScrollBar;
  const int32_t arrow = ArrowSize();
  return vertical ? POINT{(r.left + r.right) / 2, r.bottom - arrow / 2}
                  : POINT{r.right - arrow / 2, (r.top + r.bottom) / 2};
}
POINT AfterThumb(const SCROLLBARINFO& bar, bool vertical)
{
  const RECT& r = bar.rcScrollBar;
  return vertical ? POINT{(r.left + r.right) / 2, r.top + bar.xyThumbBottom + 6}
                  : POINT{r.left + bar.xyThumbBottom + 6, (r.top + r.bottom) / 2};
}
POINT ThumbMiddle(const SCROLLBARINFO& bar, bool vertical)
{
  const RECT& r = bar.rcScrollBar;
  const int32_t middle = (bar.xyThumbTop + bar.xyThumbBottom) / 2;
  return vertical ? POINT{(r.left + r.right) / 2, r.top + middle} : POINT{r.left + middle, (r.top + r.bottom) / 2};
}

// A pixel of the screen named by the probe frame it shows.
std::string ScreenFrame(POINT at)
{
  return DescribePixel(CaptureScreen({at.x, at.y, at.x + 1, at.y + 1}).At(0, 0));
}
bool ScreenShows(POINT at, std::string_view bitmap, int32_t frame)
{
  return ShowsFrame(CaptureScreen({at.x, at.y, at.x + 1, at.y + 1}).At(0, 0), bitmap, frame);
}

// Frames of the probe skin, counted from 0.
constexpr int32_t kLeftArrow = 0, kRightArrow = 4, kUpArrow = 8, kDownArrow = 12, kHotOffset = 3;

class SkinScrollBarsTest : public TSkinnedSuite<&ProbeSkinPackage> {
protected:
  // Each scrolling control twice, side by side: skinned, and left to the
  // system by the DisableTag.
  struct TScrollForm {
    framework::TForm Form{nullptr};
    framework::TListBox* List = nullptr;
    framework::TListBox* PlainList = nullptr;
    framework::TMemo* Memo = nullptr;
    framework::TMemo* PlainMemo = nullptr;
    framework::TScrollBar* Bar = nullptr;
    framework::TScrollBar* PlainBar = nullptr;

    TScrollForm()
    {
      Form.SetBounds(60, 60, 720, 460);
      List = MakeList(10, 10, 0);
      PlainList = MakeList(170, 10, kUnskinnedTag);
      Memo = MakeMemo(330, 10, 0);
      PlainMemo = MakeMemo(520, 10, kUnskinnedTag);
      Bar = MakeBar(10, 240, 0);
      PlainBar = MakeBar(60, 240, kUnskinnedTag);
      Form.Show();
      BringToFront(Form.Handle());
    }

    template <class T>
    T* Make(int x, int y, int w, int h, int tag)
    {
      auto* control = new T(&Form);
      control->SetParent(&Form);
      control->SetBounds(x, y, w, h);
      control->SetTag(tag);
      return control;
    }

    framework::TListBox* MakeList(int x, int y, int tag)
    {
      auto* list = Make<framework::TListBox>(x, y, 150, 200, tag);
      for (int i = 0; i < 100; ++i)
        list->Items()->Add("Picture " + std::to_string(i));
      return list;
    }

    framework::TMemo* MakeMemo(int x, int y, int tag)
    {
      auto* memo = Make<framework::TMemo>(x, y, 180, 160, tag);
      memo->SetWordWrap(false);
      memo->SetScrollBars(framework::ssBoth);
      for (int i = 0; i < 60; ++i)
        memo->Lines()->Add("Line " + std::to_string(i) + " of the notes, long enough to scroll sideways a good way");
      return memo;
    }

    framework::TScrollBar* MakeBar(int x, int y, int tag)
    {
      auto* bar = new framework::TScrollBar(&Form);
      bar->SetParent(&Form);
      bar->SetKind(framework::sbVertical);
      bar->SetBounds(x, y, 17, 180);
      bar->SetTag(tag);
      bar->SetMax(200);
      bar->SetPageSize(20);
      bar->SetLargeChange(20);
      return bar;
    }
  };

  // Combo boxes, whose lists get their companions from the combo box's own
  // companion; here they are attached by hand, as it will.
  struct TComboForm {
    framework::TForm Form{nullptr};
    framework::TComboBox* Combo = nullptr;
    framework::TComboBox* PlainCombo = nullptr;

    explicit TComboForm(framework::TComboBoxStyle style)
    {
      Form.SetBounds(60, 60, 460, 320);
      Combo = Make(10, style, 0);
      PlainCombo = Make(230, style, kUnskinnedTag);
      Form.Show();
      BringToFront(Form.Handle());
    }

    framework::TComboBox* Make(int x, framework::TComboBoxStyle style, int tag)
    {
      auto* combo = new framework::TComboBox(&Form);
      combo->SetParent(&Form);
      combo->SetStyle(style);
      combo->SetDropDownCount(8);
      combo->SetBounds(x, 10, 200, style == framework::csSimple ? 180 : 24);
      combo->SetTag(tag);
      for (int i = 0; i < 60; ++i)
        combo->Items()->Add("Effect " + std::to_string(i));
      return combo;
    }
  };

  static HWND ListOf(framework::TComboBox& combo)
  {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(combo.Handle(), &info);
    return info.hwndList;
  }

  static int32_t TopOf(HWND list) { return int32_t(SendMessageW(list, LB_GETTOPINDEX, 0, 0)); }

  static RECT ScreenRectOf(HWND window)
  {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
  }
};

TEST_F(SkinScrollBarsTest, OverlaysLieOverTheBarsThroughResizingHidingAndShowing)
{
  TScrollForm f;
  ASSERT_NE(WaitForFrame(f.Form.Handle()), nullptr);
  PumpMessages(100);
  const HWND list = f.List->Handle();
  const HWND memo = f.Memo->Handle();
  const HWND bar = f.Bar->Handle();
  const HWND parent = f.Form.Handle();
  const auto allCovered = [&](const char* when) {
    EXPECT_TRUE(CoveredByOverlay(list, OBJID_VSCROLL)) << "list box " << when;
    EXPECT_TRUE(CoveredByOverlay(memo, OBJID_HSCROLL)) << "memo, horizontal, " << when;
    EXPECT_TRUE(CoveredByOverlay(memo, OBJID_VSCROLL)) << "memo, vertical, " << when;
    EXPECT_NE(OverlayOver(parent, ScreenRectOf(bar)), nullptr) << "scroll-bar control " << when;
  };
  allCovered("after creation");
  EXPECT_EQ(ShownOverlays(parent).size(), 4u) << "the unskinned twins keep the system's bars";
  for (HWND skinned : {list, memo, bar})
    EXPECT_TRUE(Skinned(skinned));
  for (HWND plain : {f.PlainList->Handle(), f.PlainMemo->Handle(), f.PlainBar->Handle()})
    EXPECT_FALSE(Skinned(plain));

  f.List->SetBounds(20, 20, 130, 150);
  f.Memo->SetBounds(330, 30, 150, 200);
  f.Bar->SetBounds(10, 250, 20, 120);
  PumpMessages(100);
  allCovered("after resizing");

  for (framework::TControl* control : std::initializer_list<framework::TControl*>{f.List, f.Memo, f.Bar})
    control->Hide();
  PumpMessages(100);
  EXPECT_TRUE(ShownOverlays(parent).empty()) << "a hidden control hides its overlays";

  for (framework::TControl* control : std::initializer_list<framework::TControl*>{f.List, f.Memo, f.Bar})
    control->Show();
  PumpMessages(100);
  allCovered("after showing again");
}

// A list box too short to scroll has no bar: its overlay waits hidden and
// comes when the items make the system show the bar.
TEST_F(SkinScrollBarsTest, AListBoxGetsItsOverlayWhenItsBarAppears)
{
  TScrollForm f;
  framework::TListBox* list = f.List;
  list->Items()->Clear();
  list->Items()->Add("One picture");
  ASSERT_NE(WaitForFrame(f.Form.Handle()), nullptr);
  PumpMessages(100);
  EXPECT_TRUE(Skinned(list->Handle())) << "a list box is skinned whether or not it shows its bar";
  EXPECT_TRUE(BarOf(list->Handle(), OBJID_VSCROLL).rgstate[0] & STATE_SYSTEM_INVISIBLE);
  EXPECT_EQ(OverlayOver(f.Form.Handle(), BarOf(list->Handle(), OBJID_VSCROLL).rcScrollBar), nullptr);

  for (int i = 0; i < 50; ++i)
    list->Items()->Add("Picture " + std::to_string(i));
  PumpMessages(150);
  EXPECT_TRUE(CoveredByOverlay(list->Handle(), OBJID_VSCROLL));
}

TEST_F(SkinScrollBarsTest, OverlaysShowArrowsTrackAndThumbFromTheSkin)
{
  TScrollForm f;
  ASSERT_NE(WaitForFrame(f.Form.Handle()), nullptr);
  const TCursorRestorer cursor;
  MoveMouse({5, 5});
  PumpMessages(150);
  const SCROLLBARINFO list = BarOf(f.List->Handle(), OBJID_VSCROLL);
  const RECT& r = list.rcScrollBar;
  const int32_t x = (r.left + r.right) / 2;
  const int32_t arrow = ArrowSize();
  EXPECT_TRUE(ScreenShows({x, r.top + arrow / 2}, "scrollbararrow.bmp", kUpArrow)) << ScreenFrame({x, r.top + arrow / 2});
  EXPECT_TRUE(ScreenShows(SecondArrow(list, true), "scrollbararrow.bmp", kDownArrow))
    << ScreenFrame(SecondArrow(list, true));
  EXPECT_TRUE(ScreenShows({x, r.top + list.xyThumbTop + 2}, "scrollbarvthumb.bmp", 0))
    << ScreenFrame({x, r.top + list.xyThumbTop + 2});
  EXPECT_TRUE(ScreenShows(AfterThumb(list, true), "scrollbarvbar.bmp", 0)) << ScreenFrame(AfterThumb(list, true));

  const SCROLLBARINFO memo = BarOf(f.Memo->Handle(), OBJID_HSCROLL);
  const int32_t y = (memo.rcScrollBar.top + memo.rcScrollBar.bottom) / 2;
  EXPECT_TRUE(ScreenShows({memo.rcScrollBar.left + arrow / 2, y}, "scrollbararrow.bmp", kLeftArrow))
    << ScreenFrame({memo.rcScrollBar.left + arrow / 2, y});
  EXPECT_TRUE(ScreenShows(SecondArrow(memo, false), "scrollbararrow.bmp", kRightArrow))
    << ScreenFrame(SecondArrow(memo, false));
  EXPECT_TRUE(ScreenShows(AfterThumb(memo, false), "scrollbarhbar.bmp", 0)) << ScreenFrame(AfterThumb(memo, false));

  // The part under the cursor shows hot.
  MoveMouse(SecondArrow(list, true));
  PumpMessages(100);
  EXPECT_TRUE(ScreenShows(SecondArrow(list, true), "scrollbararrow.bmp", kDownArrow + kHotOffset))
    << ScreenFrame(SecondArrow(list, true));
  MoveMouse({5, 5});

  // A disabled control's bars show the disabled track and no thumb.
  f.Memo->SetEnabled(false);
  PumpMessages(100);
  EXPECT_TRUE(ScreenShows(ThumbMiddle(memo, false), "scrollbarhbar.bmp", 2)) << ScreenFrame(ThumbMiddle(memo, false));
}

// The skin's flat border takes the place of the sunken edge: a line of the
// shadow colour outside, one of the face colour inside; skin-aware code may
// ask for it on a DC of its own.
TEST_F(SkinScrollBarsTest, ScrolledControlsWearTheSkinsFlatBorder)
{
  TScrollForm f;
  ASSERT_NE(WaitForFrame(f.Form.Handle()), nullptr);
  PumpMessages(100);
  const auto rgb = [](gfx::TColor colour) { return RgbOf(skin::ColourRef(colour)); };
  const uint32_t shadow = rgb(data_->Color(skin::scButtonShadow));
  const uint32_t face = rgb(data_->Color(skin::scButtonFace));
  for (framework::TWinControl* control : std::initializer_list<framework::TWinControl*>{f.List, f.Memo}) {
    const HWND window = control->Handle();
    const SIZE size = WindowSize(window);
    EXPECT_EQ(WindowPixel(window, 0, size.cy / 2), shadow) << control->ClassName();
    EXPECT_EQ(WindowPixel(window, size.cx / 3, size.cy - 1), shadow) << control->ClassName();
    EXPECT_EQ(WindowPixel(window, 1, size.cy / 2), face) << control->ClassName();
    EXPECT_EQ(WindowPixel(window, size.cx / 3, 1), face) << control->ClassName();
  }
  EXPECT_NE(WindowPixel(f.PlainList->Handle(), 0, 50), shadow) << "the unskinned twin keeps its edge";

  const HWND list = f.List->Handle();
  const SIZE size = WindowSize(list);
  const TReleasedDC screen = TReleasedDC::OfScreen();
  TMemoryDC memory(screen.Handle());
  TGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen.Handle(), size.cx, size.cy));
  const TSelection selected(memory.Handle(), bitmap.Handle());
  const WPARAM dc = reinterpret_cast<WPARAM>(memory.Handle());
  EXPECT_EQ(SendMessageW(list, skin::TSkinScrollbar::kBorderNotice, dc, 0x41A2), 0x41A2);
  EXPECT_EQ(CaptureDC(memory.Handle(), 0, size.cy / 2, 1, 1).At(0, 0), shadow);
  EXPECT_EQ(CaptureDC(memory.Handle(), 1, size.cy / 2, 1, 1).At(0, 0), face);
  EXPECT_NE(SendMessageW(list, skin::TSkinScrollbar::kBorderNotice, 0, 0), 0x41A2)
    << "only the skin-aware notice is answered";
}

// Presses on the overlays reach the system's own scroll loop: the skinned
// control ends where its unskinned twin, given the same input, ends.
TEST_F(SkinScrollBarsTest, PressesAndDragsScrollAsTheSystemsBarDoes)
{
  TScrollForm f;
  ASSERT_NE(WaitForFrame(f.Form.Handle()), nullptr);
  PumpMessages(100);
  const TCursorRestorer cursor;
  const auto both = [&](const std::function<bool(HWND)>& act, framework::TWinControl* skinned,
                        framework::TWinControl* plain) {
    EXPECT_TRUE(act(skinned->Handle()));
    EXPECT_TRUE(act(plain->Handle()));
  };
  const auto listTops = [&] {
    return std::pair{f.List->TopIndex(), f.PlainList->TopIndex()};
  };

  both([](HWND w) { return ClickAt(SecondArrow(BarOf(w, OBJID_VSCROLL), true)); }, f.List, f.PlainList);
  EXPECT_EQ(listTops().first, 1);
  EXPECT_EQ(listTops().first, listTops().second) << "arrow";

  both([](HWND w) { return ClickAt(AfterThumb(BarOf(w, OBJID_VSCROLL), true)); }, f.List, f.PlainList);
  EXPECT_GT(listTops().first, 1);
  EXPECT_EQ(listTops().first, listTops().second) << "page";

  // Halfway through the skinned drag, 15 pixels down, a thumb painted past
  // its old bottom is in the pressed look. (Whether the move has reached the
  // drag loop by then depends on the machine's load, so a thumb not there
  // yet is not a fault.)
  const SCROLLBARINFO before = BarOf(f.List->Handle(), OBJID_VSCROLL);
  const int32_t x = Mid(before.rcScrollBar).x;
  const POINT reached{x, before.rcScrollBar.top + before.xyThumbBottom + 13};
  std::string halfway;
  const auto look = [&] { halfway = ScreenFrame(reached); };
  EXPECT_TRUE(DragBy(ThumbMiddle(before, true), {0, 30}, look));
  EXPECT_TRUE(DragBy(ThumbMiddle(BarOf(f.PlainList->Handle(), OBJID_VSCROLL), true), {0, 30}));
  EXPECT_NE(halfway, "scrollbarvthumb.bmp frame 0") << "a dragged thumb shows pressed";
  EXPECT_GT(listTops().first, 10);
  EXPECT_EQ(listTops().first, listTops().second) << "thumb";

  // The memo's horizontal bar and the scroll-bar control, the same way.
  both([](HWND w) { return ClickAt(SecondArrow(BarOf(w, OBJID_HSCROLL), false)); }, f.Memo, f.PlainMemo);
  both([](HWND w) { return ClickAt(AfterThumb(BarOf(w, OBJID_HSCROLL), false)); }, f.Memo, f.PlainMemo);
  EXPECT_GT(GetScrollPos(f.Memo->Handle(), SB_HORZ), 0);
  EXPECT_EQ(GetScrollPos(f.Memo->Handle(), SB_HORZ), GetScrollPos(f.PlainMemo->Handle(), SB_HORZ));

  both([](HWND w) { return ClickAt(SecondArrow(BarOf(w, OBJID_CLIENT), true)); }, f.Bar, f.PlainBar);
  EXPECT_EQ(f.Bar->Position(), 1);
  both([](HWND w) { return ClickAt(AfterThumb(BarOf(w, OBJID_CLIENT), true)); }, f.Bar, f.PlainBar);
  EXPECT_EQ(f.Bar->Position(), 21);
  both([](HWND w) { return DragBy(ThumbMiddle(BarOf(w, OBJID_CLIENT), true), {0, 40}); }, f.Bar, f.PlainBar);
  EXPECT_GT(f.Bar->Position(), 21);
  EXPECT_EQ(f.Bar->Position(), f.PlainBar->Position()) << "the scroll-bar control's thumb";
}

TEST_F(SkinScrollBarsTest, TheWheelScrollsAndTheThumbFollows)
{
  TScrollForm f;
  ASSERT_NE(WaitForFrame(f.Form.Handle()), nullptr);
  const TCursorRestorer cursor;
  for (framework::TListBox* list : {f.List, f.PlainList}) {
    ClickAt(Mid(ScreenRectOf(list->Handle())));
    EXPECT_TRUE(Wheel(Mid(ScreenRectOf(list->Handle())), 2));
  }
  EXPECT_GT(f.List->TopIndex(), 0);
  EXPECT_EQ(f.List->TopIndex(), f.PlainList->TopIndex());
  MoveMouse({5, 5});
  PumpMessages(100);
  const SCROLLBARINFO bar = BarOf(f.List->Handle(), OBJID_VSCROLL);
  const POINT thumb{Mid(bar.rcScrollBar).x, bar.rcScrollBar.top + bar.xyThumbTop + 2};
  EXPECT_TRUE(ScreenShows(thumb, "scrollbarvthumb.bmp", 0)) << ScreenFrame(thumb);
}

TEST_F(SkinScrollBarsTest, ASimpleCombosListGetsOverlaysThatScrollItAsTheSystemsBar)
{
  TComboForm f(framework::csSimple);
  skin::TWinSkinForm* frame = WaitForFrame(f.Form.Handle());
  ASSERT_NE(frame, nullptr);
  const HWND list = ListOf(*f.Combo);
  const HWND plain = ListOf(*f.PlainCombo);
  // The combo box's own companion lays the list's bars.
  ASSERT_NE(dynamic_cast<skin::TSkinScrollbarH*>(frame->CompanionFor(list)), nullptr);
  PumpMessages(100);
  EXPECT_TRUE(CoveredByOverlay(list, OBJID_VSCROLL));
  EXPECT_TRUE(ShownOverlays(GetParent(plain)).empty());

  const TCursorRestorer cursor;
  for (HWND w : {list, plain})
    EXPECT_TRUE(ClickAt(SecondArrow(BarOf(w, OBJID_VSCROLL), true)));
  for (HWND w : {list, plain})
    EXPECT_TRUE(DragBy(ThumbMiddle(BarOf(w, OBJID_VSCROLL), true), {0, 25}));
  EXPECT_GT(TopOf(list), 1);
  EXPECT_EQ(TopOf(list), TopOf(plain));
  MoveMouse({5, 5});
  PumpMessages(100);
  const SCROLLBARINFO bar = BarOf(list, OBJID_VSCROLL);
  const POINT thumb{Mid(bar.rcScrollBar).x, bar.rcScrollBar.top + bar.xyThumbTop + 2};
  EXPECT_TRUE(ScreenShows(thumb, "scrollbarvthumb.bmp", 0)) << ScreenFrame(thumb);
}

// A dropped-down list is a window over everything: its bar is painted in its
// own frame, and its thumb dragged by the companion's loop.
TEST_F(SkinScrollBarsTest, ADropDownListsBarIsPaintedInItsFrameAndItsThumbDragged)
{
  TComboForm f(framework::csDropDownList);
  skin::TWinSkinForm* frame = WaitForFrame(f.Form.Handle());
  ASSERT_NE(frame, nullptr);
  const TCursorRestorer cursor;
  const auto dragThumb = [&](framework::TComboBox& combo, const TInputScript::TStep& midway) {
    SendMessageW(combo.Handle(), CB_SHOWDROPDOWN, TRUE, 0);
    PumpMessages(100);
    const HWND list = ListOf(combo);
    const SCROLLBARINFO bar = BarOf(list, OBJID_VSCROLL);
    EXPECT_TRUE(DragBy(ThumbMiddle(bar, true), {0, 30}, midway));
    const int32_t top = TopOf(list);
    SendMessageW(combo.Handle(), CB_SHOWDROPDOWN, FALSE, 0);
    PumpMessages(50);
    return top;
  };

  SendMessageW(f.Combo->Handle(), CB_SHOWDROPDOWN, TRUE, 0);
  PumpMessages(100);
  const HWND list = ListOf(*f.Combo);
  // The combo box's own companion paints the dropped-down list's bar.
  ASSERT_NE(dynamic_cast<skin::TComboxScrollBar*>(frame->CompanionFor(list)), nullptr);
  RedrawWindow(list, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  PumpMessages(100);
  const SCROLLBARINFO bar = BarOf(list, OBJID_VSCROLL);
  const POINT up{Mid(bar.rcScrollBar).x, bar.rcScrollBar.top + ArrowSize() / 2};
  const POINT thumb{Mid(bar.rcScrollBar).x, bar.rcScrollBar.top + bar.xyThumbTop + 2};
  EXPECT_TRUE(ScreenShows(up, "scrollbararrow.bmp", kUpArrow)) << ScreenFrame(up);
  EXPECT_TRUE(ScreenShows(thumb, "scrollbarvthumb.bmp", 0)) << ScreenFrame(thumb);
  SendMessageW(f.Combo->Handle(), CB_SHOWDROPDOWN, FALSE, 0);
  PumpMessages(50);

  // Halfway, the list has scrolled already and the thumb shows pressed.
  bool pressedLook = false;
  int32_t halfway = 0;
  const int32_t skinned = dragThumb(*f.Combo, [&] {
    halfway = TopOf(list);
    // A loaded machine may not have painted the last move yet: the frame is
    // painted now, in whatever look the drag has.
    RedrawWindow(list, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    const SCROLLBARINFO now = BarOf(list, OBJID_VSCROLL);
    const POINT at{Mid(now.rcScrollBar).x, now.rcScrollBar.top + now.xyThumbTop + 2};
    pressedLook = ScreenShows(at, "scrollbarvthumb.bmp", 1);
  });
  const int32_t system = dragThumb(*f.PlainCombo, {});
  EXPECT_TRUE(pressedLook) << "the dragged thumb shows pressed";
  EXPECT_GT(halfway, 0);
  EXPECT_GT(skinned, halfway);
  // The companion's loop spreads the thumb's travel over the range less the
  // page, the system's over the places the list can take: they may part by
  // one item on the way.
  EXPECT_NEAR(skinned, system, 1);
}

// Without an arrow strip the skin cannot paint bars: the controls keep the
// system's own.
TEST_F(SkinScrollBarsTest, ASkinWithoutAnArrowStripLeavesTheSystemsBars)
{
  std::unique_ptr<skin::TDataSkinObject> strip = std::move(data_->Scrollbar);
  {
    TScrollForm f;
    ASSERT_NE(WaitForFrame(f.Form.Handle()), nullptr);
    PumpMessages(150);
    EXPECT_TRUE(ShownOverlays(f.Form.Handle()).empty());
    const SCROLLBARINFO bar = BarOf(f.List->Handle(), OBJID_VSCROLL);
    const TCapture shown = CaptureScreen(bar.rcScrollBar);
    EXPECT_EQ(CensusOf(shown, shown.Bounds()).Frames.size(), 0u) << "no skin frame on the system's bar";
  }
  data_->Scrollbar = std::move(strip);
}

TEST_F(SkinScrollBarsTest, FormsThatComeAndGoLeaveNoHandlesBehind)
{
  const auto cycle = [] {
    TScrollForm f;
    ASSERT_NE(WaitForFrame(f.Form.Handle()), nullptr);
    PumpMessages(30);
  };
  for (int i = 0; i < 2; ++i)
    cycle();
  PumpMessages(100);
  const TResourceCount before = CountResources();
  for (int i = 0; i < 10; ++i)
    cycle();
  PumpMessages(100);
  const TResourceCount after = CountResources();
  EXPECT_LE(after.Gdi, before.Gdi + 2);
  EXPECT_LE(after.User, before.User + 2);
}


// Runs last: the skin going takes the overlays and gives the bars back.
// Switching the skin off for one control hides its overlays, so its own bars
// show; switching it on lays them over the bars again.
TEST_F(SkinScrollBarsTest, TheSkinSwitchHidesAndShowsAControlsOverlays)
{
  TScrollForm f;
  ASSERT_NE(WaitForFrame(f.Form.Handle()), nullptr);
  PumpMessages(100);
  const HWND list = f.List->Handle();
  ASSERT_TRUE(CoveredByOverlay(list, OBJID_VSCROLL));
  SendMessageW(list, skin::WM_SKIN_SWITCH, 0, 0);
  PumpMessages(50);
  EXPECT_FALSE(CoveredByOverlay(list, OBJID_VSCROLL));
  SendMessageW(list, skin::WM_SKIN_SWITCH, 1, 0);
  PumpMessages(50);
  EXPECT_TRUE(CoveredByOverlay(list, OBJID_VSCROLL));
}

TEST_F(SkinScrollBarsTest, TheSkinGoingGivesTheSystemsBarsBack)
{
  TScrollForm f;
  ASSERT_NE(WaitForFrame(f.Form.Handle()), nullptr);
  PumpMessages(100);
  ASSERT_FALSE(ShownOverlays(f.Form.Handle()).empty());
  skin::FinalizeSkinManager();
  PumpMessages(100);
  EXPECT_TRUE(ShownOverlays(f.Form.Handle()).empty());
  EXPECT_FALSE(Skinned(f.List->Handle()));
  // The list box still scrolls by its own bar.
  const TCursorRestorer cursor;
  ClickAt(SecondArrow(BarOf(f.List->Handle(), OBJID_VSCROLL), true));
  EXPECT_EQ(f.List->TopIndex(), 1);
}

} // namespace
