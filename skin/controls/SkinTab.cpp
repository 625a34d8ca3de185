#include "skin/controls/SkinTab.h"

#include "framework/win32/ComCtrls.h"
#include "gfx/win32/GdiInterop.h"
#include "skin/BitmapUtils.h"
#include "skin/SkinData.h"
#include "skin/controls/LabelDrawing.h"
#include "skin/controls/SkinUpDown.h"
#include "skin/frame/WinSkinForm.h"
#include "skin/win32/SkinDataWin32.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

namespace skin {

namespace {

// The page frame's margins when the frame comes from the tabs' own second image.
constexpr TElementMargins kBorderMargins{4, 5, 4, 4};

std::vector<TTabItem> ReadTabs(HWND window, bool unicode)
{
  std::vector<TTabItem> tabs;
  const auto count = int(SendMessageW(window, TCM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    RECT r{};
    if (!SendMessageW(window, TCM_GETITEMRECT, WPARAM(i), reinterpret_cast<LPARAM>(&r)))
      continue;
    TTabItem tab;
    tab.Rect = gfx::TRect(r.left, r.top, r.right, r.bottom);
    if (unicode) {
      wchar_t text[81] = {};
      TCITEMW item{};
      item.mask = TCIF_TEXT | TCIF_IMAGE;
      item.pszText = text;
      item.cchTextMax = 80;
      SendMessageW(window, TCM_GETITEMW, WPARAM(i), reinterpret_cast<LPARAM>(&item));
      tab.Text = text;
      tab.Image = item.iImage;
    } else {
      char text[81] = {};
      TCITEMA item{};
      item.mask = TCIF_TEXT | TCIF_IMAGE;
      item.pszText = text;
      item.cchTextMax = 80;
      SendMessageA(window, TCM_GETITEMA, WPARAM(i), reinterpret_cast<LPARAM>(&item));
      wchar_t wide[81] = {};
      MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 81);
      tab.Text = wide;
      tab.Image = item.iImage;
    }
    tabs.push_back(std::move(tab));
  }
  return tabs;
}

HIMAGELIST TabImages(HWND window)
{
  return reinterpret_cast<HIMAGELIST>(SendMessageW(window, TCM_GETIMAGELIST, 0, 0));
}

// The display area the window reports for its whole rectangle.
gfx::TRect DisplayArea(HWND window, const gfx::TRect& rect)
{
  RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
  SendMessageW(window, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  return gfx::TRect(r.left, r.top, r.right, r.bottom);
}

HFONT WindowFont(HWND window) { return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)); }

// The tab scroller the window shows when its tabs overflow, if visible.
HWND VisibleScroller(HWND window)
{
  const HWND scroller = FindWindowExW(window, nullptr, UPDOWN_CLASSW, nullptr);
  return scroller && IsWindowVisible(scroller) ? scroller : nullptr;
}

void DrawCloseBox(HDC dc, const gfx::TRect& box)
{
  const framework::TGdiPen pen(CreatePen(PS_SOLID, 1, ColourRef(gfx::clBtnText)));
  const framework::TSelectObject selected(dc, pen.Get());
  const framework::TSelectObject hollow(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, box.Left, box.Top, box.Right, box.Bottom);
  MoveToEx(dc, box.Left, box.Top, nullptr);
  LineTo(dc, box.Right, box.Bottom);
  MoveToEx(dc, box.Right - 1, box.Top, nullptr);
  LineTo(dc, box.Left - 1, box.Bottom);
}

} // namespace

// ----- Tabs ---------------------------------------------------------------------------

void TSkinTab::AttachControl(TWinSkinForm& form, TSkinData& data, framework::TWinControl& control, bool recolour)
{
  TSkinControl::AttachControl(form, data, control, recolour);
  ReadWindowState();
  auto* pages = dynamic_cast<framework::TPageControl*>(&control);
  closeBox_ = control.Tag() == kCloseBoxTag && pages && pages->TabPosition() == framework::tpTop;
  PreparePictures();
}

void TSkinTab::AttachWindow(TWinSkinForm& form, TSkinData& data, HWND window)
{
  TSkinControl::AttachWindow(form, data, window);
  ReadWindowState();
  PreparePictures();
}

void TSkinTab::SkinChanged()
{
  PreparePictures();
  TSkinControl::SkinChanged();
}

void TSkinTab::SkinScroller()
{
  const HWND scroller = FindWindowExW(Window(), nullptr, UPDOWN_CLASSW, nullptr);
  if (!scroller || !Form() || Form()->HasCompanionFor(scroller))
    return;
  auto companion = std::make_unique<TSkinUpDown>();
  companion->AttachWindow(*Form(), Data(), scroller);
  Form()->RegisterCompanion(std::move(companion));
}

