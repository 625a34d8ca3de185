#pragma once
// Drawing the glyph and caption of a glyph button on a device context: the
// part of the strip a look shows, the embossed glyph of a disabled button,
// and the glyph and caption laid out side by side. The framework's bitmap and
// speed buttons paint with these, and so do the skin's companions that take
// their painting over, so both looks place things alike.
#include <windows.h>

#include "framework/Bitmap.h"
#include "framework/ButtonLayout.h"
#include "framework/ImageList.h"

#include <memory>
#include <string>

namespace framework {

// Where a button's glyph comes from: a strip of NumGlyphs parts or, when
// there is none, a picture of an image list (one part; DisabledIndex, when
// not -1, is the disabled picture).
struct TGlyphSource {
  const TBitmap* Strip = nullptr;
  int32_t NumGlyphs = 1;
  const TCustomImageList* Images = nullptr;
  int32_t ImageIndex = -1;
  int32_t DisabledIndex = -1;
};

// A copy of the glyph a look shows (wantedPart, a TGlyphPartNumber): the
// part of the strip, falling back to the up part, and embossed for a
// disabled look the strip has no part for. nullptr when there is no glyph.
[[nodiscard]] std::unique_ptr<TBitmap> GlyphForLook(const TGlyphSource& source, int32_t wantedPart);

// The disabled look of a glyph: its dark shapes in the shadow colour over a
// highlight copy one pixel down and to the right, on the face colour. Light
// pixels and those of the glyph's transparent colour vanish into the face.
[[nodiscard]] std::unique_ptr<TBitmap> EmbossGlyph(const TBitmap& glyph);

// Draws the glyph with its top-left corner at `at`, the colour of its
// bottom-left pixel left out.
void DrawButtonGlyph(HDC dc, gfx::TPoint at, const TBitmap& glyph);

// A glyph button's face content. Geometry.Glyph is taken from Glyph.
struct TGlyphCaption {
  const TBitmap* Glyph = nullptr;
  std::wstring Text;
  TGlyphButtonGeometry Geometry;
  // Added to every DrawText format (right-to-left reading).
  UINT ExtraFormat = 0;
  // Moves glyph and caption together (a pressed button's content sinks).
  gfx::TPoint Offset;
};

// The content's geometry with the glyph's size and whether there is text.
[[nodiscard]] TGlyphButtonGeometry GeometryOf(const TGlyphCaption& content);
// The caption block as measured beside the glyph; (0, 0) without text.
[[nodiscard]] gfx::TPoint MeasureGlyphCaption(HDC dc, const TGlyphCaption& content);
// Draws glyph and caption where places put them, with the DC's font and text
// colour (the caller sets those and a transparent background).
void DrawGlyphCaptionAt(HDC dc, const TGlyphCaption& content, const TGlyphButtonPlaces& places);
// Measures, places (moved by Offset) and draws; answers where they went.
TGlyphButtonPlaces DrawGlyphAndCaption(HDC dc, const TGlyphCaption& content);

} // namespace framework
