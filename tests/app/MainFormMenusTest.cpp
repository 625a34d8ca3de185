// The player's menu bar and the display's context menu under Wine: every item
// does what its control does, the keys work wherever the focus is, and going
// back walks through the pictures shown.
#include "app/MainForm.h"
#include "tests/app/DialogAnswerer.h"
#include "tests/app/PlayerForms.h"
#include "tests/win32/InputSupport.h"
#include "tests/win32/ScreenProbe.h"

#include "framework/win32/Forms.h"
#include "skin/win32/SkinDataWin32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using apptest::TDialogAnswerer;
using framework::Application;
using framework::TMenuItem;

namespace {

// Pumps through the application's loop, where shortcuts are handled.
bool PumpUntil(const std::function<bool()>& condition, int milliseconds = 5000)
{
  const DWORD end = GetTickCount() + DWORD(milliseconds);
  while (!condition()) {
    if (int32_t(GetTickCount() - end) > 0)
      return false;
    Application->ProcessMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
  return true;
}

// One key, with modifiers, sent without pumping: the application's loop
// must see it.
void Press(WORD key, std::initializer_list<WORD> modifiers = {})
{
  for (WORD m : modifiers)
    ASSERT_TRUE(testsupport::SendKey(m, false));
  ASSERT_TRUE(testsupport::SendKey(key, false));
  ASSERT_TRUE(testsupport::SendKey(key, true));
  for (WORD m : modifiers)
    ASSERT_TRUE(testsupport::SendKey(m, true));
}

// Puts the keyboard on a control's window, as a click on it would.
void FocusOn(framework::TWinControl* control)
{
  SetFocus(control->Handle());
  ASSERT_EQ(GetFocus(), control->Handle());
}

bool Checked(TMenuItem* item)
{
  return (GetMenuState(item->Parent()->Handle(), item->Command(), MF_BYCOMMAND) & MF_CHECKED) != 0;
}

class MainFormMenusTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() { apptest::InstallPlayerClasses(); }
  void SetUp() override
  {
    form = new TMainForm(Application);
    form->InitForm();
    form->Show();
    testsupport::BringToFront(form->Handle());
    // The display interval is long: only the tests start transitions.
    form->tbDisplayInterval->SetPosition(9500);
    form->udProgressStep->SetPosition(25);
    // A show starts with its first picture as soon as it is read: that first
    // transition runs its course, and the picture after it is read, before
    // a test begins.
    form->SettleNextPicture();
    EXPECT_TRUE(PumpUntil([this] { return !form->CurrentFile().empty(); }, 20000));
    EXPECT_TRUE(TransitionDone());
    form->SettleNextPicture();
  }
  void TearDown() override
  {
    form->Lumetta->Stop();
    delete form;
    for (const auto& dialog : answerer.Seen())
      ADD_FAILURE() << "unexpected box: " << framework::WideToUtf8(dialog.caption);
  }
  bool TransitionDone() { return PumpUntil([this] { return !form->Lumetta->Busy(); }, 20000); }

  testsupport::TCursorRestorer cursor;
  TDialogAnswerer answerer;
  TMainForm* form = nullptr;
};

TEST_F(MainFormMenusTest, TheBarGrowsTheWindowAndLeavesTheDisplayAlone)
{
  HMENU bar = GetMenu(form->Handle());
  ASSERT_EQ(GetMenuItemCount(bar), 4);
  wchar_t text[32];
  GetMenuStringW(bar, 1, text, 32, MF_BYPOSITION);
  EXPECT_STREQ(text, L"&Play");
  const int displayWidth = form->Lumetta->Width(), displayHeight = form->Lumetta->Height();
  const int windowHeight = form->Height();
  form->SetMenu(nullptr);
  EXPECT_EQ(form->Lumetta->Width(), displayWidth);
  EXPECT_EQ(form->Lumetta->Height(), displayHeight);
  EXPECT_EQ(windowHeight - form->Height(), GetSystemMetrics(SM_CYMENU));
}

TEST_F(MainFormMenusTest, EachItemDoesWhatItsControlDoes)
{
  // Pause stops the timer; both menus say what the item will do next.
  form->mnuPause->Click();
  EXPECT_FALSE(form->Timer->Enabled());
  EXPECT_EQ(form->mnuPause->Caption(), "&Resume");
  EXPECT_EQ(form->popPause->Caption(), "&Resume");
  form->popPause->Click();
  EXPECT_TRUE(form->Timer->Enabled());
  EXPECT_EQ(form->mnuPause->Caption(), "&Pause");

  // Effect order: the menu moves the radio group, the radio group the menu.
  form->mnuRandom->Click();
  EXPECT_EQ(form->rgStyleControl->ItemIndex(), 1);
  EXPECT_TRUE(Checked(form->mnuRandom));
  EXPECT_FALSE(Checked(form->mnuInOrder));
  ASSERT_TRUE(testsupport::ClickClient(form->rgStyleControl->Buttons(2)->Handle(), {8, 8}));
  PumpUntil([this] { return form->Model().Order == eoFixed; }, 2000);
  EXPECT_EQ(form->Model().Order, eoFixed);
  EXPECT_TRUE(form->mnuFixed->Checked());
  EXPECT_FALSE(form->mnuRandom->Checked());

  // Manual progress and the radio buttons.
  form->mnuManual->Click();
  EXPECT_TRUE(form->rbProgressManual->Checked());
  EXPECT_TRUE(form->Lumetta->Manual());
  EXPECT_TRUE(form->tbProgress->Enabled());
  EXPECT_FALSE(form->Timer->Enabled());
  form->rbProgressAuto->SetChecked(true);
  EXPECT_FALSE(form->mnuManual->Checked());
  EXPECT_FALSE(form->Lumetta->Manual());

  // Layout: one item sets the three switches; switches no item names check none.
  struct TLayoutCase {
    TMenuItem* Item;
    bool Center, Stretch, Proportional;
  } const layouts[] = {{form->mnuStretch, false, true, false},
                       {form->mnuKeepProportion, true, true, true},
                       {form->mnuCentre, true, false, true}};
  for (const auto& c : layouts) {
    c.Item->Click();
    EXPECT_TRUE(Checked(c.Item)) << c.Item->Caption();
    EXPECT_EQ(form->ckCenter->Checked(), c.Center) << c.Item->Caption();
    EXPECT_EQ(form->ckStretch->Checked(), c.Stretch) << c.Item->Caption();
    EXPECT_EQ(form->ckProportional->Checked(), c.Proportional) << c.Item->Caption();
    EXPECT_EQ(form->Lumetta->Stretch(), c.Stretch) << c.Item->Caption();
  }
  form->ckStretch->SetChecked(true);
  form->ckCenter->SetChecked(false);
  EXPECT_FALSE(form->mnuCentre->Checked() || form->mnuStretch->Checked() || form->mnuKeepProportion->Checked());
  EXPECT_FALSE(form->Lumetta->Center());

  // Status bar: hidden, the display takes its room.
  const int displayHeight = form->Lumetta->Height();
  form->mnuStatusBar->Click();
  EXPECT_FALSE(form->StatusBar1->Visible());
  EXPECT_GT(form->Lumetta->Height(), displayHeight);
  form->mnuStatusBar->Click();
  EXPECT_TRUE(form->StatusBar1->Visible());
  EXPECT_EQ(form->Lumetta->Height(), displayHeight);

}

TEST_F(MainFormMenusTest, FullScreenFromTheMenuDetachesTheDisplayFromTheForm)
{
  form->mnuFullScreen->Click();
  EXPECT_EQ(form->Lumetta->Parent(), nullptr);
  EXPECT_EQ(GetAncestor(form->Lumetta->Handle(), GA_PARENT), GetDesktopWindow());
  EXPECT_EQ(GetWindow(form->Lumetta->Handle(), GW_OWNER), form->Handle());
  EXPECT_EQ(form->Lumetta->FrameWidth(), 0);
  EXPECT_TRUE(form->mnuFullScreen->Checked());
  EXPECT_TRUE(form->popFullScreen->Checked());
  // Escape with the keyboard on the display itself.
  SetFocus(form->Lumetta->Handle());
  Press(VK_ESCAPE);
  ASSERT_TRUE(PumpUntil([this] { return form->Lumetta->Parent() == form; }));
  EXPECT_EQ(GetParent(form->Lumetta->Handle()), form->Handle());
  EXPECT_EQ(form->Lumetta->Align(), framework::alClient);
  EXPECT_EQ(form->Lumetta->FrameWidth(), 1);
  EXPECT_FALSE(form->mnuFullScreen->Checked());
}

TEST_F(MainFormMenusTest, ShortCutsWorkWithTheFocusAnywhere)
{
  FocusOn(form->ckThreaded);
  Press(VK_SPACE);
  ASSERT_TRUE(PumpUntil([this] { return form->Model().Paused; }));
  EXPECT_FALSE(form->Timer->Enabled());
  // The check box with the focus did not take the space.
  EXPECT_TRUE(form->ckThreaded->Checked());
  FocusOn(form->edtProgressDelay);
  Press(VK_SPACE);
  ASSERT_TRUE(PumpUntil([this] { return !form->Model().Paused; }));

  // Full screen and back with F11: the second press goes to the display.
  FocusOn(form->edtProgressStep);
  Press(VK_F11);
  ASSERT_TRUE(PumpUntil([this] { return form->Lumetta->Parent() == nullptr; }));
  Press(VK_F11);
  ASSERT_TRUE(PumpUntil([this] { return form->Lumetta->Parent() == form; }));

  // Right shows the next picture at once, with the focus in the effect list.
  FocusOn(form->cbStyle);
  const std::string next = form->NextFile();
  const int style = form->Lumetta->Style();
  Press(VK_RIGHT);
  ASSERT_TRUE(PumpUntil([&] { return form->CurrentFile() == next; }));
  EXPECT_TRUE(TransitionDone());
  // In order: the effect after the one of the first picture.
  EXPECT_EQ(form->Lumetta->Style(), style + 1);
}

TEST_F(MainFormMenusTest, PreviousGoesBackThroughThePicturesShown)
{
  // The show's first picture is the only one shown so far.
  std::vector<std::string> shown = form->Model().History();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_FALSE(form->mnuPrevious->Enabled());
  for (int i = 0; i < 3; ++i) {
    form->mnuNext->Click();
    shown.push_back(form->CurrentFile());
    ASSERT_TRUE(TransitionDone());
  }
  EXPECT_EQ(form->Model().History(), shown);
  EXPECT_TRUE(form->mnuPrevious->Enabled());
  EXPECT_TRUE(form->popPrevious->Enabled());

  FocusOn(form->edtProgressDelay);
  Press(VK_LEFT);
  ASSERT_TRUE(PumpUntil([&] { return form->CurrentFile() == shown[2]; }));
  ASSERT_TRUE(TransitionDone());
  form->mnuPrevious->Click();
  EXPECT_EQ(form->CurrentFile(), shown[1]);
  ASSERT_TRUE(TransitionDone());
  form->mnuPrevious->Click();
  EXPECT_EQ(form->CurrentFile(), shown[0]);
  ASSERT_TRUE(TransitionDone());
  EXPECT_FALSE(form->mnuPrevious->Enabled());
  // Nothing before the first: the picture stays.
  form->mnuPrevious->Click();
  EXPECT_EQ(form->CurrentFile(), shown[0]);
  EXPECT_EQ(form->Model().History(), std::vector<std::string>{shown[0]});
  // Going on from there starts a new trail.
  form->mnuNext->Click();
  ASSERT_TRUE(TransitionDone());
  EXPECT_EQ(form->Model().History().size(), 2u);
}

TEST_F(MainFormMenusTest, TheContextMenuOpensOverThePicture)
{
  RECT display{};
  GetWindowRect(form->Lumetta->Handle(), &display);
  const POINT at{(display.left + display.right) / 2, (display.top + display.bottom) / 2};
  std::atomic<bool> chose{false};
  std::thread user([&] {
    testsupport::Click(at, testsupport::TMouseButton::Right);
    for (int wait = 0; wait < 300; ++wait) {
      HWND menu = FindWindowW(L"#32768", nullptr);
      if (menu && IsWindowVisible(menu))
        break;
      Sleep(10);
    }
    Sleep(100);
    RECT item{};
    if (GetMenuItemRect(nullptr, form->DisplayMenu->Handle(), 0, &item))
      chose = testsupport::Click({(item.left + item.right) / 2, (item.top + item.bottom) / 2});
  });
  const bool paused = PumpUntil([this] { return form->Model().Paused; }, 8000);
  user.join();
  EXPECT_TRUE(chose);
  EXPECT_TRUE(paused);
  EXPECT_EQ(form->DisplayMenu->PopupComponent(), form->Lumetta);
}

TEST_F(MainFormMenusTest, AboutNamesTheProgramItsVersionAndTheEffects)
{
  EXPECT_EQ(form->AboutText(), "Automatic picture player\nVersion 1.0.0\n176 transition effects");
  auto* about = dynamic_cast<TMenuItem*>(form->FindComponent("mnuAbout"));
  ASSERT_NE(about, nullptr);
  about->Click();
  const auto seen = answerer.Seen();
  answerer.Forget();
  ASSERT_EQ(seen.size(), 1u);
  ASSERT_FALSE(seen[0].texts.empty());
  EXPECT_EQ(framework::WideToUtf8(seen[0].texts.back()), form->AboutText());
}

TEST_F(MainFormMenusTest, TheSelectedItemsHintShowsInTheStatusBar)
{
  SendMessageW(form->Handle(), WM_MENUSELECT, MAKEWPARAM(form->mnuNext->Command(), MF_STRING),
               LPARAM(form->mnuNext->Parent()->Handle()));
  EXPECT_TRUE(form->StatusBar1->SimplePanel());
  EXPECT_EQ(form->StatusBar1->SimpleText(), "Change to the next picture now");
  SendMessageW(form->Handle(), WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
  EXPECT_FALSE(form->StatusBar1->SimplePanel());
}

} // namespace
