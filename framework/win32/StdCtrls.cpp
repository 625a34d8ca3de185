#include "framework/win32/StdCtrls.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/win32/Forms.h"

// [SECTION] Buttons
// [SECTION] Edit and combo box
// [SECTION] Label, group box, panel, bevel
// [SECTION] Radio group

namespace framework {

namespace {

const TEnumInfo& CheckBoxStateInfo()
{
  static const TEnumInfo info{"TCheckBoxState", {"cbUnchecked", "cbChecked", "cbGrayed"}};
  return info;
}
const TEnumInfo& ComboStyleInfo()
{
  static const TEnumInfo info{"TComboBoxStyle", {"csDropDown", "csSimple", "csDropDownList"}};
  return info;
}
const TEnumInfo& BevelCutInfo()
{
  static const TEnumInfo info{"TBevelCut", {"bvNone", "bvLowered", "bvRaised", "bvSpace"}};
  return info;
}
const TEnumInfo& BevelShapeInfo()
{
  static const TEnumInfo info{"TBevelShape",
                              {"bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine", "bsSpacer"}};
  return info;
}
const TEnumInfo& BevelStyleInfo()
{
  static const TEnumInfo info{"TBevelStyle", {"bsLowered", "bsRaised"}};
  return info;
}

// Buttons take their clicks from the window's notification, not from the
// mouse messages, so keyboard presses count too.
constexpr TControlStyle kButtonStyle = csSetCaption | csDoubleClicks;

} // namespace

// ---------------------------------------------------------------------------
// [SECTION] Buttons

const TClassInfo& TButton::ClassType()
{
  static TClassInfo info("TButton", &TWinControl::ClassType(), [](TComponent* o) { return new TButton(o); });
  static const bool described = [] {
    info.Str("Caption", &TButton::Caption, &TButton::SetCaption);
    info.Bool("Default", &TButton::Default, &TButton::SetDefault, false);
    info.Bool("Cancel", &TButton::Cancel, &TButton::SetCancel, false);
    info.Int("ModalResult", &TButton::ModalResult, &TButton::SetModalResult, int64_t(0));
    info.Bool("TabStop", &TButton::TabStop, &TButton::SetTabStop, true);
    return true;
  }();
  (void)described;
  return info;
}

TButton::TButton(TComponent* owner) : TWinControl(owner)
{
  controlStyle_ = kButtonStyle;
  width_ = 75;
  height_ = 25;
  tabStop_ = true;
}

void TButton::CreateParams(TCreateParams& p)
{
  TWinControl::CreateParams(p);
  p.SystemClass = L"BUTTON";
  p.Style |= (default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
  p.Style &= ~DWORD(WS_CLIPCHILDREN);
}

void TButton::SetDefault(bool value)
{
  if (value == default_)
    return;
  default_ = value;
  if (HandleAllocated())
    SendMessageW(handle_, BM_SETSTYLE, value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::Click()
{
  TForm* form = ParentForm();
  if (form && modalResult_ != 0)
    form->SetModalResult(modalResult_);
  TWinControl::Click();
}

void TButton::WndProc(TMessage& m)
{
  if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
    Click();
    return;
  }
  if (m.Msg == CM_DIALOGKEY) {
    if (((m.WParam == VK_RETURN && default_) || (m.WParam == VK_ESCAPE && cancel_)) && Showing() && enabled_) {
      Click();
      m.Result = 1;
    }
    return;
  }
  TWinControl::WndProc(m);
}

const TClassInfo& TCheckBox::ClassType()
{
  static TClassInfo info("TCheckBox", &TWinControl::ClassType(), [](TComponent* o) { return new TCheckBox(o); });
  static const bool described = [] {
    info.Str("Caption", &TCheckBox::Caption, &TCheckBox::SetCaption);
    info.Bool("AllowGrayed", &TCheckBox::AllowGrayed, &TCheckBox::SetAllowGrayed, false);
    info.Enum("State", CheckBoxStateInfo(), &TCheckBox::State, &TCheckBox::SetState, int64_t(cbUnchecked));
    info.Bool("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked).Stored = false;
    info.Bool("TabStop", &TCheckBox::TabStop, &TCheckBox::SetTabStop, true);
    return true;
  }();
  (void)described;
  return info;
}

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner)
{
  controlStyle_ = kButtonStyle;
  width_ = 97;
  height_ = 17;
  tabStop_ = true;
  parentColor_ = true;
}

void TCheckBox::CreateParams(TCreateParams& p)
{
  TWinControl::CreateParams(p);
  p.SystemClass = L"BUTTON";
  p.Style |= BS_3STATE;
  p.Style &= ~DWORD(WS_CLIPCHILDREN);
}

void TCheckBox::CreateWnd()
{
  TWinControl::CreateWnd();
  SendMessageW(handle_, BM_SETCHECK, WPARAM(state_), 0);
}

void TCheckBox::SetState(TCheckBoxState value)
{
  if (value == state_)
    return;
  state_ = value;
  if (HandleAllocated())
    SendMessageW(handle_, BM_SETCHECK, WPARAM(value), 0);
  if (!HasState(csLoading))
    Click();
}

void TCheckBox::WndProc(TMessage& m)
{
  if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
    switch (state_) {
    case cbUnchecked: SetState(allowGrayed_ ? cbGrayed : cbChecked); break;
    case cbGrayed: SetState(cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    }
    return;
  }
  TWinControl::WndProc(m);
}

const TClassInfo& TRadioButton::ClassType()
{
  static TClassInfo info("TRadioButton", &TWinControl::ClassType(), [](TComponent* o) { return new TRadioButton(o); });
  static const bool described = [] {
    info.Str("Caption", &TRadioButton::Caption, &TRadioButton::SetCaption);
    info.Bool("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked, false);
    return true;
  }();
  (void)described;
  return info;
}

TRadioButton::TRadioButton(TComponent* owner) : TWinControl(owner)
{
  controlStyle_ = kButtonStyle;
  width_ = 113;
  height_ = 17;
  parentColor_ = true;
}

void TRadioButton::CreateParams(TCreateParams& p)
{
  TWinControl::CreateParams(p);
  p.SystemClass = L"BUTTON";
  p.Style |= BS_RADIOBUTTON;
  p.Style &= ~DWORD(WS_CLIPCHILDREN);
}

void TRadioButton::CreateWnd()
{
  TWinControl::CreateWnd();
  SendMessageW(handle_, BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::SetChecked(bool value)
{
  if (value == checked_)
    return;
  checked_ = value;
  if (HandleAllocated())
    SendMessageW(handle_, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
  if (!value)
    return;
  if (parent_)
    for (int i = 0; i < parent_->ControlCount(); ++i)
      if (auto* other = dynamic_cast<TRadioButton*>(parent_->Controls(i)); other && other != this)
        other->SetChecked(false);
  if (!HasState(csLoading))
    Click();
}

void TRadioButton::WndProc(TMessage& m)
{
  if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
    SetChecked(true);
    return;
  }
  TWinControl::WndProc(m);
}

// ---------------------------------------------------------------------------
// [SECTION] Edit and combo box

const TClassInfo& TEdit::ClassType()
{
  static TClassInfo info("TEdit", &TWinControl::ClassType(), [](TComponent* o) { return new TEdit(o); });
  static const bool described = [] {
    info.Str("Text", &TEdit::Caption, &TEdit::SetCaption);
    info.Bool("ReadOnly", &TEdit::ReadOnly, &TEdit::SetReadOnly, false);
    info.Int("MaxLength", &TEdit::MaxLength, &TEdit::SetMaxLength, int64_t(0));
    info.Bool("TabStop", &TEdit::TabStop, &TEdit::SetTabStop, true);
    info.Event("OnChange", &TEdit::OnChange);
    return true;
  }();
  (void)described;
  return info;
}

TEdit::TEdit(TComponent* owner) : TWinControl(owner)
{
  controlStyle_ = csClickEvents | csSetCaption | csDoubleClicks;
  width_ = 121;
  height_ = 21;
  tabStop_ = true;
  color_ = gfx::clWindow;
}

void TEdit::CreateParams(TCreateParams& p)
{
  TWinControl::CreateParams(p);
  p.SystemClass = L"EDIT";
  p.Style |= ES_AUTOHSCROLL | (readOnly_ ? ES_READONLY : 0);
  p.Style &= ~DWORD(WS_CLIPCHILDREN);
  p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TEdit::CreateWnd()
{
  TWinControl::CreateWnd();
  if (maxLength_ > 0)
    SendMessageW(handle_, EM_LIMITTEXT, WPARAM(maxLength_), 0);
}

void TEdit::WindowDestroying() { caption_ = Caption(); }

void TEdit::SetReadOnly(bool value)
{
  readOnly_ = value;
  if (HandleAllocated())
    SendMessageW(handle_, EM_SETREADONLY, value ? TRUE : FALSE, 0);
}

void TEdit::SetMaxLength(int value)
{
  maxLength_ = std::max(0, value);
  if (HandleAllocated())
    SendMessageW(handle_, EM_LIMITTEXT, WPARAM(maxLength_), 0);
}

void TEdit::SetCaption(const std::string& value)
{
  if (HandleAllocated()) {
    // The window announces the change itself (EN_CHANGE).
    TWinControl::SetCaption(value);
    return;
  }
  if (value == caption_)
    return;
  TWinControl::SetCaption(value);
  if (!HasState(csLoading))
    Change();
}

void TEdit::WndProc(TMessage& m)
{
  if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == EN_CHANGE) {
    caption_ = Caption();
    if (!HasState(csLoading))
      Change();
    return;
  }
  TWinControl::WndProc(m);
}

const TClassInfo& TComboBox::ClassType()
{
  static TClassInfo info("TComboBox", &TWinControl::ClassType(), [](TComponent* o) { return new TComboBox(o); });
  static const bool described = [] {
    info.Enum("Style", ComboStyleInfo(), &TComboBox::Style, &TComboBox::SetStyle, int64_t(csDropDown));
    info.Int("DropDownCount", &TComboBox::DropDownCount, &TComboBox::SetDropDownCount, int64_t(8));
    info.Object("Items", TStringList::ClassType(), &TComboBox::Items);
    info.Int("ItemIndex", &TComboBox::ItemIndex, &TComboBox::SetItemIndex, int64_t(-1));
    info.Bool("TabStop", &TComboBox::TabStop, &TComboBox::SetTabStop, true);
    info.Event("OnChange", &TComboBox::OnChange);
    info.Event("OnDropDown", &TComboBox::OnDropDown);
    info.Event("OnCloseUp", &TComboBox::OnCloseUp);
    return true;
  }();
  (void)described;
  return info;
}

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner), items_(std::make_unique<TStringList>())
{
  width_ = 145;
  height_ = 21;
  tabStop_ = true;
  color_ = gfx::clWindow;
  items_->OnChange = TNotifyEvent([this](TObject*) { FillItems(); });
}

void TComboBox::CreateParams(TCreateParams& p)
{
  TWinControl::CreateParams(p);
  p.SystemClass = L"COMBOBOX";
  p.Style |= WS_VSCROLL | CBS_AUTOHSCROLL;
  switch (style_) {
  case csDropDown: p.Style |= CBS_DROPDOWN; break;
  case csSimple: p.Style |= CBS_SIMPLE; break;
  case csDropDownList: p.Style |= CBS_DROPDOWNLIST; break;
  }
  p.Style &= ~DWORD(WS_CLIPCHILDREN);
  // The window's height includes its list when dropped down.
  p.Height = height_ + dropDownCount_ * 16 + 4;
}

void TComboBox::CreateWnd()
{
  TWinControl::CreateWnd();
  FillItems();
  if (style_ != csDropDownList && itemIndex_ < 0 && !caption_.empty())
    SetWindowTextW(handle_, Utf8ToWide(caption_).c_str());
}

void TComboBox::UpdateBounds(const gfx::TRect& /*oldBounds*/)
{
  if (HandleAllocated())
    SetWindowPos(handle_, nullptr, left_, top_, width_, height_ + dropDownCount_ * 16 + 4, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TComboBox::WindowDestroying()
{
  itemIndex_ = ItemIndex();
  caption_ = Caption();
}

void TComboBox::FillItems()
{
  if (!HandleAllocated())
    return;
  // Refilling is no choice of the user's: the list's notifications are muted.
  TMuteScope filling(filling_);
  SendMessageW(handle_, CB_RESETCONTENT, 0, 0);
  for (int i = 0; i < items_->Count(); ++i)
    SendMessageW(handle_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(items_->Strings(i)).c_str()));
  if (itemIndex_ >= items_->Count())
    itemIndex_ = -1;
  SendMessageW(handle_, CB_SETCURSEL, WPARAM(itemIndex_), 0);
}

int TComboBox::ItemIndex() const
{
  if (HandleAllocated())
    return int(SendMessageW(handle_, CB_GETCURSEL, 0, 0));
  return itemIndex_;
}

void TComboBox::SetItemIndex(int value)
{
  if (value < -1 || value >= items_->Count())
    value = -1;
  if (HasState(csLoading) && value == -1 && itemIndex_ != -1)
    return;
  itemIndex_ = value;
  if (HandleAllocated())
    SendMessageW(handle_, CB_SETCURSEL, WPARAM(value), 0);
}

void TComboBox::SetStyle(TComboBoxStyle value)
{
  if (value == style_)
    return;
  style_ = value;
  if (HandleAllocated()) {
    itemIndex_ = ItemIndex();
    RecreateWnd();
  }
}

bool TComboBox::DroppedDown() const
{
  return HandleAllocated() && SendMessageW(handle_, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

std::string TComboBox::Caption() const
{
  if (!HandleAllocated()) {
    if (itemIndex_ >= 0 && itemIndex_ < items_->Count())
      return items_->Strings(itemIndex_);
    return caption_;
  }
  return TWinControl::Caption();
}

void TComboBox::WndProc(TMessage& m)
{
  if (m.Msg == CN_COMMAND) {
    switch (HIWORD(m.WParam)) {
    case CBN_SELCHANGE:
      itemIndex_ = ItemIndex();
      if (!filling_)
        OnChange(this);
      return;
    case CBN_EDITCHANGE:
      if (!filling_)
        OnChange(this);
      return;
    case CBN_DROPDOWN:
      OnDropDown(this);
      return;
    case CBN_CLOSEUP:
      OnCloseUp(this);
      return;
    default:
      break;
    }
  }
  TWinControl::WndProc(m);
}

// ---------------------------------------------------------------------------
// [SECTION] Label, group box, panel, bevel

const TClassInfo& TLabel::ClassType()
{
  static TClassInfo info("TLabel", &TGraphicControl::ClassType(), [](TComponent* o) { return new TLabel(o); });
  static const bool described = [] {
    info.Str("Caption", &TLabel::Caption, &TLabel::SetCaption);
    info.Enum("Alignment", AlignmentInfo(), &TLabel::Alignment, &TLabel::SetAlignment, int64_t(taLeftJustify));
    info.Bool("Transparent", &TLabel::Transparent, &TLabel::SetTransparent, false);
    info.Bool("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap, false);
    info.Bool("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize, true);
    return true;
  }();
  (void)described;
  return info;
}

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner)
{
  width_ = 65;
  height_ = 17;
  autoSize_ = true;
  parentColor_ = true;
}

UINT TLabel::TextFormat() const
{
  UINT format = DT_EXPANDTABS;
  if (wordWrap_)
    format |= DT_WORDBREAK;
  if (alignment_ == taRightJustify)
    format |= DT_RIGHT;
  else if (alignment_ == taCenter)
    format |= DT_CENTER;
  return format;
}

void TLabel::SetAlignment(TAlignment value)
{
  if (value == alignment_)
    return;
  alignment_ = value;
  Invalidate();
}

void TLabel::SetTransparent(bool value)
{
  if (value == transparent_)
    return;
  transparent_ = value;
  Invalidate();
}

void TLabel::SetWordWrap(bool value)
{
  if (value == wordWrap_)
    return;
  wordWrap_ = value;
  AdjustSize();
  Invalidate();
}

bool TLabel::CanAutoSize(int& newWidth, int& newHeight)
{
  TCanvas measure;
  measure.Font = font_->Value();
  gfx::TRect r(0, 0, wordWrap_ ? std::max(width_, 1) : 0, 0);
  std::string text = caption_.empty() ? std::string(" ") : caption_;
  CanvasDrawText(measure, text, r, TextFormat() | DT_CALCRECT);
  int w = wordWrap_ ? width_ : r.Width();
  // A right-aligned label keeps its right edge, so it grows to the left.
  if (alignment_ == taRightJustify && !wordWrap_) {
    Invalidate();
    left_ += width_ - w;
  }
  newWidth = w;
  newHeight = r.Height();
  return true;
}

void TLabel::Paint()
{
  TCanvas& canvas = Canvas();
  gfx::TRect r(0, 0, width_, height_);
  if (!transparent_) {
    canvas.Brush.Color = color_;
    canvas.Brush.Style = bsSolid;
    canvas.FillRect(r);
  }
  canvas.Brush.Style = bsClear;
  if (!enabled_)
    canvas.Font.Color = gfx::clGrayText;
  CanvasDrawText(canvas, caption_, r, TextFormat());
}

const TClassInfo& TGroupBox::ClassType()
{
  static TClassInfo info("TGroupBox", &TCustomControl::ClassType(), [](TComponent* o) { return new TGroupBox(o); });
  static const bool described = [] {
    info.Str("Caption", &TGroupBox::Caption, &TGroupBox::SetCaption);
    return true;
  }();
  (void)described;
  return info;
}

TGroupBox::TGroupBox(TComponent* owner) : TCustomControl(owner)
{
  controlStyle_ = csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
  width_ = 185;
  height_ = 105;
  parentColor_ = true;
}

int TGroupBox::CaptionHeight() const
{
  TCanvas measure;
  measure.Font = font_->Value();
  return CanvasTextHeight(measure, "0");
}

gfx::TRect TGroupBox::AdjustClientRect(gfx::TRect rect) const
{
  return gfx::TRect(rect.Left + 2, rect.Top + CaptionHeight(), rect.Right - 2, rect.Bottom - 2);
}

void TGroupBox::Paint()
{
  TCanvas& canvas = Canvas();
  int h = CaptionHeight();
  {
    TCanvasDC dc(canvas);
    if (dc.DC()) {
      RECT frame{0, h / 2, width_, height_};
      DrawEdge(dc.DC(), &frame, EDGE_ETCHED, BF_RECT);
    }
  }
  if (caption_.empty())
    return;
  gfx::TRect text(8, 0, 0, 0);
  CanvasDrawText(canvas, caption_, text, DT_SINGLELINE | DT_CALCRECT);
  text = gfx::TRect(8, 0, std::min(8 + text.Width() + 2, width_ - 2), h);
  canvas.Brush.Color = color_;
  canvas.Brush.Style = bsSolid;
  if (!enabled_)
    canvas.Font.Color = gfx::clGrayText;
  CanvasDrawText(canvas, caption_, text, DT_SINGLELINE);
}

const TClassInfo& TPanel::ClassType()
{
  static TClassInfo info("TPanel", &TCustomControl::ClassType(), [](TComponent* o) { return new TPanel(o); });
  static const bool described = [] {
    info.Str("Caption", &TPanel::Caption, &TPanel::SetCaption);
    info.Enum("Alignment", AlignmentInfo(), &TPanel::Alignment, &TPanel::SetAlignment, int64_t(taCenter));
    info.Enum("BevelInner", BevelCutInfo(), &TPanel::BevelInner, &TPanel::SetBevelInner, int64_t(bvNone));
    info.Enum("BevelOuter", BevelCutInfo(), &TPanel::BevelOuter, &TPanel::SetBevelOuter, int64_t(bvRaised));
    info.Int("BevelWidth", &TPanel::BevelWidth, &TPanel::SetBevelWidth, int64_t(1));
    info.Int("BorderWidth", &TPanel::BorderWidth, &TPanel::SetBorderWidth, int64_t(0));
    info.Bool("ParentBackground", &TPanel::ParentBackground, &TPanel::SetParentBackground, false);
    return true;
  }();
  (void)described;
  return info;
}

TPanel::TPanel(TComponent* owner) : TCustomControl(owner)
{
  controlStyle_ = csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
  width_ = 185;
  height_ = 41;
}

void TPanel::SetAlignment(TAlignment value)
{
  alignment_ = value;
  Invalidate();
}

void TPanel::SetBevelInner(TBevelCut value)
{
  bevelInner_ = value;
  AlignControls();
  Invalidate();
}

void TPanel::SetBevelOuter(TBevelCut value)
{
  bevelOuter_ = value;
  AlignControls();
  Invalidate();
}

void TPanel::SetBevelWidth(int value)
{
  bevelWidth_ = std::max(1, value);
  AlignControls();
  Invalidate();
}

void TPanel::SetBorderWidth(int value)
{
  borderWidth_ = std::max(0, value);
  AlignControls();
  Invalidate();
}

gfx::TRect TPanel::AdjustClientRect(gfx::TRect rect) const
{
  int inset = borderWidth_;
  if (bevelOuter_ != bvNone)
    inset += bevelWidth_;
  if (bevelInner_ != bvNone)
    inset += bevelWidth_;
  return gfx::TRect(rect.Left + inset, rect.Top + inset, rect.Right - inset, rect.Bottom - inset);
}

void TPanel::Paint()
{
  TCanvas& canvas = Canvas();
  {
    TCanvasDC dc(canvas);
    if (dc.DC()) {
      RECT r{0, 0, width_, height_};
      GetClientRect(handle_, &r);
      auto bevel = [&](TBevelCut cut) {
        if (cut == bvNone)
          return;
        for (int i = 0; i < bevelWidth_; ++i) {
          if (cut == bvRaised)
            DrawEdge(dc.DC(), &r, BDR_RAISEDINNER, BF_RECT);
          else if (cut == bvLowered)
            DrawEdge(dc.DC(), &r, BDR_SUNKENOUTER, BF_RECT);
          InflateRect(&r, -1, -1);
        }
      };
      bevel(bevelOuter_);
      InflateRect(&r, -borderWidth_, -borderWidth_);
      bevel(bevelInner_);
    }
  }
  if (caption_.empty())
    return;
  gfx::TRect r = AdjustClientRect(ClientRect());
  UINT format = DT_SINGLELINE | DT_VCENTER;
  format |= alignment_ == taCenter ? DT_CENTER : alignment_ == taRightJustify ? DT_RIGHT : DT_LEFT;
  canvas.Brush.Style = bsClear;
  if (!enabled_)
    canvas.Font.Color = gfx::clGrayText;
  CanvasDrawText(canvas, caption_, r, format);
}

const TClassInfo& TBevel::ClassType()
{
  static TClassInfo info("TBevel", &TGraphicControl::ClassType(), [](TComponent* o) { return new TBevel(o); });
  static const bool described = [] {
    info.Enum("Shape", BevelShapeInfo(), &TBevel::Shape, &TBevel::SetShape, int64_t(bsBox));
    info.Enum("Style", BevelStyleInfo(), &TBevel::Style, &TBevel::SetStyle, int64_t(bsLowered));
    return true;
  }();
  (void)described;
  return info;
}

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner)
{
  width_ = 50;
  height_ = 50;
}

void TBevel::SetShape(TBevelShape value)
{
  shape_ = value;
  Invalidate();
}

void TBevel::SetStyle(TBevelStyle value)
{
  style_ = value;
  Invalidate();
}

void TBevel::Paint()
{
  TCanvas& canvas = Canvas();
  gfx::TColor first = style_ == bsRaised ? gfx::clBtnHighlight : gfx::clBtnShadow;
  gfx::TColor second = style_ == bsRaised ? gfx::clBtnShadow : gfx::clBtnHighlight;
  int w = width_, h = height_;
  canvas.Brush.Style = bsSolid;
  auto fill = [&](gfx::TColor c, int l, int t, int r, int b) {
    canvas.Brush.Color = c;
    canvas.FillRect(gfx::TRect(l, t, r, b));
  };
  switch (shape_) {
  case bsBox:
    fill(first, 0, 0, w, 1);
    fill(first, 0, 0, 1, h);
    fill(second, 0, h - 1, w, h);
    fill(second, w - 1, 0, w, h);
    break;
  case bsFrame:
    fill(first, 0, 0, w - 1, 1);
    fill(first, 0, 0, 1, h - 1);
    fill(first, w - 2, 0, w - 1, h - 1);
    fill(first, 0, h - 2, w - 1, h - 1);
    fill(second, 1, 1, w - 2, 2);
    fill(second, 1, 1, 2, h - 2);
    fill(second, w - 1, 0, w, h);
    fill(second, 0, h - 1, w, h);
    break;
  case bsTopLine:
    fill(first, 0, 0, w, 1);
    fill(second, 0, 1, w, 2);
    break;
  case bsBottomLine:
    fill(first, 0, h - 2, w, h - 1);
    fill(second, 0, h - 1, w, h);
    break;
  case bsLeftLine:
    fill(first, 0, 0, 1, h);
    fill(second, 1, 0, 2, h);
    break;
  case bsRightLine:
    fill(first, w - 2, 0, w - 1, h);
    fill(second, w - 1, 0, w, h);
    break;
  case bsSpacer:
    break;
  }
}

// ---------------------------------------------------------------------------
// [SECTION] Radio group

const TClassInfo& TRadioGroup::ClassType()
{
  static TClassInfo info("TRadioGroup", &TGroupBox::ClassType(), [](TComponent* o) { return new TRadioGroup(o); });
  static const bool described = [] {
    info.Object("Items", TStringList::ClassType(), &TRadioGroup::Items);
    info.Int("ItemIndex", &TRadioGroup::ItemIndex, &TRadioGroup::SetItemIndex, int64_t(-1));
    info.Int("Columns", &TRadioGroup::Columns, &TRadioGroup::SetColumns, int64_t(1));
    return true;
  }();
  (void)described;
  return info;
}

TRadioGroup::TRadioGroup(TComponent* owner) : TGroupBox(owner), items_(std::make_unique<TStringList>())
{
  items_->OnChange = TNotifyEvent([this](TObject*) { UpdateButtons(); });
}

void TRadioGroup::SetItemIndex(int value)
{
  if (HasState(csLoading)) {
    itemIndex_ = value;
    return;
  }
  if (value < -1 || value >= int(buttons_.size()))
    value = -1;
  if (value == itemIndex_)
    return;
  itemIndex_ = value;
  TMuteScope updating(updating_);
  for (size_t i = 0; i < buttons_.size(); ++i)
    buttons_[i]->SetChecked(int(i) == value);
}

void TRadioGroup::SetColumns(int value)
{
  columns_ = std::clamp(value, 1, 16);
  ArrangeButtons();
}

void TRadioGroup::UpdateButtons()
{
  // The buttons belong to the group; they are rebuilt when the items change.
  while (buttons_.size() > size_t(items_->Count())) {
    delete buttons_.back();
    buttons_.pop_back();
  }
  while (buttons_.size() < size_t(items_->Count())) {
    auto* button = new TRadioButton(this);
    size_t index = buttons_.size();
    button->OnClick = TNotifyEvent([this, index](TObject*) {
      if (updating_)
        return;
      itemIndex_ = int(index);
      Click();
    });
    button->SetParent(this);
    buttons_.push_back(button);
  }
  {
    TMuteScope updating(updating_);
    for (size_t i = 0; i < buttons_.size(); ++i) {
      buttons_[i]->SetCaption(items_->Strings(int(i)));
      buttons_[i]->SetChecked(int(i) == itemIndex_);
    }
  }
  ArrangeButtons();
}

void TRadioGroup::ArrangeButtons()
{
  if (buttons_.empty() || HasState(csLoading))
    return;
  gfx::TRect area = AdjustClientRect(ClientRect());
  area = gfx::TRect(area.Left + 6, area.Top, area.Right - 4, area.Bottom - 2);
  int rows = (int(buttons_.size()) + columns_ - 1) / columns_;
  int columnWidth = std::max(1, area.Width() / columns_);
  int rowHeight = std::max(1, area.Height() / std::max(rows, 1));
  for (size_t i = 0; i < buttons_.size(); ++i) {
    int column = int(i) / rows, row = int(i) % rows;
    int h = std::min(rowHeight, 20);
    buttons_[i]->SetBounds(area.Left + column * columnWidth, area.Top + row * rowHeight + (rowHeight - h) / 2,
                           columnWidth - 4, h);
  }
}

void TRadioGroup::Loaded()
{
  TGroupBox::Loaded();
  int index = itemIndex_;
  itemIndex_ = -2;
  UpdateButtons();
  SetItemIndex(index);
}

} // namespace framework
