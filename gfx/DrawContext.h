#pragma once
#include "gfx/Color.h"
#include "gfx/GdiConstants.h"
#include "gfx/Geometry.h"
#include "gfx/PixelRows.h"
#include "gfx/Pixmap.h"
#include "gfx/Region.h"
#include "gfx/StretchPlan.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace gfx {

// Pen styles of the drawing context. psInsideFrame draws a figure's outline
// wholly inside the figure's rectangle, whatever the width.
enum TGdiPenStyle : uint8_t { gpsSolid, gpsInsideFrame, gpsNull };

struct TGdiPen {
  TPixel Color = 0;
  int32_t Width = 1;
  TGdiPenStyle Style = gpsSolid;
};

// A solid brush of a colour, or no brush (figures keep their interior).
struct TGdiBrush {
  TPixel Color = 0xFFFFFF;
  bool Null = false;
};

// A drawing context on one TPixmap: what a canvas handle stands for. It holds
// the state the platform's device context holds for our drawing - the clip
// region, the viewport origin, the stretch mode, the selected pen and brush,
// the text and background colours used by monochrome transfers - with a
// stack for SaveDC/RestoreDC.
//
// Logical coordinates are device coordinates minus the viewport origin: a
// call drawing at (x, y) touches device pixel (x + origin.X, y + origin.Y).
// The clip region is kept in device coordinates, as the platform keeps it;
// the rectangles handed to ExcludeClipRect and IntersectClipRect are logical.
//
// Blits clip once against the destination bitmap, the clip region and the
// source bitmap, then run plain loops over scan lines. A context is not
// thread-safe: the canvas that owns it serialises access with its lock.
class TDrawContext {
public:
  TDrawContext() = default;
  explicit TDrawContext(TPixmap& target) noexcept : target_(&target) {}
  TDrawContext(const TDrawContext&) = delete;
  TDrawContext& operator=(const TDrawContext&) = delete;

  // The pixels drawn on; nullptr for a context that draws nowhere (every
  // drawing call then does nothing). Binding keeps the clip and all state.
  [[nodiscard]] TPixmap* Target() const noexcept { return target_; }
  void Bind(TPixmap* target) noexcept { target_ = target; }

  // ----- Clipping -----
  // SelectClipRgn: a copy of region (in device coordinates) becomes the clip
  // region; nullptr removes clipping. Answers the kind of the new clip region
  // (NULLREGION, SIMPLEREGION or COMPLEXREGION).
  int SelectClipRgn(const TRegion* region);
  // ExcludeClipRect / IntersectClipRect with a logical rectangle whose
  // corners may come in any order (the platform orders them). Answer the
  // kind of the new clip region.
  int ExcludeClipRect(int32_t left, int32_t top, int32_t right, int32_t bottom);
  int IntersectClipRect(int32_t left, int32_t top, int32_t right, int32_t bottom);
  // OffsetClipRgn: moves the clip region (no effect without one).
  int OffsetClipRgn(int32_t dx, int32_t dy);
  // The clip region in device coordinates, or none.
  [[nodiscard]] const std::optional<TRegion>& ClipRegion() const noexcept { return clip_; }
  // GetClipBox: the bounding box of the clip region cut to the bitmap (the
  // bitmap without one), in logical coordinates. Answers NULLREGION when
  // that is empty, else the clip region's kind.
  int GetClipBox(TRect& box) const;
  [[nodiscard]] TRect ClipBox() const;
  // RectVisible: does the logical rectangle (corners in any order) touch the
  // clip region, or the bitmap when there is none? As on the platform, the
  // clip region is not cut to the bitmap for this test.
  [[nodiscard]] bool RectVisible(const TRect& rect) const;
  [[nodiscard]] bool PtVisible(int32_t x, int32_t y) const;

  // ----- Viewport origin -----
  [[nodiscard]] TPoint ViewportOrg() const noexcept { return origin_; }
  // SetViewportOrgEx / OffsetViewportOrgEx; the previous origin is returned.
  TPoint SetViewportOrg(int32_t x, int32_t y) noexcept;
  TPoint OffsetViewportOrg(int32_t dx, int32_t dy) noexcept;

