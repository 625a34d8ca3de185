// Which companion each control of a skinned window gets, on real windows
// under the probe skin: the buttons of a system dialog by their style, the
// kind words of the third-party list, the application's own choice, the
// disable tag, controls that are skinned already, the ParentBackground
// switch, clicks that do not reach the system's button twice, transparent
// buttons, and controls coming and going without leaks.
#include "framework/win32/StdCtrls.h"
#include "skin/controls/ControlAttach.h"
#include "skin/controls/SkinBitButton.h"
#include "skin/controls/SkinBox.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinCheckBox.h"
#include "skin/controls/SkinComBox.h"
#include "skin/controls/SkinControl.h"
#include "skin/controls/SkinDateTime.h"
#include "skin/controls/SkinEdit.h"
#include "skin/controls/SkinGroupBox.h"
#include "skin/controls/SkinMenuButton.h"
#include "skin/controls/SkinProgress.h"
#include "skin/controls/SkinScrollbar.h"
#include "skin/controls/SkinTab.h"
#include "skin/controls/SkinTrackBar.h"
#include "tests/win32/DialogTemplate.h"
#include "tests/win32/ResourceCount.h"
#include "tests/win32/SkinnedWindowSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace testsupport;

namespace {

enum class TKind {
  None, Button, CheckBox, Radio, GroupBox, Box, TrackBar, Progress, BitButton, MenuButton, Tab, Edit, Combo, DateTime,
  ScrollBars
};

const char* KindName(TKind kind)
{
  static const char* const names[] = {"none",         "button",       "check box",    "radio button",
                                      "group box",    "box",          "track bar",    "progress bar",
                                      "glyph button", "drop-down button", "tab strip", "edit",
                                      "combo box",    "date picker",  "scroll bars"};
  return names[int(kind)];
}

TKind KindOf(const skin::TFrameCompanion* companion)
{
  if (!companion)
    return TKind::None;
  if (dynamic_cast<const skin::TSkinRadioButton*>(companion))
    return TKind::Radio;
  if (dynamic_cast<const skin::TSkinCheckBox*>(companion))
    return TKind::CheckBox;
  if (dynamic_cast<const skin::TSkinMenuButton*>(companion))
    return TKind::MenuButton;
  if (dynamic_cast<const skin::TSkinBitButton*>(companion))
    return TKind::BitButton;
  if (dynamic_cast<const skin::TSkinButton*>(companion))
    return TKind::Button;
  if (dynamic_cast<const skin::TSkinGroupBox*>(companion))
    return TKind::GroupBox;
  if (dynamic_cast<const skin::TSkinBox*>(companion))
    return TKind::Box;
  if (dynamic_cast<const skin::TSkinTrackBar*>(companion))
    return TKind::TrackBar;
  if (dynamic_cast<const skin::TSkinProgress*>(companion))
    return TKind::Progress;
  if (dynamic_cast<const skin::TSkinTab*>(companion))
    return TKind::Tab;
  if (dynamic_cast<const skin::TSkinScrollbar*>(companion))
    return TKind::ScrollBars;
  if (dynamic_cast<const skin::TSkinEdit*>(companion))
    return TKind::Edit;
  if (dynamic_cast<const skin::TSkinComBox*>(companion))
    return TKind::Combo;
  if (dynamic_cast<const skin::TSkinDateTime*>(companion))
    return TKind::DateTime;
  ADD_FAILURE() << "a companion of a kind this suite does not know";
  return TKind::None;
}

bool Skinned(HWND control) { return SendMessageW(control, skin::WM_SKIN_QUERY, 0, 0) == 1; }

POINT ScreenCentre(HWND control)
{
  RECT r{};
  GetWindowRect(control, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// A framework form with controls made on demand, shown and framed.
struct TTestForm {
  framework::TForm Form{nullptr};

  TTestForm() { Form.SetBounds(60, 60, 460, 320); }

  template <class T>
  T* Make(framework::TWinControl* parent, int x, int y, int w, int h, const std::string& caption = "")
  {
    auto* control = new T(&Form);
    control->SetParent(parent ? parent : &Form);
    control->SetBounds(x, y, w, h);
    if (!caption.empty())
      framework::SetPropValue(*control, "Caption", caption);
    return control;
  }

  skin::TWinSkinForm* ShowFramed()
  {
    Form.Show();
    BringToFront(Form.Handle());
    return WaitForFrame(Form.Handle());
  }
};

// A control class the tables do not know by name: a panel, so that without
// a line of the third-party list it is boxed as every panel is.
class TGadget : public framework::TPanel {
public:
  explicit TGadget(framework::TComponent* owner) : TPanel(owner) {}
  static const framework::TClassInfo& ClassType()
  {
    static framework::TClassInfo info("TGadget", &framework::TPanel::ClassType(),
                                      [](framework::TComponent* o) { return new TGadget(o); });
    return info;
  }
  [[nodiscard]] const framework::TClassInfo& ClassInfo() const override { return ClassType(); }
};

class SkinControlAttachTest : public TSkinnedSuite<&ProbeSkinPackage> {
protected:
  void TearDown() override
  {
    data_->Skin3rd()->Clear();
    data_->OnSkinControl = {};
  }
};

// ----- Dialog buttons by style -----

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

struct TStyleCase {
  const char* Name;
  DWORD Style;
  TKind Expected;
};

TEST_F(SkinControlAttachTest, DialogButtonsGetTheCompanionTheirStyleNames)
{
  const std::vector<TStyleCase> cases{
    {"push", BS_PUSHBUTTON, TKind::Button},
    {"default push", BS_DEFPUSHBUTTON, TKind::Button},
    {"check", BS_CHECKBOX, TKind::CheckBox},
    {"auto check", BS_AUTOCHECKBOX, TKind::CheckBox},
    {"three-state", BS_3STATE, TKind::CheckBox},
    {"auto three-state", BS_AUTO3STATE, TKind::CheckBox},
    {"radio", BS_RADIOBUTTON, TKind::Radio},
    {"auto radio", BS_AUTORADIOBUTTON, TKind::Radio},
    {"group box", BS_GROUPBOX, TKind::None},
    {"owner-drawn", BS_OWNERDRAW, TKind::None},
    {"bitmap", BS_PUSHBUTTON | BS_BITMAP, TKind::None},
    {"push box", BS_PUSHBOX, TKind::CheckBox},
  };
  TDialogTemplate dialogTemplate(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 300, 20 + 14 * int16_t(cases.size()),
                                 L"Button styles");
  for (size_t i = 0; i < cases.size(); ++i)
    dialogTemplate.Add(0x0080, cases[i].Style | WS_TABSTOP, 10, int16_t(8 + 14 * i), 120, 12, uint16_t(100 + i),
                       L"Choice");
  const TWindow dialog(
    CreateDialogIndirectParamW(GetModuleHandleW(nullptr), dialogTemplate.Get(), nullptr, &PlainDialogProc, 0));
  ASSERT_NE(dialog.Handle(), nullptr);
  BringToFront(dialog.Handle());
  skin::TWinSkinForm* frame = WaitForFrame(dialog.Handle());
  ASSERT_NE(frame, nullptr);
  PumpMessages(100);
  for (size_t i = 0; i < cases.size(); ++i) {
    const HWND button = GetDlgItem(dialog.Handle(), int(100 + i));
    const TKind kind = KindOf(frame->CompanionFor(button));
    EXPECT_EQ(kind, cases[i].Expected) << cases[i].Name << " got " << KindName(kind);
    EXPECT_EQ(Skinned(button), cases[i].Expected != TKind::None) << cases[i].Name;
    // What the companion draws shows: the face for a push button, the box
    // for check boxes and radio buttons over the system's own painting.
    const TFrameCensus census = CensusOf(CaptureWindow(button), CaptureWindow(button).Bounds());
    const int32_t drawn = cases[i].Expected == TKind::Button
                            ? census.Count("buttons.bmp", 0) + census.Count("buttons.bmp", 4)
                          : cases[i].Expected == TKind::CheckBox ? census.Count("checkbox.bmp", 0)
                          : cases[i].Expected == TKind::Radio    ? census.Count("radiobutton.bmp", 0)
                                                                 : 1;
    EXPECT_GT(drawn, 0) << cases[i].Name;
  }
}

// A dialog's push button raises the dialog's command with its own ID, once,
// on the release only.
TEST_F(SkinControlAttachTest, BareDialogButtonPostsItsCommandOnRelease)
{
  TDialogTemplate dialogTemplate(WS_POPUP | WS_CAPTION | WS_VISIBLE, 200, 60, L"Command");
  dialogTemplate.Add(0x0080, BS_PUSHBUTTON | WS_TABSTOP, 10, 10, 80, 16, 321, L"Go");
  static int commands = 0;
  static int lastId = 0;
  commands = 0;
  struct TProc {
    static INT_PTR CALLBACK Dialog(HWND, UINT message, WPARAM wParam, LPARAM)
    {
      if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        ++commands;
        lastId = LOWORD(wParam);
      }
      return FALSE;
    }
  };
  const TWindow dialog(
    CreateDialogIndirectParamW(GetModuleHandleW(nullptr), dialogTemplate.Get(), nullptr, &TProc::Dialog, 0));
  BringToFront(dialog.Handle());
  ASSERT_NE(WaitForFrame(dialog.Handle()), nullptr);
  const HWND button = GetDlgItem(dialog.Handle(), 321);
  ASSERT_TRUE(Skinned(button));
  const TCursorRestorer cursor;
  MouseDown(ScreenCentre(button));
  PumpMessages(100);
  EXPECT_EQ(commands, 0) << "a press alone raises nothing";
  MouseUp(ScreenCentre(button));
  PumpMessages(100);
  EXPECT_EQ(commands, 1);
  EXPECT_EQ(lastId, 321);
}

// ----- The third-party list -----

struct TWordCase {
  const char* Word;
  TKind Gadget;
  TKind Child;
};

// Each kind word decides alone, whatever the class table would have said of
// a panel; words whose companions are drawn by controls this program does not
// skin yet attach nothing, as the words the list does not hold.
TEST_F(SkinControlAttachTest, KindWordsOfTheThirdPartyListDecideAlone)
{
  const std::vector<TWordCase> cases{
    {nullptr, TKind::Box, TKind::Button},
    {"nil", TKind::None, TKind::Button},
    {"NIL", TKind::None, TKind::Button},
    {"button", TKind::Button, TKind::Button},
    {"checkbox", TKind::CheckBox, TKind::Button},
    {"radiobutton", TKind::Radio, TKind::Button},
    {"panel", TKind::Box, TKind::Button},
    {"groupbox", TKind::GroupBox, TKind::Button},
    {"container", TKind::None, TKind::Button},
    {"radiogroup", TKind::GroupBox, TKind::Radio},
    {"checkgroup", TKind::GroupBox, TKind::CheckBox},
    {"edit", TKind::Edit, TKind::Button},
    {"combobox", TKind::Combo, TKind::Button},
    {"comboboxex", TKind::Combo, TKind::Button},
    {"trackbar", TKind::TrackBar, TKind::Button},
    {"datetimepicker", TKind::DateTime, TKind::Button},
    {"mediaplayer", TKind::None, TKind::Button},
    {"bitbtn", TKind::BitButton, TKind::Button},
    {"pngbitbtn", TKind::BitButton, TKind::Button},
    {"menubtn", TKind::MenuButton, TKind::Button},
    // Speed buttons have no window: a windowed control of that word gets none.
    {"speedbutton", TKind::None, TKind::Button},
    {"pngspeedbutton", TKind::None, TKind::Button},
    {"tab", TKind::Tab, TKind::Button},
    {"progress", TKind::Progress, TKind::Button},
    {"scrollbar", TKind::ScrollBars, TKind::Button},
    {"singlescrollbar", TKind::ScrollBars, TKind::Button},
    {"embedscrollbar", TKind::None, TKind::Button},
    {"advpagecontrol", TKind::None, TKind::Button},
    {"wibble", TKind::None, TKind::Button},
  };
  for (const TWordCase& c : cases) {
    data_->Skin3rd()->Clear();
    data_->Skin3rd()->Add("TOther=button");
    if (c.Word) {
      data_->Skin3rd()->Add(std::string("tgadget=") + c.Word);
      data_->Skin3rd()->Add("TGadget=checkbox"); // only the first line counts
    }
    TTestForm f;
    auto* gadget = f.Make<TGadget>(nullptr, 10, 10, 200, 120);
    auto* child = f.Make<framework::TButton>(gadget, 10, 10, 100, 27, "Inside");
    skin::TWinSkinForm* frame = f.ShowFramed();
    ASSERT_NE(frame, nullptr);
    const char* word = c.Word ? c.Word : "(no line)";
    EXPECT_EQ(KindOf(frame->CompanionFor(gadget->Handle())), c.Gadget)
      << word << " gave the gadget a " << KindName(KindOf(frame->CompanionFor(gadget->Handle())));
    EXPECT_EQ(KindOf(frame->CompanionFor(child->Handle())), c.Child)
      << word << " gave its child a " << KindName(KindOf(frame->CompanionFor(child->Handle())));
  }
}

// A kind word whose SkinControls member is clear leaves the control alone.
TEST_F(SkinControlAttachTest, KindWordWithItsControlTypeOffAttachesNothing)
{
  data_->Skin3rd()->Add("TGadget=button");
  const skin::TSkinControlTypes all = data_->SkinControls();
  data_->SetSkinControls(all & ~skin::TSkinControlTypes(1u << skin::xcButton));
  TTestForm f;
  auto* gadget = f.Make<TGadget>(nullptr, 10, 10, 200, 120);
  skin::TWinSkinForm* frame = f.ShowFramed();
  data_->SetSkinControls(all);
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->CompanionFor(gadget->Handle()), nullptr);
}

// ----- The application's choice -----

TEST_F(SkinControlAttachTest, TheApplicationVetoesOrHandsInItsOwnCompanion)
{
  TTestForm f;
  auto* check = f.Make<framework::TCheckBox>(nullptr, 10, 10, 150, 24, "Own look");
  auto* radio = f.Make<framework::TRadioButton>(nullptr, 10, 50, 150, 24, "Vetoed");
  auto* button = f.Make<framework::TButton>(nullptr, 10, 90, 100, 27, "Tables");
  std::vector<std::string> asked;
  skin::TSkinButton* handedIn = nullptr;
  data_->OnSkinControl = decltype(data_->OnSkinControl)(
    [&](framework::TComponent*, skin::TSkinData*, framework::TComponent* parent, framework::TComponent* control,
        const std::string& className, framework::TObject*& skinned) {
      asked.push_back(className);
      EXPECT_EQ(parent, &f.Form);
      if (control == check) {
        handedIn = new skin::TSkinButton();
        skinned = handedIn;
      } else if (control == radio) {
        skinned = &f.Form; // any object vetoes
      }
    });
  skin::TWinSkinForm* frame = f.ShowFramed();
  ASSERT_NE(frame, nullptr);
  EXPECT_NE(std::find(asked.begin(), asked.end(), "TCHECKBOX"), asked.end());
  EXPECT_EQ(frame->CompanionFor(check->Handle()), handedIn);
  EXPECT_TRUE(Skinned(check->Handle()));
  EXPECT_EQ(frame->CompanionFor(radio->Handle()), nullptr);
  EXPECT_FALSE(Skinned(radio->Handle()));
  EXPECT_EQ(KindOf(frame->CompanionFor(button->Handle())), TKind::Button);
  // The handed-in companion paints: the check box wears a button's face.
  PumpMessages(60);
  const TFrameCensus census = CensusOf(CaptureWindow(check->Handle()), CaptureWindow(check->Handle()).Bounds());
  EXPECT_GT(census.Count("buttons.bmp", 0) + census.Count("buttons.bmp", 4), 0);
}

// ----- Controls left alone -----

TEST_F(SkinControlAttachTest, TheDisableTagKeepsAGroupAndItsButtonsPlain)
{
  TTestForm f;
  auto* plain = f.Make<framework::TRadioGroup>(nullptr, 10, 10, 180, 120, "Plain");
  auto* skinned = f.Make<framework::TRadioGroup>(nullptr, 200, 10, 180, 120, "Skinned");
  for (auto* group : {plain, skinned}) {
    group->Items()->Add("one");
    group->Items()->Add("two");
  }
  plain->SetTag(data_->DisableTag());
  skin::TWinSkinForm* frame = f.ShowFramed();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->CompanionFor(plain->Handle()), nullptr);
  EXPECT_EQ(KindOf(frame->CompanionFor(skinned->Handle())), TKind::GroupBox);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(plain->Buttons(i)->Tag(), data_->DisableTag());
    EXPECT_EQ(frame->CompanionFor(plain->Buttons(i)->Handle()), nullptr) << i;
    EXPECT_EQ(KindOf(frame->CompanionFor(skinned->Buttons(i)->Handle())), TKind::Radio) << i;
  }
  // A radio group is recoloured while skinned.
  EXPECT_EQ(skinned->Color(), data_->Color(skin::scButtonFace));
}

