#pragma once
#include "framework/Component.h"
#include "framework/RecursiveMutex.h"
#include "transition/TransitionHost.h"

#include <atomic>
#include <cstdint>

namespace transition {

// Highest effect number; 0 selects the custom-draw path.
inline constexpr uint8_t kMaxStyle = 176;

// The part of the display component that runs a transition: the step
// arithmetic, the three sources of steps (a message-pumping loop on the GUI
// thread, a periodic timer on its own thread, or the caller writing Progress
// by hand), the state machine and the order of the events.
//
// It knows nothing of pixels. A derived class builds the images (Prepare),
// composes one frame for the current progress (ComposeFrame) and frees the
// images (FreeImages); the host puts frames on the screen.
//
// Threads. In timer mode the timer thread runs NextStep, the Progress setter,
// ComposeFrame and PresentFrame, all inside Lock(); everything else runs on the
// GUI thread. The fields the timer thread reads without the lock are atomics,
// so a change from the GUI thread takes effect at the next step.
class TLumettaDriver {
public:
  explicit TLumettaDriver(ITransitionHost& host);
  virtual ~TLumettaDriver();
  TLumettaDriver(const TLumettaDriver&) = delete;
  TLumettaDriver& operator=(const TLumettaDriver&) = delete;

  // Starts a transition from the shown image to the picture. Returns when it
  // is set up (timer and manual modes) or when it has ended (loop mode).
  virtual void Execute();
  // Ends a transition in progress at the frame last composed: OnStop, no
  // OnComplete.
  virtual void Stop();

  [[nodiscard]] bool Busy() const noexcept { return busy_; }
  [[nodiscard]] bool Stopping() const noexcept { return stopping_; }

  [[nodiscard]] uint8_t Progress() const noexcept { return progress_; }
  // Values above 100 become 100. Ignored outside a transition and when the
  // value does not change; otherwise composes, shows and reports the frame.
  void SetProgress(int32_t value);

  [[nodiscard]] uint16_t Step() const noexcept { return step_; }
  // 0 stores 1; above 100 stores 99.
  void SetStep(uint16_t value) noexcept;
  [[nodiscard]] uint16_t Delay() const noexcept { return delay_; }
  void SetDelay(uint16_t value) noexcept { delay_ = value; }
  [[nodiscard]] bool ExactTiming() const noexcept { return exactTiming_; }
  void SetExactTiming(bool value) noexcept { exactTiming_ = value; }
  [[nodiscard]] bool Threaded() const noexcept { return threaded_; }
  void SetThreaded(bool value) noexcept { threaded_ = value; }
  [[nodiscard]] bool Reverse() const noexcept { return reverse_; }
  void SetReverse(bool value) noexcept { reverse_ = value; }
  [[nodiscard]] bool Manual() const noexcept { return manual_; }
  void SetManual(bool value);
  [[nodiscard]] uint8_t Style() const noexcept { return style_; }
  // Values above kMaxStyle are ignored. In a manual transition that is not
  // stopping, the current frame is recomposed at once with the new effect.
  void SetStyle(uint8_t value);

  [[nodiscard]] uint32_t TimerID() const noexcept { return timerId_; }
  [[nodiscard]] uint32_t TimerResolution() const noexcept { return timerResolution_; }
  [[nodiscard]] uint32_t LastTick() const noexcept { return lastTick_; }

  // The window hands its two private messages back here (GUI thread).
  // wParam of WM_TRANSITION_DONE is the serial number PostDone was given.
  void HandleTransitionDone(uint32_t serial);
  void HandleTransitionProgress();

  // Events of the driver; Sender is the object set by SetSender (the control).
  framework::TNotifyEvent OnProgress;
  framework::TNotifyEvent OnComplete;
  framework::TNotifyEvent OnStop;

  // Guards the images and rectangles against the timer thread. Re-entrant on
  // the thread that holds it.
  [[nodiscard]] framework::TRecursiveMutex& Lock() noexcept { return lock_; }

protected:
  // Whether the picture holds a graphic to change to.
  [[nodiscard]] virtual bool HasGraphic() const = 0;
  // Builds the images of a new transition and raises OnStart. Must call
  // ResetProgress before raising OnStart.
  virtual void Prepare() = 0;
  // Composes the frame for the current Progress. Called with Lock() held.
  virtual void ComposeFrame() = 0;
  // Frees the images of the transition. Called with Lock() held.
  virtual void FreeImages() = 0;

  virtual void DoProgress();
  virtual void DoComplete();
  virtual void DoStop();

  // Progress = 100 when Reverse is on, else 0; stores only.
  void ResetProgress() noexcept { progress_ = reverse_ ? 100 : 0; }

  // A derived class calls this first in its destructor (and when its window
  // is destroyed for good): stops a running transition without events while
  // its hooks are still there.
  void BeginDestroy();
  [[nodiscard]] bool Destroying() const noexcept { return destroying_; }

  [[nodiscard]] ITransitionHost& Host() noexcept { return host_; }

  // The object events receive as Sender.
  void SetSender(framework::TObject* sender) noexcept { sender_ = sender; }
  [[nodiscard]] framework::TObject* Sender() const noexcept { return sender_; }

  // One step; answers whether the transition goes on.
  bool NextStep();
  void Animate();
  // Answers whether a timer now drives the steps.
  bool StartTimer();
  void StopTimer();
  void Finish();

private:
  static void TimerProc(uint32_t timerId, void* context);
  void RunLoop();
  void TimerStep(uint32_t timerId);

  ITransitionHost& host_;
  framework::TObject* sender_ = nullptr;
  framework::TRecursiveMutex lock_;

  std::atomic<bool> busy_{false};
  std::atomic<bool> stopping_{false};
  std::atomic<bool> destroying_{false};
  std::atomic<uint8_t> progress_{0};
  std::atomic<uint16_t> step_{4};
  std::atomic<uint16_t> delay_{40};
  std::atomic<bool> exactTiming_{false};
  std::atomic<bool> threaded_{true};
  std::atomic<bool> reverse_{false};
  std::atomic<bool> manual_{false};
  std::atomic<uint8_t> style_{51};

  // Every Execute gets a new serial number; a done message carries the serial
  // of the transition that reached its end, so a late one cannot end another.
  std::atomic<uint32_t> serial_{0};
  // A step on the timer thread raised an error; the done message it posted
  // ends the transition as a stop.
  std::atomic<bool> failed_{false};
  std::atomic<uint32_t> timerId_{0};
  std::atomic<uint32_t> timerResolution_{0};
  std::atomic<uint32_t> lastTick_{0};
};

} // namespace transition
