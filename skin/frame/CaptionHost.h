#pragma once
// What the caption buttons and the skinned system menu see of the frame they
// sit on. The window frame implements it; the buttons never reach further
// into the frame than this.
#include <windows.h>

#include "framework/Bitmap.h"
#include "gfx/Geometry.h"
#include "skin/frame/FrameKinds.h"

#include <cstdint>
#include <optional>
#include <string>

namespace skin {

class TSkinData;

class TCaptionHost {
public:
  virtual ~TCaptionHost() = default;

  [[nodiscard]] virtual HWND Window() const = 0;
  [[nodiscard]] virtual TSkinData& SkinData() const = 0;
  [[nodiscard]] virtual const std::string& WindowClassName() const = 0;
  // The last WM_NCACTIVATE flag.
  [[nodiscard]] virtual bool Active() const = 0;
  [[nodiscard]] virtual TFrameShowState ShowState() const = 0;
  virtual void SetShowState(TFrameShowState state) = 0;
  [[nodiscard]] virtual TFrameBorderKind BorderKind() const = 0;
  // TFrameBorderIcon bits.
  [[nodiscard]] virtual uint8_t BorderIcons() const = 0;
  [[nodiscard]] virtual bool IsMdiFrame() const = 0;
  [[nodiscard]] virtual bool IsMdiChild() const = 0;
  [[nodiscard]] virtual bool RightToLeft() const = 0;
  // Border sizes and the menu band under the caption, in pixels.
  [[nodiscard]] virtual int32_t LeftWidth() const = 0;
  [[nodiscard]] virtual int32_t TopHeight() const = 0;
  [[nodiscard]] virtual int32_t RightWidth() const = 0;
  [[nodiscard]] virtual int32_t BottomHeight() const = 0;
  [[nodiscard]] virtual int32_t MenuHeight() const = 0;
  // Whether a skinned menu bar draws the window's menu.
  [[nodiscard]] virtual bool HasSkinnedMenuBar() const = 0;
  // Where the title text was last drawn, in window coordinates.
  [[nodiscard]] virtual gfx::TRect TitleRect() const = 0;
  // The window's small icon drawn on magenta (magenta is transparent).
  [[nodiscard]] virtual const framework::TBitmap& IconBitmap() const = 0;
  // Stops the frame's hover timer (before the window closes or minimises).
  virtual void StopTimer() = 0;
  // Repaints the whole non-client area.
  virtual void RedrawFrame() = 0;
  // The left edge (window coordinates) of the leftmost caption button shown
  // in the menu bar, or nothing when none is: a right-to-left bar keeps its
  // items clear of them.
  [[nodiscard]] virtual std::optional<int32_t> MenuBarButtonsLeft() const { return std::nullopt; }
  // Whether the window shows the skinned frame now (a maximised MDI document
  // is all client area, and its buttons must not be drawn over it).
  [[nodiscard]] virtual bool FrameVisible() const { return true; }
  // Tells the manager which menu the next pop-up belongs to.
  virtual void SetPopupKind(TPopupKind kind) = 0;
  // The MDI menu state of the manager (a maximised MDI child shows its menu
  // in the parent's bar).
  virtual void SetMdiMenuState(bool on) = 0;
  // The window's system menu as the frame noted it when it started (the frame
  // takes WS_SYSMENU off while painting, so the window may not hand it out).
  [[nodiscard]] virtual HMENU SystemMenu() const = 0;
  // Hands a message to the handling the window would give it without the
  // frame's buttons (its previous window procedure), changed as the buttons
  // need: a press on a maximised window's caption goes on as one on its menu.
  virtual LRESULT PassOn(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  // The skinned system menu is about to open and has closed: a frame that
  // draws menu items from the skin makes its items owner-drawn.
  virtual void SystemMenuOpening(HMENU) {}
  virtual void SystemMenuClosed() {}
};

} // namespace skin