void TSkinTab::PreparePictures()
{
  SkinScroller();
  side_ = TabSideOfStyle(uint32_t(GetWindowLongPtrW(Window(), GWL_STYLE)));
  tabPicture_.Assign(nullptr);
  pagePicture_.Assign(nullptr);
  const TDataSkinBorder* tabs = Data().Tabs.get();
  if (!tabs)
    return;
  tabPicture_.Assign(tabs->Image);
  if (tabs->Style == 0)
    pagePicture_.Assign(tabs->Image2);
  else if (Data().TabPane)
    pagePicture_.Assign(Data().TabPane->Image);
  if (side_ == tsideBottom) {
    if (!tabPicture_.Empty())
      Flip(tabPicture_);
    if (!pagePicture_.Empty())
      Flip(pagePicture_);
  } else if (!pagePicture_.Empty() && side_ == tsideLeft) {
    RotateLeft(pagePicture_);
  } else if (!pagePicture_.Empty() && side_ == tsideRight) {
    RotateRight(pagePicture_);
  }
}

bool TSkinTab::BeforeMessage(framework::TMessage& message)
{
  switch (message.Msg) {
  case WM_PAINT:
    PaintHandler(message);
    return false;
  case WM_LBUTTONDOWN:
    if (closeBox_ && CloseBoxPressed({GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)})) {
      message.Result = 0;
      return false;
    }
    return TSkinControl::BeforeMessage(message);
  default:
    return TSkinControl::BeforeMessage(message);
  }
}

bool TSkinTab::CloseBoxPressed(POINT at)
{
  for (size_t i = 0; i < closeBoxes_.size(); ++i) {
    if (!closeBoxes_[i].Contains({at.x, at.y}))
      continue;
    const LRESULT answer = SendMessageW(Form()->Window(), WM_SKIN_CLOSE_TAB, reinterpret_cast<WPARAM>(Window()),
                                        LPARAM(i));
    auto* pages = dynamic_cast<framework::TPageControl*>(Control());
    if (answer == 0 && pages) {
      // Tabs stand for the sheets whose tab is shown, in order.
      int tab = int(i);
      for (int p = 0; p < pages->PageCount(); ++p)
        if (pages->Pages(p)->TabVisible() && tab-- == 0) {
          delete pages->Pages(p);
          break;
        }
    }
    return true;
  }
  return false;
}

void TSkinTab::DrawStrip(HDC work, const std::vector<TTabItem>& tabs, const gfx::TRect& strip,
                         const gfx::TRect& page, int32_t windowRight)
{
  const TDataSkinBorder& element = *Data().Tabs;
  const auto focused = int(SendMessageW(Window(), TCM_GETCURFOCUS, 0, 0));
  const int32_t stripLength = strip.Height();
  const HIMAGELIST images = TabImages(Window());
  closeBoxes_.assign(tabs.size(), gfx::TRect());
  const framework::TGdiFont font = PlainFontOf(WindowFont(Window()));
  const framework::TSelectObject selected(work, font.Get());
  for (size_t i = 0; i < tabs.size(); ++i) {
    const gfx::TRect rect = TabInWork(tabs[i].Rect, side_, stripLength, windowRight, page.Bottom);
    const int32_t look = int(i) == focused ? 2 : 1;
    win32::ElementDraw(work, rect, tabPicture_, false, element.Tile == 1, element.Trans == 1, element.FrameCount(),
                       look, element.Margins());
    if (closeBox_) {
      closeBoxes_[i] = TabCloseBox(rect);
      DrawCloseBox(work, closeBoxes_[i]);
    }
    TTabLabel label;
    label.Text = tabs[i].Text;
    label.ImageIndex = tabs[i].Image;
    label.Images = images;
    label.Colour = look == 1 ? element.NormalColour2 : element.MouseOverColour2;
    label.Disabled = !enabledLook_;
    label.RightToLeft = RightToLeft();
    DrawTabLabel(work, rect, label);
  }
}

