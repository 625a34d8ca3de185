#include "skin/BitmapUtils.h"

#include "gfx/GdiConstants.h"
#include "skin/controls/ElementDraw.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace skin {

namespace {

using gfx::TColor;
using gfx::TPixel;

constexpr TPixel kKeyPixel = gfx::ColorToPixel(kKeyColor);

int32_t Channel(TColor c, int shift) { return int32_t((uint32_t(c) >> shift) & 0xFF); }

TColor FromChannels(int32_t r, int32_t g, int32_t b)
{
  auto clamp = [](int32_t v) { return uint8_t(std::clamp(v, 0, 255)); };
  return gfx::RGBColor(clamp(r), clamp(g), clamp(b));
}

const gfx::TDrawContext* SourceOf(const framework::TBitmap& bitmap)
{
  return &const_cast<framework::TBitmap&>(bitmap).Context();
}

struct TRampCache {
  std::array<std::vector<TColor>, kRampSlots> Slots;
  int32_t Next = 0;
};

TRampCache& RampCache()
{
  static TRampCache cache;
  return cache;
}

} // namespace

TColor Blend(TColor c1, TColor c2, int32_t a)
{
  c1 = gfx::ColorToRGB(c1);
  c2 = gfx::ColorToRGB(c2);
  const int32_t base = a < 100 ? 100 : 1000;
  const int32_t share = std::clamp(a, 0, base);
  auto mix = [&](int shift) {
    return (Channel(c2, shift) * (base - share) + Channel(c1, shift) * share + base / 2) / base;
  };
  return FromChannels(mix(0), mix(8), mix(16));
}

int32_t SaturationMeasure(TColor color)
{
  color = gfx::ColorToRGB(color);
  const int32_t r = Channel(color, 0);
  const int32_t g = Channel(color, 8);
  const int32_t b = Channel(color, 16);
  const int32_t hi = std::max({r, g, b});
  const int32_t lo = std::min({r, g, b});
  if (hi <= 159)
    return 200;
  const double s = double(hi - lo) / double(hi);
  // nearbyint rounds halves to even under the default rounding mode.
  return int32_t(std::nearbyint(s * 255.0));
}

int32_t ColorRamp(int32_t n, TColor c1, TColor c2)
{
  TRampCache& cache = RampCache();
  for (int32_t slot = kRampSlots - 1; slot >= 0; --slot) {
    const auto& ramp = cache.Slots[size_t(slot)];
    if (!ramp.empty() && int32_t(ramp.size()) == n && ramp.front() == c1 && ramp.back() == c2)
      return slot;
  }
  const int32_t slot = cache.Next;
  cache.Next = (cache.Next + 1) % kRampSlots;
  auto& ramp = cache.Slots[size_t(slot)];
  ramp.assign(size_t(std::max(n, 0)), 0);
  const int32_t dr = Channel(c2, 0) - Channel(c1, 0);
  const int32_t dg = Channel(c2, 8) - Channel(c1, 8);
  const int32_t db = Channel(c2, 16) - Channel(c1, 16);
  if (n == 1) {
    ramp[0] = FromChannels(Channel(c1, 0) + dr / 2, Channel(c1, 8) + dg / 2, Channel(c1, 16) + db / 2);
  } else if (n >= 2) {
    const int32_t d = n - 1;
    // 64-bit products: a ramp may be as long as a bitmap is wide.
    auto step = [d](int32_t delta, int32_t i) { return int32_t((int64_t{d / 2} + int64_t{i} * delta) / d); };
    for (int32_t i = 0; i < n; ++i)
      ramp[size_t(i)] = FromChannels(Channel(c1, 0) + step(dr, i), Channel(c1, 8) + step(dg, i),
                                     Channel(c1, 16) + step(db, i));
  }
  return slot;
}

const std::vector<TColor>& RampColors(int32_t slot)
{
  return RampCache().Slots.at(size_t(slot));
}

