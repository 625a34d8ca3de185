// A real TLumetta on a form: transitions in loop and timer mode run to their
// end, frames read back from the window match DisplayImage stretched to
// DisplayRect, OnProgress comes on the GUI thread and before OnComplete and
// OnStop, and a window destroyed mid-transition raises nothing afterwards.
#include "framework/Bitmap.h"
#include "framework/FormDescription.h"
#include "framework/win32/Forms.h"
#include "transition/win32/Lumetta.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

using namespace transition;
using framework::TBitmap;
using framework::TObject;

namespace {

constexpr int kPictureW = 40;
constexpr int kPictureH = 30;
constexpr int kScale = 3;

gfx::TPixel PicturePixel(int x, int y)
{
  return gfx::TPixel(0x200000 + (y * 5 << 8) + x * 6);
}

// Pumps the thread's messages until done() or the time runs out.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000)
{
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs)
      return false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(1);
  }
  return true;
}

// The client area of a window as pixels, read from the screen.
std::unique_ptr<TBitmap> ReadWindow(HWND window)
{
  RECT client;
  GetClientRect(window, &client);
  auto bitmap = std::make_unique<TBitmap>(client.right, client.bottom);
  HDC dc = GetDC(window);
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, static_cast<HBITMAP>(bitmap->NativeHandle()));
  BitBlt(memory, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(window, dc);
  GdiFlush();
  return bitmap;
}

// Every pixel of DisplayRect on the window against the DisplayImage pixel it
// was stretched from (the picture is enlarged by whole multiples, so the
// source pixel of each window pixel is exact).
::testing::AssertionResult WindowShowsDisplayImage(TLumetta& lumetta)
{
  std::lock_guard guard(lumetta.Lock());
  const auto window = ReadWindow(lumetta.Handle());
  const gfx::TRect d = lumetta.DisplayRect();
  const TBitmap& image = lumetta.DisplayImage();
  for (int y = d.Top; y < d.Bottom; ++y)
    for (int x = d.Left; x < d.Right; ++x) {
      const int sx = (x - d.Left) * image.Width() / d.Width();
      const int sy = (y - d.Top) * image.Height() / d.Height();
      const gfx::TPixel shown = window->Pixmap().At(x, y) & 0xFFFFFF;
      const gfx::TPixel expected = image.Pixmap().At(sx, sy) & 0xFFFFFF;
      if (shown != expected)
        return ::testing::AssertionFailure() << "window pixel (" << x << ", " << y << ") is " << std::hex << shown
                                             << ", DisplayImage (" << std::dec << sx << ", " << sy << ") is "
                                             << std::hex << expected;
    }
  return ::testing::AssertionSuccess();
}

struct LumettaOnForm : ::testing::Test {
  framework::TForm* form = nullptr;
  TLumetta* lumetta = nullptr;
  std::vector<std::string> events;
  DWORD guiThread = GetCurrentThreadId();
  int progressOffGuiThread = 0;

  LumettaOnForm()
  {
    form = new framework::TForm(nullptr);
    form->SetBorderStyle(framework::bsNone);
    form->SetFormStyle(framework::fsStayOnTop);
    form->SetBounds(20, 20, kPictureW * kScale + 20, kPictureH * kScale + 20);
    lumetta = new TLumetta(form);
    lumetta->SetParent(form);
    lumetta->SetBounds(0, 0, kPictureW * kScale, kPictureH * kScale);
    lumetta->SetStretch(true);
    lumetta->SetBgMode(bmNone);
    lumetta->SetColor(gfx::clBlack);
    TBitmap picture(kPictureW, kPictureH);
    for (int y = 0; y < kPictureH; ++y)
      for (int x = 0; x < kPictureW; ++x)
        picture.Pixmap().At(x, y) = PicturePixel(x, y);
    lumetta->Picture().Assign(picture);
    lumetta->OnProgress = framework::TNotifyEvent([this](TObject*) {
      if (GetCurrentThreadId() != guiThread)
        ++progressOffGuiThread;
      events.push_back("progress " + std::to_string(lumetta->Progress()));
    });
    lumetta->OnComplete = framework::TNotifyEvent([this](TObject*) { events.push_back("complete"); });
    lumetta->OnStop = framework::TNotifyEvent([this](TObject*) { events.push_back("stop"); });
    form->Show();
    UpdateWindow(form->Handle());
    PumpUntil([] { return false; }, 100);
  }
  ~LumettaOnForm() override { delete form; }

