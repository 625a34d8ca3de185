#include "skin/frame/SkinnedSystemMenu.h"

#include "skin/frame/CaptionRules.h"

#include <string>

namespace skin {

namespace {

struct TMenuItem {
  UINT Command = 0;
  UINT State = 0;
  std::wstring Text;
};

TMenuItem ReadItem(HMENU menu, UINT position)
{
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_ID | MIIM_STATE | MIIM_STRING;
  TMenuItem item;
  if (!GetMenuItemInfoW(menu, position, TRUE, &info))
    return item;
  item.Command = info.wID;
  item.State = info.fState;
  if (info.cch > 0) {
    item.Text.assign(size_t(info.cch) + 1, L'\0');
    info.dwTypeData = item.Text.data();
    info.cch += 1;
    if (GetMenuItemInfoW(menu, position, TRUE, &info))
      item.Text.resize(info.cch);
    else
      item.Text.clear();
  }
  return item;
}

void AppendItem(HMENU menu, const TMenuItem& item, TFrameShowState state, uint8_t icons)
{
  // The menu copies the text while the item is inserted.
  std::wstring text = item.Text;
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  if (item.Text.empty()) {
    info.fMask = MIIM_FTYPE;
    info.fType = MFT_SEPARATOR;
  } else {
    const TSystemMenuItemRule rule = SystemMenuItemRule(item.Command, state, icons);
    UINT itemState = item.State & (MFS_DISABLED | MFS_CHECKED | MFS_DEFAULT);
    if (rule.Enabled)
      itemState = *rule.Enabled ? (itemState & ~UINT(MFS_DISABLED)) : (itemState | MFS_DISABLED);
    info.fMask = MIIM_ID | MIIM_STATE | MIIM_STRING | MIIM_DATA;
    info.wID = item.Command;
    info.fState = itemState;
    info.dwTypeData = text.data();
    info.dwItemData = ULONG_PTR(LONG_PTR(rule.Glyph));
  }
  InsertMenuItemW(menu, UINT(GetMenuItemCount(menu)), TRUE, &info);
}

} // namespace

// The copy serves every platform we run on; the fixed menu that very old
// systems needed instead is not built.
TMenuOwner BuildSkinnedSystemMenu(const TCaptionHost& host)
{
  TMenuOwner menu(CreatePopupMenu());
  if (!menu)
    return menu;
  MENUINFO info{};
  info.cbSize = sizeof info;
  info.fMask = MIM_MENUDATA;
  info.dwMenuData = kSystemMenuTag;
  SetMenuInfo(menu.Get(), &info);

  HMENU system = host.SystemMenu();
  const int count = system ? GetMenuItemCount(system) : 0;
  for (int i = 0; i < count; ++i)
    AppendItem(menu.Get(), ReadItem(system, UINT(i)), host.ShowState(), host.BorderIcons());
  return menu;
}

UINT TrackSkinnedSystemMenu(const TCaptionHost& host, HMENU menu, POINT screen)
{
  return UINT(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0,
                             host.Window(), nullptr));
}

} // namespace skin
