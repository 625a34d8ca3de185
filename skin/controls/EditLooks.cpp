#include "skin/controls/EditLooks.h"

#include <algorithm>

namespace skin {

namespace {

// Window style bits, as the system numbers them.
constexpr uint32_t kChild = 0x40000000;
constexpr uint32_t kPopup = 0x80000000;
constexpr uint32_t kComboTypeMask = 0x3;
constexpr uint32_t kSimpleCombo = 0x1;
constexpr uint32_t kDropDownBit = 0x2;

// How far an embedded up-down keeps from its edit's window edges.
constexpr int32_t kEmbeddedInset = 3;

} // namespace

TPartLook ComboLook(bool disabled, bool pressed, bool hotOrFocused)
{
  if (disabled)
    return plDisabled;
  if (pressed)
    return plPressed;
  return hotOrFocused ? plHot : plNormal;
}

int32_t MirroredFrame(int32_t frame, int32_t frames) { return std::max(frames, 1) + 1 - frame; }

gfx::TRect CentredIn(const gfx::TRect& area, int32_t width, int32_t height)
{
  return gfx::TRect::Bounds(area.Left + (area.Width() - width) / 2, area.Top + (area.Height() - height) / 2, width,
                            height);
}

gfx::TRect Deflated(const gfx::TRect& rect, int32_t by)
{
  return {rect.Left + by, rect.Top + by, rect.Right - by, rect.Bottom - by};
}

// ----- Combo boxes --------------------------------------------------------------------

gfx::TRect FlatComboColumn(const gfx::TRect& rect, int32_t thumbWidth, bool leftButton)
{
  const gfx::TRect inside = Deflated(rect, 2);
  if (leftButton)
    return {inside.Left, inside.Top, inside.Left + thumbWidth, inside.Bottom};
  return {inside.Right - thumbWidth, inside.Top, inside.Right, inside.Bottom};
}

gfx::TRect FlatComboButton(const gfx::TRect& systemButton, int32_t frameWidth, int32_t imageHeight, bool leftButton)
{
  // Held against the control's outer edge, so that a frame wider than the
  // system's button covers the text side rather than the border.
  const int32_t left = leftButton ? systemButton.Left : systemButton.Right - frameWidth;
  return gfx::TRect::Bounds(left, systemButton.Top, frameWidth, std::min(systemButton.Height(), imageHeight));
}

TSunkComboLayout SunkComboLayout(int32_t width, int32_t height, int32_t arrow, bool leftButton)
{
  if (leftButton)
    return {{arrow + 4, 2, width - 2, height - 2}, {0, 0, arrow + 2, height}, {2, 0, arrow + 2, height}};
  return {{2, 2, width - arrow - 4, height - 2}, {width - arrow - 2, 0, width, height},
          {width - arrow - 2, 0, width - 2, height}};
}

TComboListBar ComboListBar(uint32_t comboStyle, uint32_t listStyle, bool listParentIsDesktop)
{
  if ((comboStyle & kComboTypeMask) == kSimpleCombo) {
    const bool childList = (listStyle & kChild) && !(listStyle & kPopup) && !listParentIsDesktop;
    return childList ? clbSimpleList : clbNone;
  }
  return (comboStyle & kDropDownBit) ? clbDropDownList : clbNone;
}

// ----- Up-down controls -----------------------------------------------------------------

std::array<TSpinHalf, 2> SpinHalves(const gfx::TRect& rect, bool horizontal)
{
  if (horizontal) {
    const int32_t split = rect.Left + rect.Width() / 2;
    return {{{{rect.Left, rect.Top, split, rect.Bottom}, sdLeft}, {{split, rect.Top, rect.Right, rect.Bottom}, sdRight}}};
  }
  const int32_t split = rect.Top + rect.Height() / 2;
  return {{{{rect.Left, rect.Top, rect.Right, split}, sdUp}, {{rect.Left, split, rect.Right, rect.Bottom}, sdDown}}};
}

TPartLook SpinHalfLook(bool cursorOver, bool pressed, bool hot, bool disabled)
{
  if (disabled)
    return plDisabled;
  if (!cursorOver)
    return plNormal;
  if (pressed)
    return plPressed;
  return hot ? plHot : plNormal;
}

int32_t SpinFrame(TPartLook look, TSpinDirection direction) { return int32_t(look) + 4 * (int32_t(direction) % 2); }

gfx::TRect EmbeddedSpinRect(const gfx::TRect& rect, const gfx::TRect& inEdit, gfx::TSize editSize)
{
  const int32_t top = std::max(0, kEmbeddedInset - inEdit.Top);
  const int32_t right = std::max(0, inEdit.Right - (editSize.Width - kEmbeddedInset));
  const int32_t bottom = std::max(0, inEdit.Bottom - (editSize.Height - kEmbeddedInset));
  return {rect.Left, rect.Top + top, rect.Right - right, rect.Bottom - bottom};
}

std::vector<TLine> SpinArrowLines(const gfx::TRect& half, TSpinDirection direction)
{
  const int32_t cx = half.Left + half.Width() / 2;
  const int32_t cy = half.Top + half.Height() / 2;
  std::vector<TLine> lines;
  for (int32_t i = 0; i < 3; ++i) {
    // The tip is the line of reach 0, the base the line of reach 2.
    const bool tipFirst = direction == sdUp || direction == sdLeft;
    const int32_t reach = tipFirst ? i : 2 - i;
    if (direction == sdUp || direction == sdDown) {
      const int32_t y = cy - 2 + i;
      lines.push_back({{cx - reach, y}, {cx + reach + 1, y}});
    } else {
      const int32_t x = cx - 1 + i;
      lines.push_back({{x, cy - reach}, {x, cy + reach + 1}});
    }
  }
  return lines;
}

// ----- Date pickers and edits -------------------------------------------------------------

gfx::TRect PickerArrowBounds(gfx::TSize pickerSize, int32_t arrow, bool leftButton)
{
  const int32_t left = leftButton ? 2 : pickerSize.Width - arrow - 4;
  return gfx::TRect::Bounds(left, 0, arrow, pickerSize.Height - 4);
}

bool HasBorder(gfx::TSize clientSize, gfx::TSize windowSize, int32_t slack)
{
  return clientSize.Width + slack < windowSize.Width && clientSize.Height + slack < windowSize.Height;
}

} // namespace skin
