// The bar, shred, blind, square and shaped reveals, and pixelate, drawn by our
// pixel layer agree with the platform: each sampled frame is composed once
// through ComposeEffectFrame and once with the platform's own region and
// transfer calls (ExtCreateRegion, CreatePolygonRgn, CreateEllipticRgn,
// CreateRoundRectRgn, CombineRgn, SelectClipRgn, BitBlt, StretchBlt) on DIB
// sections, and the frames are compared pixel for pixel.
#include <windows.h>

#include "tests/win32/DibSection.h"

#include "effects/BarEffects.h"
#include "effects/EffectFrame.h"
#include "effects/EffectTable.h"
#include "effects/PixelCore.h"
#include "effects/PixelEffects.h"
#include "effects/ShapeEffects.h"
#include "framework/Bitmap.h"
#include "gfx/Random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

using agreement::kColourMask;
using agreement::Tagged;
using agreement::TDib;

// One platform region for one step of a recipe; nullptr where the platform
// makes none.
HRGN PlatformStep(const effects::TShapeStep& step)
{
  switch (step.Kind) {
  case effects::TShapeStep::skRects: {
    // RGNDATA as the builder fills it: header, the rectangles as added, and
    // the running bounds of every edge taken on its own.
    std::vector<uint8_t> block(sizeof(RGNDATAHEADER) + step.Rects.size() * sizeof(RECT) + 4);
    auto* data = reinterpret_cast<RGNDATA*>(block.data());
    RECT bounds{INT_MAX, INT_MAX, -INT_MAX, -INT_MAX};
    auto* rects = reinterpret_cast<RECT*>(data->Buffer);
    for (size_t i = 0; i < step.Rects.size(); ++i) {
      const gfx::TRect& r = step.Rects[i];
      rects[i] = RECT{r.Left, r.Top, r.Right, r.Bottom};
      bounds.left = std::min<LONG>(bounds.left, r.Left);
      bounds.top = std::min<LONG>(bounds.top, r.Top);
      bounds.right = std::max<LONG>(bounds.right, r.Right);
      bounds.bottom = std::max<LONG>(bounds.bottom, r.Bottom);
    }
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = DWORD(step.Rects.size());
    data->rdh.nRgnSize = DWORD(sizeof(RECT));
    data->rdh.rcBound = bounds;
    return ExtCreateRegion(nullptr, DWORD(sizeof(RGNDATAHEADER) + step.Rects.size() * sizeof(RECT)), data);
  }
  case effects::TShapeStep::skPolygon: {
    std::vector<POINT> points;
    for (const gfx::TPoint& p : step.Points)
      points.push_back(POINT{p.X, p.Y});
    return CreatePolygonRgn(points.data(), int(points.size()), WINDING);
  }
  case effects::TShapeStep::skEllipse:
    return CreateEllipticRgn(step.Box.Left, step.Box.Top, step.Box.Right, step.Box.Bottom);
  case effects::TShapeStep::skRoundRect:
    return CreateRoundRectRgn(step.Box.Left, step.Box.Top, step.Box.Right, step.Box.Bottom, step.EllipseWidth,
                              step.EllipseHeight);
  case effects::TShapeStep::skRectangle:
    return CreateRectRgn(step.Box.Left, step.Box.Top, step.Box.Right, step.Box.Bottom);
  }
  return nullptr;
}

