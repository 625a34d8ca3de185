#include "TestHost.h"
#include "TestPicture.h"

#include "effects/EffectTable.h"
#include "framework/Bitmap.h"
#include "framework/Canvas.h"
#include "gfx/DrawContext.h"
#include "transition/LumettaCore.h"
#include "transition/PictureAdapter.h"
#include "framework/Picture.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

using namespace transition;
using namespace transition::test;
using framework::TBitmap;
using gfx::TPixel;
using gfx::TRect;

namespace {

constexpr TPixel kColor = 0x0000FF;      // the control's colour (clBlue)
constexpr TPixel kSentinel = 0x123456;

TPixel Distinct(int32_t x, int32_t y)
{
  return TPixel(0x100000 + (y << 8) + x);
}

class TTestCore : public TLumettaCore {
public:
  TTestCore(ITransitionHost& host, ILumettaPicture& picture, ILumettaPicture& bgPicture)
    : TLumettaCore(host, picture, bgPicture)
  {
    SetColorValue(gfx::clBlue);
    SetThreaded(false);
  }
  using TLumettaCore::SetClientRect;
};

// Compares two pixel areas; reports the first difference.
::testing::AssertionResult SamePixels(const gfx::TPixmap& a, const gfx::TPixmap& b)
{
  if (a.Width() != b.Width() || a.Height() != b.Height())
    return ::testing::AssertionFailure() << "sizes differ: " << a.Width() << "x" << a.Height() << " and "
                                         << b.Width() << "x" << b.Height();
  for (int32_t y = 0; y < a.Height(); ++y)
    for (int32_t x = 0; x < a.Width(); ++x)
      if (a.At(x, y) != b.At(x, y))
        return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << "): " << std::hex << a.At(x, y)
                                             << " against " << b.At(x, y);
  return ::testing::AssertionSuccess();
}

struct CoreFixture : ::testing::Test {
  TTestHost host;
  TTestPicture picture;
  TTestPicture background;
  TTestCore core{host, picture, background};

  CoreFixture() { host.Target = &core; }
  ~CoreFixture() override { host.Target = nullptr; }

