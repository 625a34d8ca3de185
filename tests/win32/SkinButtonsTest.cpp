// Skinned glyph, speed and drop-down buttons on a real form under the probe
// skin: which companion each gets, where the glyph lands for each layout,
// margin and spacing, the embossed glyph of a disabled button, the faces of
// flat and down speed buttons under the real mouse, a speed button's click,
// the drop-down arrow, and what is given back when a button or the skin goes.
#include "framework/win32/Buttons.h"
#include "skin/controls/ControlAttach.h"
#include "skin/controls/SkinControl.h"
#include "tests/win32/SkinnedWindowSupport.h"

#include <gtest/gtest.h>

using namespace testsupport;

namespace {

// Glyph colours: no probe colour has a channel at 0 or 255.
constexpr gfx::TPixel kUpColour = 0x00FF80;
constexpr gfx::TPixel kDisabledColour = 0xFF8000;
constexpr gfx::TPixel kKey = 0xFF00FF;

// A button class of another family that publishes its kind as text: the
// skin's "bitbtn" rule gives it the drop-down look when the kind says so.
class TcxButton : public framework::TBitBtn {
public:
  explicit TcxButton(framework::TComponent* owner) : TBitBtn(owner) {}
  static const framework::TClassInfo& ClassType()
  {
    static framework::TClassInfo info("TcxButton", &framework::TBitBtn::ClassType());
    static const bool described = [] {
      info.Str("Kind", &TcxButton::Kind, &TcxButton::SetKind);
      return true;
    }();
    (void)described;
    return info;
  }
  [[nodiscard]] const framework::TClassInfo& ClassInfo() const override { return ClassType(); }
  [[nodiscard]] std::string Kind() const { return kind_; }
  void SetKind(const std::string& value) { kind_ = value; }

private:
  std::string kind_;
};

// A strip of 16 x 16 parts in the given colours, each with its bottom-left
// pixel in the key colour.
void PaintStrip(framework::TBitmap& strip, std::initializer_list<gfx::TPixel> colours)
{
  strip.SetSize(16 * int32_t(colours.size()), 16);
  int32_t x = 0;
  for (const gfx::TPixel colour : colours) {
    strip.Context().FillRect(gfx::TRect::Bounds(x, 0, 16, 16), colour);
    strip.Context().SetPixel(x, 15, kKey);
    x += 16;
  }
}

// The smallest rectangle holding every pixel of the colour; empty when none.
RECT BoxOf(const TCapture& capture, uint32_t colour)
{
  RECT box{capture.Width(), capture.Height(), 0, 0};
  for (int32_t y = 0; y < capture.Height(); ++y)
    for (int32_t x = 0; x < capture.Width(); ++x)
      if (capture.At(x, y) == colour) {
        box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x + 1),
               std::max<LONG>(box.bottom, y + 1)};
      }
  return box.right > box.left ? box : RECT{};
}

::testing::AssertionResult GlyphAt(const TCapture& capture, uint32_t colour, POINT topLeft)
{
  const RECT box = BoxOf(capture, colour);
  if (box.left == topLeft.x && box.top == topLeft.y && box.right == topLeft.x + 16 && box.bottom == topLeft.y + 16)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "glyph at (" << box.left << ", " << box.top << ")-(" << box.right << ", "
                                       << box.bottom << "), expected at (" << topLeft.x << ", " << topLeft.y << ")";
}

// Columns [left, right) of rows [top, bottom) that show anything but colour.
int32_t OtherPixels(const TCapture& capture, RECT area, uint32_t colour)
{
  const int32_t all = (area.right - area.left) * (area.bottom - area.top);
  return all - capture.Count(colour, area);
}

bool Skinned(framework::TControl& control) { return control.Perform(skin::WM_SKIN_QUERY) == 1; }

uint32_t Probe(int32_t frame) { return probeskin::ProbeColour("buttons.bmp", frame); }

// Waits for a point of the form (window coordinates) to show a frame of the
// button face: looks that follow input show once its messages are through.
::testing::AssertionResult FormShows(HWND form, POINT at, int32_t frame)
{
  if (WaitForWindowPixel(form, at, Probe(frame), 2000))
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "buttons.bmp frame " << frame << " expected, shows "
                                       << DescribePixel(WindowPixel(form, at.x, at.y));
}

// Whether the pixel shows any frame of the button face.
bool ShowsButtonFace(uint32_t pixel)
{
  const auto frame = probeskin::FindProbeFrame(pixel);
  return frame && frame->Bitmap() == "buttons.bmp";
}