// Reveals the picture through the recipe's region, made and combined by the
// platform; every merged region is deleted right after merging.
void RevealWithGdi(const effects::TShapeRecipe& recipe, TDib& screen, TDib& picture, int32_t W, int32_t H)
{
  if (recipe.empty())
    return;
  if (recipe.front().Kind == effects::TShapeStep::skRects && recipe.front().Rects.empty())
    return;
  HRGN region = PlatformStep(recipe.front());
  for (size_t i = 1; i < recipe.size() && region; ++i) {
    HRGN other = PlatformStep(recipe[i]);
    if (!other) {
      // A shape the platform cannot make (a polygon of fewer than three
      // points) is empty: it adds nothing, and an intersection with it is
      // empty too.
      if (recipe[i].Mode == RGN_AND)
        SetRectRgn(region, 0, 0, 0, 0);
      continue;
    }
    CombineRgn(region, region, other, recipe[i].Mode);
    DeleteObject(other);
  }
  if (!region)
    return;
  SelectClipRgn(screen.DC(), region);
  BitBlt(screen.DC(), 0, 0, W, H, picture.DC(), 0, 0, SRCCOPY);
  SelectClipRgn(screen.DC(), nullptr);
  DeleteObject(region);
}

void PixelateWithGdi(TDib& screen, TDib& picture, int32_t W, int32_t H, int32_t X, int32_t Y, int32_t progress)
{
  const effects::TPixelateStep step = effects::PixelateStep(W, H, X, Y, progress);
  GdiFlush();
  if (step.Blend) {
    for (int32_t y = std::max(step.DY, 0); y < std::min(step.DY + step.SH, H); ++y)
      for (int32_t x = std::max(step.DX, 0); x < std::min(step.DX + step.SW, W); ++x)
        screen.At(x, y) = effects::pixel::BlendPixel(screen.At(x, y), picture.At(x, y), uint32_t(step.BlendWeight));
  }
  // The platform promises nothing for a stretch of a bitmap onto itself, so
  // the old frame is read from a copy.
  TDib copy(W, H);
  BitBlt(copy.DC(), 0, 0, W, H, screen.DC(), 0, 0, SRCCOPY);
  StretchBlt(screen.DC(), -2 * step.DX, -2 * step.DY, W + 4 * step.DX, H + 4 * step.DY,
             step.FromPicture ? picture.DC() : copy.DC(), step.DX, step.DY, step.SW, step.SH, SRCCOPY);
  GdiFlush();
}

class Effects2Agreement : public ::testing::Test {
protected:
  // Composes every style at every size and progress both ways and counts the
  // frames compared; the generator is seeded alike for both, so the shreds'
  // and speckles' jitter is the same.
  int CompareStyles(const std::vector<effects::TShowStyle>& styles, bool pixelate = false)
  {
    const std::pair<int32_t, int32_t> sizes[] = {{40, 30}, {31, 47}, {7, 5}, {1, 9}, {64, 3}, {123, 77}};
    int compared = 0;
    for (const auto& [w, h] : sizes) {
      framework::TBitmap oldImage(w, h), newImage(w, h), frame(w, h);
      for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
          oldImage.Pixmap().At(x, y) = Tagged(false, x, y);
          newImage.Pixmap().At(x, y) = Tagged(true, x, y);
        }
      for (effects::TShowStyle style : styles)
        for (int32_t progress : {1, 2, 10, 25, 41, 50, 63, 77, 99}) {
          const uint32_t seed = 0xA5A5u + uint32_t(progress) * 977u + style;
          gfx::RandSeed = seed;
          effects::ComposeEffectFrame(frame, oldImage, newImage, style, progress);

          TDib screen(w, h), picture(w, h);
          EXPECT_TRUE(screen.Valid() && picture.Valid());
          for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x) {
              screen.At(x, y) = Tagged(false, x, y);
              picture.At(x, y) = Tagged(true, x, y);
            }
          const effects::TProgressSize size = effects::ProgressSize(w, h, progress);
          gfx::RandSeed = seed;
          if (pixelate) {
            PixelateWithGdi(screen, picture, w, h, size.X, size.Y, progress);
          } else {
            effects::TShapeRecipe recipe =
              effects::BarFamilyRecipe(style, w, h, size.X, size.Y, progress, newImage.Handle());
            if (recipe.empty())
              recipe = effects::ShapeRecipe(style, w, h, size.X, size.Y, progress, newImage.Handle());
            EXPECT_FALSE(recipe.empty()) << "style " << int(style);
            RevealWithGdi(recipe, screen, picture, w, h);
          }
          GdiFlush();

          int mismatches = 0;
          char first[96] = "";
          for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x) {
              const uint32_t ours = frame.Pixmap().At(x, y) & kColourMask;
              const uint32_t theirs = screen.At(x, y) & kColourMask;
              if (ours != theirs && mismatches++ == 0)
                std::snprintf(first, sizeof first, "(%d, %d): ours %06x, platform %06x", int(x), int(y),
                              unsigned(ours), unsigned(theirs));
            }
          // Frames that show both images are the ones that test the shapes;
          // the agreement of frames left untouched would prove nothing.
          bool anyNew = false, anyOld = false, changed = false;
          for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x) {
              (screen.At(x, y) & (1u << 22) ? anyNew : anyOld) = true;
              changed = changed || (screen.At(x, y) & kColourMask) != Tagged(false, x, y);
            }
          mixedFrames_ += anyNew && anyOld;
          changedFrames_ += changed;
          EXPECT_EQ(mismatches, 0) << "style " << int(style) << " \"" << effects::StyleName(style) << "\" " << w
                                   << "x" << h << " at " << progress << ", first at " << first;
          ++compared;
        }
    }
    return compared;
  }

  int mixedFrames_ = 0;
  int changedFrames_ = 0;
};

