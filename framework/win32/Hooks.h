#pragma once
#include <windows.h>

#include <functional>
#include <optional>

// Hooks of the calling thread, owned: removed when their owner goes, on
// every path.
namespace framework {

// One hook made by SetWindowsHookExW.
class THookHandle {
public:
  THookHandle() = default;
  // Hooks the given thread (0: every thread of the desktop); throws on failure.
  THookHandle(int kind, HOOKPROC procedure, DWORD thread);
  ~THookHandle() { Reset(); }
  THookHandle(THookHandle&& other) noexcept : hook_(other.hook_) { other.hook_ = nullptr; }
  THookHandle& operator=(THookHandle&& other) noexcept;
  THookHandle(const THookHandle&) = delete;
  THookHandle& operator=(const THookHandle&) = delete;

  [[nodiscard]] HHOOK Get() const { return hook_; }
  explicit operator bool() const { return hook_ != nullptr; }
  void Reset();

private:
  HHOOK hook_ = nullptr;
};

// A handler of one kind of hook of the calling thread: WH_CBT, WH_MSGFILTER,
// WH_CALLWNDPROC, WH_CALLWNDPROCRET or WH_GETMESSAGE. Handlers of one kind on
// one thread share one system hook, installed with the first and removed with
// the last; the newest handler is asked first. A handler that returns a value
// ends the call with it (a CBT handler returning 1 prevents the action);
// otherwise the call goes on to the next handler and then to the next hook.
// Create and destroy a handler on the thread it hooks.
class TThreadHook {
public:
  using THandler = std::function<std::optional<LRESULT>(int code, WPARAM wParam, LPARAM lParam)>;

  TThreadHook(int kind, THandler handler);
  ~TThreadHook();
  TThreadHook(const TThreadHook&) = delete;
  TThreadHook& operator=(const TThreadHook&) = delete;

  [[nodiscard]] int Kind() const { return kind_; }

private:
  friend struct THookDispatch;
  int kind_;
  THandler handler_;
};

} // namespace framework
