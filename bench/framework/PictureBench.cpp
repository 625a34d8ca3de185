// Decoding a 4000 x 3000 baseline JPEG into a 32-bit TBitmap, against the
// command-line decoder of the same library decoding the same file to a null
// sink (process start included), measured in the same run. Prints the
// medians and the ratio.
//
//   picture_bench [--benchmark_repetitions=9] [google benchmark flags]
#include "bench/framework/SamplePhoto.h"
#include "framework/JPEGImage.h"
#include "gfx/codecs/Jpeg.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int32_t kWidth = 4000;
constexpr int32_t kHeight = 3000;

struct TSample {
  std::vector<uint8_t> Jpeg;
  std::string Path;
  TSample()
  {
    const gfx::TPixmap p = bench::SamplePhoto(kWidth, kHeight);
    Jpeg = gfx::EncodeJpeg(p, {90, false, false});
    Path = "/tmp/picture_bench_" + std::to_string(kWidth) + "x" + std::to_string(kHeight) + ".jpg";
    if (std::FILE* f = std::fopen(Path.c_str(), "wb")) {
      std::fwrite(Jpeg.data(), 1, Jpeg.size(), f);
      std::fclose(f);
    }
  }
  ~TSample() { std::remove(Path.c_str()); }
};

TSample& Sample()
{
  static TSample sample;
  return sample;
}

void BM_DecodeToTBitmap(benchmark::State& state)
{
  TSample& s = Sample();
  for (auto _ : state) {
    framework::TJPEGImage image;
    image.LoadFromBytes(s.Jpeg);
    benchmark::DoNotOptimize(image.Bitmap().Pixmap().Bits());
  }
  state.counters["MB"] = double(s.Jpeg.size()) / 1e6;
}

void BM_DecodeToPixmap(benchmark::State& state)
{
  TSample& s = Sample();
  for (auto _ : state) {
    gfx::TPixmap p = gfx::DecodeJpeg(s.Jpeg);
    benchmark::DoNotOptimize(p.Bits());
  }
}

// The decoder alone: the same pixels reused, so no fresh memory is faulted in
// and zeroed. The difference to BM_DecodeToPixmap is the price of new memory.
void BM_DecodeIntoWarmPixmap(benchmark::State& state)
{
  TSample& s = Sample();
  gfx::TPixmap p(kWidth, kHeight);
  for (auto _ : state) {
    gfx::DecodeJpegInto(s.Jpeg, [&p](int32_t, int32_t) -> gfx::TPixmap& { return p; });
    benchmark::DoNotOptimize(p.Bits());
  }
}

// The reference: djpeg as a separate process, wall-clock time per run.
void BM_Djpeg(benchmark::State& state)
{
  TSample& s = Sample();
  const std::string command = "djpeg -outfile /dev/null " + s.Path;
  double childCpu = 0;
  for (auto _ : state) {
    rusage before{}, after{};
    getrusage(RUSAGE_CHILDREN, &before);
    const auto start = std::chrono::steady_clock::now();
    const int rc = std::system(command.c_str());
    const auto stop = std::chrono::steady_clock::now();
    getrusage(RUSAGE_CHILDREN, &after);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    childCpu += seconds(after.ru_utime) - seconds(before.ru_utime) + seconds(after.ru_stime) - seconds(before.ru_stime);
    if (rc != 0) {
      state.SkipWithError("djpeg failed (is libjpeg-turbo-progs installed?)");
      break;
    }
    state.SetIterationTime(std::chrono::duration<double>(stop - start).count());
  }
  // The decoder's own processor time, comparable to the CPU column of ours.
  state.counters["djpeg_cpu_ms"] = benchmark::Counter(childCpu * 1000, benchmark::Counter::kAvgIterations);
}

BENCHMARK(BM_DecodeToTBitmap)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DecodeToPixmap)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DecodeIntoWarmPixmap)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Djpeg)->Unit(benchmark::kMillisecond)->UseManualTime();

// Keeps the median of every benchmark for the ratio table.
class TMedianReporter : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run>& runs) override
  {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
        Medians[run.run_name.function_name] = run.GetAdjustedRealTime();
  }
  std::map<std::string, double> Medians;
};

} // namespace

int main(int argc, char** argv)
{
  std::vector<char*> args(argv, argv + argc);
  std::string repetitions = "--benchmark_repetitions=9";
  bool hasRepetitions = false;
  for (char* a : args)
    hasRepetitions = hasRepetitions || std::string(a).rfind("--benchmark_repetitions", 0) == 0;
  if (!hasRepetitions)
    args.push_back(repetitions.data());
  int count = int(args.size());
  benchmark::Initialize(&count, args.data());
  TMedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  const auto ours = reporter.Medians.find("BM_DecodeToTBitmap");
  const auto djpeg = reporter.Medians.find("BM_Djpeg");
  if (ours != reporter.Medians.end() && djpeg != reporter.Medians.end() && djpeg->second > 0) {
    std::printf("\n%d x %d baseline JPEG (%.1f MB), medians:\n", kWidth, kHeight, double(Sample().Jpeg.size()) / 1e6);
    std::printf("  decode to 32-bit TBitmap   %8.1f ms\n", ours->second);
    std::printf("  djpeg -outfile /dev/null   %8.1f ms\n", djpeg->second);
    std::printf("  ratio (ours / djpeg)       %8.2f\n", ours->second / djpeg->second);
    const auto warm = reporter.Medians.find("BM_DecodeIntoWarmPixmap");
    if (warm != reporter.Medians.end())
      std::printf("  decode into reused pixels  %8.1f ms (ratio %.2f)\n", warm->second, warm->second / djpeg->second);
  }
  return 0;
}
