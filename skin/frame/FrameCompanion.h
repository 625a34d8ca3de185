#pragma once
// What a frame knows of the skinned-control objects attached to the controls
// of its window: it lists them in order of registration, tells them when the
// skin changes or skinning stops, and frees them.
#include <windows.h>

namespace skin {

class TFrameCompanion {
public:
  virtual ~TFrameCompanion() = default;
  // The control's window is gone; the frame frees the companion.
  [[nodiscard]] virtual bool Discarded() const = 0;
  // Whether it is the companion of that window.
  [[nodiscard]] virtual bool Skins(HWND window) const = 0;
  // Gives the control its own look back.
  virtual void Unskin() = 0;
  // The skin data changed: repaint from it.
  virtual void SkinChanged() = 0;
};

} // namespace skin
