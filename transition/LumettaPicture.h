#pragma once
#include "framework/Graphic.h"
#include "gfx/Geometry.h"

#include <cstdint>
#include <memory>

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
  // The picture's full size, from which it is laid out.
  [[nodiscard]] virtual int32_t Width() const = 0;
  [[nodiscard]] virtual int32_t Height() const = 0;
  // Tells the picture how large it will be shown at most; a picture that can
  // then keep fewer pixels (a JPEG decoded at a fraction of its size) does.
  virtual void SetShowLimit(framework::TGraphic::TShowLimit) {}
  // The colour the picture's transparent parts are composed over, where the
  // picture composes them itself (see TGraphic::SetBackground).
  virtual void SetBackground(gfx::TColor) {}
  // The size of the pixels the picture holds: drawn into a rectangle of this
  // size it is copied, not stretched.
  [[nodiscard]] virtual gfx::TSize PixelSize() const { return {Width(), Height()}; }
  // A copy of the picture as it is now, which later changes of this one leave
  // alone; nothing where the picture cannot be copied.
  [[nodiscard]] virtual std::unique_ptr<ILumettaPicture> Copy() const { return nullptr; }
  // Draws the graphic into rect of the canvas: at its natural size when rect
  // has the size of its pixels, stretched otherwise.
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
