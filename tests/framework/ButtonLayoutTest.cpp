// Glyph buttons: where glyph and caption go for each layout, margin and
// spacing, and which part of a glyph strip a look shows.
#include "framework/ButtonLayout.h"

#include <gtest/gtest.h>

using namespace framework;

namespace {

TGlyphButtonGeometry Button(gfx::TPoint size, TButtonLayout layout, int32_t margin, int32_t spacing)
{
  TGlyphButtonGeometry g;
  g.Size = size;
  g.Glyph = {16, 16};
  g.HasText = true;
  g.Layout = layout;
  g.Margin = margin;
  g.Spacing = spacing;
  return g;
}

TEST(GlyphButtonLayout, MarginAndSpacingAlongEachSide)
{
  const gfx::TPoint text{40, 13};
  // Centred with a fixed spacing: the free room split on both sides.
  TGlyphButtonPlaces p = PlaceGlyphAndCaption(Button({100, 30}, blGlyphLeft, -1, 4), text);
  EXPECT_EQ(p.Glyph, gfx::TPoint(20, 7));
  EXPECT_EQ(p.Text, gfx::TRect::Bounds(40, 9, 40, 13));
  // A fixed margin with spacing -1: the caption sits in the middle of the
  // room the glyph leaves, counted back from the right edge.
  p = PlaceGlyphAndCaption(Button({100, 30}, blGlyphRight, 5, -1), text);
  EXPECT_EQ(p.Spacing, 19);
  EXPECT_EQ(p.Glyph, gfx::TPoint(79, 7));
  EXPECT_EQ(p.Text.Left, 20);
  // Both -1: margin and spacing are a third of the free room each.
  p = PlaceGlyphAndCaption(Button({60, 80}, blGlyphTop, -1, -1), {30, 13});
  EXPECT_EQ(p.Margin, 17);
  EXPECT_EQ(p.Spacing, 17);
  EXPECT_EQ(p.Glyph, gfx::TPoint(22, 17));
  EXPECT_EQ(p.Text, gfx::TRect::Bounds(15, 50, 30, 13));
  p = PlaceGlyphAndCaption(Button({60, 80}, blGlyphBottom, 4, 2), {30, 13});
  EXPECT_EQ(p.Glyph, gfx::TPoint(22, 60));
  EXPECT_EQ(p.Text.Top, 45);
  // A centred alignment overrides a given margin.
  TGlyphButtonGeometry centred = Button({100, 30}, blGlyphLeft, 3, 4);
  centred.Centred = true;
  EXPECT_EQ(PlaceGlyphAndCaption(centred, text).Glyph.X, 20);
  // Too little room: the division truncates toward zero, as the drawing
  // code always has, so the glyph starts 20 (not 21) pixels out.
  EXPECT_EQ(PlaceGlyphAndCaption(Button({20, 30}, blGlyphLeft, -1, 4), {41, 13}).Glyph.X, -20);
}

TEST(GlyphButtonLayout, WithoutCaptionOrGlyphThereIsNoSpacing)
{
  TGlyphButtonGeometry noText = Button({100, 30}, blGlyphLeft, -1, 4);
  noText.HasText = false;
  const TGlyphButtonPlaces glyphOnly = PlaceGlyphAndCaption(noText, {0, 0});
  EXPECT_EQ(glyphOnly.Spacing, 0);
  EXPECT_EQ(glyphOnly.Glyph.X, 42);

  TGlyphButtonGeometry noGlyph = Button({100, 30}, blGlyphRight, -1, 4);
  noGlyph.Glyph = {0, 0};
  EXPECT_EQ(PlaceGlyphAndCaption(noGlyph, {40, 13}).Text.Left, 30);
}

TEST(GlyphButtonLayout, CaptionIsMeasuredBesideTheGlyph)
{
  EXPECT_EQ(CaptionArea(Button({100, 30}, blGlyphLeft, -1, 4)), gfx::TRect(20, 2, 98, 28));
  EXPECT_EQ(CaptionArea(Button({100, 30}, blGlyphRight, -1, 4)), gfx::TRect(2, 2, 80, 28));
  EXPECT_EQ(CaptionArea(Button({60, 80}, blGlyphTop, -1, 4)), gfx::TRect(2, 20, 58, 78));
  EXPECT_EQ(CaptionArea(Button({60, 80}, blGlyphBottom, -1, 4)), gfx::TRect(2, 2, 58, 60));
}

TEST(GlyphStrip, MissingPartsFallBackToTheUpPartAndDisabledIsEmbossed)
{
  EXPECT_EQ(ChooseGlyphPart(gpPressed, 4), (TGlyphPart{gpPressed, false}));
  EXPECT_EQ(ChooseGlyphPart(gpPressed, 2), (TGlyphPart{gpUp, false}));
  EXPECT_EQ(ChooseGlyphPart(gpDown, 3), (TGlyphPart{gpUp, false}));
  EXPECT_EQ(ChooseGlyphPart(gpDisabled, 2), (TGlyphPart{gpDisabled, false}));
  EXPECT_EQ(ChooseGlyphPart(gpDisabled, 1), (TGlyphPart{gpUp, true}));
  // A glyph that claims no parts is one part.
  EXPECT_EQ(ChooseGlyphPart(gpDisabled, 0), (TGlyphPart{gpUp, true}));

  EXPECT_EQ(GlyphPartRect({64, 16}, 4, 3), gfx::TRect(32, 0, 48, 16));
  // Fifty pixels in four parts: each part 12 wide, the last 2 columns unused.
  EXPECT_EQ(GlyphPartRect({50, 16}, 4, 4), gfx::TRect(36, 0, 48, 16));
}

} // namespace
