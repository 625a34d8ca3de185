// The caption buttons on a real window, with the probe skin: where each
// button is drawn and with which frame, in every window state that changes
// it; what the non-client mouse messages make them do (a recording subclass
// sees the system commands); hints after the hover time; and the skinned
// system menu's items in each window state.
#include "framework/win32/Forms.h"
#include "framework/win32/Subclass.h"
#include "skin/SkinData.h"
#include "skin/frame/CaptionButtons.h"
#include "skin/frame/CaptionHostFacts.h"
#include "skin/frame/NCObject.h"
#include "skin/frame/SkinnedSystemMenu.h"
#include "skin/win32/SkinDataWin32.h"
#include "tests/win32/InputSupport.h"
#include "tests/win32/ProbeSkinSupport.h"
#include "tests/win32/ScreenProbe.h"
#include "tests/win32/TestWindow.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

using namespace testsupport;
using skin::TCaptionButtons;

namespace {

// The stored skin's border sizes: the probe skin has the same.
constexpr int32_t kLeft = 4, kTop = 29, kRight = 4, kBottom = 5;
constexpr int32_t kWidth = 400, kHeight = 300;
constexpr uint32_t kBandColour = 0x000000;
constexpr COLORREF kIconColour = RGB(30, 200, 120);
constexpr uint32_t kIconBitmapColour = 0x2050D0;

// A window whose non-client area has the skin's border sizes, as a skinned
// frame gives it.
LRESULT CALLBACK FixedFrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
  if (message == WM_NCCALCSIZE && wParam) {
    RECT& r = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0];
    r = {r.left + kLeft, r.top + kTop, r.right - kRight, r.bottom - kBottom};
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

uint8_t BorderIconsOf(HWND window)
{
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  const LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
  uint8_t icons = 0;
  icons |= (style & WS_MAXIMIZEBOX) ? skin::fiMaximize : 0;
  icons |= (style & WS_MINIMIZEBOX) ? skin::fiMinimize : 0;
  icons |= (exStyle & WS_EX_CONTEXTHELP) ? skin::fiHelp : 0;
  icons |= (style & WS_SYSMENU) ? skin::fiSystemMenu : 0;
  return uint8_t(icons);
}

// The frame as the buttons see it, over a real window: the show state is the
// window's own, and what the buttons tell the frame is recorded.
class TTestHost final : public skin::TCaptionHost {
public:
  TTestHost(HWND window, skin::TSkinData& data, skin::TFrameBorderKind kind)
    : window_(window), data_(data), kind_(kind), icons_(BorderIconsOf(window)), systemMenu_(GetSystemMenu(window, FALSE))
  {
    // Magenta with a block in the middle: the fallback when the window has no icon.
    icon_.SetSize(16, 16);
    icon_.Context().FillRect(icon_.Pixmap().Bounds(), gfx::ColorToPixel(0xFF00FF));
    icon_.Context().FillRect(gfx::TRect(4, 4, 12, 12), kIconBitmapColour);
    icon_.Changed();
  }

  bool IsActive = true;
  std::vector<skin::TFrameShowState> ShowStates;
  std::vector<skin::TPopupKind> PopupKinds;
  std::vector<std::pair<UINT, WPARAM>> PassedOn;
  int32_t TimerStops = 0;

