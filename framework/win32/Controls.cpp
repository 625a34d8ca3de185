#include "framework/win32/Controls.h"

#include <windowsx.h>

#include <algorithm>

#include "framework/MuteScope.h"
#include "framework/win32/Forms.h"
#include "framework/win32/ControlsInternal.h"
#include "framework/win32/Handles.h"
#include "framework/win32/Menus.h"
#include "gfx/Numeric.h"

// [SECTION] Enumerations and helpers
// [SECTION] TControl

namespace framework {

// ---------------------------------------------------------------------------
// [SECTION] Enumerations and helpers

const TEnumInfo& AlignInfo()
{
  static const TEnumInfo info{"TAlign", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"}};
  return info;
}

const TEnumInfo& AnchorInfo()
{
  static const TEnumInfo info{"TAnchorKind", {"akLeft", "akTop", "akRight", "akBottom"}};
  return info;
}

const TEnumInfo& AlignmentInfo()
{
  static const TEnumInfo info{"TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"}};
  return info;
}

TShiftState KeysToShiftState(WPARAM keys)
{
  TShiftState s = 0;
  if (keys & MK_SHIFT)
    s |= ssShift;
  if (keys & MK_CONTROL)
    s |= ssCtrl;
  if (keys & MK_LBUTTON)
    s |= ssLeft;
  if (keys & MK_RBUTTON)
    s |= ssRight;
  if (keys & MK_MBUTTON)
    s |= ssMiddle;
  if (GetKeyState(VK_MENU) < 0)
    s |= ssAlt;
  return s;
}

TShiftState KeyboardStateToShiftState()
{
  TShiftState s = 0;
  if (GetKeyState(VK_SHIFT) < 0)
    s |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0)
    s |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0)
    s |= ssAlt;
  if (GetKeyState(VK_LBUTTON) < 0)
    s |= ssLeft;
  if (GetKeyState(VK_RBUTTON) < 0)
    s |= ssRight;
  if (GetKeyState(VK_MBUTTON) < 0)
    s |= ssMiddle;
  return s;
}

// ---------------------------------------------------------------------------
// [SECTION] TControl

