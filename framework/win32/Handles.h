#pragma once
// The owners of the framework's Win32 handles. GDI objects and device
// contexts come from the pixel layer's owners (gfx/win32/GdiHandles.h); this
// adds a paint scope, multimedia timers and the one way window classes are
// registered; it brings the guard that mutes a change notification along.
// Every owner is move-only (or fixed to its scope) and releases exactly once.
#include <windows.h>

#include <mmsystem.h>

#include <mutex>
#include <set>
#include <string>
#include <utility>

#include "framework/Exceptions.h"
#include "framework/MuteScope.h"
#include "framework/Streams.h"
#include "gfx/win32/GdiInterop.h"

namespace framework {

using gfx::win32::TGdiBitmap;
using gfx::win32::TGdiBrush;
using gfx::win32::TGdiFont;
using gfx::win32::TGdiObject;
using gfx::win32::TGdiPen;
using gfx::win32::TMemoryDC;
using gfx::win32::TSelectObject;
using gfx::win32::TUnmirroredDC;
using gfx::win32::TWindowDC;
using gfx::win32::TGdiRegion;

// BeginPaint for a scope, EndPaint on leaving it (also when painting throws).
class [[nodiscard]] TPaintScope {
public:
  explicit TPaintScope(HWND window) noexcept : window_(window) { dc_ = BeginPaint(window, &paint_); }
  ~TPaintScope() { EndPaint(window_, &paint_); }
  TPaintScope(const TPaintScope&) = delete;
  TPaintScope& operator=(const TPaintScope&) = delete;

  [[nodiscard]] HDC DC() const noexcept { return dc_; }
  [[nodiscard]] const PAINTSTRUCT& Info() const noexcept { return paint_; }
  [[nodiscard]] RECT Dirty() const noexcept { return paint_.rcPaint; }

private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_ = nullptr;
};

// A multimedia timer (timeSetEvent), killed with its owner. With
// TIME_KILL_SYNCHRONOUS in the flags, no call of the callback is under way
// or to come once the owner is gone.
class [[nodiscard]] TMultimediaTimer {
public:
  TMultimediaTimer() noexcept = default;
  TMultimediaTimer(UINT delay, UINT resolution, LPTIMECALLBACK callback, DWORD_PTR user, UINT flags) noexcept
    : id_(timeSetEvent(delay, resolution, callback, user, flags))
  {
  }
  ~TMultimediaTimer() { Reset(); }
  TMultimediaTimer(TMultimediaTimer&& other) noexcept : id_(other.Release()) {}
  TMultimediaTimer& operator=(TMultimediaTimer&& other) noexcept
  {
    if (this != &other) {
      Reset();
      id_ = other.Release();
    }
    return *this;
  }
  TMultimediaTimer(const TMultimediaTimer&) = delete;
  TMultimediaTimer& operator=(const TMultimediaTimer&) = delete;

  // The timer's id; 0 when none runs (timeSetEvent failed or it was killed).
  [[nodiscard]] UINT Get() const noexcept { return id_; }
  explicit operator bool() const noexcept { return id_ != 0; }
  [[nodiscard]] UINT Release() noexcept { return std::exchange(id_, 0u); }
  void Reset() noexcept
  {
    if (id_)
      timeKillEvent(std::exchange(id_, 0u));
  }

private:
  UINT id_ = 0;
};

// A menu (CreateMenu, CreatePopupMenu), destroyed with its owner together
// with the sub-menus placed in it. A menu shown by a window is destroyed by
// the system with the window: whoever puts one there takes it off again
// before the window goes.
class [[nodiscard]] TMenuHandle {
public:
  TMenuHandle() noexcept = default;
  explicit TMenuHandle(HMENU menu) noexcept : menu_(menu) {}
  ~TMenuHandle() { Reset(); }
  TMenuHandle(TMenuHandle&& other) noexcept : menu_(other.Release()) {}
  TMenuHandle& operator=(TMenuHandle&& other) noexcept
  {
    if (this != &other) {
      Reset();
      menu_ = other.Release();
    }
    return *this;
  }
  TMenuHandle(const TMenuHandle&) = delete;
  TMenuHandle& operator=(const TMenuHandle&) = delete;

  [[nodiscard]] HMENU Get() const noexcept { return menu_; }
  explicit operator bool() const noexcept { return menu_ != nullptr; }
  [[nodiscard]] HMENU Release() noexcept { return std::exchange(menu_, nullptr); }
  void Reset() noexcept
  {
    if (menu_)
      DestroyMenu(std::exchange(menu_, nullptr));
  }

private:
  HMENU menu_ = nullptr;
};

// Registers a window class the first time it is asked for in this process
// and does nothing afterwards. A class someone else registered under the
// same name counts as registered. Any other failure throws Exception.
// Defined here so that libraries above the framework that make windows of
// their own need only this header.
inline void RegisterWindowClass(const WNDCLASSEXW& windowClass)
{
  static std::mutex guard;
  static std::set<std::wstring> registered;
  const std::wstring name = windowClass.lpszClassName ? windowClass.lpszClassName : L"";
  std::lock_guard lock(guard);
  if (!name.empty() && registered.count(name))
    return;
  if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    throw Exception("Cannot register the window class " + WideToUtf8(name));
  registered.insert(name);
}

} // namespace framework
