// Combo boxes, edits, up-downs and date pickers under the probe skin, whose
// every element frame has a colour of its own: the combo button's looks as
// the real mouse and keyboard change them, the list dropping down and
// closing, the paint styles, left-hand and foreign combo boxes, edit borders
// on screen and in print, up-down halves hot under the mouse and stepping
// the position, the line-drawn up-down, an up-down inside an edit, the date
// picker's arrow, the controls of a system dialog, and endurance.
#include "framework/win32/ComCtrls.h"
#include "framework/win32/DateTimePicker.h"
#include "framework/win32/StdCtrls.h"
#include "skin/controls/SkinComBox.h"
#include "skin/controls/SkinDateTime.h"
#include "skin/controls/SkinEdit.h"
#include "skin/controls/SkinUpDown.h"
#include "tests/win32/DialogTemplate.h"
#include "tests/win32/ResourceCount.h"
#include "tests/win32/SkinnedWindowSupport.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>

using namespace testsupport;

namespace {

bool Skinned(HWND control) { return SendMessageW(control, skin::WM_SKIN_QUERY, 0, 0) == 1; }

RECT ToRECT(const gfx::TRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// Paints the window again, frame and all, and lets the paint messages run.
void Redraw(HWND window)
{
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
  PumpMessages(40);
}

// The one frame of a strip an area shows, counted from 0; -1 when it shows
// none or more than one.
int32_t FrameShown(const TCapture& capture, const RECT& area, std::string_view bitmap, int32_t frames)
{
  const TFrameCensus census = CensusOf(capture, area);
  int32_t shown = -1;
  for (int32_t frame = 0; frame < frames; ++frame) {
    if (census.Count(bitmap, frame) == 0)
      continue;
    if (shown >= 0)
      return -1;
    shown = frame;
  }
  return shown;
}

// What a window paints on a bitmap of ours when handed its DC (WM_PAINT,
// WM_PRINT, the skin's notices), its child windows left out. The bitmap starts
// in background with brush selected.
TCapture PaintedOn(SIZE size, COLORREF background, COLORREF brush, const std::function<void(HDC)>& paint)
{
  const TReleasedDC screen = TReleasedDC::OfScreen();
  const TMemoryDC memory(screen.Handle());
  const TGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen.Handle(), size.cx, size.cy));
  const TSelection selected(memory.Handle(), bitmap.Handle());
  const TGdiObject<HBRUSH> fill(CreateSolidBrush(background));
  const RECT all{0, 0, size.cx, size.cy};
  FillRect(memory.Handle(), &all, fill.Handle());
  const TGdiObject<HBRUSH> selectedBrush(CreateSolidBrush(brush));
  const TSelection brushSelected(memory.Handle(), selectedBrush.Handle());
  paint(memory.Handle());
  return CaptureDC(memory.Handle(), 0, 0, size.cx, size.cy);
}

TCapture PaintedOn(HWND window)
{
  return PaintedOn(WindowSize(window), RGB(0, 0, 0), RGB(255, 255, 255), [window](HDC dc) {
    SendMessageW(window, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  });
}

// An element value of the shared skin changed for one test and put back.
template <class T>
class TSkinValue {
public:
  TSkinValue(T& slot, T value) : slot_(slot), saved_(std::exchange(slot, std::move(value))) {}
  TSkinValue(const TSkinValue&) = delete;
  TSkinValue& operator=(const TSkinValue&) = delete;
  ~TSkinValue() { slot_ = std::move(saved_); }

private:
  T& slot_;
  T saved_;
};

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// An ANSI program's subclass: the window it sits on is no Unicode window.
WNDPROC g_beforeAnsiSubclass = nullptr;
LRESULT CALLBACK AnsiSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
  return CallWindowProcA(g_beforeAnsiSubclass, window, message, wParam, lParam);
}

class SkinCombosTest : public TSkinnedSuite<&ProbeSkinPackage> {
protected:
  framework::TForm form{nullptr};
  // Holds the focus, so that no control under test shows the focused look.
  framework::TButton* sink = nullptr;
  skin::TWinSkinForm* frame = nullptr;

