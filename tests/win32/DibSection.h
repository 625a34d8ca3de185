#pragma once
// Shared by the effect agreement suites: 32-bit DIB sections that GDI draws
// into, and pixel colours that name where they came from.
#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace agreement {

// Colour bytes that name their source: bit 22 for the new picture, then the
// row and the column. Only the colour bytes are compared.
constexpr uint32_t kColourMask = 0x00FFFFFF;
uint32_t Tagged(bool isNew, int32_t x, int32_t y)
{
  return (uint32_t(isNew) << 22) | (uint32_t(y) << 11) | uint32_t(x);
}

// A 32-bit bottom-up DIB section selected into its own memory DC.
class TDib {
public:
  TDib(int32_t w, int32_t h) : w_(w), h_(h)
  {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<uint32_t*>(bits);
    dc_ = CreateCompatibleDC(nullptr);
    previous_ = SelectObject(dc_, bitmap_);
    SetStretchBltMode(dc_, COLORONCOLOR);
  }
  ~TDib()
  {
    SelectObject(dc_, previous_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
  }
  TDib(const TDib&) = delete;
  TDib& operator=(const TDib&) = delete;

  [[nodiscard]] bool Valid() const { return bitmap_ && bits_ && dc_; }
  [[nodiscard]] HDC DC() const { return dc_; }
  uint32_t& At(int32_t x, int32_t y) { return bits_[size_t(h_ - 1 - y) * size_t(w_) + size_t(x)]; }
  [[nodiscard]] uint32_t* Bits() const { return bits_; }

private:
  int32_t w_, h_;
  HBITMAP bitmap_ = nullptr;
  uint32_t* bits_ = nullptr;
  HDC dc_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

} // namespace agreement
