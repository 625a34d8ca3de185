#include "skin/win32/SkinDataWin32.h"

#include "gfx/win32/GdiInterop.h"
#include "skin/BuiltinBitmaps.h"
#include "skin/SkinMessages.h"

#include <vector>

namespace skin::win32 {

namespace {

HWND& ApplicationWindow()
{
  static HWND window = nullptr;
  return window;
}

std::wstring Widen(const std::string& text)
{
  if (text.empty())
    return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
  std::wstring wide(size_t(n > 0 ? n : 0), L'\0');
  if (n > 0)
    MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), wide.data(), n);
  return wide;
}

std::unique_ptr<TSkinDataPlatform> MakePlatform(TSkinData& owner) { return std::make_unique<TSkinDataWin32>(owner); }

TSkinSystemMetrics PlatformMetrics()
{
  TSkinSystemMetrics m;
  m.HScrollArrowWidth = GetSystemMetrics(SM_CXHSCROLL);
  m.MaximizedSize = {GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  m.HasGetScrollBarInfo = user32 && GetProcAddress(user32, "GetScrollBarInfo") != nullptr;
  return m;
}

void ShowMessageBox(const std::string& text)
{
  MessageBoxW(nullptr, Widen(text).c_str(), L"", MB_OK);
}

constexpr wchar_t kHintClass[] = L"SkinCaptionButtonHint";
constexpr int kHintPadding = 3;

void RegisterHintClass(WNDPROC procedure)
{
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_SAVEBITS;
  wc.lpfnWndProc = procedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
  wc.hbrBackground = nullptr;
  wc.lpszClassName = kHintClass;
  framework::RegisterWindowClass(wc);
}

// A monochrome bitmap that is 1 where bitmap has the key colour and where the
// rectangle reaches past the bitmap (those pixels keep the destination).
framework::TGdiBitmap MakeMask(const framework::TBitmap& bitmap, int32_t width, int32_t height, gfx::TColor key)
{
  const size_t stride = size_t((width + 15) / 16) * 2;
  std::vector<uint8_t> bits(stride * size_t(height), 0);
  const gfx::TPixel keyPixel = gfx::ColorToPixel(gfx::ColorToRGB(key)) & 0xFFFFFF;
  for (int32_t y = 0; y < height; ++y) {
    const gfx::TPixel* row = y < bitmap.Height() ? bitmap.ScanLine(y) : nullptr;
    for (int32_t x = 0; x < width; ++x) {
      const bool keep = !row || x >= bitmap.Width() || (row[x] & 0xFFFFFF) == keyPixel;
      if (keep)
        bits[stride * size_t(y) + size_t(x / 8)] |= uint8_t(0x80 >> (x % 8));
    }
  }
  return framework::TGdiBitmap(CreateBitmap(width, height, 1, 1, bits.data()));
}

} // namespace

void InstallSkinPlatform()
{
  SetSkinDataPlatformFactory(&MakePlatform);
  SetSkinSystemMetricsSource(&PlatformMetrics);
  SetSkinMessageHook(&ShowMessageBox);
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
}

void SetApplicationWindow(HWND window) { ApplicationWindow() = window; }

TSkinDataWin32* PlatformOf(const TSkinData& data) { return dynamic_cast<TSkinDataWin32*>(data.Platform()); }

// ----- TSkinDataWin32 --------------------------------------------------------

TSkinDataWin32::TSkinDataWin32(TSkinData& owner) : owner_(owner)
{
  framework::TBitmap glyphs;
  MakeMenuGlyphs(glyphs);
  glyphs_ = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 4, 0);
  if (glyphs_ && glyphs.NativeHandle()) {
    // The list copies the bitmap; white is the mask colour.
    ImageList_AddMasked(glyphs_, static_cast<HBITMAP>(glyphs.NativeHandle()), RGB(255, 255, 255));
  }

  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
    hintFont_.Reset(CreateFontIndirectW(&metrics.lfStatusFont));
}

TSkinDataWin32::~TSkinDataWin32()
{
  if (hint_)
    DestroyWindow(hint_);
  if (glyphs_)
    ImageList_Destroy(glyphs_);
}

void TSkinDataWin32::RemakeCaptionFont()
{
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
    return;
  HFONT font = CreateFontIndirectW(&metrics.lfCaptionFont);
  if (!font)
    return;
  captionFont_.Reset(font);
}

void TSkinDataWin32::MakeApplicationIcon() { DrawSmallIconOnKey(appIcon_, WindowSmallIcon(ApplicationWindow())); }

HICON WindowSmallIcon(HWND window)
{
  HICON icon = nullptr;
  if (window) {
    icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_SMALL, 0));
    if (!icon)
      icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_BIG, 0));
    if (!icon)
      icon = reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICONSM));
    if (!icon)
      icon = reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICON));
  }
  return icon ? icon : LoadIconW(nullptr, MAKEINTRESOURCEW(32512)); // IDI_APPLICATION
}

