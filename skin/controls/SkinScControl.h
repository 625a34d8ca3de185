#pragma once
// TSkinScControl: the companion of a scroll-bar control. One overlay covers
// the whole control; presses on it reach the control as its own, so the
// control's tracking and its OnScroll and OnChange stay as they are.
#include "skin/controls/SkinControl.h"
#include "skin/controls/WScrollbar.h"

#include <memory>

namespace skin {

class TSkinScControl final : public TSkinControl {
public:
  void AttachControl(TWinSkinForm& form, TSkinData& data, framework::TWinControl& control, bool recolour) override;
  void Unskin() override;

protected:
  void AfterMessage(framework::TMessage& message) override;
  void DrawSkin(HDC dc, const gfx::TRect& rect) override;

private:
  std::unique_ptr<TWScrollbar> overlay_;
};

} // namespace skin
