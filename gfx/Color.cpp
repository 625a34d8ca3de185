#include "gfx/Color.h"

#include <array>
#include <cstddef>

namespace gfx {

namespace {

// The platform's default ("classic") colour scheme, by COLOR_* index.
constexpr std::array<TColor, 31> kDefaultSystemColors = {
  RGBColor(200, 200, 200), RGBColor(0, 0, 0),       RGBColor(153, 180, 209), RGBColor(191, 205, 219),
  RGBColor(240, 240, 240), RGBColor(255, 255, 255), RGBColor(100, 100, 100), RGBColor(0, 0, 0),
  RGBColor(0, 0, 0),       RGBColor(0, 0, 0),       RGBColor(180, 180, 180), RGBColor(244, 247, 252),
  RGBColor(171, 171, 171), RGBColor(0, 120, 215),   RGBColor(255, 255, 255), RGBColor(240, 240, 240),
  RGBColor(160, 160, 160), RGBColor(109, 109, 109), RGBColor(0, 0, 0),       RGBColor(0, 0, 0),
  RGBColor(255, 255, 255), RGBColor(105, 105, 105), RGBColor(227, 227, 227), RGBColor(0, 0, 0),
  RGBColor(255, 255, 225), RGBColor(0, 0, 0),       RGBColor(0, 102, 204),   RGBColor(185, 209, 234),
  RGBColor(215, 228, 242), RGBColor(51, 153, 255),  RGBColor(240, 240, 240),
};

TColor DefaultSystemColor(int index)
{
  return index >= 0 && index < int(kDefaultSystemColors.size()) ? kDefaultSystemColors[size_t(index)] : clBlack;
}

TSystemColorSource systemColorSource = DefaultSystemColor;

} // namespace

TColor ColorToRGB(TColor color)
{
  if (color < 0)
    return systemColorSource(color & 0xFF);
  return color & 0xFFFFFF;
}

void SetSystemColorSource(TSystemColorSource source)
{
  systemColorSource = source ? source : DefaultSystemColor;
}

} // namespace gfx
