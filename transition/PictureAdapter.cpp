#include "transition/PictureAdapter.h"

#include <utility>

namespace transition {

void TPictureAdapter::SetShowLimit(framework::TGraphic::TShowLimit limit)
{
  if (framework::TGraphic* graphic = picture_.Graphic())
    graphic->SetShowLimit(std::move(limit));
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
