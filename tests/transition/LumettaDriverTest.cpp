#include "FakeLumetta.h"
#include "TestHost.h"
#include "gfx/ScratchPool.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

using namespace transition;
using namespace transition::test;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace {

std::vector<int> Range(int from, int to, int step)
{
  std::vector<int> values;
  for (int v = from; step > 0 ? v <= to : v >= to; v += step)
    values.push_back(v);
  return values;
}

std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string>& b)
{
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

struct Fixture : ::testing::Test {
  TTestHost host;
  TFakeLumetta lumetta{host};
  Fixture() { host.Target = &lumetta; }
  ~Fixture() override { host.Target = nullptr; }

  // Fires the timer and delivers the posted messages until the timer is gone.
  int RunTimerToEnd(int limit = 200)
  {
    int calls = 0;
    while (calls < limit && host.Fire()) {
      ++calls;
      host.Dispatch();
    }
    host.Dispatch();
    return calls;
  }
};

// ---------------------------------------------------------------------------
// Step sequences

struct StepSequence : Fixture {};

TEST_F(StepSequence, LoopModeStep4RunsTwentyFiveFramesThenCompletes)
{
  lumetta.SetThreaded(false);
  lumetta.SetStep(4);
  lumetta.Execute();
  EXPECT_FALSE(lumetta.Busy());
  EXPECT_EQ(lumetta.Progress(), 100);
  auto expected = Concat({"start"}, StepLines(Range(4, 100, 4), 51));
  expected.push_back("complete");
  expected.push_back("stop");
  EXPECT_THAT(lumetta.TakeEvents(), ElementsAreArray(expected));
  EXPECT_EQ(lumetta.Frames, 25);
  EXPECT_EQ(host.Presented, 25);
  EXPECT_FALSE(lumetta.ImagesExist);
}

TEST_F(StepSequence, Step3EndsWithAShortLastStepAndReverseRunsDownToZero)
{
  lumetta.SetThreaded(false);
  lumetta.SetStep(3);
  lumetta.Execute();
  std::vector<int> forward = Range(3, 99, 3);
  forward.push_back(100);
  EXPECT_EQ(forward.size(), 34u);
  EXPECT_THAT(lumetta.TakeEvents(), ElementsAreArray(Concat(Concat({"start"}, StepLines(forward, 51)), {"complete", "stop"})));

  lumetta.SetReverse(true);
  lumetta.Execute();
  std::vector<int> backward = Range(97, 1, -3);
  backward.push_back(0);
  EXPECT_THAT(lumetta.TakeEvents(), ElementsAreArray(Concat(Concat({"start"}, StepLines(backward, 51)), {"complete", "stop"})));
  EXPECT_EQ(lumetta.Progress(), 0);
}

TEST_F(StepSequence, TimerModeMatchesLoopModeAndPostsDoneAfterTheLastProgress)
{
  lumetta.SetStep(4);
  lumetta.Execute();
  EXPECT_TRUE(lumetta.Busy());
  EXPECT_NE(lumetta.TimerID(), 0u);
  EXPECT_THAT(lumetta.TakeEvents(), ElementsAre("start"));

  // Run all steps before delivering anything: the done message must queue
  // behind the last progress message.
  int calls = 0;
  while (host.Fire())
    ++calls;
  EXPECT_EQ(calls, 25);
  auto queue = host.Queue();
  ASSERT_EQ(queue.size(), 26u);
  EXPECT_EQ(queue[24].Msg, WM_TRANSITION_PROGRESS);
  EXPECT_EQ(queue[24].Param, 100u);
  EXPECT_EQ(queue[25].Msg, WM_TRANSITION_DONE);
  EXPECT_TRUE(lumetta.Busy()) << "finishing belongs to the GUI thread";
  EXPECT_EQ(lumetta.TimerID(), 0u);

  host.Dispatch();
  auto events = lumetta.TakeEvents();
  ASSERT_EQ(events.size(), 25u + 25u + 2u);
  // Progress messages are read when handled, so all of them see 100 here.
  EXPECT_EQ(events[events.size() - 3], "progress 100");
  EXPECT_EQ(events[events.size() - 2], "complete");
  EXPECT_EQ(events.back(), "stop");
  EXPECT_FALSE(lumetta.Busy());
  EXPECT_EQ(lumetta.ProgressOffGuiThread, 0);
  EXPECT_EQ(host.BeginPeriods, host.EndPeriods);
  EXPECT_EQ(host.LiveTimers(), 0);
}

// ---------------------------------------------------------------------------
// Exact timing

struct ExactTiming : Fixture {
  ExactTiming()
  {
    lumetta.SetExactTiming(true);
    lumetta.SetStep(4);
    lumetta.SetDelay(40);
  }
};

TEST_F(ExactTiming, LateStepCatchesUpAndEarlyStepMayNotMove)
{
  lumetta.Execute();
  lumetta.TakeEvents();
  host.Now += 100;
  ASSERT_TRUE(host.Fire());
  host.Dispatch();
  EXPECT_EQ(lumetta.Progress(), 10);
  EXPECT_EQ(lumetta.LastTick(), host.Now.load());

  // 4 ms of 40 is a tenth of a step: rounds to 0, so no frame and no event.
  host.Now += 4;
  const int frames = lumetta.Frames;
  ASSERT_TRUE(host.Fire());
  host.Dispatch();
  EXPECT_EQ(lumetta.Progress(), 10);
  EXPECT_EQ(lumetta.Frames, frames);
  EXPECT_THAT(lumetta.TakeEvents(), ElementsAre("frame 10 style 51", "progress 10"));

  // The early step still took the time, so the next one measures from it.
  host.Now += 20;
  ASSERT_TRUE(host.Fire());
  EXPECT_EQ(lumetta.Progress(), 12);

  // A long stall jumps straight to the end.
  host.Now += 5000;
  ASSERT_TRUE(host.Fire());
  host.Dispatch();
  EXPECT_EQ(lumetta.Progress(), 100);
  EXPECT_FALSE(lumetta.Busy());
}

TEST_F(ExactTiming, ZeroDelayInLoopModeMovesByStep)
{
  lumetta.SetThreaded(false);
  lumetta.SetDelay(0);
  host.PumpAdvance = 0;
  lumetta.Execute();
  EXPECT_EQ(lumetta.Frames, 25);
  EXPECT_FALSE(lumetta.Busy());
}

TEST_F(ExactTiming, LoopModeFollowsTheClockNotTheStepCount)
{
  // Each wait lasts 50 ms of the clock against a delay of 40: 5 % per step.
  lumetta.SetThreaded(false);
  host.PumpAdvance = 50;
  lumetta.Execute();
  auto events = lumetta.TakeEvents();
  ASSERT_GE(events.size(), 3u);
  // The first step comes at once and moves nothing, so it shows no frame.
  EXPECT_EQ(events[1], "frame 5 style 51");
  EXPECT_EQ(lumetta.Frames, 20);
}

// ---------------------------------------------------------------------------
// Timer set-up

struct TimerSetup : Fixture {};

TEST_F(TimerSetup, PeriodAndResolutionFollowTheDelay)
{
  lumetta.SetDelay(30);
  lumetta.Execute();
  EXPECT_EQ(host.LastPeriod, 30u);
  EXPECT_EQ(lumetta.TimerResolution(), 3u);
  EXPECT_EQ(host.LastResolution, 3u);
  lumetta.Stop();

  lumetta.SetDelay(5);
  lumetta.Execute();
  EXPECT_EQ(host.LastPeriod, 5u);
  EXPECT_EQ(lumetta.TimerResolution(), 1u);
  lumetta.Stop();

  host.MinPeriod = 2;
  lumetta.SetDelay(0);
  lumetta.Execute();
  EXPECT_EQ(lumetta.Delay(), 2) << "a zero delay becomes the minimum period";
  EXPECT_EQ(host.LastPeriod, 2u);
  lumetta.Stop();

  host.MaxPeriod = 500;
  lumetta.SetDelay(900);
  lumetta.Execute();
  EXPECT_EQ(lumetta.Delay(), 500);
  EXPECT_EQ(lumetta.TimerResolution(), 50u);
  lumetta.Stop();

  EXPECT_EQ(host.BeginPeriods, 4);
  EXPECT_EQ(host.EndPeriods, 4);
  EXPECT_EQ(host.LiveTimers(), 0);
}

TEST_F(TimerSetup, NoTimerFallsBackToTheLoopInsteadOfHanging)
{
  host.TimerFails = true;
  lumetta.Execute();
  EXPECT_FALSE(lumetta.Busy());
  EXPECT_EQ(lumetta.Frames, 25);
  // Whatever the loop left queued reaches the window afterwards, as the
  // message loop would deliver it: no progress may come after the end.
  host.Dispatch();
  auto expected = Concat({"start"}, StepLines(Range(4, 100, 4), 51));
  expected.push_back("complete");
  expected.push_back("stop");
  EXPECT_THAT(lumetta.TakeEvents(), ElementsAreArray(expected));
  EXPECT_EQ(host.BeginPeriods, host.EndPeriods);
  EXPECT_EQ(lumetta.ProgressOffGuiThread, 0);
}

TEST_F(TimerSetup, UnreadableCapabilitiesStillStartATimer)
{
  host.CapsAvailable = false;
  lumetta.SetDelay(0);
  lumetta.Execute();
  EXPECT_NE(lumetta.TimerID(), 0u);
  EXPECT_EQ(lumetta.Delay(), 1);
  EXPECT_EQ(RunTimerToEnd(), 25);
  EXPECT_FALSE(lumetta.Busy());
}

TEST_F(TimerSetup, NoTimerWhileLoadingOrWithoutWindow)
{
  host.IsLoading = true;
  lumetta.Execute();
  EXPECT_EQ(host.TimersStarted, 0);
  EXPECT_FALSE(lumetta.Busy()) << "ran in the loop instead";

  host.IsLoading = false;
  host.Handle = false;
  lumetta.SetThreaded(false);
  lumetta.TakeEvents();
  lumetta.Execute();
  // Execute creates the window first.
  EXPECT_TRUE(host.Handle);
}

// ---------------------------------------------------------------------------
// Manual progress

struct ManualProgress : Fixture {};

TEST_F(ManualProgress, WritesMoveTheTransitionAndAutomaticFinishesIt)
{
  for (bool threaded : {false, true}) {
    SCOPED_TRACE(threaded ? "timer mode" : "loop mode");
    lumetta.SetThreaded(threaded);
    lumetta.SetManual(true);
    lumetta.Execute();
    EXPECT_THAT(lumetta.TakeEvents(), ElementsAre("start"));
    EXPECT_EQ(lumetta.TimerID(), 0u);

    lumetta.SetProgress(50);
    EXPECT_THAT(lumetta.TakeEvents(), ElementsAre("frame 50 style 51", "progress 50"));
    lumetta.SetProgress(50);
    lumetta.SetProgress(250);
    EXPECT_THAT(lumetta.TakeEvents(), ElementsAre("frame 100 style 51", "progress 100"));
    EXPECT_TRUE(lumetta.Busy());
    EXPECT_TRUE(host.Queue().empty()) << "manual writes report at once";

    lumetta.SetManual(false);
    RunTimerToEnd();
    EXPECT_THAT(lumetta.TakeEvents(), ElementsAre("complete", "stop"));
    EXPECT_FALSE(lumetta.Busy());
  }
}

TEST_F(ManualProgress, StyleChangeRecomposesTheCurrentFrame)
{
  lumetta.SetManual(true);
  lumetta.Execute();
  lumetta.SetProgress(30);
  lumetta.TakeEvents();
  lumetta.SetStyle(7);
  EXPECT_THAT(lumetta.TakeEvents(), ElementsAre("frame 30 style 7"));
  EXPECT_EQ(host.DisplayInvalidations, 1);
  lumetta.Stop();
  EXPECT_THAT(lumetta.TakeEvents(), ElementsAre("stop"));
  lumetta.SetStyle(8);
  EXPECT_TRUE(lumetta.TakeEvents().empty()) << "no frame outside a transition";
}

TEST_F(ManualProgress, SwitchedOnMidTransitionInTimerModeStopsAtOnceAndResumes)
{
  lumetta.Execute();
  host.Fire();
  host.Fire();
  host.Dispatch();
  lumetta.SetManual(true);
  EXPECT_EQ(lumetta.TimerID(), 0u);
  EXPECT_FALSE(host.Fire());
  EXPECT_EQ(lumetta.Progress(), 8);
  EXPECT_TRUE(lumetta.Busy());
  lumetta.TakeEvents();

  lumetta.SetManual(false);
  EXPECT_NE(lumetta.TimerID(), 0u);
  ASSERT_TRUE(host.Fire());
  host.Dispatch();
  EXPECT_THAT(lumetta.TakeEvents(), ElementsAre("frame 12 style 51", "progress 12"));
  RunTimerToEnd();
  auto events = lumetta.TakeEvents();
  EXPECT_EQ(events.back(), "stop");
  EXPECT_EQ(host.BeginPeriods, host.EndPeriods);
}

TEST_F(ManualProgress, SwitchedOnDuringTheLoopWaitTakesOneMoreStep)
{
  lumetta.SetThreaded(false);
  int pumps = 0;
  host.OnPump = [&] {
    if (++pumps == 8) // four pumps per wait: this is the wait after the step to 8
      lumetta.SetManual(true);
  };
  lumetta.Execute();
  EXPECT_TRUE(lumetta.Busy());
  EXPECT_EQ(lumetta.Progress(), 12);
  auto events = lumetta.TakeEvents();
  EXPECT_EQ(events.back(), "progress 12");

  host.OnPump = nullptr;
  lumetta.SetManual(false);
  events = lumetta.TakeEvents();
  EXPECT_EQ(events.front(), "frame 16 style 51");
  EXPECT_EQ(events.back(), "stop");
  EXPECT_FALSE(lumetta.Busy());
}

TEST_F(ManualProgress, OutsideATransitionSwitchingResetsProgressAndWritesAreIgnored)
{
  lumetta.SetProgress(40);
  EXPECT_EQ(lumetta.Progress(), 0);
  lumetta.SetReverse(true);
  lumetta.SetManual(true);
  EXPECT_EQ(lumetta.Progress(), 100);
  EXPECT_EQ(lumetta.Frames, 0);
  EXPECT_TRUE(lumetta.TakeEvents().empty());
}

// ---------------------------------------------------------------------------
// Reverse read at every step

TEST_F(Fixture, ReverseTurnedOnAtTheEndRunsBackWithTheNewStyle)
{
  lumetta.SetThreaded(false);
  lumetta.SetStep(6);
  lumetta.SetStyle(52);
  lumetta.ProgressHandler = [&] {
    if (lumetta.Progress() == 100 && !lumetta.Reverse()) {
      lumetta.SetStyle(9);
      lumetta.SetReverse(true);
    }
  };
  lumetta.Execute();
  std::vector<int> forward = Range(6, 96, 6);
  forward.push_back(100);
  std::vector<int> backward = Range(94, 4, -6);
  backward.push_back(0);
  auto expected = Concat(Concat({"start"}, StepLines(forward, 52)), StepLines(backward, 9));
  expected.push_back("complete");
  expected.push_back("stop");
  EXPECT_THAT(lumetta.TakeEvents(), ElementsAreArray(expected));
  EXPECT_EQ(lumetta.Progress(), 0);
}

// ---------------------------------------------------------------------------
// Working memory

TEST_F(Fixture, WorkingMemoryStaysForTheFramesAndGoesWhenTheTransitionEnds)
{
  gfx::TScratchPool<std::vector<int>> pool;
  pool.Acquire()->assign(1000, 1);
  std::vector<size_t> idleDuring;
  lumetta.SetThreaded(false);
  lumetta.ProgressHandler = [&] { idleDuring.push_back(pool.Idle()); };
  lumetta.Execute();
  EXPECT_EQ(idleDuring.size(), 25u);
  EXPECT_TRUE(std::all_of(idleDuring.begin(), idleDuring.end(), [](size_t n) { return n == 1; }))
    << "the frames reuse what the first one set up";
  EXPECT_EQ(pool.Idle(), 0u);

  // A transition stopped by hand lets go of it as well.
  pool.Acquire()->assign(1000, 2);
  lumetta.ProgressHandler = [&] {
    if (lumetta.Progress() == 20)
      lumetta.Stop();
  };
  lumetta.Execute();
  EXPECT_FALSE(lumetta.Busy());
  EXPECT_EQ(pool.Idle(), 0u);
}

// ---------------------------------------------------------------------------
// Stop and errors

struct StopAndErrors : Fixture {};

TEST_F(StopAndErrors, StopFromAProgressHandlerEndsTheLoopWithoutComplete)
{
  lumetta.SetThreaded(false);
  lumetta.ProgressHandler = [&] {
    if (lumetta.Progress() == 20)
      lumetta.Stop();
  };
  lumetta.Execute();
  auto events = lumetta.TakeEvents();
  EXPECT_EQ(events.back(), "stop");
  EXPECT_EQ(std::count(events.begin(), events.end(), "complete"), 0);
  EXPECT_EQ(lumetta.Frames, 5);
  EXPECT_FALSE(lumetta.Busy());
  EXPECT_EQ(lumetta.Progress(), 20) << "the shown image stays at the last frame";
}

TEST_F(StopAndErrors, StopInTimerModeKillsTheTimerAndAStaleDoneFinishesNothing)
{
  lumetta.Execute();
  host.Fire();
  lumetta.Stop();
  EXPECT_FALSE(lumetta.Busy());
  EXPECT_EQ(lumetta.TimerID(), 0u);
  EXPECT_FALSE(host.Fire());
  EXPECT_EQ(host.BeginPeriods, host.EndPeriods);
  host.Dispatch();
  auto events = lumetta.TakeEvents();
  EXPECT_EQ(std::count(events.begin(), events.end(), "stop"), 1);
  EXPECT_EQ(std::count(events.begin(), events.end(), "complete"), 0);

  // Reach the end, then stop by hand and start again before the done
  // message of the first transition is handled.
  lumetta.SetStep(50);
  lumetta.Execute();
  host.Fire();
  host.Fire();
  ASSERT_EQ(host.Queue().back().Msg, WM_TRANSITION_DONE);
  lumetta.Stop();
  lumetta.Execute();
  lumetta.TakeEvents();
  host.Dispatch();
  EXPECT_TRUE(lumetta.Busy()) << "the old done message ended the new transition";
  events = lumetta.TakeEvents();
  EXPECT_EQ(std::count(events.begin(), events.end(), "complete"), 0);
  EXPECT_EQ(RunTimerToEnd(), 2);
  EXPECT_FALSE(lumetta.Busy());
}

TEST_F(StopAndErrors, DoneMessageAfterManualTookOverDoesNotFinish)
{
  lumetta.SetStep(100);
  lumetta.Execute();
  host.Fire();
  lumetta.SetManual(true);
  host.Dispatch();
  EXPECT_TRUE(lumetta.Busy());
  lumetta.TakeEvents();
  lumetta.SetManual(false);
  RunTimerToEnd();
  EXPECT_THAT(lumetta.TakeEvents(), ElementsAre("complete", "stop"));
}

TEST_F(StopAndErrors, ErrorInStartFreesTheImagesAndReachesTheCaller)
{
  for (bool threaded : {false, true}) {
    lumetta.SetThreaded(threaded);
    lumetta.StartHandler = [] { throw std::runtime_error("bad picture"); };
    EXPECT_THROW(lumetta.Execute(), std::runtime_error);
    EXPECT_FALSE(lumetta.Busy());
    EXPECT_FALSE(lumetta.ImagesExist);
    EXPECT_EQ(lumetta.TimerID(), 0u);
    EXPECT_THAT(lumetta.TakeEvents(), ElementsAre("start"));
  }
  lumetta.StartHandler = nullptr;
  lumetta.SetThreaded(false);
  lumetta.Execute();
  EXPECT_EQ(lumetta.TakeEvents().back(), "stop");
}

TEST_F(StopAndErrors, ErrorInALoopHandlerEndsTheTransitionWithoutStop)
{
  lumetta.SetThreaded(false);
  lumetta.ProgressHandler = [&] {
    if (lumetta.Progress() == 12)
      throw std::runtime_error("handler");
  };
  EXPECT_THROW(lumetta.Execute(), std::runtime_error);
  EXPECT_FALSE(lumetta.Busy());
  EXPECT_FALSE(lumetta.ImagesExist);
  EXPECT_EQ(lumetta.TakeEvents().back(), "progress 12");
}

TEST_F(StopAndErrors, AFailingStepOnTheTimerThreadEndsAsAStop)
{
  lumetta.FailAt = 12;
  lumetta.Execute();
  EXPECT_EQ(RunTimerToEnd(), 3) << "no step after the failing one";
  EXPECT_FALSE(lumetta.Busy());
  EXPECT_FALSE(lumetta.ImagesExist);
  auto events = lumetta.TakeEvents();
  EXPECT_EQ(events.back(), "stop");
  EXPECT_EQ(std::count(events.begin(), events.end(), "complete"), 0);
  EXPECT_EQ(host.BeginPeriods, host.EndPeriods);

  lumetta.FailAt = -1;
  lumetta.Execute();
  RunTimerToEnd();
  EXPECT_EQ(lumetta.TakeEvents().back(), "stop");
  EXPECT_EQ(lumetta.Progress(), 100) << "the next transition is not taken for a failed one";
}

TEST_F(StopAndErrors, ExecuteWithoutGraphicOrWhileBusyDoesNothing)
{
  lumetta.Graphic = false;
  lumetta.Execute();
  EXPECT_FALSE(lumetta.Busy());
  EXPECT_TRUE(lumetta.TakeEvents().empty());

  lumetta.Graphic = true;
  lumetta.Execute();
  lumetta.Execute();
  EXPECT_THAT(lumetta.TakeEvents(), ElementsAre("start"));
  EXPECT_EQ(host.TimersStarted, 1);
}

TEST(LumettaDestruction, DestroyingMidTransitionRaisesNothingAndKillsTheTimer)
{
  TTestHost host;
  int events = 0;
  {
    TFakeLumetta lumetta(host);
    host.Target = &lumetta;
    lumetta.Execute();
    host.Fire();
    host.Dispatch();
    lumetta.OnStop = framework::TNotifyEvent([&](framework::TObject*) { ++events; });
    lumetta.OnComplete = framework::TNotifyEvent([&](framework::TObject*) { ++events; });
  }
  host.Target = nullptr;
  EXPECT_EQ(events, 0);
  EXPECT_EQ(host.LiveTimers(), 0);
  EXPECT_EQ(host.BeginPeriods, host.EndPeriods);
}

// ---------------------------------------------------------------------------
// Setters

TEST(LumettaSetters, DefaultsAndClamping)
{
  TTestHost host;
  TFakeLumetta lumetta(host);
  EXPECT_EQ(lumetta.Step(), 4);
  EXPECT_EQ(lumetta.Delay(), 40);
  EXPECT_EQ(lumetta.Style(), 51);
  EXPECT_TRUE(lumetta.Threaded());
  EXPECT_FALSE(lumetta.Manual());

  lumetta.SetStep(0);
  EXPECT_EQ(lumetta.Step(), 1);
  lumetta.SetStep(150);
  EXPECT_EQ(lumetta.Step(), 99);
  lumetta.SetStep(100);
  EXPECT_EQ(lumetta.Step(), 100);

  lumetta.SetStyle(177);
  EXPECT_EQ(lumetta.Style(), 51);
  lumetta.SetStyle(255);
  EXPECT_EQ(lumetta.Style(), 51);
  lumetta.SetStyle(176);
  EXPECT_EQ(lumetta.Style(), 176);
  lumetta.SetStyle(0);
  EXPECT_EQ(lumetta.Style(), 0);
}

} // namespace
