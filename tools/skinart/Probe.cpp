#include "tools/skinart/Probe.h"

#include "tools/skinart/ProbeColours.h"

#include <stdexcept>

namespace skinart {

std::vector<TSkinBitmap> ProbeBitmaps(const std::vector<TSkinBitmap>& stored)
{
  // The colour table and the stored skin are written in two places; a bitmap
  // added to one and not the other must stop the build, not give a probe
  // skin that silently leaves it out.
  if (stored.size() != probeskin::kElements.size())
    throw std::runtime_error("the probe colour table does not list every bitmap of the stored skin");
  const gfx::TPixel key = gfx::TPixel(probeskin::kMagenta);
  std::vector<TSkinBitmap> probe;
  probe.reserve(stored.size());
  for (size_t e = 0; e < stored.size(); ++e) {
    const TSkinBitmap& source = stored[e];
    const probeskin::TProbeElement& element = probeskin::kElements[e];
    if (source.Name != element.Bitmap)
      throw std::runtime_error("the probe colour table lists " + std::string(element.Bitmap) + " where the skin has " +
                               source.Name);
    const int32_t w = source.Pixels.Width();
    const int32_t h = source.Pixels.Height();
    const int32_t length = element.Stacked ? h : w;
    if (length % element.Frames != 0)
      throw std::runtime_error(source.Name + " does not divide into its frames");
    const int32_t frameLength = length / element.Frames;

    TSkinBitmap out{source.Name, source.BitsPerPixel, gfx::TPixmap(w, h)};
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x) {
        const int32_t frame = (element.Stacked ? y : x) / frameLength;
        // Only the exact key colour is transparent in the stored art; its
        // anti-aliasing never produces magenta, so the mask carries over.
        out.Pixels.At(x, y) = (source.Pixels.At(x, y) & 0xFFFFFF) == key
                                ? key
                                : gfx::TPixel(probeskin::ProbeColour(e, frame));
      }
    probe.push_back(std::move(out));
  }
  return probe;
}

std::string ProbeDescription(const std::string& stored)
{
  // Every key stays as the stored skin has it, so that the probe exercises
  // the same margins, flags and frame counts; only the name tells them apart.
  const std::string from = "SkinName=";
  const size_t at = stored.find(from);
  if (at == std::string::npos)
    throw std::runtime_error("the stored description has no skin name");
  const size_t end = stored.find('\n', at);
  return stored.substr(0, at + from.size()) + std::string(probeskin::kSkinName) + stored.substr(end);
}

} // namespace skinart