  // Starts a transition that is held at progress 0 by the hand.
  void Hold()
  {
    core.SetManual(true);
    core.Execute();
    ASSERT_TRUE(core.Busy());
  }
  // Plays a whole transition to its end.
  void Play()
  {
    core.SetManual(false);
    core.Execute();
    ASSERT_FALSE(core.Busy());
  }
};

// ---------------------------------------------------------------------------
// Geometry

struct Geometry : CoreFixture {
  Geometry()
  {
    core.SetClientRect({0, 0, 400, 400});
    picture.MakeSolid(200, 100, 1);
  }
};

TEST_F(Geometry, ProportionalOnlyShrinksAndStretchEnlarges)
{
  Hold();
  EXPECT_EQ(core.DisplayRect(), TRect(0, 0, 200, 100)) << "natural size";
  core.SetProportional(true);
  EXPECT_EQ(core.DisplayRect(), TRect(0, 0, 200, 100)) << "proportional alone never enlarges";
  core.SetStretch(true);
  EXPECT_EQ(core.DisplayRect(), TRect(0, 0, 400, 200));
  core.SetProportional(false);
  EXPECT_EQ(core.DisplayRect(), TRect(0, 0, 400, 400));
  core.SetStretch(false);
  core.SetCenter(true);
  EXPECT_EQ(core.DisplayRect(), TRect(100, 150, 300, 250));
}

TEST_F(Geometry, ProportionalShrinksAPictureThatDoesNotFit)
{
  picture.MakeSolid(800, 200, 1);
  core.SetProportional(true);
  Hold();
  EXPECT_EQ(core.DisplayRect(), TRect(0, 0, 400, 100));
  core.Stop();

  // Quotients that only just differ: the limit decides which side is
  // rounded. A height quotient that is the greater (400/800 against 400/801)
  // makes the width the limit: 400 wide, 800 * 400 / 801 = 399.5 rounds to
  // 400 high (limited by the height it would be 401 wide).
  picture.MakeSolid(801, 800, 1);
  Hold();
  EXPECT_EQ(core.DisplayRect(), TRect(0, 0, 400, 400));
  core.Stop();
  // The other way round the height is the limit: 400 high, 400 wide (limited
  // by the width it would be 401 high).
  picture.MakeSolid(800, 801, 1);
  Hold();
  EXPECT_EQ(core.DisplayRect(), TRect(0, 0, 400, 400));
  // Quotients that are exactly equal give the same rectangle either way.
}

TEST_F(Geometry, FrameWidthKeepsAMarginAndATinyControlGivesNoMirror)
{
  Hold();
  core.SetFrameWidth(5);
  EXPECT_EQ(core.DisplayRect(), TRect(5, 5, 205, 105));
  core.SetStretch(true);
  EXPECT_EQ(core.DisplayRect(), TRect(5, 5, 395, 395));
  core.SetFrameWidth(-3);
  EXPECT_EQ(core.FrameWidth(), 0);

  core.SetFrameWidth(5);
  core.SetClientRect({0, 0, 6, 6});
  core.Resized();
  EXPECT_GE(core.DisplayRect().Width(), 0);
  EXPECT_GE(core.DisplayRect().Height(), 0);
  EXPECT_TRUE(core.DisplayRect().IsEmpty());
}

// ---------------------------------------------------------------------------
// Setters

TEST_F(CoreFixture, StyleNamesGoThroughTheRegistry)
{
  EXPECT_EQ(core.StyleName(), "Appear and Contract to middle");
  core.SetStyleName("cUsToM");
  EXPECT_EQ(core.Style(), 0);
  core.SetStyleName("no such effect");
  EXPECT_EQ(core.Style(), 0);
  core.SetStyleName("EXPAND FROM BOTTOM");
  EXPECT_EQ(core.Style(), 18);
  core.SetStyle(33);
  EXPECT_EQ(core.StyleName(), "Expand from bottom");

  struct TList {
    std::vector<std::string> Lines;
    int Updates = 0;
    void BeginUpdate() { ++Updates; }
    void EndUpdate() { --Updates; }
    void Add(const std::string& line) { Lines.push_back(line); }
  } list;
  core.GetStyleNames(list);
  ASSERT_EQ(list.Lines.size(), 176u);
  EXPECT_EQ(list.Lines.front(), "Expand from right");
  EXPECT_EQ(list.Lines.back(), "Slide out from top");
  EXPECT_EQ(list.Updates, 0);
}

TEST_F(CoreFixture, LayoutChangesRepaintOnlyWhenAnImageIsShown)
{
  picture.MakeSolid(10, 10, 1);
  const int before = host.Invalidations;
  core.SetCenter(true);
  core.SetFrameWidth(3);
  core.SetFrameColor(gfx::clRed);
  EXPECT_EQ(host.Invalidations, before) << "nothing shown yet";

  Play();
  int count = host.Invalidations;
  core.SetStretch(true);
  EXPECT_EQ(host.Invalidations, ++count);
  core.SetStretch(true);
  EXPECT_EQ(host.Invalidations, count) << "a write of the current value does nothing";
  core.SetFrameColor(gfx::clLime);
  EXPECT_EQ(host.Invalidations, ++count);
  core.SetFrameWidth(0);
  EXPECT_EQ(host.Invalidations, ++count);
  core.SetFrameColor(gfx::clYellow);
  EXPECT_EQ(host.Invalidations, count) << "no frame to repaint";
}

TEST_F(CoreFixture, ClearOnlyOutsideATransition)
{
  picture.MakeSolid(10, 10, 1);
  Hold();
  core.Clear();
  EXPECT_FALSE(core.DisplayImage().Empty());
  core.Stop();
  core.Clear();
  EXPECT_TRUE(core.DisplayImage().Empty());
  EXPECT_EQ(core.DisplayRect(), TRect());
  EXPECT_EQ(core.SourceRect(), TRect());
  EXPECT_FALSE(core.CanPaintByStretch({0, 0, 1, 1}));
}

// ---------------------------------------------------------------------------
// Background

struct Background : CoreFixture {
  TBitmap target{10, 7};
  Background()
  {
    core.SetClientRect({0, 0, 10, 7});
    target.Pixmap().Fill(kSentinel);
  }
  TPixel At(int32_t x, int32_t y) { return target.Pixmap().At(x, y); }
};

TEST_F(Background, EmptyPictureFillsWithColour)
{
  core.PaintBackground(target.Canvas(), {0, 0, 10, 7});
  EXPECT_EQ(At(0, 0), kColor);
  EXPECT_EQ(At(9, 6), kColor);
  background.Make(0, 0, Distinct);
  core.PaintBackground(target.Canvas(), {0, 0, 10, 7});
  EXPECT_EQ(At(5, 5), kColor) << "an empty graphic paints as no background";
}

TEST_F(Background, TilesStayAlignedWhenOnlyAPartIsRepainted)
{
  background.Make(3, 2, Distinct);
  core.PaintBackground(target.Canvas(), {0, 0, 10, 7});
  for (int32_t y = 0; y < 7; ++y)
    for (int32_t x = 0; x < 10; ++x)
      ASSERT_EQ(At(x, y), Distinct(x % 3, y % 2)) << x << ", " << y;

  target.Pixmap().Fill(kSentinel);
  background.Draws = 0;
  gfx::TDCHandle dc = target.Canvas().Handle();
  gfx::IntersectClipRect(dc, 4, 3, 9, 6);
  core.PaintBackground(target.Canvas(), {0, 0, 10, 7});
  for (int32_t y = 0; y < 7; ++y)
    for (int32_t x = 0; x < 10; ++x) {
      const bool inside = x >= 4 && x < 9 && y >= 3 && y < 6;
      ASSERT_EQ(At(x, y), inside ? Distinct(x % 3, y % 2) : kSentinel) << x << ", " << y;
    }
  EXPECT_EQ(background.Draws, 4) << "only the tiles that meet the repainted part";
  EXPECT_EQ(dc->SaveDepth(), 0);
  EXPECT_EQ(background.Detached, background.Attached);
}

TEST_F(Background, StretchedAndCentred)
{
  background.Make(2, 2, Distinct);
  core.SetBgMode(bmStretched);
  core.PaintBackground(target.Canvas(), {0, 0, 10, 7});
  EXPECT_EQ(At(0, 0), Distinct(0, 0));
  EXPECT_EQ(At(9, 6), Distinct(1, 1));

  target.Pixmap().Fill(kSentinel);
  core.SetBgMode(bmCentered);
  core.PaintBackground(target.Canvas(), {0, 0, 10, 7});
  // (10 - 2) div 2 = 4, (7 - 2) div 2 = 2.
  EXPECT_EQ(At(4, 2), Distinct(0, 0));
  EXPECT_EQ(At(5, 3), Distinct(1, 1));
  EXPECT_EQ(At(3, 2), kColor);
  EXPECT_EQ(At(0, 0), kColor);
  EXPECT_EQ(At(9, 6), kColor);
  EXPECT_TRUE(target.Canvas().Handle()->ClipRegion() == std::nullopt) << "the clip is restored";

  // Larger than the control: cut evenly on both sides, no colour shows.
  target.Pixmap().Fill(kSentinel);
  background.Make(14, 11, Distinct);
  core.PaintBackground(target.Canvas(), {0, 0, 10, 7});
  EXPECT_EQ(At(0, 0), Distinct(2, 2));
  EXPECT_EQ(At(9, 6), Distinct(11, 8));
}

// ---------------------------------------------------------------------------
// Painting the content

TEST_F(CoreFixture, ContentIsTheImageItsFrameAndTheBackgroundAround)
{
  core.SetClientRect({0, 0, 12, 9});
  core.SetFrameWidth(2);
  core.SetFrameColor(gfx::clRed);
  picture.Make(4, 2, Distinct);
  Play();
  ASSERT_EQ(core.DisplayRect(), TRect(2, 2, 6, 4));
  ASSERT_TRUE(SamePixels(core.DisplayImage().Pixmap(), picture.Bitmap->Pixmap())) << "the end shows the picture";

  TBitmap target(12, 9);
  target.Pixmap().Fill(kSentinel);
  core.PaintContent(target.Canvas());
  for (int32_t y = 0; y < 9; ++y)
    for (int32_t x = 0; x < 12; ++x) {
      TPixel expected = kColor;
      if (x >= 2 && x < 6 && y >= 2 && y < 4)
        expected = Distinct(x - 2, y - 2);
      else if (x < 8 && y < 6)
        expected = 0xFF0000; // clRed as a pixel
      ASSERT_EQ(target.Pixmap().At(x, y), expected) << x << ", " << y;
    }
  EXPECT_EQ(target.Canvas().Handle()->SaveDepth(), 0);

  EXPECT_TRUE(core.CanPaintByStretch({2, 2, 6, 4}));
  EXPECT_TRUE(core.CanPaintByStretch({3, 2, 4, 3}));
  EXPECT_FALSE(core.CanPaintByStretch({1, 2, 6, 4}));
}

TEST_F(CoreFixture, StretchedContentScalesTheImage)
{
  core.SetClientRect({0, 0, 8, 4});
  core.SetStretch(true);
  picture.Make(4, 2, Distinct);
  Play();
  TBitmap target(8, 4);
  core.PaintContent(target.Canvas());
  EXPECT_EQ(target.Pixmap().At(0, 0), Distinct(0, 0));
  EXPECT_EQ(target.Pixmap().At(7, 3), Distinct(3, 1));
  EXPECT_EQ(target.Pixmap().At(2, 1), Distinct(1, 0));
}

// ---------------------------------------------------------------------------
// Setting up a transition

struct Setup : CoreFixture {
  Setup()
  {
    core.SetClientRect({0, 0, 10, 10});
    core.SetCenter(true);
    background.Make(3, 4, Distinct);
    picture.MakeSolid(4, 4, 0x00AA00);
  }
};

TEST_F(Setup, FirstTransitionStartsFromTheBackgroundUnderTheImage)
{
  Hold();
  ASSERT_TRUE(core.OldIsBackground());
  ASSERT_EQ(core.DisplayRect(), TRect(3, 3, 7, 7));
  const TBitmap* old = core.OldImage();
  ASSERT_NE(old, nullptr);
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 0; x < 4; ++x)
      ASSERT_EQ(old->Pixmap().At(x, y), Distinct((x + 3) % 3, (y + 3) % 4)) << x << ", " << y;
  EXPECT_TRUE(SamePixels(core.DisplayImage().Pixmap(), old->Pixmap()));
  EXPECT_TRUE(SamePixels(core.NewImage()->Pixmap(), picture.Bitmap->Pixmap()));
  EXPECT_EQ(picture.Detached, picture.Attached);
  EXPECT_EQ(core.Progress(), 0);
}