  [[nodiscard]] HWND Window() const override { return window_; }
  [[nodiscard]] skin::TSkinData& SkinData() const override { return data_; }
  [[nodiscard]] const std::string& WindowClassName() const override { return className_; }
  [[nodiscard]] bool Active() const override { return IsActive; }
  [[nodiscard]] skin::TFrameShowState ShowState() const override
  {
    return IsZoomed(window_) ? skin::ssMaximized : IsIconic(window_) ? skin::ssMinimized : skin::ssNormal;
  }
  void SetShowState(skin::TFrameShowState state) override { ShowStates.push_back(state); }
  [[nodiscard]] skin::TFrameBorderKind BorderKind() const override { return kind_; }
  [[nodiscard]] uint8_t BorderIcons() const override { return icons_; }
  [[nodiscard]] bool IsMdiFrame() const override { return false; }
  [[nodiscard]] bool IsMdiChild() const override { return false; }
  [[nodiscard]] bool RightToLeft() const override { return false; }
  [[nodiscard]] int32_t LeftWidth() const override { return kLeft; }
  [[nodiscard]] int32_t TopHeight() const override { return kTop; }
  [[nodiscard]] int32_t RightWidth() const override { return kRight; }
  [[nodiscard]] int32_t BottomHeight() const override { return kBottom; }
  [[nodiscard]] int32_t MenuHeight() const override { return 0; }
  [[nodiscard]] bool HasSkinnedMenuBar() const override { return false; }
  [[nodiscard]] gfx::TRect TitleRect() const override { return {30, 4, 150, 25}; }
  [[nodiscard]] const framework::TBitmap& IconBitmap() const override { return icon_; }
  void StopTimer() override { ++TimerStops; }
  void RedrawFrame() override {}
  void SetPopupKind(skin::TPopupKind kind) override { PopupKinds.push_back(kind); }
  void SetMdiMenuState(bool) override {}
  [[nodiscard]] HMENU SystemMenu() const override { return systemMenu_; }
  LRESULT PassOn(UINT message, WPARAM wParam, LPARAM) override
  {
    PassedOn.emplace_back(message, wParam);
    return 0;
  }

private:
  HWND window_;
  skin::TSkinData& data_;
  skin::TFrameBorderKind kind_;
  uint8_t icons_;
  HMENU systemMenu_;
  std::string className_ = "TCaptionTestForm";
  framework::TBitmap icon_;
};

// Sees what the buttons ask of the window and keeps it from acting on it,
// so that a close or a minimise leaves the window for the next check.
class TCommandRecorder final : public framework::TSubclass {
public:
  std::vector<UINT> Commands;
  std::vector<WPARAM> CustomActions;
  std::set<WPARAM> VisibleCodes;
  int32_t Closes = 0;

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
  {
    switch (message) {
    case WM_SYSCOMMAND: Commands.push_back(UINT(wParam & 0xFFF0)); return 0;
    case WM_CLOSE: ++Closes; return 0;
    case skin::kCaptionCustomAction: CustomActions.push_back(wParam); return 0;
    case skin::kCaptionCustomVisible: return VisibleCodes.count(wParam) ? 1 : 0;
    default: return CallPrevious(message, wParam, lParam);
    }
  }
};

// An icon of one colour, destroyed with its owner.
class TSolidIcon {
public:
  explicit TSolidIcon(COLORREF colour)
  {
    const TReleasedDC screen = TReleasedDC::OfScreen();
    const TGdiObject<HBITMAP> image(CreateCompatibleBitmap(screen.Handle(), 16, 16));
    const std::vector<uint8_t> zeros(32, 0);
    const TGdiObject<HBITMAP> mask(CreateBitmap(16, 16, 1, 1, zeros.data()));
    {
      const TMemoryDC dc(screen.Handle());
      const TSelection selected(dc.Handle(), image.Handle());
      const TGdiObject<HBRUSH> brush(CreateSolidBrush(colour));
      RECT all{0, 0, 16, 16};
      FillRect(dc.Handle(), &all, brush.Handle());
    }
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmMask = mask.Handle();
    info.hbmColor = image.Handle();
    icon_ = CreateIconIndirect(&info);
  }
  TSolidIcon(const TSolidIcon&) = delete;
  TSolidIcon& operator=(const TSolidIcon&) = delete;
  ~TSolidIcon() { DestroyIcon(icon_); }
  [[nodiscard]] HICON Handle() const { return icon_; }

private:
  HICON icon_ = nullptr;
};

// Ends whatever menu the thread tracks: the system menu tests open it for real.
void CALLBACK EndMenuNow(HWND, UINT, UINT_PTR, DWORD) { EndMenu(); }

class TMenuCloser {
public:
  TMenuCloser() : id_(SetTimer(nullptr, 0, 100, &EndMenuNow)) {}
  TMenuCloser(const TMenuCloser&) = delete;
  TMenuCloser& operator=(const TMenuCloser&) = delete;
  ~TMenuCloser() { KillTimer(nullptr, id_); }

private:
  UINT_PTR id_;
};

struct TButtonSpot {
  std::string_view Bitmap;
  int32_t X; // from the window's right edge, or from its left for the icon
};
constexpr TButtonSpot kClose{"closebutton.bmp", 25};
constexpr TButtonSpot kMax{"maxbutton.bmp", 49};
constexpr TButtonSpot kMin{"minbutton.bmp", 73};
constexpr TButtonSpot kRestore{"restrorebutton.bmp", 49};
constexpr int32_t kButtonTop = 5, kButtonSize = 21;

class CaptionButtons : public ::testing::Test {
protected:
  static void SetUpTestSuite() { skin::win32::InstallSkinPlatform(); }

