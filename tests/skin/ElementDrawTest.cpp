// Element images and draws: frame choice, nine-part scaling with its edge
// cases, tiling, and the transparent key.
#include "skin/controls/ElementDraw.h"

#include "framework/Bitmap.h"
#include "gfx/GdiConstants.h"

#include <gtest/gtest.h>

namespace {

using framework::TBitmap;
using gfx::TPixel;
using skin::ElementImage;
using skin::TElementMargins;

// Every pixel of the strip tells where it came from: x in the high bits,
// y in the low ones, never magenta.
TPixel Tag(int32_t x, int32_t y) { return TPixel(((x + 1) << 10) | (y + 1)); }

void FillTagged(TBitmap& b)
{
  for (int32_t y = 0; y < b.Height(); ++y)
    for (int32_t x = 0; x < b.Width(); ++x)
      b.ScanLine(y)[x] = Tag(x, y);
}

TPixel At(const TBitmap& b, int32_t x, int32_t y) { return b.ScanLine(y)[x] & 0xFFFFFF; }

TEST(StripFrame, FramesSideBySideAndStacked)
{
  EXPECT_EQ(skin::StripFrameRect(160, 20, false, 4, 2), gfx::TRect(40, 0, 80, 20));
  EXPECT_EQ(skin::StripFrameRect(30, 90, true, 3, 3), gfx::TRect(0, 60, 30, 90));
  // A remainder is lost at the strip's end.
  EXPECT_EQ(skin::StripFrameRect(103, 10, false, 5, 5), gfx::TRect(80, 0, 100, 10));
  // No frame count means one frame, never a division by zero.
  EXPECT_EQ(skin::StripFrameRect(40, 10, false, 0, 1), gfx::TRect(0, 0, 40, 10));
  EXPECT_EQ(skin::StripFrameRect(40, 10, true, -3, 1), gfx::TRect(0, 0, 40, 10));
}

TEST(ElementImage, CornersKeepTheirSizeAndEdgesStretch)
{
  TBitmap strip(20, 10); // two frames of 10 x 10
  FillTagged(strip);
  const TElementMargins m{2, 3, 4, 1};
  const auto img = ElementImage(30, 20, strip, m, false, false, 2, 2);
  ASSERT_EQ(img->Width(), 30);
  ASSERT_EQ(img->Height(), 20);
  // Frame 2 starts at x = 10.
  EXPECT_EQ(At(*img, 0, 0), Tag(10, 0));    // top-left corner
  EXPECT_EQ(At(*img, 1, 2), Tag(11, 2));
  EXPECT_EQ(At(*img, 29, 0), Tag(19, 0));   // top-right corner
  EXPECT_EQ(At(*img, 26, 2), Tag(16, 2));
  EXPECT_EQ(At(*img, 0, 19), Tag(10, 9));   // bottom-left corner (one row)
  EXPECT_EQ(At(*img, 29, 19), Tag(19, 9));  // bottom-right corner
  // Left edge: source rows 3..8 stretched over target rows 3..18.
  EXPECT_EQ(At(*img, 0, 3), Tag(10, 3));
  EXPECT_EQ(At(*img, 0, 18), Tag(10, 8));
  // Top edge: source columns 12..15 stretched over target columns 2..25.
  EXPECT_EQ(At(*img, 2, 0), Tag(12, 0));
  EXPECT_EQ(At(*img, 25, 0), Tag(15, 0));
  // Centre stretched both ways.
  EXPECT_EQ(At(*img, 2, 3), Tag(12, 3));
  EXPECT_EQ(At(*img, 25, 18), Tag(15, 8));
}

TEST(ElementImage, MarginsThatDoNotFitAreDroppedInTheirDirectionOnly)
{
  TBitmap strip(4, 10);
  FillTagged(strip);
  const auto img = ElementImage(5, 20, strip, {3, 2, 4, 2}, false, false, 1, 1);
  // Left and right margins are gone: the top edge spans the whole width,
  // from the frame's first column to its last.
  EXPECT_EQ(At(*img, 0, 0), Tag(0, 0));
  EXPECT_EQ(At(*img, 4, 1), Tag(3, 1));
  // The bottom margin still applies.
  EXPECT_EQ(At(*img, 0, 19), Tag(0, 9));
  EXPECT_EQ(At(*img, 4, 18), Tag(3, 8));
  // Centre rows 2..7 stretched over 2..17.
  EXPECT_EQ(At(*img, 0, 2), Tag(0, 2));
  EXPECT_EQ(At(*img, 4, 17), Tag(3, 7));

  TBitmap wide(10, 4);
  FillTagged(wide);
  const auto flat = ElementImage(20, 3, wide, {2, 3, 3, 2}, false, false, 1, 1);
  // Too low for top + bottom: those go, the corners with them; the side
  // margins remain at their own width.
  EXPECT_EQ(At(*flat, 0, 0), Tag(0, 0));
  EXPECT_EQ(At(*flat, 1, 0), Tag(1, 0));
  EXPECT_EQ(At(*flat, 2, 0), Tag(2, 0));
  EXPECT_EQ(At(*flat, 19, 0), Tag(9, 0));
  EXPECT_EQ(At(*flat, 17, 0), Tag(7, 0));
}

TEST(ElementImage, TiledCentreRepeatsAtItsOwnSize)
{
  // Frame 24 x 6 with margins 2 left, 2 right: a centre 20 wide.
  TBitmap strip(24, 6);
  FillTagged(strip);
  const auto img = ElementImage(54, 6, strip, {2, 0, 2, 0}, false, true, 1, 1);
  // Target centre is 50 wide: two whole copies and 10 columns of a third.
  for (int32_t x = 0; x < 50; ++x)
    EXPECT_EQ(At(*img, 2 + x, 3), Tag(2 + x % 20, 3)) << "column " << x;
  // Edges are never tiled.
  EXPECT_EQ(At(*img, 53, 0), Tag(23, 0));

  // Rows tile too, cut at the bottom.
  TBitmap block(4, 4);
  FillTagged(block);
  const auto tall = ElementImage(4, 10, block, {}, false, true, 1, 1);
  EXPECT_EQ(At(*tall, 1, 4), Tag(1, 0));
  EXPECT_EQ(At(*tall, 1, 9), Tag(1, 1));
}

TEST(ElementImage, StackedFramesAndCountBelowOne)
{
  TBitmap strip(8, 12); // three stacked frames of 8 x 4
  FillTagged(strip);
  const auto img = ElementImage(8, 4, strip, {}, true, false, 3, 3);
  EXPECT_EQ(At(*img, 0, 0), Tag(0, 8));
  EXPECT_EQ(At(*img, 7, 3), Tag(7, 11));

  // A frame count of 0 draws the whole strip as one frame.
  const auto whole = ElementImage(8, 12, strip, {}, false, false, 0, 1);
  EXPECT_EQ(At(*whole, 7, 11), Tag(7, 11));
}

TEST(ElementDraw, OpaqueAndTransparentPuts)
{
  TBitmap strip(4, 4);
  FillTagged(strip);
  strip.ScanLine(1)[1] = 0xFF00FF; // a magenta hole
  TBitmap target(10, 10);
  target.Context().FillRect(target.Pixmap().Bounds(), 0x123456);

  skin::ElementDraw(target.Context(), {3, 3, 7, 7}, strip, false, false, true, 1, 1, {});
  EXPECT_EQ(At(target, 3, 3), Tag(0, 0));
  EXPECT_EQ(At(target, 4, 4), 0x123456u); // under the hole
  EXPECT_EQ(At(target, 2, 2), 0x123456u); // outside the rectangle

  skin::ElementDraw(target.Context(), {3, 3, 7, 7}, strip, false, false, false, 1, 1, {});
  EXPECT_EQ(At(target, 4, 4), 0xFF00FFu); // copied, hole and all
}

TEST(ElementDraw, FullyMagentaImageAndInvertedRectangleLeaveTargetAlone)
{
  TBitmap magenta(6, 6);
  magenta.Context().FillRect(magenta.Pixmap().Bounds(), 0xFF00FF);
  TBitmap target(8, 8);
  FillTagged(target);
  skin::ElementDraw(target.Context(), {0, 0, 8, 8}, magenta, false, true, true, 1, 1, {1, 1, 1, 1});
  for (int32_t y = 0; y < 8; ++y)
    for (int32_t x = 0; x < 8; ++x)
      ASSERT_EQ(At(target, x, y), Tag(x, y));

  TBitmap strip(4, 4);
  skin::ElementDraw(target.Context(), {5, 5, 2, 7}, strip, false, false, false, 1, 1, {});
  EXPECT_EQ(At(target, 3, 5), Tag(3, 5));
}

} // namespace
