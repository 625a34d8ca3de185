#pragma once
// A header control: a row of sized, clickable sections, as lists show above
// their columns.
#include "framework/Collection.h"
#include "framework/win32/Controls.h"

#include <memory>

namespace framework {

class THeaderSection : public TCollectionItem {
public:
  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  [[nodiscard]] std::string Text() const { return text_; }
  void SetText(const std::string& value);
  [[nodiscard]] int Width() const { return width_; }
  void SetWidth(int value);
  [[nodiscard]] int MinWidth() const { return minWidth_; }
  void SetMinWidth(int value);
  [[nodiscard]] int MaxWidth() const { return maxWidth_; }
  void SetMaxWidth(int value);
  [[nodiscard]] TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  // The section's left edge: the widths of the sections before it.
  [[nodiscard]] int Left() const;

private:
  friend class THeaderControl;
  std::string text_;
  int width_ = 50;
  int minWidth_ = 0;
  int maxWidth_ = 10000;
  TAlignment alignment_ = taLeftJustify;
};

class THeaderControl;
using TSectionNotifyEvent = TEvent<void(THeaderControl* HeaderControl, THeaderSection* Section)>;

class THeaderControl : public TWinControl {
public:
  explicit THeaderControl(TComponent* owner);
  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  [[nodiscard]] TCollection* Sections() const { return sections_.get(); }
  [[nodiscard]] THeaderSection* Section(int index) const { return sections_->ItemAs<THeaderSection>(index); }
  // Sections that raise OnSectionClick look pressed while the mouse holds them.
  [[nodiscard]] bool HotTrack() const { return hotTrack_; }
  void SetHotTrack(bool value);
  void WndProc(TMessage& message) override;

  TSectionNotifyEvent OnSectionClick;
  TSectionNotifyEvent OnSectionResize;

protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

private:
  void FillSections();
  void SectionResized(int index, int width);

  std::unique_ptr<TCollection> sections_;
  bool hotTrack_ = false;
  bool filling_ = false;
};

} // namespace framework
