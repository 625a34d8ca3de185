#pragma once
// The arithmetic of a skinned frame, apart from any window: how thick the
// borders are, where the client area goes, how big the window becomes around
// a client area, how a hit test is revised, and where the title sits in the
// caption band. The window frame feeds it what it reads from the window.
#include "gfx/Geometry.h"
#include "skin/frame/FrameKinds.h"

#include <cstdint>
#include <string>

namespace skin {

class TSkinData;
class TDataSkinTitle;

struct TBorderMetrics {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
  friend constexpr bool operator==(const TBorderMetrics&, const TBorderMetrics&) = default;
};

// The border sizes of the skin: side borders keep their frames side by side,
// top and bottom stack theirs. A window without a caption keeps the system
// frame and gets none.
[[nodiscard]] TBorderMetrics BorderMetricsOf(const TSkinData& data, TFrameBorderKind kind);

// The client area inside a window placed at window (screen or parent
// coordinates), with a menu band of menuHeight under the caption.
[[nodiscard]] gfx::TRect SkinnedClientRect(const gfx::TRect& window, const TBorderMetrics& borders,
                                           int32_t menuHeight);

// The window size that keeps a client area of clientSize.
[[nodiscard]] gfx::TPoint SkinnedWindowSize(gfx::TPoint clientSize, const TBorderMetrics& borders, int32_t menuHeight);

// Hit-test codes as the frame revises them.
inline constexpr int32_t kHitNowhere = 0;
inline constexpr int32_t kHitCaption = 2;
inline constexpr int32_t kHitMenu = 5;

// The system answers nowhere (or caption) over parts of the skinned band that
// it does not know; those become caption from 3 pixels down (the top rows
// stay for sizing), and menu below the caption when a menu bar is there.
[[nodiscard]] int32_t ReviseHitTest(int32_t systemResult, gfx::TPoint windowPoint, int32_t topHeight, bool hasMenuBar);

// What the title layout needs to know about the window.
struct TTitleSituation {
  int32_t BandWidth = 0;
  int32_t BandHeight = 0;
  gfx::TPoint TextSize;
  bool Popup = false;
  bool DialogKind = false;
  bool RightToLeft = false;
  // The largest XCoord of the visible buttons aligned to the right edge.
  int32_t RightButtonsReach = 0;
};

struct TTitleLayout {
  // Where the text background goes (the band's height), and the text inside.
  gfx::TRect Rect;
  gfx::TRect TextRect;
};

[[nodiscard]] TTitleLayout LayoutTitle(const TDataSkinTitle& title, const TTitleSituation& situation);

// The caption shown for a window text: one space before, two after.
[[nodiscard]] std::wstring CaptionText(const std::wstring& windowText);

// A message box or common dialog whose caption does not fit is widened:
// the width it needs (0 when it fits).
[[nodiscard]] int32_t DialogWidthForCaption(const TDataSkinTitle& title, int32_t captionTextWidth, int32_t width);

} // namespace skin
