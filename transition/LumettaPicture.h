#pragma once
#include "gfx/Geometry.h"

#include <cstdint>

namespace framework {
class TCanvas;
}

namespace transition {

// What the display component needs of its picture and its background
// picture: whether a graphic is there, its size, drawing it, and silencing
// its change notification while the component itself draws it (drawing may
// decode or cache and would otherwise report a change).
class ILumettaPicture {
public:
  virtual ~ILumettaPicture() = default;
  // A graphic object is held (it may still be empty).
  [[nodiscard]] virtual bool HasGraphic() const = 0;
  // No graphic object, or one without pixels.
  [[nodiscard]] virtual bool Empty() const = 0;
  [[nodiscard]] virtual int32_t Width() const = 0;
  [[nodiscard]] virtual int32_t Height() const = 0;
  // Draws the graphic into rect of the canvas: at its natural size when rect
  // has that size, stretched otherwise.
  virtual void Draw(framework::TCanvas& canvas, const gfx::TRect& rect) = 0;
  virtual void DetachChange() = 0;
  virtual void AttachChange() = 0;
};

// Detaches a picture's change notification for a scope, also when an error
// passes through.
class TDetachedChange {
public:
  explicit TDetachedChange(ILumettaPicture& picture) : picture_(picture) { picture_.DetachChange(); }
  ~TDetachedChange() { picture_.AttachChange(); }
  TDetachedChange(const TDetachedChange&) = delete;
  TDetachedChange& operator=(const TDetachedChange&) = delete;

private:
  ILumettaPicture& picture_;
};

} // namespace transition
