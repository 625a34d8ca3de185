#include "tools/skinart/Paint.h"

#include <algorithm>
#include <cmath>

namespace skinart {

TRgb Mix(TRgb a, TRgb b, double t)
{
  const auto m = [t](uint8_t x, uint8_t y) { return uint8_t(std::lround(x + (y - x) * std::clamp(t, 0.0, 1.0))); };
  return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

void Put(gfx::TPixmap& pix, int32_t x, int32_t y, TRgb c)
{
  if (x < 0 || y < 0 || x >= pix.Width() || y >= pix.Height())
    return;
  pix.At(x, y) = gfx::ColorToPixel(gfx::RGBColor(c.r, c.g, c.b));
}

void FillRect(gfx::TPixmap& pix, int32_t x, int32_t y, int32_t w, int32_t h, TRgb c)
{
  for (int32_t j = y; j < y + h; ++j)
    for (int32_t i = x; i < x + w; ++i)
      Put(pix, i, j, c);
}

namespace {

// Distance of a pixel centre outside the rounded rectangle's inner corner
// circles; <= 0 inside the straight parts.
double CornerDistance(int32_t i, int32_t j, int32_t w, int32_t h, int32_t r)
{
  const double px = i + 0.5;
  const double py = j + 0.5;
  const double cx = px < r ? r : (px > w - r ? w - r : px);
  const double cy = py < r ? r : (py > h - r ? h - r : py);
  return std::hypot(px - cx, py - cy);
}

void DrawShape(gfx::TPixmap& pix, int32_t x, int32_t y, int32_t w, int32_t h, int32_t r, const TBoxStyle& s)
{
  for (int32_t j = 0; j < h; ++j) {
    for (int32_t i = 0; i < w; ++i) {
      const double d = CornerDistance(i, j, w, h, r);
      const double edge = r > 0 ? r : 0.0;
      const bool inCorner = r > 0 && d > 0.0 && (i + 0.5 < r || i + 0.5 > w - r) && (j + 0.5 < r || j + 0.5 > h - r);
      if (inCorner && d > edge - 0.2) {
        if (s.keyOutside)
          Put(pix, x + i, y + j, kMagenta);
        continue;
      }
      const bool border = i == 0 || j == 0 || i == w - 1 || j == h - 1 || (inCorner && d > edge - 1.2);
      if (border && s.drawBorder) {
        Put(pix, x + i, y + j, s.border);
        continue;
      }
      const double t = s.horizontal ? (w > 1 ? double(i) / (w - 1) : 0.0) : (h > 1 ? double(j) / (h - 1) : 0.0);
      TRgb c = Mix(s.top, s.bottom, t);
      const bool nearEdge = i == 1 || j == 1 || (inCorner && d > edge - 2.2);
      if (s.highlight && s.drawBorder && nearEdge && (j <= h / 2 || i == 1) && i < w - 2)
        c = Mix(c, s.highlightColor, 0.7);
      Put(pix, x + i, y + j, c);
    }
  }
}

} // namespace

void DrawBox(gfx::TPixmap& pix, int32_t x, int32_t y, int32_t w, int32_t h, const TBoxStyle& style)
{
  DrawShape(pix, x, y, w, h, std::min({style.radius, w / 2, h / 2}), style);
}

void DrawDisc(gfx::TPixmap& pix, int32_t x, int32_t y, int32_t size, const TBoxStyle& style)
{
  DrawShape(pix, x, y, size, size, size / 2, style);
}

void FillDisc(gfx::TPixmap& pix, double cx, double cy, double radius, TRgb c)
{
  for (int32_t j = int32_t(cy - radius - 1); j <= int32_t(cy + radius + 1); ++j)
    for (int32_t i = int32_t(cx - radius - 1); i <= int32_t(cx + radius + 1); ++i)
      if (std::hypot(i + 0.5 - cx, j + 0.5 - cy) <= radius)
        Put(pix, i, j, c);
}

void DrawArrow(gfx::TPixmap& pix, int32_t cx, int32_t cy, int32_t base, TDirection direction, TRgb c)
{
  const int32_t depth = (base + 1) / 2;
  for (int32_t k = 0; k < depth; ++k) {
    const int32_t half = (base - 1) / 2 - k; // rows shrink towards the tip
    const int32_t along = k - depth / 2;
    for (int32_t a = -half; a <= half + ((base + 1) % 2 == 0 ? 0 : 0); ++a) {
      switch (direction) {
      case TDirection::Down: Put(pix, cx + a, cy + along, c); break;
      case TDirection::Up: Put(pix, cx + a, cy - along, c); break;
      case TDirection::Right: Put(pix, cx + along, cy + a, c); break;
      case TDirection::Left: Put(pix, cx - along, cy + a, c); break;
      }
    }
  }
}

void DrawLine(gfx::TPixmap& pix, double x0, double y0, double x1, double y1, double width, TRgb c)
{
  const double dx = x1 - x0;
  const double dy = y1 - y0;
  const double len2 = dx * dx + dy * dy;
  const int32_t left = int32_t(std::floor(std::min(x0, x1) - width));
  const int32_t right = int32_t(std::ceil(std::max(x0, x1) + width));
  const int32_t topY = int32_t(std::floor(std::min(y0, y1) - width));
  const int32_t bottomY = int32_t(std::ceil(std::max(y0, y1) + width));
  for (int32_t j = topY; j <= bottomY; ++j) {
    for (int32_t i = left; i <= right; ++i) {
      const double px = i + 0.5;
      const double py = j + 0.5;
      const double t = len2 > 0 ? std::clamp(((px - x0) * dx + (py - y0) * dy) / len2, 0.0, 1.0) : 0.0;
      if (std::hypot(px - (x0 + t * dx), py - (y0 + t * dy)) <= width / 2)
        Put(pix, i, j, c);
    }
  }
}

void DrawDots(gfx::TPixmap& pix, int32_t x, int32_t y, int32_t columns, int32_t rows, TRgb dark, TRgb light)
{
  for (int32_t r = 0; r < rows; ++r) {
    for (int32_t col = 0; col < columns; ++col) {
      Put(pix, x + 2 * col + 1, y + 2 * r + 1, light);
      Put(pix, x + 2 * col, y + 2 * r, dark);
    }
  }
}

} // namespace skinart
