#include "framework/win32/ButtonGlyph.h"

#include "framework/win32/Graphics.h"
#include "framework/win32/Handles.h"
#include "gfx/win32/GdiInterop.h"

#include <algorithm>

namespace framework {

namespace {

// Raster operation DSPDxax: where the source is white the brush is painted,
// where it is black the destination stays.
constexpr DWORD kBrushWhereSourceIsWhite = 0x00E20746;

gfx::TPixel BottomLeft(const TBitmap& bitmap) { return bitmap.ScanLine(bitmap.Height() - 1)[0] & 0xFFFFFFu; }

COLORREF PixelRef(gfx::TPixel p) { return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); }

// White where the glyph draws a dark shape, black everywhere else: the shape
// the embossing paints, once in each colour.
void DrawDarkShapes(const TBitmap& glyph, TBitmap& shapes)
{
  shapes.SetSize(glyph.Width(), glyph.Height());
  const gfx::TPixel key = BottomLeft(glyph);
  for (int32_t y = 0; y < glyph.Height(); ++y) {
    const gfx::TPixel* in = glyph.ScanLine(y);
    gfx::TPixel* out = shapes.ScanLine(y);
    for (int32_t x = 0; x < glyph.Width(); ++x) {
      const gfx::TPixel p = in[x] & 0xFFFFFFu;
      const uint32_t brightness = ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF);
      out[x] = p != key && brightness < 383 ? 0xFFFFFFu : 0;
    }
  }
}

void PaintShapes(HDC dc, HDC shapes, gfx::TPoint at, gfx::TPoint size, gfx::TColor colour)
{
  const TGdiBrush brush(CreateSolidBrush(ColorToCOLORREF(colour)));
  const TSelectObject selected(dc, brush.Get());
  BitBlt(dc, at.X, at.Y, size.X, size.Y, shapes, 0, 0, kBrushWhereSourceIsWhite);
}

// The caption is drawn across the whole width it was measured in, aligned
// as the layout places it: drawn exactly as wide as measured, a line can
// come out a pixel short and break differently.
RECT TextRect(const gfx::TRect& block, int32_t areaWidth, TButtonLayout layout, UINT& format)
{
  const int32_t width = std::max(areaWidth, block.Width());
  switch (layout) {
  case blGlyphLeft:
    format |= DT_LEFT;
    return {block.Left, block.Top, block.Left + width, block.Bottom};
  case blGlyphRight:
    format |= DT_RIGHT;
    return {block.Right - width, block.Top, block.Right, block.Bottom};
  default: {
    format |= DT_CENTER;
    const int32_t left = block.Left - (width - block.Width()) / 2;
    return {left, block.Top, left + width, block.Bottom};
  }
  }
}

// The part of a strip a look shows, copied.
std::unique_ptr<TBitmap> StripPart(const TBitmap& strip, int32_t numGlyphs, int32_t wantedPart)
{
  if (strip.Empty())
    return nullptr;
  const TGlyphPart choice = ChooseGlyphPart(wantedPart, numGlyphs);
  const gfx::TRect part = GlyphPartRect({strip.Width(), strip.Height()}, numGlyphs, choice.Part);
  if (part.IsEmpty())
    return nullptr;
  auto glyph = std::make_unique<TBitmap>(part.Width(), part.Height());
  for (int32_t y = 0; y < part.Height(); ++y) {
    const gfx::TPixel* row = strip.ScanLine(part.Top + y) + part.Left;
    std::copy(row, row + part.Width(), glyph->ScanLine(y));
  }
  return choice.Embossed ? EmbossGlyph(*glyph) : std::move(glyph);
}

} // namespace

std::unique_ptr<TBitmap> GlyphForLook(const TGlyphSource& source, int32_t wantedPart)
{
  if (source.Strip && !source.Strip->Empty())
    return StripPart(*source.Strip, source.NumGlyphs, wantedPart);
  if (!source.Images)
    return nullptr;
  const bool ownDisabled = wantedPart == gpDisabled && source.DisabledIndex != -1;
  const int32_t index = ownDisabled ? source.DisabledIndex : source.ImageIndex;
  if (index < 0 || index >= source.Images->Count())
    return nullptr;
  return StripPart(source.Images->Image(index), 1, ownDisabled ? int32_t(gpUp) : wantedPart);
}

