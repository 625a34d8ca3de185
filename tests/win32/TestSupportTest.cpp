// The Win32 test support proves itself on real windows: a non-client area
// painted by the window's own WM_NCPAINT is read back through the window DC
// and through the screen, the probe skin's caption drawn there names its
// frame, and clicks and keys sent through SendInput arrive where and as
// they were aimed.
#include "skin/SkinData.h"
#include "skin/win32/SkinDataWin32.h"
#include "tests/win32/InputSupport.h"
#include "tests/win32/ProbeSkinSupport.h"
#include "tests/win32/ScreenProbe.h"
#include "tests/win32/TestWindow.h"

#include <gtest/gtest.h>

#include <vector>

using namespace testsupport;

namespace {

// What the painting window draws and what it was sent.
struct TWindowState {
  COLORREF Frame = RGB(30, 140, 70);
  COLORREF Caption = RGB(150, 60, 20);
  COLORREF Client = RGB(40, 90, 170);
  // When set, the caption band is the skin's top border in this frame
  // (from 1), drawn transparently over the frame colour.
  const skin::TSkinData* Skin = nullptr;
  int32_t SkinFrame = 1;

  int32_t NcPaints = 0;
  std::vector<UINT> NcClicks;       // hit-test codes of WM_NCLBUTTONDOWN
  std::vector<MSG> Keys;            // WM_KEYDOWN, WM_KEYUP, WM_CHAR
  std::vector<int32_t> Commands;    // control ids of BN_CLICKED
};

TWindowState* StateOf(HWND window)
{
  return reinterpret_cast<TWindowState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void FillWith(HDC dc, const RECT& r, COLORREF colour)
{
  const TGdiObject<HBRUSH> brush(CreateSolidBrush(colour));
  FillRect(dc, &r, brush.Handle());
}

// Paints the whole non-client area: the caption band (everything above the
// client area) in the caption colour or from the skin, the rest of the frame
// in the frame colour. The client area is clipped out.
void PaintFrame(HWND window, TWindowState& state)
{
  ++state.NcPaints;
  const TReleasedDC dc = TReleasedDC::OfWindow(window);
  const SIZE size = WindowSize(window);
  const RECT client = ClientRectInWindow(window);
  ExcludeClipRect(dc.Handle(), client.left, client.top, client.right, client.bottom);
  FillWith(dc.Handle(), {0, 0, size.cx, size.cy}, state.Frame);
  if (state.Skin) {
    const skin::TDataSkinObject& top = *state.Skin->BorderTop;
    skin::win32::ElementDraw(dc.Handle(), gfx::TRect(0, 0, size.cx, client.top), top.Image, true, top.Tile == 1,
                             true, top.FrameCount(), state.SkinFrame, top.Margins());
  } else {
    FillWith(dc.Handle(), {0, 0, size.cx, client.top}, state.Caption);
  }
}

LRESULT CALLBACK PaintingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  TWindowState* state = StateOf(window);
  if (!state)
    return DefWindowProcW(window, message, wParam, lParam);
  switch (message) {
  case WM_NCPAINT: PaintFrame(window, *state); return 0;
  // The default activation paint would draw the system's caption over ours.
  case WM_NCACTIVATE: PaintFrame(window, *state); return TRUE;
  case WM_PAINT: {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    FillWith(dc, paint.rcPaint, state->Client);
    EndPaint(window, &paint);
    return 0;
  }
  case WM_ERASEBKGND: return 1;
  // Recorded and not passed on: the default would start moving the window.
  case WM_NCLBUTTONDOWN: state->NcClicks.push_back(UINT(wParam)); return 0;
  case WM_KEYDOWN:
  case WM_KEYUP:
  case WM_CHAR: state->Keys.push_back(MSG{window, message, wParam, lParam, 0, {}}); return 0;
  case WM_COMMAND:
    if (HIWORD(wParam) == BN_CLICKED)
      state->Commands.push_back(LOWORD(wParam));
    return 0;
  default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

class TestSupport : public ::testing::Test {
protected:
  TestSupport() : class_(L"TestSupportWindow", PaintingWindowProc) {}

  // A framed window at a fixed place, in front and painted.
  TWindow Open(TWindowState& state, int32_t x = 200, int32_t y = 150)
  {
    TWindow w = MakeFramedWindow(class_, L"Test support", x, y, 360, 240, &state);
    EXPECT_TRUE(BringToFront(w.Handle()));
    RedrawWindow(w.Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    const RECT client = ClientRectInWindow(w.Handle());
    EXPECT_TRUE(WaitForWindowPixel(w.Handle(), {client.left + 1, client.top + 1}, RgbOf(state.Client)));
    return w;
  }

  TWindowClass class_;
  TCursorRestorer cursor_;
};

// Points inside each part of the window, in window coordinates.
struct TParts {
  POINT Caption, LeftBorder, BottomBorder, Client;
};

TParts PartsOf(HWND window)
{
  const RECT c = ClientRectInWindow(window);
  const SIZE size = WindowSize(window);
  return {{size.cx / 2, c.top / 2}, {c.left / 2, (c.top + c.bottom) / 2}, {size.cx / 2, (c.bottom + size.cy) / 2},
          {(c.left + c.right) / 2, (c.top + c.bottom) / 2}};
}

} // namespace

TEST_F(TestSupport, ReadsBackTheNonClientAreaAWindowPaintedItself)
{
  TWindowState state;
  const TWindow w = Open(state);
  EXPECT_GT(state.NcPaints, 0);
  const RECT client = ClientRectInWindow(w.Handle());
  ASSERT_GT(client.left, 0);
  ASSERT_GT(client.top, client.left);
  const TParts parts = PartsOf(w.Handle());

  const TCapture window = CaptureWindow(w.Handle());
  const SIZE size = WindowSize(w.Handle());
  EXPECT_EQ(window.Width(), size.cx);
  EXPECT_EQ(window.Height(), size.cy);
  // What the window DC holds and what the screen shows agree, part by part.
  const TCapture screen = CaptureScreenOf(w.Handle());
  for (const TCapture* c : {&window, &screen}) {
    EXPECT_EQ(c->At(parts.Caption.x, parts.Caption.y), 0x963C14u);
    EXPECT_EQ(c->At(parts.LeftBorder.x, parts.LeftBorder.y), 0x1E8C46u);
    EXPECT_EQ(c->At(parts.BottomBorder.x, parts.BottomBorder.y), 0x1E8C46u);
    EXPECT_EQ(c->At(parts.Client.x, parts.Client.y), 0x285AAAu);
    // The corners of the window rectangle belong to the frame too.
    EXPECT_EQ(c->At(0, size.cy - 1), 0x1E8C46u);
    EXPECT_EQ(c->At(size.cx - 1, size.cy - 1), 0x1E8C46u);
  }
  // The whole band above the client area is the caption, nothing else.
  EXPECT_EQ(window.Count(0x963C14, {0, 0, size.cx, client.top}), size.cx * client.top);
  EXPECT_EQ(WindowPixel(w.Handle(), parts.LeftBorder.x, parts.LeftBorder.y), 0x1E8C46u);
  EXPECT_THROW((void)window.At(size.cx, 0), std::out_of_range);

  // A repaint in other colours is read back, not an earlier picture.
  state.Caption = RGB(200, 180, 30);
  state.Frame = RGB(90, 20, 120);
  RedrawWindow(w.Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  PumpMessages(50);
  EXPECT_EQ(WindowPixel(w.Handle(), parts.Caption.x, parts.Caption.y), 0xC8B41Eu);
  EXPECT_EQ(WindowPixel(w.Handle(), parts.BottomBorder.x, parts.BottomBorder.y), 0x5A1478u);
  const POINT onScreen = WindowToScreen(w.Handle(), parts.Caption);
  EXPECT_EQ(CaptureScreen({onScreen.x, onScreen.y, onScreen.x + 1, onScreen.y + 1}).At(0, 0), 0xC8B41Eu);
}

TEST_F(TestSupport, ProbeSkinCaptionDrawnOnAWindowNamesItsFrame)
{
  skin::TSkinData probe(nullptr);
  probe.SetPackage(ProbeSkinPackage());
  ASSERT_TRUE(probe.ApplyPackage());
  ASSERT_EQ(probe.SkinName(), probeskin::kSkinName);

  TWindowState state;
  state.Skin = &probe;
  const TWindow w = Open(state);
  const TParts parts = PartsOf(w.Handle());
  const uint32_t middle = WindowPixel(w.Handle(), parts.Caption.x, parts.Caption.y);
  EXPECT_TRUE(ShowsFrame(middle, "frametop.bmp", 0)) << DescribePixel(middle);
  // The rounded corner is magenta in the skin: the transparent draw leaves
  // the frame colour that was there.
  const uint32_t corner = WindowPixel(w.Handle(), 0, 0);
  EXPECT_EQ(corner, 0x1E8C46u) << DescribePixel(corner);
  EXPECT_EQ(DescribePixel(corner), "#1E8C46");

  state.SkinFrame = 2;
  RedrawWindow(w.Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  PumpMessages(50);
  const uint32_t inactive = WindowPixel(w.Handle(), parts.Caption.x, parts.Caption.y);
  EXPECT_EQ(DescribePixel(inactive), "frametop.bmp frame 1");

  // Over the whole caption band only the inactive frame shows; what it
  // leaves transparent (its rounded corners) is the frame colour beneath,
  // which names nothing.
  const SIZE size = WindowSize(w.Handle());
  const RECT band{0, 0, size.cx, ClientRectInWindow(w.Handle()).top};
  const TFrameCensus census = CensusOf(CaptureWindow(w.Handle()), band);
  ASSERT_EQ(census.Frames.size(), 1u);
  EXPECT_GT(census.Count("frametop.bmp", 1), (band.right * band.bottom) * 9 / 10);
  EXPECT_EQ(census.Count("frametop.bmp", 1) + census.Unnamed, band.right * band.bottom);
  EXPECT_GT(census.Unnamed, 0);
}

TEST(ProbeColoursOnThisSystem, NoSystemColourIsTakenForAFrame)
{
  // Whatever the platform paints unskinned (faces, captions, selections,
  // window backgrounds, text) names no probe frame, even with the widest
  // tolerance.
  for (int index = COLOR_SCROLLBAR; index <= COLOR_MENUBAR; ++index) {
    const uint32_t rgb = RgbOf(GetSysColor(index));
    EXPECT_FALSE(probeskin::FindProbeFrame(rgb, 15).has_value())
      << "system colour " << index << " is " << DescribePixel(rgb);
  }
}

TEST_F(TestSupport, MouseLandsOnThePixelItWasSentTo)
{
  const int32_t left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int32_t top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int32_t width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  const int32_t height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  ASSERT_GT(width, 400);
  ASSERT_GT(height, 300);
  const POINT targets[] = {{left, top},
                           {left + 1, top + 1},
                           {left + width - 1, top + height - 1},
                           {left + width / 2 + 1, top + height / 3},
                           {left + 333, top + 257},
                           {left + 334, top + 258}};
  for (const POINT target : targets) {
    ASSERT_TRUE(MoveMouse(target));
    POINT at{};
    GetCursorPos(&at);
    EXPECT_EQ(at.x, target.x) << "aimed at " << target.x << "," << target.y;
    EXPECT_EQ(at.y, target.y) << "aimed at " << target.x << "," << target.y;
  }
  // A restorer puts the cursor back where it found it.
  {
    const TCursorRestorer restorer;
    ASSERT_TRUE(MoveMouse({left + 10, top + 10}));
  }
  EXPECT_TRUE(CursorAt(targets[std::size(targets) - 1]));
}

namespace {

// What a subclassed push button was sent.
struct TButtonSpy {
  WNDPROC Previous = nullptr;
  std::vector<POINT> Downs;
};
TButtonSpy* g_buttonSpy = nullptr;

LRESULT CALLBACK ButtonSpyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
  if (message == WM_LBUTTONDOWN)
    g_buttonSpy->Downs.push_back({short(LOWORD(lParam)), short(HIWORD(lParam))});
  return CallWindowProcW(g_buttonSpy->Previous, window, message, wParam, lParam);
}

} // namespace

TEST_F(TestSupport, ClicksReachTheButtonAndTheCaptionTheyAimAt)
{
  TWindowState state;
  const TWindow w = Open(state);
  constexpr int32_t kId = 101;
  const TWindow button(CreateWindowExW(0, L"BUTTON", L"Press", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 40, 30, 120, 40,
                                       w.Handle(), reinterpret_cast<HMENU>(INT_PTR(kId)), GetModuleHandleW(nullptr),
                                       nullptr));
  TButtonSpy spy;
  g_buttonSpy = &spy;
  spy.Previous = reinterpret_cast<WNDPROC>(
    SetWindowLongPtrW(button.Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ButtonSpyProc)));
  PumpMessages(50);

  ASSERT_TRUE(ClickClient(button.Handle(), {17, 9}));
  ASSERT_TRUE(PumpUntil([&] { return !state.Commands.empty(); }));
  ASSERT_EQ(spy.Downs.size(), 1u);
  EXPECT_EQ(spy.Downs[0].x, 17);
  EXPECT_EQ(spy.Downs[0].y, 9);
  EXPECT_EQ(state.Commands, std::vector<int32_t>{kId});

  // Held down, the button is pushed and nothing is clicked yet; let go, it is.
  POINT centre{60, 20};
  ClientToScreen(button.Handle(), &centre);
  ASSERT_TRUE(MouseDown(centre));
  EXPECT_TRUE(PumpUntil([&] { return (SendMessageW(button.Handle(), BM_GETSTATE, 0, 0) & BST_PUSHED) != 0; }));
  EXPECT_EQ(state.Commands.size(), 1u);
  ASSERT_TRUE(MouseUp(centre));
  EXPECT_TRUE(PumpUntil([&] { return state.Commands.size() == 2; }));
  EXPECT_EQ(SendMessageW(button.Handle(), BM_GETSTATE, 0, 0) & BST_PUSHED, 0);

  // A click in the caption band arrives as a non-client click on the caption.
  const TParts parts = PartsOf(w.Handle());
  ASSERT_TRUE(Click(WindowToScreen(w.Handle(), {parts.Caption.x - 60, parts.Caption.y})));
  ASSERT_TRUE(PumpUntil([&] { return !state.NcClicks.empty(); }));
  EXPECT_EQ(state.NcClicks[0], UINT(HTCAPTION));

  SetWindowLongPtrW(button.Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(spy.Previous));
  g_buttonSpy = nullptr;
}

TEST_F(TestSupport, KeysReachTheFocusedWindowWithTheirScanCodes)
{
  TWindowState state;
  const TWindow w = Open(state);
  ASSERT_EQ(GetFocus(), w.Handle());

  ASSERT_TRUE(PressKey('A'));
  ASSERT_TRUE(PumpUntil([&] { return state.Keys.size() >= 3; }));
  ASSERT_EQ(state.Keys.size(), 3u);
  const UINT scanA = MapVirtualKeyW('A', MAPVK_VK_TO_VSC);
  EXPECT_NE(scanA, 0u);
  EXPECT_EQ(state.Keys[0].message, UINT(WM_KEYDOWN));
  EXPECT_EQ(state.Keys[0].wParam, WPARAM('A'));
  EXPECT_EQ((state.Keys[0].lParam >> 16) & 0xFF, LPARAM(scanA));
  EXPECT_EQ((state.Keys[0].lParam >> 24) & 1, 0);
  EXPECT_EQ(state.Keys[1].message, UINT(WM_CHAR));
  EXPECT_EQ(state.Keys[1].wParam, WPARAM('a'));
  EXPECT_EQ(state.Keys[2].message, UINT(WM_KEYUP));
  EXPECT_EQ(state.Keys[2].wParam, WPARAM('A'));
  // The up transition is in bit 31.
  EXPECT_NE(state.Keys[2].lParam & LPARAM(0x80000000), 0);

  // An arrow key carries the extended flag and gives no character.
  state.Keys.clear();
  ASSERT_TRUE(PressKey(VK_RIGHT));
  ASSERT_TRUE(PumpUntil([&] { return state.Keys.size() >= 2; }));
  ASSERT_EQ(state.Keys.size(), 2u);
  EXPECT_EQ(state.Keys[0].wParam, WPARAM(VK_RIGHT));
  EXPECT_EQ((state.Keys[0].lParam >> 24) & 1, 1);

  // A modifier held around the key: shift gives the capital.
  state.Keys.clear();
  ASSERT_TRUE(PressKey('B', {VK_SHIFT}));
  ASSERT_TRUE(PumpUntil([&] { return state.Keys.size() >= 5; }));
  std::vector<WPARAM> chars;
  for (const MSG& m : state.Keys)
    if (m.message == WM_CHAR)
      chars.push_back(m.wParam);
  EXPECT_EQ(chars, std::vector<WPARAM>{WPARAM('B')});
  EXPECT_EQ(state.Keys.front().wParam, WPARAM(VK_SHIFT));
  EXPECT_EQ(state.Keys.back().wParam, WPARAM(VK_SHIFT));
  EXPECT_EQ(state.Keys.back().message, UINT(WM_KEYUP));
}
