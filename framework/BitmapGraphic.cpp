#include "framework/BitmapGraphic.h"

#include "framework/Canvas.h"
#include "framework/MuteScope.h"
#include "framework/Streams.h"
#include "gfx/codecs/Bmp.h"

#include <cstring>
#include <set>

namespace framework {
namespace {

TPixelFormat FormatForDepth(int32_t bitsPerPixel, const gfx::TPixmap& pixels)
{
  switch (bitsPerPixel) {
  case 1: {
    // pf1bit stands for black and white; a two-colour file with other colours
    // keeps them under a format that does not recolour.
    for (int32_t y = 0; y < pixels.Height(); ++y)
      for (int32_t x = 0; x < pixels.Width(); ++x) {
        const gfx::TPixel p = pixels.At(x, y) & 0x00FFFFFF;
        if (p != 0 && p != 0x00FFFFFF)
          return pf4bit;
      }
    return pf1bit;
  }
  case 4:
    return pf4bit;
  case 8:
    return pf8bit;
  case 16:
    return pf16bit;
  case 24:
    return pf24bit;
  case 32:
    return pf32bit;
  default:
    return pfDevice;
  }
}

} // namespace

void CopyPixmapToBitmap(const gfx::TPixmap& pixels, TBitmap& bitmap)
{
  bitmap.SetSize(pixels.Width(), pixels.Height());
  if (!pixels.IsEmpty())
    std::memcpy(bitmap.Pixmap().Bits(), pixels.Bits(),
                size_t(pixels.Width()) * size_t(pixels.Height()) * sizeof(gfx::TPixel));
}

void LoadBitmapFromBytes(TBitmap& bitmap, std::span<const uint8_t> bytes)
{
  gfx::TBmpImage image;
  try {
    image = gfx::DecodeBmpImage(bytes);
  } catch (const gfx::TCodecError& e) {
    throw EInvalidGraphic(e.what());
  }
  {
    // One load raises one change: the bitmap's own are muted meanwhile.
    TMuteScope quiet(bitmap.OnChange);
    CopyPixmapToBitmap(image.Pixels, bitmap);
    bitmap.SetPixelFormat(FormatForDepth(image.BitsPerPixel, image.Pixels));
  }
  bitmap.Changed();
}

void LoadBitmapFromStream(TBitmap& bitmap, TStream& stream)
{
  const std::vector<uint8_t> bytes = stream.ReadToEnd();
  LoadBitmapFromBytes(bitmap, bytes);
}

void LoadBitmapFromFile(TBitmap& bitmap, const std::string& fileName)
{
  const std::vector<uint8_t> bytes = ReadFileBytes(fileName);
  try {
    LoadBitmapFromBytes(bitmap, bytes);
  } catch (const EInvalidGraphic& e) {
    throw EInvalidGraphic("Cannot load the picture \"" + fileName + "\": " + e.Message());
  }
}

void SaveBitmapToStream(const TBitmap& bitmap, TStream& stream)
{
  std::vector<uint8_t> file;
  const TPixelFormat format = bitmap.PixelFormat();
  bool written = false;
  if (format == pf1bit || format == pf4bit || format == pf8bit) {
    try {
      file = gfx::EncodeBmp(bitmap.Pixmap(), 8);
      written = true;
    } catch (const gfx::TCodecError&) {
      // More than 256 colours drawn since: fall back to 24 bits.
    }
  }
  if (!written)
    file = gfx::EncodeBmp(bitmap.Pixmap(), format == pf32bit ? 32 : 24);
  stream.WriteBuffer(file);
}

void SaveBitmapToFile(const TBitmap& bitmap, const std::string& fileName)
{
  TMemoryStream buffer;
  SaveBitmapToStream(bitmap, buffer);
  TFileStream file(fileName, fmCreate);
  buffer.SaveToStream(file);
}

// ----- TBitmapGraphic -------------------------------------------------------

TBitmapGraphic::TBitmapGraphic()
{
  bitmap_.OnChange = [this] { Changed(); };
}

TBitmapGraphic::~TBitmapGraphic()
{
  bitmap_.OnChange = nullptr;
}

std::unique_ptr<TGraphic> TBitmapGraphic::NewInstance() const
{
  return std::make_unique<TBitmapGraphic>();
}

void DrawBitmapInto(TCanvas& canvas, const gfx::TRect& rect, const TBitmap& bitmap)
{
  if (bitmap.Empty())
    return;
  if (rect.Width() == bitmap.Width() && rect.Height() == bitmap.Height())
    canvas.Draw(rect.Left, rect.Top, bitmap);
  else
    canvas.StretchDraw(rect, bitmap);
}

void TBitmapGraphic::Draw(TCanvas& canvas, const gfx::TRect& rect) const
{
  DrawBitmapInto(canvas, rect, bitmap_);
}

void TBitmapGraphic::LoadFromStream(TStream& stream)
{
  // Through the bitmap, whose change notification reaches ours once.
  LoadBitmapFromStream(bitmap_, stream);
}

void TBitmapGraphic::SaveToStream(TStream& stream) const
{
  SaveBitmapToStream(bitmap_, stream);
}

void TBitmapGraphic::Assign(const TGraphic& source)
{
  if (&source == this)
    return;
  if (const auto* other = dynamic_cast<const TBitmapGraphic*>(&source)) {
    Assign(other->bitmap_);
    return;
  }
  {
    TMuteScope quiet(bitmap_.OnChange);
    bitmap_.SetSize(0, 0);
    bitmap_.SetPixelFormat(pf24bit);
    bitmap_.SetSize(source.Width(), source.Height());
    bitmap_.Pixmap().Fill(0x00FFFFFF);
    source.Draw(bitmap_.Canvas(), bitmap_.Pixmap().Bounds());
  }
  Changed();
}

void TBitmapGraphic::Assign(const TBitmap& source)
{
  if (&source == &bitmap_)
    return;
  {
    TMuteScope quiet(bitmap_.OnChange);
    bitmap_.Assign(source);
  }
  Changed();
}

} // namespace framework
