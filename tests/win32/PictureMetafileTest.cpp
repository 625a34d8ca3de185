// Metafiles drawn through TMetafile must give the same pixels as GDI playing
// the same file straight into a DIB section.
#include "framework/Bitmap.h"
#include "framework/Canvas.h"
#include "framework/Metafile.h"
#include "framework/Picture.h"
#include "framework/Streams.h"
#include "gfx/win32/GdiInterop.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

using namespace framework;

namespace {

using Bytes = std::vector<uint8_t>;

constexpr gfx::TPixel kBackground = 0x00C0FFC0;

// Figures with a few pens and brushes; the background is left alone.
void DrawScene(HDC dc)
{
  HBRUSH red = CreateSolidBrush(RGB(220, 30, 30));
  HBRUSH blue = CreateSolidBrush(RGB(20, 40, 200));
  HPEN pen = CreatePen(PS_SOLID, 3, RGB(0, 0, 0));
  HGDIOBJ oldBrush = SelectObject(dc, red);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  Rectangle(dc, 10, 10, 120, 60);
  SelectObject(dc, blue);
  Ellipse(dc, 60, 30, 190, 95);
  MoveToEx(dc, 0, 99, nullptr);
  LineTo(dc, 199, 0);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(red);
  DeleteObject(blue);
  DeleteObject(pen);
}

// An enhanced metafile of 200 x 100 pixels at the screen's resolution.
Bytes MakeEmf()
{
  HDC screen = GetDC(nullptr);
  const int mmX = GetDeviceCaps(screen, HORZSIZE), mmY = GetDeviceCaps(screen, VERTSIZE);
  const int pxX = GetDeviceCaps(screen, HORZRES), pxY = GetDeviceCaps(screen, VERTRES);
  ReleaseDC(nullptr, screen);
  const RECT frame{0, 0, MulDiv(199, mmX * 100, pxX), MulDiv(99, mmY * 100, pxY)};
  HDC dc = CreateEnhMetaFileW(nullptr, nullptr, &frame, nullptr);
  DrawScene(dc);
  HENHMETAFILE emf = CloseEnhMetaFile(dc);
  Bytes bytes(GetEnhMetaFileBits(emf, 0, nullptr));
  GetEnhMetaFileBits(emf, UINT(bytes.size()), bytes.data());
  DeleteEnhMetaFile(emf);
  return bytes;
}

// A Windows metafile whose window is 200 x 100 units.
Bytes MakeWmf()
{
  HDC dc = CreateMetaFileW(nullptr);
  SetWindowOrgEx(dc, 0, 0, nullptr);
  SetWindowExtEx(dc, 200, 100, nullptr);
  DrawScene(dc);
  HMETAFILE wmf = CloseMetaFile(dc);
  Bytes bytes(GetMetaFileBitsEx(wmf, 0, nullptr));
  GetMetaFileBitsEx(wmf, UINT(bytes.size()), bytes.data());
  DeleteMetaFile(wmf);
  return bytes;
}

Bytes Placeable(const Bytes& wmf, uint16_t width, uint16_t height)
{
  uint16_t header[11] = {0xCDD7, 0x9AC6, 0, 0, 0, width, height, 96, 0, 0, 0};
  uint16_t sum = 0;
  for (int i = 0; i < 10; ++i)
    sum ^= header[i];
  header[10] = sum;
  Bytes out(reinterpret_cast<const uint8_t*>(header), reinterpret_cast<const uint8_t*>(header) + 22);
  out.insert(out.end(), wmf.begin(), wmf.end());
  return out;
}

// GDI's own rendering: the file played into a DIB section filled with the
// background, at rect.
void Reference(const Bytes& file, bool enhanced, const gfx::TRect& rect, TBitmap& out)
{
  out.Pixmap().Fill(kBackground);
  HENHMETAFILE emf;
  if (enhanced) {
    emf = SetEnhMetaFileBits(UINT(file.size()), file.data());
  } else {
    METAFILEPICT pict{MM_ANISOTROPIC, MulDiv(200, 2540, 96), MulDiv(100, 2540, 96), nullptr};
    emf = SetWinMetaFileBits(UINT(file.size()), file.data(), nullptr, &pict);
  }
  ASSERT_NE(emf, nullptr);
  {
    gfx::win32::TBitmapDC dc(out.NativeHandle());
    const RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
    ASSERT_TRUE(PlayEnhMetaFile(dc.Get(), emf, &r));
  }
  GdiFlush();
  DeleteEnhMetaFile(emf);
}

int CountDifferent(const TBitmap& a, const TBitmap& b)
{
  int n = 0;
  for (int32_t y = 0; y < a.Height(); ++y)
    for (int32_t x = 0; x < a.Width(); ++x)
      if ((a.Pixmap().At(x, y) & 0xFFFFFF) != (b.Pixmap().At(x, y) & 0xFFFFFF))
        ++n;
  return n;
}

int CountDrawn(const TBitmap& a)
{
  int n = 0;
  for (int32_t y = 0; y < a.Height(); ++y)
    for (int32_t x = 0; x < a.Width(); ++x)
      if ((a.Pixmap().At(x, y) & 0xFFFFFF) != kBackground)
        ++n;
  return n;
}

} // namespace

