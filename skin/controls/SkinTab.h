#pragma once
// Skinned tab strips: TSkinTab draws the tabs from the skin's "Tabs" element
// (lying down in a work bitmap that is turned for tabs on the left or right)
// and the page frame around the pages; TSkinTabBtn draws button-style tabs
// from "Buttons"; TSkinTabSheet gives the pages the skin's face colour. The
// system keeps selecting, scrolling and hit testing.
#include "skin/controls/SkinControl.h"
#include "skin/controls/TabGeometry.h"

#include <vector>

namespace skin {

// One tab as the window reports it.
struct TTabItem {
  std::wstring Text;
  int32_t Image = -1;
  gfx::TRect Rect;
};

class TSkinTab final : public TSkinControl {
public:
  // windowlessChildren: a plain tab control paints the controls without a
  // window that stand on it.
  explicit TSkinTab(bool windowlessChildren = false) : windowlessChildren_(windowlessChildren) {}
  void AttachControl(TWinSkinForm& form, TSkinData& data, framework::TWinControl& control, bool recolour) override;
  void AttachWindow(TWinSkinForm& form, TSkinData& data, HWND window) override;
  void SkinChanged() override;

  // A page control whose Tag asks for it shows a close box on every tab.
  static constexpr intptr_t kCloseBoxTag = 7777;

protected:
  bool BeforeMessage(framework::TMessage& message) override;
  void DrawSkin(HDC dc, const gfx::TRect& rect) override;

private:
  void PreparePictures();
  // The scroller the tabs get when they overflow wears the skin too; it comes
  // and goes with the overflow, so it is looked for again at each paint.
  void SkinScroller();
  void DrawStrip(HDC work, const std::vector<TTabItem>& tabs, const gfx::TRect& strip, const gfx::TRect& page,
                 int32_t windowRight);
  // A press on a close box asks the form, and frees the page when it agrees.
  bool CloseBoxPressed(POINT at);

  TTabSide side_ = tsideTop;
  framework::TBitmap tabPicture_;
  framework::TBitmap pagePicture_;
  framework::TBitmap work_;
  std::vector<gfx::TRect> closeBoxes_;
  bool closeBox_ = false;
  bool windowlessChildren_ = false;
};

class TSkinTabBtn final : public TSkinControl {
protected:
  bool BeforeMessage(framework::TMessage& message) override;
  void DrawSkin(HDC dc, const gfx::TRect& rect) override;
};

class TSkinTabSheet final : public TSkinControl {
protected:
  bool BeforeMessage(framework::TMessage& message) override;
  void DrawSkin(HDC dc, const gfx::TRect& rect) override;
};

// The private message a close box sends the form: WParam the tab window,
// LParam the tab's index. An answer of 0 lets the page go.
inline constexpr UINT WM_SKIN_CLOSE_TAB = 0x3507;

} // namespace skin
