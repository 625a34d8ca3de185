#include "framework/win32/ListBox.h"

#include <algorithm>

#include "framework/MuteScope.h"

namespace framework {

const TClassInfo& TListBox::ClassType()
{
  static TClassInfo info("TListBox", &TWinControl::ClassType(), [](TComponent* o) { return new TListBox(o); });
  static const bool described = [] {
    info.Bool("Sorted", &TListBox::Sorted, &TListBox::SetSorted, false);
    info.Object("Items", TStringList::ClassType(), &TListBox::Items);
    info.Bool("MultiSelect", &TListBox::MultiSelect, &TListBox::SetMultiSelect, false);
    info.Int("ItemIndex", &TListBox::ItemIndex, &TListBox::SetItemIndex, int64_t(-1));
    info.Bool("IntegralHeight", &TListBox::IntegralHeight, &TListBox::SetIntegralHeight, false);
    info.Int("Columns", &TListBox::Columns, &TListBox::SetColumns, int64_t(0));
    info.Bool("TabStop", &TListBox::TabStop, &TListBox::SetTabStop, true);
    return true;
  }();
  (void)described;
  return info;
}

TListBox::TListBox(TComponent* owner) : TWinControl(owner), items_(std::make_unique<TStringList>())
{
  // Clicks come from the window's selection notices, not from the mouse
  // messages: keys change the selection too, and a click on empty space
  // below the items changes nothing.
  controlStyle_ = csCaptureMouse | csSetCaption;
  width_ = 121;
  height_ = 97;
  tabStop_ = true;
  color_ = gfx::clWindow;
  // A list shows what it is given, twice if need be.
  items_->SetDuplicates(TDuplicates::dupAccept);
  items_->OnChange = TNotifyEvent([this](TObject*) { ShowItems(); });
}

LRESULT TListBox::Send(UINT msg, WPARAM wParam, LPARAM lParam) const
{
  return SendMessageW(handle_, msg, wParam, lParam);
}

void TListBox::CreateParams(TCreateParams& p)
{
  TWinControl::CreateParams(p);
  p.SystemClass = L"LISTBOX";
  p.Style |= LBS_NOTIFY | WS_VSCROLL;
  if (!integralHeight_)
    p.Style |= LBS_NOINTEGRALHEIGHT;
  if (multiSelect_)
    p.Style |= LBS_EXTENDEDSEL;
  if (columns_ > 0)
    p.Style |= LBS_MULTICOLUMN | WS_HSCROLL;
  p.Style &= ~DWORD(WS_CLIPCHILDREN);
  p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListBox::CreateWnd()
{
  TWinControl::CreateWnd();
  shown_.clear();
  ShowItems();
  ApplyColumnWidth();
  ShowSelection();
  Send(LB_SETTOPINDEX, WPARAM(std::max(topIndex_, 0)));
}

void TListBox::WindowDestroying()
{
  itemIndex_ = ItemIndex();
  selection_.clear();
  for (int i = 0; i < items_->Count(); ++i)
    if (Selected(i))
      selection_.push_back(i);
  topIndex_ = TopIndex();
}

void TListBox::ShowItems()
{
  if (!HandleAllocated()) {
    const int count = items_->Count();
    if (itemIndex_ >= count && !HasState(csLoading))
      itemIndex_ = -1;
    std::erase_if(selection_, [count](int i) { return i >= count; });
    return;
  }
  TMuteScope<bool> showing(showing_);
  // Only the middle that differs is replaced: appending one item to a long
  // list sends one message, and the items around it keep their selection.
  const size_t wanted = size_t(items_->Count()), held = shown_.size();
  size_t head = 0;
  while (head < wanted && head < held && shown_[head] == items_->Strings(int(head)))
    ++head;
  size_t tail = 0;
  while (tail < wanted - head && tail < held - head &&
         shown_[held - 1 - tail] == items_->Strings(int(wanted - 1 - tail)))
    ++tail;
  if (head == 0 && tail == 0 && held > 0) {
    Send(LB_RESETCONTENT);
  } else {
    for (size_t i = head; i < held - tail; ++i)
      Send(LB_DELETESTRING, WPARAM(head));
  }
  shown_.erase(shown_.begin() + std::ptrdiff_t(head), shown_.end() - std::ptrdiff_t(tail));
  for (size_t i = head; i < wanted - tail; ++i) {
    const std::string& text = items_->Strings(int(i));
    Send(LB_INSERTSTRING, WPARAM(i), reinterpret_cast<LPARAM>(Utf8ToWide(text).c_str()));
    shown_.insert(shown_.begin() + std::ptrdiff_t(i), text);
  }
}

bool TListBox::FollowWindowList(TMessage& m)
{
  if (m.Msg != LB_ADDSTRING && m.Msg != LB_INSERTSTRING && m.Msg != LB_DELETESTRING && m.Msg != LB_RESETCONTENT)
    return false;
  std::string text;
  if ((m.Msg == LB_ADDSTRING || m.Msg == LB_INSERTSTRING) && m.LParam)
    text = WideToUtf8(reinterpret_cast<const wchar_t*>(m.LParam));
  DefaultHandler(m);
  // LB_ERR and LB_ERRSPACE: the window refused, nothing changed.
  if (m.Msg != LB_RESETCONTENT && m.Result < 0)
    return true;
  switch (m.Msg) {
  case LB_RESETCONTENT:
    shown_.clear();
    items_->Clear();
    break;
  case LB_DELETESTRING:
    shown_.erase(shown_.begin() + std::ptrdiff_t(m.WParam));
    items_->Delete(int(m.WParam));
    break;
  default: {
    const int at = int(m.Result);
    shown_.insert(shown_.begin() + at, text);
    // In a sorted list the string goes to its place in Items, and showing
    // Items moves it there in the window too; the caller learns where.
    if (items_->Sorted())
      m.Result = items_->Add(text);
    else
      items_->Insert(at, text);
    break;
  }
  }
  return true;
}

int TListBox::ItemIndex() const
{
  if (!HandleAllocated())
    return itemIndex_;
  if (!multiSelect_)
    return int(Send(LB_GETCURSEL));
  return Send(LB_GETSELCOUNT) > 0 ? int(Send(LB_GETCARETINDEX)) : -1;
}

void TListBox::SetItemIndex(int value)
{
  // The items may follow the index in a description: it is checked once all
  // are read.
  if (HasState(csLoading)) {
    itemIndex_ = value;
    return;
  }
  if (value < -1 || value >= items_->Count())
    value = -1;
  itemIndex_ = value;
  selection_.clear();
  if (value >= 0)
    selection_.push_back(value);
  ShowSelection();
}

void TListBox::ShowSelection()
{
  if (!HandleAllocated())
    return;
  if (!multiSelect_) {
    Send(LB_SETCURSEL, WPARAM(itemIndex_));
    return;
  }
  Send(LB_SETSEL, FALSE, -1);
  for (int i : selection_)
    Send(LB_SETSEL, TRUE, i);
  if (itemIndex_ >= 0)
    Send(LB_SETCARETINDEX, WPARAM(itemIndex_), FALSE);
}

bool TListBox::Selected(int index) const
{
  if (HandleAllocated())
    return Send(LB_GETSEL, WPARAM(index)) > 0;
  if (!multiSelect_)
    return index >= 0 && index == itemIndex_;
  return std::find(selection_.begin(), selection_.end(), index) != selection_.end();
}

void TListBox::SetSelected(int index, bool value)
{
  if (index < 0 || index >= items_->Count() || Selected(index) == value)
    return;
  if (!multiSelect_) {
    SetItemIndex(value ? index : -1);
    return;
  }
  if (value)
    selection_.push_back(index);
  else
    std::erase(selection_, index);
  if (HandleAllocated())
    Send(LB_SETSEL, value ? TRUE : FALSE, index);
}

int TListBox::SelCount() const
{
  if (HandleAllocated() && multiSelect_)
    return int(Send(LB_GETSELCOUNT));
  if (multiSelect_)
    return int(selection_.size());
  return ItemIndex() >= 0 ? 1 : 0;
}

int TListBox::TopIndex() const { return HandleAllocated() ? int(Send(LB_GETTOPINDEX)) : topIndex_; }

void TListBox::SetTopIndex(int value)
{
  topIndex_ = std::max(value, 0);
  if (HandleAllocated())
    Send(LB_SETTOPINDEX, WPARAM(topIndex_));
}

void TListBox::SetMultiSelect(bool value)
{
  if (value == multiSelect_)
    return;
  // The window goes while the selection can still be read in the old mode.
  const bool hadWindow = HandleAllocated();
  DestroyHandle();
  multiSelect_ = value;
  if (!multiSelect_)
    selection_.clear();
  if (hadWindow)
    HandleNeeded();
}

void TListBox::SetIntegralHeight(bool value)
{
  if (value == integralHeight_)
    return;
  integralHeight_ = value;
  RecreateWnd();
}

void TListBox::SetColumns(int value)
{
  value = std::max(value, 0);
  if (value == columns_)
    return;
  // One column or several is a style of the window; the number of columns
  // is only their width.
  const bool restyle = (value > 0) != (columns_ > 0);
  columns_ = value;
  if (restyle)
    RecreateWnd();
  else
    ApplyColumnWidth();
}

void TListBox::ApplyColumnWidth()
{
  if (HandleAllocated() && columns_ > 0)
    Send(LB_SETCOLUMNWIDTH, WPARAM(std::max(ClientWidth() / columns_, 1)));
}

void TListBox::Resize()
{
  ApplyColumnWidth();
  TWinControl::Resize();
}

int TListBox::ItemAtPos(gfx::TPoint point) const
{
  if (!HandleAllocated())
    return -1;
  const LRESULT hit = Send(LB_ITEMFROMPOINT, 0, MAKELPARAM(point.X, point.Y));
  // The high word is set when the point lies outside every item.
  return HIWORD(hit) != 0 || LOWORD(hit) >= items_->Count() ? -1 : int(LOWORD(hit));
}

gfx::TRect TListBox::ItemRect(int index) const
{
  RECT r{};
  if (!HandleAllocated() || index < 0 || index >= items_->Count() ||
      Send(LB_GETITEMRECT, WPARAM(index), reinterpret_cast<LPARAM>(&r)) == LB_ERR)
    return {};
  return gfx::TRect(r.left, r.top, r.right, r.bottom);
}

void TListBox::Loaded()
{
  TWinControl::Loaded();
  SetItemIndex(itemIndex_);
}

void TListBox::WndProc(TMessage& m)
{
  if (m.Msg == CN_COMMAND) {
    switch (HIWORD(m.WParam)) {
    case LBN_SELCHANGE:
      Click();
      return;
    case LBN_DBLCLK:
      DblClick();
      return;
    default:
      break;
    }
  }
  if (!showing_ && FollowWindowList(m))
    return;
  TWinControl::WndProc(m);
}

} // namespace framework
