// The player window under Wine: its form description, its controls and the
// playing cycle, on real windows with real pictures. The suite starts without
// arguments, so the form opens the "Photos" folder next to the test program,
// as the player does.
#include "app/MainForm.h"
#include "tests/app/DialogAnswerer.h"
#include "tests/app/PlayerForms.h"

#include "framework/win32/Forms.h"
#include "gfx/Random.h"
#include "gfx/codecs/Jpeg.h"
#include "skin/win32/SkinDataWin32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

namespace fs = std::filesystem;
using apptest::TDialogAnswerer;
using framework::Application;

namespace {

fs::path ProgramPhotos()
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
  TTestFolder(const std::u8string& name, std::initializer_list<const char*> samples)
  {
    Path = fs::temp_directory_path() / fs::path(name);
    fs::remove_all(Path);
    fs::create_directories(Path);
    for (const char* sample : samples)
      fs::copy_file(ProgramPhotos() / sample, Path / sample);
  }
  ~TTestFolder() { fs::remove_all(Path); }
  TTestFolder(const TTestFolder&) = delete;
  TTestFolder& operator=(const TTestFolder&) = delete;
  fs::path Path;
};

// Runs the message loop until the condition holds or the time is up.
bool PumpUntil(const std::function<bool()>& condition, int milliseconds = 5000)
{
  const DWORD end = GetTickCount() + DWORD(milliseconds);
  while (!condition()) {
    if (int32_t(GetTickCount() - end) > 0)
      return false;
    Application->ProcessMessages();
    Sleep(5);
  }
  return true;
}

void Pump(int milliseconds)
{
  PumpUntil([] { return false; }, milliseconds);
}

// Presses and releases a key as the keyboard would: the system delivers it to
// the window with the keyboard focus.
void PressKey(WORD key)
{
  INPUT input[2] = {};
  input[0].type = INPUT_KEYBOARD;
  input[0].ki.wVk = key;
  input[1] = input[0];
  input[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ASSERT_EQ(SendInput(2, input, sizeof(INPUT)), 2u);
}

class MainFormTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() { apptest::InstallPlayerClasses(); }
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
    // A box nobody expected would have stopped an unattended show.
    for (const auto& dialog : answerer.Seen())
      ADD_FAILURE() << "unexpected box: " << framework::WideToUtf8(dialog.caption);
  }
  std::string Panel(int index) { return form->StatusBar1->Panel(index)->Text(); }
  // Runs one tick of the display timer, lets the transition finish and waits
  // for the picture to come after it to be read.
  void NextTransition()
  {
    form->TimerTimer(nullptr);
    EXPECT_TRUE(PumpUntil([this] { return !form->Lumetta->Busy(); }, 20000));
    form->SettleNextPicture();
  }
  // Opens a folder and waits for its first picture to be read.
  void Open(const fs::path& folder)
  {
    form->OpenFolder(Utf8(folder));
    form->SettleNextPicture();
  }

  TDialogAnswerer answerer;
  TMainForm* form = nullptr;
};

} // namespace

