#pragma once
#include "framework/Bitmap.h"
#include "framework/FileBytes.h"
#include "framework/Graphic.h"
#include "gfx/codecs/Jpeg.h"

#include <memory>
#include <vector>

namespace framework {

// A JPEG picture. It keeps the file's bytes (saving writes them back
// unchanged; copies of the image share them, as they never change) and the
// decoded pixels. Loading decodes at once, so that a file that cannot be
// shown is reported by the loading call, not by a later paint.
// Under a show limit the pixels are decoded at the smallest fraction of the
// picture (1/2, 1/4, 1/8 of each side) that still covers the limit; a large
// photograph shown in a window then takes a fraction of the time and memory.
class TJPEGImage : public TGraphic {
public:
  TJPEGImage();
  ~TJPEGImage() override;

  [[nodiscard]] const char* GraphicClassName() const override { return "TJPEGImage"; }
  [[nodiscard]] std::unique_ptr<TGraphic> NewInstance() const override;

  [[nodiscard]] int32_t Width() const override { return fullSize_.Width; }
  [[nodiscard]] int32_t Height() const override { return fullSize_.Height; }
  [[nodiscard]] bool Empty() const override { return Data().empty(); }
  void SetShowLimit(TShowLimit limit) override;
  [[nodiscard]] gfx::TSize PixelSize() const override { return {bitmap_->Width(), bitmap_->Height()}; }
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

  // The decoded pixels (empty when the image is), of PixelSize.
  [[nodiscard]] const TBitmap& Bitmap() const noexcept { return *bitmap_; }
  // The file's bytes.
  [[nodiscard]] const std::vector<uint8_t>& Data() const noexcept { return *data_; }
  // Whether the held file is progressive.
  [[nodiscard]] bool Progressive() const noexcept { return progressive_; }

private:
  // The reduction the show limit allows for the held picture.
  [[nodiscard]] int ReductionFor(gfx::TSize fullSize) const;
  void Take(TFileBytes data, std::unique_ptr<TBitmap> bitmap, gfx::TSize fullSize, int reduction, bool progressive);

  TFileBytes data_; // never null
  std::unique_ptr<TBitmap> bitmap_;
  gfx::TSize fullSize_;
  int reduction_ = 1; // the pixels are 1/reduction_ of each side
  TShowLimit limit_;
  bool progressive_ = false;
};

} // namespace framework
