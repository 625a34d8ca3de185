#include "skin/controls/ElementDraw.h"

#include "gfx/GdiConstants.h"

#include <algorithm>

namespace skin {

namespace {

// Transfers only read from a source context; the bitmap hands its context out
// non-const because drawing on it changes it.
const gfx::TDrawContext* SourceOf(const framework::TBitmap& bitmap)
{
  return &const_cast<framework::TBitmap&>(bitmap).Context();
}

// One part of the nine: source rectangle (in the strip) onto destination
// rectangle (in the element image). Parts without area in either rectangle
// are skipped; a negative extent would mirror the part, which no skin means.
void DrawPart(gfx::TDrawContext& dst, const framework::TBitmap& image, const gfx::TRect& to, const gfx::TRect& from)
{
  if (to.Width() <= 0 || to.Height() <= 0 || from.Width() <= 0 || from.Height() <= 0)
    return;
  dst.StretchBlt(to.Left, to.Top, to.Width(), to.Height(), SourceOf(image), from.Left, from.Top, from.Width(),
                 from.Height(), SRCCOPY);
}

// The centre repeated at its own size from the top-left of the target centre,
// left to right, then top to bottom, cut off at the target centre's edges.
void TileCentre(gfx::TDrawContext& dst, const framework::TBitmap& image, const gfx::TRect& to,
                const gfx::TRect& from)
{
  if (to.Width() <= 0 || to.Height() <= 0 || from.Width() <= 0 || from.Height() <= 0)
    return;
  framework::TBitmap tile(from.Width(), from.Height());
  tile.Context().BitBlt(0, 0, from.Width(), from.Height(), SourceOf(image), from.Left, from.Top, SRCCOPY);
  for (int32_t y = to.Top; y < to.Bottom; y += from.Height()) {
    const int32_t h = std::min(from.Height(), to.Bottom - y);
    for (int32_t x = to.Left; x < to.Right; x += from.Width()) {
      const int32_t w = std::min(from.Width(), to.Right - x);
      dst.BitBlt(x, y, w, h, &tile.Context(), 0, 0, SRCCOPY);
    }
  }
}

} // namespace

gfx::TRect StripFrameRect(int32_t imageWidth, int32_t imageHeight, bool stacked, int32_t n, int32_t k)
{
  const int32_t count = std::max(n, 1);
  if (stacked) {
    const int32_t h = imageHeight / count;
    return gfx::TRect::Bounds(0, (k - 1) * h, imageWidth, h);
  }
  const int32_t w = imageWidth / count;
  return gfx::TRect::Bounds((k - 1) * w, 0, w, imageHeight);
}

std::unique_ptr<framework::TBitmap> ElementImage(int32_t width, int32_t height, const framework::TBitmap& image,
                                                 const TElementMargins& margins, bool stacked, bool tile, int32_t n,
                                                 int32_t k)
{
  auto result = std::make_unique<framework::TBitmap>(std::max(width, 0), std::max(height, 0));
  const int32_t W = result->Width();
  const int32_t H = result->Height();
  const gfx::TRect f = StripFrameRect(image.Width(), image.Height(), stacked, n, k);

  // Margins that do not fit are dropped for this image only.
  int32_t L = margins.LeftWidth;
  int32_t R = margins.RightWidth;
  int32_t T = margins.TopHeight;
  int32_t B = margins.BottomHeight;
  if (int64_t{W} < int64_t{L} + R)
    L = R = 0;
  if (int64_t{H} < int64_t{T} + B)
    T = B = 0;

  gfx::TDrawContext& dc = result->Context();
  dc.SetStretchBltMode(COLORONCOLOR);
  const int32_t fw = f.Width();
  const int32_t fh = f.Height();
  const int32_t fx = f.Left;
  const int32_t fy = f.Top;
  using gfx::TRect;

  if (int64_t{L} * T > 0)
    DrawPart(dc, image, TRect::Bounds(0, 0, L, T), TRect::Bounds(fx, fy, L, T));
  if (int64_t{L} * B > 0)
    DrawPart(dc, image, TRect::Bounds(0, H - B, L, B), TRect::Bounds(fx, fy + fh - B, L, B));
  if (int64_t{R} * T > 0)
    DrawPart(dc, image, TRect::Bounds(W - R, 0, R, T), TRect::Bounds(fx + fw - R, fy, R, T));
  if (L > 0)
    DrawPart(dc, image, TRect::Bounds(0, T, L, H - T - B), TRect::Bounds(fx, fy + T, L, fh - T - B));
  if (T > 0)
    DrawPart(dc, image, TRect::Bounds(L, 0, W - L - R, T), TRect::Bounds(fx + L, fy, fw - L - R, T));

  const TRect centreTo = TRect::Bounds(L, T, W - L - R, H - T - B);
  const TRect centreFrom = TRect::Bounds(fx + L, fy + T, fw - L - R, fh - T - B);
  if (tile)
    TileCentre(dc, image, centreTo, centreFrom);
  else
    DrawPart(dc, image, centreTo, centreFrom);

  if (int64_t{R} * B > 0)
    DrawPart(dc, image, TRect::Bounds(W - R, H - B, R, B), TRect::Bounds(fx + fw - R, fy + fh - B, R, B));
  if (R > 0)
    DrawPart(dc, image, TRect::Bounds(W - R, T, R, H - T - B), TRect::Bounds(fx + fw - R, fy + T, R, fh - T - B));
  if (B > 0)
    DrawPart(dc, image, TRect::Bounds(L, H - B, W - L - R, B), TRect::Bounds(fx + L, fy + fh - B, fw - L - R, B));
  return result;
}

void ElementDraw(gfx::TDrawContext& dc, const gfx::TRect& rect, const framework::TBitmap& image, bool stacked,
                 bool tile, bool transparent, int32_t n, int32_t k, const TElementMargins& margins)
{
  if (rect.Right < rect.Left || rect.Bottom < rect.Top)
    return;
  const auto composed = ElementImage(rect.Width(), rect.Height(), image, margins, stacked, tile, n, k);
  if (transparent)
    TransparentBlit(dc, rect, *composed, 0xFF00FF);
  else
    dc.BitBlt(rect.Left, rect.Top, rect.Width(), rect.Height(), &composed->Context(), 0, 0, SRCCOPY);
}

void TransparentBlit(gfx::TDrawContext& dc, const gfx::TRect& rect, const framework::TBitmap& bitmap,
                     gfx::TColor keyColor)
{
  if (rect.Width() <= 0 || rect.Height() <= 0)
    return;
  dc.TransparentBlt(rect.Left, rect.Top, rect.Width(), rect.Height(), *SourceOf(bitmap), 0, 0,
                    gfx::ColorToRGB(keyColor));
}

} // namespace skin
