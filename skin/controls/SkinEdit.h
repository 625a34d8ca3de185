#pragma once
// TSkinEdit: an edit keeps the system's painting inside and gets the skin's
// border outside, in the skin's shadow colour with white rings within. An
// up-down control standing inside the edit is skinned along with it.
#include "skin/controls/SkinControl.h"
#include "skin/controls/SkinUpDown.h"

#include <memory>

namespace skin {

class TSkinEdit final : public TSkinControl {
public:
  void Unskin() override;
  void SkinChanged() override;
  // The companion of the up-down inside the edit, once a paint found one.
  [[nodiscard]] const TSkinUpDown* EmbeddedUpDown() const { return upDown_.get(); }

protected:
  // A printed copy gets the border after the edit has printed itself.
  bool BeforeMessage(framework::TMessage& message) override;
  void AfterMessage(framework::TMessage& message) override;
  void DrawSkin(HDC dc, const gfx::TRect& rect) override;

private:
  void AttachEmbeddedUpDown();
  // The border a printed copy of the edit gets (WM_PRINT): its outer ring in
  // the skin's shadow, the ring within in the DC's own brush.
  void DrawPrintBorder(HDC dc) const;
  [[nodiscard]] gfx::TSize ClientSize() const;
  [[nodiscard]] gfx::TSize WindowSize() const;

  std::unique_ptr<TSkinUpDown> upDown_;
};

} // namespace skin