  CaptionButtons() : class_(L"CaptionButtonsTest", FixedFrameProc), skin_(nullptr)
  {
    skin_.SetPackage(ProbeSkinPackage());
    EXPECT_TRUE(skin_.ApplyPackage());
  }

  void Open(DWORD style = WS_OVERLAPPEDWINDOW, skin::TFrameBorderKind kind = skin::fbSizeable)
  {
    window_ = std::make_unique<TWindow>(CreateWindowExW(0, class_.Name(), L"Caption", style | WS_VISIBLE, 120, 100,
                                                        kWidth, kHeight, nullptr, nullptr, GetModuleHandleW(nullptr),
                                                        nullptr));
    EXPECT_TRUE(BringToFront(Handle()));
    host_ = std::make_unique<TTestHost>(Handle(), skin_, kind);
    buttons_ = std::make_unique<TCaptionButtons>(*host_);
    buttons_->Rebuild();
    recorder_.Install(Handle());
  }

  [[nodiscard]] HWND Handle() const { return window_->Handle(); }
  [[nodiscard]] int32_t Width() const { return WindowSize(Handle()).cx; }

  // The caption band as the buttons draw it over a black band.
  TCapture PaintBand()
  {
    const int32_t w = Width();
    const TReleasedDC screen = TReleasedDC::OfScreen();
    const TMemoryDC dc(screen.Handle());
    const TGdiObject<HBITMAP> band(CreateCompatibleBitmap(screen.Handle(), w, kTop));
    const TSelection selected(dc.Handle(), band.Handle());
    PatBlt(dc.Handle(), 0, 0, w, kTop, BLACKNESS);
    buttons_->PaintInCaption(dc.Handle(), w);
    return CaptureDC(dc.Handle(), 0, 0, w, kTop);
  }

  [[nodiscard]] RECT SpotRect(const TButtonSpot& spot) const
  {
    const int32_t left = Width() - spot.X;
    return {left, kButtonTop, left + kButtonSize, kButtonTop + kButtonSize};
  }

  // The button's rectangle shows only that frame (0-based) of its bitmap,
  // and the column left of it none of it.
  void ExpectButton(const TCapture& band, const TButtonSpot& spot, int32_t frame)
  {
    const RECT r = SpotRect(spot);
    const TFrameCensus census = CensusOf(band, r);
    EXPECT_GT(census.Count(spot.Bitmap, frame), kButtonSize * kButtonSize / 2) << spot.Bitmap << " frame " << frame;
    EXPECT_EQ(census.Frames.size(), 1u) << spot.Bitmap << " shows other frames too";
    EXPECT_EQ(CensusOf(band, {r.left - 1, r.top, r.left, r.bottom}).Frames.size(), 0u) << spot.Bitmap;
    EXPECT_EQ(CensusOf(band, {r.left, r.top - 1, r.right, r.top}).Frames.size(), 0u) << spot.Bitmap;
  }

