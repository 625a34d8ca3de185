#pragma once
// A progress bar: a position between a minimum and a maximum, shown as a
// filled part of a horizontal or vertical bar.
#include "framework/win32/Controls.h"

namespace framework {

enum TProgressBarOrientation : uint8_t { pbHorizontal, pbVertical };

class TProgressBar : public TWinControl {
public:
  explicit TProgressBar(TComponent* owner);
  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  [[nodiscard]] int Min() const { return min_; }
  void SetMin(int value);
  [[nodiscard]] int Max() const { return max_; }
  void SetMax(int value);
  // Kept between Min and Max.
  [[nodiscard]] int Position() const { return position_; }
  void SetPosition(int value);
  [[nodiscard]] int Step() const { return step_; }
  void SetStep(int value) { step_ = value; }
  [[nodiscard]] TProgressBarOrientation Orientation() const { return orientation_; }
  void SetOrientation(TProgressBarOrientation value);
  // A continuous bar instead of separate blocks.
  [[nodiscard]] bool Smooth() const { return smooth_; }
  void SetSmooth(bool value);
  // Moves the position by Step, starting over from Min once past Max.
  void StepIt();
  // Moves the position by delta, stopping at Min and Max.
  void StepBy(int delta);

protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

private:
  void SendRange();

  int min_ = 0, max_ = 100, position_ = 0, step_ = 10;
  TProgressBarOrientation orientation_ = pbHorizontal;
  bool smooth_ = false;
};

} // namespace framework
