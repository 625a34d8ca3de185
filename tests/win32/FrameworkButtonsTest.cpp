// Bitmap and speed buttons: their properties and glyph through a form
// description and back, the down groups of speed buttons, clicks raised on
// release through real mouse messages, and what they paint without a skin.
#include <windows.h>

#include <gtest/gtest.h>

#include "FrameworkTestSupport.h"
#include "framework/FormDescription.h"
#include "framework/win32/ButtonGlyph.h"
#include "framework/win32/Buttons.h"

#include <map>

using namespace framework;
using namespace frameworktest;

namespace {

constexpr gfx::TPixel kKey = 0xFF00FF;

// A strip of parts, each filled with its own colour, the bottom-left pixel
// of each in the key colour.
void PaintStrip(TBitmap& strip, int32_t partWidth, std::initializer_list<gfx::TPixel> colours)
{
  strip.SetSize(partWidth * int32_t(colours.size()), 16);
  int32_t x = 0;
  for (const gfx::TPixel colour : colours) {
    strip.Context().FillRect(gfx::TRect::Bounds(x, 0, partWidth, 16), colour);
    strip.Context().SetPixel(x, 15, kKey);
    x += partWidth;
  }
}

gfx::TPixel PixelAt(const TBitmap& bitmap, int32_t x, int32_t y) { return bitmap.ScanLine(y)[x] & 0xFFFFFFu; }

uint32_t SysColour(int index)
{
  const COLORREF c = GetSysColor(index);
  return (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c);
}

class GlyphButtonsTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    InitApplication();
    form = new TForm(Application);
    form->SetBounds(60, 60, 320, 200);
  }
  void TearDown() override
  {
    delete form;
    Pump(20);
  }

  template <class T>
  T* Make(const std::string& name, int x, int y, int w, int h)
  {
    auto* control = new T(form);
    control->SetName(name);
    control->SetParent(form);
    control->SetBounds(x, y, w, h);
    return control;
  }

  void ShowForm()
  {
    form->Show();
    SetForegroundWindow(form->Handle());
    Pump(150);
  }

  // A left press and release at points of the form's client area, sent as
  // the window would get them.
  void PressAndRelease(POINT down, POINT up)
  {
    SendMessageW(form->Handle(), WM_MOUSEMOVE, 0, Point(down.x, down.y));
    SendMessageW(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Point(down.x, down.y));
    SendMessageW(form->Handle(), WM_MOUSEMOVE, MK_LBUTTON, Point(up.x, up.y));
    SendMessageW(form->Handle(), WM_LBUTTONUP, 0, Point(up.x, up.y));
  }

  TForm* form = nullptr;
};