  // ----- Modes and selected objects -----
  // SetStretchBltMode: answers the previous mode; 0 (and no change) for an
  // unknown mode. Every mode is accepted and remembered; the stretch itself
  // always picks one source pixel per destination pixel (colour on colour),
  // which is the same as the platform's result for every enlargement and for
  // all 32-bit work done here.
  int SetStretchBltMode(int mode) noexcept;
  [[nodiscard]] int StretchBltMode() const noexcept { return stretchMode_; }
  void SelectPen(const TGdiPen& pen) noexcept { pen_ = pen; }
  void SelectBrush(const TGdiBrush& brush) noexcept { brush_ = brush; }
  [[nodiscard]] const TGdiPen& Pen() const noexcept { return pen_; }
  [[nodiscard]] const TGdiBrush& Brush() const noexcept { return brush_; }
  // Text and background colours (RGB TColor), used when a transfer converts
  // between monochrome and colour, and by the platform's text drawing.
  TColor SetTextColor(TColor color) noexcept;
  TColor SetBkColor(TColor color) noexcept;
  [[nodiscard]] TColor TextColor() const noexcept { return textColor_; }
  [[nodiscard]] TColor BkColor() const noexcept { return bkColor_; }

  // ----- Save and restore -----
  // SaveDC: pushes the state, answers the new depth (1 for the first save).
  int SaveDC();
  // RestoreDC: a positive level restores the state saved at that depth, a
  // negative one that many levels back. Answers false (and changes nothing)
  // for a level that does not exist.
  bool RestoreDC(int level);
  [[nodiscard]] int SaveDepth() const noexcept { return int(saved_.size()); }

  // ----- Transfers -----
  // BitBlt. rop is SRCCOPY, SRCPAINT, SRCAND, SRCINVERT, NOTSRCCOPY,
  // DSTINVERT, BLACKNESS or WHITENESS; other values throw
  // std::invalid_argument. source may be this context (overlapping copies
  // read the whole source first) and may be nullptr for the operations that
  // need none. Negative widths or heights draw nothing.
  bool BitBlt(int32_t x, int32_t y, int32_t width, int32_t height, const TDrawContext* source, int32_t sx,
              int32_t sy, uint32_t rop);
  // StretchBlt: maps the source rectangle onto the destination rectangle,
  // one source pixel per destination pixel. A negative width or height on
  // either side mirrors along that axis. Parts of either rectangle outside
  // their bitmaps are clipped: a destination pixel whose source pixel lies
  // outside the source bitmap is left as it was. Self-stretches behave as if
  // the whole source had been read before anything was written.
  bool StretchBlt(int32_t x, int32_t y, int32_t width, int32_t height, const TDrawContext* source, int32_t sx,
                  int32_t sy, int32_t swidth, int32_t sheight, uint32_t rop);
  // MaskBlt with the ROP4 MakeROP4(0x00AA0029, SRCCOPY): the destination
  // keeps its pixel where the mask pixel is white (non-zero) and takes the
  // source pixel where it is black. The mask is read at the same offsets as
  // the source.
  bool MaskBltKeep(int32_t x, int32_t y, int32_t width, int32_t height, const TDrawContext& source, int32_t sx,
                   int32_t sy, const TPixmap& mask);
  // Copies source to the rectangle leaving the destination unchanged where
  // the source pixel has the key colour (RGB; the unused byte is ignored).
  bool TransparentBlt(int32_t x, int32_t y, int32_t width, int32_t height, const TDrawContext& source,
                      int32_t sx, int32_t sy, TColor key);

  // ----- Fills and figures (colours are pixels, 0x00RRGGBB) -----
  // FillRect with a solid colour; the rectangle is logical, right and bottom
  // exclusive; inverted rectangles draw nothing.
  void FillRect(const TRect& rect, TPixel color);
  // FrameRect: a one-pixel border just inside the rectangle.
  void FrameRect(const TRect& rect, TPixel color);
  // InvertRect: every pixel's colour bits inverted.
  void InvertRect(const TRect& rect);
  // FillRgn / PaintRgn with a colour; the region is logical.
  void FillRgn(const TRegion& region, TPixel color);
  // Rectangle with the selected pen and brush. The outline covers the
  // rectangle's outermost pixels (right and bottom exclusive); with a pen of
  // width w in the inside-frame style, a band w wide inside the rectangle.
  // With the null pen the interior shrinks by one pixel on the right and
  // bottom, as on the platform. A null brush leaves the interior alone.
  void Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom);
  // RoundRect with the selected pen and brush: the rounded rectangle region's
  // pixels filled with the brush, its border band (pen width) with the pen.
  void RoundRect(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t ellipseWidth,
                 int32_t ellipseHeight);
  // Ellipse with the selected pen and brush.
  void Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom);
  // Polygon: interior by the region rule with the fill mode, outline drawn
  // as one-pixel lines with the pen colour (null pen: no outline).
  void Polygon(std::span<const TPoint> points, int fillMode = ALTERNATE);
  // A one-pixel line from a to b, the end point left out (LineTo).
  void Line(TPoint a, TPoint b, TPixel color);
  void SetPixel(int32_t x, int32_t y, TPixel color);
  // The pixel at a logical point; std::nullopt outside the bitmap.
  [[nodiscard]] std::optional<TPixel> GetPixel(int32_t x, int32_t y) const;

