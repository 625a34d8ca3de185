#pragma once
// What the effect benchmarks share: the pictures they compose between and
// the choice of styles on the command line.
#include "effects/EffectTable.h"
#include "framework/Bitmap.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace bench {

// The old image is noise and the new picture a gradient, so that no transfer
// between them can be skipped as a no-op.
inline void FillBenchPictures(framework::TBitmap& oldImage, framework::TBitmap& newImage)
{
  uint32_t seed = 12345;
  for (int32_t y = 0; y < oldImage.Height(); ++y) {
    gfx::TPixel* o = oldImage.ScanLine(y);
    gfx::TPixel* n = newImage.ScanLine(y);
    for (int32_t x = 0; x < oldImage.Width(); ++x) {
      seed = seed * 1664525u + 1013904223u;
      o[x] = seed >> 8;
      n[x] = (uint32_t(x) << 12) ^ uint32_t(y);
    }
  }
}

// The styles named by --styles=1-57,129-136 (every style without it); the
// argument is taken out of argv.
inline std::vector<effects::TShowStyle> SelectedStyles(int& argc, char** argv)
{
  std::vector<bool> chosen(effects::kMaxStyle + 1, false);
  bool filtered = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.rfind("--styles=", 0) != 0)
      continue;
    filtered = true;
    size_t at = 9;
    while (at < arg.size()) {
      const size_t comma = std::min(arg.find(',', at), arg.size());
      const std::string item = arg.substr(at, comma - at);
      const size_t dash = item.find('-');
      const int first = std::atoi(item.c_str());
      const int last = dash == std::string::npos ? first : std::atoi(item.c_str() + dash + 1);
      for (int s = std::max(first, 1); s <= std::min(last, int(effects::kMaxStyle)); ++s)
        chosen[size_t(s)] = true;
      at = comma + 1;
    }
    std::copy(argv + i + 1, argv + argc, argv + i);
    --argc;
    --i;
  }
  std::vector<effects::TShowStyle> styles;
  for (effects::TShowStyle s = 1; s <= effects::kMaxStyle; ++s)
    if (!filtered || chosen[s])
      styles.push_back(s);
  return styles;
}

// The value of --name=N, taken out of argv; fallback without it.
inline int IntegerOption(int& argc, char** argv, const std::string& name, int fallback)
{
  const std::string prefix = "--" + name + "=";
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]).rfind(prefix, 0) != 0)
      continue;
    const int value = std::atoi(argv[i] + prefix.size());
    std::copy(argv + i + 1, argv + argc, argv + i);
    --argc;
    return value;
  }
  return fallback;
}

template <class T> T Median(std::vector<T> values)
{
  std::sort(values.begin(), values.end());
  return values.empty() ? T{} : values[values.size() / 2];
}

} // namespace bench