  // A non-client mouse message at a point of the window.
  std::optional<LRESULT> Mouse(UINT message, POINT windowPoint, WPARAM hitTest = HTCAPTION)
  {
    const POINT screen = skin::WindowToScreenPoint(Handle(), {windowPoint.x, windowPoint.y});
    return buttons_->HandleMouse(message, hitTest, MAKELPARAM(screen.x, screen.y));
  }
  [[nodiscard]] POINT Centre(const TButtonSpot& spot) const
  {
    const RECT r = SpotRect(spot);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  void Click(POINT down, POINT up)
  {
    Mouse(WM_NCLBUTTONDOWN, down);
    Mouse(WM_NCLBUTTONUP, up);
    PumpMessages(30);
  }

  TWindowClass class_;
  skin::TSkinData skin_;
  std::unique_ptr<TWindow> window_;
  std::unique_ptr<TTestHost> host_;
  std::unique_ptr<TCaptionButtons> buttons_;
  TCommandRecorder recorder_;
  TCursorRestorer cursor_;
};

} // namespace

TEST_F(CaptionButtons, StoredLayoutFromTheRightEdgeAndTheIconAtItsPlace)
{
  Open();
  const TCapture band = PaintBand();
  ExpectButton(band, kClose, 0);
  ExpectButton(band, kMax, 0);
  ExpectButton(band, kMin, 0);
  EXPECT_EQ(CensusOf(band, band.Bounds()).Count("restrorebutton.bmp", 0), 0);
  // The pop-up title stops before the farthest right-aligned button.
  EXPECT_EQ(buttons_->RightButtonsReach(), 73);

  // Without an icon of its own, the window shows the frame's icon bitmap,
  // magenta left out.
  EXPECT_EQ(band.At(8 + 8, 7 + 8), kIconBitmapColour);
  EXPECT_EQ(band.At(8, 7), kBandColour);
  // With one, the icon itself at (8, 7).
  const TSolidIcon icon(kIconColour);
  SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon.Handle()));
  const TCapture withIcon = PaintBand();
  EXPECT_EQ(withIcon.At(8, 7), RgbOf(kIconColour));
  EXPECT_EQ(withIcon.At(8 + 15, 7 + 15), RgbOf(kIconColour));
  EXPECT_EQ(withIcon.At(7, 7 + 8), kBandColour);
  EXPECT_EQ(withIcon.At(8 + 16, 7 + 8), kBandColour);
}

TEST_F(CaptionButtons, WindowStatesChangeWhatShows)
{
  Open();
  // Inactive: every button in its fourth frame.
  host_->IsActive = false;
  const TCapture inactive = PaintBand();
  ExpectButton(inactive, kClose, 3);
  ExpectButton(inactive, kMin, 3);
  host_->IsActive = true;

  // Maximised: restore where maximise was.
  ShowWindow(Handle(), SW_MAXIMIZE);
  PumpMessages(30);
  ASSERT_TRUE(IsZoomed(Handle()));
  const TCapture maximized = PaintBand();
  ExpectButton(maximized, kRestore, 0);
  ExpectButton(maximized, kClose, 0);
  EXPECT_EQ(CensusOf(maximized, maximized.Bounds()).Count("maxbutton.bmp", 0), 0);
}

TEST_F(CaptionButtons, WithoutAMaximizeBoxMaximizeIsDisabledAndDoesNothing)
{
  Open(WS_OVERLAPPEDWINDOW & ~DWORD(WS_MAXIMIZEBOX));
  const TCapture band = PaintBand();
  ExpectButton(band, kMax, 3);
  ExpectButton(band, kMin, 0);
  Click(Centre(kMax), Centre(kMax));
  EXPECT_TRUE(recorder_.Commands.empty());
  Click(Centre(kMin), Centre(kMin));
  EXPECT_EQ(recorder_.Commands, std::vector<UINT>{SC_MINIMIZE});
}

TEST_F(CaptionButtons, DialogsShowNoIcon)
{
  Open(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, skin::fbDialog);
  const TSolidIcon icon(kIconColour);
  SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon.Handle()));
  const TCapture band = PaintBand();
  EXPECT_EQ(band.Count(RgbOf(kIconColour), band.Bounds()), 0);
  EXPECT_EQ(band.Count(kIconBitmapColour, band.Bounds()), 0);
  ExpectButton(band, kClose, 0);
}

