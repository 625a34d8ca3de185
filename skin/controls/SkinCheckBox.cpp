#include "skin/controls/SkinCheckBox.h"

#include "framework/TypeInfo.h"
#include "framework/win32/Handles.h"
#include "skin/SkinData.h"
#include "skin/controls/SkinButton.h"
#include "skin/win32/SkinDataWin32.h"

#include <algorithm>
#include <cctype>

namespace skin {

namespace {

constexpr UINT kCheckExit = framework::CM_EXIT;
constexpr UINT kCheckStateChanged = 0xB0D0;

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

std::string LowerProp(const framework::TObject& object, const char* name)
{
  std::string text = framework::GetPropValue(object, name);
  for (char& c : text)
    c = char(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The system's shell of version 6 draws its own focus cue on these controls.
bool SystemDrawsFocusCue() { return LOBYTE(LOWORD(GetVersion())) == 6; }

} // namespace

void TSkinCheckBox::AttachControl(TWinSkinForm& form, TSkinData& data, framework::TWinControl& control, bool recolour)
{
  TSkinControl::AttachControl(form, data, control, recolour);
  const framework::TBitmap* strip = Strip();
  mode_ = strip && !strip->Empty() ? 1 : 0;
  transparent_ = control.Tag() == TSkinButton::kTransparentTag || (data.Options() & Bit(xoTransparent));
}

bool TSkinCheckBox::BeforeMessage(framework::TMessage& message)
{
  switch (message.Msg) {
  case WM_PAINT:
  case WM_PRINT:
    if (mode_ != 1)
      break;
    PaintHandler(message);
    return false;
  case WM_ERASEBKGND:
    if (!transparent_)
      break;
    EraseHandler(message);
    return false;
  default:
    break;
  }
  return TSkinControl::BeforeMessage(message);
}

void TSkinCheckBox::AfterMessage(framework::TMessage& message)
{
  switch (message.Msg) {
  case BM_SETCHECK:
    if (!IsRadio())
      lastSetCheck_ = int32_t(message.WParam) + 1;
    Repaint();
    break;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONUP:
  case WM_LBUTTONDBLCLK:
  case kCheckExit:
  case kCheckStateChanged:
    Repaint();
    break;
  default:
    TSkinControl::AfterMessage(message);
    break;
  }
}

const framework::TBitmap* TSkinCheckBox::Strip() const
{
  return Data().Buttons ? &Data().Buttons->CheckImage : nullptr;
}

int32_t TSkinCheckBox::StripFrames() const { return std::max(1, Data().Buttons->CheckButtonFrame); }

int32_t TSkinCheckBox::CurrentFrame() const
{
  const LRESULT state = SendMessageW(Window(), BM_GETSTATE, 0, 0);
  TCheckLook look;
  look.Checked = state & BST_CHECKED;
  if (const framework::TWinControl* control = Control()) {
    if (framework::IsPublishedProp(*control, "State")) {
      const std::string text = LowerProp(*control, "State");
      look.Checked = !Contains(text, "uncheck") && Contains(text, "check");
      look.Indeterminate = !Contains(text, "check") && Contains(text, "gray");
    } else if (framework::IsPublishedProp(*control, "Checked")) {
      look.Checked = LowerProp(*control, "Checked") == "true";
    }
    if (framework::IsPublishedProp(*control, "DataField") && lastSetCheck_ > 0) {
      look.Checked = lastSetCheck_ == 2;
      look.Indeterminate = lastSetCheck_ == 3;
    }
    if (framework::IsPublishedProp(*control, "DataBinding"))
      look = {};
  }
  look.Disabled = HasStyle(WS_DISABLED);
  look.Indeterminate = look.Indeterminate || (state & BST_INDETERMINATE);
  return CheckBoxFrame(look, StripFrames());
}

const framework::TBitmap* TSkinRadioButton::Strip() const
{
  return Data().Buttons ? &Data().Buttons->RadioImage : nullptr;
}

int32_t TSkinRadioButton::StripFrames() const { return std::max(1, Data().Buttons->RadioButtonFrame); }

int32_t TSkinRadioButton::CurrentFrame() const
{
  TCheckLook look;
  look.Checked = SendMessageW(Window(), BM_GETCHECK, 0, 0) & 1;
  if (Control() && framework::IsPublishedProp(*Control(), "Checked"))
    look.Checked = LowerProp(*Control(), "Checked") == "true";
  look.Disabled = HasStyle(WS_DISABLED);
  return RadioButtonFrame(look, StripFrames());
}

void TSkinCheckBox::DrawSkin(HDC dc, const gfx::TRect& rect)
{
  const framework::TBitmap* strip = Strip();
  if (!strip || strip->Empty()) {
    mode_ = 0;
    return;
  }
  ReadWindowState();
  const int32_t frames = StripFrames();
  const gfx::TPoint boxSize{strip->Width() / frames, strip->Height()};
  const bool leftText = HasStyle(BS_LEFTTEXT);
  const TCheckLayout layout = LayoutCheck(rect, boxSize, leftText, IsRadio());
  if (mode_ == 1 && !transparent_)
    FillSkinColour(dc, rect);
  win32::ElementDraw(dc, layout.Box, *strip, false, false, true, frames, CurrentFrame(), {});
  if (mode_ == 1)
    DrawCaption(dc, layout.Caption, layout.RightAligned);
}

void TSkinCheckBox::DrawCaption(HDC dc, const gfx::TRect& area, bool rightAligned)
{
  caption_ = ReadCaption();
  const win32::TSavedDC saved(dc);
  SelectObject(dc, CaptionFont());
  SetTextColor(dc, ColourRef(enabledLook_ ? FontColour() : gfx::clBtnShadow));
  SetBkColor(dc, ColourRef(Data().Color(scButtonFace)));
  SetBkMode(dc, TRANSPARENT);
  const UINT align = rightAligned ? DT_RIGHT : 0;
  RECT text{area.Left, area.Top, area.Right, area.Bottom};
  RECT measured = text;
  DrawUnicodeText(dc, caption_, measured, align | DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_WORDBREAK);
  OffsetRect(&text, 0, (area.Height() - (measured.bottom - measured.top)) / 2);
  if (focused_ && !caption_.empty() && !SystemDrawsFocusCue())
    DrawFocusAroundText(dc, align | DT_EXPANDTABS | DT_WORDBREAK, text);
  DrawUnicodeText(dc, caption_, text, align | DT_EXPANDTABS | DT_WORDBREAK);
}

} // namespace skin
