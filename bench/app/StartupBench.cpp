// Start-up time of the player: player.exe (next to this program) is started
// with its sample folder as parameter, so without the splash, and the time
// until its window is visible is measured; the program is then closed. Prints
// every run and the median. Runs under Wine; no assertion is made.
//
//   app_startup_bench [runs]
#include "tests/app/PlayerProcess.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <vector>

int wmain(int argc, wchar_t** argv)
{
  const int runs = argc > 1 ? std::max(1, int(std::wcstol(argv[1], nullptr, 10))) : 5;
  std::vector<double> times;
  for (int run = 0; run < runs; ++run) {
    apptest::TPlayerProcess player(L"\"" + apptest::ProgramFolder() + L"Photos\"");
    if (!player.Started() || !player.WaitForWindow(L"TMainForm", 60000)) {
      std::printf("run %d: the window did not show\n", run + 1);
      return 1;
    }
    const double ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - player.StartTime()).count();
    std::printf("run %d: %.0f ms\n", run + 1, ms);
    times.push_back(ms);
  }
  std::sort(times.begin(), times.end());
  std::printf("median of %d runs: %.0f ms from process start to the main window shown\n", runs,
              times[times.size() / 2]);
  return 0;
}
