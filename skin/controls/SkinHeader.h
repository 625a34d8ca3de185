#pragma once
// TSkinHeader: a header control's sections drawn from the skin's "Headerbar"
// element, the section under the mouse in its hot frame. A skin without the
// element leaves the header its own look.
#include "skin/controls/SkinControl.h"

#include <vector>

namespace skin {

class TSkinHeader final : public TSkinControl {
public:
  void AttachControl(TWinSkinForm& form, TSkinData& data, framework::TWinControl& control, bool recolour) override;
  void AttachWindow(TWinSkinForm& form, TSkinData& data, HWND window) override;
  [[nodiscard]] int32_t HotSection() const { return hot_; }

protected:
  bool BeforeMessage(framework::TMessage& message) override;
  void AfterMessage(framework::TMessage& message) override;
  void DrawSkin(HDC dc, const gfx::TRect& rect) override;

private:
  [[nodiscard]] bool HasImage() const;
  void SetHot(int32_t section);

  std::vector<gfx::TRect> sections_;
  int32_t hot_ = -1;
};

} // namespace skin
