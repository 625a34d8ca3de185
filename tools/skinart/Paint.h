#pragma once
#include "gfx/Pixmap.h"

#include <cstdint>

namespace skinart {

// Drawing on a pixmap for the skin's artwork. Everything is hard-edged on
// purpose: the key colour magenta marks transparent pixels, and a blended
// edge would leave a pink fringe once the key is cut out.
struct TRgb {
  uint8_t r = 0, g = 0, b = 0;
};

constexpr TRgb kMagenta{255, 0, 255};

[[nodiscard]] TRgb Mix(TRgb a, TRgb b, double t);
void Put(gfx::TPixmap& pix, int32_t x, int32_t y, TRgb c);
void FillRect(gfx::TPixmap& pix, int32_t x, int32_t y, int32_t w, int32_t h, TRgb c);

// A rounded box: outside the rounded outline the pixels become magenta (when
// keyOutside) or stay as they are; a one-pixel border; an optional highlight
// line just inside the top and left; a fill that runs from top to bottom
// colour (or left to right when horizontal).
struct TBoxStyle {
  int32_t radius = 3;
  TRgb border;
  TRgb top;
  TRgb bottom;
  bool highlight = true;
  TRgb highlightColor{255, 255, 255};
  bool keyOutside = true;
  bool horizontal = false;
  bool drawBorder = true;
};
void DrawBox(gfx::TPixmap& pix, int32_t x, int32_t y, int32_t w, int32_t h, const TBoxStyle& style);

// A circle (for radio buttons and round caption buttons) drawn the same way.
void DrawDisc(gfx::TPixmap& pix, int32_t x, int32_t y, int32_t size, const TBoxStyle& style);
void FillDisc(gfx::TPixmap& pix, double cx, double cy, double radius, TRgb c);

enum class TDirection { Left, Right, Up, Down };
// A solid triangle pointing in direction, centred on (cx, cy), with the given
// base width (odd widths give a sharp tip).
void DrawArrow(gfx::TPixmap& pix, int32_t cx, int32_t cy, int32_t base, TDirection direction, TRgb c);

// A thick line between two points (for check marks and crosses).
void DrawLine(gfx::TPixmap& pix, double x0, double y0, double x1, double y1, double width, TRgb c);

// Grip dots: a small diagonal or straight pattern of raised dots.
void DrawDots(gfx::TPixmap& pix, int32_t x, int32_t y, int32_t columns, int32_t rows, TRgb dark, TRgb light);

} // namespace skinart
