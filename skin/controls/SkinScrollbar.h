#pragma once
// The companions of windows with scroll bars: TSkinScrollbar for framework
// controls (list boxes, memos, anything with a bar style) and TSkinScrollbarH
// for bare windows (the list of a simple combo box). Each lays an overlay
// over the window's horizontal and vertical bar and keeps both in place as
// the window moves, resizes, hides, scrolls and repaints.
#include "skin/controls/SkinControl.h"
#include "skin/controls/WScrollbar.h"

#include <memory>
#include <optional>

namespace skin {

// The two overlays of one window.
class TScrollOverlays {
public:
  void Make(TSkinData& data, HWND target, gfx::TColor colour, framework::TWinControl* control = nullptr);
  void Free();
  void Reposition();
  void Hide();
  void SetEnabled(bool enabled);
  // Repaints those that show; lays again those that do not while the
  // window's style now has their bar.
  void Refresh(HWND target);
  // A scroll message names the part it came from in its code.
  void ScrollMessage(UINT message, WPARAM wParam);
  // Fills the square between two shown bars with the skin's face colour; dc
  // is the target's window DC.
  void FillCorner(HDC dc, HWND target, gfx::TColor colour) const;

private:
  std::unique_ptr<TWScrollbar> horizontal_;
  std::unique_ptr<TWScrollbar> vertical_;
};

class TSkinScrollbar : public TSkinControl {
public:
  // Mode 1 is a single bar without the skin's border.
  explicit TSkinScrollbar(int32_t mode = 0);

  // Takes over the window procedure after laying the overlays.
  virtual void AttachScrolled(TWinSkinForm& form, TSkinData& data, framework::TWinControl& control);
  // The tables attach scrolled controls through AttachScrolled.
  void AttachControl(TWinSkinForm& form, TSkinData& data, framework::TWinControl& control, bool recolour) override;
  void Unskin() override;
  void SkinChanged() override;

  // The skin-aware notice asking for the border on a DC.
  static constexpr UINT kBorderNotice = 0xBC4B;
  // Posted to the form when the control's window is about to be made anew.
  static constexpr UINT kScrolledNotice = 0x3517;

protected:
  bool BeforeMessage(framework::TMessage& message) override;
  void AfterMessage(framework::TMessage& message) override;
  void DrawSkin(HDC dc, const gfx::TRect& rect) override;
  void SkinSwitched(bool active) override;

private:
  [[nodiscard]] bool DecideBorder(framework::TWinControl& control) const;
  void DrawBorder(HDC dc) const;
  void ReplaceFixedColour();
  void GiveFixedColourBack();

  TScrollOverlays overlays_;
  bool border_ = false;
  // A grid's FixedColor as it was before the skin replaced it.
  std::optional<int64_t> fixedColour_;
};

class TSkinScrollbarH final : public TSkinControl {
public:
  void AttachWindow(TWinSkinForm& form, TSkinData& data, HWND window) override;
  void Unskin() override;

protected:
  bool BeforeMessage(framework::TMessage& message) override;
  void AfterMessage(framework::TMessage& message) override;
  void DrawSkin(HDC dc, const gfx::TRect& rect) override;

private:
  TScrollOverlays overlays_;
};

} // namespace skin