// A control that answers the skinned query itself is someone else's: it is
// never given a companion of ours.
TEST_F(SkinControlAttachTest, AControlAnsweringTheSkinnedQueryIsLeftAlone)
{
  TTestForm f;
  auto* button = f.Make<framework::TButton>(nullptr, 10, 10, 100, 27, "Foreign");
  auto own = button->WindowProc;
  button->WindowProc = [own](framework::TMessage& message) {
    if (message.Msg == skin::WM_SKIN_QUERY)
      message.Result = 1;
    else
      own(message);
  };
  skin::TWinSkinForm* frame = f.ShowFramed();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->CompanionFor(button->Handle()), nullptr);
  button->WindowProc = own;
}

// ----- The panel's background -----

TEST_F(SkinControlAttachTest, ParentBackgroundIsSwitchedOffWhileSkinnedAndGivenBack)
{
  TTestForm f;
  auto* panel = f.Make<framework::TPanel>(nullptr, 10, 10, 200, 100);
  panel->SetParentBackground(true);
  const gfx::TColor own = panel->Color();
  ASSERT_NE(f.ShowFramed(), nullptr);
  EXPECT_FALSE(panel->ParentBackground());
  EXPECT_EQ(panel->Color(), data_->Color(skin::scButtonFace));

  data_->SetActive(false);
  EXPECT_TRUE(PumpUntil([&] { return panel->ParentBackground(); }, 3000));
  EXPECT_EQ(panel->Color(), own);

  data_->SetActive(true);
  EXPECT_TRUE(PumpUntil([&] { return !panel->ParentBackground(); }, 3000));
  EXPECT_EQ(panel->Color(), data_->Color(skin::scButtonFace));
}

