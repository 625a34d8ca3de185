#include "framework/JPEGImage.h"

#include "framework/BitmapGraphic.h"
#include "framework/Canvas.h"
#include "framework/Streams.h"

namespace framework {

TJPEGImage::TJPEGImage() : bitmap_(std::make_unique<TBitmap>()) {}

TJPEGImage::~TJPEGImage() = default;

std::unique_ptr<TGraphic> TJPEGImage::NewInstance() const
{
  return std::make_unique<TJPEGImage>();
}

void TJPEGImage::Draw(TCanvas& canvas, const gfx::TRect& rect) const
{
  if (bitmap_->Empty())
    return;
  if (rect.Width() == bitmap_->Width() && rect.Height() == bitmap_->Height())
    canvas.Draw(rect.Left, rect.Top, *bitmap_);
  else
    canvas.StretchDraw(rect, *bitmap_);
}

void TJPEGImage::LoadFromStream(TStream& stream)
{
  std::vector<uint8_t> data = stream.ReadToEnd();
  // Decode into new objects first: bad data leaves this image as it was.
  auto bitmap = std::make_unique<TBitmap>();
  bool progressive = false;
  try {
    progressive = gfx::ReadJpegInfo(data).Progressive;
    gfx::DecodeJpegInto(data, [&bitmap](int32_t w, int32_t h) -> gfx::TPixmap& {
      bitmap->SetSize(w, h);
      return bitmap->Pixmap();
    });
  } catch (const gfx::TCodecError& e) {
    throw EInvalidGraphic(e.what());
  }
  bitmap->SetPixelFormat(pf24bit);
  data_ = std::move(data);
  bitmap_ = std::move(bitmap);
  progressive_ = progressive;
  Changed();
}

void TJPEGImage::SaveToStream(TStream& stream) const
{
  stream.WriteBuffer(data_);
}

void TJPEGImage::Assign(const TGraphic& source)
{
  if (&source == this)
    return;
  if (const auto* other = dynamic_cast<const TJPEGImage*>(&source)) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->Assign(*other->bitmap_);
    data_ = other->data_;
    bitmap_ = std::move(bitmap);
    progressive_ = other->progressive_;
    CompressionQuality = other->CompressionQuality;
    ProgressiveEncoding = other->ProgressiveEncoding;
    Grayscale = other->Grayscale;
    Changed();
    return;
  }
  TBitmapGraphic drawn;
  drawn.Assign(source);
  Assign(drawn.Bitmap());
}

void TJPEGImage::Assign(const TBitmap& source)
{
  if (source.Empty()) {
    data_.clear();
    bitmap_ = std::make_unique<TBitmap>();
    progressive_ = false;
    Changed();
    return;
  }
  std::vector<uint8_t> data;
  try {
    data = gfx::EncodeJpeg(source.Pixmap(), {CompressionQuality, ProgressiveEncoding, Grayscale});
  } catch (const gfx::TCodecError& e) {
    throw EInvalidGraphicOperation(e.what());
  }
  // The pixels shown are those a reader of the file will see.
  auto bitmap = std::make_unique<TBitmap>();
  CopyPixmapToBitmap(gfx::DecodeJpeg(data), *bitmap);
  bitmap->SetPixelFormat(pf24bit);
  data_ = std::move(data);
  bitmap_ = std::move(bitmap);
  progressive_ = ProgressiveEncoding;
  Changed();
}

} // namespace framework