const TClassInfo& TControl::ClassType()
{
  static TClassInfo info("TControl", &TComponent::ClassType());
  static const bool described = [] {
    info.Int("Left", &TControl::Left, &TControl::SetLeft, int64_t(0));
    info.Int("Top", &TControl::Top, &TControl::SetTop, int64_t(0));
    info.Int("Width", &TControl::Width, &TControl::SetWidth);
    info.Int("Height", &TControl::Height, &TControl::SetHeight);
    info.Enum("Align", AlignInfo(), &TControl::Align, &TControl::SetAlign, int64_t(alNone));
    info.Set("Anchors", AnchorInfo(), &TControl::Anchors, &TControl::SetAnchors, int64_t(kDefaultAnchors));
    info.Bool("AutoSize", &TControl::AutoSize, &TControl::SetAutoSize, false);
    info.Bool("Visible", &TControl::Visible, &TControl::SetVisible, true);
    info.Bool("Enabled", &TControl::Enabled, &TControl::SetEnabled, true);
    info.Bool("ParentColor", &TControl::ParentColor, &TControl::SetParentColor, false);
    info.Int("Color", &TControl::Color, &TControl::SetColor, std::nullopt, &ColorIdents()).StoredFn =
      [](const TObject& o) { return !static_cast<const TControl&>(o).ParentColor(); };
    info.Bool("ParentFont", &TControl::ParentFont, &TControl::SetParentFont, true);
    info.Object("Font", TControlFont::ClassType(), &TControl::Font).StoredFn = [](const TObject& o) {
      return !static_cast<const TControl&>(o).ParentFont();
    };
    info.Str("Hint", &TControl::Hint, &TControl::SetHint);
    info.Bool("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint, true);
    info.Bool("ShowHint", &TControl::ShowHint, &TControl::SetShowHint).StoredFn = [](const TObject& o) {
      return !static_cast<const TControl&>(o).ParentShowHint();
    };
    info.Int("Cursor", &TControl::Cursor, &TControl::SetCursor, int64_t(crDefault), &CursorIdents());
    info.Reference("PopupMenu", TPopupMenu::ClassType(), &TControl::PopupMenu, &TControl::SetPopupMenu);
    info.Event("OnClick", &TControl::OnClick);
    info.Event("OnDblClick", &TControl::OnDblClick);
    info.Event("OnMouseDown", &TControl::OnMouseDown);
    info.Event("OnMouseMove", &TControl::OnMouseMove);
    info.Event("OnMouseUp", &TControl::OnMouseUp);
    info.Event("OnResize", &TControl::OnResize);
    info.Event("OnCanResize", &TControl::OnCanResize);
    return true;
  }();
  (void)described;
  return info;
}

TControl::TControl(TComponent* owner) : TComponent(owner), font_(std::make_unique<TControlFont>())
{
  WindowProc = [this](TMessage& m) { WndProc(m); };
  font_->OnChange = TNotifyEvent([this](TObject*) {
    if (!followingParentFont_)
      parentFont_ = false;
    FontChanged();
  });
}

TControl::~TControl()
{
  Destroying();
  SetPopupMenu(nullptr);
  if (Application)
    Application->ControlDestroyed(this);
  if (parent_)
    parent_->RemoveControl(this);
}

void TControl::SetBounds(int left, int top, int width, int height)
{
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (left == left_ && top == top_ && width == width_ && height == height_)
    return;
  if (OnCanResize && !HasState(csLoading) && (width != width_ || height != height_)) {
    bool resize = true;
    OnCanResize(this, width, height, resize);
    if (!resize)
      return;
  }
  gfx::TRect old = BoundsRect();
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  UpdateBounds(old);
  BoundsChanged();
  if (HasState(csLoading))
    return;
  if (align_ != alNone)
    RequestAlign();
  if (old.Width() != width_ || old.Height() != height_)
    Resize();
}

void TControl::UpdateBounds(const gfx::TRect& oldBounds)
{
  if (!parent_ || !parent_->HandleAllocated() || !visible_)
    return;
  RECT a{oldBounds.Left, oldBounds.Top, oldBounds.Right, oldBounds.Bottom};
  RECT b{left_, top_, left_ + width_, top_ + height_};
  InvalidateRect(parent_->handle_, &a, TRUE);
  InvalidateRect(parent_->handle_, &b, TRUE);
}

gfx::TRect TControl::ClientRect() const { return gfx::TRect(0, 0, width_, height_); }

void TControl::SetClientSize(int width, int height)
{
  gfx::TRect client = ClientRect();
  SetBounds(left_, top_, width_ + width - client.Width(), height_ + height - client.Height());
}

gfx::TPoint TControl::ClientOrigin() const
{
  if (!parent_)
    return {left_, top_};
  gfx::TPoint p = parent_->ClientOrigin();
  return {p.X + left_, p.Y + top_};
}

gfx::TPoint TControl::ClientToScreen(gfx::TPoint point) const
{
  gfx::TPoint o = ClientOrigin();
  return {point.X + o.X, point.Y + o.Y};
}

gfx::TPoint TControl::ScreenToClient(gfx::TPoint point) const
{
  gfx::TPoint o = ClientOrigin();
  return {point.X - o.X, point.Y - o.Y};
}

void TControl::SetAlign(TAlign value)
{
  if (value == align_)
    return;
  align_ = value;
  if (!HasState(csLoading))
    RequestAlign();
}

void TControl::RequestAlign()
{
  if (parent_)
    parent_->AlignControls();
}

void TControl::SetAutoSize(bool value)
{
  if (value == autoSize_)
    return;
  autoSize_ = value;
  if (value)
    AdjustSize();
}

bool TControl::CanAutoSize(int& /*newWidth*/, int& /*newHeight*/) { return true; }

void TControl::AdjustSize()
{
  if (!autoSize_ || adjustingSize_ || HasState(csLoading))
    return;
  TMuteScope adjusting(adjustingSize_);
  int w = width_, h = height_;
  if (CanAutoSize(w, h))
    SetBounds(left_, top_, w, h);
}

void TControl::SetVisible(bool value)
{
  if (value == visible_)
    return;
  visible_ = value;
  if (parent_ && parent_->HandleAllocated()) {
    RECT r{left_, top_, left_ + width_, top_ + height_};
    InvalidateRect(parent_->handle_, &r, TRUE);
  }
  Perform(CM_VISIBLECHANGED, value ? 1 : 0);
  if (align_ != alNone && !HasState(csLoading))
    RequestAlign();
}

bool TControl::Showing() const
{
  for (const TControl* c = this; c; c = c->parent_)
    if (!c->visible_)
      return false;
  return true;
}

void TControl::SetEnabled(bool value)
{
  if (value == enabled_)
    return;
  enabled_ = value;
  Perform(CM_ENABLEDCHANGED);
  Invalidate();
}

void TControl::SetColor(gfx::TColor value)
{
  parentColor_ = false;
  if (value == color_)
    return;
  color_ = value;
  ColorChanged();
}

void TControl::SetParentColor(bool value)
{
  if (value == parentColor_)
    return;
  parentColor_ = value;
  if (value)
    ParentColorChanged();
}

void TControl::ParentColorChanged()
{
  if (!parentColor_ || !parent_)
    return;
  if (parent_->color_ != color_) {
    color_ = parent_->color_;
    ColorChanged();
  }
}

void TControl::ColorChanged()
{
  Perform(CM_COLORCHANGED);
  Invalidate();
}

void TControl::SetParentFont(bool value)
{
  if (value == parentFont_)
    return;
  parentFont_ = value;
  if (value)
    ParentFontChanged();
}

void TControl::ParentFontChanged()
{
  if (!parentFont_ || !parent_)
    return;
  TMuteScope following(followingParentFont_);
  font_->Assign(*parent_->font_);
}

void TControl::FontChanged()
{
  Perform(CM_FONTCHANGED);
  Invalidate();
  if (autoSize_)
    AdjustSize();
}

void TControl::SetCaption(const std::string& value)
{
  if (value == caption_)
    return;
  caption_ = value;
  TextChanged();
  Perform(CM_TEXTCHANGED);
  Invalidate();
  if (autoSize_)
    AdjustSize();
}

void TControl::SetShowHint(bool value)
{
  parentShowHint_ = false;
  if (value == showHint_)
    return;
  showHint_ = value;
  Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool value)
{
  if (value == parentShowHint_)
    return;
  parentShowHint_ = value;
  if (value)
    ParentShowHintChanged();
}

void TControl::ParentShowHintChanged()
{
  if (parentShowHint_ && parent_ && parent_->showHint_ != showHint_) {
    showHint_ = parent_->showHint_;
    Perform(CM_SHOWHINTCHANGED);
  }
}

void TControl::SetCursor(TCursor value)
{
  if (value == cursor_)
    return;
  cursor_ = value;
  Perform(CM_CURSORCHANGED);
}

void TControl::SetParent(TWinControl* parent)
{
  if (parent == parent_)
    return;
  if (parent == this)
    throw EComponentError("A control cannot be its own parent");
  if (parent_)
    parent_->RemoveControl(this);
  if (parent)
    parent->InsertControl(this);
}

TComponent* TControl::GetParentComponent() const { return parent_; }

void TControl::SetPopupMenu(TPopupMenu* value)
{
  if (value == popupMenu_)
    return;
  if (popupMenu_)
    popupMenu_->RemoveFreeNotification(this);
  popupMenu_ = value;
  if (popupMenu_)
    popupMenu_->FreeNotification(this);
}

void TControl::Notification(TComponent* component, TOperation operation)
{
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == popupMenu_)
    popupMenu_ = nullptr;
}