class SkinButtonsTest : public TSkinnedSuite<&ProbeSkinPackage> {
protected:
  static void SetUpTestSuite()
  {
    TSkinnedSuite::SetUpTestSuite();
    data_->Skin3rd()->Add("TcxButton=bitbtn");
  }

  struct TButtonForm {
    framework::TForm Form{nullptr};
    framework::TButton* Focus = nullptr; // holds the focus away from the buttons tested
    framework::TBitBtn* Bit = nullptr;
    framework::TSpeedButton* Flat = nullptr;
    framework::TSpeedButton* Raised = nullptr;
    TcxButton* DropDown = nullptr;
    int Clicks = 0;

    explicit TButtonForm(const std::string& dropDownKind = "cxbkDropDownButton")
    {
      Form.SetBounds(80, 80, 420, 260);
      Focus = Make<framework::TButton>(300, 150, 80, 25);
      Bit = Make<framework::TBitBtn>(10, 10, 100, 40);
      PaintStrip(Bit->Glyph()->Bitmap(), {kUpColour});
      Flat = Make<framework::TSpeedButton>(130, 10, 40, 30);
      Flat->SetFlat(true);
      Flat->SetGroupIndex(1);
      Flat->SetAllowAllUp(true);
      Raised = Make<framework::TSpeedButton>(180, 10, 40, 30);
      Raised->OnClick = framework::TNotifyEvent([this](framework::TObject*) { ++Clicks; });
      DropDown = Make<TcxButton>(10, 70, 120, 30);
      DropDown->SetKind(dropDownKind);
      DropDown->SetSpacing(-1);
      Form.Show();
      BringToFront(Form.Handle());
    }

    template <class T>
    T* Make(int x, int y, int w, int h)
    {
      auto* control = new T(&Form);
      control->SetParent(&Form);
      control->SetBounds(x, y, w, h);
      return control;
    }

    // A point of a windowless control in the form's window coordinates.
    POINT InForm(const framework::TControl& control, int x, int y)
    {
      const RECT client = ClientRectInWindow(Form.Handle());
      return {client.left + control.Left() + x, client.top + control.Top() + y};
    }
    POINT OnScreen(const framework::TControl& control)
    {
      return WindowToScreen(Form.Handle(), InForm(control, control.Width() / 2, control.Height() / 2));
    }
    TCapture Repainted(framework::TWinControl& control)
    {
      SetFocus(Focus->Handle());
      control.Invalidate();
      PumpMessages(60);
      return CaptureWindow(control.Handle());
    }
  };
};

TEST_F(SkinButtonsTest, GlyphSpeedAndDropDownButtonsGetCompanions)
{
  TButtonForm f;
  skin::TWinSkinForm* frame = WaitForFrame(f.Form.Handle());
  ASSERT_NE(frame, nullptr);
  EXPECT_TRUE(Skinned(*f.Bit));
  EXPECT_TRUE(Skinned(*f.Flat));
  EXPECT_TRUE(Skinned(*f.Raised));
  EXPECT_TRUE(Skinned(*f.DropDown));
  const size_t count = frame->CompanionCount();
  skin::SkinFormControls(*frame, f.Form);
  EXPECT_EQ(frame->CompanionCount(), count) << "a second pass attaches nothing new";
}

