#include "skin/controls/ScrollBarGeometry.h"

#include <algorithm>
#include <cstdlib>

#include "gfx/Numeric.h"

namespace skin {

namespace {

// Frames of the "Scrollbar" strip: four per arrow (rest, pressed at +1, hot
// at +3), then three per grip (rest, pressed at +1, hot at +2).
constexpr int32_t kLeftArrowFrame = 1;
constexpr int32_t kRightArrowFrame = 5;
constexpr int32_t kUpArrowFrame = 9;
constexpr int32_t kDownArrowFrame = 13;
constexpr int32_t kHorizontalGripFrame = 17;
constexpr int32_t kVerticalGripFrame = 20;
// Frames of the track element (enabled, disabled) and of the thumb element
// (rest, pressed, hot).
constexpr int32_t kTrackFrame = 1;
constexpr int32_t kDisabledTrackFrame = 3;
constexpr int32_t kThumbFrame = 1;
constexpr int32_t kPressedThumbFrame = 2;
constexpr int32_t kHotThumbFrame = 3;
// A strip this much thinner or thicker than the arrows is not used for the
// thickness.
constexpr int32_t kThicknessTolerance = 2;

// The difference of two scroll values in 32 bits, as the window's fields
// hold them: a range wider than 2^31 wraps.
int32_t Span(int32_t from, int32_t to) { return int32_t(uint32_t(to) - uint32_t(from)); }

// The thumb's start: the first arrow's end at the start of the range, else
// as far along the travel as the position is along the range.
int32_t ThumbStart(const TScrollState& state, int32_t arrow, int32_t travel, int32_t range)
{
  if (state.Pos == state.Min)
    return arrow;
  return arrow + gfx::MulDiv(travel, Span(state.Min, state.Pos), range);
}

TThumb Placed(int32_t start, int32_t length) { return {start, start + length}; }

} // namespace

TThumb ControlThumb(const TScrollState& state, int32_t length, int32_t arrow)
{
  const int32_t range = state.Max == state.Min ? kEmptyRange : Span(state.Min, state.Max);
  const int32_t track = length - 2 * arrow;
  if (state.Page <= 0)
    return Placed(ThumbStart(state, arrow, length - 3 * arrow, range), arrow);
  const int32_t thumb = gfx::MulDiv(track, state.Page - 1, range);
  if (thumb >= kMinimumThumb)
    return Placed(ThumbStart(state, arrow, track, range), thumb);
  return Placed(ThumbStart(state, arrow, track - kMinimumThumb, range), kMinimumThumb);
}

TThumb ControlThumbAtPress(const TScrollState& properties, int32_t length, int32_t arrow)
{
  const int32_t range = Span(properties.Min, properties.Max);
  const int32_t track = length - 2 * arrow;
  if (properties.Page <= 0)
    return Placed(ThumbStart(properties, arrow, length - 3 * arrow, range), arrow);
  return Placed(ThumbStart(properties, arrow, track, range), gfx::MulDiv(track, properties.Page - 1, range));
}

TScrollPart HitTestBar(int32_t along, int32_t length, int32_t arrow, const TThumb& thumb)
{
  if (along < arrow)
    return spFirstArrow;
  if (along < thumb.Start)
    return spPageBefore;
  if (along < thumb.End)
    return spThumb;
  if (along < length - arrow)
    return spPageAfter;
  return spSecondArrow;
}

TThumb DraggedThumb(const TThumb& pressed, int32_t moved, int32_t length, int32_t arrow)
{
  const int32_t thumb = pressed.Length();
  // Where the bar is too short for the thumb, it stays at the first arrow.
  const int32_t start = std::max(arrow, std::min(pressed.Start + moved, length - arrow - thumb));
  return Placed(start, thumb);
}

int32_t DraggedPosition(int32_t offset, const TScrollState& state, int32_t track, int32_t thumb)
{
  offset = std::max(offset, 0);
  const int32_t travel = track - thumb;
  int32_t position = 0;
  if (state.Page > 0) {
    offset = std::min(offset, travel + 1);
    position = state.Min + gfx::MulDiv(offset, Span(state.Min, state.Max) - state.Page, travel);
    position = std::min(position, state.Max - state.Page + 1);
  } else {
    position = state.Min + gfx::MulDiv(std::min(offset, travel), Span(state.Min, state.Max), track);
    position = std::min(position, state.Max);
  }
  // A thumb that fills the track has nowhere to go: the division fails and
  // the list stays at its start.
  return std::max(position, state.Min);
}

int32_t BarThickness(int32_t stripHeight, int32_t arrow)
{
  return std::abs(stripHeight - arrow) > kThicknessTolerance ? arrow : stripHeight;
}

TBarLayout LayoutBar(const TBarLook& look)
{
  TBarLayout layout;
  layout.Thickness = BarThickness(look.StripHeight, look.Arrow);
  const int32_t length = look.Length;
  const auto along = [&](int32_t from, int32_t to) {
    return look.Vertical ? gfx::TRect(0, from, layout.Thickness, to) : gfx::TRect(from, 0, to, layout.Thickness);
  };
  const auto arrowFrame = [&](int32_t rest, TScrollPart part) {
    return look.Active == part ? rest + (look.Pressed ? 1 : 3) : rest;
  };

  // A bar shorter than its two arrows is all arrows, each half of it.
  const int32_t arrow = length < 2 * look.Arrow ? length / 2 : look.Arrow;
  layout.FirstArrow = {along(0, arrow), arrowFrame(look.Vertical ? kUpArrowFrame : kLeftArrowFrame, spFirstArrow)};
  layout.SecondArrow = {along(length - arrow, length),
                        arrowFrame(look.Vertical ? kDownArrowFrame : kRightArrowFrame, spSecondArrow)};

  if (length - 2 * look.Arrow > 0)
    layout.Track = TBarPiece{along(look.Arrow, length - look.Arrow), look.Enabled ? kTrackFrame : kDisabledTrackFrame};

  const TThumb& thumb = look.Thumb;
  const bool inside = thumb.Start >= 0 && thumb.End <= length && thumb.Length() > 0;
  if (!look.Enabled || !inside)
    return layout;
  const bool active = look.Active == spThumb;
  layout.Thumb = TBarPiece{along(thumb.Start, thumb.End),
                           active ? (look.Pressed ? kPressedThumbFrame : kHotThumbFrame) : kThumbFrame};
  if (thumb.Length() > look.StripHeight + 2) {
    const int32_t gripStart = thumb.Start + (thumb.Length() - look.StripHeight) / 2;
    const int32_t rest = look.Vertical ? kVerticalGripFrame : kHorizontalGripFrame;
    layout.Grip = TBarPiece{along(gripStart, gripStart + look.StripHeight),
                            active ? rest + (look.Pressed ? 1 : 2) : rest};
  }
  return layout;
}

} // namespace skin
