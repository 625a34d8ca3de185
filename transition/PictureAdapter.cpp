#include "transition/PictureAdapter.h"

#include <utility>

namespace transition {

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
