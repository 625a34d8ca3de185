#pragma once
// A host for the transition driver with a clock the test sets, a message
// queue the test drains on its own (GUI) thread, and periodic timers that run
// their calls on a real second thread: either one call at a time on request
// (Fire), or free-running every few real milliseconds.
#include "transition/LumettaDriver.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <thread>

namespace transition::test {

class TTestHost : public ITransitionHost {
public:
  ~TTestHost() override
  {
    std::list<std::unique_ptr<TTimer>> timers;
    {
      std::lock_guard guard(mutex_);
      timers.swap(timers_);
    }
    for (auto& timer : timers) {
      {
        std::lock_guard guard(timer->Mutex);
        timer->Killed = true;
      }
      timer->Wake.notify_all();
      if (timer->Thread.joinable())
        timer->Thread.join();
    }
  }

  // The component whose window receives the posted messages.
  TLumettaDriver* Target = nullptr;

  std::atomic<uint32_t> Now{100000};
  // Milliseconds the clock moves on each ProcessMessages.
  uint32_t PumpAdvance = 10;
  // Runs at the start of every ProcessMessages, before the queue is drained.
  std::function<void()> OnPump;

  bool CapsAvailable = true;
  uint32_t MinPeriod = 1;
  uint32_t MaxPeriod = 1000000;
  bool TimerFails = false;
  // Free-running timers call every this many real milliseconds; 0 means the
  // test fires each call itself.
  uint32_t FreeRunMs = 0;

  bool Handle = true;
  bool IsLoading = false;

  std::atomic<int> BeginPeriods{0};
  std::atomic<int> EndPeriods{0};
  std::atomic<int> TimersStarted{0};
  std::atomic<int> Presented{0};
  std::atomic<int> Invalidations{0};
  std::atomic<int> DisplayInvalidations{0};
  std::atomic<uint32_t> LastResolution{0};
  std::atomic<uint32_t> LastPeriod{0};

  uint32_t TickCount() override { return Now; }
  bool TimerCaps(uint32_t& minPeriod, uint32_t& maxPeriod) override
  {
    if (!CapsAvailable)
      return false;
    minPeriod = MinPeriod;
    maxPeriod = MaxPeriod;
    return true;
  }
  void BeginPeriod(uint32_t resolution) override
  {
    LastResolution = resolution;
    ++BeginPeriods;
  }
  void EndPeriod(uint32_t) override { ++EndPeriods; }

  uint32_t SetPeriodicTimer(uint32_t period, uint32_t, TTimerProc proc, void* context) override
  {
    if (TimerFails)
      return 0;
    LastPeriod = period;
    ++TimersStarted;
    auto timer = std::make_unique<TTimer>();
    TTimer* raw = timer.get();
    raw->Proc = proc;
    raw->Context = context;
    raw->FreeRunMs = FreeRunMs;
    {
      std::lock_guard guard(mutex_);
      raw->Id = ++nextId_;
      timers_.push_back(std::move(timer));
    }
    raw->Thread = std::thread([raw] { Run(*raw); });
    return raw->Id;
  }

  // Like a multimedia timer created to be killed synchronously: from another
  // thread the kill waits for a call under way, so none comes after it; from
  // the timer's own call it returns at once.
  void KillTimer(uint32_t timerId) override
  {
    TTimer* found = nullptr;
    {
      std::lock_guard guard(mutex_);
      for (auto& timer : timers_)
        if (timer->Id == timerId)
          found = timer.get();
    }
    if (!found)
      return;
    std::unique_lock lock(found->Mutex);
    found->Killed = true;
    found->Wake.notify_all();
    if (std::this_thread::get_id() != found->ThreadId)
      found->Wake.wait(lock, [&] { return !found->Running; });
  }

  void YieldSlice() override { std::this_thread::yield(); }

  bool HandleAllocated() override { return Handle; }
  void HandleNeeded() override { Handle = true; }
  bool Loading() override { return IsLoading; }

  void PostDone(uint32_t serial) override { Post({WM_TRANSITION_DONE, serial}); }
  void PostProgress(uint8_t progress) override { Post({WM_TRANSITION_PROGRESS, progress}); }

  void ProcessMessages() override
  {
    Now += PumpAdvance;
    if (OnPump)
      OnPump();
    Dispatch();
  }

  void PresentFrame() override { ++Presented; }
  void Invalidate() override { ++Invalidations; }
  void InvalidateDisplay() override { ++DisplayInvalidations; }

  // Hands every queued message to Target, in order, on the calling thread.
  void Dispatch()
  {
    for (;;) {
      TMessage message;
      {
        std::lock_guard guard(mutex_);
        if (queue_.empty())
          return;
        message = queue_.front();
        queue_.pop_front();
      }
      if (!Target)
        continue;
      if (message.Msg == WM_TRANSITION_DONE)
        Target->HandleTransitionDone(message.Param);
      else
        Target->HandleTransitionProgress();
    }
  }

  struct TMessage {
    uint32_t Msg = 0;
    uint32_t Param = 0;
  };
  std::deque<TMessage> Queue()
  {
    std::lock_guard guard(mutex_);
    return queue_;
  }
  void Post(TMessage message)
  {
    std::lock_guard guard(mutex_);
    queue_.push_back(message);
  }

  // Runs one call of the newest timer on its thread and waits for it to end.
  // Answers false when that timer was killed before the call could run.
  bool Fire()
  {
    TTimer* timer;
    {
      std::lock_guard guard(mutex_);
      if (timers_.empty())
        return false;
      timer = timers_.back().get();
    }
    std::unique_lock lock(timer->Mutex);
    if (timer->Killed)
      return false;
    const int target = timer->Done + 1;
    ++timer->Pending;
    timer->Wake.notify_all();
    timer->Wake.wait(lock, [&] { return timer->Done >= target || timer->Exited; });
    return timer->Done >= target;
  }

  // Number of timers whose thread still waits for calls.
  int LiveTimers()
  {
    std::lock_guard guard(mutex_);
    int live = 0;
    for (auto& timer : timers_) {
      std::lock_guard timerGuard(timer->Mutex);
      live += timer->Killed ? 0 : 1;
    }
    return live;
  }

private:
  struct TTimer {
    uint32_t Id = 0;
    TTimerProc Proc = nullptr;
    void* Context = nullptr;
    uint32_t FreeRunMs = 0;
    std::thread Thread;
    std::thread::id ThreadId;
    std::mutex Mutex;
    std::condition_variable Wake;
    int Pending = 0;
    int Done = 0;
    bool Killed = false;
    bool Running = false;
    bool Exited = false;
  };

  static void Run(TTimer& timer)
  {
    std::unique_lock lock(timer.Mutex);
    timer.ThreadId = std::this_thread::get_id();
    for (;;) {
      if (timer.FreeRunMs) {
        timer.Wake.wait_for(lock, std::chrono::milliseconds(timer.FreeRunMs), [&] { return timer.Killed; });
      } else {
        timer.Wake.wait(lock, [&] { return timer.Killed || timer.Pending > 0; });
      }
      if (timer.Killed)
        break;
      if (!timer.FreeRunMs)
        --timer.Pending;
      timer.Running = true;
      lock.unlock();
      timer.Proc(timer.Id, timer.Context);
      lock.lock();
      timer.Running = false;
      ++timer.Done;
      timer.Wake.notify_all();
    }
    timer.Exited = true;
    timer.Wake.notify_all();
  }

  std::mutex mutex_;
  std::deque<TMessage> queue_;
  std::list<std::unique_ptr<TTimer>> timers_;
  uint32_t nextId_ = 0;
};

} // namespace transition::test
