#pragma once
// Where a button with a glyph puts the glyph and the caption, and which part
// of a glyph strip it shows. Plain arithmetic, shared by the framework's own
// bitmap and speed buttons and by the skin's companions that repaint them, so
// that a button lays out the same whether it is skinned or not.
#include "framework/TypeInfo.h"
#include "gfx/Geometry.h"

#include <cstdint>

namespace framework {

// The side of the caption the glyph stands on.
enum TButtonLayout : uint8_t { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
const TEnumInfo& ButtonLayoutInfo();

struct TGlyphButtonGeometry {
  gfx::TPoint Size;  // the whole button
  gfx::TPoint Glyph; // one part of the glyph; (0, 0) without a glyph
  bool HasText = false;
  TButtonLayout Layout = blGlyphLeft;
  // Distance of the glyph from the edge it stands on; -1 centres glyph and
  // caption together.
  int32_t Margin = -1;
  // Between glyph and caption; -1 spreads the free room evenly.
  int32_t Spacing = 4;
  // Centres glyph and caption whatever Margin says (a centred alignment).
  bool Centred = false;
};

// The rectangle a caption is measured in: the button less 2 pixels on every
// side and less the glyph and 2 more along the layout's axis.
[[nodiscard]] gfx::TRect CaptionArea(const TGlyphButtonGeometry& geometry);

struct TGlyphButtonPlaces {
  gfx::TPoint Glyph; // the glyph's top-left corner
  gfx::TRect Text;   // the measured caption block, placed
  int32_t Margin = 0;
  int32_t Spacing = 0;
};

// Places the glyph and a caption block of textSize (as measured in
// CaptionArea). Along the axis: margin, glyph, spacing, text from the glyph's
// edge; across it both are centred, a pixel low when the room is odd.
[[nodiscard]] TGlyphButtonPlaces PlaceGlyphAndCaption(const TGlyphButtonGeometry& geometry, gfx::TPoint textSize);

// The parts of a glyph strip: up, disabled, pressed, down.
enum TGlyphPartNumber : int32_t { gpUp = 1, gpDisabled = 2, gpPressed = 3, gpDown = 4 };

struct TGlyphPart {
  int32_t Part = gpUp;
  // The strip has no disabled part: the up part is shown embossed instead.
  bool Embossed = false;
  friend bool operator==(const TGlyphPart&, const TGlyphPart&) = default;
};

// The part shown when `wanted` is asked of a strip of numGlyphs parts: a part
// the strip does not have falls back to the up part.
[[nodiscard]] TGlyphPart ChooseGlyphPart(int32_t wanted, int32_t numGlyphs);

// Where part (1-based) lies in a strip of glyphSize cut into numGlyphs equal
// parts side by side; a remainder narrower than a part is never shown.
[[nodiscard]] gfx::TRect GlyphPartRect(gfx::TPoint glyphSize, int32_t numGlyphs, int32_t part);

} // namespace framework
