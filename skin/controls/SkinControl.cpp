#include "skin/controls/SkinControl.h"

#include "framework/Streams.h"
#include "framework/TypeInfo.h"
#include "framework/win32/Handles.h"
#include "skin/SkinData.h"
#include "skin/controls/ControlLooks.h"
#include "skin/frame/WinSkinForm.h"
#include "skin/win32/SkinDataWin32.h"

#include <windowsx.h>

namespace skin {

namespace {

RECT ToRECT(const gfx::TRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

constexpr int32_t kLargeCoordinate = 0x8000;

} // namespace

void AskForLeaveNotice(HWND window)
{
  TRACKMOUSEEVENT track{};
  track.cbSize = sizeof track;
  track.dwFlags = TME_LEAVE;
  track.hwndTrack = window;
  TrackMouseEvent(&track);
}

COLORREF ColourRef(gfx::TColor color)
{
  const gfx::TColor rgb = gfx::ColorToRGB(color);
  return RGB(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

// The subclass a bare window gets: every message goes to the companion's
// dispatcher, and what it passes on continues below this layer.
class TSkinControl::TBareWindowHook final : public framework::TSubclass {
public:
  explicit TBareWindowHook(TSkinControl& owner) : owner_(owner) {}
  LRESULT Previous(UINT message, WPARAM wParam, LPARAM lParam) { return CallPrevious(message, wParam, lParam); }

private:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
  {
    framework::TMessage m{message, wParam, lParam, 0};
    owner_.Dispatch(m);
    return m.Result;
  }
  void WindowDestroyed() override { owner_.life_ = clDestroyed; }

  TSkinControl& owner_;
};

// Asks the windowless control to tell it when the control is freed.
class TSkinControl::TControlEndWatch final : public framework::TComponent {
public:
  TControlEndWatch(TSkinControl& owner, framework::TControl& control) : TComponent(nullptr), owner_(owner)
  {
    control.FreeNotification(this);
  }

private:
  void Notification(framework::TComponent* component, framework::TOperation operation) override
  {
    TComponent::Notification(component, operation);
    if (operation == framework::TOperation::opRemove && component == owner_.windowless_)
      owner_.WindowlessControlGone();
  }

  TSkinControl& owner_;
};

TSkinControl::TSkinControl() = default;

TSkinControl::~TSkinControl()
{
  RestoreWindowProc();
  hook_.reset();
}

// ----- Attaching --------------------------------------------------------------------

void TSkinControl::AttachControl(TWinSkinForm& form, TSkinData& data, framework::TWinControl& control, bool recolour)
{
  if (attached_)
    return;
  BindControl(form, data, control, recolour);
  previousWindowProc_ = std::move(control.WindowProc);
  control.WindowProc = [this](framework::TMessage& message) { Dispatch(message); };
  control.AddHandleListener(this);
  if (backgroundSwitched_)
    mode_ = 1;
  control.Invalidate();
  life_ = clAttached;
}

void TSkinControl::BindControl(TWinSkinForm& form, TSkinData& data, framework::TWinControl& control, bool recolour)
{
  recolour_ = recolour;
  data_ = &data;
  form_ = &form;
  control_ = &control;
  window_ = control.Handle();
  unicode_ = IsWindowUnicode(window_);
  if (recolour_) {
    SwitchParentBackgroundOff();
    savedColour_ = control.Color();
    control.SetColor(data.Color(scButtonFace));
  }
  attached_ = true;
}

void TSkinControl::ListenForControlEnd()
{
  if (control_)
    control_->AddHandleListener(this);
}

void TSkinControl::AttachWindowless(TWinSkinForm& form, TSkinData& data, framework::TControl& control)
{
  if (attached_)
    return;
  data_ = &data;
  form_ = &form;
  windowless_ = &control;
  repaintTarget_ = &control;
  previousWindowProc_ = std::move(control.WindowProc);
  control.WindowProc = [this](framework::TMessage& message) { Dispatch(message); };
  windowlessWatch_ = std::make_unique<TControlEndWatch>(*this, control);
  attached_ = true;
  life_ = clAttached;
}

void TSkinControl::WindowlessControlGone()
{
  // The saved procedure belongs to the control being freed: dropped, never called.
  previousWindowProc_ = nullptr;
  windowless_ = nullptr;
  repaintTarget_ = nullptr;
  life_ = clDestroyed;
}

framework::TControl* TSkinControl::SkinnedControl() const
{
  return control_ ? static_cast<framework::TControl*>(control_) : windowless_;
}

void TSkinControl::AttachWindow(TWinSkinForm& form, TSkinData& data, HWND window)
{
  if (attached_)
    return;
  data_ = &data;
  form_ = &form;
  window_ = window;
  enabledLook_ = true;
  mode_ = 0;
  unicode_ = IsWindowUnicode(window);
  caption_ = ReadCaption();
  hook_ = std::make_unique<TBareWindowHook>(*this);
  hook_->Install(window);
  InvalidateRect(window, nullptr, TRUE);
  attached_ = true;
  life_ = clAttached;
}

void TSkinControl::RestoreWindowProc()
{
  if (windowless_ && previousWindowProc_) {
    windowless_->WindowProc = std::move(previousWindowProc_);
    previousWindowProc_ = nullptr;
    windowless_->Invalidate();
    return;
  }
  if (!control_ || life_ == clDestroyed)
    return;
  control_->RemoveHandleListener(this);
  if (!previousWindowProc_)
    return;
  control_->WindowProc = std::move(previousWindowProc_);
  previousWindowProc_ = nullptr;
}

void TSkinControl::HandleDestroying(framework::TWinControl*, HWND)
{
  RestoreWindowProc();
  life_ = clDestroyed;
}

void TSkinControl::GiveColourBack()
{
  GiveParentBackgroundBack();
  if (control_)
    control_->SetColor(savedColour_);
}

void TSkinControl::DrawThroughFace(HDC dc, const gfx::TRect& rect, const std::function<void(HDC)>& draw,
                                   const std::function<void(framework::TBitmap&)>& onCanvas)
{
  DrawThroughBitmap(face_, dc, rect, draw, onCanvas);
}

void TSkinControl::DrawThroughBitmap(framework::TBitmap& bitmap, HDC dc, const gfx::TRect& rect,
                                     const std::function<void(HDC)>& draw,
                                     const std::function<void(framework::TBitmap&)>& onCanvas)
{
  if (rect.IsEmpty())
    return;
  if (bitmap.Width() != rect.Width() || bitmap.Height() != rect.Height())
    bitmap.SetSize(rect.Width(), rect.Height());
  if (!bitmap.NativeHandle())
    return;
  if (onCanvas) {
    {
      gfx::win32::TBitmapDC face(bitmap.NativeHandle());
      draw(face.Get());
      GdiFlush();
    }
    // The bitmap's canvas selects the bitmap into a DC of its own, which
    // fails while another DC holds it: text would be lost.
    onCanvas(bitmap);
    GdiFlush();
  }
  gfx::win32::TBitmapDC face(bitmap.NativeHandle());
  if (!onCanvas) {
    draw(face.Get());
    GdiFlush();
  }
  BitBlt(dc, rect.Left, rect.Top, rect.Width(), rect.Height(), face.Get(), 0, 0, SRCCOPY);
}

// Panels painted by their parent would show the parent through the skin's
// colour: while skinned they paint their own background.
void TSkinControl::SwitchParentBackgroundOff()
{
  if ((data_->Options() & Bit(xoParentBackGround)) || !control_ ||
      !framework::IsPublishedProp(*control_, "ParentBackground"))
    return;
  if (framework::SameText(framework::GetPropValue(*control_, "ParentBackground"), "true")) {
    backgroundSwitched_ = true;
    framework::SetPropValue(*control_, "ParentBackground", "False");
  }
}

void TSkinControl::GiveParentBackgroundBack()
{
  if (backgroundSwitched_ && control_)
    framework::SetPropValue(*control_, "ParentBackground", "True");
  backgroundSwitched_ = false;
}

// ----- Skin on and off --------------------------------------------------------------

void TSkinControl::Unskin()
{
  if (!skinActive_)
    return;
  skinActive_ = false;
  if (life_ == clDestroyed || !recolour_ || !control_)
    return;
  GiveColourBack();
}

void TSkinControl::SkinChanged()
{
  if (recolour_ && control_)
    control_->SetColor(data_->Color(scButtonFace));
  Repaint();
}

// ----- Dispatch ---------------------------------------------------------------------

void TSkinControl::Dispatch(framework::TMessage& message)
{
  handled_ = false;
  if (message.Msg == WM_SKIN_SWITCH) {
    skinActive_ = LONG_PTR(message.WParam) > 0;
    SkinSwitched(skinActive_);
    if (skinActive_)
      Repaint();
    return;
  }
  if (!skinActive_) {
    PassOn(message);
    return;
  }
  if (BeforeMessage(message)) {
    PassOn(message);
    AfterMessage(message);
  }
}

void TSkinControl::PassOn(framework::TMessage& message)
{
  if (previousWindowProc_)
    previousWindowProc_(message);
  else if (hook_)
    message.Result = hook_->Previous(message.Msg, message.WParam, message.LParam);
}

bool TSkinControl::BeforeMessage(framework::TMessage& message)
{
  switch (message.Msg) {
  case WM_NCDESTROY:
    life_ = clDestroyed;
    PassOn(message);
    if (skinActive_)
      Unskin();
    return false;
  case WM_SKIN_QUERY:
    message.Result = 1;
    return false;
  default:
    return true;
  }
}

void TSkinControl::AfterMessage(framework::TMessage& message)
{
  switch (message.Msg) {
  case WM_SETFOCUS:
  case WM_KILLFOCUS:
  case WM_ENABLE:
  case WM_SETTEXT:
  case framework::CM_ENABLEDCHANGED:
    Repaint();
    break;
  case WM_PAINT:
    PaintNow(reinterpret_cast<HDC>(message.WParam));
    break;
  default:
    break;
  }
}

void TSkinControl::Repaint()
{
  if (repaintTarget_) {
    repaintTarget_->Invalidate();
    return;
  }
  if (!window_ || !IsWindow(window_))
    return;
  InvalidateRect(window_, nullptr, TRUE);
  UpdateWindow(window_);
}

// ----- Painting ---------------------------------------------------------------------

void TSkinControl::PaintNow(HDC dc)
{
  RECT r{};
  if (!GetWindowRect(window_, &r))
    return;
  windowRect_ = {r.left, r.top, r.right, r.bottom};
  const gfx::TRect rect{0, 0, r.right - r.left, r.bottom - r.top};
  try {
    if (dc) {
      DrawSkin(dc, rect);
      return;
    }
    framework::TWindowDC own = framework::TWindowDC::WholeWindow(window_);
    if (own.Get())
      DrawSkin(own.Get(), rect);
  } catch (...) {
    // A skin that cannot be drawn leaves the control as it was; it still works.
  }
}

void TSkinControl::PaintHandler(framework::TMessage& message)
{
  const auto draw = [this](HDC dc) {
    RECT r{};
    if (!GetWindowRect(window_, &r))
      return;
    windowRect_ = {r.left, r.top, r.right, r.bottom};
    try {
      DrawSkin(dc, {0, 0, r.right - r.left, r.bottom - r.top});
    } catch (...) {
      // As in PaintNow: the control keeps working with whatever was painted.
    }
  };
  if (message.WParam) {
    draw(reinterpret_cast<HDC>(message.WParam));
  } else {
    framework::TPaintScope paint(window_);
    draw(paint.DC());
  }
  message.Result = 0;
}

void TSkinControl::EraseHandler(framework::TMessage& message)
{
  const HDC dc = reinterpret_cast<HDC>(message.WParam);
  if (control_) {
    win32::PaintParentBackground(*control_, dc);
  } else {
    RECT client{};
    GetClientRect(window_, &client);
    FillParentColour(dc, {client.left, client.top, client.right, client.bottom});
  }
  message.Result = 1;
}

void TSkinControl::FillColour(HDC dc, const gfx::TRect& rect, gfx::TColor color)
{
  const RECT r = ToRECT(rect);
  const framework::TGdiBrush brush(CreateSolidBrush(ColourRef(color)));
  FillRect(dc, &r, brush.Get());
}

void TSkinControl::FrameColour(HDC dc, const gfx::TRect& rect, gfx::TColor color)
{
  const RECT r = ToRECT(rect);
  const framework::TGdiBrush brush(CreateSolidBrush(ColourRef(color)));
  FrameRect(dc, &r, brush.Get());
}

void TSkinControl::FrameSkinBorder(HDC dc, const gfx::TRect& rect, int32_t rings) const
{
  FrameColour(dc, rect, data_->Color(scButtonShadow));
  for (int32_t ring = 1; ring < rings; ++ring)
    FrameColour(dc, {rect.Left + ring, rect.Top + ring, rect.Right - ring, rect.Bottom - ring}, gfx::clWhite);
}

void TSkinControl::FillSkinColour(HDC dc, const gfx::TRect& rect) const
{
  FillColour(dc, rect, data_->Color(scButtonFace));
}

void TSkinControl::FillParentColour(HDC dc, const gfx::TRect& rect) const { FillColour(dc, rect, ParentColour()); }

gfx::TColor TSkinControl::ParentColour() const
{
  framework::TWinControl* parent = control_ ? control_->Parent() : nullptr;
  if (!parent && window_)
    parent = framework::TWinControl::FindControl(GetParent(window_));
  if (parent && framework::GetPropInfo(*parent, "Color") &&
      framework::GetPropInfo(*parent, "Color")->Kind == framework::TTypeKind::tkInteger)
    return gfx::TColor(framework::GetOrdProp(*parent, "Color"));
  return data_->Color(scButtonFace);
}

bool TSkinControl::RightToLeft() const
{
  const framework::TObject* owner = repaintTarget_ ? static_cast<framework::TObject*>(repaintTarget_)
                                                   : static_cast<framework::TObject*>(control_);
  if (owner && framework::SameText(framework::GetEnumProp(*owner, "BiDiMode"), "bdRightToLeft"))
    return true;
  return window_ && (GetWindowLongPtrW(window_, GWL_EXSTYLE) & WS_EX_RTLREADING);
}

void TSkinControl::DrawUnicodeText(HDC dc, const std::wstring& text, RECT& rect, UINT format) const
{
  if (RightToLeft())
    format |= DT_RTLREADING;
  DrawTextW(dc, text.c_str(), int(text.size()), &rect, format);
}

void TSkinControl::DrawFocusAroundText(HDC dc, UINT format, const RECT& rect) const
{
  RECT measured = rect;
  DrawUnicodeText(dc, caption_, measured, format | DT_CALCRECT | DT_NOCLIP);
  const TTextAlign align = (format & DT_CENTER) ? tlCenter : (format & DT_RIGHT) ? tlRight : tlLeft;
  const gfx::TRect focus = FocusRectAround({rect.left, rect.top, rect.right, rect.bottom},
                                           {measured.left, measured.top, measured.right, measured.bottom}, align);
  if (focus.IsEmpty())
    return;
  const RECT r = ToRECT(focus);
  DrawFocusRect(dc, &r);
}

// ----- The control's state ----------------------------------------------------------

std::wstring TSkinControl::ReadCaption() const
{
  if (const framework::TControl* control = SkinnedControl())
    return framework::Utf8ToWide(control->Caption());
  std::wstring text(size_t(GetWindowTextLengthW(window_)) + 1, L'\0');
  text.resize(size_t(GetWindowTextW(window_, text.data(), int(text.size()))));
  return text;
}

HFONT TSkinControl::CaptionFont() const
{
  if (const framework::TControl* control = SkinnedControl(); control && control->Font())
    return control->Font()->Handle();
  if (auto font = reinterpret_cast<HFONT>(SendMessageW(window_, WM_GETFONT, 0, 0)))
    return font;
  return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

gfx::TColor TSkinControl::FontColour() const
{
  if (const framework::TControl* control = SkinnedControl(); control && control->Font())
    return control->Font()->Color();
  return data_->Color(scButtonText);
}

void TSkinControl::ReadWindowState()
{
  enabledLook_ = !HasStyle(WS_DISABLED);
  focused_ = GetFocus() == window_;
}

bool TSkinControl::HasStyle(DWORD bits) const { return (GetWindowLongPtrW(window_, GWL_STYLE) & bits) == bits; }

void TSkinControl::ForwardMouseDown(const framework::TMessage& message)
{
  if (!control_)
    return;
  gfx::TPoint at{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
  if (control_->Width() > kLargeCoordinate || control_->Height() > kLargeCoordinate) {
    POINT cursor{};
    GetCursorPos(&cursor);
    at = control_->ScreenToClient({cursor.x, cursor.y});
  }
  control_->MouseDown(framework::mbLeft, framework::KeysToShiftState(message.WParam), at.X, at.Y);
}

} // namespace skin
