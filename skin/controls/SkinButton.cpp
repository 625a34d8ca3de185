#include "skin/controls/SkinButton.h"

#include "framework/TypeInfo.h"
#include "framework/win32/Handles.h"
#include "skin/SkinData.h"
#include "skin/controls/ControlLooks.h"
#include "skin/win32/SkinDataWin32.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace skin {

namespace {

std::string LowerClassName(HWND window)
{
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  std::string lower;
  for (const wchar_t* c = name; *c; ++c)
    lower.push_back(char(std::tolower(int(*c & 0x7F))));
  return lower;
}

constexpr UINT_PTR kButtonTimer = 1;

} // namespace

void TSkinButton::AttachControl(TWinSkinForm& form, TSkinData& data, framework::TWinControl& control, bool recolour)
{
  TSkinControl::AttachControl(form, data, control, recolour);
  // Buttons of these families answer the press themselves.
  std::string lower = control.ClassName();
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  mode_ = lower.rfind("trz", 0) == 0 || lower.rfind("tel", 0) == 0 ? 1 : 0;
  ReadTransparent(control);
}

void TSkinButton::ReadTransparent(const framework::TControl& control)
{
  transparent_ = control.Tag() == kTransparentTag || (Data().Options() & Bit(xoTransparent));
}

// ----- Messages ---------------------------------------------------------------------

bool TSkinButton::BeforeMessage(framework::TMessage& message)
{
  switch (message.Msg) {
  case WM_PAINT:
    PaintHandler(message);
    return false;
  case WM_ERASEBKGND:
    message.Result = 1;
    return false;
  case WM_TIMER:
    KillTimer(Window(), kButtonTimer);
    return false;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    if (GetFocus() != Window())
      SetFocus(Window());
    look_ |= lbPressed;
    PaintNow(nullptr);
    if (mode_ == 0 && Control())
      ForwardMouseDown(message);
    return false;
  default:
    return TSkinControl::BeforeMessage(message);
  }
}

void TSkinButton::AfterMessage(framework::TMessage& message)
{
  switch (message.Msg) {
  case WM_SETTEXT:
    PaintNow(nullptr);
    break;
  case WM_KEYDOWN:
  case WM_KEYUP:
    if (message.WParam == VK_SPACE)
      Press(message.Msg == WM_KEYDOWN);
    break;
  case WM_MOUSEMOVE: {
    if (enabledLook_ && !(look_ & lbHot)) {
      look_ |= lbHot;
      Repaint();
    }
    AskForLeaveNotice(Window());
    break;
  }
  case WM_LBUTTONUP:
    if (look_ & lbPressed) {
      Press(false);
      RaiseClick();
    }
    break;
  case WM_MOUSELEAVE:
    look_ &= uint8_t(~(lbHot | lbPressed));
    Repaint();
    break;
  case framework::CM_DIALOGKEY:
  case framework::CM_FOCUSCHANGED:
    Repaint();
    break;
  default:
    TSkinControl::AfterMessage(message);
    break;
  }
}

void TSkinButton::Press(bool on)
{
  look_ = on ? uint8_t(look_ | lbPressed) : uint8_t(look_ & ~lbPressed);
  Repaint();
}

// A framework button clicks through its control; a dialog's button tells its
// parent, as the system's own button would.
void TSkinButton::RaiseClick()
{
  if (Control()) {
    Control()->Click();
    return;
  }
  const WPARAM id = LowerClassName(Window()) == "tbutton" ? 0 : WPARAM(GetDlgCtrlID(Window()));
  PostMessageW(GetParent(Window()), WM_COMMAND, id, reinterpret_cast<LPARAM>(Window()));
}

// ----- Painting ---------------------------------------------------------------------

bool TSkinButton::IsDefault() const
{
  if (Control())
    return framework::SameText(framework::GetPropValue(*Control(), "Default"), "True");
  return (GetWindowLongPtrW(Window(), GWL_STYLE) & 0xF) == BS_DEFPUSHBUTTON;
}

gfx::TColor TSkinButton::CaptionColour(const TButtonLook& look) const
{
  if (look.Disabled)
    return gfx::clBtnShadow;
  const TDataSkinButton& element = *Data().Buttons;
  gfx::TColor colour = element.HasNormalColour2 ? element.NormalColour2 : FontColour();
  if (look.Hot && !look.Pressed && element.HasMouseOverColour2)
    colour = element.MouseOverColour2;
  if (look.Pressed && element.HasPressedColour2)
    colour = element.PressedColour2;
  return colour;
}

bool TSkinButton::ShowsFocusRect() const { return focused_ && !(Data().Options() & Bit(xoNoFocusRect)); }

const TDataSkinButton* TSkinButton::ButtonsElement() const
{
  const TDataSkinButton* element = Data().Buttons.get();
  return element && !element->Image.Empty() ? element : nullptr;
}

void TSkinButton::DrawSkin(HDC dc, const gfx::TRect& rect)
{
  if (!ButtonsElement())
    return;
  ReadWindowState();
  caption_ = SplitCaption(ReadCaption());
  TButtonLook look;
  look.Pressed = look_ & lbPressed;
  look.Hot = look_ & lbHot;
  look.FocusedOrDefault = focused_ || IsDefault();
  look.Disabled = !enabledLook_;
  DrawButton(dc, rect, look, PushButtonFace(look));
}

void TSkinButton::DrawButton(HDC dc, const gfx::TRect& rect, const TButtonLook& look, const TButtonFace& face)
{
  const TDataSkinButton& element = *ButtonsElement();
  DrawThroughFace(dc, rect, [&](HDC target) {
    if (transparent_ && SkinnedControl())
      win32::PaintParentBackground(*SkinnedControl(), target);
    else
      FillSkinColour(target, rect);
    if (face.DrawElement)
      win32::ElementDraw(target, rect, element.Image, false, element.Tile == 1, element.Trans == 1,
                         element.FrameCount(), face.Frame, element.Margins());
    const framework::TSelectObject font(target, CaptionFont());
    SetTextColor(target, ColourRef(CaptionColour(look)));
    SetBkMode(target, TRANSPARENT);
    DrawContent(target, rect, look, face);
  });
}

void TSkinButton::DrawContent(HDC dc, const gfx::TRect& rect, const TButtonLook& /*look*/, const TButtonFace& /*face*/)
{
  DrawCaption(dc, rect);
}

void TSkinButton::DrawCaption(HDC dc, const gfx::TRect& rect)
{
  RECT measured{rect.Left + 2, rect.Top + 2, rect.Right - 2, rect.Bottom - 2};
  DrawUnicodeText(dc, caption_, measured, DT_CENTER | DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_WORDBREAK);
  const gfx::TPoint size{measured.right - measured.left, measured.bottom - measured.top};
  const gfx::TPoint origin = CaptionBlockOrigin({rect.Width(), rect.Height()}, size);
  // Drawn across the whole inner width, centred: a block exactly as wide as
  // measured can be a pixel short for the drawing (bold faces), which breaks
  // and clips the last word.
  RECT lines{rect.Left + 2, origin.Y, rect.Right - 2, origin.Y + size.Y};
  DrawUnicodeText(dc, caption_, lines, DT_CENTER | DT_EXPANDTABS | DT_WORDBREAK);
  if (ShowsFocusRect()) {
    RECT focus{origin.X - 2, origin.Y - 2, origin.X + size.X + 2, origin.Y + size.Y + 2};
    DrawFocusRect(dc, &focus);
  }
}

} // namespace skin