void TControl::SetParentComponent(TComponent* parent)
{
  auto* container = dynamic_cast<TWinControl*>(parent);
  if (parent && !container)
    throw EComponentError(Name() + " cannot be placed on " + parent->Name() + ", which is not a windowed control");
  SetParent(container);
}

TForm* TControl::ParentForm() const
{
  const TControl* c = this;
  while (c->parent_)
    c = c->parent_;
  return dynamic_cast<TForm*>(const_cast<TControl*>(c));
}

void TControl::BringToFront()
{
  if (!parent_)
    return;
  auto& list = parent_->controls_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  list.push_back(this);
  if (auto* w = dynamic_cast<TWinControl*>(this); w && w->handle_)
    SetWindowPos(w->handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Invalidate();
}

void TControl::SendToBack()
{
  if (!parent_)
    return;
  auto& list = parent_->controls_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  list.push_back(this);
  std::rotate(list.begin(), list.end() - 1, list.end());
  if (auto* w = dynamic_cast<TWinControl*>(this); w && w->handle_)
    SetWindowPos(w->handle_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Invalidate();
}

void TControl::Invalidate()
{
  if (!parent_ || !parent_->HandleAllocated() || !visible_)
    return;
  RECT r{left_, top_, left_ + width_, top_ + height_};
  InvalidateRect(parent_->handle_, &r, (controlStyle_ & csOpaque) ? FALSE : TRUE);
}

void TControl::Update()
{
  if (parent_)
    parent_->Update();
}

void TControl::Repaint()
{
  Invalidate();
  Update();
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam)
{
  TMessage m{msg, wParam, lParam, 0};
  if (WindowProc)
    WindowProc(m);
  else
    WndProc(m);
  return m.Result;
}

void TControl::HandleMouse(TMessage& m)
{
  int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
  TShiftState shift = KeysToShiftState(m.WParam);
  switch (m.Msg) {
  case WM_MOUSEMOVE:
    if (Application)
      Application->MouseOver(this);
    MouseMove(shift, x, y);
    break;
  case WM_LBUTTONDOWN:
    mouseDownInside_ = true;
    MouseDown(mbLeft, shift, x, y);
    break;
  case WM_RBUTTONDOWN:
    MouseDown(mbRight, shift, x, y);
    break;
  case WM_MBUTTONDOWN:
    MouseDown(mbMiddle, shift, x, y);
    break;
  case WM_LBUTTONDBLCLK:
    if (controlStyle_ & csDoubleClicks) {
      mouseDownInside_ = false;
      DblClick();
    }
    MouseDown(mbLeft, shift | ssDouble, x, y);
    break;
  case WM_RBUTTONDBLCLK:
    MouseDown(mbRight, shift | ssDouble, x, y);
    break;
  case WM_LBUTTONUP: {
    bool click = mouseDownInside_ && (controlStyle_ & csClickEvents) && x >= 0 && y >= 0 && x < width_ && y < height_;
    mouseDownInside_ = false;
    if (click)
      Click();
    MouseUp(mbLeft, shift, x, y);
    break;
  }
  case WM_RBUTTONUP:
    MouseUp(mbRight, shift, x, y);
    break;
  case WM_MBUTTONUP:
    MouseUp(mbMiddle, shift, x, y);
    break;
  default:
    break;
  }
}

void TControl::WndProc(TMessage& m)
{
  if (IsMouseMessage(m.Msg) && (enabled_ || m.Msg == WM_MOUSEMOVE))
    HandleMouse(m);
  DefaultHandler(m);
}

void TControl::DefaultHandler(TMessage& /*message*/) {}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) { OnMouseDown(this, button, shift, x, y); }
void TControl::MouseMove(TShiftState shift, int x, int y) { OnMouseMove(this, shift, x, y); }
void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) { OnMouseUp(this, button, shift, x, y); }
void TControl::Click() { OnClick(this); }
void TControl::DblClick() { OnDblClick(this); }
void TControl::Resize() { OnResize(this); }

void TControl::ScaleBy(int m, int d)
{
  if (m == d || d == 0)
    return;
  ChangeScale(m, d);
}

void TControl::ChangeScale(int m, int d)
{
  if (!parentFont_) {
    TMuteScope following(followingParentFont_);
    font_->SetHeight(gfx::MulDiv(font_->Height(), m, d));
  }
  int l = gfx::MulDiv(left_, m, d);
  int t = gfx::MulDiv(top_, m, d);
  int w = gfx::MulDiv(left_ + width_, m, d) - l;
  int h = gfx::MulDiv(top_ + height_, m, d) - t;
  SetBounds(l, t, w, h);
}

void TControl::Loaded()
{
  TComponent::Loaded();
  if (parentColor_)
    ParentColorChanged();
  if (parentFont_)
    ParentFontChanged();
  if (parentShowHint_)
    ParentShowHintChanged();
  if (autoSize_)
    AdjustSize();
}

} // namespace framework
