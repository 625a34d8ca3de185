// The system's dialogs behind the folder browser, the colour dialog and the
// picture-open dialog, opened for real: a watcher thread finds each one among
// the process's windows, checks what it shows and presses OK or Cancel.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <mutex>

#include "FrameworkTestSupport.h"
#include "framework/win32/Dialogs.h"
#include "framework/win32/FileCtrl.h"

using namespace framework;
using namespace frameworktest;

namespace {

// Identifiers of the colour dialog's red, green and blue edits.
constexpr int kRedEdit = 706, kGreenEdit = 707, kBlueEdit = 708;

// A folder of its own under the temporary folder, with a non-ASCII name.
class TempFolder {
public:
  explicit TempFolder(const wchar_t* name)
  {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    path = std::filesystem::path(temp) / name;
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
  }
  ~TempFolder()
  {
    // The open dialog makes the chosen folder the current one, which would
    // keep it from being removed.
    SetCurrentDirectoryW(path.parent_path().c_str());
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  [[nodiscard]] std::string Utf8() const { return WideToUtf8(path.wstring()); }

  std::filesystem::path path;
};

// A bitmap file of one colour, 24 bits a pixel, bottom-up.
void WriteSolidBmp(const std::filesystem::path& file, int width, int height, uint8_t r, uint8_t g, uint8_t b)
{
  const int stride = (width * 3 + 3) & ~3;
  BITMAPFILEHEADER fh{};
  BITMAPINFOHEADER ih{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof(fh) + sizeof(ih);
  fh.bfSize = DWORD(fh.bfOffBits + stride * height);
  ih.biSize = sizeof(ih);
  ih.biWidth = width;
  ih.biHeight = height;
  ih.biPlanes = 1;
  ih.biBitCount = 24;
  std::vector<uint8_t> pixels(size_t(stride) * size_t(height), 0);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint8_t* p = &pixels[size_t(y) * size_t(stride) + size_t(x) * 3];
      p[0] = b;
      p[1] = g;
      p[2] = r;
    }
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&fh), sizeof(fh));
  out.write(reinterpret_cast<const char*>(&ih), sizeof(ih));
  out.write(reinterpret_cast<const char*>(pixels.data()), std::streamsize(pixels.size()));
}

// Paths the shell may answer with another case or a trailing separator.
bool SamePath(const std::string& a, const std::string& b)
{
  auto normal = [](std::string s) {
    while (s.size() > 3 && (s.back() == '\\' || s.back() == '/'))
      s.pop_back();
    return Utf8ToWide(s);
  };
  return _wcsicmp(normal(a).c_str(), normal(b).c_str()) == 0;
}

// The text of an item of a tree view: the selected one (TVGN_CARET) or the
// first root (TVGN_ROOT).
std::wstring TreeItemText(HWND tree, WPARAM which)
{
  auto item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, which, 0));
  if (!item)
    return {};
  wchar_t text[MAX_PATH] = {};
  TVITEMW tv{};
  tv.mask = TVIF_TEXT;
  tv.hItem = item;
  tv.pszText = text;
  tv.cchTextMax = MAX_PATH;
  SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
  return text;
}

// Polls on the watcher's thread until the condition holds or the time is up.
bool WaitFor(const std::function<bool()>& condition, int milliseconds = 3000)
{
  DWORD end = GetTickCount() + DWORD(milliseconds);
  while (!condition()) {
    if (int(end - GetTickCount()) <= 0)
      return false;
    Sleep(20);
  }
  return true;
}

// What a watcher saw inside a dialog, written on its thread and read by the
// test once the dialog has returned.
struct TSeen {
  std::mutex mutex;
  std::vector<std::wstring> values;
  void Add(std::wstring value)
  {
    std::lock_guard<std::mutex> lock(mutex);
    values.push_back(std::move(value));
  }
  std::vector<std::wstring> All()
  {
    std::lock_guard<std::mutex> lock(mutex);
    return values;
  }
};

} // namespace

// ---------------------------------------------------------------------------
// Folder browser

class FolderBrowserTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    InitApplication();
    std::filesystem::create_directories(folder.path / L"Photos");
  }
  TempFolder folder{L"framework-browse-\u00e9t\u00e9"};
};