// ----- Clicks -----

TEST_F(SkinControlAttachTest, ProgrammaticClickAndSpaceRaiseExactlyOneClickEach)
{
  TTestForm f;
  auto* button = f.Make<framework::TButton>(nullptr, 10, 10, 100, 27, "Once");
  int clicks = 0;
  button->OnClick = framework::TNotifyEvent([&](framework::TObject*) { ++clicks; });
  ASSERT_NE(f.ShowFramed(), nullptr);
  SendMessageW(button->Handle(), BM_CLICK, 0, 0);
  PumpMessages(100);
  EXPECT_EQ(clicks, 1);
  button->SetFocus();
  PressKey(VK_SPACE);
  PumpMessages(100);
  EXPECT_EQ(clicks, 2);
}

// A button whose Tag is 5555 shows its parent's background where the face's
// corners are keyed out; other buttons show the skin's face colour there.
TEST_F(SkinControlAttachTest, TransparentButtonShowsItsParentThrough)
{
  TTestForm f;
  auto* backdrop = f.Make<framework::TPanel>(nullptr, 10, 10, 300, 100);
  backdrop->SetTag(data_->DisableTag());
  backdrop->SetParentBackground(false);
  backdrop->SetColor(gfx::clRed);
  auto* clear = f.Make<framework::TButton>(backdrop, 10, 10, 100, 30, "Clear");
  clear->SetTag(5555);
  auto* solid = f.Make<framework::TButton>(backdrop, 150, 10, 100, 30, "Solid");
  ASSERT_NE(f.ShowFramed(), nullptr);
  PumpMessages(100);
  ASSERT_TRUE(Skinned(clear->Handle()));
  const uint32_t red = 0xFF0000;
  const uint32_t face = gfx::ColorToRGB(data_->Color(skin::scButtonFace));
  const uint32_t faceRgb = ((face & 0xFF) << 16) | (face & 0xFF00) | ((face >> 16) & 0xFF);
  EXPECT_EQ(WindowPixel(clear->Handle(), 0, 0), red) << DescribePixel(WindowPixel(clear->Handle(), 0, 0));
  EXPECT_EQ(WindowPixel(solid->Handle(), 0, 0), faceRgb) << DescribePixel(WindowPixel(solid->Handle(), 0, 0));
}

