#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Bitmap.h"
#include "framework/Canvas.h"
#include "framework/Component.h"
#include "framework/ImageList.h"
#include "framework/ShortCut.h"
#include "framework/TypeInfo.h"
#include "framework/win32/Handles.h"
#include "gfx/Geometry.h"

// Menus: items (TMenuItem) in a tree under a menu (TMenu), shown as a form's
// menu bar (TMainMenu) or on demand under the mouse (TPopupMenu).
//
// The items are the truth; the Win32 menus are built from them. Every item
// carries a command number unique in the process, so that WM_COMMAND,
// WM_MEASUREITEM, WM_DRAWITEM and WM_MENUSELECT lead back to it from any
// window. A change of an item builds its menu's Win32 handles anew (a handful
// of items costs nothing) and tells the form showing it (CM_MENUCHANGED), so
// whoever draws the bar in its place hears of it too.
namespace framework {

class TMenu;
class TForm;

enum TMenuBreak : uint8_t { mbNone, mbBreak, mbBarBreak };
enum TFindItemKind : uint8_t { fkCommand, fkHandle, fkShortCut };

enum TOwnerDrawStateItem : uint16_t {
  odSelected = 1u << 0,
  odGrayed = 1u << 1,
  odDisabled = 1u << 2,
  odChecked = 1u << 3,
  odFocused = 1u << 4,
  odDefault = 1u << 5,
  odHotLight = 1u << 6,
  odInactive = 1u << 7,
  odNoAccel = 1u << 8,
};
using TOwnerDrawState = uint16_t;

using TMenuDrawItemEvent = TEvent<void(TObject* Sender, TCanvas& ACanvas, const gfx::TRect& ARect, bool Selected)>;
using TAdvancedMenuDrawItemEvent =
    TEvent<void(TObject* Sender, TCanvas& ACanvas, const gfx::TRect& ARect, TOwnerDrawState State)>;
using TMenuMeasureItemEvent = TEvent<void(TObject* Sender, TCanvas& ACanvas, int& Width, int& Height)>;

const TEnumInfo& MenuBreakInfo();

class TMenuItem : public TComponent {
public:
  explicit TMenuItem(TComponent* owner);
  // Frees the sub-items too, and leaves the parent item.
  ~TMenuItem() override;

  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  // "-" makes the item a separator; '&' marks the accelerator letter.
  [[nodiscard]] const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& value);
  [[nodiscard]] TShortCut ShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut value);
  // The shortcut as text ("Ctrl+O"): how form descriptions store it.
  [[nodiscard]] std::string ShortCutText() const { return ShortCutToText(shortCut_); }
  void SetShortCutText(const std::string& value) { SetShortCut(TextToShortCut(value)); }
  [[nodiscard]] bool Checked() const { return checked_; }
  // Checking a radio item unchecks the radio items of the same group
  // among its siblings.
  void SetChecked(bool value);
  [[nodiscard]] bool RadioItem() const { return radioItem_; }
  void SetRadioItem(bool value);
  [[nodiscard]] uint8_t GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(uint8_t value);
  // A click checks the item first (a radio item) or toggles it.
  [[nodiscard]] bool AutoCheck() const { return autoCheck_; }
  void SetAutoCheck(bool value) { autoCheck_ = value; }
  [[nodiscard]] bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  [[nodiscard]] bool Visible() const { return visible_; }
  void SetVisible(bool value);
  [[nodiscard]] bool Default() const { return default_; }
  void SetDefault(bool value);
  [[nodiscard]] int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value);
  [[nodiscard]] const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& value) { hint_ = value; }
  [[nodiscard]] TMenuBreak Break() const { return break_; }
  void SetBreak(TMenuBreak value);
  // The item's own glyph, shown when its menu has no image for it. Tell the
  // item after drawing on it (BitmapChanged).
  [[nodiscard]] TBitmap& Bitmap();
  [[nodiscard]] bool HasBitmap() const { return bitmap_ && !bitmap_->Empty(); }
  void BitmapChanged() { Changed(); }
  [[nodiscard]] bool IsLine() const { return caption_ == "-"; }

  // ----- The tree -----
  [[nodiscard]] int Count() const { return int(items_.size()); }
  [[nodiscard]] TMenuItem* Items(int index) const { return items_.at(size_t(index)); }
  [[nodiscard]] int IndexOf(const TMenuItem* item) const;
  void Add(TMenuItem* item);
  void Insert(int index, TMenuItem* item);
  // Takes the item out without freeing it.
  void Remove(TMenuItem* item);
  // Frees every sub-item.
  void Clear();
  [[nodiscard]] TMenuItem* Parent() const { return parent_; }
  // The menu the tree belongs to, or nullptr.
  [[nodiscard]] TMenu* GetParentMenu() const;
  // The sub-item whose caption, accelerator marks left out, is the text.
  [[nodiscard]] TMenuItem* Find(std::string_view caption) const;

  // ----- The Win32 side -----
  // The command that WM_COMMAND carries for this item: never 0, unique in
  // the process while the item lives.
  [[nodiscard]] UINT Command() const { return command_; }
  // The drop-down menu of an item with sub-items in the menu as last built,
  // else nullptr.
  [[nodiscard]] HMENU Handle() const { return handle_; }

  // What a click on the item does: checks it when AutoCheck, then OnClick.
  virtual void Click();
  // The size of an owner-drawn item: the item's own measure, then
  // OnMeasureItem may change it.
  void MeasureItem(TCanvas& canvas, int& width, int& height);
  // Draws an owner-drawn item on a canvas in the menu's coordinates:
  // OnAdvancedDrawItem, else OnDrawItem, else the item's own look.
  void DrawItem(TCanvas& canvas, const gfx::TRect& rect, TOwnerDrawState state);
  // The item's own look and size, for handlers that draw around it.
  void DefaultMeasureItem(TCanvas& canvas, int& width, int& height) const;
  void DefaultDrawItem(TCanvas& canvas, const gfx::TRect& rect, TOwnerDrawState state) const;

  [[nodiscard]] TComponent* GetParentComponent() const override;
  [[nodiscard]] bool HasParent() const override { return true; }
  void SetParentComponent(TComponent* parent) override;

  TNotifyEvent OnClick;
  TMenuDrawItemEvent OnDrawItem;
  TAdvancedMenuDrawItemEvent OnAdvancedDrawItem;
  TMenuMeasureItemEvent OnMeasureItem;

