#include "framework/ButtonLayout.h"

#include <algorithm>

namespace framework {

namespace {

constexpr int32_t kInset = 2;

bool Horizontal(TButtonLayout layout) { return layout == blGlyphLeft || layout == blGlyphRight; }
bool GlyphFirst(TButtonLayout layout) { return layout == blGlyphLeft || layout == blGlyphTop; }

int32_t Along(TButtonLayout layout, gfx::TPoint p) { return Horizontal(layout) ? p.X : p.Y; }
int32_t Across(TButtonLayout layout, gfx::TPoint p) { return Horizontal(layout) ? p.Y : p.X; }

// A position along the axis and one across it, as a point.
gfx::TPoint Point(TButtonLayout layout, int32_t along, int32_t across)
{
  return Horizontal(layout) ? gfx::TPoint{along, across} : gfx::TPoint{across, along};
}

int32_t Centre(int32_t room, int32_t size) { return (room - size + 1) / 2; }

} // namespace

const TEnumInfo& ButtonLayoutInfo()
{
  static const TEnumInfo info{"TButtonLayout", {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"}};
  return info;
}

gfx::TRect CaptionArea(const TGlyphButtonGeometry& g)
{
  gfx::TRect area{kInset, kInset, g.Size.X - kInset, g.Size.Y - kInset};
  switch (g.Layout) {
  case blGlyphLeft: area.Left += g.Glyph.X + kInset; break;
  case blGlyphRight: area.Right -= g.Glyph.X + kInset; break;
  case blGlyphTop: area.Top += g.Glyph.Y + kInset; break;
  case blGlyphBottom: area.Bottom -= g.Glyph.Y + kInset; break;
  }
  return area;
}

TGlyphButtonPlaces PlaceGlyphAndCaption(const TGlyphButtonGeometry& g, gfx::TPoint textSize)
{
  const TButtonLayout layout = g.Layout;
  const int32_t client = Along(layout, g.Size);
  const int32_t glyph = Along(layout, g.Glyph);
  const int32_t text = Along(layout, textSize);
  const bool hasGlyph = g.Glyph.X > 0 && g.Glyph.Y > 0;

  int32_t margin = g.Margin;
  int32_t spacing = hasGlyph && g.HasText ? g.Spacing : 0;
  if (margin == -1 || g.Centred) {
    if (spacing == -1)
      margin = spacing = (client - glyph - text) / 3;
    else
      margin = (client - glyph - spacing - text) / 2;
  } else if (spacing == -1) {
    spacing = (client - margin - glyph - text) / 2;
  }

  int32_t glyphAt = margin;
  int32_t textAt = margin + glyph + spacing;
  if (!GlyphFirst(layout)) {
    glyphAt = client - margin - glyph;
    textAt = glyphAt - spacing - text;
  }

  const int32_t across = Across(layout, g.Size);
  TGlyphButtonPlaces places;
  places.Glyph = Point(layout, glyphAt, Centre(across, Across(layout, g.Glyph)));
  const gfx::TPoint textOrigin = Point(layout, textAt, Centre(across, Across(layout, textSize)));
  places.Text = gfx::TRect::Bounds(textOrigin.X, textOrigin.Y, textSize.X, textSize.Y);
  places.Margin = margin;
  places.Spacing = spacing;
  return places;
}

TGlyphPart ChooseGlyphPart(int32_t wanted, int32_t numGlyphs)
{
  const int32_t parts = std::max(numGlyphs, 1);
  TGlyphPart choice;
  choice.Part = wanted >= 1 && wanted <= parts ? wanted : int32_t(gpUp);
  choice.Embossed = wanted == gpDisabled && parts < gpDisabled;
  return choice;
}

gfx::TRect GlyphPartRect(gfx::TPoint glyphSize, int32_t numGlyphs, int32_t part)
{
  const int32_t parts = std::max(numGlyphs, 1);
  const int32_t width = glyphSize.X / parts;
  return gfx::TRect::Bounds((std::clamp(part, 1, parts) - 1) * width, 0, width, glyphSize.Y);
}

} // namespace framework
