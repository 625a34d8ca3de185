#include "gfx/PixelMemory.h"

#include "gfx/Pixmap.h"
#include "gfx/win32/GdiHandles.h"

#include <windows.h>

#include <new>

// On Win32 a bitmap's pixels are a DIB section: 32 bits per pixel, rows
// bottom-up (positive height), so the layout is exactly TPixmap's and GDI can
// draw text, icons and metafiles into the same memory.
namespace gfx {

namespace {

class TDibSection final : public TPixelMemory {
public:
  TDibSection(int32_t width, int32_t height)
  {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap_ || !bits)
      throw std::bad_alloc();
    bits_ = static_cast<TPixel*>(bits);
  }

  TPixel* Bits() noexcept override { return bits_; }
  void* NativeHandle() const noexcept override { return bitmap_.Get(); }

private:
  win32::TGdiBitmap bitmap_;
  TPixel* bits_ = nullptr;
};

} // namespace

std::unique_ptr<TPixelMemory> AllocatePixelMemory(int32_t width, int32_t height, TNewPixels)
{
  TPixmap::CheckSize(width, height);
  if (width == 0 || height == 0)
    return nullptr;
  // A fresh DIB section is zero-filled by the platform, page by page as it is
  // first touched, so asking for memory to overwrite costs no extra pass.
  return std::make_unique<TDibSection>(width, height);
}

} // namespace gfx
