#pragma once
// What the caption buttons and the skinned system menu see of the frame they
// sit on. The window frame implements it; the buttons never reach further
// into the frame than this.
#include <windows.h>

#include "framework/Bitmap.h"
#include "gfx/Geometry.h"

#include <cstdint>
#include <string>

namespace skin {

class TSkinData;

// The kinds of border a frame gives its window.
enum TFrameBorderKind : uint8_t { fbSizeable = 0, fbFixed = 1, fbNoCaption = 2, fbDialog = 3 };

// Bits of the border icons a window asks for.
enum TFrameBorderIcon : uint8_t {
  fiMaximize = 1u << 0,
  fiMinimize = 1u << 1,
  fiHelp = 1u << 2,
  fiSystemMenu = 1u << 3,
  // The frame leaves the window's style alone (WS_SYSMENU stays on).
  fiKeepStyle = 1u << 4,
};

// Show states as the frame tracks them.
enum TFrameShowState : uint8_t { ssNormal = 0, ssMaximized = 1, ssMinimized = 2 };

// Which menu the next pop-up menu window belongs to; the manager chooses the
// pop-up skinner's look from it.
enum TPopupKind : uint8_t { pkContextMenu = 0, pkMenuBar = 1, pkSystemMenu = 2 };

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
  // Tells the manager which menu the next pop-up belongs to.
  virtual void SetPopupKind(TPopupKind kind) = 0;
  // The MDI menu state of the manager (a maximised MDI child shows its menu
  // in the parent's bar).
  virtual void SetMdiMenuState(bool on) = 0;
};

} // namespace skin
