#include "skin/controls/SkinMenuButton.h"

#include "framework/win32/Handles.h"
#include "skin/SkinData.h"

namespace skin {

namespace {

void DrawArrow(HDC dc, const std::array<gfx::TPoint, 3>& corners, gfx::TColor colour)
{
  const POINT points[3] = {{corners[0].X, corners[0].Y}, {corners[1].X, corners[1].Y}, {corners[2].X, corners[2].Y}};
  const framework::TGdiPen pen(CreatePen(PS_SOLID, 1, ColourRef(colour)));
  const framework::TGdiBrush brush(CreateSolidBrush(ColourRef(colour)));
  const framework::TSelectObject selectedPen(dc, pen.Get());
  const framework::TSelectObject selectedBrush(dc, brush.Get());
  Polygon(dc, points, 3);
}

} // namespace

void TSkinMenuButton::DrawContent(HDC dc, const gfx::TRect& rect, const TButtonLook& look, const TButtonFace& face)
{
  const std::unique_ptr<framework::TBitmap> glyph = ReadGlyph(face.GlyphPart);
  framework::TGlyphCaption content = ReadContent(rect, glyph.get());
  content.Geometry.Layout = framework::blGlyphLeft;
  const gfx::TPoint textSize = framework::MeasureGlyphCaption(dc, content);
  const TDropDownPlaces placed = PlaceDropDown(framework::GeometryOf(content), textSize);
  framework::DrawGlyphCaptionAt(dc, content, placed.Places);
  DrawArrow(dc, placed.Arrow, look.Disabled ? gfx::clBtnShadow : gfx::clWindowText);
  DrawFocusAround(dc, placed.Places.Text);
}

gfx::TColor TSkinMenuButton::CaptionColour(const TButtonLook& look) const
{
  if (look.Disabled)
    return gfx::clBtnShadow;
  const TDataSkinButton& element = *Data().Buttons;
  if (look.Pressed)
    return element.HasPressedColour2 ? element.PressedColour2 : FontColour();
  if (look.Hot)
    return element.HasMouseOverColour2 ? element.MouseOverColour2 : FontColour();
  return ButtonFrame(look) == 1 && element.HasNormalColour2 ? element.NormalColour2 : FontColour();
}

} // namespace skin
