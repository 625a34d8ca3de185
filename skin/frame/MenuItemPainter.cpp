#include "skin/frame/MenuItemPainter.h"

#include "framework/win32/Forms.h"
#include "framework/win32/Graphics.h"
#include "framework/win32/Menus.h"
#include "gfx/win32/GdiInterop.h"
#include "skin/BitmapUtils.h"
#include "skin/SkinData.h"
#include "skin/win32/SkinDataWin32.h"

#include <algorithm>

namespace skin {

namespace {

constexpr int32_t kGlyphSize = 16;
constexpr int32_t kMenuItemFrames = 5;
constexpr size_t kMaxItemText = 80;
// The system's check-mark bitmap (OBM_CHECK).
constexpr WORD kCheckBitmap = 32760;
// Where the mask is black, the brush; where white, the destination.
constexpr DWORD kPaintWhereBlack = 0x00B8074A;

const TDataSkinObject* ItemElement(const TSkinData& data)
{
  const TDataSkinObject* element = data.MenuItem.get();
  return element && !element->Image.Empty() && element->Image.NativeHandle() ? element : nullptr;
}

int32_t ElementLeft(const TSkinData& data)
{
  const TDataSkinObject* element = data.MenuItem.get();
  return element ? element->LeftWidth : 0;
}

HFONT MenuFont() { return framework::Screen ? framework::Screen->MenuFont()->Handle() : nullptr; }

HGDIOBJ MenuFontObject() { return MenuFont() ? static_cast<HGDIOBJ>(MenuFont()) : GetStockObject(DEFAULT_GUI_FONT); }

framework::TGdiFont BoldMenuFont()
{
  LOGFONTW font{};
  GetObjectW(MenuFontObject(), sizeof font, &font);
  font.lfWeight = FW_BOLD;
  return framework::TGdiFont(CreateFontIndirectW(&font));
}

COLORREF Colour(const TSkinData& data, TSkinColorIndex which) { return framework::ColorToCOLORREF(data.Color(which)); }

SIZE TextSize(HDC dc, std::wstring text)
{
  // An empty caption or a lone accelerator mark still has a line's height.
  if (text.empty() || text == L"&")
    text += L' ';
  RECT r{0, 0, 0, 0};
  DrawTextW(dc, text.c_str(), int(text.size()), &r, DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE);
  return {r.right - r.left, r.bottom - r.top};
}

// The disabled colour must differ from the text it stands beside.
gfx::TColor DisabledColour(const TSkinData& data)
{
  return data.Color(scButtonShadow) == data.Color(scMenuText) ? gfx::clBtnShadow : data.Color(scButtonShadow);
}

COLORREF TextColour(const TSkinData& data, const TMenuItemView& item)
{
  if (!item.Enabled)
    return framework::ColorToCOLORREF(DisabledColour(data));
  return Colour(data, item.Selected ? scHilightText : scMenuText);
}

// The system's check mark, painted in the button-text colour through its mask.
void DrawCheckMark(HDC dc, const RECT& box, const RECT& item)
{
  framework::TGdiBitmap mark(LoadBitmapW(nullptr, MAKEINTRESOURCEW(kCheckBitmap)));
  if (!mark)
    return;
  BITMAP info{};
  GetObjectW(mark.Get(), sizeof info, &info);
  const int32_t x = box.left + (box.right - box.left - info.bmWidth) / 2;
  const int32_t y = item.top + (item.bottom - item.top - info.bmHeight) / 2;
  framework::TMemoryDC source(dc);
  framework::TSelectObject selected(source.Get(), mark.Get());
  framework::TGdiBrush brush(CreateSolidBrush(GetSysColor(COLOR_BTNTEXT)));
  framework::TSelectObject brushSelected(dc, brush.Get());
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
  BitBlt(dc, x, y, info.bmWidth, info.bmHeight, source.Get(), 0, 0, kPaintWhereBlack);
}

// The glyph column is as wide as the menu's pictures; a check mark needs at
// least the system's size.
int32_t GlyphSize(const TMenuItemView& item)
{
  const int32_t size = item.Images ? item.Images->Width() : kGlyphSize;
  return item.Checked ? std::max(size, kGlyphSize) : size;
}

// The item's picture at the box's top-left, in the shadow colour when the
// item is disabled; a checked item's box is pressed in first.
void DrawImage(HDC dc, const RECT& box, const TMenuItemView& item)
{
  if (item.Checked) {
    framework::TGdiBrush pattern = framework::ButtonFacePatternBrush();
    FillRect(dc, &box, pattern.Get());
    RECT edge{box.left - 1, box.top - 1, box.right + 1, box.bottom + 1};
    DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
  }
  const framework::TBitmap& image = item.Images->Image(item.ImageIndex);
  framework::TBitmap glyph(image.Width(), image.Height());
  glyph.Canvas().Brush.Style = framework::bsSolid;
  glyph.Canvas().Brush.Color = kKeyColor;
  glyph.Canvas().FillRect(gfx::TRect(0, 0, image.Width(), image.Height()));
  framework::DrawGlyph(glyph.Canvas(), image, 0, 0, item.Enabled);
  win32::TransparentBlit(dc, gfx::TRect::Bounds(box.left, box.top, image.Width(), image.Height()), glyph,
                         kKeyColor);
}

void DrawContent(HDC dc, const RECT& rect, const TMenuItemView& item, const TSkinData& data, bool rightToLeft)
{
  const int32_t left = ItemElement(data) ? ElementLeft(data) : 0;
  RECT glyph{};
  if (!item.IsLine()) {
    const int32_t size = GlyphSize(item);
    glyph.top = rect.top + 1;
    glyph.bottom = glyph.top + size;
    glyph.left = rightToLeft ? rect.right - 1 - left - size : rect.left + 1 + left;
    glyph.right = glyph.left + size;
    if (item.HasImage())
      DrawImage(dc, glyph, item);
    else if (item.Checked)
      DrawCheckMark(dc, glyph, rect);
  } else {
    // A line has no glyph box: its rectangle starts where the box would.
    const int32_t edge = rightToLeft ? rect.right - 1 - left : rect.left + 1 + left;
    glyph = {edge, rect.top, edge, rect.top};
  }
  RECT text = rightToLeft ? RECT{rect.left + 1, rect.top, glyph.left - 3, rect.bottom}
                          : RECT{glyph.right + 3, rect.top, rect.right - 1, rect.bottom};
  if (item.IsLine()) {
    RECT line{text.left, rect.top + 4, text.right, rect.top + 6};
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, TextColour(data, item));
  framework::TGdiFont bold;
  if (item.Default)
    bold = BoldMenuFont();
  framework::TSelectObject font(dc, bold ? static_cast<HGDIOBJ>(bold.Get()) : MenuFontObject());
  const SIZE size = TextSize(dc, item.Caption);
  text.top = rect.top + (rect.bottom - rect.top - size.cy) / 2;
  text.bottom = text.top + size.cy;
  const UINT direction = rightToLeft ? DT_RIGHT | DT_RTLREADING : DT_LEFT;
  DrawTextW(dc, item.Caption.c_str(), int(item.Caption.size()), &text, direction | DT_EXPANDTABS | DT_SINGLELINE);
  if (item.ShortCut.empty())
    return;
  RECT shortCut = rightToLeft ? RECT{rect.left + 11, text.top, rect.right, text.bottom}
                              : RECT{rect.left, text.top, rect.right - 11, text.bottom};
  DrawTextW(dc, item.ShortCut.c_str(), int(item.ShortCut.size()), &shortCut,
            (rightToLeft ? DT_LEFT | DT_RTLREADING : DT_RIGHT) | DT_SINGLELINE | DT_NOPREFIX);
}

// The pop-up's background under the item, else the menu colour.
void FillBackground(HDC dc, int32_t width, int32_t height, const RECT& rect, const TSkinData& data,
                    const TMenuBackground& background)
{
  if (background.Image && !background.Image->Empty() && background.Image->NativeHandle()) {
    gfx::win32::TBitmapDC image(background.Image->NativeHandle());
    BitBlt(dc, 0, 0, width, height, image.Get(), rect.left + background.ClientOffset.X,
           rect.top + background.ClientOffset.Y, SRCCOPY);
    return;
  }
  framework::TGdiBrush brush(CreateSolidBrush(Colour(data, scMenu)));
  RECT all{0, 0, width, height};
  FillRect(dc, &all, brush.Get());
}

// The bottom rows of the element's second frame, its side parts at their
// width and the middle stretched, over the item with magenta left out.
void DrawSeparator(HDC dc, const RECT& rect, const TDataSkinObject& element)
{
  const int32_t width = rect.right - rect.left;
  const int32_t height = rect.bottom - rect.top;
  const gfx::TRect frame = StripFrameRect(element.Image.Width(), element.Image.Height(), false, kMenuItemFrames, 2);
  const int32_t top = std::max(0, frame.Height() - height);
  const int32_t rows = frame.Height() - top;
  const int32_t left = std::clamp(element.LeftWidth, 0, frame.Width());
  const int32_t right = std::clamp(element.RightWidth, 0, frame.Width() - left);
  framework::TBitmap line;
  line.SetPixelFormat(framework::pf24bit);
  line.SetSize(width, height);
  if (!line.NativeHandle())
    return;
  {
    gfx::win32::TBitmapDC target(line.NativeHandle());
    gfx::win32::TBitmapDC source(element.Image.NativeHandle());
    framework::TGdiBrush key(CreateSolidBrush(RGB(255, 0, 255)));
    RECT all{0, 0, width, height};
    FillRect(target.Get(), &all, key.Get());
    SetStretchBltMode(target.Get(), COLORONCOLOR);
    BitBlt(target.Get(), 0, 0, left, rows, source.Get(), frame.Left, top, SRCCOPY);
    StretchBlt(target.Get(), left, 0, width - left - right, rows, source.Get(), frame.Left + left, top,
               frame.Width() - left - right, rows, SRCCOPY);
    BitBlt(target.Get(), width - right, 0, right, rows, source.Get(), frame.Right - right, top, SRCCOPY);
  }
  win32::TransparentBlit(dc, {rect.left, rect.top, rect.right, rect.bottom}, line, kKeyColor);
}

} // namespace

// ----- Items ------------------------------------------------------------------------

bool TMenuItemView::HasImage() const { return Images && ImageIndex >= 0 && ImageIndex < Images->Count(); }

TMenuItemView ViewOfFrameworkItem(const framework::TMenuItem& item, bool selected)
{
  TMenuItemView view;
  const framework::TMenu* menu = item.GetParentMenu();
  view.Images = menu ? menu->Images() : nullptr;
  view.ImageIndex = item.ImageIndex();
  view.Caption = framework::Utf8ToWide(item.Caption());
  view.ShortCut = framework::Utf8ToWide(item.ShortCutText());
  view.Enabled = item.Enabled();
  view.Checked = item.Checked();
  view.Default = item.Default();
  view.Selected = selected;
  return view;
}

TMenuItemView ViewOfSystemItem(HMENU menu, UINT item, bool byPosition, bool selected)
{
  wchar_t text[kMaxItemText + 1] = {};
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STATE | MIIM_STRING;
  info.dwTypeData = text;
  info.cch = UINT(kMaxItemText);
  TMenuItemView view;
  view.Selected = selected;
  if (!GetMenuItemInfoW(menu, item, byPosition, &info))
    info.fState = 0;
  view.Caption = text[0] ? std::wstring(text) : std::wstring(L"-");
  view.Enabled = !(info.fState & (MFS_GRAYED | MFS_DISABLED));
  view.Checked = info.fState & MFS_CHECKED;
  view.Default = info.fState & MFS_DEFAULT;
  // The system keeps the shortcut after a tab in the text.
  if (const size_t tab = view.Caption.find(L'\t'); tab != std::wstring::npos) {
    view.ShortCut = view.Caption.substr(tab + 1);
    view.Caption.resize(tab);
  }
  return view;
}

bool FindItemText(HMENU menu, UINT command, std::wstring& text)
{
  if (!menu)
    return false;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    wchar_t buffer[kMaxItemText + 1] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
    info.dwTypeData = buffer;
    info.cch = UINT(kMaxItemText);
    if (!GetMenuItemInfoW(menu, UINT(i), TRUE, &info))
      continue;
    if (info.wID == command) {
      text = buffer;
      return true;
    }
    if (info.hSubMenu && FindItemText(info.hSubMenu, command, text))
      return true;
  }
  return false;
}