TEST_F(FolderBrowserTest, OpensOnTheGivenFolderAndOKAnswersIt)
{
  TSeen seen;
  TDialogWatcher watcher([&](HWND dialog) {
    HWND tree = TDialogWatcher::FindChild(dialog, WC_TREEVIEWW);
    seen.Add(tree ? L"tree" : L"no tree");
    // The preselection may expand the tree step by step.
    WaitFor([&] { return tree && TreeItemText(tree, TVGN_CARET) == L"Photos"; }, 8000);
    seen.Add(tree ? TreeItemText(tree, TVGN_CARET) : L"");
    TDialogWatcher::PressCommand(dialog, IDOK);
  });
  std::string directory = WideToUtf8((folder.path / L"Photos").wstring());
  ASSERT_TRUE(SelectDirectory("Select a folder of pictures", "", directory));
  EXPECT_TRUE(SamePath(directory, WideToUtf8((folder.path / L"Photos").wstring()))) << directory;
  ASSERT_EQ(seen.All(), (std::vector<std::wstring>{L"tree", L"Photos"}));
  auto texts = watcher.Texts();
  EXPECT_NE(std::find(texts.begin(), texts.end(), L"Select a folder of pictures"), texts.end())
    << "the caption is shown above the tree";
  EXPECT_FALSE(watcher.TimedOut());
}

TEST_F(FolderBrowserTest, CancelAnswersFalseAndKeepsTheFolder)
{
  TDialogWatcher watcher([](HWND dialog) { TDialogWatcher::PressCommand(dialog, IDCANCEL); });
  std::string directory = folder.Utf8();
  EXPECT_FALSE(SelectDirectory("Select a folder of pictures", "", directory));
  EXPECT_EQ(directory, folder.Utf8());
  EXPECT_EQ(watcher.Captions().size(), 1u);

  // A folder that does not exist opens the browser anyway and is kept on Cancel.
  std::string missing = folder.Utf8() + "\\nowhere";
  EXPECT_FALSE(SelectDirectory("Select a folder of pictures", "", missing));
  EXPECT_EQ(missing, folder.Utf8() + "\\nowhere");
  EXPECT_EQ(watcher.Captions().size(), 2u);
  EXPECT_FALSE(watcher.TimedOut());
}

TEST_F(FolderBrowserTest, ARootLimitsTheTreeToItsFolders)
{
  TSeen seen;
  TDialogWatcher watcher([&](HWND dialog) {
    HWND tree = TDialogWatcher::FindChild(dialog, WC_TREEVIEWW);
    if (tree) {
      WaitFor([&] { return SendMessageW(tree, TVM_GETCOUNT, 0, 0) > 0; });
      seen.Add(TreeItemText(tree, TVGN_ROOT));
    }
    TDialogWatcher::PressCommand(dialog, IDOK);
  });
  std::string directory;
  ASSERT_TRUE(SelectDirectory("Pictures", folder.Utf8(), directory));
  // Nothing was preselected, so the root itself is the answer.
  EXPECT_TRUE(SamePath(directory, folder.Utf8())) << directory;
  ASSERT_EQ(seen.All().size(), 1u);
  EXPECT_EQ(seen.All().front(), folder.path.filename().wstring());
}

// ---------------------------------------------------------------------------
// Colour dialog

TEST(ColorDialog, ShowsTheInitialColourAndAnswersTheChosenOne)
{
  InitApplication();
  TSeen seen;
  TDialogWatcher watcher([&](HWND dialog) {
    for (int id : {kRedEdit, kGreenEdit, kBlueEdit})
      seen.Add(WindowText(GetDlgItem(dialog, id)));
    // Typing a value into the red edit changes the colour.
    SendMessageW(GetDlgItem(dialog, kRedEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"200"));
    TDialogWatcher::PressCommand(dialog, IDOK);
  });
  TColorDialog dialog(nullptr);
  dialog.SetColor(gfx::TColor(0x563412)); // red 0x12, green 0x34, blue 0x56
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(seen.All(), (std::vector<std::wstring>{L"18", L"52", L"86"}));
  EXPECT_EQ(dialog.Color(), gfx::TColor(0x5634C8));
  EXPECT_FALSE(watcher.TimedOut());
}

TEST(ColorDialog, CancelKeepsTheColourAndSystemColoursStartAsTheirValue)
{
  InitApplication();
  TSeen seen;
  TDialogWatcher watcher([&](HWND dialog) {
    for (int id : {kRedEdit, kGreenEdit, kBlueEdit})
      seen.Add(WindowText(GetDlgItem(dialog, id)));
    TDialogWatcher::PressCommand(dialog, IDCANCEL);
  });
  TColorDialog dialog(nullptr);
  dialog.SetColor(gfx::clBtnFace);
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(dialog.Color(), gfx::clBtnFace);
  COLORREF face = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(seen.All(), (std::vector<std::wstring>{std::to_wstring(GetRValue(face)), std::to_wstring(GetGValue(face)),
                                                    std::to_wstring(GetBValue(face))}));
}

// ---------------------------------------------------------------------------
// Picture-open dialog

class PictureDialogTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    InitApplication();
    WriteSolidBmp(folder.path / L"red.bmp", 64, 48, 255, 0, 0);
    std::ofstream(folder.path / L"notes.txt") << "not a picture";
    std::ofstream(folder.path / L"broken.jpg") << "not a JPEG either";
  }
  std::string File(const wchar_t* name) const { return WideToUtf8((folder.path / name).wstring()); }

  TempFolder folder{L"framework-open-\u00e9t\u00e9"};
};

namespace {

// Selects a file in the dialog's file list, as a click would.
bool SelectFile(HWND dialog, const std::wstring& name)
{
  HWND list = TDialogWatcher::FindChild(dialog, WC_LISTVIEWW);
  if (!list || !WaitFor([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) > 0; }))
    return false;
  LVFINDINFOW find{};
  find.flags = LVFI_STRING;
  find.psz = name.c_str();
  auto index = int(SendMessageW(list, LVM_FINDITEMW, WPARAM(-1), reinterpret_cast<LPARAM>(&find)));
  if (index < 0) {
    // The list may show the names without their extensions.
    std::wstring stem = name.substr(0, name.rfind(L'.'));
    find.psz = stem.c_str();
    index = int(SendMessageW(list, LVM_FINDITEMW, WPARAM(-1), reinterpret_cast<LPARAM>(&find)));
  }
  if (index < 0)
    return false;
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(list, LVM_SETITEMSTATE, WPARAM(index), reinterpret_cast<LPARAM>(&item));
  return true;
}

} // namespace

TEST_F(PictureDialogTest, PreviewsTheSelectedPictureAndAnswersItsName)
{
  TSeen seen;
  std::atomic<uint32_t> centre = 0xFFFFFFFF;
  TGuiThreadCall gui;
  TDialogWatcher watcher([&](HWND dialog) {
    HWND pane = TDialogWatcher::FindChild(dialog, L"TPicturePreview");
    seen.Add(pane ? L"pane" : L"no pane");
    seen.Add(SelectFile(dialog, L"red.bmp") ? L"selected" : L"not selected");
    WaitFor([&] { return pane && WindowText(pane) == L"64 x 48"; });
    seen.Add(pane ? WindowText(pane) : L"");
    if (pane) {
      Sleep(100); // the pane repaints after its text changed
      RECT r;
      GetClientRect(pane, &r);
      // Device contexts of the dialog's windows are used on their own
      // thread only: drawing state is not shared between threads.
      gui.Run([&] { centre = ScreenPixel(pane, r.right / 2, (r.bottom - 24) / 2); });
      // The pane lies inside the dialog, beside the other controls.
      RECT paneRect, dialogRect;
      GetWindowRect(pane, &paneRect);
      GetWindowRect(dialog, &dialogRect);
      seen.Add(paneRect.right <= dialogRect.right && paneRect.left >= dialogRect.left ? L"inside" : L"outside");
      HWND list = TDialogWatcher::FindChild(dialog, WC_LISTVIEWW);
      RECT listRect{};
      if (list)
        GetWindowRect(list, &listRect);
      seen.Add(list && listRect.right <= paneRect.left ? L"beside" : L"overlapping");
    }
    TDialogWatcher::PressCommand(dialog, IDOK);
  });
  TOpenPictureDialog dialog(nullptr);
  dialog.SetTitle("Open a picture");
  dialog.SetInitialDir(folder.Utf8());
  ASSERT_TRUE(dialog.Execute());
  EXPECT_TRUE(SamePath(dialog.FileName(), File(L"red.bmp"))) << dialog.FileName();
  EXPECT_EQ(seen.All(), (std::vector<std::wstring>{L"pane", L"selected", L"64 x 48", L"inside", L"beside"}));
  EXPECT_EQ(centre.load(), 0xFF0000u);
  ASSERT_EQ(watcher.Captions().size(), 1u);
  EXPECT_EQ(watcher.Captions().front(), L"Open a picture");
  EXPECT_FALSE(watcher.TimedOut());
}

TEST_F(PictureDialogTest, AFileThatIsNoPictureShowsNoPreviewAndCancelAnswersFalse)
{
  TSeen seen;
  TDialogWatcher watcher([&](HWND dialog) {
    HWND pane = TDialogWatcher::FindChild(dialog, L"TPicturePreview");
    seen.Add(SelectFile(dialog, L"broken.jpg") ? L"selected" : L"not selected");
    WaitFor([&] { return pane && !WindowText(pane).empty(); });
    seen.Add(pane ? WindowText(pane) : L"");
    TDialogWatcher::PressCommand(dialog, IDCANCEL);
  });
  TOpenPictureDialog dialog(nullptr);
  dialog.SetInitialDir(folder.Utf8());
  dialog.SetFileName("kept.bmp");
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(dialog.FileName(), "kept.bmp");
  EXPECT_EQ(seen.All(), (std::vector<std::wstring>{L"selected", L"(no preview)"}));
}

