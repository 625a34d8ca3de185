#include "framework/win32/Controls.h"

#include <windowsx.h>

#include <algorithm>
#include <set>

#include "framework/win32/Forms.h"
#include "gfx/Numeric.h"

// [SECTION] Enumerations and helpers
// [SECTION] TControl
// [SECTION] TWinControl: windows, children, alignment
// [SECTION] TWinControl: messages, keys, painting
// [SECTION] TCustomControl, TGraphicControl

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

namespace {

const wchar_t* const kControlProp = L"FrameworkControl";
thread_local TWinControl* t_creating = nullptr;

bool IsMouseMessage(UINT msg) { return msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST && msg != WM_MOUSEWHEEL; }

LPARAM PointToLParam(int x, int y) { return LPARAM(MAKELONG(uint16_t(int16_t(x)), uint16_t(int16_t(y)))); }

} // namespace

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
  adjustingSize_ = true;
  int w = width_, h = height_;
  try {
    if (CanAutoSize(w, h))
      SetBounds(left_, top_, w, h);
  } catch (...) {
    adjustingSize_ = false;
    throw;
  }
  adjustingSize_ = false;
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
  followingParentFont_ = true;
  try {
    font_->Assign(*parent_->font_);
  } catch (...) {
    followingParentFont_ = false;
    throw;
  }
  followingParentFont_ = false;
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
    followingParentFont_ = true;
    font_->SetHeight(gfx::MulDiv(font_->Height(), m, d));
    followingParentFont_ = false;
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

// ---------------------------------------------------------------------------
// [SECTION] TWinControl: windows, children, alignment

