// Icons drawn through TIcon must look as the platform draws the same image
// with DrawIconEx at its natural size: masked pixels show the background,
// alpha pixels are blended.
#include "framework/Bitmap.h"
#include "framework/Canvas.h"
#include "framework/Icon.h"
#include "gfx/codecs/Ico.h"
#include "gfx/win32/GdiInterop.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

using namespace framework;

namespace {

using Bytes = std::vector<uint8_t>;

constexpr gfx::TPixel kBackground = 0x00336699;

void Put16(Bytes& b, uint32_t v)
{
  b.push_back(uint8_t(v));
  b.push_back(uint8_t(v >> 8));
}

void Put32(Bytes& b, uint32_t v)
{
  for (int i = 0; i < 4; ++i)
    b.push_back(uint8_t(v >> (8 * i)));
}

// A 32 x 32 icon in 16 colours: a diagonal pattern, transparent where the
// mask says so (its colour there is black, as editors store it).
Bytes SixteenColourIcon()
{
  Bytes dib;
  Put32(dib, 40);
  Put32(dib, 32);
  Put32(dib, 64);
  Put16(dib, 1);
  Put16(dib, 4);
  for (int i = 0; i < 6; ++i)
    Put32(dib, 0);
  for (uint32_t c = 0; c < 16; ++c)
    Put32(dib, (c * 0x0F3B71u) & 0xFFFFFF);
  auto transparent = [](int x, int y) { return (x + y) % 7 == 0 || (x < 8 && y < 8); };
  for (int y = 31; y >= 0; --y)
    for (int x = 0; x < 32; x += 2) {
      const int a = transparent(x, y) ? 0 : (x + y) % 16, b = transparent(x + 1, y) ? 0 : (x + 1 + y) % 16;
      dib.push_back(uint8_t(a << 4 | b));
    }
  for (int y = 31; y >= 0; --y)
    for (int byte = 0; byte < 4; ++byte) {
      uint8_t bits = 0;
      for (int i = 0; i < 8; ++i)
        if (transparent(byte * 8 + i, y))
          bits |= uint8_t(0x80 >> i);
      dib.push_back(bits);
    }
  Bytes file;
  Put16(file, 0);
  Put16(file, 1);
  Put16(file, 1);
  file.insert(file.end(), {32, 32, 16, 0});
  Put16(file, 1);
  Put16(file, 4);
  Put32(file, uint32_t(dib.size()));
  Put32(file, 22);
  file.insert(file.end(), dib.begin(), dib.end());
  return file;
}

Bytes AlphaIcon()
{
  gfx::TPixmap p(32, 32);
  for (int32_t y = 0; y < 32; ++y)
    for (int32_t x = 0; x < 32; ++x)
      p.At(x, y) = gfx::TPixel(((x * 8) << 24) | ((y * 8) << 16) | 0x4080);
  const gfx::TPixmap* images[] = {&p};
  return gfx::EncodeIcon(images);
}

// The platform's drawing of the file's first image at (x, y).
void PlatformDraw(const Bytes& file, TBitmap& target, int x, int y)
{
  const auto entries = gfx::ReadIconDirectory(file);
  HICON icon = CreateIconFromResourceEx(const_cast<BYTE*>(file.data() + entries[0].Offset), entries[0].Size, TRUE,
                                        0x00030000, entries[0].Width, entries[0].Height, LR_DEFAULTCOLOR);
  ASSERT_NE(icon, nullptr);
  {
    gfx::win32::TBitmapDC dc(target.NativeHandle());
    ASSERT_TRUE(DrawIconEx(dc.Get(), x, y, icon, entries[0].Width, entries[0].Height, 0, nullptr, DI_NORMAL));
  }
  GdiFlush();
  DestroyIcon(icon);
}

// The largest difference of any channel of any pixel.
int WorstChannel(const TBitmap& a, const TBitmap& b)
{
  int worst = 0;
  for (int32_t y = 0; y < a.Height(); ++y)
    for (int32_t x = 0; x < a.Width(); ++x)
      for (int shift : {0, 8, 16})
        worst = std::max(worst, std::abs(int((a.Pixmap().At(x, y) >> shift) & 0xFF) -
                                          int((b.Pixmap().At(x, y) >> shift) & 0xFF)));
  return worst;
}

} // namespace

TEST(IconDraw, MaskedIconsMatchThePlatform)
{
  const Bytes file = SixteenColourIcon();
  TIcon icon;
  icon.LoadFromBytes(file);
  TBitmap ours(40, 40), theirs(40, 40);
  ours.Pixmap().Fill(kBackground);
  theirs.Pixmap().Fill(kBackground);
  icon.Draw(ours.Canvas(), gfx::TRect::Bounds(5, 3, 32, 32));
  PlatformDraw(file, theirs, 5, 3);
  EXPECT_EQ(theirs.Pixmap().At(6, 4) & 0xFFFFFF, kBackground); // a transparent corner
  EXPECT_EQ(WorstChannel(ours, theirs), 0);
}

TEST(IconDraw, AlphaIconsBlendLikeThePlatform)
{
  const Bytes file = AlphaIcon();
  TIcon icon;
  icon.LoadFromBytes(file);
  TBitmap ours(32, 32), theirs(32, 32);
  ours.Pixmap().Fill(kBackground);
  theirs.Pixmap().Fill(kBackground);
  icon.Draw(ours.Canvas(), gfx::TRect::Bounds(0, 0, 32, 32));
  PlatformDraw(file, theirs, 0, 0);
  // The platform premultiplies before blending; the two roundings may differ
  // by one step.
  EXPECT_LE(WorstChannel(ours, theirs), 1);
  EXPECT_NE(theirs.Pixmap().At(16, 16) & 0xFFFFFF, kBackground);
}
