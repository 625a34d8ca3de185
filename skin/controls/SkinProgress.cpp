#include "skin/controls/SkinProgress.h"

#include "gfx/win32/GdiInterop.h"
#include "skin/BitmapUtils.h"
#include "skin/SkinData.h"
#include "skin/controls/ControlLooks.h"
#include "skin/win32/SkinDataWin32.h"

#include <commctrl.h>

namespace skin {

namespace {

bool HasProgressImage(const TSkinData& data) { return data.Progress && !data.Progress->Image.Empty(); }

} // namespace

bool TSkinProgress::BeforeMessage(framework::TMessage& message)
{
  switch (message.Msg) {
  case WM_PAINT:
    if (!HasProgressImage(Data()))
      return true;
    PaintHandler(message);
    return false;
  case WM_ERASEBKGND:
    message.Result = 1;
    return false;
  default:
    return TSkinControl::BeforeMessage(message);
  }
}

void TSkinProgress::DrawSkin(HDC dc, const gfx::TRect& rect)
{
  if (!HasProgressImage(Data()) || rect.IsEmpty())
    return;
  const auto position = int32_t(SendMessageW(Window(), PBM_GETPOS, 0, 0));
  const auto high = int32_t(SendMessageW(Window(), PBM_GETRANGE, FALSE, 0));
  const auto low = int32_t(SendMessageW(Window(), PBM_GETRANGE, TRUE, 0));
  const bool vertical = HasStyle(PBS_VERTICAL);
  const gfx::TPoint size = vertical ? gfx::TPoint{rect.Height(), rect.Width()} : gfx::TPoint{rect.Width(), rect.Height()};
  lying_.SetSize(size.X, size.Y);
  if (!lying_.NativeHandle())
    return;
  {
    gfx::win32::TBitmapDC face(lying_.NativeHandle());
    DrawLying(face.Get(), size, position, low, high);
    GdiFlush();
  }
  if (vertical)
    RotateLeft(lying_);
  gfx::win32::TBitmapDC face(lying_.NativeHandle());
  BitBlt(dc, rect.Left, rect.Top, rect.Width(), rect.Height(), face.Get(), 0, 0, SRCCOPY);
}

void TSkinProgress::DrawLying(HDC dc, gfx::TPoint size, int32_t position, int32_t low, int32_t high) const
{
  const TDataSkinBorder& bar = *Data().Progress;
  const gfx::TRect whole(0, 0, size.X, size.Y);
  const bool chunked = bar.Style != 0;
  FillSkinColour(dc, whole);
  // The chunked style stretches its frame's centre and keys magenta out.
  win32::ElementDraw(dc, whole, bar.Image, false, !chunked && bar.Tile == 1, chunked, bar.FrameCount(), 1,
                     bar.Margins());
  const int32_t filled = ProgressFilledWidth(chunked, size.X, position, low, high);
  if (filled <= 0)
    return;
  if (!chunked) {
    win32::ElementDraw(dc, gfx::TRect(0, 0, filled, size.Y), bar.Image, false, bar.Tile == 1, false,
                       bar.FrameCount(), 2, bar.Margins());
    return;
  }
  DrawChunks(dc, size, filled);
}

void TSkinProgress::DrawChunks(HDC dc, gfx::TPoint size, int32_t filled) const
{
  const TDataSkinObject* chunk = Data().ProgressChunk.get();
  if (!chunk || chunk->Image.Empty())
    return;
  const bool transparent = chunk->Trans == 1;
  if (chunk->Tile != 1) {
    win32::ElementDraw(dc, gfx::TRect(2, 2, 2 + filled, size.Y - 2), chunk->Image, false, false, transparent,
                       chunk->FrameCount(), 1, chunk->Margins());
    return;
  }
  // Copies of the chunk side by side, cut at the filled width.
  const int32_t width = chunk->Image.Width();
  const int32_t height = chunk->Image.Height();
  framework::TBitmap strip(filled, height);
  {
    gfx::win32::TBitmapDC target(strip.NativeHandle());
    gfx::win32::TBitmapDC source(chunk->Image.NativeHandle());
    for (int32_t x = 0; x < filled; x += width)
      BitBlt(target.Get(), x, 0, width, height, source.Get(), 0, 0, SRCCOPY);
    GdiFlush();
  }
  const int32_t left = chunk->LeftWidth + 2;
  const int32_t top = (size.Y - height) / 2;
  const gfx::TRect at(left, top, left + filled, top + height);
  if (transparent) {
    win32::TransparentBlit(dc, at, strip, gfx::clFuchsia);
    return;
  }
  gfx::win32::TBitmapDC source(strip.NativeHandle());
  BitBlt(dc, at.Left, at.Top, filled, height, source.Get(), 0, 0, SRCCOPY);
}

} // namespace skin
