#pragma once
#include <windows.h>

#include "framework/Component.h"

namespace framework {

// A window timer: OnTimer runs on the GUI thread every Interval milliseconds
// while Enabled. An error in OnTimer is reported by the application and the
// timer keeps running.
class TTimer : public TComponent {
public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;
  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  [[nodiscard]] bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  [[nodiscard]] uint32_t Interval() const { return interval_; }
  void SetInterval(uint32_t value);
  [[nodiscard]] bool Running() const { return running_; }
  void Loaded() override;

  TNotifyEvent OnTimer;

private:
  static LRESULT CALLBACK TimerWindowProc(HWND, UINT, WPARAM, LPARAM);
  void UpdateTimer();

  bool enabled_ = true;
  uint32_t interval_ = 1000;
  bool running_ = false;
};

} // namespace framework
