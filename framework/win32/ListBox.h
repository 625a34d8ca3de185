#pragma once
#include <memory>
#include <string>
#include <vector>

#include "framework/StringList.h"
#include "framework/win32/Controls.h"

namespace framework {

// The system's list box. Items is the list it shows, kept whether or not the
// control has a window, and the two never disagree: a change of Items reaches
// the window as the few insertions and deletions it takes, and strings that
// other code adds to or deletes from the window directly are added to or
// deleted from Items. Sorted sorts Items, and the window shows them in that
// order. OnClick follows a change of selection by the user (mouse or keys),
// OnDblClick a double click on an item; the program's own changes raise
// neither.
class TListBox : public TWinControl {
public:
  explicit TListBox(TComponent* owner);
  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  [[nodiscard]] TStringList* Items() const { return items_.get(); }
  // The selected item, -1 for none. With MultiSelect: the item with the
  // focus rectangle, while any item is selected; setting it selects that
  // item alone.
  [[nodiscard]] int ItemIndex() const;
  void SetItemIndex(int value);
  [[nodiscard]] bool Selected(int index) const;
  void SetSelected(int index, bool value);
  [[nodiscard]] int SelCount() const;
  [[nodiscard]] int TopIndex() const;
  void SetTopIndex(int value);

  [[nodiscard]] bool Sorted() const { return items_->Sorted(); }
  void SetSorted(bool value) { items_->SetSorted(value); }
  // Several items may be selected, with Shift and Ctrl as in file lists.
  [[nodiscard]] bool MultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool value);
  // The window's height is cut to a whole number of items.
  [[nodiscard]] bool IntegralHeight() const { return integralHeight_; }
  void SetIntegralHeight(bool value);
  // 0: one column scrolled up and down; more: that many columns across the
  // client width, scrolled sideways.
  [[nodiscard]] int Columns() const { return columns_; }
  void SetColumns(int value);

  // The item at a point of the client area, or -1; an item's rectangle in
  // the client area (empty without a window or for an index out of range).
  [[nodiscard]] int ItemAtPos(gfx::TPoint point) const;
  [[nodiscard]] gfx::TRect ItemRect(int index) const;

  void Loaded() override;
  void WndProc(TMessage& message) override;

protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WindowDestroying() override;
  void Resize() override;

private:
  void ShowItems();
  bool FollowWindowList(TMessage& message);
  void ShowSelection();
  void ApplyColumnWidth();
  LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const;

  std::unique_ptr<TStringList> items_;
  // What the window holds, as Items held it when last shown.
  std::vector<std::string> shown_;
  // The selection while there is no window.
  int itemIndex_ = -1;
  std::vector<int> selection_;
  int topIndex_ = 0;
  bool multiSelect_ = false;
  bool integralHeight_ = false;
  int columns_ = 0;
  // Set while Items is being shown, so that the window's own messages are
  // not taken for changes by others.
  bool showing_ = false;
};

} // namespace framework
