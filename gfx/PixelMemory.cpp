#include "gfx/PixelMemory.h"

#include "gfx/Pixmap.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace gfx {

namespace {

class THeapPixelMemory final : public TPixelMemory {
public:
  THeapPixelMemory(size_t count, TNewPixels start)
    : bits_(start == TNewPixels::Cleared ? std::make_unique<TPixel[]>(count)
                                         : std::make_unique_for_overwrite<TPixel[]>(count))
  {
  }
  TPixel* Bits() noexcept override { return bits_.get(); }
  void* NativeHandle() const noexcept override { return nullptr; }

private:
  std::unique_ptr<TPixel[]> bits_;
};

#if defined(__linux__)

// Frames of a few megabytes and more are read along slanted lines and down
// columns by the effects, touching a new 4 KB page every few pixels; in 2 MB
// pages the processor's address cache holds the whole frame. The memory is
// aligned to the large page and the kernel asked to back it with such pages
// where it does that on request only.
class TLargePixelMemory final : public TPixelMemory {
public:
  static constexpr size_t kLargePage = size_t{2} << 20;

  TLargePixelMemory(size_t count, TNewPixels start)
  {
    const size_t bytes = (count * sizeof(TPixel) + kLargePage - 1) / kLargePage * kLargePage;
    bits_ = static_cast<TPixel*>(std::aligned_alloc(kLargePage, bytes));
    if (bits_ == nullptr)
      throw std::bad_alloc();
    madvise(bits_, bytes, MADV_HUGEPAGE);
    if (start == TNewPixels::Cleared)
      std::memset(bits_, 0, bytes);
  }
  ~TLargePixelMemory() override { std::free(bits_); }
  TLargePixelMemory(const TLargePixelMemory&) = delete;
  TLargePixelMemory& operator=(const TLargePixelMemory&) = delete;

  TPixel* Bits() noexcept override { return bits_; }
  void* NativeHandle() const noexcept override { return nullptr; }

private:
  TPixel* bits_ = nullptr;
};

#endif

} // namespace

std::unique_ptr<TPixelMemory> AllocatePixelMemory(int32_t width, int32_t height, TNewPixels start)
{
  TPixmap::CheckSize(width, height);
  if (width == 0 || height == 0)
    return nullptr;
  const size_t count = size_t(width) * size_t(height);
#if defined(__linux__)
  if (count * sizeof(TPixel) >= TLargePixelMemory::kLargePage)
    return std::make_unique<TLargePixelMemory>(count, start);
#endif
  return std::make_unique<THeapPixelMemory>(count, start);
}

} // namespace gfx
