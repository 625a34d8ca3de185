#pragma once
// Reading back what windows show, for the suites that check skinned pixels:
// the whole window with its non-client area through the window's own device
// context, and what the screen shows through the screen's. Every DC, bitmap
// and selection lives in an owner here, so a failed assertion that leaves a
// test early releases them all.
//
// Captures hold 32-bit pixels as 0x00RRGGBB, the layout of gfx::TPixel and of
// the probe skin's colours (tools/skinart/ProbeColours.h).
#include <windows.h>

#include "tests/win32/InputSupport.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <utility>
#include <vector>

namespace testsupport {

// ---- owners ------------------------------------------------------------------

// A DC that GetDC or GetWindowDC handed out, given back with ReleaseDC.
class TReleasedDC {
public:
  // The window's whole area, non-client included; (0, 0) is the top-left
  // corner of its window rectangle.
  static TReleasedDC OfWindow(HWND window) { return TReleasedDC(window, GetWindowDC(window)); }
  // The window's client area.
  static TReleasedDC OfClient(HWND window) { return TReleasedDC(window, GetDC(window)); }
  // The screen (the virtual desktop's window under Wine).
  static TReleasedDC OfScreen() { return TReleasedDC(nullptr, GetDC(nullptr)); }

  TReleasedDC(TReleasedDC&& other) noexcept
    : window_(other.window_), dc_(std::exchange(other.dc_, nullptr))
  {
  }
  TReleasedDC& operator=(TReleasedDC&&) = delete;
  TReleasedDC(const TReleasedDC&) = delete;
  TReleasedDC& operator=(const TReleasedDC&) = delete;
  ~TReleasedDC()
  {
    if (dc_)
      ReleaseDC(window_, dc_);
  }

  [[nodiscard]] HDC Handle() const { return dc_; }

private:
  TReleasedDC(HWND window, HDC dc) : window_(window), dc_(dc)
  {
    if (!dc_)
      throw std::runtime_error("no device context for the window");
  }

