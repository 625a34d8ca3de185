// Which windows of the process the manager frames: forms and plain windows of
// the program, dialogs from templates with and without the foreground style,
// preview windows, forms tagged 99, the application's own window, message
// boxes (which take the dialog component when there is one), and the pop-up
// menu windows it lists while they are open.
#include "framework/win32/StdCtrls.h"
#include "tests/win32/SkinnedWindowSupport.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace testsupport;

namespace {

class SkinManagerTest : public TSkinnedSuite<&StoredSkinPackage> {};

// A dialog template with no controls and the given title, in memory: the
// system makes a window of class "#32770" from it.
std::vector<WORD> DialogTemplate(DWORD style, const std::wstring& title = {})
{
  std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD) + 2, 0); // no menu, default class
  DLGTEMPLATE header{};
  header.style = style;
  header.cx = 160;
  header.cy = 90;
  std::memcpy(words.data(), &header, sizeof header);
  words.insert(words.end(), title.begin(), title.end());
  words.push_back(0);
  return words;
}

// The dialog gets one child, a static at (10, 10), when it is made.
INT_PTR CALLBACK QuietDialogProc(HWND dialog, UINT message, WPARAM, LPARAM)
{
  if (message != WM_INITDIALOG)
    return FALSE;
  CreateWindowExW(0, L"STATIC", L"child", WS_CHILD | WS_VISIBLE, 10, 10, 40, 16, dialog, nullptr,
                  GetModuleHandleW(nullptr), nullptr);
  return TRUE;
}

TWindow MakeDialog(DWORD style, const std::wstring& title = {})
{
  const std::vector<WORD> words = DialogTemplate(style | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_MODALFRAME, title);
  TWindow dialog(CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                            reinterpret_cast<const DLGTEMPLATE*>(words.data()), nullptr,
                                            &QuietDialogProc, 0));
  BringToFront(dialog.Handle());
  return dialog;
}

const TWindowClass& PreviewClass()
{
  static const TWindowClass windowClass(L"PicturePreviewPane", &PlainWindowProc);
  return windowClass;
}

TEST_F(SkinManagerTest, PlainWindowsOfTheProgramAreFramedWhenActivated)
{
  const TWindow window = MakeActiveWindow(WS_OVERLAPPEDWINDOW, 40, 40, 300, 200);
  skin::TWinSkinForm* frame = WaitForFrame(window.Handle());
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->Form(), nullptr);
  EXPECT_EQ(&frame->SkinData(), data_);
  EXPECT_EQ(Manager().StartState(), skin::msRunning);
}

TEST_F(SkinManagerTest, ASizeGripMadeOnAFramedWindowIsToldToItsFrame)
{
  const TWindow window = MakeActiveWindow(WS_OVERLAPPEDWINDOW, 40, 40, 300, 200);
  skin::TWinSkinForm* frame = WaitForFrame(window.Handle());
  ASSERT_NE(frame, nullptr);
  const HWND grip = CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | SBS_SIZEGRIP, 0, 0, 16, 16,
                                    window.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(grip, nullptr);
  EXPECT_EQ(frame->Grip(), grip);
}

TEST_F(SkinManagerTest, DialogsFromTemplatesAreFramedUnlessTheyAskForTheForeground)
{
  const TWindow dialog = MakeDialog(0);
  skin::TWinSkinForm* frame = WaitForFrame(dialog.Handle());
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->BorderKind(), skin::fbDialog);
  EXPECT_EQ(frame->WindowClassName(), "#32770");

  const TWindow foreground = MakeDialog(DS_SETFOREGROUND);
  PumpMessages(200);
  EXPECT_EQ(Manager().FrameOf(foreground.Handle()), nullptr);
}

TEST_F(SkinManagerTest, ADialogIsWidenedForItsCaptionAndItsChildrenMoveToTheMiddle)
{
  const std::wstring title(60, L'W');
  const TWindow dialog = MakeDialog(0, title);
  ASSERT_NE(WaitForFrame(dialog.Handle()), nullptr);
  // The width the skinned frame alone gives it: the template's client area
  // and the side borders.
  RECT client{0, 0, 160, 90};
  MapDialogRect(dialog.Handle(), &client);
  const int32_t skinnedWidth = client.right + 4 + 4;
  // The caption needs the text shift, the text in the caption font and the
  // right clip.
  SIZE text{};
  {
    const framework::TWindowDC dc(dialog.Handle());
    const framework::TSelectObject font(dc.Get(), skin::win32::PlatformOf(*data_)->CaptionFont());
    GetTextExtentPoint32W(dc.Get(), title.c_str(), int(title.size()), &text);
  }
  const skin::TDataSkinTitle& caption = *data_->CaptionTitle;
  const int32_t needed = caption.LeftWidth + text.cx + caption.RightWidth;
  ASSERT_GT(needed, skinnedWidth) << "sixty capitals do not fit a dialog 160 units wide";
  const RECT bounds = WindowRectOf(dialog.Handle());
  EXPECT_EQ(bounds.right - bounds.left, needed);
  // The child moved right by half of what the window grew.
  const HWND child = GetWindow(dialog.Handle(), GW_CHILD);
  ASSERT_NE(child, nullptr);
  RECT childRect = WindowRectOf(child);
  MapWindowPoints(nullptr, dialog.Handle(), reinterpret_cast<POINT*>(&childRect), 2);
  EXPECT_EQ(childRect.left, 10 + (needed - skinnedWidth) / 2);
}

