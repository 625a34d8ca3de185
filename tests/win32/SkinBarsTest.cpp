// Status bars, progress bars and track bars under the probe skin, whose every
// element frame has a colour of its own: panel edges by bevel, the size grip,
// owner-drawn panels, progress at rest, half way and full in both directions,
// and the track bar's thumb through the system's custom drawing.
#include "framework/win32/ComCtrls.h"
#include "framework/win32/ProgressBar.h"
#include "gfx/win32/GdiInterop.h"
#include "skin/controls/SkinControl.h"
#include "tests/win32/SkinnedWindowSupport.h"

#include <commctrl.h>
#include <gtest/gtest.h>

using namespace testsupport;

namespace {

bool Skinned(HWND control) { return SendMessageW(control, skin::WM_SKIN_QUERY, 0, 0) == 1; }

int32_t CountFrame(const TCapture& capture, RECT area, std::string_view bitmap, int32_t frame)
{
  return CensusOf(capture, area).Count(bitmap, frame);
}

class SkinBarsTest : public TSkinnedSuite<&ProbeSkinPackage> {
protected:
  struct TBarsForm {
    framework::TForm Form{nullptr};
    framework::TStatusBar* Status = nullptr;
    framework::TProgressBar* Lying = nullptr;
    framework::TProgressBar* Standing = nullptr;
    framework::TTrackBar* Track = nullptr;
    std::vector<std::pair<int, gfx::TRect>> Drawn;

    TBarsForm()
    {
      Form.SetBounds(60, 60, 520, 320);
      Status = new framework::TStatusBar(&Form);
      Status->SetParent(&Form);
      for (auto [width, bevel, style] : {std::tuple{120, framework::pbLowered, framework::psText},
                                         {120, framework::pbRaised, framework::psText},
                                         {120, framework::pbNone, framework::psText},
                                         {80, framework::pbLowered, framework::psOwnerDraw}}) {
        auto* panel = static_cast<framework::TStatusPanel*>(Status->Panels()->Add());
        panel->SetWidth(width);
        panel->SetBevel(bevel);
        panel->SetStyle(style);
        panel->SetText("Panel");
      }
      Status->OnDrawPanel = framework::TDrawPanelEvent(
        [this](framework::TStatusBar*, framework::TStatusPanel* panel, const gfx::TRect& rect) {
          Drawn.emplace_back(panel->Index(), rect);
        });
      Lying = Make<framework::TProgressBar>(10, 10, 300, 24);
      Standing = Make<framework::TProgressBar>(330, 10, 24, 200);
      Standing->SetOrientation(framework::pbVertical);
      Track = Make<framework::TTrackBar>(10, 60, 300, 40);
      Form.Show();
      BringToFront(Form.Handle());
    }

