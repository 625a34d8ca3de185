#pragma once
// TComboxScrollBar: the scroll bar of a drop-down combo box's list. The list
// is a pop-up window of its own, over anything, so no overlay can lie above
// it: the bar is painted straight into the list's non-client area after the
// list has drawn it, and the thumb is dragged by a loop of the companion's
// own, which keeps the system from drawing its thumb over the skin's.
#include "skin/controls/ScrollBarInfo.h"
#include "skin/controls/SkinControl.h"

namespace skin {

class TComboxScrollBar final : public TSkinControl {
public:
  // The combo box tells its list to start tracking the mouse when it drops
  // down; the list redraws its frame then.
  static constexpr UINT kListStartTrack = 0x1AE;

protected:
  bool BeforeMessage(framework::TMessage& message) override;
  void AfterMessage(framework::TMessage& message) override;
  void DrawSkin(HDC dc, const gfx::TRect& rect) override;

private:
  void PaintBar(HDC dc, bool vertical);
  // Drags the thumb of one bar until the button is released, scrolling the
  // list as it goes.
  void TrackThumb(bool vertical, const win32::TScrollBarFacts& bar);
  void SendScroll(bool vertical, WORD code, int32_t position);

  // The bar whose thumb is being dragged (its look is pressed), if any.
  int32_t tracking_ = -1;
};

} // namespace skin
