#pragma once
// The companions of plain surfaces: panels and child forms take the skin's
// face colour (TSkinBox), nested dialogs and tool bar windows fill their
// background with it and hand their static texts its brush (TSkinBoxH), and
// size grips are filled with it (TSkinSizer).
#include "framework/win32/Handles.h"
#include "skin/controls/SkinControl.h"

namespace skin {

class TSkinBox final : public TSkinControl {
public:
  // Recolours the control only: its window procedure stays as it is.
  void AttachControl(TWinSkinForm& form, TSkinData& data, framework::TWinControl& control, bool recolour) override;
  void Unskin() override;
  void SkinChanged() override;
};

class TSkinBoxH final : public TSkinControl {
protected:
  bool BeforeMessage(framework::TMessage& message) override;

private:
  [[nodiscard]] HBRUSH FaceBrush();

  framework::TGdiBrush brush_;
  gfx::TColor brushColour_ = 0;
};

class TSkinSizer final : public TSkinControl {
protected:
  void DrawSkin(HDC dc, const gfx::TRect& rect) override;
};

} // namespace skin
