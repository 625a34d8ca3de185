#include "framework/Bitmap.h"
#include "framework/Canvas.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <set>
#include <stdexcept>
#include <thread>
#include <vector>

using framework::TBitmap;
using framework::TCanvas;
using framework::TCanvasLock;
using gfx::TPixel;
using gfx::TRect;

TEST(Bitmap, RowsAreBottomUpInMemory)
{
  TBitmap b(3, 4);
  b.SetPixelFormat(framework::pf32bit);
  ASSERT_EQ(b.Width(), 3);
  ASSERT_EQ(b.Height(), 4);
  // Row H - 1 sits at the lowest address, row 0 at the highest.
  EXPECT_EQ(b.ScanLine(3), b.Pixmap().Bits());
  EXPECT_EQ(b.ScanLine(0), b.Pixmap().Bits() + 9);
  EXPECT_EQ(b.ScanLine(1) - b.ScanLine(2), 3);
  EXPECT_THROW((void)b.ScanLine(4), std::out_of_range);
  EXPECT_THROW((void)b.ScanLine(-1), std::out_of_range);
  for (TPixel* p = b.Pixmap().Bits(); p != b.Pixmap().Bits() + 12; ++p)
    EXPECT_EQ(*p, 0u);
}

TEST(Bitmap, ResizingKeepsTheTopLeftPixelsAndRefusesAbsurdSizes)
{
  TBitmap b(4, 4);
  b.ScanLine(0)[0] = 11;
  b.ScanLine(3)[3] = 44;
  b.ScanLine(1)[1] = 22;
  int changes = 0;
  b.OnChange = [&] { ++changes; };
  b.SetSize(2, 6);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(b.ScanLine(0)[0], 11u);
  EXPECT_EQ(b.ScanLine(1)[1], 22u);
  EXPECT_EQ(b.ScanLine(5)[1], 0u);
  b.SetSize(2, 6);
  EXPECT_EQ(changes, 1); // same size: nothing happens
  EXPECT_THROW(b.SetSize(100000, 100000), std::length_error);
  EXPECT_EQ(b.Width(), 2); // unchanged after the refusal
  b.SetSize(-5, 3);
  EXPECT_TRUE(b.Empty());
  EXPECT_EQ(b.Width(), 0);
}

TEST(Bitmap, AssignCopiesAndMaskMarksTheKeyColour)
{
  TBitmap a(3, 1), b;
  a.ScanLine(0)[0] = gfx::ColorToPixel(gfx::clFuchsia);
  a.ScanLine(0)[1] = 0x123456;
  a.ScanLine(0)[2] = gfx::ColorToPixel(gfx::clFuchsia) | 0xFF000000u;
  a.SetPixelFormat(framework::pf24bit);
  b.Assign(a);
  EXPECT_EQ(b.Width(), 3);
  EXPECT_EQ(b.PixelFormat(), framework::pf24bit);
  EXPECT_EQ(b.ScanLine(0)[1], 0x123456u);
  EXPECT_NE(b.ScanLine(0), a.ScanLine(0));
  b.Mask(gfx::clFuchsia);
  EXPECT_EQ(b.PixelFormat(), framework::pf1bit);
  EXPECT_EQ(b.ScanLine(0)[0], 0xFFFFFFu);
  EXPECT_EQ(b.ScanLine(0)[1], 0u);
  EXPECT_EQ(b.ScanLine(0)[2], 0xFFFFFFu);
  EXPECT_EQ(a.ScanLine(0)[1], 0x123456u); // the source is untouched
  b.Assign(nullptr);
  EXPECT_TRUE(b.Empty());
}

TEST(Bitmap, HandlesDifferAndStay)
{
  std::set<uint32_t> handles;
  std::vector<std::unique_ptr<TBitmap>> bitmaps;
  int odd = 0;
  for (int i = 0; i < 64; ++i) {
    bitmaps.push_back(std::make_unique<TBitmap>(2, 2));
    handles.insert(bitmaps.back()->Handle());
    odd += bitmaps.back()->Handle() & 1;
  }
  EXPECT_EQ(handles.size(), 64u);
  EXPECT_GT(odd, 8); // both parities occur, the rotating shapes depend on that
  EXPECT_LT(odd, 56);
  const uint32_t h = bitmaps[0]->Handle();
  bitmaps[0]->Canvas().FillRect({0, 0, 2, 2});
  EXPECT_EQ(bitmaps[0]->Handle(), h);
}