const TClassInfo& TWinControl::ClassType()
{
  static TClassInfo info("TWinControl", &TControl::ClassType());
  static const bool described = [] {
    info.Int("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder).StoredFn = [](const TObject&) {
      return true;
    };
    info.Bool("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop, false);
    info.Event("OnEnter", &TWinControl::OnEnter);
    info.Event("OnExit", &TWinControl::OnExit);
    info.Event("OnKeyDown", &TWinControl::OnKeyDown);
    info.Event("OnKeyPress", &TWinControl::OnKeyPress);
    info.Event("OnKeyUp", &TWinControl::OnKeyUp);
    return true;
  }();
  (void)described;
  return info;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl()
{
  Destroying();
  DestroyComponents();
  // Children placed here but owned elsewhere go with their container.
  while (!controls_.empty()) {
    TControl* child = controls_.back();
    delete child;
  }
  DestroyHandle();
  if (brush_)
    DeleteObject(brush_);
}

TWinControl* TWinControl::FindControl(HWND window)
{
  if (!window)
    return nullptr;
  return static_cast<TWinControl*>(GetPropW(window, kControlProp));
}

void TWinControl::AttachHandle(HWND window)
{
  handle_ = window;
  SetPropW(window, kControlProp, this);
}

void TWinControl::DetachHandle()
{
  if (!handle_)
    return;
  RemovePropW(handle_, kControlProp);
  handle_ = nullptr;
  defWndProc_ = nullptr;
  if (Application)
    Application->WindowGone(this);
}

HWND TWinControl::Handle()
{
  HandleNeeded();
  return handle_;
}

void TWinControl::HandleNeeded()
{
  if (handle_)
    return;
  if (parent_)
    parent_->HandleNeeded();
  if (!handle_)
    CreateWnd();
}

void TWinControl::CreateParams(TCreateParams& p)
{
  p.Caption = Utf8ToWide(caption_);
  p.X = left_;
  p.Y = top_;
  p.Width = width_;
  p.Height = height_;
  p.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  if (parent_ || parentWindow_) {
    p.Style |= WS_CHILD;
    p.WndParent = parent_ ? parent_->handle_ : parentWindow_;
  } else {
    // A windowed control without a parent stands alone on the screen.
    p.Style |= WS_POPUP;
  }
  if (visible_)
    p.Style |= WS_VISIBLE;
  if (!enabled_)
    p.Style |= WS_DISABLED;
  if (tabStop_)
    p.Style |= WS_TABSTOP;
  p.OwnClassName = Utf8ToWide(ClassName());
  p.ClassStyle = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
}

void TWinControl::CreateWnd()
{
  TCreateParams p;
  CreateParams(p);
  HINSTANCE instance = GetModuleHandleW(nullptr);
  const wchar_t* cls;
  if (p.SystemClass.empty()) {
    static std::set<std::wstring> registered;
    if (!registered.count(p.OwnClassName)) {
      WNDCLASSEXW wc{};
      wc.cbSize = sizeof(wc);
      wc.style = p.ClassStyle;
      wc.lpfnWndProc = FrameworkWindowProc;
      wc.hInstance = instance;
      wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
      wc.hIcon = p.ClassIcon;
      wc.lpszClassName = p.OwnClassName.c_str();
      if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw Exception("Cannot register the window class " + ClassName());
      registered.insert(p.OwnClassName);
    }
    cls = p.OwnClassName.c_str();
    ownClass_ = true;
  } else {
    cls = p.SystemClass.c_str();
    ownClass_ = false;
  }
  static UINT nextId = 100;
  HMENU id = (p.Style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nextId++)) : nullptr;
  creating_ = true;
  t_creating = ownClass_ ? this : nullptr;
  HWND window = CreateWindowExW(p.ExStyle, cls, p.Caption.c_str(), p.Style, p.X, p.Y, p.Width, p.Height,
                                p.WndParent, id, instance, nullptr);
  t_creating = nullptr;
  creating_ = false;
  if (!window)
    throw Exception("Error creating window of " + ClassName() + " " + Name());
  if (!ownClass_) {
    AttachHandle(window);
    defWndProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FrameworkWindowProc)));
  }
  SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font_->Handle()), 0);
  // The window may have a size of its own choosing (combo boxes); take it.
  RECT r;
  GetWindowRect(window, &r);
  if (p.Style & WS_CHILD)
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  left_ = r.left;
  top_ = r.top;
  width_ = r.right - r.left;
  height_ = r.bottom - r.top;
  for (TControl* c : controls_)
    if (auto* w = dynamic_cast<TWinControl*>(c); w && !w->handle_)
      w->CreateWnd();
  // Children keep the order of the list on the screen.
  HWND after = HWND_BOTTOM;
  for (auto it = controls_.begin(); it != controls_.end(); ++it)
    if (auto* w = dynamic_cast<TWinControl*>(*it); w && w->handle_) {
      SetWindowPos(w->handle_, after == HWND_BOTTOM ? HWND_TOP : after, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      after = w->handle_;
    }
  lastClientWidth_ = ClientWidth();
  lastClientHeight_ = ClientHeight();
  AlignControls();
}

void TWinControl::DestroyWnd()
{
  if (handle_)
    DestroyWindow(handle_);
}

void TWinControl::DestroyHandle()
{
  if (!handle_)
    return;
  DestroyWnd();
  // A window the system would not destroy is let go anyway.
  if (handle_)
    DetachHandle();
}

void TWinControl::RecreateWnd()
{
  if (!handle_)
    return;
  DestroyHandle();
  HandleNeeded();
}

void TWinControl::SetParentWindow(HWND window)
{
  if (window == parentWindow_)
    return;
  parentWindow_ = window;
  if (!parent_ && handle_)
    RecreateWnd();
}

void TWinControl::InsertControl(TControl* control)
{
  controls_.push_back(control);
  control->parent_ = this;
  if (auto* w = dynamic_cast<TWinControl*>(control)) {
    if (w->handle_) {
      if (handle_) {
        ::SetParent(w->handle_, handle_);
        LONG_PTR style = GetWindowLongPtrW(w->handle_, GWL_STYLE);
        SetWindowLongPtrW(w->handle_, GWL_STYLE, (style & ~LONG_PTR(WS_POPUP)) | WS_CHILD);
        SetWindowPos(w->handle_, HWND_TOP, w->left_, w->top_, w->width_, w->height_, SWP_NOACTIVATE | SWP_FRAMECHANGED);
      } else {
        w->DestroyHandle();
      }
    } else if (handle_ && !HasState(csLoading)) {
      w->HandleNeeded();
    }
  }
  if (!HasState(csLoading) && !control->HasState(csLoading)) {
    control->ParentColorChanged();
    control->ParentFontChanged();
    control->ParentShowHintChanged();
    if (control->align_ != alNone)
      AlignControls();
    control->Invalidate();
  }
  Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), 1);
}

