#pragma once
// The probe skin for the Win32 suites: the package copied next to the suite's
// executable (player_add_isolated_suites ... FILES), and pixels read back
// named by the element frame whose colour they show.
#include <windows.h>

#include "tests/win32/ScreenProbe.h"
#include "tools/skinart/ProbeColours.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace testsupport {

// The folder of the running executable.
inline std::filesystem::path ExecutableFolder()
{
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  return std::filesystem::path(path).parent_path();
}

// The probe skin package beside the executable; throws when it is missing,
// which means the suite was declared without it.
inline std::vector<uint8_t> ProbeSkinPackage()
{
  const std::filesystem::path path = ExecutableFolder() / std::string(probeskin::kPackageName);
  std::ifstream in(path, std::ios::binary);
  if (!in)
    throw std::runtime_error("the probe skin is not next to the suite: " + path.string());
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A pixel as a failure message shows it: the frame it names (counted from 0)
// or its colour.
inline std::string DescribePixel(uint32_t rgb, int32_t tolerance = 0)
{
  if (const auto frame = probeskin::FindProbeFrame(rgb, tolerance))
    return std::string(frame->Bitmap()) + " frame " + std::to_string(frame->Frame);
  char text[16];
  std::snprintf(text, sizeof text, "#%06X", unsigned(rgb & 0xFFFFFF));
  return rgb == probeskin::kMagenta ? std::string(text) + " (magenta)" : std::string(text);
}

// Whether the pixel shows that frame (counted from 0) of the bitmap.
inline bool ShowsFrame(uint32_t rgb, std::string_view bitmap, int32_t frame, int32_t tolerance = 0)
{
  const auto found = probeskin::FindProbeFrame(rgb, tolerance);
  return found && found->Bitmap() == bitmap && found->Frame == frame;
}

// What an area of a capture shows, frame by frame: how many pixels name each
// probe frame, and how many name none (magenta, the system's colours, text).
struct TFrameCensus {
  std::map<std::pair<std::string_view, int32_t>, int32_t> Frames;
  int32_t Unnamed = 0;

  [[nodiscard]] int32_t Count(std::string_view bitmap, int32_t frame) const
  {
    const auto it = Frames.find({bitmap, frame});
    return it == Frames.end() ? 0 : it->second;
  }
};

inline TFrameCensus CensusOf(const TCapture& capture, RECT area, int32_t tolerance = 0)
{
  TFrameCensus census;
  for (int32_t y = std::max<int32_t>(area.top, 0); y < std::min<int32_t>(area.bottom, capture.Height()); ++y)
    for (int32_t x = std::max<int32_t>(area.left, 0); x < std::min<int32_t>(area.right, capture.Width()); ++x) {
      if (const auto frame = probeskin::FindProbeFrame(capture.At(x, y), tolerance))
        ++census.Frames[{frame->Bitmap(), frame->Frame}];
      else
        ++census.Unnamed;
    }
  return census;
}

} // namespace testsupport
