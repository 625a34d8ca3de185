#pragma once
// How the display component lays a picture out, as plain values: the room it
// has and its options. Kept apart from the component so that whoever prepares
// a picture for it, on any thread, can ask how large it will be shown.
#include "gfx/Geometry.h"

namespace transition {

struct TPictureLayout {
  gfx::TSize Room; // the client area less the frame on every side
  bool Stretch = false;
  bool Proportional = false;

  // The size a picture of the given size is shown at. With Proportional alone
  // a picture is only ever shrunk to fit; with Stretch as well it is also
  // enlarged; Stretch alone fills the room; neither leaves it at its own size.
  [[nodiscard]] gfx::TSize ShownSize(gfx::TSize picture) const;
};

} // namespace transition
