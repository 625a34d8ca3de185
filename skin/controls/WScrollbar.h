#pragma once
// TWScrollbar: a small window laid exactly over one scroll bar of a control
// and painted from the skin. It takes the scrolling away from nobody: a press
// on it is handed back to the control as a press on the control's own bar,
// so the system's scroll loop moves the control as it always does, and the
// overlay only redraws from the control's scroll state.
//
// An overlay covers the horizontal or the vertical bar of a window, or the
// whole of a scroll-bar control.
#include <windows.h>

#include "framework/win32/Controls.h"
#include "skin/controls/ScrollBarGeometry.h"
#include "skin/controls/ScrollBarInfo.h"

namespace skin {

class TSkinData;

enum TOverlayKind : uint8_t { okHorizontal = 0, okVertical = 1, okControl = 2 };

class TWScrollbar final : public framework::TCustomControl, private framework::THandleListener {
public:
  // Made hidden, as a child of the target's parent in colour; Reposition
  // lays it over the bar. control is the target's framework control, when
  // it has one: the overlay's window goes with the control's.
  TWScrollbar(TSkinData& data, HWND target, TOverlayKind kind, gfx::TColor colour,
              framework::TWinControl* control = nullptr);
  ~TWScrollbar() override;

  static const framework::TClassInfo& ClassType();
  [[nodiscard]] const framework::TClassInfo& ClassInfo() const override { return ClassType(); }

  // Lays the overlay over the bar, just above the target in Z order, or
  // hides it when the target or its bar is not showing.
  void Reposition();
  void HideOverlay();
  // The part a scroll message names (its code), shown hot or pressed.
  void SetActivePart(int32_t part);

  [[nodiscard]] TOverlayKind Kind() const { return kind_; }
  [[nodiscard]] bool Shown() const { return shown_; }
  [[nodiscard]] bool IsVertical() const { return vertical_; }
  // The bar's rectangle in the target's client coordinates, as last laid.
  [[nodiscard]] const RECT& BarRect() const { return barRect_; }
  [[nodiscard]] TScrollPart ActivePart() const { return active_; }

  void WndProc(framework::TMessage& message) override;

protected:
  void CreateParams(framework::TCreateParams& params) override;
  void PaintWindow(HDC dc) override;

private:
  void HandleDestroying(framework::TWinControl* control, HWND window) override;
  void HandleCreated(framework::TWinControl*, HWND) override {}

  // What the system says of the bar now; false when it cannot say.
  [[nodiscard]] bool ReadBar(win32::TScrollBarFacts& facts) const;
  // A scroll-bar control's thumb from its window's scroll state, and from
  // its own published properties at a press.
  [[nodiscard]] TThumb ControlThumbNow(int32_t length) const;
  [[nodiscard]] TThumb ControlThumbFromProperties(int32_t length) const;
  [[nodiscard]] int32_t LengthOf(const RECT& bar) const;
  [[nodiscard]] int32_t Along(LPARAM position) const;
  [[nodiscard]] TBarLook LookOf(const win32::TScrollBarFacts& facts) const;

  void Hover(LPARAM position);
  void Leave();
  void Press(LPARAM position);
  void Release(LPARAM position);
  [[nodiscard]] LPARAM ToTarget(LPARAM position) const;

  TSkinData& data_;
  HWND target_;
  framework::TWinControl* control_;
  TOverlayKind kind_;
  bool vertical_;
  int32_t arrow_;
  int32_t length_ = 0;
  RECT barRect_{};
  // The bar's top-left on screen, the cursor and the thumb at the last press.
  POINT barOrigin_{};
  POINT cursorAtPress_{};
  TThumb thumbAtPress_;
  TScrollPart active_ = spNone;
  bool shown_ = false;
  bool pressed_ = false;
};

} // namespace skin
