// The skinned scroll bar's arithmetic: the thumb of a scroll-bar control for
// ordinary, tiny, empty and huge ranges, bars shorter than their arrows, hit
// testing, dragging, the thickness and the frames each piece shows.
#include "skin/controls/ScrollBarGeometry.h"

#include <gtest/gtest.h>

#include <climits>

using namespace skin;

namespace {

// A bar 200 pixels long with arrows of 17: the track between them is 166.
constexpr int32_t kLength = 200;
constexpr int32_t kArrow = 17;

TThumb ThumbOf(int32_t min, int32_t max, int32_t page, int32_t pos)
{
  return ControlThumb(TScrollState{min, max, page, pos}, kLength, kArrow);
}

TBarLook Look(TThumb thumb, TScrollPart active = spNone, bool pressed = false)
{
  TBarLook look;
  look.Length = kLength;
  look.Arrow = kArrow;
  look.StripHeight = 17;
  look.Thumb = thumb;
  look.Active = active;
  look.Pressed = pressed;
  return look;
}

} // namespace

TEST(ScrollBarThumb, APageTakesItsShareOfTheTrackAndTheLastPlaceEndsAtTheSecondArrow)
{
  // 9/99 of 166 is 15.1: a thumb of 15.
  EXPECT_EQ(ThumbOf(0, 99, 10, 0), (TThumb{17, 32}));
  EXPECT_EQ(ThumbOf(0, 99, 10, 45), (TThumb{92, 107}));
  EXPECT_EQ(ThumbOf(0, 99, 10, 90), (TThumb{168, 183}));
  // Without a page the thumb is the arrows' square and travels 3 arrows less.
  EXPECT_EQ(ThumbOf(0, 99, 0, 0), (TThumb{17, 34}));
  EXPECT_EQ(ThumbOf(0, 99, 0, 99), (TThumb{166, 183}));
  // A range that does not start at 0 counts from its start.
  EXPECT_EQ(ThumbOf(-50, 49, 10, -5), ThumbOf(0, 99, 10, 45));
}

TEST(ScrollBarThumb, AThumbOfSevenPixelsOrLessIsDrawnEightLongOnAShorterTravel)
{
  // A page of 5 in 0..99 computes to 7 pixels: 8, placed along 166 - 8.
  EXPECT_EQ(ThumbOf(0, 99, 5, 50), (TThumb{97, 105}));
  // A page of 6 computes to 8 and keeps it, placed along the whole track.
  EXPECT_EQ(ThumbOf(0, 99, 6, 50), (TThumb{101, 109}));
  // The first place is the first arrow's end either way.
  EXPECT_EQ(ThumbOf(0, 999, 10, 0), (TThumb{17, 25}));
}

TEST(ScrollBarThumb, AnEmptyRangePutsTheThumbAtTheFirstArrowsEnd)
{
  EXPECT_EQ(ThumbOf(5, 5, 3, 5), (TThumb{17, 25}));
  EXPECT_EQ(ThumbOf(5, 5, 0, 5), (TThumb{17, 34}));
  EXPECT_EQ(ThumbOf(0, 0, 1, 0), (TThumb{17, 25}));
}