TEST_F(MainFormTest, StartsWithTheSamplePicturesAndTheStoredSettings)
{
  EXPECT_EQ(form->Caption(), "Automatic picture player");
  EXPECT_GE(form->Files().Count(), 8);
  EXPECT_EQ(form->Folder(), Utf8(ProgramPhotos()));
  EXPECT_EQ(Panel(2), std::to_string(form->Files().Count()) + " Image(s)");
  EXPECT_EQ(Panel(3), "Folder: " + Utf8(ProgramPhotos()));
  form->SettleNextPicture();
  EXPECT_EQ(Panel(1), "Next: " + form->NextFile());
  EXPECT_FALSE(form->NextFile().empty());
  EXPECT_EQ(form->cbStyle->Items()->Count(), 176);
  EXPECT_EQ(form->cbStyle->ItemIndex(), -1);
  EXPECT_EQ(form->lblStyleNo->Caption(), "[ #0 ]");
  EXPECT_EQ(form->udProgressStep->Min(), 1);
  EXPECT_EQ(form->udProgressStep->Max(), 25);
  EXPECT_EQ(form->udProgressDelay->Min(), 5);
  EXPECT_EQ(form->udProgressDelay->Max(), 1000);
  EXPECT_EQ(form->udFrameWidth->Min(), 0);
  EXPECT_EQ(form->udFrameWidth->Max(), 10);
  EXPECT_EQ(form->udProgressStep->Position(), 3);
  EXPECT_EQ(form->udProgressDelay->Position(), 30);
  EXPECT_EQ(form->udFrameWidth->Position(), 1);
  EXPECT_EQ(form->tbDisplayInterval->Position(), 1000);
  EXPECT_TRUE(form->ckExactTiming->Checked());
  EXPECT_TRUE(form->ckThreaded->Checked());
  EXPECT_TRUE(form->ckCenter->Checked());
  EXPECT_TRUE(form->ckProportional->Checked());
  EXPECT_FALSE(form->ckStretch->Checked());
  EXPECT_EQ(form->cbBackgroundMode->ItemIndex(), int(transition::bmTiled));
  EXPECT_TRUE(form->rbProgressAuto->Checked());
  EXPECT_FALSE(form->tbProgress->Enabled());
  EXPECT_TRUE(form->Timer->Enabled());
}

TEST_F(MainFormTest, TheStoredSkinIsLoadedFromTheFormDescription)
{
  ASSERT_NE(form->SkinData1, nullptr);
  EXPECT_TRUE(form->SkinData1->Active());
  EXPECT_FALSE(form->SkinData1->NotLoaded());
  EXPECT_FALSE(form->SkinData1->Package().empty());
  EXPECT_EQ(form->SkinData1->Skin3rd()->Count(), 118);
  // The frame the skin will draw: side borders of 4, a caption of 29 and a
  // bottom of 5 pixels.
  ASSERT_TRUE(form->SkinData1->BorderTop && form->SkinData1->BorderBottom);
  EXPECT_EQ(form->SkinData1->BorderLeft->Image.Width() / form->SkinData1->BorderLeft->Frame, 4);
  EXPECT_EQ(form->SkinData1->BorderTop->Image.Height() / form->SkinData1->BorderTop->Frame, 29);
  EXPECT_EQ(form->SkinData1->BorderBottom->Image.Height() / form->SkinData1->BorderBottom->Frame, 5);
  EXPECT_GE(form->SkinData1->CaptionButtons.size(), 5u);
}

TEST_F(MainFormTest, DisplayIntervalLabelShowsSeconds)
{
  form->tbDisplayInterval->SetPosition(1500);
  EXPECT_EQ(form->Timer->Interval(), 1500u);
  EXPECT_EQ(form->lblDisplayIntervalValue->Caption(), "[ 1.5 Seconds ]");
  form->tbDisplayInterval->SetPosition(9500);
  EXPECT_EQ(form->lblDisplayIntervalValue->Caption(), "[ 9.5 Seconds ]");
}

TEST_F(MainFormTest, OrderModeRunsTheEffectsOneAfterAnother)
{
  form->SettleNextPicture();
  for (int expected = 1; expected <= 3; ++expected) {
    const std::string next = form->NextFile();
    NextTransition();
    EXPECT_EQ(form->Lumetta->Style(), expected);
    EXPECT_EQ(form->lblStyleNo->Caption(), "[ #" + std::to_string(expected) + " ]");
    EXPECT_EQ(form->CurrentFile(), next);
    EXPECT_EQ(Panel(0), "Showing: " + next);
    // At the end of a transition the timer runs again for the next one.
    EXPECT_TRUE(form->Timer->Enabled());
  }
}

// The status bar names the next picture once it is chosen, while it is read
// and while the transition to the current one still runs.
TEST_F(MainFormTest, TheNextPictureIsNamedAsSoonAsItIsChosen)
{
  form->SettleNextPicture();
  form->TimerTimer(nullptr);
  ASSERT_GE(form->Files().Count(), 2);
  EXPECT_NE(Panel(1), "Next: " + form->CurrentFile()) << "the picture now showing is not the next one";
  EXPECT_EQ(Panel(1).rfind("Next: ", 0), 0u);
  EXPECT_GT(Panel(1).size(), std::string("Next: ").size());
  ASSERT_TRUE(PumpUntil([this] { return !form->Lumetta->Busy(); }, 20000));
  form->SettleNextPicture();
  EXPECT_EQ(Panel(1), "Next: " + form->NextFile());
}

