#pragma once
// The transition driver's host on Win32: the multimedia timer (winmm), the
// system tick count, and the component's window, to which the two private
// messages are posted and on whose device context each frame is stretched.
#include "transition/LumettaCore.h"
#include "transition/TransitionHost.h"
#include "framework/win32/Handles.h"

#include <windows.h>

#include <atomic>
#include <functional>

namespace transition::win32 {

class TLumettaWindowHost : public ITransitionHost {
public:
  TLumettaWindowHost() = default;
  ~TLumettaWindowHost() override;
  TLumettaWindowHost(const TLumettaWindowHost&) = delete;
  TLumettaWindowHost& operator=(const TLumettaWindowHost&) = delete;

  // The component whose frames are presented. Set once, before any transition.
  void SetCore(TLumettaCore* core) noexcept { core_ = core; }
  // The component's window; null while it has none. Set on the GUI thread
  // when the window is created and before it is destroyed.
  void SetWindow(HWND window) noexcept { window_ = window; }
  [[nodiscard]] HWND Window() const noexcept { return window_; }

  // Supplied by the control: creating its window, whether it is being loaded,
  // and the application's message pump. Without them the host creates
  // nothing, is never loading, and pumps the thread's queue itself.
  std::function<void()> OnHandleNeeded;
  std::function<bool()> OnLoading;
  std::function<void()> OnProcessMessages;

  // Handles the calling thread's pending messages, as a message loop would.
  static void PumpThreadMessages();

  // Routes the two private messages to the driver; answers whether msg was one.
  static bool Dispatch(TLumettaDriver& driver, UINT msg, WPARAM wParam);

  uint32_t TickCount() override { return GetTickCount(); }
  bool TimerCaps(uint32_t& minPeriod, uint32_t& maxPeriod) override;
  void BeginPeriod(uint32_t resolution) override;
  void EndPeriod(uint32_t resolution) override;
  uint32_t SetPeriodicTimer(uint32_t period, uint32_t resolution, TTimerProc proc, void* context) override;
  void KillTimer(uint32_t timerId) override;
  void YieldSlice() override { Sleep(0); }
  bool HandleAllocated() override { return window_ != nullptr; }
  void HandleNeeded() override;
  bool Loading() override { return OnLoading && OnLoading(); }
  void PostDone(uint32_t serial) override;
  void PostProgress(uint8_t progress) override;
  void ProcessMessages() override;
  void PresentFrame() override;
  void Invalidate() override;
  void InvalidateDisplay() override;

  // Stretches DisplayImage onto DisplayRect of dc, colour on colour. Called
  // with the component's lock held (which also guards the cached DC).
  void StretchDisplay(HDC dc);

private:
  static void CALLBACK TimerCallback(UINT timerId, UINT msg, DWORD_PTR user, DWORD_PTR, DWORD_PTR);

  TLumettaCore* core_ = nullptr;
  // Written on the GUI thread, read by steps on the timer thread.
  std::atomic<HWND> window_{nullptr};
  // A memory DC kept for presenting, so that a step creates no GDI object;
  // DisplayImage's bitmap is selected into it only while it is drawn from.
  framework::TMemoryDC memoryDC_;
  // The one timer this host runs at a time: what its calls go to.
  TTimerProc proc_ = nullptr;
  void* context_ = nullptr;
  // Last, so that it is killed (synchronously) before the rest goes.
  framework::TMultimediaTimer timer_;
};

} // namespace transition::win32