void TSkinTab::DrawSkin(HDC dc, const gfx::TRect& rect)
{
  if (tabPicture_.Empty())
    return;
  const gfx::TRect page = TabPageRect(DisplayArea(Window(), rect), side_);
  const gfx::TRect strip = TabStripRect(rect, page, side_);
  const gfx::TPoint size = TabWorkSize(strip, side_);
  const std::vector<TTabItem> tabs = ReadTabs(Window(), unicode_);
  SkinScroller();
  const win32::TSavedDC saved(dc);
  if (const HWND scroller = VisibleScroller(Window())) {
    // The scroller keeps its own painting.
    RECT r{};
    GetWindowRect(scroller, &r);
    MapWindowPoints(nullptr, Window(), reinterpret_cast<POINT*>(&r), 2);
    ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
  }
  DrawThroughFace(
    dc, rect,
    [&](HDC face) {
      FillParentColour(face, rect);
      if (size.X > 0 && size.Y > 0) {
        work_.SetSize(size.X, size.Y);
        {
          gfx::win32::TBitmapDC work(work_.NativeHandle());
          FillParentColour(work.Get(), gfx::TRect(0, 0, size.X, size.Y));
          DrawStrip(work.Get(), tabs, strip, page, rect.Right);
          GdiFlush();
        }
        if (side_ == tsideRight)
          RotateRight(work_);
        else if (side_ == tsideLeft)
          RotateLeft(work_);
        gfx::win32::TBitmapDC work(work_.NativeHandle());
        BitBlt(face, strip.Left, strip.Top, strip.Width(), strip.Height(), work.Get(), 0, 0, SRCCOPY);
      }
      if (!pagePicture_.Empty()) {
        const TDataSkinObject* pane = Data().TabPane.get();
        const bool paneFrame = Data().Tabs->Style == 1 && pane;
        win32::ElementDraw(face, page, pagePicture_, false, false, false, 1, 1,
                           paneFrame ? pane->Margins() : kBorderMargins);
      }
    },
    [&](framework::TBitmap& face) {
      if (windowlessChildren_ && Control())
        Control()->PaintControls(face.Canvas());
    });
}

// ----- Button tabs ----------------------------------------------------------------------

bool TSkinTabBtn::BeforeMessage(framework::TMessage& message)
{
  if (message.Msg == WM_PAINT) {
    PaintHandler(message);
    return false;
  }
  return TSkinControl::BeforeMessage(message);
}

void TSkinTabBtn::DrawSkin(HDC dc, const gfx::TRect& rect)
{
  const TDataSkinButton& buttons = *Data().Buttons;
  if (buttons.Image.Empty())
    return;
  const gfx::TRect display = DisplayArea(Window(), rect);
  const gfx::TRect strip(rect.Left, rect.Top, rect.Right, std::min(rect.Bottom, display.Top - 4 + 1));
  const std::vector<TTabItem> tabs = ReadTabs(Window(), unicode_);
  const auto focused = int(SendMessageW(Window(), TCM_GETCURFOCUS, 0, 0));
  DrawThroughFace(dc, strip, [&](HDC face) {
    FillSkinColour(face, strip);
    const framework::TGdiFont font = PlainFontOf(WindowFont(Window()));
    const framework::TSelectObject selected(face, font.Get());
    for (size_t i = 0; i < tabs.size(); ++i) {
      const gfx::TRect r(tabs[i].Rect.Left, tabs[i].Rect.Top + 1, tabs[i].Rect.Right, tabs[i].Rect.Bottom + 1);
      const bool focus = int(i) == focused;
      win32::ElementDraw(face, r, buttons.Image, false, buttons.Tile == 1, buttons.Trans == 1, buttons.FrameCount(),
                         focus ? 2 : 1, buttons.Margins());
      TTabLabel label;
      label.Text = tabs[i].Text;
      label.ImageIndex = tabs[i].Image;
      label.Images = TabImages(Window());
      label.Colour = gfx::clBlack;
      if (!focus && buttons.HasNormalColour2)
        label.Colour = buttons.NormalColour2;
      if (focus && buttons.HasPressedColour2)
        label.Colour = buttons.PressedColour2;
      label.Disabled = !enabledLook_;
      label.RightToLeft = RightToLeft();
      DrawTabLabel(face, r, label);
    }
  });
}

// ----- Pages ----------------------------------------------------------------------------

bool TSkinTabSheet::BeforeMessage(framework::TMessage& message)
{
  switch (message.Msg) {
  case WM_PAINT:
  case WM_PRINT:
    if (mode_ != 0)
      break;
    PaintHandler(message);
    return false;
  case WM_ERASEBKGND: {
    RECT client{};
    GetClientRect(Window(), &client);
    FillSkinColour(reinterpret_cast<HDC>(message.WParam), gfx::TRect(0, 0, client.right, client.bottom));
    message.Result = 1;
    return false;
  }
  default:
    break;
  }
  return TSkinControl::BeforeMessage(message);
}

void TSkinTabSheet::DrawSkin(HDC dc, const gfx::TRect& rect)
{
  DrawThroughFace(
    dc, rect, [&](HDC face) { FillSkinColour(face, rect); },
    [&](framework::TBitmap& face) {
      if (Control())
        Control()->PaintControls(face.Canvas());
    });
}

} // namespace skin
