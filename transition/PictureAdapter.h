#pragma once
#include "framework/Picture.h"
#include "transition/LumettaPicture.h"

namespace transition {

// The display component's view of a framework picture. Detaching silences the
// picture's OnChange until the matching re-attach; detaches may nest.
class TPictureAdapter : public ILumettaPicture {
public:
  explicit TPictureAdapter(framework::TPicture& picture) noexcept : picture_(picture) {}

  bool HasGraphic() const override { return picture_.Graphic() != nullptr; }
  bool Empty() const override { return picture_.Empty(); }
  int32_t Width() const override { return picture_.Width(); }
  int32_t Height() const override { return picture_.Height(); }
  void SetShowLimit(framework::TGraphic::TShowLimit limit) override;
  void SetBackground(gfx::TColor color) override;
  gfx::TSize PixelSize() const override;
  // A copy of the graphic held now.
  std::unique_ptr<ILumettaPicture> Copy() const override;
  void Draw(framework::TCanvas& canvas, const gfx::TRect& rect) override { picture_.Draw(canvas, rect); }
  void DetachChange() override;
  void AttachChange() override;

private:
  framework::TPicture& picture_;
  std::function<void()> saved_;
  int detached_ = 0;
};

} // namespace transition
