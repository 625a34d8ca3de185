// The menu messages of any window (the form showing a bar, the hidden owner
// of pop-up menus) led back to the items by their command numbers.
#include <algorithm>

#include "framework/win32/Forms.h"
#include "framework/win32/Graphics.h"
#include "framework/win32/Menus.h"
#include "framework/win32/OffScreenDraw.h"

namespace framework {

bool DispatchMenuCommand(UINT command)
{
  TMenuItem* item = FindMenuItem(command);
  if (!item)
    return false;
  if (item->Enabled())
    item->Click();
  return true;
}

bool MeasureMenuItem(MEASUREITEMSTRUCT& measure)
{
  if (measure.CtlType != ODT_MENU)
    return false;
  TMenuItem* item = FindMenuItem(UINT(measure.itemData));
  if (!item)
    return false;
  TCanvas canvas;
  canvas.Font = Screen->MenuFont()->Value();
  int width = int(measure.itemWidth), height = int(measure.itemHeight);
  item->MeasureItem(canvas, width, height);
  measure.itemWidth = UINT(std::max(0, width));
  measure.itemHeight = UINT(std::max(0, height));
  return true;
}

namespace {

TOwnerDrawState DrawState(UINT itemState)
{
  static const struct {
    UINT System;
    TOwnerDrawState Ours;
  } kStates[] = {{ODS_SELECTED, odSelected}, {ODS_GRAYED, odGrayed},   {ODS_DISABLED, odDisabled},
                 {ODS_CHECKED, odChecked},   {ODS_FOCUS, odFocused},   {ODS_DEFAULT, odDefault},
                 {ODS_HOTLIGHT, odHotLight}, {ODS_INACTIVE, odInactive}, {ODS_NOACCEL, odNoAccel}};
  TOwnerDrawState state = 0;
  for (const auto& s : kStates)
    if (itemState & s.System)
      state |= s.Ours;
  return state;
}

} // namespace

bool DrawMenuItem(const DRAWITEMSTRUCT& draw)
{
  if (draw.CtlType != ODT_MENU)
    return false;
  TMenuItem* item = FindMenuItem(UINT(draw.itemData));
  if (!item)
    return false;
  const gfx::TRect rect(draw.rcItem.left, draw.rcItem.top, draw.rcItem.right, draw.rcItem.bottom);
  DrawOffScreen(draw.hDC, rect, Screen->MenuFont()->Value(),
                [&](TCanvas& canvas) { item->DrawItem(canvas, rect, DrawState(draw.itemState)); });
  return true;
}

void MenuItemSelected(WPARAM wParam, LPARAM lParam)
{
  if (!Application)
    return;
  const UINT flags = HIWORD(wParam);
  const auto menu = reinterpret_cast<HMENU>(lParam);
  if (flags == 0xFFFF && !menu) {
    Application->SetHint("");
    return;
  }
  TMenuItem* item = (flags & MF_POPUP) ? FindMenuItemOfDropDown(GetSubMenu(menu, int(LOWORD(wParam))))
                                       : FindMenuItem(LOWORD(wParam));
  Application->SetHint(item ? item->Hint() : std::string());
}

LRESULT MenuCharToItem(wchar_t key, HMENU menu)
{
  const int count = GetMenuItemCount(menu);
  for (int index = 0; index < count; ++index) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_DATA | MIIM_FTYPE;
    if (!GetMenuItemInfoW(menu, UINT(index), TRUE, &info) || !(info.fType & MFT_OWNERDRAW))
      continue;
    const TMenuItem* item = FindMenuItem(UINT(info.dwItemData));
    if (item && item->Enabled() && IsAccel(char32_t(key), item->Caption()))
      return MAKELRESULT(index, MNC_EXECUTE);
  }
  return 0;
}

bool HandleMenuMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
  switch (msg) {
  case WM_COMMAND:
    // A menu's command carries no window; an accelerator's has 1 above it.
    if (lParam != 0 || HIWORD(wParam) > 1 || !DispatchMenuCommand(LOWORD(wParam)))
      return false;
    result = 0;
    return true;
  case WM_MEASUREITEM:
    if (wParam != 0 || !MeasureMenuItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)))
      return false;
    result = TRUE;
    return true;
  case WM_DRAWITEM:
    if (wParam != 0 || !DrawMenuItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)))
      return false;
    result = TRUE;
    return true;
  case WM_MENUSELECT:
    MenuItemSelected(wParam, lParam);
    result = 0;
    return true;
  case WM_MENUCHAR:
    result = MenuCharToItem(wchar_t(LOWORD(wParam)), reinterpret_cast<HMENU>(lParam));
    return result != 0;
  default:
    return false;
  }
}

} // namespace framework
