// Time to compose one 1920 x 1080 frame (the copy of the old image plus the
// effect) for every style at progress 25, 50 and 75, against a
// full-frame memcpy measured in the same run, the repetitions of all of them
// spread over the run in random order. Prints the medians (CPU time) and a
// table of ratios to the memcpy, sorted by ratio.
//
//   effects_bench [--styles=1-57,129-136] [--repetitions=9] [google benchmark flags]
#include "bench/effects/BenchStyles.h"
#include "effects/EffectFrame.h"
#include "effects/EffectTable.h"
#include "framework/Bitmap.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int32_t kWidth = 1920;
constexpr int32_t kHeight = 1080;
constexpr int kProgress[] = {25, 50, 75};

struct TImages {
  framework::TBitmap Old{kWidth, kHeight};
  framework::TBitmap New{kWidth, kHeight};
  framework::TBitmap Frame{kWidth, kHeight};
  TImages() { bench::FillBenchPictures(Old, New); }
};

TImages& Images()
{
  static TImages images;
  return images;
}

void BM_FrameMemcpy(benchmark::State& state)
{
  TImages& images = Images();
  const size_t bytes = size_t(kWidth) * kHeight * sizeof(gfx::TPixel);
  for (auto _ : state) {
    std::memcpy(images.Frame.Pixmap().Bits(), images.Old.Pixmap().Bits(), bytes);
    benchmark::DoNotOptimize(images.Frame.Pixmap().Bits());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
}

void BM_Compose(benchmark::State& state, effects::TShowStyle style, int progress)
{
  TImages& images = Images();
  for (auto _ : state) {
    effects::ComposeEffectFrame(images.Frame, images.Old, images.New, style, progress);
    benchmark::DoNotOptimize(images.Frame.Pixmap().Bits());
    benchmark::ClobberMemory();
  }
}

// Collects the median of every benchmark while the console reporter prints.
class TMedianReporter : public benchmark::ConsoleReporter {
public:
  // Registered name -> median CPU time in ns. CPU time rather than wall
  // time: the machine may be shared, and a copy that waits for memory still
  // counts as busy.
  std::map<std::string, double> Medians;

  void ReportRuns(const std::vector<Run>& runs) override
  {
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
        Medians[run.run_name.function_name] = run.GetAdjustedCPUTime();
    ConsoleReporter::ReportRuns(runs);
  }
};

std::string ComposeName(effects::TShowStyle style, int progress)
{
  return "style" + std::to_string(style) + "/" + std::to_string(progress);
}

} // namespace

int main(int argc, char** argv)
{
  const std::vector<effects::TShowStyle> styles = bench::SelectedStyles(argc, argv);
  int repetitions = 9;
  for (int i = 1; i < argc; ++i)
    if (std::strncmp(argv[i], "--repetitions=", 14) == 0) {
      repetitions = std::max(1, std::atoi(argv[i] + 14));
      std::copy(argv + i + 1, argv + argc, argv + i);
      --argc;
      --i;
    }
  // The machine may be shared, and the speed of memory comes and goes over
  // a run. The repetitions of every benchmark, the memcpy's included, are
  // spread over the whole run in random order, so that a slow spell touches
  // a few repetitions of many benchmarks rather than all of a few; the
  // medians then leave it out. --benchmark_enable_random_interleaving=false
  // runs them one after another.
  std::vector<char*> args(argv, argv + argc);
  std::string interleave = "--benchmark_enable_random_interleaving=true";
  if (std::none_of(args.begin(), args.end(), [](const char* a) {
        return std::strncmp(a, "--benchmark_enable_random_interleaving", 38) == 0;
      }))
    args.insert(args.begin() + 1, interleave.data());
  int count = int(args.size());
  benchmark::Initialize(&count, args.data());

  Images();
  // More repetitions of the memcpy, which every ratio divides by.
  benchmark::RegisterBenchmark("memcpy", BM_FrameMemcpy)
      ->Repetitions(3 * repetitions)
      ->ReportAggregatesOnly(true)
      ->MinTime(0.02)
      ->Unit(benchmark::kMicrosecond);
  for (effects::TShowStyle style : styles)
    for (int progress : kProgress)
      benchmark::RegisterBenchmark(ComposeName(style, progress).c_str(), BM_Compose, style, progress)
          ->Repetitions(repetitions)
          ->ReportAggregatesOnly(true)
          ->MinTime(0.02)
          ->Unit(benchmark::kMicrosecond);

  TMedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  struct TRow {
    effects::TShowStyle Style;
    int Progress;
    double Median;
    double Ratio;
  };
  const auto baseline = reporter.Medians.find("memcpy");
  if (baseline == reporter.Medians.end() || baseline->second <= 0)
    return 0;
  std::vector<TRow> rows;
  for (effects::TShowStyle style : styles)
    for (int progress : kProgress) {
      const auto it = reporter.Medians.find(ComposeName(style, progress));
      if (it != reporter.Medians.end())
        rows.push_back({style, progress, it->second, it->second / baseline->second});
    }
  std::sort(rows.begin(), rows.end(), [](const TRow& a, const TRow& b) { return a.Ratio < b.Ratio; });

  std::printf("\n%dx%d frame; memcpy median %.1f us (CPU time)\n", kWidth, kHeight, baseline->second);
  std::printf("%5s %-58s %8s %12s %8s\n", "style", "name", "progress", "median us", "ratio");
  for (const TRow& r : rows)
    std::printf("%5d %-58s %8d %12.1f %8.2f\n", r.Style, std::string(effects::StyleName(r.Style)).c_str(),
                r.Progress, r.Median, r.Ratio);

  // Per style: its worst progress value, then the median over styles.
  std::map<effects::TShowStyle, double> worst;
  for (const TRow& r : rows)
    worst[r.Style] = std::max(worst[r.Style], r.Ratio);
  std::vector<double> perStyle;
  for (const auto& [style, ratio] : worst)
    perStyle.push_back(ratio);
  std::sort(perStyle.begin(), perStyle.end());
  if (!perStyle.empty()) {
    const size_t over4 = size_t(std::count_if(perStyle.begin(), perStyle.end(), [](double r) { return r > 4.0; }));
    std::printf("\n%zu styles: median of the worst ratios %.2f, largest %.2f; %zu above 4x\n", perStyle.size(),
                perStyle[perStyle.size() / 2], perStyle.back(), over4);
  }
  return 0;
}
