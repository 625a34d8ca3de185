// A 4000 x 3000 baseline JPEG shown in a 1920 x 1080 area, as the player
// takes it: from the file to a picture decoded under the display's show
// limit (kept in proportion, so at half of each side) and laid out; and the
// same file decoded whole. Natively the command-line decoder of the same
// library runs on the same file in the same run, at the same scale, and the
// ratios are printed; the Win32 build (run under Wine) can only time itself.
// Runs are interleaved, so a slow spell of a shared machine costs a few runs
// of each rather than all of one; every figure is a median.
//
//   photo_bench [runs]
#include "bench/framework/SamplePhoto.h"
#include "framework/Graphic.h"
#include "gfx/codecs/Jpeg.h"
#include "transition/PictureLayout.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int32_t kWidth = 4000;
constexpr int32_t kHeight = 3000;
constexpr gfx::TSize kArea{1920, 1080};

struct TMeasure {
  const char* Name;
  std::function<bool()> Run; // false: could not run
  std::vector<double> Ms;
};

double Median(std::vector<double> values)
{
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// The picture as the player's prefetch loads it, then laid out.
bool LoadAndLayOut(const std::string& path, framework::TGraphic::TShowLimit limit, gfx::TSize expectPixels)
{
  const transition::TPictureLayout layout{kArea, false, true};
  std::unique_ptr<framework::TGraphic> graphic = framework::LoadGraphicFromFile(path, std::move(limit));
  const gfx::TSize shown = layout.ShownSize({graphic->Width(), graphic->Height()});
  return graphic->PixelSize() == expectPixels && shown.Width <= kArea.Width && shown.Height <= kArea.Height;
}

} // namespace

int main(int argc, char** argv)
{
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  const std::vector<uint8_t> jpeg = gfx::EncodeJpeg(bench::SamplePhoto(kWidth, kHeight), {90, false, false});
  const std::string path = (std::filesystem::temp_directory_path() / "photo_bench_4000x3000.jpg").string();
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(jpeg.data()), std::streamsize(jpeg.size()));

  const transition::TPictureLayout layout{kArea, false, true};
  const framework::TGraphic::TShowLimit limit = [layout](gfx::TSize full) { return layout.ShownSize(full); };
  std::vector<TMeasure> measures = {
    {"file to laid-out picture, shown in 1920 x 1080", [&] { return LoadAndLayOut(path, limit, {2000, 1500}); }, {}},
    {"file to picture decoded whole", [&] { return LoadAndLayOut(path, {}, {kWidth, kHeight}); }, {}},
  };
#ifndef _WIN32
  const bool djpeg = std::system("djpeg -version > /dev/null 2>&1") == 0;
  if (djpeg) {
    const auto run = [&path](const std::string& options) {
      return std::system(("djpeg " + options + "-outfile /dev/null " + path).c_str()) == 0;
    };
    measures.push_back({"djpeg -scale 1/2", [run] { return run("-scale 1/2 "); }, {}});
    measures.push_back({"djpeg (whole)", [run] { return run(""); }, {}});
  } else {
    std::printf("djpeg is not installed (libjpeg-turbo-progs): no reference figures\n");
  }
#endif

  for (int run = 0; run < runs; ++run)
    for (TMeasure& m : measures) {
      const auto start = std::chrono::steady_clock::now();
      if (!m.Run()) {
        std::printf("%s: failed\n", m.Name);
        return 1;
      }
      m.Ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
  std::filesystem::remove(path);

  std::printf("%d x %d baseline JPEG (%.1f MB), median of %d runs:\n", kWidth, kHeight, double(jpeg.size()) / 1e6,
              runs);
  for (const TMeasure& m : measures)
    std::printf("  %-48s %8.1f ms\n", m.Name, Median(m.Ms));
#ifndef _WIN32
  if (djpeg) {
    std::printf("  ratio at half size (ours / djpeg -scale 1/2)     %8.2f\n",
                Median(measures[0].Ms) / Median(measures[2].Ms));
    std::printf("  ratio whole (ours / djpeg)                       %8.2f\n",
                Median(measures[1].Ms) / Median(measures[3].Ms));
  }
#endif
  return 0;
}