TEST_F(SkinButtonsTest, GlyphLandsWhereLayoutMarginAndSpacingPutIt)
{
  TButtonForm f;
  ASSERT_NE(WaitForFrame(f.Form.Handle()), nullptr);
  framework::TBitBtn& bit = *f.Bit; // 100 x 40, a 16 x 16 glyph
  EXPECT_TRUE(GlyphAt(f.Repainted(bit), kUpColour, {42, 12})) << "centred";
  bit.SetMargin(5);
  EXPECT_TRUE(GlyphAt(f.Repainted(bit), kUpColour, {5, 12})) << "left";
  bit.SetLayout(framework::blGlyphRight);
  bit.SetMargin(7);
  EXPECT_TRUE(GlyphAt(f.Repainted(bit), kUpColour, {77, 12})) << "right";
  bit.SetLayout(framework::blGlyphTop);
  bit.SetMargin(3);
  EXPECT_TRUE(GlyphAt(f.Repainted(bit), kUpColour, {42, 3})) << "top";
  bit.SetLayout(framework::blGlyphBottom);
  bit.SetMargin(4);
  EXPECT_TRUE(GlyphAt(f.Repainted(bit), kUpColour, {42, 20})) << "bottom";

  // With a caption the spacing separates the two: nothing but the face
  // between glyph and caption, the caption right after.
  bit.SetCaption("Go");
  bit.SetLayout(framework::blGlyphLeft);
  bit.SetMargin(2);
  bit.SetSpacing(6);
  TCapture shown = f.Repainted(bit);
  EXPECT_TRUE(GlyphAt(shown, kUpColour, {2, 12}));
  const uint32_t face = Probe(0);
  EXPECT_EQ(OtherPixels(shown, {18, 4, 24, 36}, face), 0) << "the spacing is clear";
  EXPECT_GT(OtherPixels(shown, {24, 4, 30, 36}, face), 0) << "the caption starts after the spacing";

  bit.SetLayout(framework::blGlyphRight);
  shown = f.Repainted(bit);
  EXPECT_TRUE(GlyphAt(shown, kUpColour, {82, 12}));
  EXPECT_EQ(OtherPixels(shown, {76, 4, 82, 36}, face), 0);
  EXPECT_GT(OtherPixels(shown, {60, 4, 76, 36}, face), 0) << "the caption ends before the spacing";
}

TEST_F(SkinButtonsTest, DisabledButtonShowsItsDisabledPartOrAnEmbossedGlyph)
{
  TButtonForm f;
  ASSERT_NE(WaitForFrame(f.Form.Handle()), nullptr);
  framework::TBitBtn& bit = *f.Bit;
  // One part: a dark square on the key colour, embossed when disabled.
  framework::TBitmap& glyph = bit.Glyph()->Bitmap();
  glyph.Pixmap().Fill(kKey);
  glyph.Context().FillRect({5, 5, 11, 11}, 0x000000);
  bit.SetEnabled(false);
  TCapture shown = f.Repainted(bit);
  // The glyph stands at (42, 12): the square at (47, 17)-(53, 23).
  EXPECT_EQ(shown.At(47, 17), RgbOf(GetSysColor(COLOR_BTNSHADOW))) << DescribePixel(shown.At(47, 17));
  EXPECT_EQ(shown.At(53, 23), RgbOf(GetSysColor(COLOR_BTNHIGHLIGHT))) << DescribePixel(shown.At(53, 23));
  // The rest of the glyph is transparent: the disabled face shows.
  EXPECT_TRUE(ShowsFrame(shown.At(44, 14), "buttons.bmp", 2)) << DescribePixel(shown.At(44, 14));

  // A strip with a disabled part shows that part instead.
  PaintStrip(bit.Glyph()->Bitmap(), {kUpColour, kDisabledColour});
  bit.SetNumGlyphs(2);
  shown = f.Repainted(bit);
  EXPECT_TRUE(GlyphAt(shown, kDisabledColour, {42, 12}));
  EXPECT_EQ(BoxOf(shown, kUpColour).right, 0);
}

TEST_F(SkinButtonsTest, FlatSpeedButtonShowsItsFaceOnlyWhenHotOrDown)
{
  TButtonForm f;
  ASSERT_NE(WaitForFrame(f.Form.Handle()), nullptr);
  const HWND form = f.Form.Handle();
  const POINT spot = f.InForm(*f.Flat, 4, 15);
  const TCursorRestorer cursor;
  MoveMouse({10, 10});
  PumpMessages(100);
  EXPECT_FALSE(ShowsButtonFace(WindowPixel(form, spot.x, spot.y))) << DescribePixel(WindowPixel(form, spot.x, spot.y));
  // A raised button shows the normal face at rest.
  const POINT raised = f.InForm(*f.Raised, 4, 15);
  EXPECT_TRUE(FormShows(form, raised, 0)) << "raised at rest";

  MoveMouse(f.OnScreen(*f.Flat));
  EXPECT_TRUE(FormShows(form, spot, 3)) << "hot";
  // The system tells the form that the mouse left only at its next check,
  // up to the hover time later.
  MoveMouse({10, 10});
  EXPECT_TRUE(PumpUntil([&] { return !ShowsButtonFace(WindowPixel(form, spot.x, spot.y)); }, 2000))
    << "after leaving: " << DescribePixel(WindowPixel(form, spot.x, spot.y));

  // Down shows the pressed frame without the mouse.
  f.Flat->SetDown(true);
  EXPECT_TRUE(FormShows(form, spot, 1)) << "down";
}

