#pragma once
// TWinSkinMenu: the menu bar of one skinned window, drawn in the band under
// the caption instead of the system's. It takes the window's menu off the
// window (the system would draw it otherwise), keeps one TMenuBtn per item of
// the menu's top level, lays them out, paints the bar from the skin's
// "menuBar" element, and gives the menu back when skinning stops.
#include <windows.h>

#include "framework/Bitmap.h"
#include "skin/frame/CaptionHost.h"
#include "skin/frame/MenuBtn.h"

#include <memory>
#include <vector>

namespace framework {
class TMainMenu;
}

namespace skin {

class TDataSkinObject;

// Where the first button starts: 6 pixels in, past the element's left part
// (the right part for right-to-left bars), and 12 on a bar narrower than that.
[[nodiscard]] int32_t MenuBarStart(const TDataSkinObject* menuBar, int32_t barWidth, bool rightToLeft);

class TWinSkinMenu {
public:
  // menu is the form's framework menu, nullptr for a foreign window.
  TWinSkinMenu(TCaptionHost& host, framework::TMainMenu* menu);
  ~TWinSkinMenu();
  TWinSkinMenu(const TWinSkinMenu&) = delete;
  TWinSkinMenu& operator=(const TWinSkinMenu&) = delete;

  // Reads the buttons from the window's menu and takes the menu off the
  // window. A window that shows no menu keeps the buttons it had.
  void Build();
  // The same after an MDI frame was given a new menu: only items without a
  // text of their own take the framework item's caption.
  void BuildAfterMdiSetMenu();
  // Reads the buttons again from the menu the bar took.
  void Rebuild();
  // Puts the menu back on the window (the frame stops skinning it).
  void GiveBack();
  // The menu the bar took, or nullptr.
  [[nodiscard]] HMENU WindowMenu() const { return windowMenu_; }

  // Paints the bar on dc (window coordinates) into rect and places the buttons.
  void Paint(HDC dc, const gfx::TRect& rect);
  // Draws one button over the saved bar background, straight on the window.
  void RedrawButton(const TMenuBtn& button);
  [[nodiscard]] const gfx::TRect& Rect() const { return rect_; }

  [[nodiscard]] size_t Count() const { return buttons_.size(); }
  [[nodiscard]] TMenuBtn& Button(size_t index) const { return *buttons_.at(index); }
  // The button with a caption under a point in window coordinates.
  [[nodiscard]] TMenuBtn* ButtonAt(gfx::TPoint windowPoint) const;
  // The first visible, enabled button whose caption has key as accelerator.
  [[nodiscard]] TMenuBtn* ButtonByAccel(wchar_t key) const;
  // The next or previous button with a caption, wrapping at the ends.
  [[nodiscard]] TMenuBtn* Neighbour(int index, int step) const;

  // The mouse over the bar: the button under it lights up, the one before
  // lets go. Answers whether a button is under the point.
  bool MouseMove(gfx::TPoint windowPoint);
  // The lit or pressed button lets go.
  void LeaveHot();
  [[nodiscard]] TMenuBtn* Hot() const { return hot_; }
  void SetHot(TMenuBtn* button);

private:
  void ReadButtons(HMENU menu, bool textFirst);
  void PaintBackground(HDC dc, int32_t width, int32_t height) const;
  void LayOut(HDC dc, int32_t width);
  void DrawCaption(HDC dc, const TMenuBtn& button, const RECT& cell) const;

  TCaptionHost& host_;
  framework::TMainMenu* menu_;
  std::vector<std::unique_ptr<TMenuBtn>> buttons_;
  HMENU windowMenu_ = nullptr;
  gfx::TRect rect_;
  framework::TBitmap work_;
  // The bar's background as last painted, for one button's repaint.
  framework::TBitmap background_;
  TMenuBtn* hot_ = nullptr;
};

} // namespace skin