// ----- Sizes ------------------------------------------------------------------------

void MeasureFrameworkItem(const TSkinData& data, const framework::TMenuItem& item, bool hasImages, UINT& width,
                          UINT& height)
{
  framework::TCanvas canvas;
  canvas.Font = framework::Screen->MenuFont()->Value();
  int w = 0, h = 0;
  item.DefaultMeasureItem(canvas, w, h);
  w += ElementLeft(data) + (hasImages ? 0 : 25) + 10;
  width = UINT(std::max(0, w));
  height = UINT(std::max(0, h));
}

void MeasureSystemItem(const TSkinData& data, const std::wstring& text, UINT& width, UINT& height)
{
  if (text.empty()) {
    height = kMenuSeparatorHeight;
    return;
  }
  framework::TWindowDC screen(nullptr);
  framework::TSelectObject font(screen.Get(), MenuFontObject());
  const SIZE size = TextSize(screen.Get(), text);
  width = UINT(size.cx + 26 + (data.MenuItem ? data.MenuItem->LeftWidth : 0));
  height = UINT(size.cy + 4);
}

void MeasureSystemMenuItem(const TSkinData& data, const std::wstring& text, UINT& width, UINT& height)
{
  framework::TMenuItem item(nullptr);
  item.SetCaption(text.empty() ? std::string("-") : framework::WideToUtf8(text));
  framework::TCanvas canvas;
  canvas.Font = framework::Screen->MenuFont()->Value();
  int w = 0, h = 0;
  item.DefaultMeasureItem(canvas, w, h);
  w += PopupItemExtraWidth(data, false);
  width = UINT(std::max(0, w));
  height = UINT(std::max(0, h));
}

