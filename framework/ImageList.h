#pragma once
#include <memory>
#include <vector>

#include "framework/Bitmap.h"
#include "framework/Canvas.h"
#include "framework/Component.h"

// A list of small pictures of one size (menu and button glyphs), each kept
// in a bitmap of its own. Fuchsia pixels are transparent, as in every other
// glyph the program draws.
namespace framework {

// Draws a glyph with its top-left corner at (x, y), fuchsia left out; a
// disabled one in the shadow colour only, as a greyed glyph.
void DrawGlyph(TCanvas& canvas, const TBitmap& glyph, int x, int y, bool enabled = true);

class TCustomImageList : public TComponent {
public:
  explicit TCustomImageList(TComponent* owner);
  ~TCustomImageList() override;

  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  [[nodiscard]] int Width() const { return width_; }
  [[nodiscard]] int Height() const { return height_; }
  // A change of size empties the list: the pictures no longer fit.
  void SetWidth(int value);
  void SetHeight(int value);
  [[nodiscard]] int Count() const { return int(images_.size()); }

  // Adds the bitmap cut into pictures of the list's size from left to right
  // (a strip adds several; a remainder narrower than Width is dropped).
  // Answers the index of the first one added, or -1 when none fitted.
  int Add(const TBitmap& strip);
  void Clear() { images_.clear(); }
  [[nodiscard]] const TBitmap& Image(int index) const { return *images_.at(size_t(index)); }

  // Draws a picture as DrawGlyph does; an index outside the list draws
  // nothing.
  void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true) const;

private:
  int width_ = 16;
  int height_ = 16;
  std::vector<std::unique_ptr<TBitmap>> images_;
};

class TImageList : public TCustomImageList {
public:
  using TCustomImageList::TCustomImageList;
  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }
};

} // namespace framework