TEST_F(Setup, OverDrawStartsFromTheShownImageOfTheSameSize)
{
  Play();
  picture.MakeSolid(4, 4, 0x0000CC);
  Hold();
  EXPECT_FALSE(core.OldIsBackground());
  EXPECT_EQ(core.OldImage()->Pixmap().At(1, 1), 0x00AA00u);
  core.Stop();

  core.SetOverDraw(false);
  Hold();
  EXPECT_TRUE(core.OldIsBackground());
  core.Stop();

  core.SetOverDraw(true);
  picture.MakeSolid(5, 4, 0x0000CC);
  Hold();
  EXPECT_TRUE(core.OldIsBackground()) << "a different size starts from the background";
}

TEST_F(Setup, BackgroundAndGeometryChangesFollowIntoTheHeldFrame)
{
  Hold();
  core.SetBgMode(bmNone);
  EXPECT_EQ(core.OldImage()->Pixmap().At(0, 0), kColor);
  EXPECT_EQ(core.DisplayImage().Pixmap().At(0, 0), kColor) << "the held frame is recomposed";

  core.SetBgMode(bmTiled);
  core.SetCenter(false);
  ASSERT_EQ(core.DisplayRect(), TRect(0, 0, 4, 4));
  EXPECT_EQ(core.OldImage()->Pixmap().At(1, 1), Distinct(1, 1));
  EXPECT_EQ(core.DisplayImage().Pixmap().At(1, 1), Distinct(1, 1));

  background.Make(2, 2, [](int32_t, int32_t) { return TPixel(0x777777); });
  core.BgPictureChanged();
  EXPECT_EQ(core.DisplayImage().Pixmap().At(2, 2), 0x777777u);
}

