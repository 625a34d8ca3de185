// The driver with a free-running timer on a real second thread while the GUI
// thread stops, restarts, reverses and takes over transitions at arbitrary
// moments. Built a second time with ThreadSanitizer (PLAYER_TSAN).
#include "FakeLumetta.h"
#include "TestHost.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <random>
#include <thread>

using namespace transition;
using namespace transition::test;

namespace {

void SleepMicros(std::mt19937& random, int maxMicros)
{
  std::this_thread::sleep_for(std::chrono::microseconds(random() % uint32_t(maxMicros)));
}

struct ThreadedDriver : ::testing::Test {
  TTestHost host;
  std::unique_ptr<TFakeLumetta> lumetta = std::make_unique<TFakeLumetta>(host);
  std::mt19937 random{12345};
  int stops = 0;
  int completes = 0;

  ThreadedDriver()
  {
    host.FreeRunMs = 1;
    host.Target = lumetta.get();
    lumetta->Logging = false;
    lumetta->OnStop = framework::TNotifyEvent([this](framework::TObject*) { ++stops; });
    lumetta->OnComplete = framework::TNotifyEvent([this](framework::TObject*) { ++completes; });
    lumetta->SetStep(7);
    lumetta->SetDelay(1);
  }
  ~ThreadedDriver() override
  {
    lumetta.reset();
    host.Target = nullptr;
  }
};

TEST_F(ThreadedDriver, StopAtAnyMomentNeverComposesAfterFinish)
{
  for (int round = 0; round < 300; ++round) {
    lumetta->Execute();
    SleepMicros(random, 3000);
    if (round % 50 == 49) {
      // Now and then a stop after the timer has surely drawn: on a busy
      // machine the timer thread may not get to run within a few
      // milliseconds in any round at all.
      const int before = lumetta->Frames;
      for (int wait = 0; wait < 2000 && lumetta->Frames == before; ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    host.Dispatch();
    lumetta->Stop();
    host.Dispatch();
    ASSERT_FALSE(lumetta->Busy());
    ASSERT_EQ(lumetta->TimerID(), 0u);
  }
  EXPECT_EQ(lumetta->ComposedWithoutImages, 0);
  EXPECT_EQ(stops, 300) << "every transition ends exactly once";
  EXPECT_EQ(lumetta->ProgressOffGuiThread, 0);
  EXPECT_EQ(host.BeginPeriods, host.EndPeriods);
  EXPECT_EQ(host.LiveTimers(), 0);
  EXPECT_GT(lumetta->Frames, 0);
}

TEST_F(ThreadedDriver, ManualReverseAndStyleChangesWhileTheTimerRuns)
{
  for (int round = 0; round < 100; ++round) {
    lumetta->Execute();
    for (int change = 0; change < 5; ++change) {
      SleepMicros(random, 1500);
      switch (random() % 4) {
      case 0: lumetta->SetManual(!lumetta->Manual()); break;
      case 1: lumetta->SetReverse(!lumetta->Reverse()); break;
      case 2: lumetta->SetStyle(uint8_t(1 + random() % 176)); break;
      default: lumetta->SetProgress(int32_t(random() % 101)); break;
      }
      host.Dispatch();
    }
    lumetta->SetManual(false);
    // Let it run out; a transition that went to its end finishes through the
    // done message, the rest is stopped.
    // Bounded by the clock, not by a count of sleeps: how long a short sleep
    // takes differs widely between platforms.
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (lumetta->Busy() && std::chrono::steady_clock::now() < giveUp) {
      std::this_thread::sleep_for(std::chrono::microseconds(250));
      host.Dispatch();
    }
    lumetta->Stop();
    host.Dispatch();
    ASSERT_FALSE(lumetta->Busy());
  }
  EXPECT_EQ(lumetta->ComposedWithoutImages, 0);
  EXPECT_EQ(stops, 100);
  EXPECT_GT(completes, 0);
  EXPECT_EQ(lumetta->ProgressOffGuiThread, 0);
  EXPECT_EQ(host.BeginPeriods, host.EndPeriods);
  EXPECT_EQ(host.LiveTimers(), 0);
}

TEST_F(ThreadedDriver, DestroyingWhileTheTimerRunsLeavesNoTimer)
{
  for (int round = 0; round < 50; ++round) {
    auto other = std::make_unique<TFakeLumetta>(host);
    other->Logging = false;
    int events = 0;
    other->OnStop = framework::TNotifyEvent([&](framework::TObject*) { ++events; });
    other->SetDelay(1);
    other->Execute();
    SleepMicros(random, 2000);
    other.reset();
    EXPECT_EQ(events, 0);
  }
  // Messages posted by the destroyed components have no window to go to.
  EXPECT_EQ(host.LiveTimers(), 0);
  EXPECT_EQ(host.BeginPeriods, host.EndPeriods);
}

} // namespace