  void SetUp() override
  {
    form.SetBounds(60, 60, 560, 360);
    sink = Make<framework::TButton>(440, 290, 90, 27);
  }

  void TearDown() override { data_->Skin3rd()->Clear(); }

  template <class T>
  T* Make(int x, int y, int w, int h)
  {
    auto* control = new T(&form);
    control->SetParent(&form);
    control->SetBounds(x, y, w, h);
    return control;
  }

  framework::TComboBox* MakeCombo(int x, int y, framework::TComboBoxStyle style)
  {
    auto* combo = Make<framework::TComboBox>(x, y, 160, 21);
    combo->SetStyle(style);
    for (const char* item : {"Wipe", "Slide", "Dissolve"})
      combo->Items()->Add(item);
    combo->SetItemIndex(0);
    return combo;
  }

  bool ShowFramed()
  {
    form.Show();
    BringToFront(form.Handle());
    frame = WaitForFrame(form.Handle());
    if (!frame)
      return false;
    sink->SetFocus();
    PumpMessages(60);
    return true;
  }

  template <class C>
  C* CompanionOf(framework::TWinControl* control) const
  {
    return dynamic_cast<C*>(frame->CompanionFor(control->Handle()));
  }

  [[nodiscard]] uint32_t Shadow() const { return RgbOf(skin::ColourRef(data_->Color(skin::scButtonShadow))); }
  [[nodiscard]] uint32_t Face() const { return RgbOf(skin::ColourRef(data_->Color(skin::scButtonFace))); }
};

// ----- Combo boxes ---------------------------------------------------------------------

// The stored skin's flat button (style 1): frames counted from 0 here,
// normal 0, pressed 1, disabled 2, hot or focused 3.
TEST_F(SkinCombosTest, ComboButtonFollowsMouseFocusAndEnablingAndTheListOpensAndCloses)
{
  const TCursorRestorer cursor;
  auto* combo = MakeCombo(10, 10, framework::csDropDownList);
  int drops = 0, closes = 0;
  combo->OnDropDown = framework::TNotifyEvent([&](framework::TObject*) { ++drops; });
  combo->OnCloseUp = framework::TNotifyEvent([&](framework::TObject*) { ++closes; });
  ASSERT_TRUE(ShowFramed());
  const auto* skinned = CompanionOf<skin::TSkinComBox>(combo);
  ASSERT_NE(skinned, nullptr);
  const HWND window = combo->Handle();
  // Read as the control shows itself: nothing is repainted for the test.
  const auto button = [&] {
    PumpMessages(60);
    return FrameShown(CaptureWindow(window), ToRECT(skinned->HotRect()), "comboboxbtn.bmp", 4);
  };
  Redraw(window);
  EXPECT_EQ(button(), 0);
  ASSERT_FALSE(skinned->HotRect().IsEmpty());
  // The flat style: the shadow ring outside, the text side left as drawn.
  const SIZE size = WindowSize(window);
  EXPECT_EQ(WindowPixel(window, 0, size.cy / 2), Shadow());
  EXPECT_EQ(CensusOf(CaptureWindow(window), {2, 2, skinned->HotRect().Left, size.cy - 2}).Count("comboboxbtn.bmp", 0),
            0);

  const POINT onButton = WindowToScreen(window, Centre(ToRECT(skinned->HotRect())));
  ASSERT_TRUE(MoveMouse(onButton));
  EXPECT_EQ(button(), 3) << "hot";

  ASSERT_TRUE(MouseDown(onButton));
  EXPECT_EQ(button(), 1) << "pressed";
  EXPECT_TRUE(PumpUntil([&] { return combo->DroppedDown(); }, 2000));
  EXPECT_TRUE(skinned->DroppedDown());
  ASSERT_TRUE(MouseUp(onButton));
  EXPECT_EQ(drops, 1);
  EXPECT_EQ(button(), 3) << "released, under the mouse and focused";

  PressKey(VK_ESCAPE);
  EXPECT_TRUE(PumpUntil([&] { return !combo->DroppedDown(); }, 2000));
  EXPECT_FALSE(skinned->DroppedDown());
  EXPECT_EQ(closes, 1);

  ASSERT_TRUE(MoveMouse(WindowToScreen(sink->Handle(), {5, 5})));
  EXPECT_EQ(button(), 3) << "focused";
  sink->SetFocus();
  PumpMessages(40);
  EXPECT_EQ(button(), 0) << "neither hot nor focused";
  combo->SetEnabled(false);
  EXPECT_EQ(button(), 2) << "disabled";
  ASSERT_TRUE(MoveMouse(onButton));
  EXPECT_EQ(button(), 2) << "disabled and under the mouse";
}

