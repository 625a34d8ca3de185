#include "framework/win32/Menus.h"

#include <algorithm>
#include <functional>
#include <map>

#include "framework/win32/Forms.h"

// [SECTION] Command numbers
// [SECTION] TMenuItem
// [SECTION] TMenu and TMainMenu: building the Win32 menus

namespace framework {

// ---------------------------------------------------------------------------
// [SECTION] Command numbers

namespace {

// Commands from 0xF000 up are the system menu's.
constexpr UINT kFirstCommand = 1;
constexpr UINT kLastCommand = 0xEFFF;

std::map<UINT, TMenuItem*>& LiveItems()
{
  static std::map<UINT, TMenuItem*> items;
  return items;
}

UINT AllocateCommand(TMenuItem* item)
{
  static UINT next = kFirstCommand;
  auto& items = LiveItems();
  if (items.size() > kLastCommand - kFirstCommand)
    throw Exception("Too many menu items");
  while (items.count(next))
    next = next >= kLastCommand ? kFirstCommand : next + 1;
  const UINT command = next;
  items[command] = item;
  next = next >= kLastCommand ? kFirstCommand : next + 1;
  return command;
}

} // namespace

TMenuItem* FindMenuItem(UINT command)
{
  auto it = LiveItems().find(command);
  return it == LiveItems().end() ? nullptr : it->second;
}

TMenuItem* FindMenuItemOfDropDown(HMENU dropDown)
{
  if (!dropDown)
    return nullptr;
  for (const auto& [command, item] : LiveItems())
    if (item->Handle() == dropDown)
      return item;
  return nullptr;
}

// ---------------------------------------------------------------------------
// [SECTION] TMenuItem

const TEnumInfo& MenuBreakInfo()
{
  static const TEnumInfo info{"TMenuBreak", {"mbNone", "mbBreak", "mbBarBreak"}};
  return info;
}

const TClassInfo& TMenuItem::ClassType()
{
  static TClassInfo info("TMenuItem", &TComponent::ClassType(),
                         [](TComponent* owner) -> TComponent* { return new TMenuItem(owner); });
  static const bool described = [] {
    using I = TMenuItem;
    info.Str("Caption", &I::Caption, &I::SetCaption);
    info.Str("ShortCut", &I::ShortCutText, &I::SetShortCutText);
    info.Bool("Checked", &I::Checked, &I::SetChecked, false);
    info.Bool("RadioItem", &I::RadioItem, &I::SetRadioItem, false);
    info.Int("GroupIndex", &I::GroupIndex, &I::SetGroupIndex, 0);
    info.Bool("AutoCheck", &I::AutoCheck, &I::SetAutoCheck, false);
    info.Bool("Enabled", &I::Enabled, &I::SetEnabled, true);
    info.Bool("Visible", &I::Visible, &I::SetVisible, true);
    info.Bool("Default", &I::Default, &I::SetDefault, false);
    info.Int("ImageIndex", &I::ImageIndex, &I::SetImageIndex, -1);
    info.Str("Hint", &I::Hint, &I::SetHint);
    info.Enum("Break", MenuBreakInfo(), &I::Break, &I::SetBreak, int64_t(mbNone));
    info.Event("OnClick", &I::OnClick);
    info.Event("OnDrawItem", &I::OnDrawItem);
    info.Event("OnAdvancedDrawItem", &I::OnAdvancedDrawItem);
    info.Event("OnMeasureItem", &I::OnMeasureItem);
    return true;
  }();
  (void)described;
  return info;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(AllocateCommand(this)) {}

TMenuItem::~TMenuItem()
{
  Destroying();
  Clear();
  if (parent_)
    parent_->Remove(this);
  LiveItems().erase(command_);
}

void TMenuItem::Changed()
{
  if (TMenu* menu = GetParentMenu())
    menu->ItemsChanged();
}

void TMenuItem::SetCaption(const std::string& value)
{
  if (value == caption_)
    return;
  caption_ = value;
  Changed();
}

void TMenuItem::SetShortCut(TShortCut value)
{
  if (value == shortCut_)
    return;
  shortCut_ = value;
  Changed();
}

void TMenuItem::SetChecked(bool value)
{
  if (value == checked_)
    return;
  checked_ = value;
  if (value && radioItem_)
    UncheckRadioSiblings();
  Changed();
}

void TMenuItem::UncheckRadioSiblings()
{
  if (!parent_)
    return;
  for (TMenuItem* sibling : parent_->items_)
    if (sibling != this && sibling->radioItem_ && sibling->groupIndex_ == groupIndex_ && sibling->checked_) {
      sibling->checked_ = false;
      sibling->Changed();
    }
}

void TMenuItem::SetRadioItem(bool value)
{
  if (value == radioItem_)
    return;
  radioItem_ = value;
  if (value && checked_)
    UncheckRadioSiblings();
  Changed();
}

void TMenuItem::SetGroupIndex(uint8_t value)
{
  if (value == groupIndex_)
    return;
  groupIndex_ = value;
  if (radioItem_ && checked_)
    UncheckRadioSiblings();
  Changed();
}

void TMenuItem::SetEnabled(bool value)
{
  if (value == enabled_)
    return;
  enabled_ = value;
  Changed();
}

void TMenuItem::SetVisible(bool value)
{
  if (value == visible_)
    return;
  visible_ = value;
  Changed();
}

void TMenuItem::SetDefault(bool value)
{
  if (value == default_)
    return;
  default_ = value;
  Changed();
}

void TMenuItem::SetImageIndex(int value)
{
  value = std::max(-1, value);
  if (value == imageIndex_)
    return;
  imageIndex_ = value;
  Changed();
}

void TMenuItem::SetBreak(TMenuBreak value)
{
  if (value == break_)
    return;
  break_ = value;
  Changed();
}

TBitmap& TMenuItem::Bitmap()
{
  if (!bitmap_)
    bitmap_ = std::make_unique<TBitmap>();
  return *bitmap_;
}

int TMenuItem::IndexOf(const TMenuItem* item) const
{
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : int(it - items_.begin());
}

void TMenuItem::Add(TMenuItem* item)
{
  Insert(Count(), item);
}

void TMenuItem::Insert(int index, TMenuItem* item)
{
  if (!item)
    return;
  for (const TMenuItem* up = this; up; up = up->parent_)
    if (up == item)
      throw EComponentError("A menu item cannot be placed inside itself");
  if (item->parent_)
    item->parent_->Remove(item);
  index = std::clamp(index, 0, Count());
  items_.insert(items_.begin() + index, item);
  item->parent_ = this;
  if (item->radioItem_ && item->checked_)
    item->UncheckRadioSiblings();
  Changed();
}

void TMenuItem::Remove(TMenuItem* item)
{
  auto it = std::find(items_.begin(), items_.end(), item);
  if (it == items_.end())
    return;
  items_.erase(it);
  item->parent_ = nullptr;
  item->handle_ = nullptr;
  if (!HasState(csDestroying))
    Changed();
}

void TMenuItem::Clear()
{
  // Each sub-item leaves this list (and its owner's) as it is freed.
  while (!items_.empty())
    delete items_.back();
}

TMenu* TMenuItem::GetParentMenu() const
{
  const TMenuItem* root = this;
  while (root->parent_)
    root = root->parent_;
  return root->menu_;
}

TMenuItem* TMenuItem::Find(std::string_view caption) const
{
  for (TMenuItem* item : items_)
    if (StripHotkey(item->caption_) == StripHotkey(caption))
      return item;
  return nullptr;
}

void TMenuItem::Click()
{
  if (autoCheck_)
    SetChecked(radioItem_ ? true : !checked_);
  OnClick(this);
}

void TMenuItem::MeasureItem(TCanvas& canvas, int& width, int& height)
{
  DefaultMeasureItem(canvas, width, height);
  OnMeasureItem(this, canvas, width, height);
}

void TMenuItem::DrawItem(TCanvas& canvas, const gfx::TRect& rect, TOwnerDrawState state)
{
  if (OnAdvancedDrawItem)
    OnAdvancedDrawItem(this, canvas, rect, state);
  else if (OnDrawItem)
    OnDrawItem(this, canvas, rect, (state & odSelected) != 0);
  else
    DefaultDrawItem(canvas, rect, state);
}

const TCustomImageList* TMenuItem::Images() const
{
  const TMenu* menu = GetParentMenu();
  return menu ? menu->Images() : nullptr;
}

TComponent* TMenuItem::GetParentComponent() const
{
  if (parent_ && parent_->menu_)
    return parent_->menu_;
  return parent_;
}

void TMenuItem::SetParentComponent(TComponent* parent)
{
  if (auto* menu = dynamic_cast<TMenu*>(parent))
    menu->Items()->Add(this);
  else if (auto* item = dynamic_cast<TMenuItem*>(parent))
    item->Add(this);
  else if (parent)
    throw EComponentError(Name() + " cannot be placed on " + parent->Name() + ", which is not a menu");
}

// ---------------------------------------------------------------------------
// [SECTION] TMenu and TMainMenu: building the Win32 menus

const TClassInfo& TMenu::ClassType()
{
  static TClassInfo info("TMenu", &TComponent::ClassType());
  static const bool described = [] {
    info.Bool("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw, false);
    info.Reference("Images", TCustomImageList::ClassType(), &TMenu::Images, &TMenu::SetImages);
    return true;
  }();
  (void)described;
  return info;
}

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(std::make_unique<TMenuItem>(nullptr))
{
  items_->menu_ = this;
}

TMenu::~TMenu()
{
  Destroying();
  SetImages(nullptr);
  // The items go before the handle they were built into.
  items_->Clear();
}

HMENU TMenu::Handle()
{
  if (!handle_)
    RebuildHandle();
  return handle_.Get();
}

void TMenu::SetOwnerDraw(bool value)
{
  if (value == ownerDraw_)
    return;
  ownerDraw_ = value;
  ItemsChanged();
}

void TMenu::SetImages(TCustomImageList* value)
{
  if (value == images_)
    return;
  if (images_)
    images_->RemoveFreeNotification(this);
  images_ = value;
  if (images_)
    images_->FreeNotification(this);
  ItemsChanged();
}

void TMenu::Notification(TComponent* component, TOperation operation)
{
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == images_) {
    images_ = nullptr;
    ItemsChanged();
  }
}

void TMenu::Loaded()
{
  TComponent::Loaded();
  ItemsChanged();
}

void TMenu::ItemsChanged()
{
  // Built on demand: until someone asked for the handle there is nothing to
  // keep in step, and a description being read changes items many times.
  if (!handle_ || HasState(csLoading) || HasState(csDestroying))
    return;
  RebuildHandle();
  MenuChanged();
}

void TMenu::RebuildHandle()
{
  // The old menu and its glyphs stay until the new one is in place: a form
  // swaps its bar over when told of the change.
  std::vector<std::unique_ptr<TBitmap>> oldGlyphs = std::move(glyphs_);
  glyphs_.clear();
  TMenuHandle fresh(CreateMenuHandle());
  if (!fresh)
    throw Exception("Cannot create a menu");
  BuildItems(fresh.Get(), *items_);
  std::swap(handle_, fresh);
}

namespace {

UINT ItemType(const TMenuItem& item, bool ownerDraw)
{
  // A line of an owner-drawn menu stays a separator (never selected) but is
  // drawn by the owner with the rest, so that it matches their look.
  UINT type = item.IsLine() ? MFT_SEPARATOR : MFT_STRING;
  if (ownerDraw)
    type = (type & MFT_SEPARATOR) | MFT_OWNERDRAW;
  if (item.RadioItem())
    type |= MFT_RADIOCHECK;
  if (item.Break() == mbBreak)
    type |= MFT_MENUBREAK;
  else if (item.Break() == mbBarBreak)
    type |= MFT_MENUBARBREAK;
  return type;
}

UINT ItemState(const TMenuItem& item)
{
  return (item.Checked() ? MFS_CHECKED : 0u) | (item.Enabled() ? 0u : MFS_GRAYED) |
         (item.Default() ? MFS_DEFAULT : 0u);
}

} // namespace

HBITMAP TMenu::GlyphFor(const TMenuItem& item)
{
  const TBitmap* source = nullptr;
  if (images_ && item.imageIndex_ >= 0 && item.imageIndex_ < images_->Count())
    source = &images_->Image(item.imageIndex_);
  else if (item.HasBitmap())
    source = item.bitmap_.get();
  if (!source)
    return nullptr;
  // The system knows nothing of our transparent fuchsia: the glyph is put
  // over the menu's colour.
  auto glyph = std::make_unique<TBitmap>(source->Width(), source->Height());
  TCanvas& canvas = glyph->Canvas();
  canvas.Brush.Color = gfx::clMenu;
  canvas.Brush.Style = bsSolid;
  canvas.FillRect(gfx::TRect(0, 0, source->Width(), source->Height()));
  DrawGlyph(canvas, *source, 0, 0, item.enabled_);
  glyphs_.push_back(std::move(glyph));
  return static_cast<HBITMAP>(glyphs_.back()->NativeHandle());
}

void TMenu::BuildItems(HMENU target, TMenuItem& parent)
{
  for (TMenuItem* item : parent.items_) {
    item->handle_ = nullptr;
    if (!item->visible_)
      continue;
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_DATA;
    info.wID = item->command_;
    info.dwItemData = item->command_;
    info.fType = ItemType(*item, ownerDraw_);
    info.fState = ItemState(*item);
    // Owner-drawn items carry no text: whoever draws them reads the caption.
    std::wstring text;
    if (!item->IsLine() && !ownerDraw_) {
      const std::string shortCut = item->ShortCutText();
      text = Utf8ToWide(shortCut.empty() ? item->caption_ : item->caption_ + "\t" + shortCut);
      info.fMask |= MIIM_STRING;
      info.dwTypeData = text.data();
      if (HBITMAP glyph = GlyphFor(*item)) {
        info.fMask |= MIIM_BITMAP;
        info.hbmpItem = glyph;
      }
    }
    TMenuHandle sub;
    if (!item->items_.empty()) {
      sub = TMenuHandle(CreatePopupMenu());
      BuildItems(sub.Get(), *item);
      info.fMask |= MIIM_SUBMENU;
      info.hSubMenu = sub.Get();
    }
    if (!InsertMenuItemW(target, UINT(GetMenuItemCount(target)), TRUE, &info))
      throw Exception("Cannot add the menu item " + item->caption_);
    // The menu it was placed in destroys the drop-down from now on.
    item->handle_ = sub.Release();
  }
}

TMenuItem* TMenu::FindItem(UINT_PTR value, TFindItemKind kind) const
{
  std::function<TMenuItem*(const TMenuItem&)> search = [&](const TMenuItem& parent) -> TMenuItem* {
    for (TMenuItem* item : parent.items_) {
      const bool match = (kind == fkCommand && item->command_ == value) ||
                         (kind == fkHandle && item->handle_ && reinterpret_cast<UINT_PTR>(item->handle_) == value) ||
                         (kind == fkShortCut && item->shortCut_ != scNone && item->shortCut_ == value);
      if (match)
        return item;
      if (TMenuItem* found = search(*item))
        return found;
    }
    return nullptr;
  };
  return search(*items_);
}

namespace {

// The item and its parents up to the menu's top level, outermost first.
std::vector<TMenuItem*> PathTo(TMenuItem* item)
{
  std::vector<TMenuItem*> path;
  for (TMenuItem* up = item; up && up->Parent(); up = up->Parent())
    path.push_back(up);
  std::reverse(path.begin(), path.end());
  return path;
}

} // namespace

TMenuItem* TMenu::FindShortCut(TShortCut shortCut) const
{
  TMenuItem* item = shortCut == scNone ? nullptr : FindItem(shortCut, fkShortCut);
  if (!item)
    return nullptr;
  for (TMenuItem* step : PathTo(item))
    if (!step->enabled_ || !step->visible_)
      return nullptr;
  return item;
}

bool TMenu::IsShortCut(TShortCut shortCut)
{
  TMenuItem* item = FindShortCut(shortCut);
  if (!item)
    return false;
  // Parents first: a drop-down's OnClick may bring its items up to date.
  for (TMenuItem* step : PathTo(item))
    step->Click();
  return true;
}

const TClassInfo& TMainMenu::ClassType()
{
  static const TClassInfo info("TMainMenu", &TMenu::ClassType(),
                               [](TComponent* owner) -> TComponent* { return new TMainMenu(owner); });
  return info;
}

TMainMenu::TMainMenu(TComponent* owner) : TMenu(owner) {}

TMainMenu::~TMainMenu()
{
  if (!window_ || !IsWindow(window_))
    return;
  // The form lets go of its bar keeping its client area; any other window
  // just loses it.
  auto* form = dynamic_cast<TForm*>(TWinControl::FindControl(window_));
  if (form && form->Menu() == this)
    form->SetMenu(nullptr);
  else if (HandleAllocated() && GetMenu(window_) == Handle())
    ::SetMenu(window_, nullptr);
}

void TMainMenu::MenuChanged()
{
  // Through the window, so that whoever stacked a procedure on the form
  // (a frame drawing the bar itself) hears of it as well.
  if (window_ && IsWindow(window_))
    SendMessageW(window_, CM_MENUCHANGED, 0, reinterpret_cast<LPARAM>(this));
}

void RegisterMenuClasses()
{
  for (const TClassInfo* info :
       {&TMainMenu::ClassType(), &TPopupMenu::ClassType(), &TMenuItem::ClassType(), &TImageList::ClassType()})
    RegisterComponentClass(*info);
}

} // namespace framework
