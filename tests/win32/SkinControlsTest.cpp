// Skinned controls on a real form under the probe skin, whose every element
// frame has a colour of its own: which companion each control gets, the
// button's looks under the real mouse, check and radio frames, the group
// box's line, a message box's buttons, and everything given back when the
// skin goes.
#include "framework/win32/StdCtrls.h"
#include "skin/controls/ControlAttach.h"
#include "skin/controls/SkinControl.h"
#include "tests/win32/DialogTemplate.h"
#include "tests/win32/SkinnedWindowSupport.h"

#include <gtest/gtest.h>

using namespace testsupport;

namespace {

// Inside the button face, left of a short caption: clear of the keyed
// corners and of the focus rectangle, which sits 2 pixels around the caption
// and so moves up and down with the button's height.
POINT FaceSpot(HWND control)
{
  const SIZE size = WindowSize(control);
  return {4, size.cy / 2};
}

uint32_t ControlPixel(HWND control, POINT at)
{
  PumpMessages(60);
  return WindowPixel(control, at.x, at.y);
}

// A look that follows input shows once the input's messages are through:
// waits for the button's face to show that frame.
::testing::AssertionResult ButtonShows(HWND button, int32_t frame)
{
  const POINT spot = FaceSpot(button);
  if (WaitForWindowPixel(button, spot, probeskin::ProbeColour("buttons.bmp", frame), 2000))
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "buttons.bmp frame " << frame << " expected, shows "
                                       << DescribePixel(WindowPixel(button, spot.x, spot.y));
}

POINT ScreenCentre(HWND control)
{
  RECT r{};
  GetWindowRect(control, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

bool Skinned(HWND control) { return SendMessageW(control, skin::WM_SKIN_QUERY, 0, 0) == 1; }

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

class SkinControlsTest : public TSkinnedSuite<&ProbeSkinPackage> {
protected:
  // A form with one control of each kind this step skins, shown and framed.
  struct TPanelForm {
    framework::TForm Form{nullptr};
    framework::TButton* Button = nullptr;
    framework::TButton* Disabled = nullptr;
    framework::TButton* Left = nullptr; // DisableTag: never skinned
    framework::TCheckBox* Check = nullptr;
    framework::TRadioButton* Radio = nullptr;
    framework::TGroupBox* Group = nullptr;
    framework::TPanel* Panel = nullptr;
    int Clicks = 0;

    TPanelForm()
    {
      Form.SetBounds(80, 80, 420, 300);
      Button = Make<framework::TButton>(10, 10, 100, 27, "Play");
      Button->OnClick = framework::TNotifyEvent([this](framework::TObject*) { ++Clicks; });
      Disabled = Make<framework::TButton>(120, 10, 100, 27, "Off");
      Disabled->SetEnabled(false);
      Left = Make<framework::TButton>(230, 10, 100, 27, "Plain");
      Left->SetTag(99);
      Check = Make<framework::TCheckBox>(10, 50, 150, 21, "Loop");
      Radio = Make<framework::TRadioButton>(10, 80, 150, 21, "Random");
      Group = Make<framework::TGroupBox>(180, 50, 200, 100, "Timing");
      Panel = Make<framework::TPanel>(10, 160, 150, 60, "");
      Form.Show();
      BringToFront(Form.Handle());
    }

    template <class T>
    T* Make(int x, int y, int w, int h, const std::string& caption)
    {
      auto* control = new T(&Form);
      control->SetParent(&Form);
      control->SetBounds(x, y, w, h);
      control->SetCaption(caption);
      return control;
    }
  };

};

TEST_F(SkinControlsTest, EachControlGetsItsCompanionAndTheDisableTagNone)
{
  TPanelForm f;
  skin::TWinSkinForm* frame = WaitForFrame(f.Form.Handle());
  ASSERT_NE(frame, nullptr);
  for (framework::TWinControl* control :
       std::initializer_list<framework::TWinControl*>{f.Button, f.Disabled, f.Check, f.Radio, f.Group})
    EXPECT_TRUE(Skinned(control->Handle())) << control->ClassName();
  EXPECT_FALSE(Skinned(f.Left->Handle()));
  // Panels are recoloured, not subclassed.
  EXPECT_TRUE(frame->HasCompanionFor(f.Panel->Handle()));
  EXPECT_EQ(f.Panel->Color(), data_->Color(skin::scButtonFace));
  // A second pass gives no control a second companion.
  const size_t count = frame->CompanionCount();
  skin::SkinFormControls(*frame, f.Form);
  EXPECT_EQ(frame->CompanionCount(), count);
}

TEST_F(SkinControlsTest, ButtonLooksFollowTheMouseFocusAndEnabling)
{
  TPanelForm f;
  ASSERT_NE(WaitForFrame(f.Form.Handle()), nullptr);
  const HWND button = f.Button->Handle();
  const TCursorRestorer cursor;
  MoveMouse({10, 10});
  SetFocus(f.Check->Handle());
  EXPECT_TRUE(ButtonShows(button, 0)) << "normal";
  EXPECT_TRUE(ButtonShows(f.Disabled->Handle(), 2)) << "disabled";

  MoveMouse(ScreenCentre(button));
  EXPECT_TRUE(ButtonShows(button, 3)) << "hot";
  MouseDown(ScreenCentre(button));
  EXPECT_TRUE(ButtonShows(button, 1)) << "pressed";
  // Leaving before the release clears the press: no click.
  MoveMouse({10, 10});
  PumpMessages(100);
  MouseUp({10, 10});
  PumpMessages(100);
  EXPECT_EQ(f.Clicks, 0);
  // The press gave the button the focus: the focused look.
  EXPECT_TRUE(ButtonShows(button, 4)) << "focused";

  Click(ScreenCentre(button));
  PumpMessages(100);
  EXPECT_EQ(f.Clicks, 1);
}

TEST_F(SkinControlsTest, CheckAndRadioBoxesShowTheirStateFrames)
{
  TPanelForm f;
  ASSERT_NE(WaitForFrame(f.Form.Handle()), nullptr);
  const POINT box{6, 10};
  const HWND check = f.Check->Handle();
  const HWND radio = f.Radio->Handle();
  EXPECT_TRUE(ShowsFrame(ControlPixel(check, box), "checkbox.bmp", 0)) << DescribePixel(ControlPixel(check, box));
  f.Check->SetChecked(true);
  EXPECT_TRUE(ShowsFrame(ControlPixel(check, box), "checkbox.bmp", 4)) << DescribePixel(ControlPixel(check, box));
  f.Check->SetEnabled(false);
  EXPECT_TRUE(ShowsFrame(ControlPixel(check, box), "checkbox.bmp", 7)) << DescribePixel(ControlPixel(check, box));
  f.Check->SetEnabled(true);
  f.Check->SetAllowGrayed(true);
  f.Check->SetState(framework::cbGrayed);
  EXPECT_TRUE(ShowsFrame(ControlPixel(check, box), "checkbox.bmp", 8)) << DescribePixel(ControlPixel(check, box));

  EXPECT_TRUE(ShowsFrame(ControlPixel(radio, box), "radiobutton.bmp", 0)) << DescribePixel(ControlPixel(radio, box));
  f.Radio->SetChecked(true);
  EXPECT_TRUE(ShowsFrame(ControlPixel(radio, box), "radiobutton.bmp", 4)) << DescribePixel(ControlPixel(radio, box));
  f.Radio->SetEnabled(false);
  EXPECT_TRUE(ShowsFrame(ControlPixel(radio, box), "radiobutton.bmp", 7)) << DescribePixel(ControlPixel(radio, box));
}

TEST_F(SkinControlsTest, GroupBoxFrameIsTheSkinsShadowColour)
{
  TPanelForm f;
  ASSERT_NE(WaitForFrame(f.Form.Handle()), nullptr);
  const uint32_t shadow = gfx::ColorToRGB(data_->Color(skin::scButtonShadow));
  const uint32_t expected = ((shadow & 0xFF) << 16) | (shadow & 0xFF00) | ((shadow >> 16) & 0xFF);
  const SIZE size = WindowSize(f.Group->Handle());
  EXPECT_EQ(ControlPixel(f.Group->Handle(), {1, size.cy / 2}), expected) << DescribePixel(ControlPixel(f.Group->Handle(), {1, size.cy / 2}));
  EXPECT_EQ(ControlPixel(f.Group->Handle(), {size.cx - 2, size.cy / 2}), expected);
}

// A larger caption font lowers the group box's top line: the skin's shadow
// colour runs down the left edge from half the text height less one.
TEST_F(SkinControlsTest, GroupBoxLineDropsWithALargerFont)
{
  TPanelForm f;
  f.Group->Font()->SetHeight(-28);
  ASSERT_NE(WaitForFrame(f.Form.Handle()), nullptr);
  const uint32_t shadow = gfx::ColorToRGB(data_->Color(skin::scButtonShadow));
  const uint32_t expected = ((shadow & 0xFF) << 16) | (shadow & 0xFF00) | ((shadow >> 16) & 0xFF);
  PumpMessages(60);
  const TCapture group = CaptureWindow(f.Group->Handle());
  int32_t top = -1;
  for (int32_t y = 0; y < group.Height() && top < 0; ++y)
    if (group.At(1, y) == expected)
      top = y;
  // The frame's corner is rounded: the edge column starts a little below the line.
  EXPECT_GE(top, 10) << "a 28-pixel font puts the line well below the small font's";
  EXPECT_LE(top, 18);
}

// A dialog check box with its text on the left has its box on the right.
TEST_F(SkinControlsTest, LeftTextPutsTheBoxOnTheRight)
{
  TDialogTemplate dialogTemplate(WS_POPUP | WS_CAPTION | WS_VISIBLE, 200, 50, L"Left text");
  dialogTemplate.Add(0x0080, BS_AUTOCHECKBOX | BS_LEFTTEXT | WS_TABSTOP, 10, 10, 150, 12, 200, L"Text first");
  const TWindow dialog(
    CreateDialogIndirectParamW(GetModuleHandleW(nullptr), dialogTemplate.Get(), nullptr, &PlainDialogProc, 0));
  BringToFront(dialog.Handle());
  ASSERT_NE(WaitForFrame(dialog.Handle()), nullptr);
  PumpMessages(60);
  const HWND check = GetDlgItem(dialog.Handle(), 200);
  const TCapture capture = CaptureWindow(check);
  const LONG half = capture.Width() / 2;
  EXPECT_EQ(CensusOf(capture, {0, 0, half, capture.Height()}).Count("checkbox.bmp", 0), 0);
  EXPECT_GT(CensusOf(capture, {half, 0, capture.Width(), capture.Height()}).Count("checkbox.bmp", 0), 0);
}

TEST_F(SkinControlsTest, SkinSwitchOffPassesEverythingOnAndOnRepaints)
{
  TPanelForm f;
  ASSERT_NE(WaitForFrame(f.Form.Handle()), nullptr);
  const HWND button = f.Button->Handle();
  SendMessageW(button, skin::WM_SKIN_SWITCH, 0, 0);
  EXPECT_FALSE(Skinned(button));
  InvalidateRect(button, nullptr, TRUE);
  EXPECT_FALSE(probeskin::FindProbeFrame(ControlPixel(button, FaceSpot(button)), 0).has_value());
  SendMessageW(button, skin::WM_SKIN_SWITCH, 1, 0);
  EXPECT_TRUE(Skinned(button));
  EXPECT_TRUE(ShowsFrame(ControlPixel(button, FaceSpot(button)), "buttons.bmp", 0) ||
              ShowsFrame(ControlPixel(button, FaceSpot(button)), "buttons.bmp", 4));
}

// A message box runs its own loop: a timer looks at it from inside.
struct TBoxProbe {
  bool Skinned = false;
  // Client height below the OK button's bottom edge.
  LONG SpaceBelowButton = -1;
  uint32_t Face = 0;
  // Pixels showing the face inverted: the dots of the focus rectangle.
  int FocusDots = 0;
  int Ticks = 0;
};
TBoxProbe* g_box = nullptr;

void CALLBACK ProbeMessageBox(HWND, UINT, UINT_PTR id, DWORD)
{
  const HWND box = FindWindowW(L"#32770", L"Skinned box");
  const HWND ok = box ? GetDlgItem(box, IDOK) : nullptr;
  // Read only once the box shows: a hidden window's pixels are nobody's.
  if (ok && IsWindowVisible(box) && Skinned(ok)) {
    g_box->Skinned = true;
    RECT client{}, okBounds{};
    GetClientRect(box, &client);
    GetWindowRect(ok, &okBounds);
    MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&okBounds), 2);
    g_box->SpaceBelowButton = client.bottom - okBounds.bottom;
    RedrawWindow(ok, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const TCapture button = CaptureWindow(ok);
    g_box->Face = button.At(FaceSpot(ok).x, FaceSpot(ok).y);
    for (int32_t y = 0; y < button.Height(); ++y)
      for (int32_t x = 0; x < button.Width(); ++x)
        g_box->FocusDots += button.At(x, y) == (g_box->Face ^ 0xFFFFFF) ? 1 : 0;
  }
  if (box && (g_box->Skinned || ++g_box->Ticks > 40)) {
    KillTimer(nullptr, id);
    PostMessageW(box, WM_COMMAND, IDOK, reinterpret_cast<LPARAM>(ok));
  }
}

// The OK button of a message box has the focus and is the default: it shows
// the focused face, and the focus rectangle around its caption.
TEST_F(SkinControlsTest, MessageBoxButtonsAreSkinned)
{
  TBoxProbe probe;
  g_box = &probe;
  SetTimer(nullptr, 0, 100, &ProbeMessageBox);
  MessageBoxW(nullptr, L"Skinned controls", L"Skinned box", MB_OK | MB_ICONSTOP | MB_TASKMODAL);
  g_box = nullptr;
  ASSERT_TRUE(probe.Skinned);
  EXPECT_TRUE(ShowsFrame(probe.Face, "buttons.bmp", 4)) << DescribePixel(probe.Face);
  EXPECT_GT(probe.FocusDots, 0);
  // The box fitted itself to its text before the skin took it over: it keeps
  // that fit, a button's margin below the button and no more.
  EXPECT_GE(probe.SpaceBelowButton, 0);
  EXPECT_LT(probe.SpaceBelowButton, 30);
}

// Runs last: the skin going gives every control its own procedure back.
TEST_F(SkinControlsTest, TheSkinGoingGivesEveryControlItsOwnLookBack)
{
  TPanelForm f;
  ASSERT_NE(WaitForFrame(f.Form.Handle()), nullptr);
  skin::FinalizeSkinManager();
  for (framework::TWinControl* control :
       std::initializer_list<framework::TWinControl*>{f.Button, f.Check, f.Radio, f.Group})
    EXPECT_FALSE(Skinned(control->Handle())) << control->ClassName();
  EXPECT_NE(f.Panel->Color(), data_->Color(skin::scButtonFace));
  // The controls still work on their own: a click reaches the button.
  const TCursorRestorer cursor;
  Click(ScreenCentre(f.Button->Handle()));
  PumpMessages(100);
  EXPECT_EQ(f.Clicks, 1);
}

} // namespace
