#pragma once
#include <windows.h>

// Subclassing any window of this process: our own, system dialogs, message
// boxes, the system's menu windows.
//
// A TSubclass puts its WindowProc in front of the window's current procedure
// and passes on what it does not handle with CallPrevious. Several may sit on
// one window, mixed with subclasses that others made by hand, and each may be
// removed in any order: removing one never cuts off a subclass installed after
// it. Install and remove on the window's own thread.
//
// When the window is destroyed, every subclass still on it sees WM_NCDESTROY
// in its WindowProc and then WindowDestroyed; after that it is detached.
namespace framework {

class TSubclassChain;

class TSubclass {
public:
  TSubclass() = default;
  virtual ~TSubclass();
  TSubclass(const TSubclass&) = delete;
  TSubclass& operator=(const TSubclass&) = delete;

  // Puts this subclass in front of the window's current procedure. Throws
  // when the window cannot be subclassed (it is gone, or belongs to another
  // process) or when this subclass already sits on a window.
  void Install(HWND window);
  // Takes this subclass out of the chain; nothing when it is not installed.
  void Remove();

  [[nodiscard]] HWND Window() const { return window_; }
  [[nodiscard]] bool Installed() const { return window_ != nullptr; }

  // Whether the window has a subclass of this kind in its chain.
  [[nodiscard]] static bool IsSubclassed(HWND window);

protected:
  // Sees every message of the window before the procedures installed earlier.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) { return CallPrevious(message, wParam, lParam); }
  // Passes a message on to the procedure this subclass was put in front of.
  LRESULT CallPrevious(UINT message, WPARAM wParam, LPARAM lParam);
  // The window has been destroyed; this subclass is detached.
  virtual void WindowDestroyed() {}

private:
  friend class TSubclassChain;
  HWND window_ = nullptr;
  TSubclassChain* chain_ = nullptr;
  // The window-procedure stack this subclass runs in, while it handles a
  // message; CallPrevious continues below it.
  size_t layer_ = 0;
};

} // namespace framework