TEST_F(SkinManagerTest, PreviewWindowsAreFramedOnlyWithThePreviewOption)
{
  const auto options = data_->Options();
  data_->SetOptions(skin::TSkinOptions(options & ~skin::Bit(skin::xoPreview)));
  const TWindow hidden = MakeActiveWindow(WS_OVERLAPPEDWINDOW, 50, 50, 250, 180, L"Preview", 0, PreviewClass().Name());
  PumpMessages(200);
  EXPECT_EQ(Manager().FrameOf(hidden.Handle()), nullptr);

  data_->SetOptions(options);
  const TWindow shown = MakeActiveWindow(WS_OVERLAPPEDWINDOW, 60, 60, 250, 180, L"Preview", 0, PreviewClass().Name());
  EXPECT_NE(WaitForFrame(shown.Handle()), nullptr);
}

TEST_F(SkinManagerTest, FormsTaggedNinetyNineAndTheApplicationWindowAreLeftAlone)
{
  framework::TForm tagged(nullptr);
  tagged.SetTag(99);
  tagged.SetBounds(70, 70, 300, 200);
  tagged.Show();
  BringToFront(tagged.Handle());
  framework::TForm plain(nullptr);
  plain.SetBounds(90, 90, 300, 200);
  plain.Show();
  BringToFront(plain.Handle());
  skin::TWinSkinForm* frame = WaitForFrame(plain.Handle());
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->Form(), &plain);
  EXPECT_EQ(Manager().FrameOf(tagged.Handle()), nullptr);
  // The form wears the skin's button face while it is skinned.
  EXPECT_EQ(plain.Color(), data_->Color(skin::scButtonFace));

  EXPECT_FALSE(Manager().SkinWindow(framework::Application->Handle()));
}

TEST_F(SkinManagerTest, AControlShownOnItsOwnOnTheDesktopGetsNoFrame)
{
  framework::TForm form(nullptr);
  form.SetBounds(100, 100, 300, 200);
  form.Show();
  framework::TPanel panel(&form);
  panel.SetParent(&form);
  panel.SetBounds(0, 0, 100, 100);
  // As the full-screen display does: the child window moves to the desktop.
  SetParent(panel.Handle(), nullptr);
  SetWindowPos(panel.Handle(), HWND_TOP, 0, 0, 200, 200, SWP_SHOWWINDOW);
  EXPECT_FALSE(Manager().SkinWindow(panel.Handle()));
  SetParent(panel.Handle(), form.Handle());
}

// A message box runs its own loop; a timer of this thread looks at it while
// it is up and then closes it.
struct TBoxWatch {
  HWND Box = nullptr;
  skin::TSkinData* Data = nullptr;
  bool Skinned = false;
};
TBoxWatch* watch = nullptr;

BOOL CALLBACK FindBox(HWND window, LPARAM)
{
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  if (std::wstring(name) == L"#32770" && IsWindowVisible(window)) {
    watch->Box = window;
    return FALSE;
  }
  return TRUE;
}

void CALLBACK InspectBox(HWND, UINT, UINT_PTR id, DWORD)
{
  EnumThreadWindows(GetCurrentThreadId(), &FindBox, 0);
  if (!watch->Box)
    return;
  if (skin::TWinSkinForm* frame = skin::SkinManager()->FrameOf(watch->Box)) {
    if (frame->State() != skin::fsRunning)
      return;
    watch->Data = &frame->SkinData();
    watch->Skinned = SendMessageW(watch->Box, skin::WM_SKIN_QUERY, 0, 0) == 1;
  }
  KillTimer(nullptr, id);
  PostMessageW(watch->Box, WM_COMMAND, IDOK, 0);
}

TBoxWatch ShowWatchedMessageBox()
{
  TBoxWatch result;
  watch = &result;
  SetTimer(nullptr, 0, 100, &InspectBox);
  MessageBoxW(nullptr, L"A message for the skin", L"Skinned message", MB_OK);
  watch = nullptr;
  return result;
}

TEST_F(SkinManagerTest, AMessageBoxTakesTheDialogComponentWhenThereIsOne)
{
  const TBoxWatch main = ShowWatchedMessageBox();
  ASSERT_NE(main.Box, nullptr);
  EXPECT_TRUE(main.Skinned);
  EXPECT_EQ(main.Data, data_);

  auto dialogData = LoadedSkinData(StoredSkinPackage(), skin::sfDialog);
  const TBoxWatch dialog = ShowWatchedMessageBox();
  EXPECT_TRUE(dialog.Skinned);
  EXPECT_EQ(dialog.Data, dialogData.get());
  dialogData.reset();
  EXPECT_EQ(Manager().MainSkinData(), data_);
}

// A pop-up menu window is listed while it is open and forgotten when it goes.
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD)
{
  KillTimer(nullptr, id);
  watch->Skinned = skin::SkinManager()->PopupSkinnerCount() == 1;
  EndMenu();
}

TEST_F(SkinManagerTest, PopupMenuWindowsAreListedWhileTheyAreOpen)
{
  const TWindow window = MakeActiveWindow(WS_OVERLAPPEDWINDOW, 40, 40, 300, 200, L"Menus");
  ASSERT_NE(WaitForFrame(window.Handle()), nullptr);
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, 1, L"One");
  TBoxWatch seen;
  watch = &seen;
  SetTimer(nullptr, 0, 200, &CloseMenu);
  TrackPopupMenu(menu, TPM_RETURNCMD, 100, 100, 0, window.Handle(), nullptr);
  watch = nullptr;
  DestroyMenu(menu);
  PumpMessages(100);
  EXPECT_TRUE(seen.Skinned) << "the open menu's window had a skinner";
  EXPECT_EQ(Manager().PopupSkinnerCount(), 0u);
  EXPECT_EQ(Manager().PopupKind(), skin::pkContextMenu);
}

} // namespace
