#include "framework/win32/ProgressBar.h"

#include <commctrl.h>

#include <algorithm>

namespace framework {

namespace {

const TEnumInfo& OrientationInfo()
{
  static const TEnumInfo info{"TProgressBarOrientation", {"pbHorizontal", "pbVertical"}};
  return info;
}

} // namespace

const TClassInfo& TProgressBar::ClassType()
{
  static TClassInfo info("TProgressBar", &TWinControl::ClassType(), [](TComponent* o) { return new TProgressBar(o); });
  static const bool described = [] {
    info.Int("Min", &TProgressBar::Min, &TProgressBar::SetMin, int64_t(0));
    info.Int("Max", &TProgressBar::Max, &TProgressBar::SetMax, int64_t(100));
    info.Int("Position", &TProgressBar::Position, &TProgressBar::SetPosition, int64_t(0));
    info.Int("Step", &TProgressBar::Step, &TProgressBar::SetStep, int64_t(10));
    info.Enum("Orientation", OrientationInfo(), &TProgressBar::Orientation, &TProgressBar::SetOrientation,
              int64_t(pbHorizontal));
    info.Bool("Smooth", &TProgressBar::Smooth, &TProgressBar::SetSmooth, false);
    return true;
  }();
  (void)described;
  return info;
}

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner)
{
  width_ = 150;
  height_ = 16;
}

void TProgressBar::CreateParams(TCreateParams& p)
{
  TWinControl::CreateParams(p);
  p.SystemClass = PROGRESS_CLASSW;
  p.Style |= (orientation_ == pbVertical ? PBS_VERTICAL : 0) | (smooth_ ? PBS_SMOOTH : 0);
}

void TProgressBar::CreateWnd()
{
  TWinControl::CreateWnd();
  SendRange();
}

void TProgressBar::SendRange()
{
  if (!HandleAllocated())
    return;
  SendMessageW(handle_, PBM_SETRANGE32, WPARAM(min_), LPARAM(max_));
  SendMessageW(handle_, PBM_SETPOS, WPARAM(position_), 0);
}

void TProgressBar::SetMin(int value)
{
  min_ = value;
  max_ = std::max(max_, min_);
  position_ = std::clamp(position_, min_, max_);
  SendRange();
}

void TProgressBar::SetMax(int value)
{
  max_ = value;
  min_ = std::min(min_, max_);
  position_ = std::clamp(position_, min_, max_);
  SendRange();
}

void TProgressBar::SetPosition(int value)
{
  position_ = std::clamp(value, min_, max_);
  if (HandleAllocated())
    SendMessageW(handle_, PBM_SETPOS, WPARAM(position_), 0);
}

void TProgressBar::StepBy(int delta) { SetPosition(int(std::clamp<int64_t>(int64_t(position_) + delta, min_, max_))); }

void TProgressBar::StepIt()
{
  const int64_t next = int64_t(position_) + step_;
  SetPosition(next > max_ ? min_ : int(next));
}

void TProgressBar::SetOrientation(TProgressBarOrientation value)
{
  if (value == orientation_)
    return;
  orientation_ = value;
  RecreateWnd();
}

void TProgressBar::SetSmooth(bool value)
{
  if (value == smooth_)
    return;
  smooth_ = value;
  RecreateWnd();
}

} // namespace framework
