#pragma once
// TSkinCheckBox and TSkinRadioButton: the box of a check box or radio button
// taken from the skin's check or radio strip. On a framework control the
// companion paints the whole control (box and caption on the skin's face
// colour); on a dialog's bare window it paints only the box over what the
// system drew.
#include "skin/controls/ControlLooks.h"
#include "skin/controls/SkinControl.h"

namespace framework {
class TBitmap;
}

namespace skin {

class TSkinCheckBox : public TSkinControl {
public:
  void AttachControl(TWinSkinForm& form, TSkinData& data, framework::TWinControl& control, bool recolour) override;

protected:
  bool BeforeMessage(framework::TMessage& message) override;
  void AfterMessage(framework::TMessage& message) override;
  void DrawSkin(HDC dc, const gfx::TRect& rect) override;

  // The strip and its frame count; an empty strip leaves the control alone.
  [[nodiscard]] virtual const framework::TBitmap* Strip() const;
  [[nodiscard]] virtual int32_t StripFrames() const;
  // The frame of the strip the control's state shows.
  [[nodiscard]] virtual int32_t CurrentFrame() const;
  [[nodiscard]] virtual bool IsRadio() const { return false; }

private:
  void DrawCaption(HDC dc, const gfx::TRect& area, bool rightAligned);

  // The last BM_SETCHECK plus one: 0 none seen, 1 unchecked, 2 checked, 3 indeterminate.
  int32_t lastSetCheck_ = 0;
  bool transparent_ = false;
};

class TSkinRadioButton final : public TSkinCheckBox {
protected:
  [[nodiscard]] const framework::TBitmap* Strip() const override;
  [[nodiscard]] int32_t StripFrames() const override;
  [[nodiscard]] int32_t CurrentFrame() const override;
  [[nodiscard]] bool IsRadio() const override { return true; }
};

} // namespace skin