void TWinControl::RemoveControl(TControl* control)
{
  auto it = std::find(controls_.begin(), controls_.end(), control);
  if (it == controls_.end())
    return;
  if (mouseCapture_ == control)
    mouseCapture_ = nullptr;
  control->Invalidate();
  controls_.erase(it);
  control->parent_ = nullptr;
  // A windowed control leaving its parent loses its window; it gets a new
  // one (as a window of its own, or in its next parent) when asked for.
  if (auto* w = dynamic_cast<TWinControl*>(control); w && w->handle_ && !w->HasState(csDestroying))
    w->DestroyHandle();
  if (!HasState(csDestroying)) {
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), 0);
    if (control->align_ != alNone)
      AlignControls();
  }
}

TControl* TWinControl::ControlAtPos(gfx::TPoint point, bool allowDisabled) const
{
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    if (dynamic_cast<TWinControl*>(c))
      continue;
    if (c->visible_ && (c->enabled_ || allowDisabled) && c->BoundsRect().Contains(point))
      return c;
  }
  return nullptr;
}

int TWinControl::TabOrder() const
{
  if (!parent_)
    return -1;
  int index = 0;
  for (TControl* c : parent_->controls_) {
    if (c == this)
      return index;
    if (dynamic_cast<TWinControl*>(c))
      ++index;
  }
  return -1;
}

void TWinControl::SetTabOrder(int value)
{
  if (!parent_ || value < 0)
    return;
  // Tab order is the order of the windowed children in the parent's list.
  auto& list = parent_->controls_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  int index = 0;
  auto it = list.begin();
  for (; it != list.end(); ++it) {
    if (dynamic_cast<TWinControl*>(*it)) {
      if (index == value)
        break;
      ++index;
    }
  }
  list.insert(it, this);
}

void TWinControl::SetTabStop(bool value)
{
  if (value == tabStop_)
    return;
  tabStop_ = value;
  if (handle_) {
    LONG_PTR style = GetWindowLongPtrW(handle_, GWL_STYLE);
    SetWindowLongPtrW(handle_, GWL_STYLE, value ? (style | WS_TABSTOP) : (style & ~LONG_PTR(WS_TABSTOP)));
  }
  Perform(CM_TABSTOPCHANGED);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const
{
  for (TControl* c : controls_)
    if (auto* w = dynamic_cast<TWinControl*>(c)) {
      list.push_back(w);
      w->GetTabOrderList(list);
    }
}

bool TWinControl::CanFocus() const
{
  for (const TControl* c = this; c; c = c->parent_)
    if (!c->visible_ || !c->enabled_)
      return false;
  return true;
}

bool TWinControl::Focused() const { return handle_ && GetFocus() == handle_; }

void TWinControl::SetFocus()
{
  if (!CanFocus())
    throw Exception("Cannot focus a disabled or invisible window");
  ::SetFocus(Handle());
}

void TWinControl::SelectNext(TWinControl* current, bool forward)
{
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty())
    return;
  auto it = std::find(list.begin(), list.end(), current);
  size_t start = it == list.end() ? (forward ? list.size() - 1 : 0) : size_t(it - list.begin());
  for (size_t step = 1; step <= list.size(); ++step) {
    size_t i = forward ? (start + step) % list.size() : (start + list.size() - step % list.size()) % list.size();
    TWinControl* c = list[i];
    if (c->tabStop_ && c->CanFocus() && c->handle_) {
      c->SetFocus();
      return;
    }
  }
}

void TWinControl::SetParentBackground(bool value)
{
  if (value == ParentBackground())
    return;
  controlStyle_ = value ? (controlStyle_ | csParentBackground) : (controlStyle_ & ~uint32_t(csParentBackground));
  Invalidate();
}

