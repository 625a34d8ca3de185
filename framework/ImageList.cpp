#include "framework/ImageList.h"

#include <algorithm>

#include "framework/TypeInfo.h"
#include "gfx/Color.h"

namespace framework {

const TClassInfo& TCustomImageList::ClassType()
{
  static TClassInfo info("TCustomImageList", &TComponent::ClassType());
  static const bool described = [] {
    info.Int("Width", &TCustomImageList::Width, &TCustomImageList::SetWidth, 16);
    info.Int("Height", &TCustomImageList::Height, &TCustomImageList::SetHeight, 16);
    return true;
  }();
  (void)described;
  return info;
}

const TClassInfo& TImageList::ClassType()
{
  static const TClassInfo info("TImageList", &TCustomImageList::ClassType(),
                               [](TComponent* owner) -> TComponent* { return new TImageList(owner); });
  return info;
}

TCustomImageList::TCustomImageList(TComponent* owner) : TComponent(owner) {}

TCustomImageList::~TCustomImageList() = default;

void TCustomImageList::SetWidth(int value)
{
  value = std::max(1, value);
  if (value == width_)
    return;
  width_ = value;
  images_.clear();
}

void TCustomImageList::SetHeight(int value)
{
  value = std::max(1, value);
  if (value == height_)
    return;
  height_ = value;
  images_.clear();
}

int TCustomImageList::Add(const TBitmap& strip)
{
  const int first = Count();
  const int rows = std::min(height_, int(strip.Height()));
  for (int left = 0; left + width_ <= strip.Width(); left += width_) {
    auto image = std::make_unique<TBitmap>(width_, height_);
    for (int y = 0; y < rows; ++y)
      std::copy_n(strip.ScanLine(y) + left, width_, image->ScanLine(y));
    // Rows the strip does not have stay transparent.
    for (int y = rows; y < height_; ++y)
      std::fill_n(image->ScanLine(y), width_, gfx::ColorToPixel(gfx::clFuchsia));
    images_.push_back(std::move(image));
  }
  return Count() > first ? first : -1;
}

void DrawGlyph(TCanvas& canvas, const TBitmap& glyph, int x, int y, bool enabled)
{
  const gfx::TPixel key = gfx::ColorToPixel(gfx::clFuchsia);
  const gfx::TColor shadow = gfx::ColorToRGB(gfx::clBtnShadow);
  for (int row = 0; row < glyph.Height(); ++row) {
    const gfx::TPixel* pixels = glyph.ScanLine(row);
    for (int column = 0; column < glyph.Width(); ++column) {
      if ((pixels[column] & 0xFFFFFF) == key)
        continue;
      canvas.SetPixel(x + column, y + row, enabled ? gfx::PixelToColor(pixels[column]) : shadow);
    }
  }
}

void TCustomImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) const
{
  if (index >= 0 && index < Count())
    DrawGlyph(canvas, *images_[size_t(index)], x, y, enabled);
}

} // namespace framework
