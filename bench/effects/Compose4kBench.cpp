// Time to compose one 3840 x 2160 frame (the copy of the old image plus the
// effect) for every style, against a 4K memcpy measured in the same run.
// Every round composes each style at progress 25, 50 and 75 in a new random
// order and copies the frame once, so that a slow spell of a shared machine
// costs a few frames of many styles rather than all frames of a few. Prints
// per style the median of its frames and its slowest progress, the median
// style, the slowest ten and the ratios to the memcpy.
//
// Self-timed (wall clock), so that the Win32 build runs it under Wine too.
//
//   compose4k_bench [--rounds=5] [--styles=1-57,129-136] [--all]
#include "bench/effects/BenchStyles.h"
#include "effects/EffectFrame.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int32_t kWidth = 3840;
constexpr int32_t kHeight = 2160;
constexpr int kProgress[] = {25, 50, 75};

double Milliseconds(std::chrono::steady_clock::time_point since)
{
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

struct TStyleTimes {
  effects::TShowStyle Style = 0;
  std::vector<double> Ms;                      // every frame
  std::vector<double> AtProgress[std::size(kProgress)]; // by progress point
  double Median = 0;
  double Slowest = 0; // the median at its slowest progress point
  int SlowestProgress = 0;
};

void Summarise(TStyleTimes& t)
{
  t.Median = bench::Median(t.Ms);
  for (size_t p = 0; p < std::size(kProgress); ++p) {
    const double m = bench::Median(t.AtProgress[p]);
    if (m > t.Slowest) {
      t.Slowest = m;
      t.SlowestProgress = kProgress[p];
    }
  }
}

void PrintRow(const TStyleTimes& t, double memcpyMs)
{
  std::printf("%5d %-48.48s %9.2f %6.2f %9.2f @%-3d %6.2f\n", t.Style,
              std::string(effects::StyleName(t.Style)).c_str(), t.Median, t.Median / memcpyMs, t.Slowest,
              t.SlowestProgress, t.Slowest / memcpyMs);
}

} // namespace

int main(int argc, char** argv)
{
  const std::vector<effects::TShowStyle> styles = bench::SelectedStyles(argc, argv);
  const int rounds = std::max(1, bench::IntegerOption(argc, argv, "rounds", 5));
  const bool all = argc > 1 && std::strcmp(argv[argc - 1], "--all") == 0;

  framework::TBitmap oldImage(kWidth, kHeight), newImage(kWidth, kHeight), frame(kWidth, kHeight);
  bench::FillBenchPictures(oldImage, newImage);
  const size_t bytes = size_t(kWidth) * kHeight * sizeof(gfx::TPixel);

  std::vector<TStyleTimes> times(styles.size());
  for (size_t i = 0; i < styles.size(); ++i)
    times[i].Style = styles[i];
  // (style index, progress index) pairs, shuffled anew every round.
  std::vector<std::pair<size_t, size_t>> order;
  for (size_t i = 0; i < styles.size(); ++i)
    for (size_t p = 0; p < std::size(kProgress); ++p)
      order.emplace_back(i, p);
  std::mt19937 rng(2160);
  std::vector<double> memcpyMs;
  for (int round = 0; round < rounds; ++round) {
    std::shuffle(order.begin(), order.end(), rng);
    for (size_t k = 0; k < order.size(); ++k) {
      // A memcpy every few frames, so that the baseline lives through the
      // same spells as the frames do.
      if (k % 16 == 0) {
        const auto start = std::chrono::steady_clock::now();
        std::memcpy(frame.Pixmap().Bits(), oldImage.Pixmap().Bits(), bytes);
        memcpyMs.push_back(Milliseconds(start));
      }
      const auto [i, p] = order[k];
      const auto start = std::chrono::steady_clock::now();
      effects::ComposeEffectFrame(frame, oldImage, newImage, styles[i], kProgress[p]);
      const double ms = Milliseconds(start);
      times[i].Ms.push_back(ms);
      times[i].AtProgress[p].push_back(ms);
    }
  }
  for (TStyleTimes& t : times)
    Summarise(t);
  std::sort(times.begin(), times.end(), [](const TStyleTimes& a, const TStyleTimes& b) { return a.Median < b.Median; });

  const double copyMs = bench::Median(memcpyMs);
  std::printf("%d x %d frame, %zu styles x %zu progress points x %d rounds\n", kWidth, kHeight, styles.size(),
              std::size(kProgress), rounds);
  std::printf("memcpy of a frame (%.1f MB): median %.2f ms over %zu copies\n", double(bytes) / 1e6, copyMs,
              memcpyMs.size());
  const char* header = "style name                                             median  ratio   slowest@p  ratio\n";
  if (all) {
    std::printf("\nevery style, fastest first (ms):\n%s", header);
    for (const TStyleTimes& t : times)
      PrintRow(t, copyMs);
  }
  std::printf("\nslowest ten (ms):\n%s", header);
  for (size_t k = times.size() > 10 ? times.size() - 10 : 0; k < times.size(); ++k)
    PrintRow(times[k], copyMs);

  std::vector<double> medians;
  for (const TStyleTimes& t : times)
    medians.push_back(t.Median);
  const double medianStyle = bench::Median(medians);
  const size_t within16 =
    size_t(std::count_if(medians.begin(), medians.end(), [](double ms) { return ms <= 16.0; }));
  std::printf("\nmedian style %.2f ms (%.2f x memcpy); %zu of %zu styles compose within 16 ms\n", medianStyle,
              medianStyle / copyMs, within16, medians.size());
  return 0;
}
