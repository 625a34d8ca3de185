#pragma once
// TSkinDateTime: a date and time picker keeps its fields and its calendar
// and gets the skin's border, with a button of our own (TArrowButton) laid
// over the picker's drop button. The arrow shows the skin's "ComboxArrow",
// hot under the mouse while the picker is enabled; a press on it is handed
// to the picker at the same place, so the picker drops its calendar as if
// its own button had been pressed.
#include "framework/win32/Controls.h"
#include "skin/controls/SkinControl.h"

#include <memory>

namespace skin {

class TArrowButton final : public framework::TCustomControl {
public:
  // A child window of picker, drawn from data's arrow.
  TArrowButton(TSkinData& data, HWND picker);
  static const framework::TClassInfo& ClassType();
  [[nodiscard]] const framework::TClassInfo& ClassInfo() const override { return ClassType(); }

  [[nodiscard]] bool Hot() const { return hot_; }
  // Places the button over the picker's drop button, for the picker's size now.
  void Place();
  void WndProc(framework::TMessage& message) override;

protected:
  void Paint() override;

private:
  [[nodiscard]] bool PickerEnabled() const { return IsWindowEnabled(picker_) != FALSE; }

  TSkinData& data_;
  HWND picker_;
  // The width of the system's scroll arrows, read once.
  int32_t arrowSize_;
  bool hot_ = false;
};

class TSkinDateTime final : public TSkinControl {
public:
  TSkinDateTime();
  ~TSkinDateTime() override;

  void AttachControl(TWinSkinForm& form, TSkinData& data, framework::TWinControl& control, bool recolour) override;
  void AttachWindow(TWinSkinForm& form, TSkinData& data, HWND window) override;
  // Takes the arrow button away: the picker's own button shows again.
  void Unskin() override;

  [[nodiscard]] TArrowButton* Arrow() const { return arrow_.get(); }

protected:
  void AfterMessage(framework::TMessage& message) override;
  void SkinSwitched(bool active) override;
  void DrawSkin(HDC dc, const gfx::TRect& rect) override;

private:
  void MakeArrow();

  std::unique_ptr<TArrowButton> arrow_;
};

} // namespace skin
