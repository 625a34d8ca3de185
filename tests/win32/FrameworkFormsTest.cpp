// Forms created from descriptions embedded as resources: layout, scaling,
// events through real messages, handle re-creation and re-parenting, and
// access to control values through the property registry.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include "FrameworkTestSupport.h"
#include "framework/win32/FormResources.h"
#include "gfx/Numeric.h"

using namespace framework;
using namespace frameworktest;

namespace {

class LayoutFormTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    InitApplication();
    form = new TLayoutForm(Application);
    form->InitForm();
    form->Show();
    Pump(150);
  }
  void TearDown() override
  {
    delete form;
    Pump(20);
  }
  // A design size at 120 pixels per inch on this screen.
  static int Scaled(int value) { return gfx::MulDiv(value, Screen->PixelsPerInch(), 120); }

  TLayoutForm* form = nullptr;
};

} // namespace

TEST(FormResources, DescriptionAndItsFilesAreEmbedded)
{
  std::vector<uint8_t> data;
  ASSERT_TRUE(FindResourceFile("TLayoutForm.form", data));
  EXPECT_NE(std::string(data.begin(), data.end()).find("TLayoutForm LayoutForm"), std::string::npos);
  EXPECT_EQ(LoadResourceFile("layout-data.bin"), (std::vector<uint8_t>{'b', 'i', 'n', 'a', 'r', 'y', 0, 1, 2, 0xFF}));
  EXPECT_THROW((void)LoadResourceFile("missing.bin"), EResNotFound);
}

TEST_F(LayoutFormTest, StreamsComponentsFieldsHandlersAndBinaryData)
{
  EXPECT_EQ(form->created, 1);
  EXPECT_EQ(form->Name(), "LayoutForm");
  EXPECT_EQ(form->Caption(), "Layout \xE2\x80\x93 test");
  EXPECT_EQ(WindowText(form->Handle()), L"Layout \u2013 test");
  ASSERT_TRUE(form->Button1 && form->Display && form->cbStyle && form->udStep && form->StatusBar1);
  EXPECT_EQ(form->FindComponent("Button1"), form->Button1);
  EXPECT_EQ(form->Button1->Parent()->Name(), "GroupBox1");
  EXPECT_EQ(form->Display->data, (std::vector<uint8_t>{'b', 'i', 'n', 'a', 'r', 'y', 0, 1, 2, 0xFF}));
  EXPECT_EQ(form->Display->Tag(), 8);
  EXPECT_FALSE(form->HasState(csLoading));
  EXPECT_FALSE(form->Display->HasState(csLoading));
  EXPECT_EQ(form->Button1->Font()->Style(), fsBold);
  EXPECT_EQ(form->cbStyle->Items()->Count(), 3);
  EXPECT_EQ(form->rgStyleControl->ItemIndex(), 0);
  EXPECT_EQ(form->rgStyleControl->ButtonCount(), 3);
  EXPECT_TRUE(form->rgStyleControl->Buttons(0)->Checked());
  EXPECT_EQ(form->Pages->ActivePage()->Name(), "TabLayout");
  EXPECT_TRUE(form->Pages->ActivePage()->Visible());
  EXPECT_FALSE(form->Pages->Pages(0)->Visible());
}

