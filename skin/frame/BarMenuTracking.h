#pragma once
// Opening the drop-down menus of a skinned menu bar, and moving between them
// while one is open. The system's menu loop knows nothing of a bar it does
// not draw, so a message filter watches the loop: the arrow keys past the
// ends of a drop-down and the mouse sliding onto another bar button switch
// to that button's menu, by a non-client press posted to the window.
#include <windows.h>

#include "gfx/Geometry.h"

#include <optional>

namespace skin {

class TMenuBtn;
class TSkinManage;
class TWinSkinMenu;

// The hit-test value of the press that switches menus.
inline constexpr WPARAM kSwitchHitTest = 1;

class TBarMenuTracking {
public:
  TBarMenuTracking(HWND window, TWinSkinMenu& bar, TSkinManage& manager, bool rightToLeft);
  TBarMenuTracking(const TBarMenuTracking&) = delete;
  TBarMenuTracking& operator=(const TBarMenuTracking&) = delete;

  // Posts the button's command, and opens its drop-down below it when it has
  // one; returns when the menu closes (after any switching), or false at
  // once when there was nothing to open.
  bool Open(TMenuBtn& button);
  // A press on a bar button while a drop-down is open: the open menu closes
  // and the button's opens in its place.
  void SwitchTo(TMenuBtn& button);
  // WM_MENUSELECT sent to the window while a drop-down is open.
  void MenuSelected(WPARAM wParam, LPARAM lParam);

  [[nodiscard]] bool MenuOpen() const { return menuOpen_; }
  // The drop-down being tracked, or nullptr.
  [[nodiscard]] HMENU Tracked() const { return tracked_; }
  // The bar index of the open drop-down, -1 when none.
  [[nodiscard]] int CurrentIndex() const { return index_; }

private:
  void Track(TMenuBtn& button);
  [[nodiscard]] std::optional<LRESULT> Filter(int code, MSG& message);
  [[nodiscard]] bool KeyDown(MSG& message);
  void RequestSwitch(TMenuBtn* button);

  HWND window_;
  TWinSkinMenu& bar_;
  TSkinManage& manager_;
  bool rightToLeft_;
  bool menuOpen_ = false;
  bool switching_ = false;
  bool firstFilter_ = true;
  HMENU tracked_ = nullptr;
  int index_ = -1;
  TMenuBtn* pending_ = nullptr;
  // The item selected last: its menu and whether it opens a sub-menu.
  HMENU selectedMenu_ = nullptr;
  bool selectedHasChildren_ = false;
  POINT lastCursor_{-1, -1};
};

// Makes every item of a menu owner-drawn, into its sub-menus.
void MakeOwnerDrawn(HMENU menu);

} // namespace skin
