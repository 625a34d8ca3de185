#pragma once
// One caption button of a skinned frame: a caption-button element of the
// skin, placed on the frame's window, shown or hidden by the window's state,
// and drawn from its strip (or as the window's icon).
#include <windows.h>

#include "skin/frame/CaptionHost.h"
#include "skin/frame/CaptionRules.h"
#include "skin/frame/NCObject.h"

namespace skin {

class TDataSkinSysButton;

class TWinSysButton final : public TNCObject {
public:
  TWinSysButton(TDataSkinSysButton& element, TCaptionHost& host);

  [[nodiscard]] TDataSkinSysButton& Element() const { return element_; }
  [[nodiscard]] int32_t Action() const;
  // Result of the last visibility test, and whether clicks do anything.
  [[nodiscard]] bool Visible() const { return visible_; }
  [[nodiscard]] bool Enabled() const { return enabled_; }
  // Visible, with an image to show and to click on.
  [[nodiscard]] bool Clickable() const;
  // Shown in the skinned menu bar instead of the caption band.
  [[nodiscard]] bool InMenuBar() const;
  [[nodiscard]] bool ShowsIcon() const;

  // Tests visibility and enabling against the window's state.
  void Update(const TCaptionWindow& window);
  void Place(const TCaptionLayout& layout);
  // Draws the button into the caption band being composed on dc (window
  // coordinates) as the whole band shows it.
  void DrawInBand(HDC dc, bool active) const;
  // Draws the button's first frame in the menu bar on dc (window coordinates).
  void DrawInMenuBar(HDC dc) const;
  // Draws the current draw state straight onto the window.
  void Redraw() override;

private:
  void DrawFrame(HDC dc, int32_t frame) const;
  void DrawIcon(HDC dc) const;

  TDataSkinSysButton& element_;
  TCaptionHost& host_;
  bool visible_ = false;
  bool enabled_ = true;
};

} // namespace skin
