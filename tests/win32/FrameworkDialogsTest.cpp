// Message dialogs and error reports, found among the process's windows and
// answered by the test; timers; the file list.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>

#include "FrameworkTestSupport.h"
#include "framework/win32/Dialogs.h"
#include "framework/win32/FileCtrl.h"

using namespace framework;
using namespace frameworktest;

TEST(MessageDialog, WarningWithACancelButtonIsShownAndAnswered)
{
  InitApplication();
  std::vector<std::vector<std::pair<std::wstring, std::wstring>>> seen;
  TDialogWatcher watcher([&](HWND dialog) {
    seen.push_back(TDialogWatcher::Children(dialog));
    TDialogWatcher::PressButton(dialog, L"Cancel");
  });
  int result = MessageDlg("The specified folder does not contain any supported image file.\nC:\\Empty", mtWarning,
                          MsgButtons({mbCancel}));
  EXPECT_EQ(result, mrCancel);
  ASSERT_FALSE(watcher.Captions().empty());
  EXPECT_EQ(watcher.Captions().front(), L"Warning");
  ASSERT_FALSE(watcher.Texts().empty());
  EXPECT_EQ(watcher.Texts().front(), L"The specified folder does not contain any supported image file.\nC:\\Empty");
  // Exactly one button, labelled Cancel.
  int buttons = 0;
  for (const auto& child : seen.front())
    if (_wcsicmp(child.first.c_str(), L"Button") == 0) {
      ++buttons;
      EXPECT_EQ(child.second, L"Cancel");
    }
  EXPECT_EQ(buttons, 1);
}

TEST(MessageDialog, ButtonsAnswerTheirResults)
{
  InitApplication();
  TDialogWatcher watcher([](HWND dialog) { TDialogWatcher::PressButton(dialog, L"&No"); });
  EXPECT_EQ(MessageDlg("Really?", mtConfirmation, MsgButtons({mbYes, mbNo})), mrNo);
  ASSERT_FALSE(watcher.Captions().empty());
  EXPECT_EQ(watcher.Captions().front(), L"Confirm");
}

// An error in an event handler is reported in a message box and the program
// goes on: the same timer keeps ticking afterwards. The timer fails on every
// tick, also while the box is up; the reports must not stack box on box.
TEST(ApplicationErrors, AnExceptionInAHandlerIsReportedAndTheProgramContinues)
{
  InitApplication();
  std::atomic<int> mostAtOnce = 0;
  TDialogWatcher watcher([&](HWND dialog) {
    mostAtOnce = std::max(mostAtOnce.load(), TDialogWatcher::VisibleDialogs());
    // Long enough for several failing ticks to arrive under the box.
    Sleep(300);
    TDialogWatcher::PressButton(dialog, L"OK");
  });
  std::unique_ptr<TLayoutForm> form(new TLayoutForm(Application));
  form->InitForm();
  form->throwOnTick = true;
  form->Timer->SetEnabled(true);
  bool reported = PumpUntil([&] { return !watcher.Texts().empty(); }, 5000);
  form->throwOnTick = false;
  ASSERT_TRUE(reported);
  EXPECT_EQ(watcher.Texts().front(), L"The tick failed.");
  EXPECT_EQ(watcher.Captions().front(), L"Framework test");
  EXPECT_EQ(mostAtOnce, 1);
  EXPECT_FALSE(watcher.TimedOut());
  int ticks = form->ticks;
  EXPECT_TRUE(PumpUntil([&] { return form->ticks > ticks + 2; }, 5000));
  form->Timer->SetEnabled(false);
}

TEST(ApplicationErrors, OnExceptionReplacesTheMessageBox)
{
  InitApplication();
  std::vector<std::string> errors;
  Application->OnException = TExceptionEvent([&](TObject*, const std::exception& e) { errors.push_back(e.what()); });
  TForm form(nullptr);
  TButton button(nullptr);
  button.SetParent(&form);
  button.OnClick = TNotifyEvent([](TObject*) { throw EInvalidOperation("Invalid file name - X:\\nowhere"); });
  button.SetBounds(0, 0, 50, 20);
  button.HandleNeeded();
  SendMessageW(button.Handle(), BM_CLICK, 0, 0);
  Pump(20);
  Application->OnException = TExceptionEvent();
  button.SetParent(nullptr);
  EXPECT_EQ(errors, std::vector<std::string>{"Invalid file name - X:\\nowhere"});
}

TEST(Timers, TickAtTheirIntervalWhileEnabled)
{
  InitApplication();
  TTimer timer(nullptr);
  int ticks = 0;
  timer.OnTimer = TNotifyEvent([&](TObject*) { ++ticks; });
  timer.SetInterval(20);
  EXPECT_TRUE(PumpUntil([&] { return ticks >= 3; }));
  timer.SetEnabled(false);
  int stopped = ticks;
  Pump(100);
  EXPECT_EQ(ticks, stopped);
}

