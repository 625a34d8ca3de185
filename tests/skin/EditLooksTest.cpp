// The rules of the skinned combo boxes, up-downs, date pickers and edits:
// which look a part shows, where buttons, glyphs and halves go, and which
// scroll bar a combo's list is given.
#include "skin/controls/EditLooks.h"

#include <gtest/gtest.h>

using namespace skin;

namespace {

gfx::TRect MirroredAcross(const gfx::TRect& r, int32_t width) { return {width - r.Right, r.Top, width - r.Left, r.Bottom}; }

} // namespace

TEST(ComboLooks, DisabledOverridesPressedOverridesHotOrFocus)
{
  EXPECT_EQ(ComboLook(false, false, false), plNormal);
  EXPECT_EQ(ComboLook(false, false, true), plHot);
  EXPECT_EQ(ComboLook(false, true, true), plPressed);
  EXPECT_EQ(ComboLook(true, true, true), plDisabled);
  EXPECT_EQ(ComboLook(true, false, false), plDisabled);
  // A mirrored strip of four holds the normal frame last.
  EXPECT_EQ(MirroredFrame(1, 4), 4);
  EXPECT_EQ(MirroredFrame(3, 4), 2);
  EXPECT_EQ(MirroredFrame(1, 0), 1);
}

TEST(ComboLooks, FlatButtonStaysOnTheOuterSideOfTheSystemButton)
{
  const gfx::TRect control(0, 0, 120, 21);
  // The column lies inside the two border rings, against the button's side.
  EXPECT_EQ(FlatComboColumn(control, 16, false), gfx::TRect(102, 2, 118, 19));
  EXPECT_EQ(FlatComboColumn(control, 16, true), gfx::TRect(2, 2, 18, 19));
  // A frame wider and taller than the system's button: as wide as the
  // frame, cut to the button's height, and held against the outer edge.
  const gfx::TRect system(102, 2, 118, 19);
  EXPECT_EQ(FlatComboButton(system, 17, 20, false), gfx::TRect(101, 2, 118, 19));
  EXPECT_EQ(FlatComboButton({2, 2, 18, 19}, 17, 20, true), gfx::TRect(2, 2, 19, 19));
  // An image lower than the button keeps its own height.
  EXPECT_EQ(FlatComboButton(system, 16, 12, false).Height(), 12);
}

TEST(ComboLooks, SunkenLayoutOfALeftHandButtonIsTheMirrorImage)
{
  const int32_t w = 120, h = 21, arrow = 16;
  const TSunkComboLayout right = SunkComboLayout(w, h, arrow, false);
  EXPECT_EQ(right.Button, gfx::TRect(w - arrow - 2, 0, w, h));
  EXPECT_EQ(right.Text, gfx::TRect(2, 2, w - arrow - 4, h - 2));
  // The glyph's area is the button less the outer border.
  EXPECT_EQ(right.Glyph, gfx::TRect(w - arrow - 2, 0, w - 2, h));
  // Text and button never overlap: 2 pixels lie between them.
  EXPECT_EQ(right.Button.Left - right.Text.Right, 2);

  const TSunkComboLayout left = SunkComboLayout(w, h, arrow, true);
  EXPECT_EQ(left.Button, MirroredAcross(right.Button, w));
  EXPECT_EQ(left.Text, MirroredAcross(right.Text, w));
  EXPECT_EQ(left.Glyph, MirroredAcross(right.Glyph, w));

  // A glyph is centred at its natural size; an odd remainder goes right.
  EXPECT_EQ(CentredIn(right.Glyph, 12, 12), gfx::TRect::Bounds(104, 4, 12, 12));
  EXPECT_EQ(CentredIn({0, 0, 11, 10}, 4, 4), gfx::TRect(3, 3, 7, 7));
  EXPECT_EQ(CentredIn({0, 0, 10, 10}, 14, 4), gfx::TRect(-2, 3, 12, 7));
}

TEST(ComboLooks, OnlyDropDownAndChildSimpleListsGetAScrollBar)
{
  constexpr uint32_t child = 0x40000000, popup = 0x80000000;
  EXPECT_EQ(ComboListBar(0x2, popup, true), clbDropDownList);  // drop-down
  EXPECT_EQ(ComboListBar(0x3, popup, true), clbDropDownList);  // drop-down list
  EXPECT_EQ(ComboListBar(0x1, child, false), clbSimpleList);
  // A simple combo whose list is a pop-up, or stands on the desktop, is left alone.
  EXPECT_EQ(ComboListBar(0x1, child | popup, false), clbNone);
  EXPECT_EQ(ComboListBar(0x1, child, true), clbNone);
  EXPECT_EQ(ComboListBar(0x1, 0, false), clbNone);
  // Higher style bits do not change the type.
  EXPECT_EQ(ComboListBar(0x1 | 0x40 | 0x200000, child, false), clbSimpleList);
  EXPECT_EQ(ComboListBar(0x0, popup, true), clbNone);
}

