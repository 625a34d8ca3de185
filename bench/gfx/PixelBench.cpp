// Speed of the pixel layer on a 1920 x 1080 frame, against a full-frame
// memcpy measured in the same run. Run with
//   --benchmark_repetitions=9 --benchmark_report_aggregates_only=true
// and the program prints each median as a multiple of the memcpy median.
#include "gfx/DrawContext.h"
#include "gfx/Orientation.h"
#include "gfx/Region.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int32_t W = 1920;
constexpr int32_t H = 1080;

void FillNoise(gfx::TPixmap& p)
{
  uint32_t x = 12345;
  for (int32_t i = 0; i < p.Width() * p.Height(); ++i) {
    x = x * 1664525u + 1013904223u;
    p.Bits()[i] = x >> 8;
  }
}

// 1000 rectangles covering almost the whole frame: 25 bands of 40, one pixel
// apart, every other band shifted so that no two bands merge.
std::vector<gfx::TRect> CoveringRects()
{
  std::vector<gfx::TRect> rects;
  const int32_t bandH = H / 25, cellW = W / 40;
  for (int32_t b = 0; b < 25; ++b)
    for (int32_t c = 0; c < 40; ++c) {
      const int32_t shift = (b % 2) * (cellW / 2);
      const int32_t left = c * cellW + shift;
      rects.push_back({left, b * bandH, std::min(W, left + cellW - 1), b * bandH + bandH});
    }
  return rects;
}

std::vector<gfx::TRect> UnsortedRects()
{
  std::mt19937 rng(42);
  std::vector<gfx::TRect> rects;
  for (int i = 0; i < 1000; ++i) {
    const int32_t x = int32_t(rng() % W), y = int32_t(rng() % H);
    rects.push_back({x, y, x + 10 + int32_t(rng() % 200), y + 10 + int32_t(rng() % 200)});
  }
  return rects;
}

