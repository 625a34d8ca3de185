#pragma once
// TSkinUpDown: an up-down control's two halves drawn from the skin's
// "UpDown.Vert" or "UpDown.Horz" strip with the arrow glyphs of its second
// image, the half under the cursor hot or pressed. A skin without the
// element gets flat halves with line-drawn arrows in the skin's colours.
// Presses reach the control first, so its repeat and its notifications
// stay the system's.
#include "skin/controls/EditLooks.h"
#include "skin/controls/SkinControl.h"

namespace skin {

class TDataSkinBorder;

class TSkinUpDown final : public TSkinControl {
public:
  // embedded: the up-down stands inside an edit, whose companion made it; it
  // keeps its drawing off the edit's border.
  explicit TSkinUpDown(bool embedded = false) : embedded_(embedded) {}
  [[nodiscard]] bool Embedded() const { return embedded_; }

protected:
  bool BeforeMessage(framework::TMessage& message) override;
  void AfterMessage(framework::TMessage& message) override;
  void DrawSkin(HDC dc, const gfx::TRect& rect) override;

private:
  // Where the halves are drawn in the window: all of it, or for an embedded
  // up-down what lies 3 pixels inside its edit.
  [[nodiscard]] gfx::TRect DrawingRect(const gfx::TRect& rect) const;
  // The half under the cursor (0 or 1), -1 when the cursor is elsewhere.
  [[nodiscard]] int32_t HalfUnderCursor(const gfx::TRect& area) const;
  void FollowMouse();
  void DrawElementHalf(HDC dc, const TDataSkinBorder& element, const TSpinHalf& half, TPartLook look) const;
  void DrawLineHalf(HDC dc, const TSpinHalf& half, TPartLook look) const;

  bool embedded_;
  int32_t hotHalf_ = -1;
  // The rectangle of the last paint, in window coordinates.
  gfx::TRect area_;
};

} // namespace skin
