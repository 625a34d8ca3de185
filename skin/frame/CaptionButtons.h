#pragma once
// The caption buttons of one skinned frame: one TWinSysButton per caption-
// button element of the skin, placed, shown and drawn in the caption band,
// driven by the mouse on the non-client area, with hover hints and the
// skinned system menu.
#include <windows.h>

#include "skin/frame/CaptionHost.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace skin {

class TNCObject;
class TWinSysButton;

class TCaptionButtons {
public:
  explicit TCaptionButtons(TCaptionHost& host);
  ~TCaptionButtons();
  TCaptionButtons(const TCaptionButtons&) = delete;
  TCaptionButtons& operator=(const TCaptionButtons&) = delete;

  // One button per caption-button element of the host's skin data.
  void Rebuild();
  // Frees the buttons (a new skin file was loaded); Rebuild makes them anew.
  void Clear();
  [[nodiscard]] bool Empty() const;

  // Places the visible buttons for a window windowWidth wide and draws them
  // on dc, which holds the caption band at window coordinates. Called after
  // the title is drawn (buttons aligned to the title use its rectangle).
  void PaintInCaption(HDC dc, int32_t windowWidth);
  // Draws the buttons that live in the menu bar (a maximised MDI document's),
  // placed by the last PaintInCaption, on the window's dc.
  void PaintInMenuBar(HDC dc) const;
  // The left edge of the leftmost button shown in the menu bar, if any.
  [[nodiscard]] std::optional<int32_t> MenuBarLeft() const;
  // Whether a clickable button lies under a point in window coordinates.
  [[nodiscard]] bool Over(gfx::TPoint windowPoint) const { return ButtonAt(windowPoint) != nullptr; }
  // The largest XCoord of the visible buttons measured from the right edge
  // (0 when none): the title of a pop-up window stops 5 pixels before it.
  [[nodiscard]] int32_t RightButtonsReach() const;

  // Non-client mouse messages (WM_NCMOUSEMOVE, WM_NCLBUTTONDOWN, WM_NCLBUTTONUP,
  // WM_NCLBUTTONDBLCLK, WM_NCRBUTTONDOWN): a value when the buttons handled the
  // message, nothing when the window's own handling should run. WM_NCRBUTTONUP
  // on the caption is answered too: the skinned menu opened on the press, and
  // the default handling would open the system's own after it.
  [[nodiscard]] std::optional<LRESULT> HandleMouse(UINT message, WPARAM wParam, LPARAM lParam);
  // The frame's 250 ms timer: hover time and hints.
  void TimerTick(uint32_t intervalMs);
  // The window became inactive or a menu opened: the hot button lets go and
  // the hint hides.
  void LeaveHot();
  // Opens the skinned system menu at a screen point (right click on the
  // caption, the icon button, Alt+Space).
  void OpenSystemMenu(POINT screenPoint);

  // The object the mouse is on or pressed, nullptr when none.
  [[nodiscard]] TNCObject* Hot() const { return hot_; }

private:
  [[nodiscard]] TWinSysButton* ButtonAt(gfx::TPoint windowPoint) const;
  [[nodiscard]] TWinSysButton* HotButton() const;
  void MakeHot(TNCObject* object);
  void ShowHoverHint(const TWinSysButton& button, POINT cursor);

  std::optional<LRESULT> MouseMove(gfx::TPoint at);
  std::optional<LRESULT> LeftDown(WPARAM hitTest, LPARAM lParam, gfx::TPoint at);
  std::optional<LRESULT> LeftUp(gfx::TPoint at, POINT screen);
  std::optional<LRESULT> DoubleClick(WPARAM hitTest, LPARAM lParam, gfx::TPoint at);
  std::optional<LRESULT> RightDown(WPARAM hitTest, gfx::TPoint at, POINT screen);
  [[nodiscard]] bool OnCaption(WPARAM hitTest, gfx::TPoint at) const;

  void RunAction(const TWinSysButton& button, POINT screen);
  void PostSysCommand(UINT command) const;
  void ToggleMaximized();
  void ToggleMinimized();
  void Close();
  void SendToActiveMdiChild(UINT command) const;
  void CloseOnDoubleClick();

  TCaptionHost& host_;
  std::vector<std::unique_ptr<TWinSysButton>> buttons_;
  TNCObject* hot_ = nullptr;
  // How long the mouse has rested on the hot button, in milliseconds.
  uint32_t hoverMs_ = 0;
  // When the system menu was last asked for (GetTickCount).
  std::optional<DWORD> lastMenuRequest_;
  bool menuOpen_ = false;
};

} // namespace skin
