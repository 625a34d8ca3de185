#pragma once
// The glyph of a button: a bitmap published as a property. A form
// description stores it as a bitmap picture's data (Glyph.Data = file
// "..."), and every change reaches the button through OnChange.
#include "framework/BitmapGraphic.h"
#include "framework/Component.h"

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace framework {

class TGlyphBitmap : public TPersistent {
public:
  TGlyphBitmap();
  ~TGlyphBitmap() override;

  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  [[nodiscard]] TBitmap& Bitmap() noexcept { return graphic_.Bitmap(); }
  [[nodiscard]] const TBitmap& Bitmap() const noexcept { return graphic_.Bitmap(); }
  [[nodiscard]] bool Empty() const noexcept { return graphic_.Empty(); }

  // Takes a copy of the bitmap (or of another glyph's).
  void Assign(const TBitmap& bitmap) { graphic_.Assign(bitmap); }
  void Assign(const TPersistent& source) override;

  // The stored form: a 32-bit length and a BMP file; nothing for no glyph.
  void LoadData(std::span<const uint8_t> bytes);
  [[nodiscard]] std::vector<uint8_t> SaveData() const;

  std::function<void()> OnChange;

private:
  TBitmapGraphic graphic_;
};

} // namespace framework
