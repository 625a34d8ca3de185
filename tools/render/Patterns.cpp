#include "Patterns.h"

#include <cmath>
#include <stdexcept>

namespace render {

namespace {

constexpr gfx::TPixel Rgb(uint32_t r, uint32_t g, uint32_t b)
{
  return (r << 16) | (g << 8) | b;
}

void Bars(gfx::TPixmap& p)
{
  constexpr gfx::TPixel kBars[] = {Rgb(255, 255, 255), Rgb(255, 255, 0), Rgb(0, 255, 255), Rgb(0, 255, 0),
                                   Rgb(255, 0, 255),   Rgb(255, 0, 0),   Rgb(0, 0, 255),   Rgb(32, 32, 32)};
  const int32_t w = p.Width(), h = p.Height();
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      if (y < h * 3 / 4) {
        p.At(x, y) = kBars[size_t(int64_t(x) * 8 / w)];
      } else {
        const uint32_t v = uint32_t(int64_t(x) * 255 / std::max(w - 1, 1));
        p.At(x, y) = Rgb(v, v, v);
      }
    }
}

void Rings(gfx::TPixmap& p)
{
  const int32_t w = p.Width(), h = p.Height();
  const double cx = (w - 1) / 2.0, cy = (h - 1) / 2.0;
  const double ring = std::max(4.0, std::min(w, h) / 12.0);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      const int band = int(std::hypot(x - cx, y - cy) / ring);
      const uint32_t shade = uint32_t(40 + (band * 37) % 160);
      p.At(x, y) = (band % 2) ? Rgb(255, shade, 0) : Rgb(shade / 2, 0, 120 + shade / 2);
    }
}

void Grid(gfx::TPixmap& p)
{
  const int32_t w = p.Width(), h = p.Height();
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      const uint32_t r = uint32_t(int64_t(x) * 255 / std::max(w - 1, 1));
      const uint32_t g = uint32_t(int64_t(y) * 255 / std::max(h - 1, 1));
      p.At(x, y) = (x % 16 == 0 || y % 16 == 0) ? Rgb(0, 0, 255) : Rgb(r, g, 64);
    }
}

void Checker(gfx::TPixmap& p)
{
  const int32_t w = p.Width(), h = p.Height();
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x)
      p.At(x, y) = ((x / 8 + y / 8) % 2) ? Rgb(240, 160, 40) : Rgb(40, 120, 200);
}

struct TPattern {
  const char* Name;
  void (*Draw)(gfx::TPixmap&);
};

constexpr TPattern kPatterns[] = {{"bars", Bars}, {"rings", Rings}, {"grid", Grid}, {"checker", Checker}};

} // namespace

std::vector<std::string> PatternNames()
{
  std::vector<std::string> names;
  for (const TPattern& p : kPatterns)
    names.emplace_back(p.Name);
  return names;
}

gfx::TPixmap PatternPixmap(std::string_view name, int32_t width, int32_t height)
{
  if (width <= 0 || height <= 0)
    throw std::invalid_argument("a pattern needs a size of at least 1 x 1");
  for (const TPattern& p : kPatterns)
    if (name == p.Name) {
      gfx::TPixmap pixels(width, height);
      p.Draw(pixels);
      return pixels;
    }
  throw std::invalid_argument("unknown pattern \"" + std::string(name) + "\"");
}

} // namespace render