// A drop-down combo's focus is in its edit: the button follows it there too.
TEST_F(SkinCombosTest, FocusedLookFollowsTheFocusInEitherStyle)
{
  auto* list = MakeCombo(10, 10, framework::csDropDownList);
  auto* typed = MakeCombo(10, 60, framework::csDropDown);
  ASSERT_TRUE(ShowFramed());
  for (framework::TComboBox* combo : {list, typed}) {
    const auto* skinned = CompanionOf<skin::TSkinComBox>(combo);
    ASSERT_NE(skinned, nullptr);
    const auto shown = [&] {
      PumpMessages(60);
      return FrameShown(CaptureWindow(combo->Handle()), ToRECT(skinned->HotRect()), "comboboxbtn.bmp", 4);
    };
    EXPECT_EQ(shown(), 0) << combo->Style();
    combo->SetFocus();
    EXPECT_EQ(shown(), 3) << combo->Style();
    sink->SetFocus();
    EXPECT_EQ(shown(), 0) << combo->Style();
  }
}

// Painted on a bitmap of ours through WM_PAINT, so that the pixels are the
// combo's and the skin's alone.
TEST_F(SkinCombosTest, WholeAndSunkenStylesAndTheLeftHandButton)
{
  auto* combo = MakeCombo(10, 10, framework::csDropDownList);
  ASSERT_TRUE(ShowFramed());
  const HWND window = combo->Handle();
  const SIZE size = WindowSize(window);
  const int32_t arrow = GetSystemMetrics(SM_CXHSCROLL);
  {
    const TSkinValue<int32_t> whole(data_->ComboButton->Style, 2);
    const TCapture painted = PaintedOn(window);
    // One element over the whole control, its normal frame at both ends.
    EXPECT_EQ(FrameShown(painted, {2, 2, 12, size.cy - 2}, "comboboxbtn.bmp", 4), 0);
    EXPECT_EQ(FrameShown(painted, {size.cx - 12, 2, size.cx - 2, size.cy - 2}, "comboboxbtn.bmp", 4), 0);
  }
  {
    const TSkinValue<int32_t> sunken(data_->ComboButton->Style, 0);
    const TCapture painted = PaintedOn(window);
    const RECT button{size.cx - arrow - 2, 0, size.cx, size.cy};
    EXPECT_EQ(FrameShown(painted, button, "comboboxbtn.bmp", 4), 0);
    // The arrow glyph at its natural size in the middle of the button.
    EXPECT_EQ(FrameShown(painted, button, "extraimages.bmp", 5), 0);
    EXPECT_TRUE(ShowsFrame(painted.At(size.cx - arrow / 2 - 2, size.cy / 2), "extraimages.bmp", 0))
      << DescribePixel(painted.At(size.cx - arrow / 2 - 2, size.cy / 2));
    EXPECT_EQ(CensusOf(painted, {0, 0, size.cx - arrow - 4, size.cy}).Count("comboboxbtn.bmp", 0), 0);

    // A left-hand button stands at the left, from the mirrored strip, in the
    // frame of the same look.
    SetWindowLongPtrW(window, GWL_EXSTYLE, GetWindowLongPtrW(window, GWL_EXSTYLE) | WS_EX_LEFTSCROLLBAR);
    const TCapture left = PaintedOn(window);
    EXPECT_EQ(FrameShown(left, {0, 0, arrow + 2, size.cy}, "comboboxbtn.bmp", 4), 0);
    EXPECT_EQ(FrameShown(left, {0, 0, arrow + 2, size.cy}, "extraimages.bmp", 5), 0);
    EXPECT_EQ(CensusOf(left, {arrow + 4, 0, size.cx, size.cy}).Count("comboboxbtn.bmp", 0), 0);
  }
}

