#pragma once
// TSkinSpeedButton: speed buttons, which have no window. The companion
// stands in the control's WindowProc, keeps the hot and pressed looks from
// the messages the control gets, and paints the face on the control's Canvas
// when the parent paints the control; Down, Flat and Enabled are read from
// the control by name.
#include "skin/controls/SkinBitButton.h"

namespace skin {

class TSkinSpeedButton : public TSkinBitButton {
public:
  // Stands in front of the control's WindowProc; repaints go through the
  // control's Invalidate.
  void AttachSpeedButton(TWinSkinForm& form, TSkinData& data, framework::TControl& control);

protected:
  bool BeforeMessage(framework::TMessage& message) override;
  void AfterMessage(framework::TMessage& message) override;

private:
  // Paints the control on dc, or on its Canvas when dc is null.
  void PaintControl(HDC dc);
  void DrawSpeedButton(HDC dc, const gfx::TRect& rect, const framework::TControl& control);
  void SetLook(uint8_t bits, bool on);

  // Painting the parent's background behind a transparent button paints
  // this button again: that paint is skipped.
  bool painting_ = false;
};

} // namespace skin