void ClearColorRamps()
{
  TRampCache& cache = RampCache();
  for (auto& ramp : cache.Slots)
    ramp.clear();
  cache.Next = 0;
}

void GradientFill(gfx::TDrawContext& dc, const gfx::TRect& rect, TColor c1, bool vertical, TColor c2)
{
  if (!dc.RectVisible(rect))
    return;
  c1 = gfx::ColorToRGB(c1);
  c2 = gfx::ColorToRGB(c2);
  const int32_t extent = vertical ? rect.Height() : rect.Width();
  if (extent <= 0)
    return;
  // The ramp is copied: filling does not allocate ramps, but copying keeps
  // this call independent of what the cache does later.
  const std::vector<TColor> ramp = RampColors(ColorRamp(extent, c1, c2));
  const gfx::TRect clip = dc.ClipBox();
  if (vertical) {
    const int32_t first = std::max(rect.Top, clip.Top);
    const int32_t last = std::min(rect.Bottom, clip.Bottom);
    for (int32_t y = first; y < last; ++y)
      dc.FillRect({rect.Left, y, rect.Right, y + 1}, gfx::ColorToPixel(ramp[size_t(y - rect.Top)]));
  } else {
    const int32_t first = std::max(rect.Left, clip.Left);
    const int32_t last = std::min(rect.Right, clip.Right);
    for (int32_t x = first; x < last; ++x)
      dc.FillRect({x, rect.Top, x + 1, rect.Bottom}, gfx::ColorToPixel(ramp[size_t(x - rect.Left)]));
  }
}

void ReplaceKeyColor(framework::TBitmap& bitmap, TColor color)
{
  bitmap.SetPixelFormat(framework::pf24bit);
  const TPixel replacement = gfx::ColorToPixel(color & 0xFFFFFF);
  for (int32_t y = 0; y < bitmap.Height(); ++y) {
    TPixel* row = bitmap.ScanLine(y);
    for (int32_t x = 0; x < bitmap.Width(); ++x)
      if ((row[x] & 0xFFFFFF) == kKeyPixel)
        row[x] = replacement;
  }
  bitmap.Changed();
}

void Mirror(framework::TBitmap& bitmap)
{
  for (int32_t y = 0; y < bitmap.Height(); ++y) {
    TPixel* row = bitmap.ScanLine(y);
    std::reverse(row, row + bitmap.Width());
  }
  bitmap.Changed();
}

void Flip(framework::TBitmap& bitmap)
{
  const int32_t w = bitmap.Width();
  for (int32_t top = 0, bottom = bitmap.Height() - 1; top < bottom; ++top, --bottom)
    std::swap_ranges(bitmap.ScanLine(top), bitmap.ScanLine(top) + w, bitmap.ScanLine(bottom));
  bitmap.Changed();
}

namespace {

template <class Map>
void Rotate(framework::TBitmap& bitmap, Map map)
{
  const int32_t W = bitmap.Width();
  const int32_t H = bitmap.Height();
  framework::TBitmap rotated(H, W);
  for (int32_t y = 0; y < H; ++y) {
    const TPixel* row = bitmap.ScanLine(y);
    for (int32_t x = 0; x < W; ++x) {
      const gfx::TPoint to = map(x, y, W, H);
      rotated.ScanLine(to.Y)[to.X] = row[x] & 0xFFFFFF;
    }
  }
  rotated.SetPixelFormat(framework::pf24bit);
  bitmap.Assign(rotated);
}

} // namespace

void RotateLeft(framework::TBitmap& bitmap)
{
  Rotate(bitmap, [](int32_t x, int32_t y, int32_t W, int32_t) { return gfx::TPoint(y, W - 1 - x); });
}

void RotateRight(framework::TBitmap& bitmap)
{
  Rotate(bitmap, [](int32_t x, int32_t y, int32_t, int32_t H) { return gfx::TPoint(H - 1 - y, x); });
}

