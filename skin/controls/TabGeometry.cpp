#include "skin/controls/TabGeometry.h"

#include <algorithm>

namespace skin {

TTabSide TabSideOfStyle(uint32_t style)
{
  constexpr uint32_t kVertical = 0x80;
  constexpr uint32_t kBottomOrRight = 0x2;
  if (style & kVertical)
    return style & kBottomOrRight ? tsideRight : tsideLeft;
  return style & kBottomOrRight ? tsideBottom : tsideTop;
}

gfx::TRect TabPageRect(const gfx::TRect& displayArea, TTabSide side)
{
  gfx::TRect page(displayArea.Left - 4, displayArea.Top - 4, displayArea.Right + 4, displayArea.Bottom + 4);
  switch (side) {
  case tsideTop: ++page.Top; break;
  case tsideBottom: --page.Bottom; break;
  case tsideLeft: ++page.Left; break;
  case tsideRight: --page.Right; break;
  }
  return page;
}

gfx::TRect TabStripRect(const gfx::TRect& window, const gfx::TRect& page, TTabSide side)
{
  switch (side) {
  case tsideTop: return {window.Left, window.Top, window.Right, std::max(window.Top, page.Top)};
  case tsideBottom: return {window.Left, std::min(window.Bottom, page.Bottom), window.Right, window.Bottom};
  case tsideLeft: return {window.Left, window.Top, std::max(window.Left, page.Left), window.Bottom};
  case tsideRight: return {std::min(window.Right, page.Right), window.Top, window.Right, window.Bottom};
  }
  return {};
}

gfx::TPoint TabWorkSize(const gfx::TRect& strip, TTabSide side)
{
  if (side == tsideLeft || side == tsideRight)
    return {strip.Height(), strip.Width()};
  return {strip.Width(), strip.Height()};
}

gfx::TRect TabInWork(const gfx::TRect& tab, TTabSide side, int32_t stripLength, int32_t windowRight,
                     int32_t pageBottom)
{
  switch (side) {
  case tsideTop: return {tab.Left, tab.Top + 1, tab.Right, tab.Bottom + 1};
  case tsideBottom: return {tab.Left, tab.Top - pageBottom - 1, tab.Right, tab.Bottom - pageBottom - 1};
  case tsideLeft: return {stripLength - tab.Bottom, tab.Left, stripLength - tab.Top, tab.Right};
  case tsideRight: return {tab.Top - 1, windowRight - tab.Right, tab.Bottom - 1, windowRight - tab.Left};
  }
  return tab;
}

int32_t TabLabelStart(int32_t alignment, int32_t width, int32_t textWidth, int32_t imageWidth)
{
  int32_t x = 3;
  if (alignment == 1)
    x = (width - textWidth - imageWidth) / 2;
  else if (alignment == 2)
    x = width - textWidth - imageWidth - 2;
  return x < 2 ? 1 : x;
}

gfx::TRect TabCloseBox(const gfx::TRect& tab) { return {tab.Right - 8, tab.Top + 2, tab.Right - 2, tab.Top + 8}; }

} // namespace skin