TEST(SpinLooks, HalvesShareTheRectangleAndNumberTheirFrames)
{
  for (const bool horizontal : {false, true})
    for (const gfx::TRect rect : {gfx::TRect(0, 0, 17, 21), gfx::TRect(0, 0, 16, 20), gfx::TRect(3, 4, 40, 11)}) {
      const auto halves = SpinHalves(rect, horizontal);
      EXPECT_EQ(halves[0].Rect.United(halves[1].Rect), rect);
      EXPECT_FALSE(halves[0].Rect.Intersects(halves[1].Rect));
      // The first half is the up (left) one and gets the smaller part.
      EXPECT_EQ(halves[0].Direction, horizontal ? sdLeft : sdUp);
      EXPECT_EQ(halves[1].Direction, horizontal ? sdRight : sdDown);
      const int32_t first = horizontal ? halves[0].Rect.Width() : halves[0].Rect.Height();
      const int32_t second = horizontal ? halves[1].Rect.Width() : halves[1].Rect.Height();
      EXPECT_LE(first, second);
      EXPECT_LE(second - first, 1);
    }
  // Frames 1-4 for up or left, 5-8 for down or right, in look order.
  EXPECT_EQ(SpinFrame(plNormal, sdUp), 1);
  EXPECT_EQ(SpinFrame(plHot, sdLeft), 4);
  EXPECT_EQ(SpinFrame(plNormal, sdDown), 5);
  EXPECT_EQ(SpinFrame(plPressed, sdRight), 6);
  EXPECT_EQ(SpinFrame(plHot, sdDown), 8);
}

TEST(SpinLooks, OnlyTheHalfUnderTheCursorShowsHotOrPressed)
{
  EXPECT_EQ(SpinHalfLook(false, true, true, false), plNormal);
  EXPECT_EQ(SpinHalfLook(true, false, true, false), plHot);
  EXPECT_EQ(SpinHalfLook(true, true, true, false), plPressed);
  EXPECT_EQ(SpinHalfLook(true, false, false, false), plNormal);
  EXPECT_EQ(SpinHalfLook(false, false, false, true), plDisabled);
  EXPECT_EQ(SpinHalfLook(true, true, true, true), plDisabled);
}

TEST(SpinLooks, EmbeddedUpDownKeepsThreePixelsFromItsEditsEdges)
{
  // An up-down filling the client area of a 120 x 21 edit with a 2-pixel
  // edge: one pixel is missing at the top, right and bottom.
  const gfx::TRect own(0, 0, 16, 17);
  EXPECT_EQ(EmbeddedSpinRect(own, gfx::TRect::Bounds(102, 2, 16, 17), {120, 21}), gfx::TRect(0, 1, 15, 16));
  // Standing on the edit's very edges, it loses three at each.
  EXPECT_EQ(EmbeddedSpinRect({0, 0, 16, 21}, {104, 0, 120, 21}, {120, 21}), gfx::TRect(0, 3, 13, 18));
  // Well inside, it keeps its rectangle; its left edge never moves.
  EXPECT_EQ(EmbeddedSpinRect(own, gfx::TRect::Bounds(50, 3, 16, 15), {120, 21}), own);
}

TEST(SpinLooks, LineArrowsPointTheirWayAndStayInTheirHalf)
{
  const auto halves = SpinHalves({0, 0, 17, 21}, false);
  for (const TSpinHalf& half : halves) {
    const auto lines = SpinArrowLines(half.Rect, half.Direction);
    ASSERT_EQ(lines.size(), 3u);
    for (const TLine& line : lines) {
      EXPECT_EQ(line.From.Y, line.To.Y);
      EXPECT_TRUE(half.Rect.Contains(line.From));
      EXPECT_TRUE(half.Rect.Contains(gfx::TPoint(line.To.X - 1, line.To.Y)));
      // Centred across the half.
      EXPECT_EQ(line.From.X + line.To.X, 2 * (half.Rect.Left + half.Rect.Width() / 2) + 1);
    }
    // The one-pixel tip is on the side the arrow points to; it starts 2
    // pixels above the half's middle.
    const TLine& tip = half.Direction == sdUp ? lines.front() : lines.back();
    EXPECT_EQ(tip.To.X - tip.From.X, 1);
    EXPECT_EQ(lines.front().From.Y, half.Rect.Top + half.Rect.Height() / 2 - 2);
  }
  const gfx::TRect right(8, 0, 16, 16);
  const auto sideways = SpinArrowLines(right, sdRight);
  EXPECT_EQ(sideways.back(), (TLine{{13, 8}, {13, 9}}));
  EXPECT_EQ(sideways.front(), (TLine{{11, 6}, {11, 11}}));
}

TEST(PickerLooks, ArrowCoversTheClientsOuterEdgeAndLeavesTheBorder)
{
  // A picker 140 x 24 with a 2-pixel edge: its client area is 136 x 20.
  EXPECT_EQ(PickerArrowBounds({140, 24}, 16, false), gfx::TRect(120, 0, 136, 20));
  EXPECT_EQ(PickerArrowBounds({140, 24}, 16, true), gfx::TRect(2, 0, 18, 20));
}
