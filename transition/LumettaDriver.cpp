#include "transition/LumettaDriver.h"

#include "gfx/Numeric.h"
#include "gfx/ScratchPool.h"

#include <algorithm>

namespace transition {

namespace {

// The component whose step the current thread is running from its timer, if
// any. The Progress setter posts OnProgress to the GUI thread from there.
thread_local const TLumettaDriver* timerStepOwner = nullptr;

class TTimerStepScope {
public:
  explicit TTimerStepScope(const TLumettaDriver* owner) noexcept : saved_(timerStepOwner) { timerStepOwner = owner; }
  ~TTimerStepScope() { timerStepOwner = saved_; }
  TTimerStepScope(const TTimerStepScope&) = delete;
  TTimerStepScope& operator=(const TTimerStepScope&) = delete;

private:
  const TLumettaDriver* saved_;
};

// A tick count difference longer than this is not a late step but a clock
// that jumped; it would only overflow the step arithmetic.
constexpr uint32_t kMaxElapsed = 1000000;

// Resets a flag when the scope ends, also when an error passes through.
class TFlagScope {
public:
  explicit TFlagScope(std::atomic<bool>& flag) noexcept : flag_(flag) { flag_ = true; }
  ~TFlagScope() { flag_ = false; }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;

private:
  std::atomic<bool>& flag_;
};

} // namespace

TLumettaDriver::TLumettaDriver(ITransitionHost& host) : host_(host) {}

TLumettaDriver::~TLumettaDriver()
{
  // A derived class has stopped its transition in BeginDestroy already; this
  // only makes sure no timer outlives the object.
  destroying_ = true;
  StopTimer();
}

void TLumettaDriver::BeginDestroy()
{
  destroying_ = true;
  Stop();
}

void TLumettaDriver::SetStep(uint16_t value) noexcept
{
  if (value == 0)
    value = 1;
  else if (value > 100)
    value = 99;
  step_ = value;
}

void TLumettaDriver::Execute()
{
  if (busy_ || !HasGraphic())
    return;
  busy_ = true;
  failed_ = false;
  const uint32_t serial = ++serial_;
  try {
    host_.HandleNeeded();
    Prepare();
    if (!manual_ && !stopping_)
      Animate();
  } catch (...) {
    // Clean up only the transition this call set up: a handler may have
    // stopped it and started another one before the error came through.
    if (serial_ == serial && busy_) {
      StopTimer();
      std::lock_guard guard(lock_);
      busy_ = false;
      FreeImages();
    }
    throw;
  }
}

void TLumettaDriver::Stop()
{
  if (!busy_ || stopping_)
    return;
  TFlagScope stopping(stopping_);
  StopTimer();
  Finish();
}

void TLumettaDriver::SetProgress(int32_t value)
{
  value = std::clamp(value, 0, 100);
  const bool onTimer = timerStepOwner == this;
  bool present = false;
  {
    std::lock_guard guard(lock_);
    // Checked under the lock: Finish clears Busy under it before it frees the
    // images, so a step either composes before that or not at all.
    if (!busy_ || value == progress_)
      return;
    progress_ = uint8_t(value);
    ComposeFrame();
    present = host_.HandleAllocated();
    if (present)
      host_.PresentFrame();
  }
  // Posting keeps the event in line with the timer's own steps and its done
  // message. Without a running timer (loop mode, or a timer that could not
  // start) the steps and the end run here, so the event is raised at once:
  // posted, the last one would arrive after OnComplete and OnStop.
  if (present && (onTimer || (threaded_ && !manual_ && timerId_ != 0)))
    host_.PostProgress(uint8_t(value));
  else if (!onTimer)
    DoProgress();
  // A step on the timer thread without a window has nowhere to post to; it
  // does not raise the event on the wrong thread.
}

void TLumettaDriver::SetManual(bool value)
{
  if (value == manual_)
    return;
  manual_ = value;
  StopTimer();
  if (!busy_)
    ResetProgress();
  else if (!value)
    Animate();
}

void TLumettaDriver::SetStyle(uint8_t value)
{
  if (value > kMaxStyle || value == style_)
    return;
  style_ = value;
  if (busy_ && manual_ && !stopping_) {
    std::lock_guard guard(lock_);
    if (!busy_)
      return;
    ComposeFrame();
    host_.InvalidateDisplay();
  }
}

bool TLumettaDriver::NextStep()
{
  const uint32_t now = host_.TickCount();
  int32_t delta = step_;
  // With a zero delay there is no period to measure against; each step then
  // moves by Step, as without exact timing.
  if (exactTiming_ && delay_ != 0) {
    const uint32_t elapsed = std::min(now - lastTick_, kMaxElapsed);
    delta = gfx::MulDiv(step_, int32_t(elapsed), delay_);
  }
  lastTick_ = now;

  const int32_t current = progress_;
  int32_t next;
  if (reverse_)
    next = delta < current ? current - delta : 0;
  else
    next = current < 100 - delta ? current + delta : 100;
  SetProgress(next);
  // The direction is read again: an OnProgress handler may have turned it.
  return reverse_ ? progress_ != 0 : progress_ != 100;
}

void TLumettaDriver::Animate()
{
  lastTick_ = host_.TickCount();
  if (threaded_ && StartTimer())
    return;
  RunLoop();
}

void TLumettaDriver::RunLoop()
{
  const uint32_t serial = serial_;
  auto current = [&] { return busy_ && serial_ == serial; };
  for (;;) {
    const bool more = NextStep();
    if (!more || manual_ || stopping_ || !current())
      break;
    const uint32_t start = host_.TickCount();
    do {
      host_.ProcessMessages();
    } while (current() && host_.TickCount() - start < delay_);
    // Stopped, or replaced by a newer transition, while the messages ran.
    if (!current())
      break;
  }
  if (current() && (stopping_ || !manual_))
    Finish();
}

bool TLumettaDriver::StartTimer()
{
  if (timerId_ != 0)
    return true;
  if (!host_.HandleAllocated() || host_.Loading())
    return false;

  uint32_t minPeriod = 0;
  uint32_t maxPeriod = 0;
  if (!host_.TimerCaps(minPeriod, maxPeriod)) {
    // Without the capabilities assume the usual range rather than a zero
    // period, which would start no timer at all.
    minPeriod = 1;
    maxPeriod = 1000000;
  }
  uint32_t delay = delay_;
  if (delay > maxPeriod)
    delay = maxPeriod;
  uint32_t resolution = delay / 10;
  if (resolution < minPeriod) {
    resolution = minPeriod;
    if (delay < minPeriod)
      delay = minPeriod;
  }
  delay_ = uint16_t(std::min<uint32_t>(delay, 0xFFFF));
  timerResolution_ = resolution;
  if (delay_ == 0)
    return false;

  host_.BeginPeriod(resolution);
  {
    // Held while the identifier is stored, so the first call of the timer
    // waits for it and recognises its own identifier.
    std::lock_guard guard(lock_);
    timerId_ = host_.SetPeriodicTimer(delay_, resolution, &TLumettaDriver::TimerProc, this);
  }
  if (timerId_ == 0) {
    host_.EndPeriod(resolution);
    return false;
  }
  return true;
}

void TLumettaDriver::StopTimer()
{
  uint32_t id;
  {
    // Clearing the identifier under the lock means a call of the timer that
    // has not yet taken the lock will not recognise itself and does nothing.
    std::lock_guard guard(lock_);
    id = timerId_.exchange(0);
  }
  if (id == 0)
    return;
  host_.KillTimer(id);
  host_.EndPeriod(timerResolution_);
  host_.YieldSlice();
  // A step that took the lock before the identifier was cleared completes
  // before StopTimer returns.
  std::lock_guard guard(lock_);
}

void TLumettaDriver::TimerProc(uint32_t timerId, void* context)
{
  static_cast<TLumettaDriver*>(context)->TimerStep(timerId);
}

void TLumettaDriver::TimerStep(uint32_t timerId)
{
  std::lock_guard guard(lock_);
  if (timerId == 0 || timerId != timerId_ || !busy_)
    return;
  TTimerStepScope scope(this);
  const uint32_t serial = serial_;
  bool more;
  try {
    more = NextStep();
  } catch (...) {
    // Nothing on this thread could report the error; end the transition on
    // the GUI thread, as a stop, instead of stepping into the same error
    // forever.
    failed_ = true;
    more = false;
  }
  if (!more) {
    StopTimer();
    host_.PostDone(serial);
  }
}

void TLumettaDriver::HandleTransitionDone(uint32_t serial)
{
  // A transition that was stopped by hand, replaced by a newer one, or taken
  // over by the hand after its end was posted, is not finished here.
  if (!busy_ || serial != serial_ || stopping_ || manual_)
    return;
  StopTimer();
  if (failed_.exchange(false)) {
    // A step failed: the transition did not complete.
    TFlagScope stopping(stopping_);
    Finish();
    return;
  }
  Finish();
}

void TLumettaDriver::HandleTransitionProgress()
{
  DoProgress();
}

void TLumettaDriver::Finish()
{
  {
    std::lock_guard guard(lock_);
    busy_ = false;
    FreeImages();
  }
  // The effects' working memory goes with the images: a long run then holds
  // what the transition in hand needs, not the most any frame ever needed.
  gfx::ReleaseIdleScratch();
  if (destroying_)
    return;
  if (!stopping_)
    DoComplete();
  DoStop();
}

void TLumettaDriver::DoProgress()
{
  OnProgress(sender_);
}

void TLumettaDriver::DoComplete()
{
  OnComplete(sender_);
}

void TLumettaDriver::DoStop()
{
  OnStop(sender_);
}

} // namespace transition