TEST(MetafileDraw, EnhancedMetafilesMatchGdiAtNaturalSizeAndStretched)
{
  const Bytes emf = MakeEmf();
  TMetafile meta;
  meta.LoadFromBytes(emf);
  EXPECT_TRUE(meta.Enhanced());
  EXPECT_NEAR(meta.Width(), 200, 2);
  EXPECT_NEAR(meta.Height(), 100, 2);

  for (const gfx::TRect& rect : {gfx::TRect(0, 0, 200, 100), gfx::TRect(13, 7, 313, 157)}) {
    TBitmap ours(320, 170), reference(320, 170);
    ours.Pixmap().Fill(kBackground);
    meta.Draw(ours.Canvas(), rect);
    Reference(emf, true, rect, reference);
    EXPECT_GT(CountDrawn(reference), 1000);
    EXPECT_EQ(CountDifferent(ours, reference), 0) << rect.Left << "," << rect.Top;
  }
}

TEST(MetafileDraw, WindowsMetafilesWithAndWithoutPlaceableHeader)
{
  const Bytes wmf = MakeWmf();
  for (const Bytes& file : {wmf, Placeable(wmf, 200, 100)}) {
    TMetafile meta;
    meta.LoadFromBytes(file);
    EXPECT_FALSE(meta.Enhanced());
    EXPECT_EQ(meta.Width(), 200);
    EXPECT_EQ(meta.Height(), 100);
    TBitmap ours(200, 100), reference(200, 100);
    ours.Pixmap().Fill(kBackground);
    meta.Draw(ours.Canvas(), {0, 0, 200, 100});
    Reference(wmf, false, {0, 0, 200, 100}, reference);
    EXPECT_GT(CountDrawn(reference), 1000);
    EXPECT_EQ(CountDifferent(ours, reference), 0) << (meta.Placeable() ? "placeable" : "plain");
  }
}

TEST(MetafileDraw, ClippingAndPartlyOutsideTheBitmap)
{
  const Bytes emf = MakeEmf();
  TMetafile meta;
  meta.LoadFromBytes(emf);
  const gfx::TRect rect(-40, -20, 160, 80);
  TBitmap ours(150, 70), reference(150, 70);
  ours.Pixmap().Fill(kBackground);
  ours.Context().IntersectClipRect(0, 0, 100, 70);
  meta.Draw(ours.Canvas(), rect);
  Reference(emf, true, rect, reference);
  for (int32_t y = 0; y < 70; ++y)
    for (int32_t x = 0; x < 150; ++x) {
      const gfx::TPixel expected = x < 100 ? reference.Pixmap().At(x, y) & 0xFFFFFF : kBackground;
      ASSERT_EQ(ours.Pixmap().At(x, y) & 0xFFFFFF, expected) << x << ", " << y;
    }
}

TEST(MetafileDraw, PictureLoadsMetafilesByExtension)
{
  const std::string path = testing::TempDir() + "picture-m\xC3\xA9tafile.EMF";
  TMemoryStream(MakeEmf()).SaveToFile(path);
  TPicture picture;
  picture.LoadFromFile(path);
  ASSERT_NE(picture.Graphic(), nullptr);
  EXPECT_STREQ(picture.Graphic()->GraphicClassName(), "TMetafile");
  TBitmap target(picture.Width(), picture.Height());
  target.Pixmap().Fill(kBackground);
  picture.Draw(target.Canvas(), {0, 0, picture.Width(), picture.Height()});
  EXPECT_GT(CountDrawn(target), 1000);
  _wremove(Utf8ToWide(path).c_str());
}
