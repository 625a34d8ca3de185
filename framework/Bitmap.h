#pragma once
#include "gfx/Color.h"
#include "gfx/DrawContext.h"
#include "gfx/PixelMemory.h"
#include "gfx/Pixmap.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace framework {

class TCanvas;

// The pixel format a bitmap claims. Pixels are always kept as 32 bits, blue,
// green, red, unused: the tag records what the bitmap stands for (a mask is
// pf1bit, a skin bitmap pf24bit). Changing the tag never changes a pixel
// except that pf1bit makes every pixel black or white (see SetPixelFormat).
enum TPixelFormat : uint8_t { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };

// A bitmap with a canvas. Width x height 32-bit pixels in the device-
// independent layout (rows bottom-up, ScanLine(y) is row y counted from the
// top). On Win32 the memory is a DIB section (NativeHandle is its HBITMAP), so
// GDI can draw into the same pixels; call GdiFlush before reading pixels GDI
// drew. A bitmap is neither copied nor moved: Assign copies another's pixels.
class TBitmap {
public:
  TBitmap();
  TBitmap(int32_t width, int32_t height);
  ~TBitmap();
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;

  [[nodiscard]] int32_t Width() const noexcept { return pixmap_.Width(); }
  [[nodiscard]] int32_t Height() const noexcept { return pixmap_.Height(); }
  [[nodiscard]] bool Empty() const noexcept { return pixmap_.IsEmpty(); }
  // New sizes keep the pixels that still fit (top-left anchored) and clear
  // the rest to 0. Negative sizes count as 0; sizes beyond TPixmap's limits
  // throw std::length_error and leave the bitmap unchanged.
  void SetWidth(int32_t width);
  void SetHeight(int32_t height);
  void SetSize(int32_t width, int32_t height);
  // Takes the new size with pixels of no particular value, for a caller that
  // writes every pixel next (a decoder): the memory is not cleared first.
  void SetSizeForOverwrite(int32_t width, int32_t height);

  [[nodiscard]] TPixelFormat PixelFormat() const noexcept { return format_; }
  // Sets the tag. Going to pf1bit turns every pixel black or white by its
  // brightness (white when red + green + blue >= 383); every other change
  // keeps the pixels as they are.
  void SetPixelFormat(TPixelFormat format);

  // Row y (0 = top) as Width pixels. Throws std::out_of_range for a row
  // outside the bitmap.
  [[nodiscard]] gfx::TPixel* ScanLine(int32_t y);
  [[nodiscard]] const gfx::TPixel* ScanLine(int32_t y) const;
  [[nodiscard]] gfx::TPixmap& Pixmap() noexcept { return pixmap_; }
  [[nodiscard]] const gfx::TPixmap& Pixmap() const noexcept { return pixmap_; }

  // Takes source's size, pixel format and pixels (nullptr: becomes empty).
  void Assign(const TBitmap* source);
  void Assign(const TBitmap& source) { Assign(&source); }
  // Turns the bitmap into a monochrome mask of itself (pf1bit): white where a
  // pixel has the colour (RGB; system colours resolved), black elsewhere.
  void Mask(gfx::TColor transparentColor);

  // The canvas drawing on this bitmap; its handle is this bitmap's context.
  [[nodiscard]] TCanvas& Canvas() noexcept { return *canvas_; }
  [[nodiscard]] gfx::TDrawContext& Context() noexcept { return context_; }

  // An identifier of this bitmap as a 32-bit number, different for every
  // live bitmap: on Win32 the DIB section's HBITMAP (new after a resize),
  // natively a number drawn for the bitmap at construction that never
  // changes. Effects seed the random generator with it.
  [[nodiscard]] uint32_t Handle() const noexcept;
  // Makes Handle answer value from now on, whatever memory the bitmap has:
  // for tools that must reproduce the random patterns of the effects, which
  // seed the generator with the new picture's handle.
  void FixHandle(uint32_t value) noexcept { fixedHandle_ = value; }
  // The platform's handle of the pixel memory: the DIB section's HBITMAP on
  // Win32 (select it into a memory DC to draw with GDI), nullptr natively or
  // while the bitmap is empty.
  [[nodiscard]] void* NativeHandle() const noexcept { return memory_ ? memory_->NativeHandle() : nullptr; }

  // Called after the size, format or pixels changed through the bitmap's own
  // operations (SetSize, Assign, Mask, SetPixelFormat) and after the canvas
  // drew (the canvas forwards its change notification here).
  std::function<void()> OnChange;
  void Changed();

private:
  void Resize(int32_t width, int32_t height, bool keepPixels, gfx::TNewPixels start);
  void Reallocate(int32_t width, int32_t height, bool keepPixels,
                  gfx::TNewPixels start = gfx::TNewPixels::Cleared);

  std::unique_ptr<gfx::TPixelMemory> memory_;
  gfx::TPixmap pixmap_;
  gfx::TDrawContext context_;
  std::unique_ptr<TCanvas> canvas_;
  TPixelFormat format_ = pfDevice;
  uint32_t id_;
  std::optional<uint32_t> fixedHandle_;
};

} // namespace framework