  bool Ended() const { return !events.empty() && events.back() == "stop"; }
};

TEST_F(LumettaOnForm, LoopModeShowsEveryFrameOnTheWindow)
{
  lumetta->SetThreaded(false);
  lumetta->SetStep(10);
  lumetta->SetDelay(5);
  lumetta->SetStyle(5); // Reveal from left
  int checkedFrames = 0;
  lumetta->OnAfterNewFrame = TCustomDrawEvent([&](TObject*, TBitmap&, TBitmap&) { ++checkedFrames; });
  auto progress = lumetta->OnProgress;
  lumetta->OnProgress = framework::TNotifyEvent([&, progress](TObject* sender) {
    progress(sender);
    // In loop mode the frame is on the window by the time OnProgress runs.
    if (lumetta->Progress() == 50) {
      EXPECT_TRUE(WindowShowsDisplayImage(*lumetta)) << "half-way frame";
      const TBitmap& image = lumetta->DisplayImage();
      EXPECT_EQ(image.Pixmap().At(0, 0) & 0xFFFFFF, PicturePixel(0, 0)) << "left half revealed";
      EXPECT_NE(image.Pixmap().At(kPictureW - 1, 0) & 0xFFFFFF, PicturePixel(kPictureW - 1, 0));
    }
  });
  lumetta->Execute();
  EXPECT_FALSE(lumetta->Busy());
  EXPECT_EQ(checkedFrames, 10);
  ASSERT_GE(events.size(), 3u);
  EXPECT_EQ(events[events.size() - 3], "progress 100");
  EXPECT_EQ(events[events.size() - 2], "complete");
  EXPECT_EQ(events.back(), "stop");
  EXPECT_TRUE(WindowShowsDisplayImage(*lumetta));
  EXPECT_EQ(lumetta->DisplayImage().Pixmap().At(kPictureW - 1, kPictureH - 1) & 0xFFFFFF,
            PicturePixel(kPictureW - 1, kPictureH - 1));

  // A repaint of the whole control draws the same image again.
  InvalidateRect(lumetta->Handle(), nullptr, TRUE);
  UpdateWindow(lumetta->Handle());
  EXPECT_TRUE(WindowShowsDisplayImage(*lumetta)) << "after a repaint";
}

// Timer mode, with the frame composed in one pass (what the player does: it
// handles no OnBeforeNewFrame) or, with an OnBeforeNewFrame handler, as a copy
// of the old image and the effect drawn over it.
struct LumettaTimerMode : LumettaOnForm {
  void RunToTheEnd(bool twoSteps)
  {
    lumetta->SetThreaded(true);
    lumetta->SetStep(10);
    lumetta->SetDelay(10);
    lumetta->SetStyle(5); // Reveal from left
    std::vector<DWORD> frameThreads;
    int before = 0;
    // The half-way frame, copied where it is made: the left 20 columns of the
    // picture, the rest the black background it starts from.
    std::unique_ptr<TBitmap> halfWay;
    if (twoSteps)
      lumetta->OnBeforeNewFrame = TCustomDrawEvent([&](TObject*, TBitmap&, TBitmap&) { ++before; });
    lumetta->OnAfterNewFrame = TCustomDrawEvent([&](TObject*, TBitmap&, TBitmap& screen) {
      frameThreads.push_back(GetCurrentThreadId());
      if (lumetta->Progress() == 50) {
        halfWay = std::make_unique<TBitmap>();
        halfWay->Assign(screen);
      }
    });
    lumetta->Execute();
    EXPECT_TRUE(lumetta->Busy()) << "timer mode returns once the transition is set up";
    EXPECT_NE(lumetta->TimerID(), 0u);
    EXPECT_EQ(lumetta->TimerResolution(), 1u);
    ASSERT_TRUE(PumpUntil([&] { return Ended(); }));
    EXPECT_FALSE(lumetta->Busy());
    EXPECT_EQ(lumetta->TimerID(), 0u);
    EXPECT_EQ(progressOffGuiThread, 0);
    ASSERT_GE(events.size(), 3u);
    EXPECT_EQ(events[events.size() - 3], "progress 100");
    EXPECT_EQ(events[events.size() - 2], "complete");
    EXPECT_EQ(frameThreads.size(), 10u);
    for (DWORD thread : frameThreads)
      EXPECT_NE(thread, guiThread) << "frames are composed on the timer thread";
    EXPECT_EQ(before, twoSteps ? 10 : 0);
    ASSERT_NE(halfWay, nullptr);
    ASSERT_EQ(halfWay->Width(), kPictureW);
    for (int y = 0; y < kPictureH; ++y)
      for (int x = 0; x < kPictureW; ++x)
        ASSERT_EQ(halfWay->Pixmap().At(x, y) & 0xFFFFFF, x < kPictureW / 2 ? PicturePixel(x, y) : 0u)
          << "half-way pixel (" << x << ", " << y << ")";
    EXPECT_TRUE(WindowShowsDisplayImage(*lumetta));
    EXPECT_EQ(lumetta->DisplayImage().Pixmap().At(kPictureW - 1, 3) & 0xFFFFFF, PicturePixel(kPictureW - 1, 3));
  }
};

