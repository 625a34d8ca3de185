#include "framework/win32/Controls.h"

#include <windowsx.h>

#include "framework/win32/Forms.h"
#include "framework/win32/ControlsInternal.h"
#include "framework/win32/Handles.h"
#include "framework/win32/Menus.h"

namespace framework {

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
    // Whoever subclassed the window hears of its end while it still exists,
    // whichever way it goes (DestroyHandle, RecreateWnd, a parent's end).
    if (msg == WM_DESTROY)
      control->NotifyHandleDestroying();
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
  // One handler per message; a handler answers true when it has dealt with
  // the message, false to let the control's common handling have it too.
  bool handled = false;
  switch (m.Msg) {
  case WM_PAINT:
    handled = WMPaint(m);
    break;
  case WM_ERASEBKGND:
    handled = WMEraseBkgnd(m);
    break;
  case WM_WINDOWPOSCHANGED:
    handled = WMWindowPosChanged(m);
    break;
  case WM_COMMAND:
  case WM_HSCROLL:
  case WM_VSCROLL:
    handled = WMChildCommand(m);
    break;
  case WM_NOTIFY:
    handled = WMNotify(m);
    break;
  case WM_CTLCOLORMSGBOX:
  case WM_CTLCOLOREDIT:
  case WM_CTLCOLORLISTBOX:
  case WM_CTLCOLORBTN:
  case WM_CTLCOLORDLG:
  case WM_CTLCOLORSCROLLBAR:
  case WM_CTLCOLORSTATIC:
    handled = WMCtlColor(m);
    break;
  case WM_DRAWITEM:
    handled = WMDrawItem(m);
    break;
  case CN_CTLCOLORMSGBOX:
  case CN_CTLCOLOREDIT:
  case CN_CTLCOLORLISTBOX:
  case CN_CTLCOLORBTN:
  case CN_CTLCOLORDLG:
  case CN_CTLCOLORSCROLLBAR:
  case CN_CTLCOLORSTATIC:
    handled = CNCtlColor(m);
    break;
  case WM_KEYDOWN:
  case WM_SYSKEYDOWN:
    handled = DoKeyDown(m);
    break;
  case WM_CHAR:
    handled = DoKeyPress(m);
    break;
  case WM_KEYUP:
  case WM_SYSKEYUP:
    handled = DoKeyUp(m);
    break;
  case WM_SETFOCUS:
    handled = WMSetFocus(m);
    break;
  case WM_KILLFOCUS:
    handled = WMKillFocus(m);
    break;
  case WM_SETCURSOR:
    handled = WMSetCursor(m);
    break;
  case WM_MOUSELEAVE:
    handled = WMMouseLeave(m);
    break;
  case WM_CONTEXTMENU:
    handled = WMContextMenu(m);
    break;
  case WM_DESTROY:
    handled = WMDestroy(m);
    break;
  default:
    handled = IsMouseMessage(m.Msg) && WMMouse(m);
    break;
  }
  if (!handled)
    TControl::WndProc(m);
}

bool TWinControl::WMPaint(TMessage& m)
{
  if (!ownClass_)
    return false;
  if (m.WParam) {
    PaintWindow(reinterpret_cast<HDC>(m.WParam));
  } else {
    TPaintScope paint(handle_);
    PaintWindow(paint.DC());
  }
  m.Result = 0;
  return true;
}

bool TWinControl::WMEraseBkgnd(TMessage& m)
{
  if (!ownClass_)
    return false;
  // The whole window is drawn by PaintWindow; erasing first would flicker.
  m.Result = 1;
  return true;
}

bool TWinControl::WMWindowPosChanged(TMessage& m)
{
  DefaultHandler(m);
  if (!handle_ || creating_)
    return true;
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
  return true;
}

bool TWinControl::WMChildCommand(TMessage& m)
{
  // Commands and scrolls from a child window go back to the child; menus,
  // accelerators and the window's own scroll bars carry no window.
  if (!m.LParam)
    return false;
  ReflectNotification(m, reinterpret_cast<HWND>(m.LParam));
  return true;
}

bool TWinControl::WMNotify(TMessage& m)
{
  ReflectNotification(m, reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom);
  return true;
}

bool TWinControl::WMCtlColor(TMessage& m)
{
  ReflectNotification(m, reinterpret_cast<HWND>(m.LParam));
  return true;
}

bool TWinControl::WMDrawItem(TMessage& m)
{
  // A zero identifier is a menu's item, not a control's.
  if (!m.WParam)
    return false;
  ReflectNotification(m, reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam)->hwndItem);
  return true;
}

bool TWinControl::CNCtlColor(TMessage& m)
{
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  SetTextColor(dc, ColorToCOLORREF(font_->Color()));
  SetBkColor(dc, ColorToCOLORREF(color_));
  m.Result = reinterpret_cast<LRESULT>(BackgroundBrush());
  return true;
}

bool TWinControl::WMSetFocus(TMessage& m)
{
  DefaultHandler(m);
  OnEnter(this);
  return true;
}

bool TWinControl::WMKillFocus(TMessage& m)
{
  DefaultHandler(m);
  OnExit(this);
  return true;
}

bool TWinControl::WMSetCursor(TMessage& m)
{
  if (reinterpret_cast<HWND>(m.WParam) != handle_ || LOWORD(m.LParam) != HTCLIENT)
    return false;
  POINT p;
  GetCursorPos(&p);
  ::ScreenToClient(handle_, &p);
  TControl* over = ControlAtPos({p.x, p.y});
  TCursor cursor = over && over->cursor_ != crDefault ? over->cursor_ : cursor_;
  if (cursor == crDefault)
    return false;
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
  return true;
}

bool TWinControl::WMMouseLeave(TMessage& /*m*/)
{
  if (Application)
    Application->MouseLeftWindow(this);
  return false;
}

bool TWinControl::WMContextMenu(TMessage& m)
{
  // The menu key gives no point: the menu opens at the control's corner.
  const bool fromKeyboard = m.LParam == -1;
  gfx::TPoint screen = fromKeyboard ? ClientToScreen({0, 0}) : gfx::TPoint{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  TControl* target = this;
  if (!fromKeyboard)
    if (TControl* under = ControlAtPos(ScreenToClient(screen)); under && under->PopupMenu())
      target = under;
  TPopupMenu* menu = target->PopupMenu();
  if (!menu || !menu->AutoPopup())
    return false; // the window's default passes it on to the parent
  menu->SetPopupComponent(target);
  menu->Popup(screen.X, screen.Y);
  m.Result = 1;
  return true;
}

bool TWinControl::WMDestroy(TMessage& /*m*/)
{
  WindowDestroying();
  return false;
}

bool TWinControl::WMMouse(TMessage& m)
{
  if (!ownClass_)
    return false;
  if (RouteMouseToGraphic(m))
    return true;
  if (m.Msg == WM_LBUTTONDOWN && (controlStyle_ & csCaptureMouse))
    SetCapture(handle_);
  if (m.Msg == WM_LBUTTONUP && GetCapture() == handle_)
    ReleaseCapture();
  return false;
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
  TMemoryDC memory(dc);
  TSelectObject selected(memory.Get(), static_cast<HBITMAP>(buffer.NativeHandle()));
  BitBlt(dc, 0, 0, w, h, memory.Get(), 0, 0, SRCCOPY);
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
    g->Perform(WM_PAINT);
  }
}

} // namespace framework