TEST(ScrollBarThumb, HugeRangesKeepTheThumbOnTheTrack)
{
  const int32_t page = 1 << 20;
  EXPECT_EQ(ThumbOf(0, INT32_MAX, page, 0), (TThumb{17, 25}));
  EXPECT_EQ(ThumbOf(0, INT32_MAX, page, 1 << 30), (TThumb{96, 104}));
  EXPECT_EQ(ThumbOf(0, INT32_MAX, page, INT32_MAX - page + 1), (TThumb{175, 183}));
  // 149 * 1e9 / 2e9 is 74.5, and halves round away from zero.
  EXPECT_EQ(ThumbOf(-1'000'000'000, 1'000'000'000, 0, 0), (TThumb{92, 109}));
  EXPECT_EQ(ThumbOf(-1'000'000'000, 1'000'000'000, page, 1'000'000'000), (TThumb{175, 183}));
}

TEST(ScrollBarThumb, AtThePressTheControlsOwnValuesGiveTheThumbWithoutItsMinimum)
{
  const TScrollState properties{0, 99, 10, 45};
  EXPECT_EQ(ControlThumbAtPress(properties, kLength, kArrow), ThumbOf(0, 99, 10, 45));
  // 9/999 of the track is one pixel, and stays one.
  EXPECT_EQ(ControlThumbAtPress(TScrollState{0, 999, 10, 0}, kLength, kArrow), (TThumb{17, 18}));
  EXPECT_EQ(ControlThumbAtPress(TScrollState{0, 99, 0, 99}, kLength, kArrow), (TThumb{166, 183}));
}

TEST(ScrollBarHitTest, PartsFollowEachOtherAlongTheBarAndAreTheScrollCodes)
{
  const TThumb thumb{92, 107};
  const struct {
    int32_t Along;
    TScrollPart Part;
  } cases[] = {{-3, spFirstArrow}, {0, spFirstArrow},   {16, spFirstArrow}, {17, spPageBefore},
               {91, spPageBefore}, {92, spThumb},        {106, spThumb},     {107, spPageAfter},
               {182, spPageAfter}, {183, spSecondArrow}, {199, spSecondArrow}, {250, spSecondArrow}};
  for (const auto& c : cases)
    EXPECT_EQ(HitTestBar(c.Along, kLength, kArrow, thumb), c.Part) << c.Along;
  // A thumb at the first arrow's end leaves no page before it.
  EXPECT_EQ(HitTestBar(17, kLength, kArrow, TThumb{17, 32}), spThumb);
}

TEST(ScrollBarDrag, TheThumbFollowsTheCursorBetweenTheArrows)
{
  const TThumb pressed{92, 107};
  EXPECT_EQ(DraggedThumb(pressed, 50, kLength, kArrow), (TThumb{142, 157}));
  EXPECT_EQ(DraggedThumb(pressed, -30, kLength, kArrow), (TThumb{62, 77}));
  EXPECT_EQ(DraggedThumb(pressed, 500, kLength, kArrow), (TThumb{168, 183}));
  EXPECT_EQ(DraggedThumb(pressed, -500, kLength, kArrow), (TThumb{17, 32}));
  // No room between the arrows: the thumb stays at the first.
  EXPECT_EQ(DraggedThumb(pressed, 10, 40, kArrow), (TThumb{17, 32}));
}

// A list of 100 items showing 10 at a time: 91 places (0 to 90), on a track
// of 166 with a thumb of 15, so 151 pixels of travel.
TEST(ScrollBarDrag, AListsDraggedThumbReachesEveryEndAndNoFurther)
{
  const TScrollState list{0, 99, 10, 0};
  EXPECT_EQ(DraggedPosition(0, list, 166, 15), 0);
  EXPECT_EQ(DraggedPosition(-40, list, 166, 15), 0);
  EXPECT_EQ(DraggedPosition(151, list, 166, 15), 89);
  // The pixel past the travel is the last place; beyond it nothing changes.
  EXPECT_EQ(DraggedPosition(152, list, 166, 15), 90);
  EXPECT_EQ(DraggedPosition(400, list, 166, 15), 90);
  EXPECT_EQ(DraggedPosition(76, list, 166, 15), 45);
  // A range that does not start at 0 keeps its start.
  EXPECT_EQ(DraggedPosition(0, {50, 149, 10, 50}, 166, 15), 50);
  EXPECT_EQ(DraggedPosition(400, {50, 149, 10, 50}, 166, 15), 140);

  // Without a page the thumb's travel spans the whole range.
  const TScrollState plain{0, 100, 0, 0};
  EXPECT_EQ(DraggedPosition(83, plain, 166, 17), 50);
  EXPECT_EQ(DraggedPosition(400, plain, 166, 17), 90);

  // A thumb filling the track cannot move the list.
  EXPECT_EQ(DraggedPosition(30, list, 40, 40), 0);
}

TEST(ScrollBarLayout, TheStripsHeightIsTheThicknessUnlessItIsFarFromTheArrows)
{
  EXPECT_EQ(BarThickness(17, 17), 17);
  EXPECT_EQ(BarThickness(19, 17), 19);
  EXPECT_EQ(BarThickness(15, 17), 15);
  EXPECT_EQ(BarThickness(20, 17), 17);
  EXPECT_EQ(BarThickness(14, 17), 17);
  TBarLook look = Look(TThumb{92, 107});
  look.StripHeight = 30;
  EXPECT_EQ(LayoutBar(look).Thickness, 17);
  EXPECT_EQ(LayoutBar(look).FirstArrow.Rect, gfx::TRect(0, 0, 17, 17));
}

TEST(ScrollBarLayout, ABarShorterThanTwoArrowsIsTwoHalfArrowsAndNoTrack)
{
  TBarLook look = Look(TThumb{});
  look.Length = 21;
  const TBarLayout layout = LayoutBar(look);
  EXPECT_EQ(layout.FirstArrow.Rect, gfx::TRect(0, 0, 10, 17));
  EXPECT_EQ(layout.SecondArrow.Rect, gfx::TRect(11, 0, 21, 17));
  EXPECT_FALSE(layout.Track.has_value());
  EXPECT_FALSE(layout.Thumb.has_value());
  // Exactly two arrows long: the arrows meet, still no track.
  look.Length = 34;
  EXPECT_EQ(LayoutBar(look).SecondArrow.Rect, gfx::TRect(17, 0, 34, 17));
  EXPECT_FALSE(LayoutBar(look).Track.has_value());
}

TEST(ScrollBarLayout, PiecesStandAlongTheirAxisInBothOrientations)
{
  TBarLook look = Look(TThumb{92, 132});
  TBarLayout layout = LayoutBar(look);
  EXPECT_EQ(layout.FirstArrow, (TBarPiece{gfx::TRect(0, 0, 17, 17), 1}));
  EXPECT_EQ(layout.SecondArrow, (TBarPiece{gfx::TRect(183, 0, 200, 17), 5}));
  EXPECT_EQ(layout.Track, (TBarPiece{gfx::TRect(17, 0, 183, 17), 1}));
  EXPECT_EQ(layout.Thumb, (TBarPiece{gfx::TRect(92, 0, 132, 17), 1}));
  // The grip is the strip's height long, in the middle of the thumb.
  EXPECT_EQ(layout.Grip, (TBarPiece{gfx::TRect(103, 0, 120, 17), 17}));

  look.Vertical = true;
  layout = LayoutBar(look);
  EXPECT_EQ(layout.FirstArrow, (TBarPiece{gfx::TRect(0, 0, 17, 17), 9}));
  EXPECT_EQ(layout.SecondArrow, (TBarPiece{gfx::TRect(0, 183, 17, 200), 13}));
  EXPECT_EQ(layout.Track, (TBarPiece{gfx::TRect(0, 17, 17, 183), 1}));
  EXPECT_EQ(layout.Grip, (TBarPiece{gfx::TRect(0, 103, 17, 120), 20}));
}

TEST(ScrollBarLayout, TheActivePartIsPressedOrHot)
{
  const TThumb thumb{92, 132};
  for (bool vertical : {false, true}) {
    const int32_t first = vertical ? 9 : 1, second = vertical ? 13 : 5, grip = vertical ? 20 : 17;
    TBarLook look = Look(thumb, spFirstArrow, true);
    look.Vertical = vertical;
    EXPECT_EQ(LayoutBar(look).FirstArrow.Frame, first + 1);
    EXPECT_EQ(LayoutBar(look).SecondArrow.Frame, second);
    look.Pressed = false;
    EXPECT_EQ(LayoutBar(look).FirstArrow.Frame, first + 3);
    look.Active = spSecondArrow;
    EXPECT_EQ(LayoutBar(look).SecondArrow.Frame, second + 3);
    EXPECT_EQ(LayoutBar(look).FirstArrow.Frame, first);
    look.Active = spThumb;
    EXPECT_EQ(LayoutBar(look).Thumb->Frame, 3);
    EXPECT_EQ(LayoutBar(look).Grip->Frame, grip + 2);
    look.Pressed = true;
    EXPECT_EQ(LayoutBar(look).Thumb->Frame, 2);
    EXPECT_EQ(LayoutBar(look).Grip->Frame, grip + 1);
    // A page part lights neither arrow nor thumb.
    look.Active = spPageAfter;
    EXPECT_EQ(LayoutBar(look).Thumb->Frame, 1);
    EXPECT_EQ(LayoutBar(look).FirstArrow.Frame, first);
  }
}

TEST(ScrollBarLayout, GripOnlyOnALongThumbAndNoThumbWhenDisabledOrOutside)
{
  // The grip needs a thumb longer than the strip's height + 2.
  EXPECT_FALSE(LayoutBar(Look(TThumb{92, 111})).Grip.has_value());
  EXPECT_TRUE(LayoutBar(Look(TThumb{92, 112})).Grip.has_value());

  TBarLook disabled = Look(TThumb{92, 132});
  disabled.Enabled = false;
  const TBarLayout layout = LayoutBar(disabled);
  EXPECT_FALSE(layout.Thumb.has_value());
  EXPECT_FALSE(layout.Grip.has_value());
  EXPECT_EQ(layout.Track->Frame, 3);

  EXPECT_FALSE(LayoutBar(Look(TThumb{190, 207})).Thumb.has_value());
  EXPECT_FALSE(LayoutBar(Look(TThumb{-1, 20})).Thumb.has_value());
  EXPECT_TRUE(LayoutBar(Look(TThumb{183, 200})).Thumb.has_value());
}
