#pragma once
// A picture for the display component backed by a bitmap, counting how often
// its change notification was detached and re-attached. Like a JPEG loaded
// under a show limit, it may hold its pixels at 1/Reduction of each side, and
// takes more of them when a later limit needs it.
#include "transition/LumettaPicture.h"

#include "framework/Bitmap.h"
#include "framework/Canvas.h"
#include "gfx/codecs/Jpeg.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

namespace transition::test {

class TTestPicture : public ILumettaPicture {
public:
  std::unique_ptr<framework::TBitmap> Bitmap;
  int Detached = 0;
  int Attached = 0;
  int Draws = 0;
  bool FailDraw = false;
  int Reduction = 1;
  // The shown size each show limit answered for the full size.
  std::vector<gfx::TSize> LimitsAsked;

  // A picture whose pixel (x, y) is colour(x, y).
  void Make(int32_t width, int32_t height, const std::function<gfx::TPixel(int32_t, int32_t)>& colour)
  {
    Bitmap = std::make_unique<framework::TBitmap>(width, height);
    for (int32_t y = 0; y < height; ++y)
      for (int32_t x = 0; x < width; ++x)
        Bitmap->Pixmap().At(x, y) = colour(x, y);
  }
  void MakeSolid(int32_t width, int32_t height, gfx::TPixel pixel)
  {
    Make(width, height, [pixel](int32_t, int32_t) { return pixel; });
  }
  void Clear() { Bitmap.reset(); }

  bool HasGraphic() const override { return Bitmap != nullptr; }
  bool Empty() const override { return !Bitmap || Bitmap->Empty(); }
  int32_t Width() const override { return Bitmap ? Bitmap->Width() : 0; }
  int32_t Height() const override { return Bitmap ? Bitmap->Height() : 0; }
  void SetShowLimit(framework::TGraphic::TShowLimit limit) override
  {
    if (!Bitmap || !limit)
      return;
    const gfx::TSize full{Width(), Height()};
    LimitsAsked.push_back(limit(full));
    Reduction = std::min(Reduction, gfx::JpegReductionFor(full, LimitsAsked.back()));
  }
  std::unique_ptr<ILumettaPicture> Copy() const override
  {
    auto copy = std::make_unique<TTestPicture>();
    if (Bitmap) {
      copy->Bitmap = std::make_unique<framework::TBitmap>();
      copy->Bitmap->Assign(*Bitmap);
    }
    copy->Reduction = Reduction;
    return copy;
  }
  gfx::TSize PixelSize() const override
  {
    return {(Width() + Reduction - 1) / Reduction, (Height() + Reduction - 1) / Reduction};
  }
  void Draw(framework::TCanvas& canvas, const gfx::TRect& rect) override
  {
    ++Draws;
    if (FailDraw)
      throw std::runtime_error("cannot draw");
    if (Reduction == 1 && rect.Width() == Width() && rect.Height() == Height())
      canvas.Draw(rect.Left, rect.Top, *Bitmap);
    else
      canvas.StretchDraw(rect, *Bitmap);
  }
  void DetachChange() override { ++Detached; }
  void AttachChange() override { ++Attached; }
};

} // namespace transition::test
