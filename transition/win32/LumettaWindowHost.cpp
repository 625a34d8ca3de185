#include "transition/win32/LumettaWindowHost.h"

#include "framework/Bitmap.h"
#include "framework/Canvas.h"

#include <mmsystem.h>

namespace transition::win32 {

TLumettaWindowHost::~TLumettaWindowHost() = default;

bool TLumettaWindowHost::Dispatch(TLumettaDriver& driver, UINT msg, WPARAM wParam)
{
  if (msg == WM_TRANSITION_DONE) {
    driver.HandleTransitionDone(uint32_t(wParam));
    return true;
  }
  if (msg == WM_TRANSITION_PROGRESS) {
    driver.HandleTransitionProgress();
    return true;
  }
  return false;
}

bool TLumettaWindowHost::TimerCaps(uint32_t& minPeriod, uint32_t& maxPeriod)
{
  TIMECAPS caps{};
  if (timeGetDevCaps(&caps, sizeof(caps)) != MMSYSERR_NOERROR)
    return false;
  minPeriod = caps.wPeriodMin;
  maxPeriod = caps.wPeriodMax;
  return true;
}

void TLumettaWindowHost::BeginPeriod(uint32_t resolution)
{
  timeBeginPeriod(resolution);
}

void TLumettaWindowHost::EndPeriod(uint32_t resolution)
{
  timeEndPeriod(resolution);
}

uint32_t TLumettaWindowHost::SetPeriodicTimer(uint32_t period, uint32_t resolution, TTimerProc proc, void* context)
{
  proc_ = proc;
  context_ = context;
  // Killed synchronously: once the kill returns on another thread, no
  // call of the timer is under way or to come, so the component may go.
  timer_ = framework::TMultimediaTimer(period, resolution, &TLumettaWindowHost::TimerCallback, DWORD_PTR(this),
                                      TIME_PERIODIC | TIME_CALLBACK_FUNCTION | TIME_KILL_SYNCHRONOUS);
  return timer_.Get();
}

void TLumettaWindowHost::KillTimer(uint32_t timerId)
{
  if (timerId != 0 && timer_.Get() == timerId)
    timer_.Reset();
}

void CALLBACK TLumettaWindowHost::TimerCallback(UINT timerId, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR)
{
  auto* host = reinterpret_cast<TLumettaWindowHost*>(user);
  if (host->proc_)
    host->proc_(timerId, host->context_);
}

void TLumettaWindowHost::HandleNeeded()
{
  if (!window_ && OnHandleNeeded)
    OnHandleNeeded();
}

void TLumettaWindowHost::PostDone(uint32_t serial)
{
  if (HWND window = window_)
    PostMessageW(window, WM_TRANSITION_DONE, WPARAM(serial), 0);
}

void TLumettaWindowHost::PostProgress(uint8_t progress)
{
  if (HWND window = window_)
    PostMessageW(window, WM_TRANSITION_PROGRESS, WPARAM(progress), 0);
}

void TLumettaWindowHost::ProcessMessages()
{
  if (OnProcessMessages)
    OnProcessMessages();
  else
    PumpThreadMessages();
}

void TLumettaWindowHost::PumpThreadMessages()
{
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Leave the quit request for the application's own loop.
      PostQuitMessage(int(msg.wParam));
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void TLumettaWindowHost::StretchDisplay(HDC dc)
{
  if (!core_)
    return;
  framework::TBitmap& image = core_->DisplayImage();
  if (image.Empty() || !image.NativeHandle())
    return;
  if (!memoryDC_) {
    // Steps run on the timer thread, where nothing may throw: without a DC
    // the frame is not shown.
    try {
      memoryDC_ = framework::TMemoryDC(nullptr);
    } catch (const std::bad_alloc&) {
      return;
    }
  }
  const gfx::TRect d = core_->DisplayRect();
  const gfx::TRect s = core_->SourceRect();
  framework::TCanvasLock locked(image.Canvas());
  framework::TSelectObject selected(memoryDC_.Get(), static_cast<HBITMAP>(image.NativeHandle()));
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, d.Left, d.Top, d.Width(), d.Height(), memoryDC_.Get(), 0, 0, s.Width(), s.Height(), SRCCOPY);
  // The transfer must have read the pixels before the next step rewrites them.
  GdiFlush();
}

void TLumettaWindowHost::PresentFrame()
{
  HWND window = window_;
  if (!window || !core_)
    return;
  {
    framework::TWindowDC dc(window);
    if (!dc)
      return;
    StretchDisplay(dc.Get());
  }
  const gfx::TRect d = core_->DisplayRect();
  const RECT rect{d.Left, d.Top, d.Right, d.Bottom};
  ValidateRect(window, &rect);
}

void TLumettaWindowHost::Invalidate()
{
  if (HWND window = window_)
    InvalidateRect(window, nullptr, FALSE);
}

void TLumettaWindowHost::InvalidateDisplay()
{
  HWND window = window_;
  if (window && core_) {
    const gfx::TRect d = core_->DisplayRect();
    const RECT rect{d.Left, d.Top, d.Right, d.Bottom};
    InvalidateRect(window, &rect, FALSE);
  }
}

} // namespace transition::win32