private:
  friend class TMenu;
  // Something shown changed: the menu builds its handles anew.
  void Changed();
  void UncheckRadioSiblings();
  [[nodiscard]] const TCustomImageList* Images() const;

  std::string caption_;
  TShortCut shortCut_ = scNone;
  bool checked_ = false;
  bool radioItem_ = false;
  uint8_t groupIndex_ = 0;
  bool autoCheck_ = false;
  bool enabled_ = true;
  bool visible_ = true;
  bool default_ = false;
  int imageIndex_ = -1;
  std::string hint_;
  TMenuBreak break_ = mbNone;
  std::unique_ptr<TBitmap> bitmap_;
  std::vector<TMenuItem*> items_;
  TMenuItem* parent_ = nullptr;
  // Set on the root item of a menu.
  TMenu* menu_ = nullptr;
  UINT command_;
  HMENU handle_ = nullptr;
};

class TMenu : public TComponent {
public:
  explicit TMenu(TComponent* owner);
  ~TMenu() override;

  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  // The invisible root whose sub-items are the menu's top level.
  [[nodiscard]] TMenuItem* Items() const { return items_.get(); }
  // The Win32 menu, built when first asked for and after every change.
  [[nodiscard]] HMENU Handle();
  [[nodiscard]] bool HandleAllocated() const { return static_cast<bool>(handle_); }

  // Every item is drawn by its OnDrawItem handlers or its own look
  // (MFT_OWNERDRAW), not by the system.
  [[nodiscard]] bool OwnerDraw() const { return ownerDraw_; }
  void SetOwnerDraw(bool value);
  [[nodiscard]] TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* value);

  // Looks through the whole tree: by command, by drop-down handle or by
  // shortcut.
  [[nodiscard]] TMenuItem* FindItem(UINT_PTR value, TFindItemKind kind) const;
  // The item with this shortcut whose every parent is enabled and visible,
  // or nullptr.
  [[nodiscard]] TMenuItem* FindShortCut(TShortCut shortCut) const;
  // Runs the click of the enabled, visible item with this shortcut (its
  // parents' clicks first, so they can update their sub-items); answers
  // whether there was one.
  bool IsShortCut(TShortCut shortCut);

  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;

