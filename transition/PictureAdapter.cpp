#include "transition/PictureAdapter.h"

#include <utility>

namespace transition {

namespace {

// A graphic of its own, copied from a picture: nothing else changes it.
class TGraphicCopy : public ILumettaPicture {
public:
  explicit TGraphicCopy(std::unique_ptr<framework::TGraphic> graphic) : graphic_(std::move(graphic)) {}
  bool HasGraphic() const override { return true; }
  bool Empty() const override { return graphic_->Empty(); }
  int32_t Width() const override { return graphic_->Width(); }
  int32_t Height() const override { return graphic_->Height(); }
  void SetShowLimit(framework::TGraphic::TShowLimit limit) override { graphic_->SetShowLimit(std::move(limit)); }
  gfx::TSize PixelSize() const override { return graphic_->PixelSize(); }
  std::unique_ptr<ILumettaPicture> Copy() const override { return std::make_unique<TGraphicCopy>(graphic_->Clone()); }
  void Draw(framework::TCanvas& canvas, const gfx::TRect& rect) override { graphic_->Draw(canvas, rect); }
  void DetachChange() override {}
  void AttachChange() override {}

private:
  std::unique_ptr<framework::TGraphic> graphic_;
};

} // namespace

std::unique_ptr<ILumettaPicture> TPictureAdapter::Copy() const
{
  const framework::TGraphic* graphic = picture_.Graphic();
  return graphic ? std::make_unique<TGraphicCopy>(graphic->Clone()) : nullptr;
}

void TPictureAdapter::SetShowLimit(framework::TGraphic::TShowLimit limit)
{
  if (framework::TGraphic* graphic = picture_.Graphic())
    graphic->SetShowLimit(std::move(limit));
}

void TPictureAdapter::SetBackground(gfx::TColor color)
{
  if (framework::TGraphic* graphic = picture_.Graphic())
    graphic->SetBackground(color);
}

gfx::TSize TPictureAdapter::PixelSize() const
{
  const framework::TGraphic* graphic = picture_.Graphic();
  return graphic ? graphic->PixelSize() : gfx::TSize{};
}

void TPictureAdapter::DetachChange()
{
  if (detached_++ == 0) {
    saved_ = std::move(picture_.OnChange);
    picture_.OnChange = nullptr;
  }
}

void TPictureAdapter::AttachChange()
{
  if (detached_ > 0 && --detached_ == 0)
    picture_.OnChange = std::move(saved_);
}

} // namespace transition
