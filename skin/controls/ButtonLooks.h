#pragma once
// The arithmetic of skinned glyph buttons: which frame of the "Buttons"
// strip and which glyph part a bitmap button or a speed button shows, and
// where a drop-down button puts its caption and its arrow. No platform
// header, so the rules are tested natively.
#include "framework/ButtonLayout.h"
#include "gfx/Geometry.h"
#include "skin/controls/ControlLooks.h"

#include <array>
#include <cstdint>

namespace skin {

// What a button's face shows.
struct TButtonFace {
  int32_t Frame = 1;                       // of the "Buttons" strip
  int32_t GlyphPart = framework::gpUp;     // a framework::TGlyphPartNumber
  bool DrawElement = true;                 // false: only the background shows
  friend bool operator==(const TButtonFace&, const TButtonFace&) = default;
};

// A push or bitmap button: the push button's frame; the pressed glyph part
// while pressed, the disabled part while disabled.
[[nodiscard]] TButtonFace PushButtonFace(const TButtonLook& look);

struct TSpeedButtonLook {
  bool Down = false;
  bool Disabled = false;
  bool Pressed = false;
  bool Hot = false;
  bool Flat = false;
};
// A speed button: down outranks everything, disabled the rest; a flat one
// shows its face only while pressed, hot or down.
[[nodiscard]] TButtonFace SpeedButtonFace(const TSpeedButtonLook& look);

// A drop-down button: glyph at the left, the caption, and an arrow after it.
struct TDropDownPlaces {
  framework::TGlyphButtonPlaces Places;
  // The filled triangle, pointing down.
  std::array<gfx::TPoint, 3> Arrow;
};
// With Margin and Spacing both -1 the free room is shared four ways
// (margin, caption, twice the spacing up to the arrow). The arrow stands at
// the caption's right edge plus twice the spacing, on the vertical centre.
[[nodiscard]] TDropDownPlaces PlaceDropDown(framework::TGlyphButtonGeometry geometry, gfx::TPoint textSize);

} // namespace skin
