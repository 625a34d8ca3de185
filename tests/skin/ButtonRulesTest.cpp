// Skinned glyph buttons: the frame and glyph part of each look of a bitmap
// button and a speed button, and where a drop-down button puts its caption
// and arrow.
#include "skin/controls/ButtonLooks.h"

#include <gtest/gtest.h>

using namespace skin;
using framework::gpDisabled;
using framework::gpDown;
using framework::gpPressed;
using framework::gpUp;

namespace {

TEST(BitButtonFace, GlyphPartFollowsThePushButtonsLook)
{
  EXPECT_EQ(PushButtonFace({}), (TButtonFace{1, gpUp, true}));
  EXPECT_EQ(PushButtonFace({.Pressed = true}), (TButtonFace{2, gpPressed, true}));
  EXPECT_EQ(PushButtonFace({.Hot = true}), (TButtonFace{4, gpUp, true}));
  EXPECT_EQ(PushButtonFace({.FocusedOrDefault = true}), (TButtonFace{5, gpUp, true}));
  // A disabled default button: frame 3 and the disabled part.
  EXPECT_EQ(PushButtonFace({.FocusedOrDefault = true, .Disabled = true}), (TButtonFace{3, gpDisabled, true}));
}

TEST(SpeedButtonFace, DownOutranksDisabledAndFlatShowsOnlyRaisedFaces)
{
  EXPECT_EQ(SpeedButtonFace({.Down = true, .Disabled = true}), (TButtonFace{2, gpDown, true}));
  EXPECT_EQ(SpeedButtonFace({.Disabled = true, .Pressed = true}), (TButtonFace{3, gpDisabled, true}));
  EXPECT_EQ(SpeedButtonFace({.Pressed = true, .Hot = true}), (TButtonFace{2, gpPressed, true}));
  EXPECT_EQ(SpeedButtonFace({.Hot = true}), (TButtonFace{4, gpUp, true}));
  EXPECT_EQ(SpeedButtonFace({}), (TButtonFace{1, gpUp, true}));

  EXPECT_FALSE(SpeedButtonFace({.Flat = true}).DrawElement);
  EXPECT_FALSE(SpeedButtonFace({.Disabled = true, .Flat = true}).DrawElement);
  EXPECT_TRUE(SpeedButtonFace({.Hot = true, .Flat = true}).DrawElement);
  EXPECT_TRUE(SpeedButtonFace({.Pressed = true, .Flat = true}).DrawElement);
  EXPECT_TRUE(SpeedButtonFace({.Down = true, .Flat = true}).DrawElement);
}

TEST(DropDownButton, CaptionAndArrowShareTheRoomFourWays)
{
  framework::TGlyphButtonGeometry g;
  g.Size = {120, 30};
  g.Glyph = {16, 16};
  g.HasText = true;
  g.Layout = framework::blGlyphTop; // a drop-down button always has its glyph at the left
  g.Spacing = -1;
  const TDropDownPlaces p = PlaceDropDown(g, {40, 13});
  // (120 - 16 - 40) div 4 = 16: glyph at 16, caption at 16 + 16 + 16.
  EXPECT_EQ(p.Places.Glyph, gfx::TPoint(16, 7));
  EXPECT_EQ(p.Places.Text.Left, 48);
  // The arrow two spacings past the caption's right edge (88 + 32), on the
  // middle row.
  EXPECT_EQ(p.Arrow[0], gfx::TPoint(120, 17));
  EXPECT_EQ(p.Arrow[1], gfx::TPoint(117, 14));
  EXPECT_EQ(p.Arrow[2], gfx::TPoint(123, 14));

  // Without a glyph the caption starts at the margin; the arrow keeps its
  // distance all the same.
  g.Glyph = {0, 0};
  g.Size = {100, 30};
  const TDropDownPlaces bare = PlaceDropDown(g, {40, 13});
  EXPECT_EQ(bare.Places.Text.Left, 15);
  EXPECT_EQ(bare.Arrow[0].X, 15 + 40 + 30);

  // A given margin and spacing are kept.
  g.Margin = 4;
  g.Spacing = 6;
  g.Glyph = {16, 16};
  const TDropDownPlaces fixed = PlaceDropDown(g, {40, 13});
  EXPECT_EQ(fixed.Places.Text.Left, 26);
  EXPECT_EQ(fixed.Arrow[0].X, 66 + 12);
}

} // namespace
