#pragma once
#include <cstdint>

namespace transition {

// The two private messages the driver sends to the component's own window.
// The values are those of WM_USER + 1 and WM_USER + 2.
inline constexpr uint32_t WM_TRANSITION_DONE = 0x0400 + 1;
inline constexpr uint32_t WM_TRANSITION_PROGRESS = 0x0400 + 2;

// Called on the timer's own thread once per period with the identifier the
// timer was started under and the context handed to SetPeriodicTimer.
using TTimerProc = void (*)(uint32_t timerId, void* context);

// What the transition driver needs from its surroundings. The Win32 control
// implements it with the multimedia timer and its own window; natively the
// tests implement it with a clock they control and a real second thread.
//
// Everything here is called on the GUI thread except TickCount, the timer
// calls (KillTimer, EndPeriod, YieldSlice may also come from the timer thread
// when the last step stops its own timer), PostDone, PostProgress and
// PresentFrame, which the timer thread uses while it runs a step.
class ITransitionHost {
public:
  virtual ~ITransitionHost() = default;

  // The system tick count in milliseconds; wraps around after 2^32.
  virtual uint32_t TickCount() = 0;

  // Multimedia timer. TimerCaps answers false when the capabilities cannot be
  // read. SetPeriodicTimer answers 0 when no timer could be started.
  virtual bool TimerCaps(uint32_t& minPeriod, uint32_t& maxPeriod) = 0;
  virtual void BeginPeriod(uint32_t resolution) = 0;
  virtual void EndPeriod(uint32_t resolution) = 0;
  virtual uint32_t SetPeriodicTimer(uint32_t period, uint32_t resolution, TTimerProc proc, void* context) = 0;
  // Stops further calls of the timer. Called from another thread it waits for
  // a call already under way, so that no call comes after it returns; called
  // from the timer's own callback it returns at once. The driver never holds
  // its lock across this call from the GUI thread.
  virtual void KillTimer(uint32_t timerId) = 0;
  // Gives up the rest of the calling thread's time slice.
  virtual void YieldSlice() = 0;

  // The component's window: whether it exists, creating it, and whether the
  // component is still being loaded from its form description.
  virtual bool HandleAllocated() = 0;
  virtual void HandleNeeded() = 0;
  virtual bool Loading() = 0;

  // Posting to the GUI thread: WM_TRANSITION_DONE with the serial number of
  // the transition that reached its end, WM_TRANSITION_PROGRESS with the
  // progress of the step. The window hands them back to the component.
  virtual void PostDone(uint32_t serial) = 0;
  virtual void PostProgress(uint8_t progress) = 0;

  // Runs the pending messages of the GUI thread once.
  virtual void ProcessMessages() = 0;

  // Puts the frame just composed on the window at once and validates the
  // display rectangle. Called with the component's lock held.
  virtual void PresentFrame() = 0;
  // Marks the whole control for repainting.
  virtual void Invalidate() = 0;
  // Marks the display rectangle for repainting without erasing it.
  virtual void InvalidateDisplay() = 0;
};

} // namespace transition
