// Skinned menus on a real form under the probe skin: the bar drawn in the
// frame instead of the system's, its drop-downs opened by the mouse, by
// Alt with a letter and by the arrow keys, the items measured and drawn from
// the skin inside a pop-up framed with the menu background, the context menu
// and the system menu skinned alike, and nothing left behind by many openings.
//
// Menus run modal loops: the mouse and the keyboard are driven from a thread
// of their own, which also reads the screen while the loop shows the menu.
#include "framework/ImageList.h"
#include "skin/frame/MenuItemPainter.h"
#include "skin/frame/SkinnedSystemMenu.h"
#include "tests/win32/ResourceCount.h"
#include "tests/win32/SkinMenusSupport.h"

#include <gtest/gtest.h>

using namespace testsupport;

namespace {

// The probe skin has no "menuBar" image: the bar takes its Menubar colour.
constexpr uint32_t kMenubarColour = 0xBFD2EA;
// Its HilightText colour, the text of a selected item.
constexpr uint32_t kHilightText = 0x102870;

class SkinMenusTest : public SkinMenusFixture {};

// The bar is the frame's: the window shows no system menu while skinned, the
// band under the caption shows the skin's bar colour active and inactive, and
// un-skinning puts the same menu back.
TEST_F(SkinMenusTest, TheBarIsDrawnByTheFrameAndGivenBackAtUnskin)
{
  skin::TWinSkinForm* frame = ShowFramed();
  ASSERT_NE(frame, nullptr);
  ASSERT_NE(frame->MenuBar(), nullptr);
  const HMENU taken = frame->MenuBar()->WindowMenu();
  EXPECT_EQ(taken, bar->Handle());
  EXPECT_EQ(GetMenu(form.Handle()), nullptr);
  ASSERT_EQ(frame->MenuBar()->Count(), 3u);

  const gfx::TRect band = frame->MenuBar()->Rect();
  ASSERT_GT(band.Height(), 0);
  const RECT area{band.Left, band.Top, band.Right, band.Bottom};
  const auto barPixels = [&] {
    RedrawWindow(form.Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    PumpMessages(60);
    const TCapture capture = CaptureWindow(form.Handle());
    int32_t matching = 0;
    for (int32_t y = area.top; y < area.bottom; ++y)
      for (int32_t x = area.left; x < area.right; ++x)
        matching += capture.At(x, y) == kMenubarColour;
    return matching;
  };
  const int32_t all = band.Width() * band.Height();
  // The captions take some of the band; the rest is the bar's colour.
  EXPECT_GT(barPixels(), all * 3 / 4) << "active";
  {
    const TWindow other = MakeActiveWindow(WS_OVERLAPPEDWINDOW, 600, 80, 200, 150);
    PumpMessages(100);
    EXPECT_GT(barPixels(), all * 3 / 4) << "inactive";
  }
  BringToFront(form.Handle());

  frame->Unskin(true);
  EXPECT_EQ(GetMenu(form.Handle()), taken);
}

// A click on a bar button opens its drop-down; a click on an item delivers
// its command once.
TEST_F(SkinMenusTest, AClickOpensTheDropDownAndAnItemClickArrivesOnce)
{
  skin::TWinSkinForm* frame = ShowFramed();
  ASSERT_NE(frame, nullptr);
  const HMENU fileMenu = DropDown(*frame, 0);
  ASSERT_NE(fileMenu, nullptr);
  std::atomic<bool> opened{false};
  AsUser([&] {
    Click(ButtonCentre(*frame, 0));
    opened = WaitForShownMenu(fileMenu);
    if (!opened)
      return;
    const POINT item = Centre(ItemRect(fileMenu, 0));
    MoveMouse(item);
    Sleep(80);
    Click(item);
    WaitForNoMenu();
  });
  EXPECT_TRUE(opened);
  PumpMessages(150);
  // Opening a bar menu delivers the bar item's own command first, as for a
  // bar item without a drop-down.
  EXPECT_EQ(clicked, (std::vector<std::string>{"&File", "&Open"}));
}

// Alt with a letter opens the bar menu with that accelerator; the right
// arrow on an item without a sub-menu moves to the next bar menu, and on
// the last one wraps to the first; the left arrow on the open menu's own
// items moves to the previous one, and on the first wraps to the last.
TEST_F(SkinMenusTest, TheKeyboardOpensAndMovesAlongTheBar)
{
  skin::TWinSkinForm* frame = ShowFramed();
  ASSERT_NE(frame, nullptr);
  struct TStep {
    WORD Key;
    size_t Opens;
  };
  constexpr TStep kSteps[] = {{'V', 1}, {VK_RIGHT, 2}, {VK_RIGHT, 0}, {VK_LEFT, 2}, {VK_LEFT, 1}};
  std::atomic<size_t> reached{0};
  AsUser([&] {
    for (const TStep& step : kSteps) {
      if (step.Key == 'V')
        PressKey(step.Key, {VK_MENU});
      else
        PressKey(step.Key);
      if (!WaitForShownMenu(DropDown(*frame, step.Opens)))
        break;
      ++reached;
    }
    CloseMenus();
  });
  EXPECT_EQ(reached.load(), std::size(kSteps));
  EXPECT_EQ(clicked, (std::vector<std::string>{"&View", "&Help", "&File", "&Help", "&View"}));
}

// Inside the open drop-down: the window is framed with the menu background
// after the menu painted itself; a separator is 8 pixels high and the text
// items all of one height, the separator cut from the item image's second
// frame; the item under the mouse is drawn selected (the
// probe skin's selected frame is transparent, so the background shows
// through, with the selected text colour), the others are not.
TEST_F(SkinMenusTest, TheDropDownIsFramedAndItsItemsDrawnFromTheSkin)
{
  skin::TWinSkinForm* frame = ShowFramed();
  ASSERT_NE(frame, nullptr);
  const TShownPopup popup = CaptureBarMenu(*frame, 0, 3, 2);
  ASSERT_TRUE(popup.Opened);
  EXPECT_EQ(HeightOf(popup.Items[1]), skin::kMenuSeparatorHeight);
  EXPECT_GT(HeightOf(popup.Items[0]), skin::kMenuSeparatorHeight);
  EXPECT_EQ(HeightOf(popup.Items[0]), HeightOf(popup.Items[2]));

  const TCapture& shown = popup.Shown;
  const int32_t w = shown.Width(), h = shown.Height();
  for (const POINT p : {POINT{0, 0}, POINT{w - 1, h - 1}, POINT{1, h / 2}, POINT{w - 2, h / 2}})
    EXPECT_TRUE(ShowsFrame(shown.At(p.x, p.y), "menubackground.bmp", 0))
      << p.x << "," << p.y << ": " << DescribePixel(shown.At(p.x, p.y));

  const TFrameCensus selected = CensusOf(shown, popup.Local(2));
  const TFrameCensus normal = CensusOf(shown, popup.Local(0));
  EXPECT_GT(selected.Count("menubackground.bmp", 0), 0);
  EXPECT_GT(normal.Count("menubackground.bmp", 0), 0);
  // The selected item stands in frame 4; the normal item's frame 1 is empty.
  EXPECT_GT(selected.Count("menuitem.bmp", 3), 0);
  for (int32_t k = 0; k < 5; ++k)
    EXPECT_EQ(normal.Count("menuitem.bmp", k), 0) << "frame " << k;
  EXPECT_GT(shown.Count(kHilightText, popup.Local(2)), 0);
  EXPECT_EQ(shown.Count(kHilightText, popup.Local(0)), 0);
  EXPECT_GT(CensusOf(shown, popup.Local(1)).Count("menuitem.bmp", 1), 0);
}

// A skin without a "MenuItem" element: items stand on the skin's Menu
// colour, the selected one on its Hilight colour.
TEST_F(SkinMenusTest, WithoutAnItemElementItemsStandOnTheMenuColours)
{
  constexpr uint32_t kMenuColour = 0xBFD2EA;
  constexpr uint32_t kHilight = 0x5564A5;
  skin::TWinSkinForm* frame = ShowFramed();
  ASSERT_NE(frame, nullptr);
  std::unique_ptr<skin::TDataSkinObject> saved = std::move(data_->MenuItem);
  const TShownPopup popup = CaptureBarMenu(*frame, 0, 3, 2);
  data_->MenuItem = std::move(saved);
  ASSERT_TRUE(popup.Opened);
  const RECT normal = popup.Local(0);
  const RECT selected = popup.Local(2);
  const int32_t area = (normal.right - normal.left) * (normal.bottom - normal.top);
  EXPECT_GT(popup.Shown.Count(kMenuColour, normal), area / 2);
  EXPECT_GT(popup.Shown.Count(kHilight, selected), area / 2);
  EXPECT_EQ(popup.Shown.Count(kHilight, normal), 0);
  for (int32_t k = 0; k < 5; ++k)
    EXPECT_EQ(CensusOf(popup.Shown, selected).Count("menuitem.bmp", k), 0) << "frame " << k;
}

// Pictures of the menu's image list: each filling the top-left 12 by 12 of
// its 16 by 16 cell, fuchsia elsewhere, in a colour of its own.
constexpr int32_t kPictureSize = 12;
constexpr uint32_t kPictureColours[] = {0x1E8C3A, 0x8C1E6B, 0x3A5CC8};

void FillPictureStrip(framework::TImageList& images)
{
  framework::TBitmap strip(images.Width() * 3, images.Height());
  for (int32_t y = 0; y < strip.Height(); ++y)
    for (int32_t x = 0; x < strip.Width(); ++x) {
      const bool inside = x % images.Width() < kPictureSize && y < kPictureSize;
      strip.ScanLine(y)[x] = inside ? kPictureColours[x / images.Width()] : 0xFF00FF;
    }
  images.Add(strip);
}

// Items with pictures from the menu's image list: a checked item shows its
// picture on a box pressed in with the button-face pattern, an unchecked
// one its picture alone over the menu background, a disabled one its
// picture in the shadow colour only.
TEST_F(SkinMenusTest, ImageListPicturesAreDrawnInTheGlyphBox)
{
  for (const uint32_t colour : kPictureColours)
    ASSERT_FALSE(probeskin::FindProbeFrame(colour, 0).has_value()) << DescribePixel(colour);
  auto* images = new framework::TImageList(&form);
  FillPictureStrip(*images);
  ASSERT_EQ(images->Count(), 3);
  bar->SetImages(images);
  framework::TMenuItem* pictures = Add(bar->Items(), "&Pictures");
  // The first item takes the selection the opening gives.
  Add(pictures, "&Plain");
  framework::TMenuItem* checked = Add(pictures, "&Checked");
  checked->SetImageIndex(0);
  checked->SetChecked(true);
  Add(pictures, "&Unchecked")->SetImageIndex(1);
  framework::TMenuItem* disabled = Add(pictures, "&Disabled");
  disabled->SetImageIndex(2);
  disabled->SetEnabled(false);

  skin::TWinSkinForm* frame = ShowFramed();
  ASSERT_NE(frame, nullptr);
  ASSERT_EQ(frame->MenuBar()->Count(), 4u);
  const TShownPopup popup = CaptureBarMenu(*frame, 3, 4);
  ASSERT_TRUE(popup.Opened);
  const TCapture& shown = popup.Shown;
  // The glyph box of an item: 1 pixel in, past the item image's left part.
  const auto box = [&](size_t item) {
    const RECT r = popup.Local(item);
    const int32_t left = r.left + 1 + data_->MenuItem->LeftWidth;
    return RECT{left, r.top + 1, left + images->Width(), r.top + 1 + images->Height()};
  };
  const auto picture = [&](const RECT& b) { return RECT{b.left, b.top, b.left + kPictureSize, b.top + kPictureSize}; };
  const int32_t area = kPictureSize * kPictureSize;
  const uint32_t face = SystemRgb(COLOR_BTNFACE), highlight = SystemRgb(COLOR_BTNHIGHLIGHT);
  const uint32_t shadow = SystemRgb(COLOR_BTNSHADOW);

  const RECT checkedBox = box(1);
  EXPECT_EQ(shown.Count(kPictureColours[0], picture(checkedBox)), area);
  EXPECT_EQ(shown.Count(kPictureColours[0], popup.Local(1)), area);
  // Where the picture is transparent the pattern shows, alternating.
  const RECT corner{checkedBox.left + kPictureSize, checkedBox.top + kPictureSize, checkedBox.right,
                    checkedBox.bottom};
  const int32_t cornerArea = (corner.right - corner.left) * (corner.bottom - corner.top);
  EXPECT_EQ(shown.Count(face, corner) + shown.Count(highlight, corner), cornerArea);
  EXPECT_NE(shown.At(corner.left, corner.top), shown.At(corner.left + 1, corner.top));
  // The sunken edge just outside the box: shadow above and left, highlight
  // below and right.
  const int32_t midY = checkedBox.top + images->Height() / 2, midX = checkedBox.left + images->Width() / 2;
  EXPECT_EQ(shown.At(checkedBox.left - 1, midY), shadow) << DescribePixel(shown.At(checkedBox.left - 1, midY));
  EXPECT_EQ(shown.At(midX, checkedBox.top - 1), shadow) << DescribePixel(shown.At(midX, checkedBox.top - 1));
  EXPECT_EQ(shown.At(checkedBox.right, midY), highlight) << DescribePixel(shown.At(checkedBox.right, midY));
  EXPECT_EQ(shown.At(midX, checkedBox.bottom), highlight) << DescribePixel(shown.At(midX, checkedBox.bottom));

  const RECT plainBox = box(2);
  EXPECT_EQ(shown.Count(kPictureColours[1], picture(plainBox)), area);
  const POINT plainCorner{plainBox.right - 2, plainBox.bottom - 2};
  EXPECT_TRUE(ShowsFrame(shown.At(plainCorner.x, plainCorner.y), "menubackground.bmp", 0))
    << DescribePixel(shown.At(plainCorner.x, plainCorner.y));
  EXPECT_TRUE(ShowsFrame(shown.At(plainBox.left - 1, plainBox.top + 5), "menubackground.bmp", 0))
    << DescribePixel(shown.At(plainBox.left - 1, plainBox.top + 5));

  const RECT disabledBox = box(3);
  EXPECT_EQ(shown.Count(kPictureColours[2], popup.Local(3)), 0);
  EXPECT_EQ(shown.Count(shadow, picture(disabledBox)), area);
}

// The context menu of the form is skinned like the bar's drop-downs: framed
// with the menu background, and its separator cut from the item image's
// second frame rather than the system's etched line.
TEST_F(SkinMenusTest, TheContextMenuIsSkinned)
{
  skin::TWinSkinForm* frame = ShowFramed();
  ASSERT_NE(frame, nullptr);
  const HMENU menu = context->Handle();
  std::atomic<bool> opened{false};
  RECT windowRect{}, line{};
  TCapture shown(0, 0, {});
  AsUser([&] {
    Click(WindowToScreen(form.Handle(), {200, 150}), TMouseButton::Right);
    opened = WaitForShownMenu(menu);
    if (!opened)
      return;
    line = ItemRect(menu, 1);
    Sleep(250);
    GetWindowRect(VisibleMenuWindow(), &windowRect);
    shown = CaptureScreen(windowRect);
    CloseMenus();
  });
  ASSERT_TRUE(opened);
  EXPECT_TRUE(ShowsFrame(shown.At(0, 0), "menubackground.bmp", 0)) << DescribePixel(shown.At(0, 0));
  EXPECT_EQ(HeightOf(line), skin::kMenuSeparatorHeight);
  OffsetRect(&line, -windowRect.left, -windowRect.top);
  EXPECT_GT(CensusOf(shown, line).Count("menuitem.bmp", 1), 0);
  EXPECT_TRUE(clicked.empty());
}

// A right click on the caption opens the skinned system menu: its items
// are drawn by the frame over the menu background, not in the system's
// menu colour, and its separators as lines.
TEST_F(SkinMenusTest, TheSystemMenusItemsAreDrawnFromTheSkin)
{
  skin::TWinSkinForm* frame = ShowFramed();
  ASSERT_NE(frame, nullptr);
  std::atomic<HMENU> menu{nullptr};
  std::atomic<ULONG_PTR> tag{0};
  RECT windowRect{}, first{}, line{};
  TCapture shown(0, 0, {});
  AsUser([&] {
    Click(WindowToScreen(form.Handle(), {150, 12}), TMouseButton::Right);
    const DWORD end = GetTickCount() + 3000;
    while (!ShownMenu() && int32_t(GetTickCount() - end) < 0)
      Sleep(15);
    menu = ShownMenu();
    if (!menu)
      return;
    // The menu is built for each opening and gone once it closes.
    MENUINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIM_MENUDATA;
    if (GetMenuInfo(menu, &info))
      tag = info.dwMenuData;
    first = ItemRect(menu, 0);
    for (UINT i = 0; i < UINT(GetMenuItemCount(menu)); ++i)
      if (HeightOf(ItemRect(menu, i)) == skin::kMenuSeparatorHeight) {
        line = ItemRect(menu, i);
        break;
      }
    Sleep(250);
    GetWindowRect(VisibleMenuWindow(), &windowRect);
    shown = CaptureScreen(windowRect);
    CloseMenus();
  });
  ASSERT_NE(menu.load(), nullptr);
  EXPECT_EQ(tag.load(), skin::kSystemMenuTag);
  EXPECT_GT(HeightOf(first), skin::kMenuSeparatorHeight);
  OffsetRect(&first, -windowRect.left, -windowRect.top);
  const TFrameCensus census = CensusOf(shown, first);
  EXPECT_GT(census.Count("menubackground.bmp", 0), census.Unnamed);
  // A separator of the system menu is an etched line across most of it.
  ASSERT_EQ(HeightOf(line), skin::kMenuSeparatorHeight);
  OffsetRect(&line, -windowRect.left, -windowRect.top);
  const RECT etched{line.left, line.top + 4, line.right, line.top + 5};
  EXPECT_GT(shown.Count(SystemRgb(COLOR_BTNSHADOW), etched), (line.right - line.left) / 2);
  EXPECT_TRUE(clicked.empty());
}

// Opening and closing a bar menu many times leaves no handles behind.
TEST_F(SkinMenusTest, ManyOpeningsKeepTheHandleCountsFlat)
{
  skin::TWinSkinForm* frame = ShowFramed();
  ASSERT_NE(frame, nullptr);
  const HMENU fileMenu = DropDown(*frame, 0);
  const auto openAndClose = [&] {
    AsUser([&] {
      Click(ButtonCentre(*frame, 0));
      if (WaitForShownMenu(fileMenu))
        CloseMenus();
    });
  };
  openAndClose();
  const TResourceCount before = CountResources();
  int32_t opened = 0;
  for (int i = 0; i < 20; ++i) {
    std::atomic<bool> shown{false};
    AsUser([&] {
      Click(ButtonCentre(*frame, 0));
      shown = WaitForShownMenu(fileMenu);
      CloseMenus();
    });
    opened += shown;
  }
  const TResourceCount after = CountResources();
  EXPECT_EQ(opened, 20);
  EXPECT_EQ(after.Gdi, before.Gdi);
  EXPECT_EQ(after.User, before.User);
}

} // namespace
