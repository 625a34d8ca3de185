#pragma once
#include "gfx/Pixmap.h"

#include <cstddef>
#include <cstdint>

// The per-pixel work of the pixel effects, on the pixel memory of the frame
// and of the new picture (both the same size, rows bottom-up). Everything here
// is integer arithmetic; the effect procedures compute their weights and seeds
// and call in.
namespace effects::pixel {

// The kernels that work on whole frames take an optional old image, under,
// of the frame's size: when given, the frame's pixels are taken to be
// under's and every pixel is written once - from under where the effect
// keeps the old image - rather than read back from the frame.

// Moves count pixels of dst toward src with weight k in 0..256: each of the
// blue, green and red bytes becomes old + floor((new - old) * k / 256); the
// fourth byte keeps dst's value.
void Blend(gfx::TPixel* dst, const gfx::TPixel* src, size_t count, int32_t k) noexcept;

// One pixel of Blend, for tests and small loops.
[[nodiscard]] constexpr gfx::TPixel BlendPixel(gfx::TPixel old, gfx::TPixel neu, uint32_t k) noexcept
{
  // old + floor((new - old) * k / 256) == floor((old * (256 - k) + new * k) / 256)
  // because old * 256 is a whole multiple of 256; the right side has no
  // negative terms, so blue and red share one multiplication.
  const uint32_t ik = 256u - k;
  const uint32_t rb = (((old & 0x00FF00FFu) * ik + (neu & 0x00FF00FFu) * k) >> 8) & 0x00FF00FFu;
  const uint32_t g = (((old & 0x0000FF00u) * ik + (neu & 0x0000FF00u) * k) >> 8) & 0x0000FF00u;
  return (old & 0xFF000000u) | rb | g;
}

// Blend over a whole frame.
void BlendPixmap(gfx::TPixmap& screen, const gfx::TPixmap& picture, int32_t k,
                 const gfx::TPixmap* under = nullptr) noexcept;

// Channel numbers are byte positions: 0 blue, 1 green, 2 red.
struct TChannelOrder {
  int32_t First = 0;
  int32_t Second = 1;
  int32_t Third = 2;
};

// The order in which the channel mix changes the channels over: the first two
// draws of Random(3) after seeding the generator with seed, the second drawn
// again until it differs from the first.
[[nodiscard]] TChannelOrder ChannelOrder(uint32_t seed) noexcept;

// Every pixel: channels in setMask (a byte mask such as 0x0000FF00) take the
// new value, the channel blendChannel moves toward it with weight k, the rest
// keep the old value.
void MixChannels(gfx::TPixmap& screen, const gfx::TPixmap& picture, uint32_t setMask, int32_t blendChannel,
                 int32_t k, const gfx::TPixmap* under = nullptr) noexcept;

// Copies each pixel of picture for which the generator, seeded with seed and
// drawn once per pixel in memory order, gives Random(100) < progress.
void Dissolve(gfx::TPixmap& screen, const gfx::TPixmap& picture, uint32_t seed, int32_t progress,
              const gfx::TPixmap* under = nullptr) noexcept;

// The same with one draw per row (memory order: bottom row first), copying
// whole rows.
void RandomRows(gfx::TPixmap& screen, const gfx::TPixmap& picture, uint32_t seed, int32_t progress,
                const gfx::TPixmap* under = nullptr) noexcept;

// The same with one draw per column, columns left to right, copying whole
// columns.
void RandomColumns(gfx::TPixmap& screen, const gfx::TPixmap& picture, uint32_t seed, int32_t progress,
                   const gfx::TPixmap* under = nullptr) noexcept;

// The 16.16 sine and cosine of a rotation by angle radians: the picture is
// turned back by angle, so these are Trunc(sin(-angle) * 65536) and
// Trunc(cos(-angle) * 65536).
struct TFixedTurn {
  int32_t Sin = 0;
  int32_t Cos = 65536;
};
[[nodiscard]] TFixedTurn FixedTurn(double angle) noexcept;

// Draws picture turned about (orgX, orgY) onto screen: for destination pixel
// (x, r), row r counted from the top, u = x + 1 - orgX and v = H - r - orgY;
// the source column is orgX + ((u * cos - v * sin) >> 16) and the source row,
// counted from the bottom, orgY + ((u * sin + v * cos) >> 16), in wrapping
// 32-bit arithmetic. Destination pixels whose source lies outside the picture
// keep the old image.
void RotateInto(gfx::TPixmap& screen, const gfx::TPixmap& picture, int32_t orgX, TFixedTurn turn, int32_t orgY,
                const gfx::TPixmap* under = nullptr) noexcept;

// Where the processor has 256-bit vector units, the dissolve and the pivot
// run kernels written for them, with the same results as the
// portable loops. Tests switch them off (false) to check the portable loops
// on such processors as well; the setting is process-wide.
void UseWideKernels(bool enabled) noexcept;

} // namespace effects::pixel