protected:
  // An empty menu of the right kind: a bar or a drop-down.
  [[nodiscard]] virtual HMENU CreateMenuHandle() const = 0;
  // Told after the handles were built anew.
  virtual void MenuChanged() {}

private:
  friend class TMenuItem;
  void ItemsChanged();
  void RebuildHandle();
  void BuildItems(HMENU target, TMenuItem& parent);
  [[nodiscard]] HBITMAP GlyphFor(const TMenuItem& item);

  std::unique_ptr<TMenuItem> items_;
  TMenuHandle handle_;
  // The glyphs of image-list items as the system draws them, kept while
  // the menu built with them lives.
  std::vector<std::unique_ptr<TBitmap>> glyphs_;
  bool ownerDraw_ = false;
  TCustomImageList* images_ = nullptr;
};

// A form's menu bar (the form's Menu).
class TMainMenu : public TMenu {
public:
  explicit TMainMenu(TComponent* owner);
  // Takes itself off the window showing it, which would otherwise destroy
  // the freed menu once more.
  ~TMainMenu() override;

  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  // The form shows the menu in its window (or stops, with nullptr).
  void SetWindow(HWND window) { window_ = window; }
  [[nodiscard]] HWND Window() const { return window_; }

protected:
  [[nodiscard]] HMENU CreateMenuHandle() const override { return CreateMenu(); }
  // Sends CM_MENUCHANGED to the form that shows the menu.
  void MenuChanged() override;

private:
  HWND window_ = nullptr;
};

class TPopupMenu : public TMenu {
public:
  explicit TPopupMenu(TComponent* owner);

  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  // A right click (or the menu key) on a control whose PopupMenu this is
  // opens it.
  [[nodiscard]] bool AutoPopup() const { return autoPopup_; }
  void SetAutoPopup(bool value) { autoPopup_ = value; }
  // The control the menu was last opened for.
  [[nodiscard]] TComponent* PopupComponent() const { return popupComponent_; }
  void SetPopupComponent(TComponent* value) { popupComponent_ = value; }

  // Raises OnPopup, then shows the menu with its top-left corner at a point
  // of the screen and returns when it closes. The chosen item's click comes
  // through the message loop right after.
  virtual void Popup(int x, int y);

  void Notification(TComponent* component, TOperation operation) override;

  TNotifyEvent OnPopup;

protected:
  [[nodiscard]] HMENU CreateMenuHandle() const override { return CreatePopupMenu(); }

private:
  bool autoPopup_ = true;
  TComponent* popupComponent_ = nullptr;
};

// ----- Routing the menu messages of any window to the items -----

// The live item with this command, or nullptr.
[[nodiscard]] TMenuItem* FindMenuItem(UINT command);
// The live item whose drop-down menu this is, or nullptr.
[[nodiscard]] TMenuItem* FindMenuItemOfDropDown(HMENU dropDown);
// WM_COMMAND of a menu (lParam 0): runs the item's click. Answers whether
// the command was an item's.
bool DispatchMenuCommand(UINT command);
// WM_MEASUREITEM and WM_DRAWITEM of menu items (ODT_MENU); false for any
// other owner-drawn control or for items the framework did not make.
bool MeasureMenuItem(MEASUREITEMSTRUCT& measure);
bool DrawMenuItem(const DRAWITEMSTRUCT& draw);
// WM_MENUSELECT: the selected item's hint becomes the application's hint;
// closing the menu clears it.
void MenuItemSelected(WPARAM wParam, LPARAM lParam);
// WM_MENUCHAR: owner-drawn items have no text for the system to match the
// typed letter against, so their captions are searched. Answers the
// message's result (0: not found).
LRESULT MenuCharToItem(wchar_t key, HMENU menu);
// Handles the messages above for a window; answers whether it did.
bool HandleMenuMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

void RegisterMenuClasses();

} // namespace framework
