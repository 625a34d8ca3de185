#include "framework/Bitmap.h"

#include "framework/Canvas.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <stdexcept>
#include <string>

namespace framework {

namespace {

// Identifiers look like handles: spread over 32 bits, odd and even alike,
// never 0, and different for every bitmap of the process.
uint32_t NextBitmapId() noexcept
{
  static std::atomic<uint32_t> counter{0};
  uint32_t x = counter.fetch_add(1) + 1;
  // A bijective mix of the counter, so consecutive bitmaps get unrelated ids.
  x ^= x >> 16;
  x *= 0x7FEB352Du;
  x ^= x >> 15;
  x *= 0x846CA68Bu;
  x ^= x >> 16;
  return x != 0 ? x : 0x5EED5EEDu;
}

} // namespace

TBitmap::TBitmap() : canvas_(std::make_unique<TCanvas>(&context_)), id_(NextBitmapId())
{
  context_.Bind(&pixmap_);
  canvas_->bitmap_ = this;
}

TBitmap::TBitmap(int32_t width, int32_t height) : TBitmap()
{
  SetSize(width, height);
}

TBitmap::~TBitmap() = default;

void TBitmap::Reallocate(int32_t width, int32_t height, bool keepPixels, gfx::TNewPixels start)
{
  std::unique_ptr<gfx::TPixelMemory> memory = gfx::AllocatePixelMemory(width, height, start);
  gfx::TPixmap view = memory ? gfx::TPixmap::Borrow(memory->Bits(), width, height) : gfx::TPixmap();
  if (keepPixels && memory && !pixmap_.IsEmpty()) {
    const int32_t w = std::min(width, pixmap_.Width());
    const int32_t h = std::min(height, pixmap_.Height());
    for (int32_t y = 0; y < h; ++y)
      std::memcpy(view.ScanLine(y), pixmap_.ScanLine(y), size_t(w) * sizeof(gfx::TPixel));
  }
  // The context keeps pointing at pixmap_, which now describes the new memory.
  pixmap_ = std::move(view);
  memory_ = std::move(memory);
}

void TBitmap::Resize(int32_t width, int32_t height, bool keepPixels, gfx::TNewPixels start)
{
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == Width() && height == Height())
    return;
  gfx::TPixmap::CheckSize(width, height);
  Reallocate(width, height, keepPixels, start);
  Changed();
}

void TBitmap::SetSize(int32_t width, int32_t height)
{
  Resize(width, height, true, gfx::TNewPixels::Cleared);
}

void TBitmap::SetSizeForOverwrite(int32_t width, int32_t height)
{
  Resize(width, height, false, gfx::TNewPixels::ForOverwrite);
}

void TBitmap::SetWidth(int32_t width)
{
  SetSize(width, Height());
}

void TBitmap::SetHeight(int32_t height)
{
  SetSize(Width(), height);
}

void TBitmap::SetPixelFormat(TPixelFormat format)
{
  if (format == format_)
    return;
  format_ = format;
  if (format == pf1bit) {
    const size_t count = size_t(Width()) * size_t(Height());
    gfx::TPixel* p = pixmap_.Bits();
    for (size_t i = 0; i < count; ++i) {
      const uint32_t sum = (p[i] & 0xFF) + ((p[i] >> 8) & 0xFF) + ((p[i] >> 16) & 0xFF);
      p[i] = sum >= 383 ? 0x00FFFFFFu : 0u;
    }
  }
  Changed();
}

gfx::TPixel* TBitmap::ScanLine(int32_t y)
{
  if (y < 0 || y >= Height())
    throw std::out_of_range("Scan line " + std::to_string(y) + " is outside the bitmap");
  return pixmap_.ScanLine(y);
}

const gfx::TPixel* TBitmap::ScanLine(int32_t y) const
{
  if (y < 0 || y >= Height())
    throw std::out_of_range("Scan line " + std::to_string(y) + " is outside the bitmap");
  return pixmap_.ScanLine(y);
}

void TBitmap::Assign(const TBitmap* source)
{
  if (source == this)
    return;
  if (!source) {
    Reallocate(0, 0, false);
    Changed();
    return;
  }
  Reallocate(source->Width(), source->Height(), false);
  if (!pixmap_.IsEmpty())
    std::memcpy(pixmap_.Bits(), source->pixmap_.Bits(),
                size_t(Width()) * size_t(Height()) * sizeof(gfx::TPixel));
  format_ = source->format_;
  Changed();
}

void TBitmap::Mask(gfx::TColor transparentColor)
{
  const gfx::TPixel key = gfx::ColorToPixel(gfx::ColorToRGB(transparentColor));
  const size_t count = size_t(Width()) * size_t(Height());
  gfx::TPixel* p = pixmap_.Bits();
  for (size_t i = 0; i < count; ++i)
    p[i] = (p[i] & 0x00FFFFFFu) == key ? 0x00FFFFFFu : 0u;
  format_ = pf1bit;
  Changed();
}

uint32_t TBitmap::Handle() const noexcept
{
  if (fixedHandle_)
    return *fixedHandle_;
  if (void* native = NativeHandle())
    return uint32_t(reinterpret_cast<uintptr_t>(native));
  return id_;
}

void TBitmap::Changed()
{
  if (OnChange)
    OnChange();
}

} // namespace framework