TEST_F(CaptionButtons, ClicksRunTheActions)
{
  Open();
  (void)PaintBand();
  Click(Centre(kClose), Centre(kClose));
  EXPECT_EQ(recorder_.Commands, std::vector<UINT>{SC_CLOSE});
  EXPECT_EQ(host_->TimerStops, 1) << "the hover timer stops before the window closes";

  recorder_.Commands.clear();
  Click(Centre(kMax), Centre(kMax));
  EXPECT_EQ(recorder_.Commands, std::vector<UINT>{SC_MAXIMIZE});
  EXPECT_EQ(host_->ShowStates, std::vector<skin::TFrameShowState>{skin::ssMaximized});

  // Minimising gives the window its system-menu bit back first.
  recorder_.Commands.clear();
  SetWindowLongPtrW(Handle(), GWL_STYLE, GetWindowLongPtrW(Handle(), GWL_STYLE) & ~LONG_PTR(WS_SYSMENU));
  Click(Centre(kMin), Centre(kMin));
  EXPECT_EQ(recorder_.Commands, std::vector<UINT>{SC_MINIMIZE});
  EXPECT_NE(GetWindowLongPtrW(Handle(), GWL_STYLE) & WS_SYSMENU, 0);

  // Released away from the pressed button: nothing, and the button lets go.
  recorder_.Commands.clear();
  Click(Centre(kClose), {200, 15});
  EXPECT_TRUE(recorder_.Commands.empty());
  EXPECT_EQ(buttons_->Hot(), nullptr);
  // A release over a button that was never pressed does nothing either.
  Mouse(WM_NCLBUTTONUP, Centre(kClose));
  PumpMessages(30);
  EXPECT_TRUE(recorder_.Commands.empty());
}

TEST_F(CaptionButtons, PressedAndHotLooksAreDrawnOnTheWindow)
{
  Open();
  (void)PaintBand();
  const RECT r = SpotRect(kClose);
  Mouse(WM_NCMOUSEMOVE, Centre(kClose));
  EXPECT_GT(CensusOf(CaptureWindow(Handle()), r).Count("closebutton.bmp", 2), kButtonSize * kButtonSize / 2);
  Mouse(WM_NCLBUTTONDOWN, Centre(kClose));
  EXPECT_GT(CensusOf(CaptureWindow(Handle()), r).Count("closebutton.bmp", 1), kButtonSize * kButtonSize / 2);
  // Leaving the button for the caption draws it normal again.
  EXPECT_FALSE(Mouse(WM_NCMOUSEMOVE, {200, 15}).has_value());
  EXPECT_GT(CensusOf(CaptureWindow(Handle()), r).Count("closebutton.bmp", 0), kButtonSize * kButtonSize / 2);
  EXPECT_EQ(buttons_->Hot(), nullptr);

  // An inactive window's buttons do not light up under the mouse.
  host_->IsActive = false;
  EXPECT_FALSE(Mouse(WM_NCMOUSEMOVE, Centre(kClose)).has_value());
  EXPECT_EQ(buttons_->Hot(), nullptr);
}

TEST_F(CaptionButtons, PressingAnInactiveWindowsButtonBringsItToTheFront)
{
  Open();
  (void)PaintBand();
  const TWindow other = MakeFramedWindow(class_, L"Other", 300, 200, 200, 150);
  ASSERT_TRUE(BringToFront(other.Handle()));
  host_->IsActive = false;
  EXPECT_EQ(Mouse(WM_NCLBUTTONDOWN, Centre(kMin)), LRESULT(0));
  EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == Handle(); }));
}

TEST_F(CaptionButtons, CaptionPressesAndDoubleClicks)
{
  Open();
  (void)PaintBand();
  const POINT caption{200, 15};
  // A normal window's caption is the window's own to handle (dragging).
  EXPECT_FALSE(Mouse(WM_NCLBUTTONDOWN, caption).has_value());
  // A double click on the caption maximises; on the icon it closes.
  EXPECT_EQ(Mouse(WM_NCLBUTTONDBLCLK, caption), LRESULT(0));
  EXPECT_EQ(Mouse(WM_NCLBUTTONDBLCLK, {12, 12}), LRESULT(0));
  PumpMessages(30);
  EXPECT_EQ(recorder_.Commands, (std::vector<UINT>{SC_MAXIMIZE, SC_CLOSE}));
  EXPECT_EQ(host_->TimerStops, 1);
  // A double click on a border is no caption double click.
  EXPECT_FALSE(Mouse(WM_NCLBUTTONDBLCLK, {1, 150}, HTLEFT).has_value());

  // Maximised, a press on the caption goes on as one on the menu area.
  ShowWindow(Handle(), SW_MAXIMIZE);
  PumpMessages(30);
  (void)PaintBand();
  recorder_.Commands.clear();
  EXPECT_TRUE(Mouse(WM_NCLBUTTONDOWN, caption).has_value());
  ASSERT_EQ(host_->PassedOn.size(), 1u);
  EXPECT_EQ(host_->PassedOn[0], std::make_pair(UINT(WM_NCLBUTTONDOWN), WPARAM(HTMENU)));
  EXPECT_EQ(Mouse(WM_NCLBUTTONDBLCLK, caption), LRESULT(0));
  PumpMessages(30);
  EXPECT_EQ(recorder_.Commands, std::vector<UINT>{SC_RESTORE});
}

