#pragma once
// A list view: rows of items with sub-items under sized columns (report
// view), or the same items as icons or a plain list. The column headings are
// the system's own header window.
#include "framework/Collection.h"
#include "framework/StringList.h"
#include "framework/win32/Controls.h"

#include <memory>

namespace framework {

enum TViewStyle : uint8_t { vsIcon, vsSmallIcon, vsList, vsReport };

class TListColumn : public TCollectionItem {
public:
  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  [[nodiscard]] std::string Caption() const { return caption_; }
  void SetCaption(const std::string& value);
  [[nodiscard]] int Width() const { return width_; }
  void SetWidth(int value);
  [[nodiscard]] TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);

private:
  std::string caption_;
  int width_ = 50;
  TAlignment alignment_ = taLeftJustify;
};

class TListItem : public TCollectionItem {
public:
  TListItem();
  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  [[nodiscard]] std::string Caption() const { return caption_; }
  void SetCaption(const std::string& value);
  // The texts of the second and later columns.
  [[nodiscard]] TStringList* SubItems() const { return subItems_.get(); }

private:
  std::string caption_;
  std::unique_ptr<TStringList> subItems_;
};

class TListView;
using TLVSelectItemEvent = TEvent<void(TObject* Sender, TListItem* Item, bool Selected)>;

class TListView : public TWinControl {
public:
  explicit TListView(TComponent* owner);
  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  [[nodiscard]] TCollection* Columns() const { return columns_.get(); }
  [[nodiscard]] TListColumn* Column(int index) const { return columns_->ItemAs<TListColumn>(index); }
  [[nodiscard]] TCollection* Items() const { return items_.get(); }
  [[nodiscard]] TListItem* Item(int index) const { return items_->ItemAs<TListItem>(index); }
  [[nodiscard]] TViewStyle ViewStyle() const { return viewStyle_; }
  void SetViewStyle(TViewStyle value);
  [[nodiscard]] bool RowSelect() const { return rowSelect_; }
  void SetRowSelect(bool value);
  [[nodiscard]] bool GridLines() const { return gridLines_; }
  void SetGridLines(bool value);
  [[nodiscard]] bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);
  // The selected item's index; -1 when none is.
  [[nodiscard]] int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int value);
  [[nodiscard]] TListItem* Selected() const { return itemIndex_ >= 0 ? Item(itemIndex_) : nullptr; }
  // The header window of the report view (null in the other views).
  [[nodiscard]] HWND HeaderHandle() const;
  // The first row shown at the top of the report.
  [[nodiscard]] int TopIndex() const;
  void WndProc(TMessage& message) override;

  TLVSelectItemEvent OnSelectItem;

protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

private:
  void FillColumns();
  void FillItems();
  void SetStyleFlag(bool& field, bool value);
  void ItemStateChanged(int index, UINT changed, UINT oldState, UINT newState);

  std::unique_ptr<TCollection> columns_;
  std::unique_ptr<TCollection> items_;
  TViewStyle viewStyle_ = vsIcon;
  bool rowSelect_ = false;
  bool gridLines_ = false;
  bool readOnly_ = false;
  int itemIndex_ = -1;
  bool filling_ = false;
};

} // namespace framework