TEST_F(LumettaTimerMode, OnePassFramesRunToTheEndWithProgressOnTheGuiThread)
{
  RunToTheEnd(false);
}

TEST_F(LumettaTimerMode, TwoStepFramesRunToTheEndWithProgressOnTheGuiThread)
{
  RunToTheEnd(true);
}

TEST_F(LumettaOnForm, StopAndManualProgress)
{
  lumetta->SetManual(true);
  lumetta->Execute();
  EXPECT_TRUE(lumetta->Busy());
  lumetta->SetProgress(40);
  EXPECT_EQ(events, (std::vector<std::string>{"progress 40"})) << "manual writes report at once";
  EXPECT_TRUE(WindowShowsDisplayImage(*lumetta));
  lumetta->Stop();
  EXPECT_EQ(events.back(), "stop");
  EXPECT_FALSE(lumetta->Busy());
  EXPECT_EQ(lumetta->Progress(), 40) << "the partial frame stays";
}

TEST(LumettaDestruction, WindowDestroyedMidTransitionRaisesNothingAfterwards)
{
  for (int round = 0; round < 5; ++round) {
    auto* form = new framework::TForm(nullptr);
    form->SetBounds(30, 30, 200, 150);
    auto* lumetta = new TLumetta(form);
    lumetta->SetParent(form);
    lumetta->SetBounds(0, 0, 200, 150);
    TBitmap picture(200, 150);
    picture.Pixmap().Fill(0x336699);
    lumetta->Picture().Assign(picture);
    lumetta->SetDelay(5);
    lumetta->SetStep(1);
    bool destroyed = false;
    int eventsAfterDestruction = 0;
    int progressEvents = 0;
    auto count = [&](TObject*) {
      if (destroyed)
        ++eventsAfterDestruction;
      ++progressEvents;
    };
    lumetta->OnProgress = framework::TNotifyEvent(count);
    lumetta->OnComplete = framework::TNotifyEvent(count);
    lumetta->OnStop = framework::TNotifyEvent(count);
    form->Show();
    lumetta->Execute();
    ASSERT_TRUE(lumetta->Busy());
    PumpUntil([&] { return progressEvents >= 3 + round; });
    delete form;
    destroyed = true;
    // Steps that were under way and messages already posted find no window.
    PumpUntil([] { return false; }, 150);
    EXPECT_EQ(eventsAfterDestruction, 0);
  }
}

} // namespace

int main(int argc, char** argv)
{
  ::testing::InitGoogleTest(&argc, argv);
  if (!framework::Application) {
    auto* application = new framework::TApplication(nullptr);
    application->Initialize();
  }
  return RUN_ALL_TESTS();
}
