// The player window under Wine: its form description, its controls and the
// playing cycle, on real windows with real pictures.
#include "app/MainForm.h"

#include "framework/win32/Forms.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using framework::Application;

namespace {

fs::path SamplePhotos()
{
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return fs::path(path).parent_path() / "Photos";
}

std::string Utf8(const fs::path& path)
{
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

// A folder of its own for a test, filled with some of the sample pictures.
struct TTestFolder {
  explicit TTestFolder(const std::u8string& name, std::initializer_list<const char*> samples)
  {
    Path = fs::temp_directory_path() / fs::path(name);
    fs::remove_all(Path);
    fs::create_directories(Path);
    for (const char* sample : samples)
      fs::copy_file(SamplePhotos() / sample, Path / sample);
  }
  ~TTestFolder() { fs::remove_all(Path); }
  fs::path Path;
};

void Pump(int milliseconds)
{
  const DWORD end = GetTickCount() + DWORD(milliseconds);
  while (GetTickCount() < end) {
    Application->ProcessMessages();
    Sleep(5);
  }
}

class MainFormTest : public ::testing::Test {
protected:
  static void SetUpTestSuite()
  {
    Application->Initialize();
    transition::RegisterLumetta();
  }
  void SetUp() override
  {
    form = new TMainForm(Application);
    form->InitForm();
    form->Show();
  }
  void TearDown() override
  {
    form->Lumetta->Stop();
    delete form;
  }
  std::string Panel(int index) { return form->StatusBar1->Panel(index)->Text(); }

  TMainForm* form = nullptr;
};

} // namespace

TEST_F(MainFormTest, StartsWithTheSamplePicturesAndTheStoredSettings)
{
  EXPECT_EQ(form->Caption(), "Automatic picture player");
  EXPECT_GE(form->Files().Count(), 8);
  EXPECT_EQ(Panel(2), std::to_string(form->Files().Count()) + " Image(s)");
  EXPECT_EQ(Panel(1), "Next: " + form->NextFile());
  EXPECT_FALSE(form->NextFile().empty());
  EXPECT_EQ(form->cbStyle->Items()->Count(), 176);
  EXPECT_EQ(form->cbStyle->ItemIndex(), -1);
  EXPECT_EQ(form->udProgressStep->Min(), 1);
  EXPECT_EQ(form->udProgressStep->Max(), 25);
  EXPECT_EQ(form->udProgressDelay->Min(), 5);
  EXPECT_EQ(form->udProgressDelay->Max(), 1000);
  EXPECT_EQ(form->udProgressStep->Position(), 3);
  EXPECT_TRUE(form->ckExactTiming->Checked());
  EXPECT_TRUE(form->ckThreaded->Checked());
  EXPECT_TRUE(form->Timer->Enabled());
}

TEST_F(MainFormTest, DisplayIntervalLabelShowsSeconds)
{
  form->tbDisplayInterval->SetPosition(1500);
  EXPECT_EQ(form->Timer->Interval(), 1500u);
  EXPECT_EQ(form->lblDisplayIntervalValue->Caption(), "[ 1.5 Seconds ]");
}

TEST_F(MainFormTest, OrderModeRunsTheEffectsOneAfterAnother)
{
  for (int expected = 1; expected <= 3; ++expected) {
    form->TimerTimer(nullptr);
    EXPECT_EQ(form->Lumetta->Style(), expected);
    EXPECT_EQ(form->lblStyleNo->Caption(), "[ #" + std::to_string(expected) + " ]");
    EXPECT_EQ(Panel(0), "Showing: " + form->CurrentFile());
    form->Lumetta->Stop();
    Pump(50);
  }
}

TEST_F(MainFormTest, RandomPicturesNeverRepeatTheCurrentOne)
{
  for (int round = 0; round < 6; ++round) {
    form->TimerTimer(nullptr);
    Pump(30);
    EXPECT_NE(form->NextFile(), form->CurrentFile());
    form->Lumetta->Stop();
  }
}

TEST_F(MainFormTest, AFolderWithOnePictureShowsItAgain)
{
  TTestFolder folder(u8"one picture", {"Tiles.bmp"});
  form->OpenFolder(Utf8(folder.Path));
  EXPECT_EQ(form->Files().Count(), 1);
  EXPECT_EQ(form->NextFile(), "Tiles.bmp");
  form->TimerTimer(nullptr);
  Pump(30);
  EXPECT_EQ(form->CurrentFile(), "Tiles.bmp");
  EXPECT_EQ(form->NextFile(), "Tiles.bmp");
}

TEST_F(MainFormTest, AFolderWithANonAsciiNamePlays)
{
  TTestFolder folder(u8"Fotos \u00e9t\u00e9 \u65e5\u672c", {"Tiles.bmp", "Plasma.jpg"});
  form->OpenFolder(Utf8(folder.Path));
  EXPECT_EQ(form->Files().Count(), 2);
  EXPECT_EQ(form->StatusBar1->Panel(3)->Text(), "Folder: " + Utf8(folder.Path));
  EXPECT_FALSE(form->Lumetta->Picture().Empty());
}

TEST_F(MainFormTest, ACorruptPictureIsSkippedAndTheShowGoesOn)
{
  TTestFolder folder(u8"corrupt", {"Tiles.bmp"});
  std::ofstream(folder.Path / "broken.jpg", std::ios::binary) << "\xFF\xD8\xFF\xE0 not really a picture";
  for (int attempt = 0; attempt < 4; ++attempt) {
    form->OpenFolder(Utf8(fs::temp_directory_path()));
    form->OpenFolder(Utf8(folder.Path));
    EXPECT_EQ(form->NextFile(), "Tiles.bmp");
    EXPECT_FALSE(form->Lumetta->Picture().Empty());
  }
  EXPECT_EQ(form->Files().Count(), 1);
}

TEST_F(MainFormTest, FullScreenAndBack)
{
  const int frameWidth = form->Lumetta->FrameWidth();
  form->SetFullScreen(true);
  EXPECT_EQ(form->Lumetta->Align(), framework::alNone);
  EXPECT_EQ(form->Lumetta->FrameWidth(), 0);
  EXPECT_EQ(form->Lumetta->BgMode(), transition::bmNone);
  RECT bounds;
  GetWindowRect(form->Lumetta->Handle(), &bounds);
  EXPECT_EQ(bounds.right - bounds.left, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(bounds.bottom - bounds.top, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_TRUE(GetWindowLongW(form->Lumetta->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);

  uint16_t key = VK_ESCAPE;
  form->FormKeyDown(nullptr, key, 0);
  EXPECT_EQ(key, 0);
  EXPECT_EQ(form->Lumetta->Align(), framework::alClient);
  EXPECT_EQ(form->Lumetta->FrameWidth(), frameWidth);
  EXPECT_EQ(GetParent(form->Lumetta->Handle()), form->Handle());
}
