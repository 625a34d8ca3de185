#pragma once
#include "framework/win32/Controls.h"

namespace framework {

enum TScrollBarKind : uint8_t { sbHorizontal, sbVertical };
// The scroll codes in the order of the system's SB_* codes, so that a code
// converts either way by its number.
enum TScrollCode : uint8_t {
  scLineUp,
  scLineDown,
  scPageUp,
  scPageDown,
  scPosition,
  scTrack,
  scTop,
  scBottom,
  scEndScroll
};

// Told of each step of the user's scrolling before the bar moves; may change
// the position the step leads to.
using TScrollEvent = TEvent<void(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos)>;

// The system's scroll bar control. The bar itself only reports the user's
// presses; this control works out the position they lead to (a line is
// SmallChange, a page LargeChange, the thumb the place it is dragged to),
// lets OnScroll change it, and moves the bar there. The position stays in
// Min .. Max - PageSize + 1 (Min .. Max without a page), as the system keeps
// the thumb. OnChange follows every change of Position, the user's and the
// program's.
class TScrollBar : public TWinControl {
public:
  explicit TScrollBar(TComponent* owner);
  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  // A bar turned on its side swaps its width and height.
  [[nodiscard]] TScrollBarKind Kind() const { return kind_; }
  void SetKind(TScrollBarKind value);
  // Min and Max stay in order: one set past the other takes it along.
  [[nodiscard]] int Min() const { return min_; }
  void SetMin(int value);
  [[nodiscard]] int Max() const { return max_; }
  void SetMax(int value);
  [[nodiscard]] int Position() const { return position_; }
  void SetPosition(int value);
  [[nodiscard]] int SmallChange() const { return smallChange_; }
  void SetSmallChange(int value);
  [[nodiscard]] int LargeChange() const { return largeChange_; }
  void SetLargeChange(int value);
  // The part of the range one view shows; 0 for none (a square thumb).
  // Kept within the range's size.
  [[nodiscard]] int PageSize() const { return pageSize_; }
  void SetPageSize(int value);

  void Loaded() override;
  void WndProc(TMessage& message) override;

  TNotifyEvent OnChange;
  TScrollEvent OnScroll;

protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  virtual void Change() { OnChange(this); }
  virtual void Scroll(TScrollCode code, int& position) { OnScroll(this, code, position); }

private:
  [[nodiscard]] int LastPosition() const;
  [[nodiscard]] int Clamped(int64_t position) const;
  [[nodiscard]] int PositionAfter(TScrollCode code) const;
  void UserScrolled(TScrollCode code);
  // Range, page and position settle together: each setter changes its value
  // and lets this bring the others back into line and show them; announce
  // raises OnChange when the position had to move.
  void Settle(bool announce);
  void ShowRange();

  TScrollBarKind kind_ = sbHorizontal;
  int min_ = 0, max_ = 100, position_ = 0;
  int smallChange_ = 1, largeChange_ = 1, pageSize_ = 0;
};

} // namespace framework
