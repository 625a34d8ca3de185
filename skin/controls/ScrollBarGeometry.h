#pragma once
// The arithmetic of a skinned scroll bar, apart from any window: where the
// thumb of a scroll-bar control stands for its range, page and position, what
// part of a bar a point is over, where a dragged thumb goes, how thick the
// bar is drawn, and which frame of which strip each piece of it shows. The
// overlays feed it what the window and the skin say.
//
// Positions along the bar are counted from its start (left or top), in
// pixels; L is the bar's length and A the system's arrow size.
#include "gfx/Geometry.h"

#include <cstdint>
#include <optional>

namespace skin {

// The parts of a bar, numbered as the system's scroll codes (line up and
// down, page up and down, thumb tracking), so that the low word of a scroll
// message names the part it came from.
enum TScrollPart : int32_t {
  spNone = -1,
  spFirstArrow = 0,
  spSecondArrow = 1,
  spPageBefore = 2,
  spPageAfter = 3,
  spThumb = 5,
};

// A range, a page and a position, as the window keeps them for its bar or as
// a scroll-bar control publishes them.
struct TScrollState {
  int32_t Min = 0;
  int32_t Max = 0;
  int32_t Page = 0;
  int32_t Pos = 0;
};

struct TThumb {
  int32_t Start = 0;
  int32_t End = 0;
  [[nodiscard]] constexpr int32_t Length() const { return End - Start; }
  friend constexpr bool operator==(const TThumb&, const TThumb&) = default;
};

// The shortest thumb drawn for a page: a computed one of 7 pixels or less
// becomes this long.
inline constexpr int32_t kMinimumThumb = 8;
// The range assumed for an empty one (Max = Min), so that the thumb stays at
// the first arrow's end.
inline constexpr int32_t kEmptyRange = 9999999;

// The thumb of a scroll-bar control from the window's scroll state. With a
// page the thumb is as long as the page's share of the track, at least
// kMinimumThumb; without, it is a square of the arrow's size.
[[nodiscard]] TThumb ControlThumb(const TScrollState& state, int32_t length, int32_t arrow);
// The thumb at the press of a button, from the control's own properties:
// the same shares, without the minimum and without the empty-range rule.
[[nodiscard]] TThumb ControlThumbAtPress(const TScrollState& properties, int32_t length, int32_t arrow);

// The part under a point `along` the bar.
[[nodiscard]] TScrollPart HitTestBar(int32_t along, int32_t length, int32_t arrow, const TThumb& thumb);

// Where a thumb pressed at pressed goes when the cursor has moved by
// `moved` along the bar: it keeps its length and stays between the arrows.
[[nodiscard]] TThumb DraggedThumb(const TThumb& pressed, int32_t moved, int32_t length, int32_t arrow);

// The position a list scrolls to while its thumb, thumb pixels long, is
// dragged offset pixels from the start of the track (the bar less its
// arrows, track pixels long): in proportion over the range the page leaves,
// never outside the places the list can take.
[[nodiscard]] int32_t DraggedPosition(int32_t offset, const TScrollState& state, int32_t track, int32_t thumb);

// The thickness a bar is drawn with: the height of the skin's arrow strip,
// unless it is more than 2 pixels off the system's arrow size.
[[nodiscard]] int32_t BarThickness(int32_t stripHeight, int32_t arrow);

// Everything a painted bar depends on.
struct TBarLook {
  bool Vertical = false;
  int32_t Length = 0;
  int32_t Arrow = 0;
  // The height of the skin's arrow strip (one frame of "Scrollbar").
  int32_t StripHeight = 0;
  TThumb Thumb;
  TScrollPart Active = spNone;
  bool Pressed = false;
  bool Enabled = true;
};

// One piece of a painted bar: where it goes in the bar's bitmap (along the
// bar is x for a horizontal bar, y for a vertical one) and the 1-based frame
// it shows.
struct TBarPiece {
  gfx::TRect Rect;
  int32_t Frame = 0;
  friend constexpr bool operator==(const TBarPiece&, const TBarPiece&) = default;
};

// The pieces of a painted bar: the two arrows from the arrow strip, the
// track from the track element, the thumb from the thumb element and its
// grip from the arrow strip again. A piece that is not drawn is absent.
struct TBarLayout {
  int32_t Thickness = 0;
  TBarPiece FirstArrow;
  TBarPiece SecondArrow;
  std::optional<TBarPiece> Track;
  std::optional<TBarPiece> Thumb;
  std::optional<TBarPiece> Grip;
};

[[nodiscard]] TBarLayout LayoutBar(const TBarLook& look);

} // namespace skin