TEST_F(GlyphButtonsTest, PropertiesAndGlyphsGoThroughAFormDescriptionAndBack)
{
  form->SetName("ButtonForm");
  auto* images = new TImageList(form);
  images->SetName("Images");
  auto* bit = Make<TBitBtn>("Bit", 10, 10, 90, 40);
  bit->SetCaption("Play");
  PaintStrip(bit->Glyph()->Bitmap(), 12, {0xC02020, 0x20C020});
  bit->SetNumGlyphs(2);
  bit->SetLayout(blGlyphTop);
  bit->SetMargin(3);
  bit->SetSpacing(-1);
  bit->SetModalResult(1);
  bit->SetDefault(true);
  bit->SetImages(images);
  bit->SetImageIndex(2);
  bit->SetDisabledIndex(1);
  auto* first = Make<TSpeedButton>("First", 110, 10, 30, 30);
  auto* second = Make<TSpeedButton>("Second", 140, 10, 30, 30);
  for (TSpeedButton* speed : {first, second}) {
    speed->SetGroupIndex(3);
    speed->SetFlat(true);
  }
  second->SetAllowAllUp(true);
  second->SetDown(true);
  second->SetCaption("Loop");
  second->SetLayout(blGlyphRight);
  PaintStrip(second->Glyph()->Bitmap(), 16, {0x2020C0});
  Make<TSpeedButton>("Plain", 180, 10, 30, 30);

  std::map<std::string, std::vector<uint8_t>> files;
  const std::string text = WriteFormDescription(DescribeComponentTree(
    *form, [&](const std::string& name, const std::vector<uint8_t>& bytes) {
      files[name] = bytes;
      return name;
    }));
  EXPECT_NE(text.find("Glyph.Data = file"), std::string::npos) << text;
  // Defaults are not written: the plain button stores no glyph, layout or group.
  const std::string plain = text.substr(text.find("TSpeedButton Plain"));
  EXPECT_EQ(plain.find("Glyph"), std::string::npos) << plain;
  EXPECT_EQ(plain.find("GroupIndex"), std::string::npos) << plain;

  TForm copy(nullptr);
  ReadComponentTree(copy, ParseFormDescription(text), [&](const std::string& name) { return files.at(name); });
  auto* bitCopy = dynamic_cast<TBitBtn*>(copy.FindComponent("Bit"));
  auto* firstCopy = dynamic_cast<TSpeedButton*>(copy.FindComponent("First"));
  auto* secondCopy = dynamic_cast<TSpeedButton*>(copy.FindComponent("Second"));
  ASSERT_TRUE(bitCopy && firstCopy && secondCopy);
  EXPECT_EQ(bitCopy->NumGlyphs(), 2);
  EXPECT_EQ(bitCopy->Layout(), blGlyphTop);
  EXPECT_EQ(bitCopy->Margin(), 3);
  EXPECT_EQ(bitCopy->Spacing(), -1);
  EXPECT_EQ(bitCopy->ModalResult(), 1);
  EXPECT_TRUE(bitCopy->Default());
  EXPECT_EQ(bitCopy->Images(), copy.FindComponent("Images"));
  EXPECT_EQ(bitCopy->ImageIndex(), 2);
  EXPECT_EQ(bitCopy->DisabledIndex(), 1);
  const TBitmap& glyph = bitCopy->Glyph()->Bitmap();
  ASSERT_EQ(glyph.Width(), 24);
  EXPECT_EQ(PixelAt(glyph, 3, 3), 0xC02020u);
  EXPECT_EQ(PixelAt(glyph, 15, 3), 0x20C020u);
  EXPECT_EQ(PixelAt(glyph, 12, 15), kKey);

  EXPECT_FALSE(firstCopy->Down());
  EXPECT_TRUE(secondCopy->Down());
  EXPECT_TRUE(secondCopy->Flat());
  EXPECT_TRUE(secondCopy->AllowAllUp());
  EXPECT_EQ(secondCopy->GroupIndex(), 3);
  EXPECT_EQ(secondCopy->Caption(), "Loop");
  EXPECT_EQ(secondCopy->Layout(), blGlyphRight);
  EXPECT_EQ(PixelAt(secondCopy->Glyph()->Bitmap(), 8, 8), 0x2020C0u);
}

TEST_F(GlyphButtonsTest, OneSpeedButtonOfAGroupIsDown)
{
  auto* a = Make<TSpeedButton>("A", 10, 10, 30, 30);
  auto* b = Make<TSpeedButton>("B", 40, 10, 30, 30);
  auto* other = Make<TSpeedButton>("Other", 70, 10, 30, 30);
  auto* loose = Make<TSpeedButton>("Loose", 100, 10, 30, 30);
  a->SetGroupIndex(1);
  b->SetGroupIndex(1);
  other->SetGroupIndex(2);
  other->SetDown(true);

  a->SetDown(true);
  b->SetDown(true);
  EXPECT_FALSE(a->Down());
  EXPECT_TRUE(b->Down());
  EXPECT_TRUE(other->Down()) << "another group is left alone";
  // Without AllowAllUp the group keeps its down button.
  b->SetDown(false);
  EXPECT_TRUE(b->Down());
  a->SetAllowAllUp(true);
  EXPECT_TRUE(b->AllowAllUp()) << "the whole group shares AllowAllUp";
  b->SetDown(false);
  EXPECT_FALSE(b->Down());
  // A button of no group never stays down.
  loose->SetDown(true);
  EXPECT_FALSE(loose->Down());
  // Leaving the group for index 0 lets it up.
  other->SetGroupIndex(0);
  EXPECT_FALSE(other->Down());
}

