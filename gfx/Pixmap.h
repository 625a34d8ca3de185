#pragma once
#include "gfx/Color.h"
#include "gfx/Geometry.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace gfx {

// 32-bit pixels in the device-independent layout: rows stored bottom-up, each
// pixel blue, green, red, unused. Row y (counted from the top) starts at
// Bits() + (Height - 1 - y) * Width. The memory is either owned (heap) or lent
// by the platform (a DIB section on Win32), which then stays responsible for it.
class TPixmap {
public:
  TPixmap() = default;
  // Owned memory, every pixel 0. Throws std::length_error for sizes that are
  // negative or too large to address.
  TPixmap(int32_t width, int32_t height);
  // Owned memory whose pixels are not set: for a caller that writes them all.
  static TPixmap ForOverwrite(int32_t width, int32_t height);
  // Lent memory: bits points at Height rows of Width pixels, bottom row first.
  static TPixmap Borrow(TPixel* bits, int32_t width, int32_t height) noexcept;

  TPixmap(TPixmap&&) noexcept = default;
  TPixmap& operator=(TPixmap&&) noexcept = default;
  TPixmap(const TPixmap&) = delete;
  TPixmap& operator=(const TPixmap&) = delete;

  [[nodiscard]] int32_t Width() const noexcept { return width_; }
  [[nodiscard]] int32_t Height() const noexcept { return height_; }
  [[nodiscard]] TRect Bounds() const noexcept { return {0, 0, width_, height_}; }
  [[nodiscard]] bool IsEmpty() const noexcept { return width_ <= 0 || height_ <= 0; }
  [[nodiscard]] TPixel* Bits() noexcept { return bits_; }
  [[nodiscard]] const TPixel* Bits() const noexcept { return bits_; }
  [[nodiscard]] TPixel* ScanLine(int32_t y) noexcept { return bits_ + RowOffset(y); }
  [[nodiscard]] const TPixel* ScanLine(int32_t y) const noexcept { return bits_ + RowOffset(y); }
  [[nodiscard]] TPixel& At(int32_t x, int32_t y) noexcept { return ScanLine(y)[x]; }
  [[nodiscard]] TPixel At(int32_t x, int32_t y) const noexcept { return ScanLine(y)[x]; }

  void Fill(TPixel value) noexcept;

  // Largest side and pixel count we agree to allocate: beyond this a picture
  // header is lying or the request is a mistake.
  static constexpr int32_t kMaxSide = 32768;
  static constexpr int64_t kMaxPixels = int64_t{16384} * 16384;
  static void CheckSize(int64_t width, int64_t height);

private:
  [[nodiscard]] size_t RowOffset(int32_t y) const noexcept { return size_t(height_ - 1 - y) * size_t(width_); }

  std::unique_ptr<TPixel[]> owned_;
  TPixel* bits_ = nullptr;
  int32_t width_ = 0;
  int32_t height_ = 0;
};

} // namespace gfx
