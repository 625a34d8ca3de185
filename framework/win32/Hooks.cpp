#include "framework/win32/Hooks.h"

#include <algorithm>
#include <array>
#include <vector>

#include "framework/Exceptions.h"
#include "framework/win32/Forms.h"

namespace framework {

THookHandle::THookHandle(int kind, HOOKPROC procedure, DWORD thread)
  : hook_(SetWindowsHookExW(kind, procedure, nullptr, thread))
{
  if (!hook_)
    throw Exception("Cannot install a hook (kind " + std::to_string(kind) + ")");
}

THookHandle& THookHandle::operator=(THookHandle&& other) noexcept
{
  if (this != &other) {
    Reset();
    hook_ = other.hook_;
    other.hook_ = nullptr;
  }
  return *this;
}

void THookHandle::Reset()
{
  if (hook_)
    UnhookWindowsHookEx(hook_);
  hook_ = nullptr;
}

// The handlers of one kind on this thread, and the system hook they share.
struct THookDispatch {
  int kind;
  HOOKPROC procedure;
  THookHandle hook;
  std::vector<TThreadHook*> handlers; // oldest first

  LRESULT Call(int code, WPARAM wParam, LPARAM lParam)
  {
    if (code >= 0) {
      // A handler may remove itself or others while it runs: walk a copy,
      // skipping those gone meanwhile.
      std::vector<TThreadHook*> current(handlers.rbegin(), handlers.rend());
      for (TThreadHook* handler : current) {
        if (std::find(handlers.begin(), handlers.end(), handler) == handlers.end())
          continue;
        try {
          if (std::optional<LRESULT> result = handler->handler_(code, wParam, lParam))
            return *result;
        } catch (...) {
          if (Application)
            Application->HandleException(nullptr);
        }
      }
    }
    return CallNextHookEx(hook.Get(), code, wParam, lParam);
  }
};

namespace {

template <int Kind> LRESULT CALLBACK ThreadHookProc(int code, WPARAM wParam, LPARAM lParam);

thread_local std::array<THookDispatch, 5> t_dispatch{{
  {WH_CBT, &ThreadHookProc<WH_CBT>, {}, {}},
  {WH_MSGFILTER, &ThreadHookProc<WH_MSGFILTER>, {}, {}},
  {WH_CALLWNDPROC, &ThreadHookProc<WH_CALLWNDPROC>, {}, {}},
  {WH_CALLWNDPROCRET, &ThreadHookProc<WH_CALLWNDPROCRET>, {}, {}},
  {WH_GETMESSAGE, &ThreadHookProc<WH_GETMESSAGE>, {}, {}},
}};

THookDispatch& DispatchFor(int kind)
{
  for (THookDispatch& d : t_dispatch)
    if (d.kind == kind)
      return d;
  throw Exception("Unsupported hook kind " + std::to_string(kind));
}

template <int Kind> LRESULT CALLBACK ThreadHookProc(int code, WPARAM wParam, LPARAM lParam)
{
  return DispatchFor(Kind).Call(code, wParam, lParam);
}

} // namespace

TThreadHook::TThreadHook(int kind, THandler handler) : kind_(kind), handler_(std::move(handler))
{
  THookDispatch& d = DispatchFor(kind);
  if (!d.hook)
    d.hook = THookHandle(kind, d.procedure, GetCurrentThreadId());
  d.handlers.push_back(this);
}

TThreadHook::~TThreadHook()
{
  THookDispatch& d = DispatchFor(kind_);
  std::erase(d.handlers, this);
  if (d.handlers.empty())
    d.hook.Reset();
}

} // namespace framework
