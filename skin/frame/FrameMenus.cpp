// The menus of a skinned frame: the bar it draws instead of the system's,
// the drop-downs it opens from it, and the items of every menu shown for its
// window, measured and drawn from the skin.
#include "skin/frame/WinSkinForm.h"

#include "framework/win32/Forms.h"
#include "framework/win32/Graphics.h"
#include "framework/win32/Menus.h"
#include "skin/SkinData.h"
#include "skin/controls/WinSkinPopMenu.h"
#include "skin/frame/BarMenuTracking.h"
#include "skin/frame/MenuItemPainter.h"
#include "skin/frame/SkinnedSystemMenu.h"
#include "skin/frame/WinSkinMenu.h"
#include "skin/win32/SkinManage.h"

#include <functional>

namespace skin {

namespace {

// Commands below this belong to the window's own menu handling.
constexpr UINT kFirstForeignCommand = 4096;

// The Alt key was down with a character message (WM_SYSCHAR's context bit).
bool AltHeld(LPARAM lParam) { return (lParam & (LPARAM(1) << 29)) != 0; }

bool IsSystemMenu(HMENU menu)
{
  MENUINFO info{};
  info.cbSize = sizeof info;
  info.fMask = MIM_MENUDATA;
  return menu && GetMenuInfo(menu, &info) && info.dwMenuData == kSystemMenuTag;
}

TMenuBackground BackgroundOf(TWinSkinPopMenu* popup)
{
  if (!popup)
    return {};
  return {&popup->FrameImage(), popup->ClientOffset()};
}

// The skinner of the pop-up window an item is drawn in: found by the
// device context when it is the window's own, else the pop-up opened last.
TWinSkinPopMenu* PopupOf(TSkinManage& manager, HDC dc)
{
  if (TWinSkinPopMenu* popup = manager.PopupSkinnerOf(WindowFromDC(dc)))
    return popup;
  return manager.NewestPopupSkinner();
}

void ForEachItem(framework::TMenuItem& parent, const std::function<void(framework::TMenuItem&)>& action)
{
  for (int i = 0; i < parent.Count(); ++i) {
    action(*parent.Items(i));
    ForEachItem(*parent.Items(i), action);
  }
}

void ForEachMenu(framework::TComponent& owner, const std::function<void(framework::TMenu&)>& action)
{
  for (int i = 0; i < owner.ComponentCount(); ++i) {
    framework::TComponent* component = owner.Components(i);
    if (auto* menu = dynamic_cast<framework::TMenu*>(component))
      action(*menu);
    else if (dynamic_cast<framework::TWinControl*>(component) && component->ComponentCount() > 0)
      ForEachMenu(*component, action);
  }
}

} // namespace

// ----- The bar ----------------------------------------------------------------------

bool TWinSkinForm::MenuOpen() const { return barTracking_ && barTracking_->MenuOpen(); }

void TWinSkinForm::TakeMenuBar()
{
  if (!menuBar_) {
    menuBar_ = std::make_unique<TWinSkinMenu>(*this, form_ ? form_->Menu() : nullptr);
    barTracking_ = std::make_unique<TBarMenuTracking>(window_, *menuBar_, manager_, rightToLeft_);
  }
  menuBar_->Build();
}

// A form frees its own menu; a foreign window's menu goes back to it, and
// with it to the system, which destroys it with the window.
void TWinSkinForm::GiveMenuBarBack(bool destroying)
{
  if (!menuBar_ || MenuOpen())
    return;
  if (!destroying || !form_)
    menuBar_->GiveBack();
  barTracking_.reset();
  menuBar_.reset();
}

bool TWinSkinForm::OpenBarMenu(TMenuBtn& button)
{
  if (!barTracking_)
    return false;
  if (barTracking_->MenuOpen()) {
    barTracking_->SwitchTo(button);
    return true;
  }
  data_.HideHint();
  return barTracking_->Open(button);
}

std::optional<LRESULT> TWinSkinForm::MenuBarMouse(UINT message, gfx::TPoint at)
{
  switch (message) {
  case WM_NCMOUSEMOVE:
    if (active_ && !MenuOpen())
      menuBar_->MouseMove(at);
    return 0;
  case WM_NCLBUTTONDOWN:
  case WM_NCLBUTTONDBLCLK:
    if (TMenuBtn* button = menuBar_->ButtonAt(at)) {
      if (!active_)
        SetForegroundWindow(window_);
      OpenBarMenu(*button);
    }
    return 0;
  default:
    return 0;
  }
}

void TWinSkinForm::PostBarPress(const TMenuBtn& button)
{
  RECT window{};
  GetWindowRect(window_, &window);
  const gfx::TRect& r = button.Rect();
  PostMessageW(window_, WM_NCLBUTTONDOWN, kSwitchHitTest,
               MAKELPARAM(window.left + r.Left + 1, window.top + r.Top + 1));
}

bool TWinSkinForm::DialogCharElsewhere(WPARAM key, LPARAM keyData)
{
  if (AltHeld(keyData) && OpenByAccelerator(wchar_t(key)))
    return true;
  framework::TForm* next = nullptr;
  if (mdiChild_)
    next = dynamic_cast<framework::TForm*>(framework::TWinControl::FindControl(MdiFrameWindow()));
  else if (framework::Application)
    next = framework::Application->MainForm();
  // A form behind a modal one (disabled) must not open its menus.
  if (!next || next == form_ || !next->HandleAllocated() || !IsWindowEnabled(next->Handle()))
    return false;
  return next->Perform(framework::CM_DIALOGCHAR, key, keyData) != 0;
}

bool TWinSkinForm::OpenByAccelerator(wchar_t key)
{
  TMenuBtn* button = menuBar_ ? menuBar_->ButtonByAccel(key) : nullptr;
  if (!button)
    return false;
  PostBarPress(*button);
  return true;
}

// ----- Items ------------------------------------------------------------------------

void TWinSkinForm::SystemMenuOpening(HMENU menu)
{
  MakeOwnerDrawn(menu);
  systemMenuOpen_ = menu;
}

std::optional<LRESULT> TWinSkinForm::MeasureMenuItem(MEASUREITEMSTRUCT& measure)
{
  if (measure.CtlType != ODT_MENU || !(menuBar_ || systemMenuOpen_))
    return std::nullopt;
  manager_.FlagBarPopups();
  const UINT command = measure.itemID;
  framework::TMenu* menu = form_ ? form_->Menu() : nullptr;
  if (framework::TMenuItem* item = menu ? menu->FindItem(command, framework::fkCommand) : nullptr) {
    MeasureFrameworkItem(data_, *item, menu->Images() != nullptr, measure.itemWidth, measure.itemHeight);
    return TRUE;
  }
  if (command != 0 && command < kFirstForeignCommand && form_)
    return std::nullopt;
  std::wstring text;
  if (systemMenuOpen_ && FindItemText(systemMenuOpen_, command, text)) {
    MeasureSystemMenuItem(data_, text, measure.itemWidth, measure.itemHeight);
    return TRUE;
  }
  if (!FindItemText(barTracking_ ? barTracking_->Tracked() : nullptr, command, text))
    text.clear();
  MeasureSystemItem(data_, text, measure.itemWidth, measure.itemHeight);
  return TRUE;
}

std::optional<LRESULT> TWinSkinForm::DrawMenuItem(const DRAWITEMSTRUCT& draw)
{
  if (draw.CtlType != ODT_MENU || !(menuBar_ || systemMenuOpen_))
    return std::nullopt;
  manager_.FlagBarPopups();
  const auto menu = reinterpret_cast<HMENU>(draw.hwndItem);
  const bool selected = draw.itemState & ODS_SELECTED;
  const TMenuBackground background = BackgroundOf(PopupOf(manager_, draw.hDC));
  framework::TMenu* formMenu = form_ ? form_->Menu() : nullptr;
  framework::TMenuItem* item = formMenu ? formMenu->FindItem(draw.itemID, framework::fkCommand) : nullptr;
  if (item && !IsSystemMenu(menu)) {
    PaintMenuItem(draw.hDC, draw.rcItem, ViewOfFrameworkItem(*item, selected), mkFramework, data_, background,
                  rightToLeft_);
    return TRUE;
  }
  if (draw.itemID != 0 && draw.itemID < kFirstForeignCommand && form_ && !IsSystemMenu(menu))
    return std::nullopt;
  PaintMenuItem(draw.hDC, draw.rcItem, ViewOfSystemItem(menu, draw.itemID, false, selected), mkSystem, data_,
                background, rightToLeft_);
  return TRUE;
}

// ----- The form's menus ---------------------------------------------------------------

// Pop-up menus are tracked for a window of the framework, not for the form,
// so their items reach the frame's drawing through their handlers.
void TWinSkinForm::PrepareFrameworkMenus(bool on)
{
  if (!form_ || on == menusPrepared_ || form_->ClassName() == "TwwRichEditForm")
    return;
  const TSkinControlTypes controls = data_.SkinControls();
  if (on && !(controls & (Bit(xcPopupMenu) | Bit(xcMenuItem))))
    return;
  menusPrepared_ = on;
  ForEachMenu(*form_, [&](framework::TMenu& menu) {
    const bool popup = dynamic_cast<framework::TPopupMenu*>(&menu) != nullptr;
    if (popup && (!(controls & Bit(xcPopupMenu)) || menu.Tag() == data_.DisableTag()))
      return;
    if (!popup && !(controls & Bit(xcMenuItem)))
      return;
    menu.SetOwnerDraw(on);
    if (!popup)
      return;
    ForEachItem(*menu.Items(), [&](framework::TMenuItem& item) {
      if (!on) {
        item.OnDrawItem = framework::TMenuDrawItemEvent();
        item.OnMeasureItem = framework::TMenuMeasureItemEvent();
        return;
      }
      item.OnDrawItem = framework::TMenuDrawItemEvent(
        [this](framework::TObject* sender, framework::TCanvas& canvas, const gfx::TRect& rect, bool selected) {
          framework::TCanvasDC dc(canvas);
          if (!dc.DC())
            return;
          auto& drawn = *static_cast<framework::TMenuItem*>(sender);
          PaintMenuItem(dc.DC(), {rect.Left, rect.Top, rect.Right, rect.Bottom}, ViewOfFrameworkItem(drawn, selected),
                        mkFramework, data_, BackgroundOf(manager_.NewestPopupSkinner()), rightToLeft_);
        });
      if (!item.OnMeasureItem)
        item.OnMeasureItem = framework::TMenuMeasureItemEvent(
          [this](framework::TObject* sender, framework::TCanvas&, int& width, int&) {
            const framework::TMenu* owner = static_cast<framework::TMenuItem*>(sender)->GetParentMenu();
            width += PopupItemExtraWidth(data_, owner && owner->Images());
          });
    });
  });
}

} // namespace skin
