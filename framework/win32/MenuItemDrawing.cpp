// The look of an owner-drawn menu item when nobody draws it otherwise: the
// system's menu colours, a glyph column (the image, the item's bitmap or a
// check mark), the caption with its accelerator underlined and the shortcut
// at the right.
#include <algorithm>

#include "framework/win32/Graphics.h"
#include "framework/win32/Menus.h"

namespace framework {

namespace {

constexpr int kGlyphSize = 16;
constexpr int kGlyphMargin = 3;   // around the glyph column
constexpr int kTextGap = 6;       // between glyph column and caption
constexpr int kShortCutGap = 24;  // between caption and shortcut
constexpr int kRightMargin = 10;
constexpr int kSeparatorHeight = 8;

int GlyphWidth(const TCustomImageList* images)
{
  return std::max(kGlyphSize, images ? images->Width() : 0);
}

// Left edge of the caption: past the glyph column.
int TextLeft(int itemLeft, const TCustomImageList* images)
{
  return itemLeft + kGlyphMargin + GlyphWidth(images) + kGlyphMargin + kTextGap;
}

void DrawCheckMark(TCanvas& canvas, const gfx::TRect& box, bool radio, gfx::TColor color)
{
  TCanvasDC dc(canvas);
  if (!dc.DC())
    return;
  // DrawFrameControl draws the mark black on white; a monochrome mask of it
  // is then painted in the text's colour.
  const int w = box.Width(), h = box.Height();
  TMemoryDC maskDC(dc.DC());
  TGdiBitmap mask(CreateBitmap(w, h, 1, 1, nullptr));
  TSelectObject selected(maskDC.Get(), mask.Get());
  RECT r{0, 0, w, h};
  DrawFrameControl(maskDC.Get(), &r, DFC_MENU, radio ? DFCS_MENUBULLET : DFCS_MENUCHECK);
  TGdiBrush brush(CreateSolidBrush(ColorToCOLORREF(color)));
  TSelectObject brushSelected(dc.DC(), brush.Get());
  SetTextColor(dc.DC(), RGB(0, 0, 0));
  SetBkColor(dc.DC(), RGB(255, 255, 255));
  // Where the mask is black, the brush; where white, the destination.
  constexpr DWORD kPaintWhereBlack = 0x00B8074A;
  BitBlt(dc.DC(), box.Left, box.Top, w, h, maskDC.Get(), 0, 0, kPaintWhereBlack);
}

void DrawSeparator(TCanvas& canvas, const gfx::TRect& rect)
{
  TCanvasDC dc(canvas);
  if (!dc.DC())
    return;
  RECT line{rect.Left + 1, rect.Top + rect.Height() / 2 - 1, rect.Right - 1, rect.Top + rect.Height() / 2 + 1};
  DrawEdge(dc.DC(), &line, EDGE_ETCHED, BF_TOP);
}

} // namespace

void TMenuItem::DefaultMeasureItem(TCanvas& canvas, int& width, int& height) const
{
  if (IsLine()) {
    width = 0;
    height = kSeparatorHeight;
    return;
  }
  const TCustomImageList* images = Images();
  if (default_)
    canvas.Font.Style |= fsBold;
  gfx::TRect text(0, 0, 0, 0);
  CanvasDrawText(canvas, caption_.empty() ? " " : caption_, text, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
  const std::string shortCut = ShortCutText();
  const int shortCutWidth = shortCut.empty() ? 0 : kShortCutGap + CanvasTextWidth(canvas, shortCut);
  width = TextLeft(0, images) + text.Width() + shortCutWidth + kRightMargin;
  const int glyphHeight = images ? images->Height() : kGlyphSize;
  height = std::max(text.Height(), glyphHeight) + 2 * kGlyphMargin;
}

void TMenuItem::DefaultDrawItem(TCanvas& canvas, const gfx::TRect& rect, TOwnerDrawState state) const
{
  const bool selected = (state & odSelected) != 0;
  canvas.Brush.Style = bsSolid;
  canvas.Brush.Color = selected && enabled_ ? gfx::clHighlight : gfx::clMenu;
  canvas.FillRect(rect);
  if (IsLine()) {
    DrawSeparator(canvas, rect);
    return;
  }
  const TCustomImageList* images = Images();
  const gfx::TColor textColor = !enabled_ ? gfx::clGrayText : selected ? gfx::clHighlightText : gfx::clMenuText;

  const int glyphWidth = GlyphWidth(images);
  const int glyphHeight = images ? images->Height() : kGlyphSize;
  const gfx::TRect glyphBox = gfx::TRect::Bounds(rect.Left + kGlyphMargin, rect.Top + (rect.Height() - glyphHeight) / 2,
                                                 glyphWidth, glyphHeight);
  if (images && imageIndex_ >= 0 && imageIndex_ < images->Count())
    images->Draw(canvas, glyphBox.Left, glyphBox.Top, imageIndex_, enabled_);
  else if (HasBitmap())
    DrawGlyph(canvas, *bitmap_, glyphBox.Left, glyphBox.Top, enabled_);
  else if (checked_)
    DrawCheckMark(canvas, glyphBox, radioItem_, textColor);

  canvas.Brush.Style = bsClear;
  canvas.Font.Color = textColor;
  if (default_)
    canvas.Font.Style |= fsBold;
  const UINT prefix = (state & odNoAccel) ? DT_HIDEPREFIX : 0u;
  gfx::TRect text(TextLeft(rect.Left, images), rect.Top, rect.Right - kRightMargin, rect.Bottom);
  CanvasDrawText(canvas, caption_, text, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | prefix);
  const std::string shortCut = ShortCutText();
  if (!shortCut.empty()) {
    gfx::TRect right(rect.Left, rect.Top, rect.Right - kRightMargin, rect.Bottom);
    CanvasDrawText(canvas, shortCut, right, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
  }
}

} // namespace framework
