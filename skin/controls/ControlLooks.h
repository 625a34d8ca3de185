#pragma once
// The arithmetic of skinned control faces: which frame of a strip shows for
// a control's state, where a caption block and its focus rectangle go, where
// a check box's box and a group box's line stand. No platform header, so the
// rules are tested natively; the companions feed them what the window says.
#include "gfx/Geometry.h"

#include <cstdint>
#include <string>
#include <vector>

namespace skin {

// The look of a push button; the frame of the "Buttons" strip (1-based).
struct TButtonLook {
  bool Pressed = false;
  bool Hot = false;
  bool FocusedOrDefault = false;
  bool Disabled = false;
};
[[nodiscard]] int32_t ButtonFrame(const TButtonLook& look);

// A caption may be split over two lines: the first "||" becomes CR LF.
[[nodiscard]] std::wstring SplitCaption(std::wstring caption);

// Where a measured caption block of blockSize goes in a face of faceSize:
// centred, one pixel above the exact middle.
[[nodiscard]] gfx::TPoint CaptionBlockOrigin(gfx::TPoint faceSize, gfx::TPoint blockSize);

// How text is aligned for a focus rectangle around it.
enum TTextAlign : uint8_t { tlLeft, tlCenter, tlRight };

// The focus rectangle around text measured as measured (placed at area's
// top-left) inside area: moved as the alignment places the text, inflated by
// 2 across and 1 down, and clipped to area.
[[nodiscard]] gfx::TRect FocusRectAround(const gfx::TRect& area, const gfx::TRect& measured, TTextAlign align);

// The check state a check box or radio button shows.
struct TCheckLook {
  bool Checked = false;
  bool Indeterminate = false;
  bool Disabled = false;
};
// The frame of a check strip of stripFrames frames: four frames (unchecked,
// checked, unchecked disabled, checked disabled and indeterminate), or the
// twelve-frame layout (normal, hot, pressed, disabled for each of unchecked,
// checked and indeterminate).
[[nodiscard]] int32_t CheckBoxFrame(const TCheckLook& look, int32_t stripFrames);
// The same for a radio strip of two or four frames, or of eight.
[[nodiscard]] int32_t RadioButtonFrame(const TCheckLook& look, int32_t stripFrames);

// Where the box of a check box or radio button stands in the control's
// rectangle, and where its caption may go.
struct TCheckLayout {
  gfx::TRect Box;
  gfx::TRect Caption;
  bool RightAligned = false;
};
// boxSize: one frame of the strip. leftText: the box stands at the right
// (radio buttons one pixel in from the edge).
[[nodiscard]] TCheckLayout LayoutCheck(const gfx::TRect& rect, gfx::TPoint boxSize, bool leftText, bool radio);

// The y of a group box's top line for a caption font whose "0" is
// textHeight high.
[[nodiscard]] int32_t GroupBoxLineTop(int32_t textHeight);

// The rectangles status panels are painted in: each part as the bar reports
// it, widened by 2 to the right so that neighbouring edges meet, the last
// reaching the bar's right edge. Parts without a rectangle stay empty.
[[nodiscard]] std::vector<gfx::TRect> StatusPanelRects(const std::vector<gfx::TRect>& parts, int32_t barWidth);
// The frame of "StatusBarEdges" for a panel's bevel: 1 lowered, 2 raised, 3 none.
[[nodiscard]] int32_t StatusEdgeFrame(uint8_t bevel);
// The top of a text block of textHeight in a panel: one pixel above centre.
[[nodiscard]] int32_t StatusTextTop(const gfx::TRect& panel, int32_t textHeight);

// How much of a progress bar of width is filled at position within
// [low, high]: the plain style measures from low, the chunked style from 0.
// Nothing is filled unless high and position are above 0.
[[nodiscard]] int32_t ProgressFilledWidth(bool chunked, int32_t width, int32_t position, int32_t low, int32_t high);

} // namespace skin
