#include "framework/PngImage.h"

#include "framework/BitmapGraphic.h"
#include "framework/Canvas.h"
#include "framework/Streams.h"

namespace framework {

namespace {

// Decodes straight into a new bitmap's own memory, which is not cleared first:
// the decoder writes every pixel.
std::unique_ptr<TBitmap> DecodeToBitmap(std::span<const uint8_t> data, gfx::TColor background)
{
  auto bitmap = std::make_unique<TBitmap>();
  try {
    gfx::DecodePngInto(data, gfx::ColorToPixel(gfx::ColorToRGB(background)),
                       [&bitmap](int32_t w, int32_t h) -> gfx::TPixmap& {
                         bitmap->SetSizeForOverwrite(w, h);
                         return bitmap->Pixmap();
                       });
  } catch (const gfx::TCodecError& e) {
    throw EInvalidGraphic(e.what());
  }
  bitmap->SetPixelFormat(pf24bit);
  return bitmap;
}

gfx::TPngInfo ReadInfo(std::span<const uint8_t> data)
{
  try {
    return gfx::ReadPngInfo(data);
  } catch (const gfx::TCodecError& e) {
    throw EInvalidGraphic(e.what());
  }
}

} // namespace

TPngImage::TPngImage() : data_(NoFileBytes()), bitmap_(std::make_unique<TBitmap>()) {}

TPngImage::~TPngImage() = default;

std::unique_ptr<TGraphic> TPngImage::NewInstance() const
{
  return std::make_unique<TPngImage>();
}

void TPngImage::SetBackground(gfx::TColor color)
{
  const bool recompose = info_.Transparent && gfx::ColorToRGB(color) != gfx::ColorToRGB(background_);
  background_ = color;
  if (!recompose)
    return;
  std::unique_ptr<TBitmap> bitmap = DecodeToBitmap(*data_, background_);
  Take(data_, std::move(bitmap), info_);
}

void TPngImage::Draw(TCanvas& canvas, const gfx::TRect& rect) const
{
  DrawBitmapInto(canvas, rect, *bitmap_);
}

void TPngImage::LoadFromStream(TStream& stream)
{
  TFileBytes data = ShareFileBytes(stream.ReadToEnd());
  // Decode into new objects first: bad data leaves this image as it was.
  const gfx::TPngInfo info = ReadInfo(*data);
  std::unique_ptr<TBitmap> bitmap = DecodeToBitmap(*data, background_);
  Take(std::move(data), std::move(bitmap), info);
}

void TPngImage::Take(TFileBytes data, std::unique_ptr<TBitmap> bitmap, const gfx::TPngInfo& info)
{
  data_ = std::move(data);
  bitmap_ = std::move(bitmap);
  info_ = info;
  Changed();
}

void TPngImage::SaveToStream(TStream& stream) const
{
  stream.WriteBuffer(*data_);
}

void TPngImage::Assign(const TGraphic& source)
{
  if (&source == this)
    return;
  if (const auto* other = dynamic_cast<const TPngImage*>(&source)) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->Assign(*other->bitmap_);
    background_ = other->background_;
    Take(other->data_, std::move(bitmap), other->info_);
    return;
  }
  TBitmapGraphic drawn;
  drawn.Assign(source);
  Assign(drawn.Bitmap());
}

void TPngImage::Assign(const TBitmap& source)
{
  if (source.Empty()) {
    Take(NoFileBytes(), std::make_unique<TBitmap>(), {});
    return;
  }
  TFileBytes data;
  try {
    data = ShareFileBytes(gfx::EncodePng(source.Pixmap()));
  } catch (const gfx::TCodecError& e) {
    throw EInvalidGraphicOperation(e.what());
  }
  const gfx::TPngInfo info = ReadInfo(*data);
  std::unique_ptr<TBitmap> bitmap = DecodeToBitmap(*data, background_);
  Take(std::move(data), std::move(bitmap), info);
}

} // namespace framework
