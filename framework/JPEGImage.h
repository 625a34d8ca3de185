#pragma once
#include "framework/Bitmap.h"
#include "framework/Graphic.h"
#include "gfx/codecs/Jpeg.h"

#include <memory>
#include <vector>

namespace framework {

// A JPEG picture. It keeps the file's bytes (saving writes them back
// unchanged) and the decoded pixels. Loading decodes at once, so that a file
// that cannot be shown is reported by the loading call, not by a later paint.
class TJPEGImage : public TGraphic {
public:
  TJPEGImage();
  ~TJPEGImage() override;

  [[nodiscard]] const char* GraphicClassName() const override { return "TJPEGImage"; }
  [[nodiscard]] std::unique_ptr<TGraphic> NewInstance() const override;

  [[nodiscard]] int32_t Width() const override { return bitmap_->Width(); }
  [[nodiscard]] int32_t Height() const override { return bitmap_->Height(); }
  [[nodiscard]] bool Empty() const override { return data_.empty(); }
  void Draw(TCanvas& canvas, const gfx::TRect& rect) const override;
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;
  // Another JPEG image is copied; any other graphic is drawn into a bitmap
  // and compressed with this image's settings.
  void Assign(const TGraphic& source) override;
  // Compresses the bitmap's pixels with the current settings.
  void Assign(const TBitmap& source);

  // Settings for compressing (Assign from a bitmap); they do not change a
  // picture already held.
  int CompressionQuality = 90;
  bool ProgressiveEncoding = false;
  bool Grayscale = false;

  // The decoded pixels (empty when the image is).
  [[nodiscard]] const TBitmap& Bitmap() const noexcept { return *bitmap_; }
  // The file's bytes.
  [[nodiscard]] const std::vector<uint8_t>& Data() const noexcept { return data_; }
  // Whether the held file is progressive.
  [[nodiscard]] bool Progressive() const noexcept { return progressive_; }

private:
  std::vector<uint8_t> data_;
  std::unique_ptr<TBitmap> bitmap_;
  bool progressive_ = false;
};

} // namespace framework