namespace {

class FileListTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    InitApplication();
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    folder = std::filesystem::path(temp) / L"framework-file-list-\u00e9t\u00e9";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / L"sub.jpg");
    for (const wchar_t* name : {L"b.JPG", L"a.bmp", L"c.txt", L"\u00e9.jpeg", L"D.ico"})
      std::ofstream(folder / name) << "x";
  }
  void TearDown() override { std::filesystem::remove_all(folder); }
  std::string Folder() const { return WideToUtf8(folder.wstring()); }

  std::filesystem::path folder;
};

} // namespace

TEST_F(FileListTest, ListsMatchingFilesSortedByName)
{
  TFileListBox list(nullptr);
  list.SetMask("*.bmp;*.ico;*.jpg;*.jpeg");
  list.SetDirectory(Folder() + "\\");
  EXPECT_EQ(list.Directory(), Folder());
  std::vector<std::string> names;
  for (int i = 0; i < list.Items().Count(); ++i)
    names.push_back(list.Items()[i]);
  EXPECT_EQ(names, (std::vector<std::string>{"a.bmp", "b.JPG", "D.ico", "\xC3\xA9.jpeg"}));

  // In a window, as a hidden list on a form.
  TForm form(nullptr);
  list.SetParent(&form);
  list.SetVisible(false);
  EXPECT_EQ(SendMessageW(list.Handle(), LB_GETCOUNT, 0, 0), 4);
  list.SetParent(nullptr);
}

TEST_F(FileListTest, APathThatIsNoFolderIsAnInvalidFileName)
{
  TFileListBox list(nullptr);
  std::string missing = Folder() + "\\Photos";
  try {
    list.ApplyFilePath(missing);
    FAIL() << "no error";
  } catch (const EInvalidOperation& e) {
    EXPECT_EQ(std::string(e.what()), "Invalid file name - " + missing);
  }
  EXPECT_THROW(list.ApplyFilePath("Q:\\no\\such\\place"), EInvalidOperation);
  EXPECT_THROW(list.SetDirectory(missing), EInvalidOperation);

  // A file: its folder is listed and the file selected.
  list.ApplyFilePath(Folder() + "\\c.txt");
  EXPECT_EQ(list.Directory(), Folder());
  EXPECT_EQ(list.FileName(), Folder() + "\\c.txt");
  // A folder and a mask.
  list.ApplyFilePath(Folder() + "\\*.bmp");
  ASSERT_EQ(list.Items().Count(), 1);
  EXPECT_EQ(list.Items()[0], "a.bmp");
}

TEST_F(FileListTest, AFailedChangeKeepsTheListAndSelection)
{
  TFileListBox list(nullptr);
  list.SetMask("*.bmp;*.ico");
  list.ApplyFilePath(Folder() + "\\a.bmp");
  ASSERT_EQ(list.Items().Count(), 2);
  const std::string selected = list.FileName();
  EXPECT_EQ(selected, Folder() + "\\a.bmp");

  for (const std::string& bad : {Folder() + "\\missing.bmp", Folder() + "\\nowhere\\*.bmp", std::string(),
                                 Folder() + "\\", std::string("\\\\?\\Q:\\x")}) {
    SCOPED_TRACE(bad);
    if (bad == Folder() + "\\") {
      // A folder with a trailing separator is that folder.
      EXPECT_NO_THROW(list.ApplyFilePath(bad));
      list.ApplyFilePath(selected);
      continue;
    }
    EXPECT_THROW(list.ApplyFilePath(bad), EInvalidOperation);
    EXPECT_EQ(list.Directory(), Folder());
    EXPECT_EQ(list.Items().Count(), 2);
    EXPECT_EQ(list.FileName(), selected);
  }
  EXPECT_THROW(list.SetDirectory(""), EInvalidOperation);
  EXPECT_EQ(list.Directory(), Folder());
}

TEST_F(FileListTest, MasksMatchWholeNamesAndSkipHiddenFiles)
{
  // Extensions longer than the mask's, a hidden picture, a mask matching
  // nothing, overlapping masks.
  for (const wchar_t* name : {L"x.bmpx", L"y.jpgold", L"hidden.bmp"})
    std::ofstream(folder / name) << "x";
  SetFileAttributesW((folder / L"hidden.bmp").c_str(), FILE_ATTRIBUTE_HIDDEN);
  TFileListBox list(nullptr);
  list.SetDirectory(Folder());
  list.SetMask("*.bmp;*.jpg");
  std::vector<std::string> names;
  for (int i = 0; i < list.Items().Count(); ++i)
    names.push_back(list.Items()[i]);
  EXPECT_EQ(names, (std::vector<std::string>{"a.bmp", "b.JPG"}));

  list.SetMask("*.jp*;*.jpg");
  EXPECT_EQ(list.Items().Count(), 3); // b.JPG, é.jpeg, y.jpgold, each once
  list.SetMask("*.zzz");
  EXPECT_EQ(list.Items().Count(), 0);
  EXPECT_EQ(list.FileName(), "");
  list.SetMask("");
  EXPECT_EQ(list.Mask(), "*.*");
  EXPECT_EQ(list.Items().Count(), 7); // every visible file, no folders

  // Files that come and go show after an update.
  std::filesystem::remove(folder / L"a.bmp");
  list.Update();
  EXPECT_EQ(list.Items().Count(), 6);
  EXPECT_EQ(list.Items().IndexOf("a.bmp"), -1);
}
