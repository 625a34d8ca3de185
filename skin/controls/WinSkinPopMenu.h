#pragma once
// The skinner of one pop-up menu window ("#32768") of the process. The
// manager creates one for each pop-up menu window that opens while skinning
// is on, lists it, and frees it when the window is destroyed. It frames the
// window with the skin's "MenuBackground" element and keeps the composed
// image, which the item drawing takes its backgrounds from.
#include <windows.h>

#include "framework/Bitmap.h"
#include "framework/win32/Subclass.h"
#include "skin/frame/CaptionHost.h"

#include <memory>

namespace skin {

class TSkinData;

class TWinSkinPopMenu final : private framework::TSubclass {
public:
  TWinSkinPopMenu(TSkinData& data, HWND window, TPopupKind kind, bool menuBarPopup);
  ~TWinSkinPopMenu() override;

  [[nodiscard]] HWND Window() const { return window_; }
  [[nodiscard]] TSkinData& SkinData() const { return data_; }
  [[nodiscard]] TPopupKind Kind() const { return kind_; }
  // The pop-up opened from a menu bar the frame tracks.
  [[nodiscard]] bool MenuBarPopup() const { return menuBarPopup_; }
  void SetMenuBarPopup(bool on) { menuBarPopup_ = on; }

  // The frame as composed for the window's present size (made on first
  // need), and where the client area lies in it.
  [[nodiscard]] const framework::TBitmap& FrameImage();
  [[nodiscard]] gfx::TPoint ClientOffset() const;

private:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  [[nodiscard]] bool CanPaint() const;
  void PaintFrame(HDC dc, bool bandsOnly);
  LRESULT Print(WPARAM wParam, LPARAM lParam);

  TSkinData& data_;
  HWND window_;
  TPopupKind kind_;
  bool menuBarPopup_;
  framework::TBitmap frame_;
};

} // namespace skin
