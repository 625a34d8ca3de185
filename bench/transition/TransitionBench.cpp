// Time of one transition step at 1920 x 1080 as the display component runs
// it: the Progress setter composes the frame (the old image copied in, then
// the effect) and presents it, here by stretching DisplayImage onto a window-
// sized bitmap at a display rectangle of the same size. Measured against a
// full-frame memcpy in the same run; prints medians and ratios.
//
//   transition_bench [--repetitions=9] [google benchmark flags]
#include "effects/EffectTable.h"
#include "framework/Bitmap.h"
#include "framework/Canvas.h"
#include "gfx/DrawContext.h"
#include "transition/LumettaCore.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace transition;

constexpr int32_t kWidth = 1920;
constexpr int32_t kHeight = 1080;
// A few styles of every family: stretch, reveal, bars, ellipse, fade, sweep,
// dissolve, push.
constexpr effects::TShowStyle kStyles[] = {1, 5, 52, 60, 84, 119, 129, 144, 169};

class TBitmapPicture : public ILumettaPicture {
public:
  explicit TBitmapPicture(framework::TBitmap* bitmap) : bitmap_(bitmap) {}
  bool HasGraphic() const override { return bitmap_ != nullptr; }
  bool Empty() const override { return !bitmap_ || bitmap_->Empty(); }
  int32_t Width() const override { return bitmap_ ? bitmap_->Width() : 0; }
  int32_t Height() const override { return bitmap_ ? bitmap_->Height() : 0; }
  void Draw(framework::TCanvas& canvas, const gfx::TRect& rect) override
  {
    if (bitmap_)
      canvas.StretchDraw(rect, *bitmap_);
  }
  void DetachChange() override {}
  void AttachChange() override {}

private:
  framework::TBitmap* bitmap_;
};

// A host whose "window" is a bitmap of the display's size.
class TBenchHost : public ITransitionHost {
public:
  framework::TBitmap Window{kWidth, kHeight};
  TLumettaCore* Core = nullptr;

  uint32_t TickCount() override { return 0; }
  bool TimerCaps(uint32_t&, uint32_t&) override { return false; }
  void BeginPeriod(uint32_t) override {}
  void EndPeriod(uint32_t) override {}
  uint32_t SetPeriodicTimer(uint32_t, uint32_t, TTimerProc, void*) override { return 0; }
  void KillTimer(uint32_t) override {}
  void YieldSlice() override {}
  bool HandleAllocated() override { return true; }
  void HandleNeeded() override {}
  bool Loading() override { return false; }
  void PostDone(uint32_t) override {}
  void PostProgress(uint8_t) override {}
  void ProcessMessages() override {}
  void PresentFrame() override
  {
    const gfx::TRect d = Core->DisplayRect();
    const gfx::TRect s = Core->SourceRect();
    gfx::TDCHandle dc = Window.Canvas().Handle();
    gfx::SetStretchBltMode(dc, COLORONCOLOR);
    gfx::StretchBlt(dc, d.Left, d.Top, d.Width(), d.Height(), Core->DisplayImage().Canvas().Handle(), 0, 0,
                    s.Width(), s.Height(), SRCCOPY);
  }
  void Invalidate() override {}
  void InvalidateDisplay() override {}
};

class TBenchCore : public TLumettaCore {
public:
  TBenchCore(ITransitionHost& host, ILumettaPicture& picture, ILumettaPicture& bg) : TLumettaCore(host, picture, bg)
  {
    SetClientRect({0, 0, kWidth, kHeight});
  }
};

struct TSetup {
  framework::TBitmap Old{kWidth, kHeight};
  framework::TBitmap New{kWidth, kHeight};
  TBitmapPicture Picture{&New};
  TBitmapPicture Background{&Old};
  TBenchHost Host;
  TBenchCore Core{Host, Picture, Background};

  TSetup()
  {
    uint32_t seed = 12345;
    for (int32_t y = 0; y < kHeight; ++y) {
      gfx::TPixel* o = Old.ScanLine(y);
      gfx::TPixel* n = New.ScanLine(y);
      for (int32_t x = 0; x < kWidth; ++x) {
        seed = seed * 1664525u + 1013904223u;
        o[x] = seed >> 8;
        n[x] = (uint32_t(x) << 12) ^ uint32_t(y);
      }
    }
    Host.Core = &Core;
    // The old image is the background stretched under the picture.
    Core.SetBgMode(bmStretched);
    Core.SetManual(true);
  }
};

