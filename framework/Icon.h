#pragma once
#include "framework/Graphic.h"
#include "gfx/codecs/Ico.h"

#include <map>
#include <vector>

namespace framework {

// An icon file with one or more images. Its natural size is that of its
// largest image; drawing picks the image that suits the target rectangle best
// (gfx::SelectIconEntry) and composes it with its mask or alpha over what
// the canvas already shows, so transparent pixels show the background.
class TIcon : public TGraphic {
public:
  TIcon() = default;
  ~TIcon() override = default;

  [[nodiscard]] const char* GraphicClassName() const override { return "TIcon"; }
  [[nodiscard]] std::unique_ptr<TGraphic> NewInstance() const override;

  [[nodiscard]] int32_t Width() const override;
  [[nodiscard]] int32_t Height() const override;
  [[nodiscard]] bool Empty() const override { return entries_.empty(); }
  void Draw(TCanvas& canvas, const gfx::TRect& rect) const override;
  // Reads an ICO file; every image that is not a PNG is decoded and checked,
  // and at least one must be usable.
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;
  void Assign(const TGraphic& source) override;

  [[nodiscard]] const std::vector<gfx::TIconEntry>& Entries() const noexcept { return entries_; }
  // The entry drawn into a rectangle of the given size.
  [[nodiscard]] size_t EntryFor(int32_t width, int32_t height) const;

private:
  std::vector<uint8_t> data_;
  std::vector<gfx::TIconEntry> entries_;
  std::map<size_t, gfx::TIconImage> images_; // decoded entries, PNG ones left out
  size_t natural_ = 0;
};

} // namespace framework
