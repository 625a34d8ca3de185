#pragma once
// Owners of the windows a Win32 suite makes for itself: a registered window
// class and a window, undone in reverse order however a test ends.
#include <windows.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

namespace testsupport {

// A window class of the process, unregistered when the owner goes. The
// procedure must be a real CALLBACK function.
class TWindowClass {
public:
  TWindowClass(std::wstring name, WNDPROC procedure, HBRUSH background = nullptr, UINT style = 0)
    : name_(std::move(name))
  {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = style;
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = background;
    wc.lpszClassName = name_.c_str();
    if (!RegisterClassExW(&wc))
      throw std::runtime_error("RegisterClassExW failed");
  }
  TWindowClass(const TWindowClass&) = delete;
  TWindowClass& operator=(const TWindowClass&) = delete;
  ~TWindowClass() { UnregisterClassW(name_.c_str(), GetModuleHandleW(nullptr)); }

  [[nodiscard]] const wchar_t* Name() const { return name_.c_str(); }

private:
  std::wstring name_;
};

// A window destroyed with its owner (unless it is gone already).
class TWindow {
public:
  explicit TWindow(HWND window) : window_(window)
  {
    if (!window_)
      throw std::runtime_error("CreateWindowExW failed");
  }
  TWindow(TWindow&& other) noexcept : window_(std::exchange(other.window_, nullptr)) {}
  TWindow& operator=(TWindow&&) = delete;
  TWindow(const TWindow&) = delete;
  TWindow& operator=(const TWindow&) = delete;
  ~TWindow()
  {
    if (window_ && IsWindow(window_))
      DestroyWindow(window_);
  }

  [[nodiscard]] HWND Handle() const { return window_; }

private:
  HWND window_;
};

// A top-level window of the class with a caption and a sizing frame, shown.
inline TWindow MakeFramedWindow(const TWindowClass& windowClass, const wchar_t* title, int32_t x, int32_t y,
                                int32_t width, int32_t height, void* param = nullptr)
{
  return TWindow(CreateWindowExW(0, windowClass.Name(), title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, width, height,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), param));
}

} // namespace testsupport