void TWinControl::EnableAlign()
{
  if (alignDisabled_ > 0 && --alignDisabled_ == 0 && alignPending_)
    AlignControls();
}

void TWinControl::AlignControls()
{
  if (alignDisabled_ > 0 || HasState(csLoading) || HasState(csDestroying)) {
    alignPending_ = true;
    return;
  }
  if (aligning_)
    return;
  alignPending_ = false;
  aligning_ = true;
  try {
    gfx::TRect rect = AdjustClientRect(ClientRect());
    auto take = [&](TAlign align) {
      std::vector<TControl*> list;
      for (TControl* c : controls_)
        if (c->align_ == align && c->visible_)
          list.push_back(c);
      std::stable_sort(list.begin(), list.end(), [align](const TControl* a, const TControl* b) {
        switch (align) {
        case alTop: return a->top_ < b->top_;
        case alBottom: return a->top_ + a->height_ > b->top_ + b->height_;
        case alLeft: return a->left_ < b->left_;
        case alRight: return a->left_ + a->width_ > b->left_ + b->width_;
        default: return false;
        }
      });
      return list;
    };
    for (TControl* c : take(alTop)) {
      c->SetBounds(rect.Left, rect.Top, rect.Width(), c->height_);
      rect.Top += c->height_;
    }
    for (TControl* c : take(alBottom)) {
      c->SetBounds(rect.Left, rect.Bottom - c->height_, rect.Width(), c->height_);
      rect.Bottom -= c->height_;
    }
    for (TControl* c : take(alLeft)) {
      c->SetBounds(rect.Left, rect.Top, c->width_, std::max(rect.Height(), 0));
      rect.Left += c->width_;
    }
    for (TControl* c : take(alRight)) {
      c->SetBounds(rect.Right - c->width_, rect.Top, c->width_, std::max(rect.Height(), 0));
      rect.Right -= c->width_;
    }
    for (TControl* c : take(alClient))
      c->SetBounds(rect.Left, rect.Top, std::max(rect.Width(), 0), std::max(rect.Height(), 0));
  } catch (...) {
    aligning_ = false;
    throw;
  }
  aligning_ = false;
}

void TWinControl::ApplyAnchors(int oldWidth, int oldHeight, int newWidth, int newHeight)
{
  int dw = newWidth - oldWidth, dh = newHeight - oldHeight;
  if (dw == 0 && dh == 0)
    return;
  for (TControl* c : controls_) {
    if (c->align_ != alNone)
      continue;
    int l = c->left_, t = c->top_, w = c->width_, h = c->height_;
    bool left = c->anchors_ & (1u << akLeft), right = c->anchors_ & (1u << akRight);
    bool top = c->anchors_ & (1u << akTop), bottom = c->anchors_ & (1u << akBottom);
    if (right && left)
      w += dw;
    else if (right)
      l += dw;
    else if (!left)
      l += dw / 2;
    if (bottom && top)
      h += dh;
    else if (bottom)
      t += dh;
    else if (!top)
      t += dh / 2;
    c->SetBounds(l, t, w, h);
  }
}

void TWinControl::SetBounds(int left, int top, int width, int height)
{
  TControl::SetBounds(left, top, width, height);
  if (HasState(csLoading))
    return;
  int cw = ClientWidth(), ch = ClientHeight();
  if (cw != lastClientWidth_ || ch != lastClientHeight_) {
    if (lastClientWidth_ >= 0)
      ApplyAnchors(lastClientWidth_, lastClientHeight_, cw, ch);
    lastClientWidth_ = cw;
    lastClientHeight_ = ch;
    AlignControls();
  }
}

void TWinControl::UpdateBounds(const gfx::TRect& /*oldBounds*/)
{
  if (handle_)
    SetWindowPos(handle_, nullptr, left_, top_, width_, height_, SWP_NOZORDER | SWP_NOACTIVATE);
}

gfx::TRect TWinControl::ClientRect() const
{
  if (handle_) {
    RECT r;
    GetClientRect(handle_, &r);
    return gfx::TRect(0, 0, r.right, r.bottom);
  }
  return gfx::TRect(0, 0, width_, height_);
}

