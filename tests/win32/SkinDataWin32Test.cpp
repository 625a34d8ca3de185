// The platform parts of the skin data component: caption font, application
// icon bitmap, menu glyph list, the caption-button hint window, and element
// draws straight onto device contexts agreeing with the portable ones.
#include "skin/win32/SkinDataWin32.h"

#include "gfx/win32/GdiInterop.h"
#include "skin/controls/ElementDraw.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using skin::TSkinData;
using skin::win32::PlatformOf;

class SkinDataWin32 : public ::testing::Test {
protected:
  static void SetUpTestSuite() { skin::win32::InstallSkinPlatform(); }
};

TEST_F(SkinDataWin32, EveryComponentGetsItsPlatformPartsAndGlyphList)
{
  TSkinData d(nullptr);
  auto* parts = PlatformOf(d);
  ASSERT_NE(parts, nullptr);
  ASSERT_NE(parts->MenuGlyphs(), nullptr);
  EXPECT_EQ(ImageList_GetImageCount(parts->MenuGlyphs()), 4);
  int cx = 0, cy = 0;
  ImageList_GetIconSize(parts->MenuGlyphs(), &cx, &cy);
  EXPECT_EQ(cx, 16);
  EXPECT_EQ(cy, 16);
  EXPECT_EQ(d.MaximizedSize().X, GetSystemMetrics(SM_CXMAXIMIZED));
  EXPECT_EQ(skin::SkinSystemMetrics().HScrollArrowWidth, GetSystemMetrics(SM_CXHSCROLL));
}

TEST_F(SkinDataWin32, CaptionFontFollowsTheNonClientMetrics)
{
  TSkinData d(nullptr);
  EXPECT_EQ(PlatformOf(d)->CaptionFont(), nullptr);
  d.Loaded();
  HFONT font = PlatformOf(d)->CaptionFont();
  ASSERT_NE(font, nullptr);
  LOGFONTW made{};
  ASSERT_NE(GetObjectW(font, sizeof made, &made), 0);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
  EXPECT_STREQ(made.lfFaceName, metrics.lfCaptionFont.lfFaceName);
  EXPECT_EQ(made.lfHeight, metrics.lfCaptionFont.lfHeight);
  // Loaded remakes it.
  d.Loaded();
  EXPECT_NE(PlatformOf(d)->CaptionFont(), nullptr);
}

// A 16 x 16 icon: red, with its left half transparent.
HICON MakeHalfRedIcon()
{
  const int size = 16;
  std::vector<uint8_t> maskBits(size_t(2 * size), 0);
  for (int y = 0; y < size; ++y)
    maskBits[size_t(y * 2)] = 0xFF; // left 8 columns: transparent
  HBITMAP mask = CreateBitmap(size, size, 1, 1, maskBits.data());
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), size, size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP colour = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  auto* pixels = static_cast<uint32_t*>(bits);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      pixels[y * size + x] = x < 8 ? 0 : 0x00FF0000;
  ICONINFO info{TRUE, 0, 0, mask, colour};
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(mask);
  DeleteObject(colour);
  return icon;
}

