#pragma once
// TSkinComBox: a combo box keeps the system's list and text and wears the
// skin's button, in the paint style of the "ComboButton" element: a flat
// button beside the text (1), the whole control as one element (2), or a
// sunken edge with a button and an arrow glyph (0). Combo boxes of other
// component families show the "ComboxArrow" over their button window. The
// button is hot under the mouse, pressed while held, and follows focus and
// enabling; a left-hand button takes the mirrored images.
#include "skin/controls/EditLooks.h"
#include "skin/controls/SkinControl.h"

#include <memory>

namespace skin {

class TSkinComBox final : public TSkinControl {
public:
  // foreign: a combo box of another component family, named so by the
  // skin's list of third-party classes.
  explicit TSkinComBox(bool foreign = false);
  ~TSkinComBox() override;

  void AttachControl(TWinSkinForm& form, TSkinData& data, framework::TWinControl& control, bool recolour) override;
  void AttachWindow(TWinSkinForm& form, TSkinData& data, HWND window) override;
  void Unskin() override;

  [[nodiscard]] bool Foreign() const { return foreign_; }
  // Between the list's dropping down and its closing, as the framework
  // control announces them.
  [[nodiscard]] bool DroppedDown() const { return droppedDown_; }
  // Where the button is hot, in window coordinates, as the last paint put it.
  [[nodiscard]] const gfx::TRect& HotRect() const { return hotRect_; }

protected:
  void AfterMessage(framework::TMessage& message) override;
  void DrawSkin(HDC dc, const gfx::TRect& rect) override;

private:
  class TEditChildHook;

  // The edit child's hook and the list's scroll bar, after either attach.
  void AttachParts(bool frameworkControl);
  // Where the list's skinned scroll bar is attached.
  void AttachListBar(HWND list, TComboListBar kind);
  void SetPressed(bool pressed);
  void SetHot(bool hot);
  void FollowMouse(LPARAM position);
  [[nodiscard]] TPartLook Look() const;
  [[nodiscard]] bool LeftButton() const;
  // Where the client area starts in window coordinates, and a rectangle of
  // the client area moved there.
  [[nodiscard]] gfx::TPoint ClientOrigin() const;
  [[nodiscard]] gfx::TRect InWindow(const RECT& client) const;

  void DrawFlat(HDC dc, const gfx::TRect& rect, const gfx::TRect& systemButton);
  void DrawForeign(HDC dc, const gfx::TRect& rect) const;
  void DrawWhole(HDC dc, const gfx::TRect& rect) const;
  void DrawSunk(HDC dc, const gfx::TRect& rect);
  // One frame of the button strip for the look: the mirrored strip for a
  // left-hand button.
  void DrawButtonFrame(HDC dc, const gfx::TRect& target) const;

  bool foreign_;
  bool droppedDown_ = false;
  gfx::TRect hotRect_;
  std::unique_ptr<TEditChildHook> editHook_;
};

} // namespace skin
