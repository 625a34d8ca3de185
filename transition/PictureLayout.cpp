#include "transition/PictureLayout.h"

#include "gfx/Numeric.h"


namespace transition {

gfx::TSize TPictureLayout::ShownSize(gfx::TSize picture) const
{
  const int32_t picW = picture.Width;
  const int32_t picH = picture.Height;
  if (Proportional && picW > 0 && picH > 0 && (Stretch || Room.Width < picW || Room.Height < picH)) {
    if (double(Room.Height) / picH > double(Room.Width) / picW)
      return {Room.Width, gfx::MulDiv(picH, Room.Width, picW)};
    return {gfx::MulDiv(picW, Room.Height, picH), Room.Height};
  }
  if (Stretch)
    return Room;
  return picture;
}

} // namespace transition
