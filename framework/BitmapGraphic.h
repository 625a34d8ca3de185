#pragma once
#include "framework/Bitmap.h"
#include "framework/Graphic.h"

namespace framework {

// Windows BMP files in and out of a TBitmap. Reading takes every layout the
// codec knows (1 to 32 bits, bit fields, RLE, the core header) and sets the
// bitmap's pixel format to the file's depth; writing stores 32 bits for a
// pf32bit bitmap, 8 bits for pf8bit and below when the colours fit, and 24
// bits otherwise. Bad data raises EInvalidGraphic and leaves the bitmap as
// it was.
void LoadBitmapFromStream(TBitmap& bitmap, TStream& stream);
void LoadBitmapFromBytes(TBitmap& bitmap, std::span<const uint8_t> bytes);
void LoadBitmapFromFile(TBitmap& bitmap, const std::string& fileName);
void SaveBitmapToStream(const TBitmap& bitmap, TStream& stream);
void SaveBitmapToFile(const TBitmap& bitmap, const std::string& fileName);
// Copies pixels (of the same layout) into the bitmap, resizing it.
void CopyPixmapToBitmap(const gfx::TPixmap& pixels, TBitmap& bitmap);
// Draws the bitmap into rect of the canvas: copied when rect has its size,
// stretched otherwise; an empty bitmap draws nothing. The graphics that keep
// their pixels in a bitmap draw through this.
void DrawBitmapInto(TCanvas& canvas, const gfx::TRect& rect, const TBitmap& bitmap);

// The bitmap graphic: a TBitmap behind the TGraphic interface. Drawing on
// the bitmap's canvas notifies the graphic's OnChange.
class TBitmapGraphic : public TGraphic {
public:
  TBitmapGraphic();
  ~TBitmapGraphic() override;

  [[nodiscard]] const char* GraphicClassName() const override { return "TBitmap"; }
  [[nodiscard]] std::unique_ptr<TGraphic> NewInstance() const override;

  [[nodiscard]] int32_t Width() const override { return bitmap_.Width(); }
  [[nodiscard]] int32_t Height() const override { return bitmap_.Height(); }
  [[nodiscard]] bool Empty() const override { return bitmap_.Empty(); }
  void Draw(TCanvas& canvas, const gfx::TRect& rect) const override;
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;
  // Any graphic can be taken: other formats are drawn into the bitmap at
  // their natural size, on white.
  void Assign(const TGraphic& source) override;
  void Assign(const TBitmap& source);

  [[nodiscard]] TBitmap& Bitmap() noexcept { return bitmap_; }
  [[nodiscard]] const TBitmap& Bitmap() const noexcept { return bitmap_; }

private:
  TBitmap bitmap_;
};

} // namespace framework
