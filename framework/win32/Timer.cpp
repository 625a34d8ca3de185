#include "framework/win32/Timer.h"

#include <set>

#include "framework/TypeInfo.h"
#include "framework/win32/Forms.h"

namespace framework {

namespace {

// Live timers, so that a tick that arrives after a timer was freed is ignored.
// Never destroyed: timers owned by the application object are freed while the
// program's static objects go, possibly after this set would have gone.
std::set<TTimer*>& LiveTimers()
{
  static auto* timers = new std::set<TTimer*>;
  return *timers;
}

HWND TimerWindow(WNDPROC proc)
{
  static HWND window = nullptr;
  if (!window) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TTimerWindow";
    RegisterWindowClass(wc);
    window = CreateWindowExW(0, L"TTimerWindow", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  }
  return window;
}

} // namespace

const TClassInfo& TTimer::ClassType()
{
  static TClassInfo info("TTimer", &TComponent::ClassType(), [](TComponent* o) { return new TTimer(o); });
  static const bool described = [] {
    info.Bool("Enabled", &TTimer::Enabled, &TTimer::SetEnabled, true);
    info.Int("Interval", &TTimer::Interval, &TTimer::SetInterval, int64_t(1000));
    info.Event("OnTimer", &TTimer::OnTimer);
    return true;
  }();
  (void)described;
  return info;
}

TTimer::TTimer(TComponent* owner) : TComponent(owner)
{
  LiveTimers().insert(this);
  UpdateTimer();
}

TTimer::~TTimer()
{
  enabled_ = false;
  UpdateTimer();
  LiveTimers().erase(this);
}

LRESULT CALLBACK TTimer::TimerWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
  if (msg == WM_TIMER) {
    auto* timer = reinterpret_cast<TTimer*>(wParam);
    if (LiveTimers().count(timer) && timer->running_) {
      try {
        timer->OnTimer(timer);
      } catch (...) {
        if (Application)
          Application->HandleException(timer);
      }
    }
    return 0;
  }
  return DefWindowProcW(window, msg, wParam, lParam);
}

void TTimer::UpdateTimer()
{
  HWND window = TimerWindow(TimerWindowProc);
  if (running_) {
    KillTimer(window, reinterpret_cast<UINT_PTR>(this));
    running_ = false;
  }
  if (enabled_ && interval_ > 0 && !HasState(csLoading) && !HasState(csDesigning) && !HasState(csDestroying)) {
    running_ = SetTimer(window, reinterpret_cast<UINT_PTR>(this), interval_, nullptr) != 0;
  }
}

void TTimer::SetEnabled(bool value)
{
  if (value == enabled_)
    return;
  enabled_ = value;
  UpdateTimer();
}

void TTimer::SetInterval(uint32_t value)
{
  if (value == interval_)
    return;
  interval_ = value;
  UpdateTimer();
}

void TTimer::Loaded()
{
  TComponent::Loaded();
  UpdateTimer();
}

} // namespace framework