TEST_F(Setup, ThePictureMayChangeDuringATransition)
{
  int changes = 0;
  core.OnChange = framework::TNotifyEvent([&](framework::TObject*) { ++changes; });
  Hold();
  picture.MakeSolid(4, 4, 0x112233);
  core.PictureChanged();
  EXPECT_EQ(changes, 1);
  core.SetProgress(100);
  EXPECT_EQ(core.DisplayImage().Pixmap().At(0, 0), 0x00AA00u) << "the transition keeps the picture it started with";
}

TEST_F(Setup, AFailingPictureLeavesNoImagesAndNoEvents)
{
  int starts = 0;
  int stops = 0;
  core.OnStart = TCustomDrawEvent([&](framework::TObject*, TBitmap&, TBitmap&) { ++starts; });
  core.OnStop = framework::TNotifyEvent([&](framework::TObject*) { ++stops; });
  picture.FailDraw = true;
  EXPECT_THROW(core.Execute(), std::runtime_error);
  EXPECT_FALSE(core.Busy());
  EXPECT_EQ(core.OldImage(), nullptr);
  EXPECT_EQ(core.NewImage(), nullptr);
  EXPECT_EQ(picture.Detached, picture.Attached);
  EXPECT_EQ(starts, 0);
  EXPECT_EQ(stops, 0);
}