  HWND window_;
  HDC dc_;
};

// A memory DC, deleted with DeleteDC.
class TMemoryDC {
public:
  explicit TMemoryDC(HDC compatibleWith = nullptr) : dc_(CreateCompatibleDC(compatibleWith))
  {
    if (!dc_)
      throw std::runtime_error("CreateCompatibleDC failed");
  }
  TMemoryDC(const TMemoryDC&) = delete;
  TMemoryDC& operator=(const TMemoryDC&) = delete;
  ~TMemoryDC() { DeleteDC(dc_); }
  [[nodiscard]] HDC Handle() const { return dc_; }

private:
  HDC dc_;
};

// A GDI object (bitmap, brush, pen, region, font), deleted with DeleteObject.
template <class T>
class TGdiObject {
public:
  explicit TGdiObject(T handle) : handle_(handle)
  {
    if (!handle_)
      throw std::runtime_error("a GDI object could not be made");
  }
  TGdiObject(const TGdiObject&) = delete;
  TGdiObject& operator=(const TGdiObject&) = delete;
  ~TGdiObject() { DeleteObject(handle_); }
  [[nodiscard]] T Handle() const { return handle_; }

private:
  T handle_;
};

// Selects an object into a DC for its lifetime and puts the previous one back,
// so that the object is no longer selected when its owner deletes it.
class TSelection {
public:
  TSelection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  TSelection(const TSelection&) = delete;
  TSelection& operator=(const TSelection&) = delete;
  ~TSelection() { SelectObject(dc_, previous_); }

private:
  HDC dc_;
  HGDIOBJ previous_;
};

// ---- captures ----------------------------------------------------------------

// A COLORREF (0x00BBGGRR) as captures hold colours (0x00RRGGBB).
constexpr uint32_t RgbOf(COLORREF c)
{
  return (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | uint32_t(GetBValue(c));
}

// Pixels copied off a device context, top row first.
class TCapture {
public:
  TCapture(int32_t width, int32_t height, std::vector<uint32_t> pixels)
    : width_(width), height_(height), pixels_(std::move(pixels))
  {
  }

  [[nodiscard]] int32_t Width() const { return width_; }
  [[nodiscard]] int32_t Height() const { return height_; }
  [[nodiscard]] bool Contains(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  // 0x00RRGGBB; throws outside the capture, so a wrong coordinate in a test
  // is reported instead of reading a neighbour.
  [[nodiscard]] uint32_t At(int32_t x, int32_t y) const
  {
    if (!Contains(x, y))
      throw std::out_of_range("pixel outside the capture");
    return pixels_[size_t(y) * size_t(width_) + size_t(x)];
  }
  // How many pixels of area (clipped to the capture) have the colour.
  [[nodiscard]] int32_t Count(uint32_t colour, RECT area) const
  {
    int32_t n = 0;
    for (int32_t y = std::max<int32_t>(area.top, 0); y < std::min<int32_t>(area.bottom, height_); ++y)
      for (int32_t x = std::max<int32_t>(area.left, 0); x < std::min<int32_t>(area.right, width_); ++x)
        n += At(x, y) == colour ? 1 : 0;
    return n;
  }
  [[nodiscard]] RECT Bounds() const { return {0, 0, width_, height_}; }

private:
  int32_t width_;
  int32_t height_;
  std::vector<uint32_t> pixels_;
};

// Copies the w x h area at (x, y) of a DC into a capture: one BitBlt into a
// top-down 32-bit DIB section.
inline TCapture CaptureDC(HDC source, int32_t x, int32_t y, int32_t w, int32_t h)
{
  if (w <= 0 || h <= 0)
    return TCapture(0, 0, {});
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  TMemoryDC memory(source);
  void* bits = nullptr;
  TGdiObject<HBITMAP> dib(CreateDIBSection(memory.Handle(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  {
    TSelection selected(memory.Handle(), dib.Handle());
    if (!BitBlt(memory.Handle(), 0, 0, w, h, source, x, y, SRCCOPY))
      throw std::runtime_error("BitBlt from the window failed");
    GdiFlush();
  }
  const auto* p = static_cast<const uint32_t*>(bits);
  std::vector<uint32_t> pixels(size_t(w) * size_t(h));
  for (size_t i = 0; i < pixels.size(); ++i)
    pixels[i] = p[i] & 0xFFFFFF;
  return TCapture(w, h, std::move(pixels));
}

// The window's size as its window rectangle gives it.
inline SIZE WindowSize(HWND window)
{
  RECT r{};
  GetWindowRect(window, &r);
  return {r.right - r.left, r.bottom - r.top};
}

// The whole window, non-client area included, as its own window DC draws it;
// (0, 0) is the top-left corner of the window rectangle.
inline TCapture CaptureWindow(HWND window)
{
  const SIZE size = WindowSize(window);
  const TReleasedDC dc = TReleasedDC::OfWindow(window);
  return CaptureDC(dc.Handle(), 0, 0, size.cx, size.cy);
}

// One pixel of the window in window coordinates (non-client included).
inline uint32_t WindowPixel(HWND window, int32_t x, int32_t y)
{
  const TReleasedDC dc = TReleasedDC::OfWindow(window);
  return CaptureDC(dc.Handle(), x, y, 1, 1).At(0, 0);
}

// What the screen shows in a rectangle of screen coordinates: windows on top,
// and whatever a window left unpainted.
inline TCapture CaptureScreen(const RECT& area)
{
  const TReleasedDC dc = TReleasedDC::OfScreen();
  return CaptureDC(dc.Handle(), area.left, area.top, area.right - area.left, area.bottom - area.top);
}

// The screen's area under a window's rectangle; the same coordinates as
// CaptureWindow, but what actually shows.
inline TCapture CaptureScreenOf(HWND window)
{
  RECT r{};
  GetWindowRect(window, &r);
  return CaptureScreen(r);
}

// Where the client area lies in window coordinates: everything of the window
// rectangle outside it is non-client.
inline RECT ClientRectInWindow(HWND window)
{
  RECT windowRect{};
  RECT client{};
  GetWindowRect(window, &windowRect);
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  const int32_t dx = origin.x - windowRect.left;
  const int32_t dy = origin.y - windowRect.top;
  return {client.left + dx, client.top + dy, client.right + dx, client.bottom + dy};
}

// Window coordinates (non-client included) to screen coordinates.
inline POINT WindowToScreen(HWND window, POINT p)
{
  RECT r{};
  GetWindowRect(window, &r);
  return {r.left + p.x, r.top + p.y};
}

// Pumps until the window shows the colour at a point (window coordinates)
// through its window DC. The first window of a session can take a moment
// before the desktop shows it, and reads black until then.
inline bool WaitForWindowPixel(HWND window, POINT at, uint32_t colour, int32_t timeoutMs = 5000)
{
  return PumpUntil([&] { return WindowPixel(window, at.x, at.y) == colour; }, timeoutMs);
}

} // namespace testsupport
