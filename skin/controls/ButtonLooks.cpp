#include "skin/controls/ButtonLooks.h"

namespace skin {

namespace {

constexpr int32_t kPressedFrame = 2;
constexpr int32_t kDisabledFrame = 3;
constexpr int32_t kHotFrame = 4;

} // namespace

TButtonFace PushButtonFace(const TButtonLook& look)
{
  TButtonFace face;
  face.Frame = ButtonFrame(look);
  if (look.Pressed)
    face.GlyphPart = framework::gpPressed;
  else if (look.Disabled)
    face.GlyphPart = framework::gpDisabled;
  return face;
}

TButtonFace SpeedButtonFace(const TSpeedButtonLook& look)
{
  TButtonFace face;
  if (look.Down) {
    face.Frame = kPressedFrame;
    face.GlyphPart = framework::gpDown;
  } else if (look.Disabled) {
    face.Frame = kDisabledFrame;
    face.GlyphPart = framework::gpDisabled;
  } else if (look.Pressed) {
    face.Frame = kPressedFrame;
    face.GlyphPart = framework::gpPressed;
  } else if (look.Hot) {
    face.Frame = kHotFrame;
  }
  const bool raised = face.Frame == kPressedFrame || face.Frame == kHotFrame;
  face.DrawElement = !look.Flat || raised;
  return face;
}

TDropDownPlaces PlaceDropDown(framework::TGlyphButtonGeometry g, gfx::TPoint textSize)
{
  g.Layout = framework::blGlyphLeft;
  if (g.Margin == -1 && g.Spacing == -1)
    g.Margin = g.Spacing = (g.Size.X - g.Glyph.X - textSize.X) / 4;
  TDropDownPlaces result;
  result.Places = framework::PlaceGlyphAndCaption(g, textSize);
  // The arrow keeps its distance from the caption even where no glyph
  // leaves a gap between glyph and caption.
  const int32_t spacing = g.Spacing == -1 ? result.Places.Spacing : g.Spacing;
  const int32_t x = result.Places.Text.Right + 2 * spacing;
  const int32_t y = g.Size.Y / 2;
  result.Arrow = {gfx::TPoint{x, y + 2}, gfx::TPoint{x - 3, y - 1}, gfx::TPoint{x + 3, y - 1}};
  return result;
}

} // namespace skin
