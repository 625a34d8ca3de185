#pragma once
// A plain tab strip: tabs from a list of strings and one display area that
// the program fills itself (the page control keeps a sheet per tab instead).
#include "framework/StringList.h"
#include "framework/win32/ComCtrls.h"

#include <memory>

namespace framework {

class TTabControl : public TWinControl {
public:
  explicit TTabControl(TComponent* owner);
  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  [[nodiscard]] TStringList* Tabs() const { return tabs_.get(); }
  // The selected tab; -1 when there is none.
  [[nodiscard]] int TabIndex() const { return tabIndex_; }
  void SetTabIndex(int value);
  [[nodiscard]] TTabStyle Style() const { return style_; }
  void SetStyle(TTabStyle value);
  [[nodiscard]] TTabPosition TabPosition() const { return tabPosition_; }
  void SetTabPosition(TTabPosition value);
  [[nodiscard]] bool MultiLine() const { return multiLine_; }
  void SetMultiLine(bool value);
  void WndProc(TMessage& message) override;

  TNotifyEvent OnChange;
  TEvent<void(TObject* Sender, bool& AllowChange)> OnChanging;

protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  [[nodiscard]] gfx::TRect AdjustClientRect(gfx::TRect rect) const override;

private:
  void FillTabs();

  std::unique_ptr<TStringList> tabs_;
  int tabIndex_ = -1;
  TTabStyle style_ = tsTabs;
  TTabPosition tabPosition_ = tpTop;
  bool multiLine_ = false;
};

} // namespace framework