TEST_F(SkinCombosTest, ForeignComboShowsTheArrowOverItsButtonWindowAndSimpleComboNoButton)
{
  data_->Skin3rd()->Add("TComboBox=combobox");
  const TSkinValue<int32_t> sunken(data_->ComboButton->Style, 0);
  auto* foreign = MakeCombo(10, 10, framework::csDropDown);
  auto* simple = MakeCombo(10, 60, framework::csSimple);
  simple->SetHeight(120);
  ASSERT_TRUE(ShowFramed());
  const auto* skinned = CompanionOf<skin::TSkinComBox>(foreign);
  ASSERT_NE(skinned, nullptr);
  EXPECT_TRUE(skinned->Foreign());
  // Its first child window (here the edit) is covered by the arrow.
  const HWND child = GetWindow(foreign->Handle(), GW_CHILD);
  ASSERT_NE(child, nullptr);
  RECT childRect{}, comboRect{};
  GetWindowRect(child, &childRect);
  GetWindowRect(foreign->Handle(), &comboRect);
  OffsetRect(&childRect, -comboRect.left, -comboRect.top);
  EXPECT_EQ(FrameShown(PaintedOn(foreign->Handle()), childRect, "comboboxbtn.bmp", 4), 0);

  // A simple combo box has no drop button to skin; it is skinned all the same.
  ASSERT_TRUE(Skinned(simple->Handle()));
  const TCapture list = CaptureWindow(simple->Handle());
  for (int32_t frameIndex = 0; frameIndex < 4; ++frameIndex)
    EXPECT_EQ(CensusOf(list, list.Bounds()).Count("comboboxbtn.bmp", frameIndex), 0) << frameIndex;
}

// ----- Edits ---------------------------------------------------------------------------