void BM_MemcpyFrame(benchmark::State& state)
{
  std::vector<gfx::TPixel> a(size_t(W) * H, 1), b(size_t(W) * H, 2);
  for (auto _ : state) {
    std::memcpy(b.data(), a.data(), a.size() * sizeof(gfx::TPixel));
    benchmark::DoNotOptimize(b.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_MemcpyFrame)->Unit(benchmark::kMicrosecond);

void BM_CopyThroughRegion1000(benchmark::State& state)
{
  gfx::TPixmap src(W, H), dst(W, H);
  FillNoise(src);
  gfx::TDrawContext s(src), d(dst);
  const gfx::TRegion clip = gfx::TRegion::FromRects(CoveringRects());
  d.SelectClipRgn(&clip);
  state.counters["rects"] = double(clip.RectCount());
  for (auto _ : state) {
    d.BitBlt(0, 0, W, H, &s, 0, 0, SRCCOPY);
    benchmark::DoNotOptimize(dst.Bits());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CopyThroughRegion1000)->Unit(benchmark::kMicrosecond);

void BM_RegionFrom1000UnsortedRects(benchmark::State& state)
{
  const auto rects = UnsortedRects();
  for (auto _ : state) {
    gfx::TRegion r = gfx::TRegion::FromRects(rects);
    benchmark::DoNotOptimize(r);
  }
}
BENCHMARK(BM_RegionFrom1000UnsortedRects)->Unit(benchmark::kMicrosecond);

// The whole frame stretched to w x h, colour on colour.
void StretchFrameTo(benchmark::State& state, int32_t w, int32_t h)
{
  gfx::TPixmap src(W, H), dst(w, h);
  FillNoise(src);
  gfx::TDrawContext s(src), d(dst);
  d.SetStretchBltMode(COLORONCOLOR);
  for (auto _ : state) {
    d.StretchBlt(0, 0, w, h, &s, 0, 0, W, H, SRCCOPY);
    benchmark::DoNotOptimize(dst.Bits());
    benchmark::ClobberMemory();
  }
}

void BM_StretchFrameTwice(benchmark::State& state)
{
  StretchFrameTo(state, 2 * W, 2 * H);
}
BENCHMARK(BM_StretchFrameTwice)->Unit(benchmark::kMicrosecond);

// What writing the destination of that stretch costs by itself with the
// library's fastest store loop: the floor under any stretch to twice each
// side.
void BM_FillFrameTwice(benchmark::State& state)
{
  gfx::TPixmap dst(2 * W, 2 * H);
  for (auto _ : state) {
    std::memset(dst.Bits(), 0x5A, size_t(4) * W * H * sizeof(gfx::TPixel));
    benchmark::DoNotOptimize(dst.Bits());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FillFrameTwice)->Unit(benchmark::kMicrosecond);

// Twice the area rather than twice each side: 2715 x 1527 pixels.
void BM_StretchFrameTwiceTheArea(benchmark::State& state)
{
  StretchFrameTo(state, int32_t(W * 1.41421356 + 0.5), int32_t(H * 1.41421356 + 0.5));
}
BENCHMARK(BM_StretchFrameTwiceTheArea)->Unit(benchmark::kMicrosecond);

void BM_CopyFrame(benchmark::State& state)
{
  gfx::TPixmap src(W, H), dst(W, H);
  FillNoise(src);
  gfx::TDrawContext s(src), d(dst);
  for (auto _ : state) {
    d.BitBlt(0, 0, W, H, &s, 0, 0, SRCCOPY);
    benchmark::DoNotOptimize(dst.Bits());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CopyFrame)->Unit(benchmark::kMicrosecond);

// Rows stretched across the frame: three quarters of the picture widened to
// the whole frame, and the whole picture narrowed to a quarter, as the
// horizontal stretch effects draw them.
void BM_StretchRowsWider(benchmark::State& state)
{
  gfx::TPixmap src(W, H), dst(W, H);
  FillNoise(src);
  gfx::TDrawContext s(src), d(dst);
  for (auto _ : state) {
    d.StretchBlt(0, 0, W, H, &s, 0, 0, W * 3 / 4, H, SRCCOPY);
    benchmark::DoNotOptimize(dst.Bits());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_StretchRowsWider)->Unit(benchmark::kMicrosecond);

void BM_StretchRowsToAQuarter(benchmark::State& state)
{
  gfx::TPixmap src(W, H), dst(W, H);
  FillNoise(src);
  gfx::TDrawContext s(src), d(dst);
  for (auto _ : state) {
    d.StretchBlt(0, 0, W / 4, H, &s, 0, 0, W, H, SRCCOPY);
    benchmark::DoNotOptimize(dst.Bits());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_StretchRowsToAQuarter)->Unit(benchmark::kMicrosecond);

// The old image squeezed into the right half of itself, as "Push and
// squeeze right" draws it halfway: a self-stretch whose rows read
// themselves.
void BM_SelfSqueezeHalf(benchmark::State& state)
{
  gfx::TPixmap frame(W, H);
  gfx::TDrawContext d(frame);
  for (auto _ : state) {
    state.PauseTiming();
    FillNoise(frame);
    state.ResumeTiming();
    d.StretchBlt(W / 2, 0, W / 2, H, &d, 0, 0, W, H, SRCCOPY);
    benchmark::DoNotOptimize(frame.Bits());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_SelfSqueezeHalf)->Unit(benchmark::kMicrosecond);

void BM_PolygonRegionFrame(benchmark::State& state)
{
  // A turned square whose corners reach past the frame, and a star.
  const std::vector<gfx::TPoint> square{{960, -700}, {2700, 540}, {960, 1780}, {-780, 540}};
  const std::vector<gfx::TPoint> star{{960, 0}, {1500, 1080}, {0, 380}, {1920, 380}, {420, 1080}};
  for (auto _ : state) {
    gfx::TRegion a = gfx::TRegion::FromPolygon(square, ALTERNATE);
    gfx::TRegion b = gfx::TRegion::FromPolygon(star, WINDING);
    benchmark::DoNotOptimize(a);
    benchmark::DoNotOptimize(b);
  }
}
BENCHMARK(BM_PolygonRegionFrame)->Unit(benchmark::kMicrosecond);

void BM_EllipseRegionFrame(benchmark::State& state)
{
  for (auto _ : state) {
    gfx::TRegion e = gfx::TRegion::FromEllipse(0, 0, W, H);
    gfx::TRegion r = gfx::TRegion::FromRoundRect(-200, -200, W + 200, H + 200, 900, 700);
    benchmark::DoNotOptimize(e);
    benchmark::DoNotOptimize(r);
  }
}
BENCHMARK(BM_EllipseRegionFrame)->Unit(benchmark::kMicrosecond);
// A camera picture the size of the frame turned upright: a mirror walks
// along the source rows, a quarter turn down its columns.
void OrientFrame(benchmark::State& state, gfx::TOrientation orientation)
{
  gfx::TPixmap src(W, H);
  FillNoise(src);
  const bool swap = gfx::SwapsSides(orientation);
  gfx::TPixmap dst(swap ? H : W, swap ? W : H);
  for (auto _ : state) {
    gfx::OrientInto(src, orientation, dst);
    benchmark::DoNotOptimize(dst.Bits());
    benchmark::ClobberMemory();
  }
}

void BM_OrientFrameMirrored(benchmark::State& state) { OrientFrame(state, gfx::TOrientation::MirrorX); }
BENCHMARK(BM_OrientFrameMirrored)->Unit(benchmark::kMicrosecond);

void BM_OrientFrameQuarterTurn(benchmark::State& state) { OrientFrame(state, gfx::TOrientation::Rotate90); }
BENCHMARK(BM_OrientFrameQuarterTurn)->Unit(benchmark::kMicrosecond);

void BM_OrientFrameTransverse(benchmark::State& state) { OrientFrame(state, gfx::TOrientation::Transverse); }
BENCHMARK(BM_OrientFrameTransverse)->Unit(benchmark::kMicrosecond);

// Keeps the median of every benchmark and prints it against the memcpy.
class TRatioReporter : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run>& runs) override
  {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs)
      if (run.aggregate_name == "median")
        medians_[run.run_name.function_name] = run.GetAdjustedCPUTime();
  }
  void Finalize() override
  {
    ConsoleReporter::Finalize();
    const auto base = medians_.find("BM_MemcpyFrame");
    if (base == medians_.end() || base->second <= 0)
      return;
    std::printf("\nMedian CPU times against the full-frame memcpy (%.1f us):\n", base->second);
    for (const auto& [name, us] : medians_)
      std::printf("  %-34s %10.1f us  %6.2f x memcpy\n", name.c_str(), us, us / base->second);
  }

private:
  std::map<std::string, double> medians_;
};

} // namespace

int main(int argc, char** argv)
{
  benchmark::Initialize(&argc, argv);
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
