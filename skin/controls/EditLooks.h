#pragma once
// The arithmetic of the skinned edit-like controls: which frame a combo box's
// button and an up-down's half show, where a combo box's button, its glyph
// and the column beside its text go in each paint style, the up-down's halves
// and its line-drawn arrows, the date picker's arrow button, and whether an
// edit has a border to skin. No platform header, so the rules are tested
// natively; the companions feed them what the windows say.
#include "gfx/Geometry.h"

#include <array>
#include <cstdint>
#include <vector>

namespace skin {

// The looks of a combo box's button and of an up-down's half, numbered as the
// frames of a four-frame group of their strips.
enum TPartLook : int32_t { plNormal = 1, plPressed = 2, plDisabled = 3, plHot = 4 };

// Disabled overrides everything, then pressed, then hot or focused.
[[nodiscard]] TPartLook ComboLook(bool disabled, bool pressed, bool hotOrFocused);

// The skin keeps mirrored copies of strips for left-hand buttons; mirroring
// a strip reverses the order of its frames as well.
[[nodiscard]] int32_t MirroredFrame(int32_t frame, int32_t frames);

// A size centred in an area (a glyph at its natural size); a size larger
// than the area sticks out on both sides.
[[nodiscard]] gfx::TRect CentredIn(const gfx::TRect& area, int32_t width, int32_t height);

// A rectangle moved in by by on every side.
[[nodiscard]] gfx::TRect Deflated(const gfx::TRect& rect, int32_t by);

// ----- Combo boxes -----

// The flat style's column beside the text: thumbWidth wide just inside the
// control's two border rings, at the right, or at the left for a left-hand
// button.
[[nodiscard]] gfx::TRect FlatComboColumn(const gfx::TRect& rect, int32_t thumbWidth, bool leftButton);

// The flat style's button: at the system's button rectangle, one frame of
// the image wide and at most the image's height high, against the button
// rectangle's outer side (its right, or its left for a left-hand button).
[[nodiscard]] gfx::TRect FlatComboButton(const gfx::TRect& systemButton, int32_t frameWidth, int32_t imageHeight,
                                         bool leftButton);

// The sunken style in a control width x height whose arrow is arrow wide.
struct TSunkComboLayout {
  // Left out of the clip while the sunken edge is drawn: the system's text.
  gfx::TRect Text;
  // One frame of the button image; also where the button is hot.
  gfx::TRect Button;
  // Where the arrow glyph is centred.
  gfx::TRect Glyph;
};
[[nodiscard]] TSunkComboLayout SunkComboLayout(int32_t width, int32_t height, int32_t arrow, bool leftButton);

// Which skinned scroll bar a combo box's list gets.
enum TComboListBar : uint8_t {
  clbNone,
  // The drop-down list: its bar is painted in the list's own frame.
  clbDropDownList,
  // The list of a simple combo box, a child window that scrolls as any list.
  clbSimpleList,
};

// From the combo's style and its list's: a drop-down combo's list (the
// drop-down bit, 2) gets its bar painted; a simple combo's list gets
// overlays when it is a child window (WS_CHILD without WS_POPUP) whose
// parent is not the desktop.
[[nodiscard]] TComboListBar ComboListBar(uint32_t comboStyle, uint32_t listStyle, bool listParentIsDesktop);

// ----- Up-down controls -----

// The direction a half points; the numbers are those of the frame rule
// (frames 1-4 up or left, 5-8 down or right).
enum TSpinDirection : uint8_t { sdUp = 0, sdDown = 1, sdLeft = 2, sdRight = 3 };

struct TSpinHalf {
  gfx::TRect Rect;
  TSpinDirection Direction = sdUp;
};

// Up over down split at height div 2, or left beside right split at width
// div 2.
[[nodiscard]] std::array<TSpinHalf, 2> SpinHalves(const gfx::TRect& rect, bool horizontal);

// A half away from the cursor is normal; under it, pressed, hot or normal;
// disabled overrides everything.
[[nodiscard]] TPartLook SpinHalfLook(bool cursorOver, bool pressed, bool hot, bool disabled);

// The frame (1-8) of the up-down strip for a half's look.
[[nodiscard]] int32_t SpinFrame(TPartLook look, TSpinDirection direction);

// An up-down inside an edit draws at least 3 pixels inside the edit's window
// at the top, right and bottom. rect: the up-down's own rectangle (origin
// 0,0); inEdit: the up-down's window in the edit's window coordinates;
// editSize: the edit's window size. The rectangle is shortened by what is
// missing.
[[nodiscard]] gfx::TRect EmbeddedSpinRect(const gfx::TRect& rect, const gfx::TRect& inEdit, gfx::TSize editSize);

// A 1-pixel line from From up to, not including, To.
struct TLine {
  gfx::TPoint From;
  gfx::TPoint To;
  friend bool operator==(const TLine&, const TLine&) = default;
};

// The small arrow drawn in a half when the skin has no up-down element:
// three lines one to five pixels long, centred across the half; up and down
// arrows start 2 pixels above the half's middle, left and right ones one
// pixel left of it.
[[nodiscard]] std::vector<TLine> SpinArrowLines(const gfx::TRect& half, TSpinDirection direction);

// ----- Date pickers -----

// The arrow button laid over a date picker of pickerSize, in the picker's
// client coordinates: arrow wide, 4 less than the picker high, at the top;
// 2 from the left for a left-hand button, else arrow + 4 from the right edge.
[[nodiscard]] gfx::TRect PickerArrowBounds(gfx::TSize pickerSize, int32_t arrow, bool leftButton);

// ----- Edits -----

// Whether a window of windowSize whose client area is clientSize has a
// border: the client area plus slack is smaller both ways. The border ring
// and the printed border use slack 0 and 2.
[[nodiscard]] bool HasBorder(gfx::TSize clientSize, gfx::TSize windowSize, int32_t slack = 0);

} // namespace skin
