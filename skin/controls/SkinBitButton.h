#pragma once
// TSkinBitButton: buttons with a glyph beside the caption, on the push
// button's face. The glyph and its layout are read from the control's
// published properties by name (Glyph and NumGlyphs, or Images at
// ImageIndex; Layout, Margin, Spacing, a centred Alignment), so every class
// that publishes them is skinned alike.
#include "framework/win32/ButtonGlyph.h"
#include "skin/controls/SkinButton.h"

#include <memory>
#include <string>

namespace skin {

class TSkinBitButton : public TSkinButton {
public:
  // The property that holds the glyph: "Glyph" unless the attachment table
  // names another.
  void SetGlyphProperty(std::string name) { glyphProperty_ = std::move(name); }

protected:
  void DrawContent(HDC dc, const gfx::TRect& rect, const TButtonLook& look, const TButtonFace& face) override;

  // The glyph a part asks for (embossed where the strip has no disabled
  // part), or nullptr.
  [[nodiscard]] std::unique_ptr<framework::TBitmap> ReadGlyph(int32_t part) const;
  // Glyph and caption, laid out as the control's properties say.
  [[nodiscard]] framework::TGlyphCaption ReadContent(const gfx::TRect& rect, const framework::TBitmap* glyph) const;
  // The focus rectangle around a placed caption, when the look has one.
  void DrawFocusAround(HDC dc, const gfx::TRect& text) const;

private:
  std::string glyphProperty_ = "Glyph";
};

} // namespace skin
