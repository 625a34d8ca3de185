#include "skin/controls/ControlLooks.h"

#include "gfx/Numeric.h"

#include <algorithm>

namespace skin {

int32_t ButtonFrame(const TButtonLook& look)
{
  if (look.Disabled)
    return 3;
  if (look.Pressed)
    return 2;
  if (look.Hot)
    return 4;
  if (look.FocusedOrDefault)
    return 5;
  return 1;
}

std::wstring SplitCaption(std::wstring caption)
{
  const size_t at = caption.find(L"||");
  if (at != std::wstring::npos)
    caption.replace(at, 2, L"\r\n");
  return caption;
}

gfx::TPoint CaptionBlockOrigin(gfx::TPoint faceSize, gfx::TPoint blockSize)
{
  return {(faceSize.X - blockSize.X) / 2, (faceSize.Y - blockSize.Y) / 2 - 1};
}

gfx::TRect FocusRectAround(const gfx::TRect& area, const gfx::TRect& measured, TTextAlign align)
{
  gfx::TRect t = gfx::TRect::Bounds(area.Left, area.Top, measured.Width(), measured.Height());
  if (align == tlCenter)
    t = t.Translated((area.Width() - t.Width()) / 2, (area.Height() - t.Height()) / 2 - 1);
  else if (align == tlRight)
    t = t.Translated(area.Width() - t.Width(), 0);
  const gfx::TRect inflated{t.Left - 2, t.Top - 1, t.Right + 2, t.Bottom + 1};
  return inflated.Intersected(area);
}

namespace {

// The twelve- and eight-frame strips keep a normal, hot, pressed and
// disabled frame for each state; the four-frame numbers map onto them.
int32_t LongStripFrame(int32_t shortFrame)
{
  switch (shortFrame) {
  case 2: return 5;
  case 3: return 4;
  case 4: return 8;
  default: return shortFrame;
  }
}

int32_t ShortFrame(const TCheckLook& look) { return (look.Checked ? 2 : 1) + (look.Disabled ? 2 : 0); }

} // namespace

int32_t CheckBoxFrame(const TCheckLook& look, int32_t stripFrames)
{
  if (stripFrames == 12) {
    if (look.Indeterminate)
      return look.Disabled ? 12 : 9;
    return LongStripFrame(ShortFrame(look));
  }
  return look.Indeterminate ? 4 : ShortFrame(look);
}

int32_t RadioButtonFrame(const TCheckLook& look, int32_t stripFrames)
{
  const int32_t frame = ShortFrame(look);
  return stripFrames == 8 ? LongStripFrame(frame) : frame;
}

TCheckLayout LayoutCheck(const gfx::TRect& rect, gfx::TPoint boxSize, bool leftText, bool radio)
{
  constexpr int32_t kGap = 2;
  TCheckLayout layout;
  const int32_t top = rect.Top + (rect.Height() - boxSize.Y) / 2;
  if (leftText) {
    const int32_t right = rect.Right - (radio ? 1 : 0);
    layout.Box = {right - boxSize.X, top, right, top + boxSize.Y};
    layout.Caption = {rect.Left, rect.Top, layout.Box.Left - kGap, rect.Bottom};
    layout.RightAligned = true;
  } else {
    layout.Box = {rect.Left, top, rect.Left + boxSize.X, top + boxSize.Y};
    layout.Caption = {layout.Box.Right + kGap, rect.Top, rect.Right, rect.Bottom};
  }
  return layout;
}

int32_t GroupBoxLineTop(int32_t textHeight) { return textHeight / 2 - 1; }

std::vector<gfx::TRect> StatusPanelRects(const std::vector<gfx::TRect>& parts, int32_t barWidth)
{
  std::vector<gfx::TRect> panels;
  panels.reserve(parts.size());
  for (size_t i = 0; i < parts.size(); ++i) {
    gfx::TRect panel = parts[i];
    if (!panel.IsEmpty())
      panel.Right = i + 1 == parts.size() ? barWidth : panel.Right + 2;
    panels.push_back(panel);
  }
  return panels;
}

int32_t StatusEdgeFrame(uint8_t bevel)
{
  constexpr int32_t frames[] = {3, 1, 2}; // none, lowered, raised
  return bevel < 3 ? frames[bevel] : 1;
}

int32_t StatusTextTop(const gfx::TRect& panel, int32_t textHeight)
{
  return panel.Top + (panel.Height() - textHeight) / 2 - 1;
}

int32_t ProgressFilledWidth(bool chunked, int32_t width, int32_t position, int32_t low, int32_t high)
{
  if (high <= 0 || position <= 0)
    return 0;
  if (chunked)
    return gfx::MulDiv(width, position, high);
  return high == low ? width : gfx::MulDiv(width, position - low, high - low);
}

} // namespace skin
