#include "framework/win32/ListView.h"

#include "framework/MuteScope.h"

#include <commctrl.h>

namespace framework {

namespace {

const TEnumInfo& ViewStyleInfo()
{
  static const TEnumInfo info{"TViewStyle", {"vsIcon", "vsSmallIcon", "vsList", "vsReport"}};
  return info;
}

DWORD ViewStyleBits(TViewStyle style)
{
  static const DWORD bits[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
  return bits[style];
}

int ColumnFormat(TAlignment alignment)
{
  switch (alignment) {
  case taRightJustify: return LVCFMT_RIGHT;
  case taCenter: return LVCFMT_CENTER;
  default: return LVCFMT_LEFT;
  }
}

} // namespace

const TClassInfo& TListColumn::ClassType()
{
  static TClassInfo info("TListColumn", &TCollectionItem::ClassType());
  static const bool described = [] {
    info.Str("Caption", &TListColumn::Caption, &TListColumn::SetCaption);
    info.Int("Width", &TListColumn::Width, &TListColumn::SetWidth, int64_t(50));
    info.Enum("Alignment", AlignmentInfo(), &TListColumn::Alignment, &TListColumn::SetAlignment,
              int64_t(taLeftJustify));
    return true;
  }();
  (void)described;
  return info;
}

void TListColumn::SetCaption(const std::string& value)
{
  if (value == caption_)
    return;
  caption_ = value;
  Changed();
}

void TListColumn::SetWidth(int value)
{
  if (value == width_)
    return;
  width_ = value;
  Changed();
}

void TListColumn::SetAlignment(TAlignment value)
{
  if (value == alignment_)
    return;
  alignment_ = value;
  Changed();
}

TListItem::TListItem() : subItems_(std::make_unique<TStringList>())
{
  subItems_->OnChange = TNotifyEvent([this](TObject*) { Changed(); });
}

const TClassInfo& TListItem::ClassType()
{
  static TClassInfo info("TListItem", &TCollectionItem::ClassType());
  static const bool described = [] {
    info.Str("Caption", &TListItem::Caption, &TListItem::SetCaption);
    info.Object("SubItems", TStringList::ClassType(), &TListItem::SubItems);
    return true;
  }();
  (void)described;
  return info;
}

void TListItem::SetCaption(const std::string& value)
{
  if (value == caption_)
    return;
  caption_ = value;
  Changed();
}

const TClassInfo& TListView::ClassType()
{
  static TClassInfo info("TListView", &TWinControl::ClassType(), [](TComponent* o) { return new TListView(o); });
  static const bool described = [] {
    info.Object("Columns", TCollection::ClassType(), &TListView::Columns);
    info.Object("Items", TCollection::ClassType(), &TListView::Items);
    info.Enum("ViewStyle", ViewStyleInfo(), &TListView::ViewStyle, &TListView::SetViewStyle, int64_t(vsIcon));
    info.Bool("RowSelect", &TListView::RowSelect, &TListView::SetRowSelect, false);
    info.Bool("GridLines", &TListView::GridLines, &TListView::SetGridLines, false);
    info.Bool("ReadOnly", &TListView::ReadOnly, &TListView::SetReadOnly, false);
    info.Int("ItemIndex", &TListView::ItemIndex, &TListView::SetItemIndex, int64_t(-1)).Stored = false;
    info.Bool("TabStop", &TListView::TabStop, &TListView::SetTabStop, true);
    info.Event("OnSelectItem", &TListView::OnSelectItem);
    return true;
  }();
  (void)described;
  return info;
}

TListView::TListView(TComponent* owner)
  : TWinControl(owner),
    columns_(std::make_unique<TCollection>([] { return std::make_unique<TListColumn>(); })),
    items_(std::make_unique<TCollection>([] { return std::make_unique<TListItem>(); }))
{
  width_ = 250;
  height_ = 150;
  tabStop_ = true;
  color_ = gfx::clWindow;
  controlStyle_ = csCaptureMouse | csClickEvents | csDoubleClicks;
  columns_->OnChange = TNotifyEvent([this](TObject*) {
    FillColumns();
    FillItems();
  });
  items_->OnChange = TNotifyEvent([this](TObject*) { FillItems(); });
}

void TListView::CreateParams(TCreateParams& p)
{
  TWinControl::CreateParams(p);
  p.SystemClass = WC_LISTVIEWW;
  p.Style |= ViewStyleBits(viewStyle_) | LVS_SHAREIMAGELISTS | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
             (readOnly_ ? 0 : LVS_EDITLABELS);
  p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListView::CreateWnd()
{
  TWinControl::CreateWnd();
  DWORD extended = (rowSelect_ ? LVS_EX_FULLROWSELECT : 0) | (gridLines_ ? LVS_EX_GRIDLINES : 0);
  SendMessageW(handle_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES, extended);
  FillColumns();
  FillItems();
}

void TListView::FillColumns()
{
  if (!HandleAllocated())
    return;
  while (SendMessageW(handle_, LVM_DELETECOLUMN, 0, 0))
    ;
  for (int i = 0; i < columns_->Count(); ++i) {
    const TListColumn* column = Column(i);
    std::wstring text = Utf8ToWide(column->Caption());
    LVCOLUMNW lv{};
    lv.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    lv.pszText = text.data();
    lv.cx = column->Width();
    lv.fmt = ColumnFormat(column->Alignment());
    lv.iSubItem = i;
    SendMessageW(handle_, LVM_INSERTCOLUMNW, WPARAM(i), reinterpret_cast<LPARAM>(&lv));
  }
}

void TListView::FillItems()
{
  if (itemIndex_ >= items_->Count())
    itemIndex_ = -1;
  if (!HandleAllocated() || filling_)
    return;
  const TMuteScope<bool> filling(filling_);
  SendMessageW(handle_, WM_SETREDRAW, FALSE, 0);
  SendMessageW(handle_, LVM_DELETEALLITEMS, 0, 0);
  for (int i = 0; i < items_->Count(); ++i) {
    const TListItem* item = Item(i);
    std::wstring caption = Utf8ToWide(item->Caption());
    LVITEMW lv{};
    lv.mask = LVIF_TEXT;
    lv.iItem = i;
    lv.pszText = caption.data();
    SendMessageW(handle_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&lv));
    for (int sub = 0; sub < item->SubItems()->Count(); ++sub) {
      std::wstring text = Utf8ToWide(item->SubItems()->Strings(sub));
      LVITEMW cell{};
      cell.iSubItem = sub + 1;
      cell.pszText = text.data();
      SendMessageW(handle_, LVM_SETITEMTEXTW, WPARAM(i), reinterpret_cast<LPARAM>(&cell));
    }
  }
  if (itemIndex_ >= 0) {
    LVITEMW state{};
    state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(handle_, LVM_SETITEMSTATE, WPARAM(itemIndex_), reinterpret_cast<LPARAM>(&state));
  }
  SendMessageW(handle_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(handle_, nullptr, TRUE);
}

void TListView::SetViewStyle(TViewStyle value)
{
  if (value == viewStyle_)
    return;
  viewStyle_ = value;
  if (HandleAllocated())
    SetWindowLongPtrW(handle_, GWL_STYLE,
                      (GetWindowLongPtrW(handle_, GWL_STYLE) & ~LONG_PTR(LVS_TYPEMASK)) | ViewStyleBits(value));
}

void TListView::SetStyleFlag(bool& field, bool value)
{
  if (field == value)
    return;
  field = value;
  RecreateWnd();
}

void TListView::SetRowSelect(bool value) { SetStyleFlag(rowSelect_, value); }
void TListView::SetGridLines(bool value) { SetStyleFlag(gridLines_, value); }
void TListView::SetReadOnly(bool value) { SetStyleFlag(readOnly_, value); }

void TListView::SetItemIndex(int value)
{
  if (value < -1 || value >= items_->Count())
    value = -1;
  if (!HandleAllocated()) {
    itemIndex_ = value;
    return;
  }
  LVITEMW state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  if (value < 0) {
    SendMessageW(handle_, LVM_SETITEMSTATE, WPARAM(-1), reinterpret_cast<LPARAM>(&state));
    return;
  }
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(handle_, LVM_SETITEMSTATE, WPARAM(value), reinterpret_cast<LPARAM>(&state));
  SendMessageW(handle_, LVM_ENSUREVISIBLE, WPARAM(value), FALSE);
}

HWND TListView::HeaderHandle() const
{
  return HandleAllocated() ? reinterpret_cast<HWND>(SendMessageW(handle_, LVM_GETHEADER, 0, 0)) : nullptr;
}

int TListView::TopIndex() const
{
  return HandleAllocated() ? int(SendMessageW(handle_, LVM_GETTOPINDEX, 0, 0)) : 0;
}

// Selection follows the window, whoever changed it: the user or the program.
void TListView::ItemStateChanged(int index, UINT changed, UINT oldState, UINT newState)
{
  if (filling_ || !(changed & LVIF_STATE) || index < 0 || index >= items_->Count())
    return;
  const bool was = oldState & LVIS_SELECTED;
  const bool is = newState & LVIS_SELECTED;
  if (was == is)
    return;
  if (is)
    itemIndex_ = index;
  else if (itemIndex_ == index)
    itemIndex_ = -1;
  OnSelectItem(this, Item(index), is);
}

void TListView::WndProc(TMessage& m)
{
  if (const NMHDR* header = ReflectedNotifyHeader(m)) {
    if (header->code == LVN_ITEMCHANGED) {
      const auto& change = *reinterpret_cast<const NMLISTVIEW*>(m.LParam);
      ItemStateChanged(change.iItem, change.uChanged, change.uOldState, change.uNewState);
      return;
    }
    if (header->code == LVN_ENDLABELEDITW) {
      // A caption the user typed is kept; an edit given up leaves it.
      const auto& edit = *reinterpret_cast<const NMLVDISPINFOW*>(m.LParam);
      const bool typed = edit.item.pszText && edit.item.iItem >= 0 && edit.item.iItem < items_->Count();
      if (typed) {
        const TMuteScope<bool> filling(filling_);
        Item(edit.item.iItem)->SetCaption(WideToUtf8(edit.item.pszText));
      }
      m.Result = typed ? TRUE : FALSE;
      return;
    }
  }
  TWinControl::WndProc(m);
}

} // namespace framework