TSetup& Setup()
{
  static TSetup setup;
  return setup;
}

void BM_FrameMemcpy(benchmark::State& state)
{
  TSetup& s = Setup();
  const size_t bytes = size_t(kWidth) * kHeight * sizeof(gfx::TPixel);
  for (auto _ : state) {
    std::memcpy(s.Host.Window.Pixmap().Bits(), s.Old.Pixmap().Bits(), bytes);
    benchmark::DoNotOptimize(s.Host.Window.Pixmap().Bits());
    benchmark::ClobberMemory();
  }
}

// The presenting half alone: DisplayImage stretched onto the same-size
// display rectangle of the window bitmap.
void BM_Present(benchmark::State& state)
{
  TSetup& s = Setup();
  s.Core.Execute();
  for (auto _ : state) {
    s.Host.PresentFrame();
    benchmark::DoNotOptimize(s.Host.Window.Pixmap().Bits());
    benchmark::ClobberMemory();
  }
  s.Core.Stop();
}

void BM_Step(benchmark::State& state, effects::TShowStyle style)
{
  TSetup& s = Setup();
  s.Core.SetStyle(style);
  s.Core.Execute();
  int progress = 49;
  for (auto _ : state) {
    // Alternating between two values, so every write is a real step.
    progress = progress == 49 ? 51 : 49;
    s.Core.SetProgress(progress);
    benchmark::DoNotOptimize(s.Host.Window.Pixmap().Bits());
    benchmark::ClobberMemory();
  }
  s.Core.Stop();
}

// The name a benchmark was registered under, without the settings that the
// library appends ("/min_time:...", "/repeats:...").
std::string BaseName(const std::string& name)
{
  const size_t settings = name.find("/min_time:");
  return settings == std::string::npos ? name : name.substr(0, settings);
}

class TMedianReporter : public benchmark::ConsoleReporter {
public:
  // Median real time of each benchmark, in its display unit (microseconds).
  std::map<std::string, double> Medians;
  void ReportRuns(const std::vector<Run>& runs) override
  {
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
        Medians[BaseName(run.run_name.str())] = run.GetAdjustedRealTime();
    ConsoleReporter::ReportRuns(runs);
  }
};

} // namespace

int main(int argc, char** argv)
{
  int repetitions = 9;
  for (int i = 1; i < argc; ++i)
    if (std::strncmp(argv[i], "--repetitions=", 14) == 0) {
      repetitions = std::max(1, std::atoi(argv[i] + 14));
      std::copy(argv + i + 1, argv + argc, argv + i);
      --argc;
      --i;
    }
  benchmark::Initialize(&argc, argv);
  Setup();
  benchmark::RegisterBenchmark("memcpy", BM_FrameMemcpy)
      ->Repetitions(repetitions)
      ->ReportAggregatesOnly(true)
      ->MinTime(0.05)
      ->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("present", BM_Present)
      ->Repetitions(repetitions)
      ->ReportAggregatesOnly(true)
      ->MinTime(0.05)
      ->Unit(benchmark::kMicrosecond);
  std::vector<effects::TShowStyle> styles;
  for (effects::TShowStyle style : kStyles) {
    styles.push_back(style);
    benchmark::RegisterBenchmark(("step/style" + std::to_string(style)).c_str(), BM_Step, style)
        ->Repetitions(repetitions)
        ->ReportAggregatesOnly(true)
        ->MinTime(0.05)
        ->Unit(benchmark::kMicrosecond);
  }
  TMedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  const auto baseline = reporter.Medians.find("memcpy");
  if (baseline == reporter.Medians.end() || baseline->second <= 0)
    return 0;
  std::printf("\n%dx%d step (compose + stretch to a same-size rectangle); memcpy median %.1f us\n", kWidth,
              kHeight, baseline->second);
  if (const auto present = reporter.Medians.find("present"); present != reporter.Medians.end())
    std::printf("present alone (stretch to the same size): median %.1f us, ratio %.2f\n", present->second,
                present->second / baseline->second);
  std::printf("%5s %-40s %12s %8s\n", "style", "name", "median us", "ratio");
  for (effects::TShowStyle style : styles) {
    const auto it = reporter.Medians.find("step/style" + std::to_string(style));
    if (it != reporter.Medians.end())
      std::printf("%5d %-40s %12.1f %8.2f\n", style, std::string(effects::StyleName(style)).c_str(),
                  it->second, it->second / baseline->second);
  }
  return 0;
}
