#pragma once
// Buttons with a glyph: TBitBtn, a push button that draws a glyph beside its
// caption, and TSpeedButton, a windowless button for tool strips that can
// stay down, alone or as one of a group.
#include "framework/ButtonLayout.h"
#include "framework/GlyphBitmap.h"
#include "framework/ImageList.h"
#include "framework/win32/StdCtrls.h"

#include <memory>

namespace framework {

// What glyph buttons share: the glyph strip and how it is laid out beside
// the caption.
class TGlyphButtonProperties {
public:
  TGlyphButtonProperties();

  [[nodiscard]] TGlyphBitmap* Glyph() const { return glyph_.get(); }
  // The glyph strip holds 1 to 4 equal parts: up, disabled, pressed, down.
  [[nodiscard]] int NumGlyphs() const { return numGlyphs_; }
  [[nodiscard]] TButtonLayout Layout() const { return layout_; }
  [[nodiscard]] int Margin() const { return margin_; }
  [[nodiscard]] int Spacing() const { return spacing_; }
  void SetNumGlyphs(int value);
  void SetLayout(TButtonLayout value);
  // Margin and Spacing take -1 (see TGlyphButtonGeometry) or more.
  void SetMargin(int value);
  void SetSpacing(int value);

protected:
  ~TGlyphButtonProperties() = default;
  // The glyph or its layout changed: the button repaints.
  virtual void GlyphChanged() = 0;
  // The layout of a button of this size for these properties.
  [[nodiscard]] TGlyphButtonGeometry Geometry(gfx::TPoint size) const;

private:
  std::unique_ptr<TGlyphBitmap> glyph_;
  int numGlyphs_ = 1;
  TButtonLayout layout_ = blGlyphLeft;
  int margin_ = -1;
  int spacing_ = 4;
};

class TBitBtn : public TButton, public TGlyphButtonProperties {
public:
  explicit TBitBtn(TComponent* owner);
  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  // Without a glyph the button shows Images at ImageIndex, and at
  // DisabledIndex (when not -1) while disabled.
  [[nodiscard]] TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* value);
  [[nodiscard]] int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value);
  [[nodiscard]] int DisabledIndex() const { return disabledIndex_; }
  void SetDisabledIndex(int value);

  void Notification(TComponent* component, TOperation operation) override;
  void WndProc(TMessage& message) override;

protected:
  void CreateParams(TCreateParams& params) override;
  void GlyphChanged() override { Invalidate(); }

private:
  void DrawItem(const DRAWITEMSTRUCT& item);
  [[nodiscard]] std::unique_ptr<TBitmap> GlyphFor(int32_t part) const;

  TCustomImageList* images_ = nullptr;
  int imageIndex_ = -1;
  int disabledIndex_ = -1;
};

class TSpeedButton : public TGraphicControl, public TGlyphButtonProperties {
public:
  explicit TSpeedButton(TComponent* owner);
  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }


  // Stays pressed. Only a button of a group (GroupIndex > 0) can be down;
  // putting one down lets the others of its group on the same parent up.
  [[nodiscard]] bool Down() const { return down_; }
  void SetDown(bool value);
  // Buttons on one parent with the same index form a group.
  [[nodiscard]] int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int value);
  // Whether the down button of a group may be clicked up, leaving none
  // down; shared by the whole group.
  [[nodiscard]] bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool value);
  // A flat button shows its face only under the mouse or while down.
  [[nodiscard]] bool Flat() const { return flat_; }
  void SetFlat(bool value);
  [[nodiscard]] bool MouseInControl() const { return mouseInControl_; }

  void Paint() override;
  void WndProc(TMessage& message) override;
  void Loaded() override;

protected:
  void GlyphChanged() override { Invalidate(); }

private:
  // Each button of the group but this one, on the same parent.
  template <class F> void ForEachInGroup(F&& f);
  void ReleaseGroup();
  void Press();
  void Track(const TMessage& message);
  void Release(const TMessage& message);
  [[nodiscard]] bool Inside(const TMessage& message) const;

  bool down_ = false;
  int groupIndex_ = 0;
  bool allowAllUp_ = false;
  bool flat_ = false;
  bool mouseInControl_ = false;
  // The left button went down on this button and is still held; pressing_
  // while the mouse is over it too.
  bool dragging_ = false;
  bool pressing_ = false;
};

} // namespace framework
