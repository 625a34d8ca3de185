#include "skin/controls/SkinBitButton.h"

#include "framework/GlyphBitmap.h"
#include "framework/ImageList.h"
#include "framework/TypeInfo.h"

#include <algorithm>

namespace skin {

void TSkinBitButton::DrawContent(HDC dc, const gfx::TRect& rect, const TButtonLook& /*look*/,
                                 const TButtonFace& face)
{
  const std::unique_ptr<framework::TBitmap> glyph = ReadGlyph(face.GlyphPart);
  const framework::TGlyphButtonPlaces places = framework::DrawGlyphAndCaption(dc, ReadContent(rect, glyph.get()));
  DrawFocusAround(dc, places.Text);
}

std::unique_ptr<framework::TBitmap> TSkinBitButton::ReadGlyph(int32_t part) const
{
  const framework::TControl* control = SkinnedControl();
  if (!control)
    return nullptr;
  framework::TGlyphSource source;
  if (auto* glyph = dynamic_cast<framework::TGlyphBitmap*>(framework::GetObjectProp(*control, glyphProperty_)))
    source.Strip = &glyph->Bitmap();
  source.NumGlyphs = int32_t(std::max<int64_t>(framework::GetOrdProp(*control, "NumGlyphs"), 1));
  source.Images = dynamic_cast<framework::TCustomImageList*>(framework::GetObjectProp(*control, "Images"));
  source.ImageIndex = int32_t(framework::GetOrdProp(*control, "ImageIndex"));
  source.DisabledIndex = int32_t(framework::GetOrdProp(*control, "DisabledIndex"));
  return framework::GlyphForLook(source, part);
}

framework::TGlyphCaption TSkinBitButton::ReadContent(const gfx::TRect& rect, const framework::TBitmap* glyph) const
{
  framework::TGlyphCaption content;
  content.Glyph = glyph;
  content.Text = caption_;
  content.ExtraFormat = RightToLeft() ? DT_RTLREADING : 0;
  framework::TGlyphButtonGeometry& g = content.Geometry;
  g.Size = {rect.Width(), rect.Height()};
  if (const framework::TControl* control = SkinnedControl()) {
    const int layout = framework::ButtonLayoutInfo().ValueOf(framework::GetEnumProp(*control, "Layout"));
    g.Layout = layout < 0 ? framework::blGlyphLeft : framework::TButtonLayout(layout);
    g.Margin = int32_t(framework::GetOrdProp(*control, "Margin"));
    g.Spacing = int32_t(framework::GetOrdProp(*control, "Spacing"));
    g.Centred = framework::SameText(framework::GetEnumProp(*control, "Alignment"), "taCenter");
  }
  return content;
}

void TSkinBitButton::DrawFocusAround(HDC dc, const gfx::TRect& text) const
{
  if (caption_.empty() || !ShowsFocusRect())
    return;
  const RECT focus{text.Left - 2, text.Top - 2, text.Right + 2, text.Bottom + 2};
  DrawFocusRect(dc, &focus);
}

} // namespace skin
