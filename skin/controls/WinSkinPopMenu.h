#pragma once
// The skinner of one pop-up menu window ("#32768") of the process. The
// manager creates one for each pop-up menu window that opens while skinning
// is on, lists it, and frees it when the window is destroyed. It remembers
// which menu the window belongs to, so the menu drawing can choose its look.
#include <windows.h>

#include "skin/frame/CaptionHost.h"

namespace skin {

class TSkinData;

class TWinSkinPopMenu {
public:
  TWinSkinPopMenu(TSkinData& data, HWND window, TPopupKind kind, bool menuBarPopup)
    : data_(data), window_(window), kind_(kind), menuBarPopup_(menuBarPopup) {}
  TWinSkinPopMenu(const TWinSkinPopMenu&) = delete;
  TWinSkinPopMenu& operator=(const TWinSkinPopMenu&) = delete;

  [[nodiscard]] HWND Window() const { return window_; }
  [[nodiscard]] TSkinData& SkinData() const { return data_; }
  [[nodiscard]] TPopupKind Kind() const { return kind_; }
  // The pop-up opened from a menu bar the frame tracks.
  [[nodiscard]] bool MenuBarPopup() const { return menuBarPopup_; }

private:
  TSkinData& data_;
  HWND window_;
  TPopupKind kind_;
  bool menuBarPopup_;
};

} // namespace skin