void DrawSmallIconOnKey(framework::TBitmap& bitmap, HICON icon)
{
  const int cx = GetSystemMetrics(SM_CXSMICON);
  const int cy = GetSystemMetrics(SM_CYSMICON);
  bitmap.SetSize(0, 0);
  bitmap.SetSize(cx, cy);
  bitmap.SetPixelFormat(framework::pf24bit);
  bitmap.Context().FillRect(bitmap.Pixmap().Bounds(), gfx::ColorToPixel(0xFF00FF));
  if (icon && bitmap.NativeHandle()) {
    gfx::win32::TBitmapDC dc(bitmap.NativeHandle());
    DrawIconEx(dc.Get(), 0, 0, icon, cx, cy, 0, nullptr, DI_NORMAL);
    GdiFlush();
  }
  bitmap.Changed();
}

// The hint window is made when the first hint shows: a top-level window
// costs some 20 ms to make under Wine, and many programs never show a hint.
bool TSkinDataWin32::HintWindowNeeded()
{
  if (hint_)
    return true;
  RegisterHintClass(&HintProc);
  // The window finds this object from its creation parameter on.
  hint_ = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kHintClass, L"", WS_POPUP | WS_BORDER, 0, 0, 0, 0,
                          nullptr, nullptr, GetModuleHandleW(nullptr), this);
  return hint_ != nullptr;
}

void TSkinDataWin32::ShowHint(gfx::TPoint position, const std::string& text)
{
  if (hintShowing_ || !HintWindowNeeded())
    return;
  hintText_ = Widen(text);
  RECT r{0, 0, 500, 0};
  {
    framework::TWindowDC dc(hint_);
    framework::TSelectObject font(dc.Get(), hintFont_ ? hintFont_.Get() : GetStockObject(DEFAULT_GUI_FONT));
    DrawTextW(dc.Get(), hintText_.c_str(), int(hintText_.size()), &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  }
  const int width = int(r.right - r.left) + 2 * kHintPadding + 2;
  const int height = int(r.bottom - r.top) + 2 * kHintPadding + 2;
  SetWindowPos(hint_, HWND_TOPMOST, position.X, position.Y, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(hint_, nullptr, TRUE);
  hintShowing_ = true;
}

void TSkinDataWin32::HideHint()
{
  if (!hint_ || !hintShowing_)
    return;
  ShowWindow(hint_, SW_HIDE);
  hintShowing_ = false;
}

LRESULT CALLBACK TSkinDataWin32::HintProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
  if (msg == WM_NCCREATE)
    SetWindowLongPtrW(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  auto* self = reinterpret_cast<TSkinDataWin32*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (msg) {
  case WM_ERASEBKGND:
    return 1;
  case WM_NCHITTEST:
    return HTTRANSPARENT;
  case WM_PAINT: {
    framework::TPaintScope paint(window);
    HDC dc = paint.DC();
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_INFOBK));
    if (self) {
      framework::TSelectObject font(dc, self->hintFont_ ? self->hintFont_.Get()
                                                         : GetStockObject(DEFAULT_GUI_FONT));
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
      RECT text = client;
      InflateRect(&text, -kHintPadding, -kHintPadding);
      DrawTextW(dc, self->hintText_.c_str(), int(self->hintText_.size()), &text, DT_WORDBREAK | DT_NOPREFIX);
    }
    return 0;
  }
  default:
    return DefWindowProcW(window, msg, wParam, lParam);
  }
}

// ----- Drawing on device contexts -----------------------------------------------

void TransparentBlit(HDC dc, const gfx::TRect& rect, const framework::TBitmap& bitmap, gfx::TColor keyColor)
{
  const int32_t w = rect.Width();
  const int32_t h = rect.Height();
  if (w <= 0 || h <= 0 || !bitmap.NativeHandle())
    return;
  const framework::TGdiBitmap mask = MakeMask(bitmap, w, h, keyColor);
  if (!mask)
    return;
  gfx::win32::TBitmapDC source(bitmap.NativeHandle());
  MaskBlt(dc, rect.Left, rect.Top, w, h, source.Get(), 0, 0, mask.Get(), 0, 0, MAKEROP4(0x00AA0029, SRCCOPY));
}

void ElementDraw(HDC dc, const gfx::TRect& rect, const framework::TBitmap& image, bool stacked, bool tile,
                 bool transparent, int32_t n, int32_t k, const TElementMargins& margins)
{
  if (rect.Right < rect.Left || rect.Bottom < rect.Top)
    return;
  const auto composed = skin::ElementImage(rect.Width(), rect.Height(), image, margins, stacked, tile, n, k);
  if (!composed->NativeHandle())
    return;
  if (transparent) {
    TransparentBlit(dc, rect, *composed, 0xFF00FF);
    return;
  }
  gfx::win32::TBitmapDC source(composed->NativeHandle());
  BitBlt(dc, rect.Left, rect.Top, rect.Width(), rect.Height(), source.Get(), 0, 0, SRCCOPY);
}

} // namespace skin::win32