    template <class T>
    T* Make(int x, int y, int w, int h)
    {
      auto* control = new T(&Form);
      control->SetParent(&Form);
      control->SetBounds(x, y, w, h);
      return control;
    }
  };
};

TEST_F(SkinBarsTest, StatusPanelsShowTheirBevelsGripAndOwnerDrawing)
{
  TBarsForm f;
  ASSERT_NE(WaitForFrame(f.Form.Handle()), nullptr);
  const HWND bar = f.Status->Handle();
  ASSERT_TRUE(Skinned(bar));
  f.Drawn.clear();
  RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  PumpMessages(60);
  const TCapture capture = CaptureWindow(bar);
  // Frames counted from 0 here: lowered, raised, no bevel.
  const int32_t expected[] = {0, 1, 2, 0};
  for (int i = 0; i < 4; ++i) {
    RECT part{};
    SendMessageW(bar, SB_GETRECT, WPARAM(i), reinterpret_cast<LPARAM>(&part));
    EXPECT_GT(CountFrame(capture, part, "statusbar.bmp", expected[i]), 0) << "panel " << i;
    for (int32_t other = 0; other < 3; ++other) {
      if (other == expected[i])
        continue;
      const RECT inner{part.left + 3, part.top, part.right - 3, part.bottom};
      EXPECT_EQ(CountFrame(capture, inner, "statusbar.bmp", other), 0) << "panel " << i << " frame " << other;
    }
  }
  // The size grip: the fifth extra image, ending a pixel inside the corner.
  const LONG w = capture.Width(), h = capture.Height();
  EXPECT_GT(CountFrame(capture, {w - 20, h - 20, w - 1, h - 1}, "extraimages.bmp", 4), 0);
  EXPECT_EQ(CountFrame(capture, {w - 1, 0, w, h}, "extraimages.bmp", 4), 0);
  // Every panel is handed to the event, deflated by 2, after the skin drew.
  ASSERT_EQ(f.Drawn.size(), 4u);
  RECT owner{};
  SendMessageW(bar, SB_GETRECT, 3, reinterpret_cast<LPARAM>(&owner));
  EXPECT_EQ(f.Drawn[3].first, 3);
  EXPECT_EQ(f.Drawn[3].second, gfx::TRect(owner.left + 2, owner.top + 2, owner.right - 2, owner.bottom - 2));
}

TEST_F(SkinBarsTest, StatusBarWithoutPanelsIsOneLoweredPanel)
{
  TBarsForm f;
  f.Status->Panels()->Clear();
  f.Status->SetSimpleText("All in one");
  ASSERT_NE(WaitForFrame(f.Form.Handle()), nullptr);
  RedrawWindow(f.Status->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  PumpMessages(60);
  const TCapture capture = CaptureWindow(f.Status->Handle());
  const RECT whole = capture.Bounds();
  EXPECT_GT(CountFrame(capture, whole, "statusbar.bmp", 0), 0);
  EXPECT_EQ(CountFrame(capture, whole, "statusbar.bmp", 1), 0);
  // The lowered edge spans the whole bar: its right end is the bar's.
  EXPECT_GT(CountFrame(capture, {whole.right - 25, 0, whole.right - 20, whole.bottom}, "statusbar.bmp", 0), 0);
}

// The probe skin's bar is chunked: frame 1 of "Progress" behind, chunks over
// the filled part.
TEST_F(SkinBarsTest, ProgressFillsFromTheStartInBothDirections)
{
  TBarsForm f;
  ASSERT_NE(WaitForFrame(f.Form.Handle()), nullptr);
  ASSERT_TRUE(Skinned(f.Lying->Handle()));
  const auto show = [](framework::TProgressBar* bar, int position) {
    bar->SetPosition(position);
    RedrawWindow(bar->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    PumpMessages(40);
    return CaptureWindow(bar->Handle());
  };
  const TCapture empty = show(f.Lying, 0);
  EXPECT_GT(CountFrame(empty, empty.Bounds(), "progress.bmp", 0), 0);
  EXPECT_EQ(CountFrame(empty, empty.Bounds(), "progresschunk.bmp", 0), 0) << "nothing filled at 0";

  const TCapture half = show(f.Lying, 50);
  const LONG w = half.Width(), h = half.Height();
  EXPECT_GT(CountFrame(half, {0, 0, w / 2 - 10, h}, "progresschunk.bmp", 0), 0);
  EXPECT_EQ(CountFrame(half, {w / 2 + 20, 0, w, h}, "progresschunk.bmp", 0), 0);

  const TCapture full = show(f.Lying, 100);
  EXPECT_GT(CountFrame(full, {w - 30, 0, w, h}, "progresschunk.bmp", 0), 0);

  // Standing up, the bar fills from the bottom.
  const TCapture standing = show(f.Standing, 50);
  const LONG sw = standing.Width(), sh = standing.Height();
  EXPECT_GT(CountFrame(standing, {0, sh / 2 + 10, sw, sh}, "progresschunk.bmp", 0), 0);
  EXPECT_EQ(CountFrame(standing, {0, 0, sw, sh / 2 - 20}, "progresschunk.bmp", 0), 0);
}

// The custom-draw answers, asked directly with a drawing context of our own:
// the ticks stay the control's, thumb and channel are ours.
TEST_F(SkinBarsTest, TrackBarTakesOverThumbAndChannelOnly)
{
  TBarsForm f;
  ASSERT_NE(WaitForFrame(f.Form.Handle()), nullptr);
  const HWND track = f.Track->Handle();
  ASSERT_TRUE(Skinned(track));
  const SIZE size = WindowSize(track);
  framework::TBitmap canvas(size.cx, size.cy);
  gfx::win32::TBitmapDC dc(canvas.NativeHandle());
  const auto ask = [&](DWORD stage, DWORD_PTR item) {
    NMCUSTOMDRAW draw{};
    draw.hdr.hwndFrom = track;
    draw.hdr.idFrom = UINT_PTR(GetDlgCtrlID(track));
    draw.hdr.code = UINT(NM_CUSTOMDRAW);
    draw.dwDrawStage = stage;
    draw.dwItemSpec = item;
    draw.hdc = dc.Get();
    return SendMessageW(track, framework::CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&draw));
  };
  EXPECT_EQ(ask(CDDS_PREPAINT, 0), CDRF_NOTIFYITEMDRAW);
  EXPECT_EQ(ask(CDDS_ITEMPREPAINT, TBCD_TICS), CDRF_DODEFAULT);
  EXPECT_EQ(ask(CDDS_ITEMPREPAINT, TBCD_CHANNEL), CDRF_SKIPDEFAULT);
  EXPECT_EQ(ask(CDDS_ITEMPREPAINT, TBCD_THUMB), CDRF_SKIPDEFAULT);
  GdiFlush();
  RECT thumb{};
  SendMessageW(track, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  const uint32_t centre = uint32_t(canvas.ScanLine((thumb.top + thumb.bottom) / 2)[(thumb.left + thumb.right) / 2]) & 0xFFFFFF;
  EXPECT_TRUE(ShowsFrame(centre, "trackthumbh.bmp", 1)) << DescribePixel(centre);
  // The skin's own notice shares the number and carries no header.
  EXPECT_EQ(SendMessageW(track, framework::CN_NOTIFY, 0, 0x41A2), 0);
}

// On screen, the thumb keeps the skin's frame while the keyboard moves it.
TEST_F(SkinBarsTest, TrackBarThumbFollowsThePosition)
{
  TBarsForm f;
  ASSERT_NE(WaitForFrame(f.Form.Handle()), nullptr);
  const HWND track = f.Track->Handle();
  const auto thumbCentre = [track] {
    RECT thumb{};
    SendMessageW(track, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    return POINT{(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
  };
  const POINT before = thumbCentre();
  f.Track->SetFocus();
  PressKey(VK_END);
  PumpMessages(60);
  EXPECT_EQ(f.Track->Position(), f.Track->Max());
  const POINT after = thumbCentre();
  EXPECT_GT(after.x, before.x + 100);
  RedrawWindow(track, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  PumpMessages(40);
  const uint32_t pixel = WindowPixel(track, after.x, after.y);
  EXPECT_TRUE(ShowsFrame(pixel, "trackthumbh.bmp", 1)) << DescribePixel(pixel);
}

} // namespace