TEST_F(Effects2Agreement, BarsCrissCrossShredsAndSpeckles)
{
  const std::vector<effects::TShowStyle> styles = {60, 62, 64, 71, 75, 86, 91, 96, 98, 99,
                                                   65, 68, 78, 100, 108, 109, 124, 127};
  EXPECT_EQ(CompareStyles(styles), int(styles.size()) * 6 * 9);
  EXPECT_GT(mixedFrames_, (int(styles.size()) * 6 * 9) / 3);
}

TEST_F(Effects2Agreement, SquaresBlindsAndRectangles)
{
  const std::vector<effects::TShowStyle> styles = {128, 137, 138, 139, 140, 141, 142, 143, 146, 147, 148, 149};
  EXPECT_EQ(CompareStyles(styles), int(styles.size()) * 6 * 9);
  EXPECT_GT(mixedFrames_, (int(styles.size()) * 6 * 9) / 3);
}

TEST_F(Effects2Agreement, CurvedAndElliptic)
{
  const std::vector<effects::TShowStyle> styles = {58, 59, 69, 70, 80, 81, 82, 83, 84, 85};
  EXPECT_EQ(CompareStyles(styles), int(styles.size()) * 6 * 9);
  EXPECT_GT(mixedFrames_, (int(styles.size()) * 6 * 9) / 3);
}

TEST_F(Effects2Agreement, PolygonsUnionsAndExclusiveOr)
{
  const std::vector<effects::TShowStyle> styles = {110, 113, 114, 116, 117, 154, 157, 158, 159,
                                                   160, 161, 162, 163, 165, 166, 167};
  EXPECT_EQ(CompareStyles(styles), int(styles.size()) * 6 * 9);
  EXPECT_GT(mixedFrames_, (int(styles.size()) * 6 * 9) / 3);
}

TEST_F(Effects2Agreement, SweepsRotatingShapesAndShredGrids)
{
  const std::vector<effects::TShowStyle> styles = {144, 145, 150, 151, 152, 118, 153, 164};
  EXPECT_EQ(CompareStyles(styles), int(styles.size()) * 6 * 9);
  EXPECT_GT(mixedFrames_, (int(styles.size()) * 6 * 9) / 3);
}

TEST_F(Effects2Agreement, PixelateStretchesLikeThePlatform)
{
  EXPECT_EQ(CompareStyles({168}, true), 6 * 9);
  EXPECT_GT(changedFrames_, (6 * 9) / 2);
}

} // namespace
