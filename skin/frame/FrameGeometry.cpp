#include "skin/frame/FrameGeometry.h"

#include "skin/SkinData.h"

#include <algorithm>
#include <string>

namespace skin {

namespace {

int32_t SideWidth(const TDataSkinObject& border) { return border.Image.Width() / border.FrameCount(); }
int32_t StackHeight(const TDataSkinObject& border) { return border.Image.Height() / border.FrameCount(); }

// Pixels left free above and right of a right-to-left title.
constexpr int32_t kRightToLeftShift = 10;
// Dialogs carry no icon, so their title moves into its place.
constexpr int32_t kDialogTitleShift = 16;
// A pop-up window's title stops this far before its right-hand buttons.
constexpr int32_t kPopupButtonGap = 5;

} // namespace

TBorderMetrics BorderMetricsOf(const TSkinData& data, TFrameBorderKind kind)
{
  if (kind == fbNoCaption)
    return {};
  return {SideWidth(*data.BorderLeft), StackHeight(*data.BorderTop), SideWidth(*data.BorderRight),
          StackHeight(*data.BorderBottom)};
}

gfx::TRect SkinnedClientRect(const gfx::TRect& window, const TBorderMetrics& borders, int32_t menuHeight)
{
  return {window.Left + borders.Left, window.Top + borders.Top + menuHeight, window.Right - borders.Right,
          window.Bottom - borders.Bottom};
}

gfx::TPoint SkinnedWindowSize(gfx::TPoint clientSize, const TBorderMetrics& borders, int32_t menuHeight)
{
  return {clientSize.X + borders.Left + borders.Right, clientSize.Y + borders.Top + borders.Bottom + menuHeight};
}

int32_t ReviseHitTest(int32_t systemResult, gfx::TPoint windowPoint, int32_t topHeight, bool hasMenuBar)
{
  if (systemResult != kHitNowhere && systemResult != kHitCaption)
    return systemResult;
  if (hasMenuBar && windowPoint.Y >= topHeight)
    return kHitMenu;
  if (windowPoint.Y >= 3)
    return kHitCaption;
  return systemResult;
}

TTitleLayout LayoutTitle(const TDataSkinTitle& title, const TTitleSituation& s)
{
  const int32_t textShift = title.LeftWidth;
  const int32_t shiftVert = title.TopHeight;
  const int32_t rightClip = title.RightWidth;
  const int32_t width = s.TextSize.X + title.TXTBackleft + title.TXTBackRight;
  const int32_t buttons = s.RightButtonsReach;
  int32_t left = 0;
  if (!s.RightToLeft) {
    switch (title.TextAlignment) {
    case 1: left = (s.BandWidth - width) / 2; break;
    case 2: left = s.BandWidth - rightClip - width; break;
    default: left = textShift - (s.DialogKind ? kDialogTitleShift : 0); break;
    }
  } else {
    // Mirrored: the text starts against the buttons on the right.
    switch (title.TextAlignment) {
    case 1: left = (s.BandWidth - buttons - width) / 2; break;
    case 2: left = textShift; break;
    default: left = s.BandWidth - buttons - width; break;
    }
    left += kRightToLeftShift;
  }
  const int32_t top = (s.BandHeight - s.TextSize.Y) / 2 + shiftVert / 2;
  int32_t clip = s.BandWidth - rightClip;
  if (s.Popup)
    clip = buttons > kPopupButtonGap ? s.BandWidth - buttons - kPopupButtonGap : s.BandWidth;
  const int32_t right = std::min(left + width, clip);
  TTitleLayout layout;
  layout.Rect = {left, 0, std::max(left, right), s.BandHeight};
  layout.TextRect = {left + title.TXTBackleft, top, std::max(left, right - title.TXTBackRight), top + s.TextSize.Y};
  return layout;
}

std::wstring CaptionText(const std::wstring& windowText) { return L" " + windowText + L"  "; }

int32_t DialogWidthForCaption(const TDataSkinTitle& title, int32_t captionTextWidth, int32_t width)
{
  const int32_t needed = title.LeftWidth + captionTextWidth + title.RightWidth;
  return needed > width ? needed : 0;
}

} // namespace skin
