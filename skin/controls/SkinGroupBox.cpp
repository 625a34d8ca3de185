#include "skin/controls/SkinGroupBox.h"

#include "framework/win32/Handles.h"
#include "skin/SkinData.h"
#include "skin/controls/ControlLooks.h"

namespace skin {

namespace {

std::wstring WindowText(HWND window)
{
  std::wstring text(size_t(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(size_t(GetWindowTextW(window, text.data(), int(text.size()))));
  return text;
}

constexpr int32_t kCaptionIndent = 8;
constexpr int32_t kCornerSize = 5;

} // namespace

void TSkinGroupBox::AttachControl(TWinSkinForm& form, TSkinData& data, framework::TWinControl& control, bool recolour)
{
  TSkinControl::AttachControl(form, data, control, recolour);
  mode_ = 1;
}

bool TSkinGroupBox::BeforeMessage(framework::TMessage& message)
{
  if (message.Msg == WM_PAINT && mode_ == 1) {
    PaintHandler(message);
    return false;
  }
  return TSkinControl::BeforeMessage(message);
}

void TSkinGroupBox::DrawSkin(HDC dc, const gfx::TRect& rect)
{
  // A framework group box is drawn whole off screen, with its windowless
  // children; a dialog's group box only has its system frame covered.
  if (mode_ != 1) {
    DrawFrameAndCaption(dc, rect);
    return;
  }
  DrawThroughFace(
    dc, rect,
    [&](HDC face) {
      FillSkinColour(face, rect);
      DrawFrameAndCaption(face, rect);
    },
    [&](framework::TBitmap& face) { Control()->PaintControls(face.Canvas()); });
}

void TSkinGroupBox::DrawFrameAndCaption(HDC dc, const gfx::TRect& rect)
{
  caption_ = WindowText(Window());
  if (caption_.empty())
    caption_ = ReadCaption();
  const framework::TSelectObject font(dc, CaptionFont());
  SIZE zero{};
  GetTextExtentPoint32W(dc, L"0", 1, &zero);
  const int32_t y = GroupBoxLineTop(zero.cy);
  if (mode_ != 1) {
    const framework::TGdiBrush face(CreateSolidBrush(ColourRef(Data().Color(scButtonFace))));
    RECT old{0, y, rect.Right, rect.Bottom};
    FrameRect(dc, &old, face.Get());
    InflateRect(&old, -1, -1);
    FrameRect(dc, &old, face.Get());
  }
  {
    const framework::TGdiPen pen(CreatePen(PS_SOLID, 1, ColourRef(Data().Color(scButtonShadow))));
    const framework::TSelectObject selectedPen(dc, pen.Get());
    const framework::TSelectObject hollow(dc, GetStockObject(NULL_BRUSH));
    RoundRect(dc, 1, y, rect.Right - 1, rect.Bottom - 1, kCornerSize, kCornerSize);
  }
  SetTextColor(dc, ColourRef(FontColour()));
  SetBkColor(dc, ColourRef(Data().Color(scButtonFace)));
  SetBkMode(dc, OPAQUE);
  const bool right = GetWindowLongPtrW(Window(), GWL_EXSTYLE) & WS_EX_RIGHT;
  RECT text{rect.Left + kCaptionIndent, rect.Top, rect.Right, rect.Bottom};
  UINT format = DT_EXPANDTABS;
  if (right) {
    text = {rect.Left, rect.Top, rect.Right - kCaptionIndent, rect.Bottom};
    format |= DT_RIGHT;
  }
  DrawUnicodeText(dc, caption_, text, format);
}

} // namespace skin
