#include "gfx/Pixmap.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace gfx {

void TPixmap::CheckSize(int64_t width, int64_t height)
{
  if (width < 0 || height < 0 || width > kMaxSide || height > kMaxSide || width * height > kMaxPixels)
    throw std::length_error("Bitmap size " + std::to_string(width) + " x " + std::to_string(height) +
                            " is out of range");
}

TPixmap::TPixmap(int32_t width, int32_t height)
{
  CheckSize(width, height);
  if (width > 0 && height > 0) {
    owned_ = std::make_unique<TPixel[]>(size_t(width) * size_t(height));
    bits_ = owned_.get();
    width_ = width;
    height_ = height;
  }
}

TPixmap TPixmap::ForOverwrite(int32_t width, int32_t height)
{
  CheckSize(width, height);
  TPixmap pixmap;
  if (width > 0 && height > 0) {
    pixmap.owned_ = std::make_unique_for_overwrite<TPixel[]>(size_t(width) * size_t(height));
    pixmap.bits_ = pixmap.owned_.get();
    pixmap.width_ = width;
    pixmap.height_ = height;
  }
  return pixmap;
}

TPixmap TPixmap::Borrow(TPixel* bits, int32_t width, int32_t height) noexcept
{
  TPixmap view;
  view.bits_ = bits;
  view.width_ = bits ? width : 0;
  view.height_ = bits ? height : 0;
  return view;
}

void TPixmap::Fill(TPixel value) noexcept
{
  std::fill_n(bits_, size_t(width_) * size_t(height_), value);
}

} // namespace gfx
