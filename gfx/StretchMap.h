#pragma once
#include <cstdint>
#include <vector>

namespace gfx {

// One axis of a colour-on-colour stretch. A negative extent means the
// rectangle runs from its origin toward smaller coordinates and holds the
// origin itself: x = 10 with width -5 covers pixels 6 to 10.
struct TStretchAxis {
  int64_t DstStart = 0; // first destination pixel (device), before clipping
  int64_t DstSize = 0;  // number of destination pixels (> 0)
  int64_t SrcStart = 0; // first source pixel (device)
  int64_t SrcSize = 0;  // number of source pixels (> 0)
  bool DstMirrored = false; // the destination extent was negative
  bool SrcMirrored = false; // the source extent was negative
  bool Vertical = false;    // rows and columns pick their pixel differently
};

// The axis of a transfer from the destination origin d with extent dSize
// (device coordinates) and the source origin s with extent sSize; neither
// extent may be 0.
[[nodiscard]] TStretchAxis MakeStretchAxis(int64_t d, int64_t dSize, int64_t s, int64_t sSize,
                                           bool vertical) noexcept;

// The source device coordinate that feeds destination device coordinate p,
// or -1 when that pixel has no source inside [0, limit) and is left alone.
// This is the reference rule, one pixel at a time.
[[nodiscard]] int32_t StretchSourceIndex(const TStretchAxis& axis, int64_t p, int32_t limit) noexcept;

// StretchSourceIndex for every p in [from, to), into table (resized to
// to - from): the same answers, worked out by stepping instead of dividing
// for every pixel.
void StretchSourceTable(const TStretchAxis& axis, int32_t from, int32_t to, int32_t limit,
                        std::vector<int32_t>& table);

} // namespace gfx
