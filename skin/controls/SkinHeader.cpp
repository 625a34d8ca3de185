#include "skin/controls/SkinHeader.h"

#include "skin/SkinData.h"
#include "skin/controls/LabelDrawing.h"
#include "skin/win32/SkinDataWin32.h"

#include <commctrl.h>
#include <windowsx.h>

namespace skin {

namespace {

int32_t AlignmentOf(int format)
{
  if (format & HDF_RIGHT)
    return 2;
  return format & HDF_CENTER ? 1 : 0;
}

} // namespace

void TSkinHeader::AttachControl(TWinSkinForm& form, TSkinData& data, framework::TWinControl& control, bool recolour)
{
  TSkinControl::AttachControl(form, data, control, recolour);
  hot_ = -1;
}

void TSkinHeader::AttachWindow(TWinSkinForm& form, TSkinData& data, HWND window)
{
  TSkinControl::AttachWindow(form, data, window);
  hot_ = -1;
}

bool TSkinHeader::HasImage() const { return Data().Headerbar && !Data().Headerbar->Image.Empty(); }

bool TSkinHeader::BeforeMessage(framework::TMessage& message)
{
  switch (message.Msg) {
  case WM_PAINT:
    PaintHandler(message);
    return false;
  case WM_ERASEBKGND:
    if (!HasImage())
      return true;
    message.Result = 1;
    return false;
  default:
    return TSkinControl::BeforeMessage(message);
  }
}

void TSkinHeader::AfterMessage(framework::TMessage& message)
{
  switch (message.Msg) {
  case WM_MOUSEMOVE: {
    const gfx::TPoint at{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
    int32_t section = -1;
    for (size_t i = 0; i < sections_.size() && section < 0; ++i)
      if (sections_[i].Contains(at))
        section = int32_t(i);
    SetHot(section);
    AskForLeaveNotice(Window());
    break;
  }
  case WM_MOUSELEAVE:
    hot_ = -1;
    Repaint();
    break;
  default:
    TSkinControl::AfterMessage(message);
    break;
  }
}

void TSkinHeader::SetHot(int32_t section)
{
  if (section == hot_)
    return;
  hot_ = section;
  Repaint();
}

void TSkinHeader::DrawSkin(HDC dc, const gfx::TRect& rect)
{
  if (!HasImage())
    return;
  ReadWindowState();
  const TDataSkinObject& bar = *Data().Headerbar;
  const auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(Window(), HDM_GETIMAGELIST, 0, 0));
  const auto& textColour = Data().Colors()[scWindowText];
  const auto count = int(SendMessageW(Window(), HDM_GETITEMCOUNT, 0, 0));
  sections_.assign(size_t(std::max(count, 0)), gfx::TRect());
  const auto draw = [&](HDC face, const gfx::TRect& section, int32_t frame) {
    win32::ElementDraw(face, section, bar.Image, false, bar.Tile == 1, bar.Trans == 1, bar.FrameCount(), frame,
                       bar.Margins());
  };
  DrawThroughFace(dc, rect, [&](HDC face) {
    FillSkinColour(face, rect);
    const framework::TGdiFont font =
      PlainFontOf(reinterpret_cast<HFONT>(SendMessageW(Window(), WM_GETFONT, 0, 0)));
    const framework::TSelectObject selected(face, font.Get());
    int32_t right = rect.Left;
    for (int i = 0; i < count; ++i) {
      RECT r{};
      if (!SendMessageW(Window(), HDM_GETITEMRECT, WPARAM(i), reinterpret_cast<LPARAM>(&r)))
        continue;
      const gfx::TRect section(r.left, r.top, r.right, r.bottom);
      sections_[size_t(i)] = gfx::TRect(r.left + 3, r.top, r.right - 3, r.bottom);
      right = std::max<int32_t>(right, r.right);
      draw(face, section, i == hot_ ? 2 : 1);
      wchar_t text[261] = {};
      HDITEMW item{};
      item.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
      item.pszText = text;
      item.cchTextMax = 260;
      SendMessageW(Window(), HDM_GETITEMW, WPARAM(i), reinterpret_cast<LPARAM>(&item));
      TTabLabel label;
      label.Text = text;
      label.Images = images;
      label.ImageIndex = (item.fmt & (HDF_IMAGE | HDF_OWNERDRAW)) ? item.iImage : -1;
      label.Alignment = AlignmentOf(item.fmt);
      label.Colour = textColour.Given ? textColour.Color : gfx::clWindowText;
      label.Disabled = !enabledLook_;
      label.RightToLeft = RightToLeft();
      DrawTabLabel(face, section, label);
    }
    if (right < rect.Right)
      draw(face, gfx::TRect(right, rect.Top, rect.Right, rect.Bottom), 1);
  });
}

} // namespace skin
