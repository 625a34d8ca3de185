#pragma once
#include "gfx/Color.h"
#include "gfx/DrawContext.h"
#include "gfx/Geometry.h"
#include "framework/RecursiveMutex.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <thread>

namespace framework {

class TBitmap;

// The dashed styles are accepted and drawn as solid lines: nothing in the
// program draws dashes on its own bitmaps.
enum TPenStyle : uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
// Pens draw their colour over the destination.
enum TPenMode : uint8_t { pmCopy };
enum TBrushStyle : uint8_t { bsSolid, bsClear };
enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
// How CopyRect combines source and destination: the raster operation.
enum TCopyMode : uint32_t {
  cmSrcCopy = 0x00CC0020,
  cmSrcPaint = 0x00EE0086,
  cmSrcAnd = 0x008800C6,
  cmSrcInvert = 0x00660046,
  cmNotSrcCopy = 0x00330008,
  cmDstInvert = 0x00550009,
  cmBlackness = 0x00000042,
  cmWhiteness = 0x00FF0062,
};

// The canvas's drawing tools are plain values: setting a field takes effect
// with the next drawing call. Colours are TColor (system colours allowed).
struct TPen {
  gfx::TColor Color = gfx::clBlack;
  int32_t Width = 1;
  TPenStyle Style = psSolid;
  TPenMode Mode = pmCopy;
};

struct TBrush {
  gfx::TColor Color = gfx::clWhite;
  TBrushStyle Style = bsSolid;
};

// The font the platform's text drawing uses. Height in pixels when negative
// (character height) or positive (cell height), as the platform takes it;
// Size in points is kept for callers that set it.
struct TFont {
  std::wstring Name = L"Tahoma";
  int32_t Height = -11;
  int32_t Size = 8;
  gfx::TColor Color = gfx::clWindowText;
  uint8_t Style = 0; // TFontStyle bits
  uint8_t Charset = 1; // the platform's DEFAULT_CHARSET
};

// A canvas: drawing tools and drawing operations over a drawing context. A
// bitmap's canvas draws on the bitmap; a canvas may also be pointed at
// another context (SetHandle) or at none, and then draws nothing.
//
// Lock/Unlock serialise threads: the transition's timer thread and the GUI
// thread draw on the same bitmaps. The lock is re-entrant on the thread that
// holds it.
class TCanvas {
public:
  TCanvas() = default;
  explicit TCanvas(gfx::TDrawContext* handle) noexcept : handle_(handle) {}
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  // The drawing context (nullptr when the canvas has none).
  [[nodiscard]] gfx::TDrawContext* Handle() const noexcept { return handle_; }
  void SetHandle(gfx::TDrawContext* handle) noexcept { handle_ = handle; }
  // The bitmap this canvas belongs to, if any.
  [[nodiscard]] TBitmap* Bitmap() const noexcept { return bitmap_; }

  TPen Pen;
  TBrush Brush;
  TFont Font;
  TCopyMode CopyMode = cmSrcCopy;

  // ----- Locking -----
  void Lock();
  void Unlock();
  [[nodiscard]] bool TryLock();
  // How many times the current holder has locked (0 when unlocked).
  [[nodiscard]] int32_t LockCount() const noexcept { return lockCount_.load(); }

  // ----- Transfers -----
  // Draws the whole bitmap with its top-left corner at (x, y).
  void Draw(int32_t x, int32_t y, const TBitmap& bitmap);
  // Stretches the whole bitmap onto rect (colour on colour).
  void StretchDraw(const gfx::TRect& rect, const TBitmap& bitmap);
  // Stretches source rectangle of canvas onto dest with CopyMode; inverted
  // rectangles mirror, as StretchBlt's negative extents do.
  void CopyRect(const gfx::TRect& dest, const TCanvas& canvas, const gfx::TRect& source);

  // ----- Figures with Pen and Brush -----
  void FillRect(const gfx::TRect& rect);             // Brush (bsClear: nothing)
  void FrameRect(const gfx::TRect& rect);            // one pixel, Brush colour
  void Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom);
  void Rectangle(const gfx::TRect& rect) { Rectangle(rect.Left, rect.Top, rect.Right, rect.Bottom); }
  void RoundRect(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t ellipseWidth,
                 int32_t ellipseHeight);
  void Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom);
  void Polygon(std::span<const gfx::TPoint> points);
  void MoveTo(int32_t x, int32_t y) noexcept { penPos_ = {x, y}; }
  void LineTo(int32_t x, int32_t y);
  [[nodiscard]] gfx::TPoint PenPos() const noexcept { return penPos_; }
  // Pixels[x, y]; reading outside the bitmap answers clNone.
  [[nodiscard]] gfx::TColor Pixel(int32_t x, int32_t y) const;
  void SetPixel(int32_t x, int32_t y, gfx::TColor color);
  // The drawable area in logical coordinates (GetClipBox).
  [[nodiscard]] gfx::TRect ClipRect() const;

  // Raised before and after each drawing operation (not after Lock, Unlock or
  // changes of the tools).
  std::function<void()> OnChanging;
  std::function<void()> OnChange;

private:
  friend class TBitmap;
  void Changing() const;
  void Changed() const;
  // Selects Pen and Brush into the context.
  void RealizeTools() const;

  gfx::TDrawContext* handle_ = nullptr;
  TBitmap* bitmap_ = nullptr;
  gfx::TPoint penPos_;
  TRecursiveMutex mutex_;
  std::atomic<int32_t> lockCount_{0};
};

// Holds a canvas's lock for a scope, also when an exception passes.
class TCanvasLock {
public:
  explicit TCanvasLock(TCanvas& canvas) : canvas_(canvas) { canvas_.Lock(); }
  ~TCanvasLock() { canvas_.Unlock(); }
  TCanvasLock(const TCanvasLock&) = delete;
  TCanvasLock& operator=(const TCanvasLock&) = delete;

private:
  TCanvas& canvas_;
};

} // namespace framework