TEST_F(GlyphButtonsTest, SpeedButtonsClickOnReleaseOverThem)
{
  auto* a = Make<TSpeedButton>("A", 10, 10, 30, 30);
  auto* b = Make<TSpeedButton>("B", 40, 10, 30, 30);
  int aClicks = 0;
  bool downWhenClicked = false;
  a->OnClick = TNotifyEvent([&](TObject*) {
    ++aClicks;
    downWhenClicked = a->Down();
  });
  a->SetGroupIndex(1);
  b->SetGroupIndex(1);
  ShowForm();

  // Pressed, dragged off and released elsewhere: no click, nothing down.
  PressAndRelease({20, 20}, {200, 150});
  EXPECT_EQ(aClicks, 0);
  EXPECT_FALSE(a->Down());
  // Released over it: one click, raised once the button is down.
  PressAndRelease({20, 20}, {25, 22});
  EXPECT_EQ(aClicks, 1);
  EXPECT_TRUE(downWhenClicked);
  // The down button of a group without AllowAllUp clicks but stays down.
  PressAndRelease({20, 20}, {20, 20});
  EXPECT_EQ(aClicks, 2);
  EXPECT_TRUE(a->Down());
  PressAndRelease({50, 20}, {50, 20});
  EXPECT_TRUE(b->Down());
  EXPECT_FALSE(a->Down());
  // A disabled button takes no press.
  a->SetEnabled(false);
  PressAndRelease({20, 20}, {20, 20});
  EXPECT_EQ(aClicks, 2);
}

TEST_F(GlyphButtonsTest, UnskinnedButtonsPaintTheirFaceAndGlyph)
{
  auto* bit = Make<TBitBtn>("Bit", 10, 10, 80, 40);
  PaintStrip(bit->Glyph()->Bitmap(), 16, {0xC02020});
  auto* flat = Make<TSpeedButton>("Flat", 120, 10, 40, 30);
  flat->SetFlat(true);
  ShowForm();
  const HWND window = bit->Handle();
  // No caption: the glyph is centred, with its key colour showing the face.
  EXPECT_EQ(ScreenPixel(window, 40, 20), 0xC02020u);
  EXPECT_EQ(ScreenPixel(window, 32, 27), SysColour(COLOR_BTNFACE));

  // A flat speed button shows its edge only with the mouse over it.
  const HWND client = form->Handle();
  EXPECT_EQ(ScreenPixel(client, 120, 10), ScreenPixel(client, 115, 10));
  SendMessageW(client, WM_MOUSEMOVE, 0, Point(140, 25));
  ASSERT_TRUE(flat->MouseInControl());
  form->Update();
  EXPECT_EQ(ScreenPixel(client, 120, 10), SysColour(COLOR_BTNHIGHLIGHT));
}

TEST(ButtonGlyph, EmbossingDrawsDarkShapesInShadowOverAHighlightCopy)
{
  InitApplication();
  TBitmap glyph(8, 8);
  glyph.Pixmap().Fill(kKey);
  glyph.Context().SetPixel(2, 2, 0x000000);
  glyph.Context().SetPixel(5, 2, 0xF0F0F0); // light: vanishes
  const std::unique_ptr<TBitmap> embossed = EmbossGlyph(glyph);
  EXPECT_EQ(PixelAt(*embossed, 2, 2), SysColour(COLOR_BTNSHADOW));
  EXPECT_EQ(PixelAt(*embossed, 3, 3), SysColour(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(PixelAt(*embossed, 5, 2), SysColour(COLOR_BTNFACE));
  EXPECT_EQ(PixelAt(*embossed, 0, 7), SysColour(COLOR_BTNFACE));

  // A one-part strip asked for its disabled look gives exactly that.
  TGlyphSource source;
  source.Strip = &glyph;
  const std::unique_ptr<TBitmap> disabled = GlyphForLook(source, gpDisabled);
  EXPECT_EQ(PixelAt(*disabled, 3, 3), SysColour(COLOR_BTNHIGHLIGHT));
}

} // namespace
