// Proves that the Wine harness sees real windows: a window is created on the
// virtual display, painted by its own WM_PAINT, and its pixels read back.
#include <windows.h>

#include <gtest/gtest.h>

namespace {

constexpr COLORREF kPaintColour = RGB(200, 30, 90);

LRESULT CALLBACK PaintingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    HBRUSH brush = CreateSolidBrush(kPaintColour);
    FillRect(dc, &paint.rcPaint, brush);
    DeleteObject(brush);
    RECT cross{20, 0, 30, 200};
    FillRect(dc, &cross, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EndPaint(window, &paint);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void PumpMessages()
{
  MSG message;
  for (int round = 0; round < 20; ++round) {
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
      DispatchMessageW(&message);
    Sleep(10);
  }
}

} // namespace

TEST(WineHarness, ReadsBackThePixelsAWindowPainted)
{
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = PaintingWindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"HarnessTestWindow";
  ASSERT_NE(RegisterClassW(&windowClass), 0);
  HWND window = CreateWindowExW(WS_EX_TOPMOST, windowClass.lpszClassName, L"harness", WS_POPUP | WS_VISIBLE, 50, 50,
                                120, 80, nullptr, nullptr, windowClass.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  UpdateWindow(window);
  PumpMessages();

  HDC windowDC = GetDC(window);
  HDC memoryDC = CreateCompatibleDC(windowDC);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = 120;
  info.bmiHeader.biHeight = -80;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(memoryDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memoryDC, bitmap);
  BitBlt(memoryDC, 0, 0, 120, 80, windowDC, 0, 0, SRCCOPY);
  GdiFlush();
  const auto* pixels = static_cast<const uint32_t*>(bits);
  const uint32_t expected = (200u << 16) | (30u << 8) | 90u; // BGRX in memory, read as 0x00RRGGBB
  EXPECT_EQ(pixels[10 * 120 + 5] & 0xFFFFFFu, expected);
  EXPECT_EQ(pixels[70 * 120 + 100] & 0xFFFFFFu, expected);
  EXPECT_EQ(pixels[40 * 120 + 25] & 0xFFFFFFu, 0xFFFFFFu);
  SelectObject(memoryDC, old);
  DeleteObject(bitmap);
  DeleteDC(memoryDC);
  ReleaseDC(window, windowDC);
  DestroyWindow(window);
}