TEST_F(MainFormTest, TheTimerAloneKeepsTheShowGoing)
{
  form->tbDisplayInterval->SetPosition(500);
  form->udProgressStep->SetPosition(25);
  ASSERT_TRUE(PumpUntil([&] { return form->Lumetta->Style() >= 2; }, 30000));
  EXPECT_EQ(form->cbStyle->ItemIndex(), int(form->Lumetta->Style()) - 1);
  EXPECT_NE(Panel(0), "Showing: ");
}

TEST_F(MainFormTest, RandomModeDrawsTheEffectAndNeverRepeatsTheCurrentPicture)
{
  TTestFolder folder(u8"two pictures", {"Plasma.jpg", "Tiles.bmp"});
  // No tick of the display timer between the rounds: each round is one tick.
  form->tbDisplayInterval->SetPosition(9500);
  form->udProgressStep->SetPosition(25);
  gfx::RandSeed = 0; // the first draw of two gives the first name
  Open(folder.Path);
  ASSERT_EQ(form->NextFile(), "Plasma.jpg");
  form->mnuRandom->Click();
  ASSERT_EQ(form->rgStyleControl->ItemIndex(), 1);
  // Every round starts from a seed whose first draw (of 176) is the effect and
  // whose next draw (of the two pictures) is the picture about to be shown, so
  // a pick that is not drawn again repeats it. Worked out by hand from the
  // generator: state = state * 134775813 + 1, value = state * range / 2^32.
  struct TRound {
    uint32_t Seed;
    int Style;
    const char* Next;
  };
  const TRound rounds[] = {{0x1234, 41, "Tiles.bmp"},   {0x5EED, 100, "Plasma.jpg"}, {0xBEEF, 145, "Tiles.bmp"},
                           {0xFACE, 138, "Plasma.jpg"}, {0xC0FFEE, 170, "Tiles.bmp"}, {0xCAFE, 122, "Plasma.jpg"}};
  for (const TRound& round : rounds) {
    const std::string shown = form->NextFile();
    gfx::RandSeed = round.Seed;
    NextTransition();
    EXPECT_EQ(form->CurrentFile(), shown);
    EXPECT_EQ(form->Lumetta->Style(), round.Style);
    EXPECT_EQ(form->cbStyle->ItemIndex(), round.Style - 1);
    EXPECT_EQ(form->NextFile(), round.Next) << "after showing " << shown;
  }
}

TEST_F(MainFormTest, FixedModeWithNoEffectChosenKeepsStyleZero)
{
  form->mnuFixed->Click();
  ASSERT_EQ(form->rgStyleControl->ItemIndex(), 2);
  NextTransition();
  NextTransition();
  EXPECT_EQ(form->Lumetta->Style(), 0);
  EXPECT_EQ(form->cbStyle->ItemIndex(), -1);
  EXPECT_EQ(form->lblStyleNo->Caption(), "[ #0 ]");
}

TEST_F(MainFormTest, ManualModeFollowsTheTrackBar)
{
  form->rbProgressManual->SetChecked(true);
  EXPECT_TRUE(form->Lumetta->Manual());
  EXPECT_TRUE(form->tbProgress->Enabled());
  EXPECT_FALSE(form->edtProgressStep->Enabled());
  EXPECT_FALSE(form->Timer->Enabled());
  ASSERT_TRUE(PumpUntil([this] { return form->Lumetta->Busy(); }));
  for (int position : {40, 75, 10}) {
    form->tbProgress->SetPosition(position);
    EXPECT_EQ(form->Lumetta->Progress(), position);
  }
  form->rbProgressAuto->SetChecked(true);
  EXPECT_FALSE(form->Lumetta->Manual());
  EXPECT_FALSE(form->tbProgress->Enabled());
}

