#pragma once
#include "framework/Graphic.h"

#include <vector>

namespace framework {

// A Windows metafile: an enhanced metafile (EMF) or a Windows metafile (WMF,
// with or without the placeable header). The size is read from the header
// (EMF frame, placeable bounding box, or the first window extent of a plain
// WMF) at 96 pixels per inch. The platform's GDI plays the records into the
// target's pixels, so drawing works only on Win32; elsewhere Draw raises
// EInvalidGraphicOperation.
class TMetafile : public TGraphic {
public:
  TMetafile() = default;
  ~TMetafile() override = default;

  [[nodiscard]] const char* GraphicClassName() const override { return "TMetafile"; }
  [[nodiscard]] std::unique_ptr<TGraphic> NewInstance() const override;

  [[nodiscard]] int32_t Width() const override { return width_; }
  [[nodiscard]] int32_t Height() const override { return height_; }
  [[nodiscard]] bool Empty() const override { return data_.empty(); }
  void Draw(TCanvas& canvas, const gfx::TRect& rect) const override;
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;
  void Assign(const TGraphic& source) override;

  [[nodiscard]] bool Enhanced() const noexcept { return enhanced_; }
  [[nodiscard]] bool Placeable() const noexcept { return placeable_; }
  [[nodiscard]] const std::vector<uint8_t>& Data() const noexcept { return data_; }

private:
  std::vector<uint8_t> data_;
  int32_t width_ = 0;
  int32_t height_ = 0;
  bool enhanced_ = false;
  bool placeable_ = false;
};

// Plays a metafile's records into rect on the canvas. Win32 only: the
// portable build's version raises EInvalidGraphicOperation.
void PlayMetafile(const TMetafile& metafile, TCanvas& canvas, const gfx::TRect& rect);

} // namespace framework
