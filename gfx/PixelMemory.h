#pragma once
#include "gfx/Color.h"

#include <cstdint>
#include <memory>

namespace gfx {

// The pixel memory behind a bitmap: 32-bit pixels, rows bottom-up, no padding.
// Natively it lives on the heap; on Win32 it is a DIB section, so that the
// platform can draw text, icons and metafiles into the same pixels and blit a
// finished bitmap to a window in one call.
class TPixelMemory {
public:
  virtual ~TPixelMemory() = default;
  [[nodiscard]] virtual TPixel* Bits() noexcept = 0;
  // The platform's handle of the memory (the DIB section's HBITMAP on Win32),
  // nullptr natively.
  [[nodiscard]] virtual void* NativeHandle() const noexcept = 0;
};

// Whether new pixel memory starts as 0 or as whatever it held: a caller about
// to write every pixel (a decoder) saves a pass over the whole frame.
enum class TNewPixels { Cleared, ForOverwrite };

// Width x height pixels, all 0 unless asked for ForOverwrite (the platform may
// still hand out cleared memory then). Throws std::length_error for sizes that
// TPixmap::CheckSize refuses and std::bad_alloc when the memory cannot be had.
// Zero sizes are not allocated: callers keep no memory for an empty bitmap.
[[nodiscard]] std::unique_ptr<TPixelMemory> AllocatePixelMemory(int32_t width, int32_t height,
                                                                TNewPixels start = TNewPixels::Cleared);

} // namespace gfx
