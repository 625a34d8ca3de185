#include "framework/win32/MessageWindow.h"

#include "framework/Exceptions.h"
#include "framework/win32/Forms.h"
#include "framework/win32/Handles.h"

namespace framework {

namespace {
constexpr const wchar_t* kClassName = L"TMessageWindow";
}

TMessageWindow::TMessageWindow(THandler handler) : handler_(std::move(handler))
{
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &TMessageWindow::WindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kClassName;
  RegisterWindowClass(wc);
  handle_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, this);
  if (!handle_)
    throw Exception("Cannot create a message window");
}

TMessageWindow::~TMessageWindow()
{
  DestroyWindow(handle_);
}

bool TMessageWindow::Post(UINT message, WPARAM wParam, LPARAM lParam) const noexcept
{
  return PostMessageW(handle_, message, wParam, lParam) != FALSE;
}

LRESULT CALLBACK TMessageWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<TMessageWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message >= WM_APP && message <= 0xBFFF && self && self->handler_) {
    try {
      self->handler_(message, wParam, lParam);
    } catch (...) {
      if (Application)
        Application->HandleException(nullptr);
    }
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace framework