// ----- Coming and going -----

TEST_F(SkinControlAttachTest, ControlsAndFormsComeAndGoWithoutLeaks)
{
  const auto cycle = [] {
    TTestForm f;
    f.Make<framework::TButton>(nullptr, 10, 10, 100, 27, "Button");
    f.Make<framework::TCheckBox>(nullptr, 10, 50, 150, 24, "Check");
    f.Make<framework::TRadioButton>(nullptr, 10, 80, 150, 24, "Radio");
    auto* group = f.Make<framework::TGroupBox>(nullptr, 200, 10, 200, 120, "Group");
    f.Make<framework::TButton>(group, 10, 30, 100, 27, "Inside");
    f.Make<framework::TPanel>(nullptr, 10, 150, 150, 60);
    skin::TWinSkinForm* frame = f.ShowFramed();
    ASSERT_NE(frame, nullptr);
    // A control going before its form: its companion is dropped at the
    // next pass, and the rest stay.
    const size_t before = frame->CompanionCount();
    auto* doomed = f.Make<framework::TButton>(nullptr, 250, 150, 100, 27, "Doomed");
    skin::SkinFormControls(*frame, f.Form);
    ASSERT_EQ(frame->CompanionCount(), before + 1);
    delete doomed;
    skin::SkinFormControls(*frame, f.Form);
    EXPECT_EQ(frame->CompanionCount(), before);
    PumpMessages(20);
  };
  for (int i = 0; i < 3; ++i)
    cycle();
  PumpMessages(100);
  const TResourceCount start = CountResources();
  for (int i = 0; i < 25; ++i)
    cycle();
  PumpMessages(200);
  const TResourceCount end = CountResources();
  EXPECT_EQ(end.Gdi, start.Gdi);
  EXPECT_EQ(end.User, start.User);
}

} // namespace
