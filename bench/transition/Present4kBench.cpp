// One transition step at 4K as the player takes it: a 3840 x 2160 picture in
// a 3840 x 2160 display component on a real window, in manual mode, each
// write of Progress composing the frame and presenting it on the window
// (the window DC, the stretch from the frame's DIB section, GdiFlush). For
// each chosen style the step is timed at progress 25, 50 and 75 over a few
// rounds: the compose (up to the after-frame event), the present (the rest of
// the write) and both, with a 4K memcpy timed in the same run. Then the
// message queue is pumped and timed, which is where the system may hand the
// window's pixels on to the display. Runs under Wine; prints medians and
// frames per second, asserts nothing.
//
// The display must hold the whole window, or the present is cut to the part
// that shows and looks cheaper than it is; the program says so when it does
// not. Under Wine, run it in a 4K virtual desktop on a 4K X screen:
//   Xvfb :77 -screen 0 3840x2160x24 &
//   DISPLAY=:77 scripts/with-wine.sh scripts/winerun.sh explorer
//     /desktop=fourk,3840x2160 build/win32/tests/win32/present4k_bench.exe
//     [--rounds=3] [--styles=1-176]
// (one command line).
#include "bench/Win32Timing.h"
#include "bench/effects/BenchStyles.h"
#include "framework/Bitmap.h"
#include "framework/win32/Forms.h"
#include "transition/win32/Lumetta.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 3840;
constexpr int kHeight = 2160;
constexpr int kProgress[] = {25, 50, 75};

double NowMs() { return bench::NowSeconds() * 1000.0; }

struct TStepTimes {
  effects::TShowStyle Style = 0;
  std::vector<double> Compose, Present, Step, Pumped;
};

double MemcpyMs(framework::TBitmap& to, const framework::TBitmap& from)
{
  const double start = NowMs();
  std::memcpy(to.Pixmap().Bits(), from.Pixmap().Bits(), size_t(kWidth) * kHeight * sizeof(gfx::TPixel));
  return NowMs() - start;
}

} // namespace

int main(int argc, char** argv)
{
  const std::vector<effects::TShowStyle> styles = bench::SelectedStyles(argc, argv);
  const int rounds = std::max(1, bench::IntegerOption(argc, argv, "rounds", 3));
  framework::Application->Initialize();

  auto* form = new framework::TForm(nullptr);
  form->SetBorderStyle(framework::bsNone);
  form->SetBounds(0, 0, kWidth, kHeight);
  auto* display = new transition::TLumetta(form);
  display->SetParent(form);
  display->SetBounds(0, 0, kWidth, kHeight);
  framework::TBitmap oldPicture(kWidth, kHeight), picture(kWidth, kHeight);
  bench::FillBenchPictures(oldPicture, picture);
  display->Picture().Assign(oldPicture);
  display->SetManual(true);
  form->Show();
  bench::Pump();

  // The picture shown first becomes the old image of every transition after.
  display->Execute();
  display->SetProgress(100);
  display->Stop();
  display->Picture().Assign(picture);
  bench::Pump();

  RECT client{};
  GetClientRect(display->Handle(), &client);
  const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
  std::printf("display %ld x %ld on a %d x %d screen\n", client.right, client.bottom, screenW, screenH);
  if (screenW < kWidth || screenH < kHeight)
    std::printf("the screen is smaller than the display: the present is cut to what shows (see the header)\n");

  double composed = 0;
  display->OnAfterNewFrame =
    transition::TCustomDrawEvent([&](framework::TObject*, framework::TBitmap&, framework::TBitmap&) {
      composed = NowMs();
    });

  std::vector<TStepTimes> times(styles.size());
  std::vector<double> memcpyMs;
  framework::TBitmap scratch(kWidth, kHeight);
  std::mt19937 rng(2160);
  std::vector<size_t> order(styles.size());
  for (size_t i = 0; i < order.size(); ++i)
    order[i] = i;
  for (int round = 0; round < rounds; ++round) {
    std::shuffle(order.begin(), order.end(), rng);
    for (size_t k = 0; k < order.size(); ++k) {
      if (k % 8 == 0)
        memcpyMs.push_back(MemcpyMs(scratch, picture));
      TStepTimes& t = times[order[k]];
      t.Style = styles[order[k]];
      display->SetStyle(t.Style);
      display->Execute();
      for (int progress : kProgress) {
        const double start = NowMs();
        display->SetProgress(progress);
        const double end = NowMs();
        bench::Pump();
        t.Pumped.push_back(NowMs() - end);
        t.Compose.push_back(composed - start);
        t.Present.push_back(end - composed);
        t.Step.push_back(end - start);
      }
      display->Stop();
      bench::Pump();
    }
  }

  std::sort(times.begin(), times.end(),
            [](const TStepTimes& a, const TStepTimes& b) { return bench::Median(a.Step) < bench::Median(b.Step); });
  const double copyMs = bench::Median(memcpyMs);
  std::printf("%d x %d step, %zu styles x %zu progress points x %d rounds; memcpy median %.2f ms\n", kWidth, kHeight,
              styles.size(), std::size(kProgress), rounds, copyMs);
  std::printf("style name                                          compose  present     step    fps  pump\n");
  std::vector<double> compose, present, step, pumped;
  for (const TStepTimes& t : times) {
    const double s = bench::Median(t.Step);
    std::printf("%5d %-44.44s %8.2f %8.2f %8.2f %6.1f %5.2f\n", t.Style,
                std::string(effects::StyleName(t.Style)).c_str(), bench::Median(t.Compose),
                bench::Median(t.Present), s, 1000.0 / s, bench::Median(t.Pumped));
    compose.push_back(bench::Median(t.Compose));
    present.push_back(bench::Median(t.Present));
    step.push_back(s);
    pumped.insert(pumped.end(), t.Pumped.begin(), t.Pumped.end());
  }
  const double medianStep = bench::Median(step);
  std::printf("\nmedian style: compose %.2f ms (%.2f x memcpy), present %.2f ms (%.2f x memcpy), step %.2f ms = "
              "%.1f frames per second; pump after a step %.2f ms\n",
              bench::Median(compose), bench::Median(compose) / copyMs, bench::Median(present),
              bench::Median(present) / copyMs, medianStep, 1000.0 / medianStep, bench::Median(pumped));
  const size_t within16 = size_t(std::count_if(step.begin(), step.end(), [](double ms) { return ms <= 16.0; }));
  std::printf("%zu of %zu styles compose and present within 16 ms\n", within16, step.size());
  delete form;
  return 0;
}