private:
  struct TState {
    std::optional<TRegion> Clip;
    TPoint Origin;
    int StretchMode;
    TGdiPen Pen;
    TGdiBrush Brush;
    TColor TextColor;
    TColor BkColor;
  };

  // The drawable area clipped to rect (device coordinates): a list of spans
  // of the clip region (or rect itself) inside the bitmap.
  template <typename F> void ForEachVisible(const TRect& deviceRect, F&& f) const;
  // The same area row by row within each band of the clip region:
  // f(row, spans, count, left, right) with the band's spans that reach into
  // the rectangle, each to be cut to [left, right). Rows of one band get the
  // same spans pointer. By default the rows come from the bottom up, which
  // walks the bottom-up pixel memory forward - noticeably faster for large
  // copies than walking it backward; topDown reverses that for transfers
  // whose overlap needs it.
  template <typename F> void ForEachRow(const TRect& deviceRect, F&& f, bool topDown = false) const;
  // A stretch pixel by pixel through the prepared plan, for raster
  // operations other than a copy and for tables with a gap.
  void StretchChecked(const TRect& area, const TPixmap& source, uint32_t rop);
  [[nodiscard]] TRect DeviceBounds() const noexcept;

  TPixmap* target_ = nullptr;
  std::optional<TRegion> clip_;
  TPoint origin_;
  int stretchMode_ = BLACKONWHITE;
  TGdiPen pen_;
  TGdiBrush brush_;
  TColor textColor_ = clBlack;
  TColor bkColor_ = clWhite;
  std::vector<TState> saved_;
  // Reused between overlapping self-copies so that a hot transfer does not
  // allocate on every call.
  std::vector<TPixel> scratch_;
  // The stretch being drawn; its tables and buffers are kept for the next.
  TStretchPlan stretchPlan_;
};

// Saves a context's state on construction and restores it on destruction,
// also when an exception passes.
class TDrawContextSaver {
public:
  explicit TDrawContextSaver(TDrawContext& dc) : dc_(dc), level_(dc.SaveDC()) {}
  ~TDrawContextSaver() { dc_.RestoreDC(level_); }
  TDrawContextSaver(const TDrawContextSaver&) = delete;
  TDrawContextSaver& operator=(const TDrawContextSaver&) = delete;

private:
  TDrawContext& dc_;
  int level_;
};

// The platform-style calls on a canvas handle, so drawing code reads like
// the platform's. A null handle does nothing and answers failure.
using TDCHandle = TDrawContext*;

bool BitBlt(TDCHandle dst, int32_t x, int32_t y, int32_t width, int32_t height, TDCHandle src, int32_t sx,
            int32_t sy, uint32_t rop);
bool StretchBlt(TDCHandle dst, int32_t x, int32_t y, int32_t width, int32_t height, TDCHandle src, int32_t sx,
                int32_t sy, int32_t swidth, int32_t sheight, uint32_t rop);
int SetStretchBltMode(TDCHandle dc, int mode);
// Region handles are plain pointers to regions that the caller owns; nullptr
// removes the clip region.
int SelectClipRgn(TDCHandle dc, const TRegion* region);
int ExcludeClipRect(TDCHandle dc, int32_t left, int32_t top, int32_t right, int32_t bottom);
int IntersectClipRect(TDCHandle dc, int32_t left, int32_t top, int32_t right, int32_t bottom);
bool RectVisible(TDCHandle dc, const TRect& rect);
int GetClipBox(TDCHandle dc, TRect& box);
int SaveDC(TDCHandle dc);
bool RestoreDC(TDCHandle dc, int level);
bool SetViewportOrgEx(TDCHandle dc, int32_t x, int32_t y, TPoint* previous);
bool OffsetViewportOrgEx(TDCHandle dc, int32_t dx, int32_t dy, TPoint* previous);
// FillRect with a colour (TColor, system colours resolved).
void FillRect(TDCHandle dc, const TRect& rect, TColor color);

} // namespace gfx