TEST_F(SkinCombosTest, EditBorderOnScreenInPrintAndThroughTheSkinsNotice)
{
  auto* edit = Make<framework::TEdit>(10, 10, 160, 23);
  edit->SetText("Photos");
  auto* bare = Make<framework::TEdit>(10, 50, 160, 23);
  ASSERT_TRUE(ShowFramed());
  ASSERT_NE(CompanionOf<skin::TSkinEdit>(edit), nullptr);
  const HWND window = edit->Handle();
  Redraw(window);
  const SIZE size = WindowSize(window);
  EXPECT_EQ(WindowPixel(window, 0, size.cy / 2), Shadow());
  EXPECT_EQ(WindowPixel(window, 1, size.cy / 2), 0xFFFFFFu);
  EXPECT_EQ(WindowPixel(window, 2, size.cy / 2), 0xFFFFFFu);
  EXPECT_EQ(WindowPixel(window, size.cx / 2, size.cy - 1), Shadow());

  // Without a border the edit is left as the system draws it.
  SetWindowLongPtrW(bare->Handle(), GWL_EXSTYLE, 0);
  SetWindowPos(bare->Handle(), nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  Redraw(bare->Handle());
  EXPECT_NE(WindowPixel(bare->Handle(), 0, size.cy / 2), Shadow());

  // A printed copy: the shadow outside, the DC's own brush within.
  const COLORREF brush = RGB(30, 160, 60);
  const TCapture printed = PaintedOn(size, RGB(0, 0, 0), brush, [window](HDC dc) {
    SendMessageW(window, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
  });
  EXPECT_EQ(printed.At(0, size.cy / 2), Shadow());
  EXPECT_EQ(printed.At(1, size.cy / 2), RgbOf(brush));
  EXPECT_EQ(printed.At(size.cx / 2, 1), RgbOf(brush));

  // The skin's notice paints the text on the DC given and answers the tag.
  LRESULT answer = 0;
  const TCapture text = PaintedOn(size, RGB(0, 0, 0), RGB(0, 0, 0), [&](HDC dc) {
    answer = SendMessageW(window, skin::WM_SKIN_EDIT_PAINT, reinterpret_cast<WPARAM>(dc), 0x41A2);
  });
  EXPECT_EQ(answer, 0x41A2);
  EXPECT_GT(size.cx * size.cy - text.Count(0x000000, text.Bounds()), 0) << "the edit painted nothing";
  // Without the tag it is not the skin's notice, and nothing is painted.
  const TCapture untagged = PaintedOn(size, RGB(0, 0, 0), RGB(0, 0, 0), [&](HDC dc) {
    answer = SendMessageW(window, skin::WM_SKIN_EDIT_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  });
  EXPECT_EQ(answer, 0);
  EXPECT_EQ(untagged.Count(0x000000, untagged.Bounds()), size.cx * size.cy);
}

// ----- Up-down controls ----------------------------------------------------------------

// Frames of "UpDown.Vert" counted from 0: the up half 0-3, the down half 4-7,
// each normal, pressed, disabled, hot.
TEST_F(SkinCombosTest, UpDownHalfUnderTheMouseIsHotAndAClickStepsThePosition)
{
  const TCursorRestorer cursor;
  auto* edit = Make<framework::TEdit>(10, 10, 60, 23);
  auto* upDown = Make<framework::TUpDown>(70, 10, 17, 23);
  upDown->SetAssociate(edit);
  upDown->SetPosition(5);
  ASSERT_TRUE(ShowFramed());
  ASSERT_NE(CompanionOf<skin::TSkinUpDown>(upDown), nullptr);
  const HWND window = upDown->Handle();
  const SIZE size = WindowSize(window);
  const RECT up{0, 0, size.cx, size.cy / 2};
  const RECT down{0, size.cy / 2, size.cx, size.cy};
  const auto halves = [&] {
    PumpMessages(60);
    const TCapture capture = CaptureWindow(window);
    return std::pair{FrameShown(capture, up, "spin.bmp", 8), FrameShown(capture, down, "spin.bmp", 8)};
  };
  EXPECT_EQ(halves(), std::pair(0, 4));
  // The glyphs stand in the middle of their halves.
  const TCapture rest = CaptureWindow(window);
  EXPECT_EQ(FrameShown(rest, up, "spinarrow.bmp", 8), 0);
  EXPECT_EQ(FrameShown(rest, down, "spinarrow.bmp", 8), 4);

  const POINT onUp = WindowToScreen(window, Centre(up));
  const POINT onDown = WindowToScreen(window, Centre(down));
  ASSERT_TRUE(MoveMouse(onUp));
  EXPECT_EQ(halves(), std::pair(3, 4));
  ASSERT_TRUE(MoveMouse(onDown));
  EXPECT_EQ(halves(), std::pair(0, 7));

  ASSERT_TRUE(MouseDown(onDown));
  EXPECT_EQ(halves(), std::pair(0, 5)) << "pressed";
  ASSERT_TRUE(MouseUp(onDown));
  EXPECT_EQ(upDown->Position(), 4);
  ASSERT_TRUE(Click(onUp));
  ASSERT_TRUE(Click(onUp));
  EXPECT_EQ(upDown->Position(), 6);
  EXPECT_EQ(edit->Text(), "6");

  ASSERT_TRUE(MoveMouse(WindowToScreen(sink->Handle(), {5, 5})));
  PumpMessages(60);
  EXPECT_EQ(halves(), std::pair(0, 4)) << "the mouse has left";
  upDown->SetEnabled(false);
  EXPECT_EQ(halves(), std::pair(2, 6)) << "disabled";
}

TEST_F(SkinCombosTest, UpDownWithoutTheElementIsLineDrawnInTheSkinsColours)
{
  const TCursorRestorer cursor;
  const TSkinValue<std::unique_ptr<skin::TDataSkinBorder>> none(data_->UpDownHorz, nullptr);
  auto* upDown = Make<framework::TUpDown>(10, 10, 40, 20);
  upDown->SetOrientation(framework::udHorizontal);
  ASSERT_TRUE(ShowFramed());
  const HWND window = upDown->Handle();
  ASSERT_TRUE(Skinned(window));
  Redraw(window);
  const SIZE size = WindowSize(window);
  const uint32_t dkShadow = RgbOf(skin::ColourRef(data_->Color(skin::scButtonDkShadow)));
  TCapture capture = CaptureWindow(window);
  EXPECT_EQ(capture.At(0, 0), dkShadow);
  EXPECT_EQ(capture.At(3, 3), Face());
  EXPECT_EQ(capture.At(size.cx - 4, 3), Face());
  EXPECT_EQ(CensusOf(capture, capture.Bounds()).Count("spinh.bmp", 0), 0);
  // An arrow in each half, in the outline's colour.
  EXPECT_GT(capture.Count(dkShadow, {2, 2, size.cx / 2 - 2, size.cy - 2}), 0);
  EXPECT_GT(capture.Count(dkShadow, {size.cx / 2 + 2, 2, size.cx - 2, size.cy - 2}), 0);

  // The half under the mouse sinks into the shadow colour; the other stays.
  ASSERT_TRUE(MoveMouse(WindowToScreen(window, {size.cx * 3 / 4, size.cy / 2})));
  Redraw(window);
  capture = CaptureWindow(window);
  EXPECT_EQ(capture.At(size.cx - 4, 3), Shadow());
  EXPECT_EQ(capture.At(3, 3), Face());
}

// An up-down window inside an edit, as some component sets make them: the
// edit's companion skins it and keeps it 3 pixels inside the edit's window.
TEST_F(SkinCombosTest, UpDownInsideAnEditKeepsOffTheEditsBorder)
{
  auto* edit = Make<framework::TEdit>(10, 10, 120, 24);
  ASSERT_TRUE(ShowFramed());
  RECT client{};
  GetClientRect(edit->Handle(), &client);
  const TWindow inner(CreateWindowExW(0, UPDOWN_CLASSW, L"", WS_CHILD | WS_VISIBLE, client.right - 16, 0, 16,
                                      client.bottom, edit->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr));
  ASSERT_NE(inner.Handle(), nullptr);
  Redraw(edit->Handle());
  const auto* skinned = CompanionOf<skin::TSkinEdit>(edit);
  ASSERT_NE(skinned, nullptr);
  ASSERT_NE(skinned->EmbeddedUpDown(), nullptr);
  EXPECT_TRUE(skinned->EmbeddedUpDown()->Embedded());
  Redraw(inner.Handle());
  const TCapture capture = CaptureWindow(inner.Handle());
  const int32_t w = capture.Width(), h = capture.Height();
  // The client edge is 2 pixels: one row and column is missing at the top,
  // right and bottom, and stays white.
  EXPECT_EQ(capture.Count(0xFFFFFF, {0, 0, w, 1}), w);
  EXPECT_EQ(capture.Count(0xFFFFFF, {w - 1, 0, w, h}), h);
  EXPECT_EQ(capture.Count(0xFFFFFF, {0, h - 1, w, h}), w);
  EXPECT_EQ(FrameShown(capture, {0, 1, w - 1, h / 2}, "spin.bmp", 8), 0);
  EXPECT_EQ(FrameShown(capture, {0, h / 2 + 1, w - 1, h - 1}, "spin.bmp", 8), 4);
}

// ----- Date pickers --------------------------------------------------------------------

// The arrow takes "ComboxArrow", which the probe skin builds from the combo
// button's strip: its colours are the combo button's.
TEST_F(SkinCombosTest, DatePickerArrowIsHotWhileEnabledAndDropsTheCalendar)
{
  const TCursorRestorer cursor;
  auto* picker = Make<framework::TDateTimePicker>(10, 10, 160, 24);
  ASSERT_TRUE(ShowFramed());
  const auto* skinned = CompanionOf<skin::TSkinDateTime>(picker);
  ASSERT_NE(skinned, nullptr);
  skin::TArrowButton* arrow = skinned->Arrow();
  ASSERT_NE(arrow, nullptr);
  const HWND window = picker->Handle();
  EXPECT_EQ(GetParent(arrow->Handle()), window);
  EXPECT_TRUE(GetWindowLongPtrW(window, GWL_STYLE) & WS_CLIPCHILDREN);
  const SIZE size = WindowSize(window);
  const int32_t arrowSize = GetSystemMetrics(SM_CXHSCROLL);
  EXPECT_EQ(arrow->BoundsRect(), gfx::TRect::Bounds(size.cx - arrowSize - 4, 0, arrowSize, size.cy - 4));
  const auto shown = [&] {
    Redraw(window);
    const TCapture capture = CaptureWindow(arrow->Handle());
    return FrameShown(capture, capture.Bounds(), "comboboxbtn.bmp", 4);
  };
  EXPECT_EQ(shown(), 0);
  EXPECT_EQ(WindowPixel(window, 0, size.cy / 2), Shadow());
  EXPECT_EQ(WindowPixel(window, 1, size.cy / 2), 0xFFFFFFu);

  RECT arrowRect{};
  GetWindowRect(arrow->Handle(), &arrowRect);
  ASSERT_TRUE(MoveMouse(Centre(arrowRect)));
  EXPECT_TRUE(PumpUntil([&] { return arrow->Hot(); }, 1000));
  EXPECT_EQ(shown(), 3);

  ASSERT_TRUE(Click(Centre(arrowRect)));
  EXPECT_TRUE(PumpUntil([&] { return picker->DroppedDown(); }, 2000)) << "the calendar did not drop down";
  PressKey(VK_ESCAPE);
  PumpUntil([&] { return !picker->DroppedDown(); }, 2000);

  ASSERT_TRUE(MoveMouse(WindowToScreen(sink->Handle(), {5, 5})));
  EXPECT_TRUE(PumpUntil([&] { return !arrow->Hot(); }, 1000));
  picker->SetEnabled(false);
  ASSERT_TRUE(MoveMouse(Centre(arrowRect)));
  PumpMessages(60);
  EXPECT_EQ(shown(), 0) << "a disabled picker's arrow is never hot";

  // Unskinned, the picker shows its own button again.
  frame->CompanionFor(window)->Unskin();
  EXPECT_EQ(skinned->Arrow(), nullptr);
  EXPECT_EQ(GetWindow(window, GW_CHILD), nullptr);
}

// ----- System dialogs ------------------------------------------------------------------

TEST_F(SkinCombosTest, DialogComboAndEditAreSkinnedAndAnAnsiComboShowsPressesInItsEdit)
{
  const TCursorRestorer cursor;
  TDialogTemplate dialogTemplate(WS_POPUP | WS_CAPTION, 200, 90, L"Open");
  dialogTemplate.Add(0x0085, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 10, 10, 120, 80, 401, L"");
  dialogTemplate.Add(0x0081, WS_BORDER | WS_TABSTOP, 10, 30, 120, 14, 402, L"name.jpg");
  dialogTemplate.Add(0x0080, BS_PUSHBUTTON | WS_TABSTOP, 140, 70, 50, 14, 404, L"OK");
  const TWindow dialog(
    CreateDialogIndirectParamW(GetModuleHandleW(nullptr), dialogTemplate.Get(), nullptr, &PlainDialogProc, 0));
  ASSERT_NE(dialog.Handle(), nullptr);
  const HWND typed = CreateWindowExA(0, "COMBOBOX", "", CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP | WS_CHILD | WS_VISIBLE,
                                     16, 90, 180, 120, dialog.Handle(), reinterpret_cast<HMENU>(403),
                                     GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(typed, nullptr);
  g_beforeAnsiSubclass = reinterpret_cast<WNDPROC>(
    SetWindowLongPtrA(typed, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AnsiSubclassProc)));
  ASSERT_FALSE(IsWindowUnicode(typed));
  BringToFront(dialog.Handle());
  skin::TWinSkinForm* dialogFrame = WaitForFrame(dialog.Handle());
  ASSERT_NE(dialogFrame, nullptr);
  SetFocus(GetDlgItem(dialog.Handle(), 404));
  PumpMessages(60);

  const HWND list = GetDlgItem(dialog.Handle(), 401);
  const HWND edit = GetDlgItem(dialog.Handle(), 402);
  for (const HWND control : {list, edit, typed})
    EXPECT_TRUE(Skinned(control));
  const auto* listCombo = dynamic_cast<const skin::TSkinComBox*>(dialogFrame->CompanionFor(list));
  const auto* typedCombo = dynamic_cast<const skin::TSkinComBox*>(dialogFrame->CompanionFor(typed));
  ASSERT_NE(listCombo, nullptr);
  ASSERT_NE(typedCombo, nullptr);
  ASSERT_NE(dynamic_cast<const skin::TSkinEdit*>(dialogFrame->CompanionFor(edit)), nullptr);
  Redraw(dialog.Handle());
  EXPECT_EQ(FrameShown(CaptureWindow(list), ToRECT(listCombo->HotRect()), "comboboxbtn.bmp", 4), 0);
  EXPECT_EQ(WindowPixel(edit, 0, WindowSize(edit).cy / 2), Shadow());

  // A press in the edit of the ANSI drop-down combo shows on its button.
  const HWND typedEdit = GetWindow(typed, GW_CHILD);
  ASSERT_NE(typedEdit, nullptr);
  RECT editRect{};
  GetWindowRect(typedEdit, &editRect);
  ASSERT_TRUE(MouseDown(Centre(editRect)));
  Redraw(typed);
  EXPECT_EQ(FrameShown(CaptureWindow(typed), ToRECT(typedCombo->HotRect()), "comboboxbtn.bmp", 4), 1);
  ASSERT_TRUE(MouseUp(Centre(editRect)));
  Redraw(typed);
  EXPECT_EQ(FrameShown(CaptureWindow(typed), ToRECT(typedCombo->HotRect()), "comboboxbtn.bmp", 4), 3)
    << "released; the edit has the focus";
}

// ----- Endurance -----------------------------------------------------------------------

TEST_F(SkinCombosTest, CombosEditsUpDownsAndPickersComeAndGoWithoutLeaks)
{
  const auto cycle = [] {
    framework::TForm f(nullptr);
    f.SetBounds(80, 80, 400, 260);
    const auto make = [&f](auto* control, int y) {
      control->SetParent(&f);
      control->SetBounds(10, y, 150, 23);
      return control;
    };
    auto* combo = make(new framework::TComboBox(&f), 10);
    combo->Items()->Add("One");
    make(new framework::TComboBox(&f), 40)->SetStyle(framework::csDropDownList);
    auto* edit = make(new framework::TEdit(&f), 70);
    auto* upDown = make(new framework::TUpDown(&f), 100);
    upDown->SetAssociate(edit);
    make(new framework::TDateTimePicker(&f), 130);
    f.Show();
    BringToFront(f.Handle());
    ASSERT_NE(WaitForFrame(f.Handle()), nullptr);
    Redraw(f.Handle());
  };
  for (int i = 0; i < 3; ++i)
    cycle();
  PumpMessages(100);
  const TResourceCount start = CountResources();
  for (int i = 0; i < 20; ++i)
    cycle();
  PumpMessages(200);
  const TResourceCount end = CountResources();
  EXPECT_EQ(end.Gdi, start.Gdi);
  EXPECT_EQ(end.User, start.User);
}

} // namespace