std::unique_ptr<TBitmap> EmbossGlyph(const TBitmap& glyph)
{
  auto embossed = std::make_unique<TBitmap>(glyph.Width(), glyph.Height());
  if (glyph.Empty())
    return embossed;
  const gfx::TPoint size{glyph.Width(), glyph.Height()};
  TBitmap shapes;
  DrawDarkShapes(glyph, shapes);
  {
    gfx::win32::TBitmapDC target(embossed->NativeHandle());
    gfx::win32::TBitmapDC source(shapes.NativeHandle());
    const RECT all{0, 0, size.X, size.Y};
    const TGdiBrush face(CreateSolidBrush(ColorToCOLORREF(gfx::clBtnFace)));
    FillRect(target.Get(), &all, face.Get());
    SetTextColor(target.Get(), RGB(0, 0, 0));
    SetBkColor(target.Get(), RGB(255, 255, 255));
    PaintShapes(target.Get(), source.Get(), {1, 1}, size, gfx::clBtnHighlight);
    PaintShapes(target.Get(), source.Get(), {0, 0}, size, gfx::clBtnShadow);
    GdiFlush();
  }
  return embossed;
}

void DrawButtonGlyph(HDC dc, gfx::TPoint at, const TBitmap& glyph)
{
  if (glyph.Empty())
    return;
  gfx::win32::TBitmapDC source(glyph.NativeHandle());
  TransparentBlt(dc, at.X, at.Y, glyph.Width(), glyph.Height(), source.Get(), 0, 0, glyph.Width(), glyph.Height(),
                 PixelRef(BottomLeft(glyph)));
}

TGlyphButtonGeometry GeometryOf(const TGlyphCaption& content)
{
  TGlyphButtonGeometry g = content.Geometry;
  g.Glyph = content.Glyph ? gfx::TPoint{content.Glyph->Width(), content.Glyph->Height()} : gfx::TPoint{};
  g.HasText = !content.Text.empty();
  return g;
}

gfx::TPoint MeasureGlyphCaption(HDC dc, const TGlyphCaption& content)
{
  if (content.Text.empty())
    return {};
  const gfx::TRect area = CaptionArea(GeometryOf(content));
  RECT measured{area.Left, area.Top, area.Right, area.Bottom};
  DrawTextW(dc, content.Text.c_str(), int(content.Text.size()), &measured,
            DT_CALCRECT | DT_WORDBREAK | content.ExtraFormat);
  return {measured.right - measured.left, measured.bottom - measured.top};
}

void DrawGlyphCaptionAt(HDC dc, const TGlyphCaption& content, const TGlyphButtonPlaces& places)
{
  if (content.Glyph)
    DrawButtonGlyph(dc, places.Glyph, *content.Glyph);
  if (content.Text.empty())
    return;
  const TGlyphButtonGeometry g = GeometryOf(content);
  UINT format = DT_WORDBREAK | content.ExtraFormat;
  RECT text = TextRect(places.Text, CaptionArea(g).Width(), g.Layout, format);
  DrawTextW(dc, content.Text.c_str(), int(content.Text.size()), &text, format);
}

TGlyphButtonPlaces DrawGlyphAndCaption(HDC dc, const TGlyphCaption& content)
{
  TGlyphButtonPlaces places = PlaceGlyphAndCaption(GeometryOf(content), MeasureGlyphCaption(dc, content));
  places.Glyph = {places.Glyph.X + content.Offset.X, places.Glyph.Y + content.Offset.Y};
  places.Text = places.Text.Translated(content.Offset.X, content.Offset.Y);
  DrawGlyphCaptionAt(dc, content, places);
  return places;
}

} // namespace framework
