// A skinned MDI frame with its documents under the probe skin: the documents
// wear the skin's frame, a maximised one covers the client without a frame
// and puts its three buttons into the frame's bar, the buttons act on it,
// arranging and closing bring the bar back, and a new frame menu set through
// the client is taken over by the bar.
#include "framework/win32/Menus.h"
#include "skin/frame/CaptionRules.h"
#include "skin/frame/WinSkinMenu.h"
#include "tests/win32/ResourceCount.h"
#include "tests/win32/SkinnedWindowSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <functional>
#include <string>
#include <thread>

using namespace testsupport;

namespace {

// The actions of the three buttons a maximised document shows in the bar.
constexpr std::array<int32_t, 3> kMdiActions{7, 8, 9};

RECT ScreenRectOfClient(HWND window)
{
  RECT r{};
  GetClientRect(window, &r);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The menu a visible pop-up menu window shows, or nullptr.
HMENU ShownMenu()
{
  constexpr UINT kMenuGetHMenu = 0x01E1; // MN_GETHMENU
  HWND window = FindWindowW(L"#32768", nullptr);
  if (!window || !IsWindowVisible(window))
    return nullptr;
  return reinterpret_cast<HMENU>(SendMessageW(window, kMenuGetHMenu, 0, 0));
}

bool SameRect(const RECT& a, const RECT& b)
{
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class SkinMdiTest : public TSkinnedSuite<&ProbeSkinPackage> {
protected:
  static void SetUpTestSuite()
  {
    TSkinnedSuite::SetUpTestSuite();
    framework::Application->CreateForm(main);
    main->SetFormStyle(framework::fsMDIForm);
    main->SetBounds(40, 40, 640, 480);
    menu = new framework::TMainMenu(main);
    for (const char* caption : {"&File", "&Window"}) {
      auto* item = new framework::TMenuItem(main);
      item->SetCaption(caption);
      auto* child = new framework::TMenuItem(main);
      child->SetCaption("&New");
      item->Add(child);
      menu->Items()->Add(item);
    }
    main->SetMenu(menu);
    main->Show();
    BringToFront(main->Handle());
    frame = WaitForFrame(main->Handle());
  }

  static void TearDownTestSuite()
  {
    delete main;
    main = nullptr;
    PumpMessages(50);
    TSkinnedSuite::TearDownTestSuite();
  }

  void SetUp() override
  {
    ASSERT_NE(frame, nullptr);
    BringToFront(main->Handle());
  }

  void TearDown() override
  {
    while (main->MDIChildCount() > 0)
      delete main->MDIChildren(0);
    PumpMessages(50);
  }

  static framework::TForm* NewDocument(const std::string& caption)
  {
    auto* document = new framework::TForm(framework::Application);
    document->SetFormStyle(framework::fsMDIChild);
    document->SetCaption(caption);
    document->SetBounds(10, 10, 240, 160);
    document->Show();
    PumpMessages(50);
    return document;
  }

  static skin::TWinSkinForm* FramedDocument(const std::string& caption)
  {
    return WaitForFrame(NewDocument(caption)->Handle());
  }

  // Where the frame puts the bar button with an action, in window coordinates.
  static RECT BarButtonRect(int32_t action)
  {
    for (const auto& element : data_->CaptionButtons) {
      if (!element || element->Action != action)
        continue;
      skin::TCaptionLayout layout;
      layout.WindowWidth = WindowSize(main->Handle()).cx;
      layout.RightWidth = frame->RightWidth();
      layout.TopHeight = frame->TopHeight();
      layout.MenuHeight = frame->MenuHeight();
      layout.MenuBarLeftWidth = data_->MenuBar ? data_->MenuBar->LeftWidth : 0;
      const gfx::TRect r = skin::PlaceButton(*element, layout);
      return {r.Left, r.Top, r.Right, r.Bottom};
    }
    return {};
  }

  // How many pixels of each bar button show its own first frame: button i
  // is frames 4i to 4i + 3 of the skin's MDI strip.
  static std::array<int32_t, 3> BarButtonPixels()
  {
    RedrawWindow(main->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    PumpMessages(60);
    const TCapture capture = CaptureWindow(main->Handle());
    std::array<int32_t, 3> counts{};
    for (size_t i = 0; i < kMdiActions.size(); ++i)
      counts[i] = CensusOf(capture, BarButtonRect(kMdiActions[i])).Count("mdibutton.bmp", int32_t(4 * i));
    return counts;
  }

  static bool NoBarButtons()
  {
    const auto counts = BarButtonPixels();
    return counts[0] == 0 && counts[1] == 0 && counts[2] == 0;
  }

  static bool AllBarButtons()
  {
    const auto counts = BarButtonPixels();
    return counts[0] > 0 && counts[1] > 0 && counts[2] > 0;
  }

  static void ClickBarButton(int32_t action)
  {
    const RECT r = BarButtonRect(action);
    Click(WindowToScreen(main->Handle(), {(r.left + r.right) / 2, (r.top + r.bottom) / 2}));
    PumpMessages(150);
  }

  // Maximises a document as a user does: its own caption button.
  static void MaximizeByItsButton(skin::TWinSkinForm& document)
  {
    for (const auto& element : data_->CaptionButtons) {
      if (!element || element->Action != 1 || element->Visibility == 100)
        continue;
      const int32_t width = WindowSize(document.Window()).cx;
      const int32_t x = width - element->XCoord + element->Image.Width() / element->FrameCount() / 2;
      Click(WindowToScreen(document.Window(), {x, element->YCoord + element->Image.Height() / 2}));
      PumpUntil([&] { return IsZoomed(document.Window()) != FALSE; }, 2000);
      PumpMessages(100);
      return;
    }
  }

  static bool OpensFileMenu(const std::function<void()>& press);

  static inline framework::TForm* main = nullptr;
  static inline framework::TMainMenu* menu = nullptr;
  static inline skin::TWinSkinForm* frame = nullptr;
};

// The frame knows it holds documents and keeps the system's scroll bars off
// the client; a document is framed by the skin around its unchanged client.
TEST_F(SkinMdiTest, ADocumentWearsTheSkinsFrame)
{
  EXPECT_TRUE(frame->IsMdiFrame());
  EXPECT_FALSE(frame->IsMdiChild());
  const HWND client = main->ClientHandle();
  EXPECT_EQ(GetWindowLongPtrW(client, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL), 0);

  skin::TWinSkinForm* document = FramedDocument("Skinned");
  ASSERT_NE(document, nullptr);
  EXPECT_TRUE(document->IsMdiChild());
  EXPECT_FALSE(document->IsMdiFrame());
  const HWND window = document->Window();
  const SIZE size = WindowSize(window);
  const SIZE inner = ClientSizeOf(window);
  EXPECT_EQ(size.cx, inner.cx + document->LeftWidth() + document->RightWidth());
  EXPECT_EQ(size.cy, inner.cy + document->TopHeight() + document->BottomHeight() + document->MenuHeight());

  RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  PumpMessages(60);
  const TCapture shown = CaptureScreenOf(window);
  const uint32_t left = shown.At(document->LeftWidth() / 2, size.cy / 2);
  const auto named = probeskin::FindProbeFrame(left);
  ASSERT_TRUE(named.has_value()) << DescribePixel(left);
  EXPECT_EQ(named->Bitmap(), "frameleft.bmp");
  const TFrameCensus caption = CensusOf(shown, {0, 0, size.cx, document->TopHeight()});
  EXPECT_GT(caption.Count("frametop.bmp", 0) + caption.Count("frametop.bmp", 1), size.cx * document->TopHeight() / 3);
}

// Maximised, a document covers the client exactly with no frame and no cut,
// and its three buttons show in the frame's bar; restored, they go again.
TEST_F(SkinMdiTest, AMaximisedDocumentCoversTheClientAndPutsItsButtonsInTheBar)
{
  skin::TWinSkinForm* document = FramedDocument("Wide");
  ASSERT_NE(document, nullptr);
  const HWND window = document->Window();
  EXPECT_TRUE(NoBarButtons());

  MaximizeByItsButton(*document);
  ASSERT_TRUE(IsZoomed(window));
  EXPECT_TRUE(skin::SkinManager()->MdiMenuState());
  RECT windowRect{};
  GetWindowRect(window, &windowRect);
  EXPECT_TRUE(SameRect(windowRect, ScreenRectOfClient(main->ClientHandle())));
  EXPECT_TRUE(SameRect(windowRect, ScreenRectOfClient(window))) << "no frame around the client";
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(window, region), ERROR) << "no region of the normal size";
  DeleteObject(region);
  EXPECT_TRUE(AllBarButtons());

  SendMessageW(window, WM_SYSCOMMAND, SC_RESTORE, 0);
  PumpMessages(150);
  EXPECT_FALSE(IsZoomed(window));
  EXPECT_FALSE(skin::SkinManager()->MdiMenuState());
  EXPECT_TRUE(NoBarButtons());
  const SIZE size = WindowSize(window);
  EXPECT_EQ(size.cx, ClientSizeOf(window).cx + document->LeftWidth() + document->RightWidth()) << "framed again";
}

// The bar's buttons minimise, restore and close the active document.
TEST_F(SkinMdiTest, TheBarButtonsActOnTheActiveDocument)
{
  skin::TWinSkinForm* first = FramedDocument("First");
  skin::TWinSkinForm* second = FramedDocument("Second");
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  const HWND window = second->Window();
  ASSERT_EQ(main->ActiveMDIChild()->Handle(), window);

  MaximizeByItsButton(*second);
  ASSERT_TRUE(IsZoomed(window));
  ClickBarButton(8);
  EXPECT_FALSE(IsZoomed(window)) << "restored";

  MaximizeByItsButton(*second);
  ASSERT_TRUE(IsZoomed(window));
  ClickBarButton(7);
  EXPECT_TRUE(IsIconic(window)) << "minimised";
  SendMessageW(window, WM_SYSCOMMAND, SC_RESTORE, 0);
  PumpMessages(100);
  ASSERT_FALSE(IsIconic(window));

  MaximizeByItsButton(*second);
  ASSERT_TRUE(IsZoomed(window));
  ClickBarButton(9);
  EXPECT_FALSE(IsWindow(window)) << "closed";
  EXPECT_EQ(main->MDIChildCount(), 1);
  // The menu state follows the document that is active now.
  EXPECT_EQ(skin::SkinManager()->MdiMenuState(), IsZoomed(first->Window()) != FALSE);
}

// Cascading and tiling put a maximised document back in its frame; when the
// last document goes, the bar shows the frame's own menu without buttons.
TEST_F(SkinMdiTest, ArrangingAndClosingTheLastDocumentBringTheBarBack)
{
  skin::TWinSkinForm* first = FramedDocument("One");
  skin::TWinSkinForm* second = FramedDocument("Two");
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  for (const bool tile : {false, true}) {
    MaximizeByItsButton(*second);
    ASSERT_TRUE(IsZoomed(second->Window()));
    ASSERT_TRUE(skin::SkinManager()->MdiMenuState());
    if (tile)
      main->Tile();
    else
      main->Cascade();
    PumpMessages(150);
    EXPECT_FALSE(skin::SkinManager()->MdiMenuState()) << (tile ? "tiled" : "cascaded");
    for (skin::TWinSkinForm* document : {first, second}) {
      const HWND window = document->Window();
      EXPECT_FALSE(IsZoomed(window));
      EXPECT_EQ(WindowSize(window).cx, ClientSizeOf(window).cx + document->LeftWidth() + document->RightWidth());
    }
    EXPECT_TRUE(NoBarButtons());
  }

  MaximizeByItsButton(*second);
  while (main->MDIChildCount() > 0)
    delete main->MDIChildren(0);
  PumpMessages(150);
  EXPECT_FALSE(skin::SkinManager()->MdiMenuState());
  ASSERT_NE(frame->MenuBar(), nullptr);
  EXPECT_EQ(frame->MenuBar()->Count(), 2u);
  EXPECT_EQ(GetMenu(main->Handle()), nullptr);
  EXPECT_TRUE(NoBarButtons());
}

// A frame menu set through the client replaces the bar's buttons, and the
// system is given no menu bar to draw.
TEST_F(SkinMdiTest, AFrameMenuSetThroughTheClientIsTakenOverByTheBar)
{
  const HWND client = main->ClientHandle();
  HMENU replacement = CreateMenu();
  for (const wchar_t* caption : {L"&Documents", L"&Tools", L"&Help"})
    AppendMenuW(replacement, MF_STRING, 0, caption);
  const HMENU before = frame->MenuBar()->WindowMenu();
  SendMessageW(client, WM_MDISETMENU, reinterpret_cast<WPARAM>(replacement), 0);
  PumpMessages(60);
  EXPECT_EQ(GetMenu(main->Handle()), nullptr);
  ASSERT_EQ(frame->MenuBar()->Count(), 3u);
  EXPECT_EQ(frame->MenuBar()->Button(0).Caption(), L"&Documents");
  EXPECT_EQ(frame->MenuBar()->WindowMenu(), replacement);

  SendMessageW(client, WM_MDISETMENU, reinterpret_cast<WPARAM>(before), 0);
  PumpMessages(60);
  EXPECT_EQ(frame->MenuBar()->Count(), 2u);
  EXPECT_EQ(frame->MenuBar()->WindowMenu(), before);
  DestroyMenu(replacement);
}

// Switching the skin off gives documents and client their system looks back;
// switching it on again frames the documents as well as the frame.
TEST_F(SkinMdiTest, SwitchingTheSkinOffAndOnReframesTheDocuments)
{
  framework::TForm* form = NewDocument("Round trip");
  ASSERT_NE(WaitForFrame(form->Handle()), nullptr);
  const HWND client = main->ClientHandle();
  const auto runAction = [](int32_t code) {
    Manager().PostAction(*data_, code, 1);
    PumpUntil([] { return Manager().PendingAction() == skin::saNone; });
    PumpMessages(80);
  };
  runAction(skin::saSkinOff);
  EXPECT_EQ(Manager().FrameOf(form->Handle()), nullptr);
  EXPECT_EQ(Manager().FrameCount(), 0u);
  EXPECT_EQ(GetWindowLongPtrW(client, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL), WS_HSCROLL | WS_VSCROLL);
  EXPECT_EQ(WindowSize(form->Handle()).cx, 240) << "the document's own size back";
  EXPECT_NE(GetMenu(main->Handle()), nullptr);

  runAction(skin::saSkinOn);
  frame = WaitForFrame(main->Handle());
  ASSERT_NE(frame, nullptr);
  EXPECT_TRUE(frame->IsMdiFrame());
  EXPECT_NE(WaitForFrame(form->Handle()), nullptr);
  EXPECT_EQ(GetWindowLongPtrW(client, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL), 0);
  EXPECT_EQ(GetMenu(main->Handle()), nullptr);
}

// Alt with a letter in a document that has no use for it opens the frame's
// bar menu with that letter: through the application's loop, which offers
// it to the forms, and through the system's keyboard-menu command.
TEST_F(SkinMdiTest, AltWithALetterInADocumentOpensTheFramesBarMenu)
{
  framework::TForm* form = NewDocument("Keys");
  ASSERT_NE(WaitForFrame(form->Handle()), nullptr);
  SetFocus(form->Handle());
  EXPECT_TRUE(OpensFileMenu([] {
    for (auto [key, up] : {std::pair{VK_MENU, false}, {'F', false}, {'F', true}, {VK_MENU, true}})
      SendKey(WORD(key), up);
  })) << "Alt+F";
  const HWND document = form->Handle();
  EXPECT_TRUE(OpensFileMenu([document] { PostMessageW(document, WM_SYSCOMMAND, SC_KEYMENU, 'f'); }))
    << "the keyboard-menu command";
}

// Runs press on a thread of its own as a user would, with the application's
// loop running here; whether the frame's File menu showed.
bool SkinMdiTest::OpensFileMenu(const std::function<void()>& press)
{
  const HMENU fileMenu = menu->Items()->Items(0)->Handle();
  std::atomic<bool> done{false};
  std::atomic<bool> opened{false};
  std::thread user([&] {
    press();
    opened = PumpUntil([&] { return ShownMenu() == fileMenu; }, 3000);
    for (int i = 0; i < 3 && ShownMenu(); ++i) {
      PressKey(VK_ESCAPE);
      Sleep(60);
    }
    done = true;
  });
  // The application's own loop, which offers Alt with a letter to the forms.
  for (const DWORD end = GetTickCount() + 10000; !done && int32_t(GetTickCount() - end) < 0;) {
    framework::Application->ProcessMessages();
    Sleep(5);
  }
  user.join();
  PumpMessages(50);
  return opened;
}

// Documents coming, maximised and going leave no handles behind.
TEST_F(SkinMdiTest, ManyDocumentsLeaveNoHandlesBehind)
{
  const auto cycle = [] {
    skin::TWinSkinForm* document = FramedDocument("Passing");
    if (document)
      MaximizeByItsButton(*document);
    delete main->MDIChildren(0);
    PumpMessages(50);
  };
  cycle();
  const TResourceCount before = CountResources();
  for (int i = 0; i < 10; ++i)
    cycle();
  const TResourceCount after = CountResources();
  EXPECT_EQ(after.Gdi, before.Gdi);
  EXPECT_EQ(after.User, before.User);
  skin::SkinManager()->DiscardStaleFrames();
  EXPECT_EQ(skin::SkinManager()->FrameCount(), 1u) << "the frame's own";
}

} // namespace
