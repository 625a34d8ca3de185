#pragma once
// A driver whose images are a flag and whose frames are a log line, so that
// tests can read the exact sequence of frames and events.
#include "transition/LumettaDriver.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace transition::test {

class TFakeLumetta : public TLumettaDriver {
public:
  explicit TFakeLumetta(ITransitionHost& host) : TLumettaDriver(host)
  {
    OnProgress = framework::TNotifyEvent([this](framework::TObject*) {
      if (std::this_thread::get_id() != guiThread_)
        ++ProgressOffGuiThread;
      Log("progress " + std::to_string(Progress()));
      if (ProgressHandler)
        ProgressHandler();
    });
    OnComplete = framework::TNotifyEvent([this](framework::TObject*) { Log("complete"); });
    OnStop = framework::TNotifyEvent([this](framework::TObject*) { Log("stop"); });
  }
  ~TFakeLumetta() override { BeginDestroy(); }

  bool Graphic = true;
  std::function<void()> StartHandler;
  std::function<void()> ProgressHandler;
  std::atomic<bool> ImagesExist{false};
  // Frames composed while no images existed: must stay 0.
  std::atomic<int> ComposedWithoutImages{0};
  std::atomic<int> ProgressOffGuiThread{0};
  std::atomic<int> Frames{0};
  // ComposeFrame raises an error at this progress (-1: never).
  std::atomic<int> FailAt{-1};
  // Record frames and events in Events; the stress tests switch it off.
  bool Logging = true;

  std::vector<std::string> TakeEvents()
  {
    std::lock_guard guard(logMutex_);
    std::vector<std::string> events;
    events.swap(events_);
    return events;
  }

  using TLumettaDriver::NextStep;

protected:
  bool HasGraphic() const override { return Graphic; }
  void Prepare() override
  {
    ImagesExist = true;
    ResetProgress();
    Host().Invalidate();
    Log("start");
    if (StartHandler)
      StartHandler();
  }
  void ComposeFrame() override
  {
    if (!ImagesExist)
      ++ComposedWithoutImages;
    if (Progress() == FailAt)
      throw std::runtime_error("frame failed");
    ++Frames;
    Log("frame " + std::to_string(Progress()) + " style " + std::to_string(Style()));
  }
  void FreeImages() override { ImagesExist = false; }

private:
  void Log(std::string line)
  {
    if (!Logging)
      return;
    std::lock_guard guard(logMutex_);
    events_.push_back(std::move(line));
  }

  std::thread::id guiThread_ = std::this_thread::get_id();
  std::mutex logMutex_;
  std::vector<std::string> events_;
};

// The frame and progress lines of an automatic run through the values given.
inline std::vector<std::string> StepLines(const std::vector<int>& values, int style)
{
  std::vector<std::string> lines;
  for (int value : values) {
    lines.push_back("frame " + std::to_string(value) + " style " + std::to_string(style));
    lines.push_back("progress " + std::to_string(value));
  }
  return lines;
}

} // namespace transition::test
