#include "skin/controls/SkinScrollbar.h"

#include "framework/TypeInfo.h"
#include "framework/win32/Handles.h"
#include "skin/SkinData.h"
#include "skin/frame/WinSkinForm.h"

namespace skin {

namespace {

constexpr LPARAM kSkinAwareLParam = 0x41A2;

RECT WindowRectAtOrigin(HWND window)
{
  RECT r{};
  GetWindowRect(window, &r);
  OffsetRect(&r, -r.left, -r.top);
  return r;
}

} // namespace

// ----- The two overlays of a window --------------------------------------------------

void TScrollOverlays::Make(TSkinData& data, HWND target, gfx::TColor colour, framework::TWinControl* control)
{
  horizontal_ = std::make_unique<TWScrollbar>(data, target, okHorizontal, colour, control);
  vertical_ = std::make_unique<TWScrollbar>(data, target, okVertical, colour, control);
}

void TScrollOverlays::Free()
{
  horizontal_.reset();
  vertical_.reset();
}

void TScrollOverlays::Reposition()
{
  for (TWScrollbar* overlay : {horizontal_.get(), vertical_.get()})
    if (overlay)
      overlay->Reposition();
}

void TScrollOverlays::Hide()
{
  for (TWScrollbar* overlay : {horizontal_.get(), vertical_.get()})
    if (overlay)
      overlay->HideOverlay();
}

void TScrollOverlays::SetEnabled(bool enabled)
{
  for (TWScrollbar* overlay : {horizontal_.get(), vertical_.get()})
    if (overlay)
      overlay->SetEnabled(enabled);
}

void TScrollOverlays::Refresh(HWND target)
{
  const LONG_PTR style = GetWindowLongPtrW(target, GWL_STYLE);
  for (TWScrollbar* overlay : {horizontal_.get(), vertical_.get()}) {
    if (!overlay)
      continue;
    if (overlay->Shown())
      overlay->Invalidate();
    else if (style & (overlay->IsVertical() ? WS_VSCROLL : WS_HSCROLL))
      overlay->Reposition();
  }
}

void TScrollOverlays::ScrollMessage(UINT message, WPARAM wParam)
{
  TWScrollbar* overlay = message == WM_VSCROLL ? vertical_.get() : horizontal_.get();
  if (overlay)
    overlay->SetActivePart(LOWORD(wParam));
}

void TScrollOverlays::FillCorner(HDC dc, HWND target, gfx::TColor colour) const
{
  if (!horizontal_ || !vertical_ || !horizontal_->Shown() || !vertical_->Shown())
    return;
  // The bars' rectangles are in client coordinates; the DC is the window's.
  RECT window{};
  GetWindowRect(target, &window);
  POINT client{0, 0};
  ClientToScreen(target, &client);
  RECT corner{vertical_->BarRect().left, horizontal_->BarRect().top, vertical_->BarRect().right,
              horizontal_->BarRect().bottom};
  OffsetRect(&corner, client.x - window.left, client.y - window.top);
  const framework::TGdiBrush brush(CreateSolidBrush(ColourRef(colour)));
  FillRect(dc, &corner, brush.Get());
}

// ----- TSkinScrollbar ----------------------------------------------------------------

TSkinScrollbar::TSkinScrollbar(int32_t mode) { mode_ = mode; }

void TSkinScrollbar::SkinSwitched(bool active)
{
  if (active)
    overlays_.Reposition();
  else
    overlays_.Hide();
}

void TSkinScrollbar::AttachControl(TWinSkinForm& form, TSkinData& data, framework::TWinControl& control, bool)
{
  AttachScrolled(form, data, control);
}

void TSkinScrollbar::AttachScrolled(TWinSkinForm& form, TSkinData& data, framework::TWinControl& control)
{
  if (Life() != clNew)
    return;
  border_ = DecideBorder(control);
  TSkinControl::AttachControl(form, data, control, false);
  ReplaceFixedColour();
  overlays_.Make(data, Window(), ParentColour(), &control);
  overlays_.SetEnabled(control.Enabled());
  if (control.Visible())
    overlays_.Reposition();
  if (border_)
    SetWindowPos(Window(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// The skin's flat border replaces the control's sunken edge, where it has one
// and does not ask for none.
bool TSkinScrollbar::DecideBorder(framework::TWinControl& control) const
{
  if (mode_ == 1 || framework::SameText(framework::GetEnumProp(control, "BorderStyle"), "bsNone") ||
      control.ClassName() == "TImageScrollBox")
    return false;
  const HWND window = control.Handle();
  return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) ||
         (GetWindowLongPtrW(window, GWL_STYLE) & WS_BORDER);
}

void TSkinScrollbar::DrawBorder(HDC dc) const
{
  RECT r = WindowRectAtOrigin(Window());
  const framework::TGdiBrush shadow(CreateSolidBrush(ColourRef(Data().Color(scButtonShadow))));
  const framework::TGdiBrush face(CreateSolidBrush(ColourRef(Data().Color(scButtonFace))));
  FrameRect(dc, &r, shadow.Get());
  InflateRect(&r, -1, -1);
  FrameRect(dc, &r, face.Get());
}

// Grids paint their fixed cells in FixedColor: the skin's face colour while
// skinned.
void TSkinScrollbar::ReplaceFixedColour()
{
  framework::TWinControl* control = Control();
  if (!control || !framework::IsPublishedProp(*control, "FixedColor"))
    return;
  fixedColour_ = framework::GetOrdProp(*control, "FixedColor");
  framework::SetOrdProp(*control, "FixedColor", Data().Color(scButtonFace));
}

void TSkinScrollbar::GiveFixedColourBack()
{
  if (fixedColour_ && Control())
    framework::SetOrdProp(*Control(), "FixedColor", *fixedColour_);
  fixedColour_.reset();
}

void TSkinScrollbar::SkinChanged()
{
  ReplaceFixedColour();
  overlays_.Reposition();
  TSkinControl::SkinChanged();
}

void TSkinScrollbar::Unskin()
{
  if (!SkinActive())
    return;
  if (Life() != clDestroyed)
    GiveFixedColourBack();
  TSkinControl::Unskin();
  if (Life() == clDestroyed)
    return;
  overlays_.Free();
  if (border_ && Window())
    SetWindowPos(Window(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

bool TSkinScrollbar::BeforeMessage(framework::TMessage& message)
{
  if (message.Msg == WM_NCPAINT && border_) {
    PassOn(message);
    const framework::TWindowDC dc = framework::TWindowDC::WholeWindow(Window());
    if (dc.Get()) {
      DrawBorder(dc.Get());
      overlays_.FillCorner(dc.Get(), Window(), Data().Color(scButtonFace));
    }
    return false;
  }
  return TSkinControl::BeforeMessage(message);
}

void TSkinScrollbar::AfterMessage(framework::TMessage& message)
{
  switch (message.Msg) {
  case WM_SIZE:
  case WM_WINDOWPOSCHANGED:
    overlays_.Reposition();
    break;
  case WM_HSCROLL:
  case WM_VSCROLL:
    overlays_.ScrollMessage(message.Msg, message.WParam);
    break;
  case WM_MOUSEWHEEL:
    overlays_.Refresh(Window());
    break;
  case framework::CM_VISIBLECHANGED:
    if (message.WParam)
      overlays_.Reposition();
    else
      overlays_.Hide();
    break;
  case framework::CM_ENABLEDCHANGED:
    if (Control())
      overlays_.SetEnabled(Control()->Enabled());
    TSkinControl::AfterMessage(message);
    break;
  case framework::CM_RECREATEWND:
    if (Form())
      PostMessageW(Form()->Window(), kScrolledNotice, reinterpret_cast<WPARAM>(Window()), 0);
    break;
  case kBorderNotice:
    if (message.LParam != kSkinAwareLParam)
      break;
    if (message.WParam)
      DrawBorder(reinterpret_cast<HDC>(message.WParam));
    message.Result = kSkinAwareLParam;
    break;
  default:
    TSkinControl::AfterMessage(message);
    break;
  }
}

void TSkinScrollbar::DrawSkin(HDC dc, const gfx::TRect&)
{
  overlays_.Refresh(Window());
  overlays_.FillCorner(dc, Window(), Data().Color(scButtonFace));
}

// ----- TSkinScrollbarH ---------------------------------------------------------------

void TSkinScrollbarH::AttachWindow(TWinSkinForm& form, TSkinData& data, HWND window)
{
  if (Life() != clNew)
    return;
  TSkinControl::AttachWindow(form, data, window);
  overlays_.Make(data, window, ParentColour());
  overlays_.Reposition();
}

void TSkinScrollbarH::Unskin()
{
  if (!SkinActive())
    return;
  TSkinControl::Unskin();
  if (Life() != clDestroyed)
    overlays_.Free();
}

bool TSkinScrollbarH::BeforeMessage(framework::TMessage& message)
{
  if (message.Msg == WM_NCDESTROY)
    overlays_.Free();
  return TSkinControl::BeforeMessage(message);
}

void TSkinScrollbarH::AfterMessage(framework::TMessage& message)
{
  if (!IsWindowVisible(Window()))
    overlays_.Hide();
  switch (message.Msg) {
  case WM_SIZE:
  case WM_NCPAINT:
    overlays_.Reposition();
    break;
  case WM_HSCROLL:
  case WM_VSCROLL:
    overlays_.ScrollMessage(message.Msg, message.WParam);
    break;
  default:
    TSkinControl::AfterMessage(message);
    break;
  }
}

void TSkinScrollbarH::DrawSkin(HDC dc, const gfx::TRect&)
{
  overlays_.Refresh(Window());
  overlays_.FillCorner(dc, Window(), Data().Color(scButtonFace));
}

} // namespace skin
