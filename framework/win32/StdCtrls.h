#pragma once
#include "framework/StringList.h"
#include "framework/win32/Controls.h"

// Standard controls: push button, check box, radio button, edit, drop-down
// combo box, label, group box, panel, bevel and radio group.
namespace framework {

enum TCheckBoxState : uint8_t { cbUnchecked, cbChecked, cbGrayed };
enum TComboBoxStyle : uint8_t { csDropDown, csSimple, csDropDownList };
enum TBevelCut : uint8_t { bvNone, bvLowered, bvRaised, bvSpace };
enum TBevelShape : uint8_t { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle : uint8_t { bsLowered, bsRaised };

class TButton : public TWinControl {
public:
  explicit TButton(TComponent* owner);
  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  [[nodiscard]] bool Default() const { return default_; }
  void SetDefault(bool value);
  [[nodiscard]] bool Cancel() const { return cancel_; }
  void SetCancel(bool value) { cancel_ = value; }
  [[nodiscard]] int ModalResult() const { return modalResult_; }
  void SetModalResult(int value) { modalResult_ = value; }
  void Click() override;
  void WndProc(TMessage& message) override;

protected:
  void CreateParams(TCreateParams& params) override;

private:
  bool default_ = false;
  bool cancel_ = false;
  int modalResult_ = 0;
};

class TCheckBox : public TWinControl {
public:
  explicit TCheckBox(TComponent* owner);
  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  [[nodiscard]] bool Checked() const { return state_ == cbChecked; }
  // A change of state raises OnClick, whether the user or the program made it.
  void SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }
  [[nodiscard]] TCheckBoxState State() const { return state_; }
  void SetState(TCheckBoxState value);
  [[nodiscard]] bool AllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool value) { allowGrayed_ = value; }
  void WndProc(TMessage& message) override;

protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

private:
  TCheckBoxState state_ = cbUnchecked;
  bool allowGrayed_ = false;
};

class TRadioButton : public TWinControl {
public:
  explicit TRadioButton(TComponent* owner);
  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  [[nodiscard]] bool Checked() const { return checked_; }
  // Checking a radio button clears the others of the same parent and raises
  // OnClick.
  void SetChecked(bool value);
  void WndProc(TMessage& message) override;

protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

private:
  bool checked_ = false;
};

class TEdit : public TWinControl {
public:
  explicit TEdit(TComponent* owner);
  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  [[nodiscard]] bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);
  [[nodiscard]] int MaxLength() const { return maxLength_; }
  void SetMaxLength(int value);
  void SetCaption(const std::string& value) override;
  void WndProc(TMessage& message) override;

  TNotifyEvent OnChange;

protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WindowDestroying() override;
  virtual void Change() { OnChange(this); }

private:
  bool readOnly_ = false;
  int maxLength_ = 0;
};

class TComboBox : public TWinControl {
public:
  explicit TComboBox(TComponent* owner);
  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  [[nodiscard]] TStringList* Items() const { return items_.get(); }
  [[nodiscard]] int ItemIndex() const;
  void SetItemIndex(int value);
  [[nodiscard]] TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle value);
  [[nodiscard]] int DropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(int value) { dropDownCount_ = std::max(1, value); }
  [[nodiscard]] bool DroppedDown() const;
  [[nodiscard]] std::string Caption() const override;
  void WndProc(TMessage& message) override;

  TNotifyEvent OnChange;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;

protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void UpdateBounds(const gfx::TRect& oldBounds) override;
  void WindowDestroying() override;

private:
  void FillItems();

  std::unique_ptr<TStringList> items_;
  int itemIndex_ = -1;
  TComboBoxStyle style_ = csDropDown;
  int dropDownCount_ = 8;
  bool filling_ = false;
};

class TLabel : public TGraphicControl {
public:
  explicit TLabel(TComponent* owner);
  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  [[nodiscard]] TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  [[nodiscard]] bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  [[nodiscard]] bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  bool CanAutoSize(int& newWidth, int& newHeight) override;
  void Paint() override;

private:
  [[nodiscard]] UINT TextFormat() const;

  TAlignment alignment_ = taLeftJustify;
  bool transparent_ = false;
  bool wordWrap_ = false;
};

class TGroupBox : public TCustomControl {
public:
  explicit TGroupBox(TComponent* owner);
  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

protected:
  void Paint() override;
  [[nodiscard]] gfx::TRect AdjustClientRect(gfx::TRect rect) const override;
  [[nodiscard]] int CaptionHeight() const;
};

class TPanel : public TCustomControl {
public:
  explicit TPanel(TComponent* owner);
  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  [[nodiscard]] TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  [[nodiscard]] TBevelCut BevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut value);
  [[nodiscard]] TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut value);
  [[nodiscard]] int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int value);
  [[nodiscard]] int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int value);

protected:
  void Paint() override;
  [[nodiscard]] gfx::TRect AdjustClientRect(gfx::TRect rect) const override;

private:
  TAlignment alignment_ = taCenter;
  TBevelCut bevelInner_ = bvNone;
  TBevelCut bevelOuter_ = bvRaised;
  int bevelWidth_ = 1;
  int borderWidth_ = 0;
};

class TBevel : public TGraphicControl {
public:
  explicit TBevel(TComponent* owner);
  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  [[nodiscard]] TBevelShape Shape() const { return shape_; }
  void SetShape(TBevelShape value);
  [[nodiscard]] TBevelStyle Style() const { return style_; }
  void SetStyle(TBevelStyle value);
  void Paint() override;

private:
  TBevelShape shape_ = bsBox;
  TBevelStyle style_ = bsLowered;
};

class TRadioGroup : public TGroupBox {
public:
  explicit TRadioGroup(TComponent* owner);
  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }

  [[nodiscard]] TStringList* Items() const { return items_.get(); }
  [[nodiscard]] int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int value);
  [[nodiscard]] int Columns() const { return columns_; }
  void SetColumns(int value);
  [[nodiscard]] int ButtonCount() const { return int(buttons_.size()); }
  [[nodiscard]] TRadioButton* Buttons(int index) const { return buttons_.at(size_t(index)); }
  void Loaded() override;

protected:
  void BoundsChanged() override { ArrangeButtons(); }

private:
  void UpdateButtons();
  void ArrangeButtons();

  std::unique_ptr<TStringList> items_;
  std::vector<TRadioButton*> buttons_;
  int itemIndex_ = -1;
  int columns_ = 1;
  bool updating_ = false;
};

} // namespace framework