TEST_F(SkinButtonsTest, SpeedButtonLooksPressedWhileHeldAndClicksOnce)
{
  TButtonForm f;
  ASSERT_NE(WaitForFrame(f.Form.Handle()), nullptr);
  const HWND form = f.Form.Handle();
  const POINT spot = f.InForm(*f.Raised, 4, 15);
  const POINT centre = f.OnScreen(*f.Raised);
  const TCursorRestorer cursor;
  MoveMouse(centre);
  EXPECT_TRUE(FormShows(form, spot, 3)) << "hot";
  MouseDown(centre);
  EXPECT_TRUE(FormShows(form, spot, 1)) << "pressed";
  EXPECT_EQ(f.Clicks, 0) << "no click before the release";
  MouseUp(centre);
  PumpMessages(150);
  EXPECT_EQ(f.Clicks, 1);
  EXPECT_TRUE(FormShows(form, spot, 3)) << "hot again";
}

TEST_F(SkinButtonsTest, DropDownButtonDrawsItsArrowAfterTheCaption)
{
  TButtonForm f;
  ASSERT_NE(WaitForFrame(f.Form.Handle()), nullptr);
  TcxButton& button = *f.DropDown;
  // 120 wide, no glyph and no caption: a quarter of 120 is the margin and
  // the spacing, so the arrow's tip stands at (90, 17), its base on row 14.
  TCapture shown = f.Repainted(button);
  const uint32_t text = RgbOf(GetSysColor(COLOR_WINDOWTEXT));
  for (const POINT p : {POINT{90, 17}, POINT{90, 15}, POINT{87, 14}, POINT{93, 14}})
    EXPECT_EQ(shown.At(p.x, p.y), text) << p.x << ", " << p.y << ": " << DescribePixel(shown.At(p.x, p.y));
  for (const POINT p : {POINT{86, 14}, POINT{94, 14}, POINT{90, 18}, POINT{87, 16}})
    EXPECT_TRUE(ShowsFrame(shown.At(p.x, p.y), "buttons.bmp", 0)) << p.x << ", " << p.y << ": "
                                                                  << DescribePixel(shown.At(p.x, p.y));
  button.SetEnabled(false);
  shown = f.Repainted(button);
  EXPECT_EQ(shown.At(90, 15), RgbOf(GetSysColor(COLOR_BTNSHADOW))) << DescribePixel(shown.At(90, 15));
}

TEST_F(SkinButtonsTest, OnlyTheDropDownKindGetsTheArrow)
{
  TButtonForm f("cxbkStandard");
  ASSERT_NE(WaitForFrame(f.Form.Handle()), nullptr);
  const TCapture shown = f.Repainted(*f.DropDown);
  EXPECT_TRUE(ShowsFrame(shown.At(90, 15), "buttons.bmp", 0)) << DescribePixel(shown.At(90, 15));
}

TEST_F(SkinButtonsTest, FreeingASpeedButtonLeavesItsCompanionToBeDropped)
{
  TButtonForm f;
  skin::TWinSkinForm* frame = WaitForFrame(f.Form.Handle());
  ASSERT_NE(frame, nullptr);
  const size_t count = frame->CompanionCount();
  delete f.Flat;
  f.Flat = nullptr;
  PumpMessages(60);
  frame->DropDiscardedCompanions();
  EXPECT_EQ(frame->CompanionCount(), count - 1);
}

// Runs last: the skin going gives the speed button its own painting back.
TEST_F(SkinButtonsTest, TheSkinGoingGivesSpeedButtonsTheirOwnPaintingBack)
{
  TButtonForm f;
  ASSERT_NE(WaitForFrame(f.Form.Handle()), nullptr);
  skin::FinalizeSkinManager();
  EXPECT_FALSE(Skinned(*f.Raised));
  PumpMessages(100);
  const HWND form = f.Form.Handle();
  // Inside the raised edge: its inner highlight.
  const POINT corner = f.InForm(*f.Raised, 1, 1);
  EXPECT_EQ(WindowPixel(form, corner.x, corner.y), RgbOf(GetSysColor(COLOR_BTNHIGHLIGHT)))
    << DescribePixel(WindowPixel(form, corner.x, corner.y));
  // It still clicks on its own.
  const TCursorRestorer cursor;
  Click(f.OnScreen(*f.Raised));
  PumpMessages(150);
  EXPECT_EQ(f.Clicks, 1);
}

} // namespace
