// What the skinned frame costs on a window the size of the player's: the time
// to paint the non-client area (WM_NCPAINT) with the stored skin, active and
// inactive, against the system's own frame on the same window in the same
// run; and the time of one transition frame presented into the window with
// the skin on and off. Runs under Wine; prints medians and ratios, asserts
// nothing.
//
//   skin_frame_paint_bench [repetitions]
#include "bench/Win32Timing.h"
#include "framework/Bitmap.h"
#include "framework/win32/Forms.h"
#include "skin/SkinData.h"
#include "skin/win32/SkinDataWin32.h"
#include "skin/win32/SkinManage.h"
#include "transition/win32/Lumetta.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <vector>

namespace {

constexpr int kWidth = 911;
constexpr int kHeight = 683;

using bench::Pump;
double Now() { return bench::NowSeconds(); }

void PumpFor(int milliseconds)
{
  const DWORD end = GetTickCount() + DWORD(milliseconds);
  while (int(end - GetTickCount()) > 0) {
    Pump();
    Sleep(5);
  }
}

// The median time of one call, in microseconds.
double MedianMicroseconds(int repetitions, const std::function<void()>& call)
{
  std::vector<double> times;
  times.reserve(size_t(repetitions));
  for (int i = 0; i < repetitions; ++i) {
    const double start = Now();
    call();
    times.push_back((Now() - start) * 1e6);
  }
  std::nth_element(times.begin(), times.begin() + std::ptrdiff_t(times.size() / 2), times.end());
  return times[times.size() / 2];
}

std::vector<uint8_t> StoredSkin()
{
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::ifstream in(std::filesystem::path(path).parent_path() / "tarsel.skn", std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct TFigures {
  double Active = 0;
  double Inactive = 0;
  double TransitionFrame = 0;
};

TFigures Measure(HWND window, transition::TLumetta& display, int repetitions)
{
  TFigures figures;
  auto paint = [&] { SendMessageW(window, WM_NCPAINT, 1, 0); };
  SendMessageW(window, WM_NCACTIVATE, TRUE, 0);
  figures.Active = MedianMicroseconds(repetitions, paint);
  SendMessageW(window, WM_NCACTIVATE, FALSE, 0);
  figures.Inactive = MedianMicroseconds(repetitions, paint);
  SendMessageW(window, WM_NCACTIVATE, TRUE, 0);
  // One step of a manual transition, composed and presented on the window.
  display.SetManual(true);
  display.Execute();
  int progress = 0;
  figures.TransitionFrame = MedianMicroseconds(repetitions, [&] {
    progress = progress % 99 + 1;
    display.SetProgress(uint8_t(progress));
  });
  display.Stop();
  PumpFor(100);
  return figures;
}

} // namespace

int main(int argc, char** argv)
{
  const int repetitions = argc > 1 ? std::max(5, std::atoi(argv[1])) : 200;
  framework::Application->Initialize();
  skin::RegisterSkinDataClass();
  skin::win32::InstallSkinPlatform();
  skin::InstallSkinManager();

  auto* form = new framework::TForm(nullptr);
  form->SetBounds(40, 40, kWidth, kHeight);
  auto* display = new transition::TLumetta(form);
  display->SetParent(form);
  display->SetAlign(framework::alClient);
  framework::TBitmap picture(800, 600);
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x)
      picture.Pixmap().At(x, y) = gfx::TPixel((x * 255 / 800) << 16 | (y * 255 / 600) << 8 | 0x40);
  display->Picture().Assign(picture);
  display->SetStyle(52);
  form->Show();
  SetForegroundWindow(form->Handle());
  PumpFor(200);

  auto data = std::make_unique<skin::TSkinData>(nullptr);
  data->SetPackage(StoredSkin());
  if (!data->ApplyPackage()) {
    std::fprintf(stderr, "the stored skin is not next to the benchmark\n");
    return 1;
  }
  data->SetActive(true);
  data->Loaded();
  skin::SkinManager()->MarkStarted();
  SetForegroundWindow(form->Handle());
  PumpFor(400);
  if (!skin::SkinManager()->FrameOf(form->Handle())) {
    std::fprintf(stderr, "the window was not skinned\n");
    return 1;
  }
  const TFigures skinned = Measure(form->Handle(), *display, repetitions);

  skin::SkinManager()->PostAction(*data, skin::saSkinOff, 1);
  PumpFor(400);
  const TFigures system = Measure(form->Handle(), *display, repetitions);

  std::printf("non-client paint of a %d x %d window, median of %d (microseconds):\n", kWidth, kHeight, repetitions);
  std::printf("  skinned, active     %9.1f   (%.2f x the system frame)\n", skinned.Active,
              skinned.Active / system.Active);
  std::printf("  skinned, inactive   %9.1f   (%.2f x the system frame)\n", skinned.Inactive,
              skinned.Inactive / system.Inactive);
  std::printf("  system, active      %9.1f\n", system.Active);
  std::printf("  system, inactive    %9.1f\n", system.Inactive);
  std::printf("one transition frame presented in the window (style 52):\n");
  std::printf("  skin on  %9.1f\n  skin off %9.1f   (on / off %.2f)\n", skinned.TransitionFrame,
              system.TransitionFrame, skinned.TransitionFrame / system.TransitionFrame);
  delete form;
  data.reset();
  skin::FinalizeSkinManager();
  return 0;
}
