#pragma once
// A message-only window: other threads post to it, and its handler runs on
// the thread that made it. Destroyed with its owner.
#include <windows.h>

#include <functional>

namespace framework {

class TMessageWindow {
public:
  using THandler = std::function<void(UINT message, WPARAM wParam, LPARAM lParam)>;

  // The handler runs for every message posted to the window from WM_APP on;
  // an error it raises is reported by the application.
  explicit TMessageWindow(THandler handler);
  ~TMessageWindow();
  TMessageWindow(const TMessageWindow&) = delete;
  TMessageWindow& operator=(const TMessageWindow&) = delete;

  [[nodiscard]] HWND Handle() const noexcept { return handle_; }
  // Posts a message to the window; callable from any thread.
  bool Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const noexcept;

private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  THandler handler_;
  HWND handle_ = nullptr;
};

} // namespace framework