gfx::TPoint TWinControl::ClientOrigin() const
{
  if (handle_) {
    POINT p{0, 0};
    ::ClientToScreen(handle_, &p);
    return {p.x, p.y};
  }
  return TControl::ClientOrigin();
}

void TWinControl::SetVisible(bool value)
{
  if (value == visible_)
    return;
  TControl::SetVisible(value);
  if (handle_)
    ShowWindow(handle_, value ? SW_SHOWNOACTIVATE : SW_HIDE);
}

void TWinControl::SetEnabled(bool value)
{
  if (value == enabled_)
    return;
  enabled_ = value;
  if (handle_)
    EnableWindow(handle_, value ? TRUE : FALSE);
  Perform(CM_ENABLEDCHANGED);
  Invalidate();
}

std::string TWinControl::Caption() const
{
  if (handle_) {
    int n = GetWindowTextLengthW(handle_);
    std::wstring text(size_t(n) + 1, L'\0');
    GetWindowTextW(handle_, text.data(), n + 1);
    text.resize(size_t(n));
    return WideToUtf8(text);
  }
  return caption_;
}

void TWinControl::SetCaption(const std::string& value)
{
  if (handle_ && Caption() != value) {
    SetWindowTextW(handle_, Utf8ToWide(value).c_str());
    caption_ = value;
    TextChanged();
    Perform(CM_TEXTCHANGED);
    Invalidate();
    if (autoSize_)
      AdjustSize();
    return;
  }
  TControl::SetCaption(value);
}

void TWinControl::Invalidate()
{
  if (handle_)
    InvalidateRect(handle_, nullptr, (controlStyle_ & csOpaque) ? FALSE : TRUE);
}

void TWinControl::Update()
{
  if (handle_)
    UpdateWindow(handle_);
}

void TWinControl::FontChanged()
{
  if (handle_)
    SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_->Handle()), TRUE);
  TControl::FontChanged();
  for (TControl* c : controls_)
    c->ParentFontChanged();
}

void TWinControl::ColorChanged()
{
  if (brush_) {
    DeleteObject(brush_);
    brush_ = nullptr;
  }
  TControl::ColorChanged();
  for (TControl* c : controls_)
    c->ParentColorChanged();
}

HBRUSH TWinControl::BackgroundBrush()
{
  if (!brush_)
    brush_ = CreateSolidBrush(ColorToCOLORREF(color_));
  return brush_;
}

void TWinControl::ChangeScale(int m, int d)
{
  DisableAlign();
  try {
    for (TControl* c : controls_)
      c->ChangeScale(m, d);
    TControl::ChangeScale(m, d);
  } catch (...) {
    EnableAlign();
    throw;
  }
  lastClientWidth_ = ClientWidth();
  lastClientHeight_ = ClientHeight();
  EnableAlign();
}

void TWinControl::Loaded()
{
  TControl::Loaded();
  lastClientWidth_ = ClientWidth();
  lastClientHeight_ = ClientHeight();
  if (alignPending_ || std::any_of(controls_.begin(), controls_.end(), [](TControl* c) { return c->align_ != alNone; }))
    AlignControls();
}

// ---------------------------------------------------------------------------
// [SECTION] TWinControl: messages, keys, painting

LRESULT CALLBACK FrameworkWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
  TWinControl* control = TWinControl::FindControl(window);
  if (!control && t_creating) {
    // The first message of a window of our own class: bind it now, so that
    // creation messages reach the control too.
    control = t_creating;
    t_creating = nullptr;
    control->AttachHandle(window);
    control->defWndProc_ = DefWindowProcW;
  }
  if (!control)
    return DefWindowProcW(window, msg, wParam, lParam);
  TMessage m{msg, wParam, lParam, 0};
  try {
    if (control->WindowProc)
      control->WindowProc(m);
    else
      control->WndProc(m);
  } catch (...) {
    if (Application)
      Application->HandleException(control);
  }
  if (msg == WM_NCDESTROY && TWinControl::FindControl(window) == control) {
    if (!m.Result && control->defWndProc_ == nullptr)
      m.Result = 0;
    control->DetachHandle();
  }
  return m.Result;
}