// ---------------------------------------------------------------------------
// Pictures held with fewer pixels than they have

// A 400 x 300 picture loaded for a small area: it holds a quarter of each side.
struct Reduced : CoreFixture {
  Reduced()
  {
    core.SetClientRect({0, 0, 150, 150});
    core.SetProportional(true);
    picture.Make(400, 300, Distinct);
    picture.Reduction = 4;
  }
};

TEST_F(Reduced, ImagesHoldThePixelsWhileTheLayoutIsThatOfTheFullSize)
{
  Hold();
  // Kept in proportion in 150 x 150 it shows at 150 x 113 (112.5 rounded),
  // which a quarter (100 x 75) does not cover and a half (200 x 150) does.
  ASSERT_FALSE(picture.LimitsAsked.empty());
  EXPECT_EQ(picture.LimitsAsked.back(), gfx::TSize(150, 113));
  EXPECT_EQ(picture.Reduction, 2);
  EXPECT_EQ(core.SourceRect(), TRect(0, 0, 200, 150));
  EXPECT_EQ(core.NewImage()->Width(), 200);
  EXPECT_EQ(core.PictureSize(), gfx::TSize(400, 300));
  EXPECT_EQ(core.DisplayRect(), TRect(0, 0, 150, 113));
  // Shown at its natural size it needs every pixel, from the next start on;
  // the layout follows at once, still from the full size.
  core.SetProportional(false);
  EXPECT_EQ(core.DisplayRect(), TRect(0, 0, 400, 300));
  core.Stop();
  Hold();
  EXPECT_EQ(picture.LimitsAsked.back(), gfx::TSize(400, 300));
  EXPECT_EQ(core.SourceRect(), TRect(0, 0, 400, 300));
}

TEST_F(Reduced, TheLimitIsTheRoomInsideTheFrame)
{
  core.SetFrameWidth(3);
  const TPictureLayout layout = core.Layout();
  EXPECT_EQ(layout.Room, gfx::TSize(144, 144));
  EXPECT_TRUE(layout.Proportional);
  EXPECT_FALSE(layout.Stretch);
  Hold();
  EXPECT_EQ(picture.LimitsAsked.back(), gfx::TSize(144, 108));
  EXPECT_EQ(core.DisplayRect(), TRect(3, 3, 147, 111));
}

TEST_F(Reduced, AFinishedPictureIsDecodedAgainWhenItsLayoutGrows)
{
  Play();
  ASSERT_EQ(core.SourceRect(), TRect(0, 0, 200, 150));
  // A window that grows a little still shows it from the same pixels.
  core.SetClientRect({0, 0, 180, 180});
  core.Resized();
  EXPECT_EQ(core.SourceRect(), TRect(0, 0, 200, 150));
  // Full screen, say: the picture on show is decoded whole and drawn anew.
  core.SetClientRect({0, 0, 800, 600});
  core.Resized();
  EXPECT_EQ(core.SourceRect(), TRect(0, 0, 400, 300));
  EXPECT_EQ(core.DisplayRect(), TRect(0, 0, 400, 300));
  EXPECT_TRUE(SamePixels(core.DisplayImage().Pixmap(), picture.Bitmap->Pixmap()));
  EXPECT_EQ(picture.Reduction, 2) << "the copy shown was decoded again, not the picture to come";
}

