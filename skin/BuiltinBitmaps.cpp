#include "skin/BuiltinBitmaps.h"

#include "gfx/Color.h"

namespace skin {

namespace {

void Put(framework::TBitmap& b, int32_t x, int32_t y, gfx::TColor c)
{
  b.ScanLine(y)[x] = gfx::ColorToPixel(c);
}

} // namespace

void MakeTrackBitmap(framework::TBitmap& target, bool vertical)
{
  // Rows of the horizontal groove, top to bottom: shadow, dark shadow, face,
  // highlight. The vertical one is the same turned on its side.
  const gfx::TColor bands[4] = {gfx::clGray, gfx::clBlack, gfx::clSilver, gfx::clWhite};
  target.SetSize(0, 0);
  target.SetPixelFormat(framework::pf4bit);
  if (vertical) {
    target.SetSize(4, 16);
    for (int32_t y = 0; y < 16; ++y)
      for (int32_t x = 0; x < 4; ++x)
        Put(target, x, y, bands[x]);
  } else {
    target.SetSize(16, 4);
    for (int32_t y = 0; y < 4; ++y)
      for (int32_t x = 0; x < 16; ++x)
        Put(target, x, y, bands[y]);
  }
  target.Changed();
}

void MakeMenuGlyphs(framework::TBitmap& target)
{
  target.SetSize(0, 0);
  target.SetSize(64, 16);
  target.SetPixelFormat(framework::pf1bit);
  for (int32_t y = 0; y < 16; ++y)
    for (int32_t x = 0; x < 64; ++x)
      Put(target, x, y, gfx::clWhite);
  // Close: a cross of two-pixel diagonals.
  for (int32_t i = 4; i < 12; ++i) {
    Put(target, i, i, gfx::clBlack);
    Put(target, i + 1, i, gfx::clBlack);
    Put(target, 15 - i, i, gfx::clBlack);
    Put(target, 14 - i, i, gfx::clBlack);
  }
  // Maximise: a window outline with a thick title bar.
  for (int32_t x = 19; x < 29; ++x) {
    Put(target, x, 3, gfx::clBlack);
    Put(target, x, 4, gfx::clBlack);
    Put(target, x, 12, gfx::clBlack);
  }
  for (int32_t y = 3; y < 13; ++y) {
    Put(target, 19, y, gfx::clBlack);
    Put(target, 28, y, gfx::clBlack);
  }
  // Minimise: a bar at the bottom.
  for (int32_t x = 36; x < 44; ++x) {
    Put(target, x, 11, gfx::clBlack);
    Put(target, x, 12, gfx::clBlack);
  }
  // Restore: two overlapping windows.
  for (int32_t x = 51; x < 59; ++x) {
    Put(target, x, 3, gfx::clBlack);
    Put(target, x, 4, gfx::clBlack);
  }
  for (int32_t y = 3; y < 10; ++y)
    Put(target, 58, y, gfx::clBlack);
  for (int32_t x = 49; x < 56; ++x) {
    Put(target, x, 6, gfx::clBlack);
    Put(target, x, 7, gfx::clBlack);
    Put(target, x, 12, gfx::clBlack);
  }
  for (int32_t y = 6; y < 13; ++y) {
    Put(target, 49, y, gfx::clBlack);
    Put(target, 55, y, gfx::clBlack);
  }
  target.Changed();
}

} // namespace skin