TEST_F(SkinDataWin32, ApplicationIconBitmapOnMagenta)
{
  HWND window = CreateWindowExW(0, L"STATIC", L"app", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  HICON icon = MakeHalfRedIcon();
  ASSERT_NE(icon, nullptr);
  SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  skin::win32::SetApplicationWindow(window);

  TSkinData d(nullptr);
  d.Loaded(); // the main-form component makes the icon bitmap at the end
  const framework::TBitmap& b = PlatformOf(d)->ApplicationIcon();
  ASSERT_EQ(b.Width(), GetSystemMetrics(SM_CXSMICON));
  ASSERT_EQ(b.Height(), GetSystemMetrics(SM_CYSMICON));
  if (b.Width() == 16 && b.Height() == 16) {
    EXPECT_EQ(b.ScanLine(4)[2] & 0xFFFFFF, 0xFF00FFu);  // transparent half: the key colour
    EXPECT_EQ(b.ScanLine(4)[12] & 0xFFFFFF, 0xFF0000u); // red half (0x00RRGGBB)
  }

  skin::win32::SetApplicationWindow(nullptr);
  DestroyWindow(window);
  DestroyIcon(icon);
}

TEST_F(SkinDataWin32, HintWindowShowsTextOnceAndHides)
{
  TSkinData d(nullptr);
  auto* parts = PlatformOf(d);
  ASSERT_NE(parts, nullptr);
  EXPECT_EQ(parts->HintWindow(), nullptr) << "no window until a hint shows";
  d.HideHint();

  d.ShowHint({120, 80}, "Close the window");
  HWND hint = parts->HintWindow();
  ASSERT_NE(hint, nullptr);
  EXPECT_TRUE(parts->HintShowing());
  EXPECT_TRUE(IsWindowVisible(hint));
  EXPECT_EQ(parts->HintText(), L"Close the window");
  RECT r{};
  GetWindowRect(hint, &r);
  EXPECT_EQ(r.left, 120);
  EXPECT_EQ(r.top, 80);
  // Wide enough for the text in the hint font, and never wider than 500 + frame.
  HDC dc = GetDC(hint);
  SIZE extent{};
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  HFONT font = CreateFontIndirectW(&metrics.lfStatusFont);
  HGDIOBJ old = SelectObject(dc, font);
  GetTextExtentPoint32W(dc, L"Close the window", 16, &extent);
  SelectObject(dc, old);
  DeleteObject(font);
  ReleaseDC(hint, dc);
  EXPECT_GE(r.right - r.left, extent.cx);
  EXPECT_LE(r.right - r.left, 510);

  // A second hint while one shows is ignored.
  d.ShowHint({10, 10}, "Other");
  EXPECT_EQ(parts->HintText(), L"Close the window");
  d.HideHint();
  EXPECT_FALSE(parts->HintShowing());
  EXPECT_FALSE(IsWindowVisible(hint));
  d.ShowHint({30, 30}, "Again");
  EXPECT_EQ(parts->HintWindow(), hint) << "the window is made once";
  d.HideHint();

  // Without the hint option nothing shows.
  d.SetOptions(d.Options() & ~skin::Bit(skin::xoCaptionButtonHint));
  d.ShowHint({10, 10}, "Minimise");
  EXPECT_FALSE(parts->HintShowing());
  EXPECT_FALSE(IsWindowVisible(hint));
}

TEST_F(SkinDataWin32, ElementDrawOnADeviceContextMatchesThePortableDraw)
{
  framework::TBitmap strip(30, 10); // three frames of 10 x 10
  for (int32_t y = 0; y < 10; ++y)
    for (int32_t x = 0; x < 30; ++x)
      strip.ScanLine(y)[x] = (x * 7 + y * 13) % 5 == 0 ? 0xFF00FF : gfx::TPixel(0x010203 * (x + 2 * y + 1));
  const skin::TElementMargins margins{3, 2, 3, 2};

  framework::TBitmap portable(40, 30);
  framework::TBitmap platform(40, 30);
  for (auto* b : {&portable, &platform})
    b->Context().FillRect(b->Pixmap().Bounds(), 0x336699);
  skin::ElementDraw(portable.Context(), {5, 4, 35, 26}, strip, false, true, true, 3, 2, margins);
  {
    gfx::win32::TBitmapDC dc(platform.NativeHandle());
    skin::win32::ElementDraw(dc.Get(), {5, 4, 35, 26}, strip, false, true, true, 3, 2, margins);
  }
  GdiFlush();
  int32_t differences = 0;
  for (int32_t y = 0; y < 30; ++y)
    for (int32_t x = 0; x < 40; ++x)
      differences += (portable.ScanLine(y)[x] & 0xFFFFFF) != (platform.ScanLine(y)[x] & 0xFFFFFF);
  EXPECT_EQ(differences, 0);
  // The magenta holes show the background.
  EXPECT_EQ(platform.ScanLine(4)[5] & 0xFFFFFF, 0x336699u);
}

} // namespace
