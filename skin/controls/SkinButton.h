#pragma once
// TSkinButton: push buttons drawn from the skin's "Buttons" strip, with the
// hot, pressed, focused or default, and disabled looks. The companion keeps
// the left button from the control's own procedure and raises the click
// itself on a release over the pressed button.
//
// The glyph, drop-down and speed buttons derive from it: they share the face
// (background, element frame) and differ in what they put on it.
#include "skin/controls/ButtonLooks.h"
#include "skin/controls/SkinControl.h"

namespace skin {

class TDataSkinButton;

class TSkinButton : public TSkinControl {
public:
  void AttachControl(TWinSkinForm& form, TSkinData& data, framework::TWinControl& control, bool recolour) override;

  // Buttons whose Tag asks for it, or every button with the transparent
  // option, show the parent's background through the face's key colour.
  static constexpr intptr_t kTransparentTag = 5555;

protected:
  bool BeforeMessage(framework::TMessage& message) override;
  void AfterMessage(framework::TMessage& message) override;
  void DrawSkin(HDC dc, const gfx::TRect& rect) override;

  // The skin's "Buttons" element, or nullptr when it has none to draw.
  [[nodiscard]] const TDataSkinButton* ButtonsElement() const;
  // Takes the transparent flag from the control's Tag and the skin's options.
  void ReadTransparent(const framework::TControl& control);
  // Builds the whole face off screen and copies it to dc at once: the
  // background, the element frame (when face says so), then DrawContent
  // with the caption's font and colour selected.
  void DrawButton(HDC dc, const gfx::TRect& rect, const TButtonLook& look, const TButtonFace& face);
  // What stands on the face: the caption here.
  virtual void DrawContent(HDC dc, const gfx::TRect& rect, const TButtonLook& look, const TButtonFace& face);
  // The caption colour of a look: the skin's colours where it has them.
  [[nodiscard]] virtual gfx::TColor CaptionColour(const TButtonLook& look) const;
  [[nodiscard]] bool ShowsFocusRect() const;

private:
  void Press(bool on);
  void RaiseClick();
  [[nodiscard]] bool IsDefault() const;
  void DrawCaption(HDC dc, const gfx::TRect& rect);

  bool transparent_ = false;
};

} // namespace skin
