// Start-up time of the player. player.exe (next to this program) is started
// with a folder as parameter, so without the splash, and two moments are
// taken from outside the process: its main window visible, and the first
// picture drawn in its display area (read back from the screen). The folder
// holds 20-megapixel JPEGs made here, at bench time. The program is closed
// after each run. Prints every run and the medians, and, for where the time
// goes, what reading one of those files takes in this process. Runs under
// Wine; no assertion is made.
//
//   app_startup_bench [runs] [folder]    (folder: play it instead of making one)
#include "bench/framework/SamplePhoto.h"
#include "framework/Graphic.h"
#include "gfx/codecs/Jpeg.h"
#include "gfx/win32/GdiHandles.h"
#include "tests/app/PlayerProcess.h"
#include "transition/PictureLayout.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int32_t kPhotoWidth = 5472; // 20 megapixels, 3:2
constexpr int32_t kPhotoHeight = 3648;
constexpr int kPhotos = 3;

// A folder of 20-megapixel photographs, removed with its owner.
struct TPhotoFolder {
  fs::path Path = fs::temp_directory_path() / "startup-bench-photos";
  TPhotoFolder()
  {
    fs::remove_all(Path);
    fs::create_directories(Path);
    const std::vector<uint8_t> jpeg = gfx::EncodeJpeg(bench::SamplePhoto(kPhotoWidth, kPhotoHeight), {.Quality = 90});
    for (int i = 1; i <= kPhotos; ++i)
      std::ofstream(Path / ("Photo " + std::to_string(i) + ".jpg"), std::ios::binary)
        .write(reinterpret_cast<const char*>(jpeg.data()), std::streamsize(jpeg.size()));
  }
  ~TPhotoFolder() { fs::remove_all(Path); }
};

BOOL CALLBACK FindDisplay(HWND window, LPARAM found)
{
  if (apptest::WindowClass(window) == L"TLumetta") {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

// Whether the display area shows a picture: its pixels (as sampled) hold
// at least this many colours. What the area shows before the picture comes
// has a few: the background, the frame, a hint's box and text, or, in a
// window not yet painted, black and what lay under it. The bench's photo is
// a noisy gradient, so even the first step of a transition brings hundreds.
constexpr size_t kPictureColours = 64;

size_t DistinctColours(std::vector<uint32_t> pixels)
{
  std::sort(pixels.begin(), pixels.end());
  return size_t(std::unique(pixels.begin(), pixels.end()) - pixels.begin());
}

class TPictureWatch {
public:
  explicit TPictureWatch(HWND display) : display_(display) {}

  bool PictureShown()
  {
    RECT client;
    GetClientRect(display_, &client);
    POINT origin{0, 0};
    ClientToScreen(display_, &origin);
    const int w = client.right, h = client.bottom;
    if (w <= 0 || h <= 0)
      return false;
    std::vector<uint32_t> pixels(size_t(w) * size_t(h));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    {
      const gfx::win32::TWindowDC screen(nullptr);
      const gfx::win32::TMemoryDC memory(screen.Get());
      const gfx::win32::TGdiBitmap bitmap(CreateCompatibleBitmap(screen.Get(), w, h));
      {
        const gfx::win32::TSelectObject selected(memory.Get(), bitmap.Get());
        BitBlt(memory.Get(), 0, 0, w, h, screen.Get(), origin.x, origin.y, SRCCOPY);
      }
      GetDIBits(memory.Get(), bitmap.Get(), 0, UINT(h), pixels.data(), &info, DIB_RGB_COLORS);
    }
    // Every fourth pixel of every fourth row is enough to see a picture come,
    // and keeps the watch from taking the processor the player needs.
    std::vector<uint32_t> sample;
    sample.reserve(pixels.size() / 16 + 1);
    for (size_t y = 0; y < size_t(h); y += 4)
      for (size_t x = 0; x < size_t(w); x += 4)
        sample.push_back(pixels[y * size_t(w) + x] & 0xFFFFFF);
    return DistinctColours(std::move(sample)) >= kPictureColours;
  }

private:
  HWND display_;
};

double Median(std::vector<double> values)
{
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

double MsSince(std::chrono::steady_clock::time_point start)
{
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// What reading one photo takes in this process: as the player's prefetch
// reads it for a screen of this size (kept in proportion, the player's stored
// setting), and at each of the decoder's reductions.
void ReportReading(const fs::path& file)
{
  const gfx::TSize screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  const transition::TPictureLayout layout{screen, false, true};
  const auto median = [&file](framework::TGraphic::TShowLimit limit, gfx::TSize& pixels) {
    std::vector<double> times;
    for (int run = 0; run < 5; ++run) {
      const auto start = std::chrono::steady_clock::now();
      pixels = framework::LoadGraphicFromFile(file.string(), limit)->PixelSize();
      times.push_back(MsSince(start));
    }
    return Median(times);
  };
  gfx::TSize pixels;
  const double forScreen = median([layout](gfx::TSize full) { return layout.ShownSize(full); }, pixels);
  std::printf("reading one %d x %d photo for a %d x %d screen: %.0f ms (%d x %d pixels)\n", kPhotoWidth,
              kPhotoHeight, screen.Width, screen.Height, forScreen, pixels.Width, pixels.Height);
  for (int reduction : {1, 2, 4, 8}) {
    const gfx::TSize shown{(kPhotoWidth + reduction - 1) / reduction, (kPhotoHeight + reduction - 1) / reduction};
    const double ms = median([shown](gfx::TSize) { return shown; }, pixels);
    std::printf("  at 1/%d: %.0f ms\n", reduction, ms);
  }
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
  const int runs = argc > 1 ? std::max(1, int(std::wcstol(argv[1], nullptr, 10))) : 5;
  std::optional<TPhotoFolder> made;
  std::wstring folder;
  if (argc > 2) {
    folder = argv[2];
  } else {
    made.emplace();
    folder = made->Path.wstring();
  }
  std::vector<double> windows, pictures;
  for (int run = 0; run < runs; ++run) {
    apptest::TPlayerProcess player(L"\"" + folder + L"\"");
    HWND main = player.Started() ? player.WaitForWindow(L"TMainForm", 60000) : nullptr;
    if (!main) {
      std::printf("run %d: the window did not show\n", run + 1);
      return 1;
    }
    const double window = MsSince(player.StartTime());
    HWND display = nullptr;
    EnumChildWindows(main, &FindDisplay, reinterpret_cast<LPARAM>(&display));
    if (!display) {
      std::printf("run %d: no display area in the window\n", run + 1);
      return 1;
    }
    TPictureWatch watch(display);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!watch.PictureShown() && std::chrono::steady_clock::now() < end)
      Sleep(2);
    const double picture = MsSince(player.StartTime());
    std::printf("run %d: window %.0f ms, first picture %.0f ms\n", run + 1, window, picture);
    windows.push_back(window);
    pictures.push_back(picture);
  }
  std::printf("median of %d runs from process start: main window shown %.0f ms, first picture drawn %.0f ms\n", runs,
              Median(windows), Median(pictures));
  if (made)
    ReportReading(made->Path / "Photo 1.jpg");
  return 0;
}