TEST_F(MainFormTest, AFolderWithOnePictureShowsItAgain)
{
  TTestFolder folder(u8"one picture", {"Tiles.bmp"});
  Open(folder.Path);
  EXPECT_EQ(form->Files().Count(), 1);
  EXPECT_EQ(form->NextFile(), "Tiles.bmp");
  NextTransition();
  EXPECT_EQ(form->CurrentFile(), "Tiles.bmp");
  EXPECT_EQ(form->NextFile(), "Tiles.bmp");
}

TEST_F(MainFormTest, AFolderWithANonAsciiNamePlays)
{
  TTestFolder folder(u8"Fotos \u00e9t\u00e9 \u65e5\u672c", {"Tiles.bmp", "Plasma.jpg"});
  form->OpenFolder(Utf8(folder.Path) + "\\");
  form->SettleNextPicture();
  EXPECT_EQ(form->Files().Count(), 2);
  EXPECT_EQ(form->Folder(), Utf8(folder.Path));
  EXPECT_EQ(Panel(3), "Folder: " + Utf8(folder.Path) + "\\");
  EXPECT_FALSE(form->Lumetta->Picture().Empty());
  NextTransition();
  EXPECT_FALSE(form->CurrentFile().empty());
}

TEST_F(MainFormTest, AFolderWithoutPicturesIsRefusedWithAWarning)
{
  TTestFolder empty(u8"no pictures", {});
  std::ofstream(empty.Path / "notes.txt") << "not a picture";
  const std::string folder = form->Folder();
  const int count = form->Files().Count();
  const std::string next = form->NextFile();
  form->OpenFolder(Utf8(empty.Path));
  const auto seen = answerer.Seen();
  answerer.Forget();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].caption, L"Warning");
  ASSERT_EQ(seen[0].texts.size(), 1u);
  EXPECT_EQ(framework::WideToUtf8(seen[0].texts[0]),
            "The specified folder does not contain any supported image file.\n" + Utf8(empty.Path));
  EXPECT_EQ(form->Folder(), folder);
  EXPECT_EQ(form->Files().Count(), count);
  EXPECT_EQ(form->NextFile(), next);
}

TEST_F(MainFormTest, ACorruptPictureIsSkippedAndTheShowGoesOn)
{
  TTestFolder folder(u8"corrupt", {"Tiles.bmp"});
  std::ofstream(folder.Path / "Broken.jpg", std::ios::binary) << "\xFF\xD8\xFF\xE0 not really a picture";
  // From this seed the first draw of two is 0: the broken file, which sorts
  // first, is tried before the good one.
  gfx::RandSeed = 0;
  Open(folder.Path);
  EXPECT_EQ(form->NextFile(), "Tiles.bmp");
  EXPECT_FALSE(form->Lumetta->Picture().Empty());
  EXPECT_EQ(form->Files().Count(), 1);
  EXPECT_EQ(Panel(2), "1 Image(s)");
  EXPECT_NE(Panel(1).find("(skipped: "), std::string::npos);
  NextTransition();
  EXPECT_EQ(form->CurrentFile(), "Tiles.bmp");
  EXPECT_TRUE(form->Timer->Enabled());
}

// A photograph-like JPEG of the given size: smooth fields and fine texture.
std::vector<uint8_t> PhotoJpeg(int32_t w, int32_t h)
{
  gfx::TPixmap p(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x)
      p.At(x, y) = gfx::TPixel(((x * 255 / w) << 16) | ((y * 255 / h) << 8) | ((x ^ y) & 0x3F));
  return gfx::EncodeJpeg(p, {.Quality = 80});
}

void WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes)
{
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

TEST_F(MainFormTest, PicturesReadAheadComeInTheOrderDrawnAndUnreadableOnesAreLeftOut)
{
  TTestFolder folder(u8"read ahead", {"Tiles.bmp", "Plasma.jpg", "Rings.bmp"});
  // A JPEG whose header reads well and whose data stops halfway fails only
  // while it is decoded, on the prefetch's thread.
  std::vector<uint8_t> cut = PhotoJpeg(64, 48);
  cut.resize(cut.size() / 2);
  WriteFile(folder.Path / "Cut off.jpg", cut);
  WriteFile(folder.Path / "Empty.jpg", {});
  // Fixed style 0 draws nothing from the random generator: every draw is a
  // picture's, so the order can be worked out from the seed as the player
  // drew it when it read each file at once.
  form->rgStyleControl->SetItemIndex(2);
  form->tbDisplayInterval->SetPosition(9500);
  form->udProgressStep->SetPosition(25);
  const uint32_t seed = 0x5EED1;
  std::vector<std::string> names = {"Cut off.jpg", "Empty.jpg", "Plasma.jpg", "Rings.bmp", "Tiles.bmp"};
  const auto unreadable = [](const std::string& name) { return name == "Cut off.jpg" || name == "Empty.jpg"; };
  std::vector<std::string> expected;
  std::string current;
  gfx::RandSeed = seed;
  for (int round = 0; round < 8; ++round) {
    for (;;) {
      int index = int(gfx::Random(uint32_t(names.size())));
      if (names.size() >= 2)
        while (names[size_t(index)] == current)
          index = int(gfx::Random(uint32_t(names.size())));
      if (!unreadable(names[size_t(index)])) {
        expected.push_back(current = names[size_t(index)]);
        break;
      }
      names.erase(names.begin() + index);
    }
  }

  gfx::RandSeed = seed;
  Open(folder.Path);
  for (size_t round = 0; round < expected.size(); ++round) {
    ASSERT_EQ(form->NextFile(), expected[round]) << "round " << round;
    NextTransition();
    EXPECT_EQ(form->CurrentFile(), expected[round]);
  }
  EXPECT_EQ(form->Files().Count(), 3) << "both unreadable files were drawn and left out";
  EXPECT_EQ(Panel(2), "3 Image(s)");
}

TEST_F(MainFormTest, AShowStartsWithItsFirstPictureAsSoonAsItIsRead)
{
  // With the longest pause a tick would come after 9.5 s: the first picture
  // is on its way long before.
  form->tbDisplayInterval->SetPosition(9500);
  ASSERT_TRUE(form->CurrentFile().empty());
  ASSERT_TRUE(PumpUntil([this] { return !form->CurrentFile().empty(); }, 5000));
  EXPECT_TRUE(form->Lumetta->Busy() || !form->Lumetta->DisplayImage().Empty());
  EXPECT_EQ(Panel(0), "Showing: " + form->CurrentFile());
  // Later pictures wait for the pause as before.
  EXPECT_TRUE(PumpUntil([this] { return !form->Lumetta->Busy(); }, 20000));
  const std::string first = form->CurrentFile();
  Pump(300);
  EXPECT_EQ(form->CurrentFile(), first);
}

// The pixels held cover the size shown, and the next stronger reduction
// (half of each side again) would not, unless it is the strongest there is.
::testing::AssertionResult JustCovers(gfx::TSize pixels, gfx::TSize shown, gfx::TSize full)
{
  if (pixels.Width < shown.Width || pixels.Height < shown.Height)
    return ::testing::AssertionFailure() << pixels.Width << "x" << pixels.Height << " do not cover " << shown.Width
                                         << "x" << shown.Height;
  const bool strongest = pixels.Width * 8 <= full.Width + 7;
  if (!strongest && (pixels.Width + 1) / 2 >= shown.Width && (pixels.Height + 1) / 2 >= shown.Height)
    return ::testing::AssertionFailure() << pixels.Width << "x" << pixels.Height << " are more than "
                                         << shown.Width << "x" << shown.Height << " needs";
  return ::testing::AssertionSuccess();
}

gfx::TSize SizeOf(const gfx::TRect& rect)
{
  return {rect.Width(), rect.Height()};
}

TEST_F(MainFormTest, ALargePhotoIsDecodedForTheSizeItIsShownAtAndAgainWhenThatGrows)
{
  TTestFolder folder(u8"large photo", {});
  const gfx::TSize full{3200, 2400};
  WriteFile(folder.Path / "Large.jpg", PhotoJpeg(full.Width, full.Height));
  form->tbDisplayInterval->SetPosition(9500);
  form->udProgressStep->SetPosition(25);
  Open(folder.Path);
  transition::TLumetta& display = *form->Lumetta;
  const framework::TGraphic* graphic = display.Picture().Graphic();
  ASSERT_NE(graphic, nullptr);
  EXPECT_EQ(graphic->Width(), full.Width);
  EXPECT_EQ(graphic->Height(), full.Height);
  EXPECT_TRUE(JustCovers(graphic->PixelSize(), display.Layout().ShownSize(full), full));
  EXPECT_LT(graphic->PixelSize().Width, full.Width);

  NextTransition();
  EXPECT_EQ(display.PictureSize(), full);
  EXPECT_TRUE(JustCovers(SizeOf(display.SourceRect()), SizeOf(display.DisplayRect()), full));
  const gfx::TSize inWindow = SizeOf(display.SourceRect());

  // Full screen: the picture on show is decoded again for the larger layout.
  form->SetFullScreen(true);
  Pump(50);
  EXPECT_GT(display.SourceRect().Width(), inWindow.Width);
  EXPECT_TRUE(JustCovers(SizeOf(display.SourceRect()), SizeOf(display.DisplayRect()), full));
  form->SetFullScreen(false);

  // Shown at its natural size it needs every pixel: the next transition
  // decodes it again, whole.
  form->ckProportional->SetChecked(false);
  NextTransition();
  EXPECT_EQ(display.SourceRect(), gfx::TRect(0, 0, full.Width, full.Height));
  EXPECT_EQ(display.DisplayRect().Width(), full.Width);
}

TEST_F(MainFormTest, FullScreenAndBack)
{
  const int frameWidth = form->Lumetta->FrameWidth();
  RECT before;
  GetWindowRect(form->Lumetta->Handle(), &before);
  form->SetFullScreen(true);
  EXPECT_EQ(form->Lumetta->Align(), framework::alNone);
  EXPECT_EQ(form->Lumetta->FrameWidth(), 0);
  EXPECT_EQ(form->Lumetta->BgMode(), transition::bmNone);
  EXPECT_EQ(GetAncestor(form->Lumetta->Handle(), GA_PARENT), GetDesktopWindow());
  RECT bounds;
  GetWindowRect(form->Lumetta->Handle(), &bounds);
  EXPECT_EQ(bounds.left, 0);
  EXPECT_EQ(bounds.top, 0);
  EXPECT_EQ(bounds.right - bounds.left, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(bounds.bottom - bounds.top, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_TRUE(GetWindowLongW(form->Lumetta->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);

  // With the keyboard on a control of the form, Escape pressed on the
  // keyboard goes to that control; the form sees it first (KeyPreview) and
  // brings the window back.
  const HWND control = form->ckThreaded->Handle();
  SetFocus(control);
  ASSERT_EQ(GetFocus(), control);
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(PumpUntil([this] { return form->Lumetta->Align() == framework::alClient; }, 2000));
  EXPECT_EQ(form->Lumetta->FrameWidth(), frameWidth);
  EXPECT_EQ(form->Lumetta->BgMode(), transition::bmTiled);
  EXPECT_EQ(GetParent(form->Lumetta->Handle()), form->Handle());
  Pump(50);
  RECT after;
  GetWindowRect(form->Lumetta->Handle(), &after);
  EXPECT_TRUE(EqualRect(&before, &after));
  // A second Escape in the window does nothing more.
  uint16_t key = VK_ESCAPE;
  form->FormKeyDown(nullptr, key, 0);
  EXPECT_EQ(key, VK_ESCAPE);
}

TEST_F(MainFormTest, ADoubleClickSwitchesFullScreenBothWays)
{
  const HWND display = form->Lumetta->Handle();
  SendMessageW(display, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
  SendMessageW(display, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
  SendMessageW(display, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 20));
  SendMessageW(display, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
  EXPECT_EQ(form->Lumetta->Align(), framework::alNone);
  // Taken off the form, the display shows in a window of its own.
  const HWND fullScreen = form->Lumetta->Handle();
  SendMessageW(fullScreen, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 20));
  SendMessageW(fullScreen, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
  EXPECT_EQ(form->Lumetta->Align(), framework::alClient);
}