TEST_F(Reduced, AFrameStoppedHalfWayOrPlayedBackIsLeftAsItIs)
{
  Hold();
  core.SetProgress(40);
  core.Stop();
  core.SetClientRect({0, 0, 800, 600});
  core.Resized();
  EXPECT_EQ(core.SourceRect(), TRect(0, 0, 200, 150));

  core.SetClientRect({0, 0, 150, 150});
  picture.Reduction = 4;
  core.SetReverse(true);
  Play();
  core.SetClientRect({0, 0, 800, 600});
  core.Resized();
  EXPECT_EQ(core.SourceRect(), TRect(0, 0, 200, 150));
}

TEST_F(Reduced, AGrownAreaTakesMorePixelsAndOverDrawNeedsTheSameFullSize)
{
  Play();
  EXPECT_EQ(core.SourceRect(), TRect(0, 0, 200, 150));
  // The same picture again: same pixels, same full size, from the screen.
  Hold();
  EXPECT_FALSE(core.OldIsBackground());
  core.Stop();
  core.SetClientRect({0, 0, 400, 400});
  core.Resized();
  // The layout follows the full size at once; a frame stopped at the start
  // keeps its pixels, stretched, until the next start takes more.
  EXPECT_EQ(core.DisplayRect(), TRect(0, 0, 400, 300));
  EXPECT_EQ(core.SourceRect(), TRect(0, 0, 200, 150));
  Play();
  EXPECT_EQ(picture.Reduction, 1);
  EXPECT_EQ(core.SourceRect(), TRect(0, 0, 400, 300));
  EXPECT_EQ(core.DisplayRect(), TRect(0, 0, 400, 300));
  // Another picture whose pixels have the size of those shown but whose full
  // size differs is laid out differently: it starts from the background.
  picture.Make(800, 600, Distinct);
  picture.Reduction = 2;
  Hold();
  EXPECT_EQ(core.SourceRect(), TRect(0, 0, 400, 300));
  EXPECT_TRUE(core.OldIsBackground());
}

// ---------------------------------------------------------------------------
// Composing frames

struct Compose : CoreFixture {
  Compose()
  {
    core.SetClientRect({0, 0, 40, 30});
    background.MakeSolid(1, 1, 0x202020);
    picture.Make(40, 30, Distinct);
  }
};

TEST_F(Compose, EndsAreTheOldImageAndTheNewPicture)
{
  Hold();
  TBitmap old;
  old.Assign(*core.OldImage());
  core.SetProgress(100);
  EXPECT_TRUE(SamePixels(core.DisplayImage().Pixmap(), picture.Bitmap->Pixmap()));
  core.SetProgress(0);
  EXPECT_TRUE(SamePixels(core.DisplayImage().Pixmap(), old.Pixmap()));
}

TEST_F(Compose, CustomDrawAndFrameEventsSeeTheRightBitmaps)
{
  std::vector<std::string> calls;
  core.SetStyle(0);
  core.OnBeforeNewFrame = TCustomDrawEvent([&](framework::TObject*, TBitmap& pic, TBitmap& screen) {
    EXPECT_EQ(&pic, core.NewImage());
    EXPECT_EQ(&screen, &core.DisplayImage());
    EXPECT_EQ(screen.Pixmap().At(0, 0), 0x202020u) << "every frame starts from the old image";
    calls.push_back("before");
  });
  core.OnCustomDraw = TCustomDrawEvent([&](framework::TObject*, TBitmap&, TBitmap& screen) {
    screen.Pixmap().At(0, 0) = 0xABCDEF;
    calls.push_back("custom " + std::to_string(core.Progress()));
  });
  core.OnAfterNewFrame = TCustomDrawEvent([&](framework::TObject*, TBitmap&, TBitmap&) { calls.push_back("after"); });
  Hold();
  core.SetProgress(50);
  EXPECT_EQ(core.DisplayImage().Pixmap().At(0, 0), 0xABCDEFu);
  core.SetProgress(100);
  core.SetProgress(0);
  EXPECT_EQ(calls, (std::vector<std::string>{"before", "custom 50", "after", "before", "after", "before", "after"}));
}

