// The player through a long run of transitions: player.exe (next to this
// program) plays a folder of mixed pictures made here and is driven with its
// Next key, each transition as soon as the last has ended. Prints, per span
// of transitions, the least, the most and the last of its private memory, its
// heaps' blocks in use and its GDI and USER objects after each transition,
// then how far each floor rose after the first span. Runs under Wine; no
// assertion is made (app_soak_test is the short run that checks).
//
//   app_soak_bench [transitions [span [step [interval ms [folder]]]]]
//   defaults:        10000        500   25    5
// With a folder, that folder is played instead of one made for the run.
#include "tests/app/PlayerSoak.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <exception>
#include <filesystem>
#include <optional>

namespace {

int Argument(int argc, wchar_t** argv, int index, int fallback)
{
  return argc > index ? std::max(1, int(std::wcstol(argv[index], nullptr, 10))) : fallback;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
  apptest::TSoakSettings settings;
  settings.Transitions = Argument(argc, argv, 1, 10000);
  settings.SpanLength = Argument(argc, argv, 2, 500);
  settings.Step = Argument(argc, argv, 3, 25);
  settings.Delay = Argument(argc, argv, 4, 5);
  try {
    std::optional<apptest::TSoakFolder> made;
    const std::filesystem::path folder = argc > 5 ? std::filesystem::path(argv[5]) : made.emplace().Path();
    std::printf("%d transitions, step %d %%, interval %d ms, figures per span of %d\n", settings.Transitions,
                settings.Step, settings.Delay, settings.SpanLength);
    apptest::TPlayerSoak soak(folder, settings);
    apptest::PrintSpanHeader();
    const std::vector<apptest::TSoakSpan> spans = soak.Run(apptest::PrintSpan);
    // The first span holds the warm-up (every effect's first use, the history
    // filling); what should stay flat is what comes after it, so the floors
    // are compared with that of the second span.
    const size_t baseline = spans.size() > 2 ? 1 : 0;
    const apptest::TSoakFigures growth = apptest::FloorGrowth(spans, baseline);
    std::printf("GDI and USER figures: %s\n",
                soak.SystemCounts() ? "the system's counts"
                                    : "handles held by the player's owners, windows of its GUI thread");
    std::printf("floors of later spans rose over that of the span ending at transition %d by at most: private "
                "memory %.2f MB, heap in use %.2f MB, GDI %lld, USER %lld\n",
                spans.empty() ? 0 : spans[baseline].Transitions, apptest::Megabytes(growth.PrivateBytes),
                apptest::Megabytes(growth.HeapInUse), (long long)growth.GdiObjects, (long long)growth.UserObjects);
  } catch (const std::exception& error) {
    std::printf("soak failed: %s\n", error.what());
    return 1;
  }
  return 0;
}