int32_t PopupItemExtraWidth(const TSkinData& data, bool hasImages) { return ElementLeft(data) + (hasImages ? 0 : 23) + 12; }

// ----- Drawing ----------------------------------------------------------------------

void PaintMenuItem(HDC dc, const RECT& rect, const TMenuItemView& item, TMenuItemKind kind, const TSkinData& data,
                   const TMenuBackground& background, bool rightToLeft)
{
  const int32_t width = rect.right - rect.left;
  const int32_t height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0)
    return;
  const TDataSkinObject* element = ItemElement(data);
  if (!element) {
    framework::TGdiBrush brush(CreateSolidBrush(Colour(data, item.Selected ? scHilight : scMenu)));
    FillRect(dc, &rect, brush.Get());
    DrawContent(dc, rect, item, data, rightToLeft);
    return;
  }
  framework::TBitmap work;
  work.SetPixelFormat(framework::pf24bit);
  work.SetSize(width, height);
  if (!work.NativeHandle())
    return;
  gfx::win32::TBitmapDC target(work.NativeHandle());
  FillBackground(target.Get(), width, height, rect, data, background);
  if (item.IsLine() && kind == mkFramework) {
    BitBlt(dc, rect.left, rect.top, width, height, target.Get(), 0, 0, SRCCOPY);
    DrawSeparator(dc, rect, *element);
    return;
  }
  win32::ElementDraw(target.Get(), {0, 0, width, height}, element->Image, false, element->Tile == 1,
                     element->Trans == 1, kMenuItemFrames, item.Selected ? 4 : 1, element->Margins());
  DrawContent(target.Get(), {0, 0, width, height}, item, data, rightToLeft);
  BitBlt(dc, rect.left, rect.top, width, height, target.Get(), 0, 0, SRCCOPY);
}

} // namespace skin