// Frames worked out by hand for a 40 x 30 picture at progress 50, where the
// effects get X = 20 and Y = 15. The old image is a pattern of its own (the
// background, tiled once), so a moved or squeezed old image shows.
struct EffectFrames : CoreFixture {
  static TPixel Old(int32_t x, int32_t y) { return TPixel(0x200000 + (y << 8) + x); }
  EffectFrames()
  {
    core.SetClientRect({0, 0, 40, 30});
    // Every transition starts from the background, not from the last frame.
    core.SetOverDraw(false);
    background.Make(40, 30, Old);
    picture.Make(40, 30, Distinct);
  }
  static gfx::TPixmap Expected(const std::function<TPixel(int32_t, int32_t)>& pixel)
  {
    gfx::TPixmap pixmap(40, 30);
    for (int32_t y = 0; y < 30; ++y)
      for (int32_t x = 0; x < 40; ++x)
        pixmap.At(x, y) = pixel(x, y);
    return pixmap;
  }
  // The frame at progress 50, composed in one pass or, with a handler that
  // must see the old image first, as a copy of the old image and the effect.
  void ExpectFrame(TShowStyle style, const gfx::TPixmap& expected)
  {
    for (bool twoSteps : {false, true}) {
      int before = 0;
      core.OnBeforeNewFrame = twoSteps ? TCustomDrawEvent([&](framework::TObject*, TBitmap&, TBitmap&) { ++before; })
                                       : TCustomDrawEvent();
      core.SetStyle(style);
      Hold();
      core.SetProgress(50);
      EXPECT_TRUE(SamePixels(core.DisplayImage().Pixmap(), expected))
        << "style " << int(style) << (twoSteps ? " in two steps" : " in one pass");
      EXPECT_EQ(before, twoSteps ? 1 : 0);
      core.Stop();
    }
  }
};

TEST_F(EffectFrames, RevealsUncoverTheNewPictureInPlace)
{
  // "Reveal from left": the left 20 columns.
  ExpectFrame(5, Expected([](int32_t x, int32_t y) { return x < 20 ? Distinct(x, y) : Old(x, y); }));
  // "Reveal from top": the top 15 rows.
  ExpectFrame(22, Expected([](int32_t x, int32_t y) { return y < 15 ? Distinct(x, y) : Old(x, y); }));
}

TEST_F(EffectFrames, ExpandsSqueezeTheWholeNewPicture)
{
  // "Expand from left": all 40 columns in the left 20, every second one
  // (the later of each pair) kept.
  ExpectFrame(2, Expected([](int32_t x, int32_t y) { return x < 20 ? Distinct(2 * x + 1, y) : Old(x, y); }));
  // "Expand from top": all 30 rows in the top 15, the earlier of each pair.
  ExpectFrame(19, Expected([](int32_t x, int32_t y) { return y < 15 ? Distinct(x, 2 * y) : Old(x, y); }));
}

TEST_F(EffectFrames, PushMovesBothPictures)
{
  // "Push right": the old image moved 20 to the right, the right half of the
  // new picture coming in at the left.
  ExpectFrame(129, Expected([](int32_t x, int32_t y) { return x < 20 ? Distinct(x + 20, y) : Old(x - 20, y); }));
}

// ---------------------------------------------------------------------------
// The adapter over framework pictures

TEST(PictureAdapter, NestedDetachSilencesChangesUntilTheLastAttach)
{
  framework::TPicture picture;
  int changes = 0;
  picture.OnChange = [&] { ++changes; };
  TPictureAdapter adapter(picture);
  EXPECT_FALSE(adapter.HasGraphic());
  EXPECT_TRUE(adapter.Empty());

  TBitmap bitmap(3, 2);
  bitmap.Pixmap().Fill(0x010203);
  picture.Assign(bitmap);
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(adapter.HasGraphic());
  EXPECT_EQ(adapter.Width(), 3);
  EXPECT_EQ(adapter.Height(), 2);

  adapter.DetachChange();
  adapter.DetachChange();
  picture.Changed();
  adapter.AttachChange();
  picture.Changed();
  EXPECT_EQ(changes, 1);
  adapter.AttachChange();
  picture.Changed();
  EXPECT_EQ(changes, 2);
  adapter.AttachChange(); // unbalanced: ignored, the handler stays
  picture.Changed();
  EXPECT_EQ(changes, 3);

  TBitmap target(3, 2);
  adapter.Draw(target.Canvas(), {0, 0, 3, 2});
  EXPECT_EQ(target.Pixmap().At(2, 1), 0x010203u);
}

} // namespace