TEST_F(CaptionButtons, CustomActionsAndVisibilityAreTheWindowsToAnswer)
{
  // The skin's close button turned into a custom one, shown only when the
  // window says so.
  for (const auto& element : skin_.CaptionButtons)
    if (element && element->Action == 0) {
      element->Action = 40;
      element->Visibility = 1500;
    }
  Open();
  EXPECT_EQ(CensusOf(PaintBand(), SpotRect(kClose)).Count("closebutton.bmp", 0), 0);
  recorder_.VisibleCodes = {1500};
  ExpectButton(PaintBand(), kClose, 0);
  Click(Centre(kClose), Centre(kClose));
  EXPECT_TRUE(recorder_.Commands.empty());
  EXPECT_EQ(recorder_.CustomActions, std::vector<WPARAM>{40});
}

TEST_F(CaptionButtons, SystemMenuOpensAndASecondQuickRequestCloses)
{
  Open();
  (void)PaintBand();
  // Every menu this test opens is ended soon after it opens.
  const TMenuCloser closer;
  EXPECT_EQ(Mouse(WM_NCRBUTTONDOWN, {200, 15}), LRESULT(0));
  EXPECT_EQ(host_->PopupKinds, std::vector<skin::TPopupKind>{skin::pkSystemMenu});
  EXPECT_EQ(recorder_.Closes, 0);
  // Its release is answered, so the system opens no menu of its own.
  EXPECT_EQ(Mouse(WM_NCRBUTTONUP, {200, 15}), LRESULT(0));
  // A right press on a border opens nothing.
  EXPECT_FALSE(Mouse(WM_NCRBUTTONDOWN, {1, 150}, HTLEFT).has_value());
  EXPECT_FALSE(Mouse(WM_NCRBUTTONUP, {1, 150}, HTLEFT).has_value());

  // Past the double-click time, the icon button opens the menu again; a
  // request right after, while the icon is still hot, closes the window.
  PumpMessages(int32_t(GetDoubleClickTime()) + 100);
  const POINT icon{12, 12};
  Click(icon, icon);
  EXPECT_EQ(host_->PopupKinds.size(), 2u);
  EXPECT_EQ(recorder_.Closes, 0);
  ASSERT_NE(buttons_->Hot(), nullptr);
  buttons_->OpenSystemMenu(skin::WindowToScreenPoint(Handle(), {12, 12}));
  PumpMessages(30);
  EXPECT_EQ(recorder_.Closes, 1);
  EXPECT_EQ(host_->PopupKinds.size(), 2u) << "no third menu";
}

