#pragma once
// One item of a skinned menu bar: its caption, whether it is enabled, the
// command it posts and the drop-down it opens. It lights up and presses like
// a caption button; the bar draws it.
#include <windows.h>

#include "skin/frame/NCObject.h"

#include <string>

namespace framework {
class TMenuItem;
}

namespace skin {

class TWinSkinMenu;

struct TMenuBtnInfo {
  // The framework item it stands for, when the window is a form of ours.
  framework::TMenuItem* Item = nullptr;
  std::wstring Caption;
  bool Visible = true;
  bool Enabled = true;
  // 0 when the item has no sub-items.
  HMENU DropDown = nullptr;
  UINT Command = 0;
};

class TMenuBtn final : public TNCObject {
public:
  TMenuBtn(TWinSkinMenu& bar, int index, TMenuBtnInfo info) : bar_(bar), index_(index), info_(std::move(info)) {}

  [[nodiscard]] int Index() const { return index_; }
  [[nodiscard]] const TMenuBtnInfo& Info() const { return info_; }
  [[nodiscard]] const std::wstring& Caption() const { return info_.Caption; }
  [[nodiscard]] bool Visible() const { return info_.Visible; }
  [[nodiscard]] bool Enabled() const { return info_.Enabled; }
  [[nodiscard]] HMENU DropDown() const { return info_.DropDown; }
  [[nodiscard]] UINT Command() const { return info_.Command; }

  // Draws the button alone on the window, over the bar's saved background.
  void Redraw() override;

private:
  TWinSkinMenu& bar_;
  int index_;
  TMenuBtnInfo info_;
};

} // namespace skin