void DrawStripFrameStretched(gfx::TDrawContext& dc, const gfx::TRect& rect, const framework::TBitmap& strip,
                             bool transparent, int32_t n, int32_t k)
{
  if (rect.Right < rect.Left || rect.Bottom < rect.Top)
    return;
  const gfx::TRect frame = StripFrameRect(strip.Width(), strip.Height(), false, n, k);
  framework::TBitmap stretched(rect.Width(), rect.Height());
  stretched.Context().SetStretchBltMode(COLORONCOLOR);
  if (frame.Width() > 0 && frame.Height() > 0)
    stretched.Context().StretchBlt(0, 0, rect.Width(), rect.Height(), SourceOf(strip), frame.Left, frame.Top,
                                   frame.Width(), frame.Height(), SRCCOPY);
  if (transparent)
    TransparentBlit(dc, rect, stretched, kKeyColor);
  else
    dc.BitBlt(rect.Left, rect.Top, rect.Width(), rect.Height(), &stretched.Context(), 0, 0, SRCCOPY);
}

void DrawStripFrameCentred(gfx::TDrawContext& dc, const gfx::TRect& rect, const framework::TBitmap& strip,
                           bool transparent, int32_t n, int32_t k)
{
  if (rect.Right < rect.Left || rect.Bottom < rect.Top)
    return;
  const gfx::TRect frame = StripFrameRect(strip.Width(), strip.Height(), false, n, k);
  if (frame.Width() <= 0 || frame.Height() <= 0)
    return;
  framework::TBitmap single(frame.Width(), frame.Height());
  single.Context().BitBlt(0, 0, frame.Width(), frame.Height(), SourceOf(strip), frame.Left, frame.Top,
                          SRCCOPY);
  const gfx::TRect to = gfx::TRect::Bounds(rect.Left + (rect.Width() - frame.Width()) / 2,
                                           rect.Top + (rect.Height() - frame.Height()) / 2, frame.Width(),
                                           frame.Height());
  if (transparent)
    TransparentBlit(dc, to, single, kKeyColor);
  else
    dc.BitBlt(to.Left, to.Top, to.Width(), to.Height(), &single.Context(), 0, 0, SRCCOPY);
}

gfx::TRegion RegionFromBitmap(const framework::TBitmap& bitmap, int32_t xOffset, int32_t yOffset, TColor keyColor)
{
  keyColor = gfx::ColorToRGB(keyColor);
  const int32_t lowR = Channel(keyColor, 0), lowG = Channel(keyColor, 8), lowB = Channel(keyColor, 16);
  const int32_t highR = std::min(lowR + 1, 255), highG = std::min(lowG + 1, 255), highB = std::min(lowB + 1, 255);
  auto transparent = [&](TPixel p) {
    const int32_t r = int32_t((p >> 16) & 0xFF), g = int32_t((p >> 8) & 0xFF), b = int32_t(p & 0xFF);
    return r >= lowR && r <= highR && g >= lowG && g <= highG && b >= lowB && b <= highB;
  };

  gfx::TRegion result;
  std::vector<gfx::TRect> block;
  auto flush = [&] {
    if (block.empty())
      return;
    result = gfx::TRegion::Combine(result, gfx::TRegion::FromRects(block), RGN_OR);
    block.clear();
  };
  const int32_t w = bitmap.Width();
  for (int32_t y = 0; y < bitmap.Height(); ++y) {
    const TPixel* row = bitmap.ScanLine(y);
    int32_t x = 0;
    while (x < w) {
      while (x < w && transparent(row[x]))
        ++x;
      const int32_t start = x;
      while (x < w && !transparent(row[x]))
        ++x;
      if (x > start) {
        if (block.capacity() == block.size())
          block.reserve(block.size() + 500);
        block.push_back(gfx::TRect(start + xOffset, y + yOffset, x + xOffset, y + 1 + yOffset));
        if (block.size() == kRegionBlockRects)
          flush();
      }
    }
  }
  flush();
  return result;
}

void CopyBitmap(const framework::TBitmap& source, framework::TBitmap& target)
{
  target.Assign(source);
}

} // namespace skin