TEST_F(CaptionButtons, HintAfterTheHoverTimeOnlyWithTheOption)
{
  framework::Application->SetHintPause(250);
  framework::Application->SetHintHidePause(500);
  Open();
  (void)PaintBand();
  const auto* parts = skin::win32::PlatformOf(skin_);
  ASSERT_NE(parts, nullptr);
  ASSERT_TRUE(MoveMouse(WindowToScreen(Handle(), Centre(kClose))));
  Mouse(WM_NCMOUSEMOVE, Centre(kClose));

  buttons_->TimerTick(250);
  EXPECT_FALSE(parts->HintShowing()) << "before twice the hint pause";
  buttons_->TimerTick(250);
  ASSERT_TRUE(parts->HintShowing());
  EXPECT_EQ(parts->HintText(), L"Close");
  RECT hint{};
  GetWindowRect(parts->HintWindow(), &hint);
  EXPECT_EQ(hint.left, WindowToScreen(Handle(), {SpotRect(kClose).left, 0}).x);
  buttons_->TimerTick(250);
  buttons_->TimerTick(250);
  EXPECT_FALSE(parts->HintShowing()) << "hidden after the hide pause";

  // The pointer leaving the button lets it go at the next tick.
  ASSERT_TRUE(MoveMouse(WindowToScreen(Handle(), {200, 150})));
  buttons_->TimerTick(250);
  EXPECT_EQ(buttons_->Hot(), nullptr);

  // Without the option, no hint at all.
  skin_.SetOptions(skin::TSkinOptions(skin_.Options() & ~skin::Bit(skin::xoCaptionButtonHint)));
  ASSERT_TRUE(MoveMouse(WindowToScreen(Handle(), Centre(kMin))));
  Mouse(WM_NCMOUSEMOVE, Centre(kMin));
  for (int i = 0; i < 4; ++i) {
    buttons_->TimerTick(250);
    EXPECT_FALSE(parts->HintShowing());
  }
}

namespace {

bool ItemEnabled(HMENU menu, UINT command)
{
  const UINT state = GetMenuState(menu, command, MF_BYCOMMAND);
  return state != UINT(-1) && (state & (MF_GRAYED | MF_DISABLED)) == 0;
}

} // namespace

TEST_F(CaptionButtons, SystemMenuItemsFollowTheWindowState)
{
  Open();
  HMENU system = GetSystemMenu(Handle(), FALSE);
  ASSERT_NE(system, nullptr);
  {
    const skin::TMenuOwner menu = skin::BuildSkinnedSystemMenu(*host_);
    ASSERT_TRUE(menu);
    ASSERT_EQ(GetMenuItemCount(menu.Get()), GetMenuItemCount(system));
    MENUINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIM_MENUDATA;
    ASSERT_TRUE(GetMenuInfo(menu.Get(), &info));
    EXPECT_EQ(info.dwMenuData, skin::kSystemMenuTag);
    // Texts and commands as the system menu has them.
    for (int i = 0; i < GetMenuItemCount(system); ++i) {
      wchar_t ours[64] = {}, theirs[64] = {};
      GetMenuStringW(menu.Get(), UINT(i), ours, 64, MF_BYPOSITION);
      GetMenuStringW(system, UINT(i), theirs, 64, MF_BYPOSITION);
      EXPECT_STREQ(ours, theirs);
      EXPECT_EQ(GetMenuItemID(menu.Get(), i), GetMenuItemID(system, i));
    }
    EXPECT_TRUE(ItemEnabled(menu.Get(), SC_MAXIMIZE));
    EXPECT_TRUE(ItemEnabled(menu.Get(), SC_MINIMIZE));
    EXPECT_TRUE(ItemEnabled(menu.Get(), SC_MOVE));
    EXPECT_FALSE(ItemEnabled(menu.Get(), SC_RESTORE));
    EXPECT_TRUE(ItemEnabled(menu.Get(), SC_CLOSE));
  }
  ShowWindow(Handle(), SW_MAXIMIZE);
  PumpMessages(30);
  {
    const skin::TMenuOwner menu = skin::BuildSkinnedSystemMenu(*host_);
    EXPECT_FALSE(ItemEnabled(menu.Get(), SC_MAXIMIZE));
    EXPECT_FALSE(ItemEnabled(menu.Get(), SC_MOVE));
    EXPECT_FALSE(ItemEnabled(menu.Get(), SC_SIZE));
    EXPECT_TRUE(ItemEnabled(menu.Get(), SC_RESTORE));
    EXPECT_TRUE(ItemEnabled(menu.Get(), SC_MINIMIZE));
  }
  ShowWindow(Handle(), SW_MINIMIZE);
  PumpMessages(30);
  {
    const skin::TMenuOwner menu = skin::BuildSkinnedSystemMenu(*host_);
    EXPECT_FALSE(ItemEnabled(menu.Get(), SC_MINIMIZE));
    EXPECT_TRUE(ItemEnabled(menu.Get(), SC_MAXIMIZE));
    EXPECT_TRUE(ItemEnabled(menu.Get(), SC_RESTORE));
  }
}
