// A main form holding several documents: its MDI client beside the form's
// aligned controls, documents made inside it, the active one, arranging,
// maximising, and Ctrl+F4 closing the active document.
#include <windows.h>

#include <gtest/gtest.h>

#include "framework/win32/Forms.h"
#include "framework/win32/StdCtrls.h"
#include "tests/win32/InputSupport.h"

using namespace framework;

namespace {

class TDocumentsForm : public TForm {
public:
  using TForm::TForm;
  static const TClassInfo& ClassType()
  {
    static TClassInfo info("TDocumentsForm", &TForm::ClassType());
    return info;
  }
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }
};

class MdiTest : public ::testing::Test {
protected:
  static void SetUpTestSuite()
  {
    Application->Initialize();
    Application->CreateForm(main);
    main->SetFormStyle(fsMDIForm);
    main->SetBounds(40, 40, 640, 480);
    auto* bar = new TPanel(main);
    bar->SetParent(main);
    bar->SetAlign(alTop);
    bar->SetHeight(40);
    main->Show();
    testsupport::BringToFront(main->Handle());
  }

  void TearDown() override
  {
    while (main->MDIChildCount() > 0)
      delete main->MDIChildren(0);
    testsupport::PumpMessages(20);
  }

  TForm* NewDocument(const std::string& caption)
  {
    auto* document = new TForm(Application);
    document->SetFormStyle(fsMDIChild);
    document->SetCaption(caption);
    document->SetBounds(10, 10, 240, 160);
    document->Show();
    testsupport::PumpMessages(20);
    return document;
  }

  static RECT ClientOfClient()
  {
    RECT r{};
    GetClientRect(main->ClientHandle(), &r);
    return r;
  }

  static inline TDocumentsForm* main = nullptr;
};

TEST_F(MdiTest, TheClientFillsWhatTheAlignedControlsLeave)
{
  const HWND client = main->ClientHandle();
  ASSERT_NE(client, nullptr);
  wchar_t name[32] = {};
  GetClassNameW(client, name, 32);
  EXPECT_STREQ(name, L"MDIClient");
  RECT r{};
  GetWindowRect(client, &r);
  MapWindowPoints(nullptr, main->Handle(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.top, 40) << "below the bar aligned to the top";
  EXPECT_EQ(r.bottom, main->ClientHeight());
  main->SetBounds(40, 40, 700, 520);
  testsupport::PumpMessages(50);
  GetWindowRect(client, &r);
  MapWindowPoints(nullptr, main->Handle(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.right, main->ClientWidth());
  EXPECT_EQ(r.bottom, main->ClientHeight());
}

TEST_F(MdiTest, DocumentsLiveInTheClientAndTheNewestIsActive)
{
  TForm* first = NewDocument("First");
  TForm* second = NewDocument("Second");
  TForm* third = NewDocument("Third");
  EXPECT_EQ(GetParent(first->Handle()), main->ClientHandle());
  EXPECT_TRUE(GetWindowLongPtrW(third->Handle(), GWL_EXSTYLE) & WS_EX_MDICHILD);
  EXPECT_EQ(main->MDIChildCount(), 3);
  EXPECT_EQ(main->ActiveMDIChild(), third);
  main->Next();
  testsupport::PumpMessages(20);
  EXPECT_NE(main->ActiveMDIChild(), third);
  main->Previous();
  testsupport::PumpMessages(20);
  EXPECT_EQ(main->ActiveMDIChild(), third);

  main->Cascade();
  testsupport::PumpMessages(20);
  RECT a{}, b{};
  GetWindowRect(first->Handle(), &a);
  GetWindowRect(second->Handle(), &b);
  EXPECT_NE(a.left, b.left) << "cascaded documents stand apart";
  EXPECT_NE(a.top, b.top);
}

TEST_F(MdiTest, AMaximisedDocumentFillsTheClient)
{
  TForm* document = NewDocument("Wide");
  ShowWindow(document->Handle(), SW_MAXIMIZE);
  testsupport::PumpMessages(50);
  EXPECT_TRUE(IsZoomed(document->Handle()));
  RECT client{};
  GetClientRect(document->Handle(), &client);
  const RECT area = ClientOfClient();
  EXPECT_EQ(client.right - client.left, area.right - area.left);
  EXPECT_EQ(client.bottom - client.top, area.bottom - area.top);
}

TEST_F(MdiTest, CtrlF4ClosesAndFreesTheActiveDocument)
{
  NewDocument("Stays");
  TForm* closing = NewDocument("Goes");
  const HWND window = closing->Handle();
  const int forms = Screen->FormCount();
  ASSERT_EQ(main->ActiveMDIChild(), closing);
  testsupport::BringToFront(main->Handle());
  // The keys reach the documents through the application's own loop, not
  // through the suites' plain pumping.
  for (auto [key, up] : {std::pair{VK_CONTROL, false}, {VK_F4, false}, {VK_F4, true}, {VK_CONTROL, true}})
    testsupport::SendKey(WORD(key), up);
  for (int i = 0; i < 100 && Screen->FormCount() == forms; ++i) {
    Application->ProcessMessages();
    Sleep(20);
  }
  EXPECT_EQ(Screen->FormCount(), forms - 1) << "the document's form was freed";
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(main->MDIChildCount(), 1);
  ASSERT_NE(main->ActiveMDIChild(), nullptr);
  EXPECT_EQ(main->ActiveMDIChild()->Caption(), "Stays");
}

} // namespace
