#include "gfx/Orientation.h"

#include "gfx/PixelRows.h"

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

// out[i] = in[i * step] for i < n.
void StepRow(TPixel* out, const TPixel* in, ptrdiff_t step, size_t n) noexcept
{
  for (size_t i = 0; i < n; ++i, in += step)
    out[i] = *in;
}

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

  // Pixels between one source row and the next, whatever order the rows are
  // stored in.
  const ptrdiff_t down = h > 1 ? src.ScanLine(1) - src.ScanLine(0) : 0;
  const size_t n = size_t(outW);
  for (int32_t y = 0; y < outH; ++y) {
    TPixel* out = dst.ScanLine(y);
    if (!walk.Swap) {
      const TPixel* row = src.ScanLine(walk.MirrorY ? h - 1 - y : y);
      if (walk.MirrorX)
        ReverseRow(out, row + (w - 1), n);
      else
        std::memcpy(out, row, n * sizeof(TPixel));
    } else {
      // Output row y is source column sx, read down or up.
      const int32_t sx = walk.MirrorX ? w - 1 - y : y;
      const int32_t firstRow = walk.MirrorY ? h - 1 : 0;
      StepRow(out, src.ScanLine(firstRow) + sx, walk.MirrorY ? -down : down, n);
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
