#include "framework/win32/Controls.h"

#include <algorithm>

#include "framework/win32/Forms.h"
#include "framework/win32/ControlsInternal.h"
#include "framework/win32/Handles.h"
#include "framework/win32/WindowTable.h"

namespace framework {

// ---------------------------------------------------------------------------
// [SECTION] TWinControl: windows, children

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
}

TWinControl* TWinControl::FindControl(HWND window)
{
  return TWindowTable<TWinControl>::Instance().Find(window);
}

void TWinControl::AttachHandle(HWND window)
{
  handle_ = window;
  TWindowTable<TWinControl>::Instance().Add(window, this);
}

void TWinControl::DetachHandle()
{
  if (!handle_)
    return;
  NotifyHandleDestroying();
  TWindowTable<TWinControl>::Instance().Remove(handle_);
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
    CreateHandle();
}

void TWinControl::CreateHandle()
{
  destroyNotified_ = nullptr;
  CreateWnd();
  if (!handle_)
    return;
  const HWND window = handle_;
  const std::vector<THandleListener*> listeners = handleListeners_;
  for (THandleListener* listener : listeners)
    if (std::find(handleListeners_.begin(), handleListeners_.end(), listener) != handleListeners_.end())
      listener->HandleCreated(this, window);
}

void TWinControl::NotifyHandleDestroying()
{
  if (!handle_ || destroyNotified_ == handle_)
    return;
  const HWND window = handle_;
  destroyNotified_ = window;
  const std::vector<THandleListener*> listeners = handleListeners_;
  for (THandleListener* listener : listeners)
    if (std::find(handleListeners_.begin(), handleListeners_.end(), listener) != handleListeners_.end())
      listener->HandleDestroying(this, window);
}

void TWinControl::AddHandleListener(THandleListener* listener)
{
  if (listener && std::find(handleListeners_.begin(), handleListeners_.end(), listener) == handleListeners_.end())
    handleListeners_.push_back(listener);
}

void TWinControl::RemoveHandleListener(THandleListener* listener)
{
  handleListeners_.erase(std::remove(handleListeners_.begin(), handleListeners_.end(), listener),
                         handleListeners_.end());
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
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = p.ClassStyle;
    wc.lpfnWndProc = FrameworkWindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    wc.hIcon = p.ClassIcon;
    wc.lpszClassName = p.OwnClassName.c_str();
    RegisterWindowClass(wc);
    cls = p.OwnClassName.c_str();
    ownClass_ = true;
  } else {
    cls = p.SystemClass.c_str();
    ownClass_ = false;
  }
  static UINT nextId = 100;
  HMENU id = (p.Style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nextId++)) : nullptr;
  HWND window;
  {
    // The window's first moves are its creation, not changes of bounds.
    TMuteScope creating(creating_);
    t_creating = ownClass_ ? this : nullptr;
    window = CreateWindowExW(p.ExStyle, cls, p.Caption.c_str(), p.Style, p.X, p.Y, p.Width, p.Height, p.WndParent,
                             id, instance, nullptr);
    t_creating = nullptr;
  }
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
      w->CreateHandle();
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
  NotifyHandleDestroying();
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
  brush_.Reset();
  TControl::ColorChanged();
  for (TControl* c : controls_)
    c->ParentColorChanged();
}

HBRUSH TWinControl::BackgroundBrush()
{
  if (!brush_)
    brush_.Reset(CreateSolidBrush(ColorToCOLORREF(color_)));
  return brush_.Get();
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

} // namespace framework
