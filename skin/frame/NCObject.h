#pragma once
// Something on a window's non-client area that the mouse can press: a caption
// button, a menu-bar button. It knows its rectangle and its draw state; what
// it looks like and what a click does belongs to the kind of object.
#include "gfx/Geometry.h"

#include <cstdint>

namespace skin {

// Draw states, numbered as the frames of a button strip are.
enum TNCDrawState : uint8_t { dsNormal = 1, dsPressed = 2, dsHot = 3, dsDisabled = 4 };

class TNCObject {
public:
  TNCObject() = default;
  virtual ~TNCObject() = default;
  TNCObject(const TNCObject&) = delete;
  TNCObject& operator=(const TNCObject&) = delete;

  // The mouse went down on the object.
  virtual void Press() { ChangeState(dsPressed); }
  // The mouse came up on the pressed object.
  virtual void Release() { ChangeState(dsHot); }
  // The mouse moved onto the object.
  virtual void Enter() { ChangeState(dsHot); }
  // The mouse moved away, or the window stopped listening to it.
  virtual void Leave() { ChangeState(dsNormal); }
  // Shows the current state on screen.
  virtual void Redraw() = 0;

  [[nodiscard]] TNCDrawState DrawState() const { return state_; }
  // Where the object was last placed, in window coordinates.
  [[nodiscard]] const gfx::TRect& Rect() const { return rect_; }
  void SetRect(const gfx::TRect& rect) { rect_ = rect; }
  [[nodiscard]] bool Contains(gfx::TPoint windowPoint) const { return rect_.Contains(windowPoint); }

protected:
  // Sets the state without drawing (the caption band is about to be drawn whole).
  void SetDrawState(TNCDrawState state) { state_ = state; }

private:
  // A state that does not change draws nothing: the mouse moving within an
  // object must not make it flicker.
  void ChangeState(TNCDrawState state)
  {
    if (state_ == state)
      return;
    state_ = state;
    Redraw();
  }

  TNCDrawState state_ = dsNormal;
  gfx::TRect rect_;
};

} // namespace skin
