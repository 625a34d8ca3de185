#include "skin/controls/WinSkinPopMenu.h"

#include "framework/win32/Handles.h"
#include "gfx/win32/GdiInterop.h"
#include "skin/SkinData.h"
#include "skin/controls/ElementDraw.h"
#include "skin/frame/WinSkinForm.h"
#include "skin/win32/SkinManage.h"

namespace skin {

namespace {

// The width of the frame around a menu's items.
constexpr int32_t kBand = 3;

gfx::TPoint WindowSizeOf(HWND window)
{
  RECT r{};
  GetWindowRect(window, &r);
  return {r.right - r.left, r.bottom - r.top};
}

void CopyBands(HDC dc, HDC image, gfx::TPoint size)
{
  BitBlt(dc, 0, 0, size.X, kBand, image, 0, 0, SRCCOPY);
  BitBlt(dc, 0, size.Y - kBand, size.X, kBand, image, 0, size.Y - kBand, SRCCOPY);
  BitBlt(dc, 0, 0, kBand, size.Y, image, 0, 0, SRCCOPY);
  BitBlt(dc, size.X - kBand, 0, kBand, size.Y, image, size.X - kBand, 0, SRCCOPY);
}

} // namespace

TWinSkinPopMenu::TWinSkinPopMenu(TSkinData& data, HWND window, TPopupKind kind, bool menuBarPopup)
  : data_(data), window_(window), kind_(kind), menuBarPopup_(menuBarPopup)
{
  Install(window_);
}

TWinSkinPopMenu::~TWinSkinPopMenu() { Remove(); }

bool TWinSkinPopMenu::CanPaint() const
{
  return !data_.NotLoaded() && data_.MenuBackground && !data_.MenuBackground->Image.Empty();
}

const framework::TBitmap& TWinSkinPopMenu::FrameImage()
{
  const gfx::TPoint size = WindowSizeOf(window_);
  if (CanPaint() && size.X > 0 && size.Y > 0 && (frame_.Width() != size.X || frame_.Height() != size.Y)) {
    const TDataSkinObject& element = *data_.MenuBackground;
    const auto image =
      ElementImage(size.X, size.Y, element.Image, element.Margins(), false, element.Tile == 1, 1, 1);
    frame_.Assign(*image);
  }
  return frame_;
}

gfx::TPoint TWinSkinPopMenu::ClientOffset() const
{
  RECT window{};
  GetWindowRect(window_, &window);
  POINT client{0, 0};
  ClientToScreen(window_, &client);
  return {client.x - window.left, client.y - window.top};
}

// The bands first, so the frame stands at once; then the whole image, which
// the menu's own painting of its items covers.
void TWinSkinPopMenu::PaintFrame(HDC dc, bool bandsOnly)
{
  const framework::TBitmap& image = FrameImage();
  if (image.Empty() || !image.NativeHandle())
    return;
  gfx::win32::TBitmapDC source(image.NativeHandle());
  const gfx::TPoint size{image.Width(), image.Height()};
  CopyBands(dc, source.Get(), size);
  if (!bandsOnly)
    BitBlt(dc, 0, 0, size.X, size.Y, source.Get(), 0, 0, SRCCOPY);
}

LRESULT TWinSkinPopMenu::Print(WPARAM wParam, LPARAM lParam)
{
  HDC dc = reinterpret_cast<HDC>(wParam);
  PaintFrame(dc, false);
  const gfx::TPoint size = WindowSizeOf(window_);
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, kBand, kBand, size.X - kBand, size.Y - kBand);
  SetBkMode(dc, TRANSPARENT);
  const LRESULT result = CallPrevious(WM_PRINT, wParam, lParam);
  RestoreDC(dc, saved);
  return result;
}

LRESULT TWinSkinPopMenu::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
  if (message == WM_SKIN_QUERY)
    return 1;
  const TSkinManage* manager = SkinManager();
  if (!manager || !manager->SkinningOn() || !CanPaint())
    return CallPrevious(message, wParam, lParam);
  switch (message) {
  case WM_DESTROY:
    frame_.SetSize(0, 0);
    return CallPrevious(message, wParam, lParam);
  case WM_ERASEBKGND:
    if (!(data_.Options() & Bit(xoMenuBG)))
      CallPrevious(message, wParam, lParam);
    return 1;
  case WM_NCPAINT: {
    // The system's menus differ in their frames: some have a border of their
    // own, some none and an update region instead of the whole window.
    framework::TWindowDC dc = framework::TWindowDC::WholeWindow(window_);
    if (dc.Get())
      PaintFrame(dc.Get(), false);
    return 0;
  }
  case WM_PAINT: {
    // The menu's own painting may reach over the frame's bands (a menu
    // window without a border draws its edge inside): they go back on top.
    const LRESULT result = CallPrevious(message, wParam, lParam);
    framework::TWindowDC dc = framework::TWindowDC::WholeWindow(window_);
    if (dc.Get())
      PaintFrame(dc.Get(), true);
    return result;
  }
  case WM_PRINT: return Print(wParam, lParam);
  default: return CallPrevious(message, wParam, lParam);
  }
}

} // namespace skin