TEST(Canvas, DrawStretchAndCopyRect)
{
  TBitmap src(2, 2), dst(6, 6);
  src.ScanLine(0)[0] = 1;
  src.ScanLine(0)[1] = 2;
  src.ScanLine(1)[0] = 3;
  src.ScanLine(1)[1] = 4;
  TCanvas& c = dst.Canvas();
  c.Draw(4, 4, src);
  EXPECT_EQ(dst.ScanLine(4)[4], 1u);
  EXPECT_EQ(dst.ScanLine(5)[5], 4u);
  c.StretchDraw({0, 0, 4, 4}, src);
  EXPECT_EQ(dst.ScanLine(1)[1], 1u);
  EXPECT_EQ(dst.ScanLine(2)[2], 4u);
  // An inverted source rectangle mirrors.
  TBitmap mirror(2, 2);
  mirror.Canvas().CopyRect({0, 0, 2, 2}, src.Canvas(), {1, 0, -1, 2});
  EXPECT_EQ(mirror.ScanLine(0)[0], 2u);
  EXPECT_EQ(mirror.ScanLine(0)[1], 1u);
  // Drawing ignores the source bitmap's own viewport origin.
  src.Canvas().Handle()->SetViewportOrg(1, 1);
  c.Draw(0, 0, src);
  EXPECT_EQ(dst.ScanLine(0)[0], 1u);
}

TEST(Canvas, ToolsAndChangeNotifications)
{
  TBitmap b(5, 5);
  TCanvas& c = b.Canvas();
  int changing = 0, changed = 0, bitmapChanged = 0;
  c.OnChanging = [&] { ++changing; };
  c.OnChange = [&] { ++changed; };
  b.OnChange = [&] { ++bitmapChanged; };
  c.Brush.Color = gfx::clRed;
  c.FillRect({0, 0, 5, 5});
  EXPECT_EQ(c.Pixel(2, 2), gfx::clRed);
  c.Brush.Style = framework::bsClear;
  c.Pen.Color = gfx::clBlue;
  c.Pen.Width = 1;
  c.Rectangle(0, 0, 5, 5);
  EXPECT_EQ(c.Pixel(0, 0), gfx::clBlue);
  EXPECT_EQ(c.Pixel(4, 4), gfx::clBlue);
  EXPECT_EQ(c.Pixel(2, 2), gfx::clRed);
  EXPECT_EQ(c.Pixel(9, 9), gfx::clNone);
  EXPECT_EQ(changing, 2);
  EXPECT_EQ(changed, 2);
  EXPECT_EQ(bitmapChanged, 2);
  c.Brush.Style = framework::bsSolid;
  c.Brush.Color = gfx::clBtnFace; // system colours are resolved
  c.FillRect({0, 0, 1, 1});
  EXPECT_EQ(c.Pixel(0, 0), gfx::ColorToRGB(gfx::clBtnFace));
  TCanvas detached;
  detached.FillRect({0, 0, 5, 5}); // no context: nothing to do, no crash
  EXPECT_EQ(detached.Pixel(0, 0), gfx::clNone);
}

TEST(Canvas, LockIsReentrantAndExcludesOtherThreads)
{
  TBitmap b(1, 1);
  TCanvas& c = b.Canvas();
  c.Lock();
  c.Lock();
  EXPECT_EQ(c.LockCount(), 2);
  std::atomic<bool> otherGotIt{false};
  std::thread other([&] { otherGotIt = c.TryLock(); if (otherGotIt) c.Unlock(); });
  other.join();
  EXPECT_FALSE(otherGotIt.load());
  c.Unlock();
  c.Unlock();
  EXPECT_EQ(c.LockCount(), 0);
  {
    TCanvasLock guard(c);
    EXPECT_EQ(c.LockCount(), 1);
  }
  std::thread again([&] { otherGotIt = c.TryLock(); if (otherGotIt) c.Unlock(); });
  again.join();
  EXPECT_TRUE(otherGotIt.load());
}
