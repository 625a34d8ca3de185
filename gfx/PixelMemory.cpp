#include "gfx/PixelMemory.h"

#include "gfx/Pixmap.h"

#include <memory>

namespace gfx {

namespace {

class THeapPixelMemory final : public TPixelMemory {
public:
  explicit THeapPixelMemory(size_t count) : bits_(std::make_unique<TPixel[]>(count)) {}
  TPixel* Bits() noexcept override { return bits_.get(); }
  void* NativeHandle() const noexcept override { return nullptr; }

private:
  std::unique_ptr<TPixel[]> bits_;
};

} // namespace

std::unique_ptr<TPixelMemory> AllocatePixelMemory(int32_t width, int32_t height)
{
  TPixmap::CheckSize(width, height);
  if (width == 0 || height == 0)
    return nullptr;
  return std::make_unique<THeapPixelMemory>(size_t(width) * size_t(height));
}

} // namespace gfx
