// The skinned frame's pixels, read back from real windows with the probe
// skin, whose every element frame has a colour of its own: which border
// frame shows where, active and inactive, that nothing of the system's
// caption is left in the band, and that another skin file loaded at run
// time re-frames the window.
#include "framework/StringList.h"
#include "tests/win32/SkinnedWindowSupport.h"

#include <gtest/gtest.h>

using namespace testsupport;

namespace {

class SkinFramePixelsTest : public TSkinnedSuite<&ProbeSkinPackage> {
protected:
  // A running program's loop gets the refresh posted by the new skin file;
  // the suite has no running loop, so it asks for the refresh itself.
  static void RefreshNow()
  {
    Manager().PostAction(*data_, skin::saRefresh, 1);
    Manager().MarkStarted();
  }
};

// Pumps until the frame has painted what it paints on activation changes.
TCapture SettledCapture(HWND window)
{
  PumpMessages(150);
  return CaptureWindow(window);
}

// A right-to-left window's frame is drawn where its mouse handling counts
// from: the left border on the left, not mirrored to the right.
TEST_F(SkinFramePixelsTest, ARightToLeftWindowKeepsItsBordersOnTheirSides)
{
  const TWindow window =
    MakeActiveWindow(WS_OVERLAPPEDWINDOW, 40, 40, 420, 300, L"Probe", WS_EX_LAYOUTRTL);
  ASSERT_NE(WaitForFrame(window.Handle()), nullptr);
  PumpMessages(150);
  const TCapture shown = CaptureScreenOf(window.Handle());
  const int32_t w = shown.Width();
  const int32_t h = shown.Height();
  EXPECT_TRUE(ShowsFrame(shown.At(1, h / 2), "frameleft.bmp", 0)) << DescribePixel(shown.At(1, h / 2));
  EXPECT_TRUE(ShowsFrame(shown.At(w - 2, h / 2), "frameright.bmp", 0)) << DescribePixel(shown.At(w - 2, h / 2));
}

TEST_F(SkinFramePixelsTest, BordersShowTheirFirstFrameWhileActiveAndTheSecondWhileNot)
{
  const TWindow window = MakeActiveWindow(WS_OVERLAPPEDWINDOW, 40, 40, 420, 300, L"Probe");
  ASSERT_NE(WaitForFrame(window.Handle()), nullptr);
  const SIZE size = WindowSize(window.Handle());
  const int32_t w = size.cx;
  const int32_t h = size.cy;
  struct TSpot {
    POINT At;
    const char* Bitmap;
  };
  const TSpot spots[] = {
    {{1, h / 2}, "frameleft.bmp"},
    {{w - 2, h / 2}, "frameright.bmp"},
    {{w / 2, h - 2}, "framebottom.bmp"},
    {{w / 2, 14}, "frametop.bmp"},
  };
  TCapture active = SettledCapture(window.Handle());
  for (const TSpot& spot : spots)
    EXPECT_TRUE(ShowsFrame(active.At(spot.At.x, spot.At.y), spot.Bitmap, 0))
      << spot.Bitmap << " shows " << DescribePixel(active.At(spot.At.x, spot.At.y));

  const TWindow other = MakeActiveWindow(WS_OVERLAPPEDWINDOW, 500, 300, 200, 150, L"Other");
  ASSERT_NE(WaitForFrame(other.Handle()), nullptr);
  const TCapture inactive = SettledCapture(window.Handle());
  for (const TSpot& spot : spots)
    EXPECT_TRUE(ShowsFrame(inactive.At(spot.At.x, spot.At.y), spot.Bitmap, 1))
      << spot.Bitmap << " inactive shows " << DescribePixel(inactive.At(spot.At.x, spot.At.y));
}

// Everything of the caption band outside the title, the window's icon (at
// (8, 7), the small-icon size) and the buttons on the right is the skin's:
// no pixel of the system's own caption survives. Names the first pixel that
// is not.
std::string ForeignPixelInBand(HWND window, const skin::TWinSkinForm& frame)
{
  const TCapture capture = CaptureWindow(window);
  const gfx::TRect title = frame.TitleRect();
  const framework::TGdiRegion region(CreateRectRgn(0, 0, 0, 0));
  GetWindowRgn(window, region.Get());
  const int32_t right = capture.Width() - 80; // the caption buttons' reach
  const gfx::TRect icon = gfx::TRect::Bounds(8, 7, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
  for (int32_t y = 0; y < frame.Borders().Top; ++y)
    for (int32_t x = frame.Borders().Left; x < right; ++x) {
      // Outside the window's region nothing of the window shows.
      if (title.Contains(gfx::TPoint{x, y}) || icon.Contains(gfx::TPoint{x, y}) || !PtInRegion(region.Get(), x, y))
        continue;
      const uint32_t pixel = capture.At(x, y);
      if (!probeskin::FindProbeFrame(pixel, 0) && pixel != probeskin::kMagenta)
        return DescribePixel(pixel) + " at " + std::to_string(x) + ", " + std::to_string(y);
    }
  return {};
}

// Pixels of the title rectangle that no probe frame explains: the text.
int32_t TextPixels(HWND window, const gfx::TRect& title)
{
  const TCapture capture = CaptureWindow(window);
  int32_t count = 0;
  for (int32_t y = title.Top; y < title.Bottom; ++y)
    for (int32_t x = title.Left; x < title.Right; ++x)
      count += !probeskin::FindProbeFrame(capture.At(x, y), 0);
  return count;
}

TEST_F(SkinFramePixelsTest, TheCaptionBandIsAllSkinAlsoAfterTheTextChanges)
{
  const TWindow window = MakeActiveWindow(WS_OVERLAPPEDWINDOW, 60, 60, 420, 260, L"Before");
  skin::TWinSkinForm* frame = WaitForFrame(window.Handle());
  ASSERT_NE(frame, nullptr);
  PumpMessages(150);
  EXPECT_EQ(ForeignPixelInBand(window.Handle(), *frame), "");
  const gfx::TRect before = frame->TitleRect();
  const int32_t textBefore = TextPixels(window.Handle(), before);
  EXPECT_GT(textBefore, 20);
  SetWindowTextW(window.Handle(), L"A much longer caption than before");
  PumpMessages(150);
  EXPECT_EQ(ForeignPixelInBand(window.Handle(), *frame), "");
  EXPECT_GT(frame->TitleRect().Width(), before.Width());
  EXPECT_GT(TextPixels(window.Handle(), frame->TitleRect()), textBefore);
}

TEST_F(SkinFramePixelsTest, AnotherSkinFileAtRunTimeReframesTheWindow)
{
  const TWindow window = MakeActiveWindow(WS_OVERLAPPEDWINDOW, 80, 80, 400, 280, L"Reskin");
  ASSERT_NE(WaitForFrame(window.Handle()), nullptr);
  const SIZE size = WindowSize(window.Handle());
  ASSERT_TRUE(ShowsFrame(SettledCapture(window.Handle()).At(1, size.cy / 2), "frameleft.bmp", 0));

  // The stored skin has the same frame sizes but its own colours.
  const std::filesystem::path stored = ExecutableFolder() / "tarsel.skn";
  data_->SetSkinFile(framework::WideToUtf8(stored.wstring()));
  RefreshNow();
  PumpUntil([] { return Manager().PendingAction() == skin::saNone; }, 2000);
  PumpMessages(200);
  EXPECT_FALSE(probeskin::FindProbeFrame(CaptureWindow(window.Handle()).At(1, size.cy / 2), 0));
  const SIZE after = WindowSize(window.Handle());
  EXPECT_EQ(after.cx, size.cx);
  EXPECT_EQ(after.cy, size.cy);

  data_->SetSkinFile(framework::WideToUtf8((ExecutableFolder() / std::string(probeskin::kPackageName)).wstring()));
  RefreshNow();
  PumpUntil([] { return Manager().PendingAction() == skin::saNone; }, 2000);
  PumpMessages(200);
  EXPECT_TRUE(ShowsFrame(CaptureWindow(window.Handle()).At(1, size.cy / 2), "frameleft.bmp", 0));
}

} // namespace
