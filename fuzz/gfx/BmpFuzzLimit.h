#pragma once
// Bitmaps whose headers declare very many pixels are valid, but decoding them
// only slows a fuzzer down and can run it into its memory limit. Fuzz targets
// that reach the BMP decoder skip inputs that declare such pictures.
#include <cstdint>
#include <cstring>
#include <span>

namespace fuzzlimit {

inline constexpr int64_t kMaxBmpPixels = int64_t(1) << 22;

// Whether file is laid out as a bitmap file whose header declares more than
// maxPixels pixels; short or foreign data never is.
[[nodiscard]] inline bool BmpTooLarge(std::span<const uint8_t> file, int64_t maxPixels = kMaxBmpPixels)
{
  if (file.size() < 26 || file[0] != 'B' || file[1] != 'M')
    return false;
  uint32_t header = 0;
  std::memcpy(&header, file.data() + 14, 4);
  int64_t w = 0, h = 0;
  if (header == 12) {
    w = file[18] | (file[19] << 8);
    h = file[20] | (file[21] << 8);
  } else {
    int32_t w32 = 0, h32 = 0;
    std::memcpy(&w32, file.data() + 18, 4);
    std::memcpy(&h32, file.data() + 22, 4);
    w = w32;
    h = h32 < 0 ? -int64_t(h32) : h32;
  }
  return w * h > maxPixels;
}

} // namespace fuzzlimit