void TWinControl::DefaultHandler(TMessage& m)
{
  if (!handle_)
    return;
  // Our own notifications mean nothing to the window classes.
  if (m.Msg >= CM_BASE && m.Msg < CM_BASE + 0x1000 && !ownClass_)
    return;
  if (defWndProc_)
    m.Result = CallWindowProcW(defWndProc_, handle_, m.Msg, m.WParam, m.LParam);
  else
    m.Result = DefWindowProcW(handle_, m.Msg, m.WParam, m.LParam);
}

void TWinControl::ReflectNotification(TMessage& m, HWND child)
{
  TWinControl* target = FindControl(child);
  if (target && target != this) {
    m.Result = target->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
    bool colour = m.Msg >= WM_CTLCOLORMSGBOX && m.Msg <= WM_CTLCOLORSTATIC;
    if (!colour || m.Result != 0)
      return;
  }
  DefaultHandler(m);
}

namespace {

// Offers a key to the form first when the form previews keys, then to the
// control; either handler consumes the key by setting it to zero. Answers
// whether the key was consumed. Key down, key press and key up differ only
// in the event and the key's type, so they share this one path.
template <class TKey, class TKeyHandler, class... TExtra>
bool OfferKey(TWinControl& control, TKeyHandler TWinControl::*event, TKey& key, TExtra... extra)
{
  TForm* form = control.ParentForm();
  if (form && form != &control && form->KeyPreview()) {
    (form->*event)(form, key, extra...);
    if (key == 0)
      return true;
  }
  (control.*event)(&control, key, extra...);
  return key == 0;
}

} // namespace

bool TWinControl::DoKeyDown(TMessage& m)
{
  auto key = uint16_t(m.WParam);
  if (OfferKey(*this, &TWinControl::OnKeyDown, key, KeyboardStateToShiftState()))
    return true;
  m.WParam = key;
  return false;
}

bool TWinControl::DoKeyPress(TMessage& m)
{
  auto key = wchar_t(m.WParam);
  if (OfferKey(*this, &TWinControl::OnKeyPress, key))
    return true;
  m.WParam = WPARAM(key);
  return false;
}

bool TWinControl::DoKeyUp(TMessage& m)
{
  auto key = uint16_t(m.WParam);
  if (OfferKey(*this, &TWinControl::OnKeyUp, key, KeyboardStateToShiftState()))
    return true;
  m.WParam = key;
  return false;
}

bool TWinControl::RouteMouseToGraphic(TMessage& m)
{
  gfx::TPoint p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  TControl* target = mouseCapture_ ? mouseCapture_ : ControlAtPos(p);
  if (!target)
    return false;
  bool down = m.Msg == WM_LBUTTONDOWN || m.Msg == WM_RBUTTONDOWN || m.Msg == WM_MBUTTONDOWN ||
              m.Msg == WM_LBUTTONDBLCLK || m.Msg == WM_RBUTTONDBLCLK;
  bool up = m.Msg == WM_LBUTTONUP || m.Msg == WM_RBUTTONUP || m.Msg == WM_MBUTTONUP;
  if (down && (target->controlStyle_ & csCaptureMouse)) {
    mouseCapture_ = target;
    SetCapture(handle_);
  }
  target->Perform(m.Msg, m.WParam, PointToLParam(p.X - target->left_, p.Y - target->top_));
  if (up && mouseCapture_) {
    mouseCapture_ = nullptr;
    ReleaseCapture();
  }
  return true;
}

