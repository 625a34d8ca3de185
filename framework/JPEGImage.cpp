#include "framework/JPEGImage.h"

#include "framework/BitmapGraphic.h"
#include "framework/Canvas.h"
#include "framework/Streams.h"

namespace framework {

namespace {

// Decodes straight into a new bitmap's own memory, which is not cleared first:
// the decoder writes every pixel.
std::unique_ptr<TBitmap> DecodeToBitmap(std::span<const uint8_t> data, int reduction)
{
  auto bitmap = std::make_unique<TBitmap>();
  try {
    gfx::DecodeJpegInto(
      data,
      [&bitmap](int32_t w, int32_t h) -> gfx::TPixmap& {
        bitmap->SetSizeForOverwrite(w, h);
        return bitmap->Pixmap();
      },
      reduction);
  } catch (const gfx::TCodecError& e) {
    throw EInvalidGraphic(e.what());
  }
  bitmap->SetPixelFormat(pf24bit);
  return bitmap;
}

} // namespace

TJPEGImage::TJPEGImage() : data_(NoFileBytes()), bitmap_(std::make_unique<TBitmap>()) {}

TJPEGImage::~TJPEGImage() = default;

std::unique_ptr<TGraphic> TJPEGImage::NewInstance() const
{
  return std::make_unique<TJPEGImage>();
}

void TJPEGImage::Draw(TCanvas& canvas, const gfx::TRect& rect) const
{
  DrawBitmapInto(canvas, rect, *bitmap_);
}

void TJPEGImage::LoadFromStream(TStream& stream)
{
  TFileBytes data = ShareFileBytes(stream.ReadToEnd());
  // Decode into new objects first: bad data leaves this image as it was.
  gfx::TJpegInfo info;
  try {
    info = gfx::ReadJpegInfo(*data);
  } catch (const gfx::TCodecError& e) {
    throw EInvalidGraphic(e.what());
  }
  const gfx::TSize fullSize{info.Width, info.Height};
  const int reduction = ReductionFor(fullSize);
  std::unique_ptr<TBitmap> bitmap = DecodeToBitmap(*data, reduction);
  Take(std::move(data), std::move(bitmap), fullSize, reduction, info.Progressive);
}

void TJPEGImage::SetShowLimit(TShowLimit limit)
{
  limit_ = std::move(limit);
  if (Empty())
    return;
  const int needed = ReductionFor(fullSize_);
  // Pixels decoded larger than needed are kept: they still serve, and a window
  // that shrinks and grows again does not decode the picture each time.
  if (needed >= reduction_)
    return;
  bitmap_ = DecodeToBitmap(*data_, needed);
  reduction_ = needed;
}

int TJPEGImage::ReductionFor(gfx::TSize fullSize) const
{
  return limit_ ? gfx::JpegReductionFor(fullSize, limit_(fullSize)) : 1;
}

void TJPEGImage::Take(TFileBytes data, std::unique_ptr<TBitmap> bitmap, gfx::TSize fullSize, int reduction,
                      bool progressive)
{
  data_ = std::move(data);
  bitmap_ = std::move(bitmap);
  fullSize_ = fullSize;
  reduction_ = reduction;
  progressive_ = progressive;
  Changed();
}

void TJPEGImage::SaveToStream(TStream& stream) const
{
  stream.WriteBuffer(*data_);
}

void TJPEGImage::Assign(const TGraphic& source)
{
  if (&source == this)
    return;
  if (const auto* other = dynamic_cast<const TJPEGImage*>(&source)) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->Assign(*other->bitmap_);
    CompressionQuality = other->CompressionQuality;
    ProgressiveEncoding = other->ProgressiveEncoding;
    Grayscale = other->Grayscale;
    limit_ = other->limit_;
    Take(other->data_, std::move(bitmap), other->fullSize_, other->reduction_, other->progressive_);
    return;
  }
  TBitmapGraphic drawn;
  drawn.Assign(source);
  Assign(drawn.Bitmap());
}

void TJPEGImage::Assign(const TBitmap& source)
{
  if (source.Empty()) {
    Take(NoFileBytes(), std::make_unique<TBitmap>(), {}, 1, false);
    return;
  }
  TFileBytes data;
  try {
    const gfx::TJpegOptions options{CompressionQuality, ProgressiveEncoding, Grayscale};
    data = ShareFileBytes(gfx::EncodeJpeg(source.Pixmap(), options));
  } catch (const gfx::TCodecError& e) {
    throw EInvalidGraphicOperation(e.what());
  }
  // The pixels shown are those a reader of the file will see, in full.
  std::unique_ptr<TBitmap> bitmap = DecodeToBitmap(*data, 1);
  const gfx::TSize fullSize{source.Width(), source.Height()};
  Take(std::move(data), std::move(bitmap), fullSize, 1, ProgressiveEncoding);
}

} // namespace framework
