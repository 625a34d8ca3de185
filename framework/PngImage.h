#pragma once
#include "framework/Bitmap.h"
#include "framework/FileBytes.h"
#include "framework/Graphic.h"
#include "gfx/Color.h"
#include "gfx/codecs/Png.h"

#include <memory>
#include <vector>

namespace framework {

// A PNG picture. It keeps the file's bytes (saving writes them back
// unchanged; copies share them) and the decoded pixels. Loading decodes at
// once, so that a file that cannot be shown is reported by the loading call,
// not by a later paint.
// Transparent parts are composed over the background colour when decoding:
// the pixels then copy and stretch like any other picture's.
class TPngImage : public TGraphic {
public:
  TPngImage();
  ~TPngImage() override;

  [[nodiscard]] const char* GraphicClassName() const override { return "TPngImage"; }
  [[nodiscard]] std::unique_ptr<TGraphic> NewInstance() const override;

  [[nodiscard]] int32_t Width() const override { return bitmap_->Width(); }
  [[nodiscard]] int32_t Height() const override { return bitmap_->Height(); }
  [[nodiscard]] bool Empty() const override { return data_->empty(); }
  // A transparent picture held is composed again over the new colour (and
  // OnChange raised); an opaque one is left as it is.
  void SetBackground(gfx::TColor color) override;
  void Draw(TCanvas& canvas, const gfx::TRect& rect) const override;
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;
  // Another PNG image is copied; any other graphic is drawn into a bitmap
  // and stored as an opaque PNG.
  void Assign(const TGraphic& source) override;
  void Assign(const TBitmap& source);

  [[nodiscard]] gfx::TColor Background() const noexcept { return background_; }
  // The decoded pixels (empty when the image is).
  [[nodiscard]] const TBitmap& Bitmap() const noexcept { return *bitmap_; }
  // The file's bytes.
  [[nodiscard]] const std::vector<uint8_t>& Data() const noexcept { return *data_; }
  // What the held file's header says.
  [[nodiscard]] const gfx::TPngInfo& Info() const noexcept { return info_; }

private:
  void Take(TFileBytes data, std::unique_ptr<TBitmap> bitmap, const gfx::TPngInfo& info);

  TFileBytes data_; // never null
  std::unique_ptr<TBitmap> bitmap_;
  gfx::TPngInfo info_;
  gfx::TColor background_ = gfx::clWhite;
};

} // namespace framework
