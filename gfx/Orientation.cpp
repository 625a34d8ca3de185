#include "gfx/Orientation.h"

#include "gfx/PixelRows.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <stdexcept>

namespace gfx {
namespace {

// Every orientation is one walk over the source: output pixel (x, y) reads
// source column sx and row sy, where without a swap sx follows x and sy
// follows y, and with a swap sx follows y and sy follows x; a mirror runs
// the followed coordinate from the far end.
struct TWalk {
  bool Swap;
  bool MirrorX; // of the source column
  bool MirrorY; // of the source row
};

constexpr TWalk kWalks[9] = {
  {false, false, false}, // unused: values start at 1
  {false, false, false}, // 1 as stored
  {false, true, false},  // 2 mirrored left to right
  {false, true, true},   // 3 half a turn
  {false, false, true},  // 4 mirrored top to bottom
  {true, false, false},  // 5 transpose
  {true, false, true},   // 6 quarter turn clockwise
  {true, true, true},    // 7 transverse
  {true, true, false},   // 8 quarter turn counter-clockwise
};

// Output rows filled together by a quarter turn or a transpose: a cache line
// of source pixels each.
constexpr int32_t kBand = 16;

} // namespace

TOrientation OrientationFromTag(int value) noexcept
{
  return value >= 1 && value <= 8 ? TOrientation(value) : TOrientation::Normal;
}

bool SwapsSides(TOrientation orientation) noexcept
{
  return kWalks[size_t(OrientationFromTag(int(orientation)))].Swap;
}

void OrientInto(const TPixmap& src, TOrientation orientation, TPixmap& dst)
{
  const TWalk walk = kWalks[size_t(OrientationFromTag(int(orientation)))];
  const int32_t w = src.Width(), h = src.Height();
  const int32_t outW = walk.Swap ? h : w, outH = walk.Swap ? w : h;
  if (dst.Width() != outW || dst.Height() != outH)
    throw std::invalid_argument("OrientInto: the destination is not of the oriented size");
  if (src.IsEmpty())
    return;

  if (!walk.Swap) {
    for (int32_t y = 0; y < outH; ++y) {
      TPixel* out = dst.ScanLine(y);
      const TPixel* row = src.ScanLine(walk.MirrorY ? h - 1 - y : y);
      if (walk.MirrorX)
        ReverseRow(out, row + (w - 1), size_t(w));
      else
        std::memcpy(out, row, size_t(w) * sizeof(TPixel));
    }
    return;
  }

  // With a swap, output row y is source column sx. Walking one column at a
  // time would use one pixel of every cache line read; instead a band of
  // output rows is filled together, so that each source row gives a run of
  // neighbouring pixels, one to each row of the band.
  // A mirror across the band is taken by listing its rows bottom first, so the
  // source is always read forward.
  for (int32_t y0 = 0; y0 < outH; y0 += kBand) {
    const int32_t rows = std::min(kBand, outH - y0);
    TPixel* out[kBand] = {};
    for (int32_t k = 0; k < rows; ++k)
      out[k] = dst.ScanLine(walk.MirrorX ? y0 + rows - 1 - k : y0 + k);
    const int32_t first = walk.MirrorX ? w - y0 - rows : y0;
    for (int32_t x = 0; x < outW; ++x) {
      const TPixel* in = src.ScanLine(walk.MirrorY ? h - 1 - x : x) + first;
      for (int32_t k = 0; k < rows; ++k)
        out[k][x] = in[k];
    }
  }
}

TPixmap Orient(const TPixmap& src, TOrientation orientation)
{
  const bool swap = SwapsSides(orientation);
  TPixmap out(swap ? src.Height() : src.Width(), swap ? src.Width() : src.Height());
  OrientInto(src, orientation, out);
  return out;
}

} // namespace gfx
