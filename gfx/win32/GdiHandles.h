#pragma once
// Owners of GDI handles: objects (brushes, pens, fonts, bitmaps, regions),
// memory and window device contexts, and the selection of an object into a
// DC for a scope. Every GDI handle the program makes is held by one of these,
// so that no path releases it by hand and no other path forgets it. They live
// at the bottom layer so the pixel layer's own bridges use them too; the
// framework adds the owners that need a window or winmm.
#include <windows.h>

#include <atomic>
#include <new>
#include <utility>

namespace gfx::win32 {

// How many GDI handles the owners below hold right now. Where the system does
// not count a process's GDI objects (Wine's GetGuiResources answers 0), the
// endurance checks count these instead.
inline std::atomic<long>& HeldGdiHandles()
{
  static std::atomic<long> held{0};
  return held;
}
inline void CountHeld(const void* from, const void* to) noexcept
{
  HeldGdiHandles() += long(to != nullptr) - long(from != nullptr);
}

// Owns one GDI object and deletes it. T is the handle type (HBRUSH, HPEN,
// HFONT, HBITMAP, HRGN or HGDIOBJ). An object must not be selected into a DC
// when its owner goes; TSelectObject restores the DC first.
template <class T>
class [[nodiscard]] TGdiObject {
public:
  TGdiObject() noexcept = default;
  explicit TGdiObject(T handle) noexcept { Hold(handle); }
  ~TGdiObject() { Reset(); }
  TGdiObject(TGdiObject&& other) noexcept { Hold(other.Release()); }
  TGdiObject& operator=(TGdiObject&& other) noexcept
  {
    if (this != &other)
      Reset(other.Release());
    return *this;
  }
  TGdiObject(const TGdiObject&) = delete;
  TGdiObject& operator=(const TGdiObject&) = delete;

  [[nodiscard]] T Get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != nullptr; }
  // Hands the handle on; this owner holds nothing afterwards.
  [[nodiscard]] T Release() noexcept
  {
    CountHeld(handle_, nullptr);
    return std::exchange(handle_, nullptr);
  }
  // Deletes the held object and takes the given one.
  void Reset(T handle = nullptr) noexcept
  {
    if (handle_ && handle_ != handle)
      DeleteObject(handle_);
    Hold(handle);
  }

private:
  void Hold(T handle) noexcept
  {
    CountHeld(handle_, handle);
    handle_ = handle;
  }

  T handle_ = nullptr;
};

using TGdiBrush = TGdiObject<HBRUSH>;
using TGdiPen = TGdiObject<HPEN>;
using TGdiFont = TGdiObject<HFONT>;
using TGdiBitmap = TGdiObject<HBITMAP>;

// A memory DC made by CreateCompatibleDC, deleted with its owner. Failing
// to make one throws std::bad_alloc: GDI has run out of room.
class [[nodiscard]] TMemoryDC {
public:
  TMemoryDC() noexcept = default;
  // A DC compatible with the given one (with the screen for nullptr).
  explicit TMemoryDC(HDC compatible) : dc_(CreateCompatibleDC(compatible))
  {
    if (!dc_)
      throw std::bad_alloc();
    CountHeld(nullptr, dc_);
  }
  ~TMemoryDC() { Reset(); }
  TMemoryDC(TMemoryDC&& other) noexcept : dc_(other.Release()) { CountHeld(nullptr, dc_); }
  TMemoryDC& operator=(TMemoryDC&& other) noexcept
  {
    if (this != &other) {
      Reset();
      dc_ = other.Release();
      CountHeld(nullptr, dc_);
    }
    return *this;
  }
  TMemoryDC(const TMemoryDC&) = delete;
  TMemoryDC& operator=(const TMemoryDC&) = delete;

  [[nodiscard]] HDC Get() const noexcept { return dc_; }
  explicit operator bool() const noexcept { return dc_ != nullptr; }
  [[nodiscard]] HDC Release() noexcept
  {
    CountHeld(dc_, nullptr);
    return std::exchange(dc_, nullptr);
  }
  void Reset() noexcept
  {
    if (dc_) {
      CountHeld(dc_, nullptr);
      DeleteDC(std::exchange(dc_, nullptr));
    }
  }

private:
  HDC dc_ = nullptr;
};

// The DC of a window's client area (of the screen for nullptr) from GetDC,
// or of the whole window, frame and caption included, from GetWindowDC;
// given back with its owner. Get answers nullptr when the system gave none.
class [[nodiscard]] TWindowDC {
public:
  explicit TWindowDC(HWND window) noexcept : window_(window), dc_(GetDC(window)) { CountHeld(nullptr, dc_); }
  // The non-client area too: what a frame is painted through.
  [[nodiscard]] static TWindowDC WholeWindow(HWND window) noexcept { return TWindowDC(window, GetWindowDC(window)); }
  ~TWindowDC() { Reset(); }
  TWindowDC(TWindowDC&& other) noexcept : window_(other.window_), dc_(std::exchange(other.dc_, nullptr)) {}
  TWindowDC& operator=(TWindowDC&& other) noexcept
  {
    if (this != &other) {
      Reset();
      window_ = other.window_;
      dc_ = std::exchange(other.dc_, nullptr);
    }
    return *this;
  }
  TWindowDC(const TWindowDC&) = delete;
  TWindowDC& operator=(const TWindowDC&) = delete;

  [[nodiscard]] HDC Get() const noexcept { return dc_; }
  [[nodiscard]] HWND Window() const noexcept { return window_; }
  explicit operator bool() const noexcept { return dc_ != nullptr; }
  void Reset() noexcept
  {
    if (dc_) {
      CountHeld(dc_, nullptr);
      ReleaseDC(window_, std::exchange(dc_, nullptr));
    }
  }

private:
  TWindowDC(HWND window, HDC dc) noexcept : window_(window), dc_(dc) { CountHeld(nullptr, dc_); }

  HWND window_ = nullptr;
  HDC dc_ = nullptr;
};

// Selects an object into a DC for a scope and selects back what was there.
// Declare it after the owners of the DC and of the object, so that it goes
// first.
class [[nodiscard]] TSelectObject {
public:
  TSelectObject(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
  ~TSelectObject()
  {
    if (previous_ && previous_ != HGDI_ERROR)
      SelectObject(dc_, previous_);
  }
  TSelectObject(const TSelectObject&) = delete;
  TSelectObject& operator=(const TSelectObject&) = delete;

private:
  HDC dc_;
  HGDIOBJ previous_;
};

// Takes a right-to-left DC's mirroring off for a scope: drawing in it then
// counts from the window's left edge, as hit-testing and the mouse do.
class [[nodiscard]] TUnmirroredDC {
public:
  explicit TUnmirroredDC(HDC dc) noexcept : dc_(dc), layout_(dc ? GetLayout(dc) : 0)
  {
    if (layout_ & LAYOUT_RTL)
      SetLayout(dc_, 0);
  }
  ~TUnmirroredDC()
  {
    if (layout_ & LAYOUT_RTL)
      SetLayout(dc_, layout_);
  }
  TUnmirroredDC(const TUnmirroredDC&) = delete;
  TUnmirroredDC& operator=(const TUnmirroredDC&) = delete;

private:
  HDC dc_;
  DWORD layout_;
};

} // namespace gfx::win32
