// The frame period of a timer-mode transition on a real window, under the
// platform's multimedia timer: a 640 x 480 TLumetta plays 100 steps of 1 %
// with the given Delay (30 ms unless a number is passed), and the gaps between
// the starts of successive frames are printed as median, mean and worst,
// against the Delay. Runs under Wine; no assertion is made on the figures.
//
//   transition_period_bench [delay-ms] [style]
#include "framework/Bitmap.h"
#include "framework/FormDescription.h"
#include "framework/win32/Forms.h"
#include "transition/win32/Lumetta.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace transition;

int main(int argc, char** argv)
{
  const int delay = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
  const int style = argc > 2 ? std::clamp(std::atoi(argv[2]), 1, 176) : 52;
  auto* application = new framework::TApplication(nullptr);
  application->Initialize();

  auto* form = new framework::TForm(nullptr);
  form->SetBorderStyle(framework::bsNone);
  form->SetBounds(0, 0, 640, 480);
  auto* lumetta = new TLumetta(form);
  lumetta->SetParent(form);
  lumetta->SetBounds(0, 0, 640, 480);
  framework::TBitmap picture(640, 480);
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x)
      picture.Pixmap().At(x, y) = gfx::TPixel((x * 255 / 640) << 16 | (y * 255 / 480) << 8 | 0x40);
  lumetta->Picture().Assign(picture);
  lumetta->SetDelay(uint16_t(delay));
  lumetta->SetStep(1);
  lumetta->SetStyle(uint8_t(style));

  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  std::vector<LONGLONG> starts;
  starts.reserve(200);
  // Runs on the timer thread inside the component's lock; the GUI thread reads
  // the list only after the transition has ended.
  lumetta->OnBeforeNewFrame = TCustomDrawEvent([&](framework::TObject*, framework::TBitmap&, framework::TBitmap&) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    starts.push_back(now.QuadPart);
  });
  bool ended = false;
  lumetta->OnStop = framework::TNotifyEvent([&](framework::TObject*) { ended = true; });

  form->Show();
  application->ProcessMessages();
  lumetta->Execute();
  const DWORD begun = GetTickCount();
  while (!ended && GetTickCount() - begun < 60000) {
    application->ProcessMessages();
    Sleep(1);
  }
  if (!ended) {
    std::printf("the transition did not end within 60 s\n");
    return 1;
  }

  std::vector<double> gaps;
  {
    std::lock_guard guard(lumetta->Lock());
    for (size_t i = 1; i < starts.size(); ++i)
      gaps.push_back(double(starts[i] - starts[i - 1]) * 1000.0 / double(frequency.QuadPart));
  }
  delete form;
  if (gaps.empty()) {
    std::printf("no frames measured\n");
    return 1;
  }
  std::vector<double> sorted = gaps;
  std::sort(sorted.begin(), sorted.end());
  double sum = 0;
  for (double gap : gaps)
    sum += gap;
  const double median = sorted[sorted.size() / 2];
  std::printf("timer-mode frame period, Delay %d ms, style %d, 640x480, %zu frames\n", delay, style,
              gaps.size() + 1);
  std::printf("median gap %.2f ms (%.3f x Delay), mean %.2f ms, shortest %.2f ms, worst %.2f ms (%.3f x Delay)\n",
              median, median / delay, sum / double(gaps.size()), sorted.front(), sorted.back(),
              sorted.back() / delay);
  return 0;
}
