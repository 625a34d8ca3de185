#pragma once
// TSkinTrackBar: a track bar keeps the system's painting of its ticks and
// takes over its thumb and channel through the system's custom drawing.
#include "framework/win32/Handles.h"
#include "skin/controls/SkinControl.h"

#include <commctrl.h>

namespace skin {

class TSkinTrackBar final : public TSkinControl {
public:
  // Taking the focus and giving it back makes the control draw itself anew.
  void SkinChanged() override;

protected:
  bool BeforeMessage(framework::TMessage& message) override;

private:
  // The custom-draw answer for one notification; false leaves it to the
  // control's own procedure.
  bool CustomDraw(const NMCUSTOMDRAW& draw, LRESULT& result) const;
  void DrawThumb(HDC dc) const;
  void DrawChannel(HDC dc) const;
  // The brush the control fills its background with: what its parent shows
  // under it, so that the bar stands on the skinned surface around it.
  [[nodiscard]] HBRUSH ParentBackgroundBrush(HDC dc);

  framework::TBitmap background_;
  framework::TGdiBrush backgroundBrush_;
};

} // namespace skin
