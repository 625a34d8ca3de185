#pragma once
// TSkinGroupBox: a group box's frame as a rounded line in the skin's shadow
// colour, with the caption on the skin's face colour breaking the line.
#include "skin/controls/SkinControl.h"

namespace skin {

class TSkinGroupBox final : public TSkinControl {
public:
  void AttachControl(TWinSkinForm& form, TSkinData& data, framework::TWinControl& control, bool recolour) override;

protected:
  bool BeforeMessage(framework::TMessage& message) override;
  void DrawSkin(HDC dc, const gfx::TRect& rect) override;

private:
  void DrawFrameAndCaption(HDC dc, const gfx::TRect& rect);
};

} // namespace skin