void TWinControl::WndProc(TMessage& m)
{
  switch (m.Msg) {
  case WM_PAINT:
    if (ownClass_) {
      if (m.WParam) {
        PaintWindow(reinterpret_cast<HDC>(m.WParam));
      } else {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(handle_, &ps);
        try {
          PaintWindow(dc);
        } catch (...) {
          EndPaint(handle_, &ps);
          throw;
        }
        EndPaint(handle_, &ps);
      }
      m.Result = 0;
      return;
    }
    break;
  case WM_ERASEBKGND:
    if (ownClass_) {
      // The whole window is drawn by PaintWindow; erasing first would flicker.
      m.Result = 1;
      return;
    }
    break;
  case WM_WINDOWPOSCHANGED: {
    DefaultHandler(m);
    if (!handle_ || creating_)
      return;
    RECT r;
    GetWindowRect(handle_, &r);
    HWND parentWindow = GetParent(handle_);
    if (parentWindow && (GetWindowLongPtrW(handle_, GWL_STYLE) & WS_CHILD))
      MapWindowPoints(nullptr, parentWindow, reinterpret_cast<POINT*>(&r), 2);
    int oldW = width_, oldH = height_;
    left_ = r.left;
    top_ = r.top;
    width_ = r.right - r.left;
    height_ = r.bottom - r.top;
    int cw = ClientWidth(), ch = ClientHeight();
    if (!HasState(csLoading) && (cw != lastClientWidth_ || ch != lastClientHeight_)) {
      if (lastClientWidth_ >= 0)
        ApplyAnchors(lastClientWidth_, lastClientHeight_, cw, ch);
      lastClientWidth_ = cw;
      lastClientHeight_ = ch;
      AlignControls();
    }
    if ((oldW != width_ || oldH != height_) && !HasState(csLoading))
      Resize();
    return;
  }
  case WM_COMMAND:
    if (m.LParam) {
      ReflectNotification(m, reinterpret_cast<HWND>(m.LParam));
      return;
    }
    break;
  case WM_NOTIFY:
    ReflectNotification(m, reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom);
    return;
  case WM_HSCROLL:
  case WM_VSCROLL:
    if (m.LParam) {
      ReflectNotification(m, reinterpret_cast<HWND>(m.LParam));
      return;
    }
    break;
  case WM_CTLCOLORMSGBOX:
  case WM_CTLCOLOREDIT:
  case WM_CTLCOLORLISTBOX:
  case WM_CTLCOLORBTN:
  case WM_CTLCOLORDLG:
  case WM_CTLCOLORSCROLLBAR:
  case WM_CTLCOLORSTATIC:
    ReflectNotification(m, reinterpret_cast<HWND>(m.LParam));
    return;
  case WM_DRAWITEM:
    if (m.WParam) {
      ReflectNotification(m, reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam)->hwndItem);
      return;
    }
    break;
  case CN_CTLCOLORMSGBOX:
  case CN_CTLCOLOREDIT:
  case CN_CTLCOLORLISTBOX:
  case CN_CTLCOLORBTN:
  case CN_CTLCOLORDLG:
  case CN_CTLCOLORSCROLLBAR:
  case CN_CTLCOLORSTATIC: {
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    SetTextColor(dc, ColorToCOLORREF(font_->Color()));
    SetBkColor(dc, ColorToCOLORREF(color_));
    m.Result = reinterpret_cast<LRESULT>(BackgroundBrush());
    return;
  }
  case WM_KEYDOWN:
  case WM_SYSKEYDOWN:
    if (DoKeyDown(m))
      return;
    break;
  case WM_CHAR:
    if (DoKeyPress(m))
      return;
    break;
  case WM_KEYUP:
  case WM_SYSKEYUP:
    if (DoKeyUp(m))
      return;
    break;
  case WM_SETFOCUS:
    DefaultHandler(m);
    OnEnter(this);
    return;
  case WM_KILLFOCUS:
    DefaultHandler(m);
    OnExit(this);
    return;
  case WM_SETCURSOR:
    if (reinterpret_cast<HWND>(m.WParam) == handle_ && LOWORD(m.LParam) == HTCLIENT) {
      POINT p;
      GetCursorPos(&p);
      ::ScreenToClient(handle_, &p);
      TControl* over = ControlAtPos({p.x, p.y});
      TCursor cursor = over && over->cursor_ != crDefault ? over->cursor_ : cursor_;
      if (cursor != crDefault) {
        static const struct {
          TCursor Cursor;
          int Id;
        } kCursors[] = {{crArrow, 32512}, {crCross, 32515}, {crIBeam, 32513}, {crSizeNESW, 32643}, {crSizeNS, 32645},
                        {crSizeNWSE, 32642}, {crSizeWE, 32644}, {crUpArrow, 32516}, {crHourGlass, 32514},
                        {crNo, 32648}, {crAppStart, 32650}, {crHelp, 32651}, {crHandPoint, 32649}, {crSizeAll, 32646}};
        HCURSOR shape = nullptr;
        for (const auto& c : kCursors)
          if (c.Cursor == cursor)
            shape = LoadCursorW(nullptr, MAKEINTRESOURCEW(c.Id));
        ::SetCursor(shape);
        m.Result = TRUE;
        return;
      }
    }
    break;
  case WM_MOUSELEAVE:
    if (Application)
      Application->MouseLeftWindow(this);
    break;
  case WM_DESTROY:
    WindowDestroying();
    break;
  default:
    if (ownClass_ && IsMouseMessage(m.Msg) && RouteMouseToGraphic(m))
      return;
    if (IsMouseMessage(m.Msg) && ownClass_ && (m.Msg == WM_LBUTTONDOWN) && (controlStyle_ & csCaptureMouse))
      SetCapture(handle_);
    if (m.Msg == WM_LBUTTONUP && ownClass_ && GetCapture() == handle_)
      ReleaseCapture();
    break;
  }
  TControl::WndProc(m);
}

