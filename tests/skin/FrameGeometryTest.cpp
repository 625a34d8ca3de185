// The skinned frame's arithmetic, apart from any window: border sizes from
// the border images, the hit-test revision, where the title goes for each
// alignment and kind of window, and when a dialog is widened for its caption.
#include "skin/SkinData.h"
#include "skin/frame/FrameGeometry.h"

#include <gtest/gtest.h>

namespace {

using skin::TTitleSituation;

TEST(FrameGeometry, BordersComeFromTheImagesSidesSideBySideTopAndBottomStacked)
{
  skin::TSkinData data(nullptr);
  // The stored skin's layout: two frames each.
  data.BorderLeft->Image.SetSize(8, 100);
  data.BorderLeft->Frame = 2;
  data.BorderRight->Image.SetSize(8, 100);
  data.BorderRight->Frame = 2;
  data.BorderTop->Image.SetSize(172, 58);
  data.BorderTop->Frame = 2;
  data.BorderBottom->Image.SetSize(172, 10);
  data.BorderBottom->Frame = 2;
  EXPECT_EQ(skin::BorderMetricsOf(data, skin::fbSizeable), (skin::TBorderMetrics{4, 29, 4, 5}));
  EXPECT_EQ(skin::BorderMetricsOf(data, skin::fbDialog), (skin::TBorderMetrics{4, 29, 4, 5}));
  // A window without a caption keeps the system's frame.
  EXPECT_EQ(skin::BorderMetricsOf(data, skin::fbNoCaption), (skin::TBorderMetrics{}));
  // A skin that gives no frame count is cut as one frame, not divided by zero.
  data.BorderTop->Frame = 0;
  EXPECT_EQ(skin::BorderMetricsOf(data, skin::fbSizeable).Top, 58);
}

TEST(FrameGeometry, TheClientAreaSitsInsideTheBordersAndTheMenuBand)
{
  const skin::TBorderMetrics borders{4, 29, 4, 5};
  const gfx::TRect client = skin::SkinnedClientRect({100, 50, 500, 350}, borders, 19);
  EXPECT_EQ(client, (gfx::TRect{104, 98, 496, 345}));
  EXPECT_EQ(skin::SkinnedWindowSize({392, 247}, borders, 19), (gfx::TPoint{400, 300}));
}

TEST(FrameGeometry, TheHitTestRevisesOnlyNowhereAndCaption)
{
  constexpr int32_t top = 29;
  EXPECT_EQ(skin::ReviseHitTest(skin::kHitNowhere, {50, 20}, top, false), skin::kHitCaption);
  EXPECT_EQ(skin::ReviseHitTest(skin::kHitNowhere, {50, 2}, top, false), skin::kHitNowhere);
  EXPECT_EQ(skin::ReviseHitTest(skin::kHitNowhere, {50, 35}, top, true), skin::kHitMenu);
  EXPECT_EQ(skin::ReviseHitTest(skin::kHitCaption, {50, 35}, top, false), skin::kHitCaption);
  constexpr int32_t kHitTop = 12;
  EXPECT_EQ(skin::ReviseHitTest(kHitTop, {50, 1}, top, true), kHitTop);
}

class TitleLayout : public ::testing::Test {
protected:
  TitleLayout()
  {
    title_.LeftWidth = 35;  // text shift
    title_.TopHeight = 2;   // vertical shift
    title_.RightWidth = 75; // right clip
    situation_.BandWidth = 400;
    situation_.BandHeight = 29;
    situation_.TextSize = {100, 13};
  }
  skin::TDataSkinTitle title_{"Personality"};
  TTitleSituation situation_;
};

TEST_F(TitleLayout, AlignmentPlacesTheTextLeftCentredOrRight)
{
  skin::TTitleLayout layout = skin::LayoutTitle(title_, situation_);
  EXPECT_EQ(layout.TextRect, (gfx::TRect{35, 9, 135, 22})); // (29 - 13) / 2 + 2 / 2
  title_.TextAlignment = 1;
  EXPECT_EQ(skin::LayoutTitle(title_, situation_).TextRect.Left, 150);
  title_.TextAlignment = 2;
  EXPECT_EQ(skin::LayoutTitle(title_, situation_).TextRect.Left, 400 - 75 - 100);
  // The text background's margins widen the rectangle around the text.
  title_.TextAlignment = 0;
  title_.TXTBackleft = 6;
  title_.TXTBackRight = 8;
  layout = skin::LayoutTitle(title_, situation_);
  EXPECT_EQ(layout.Rect, (gfx::TRect{35, 0, 149, 29}));
  EXPECT_EQ(layout.TextRect, (gfx::TRect{41, 9, 141, 22}));
}

TEST_F(TitleLayout, LongTextIsClippedBeforeTheRightClipOrAPopupsButtons)
{
  situation_.TextSize = {500, 13};
  EXPECT_EQ(skin::LayoutTitle(title_, situation_).Rect.Right, 400 - 75);
  situation_.Popup = true;
  situation_.RightButtonsReach = 25;
  EXPECT_EQ(skin::LayoutTitle(title_, situation_).Rect.Right, 400 - 25 - 5);
  // Buttons that reach no further than the gap leave the band unclipped.
  situation_.RightButtonsReach = 5;
  EXPECT_EQ(skin::LayoutTitle(title_, situation_).Rect.Right, 400);
}

TEST_F(TitleLayout, DialogsStartFurtherLeftAndRightToLeftWindowsMirror)
{
  situation_.DialogKind = true;
  EXPECT_EQ(skin::LayoutTitle(title_, situation_).TextRect.Left, 35 - 16);
  situation_.DialogKind = false;
  situation_.RightToLeft = true;
  situation_.RightButtonsReach = 73;
  // Against the buttons on the right, then 10 pixels on.
  EXPECT_EQ(skin::LayoutTitle(title_, situation_).TextRect.Left, 400 - 73 - 100 + 10);
  title_.TextAlignment = 2;
  EXPECT_EQ(skin::LayoutTitle(title_, situation_).TextRect.Left, 35 + 10);
}

TEST(FrameGeometry, ADialogIsWidenedOnlyWhenItsCaptionDoesNotFit)
{
  skin::TDataSkinTitle title("Personality");
  title.LeftWidth = 35;
  title.RightWidth = 75;
  EXPECT_EQ(skin::DialogWidthForCaption(title, 100, 300), 0);
  EXPECT_EQ(skin::DialogWidthForCaption(title, 300, 300), 410);
  EXPECT_EQ(skin::CaptionText(L"Warning"), L" Warning  ");
}

} // namespace
