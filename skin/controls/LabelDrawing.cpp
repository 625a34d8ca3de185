#include "skin/controls/LabelDrawing.h"

#include "skin/controls/SkinControl.h"
#include "skin/controls/TabGeometry.h"

namespace skin {

framework::TGdiFont PlainFontOf(HFONT font)
{
  LOGFONTW description{};
  GetObjectW(font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), sizeof description, &description);
  description.lfWeight = FW_NORMAL;
  description.lfItalic = description.lfUnderline = description.lfStrikeOut = FALSE;
  return framework::TGdiFont(CreateFontIndirectW(&description));
}

void DrawTabLabel(HDC dc, const gfx::TRect& rect, const TTabLabel& label)
{
  int imageWidth = 0, imageHeight = 0;
  const bool image = label.Images && label.ImageIndex != -1 &&
                     ImageList_GetIconSize(label.Images, &imageWidth, &imageHeight) && imageWidth < rect.Width();
  if (!image)
    imageWidth = imageHeight = 0;
  constexpr UINT kText = DT_EXPANDTABS | DT_WORDBREAK | DT_END_ELLIPSIS;
  const UINT reading = label.RightToLeft ? DT_RTLREADING : 0;
  std::wstring text = label.Text;
  RECT measured{0, 0, rect.Width(), rect.Height()};
  DrawTextW(dc, text.c_str(), int(text.size()), &measured, kText | DT_CALCRECT | DT_NOCLIP | reading);
  const int32_t textWidth = measured.right - measured.left;
  const int32_t textHeight = measured.bottom - measured.top;
  const int32_t x = rect.Left + TabLabelStart(label.Alignment, rect.Width(), textWidth, imageWidth);
  if (image)
    ImageList_Draw(label.Images, label.ImageIndex, dc, x, rect.Top + (rect.Height() - imageHeight) / 2,
                   ILD_TRANSPARENT);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColourRef(label.Disabled ? gfx::clBtnShadow : label.Colour));
  const int32_t top = rect.Top + (rect.Height() - textHeight) / 2;
  RECT box{x + imageWidth, top, std::min<LONG>(rect.Right, x + imageWidth + textWidth), top + textHeight};
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, rect.Left, rect.Top, rect.Right, rect.Bottom);
  DrawTextW(dc, text.c_str(), int(text.size()), &box, kText | reading);
  RestoreDC(dc, saved);
}

} // namespace skin