TCanvas& TWinControl::PaintCanvas()
{
  if (paintCanvas_)
    return *paintCanvas_;
  if (!idleCanvas_)
    idleCanvas_ = std::make_unique<TCanvas>();
  return *idleCanvas_;
}

void TWinControl::PaintWindow(HDC dc)
{
  RECT client;
  GetClientRect(handle_, &client);
  int w = client.right, h = client.bottom;
  if (w <= 0 || h <= 0)
    return;
  TBitmap buffer(w, h);
  TCanvas& canvas = buffer.Canvas();
  if (!(controlStyle_ & csOpaque)) {
    canvas.Brush.Color = color_;
    canvas.Brush.Style = bsSolid;
    canvas.FillRect(gfx::TRect(0, 0, w, h));
  }
  canvas.Font = font_->Value();
  struct TRestore {
    TCanvas*& slot;
    ~TRestore() { slot = nullptr; }
  } restore{paintCanvas_};
  paintCanvas_ = &canvas;
  Paint();
  PaintControls(canvas);
  GdiFlush();
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, static_cast<HBITMAP>(buffer.NativeHandle()));
  BitBlt(dc, 0, 0, w, h, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
}

void TWinControl::PaintControls(TCanvas& canvas)
{
  gfx::TDrawContext* context = canvas.Handle();
  if (!context)
    return;
  for (TControl* c : controls_) {
    auto* g = dynamic_cast<TGraphicControl*>(c);
    if (!g || !g->visible_ || g->width_ <= 0 || g->height_ <= 0)
      continue;
    int saved = context->SaveDC();
    struct TRestore {
      gfx::TDrawContext* context;
      int saved;
      TGraphicControl* control;
      ~TRestore()
      {
        control->paintCanvas_ = nullptr;
        context->RestoreDC(saved);
      }
    } restore{context, saved, g};
    context->OffsetViewportOrg(g->left_, g->top_);
    context->IntersectClipRect(0, 0, g->width_, g->height_);
    canvas.Font = g->font_->Value();
    g->paintCanvas_ = &canvas;
    g->Paint();
  }
}

// ---------------------------------------------------------------------------
// [SECTION] TCustomControl, TGraphicControl

const TClassInfo& TCustomControl::ClassType()
{
  static const TClassInfo info("TCustomControl", &TWinControl::ClassType());
  return info;
}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {}

const TClassInfo& TGraphicControl::ClassType()
{
  static const TClassInfo info("TGraphicControl", &TControl::ClassType());
  return info;
}

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}

TCanvas& TGraphicControl::Canvas()
{
  if (paintCanvas_)
    return *paintCanvas_;
  if (!idleCanvas_)
    idleCanvas_ = std::make_unique<TCanvas>();
  return *idleCanvas_;
}

} // namespace framework
