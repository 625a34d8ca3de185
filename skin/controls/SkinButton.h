#pragma once
// TSkinButton: push buttons drawn from the skin's "Buttons" strip, with the
// hot, pressed, focused or default, and disabled looks. The companion keeps
// the left button from the control's own procedure and raises the click
// itself on a release over the pressed button.
#include "skin/controls/SkinControl.h"

namespace skin {

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

private:
  void Press(bool on);
  void RaiseClick();
  [[nodiscard]] bool IsDefault() const;
  [[nodiscard]] gfx::TColor CaptionColour() const;
  void DrawCaption(HDC dc, const gfx::TRect& rect);

  bool transparent_ = false;
};

} // namespace skin