TEST_F(LayoutFormTest, ScalesFromItsStoredResolutionAndAligns)
{
  gfx::TRect client = form->ClientRect();
  EXPECT_EQ(client.Width(), Scaled(600));
  EXPECT_EQ(client.Height(), Scaled(400));
  EXPECT_EQ(form->Font()->Height(), gfx::MulDiv(-14, Screen->PixelsPerInch(), 120));
  EXPECT_EQ(form->PixelsPerInch(), Screen->PixelsPerInch());
  // Left edge: the bevel line, then the side panel; the status bar below;
  // the display takes the rest.
  auto* bevel = dynamic_cast<TControl*>(form->FindComponent("Bevel1"));
  ASSERT_NE(bevel, nullptr);
  EXPECT_EQ(bevel->Left(), 0);
  EXPECT_EQ(form->SidePanel->Left(), bevel->Width());
  EXPECT_EQ(form->SidePanel->Width(), Scaled(250));
  EXPECT_EQ(form->StatusBar1->Top() + form->StatusBar1->Height(), client.Height());
  EXPECT_EQ(form->StatusBar1->Left(), 0);
  EXPECT_EQ(form->StatusBar1->Width(), client.Width());
  EXPECT_EQ(form->Display->Left(), form->SidePanel->Left() + form->SidePanel->Width());
  EXPECT_EQ(form->Display->Top(), 0);
  EXPECT_EQ(form->Display->Width(), client.Width() - form->Display->Left());
  EXPECT_EQ(form->Display->Height(), form->StatusBar1->Top());
  // The window agrees with the framework.
  RECT r;
  GetWindowRect(form->Display->Handle(), &r);
  MapWindowPoints(nullptr, form->Handle(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, form->Display->Left());
  EXPECT_EQ(r.right - r.left, form->Display->Width());

  // Resizing the form realigns: the display grows, the panel keeps its width.
  int oldDisplayWidth = form->Display->Width();
  form->SetClientWidth(client.Width() + 40);
  Pump(50);
  EXPECT_EQ(form->Display->Width(), oldDisplayWidth + 40);
  EXPECT_EQ(form->SidePanel->Width(), Scaled(250));
}

TEST_F(LayoutFormTest, RightAlignedAutoSizedLabelKeepsItsRightEdge)
{
  TLabel* label = form->lblStyleNo;
  int right = label->Left() + label->Width();
  label->SetCaption("[ #176 and more ]");
  EXPECT_EQ(label->Left() + label->Width(), right);
  EXPECT_GT(label->Width(), 40);
}

TEST_F(LayoutFormTest, PaintsThroughTheCanvasIntoTheWindow)
{
  HWND display = form->Display->Handle();
  EXPECT_TRUE(PumpUntil([&] { return form->Display->paints > 0; }));
  EXPECT_EQ(ScreenPixel(display, 40, 40), 0xFF0000u); // clRed, read as 0x00RRGGBB
  EXPECT_EQ(ScreenPixel(display, 5, 5), 0xFFFFFFu);
  form->Display->SetColor(gfx::clBlue);
  form->Display->Update();
  EXPECT_EQ(ScreenPixel(display, 40, 40), 0x0000FFu);
}

TEST_F(LayoutFormTest, ClicksAndDoubleClicksArriveAsEvents)
{
  PostClick(form->Button1->Handle(), 5, 5);
  EXPECT_TRUE(PumpUntil([&] { return form->buttonClicks == 1; }));

  HWND display = form->Display->Handle();
  PostMessageW(display, WM_LBUTTONDOWN, MK_LBUTTON, Point(30, 30));
  PostMessageW(display, WM_LBUTTONUP, 0, Point(30, 30));
  PostMessageW(display, WM_LBUTTONDBLCLK, MK_LBUTTON, Point(30, 30));
  PostMessageW(display, WM_LBUTTONUP, 0, Point(30, 30));
  EXPECT_TRUE(PumpUntil([&] { return form->doubleClicks == 1; }));

  // A check box toggles on a click and raises OnClick.
  PostClick(form->ckExact->Handle(), 5, 5);
  EXPECT_TRUE(PumpUntil([&] { return form->exactClicks == 1; }));
  EXPECT_FALSE(form->ckExact->Checked());
  EXPECT_EQ(SendMessageW(form->ckExact->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(LayoutFormTest, KeyPreviewLetsTheFormSeeAndConsumeKeysFirst)
{
  HWND edit = form->edtStep->Handle();
  SetFocus(edit);
  int editKeys = 0;
  form->edtStep->OnKeyDown = TKeyEvent([&](TObject*, uint16_t&, TShiftState) { ++editKeys; });
  PostMessageW(edit, WM_KEYDOWN, VK_F5, 0);
  PostMessageW(edit, WM_KEYDOWN, VK_F2, 0);    // consumed by the form
  PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0); // a dialog key, consumed too
  Pump(100);
  EXPECT_EQ(form->keys, (std::vector<uint16_t>{VK_F5, VK_F2, VK_ESCAPE}));
  EXPECT_EQ(editKeys, 1); // only F5 reached the edit
}

TEST_F(LayoutFormTest, ControlValuesThroughThePropertyRegistry)
{
  EXPECT_EQ(GetOrdProp(*form->udStep, "Position"), 3);
  EXPECT_EQ(form->edtStep->Text(), "3");
  SetPropValue(*form->udStep, "Position", "7");
  EXPECT_EQ(form->edtStep->Text(), "7");
  EXPECT_EQ(form->stepTexts.back(), "7"); // the edit's change handler ran
  SetPropValue(*form->udStep, "Position", "99");
  EXPECT_EQ(form->udStep->Position(), 25); // clamped to the range

  EXPECT_EQ(GetEnumProp(*form->ckExact, "State"), "cbChecked");
  SetPropValue(*form->ckExact, "Checked", "False");
  EXPECT_EQ(SendMessageW(form->ckExact->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(form->exactClicks, 1);
  SetPropValue(*form->ckExact, "Checked", "False"); // the same value: no event
  EXPECT_EQ(form->exactClicks, 1);

  SetPropValue(*form->tbProgress, "Position", "40");
  EXPECT_EQ(SendMessageW(form->tbProgress->Handle(), TBM_GETPOS, 0, 0), 40);
  EXPECT_EQ(form->progress, std::vector<int>{40});
  EXPECT_EQ(GetStrProp(*form->Display, "Hint"), "Double click for FULL SCREEN");
  EXPECT_EQ(GetEnumProp(*form->SidePanel, "ParentBackground"), "True");
  SetPropValue(*form->SidePanel, "ParentBackground", "False");
  EXPECT_FALSE(form->SidePanel->ParentBackground());
  EXPECT_EQ(GetOrdProp(*form->Display, "Color"), gfx::clRed);
  EXPECT_EQ(GetOrdProp(*form->Button1, "NoSuchProperty"), -1);
  EXPECT_EQ(GetObjectProp(*form->udStep, "Associate"), form->edtStep);

  // A user's step on the up-down arrives as a notification and updates the edit.
  NMUPDOWN step{};
  step.hdr.hwndFrom = form->udStep->Handle();
  step.hdr.code = UDN_DELTAPOS;
  step.iDelta = -1;
  SendMessageW(GetParent(form->udStep->Handle()), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&step));
  EXPECT_EQ(form->udStep->Position(), 24);
  EXPECT_EQ(form->edtStep->Text(), "24");
}

TEST_F(LayoutFormTest, ListTabAndStatusControlsFollowTheirWindows)
{
  // A selection in the combo box's window raises OnChange.
  HWND combo = form->cbStyle->Handle();
  SendMessageW(combo, CB_SETCURSEL, 2, 0);
  SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
  EXPECT_EQ(form->styleChanges, 1);
  EXPECT_EQ(form->cbStyle->ItemIndex(), 2);
  EXPECT_EQ(form->cbStyle->Text(), "three");
  form->cbStyle->Items()->Add("four");
  EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 4);

  // Tabs: choosing the first tab shows its sheet and hides the other.
  HWND tabs = form->Pages->Handle();
  SendMessageW(tabs, TCM_SETCURSEL, 0, 0);
  NMHDR change{tabs, 0, UINT(TCN_SELCHANGE)};
  SendMessageW(GetParent(tabs), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&change));
  EXPECT_EQ(form->Pages->ActivePageIndex(), 0);
  EXPECT_TRUE(IsWindowVisible(form->Pages->Pages(0)->Handle()));
  EXPECT_FALSE(IsWindowVisible(form->Pages->Pages(1)->Handle()));

  EXPECT_EQ(form->StatusBar1->PanelTextShown(2), "\t12 Image(s)");
  form->StatusBar1->Panel(0)->SetText("Showing: a.jpg");
  EXPECT_EQ(form->StatusBar1->PanelTextShown(0), "Showing: a.jpg");
  int edges[4] = {};
  SendMessageW(form->StatusBar1->Handle(), SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges));
  EXPECT_EQ(edges[0], 150);
  EXPECT_EQ(edges[1], 300);
  EXPECT_EQ(edges[2], 400);
  EXPECT_EQ(edges[3], -1);
}

TEST_F(LayoutFormTest, HandleRecreationKeepsState)
{
  HWND before = form->ckExact->Handle();
  SetWindowTextW(form->edtStep->Handle(), L"12");
  form->ckExact->RecreateWnd();
  HWND after = form->ckExact->Handle();
  EXPECT_NE(before, after);
  EXPECT_FALSE(IsWindow(before));
  EXPECT_EQ(SendMessageW(after, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(WindowText(after), L"Keep accurate timing");

  // A whole container: children get new windows too and keep what they held.
  HWND editBefore = form->edtStep->Handle();
  form->Pages->RecreateWnd();
  EXPECT_NE(form->edtStep->Handle(), editBefore);
  EXPECT_EQ(form->edtStep->Text(), "12");
  EXPECT_EQ(GetParent(form->edtStep->Handle()), form->Pages->Pages(0)->Handle());
}

TEST_F(LayoutFormTest, FullScreenByDetachingTheWindowAndBack)
{
  TPaintBox* display = form->Display;
  HWND window = display->Handle();
  display->SetAlign(alNone);
  // The window leaves the form and covers the screen, as the player's full
  // screen does; the framework parent stays.
  ::SetParent(window, nullptr);
  display->SetBounds(0, 0, Screen->Width(), Screen->Height());
  SetWindowPos(window, HWND_TOPMOST, 0, 0, Screen->Width(), Screen->Height(), SWP_SHOWWINDOW);
  Pump(150);
  EXPECT_TRUE(GetAncestor(window, GA_PARENT) == GetDesktopWindow());
  EXPECT_EQ(display->Parent(), form);
  RECT r;
  GetWindowRect(window, &r);
  EXPECT_EQ(r.right - r.left, Screen->Width());
  HDC screen = GetDC(nullptr);
  COLORREF topLeft = GetPixel(screen, 40, 40);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(topLeft, RGB(255, 0, 0));

  // Back into the form, docked again.
  ::SetParent(window, form->Handle());
  SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  display->SetAlign(alClient);
  Pump(50);
  EXPECT_EQ(GetParent(window), form->Handle());
  EXPECT_EQ(display->Left(), form->SidePanel->Left() + form->SidePanel->Width());
  EXPECT_EQ(display->Width(), form->ClientWidth() - display->Left());

  // Through the framework: no parent means a window of its own, and a new
  // window inside the form when it comes back.
  display->SetParent(nullptr);
  EXPECT_FALSE(IsWindow(window));
  display->SetParent(form);
  HWND again = display->Handle();
  EXPECT_EQ(GetParent(again), form->Handle());
  EXPECT_EQ(display->Width(), form->ClientWidth() - display->Left());
}

TEST_F(LayoutFormTest, WindowProcCanBeReplacedAndChained)
{
  // What a skin does: sit in front of the control's procedure, answer its own
  // query and pass everything else on.
  TWndMethod previous = form->Button1->WindowProc;
  int passedOn = 0;
  form->Button1->WindowProc = [&](TMessage& m) {
    if (m.Msg == 0x3523) {
      m.Result = 1;
      return;
    }
    ++passedOn;
    previous(m);
  };
  EXPECT_EQ(form->Button1->Perform(0x3523), 1);
  EXPECT_EQ(SendMessageW(form->Button1->Handle(), 0x3523, 0, 0), 1);
  PostClick(form->Button1->Handle(), 5, 5);
  EXPECT_TRUE(PumpUntil([&] { return form->buttonClicks == 1; }));
  EXPECT_GT(passedOn, 0);
  form->Button1->WindowProc = previous;
  EXPECT_EQ(form->Button1->Perform(0x3523), 0);
}

TEST_F(LayoutFormTest, MouseEnterLeaveAndHints)
{
  Application->SetHintPause(50);
  HWND display = form->Display->Handle();
  PostMessageW(display, WM_MOUSEMOVE, 0, Point(20, 20));
  EXPECT_TRUE(PumpUntil([&] { return form->Display->enters == 1; }));
  EXPECT_TRUE(PumpUntil([&] { return Application->HintWindow() && IsWindowVisible(Application->HintWindow()); }));
  EXPECT_EQ(WindowText(Application->HintWindow()), L"Double click for FULL SCREEN");
  Application->CancelHint();
  EXPECT_FALSE(IsWindowVisible(Application->HintWindow()));
  // Moving onto another control leaves the display.
  PostMessageW(form->Button1->Handle(), WM_MOUSEMOVE, 0, Point(3, 3));
  EXPECT_TRUE(PumpUntil([&] { return form->Display->leaves == 1; }));
  Application->SetHintPause(500);
}

// ---------------------------------------------------------------------------
// Re-parenting, re-created windows, real keystrokes, alignment and anchors

namespace {

// A window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND window)
{
  RECT r;
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// Presses and releases a key as the keyboard would: through the system's
// input queue, to the focused window.
void TypeKey(WORD key)
{
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_KEYBOARD;
  input[0].ki.wVk = input[1].ki.wVk = key;
  input[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, input, sizeof(INPUT));
  Pump(60);
}

} // namespace

TEST_F(LayoutFormTest, LeavingTheParentAndComingBackRestoresBoundsAndState)
{
  TButton* button = form->Button1;
  TWinControl* group = button->Parent();
  ASSERT_NE(group, nullptr);
  const int left = button->Left(), top = button->Top(), width = button->Width(), height = button->Height();
  const int children = group->ControlCount();
  HWND old = button->Handle();
  button->SetEnabled(false);

  button->SetParent(nullptr);
  EXPECT_FALSE(IsWindow(old));
  EXPECT_FALSE(button->HandleAllocated());
  EXPECT_EQ(button->Parent(), nullptr);
  EXPECT_EQ(group->ControlCount(), children - 1);
  EXPECT_EQ(form->FindComponent("Button1"), button); // still owned by the form
  EXPECT_EQ(button->Left(), left);
  EXPECT_EQ(button->Width(), width);

  // Through another parent and back to the first.
  button->SetParent(form->SidePanel);
  EXPECT_EQ(GetParent(button->Handle()), form->SidePanel->Handle());
  button->SetParent(group);
  HWND again = button->Handle();
  EXPECT_EQ(group->ControlCount(), children);
  EXPECT_EQ(GetParent(again), group->Handle());
  RECT r = RectInParent(again);
  EXPECT_EQ(r.left, left);
  EXPECT_EQ(r.top, top);
  EXPECT_EQ(r.right - r.left, width);
  EXPECT_EQ(r.bottom - r.top, height);
  EXPECT_FALSE(IsWindowEnabled(again));
  EXPECT_TRUE(IsWindowVisible(again));
  EXPECT_EQ(WindowText(again), L"Select Picture folder");

  // The new window still reaches the handler.
  button->SetEnabled(true);
  PostClick(again, 5, 5);
  EXPECT_TRUE(PumpUntil([&] { return form->buttonClicks == 1; }));
}

TEST_F(LayoutFormTest, RecreatedWindowsKeepWhatTheirControlsHold)
{
  form->cbStyle->SetItemIndex(2);
  form->tbProgress->SetPosition(40);
  form->Button1->SetEnabled(false);
  form->rgStyleControl->SetItemIndex(1);

  form->cbStyle->RecreateWnd();
  EXPECT_EQ(SendMessageW(form->cbStyle->Handle(), CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(SendMessageW(form->cbStyle->Handle(), CB_GETCURSEL, 0, 0), 2);

  form->tbProgress->RecreateWnd();
  EXPECT_EQ(SendMessageW(form->tbProgress->Handle(), TBM_GETPOS, 0, 0), 40);
  EXPECT_EQ(SendMessageW(form->tbProgress->Handle(), TBM_GETRANGEMAX, 0, 0), 100);

  form->Button1->RecreateWnd();
  HWND button = form->Button1->Handle();
  EXPECT_FALSE(IsWindowEnabled(button));
  // The bold font of the description is the new window's font too.
  LOGFONTW font{};
  ASSERT_TRUE(GetObjectW(reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0)), sizeof(font), &font));
  EXPECT_GE(font.lfWeight, FW_BOLD);

  // An up-down and its edit: either one may get a new window, and a step on
  // the up-down still reaches the edit.
  auto step = [&](int delta) {
    NMUPDOWN notify{};
    notify.hdr.hwndFrom = form->udStep->Handle();
    notify.hdr.idFrom = UINT_PTR(GetDlgCtrlID(form->udStep->Handle()));
    notify.hdr.code = UDN_DELTAPOS;
    notify.iDelta = delta;
    SendMessageW(GetParent(form->udStep->Handle()), WM_NOTIFY, notify.hdr.idFrom, reinterpret_cast<LPARAM>(&notify));
  };
  form->udStep->RecreateWnd();
  HWND upDown = form->udStep->Handle();
  int low = 0, high = 0;
  SendMessageW(upDown, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
  EXPECT_EQ(low, 1);
  EXPECT_EQ(high, 25);
  EXPECT_EQ(SendMessageW(upDown, UDM_GETPOS32, 0, 0), 3);
  step(1);
  EXPECT_EQ(WindowText(form->edtStep->Handle()), L"4");
  form->edtStep->RecreateWnd();
  EXPECT_EQ(WindowText(form->edtStep->Handle()), L"4");
  step(-2);
  EXPECT_EQ(form->udStep->Position(), 2);
  EXPECT_EQ(WindowText(form->edtStep->Handle()), L"2");

  // A whole page: the radio group's choice survives with its buttons.
  form->Pages->RecreateWnd();
  EXPECT_EQ(form->rgStyleControl->ItemIndex(), 1);
  EXPECT_EQ(SendMessageW(form->rgStyleControl->Buttons(1)->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(form->rgStyleControl->Buttons(0)->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(LayoutFormTest, KeyPreviewSeesRealKeystrokesBeforeTheFocusedControl)
{
  HWND edit = form->edtStep->Handle();
  SetForegroundWindow(form->Handle());
  SetFocus(edit);
  Pump(50);
  ASSERT_EQ(GetFocus(), edit);
  SetWindowTextW(edit, L"");
  form->keys.clear();
  std::wstring previewed;
  std::vector<uint16_t> released;
  form->OnKeyPress = TKeyPressEvent([&](TObject*, wchar_t& key) {
    previewed += key;
    if (key == L'x')
      key = 0; // the form keeps this one from the edit
  });
  form->OnKeyUp = TKeyEvent([&](TObject*, uint16_t& key, TShiftState) { released.push_back(key); });
  std::wstring editPresses;
  form->edtStep->OnKeyPress = TKeyPressEvent([&](TObject*, wchar_t& key) { editPresses += key; });

  for (WORD key : {WORD('3'), WORD('X'), WORD('4')})
    TypeKey(key);
  EXPECT_TRUE(PumpUntil([&] { return released.size() >= 3; }, 2000));
  EXPECT_EQ(form->keys, (std::vector<uint16_t>{'3', 'X', '4'}));
  EXPECT_EQ(previewed, L"3x4");
  EXPECT_EQ(editPresses, L"34");
  EXPECT_EQ(released, (std::vector<uint16_t>{'3', 'X', '4'}));
  EXPECT_EQ(WindowText(edit), L"34");

  // Without preview the form hears nothing and the edit gets every key.
  form->SetKeyPreview(false);
  TypeKey('5');
  EXPECT_TRUE(PumpUntil([&] { return editPresses.size() == 3; }, 2000));
  EXPECT_EQ(form->keys.size(), 3u);
  EXPECT_EQ(previewed, L"3x4");
  EXPECT_EQ(WindowText(edit), L"345");
  form->OnKeyPress = TKeyPressEvent();
  form->OnKeyUp = TKeyEvent();
}

TEST_F(LayoutFormTest, AlignedAndAnchoredControlsFollowTheFormsSize)
{
  const int width = form->ClientWidth(), height = form->ClientHeight();
  auto* corner = new TButton(form);
  corner->SetBounds(width - 100, height - 80, 80, 25);
  corner->SetAnchors((1u << akRight) | (1u << akBottom));
  corner->SetParent(form);
  auto* stretched = new TEdit(form);
  stretched->SetBounds(300, 10, 200, 21);
  stretched->SetAnchors((1u << akLeft) | (1u << akTop) | (1u << akRight));
  stretched->SetParent(form);
  const int sideWidth = form->SidePanel->Width();

  auto check = [&](int dw, int dh) {
    SCOPED_TRACE(testing::Message() << "grown by " << dw << " x " << dh);
    const int cw = form->ClientWidth(), ch = form->ClientHeight();
    EXPECT_EQ(cw, width + dw);
    EXPECT_EQ(ch, height + dh);
    EXPECT_EQ(corner->Left(), width - 100 + dw);
    EXPECT_EQ(corner->Top(), height - 80 + dh);
    EXPECT_EQ(corner->Width(), 80);
    EXPECT_EQ(stretched->Left(), 300);
    EXPECT_EQ(stretched->Width(), 200 + dw);
    // The status bar sits at the bottom, the side panel on the left above
    // it, and the display takes the rest.
    EXPECT_EQ(form->StatusBar1->Top() + form->StatusBar1->Height(), ch);
    EXPECT_EQ(form->StatusBar1->Width(), cw);
    EXPECT_EQ(form->SidePanel->Width(), sideWidth);
    EXPECT_EQ(form->SidePanel->Height(), form->StatusBar1->Top());
    EXPECT_EQ(form->Display->Left() + form->Display->Width(), cw);
    EXPECT_EQ(form->Display->Top() + form->Display->Height(), form->StatusBar1->Top());
    // The windows are where the controls say.
    RECT r = RectInParent(form->Display->Handle());
    EXPECT_EQ(r.right, cw);
    EXPECT_EQ(r.bottom, form->StatusBar1->Top());
    r = RectInParent(corner->Handle());
    EXPECT_EQ(r.left, corner->Left());
    EXPECT_EQ(r.top, corner->Top());
  };
  form->SetClientSize(width + 100, height + 50);
  Pump(50);
  check(100, 50);
  // The user's resize arrives as the window's own size change.
  RECT frame;
  GetWindowRect(form->Handle(), &frame);
  SetWindowPos(form->Handle(), nullptr, 0, 0, frame.right - frame.left - 160, frame.bottom - frame.top - 90,
               SWP_NOMOVE | SWP_NOZORDER);
  Pump(50);
  check(-60, -40);
}
