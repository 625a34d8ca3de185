// The skin data model: the load sequence on the stored skin and on hostile
// descriptions, the derived images, and the component's properties, package
// property and lifecycle without a skin manager.
#include "skin/SkinData.h"

#include "framework/FormDescription.h"
#include "framework/TypeInfo.h"
#include "skin/BitmapUtils.h"
#include "skin/SkinMessages.h"
#include "skin/controls/ElementDraw.h"
#include "tests/skin/TestSkin.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

namespace {

using skin::TSkinData;

TSkinData& Load(TSkinData& data, const std::vector<uint8_t>& package)
{
  data.SetPackage(package);
  EXPECT_TRUE(data.ApplyPackage());
  return data;
}

gfx::TPixel Fill(const char* name)
{
  const auto& stored = testskin::StoredBitmaps();
  for (size_t k = 0; k < stored.size(); ++k)
    if (std::string(stored[k].Name) == name)
      return testskin::FillOf(k);
  ADD_FAILURE() << name;
  return 0;
}

gfx::TPixel At(const framework::TBitmap& b, int32_t x, int32_t y) { return b.ScanLine(y)[x] & 0xFFFFFF; }

class StoredSkin : public ::testing::Test {
protected:
  static void SetUpTestSuite() { package_ = new std::vector<uint8_t>(testskin::StoredPackage()); }
  static void TearDownTestSuite() { delete package_; }
  void SetUp() override { Load(data_, *package_); }

  static std::vector<uint8_t>* package_;
  TSkinData data_{nullptr};
};
std::vector<uint8_t>* StoredSkin::package_ = nullptr;

TEST_F(StoredSkin, EveryElementOfTheDescriptionWithItsFrameCount)
{
  const TSkinData& d = data_;
  EXPECT_FALSE(d.NotLoaded());
  EXPECT_EQ(d.SkinName(), "tarsel-TARSEL");

  EXPECT_EQ(d.Buttons->Image.Width(), 100);
  EXPECT_EQ(d.Buttons->Frame, 5);
  EXPECT_EQ(d.Buttons->LeftWidth, 5);
  EXPECT_EQ(d.Buttons->RightWidth, 6);
  EXPECT_EQ(d.Buttons->Trans, 1);
  EXPECT_EQ(d.Buttons->CheckButtonFrame, 12);
  EXPECT_EQ(d.Buttons->RadioButtonFrame, 8);
  EXPECT_EQ(d.Buttons->CheckImage.Width(), 156);
  EXPECT_FALSE(d.Buttons->HasNormalColour2);
  EXPECT_EQ(d.Buttons->NormalColour2, gfx::RGBColor(37, 67, 124));

  struct TExpect {
    const skin::TDataSkinObject* Element;
    const char* File;
    int32_t Frame;
  };
  const TExpect present[] = {
    {d.Progress.get(), "progress.bmp", 1},       {d.ProgressChunk.get(), "progresschunk.bmp", 0},
    {d.Tabs.get(), "tab.bmp", 5},                {d.TabPane.get(), "tabsheet.bmp", 1},
    {d.ComboButton.get(), "comboboxbtn.bmp", 4}, {d.StatusBarEdges.get(), "statusbar.bmp", 3},
    {d.Headerbar.get(), "header.bmp", 4},        {d.Scrollbar.get(), "scrollbararrow.bmp", 23},
    {d.HorzScrollThumb.get(), "scrollbarhthumb.bmp", 4}, {d.VertScrollThumb.get(), "scrollbarvthumb.bmp", 4},
    {d.HorzScroll.get(), "scrollbarhbar.bmp", 4}, {d.VertScroll.get(), "scrollbarvbar.bmp", 4},
    {d.MenuBackground.get(), "menubackground.bmp", 1}, {d.MenuItem.get(), "menuitem.bmp", 5},
    {d.ExtraImages.get(), "extraimages.bmp", 5}, {d.ThumbHorz.get(), "trackthumbh.bmp", 5},
    {d.ThumbDown.get(), "trackbot.bmp", 5},      {d.UpDownVert.get(), "spin.bmp", 8},
    {d.UpDownHorz.get(), "spinh.bmp", 8},
  };
  for (const TExpect& e : present) {
    ASSERT_NE(e.Element, nullptr) << e.File;
    EXPECT_EQ(e.Element->Frame, e.Frame) << e.File;
    ASSERT_FALSE(e.Element->Image.Empty()) << e.File;
    EXPECT_EQ(At(e.Element->Image, 1, 1), Fill(e.File)) << e.File;
  }
  // The chunk has no frame key; it is still cut as one frame.
  EXPECT_EQ(d.ProgressChunk->FrameCount(), 1);
  EXPECT_EQ(d.Progress->Tile, 1);
  EXPECT_EQ(d.StatusBarEdges->LeftWidth, 50);
  EXPECT_EQ(d.TabPane->RightWidth, 4);
  EXPECT_EQ(d.TabPane->BottomHeight, 4);
  EXPECT_EQ(At(d.UpDownVert->Image2, 1, 1), Fill("spinarrow.bmp"));
  EXPECT_EQ(At(d.UpDownHorz->Image2, 1, 1), Fill("spinharrow.bmp"));

  for (const auto* absent : {d.SunkEdge.get(), d.GroupBoxEdge.get(), d.ToolBars.get(), d.MenuBar.get(),
                             d.ThumbVert.get(), d.ThumbLeft.get(), d.ThumbRight.get(), d.ThumbUp.get()})
    EXPECT_EQ(absent, nullptr);
  EXPECT_EQ(d.GroupBox, nullptr);

  // Without track sections the program's own bitmaps stand in.
  ASSERT_NE(d.Track, nullptr);
  EXPECT_EQ(d.Track->Image.Width(), 16);
  EXPECT_EQ(d.Track->Image.Height(), 4);
  EXPECT_EQ(d.Track->LeftWidth, 3);
  EXPECT_EQ(d.Track->BottomHeight, 3);
  EXPECT_EQ(d.Track->Frame, 1);
  ASSERT_NE(d.TrackVert, nullptr);
  EXPECT_EQ(d.TrackVert->Image.Width(), 4);
  EXPECT_EQ(d.TrackVert->Image.Height(), 16);
}

TEST_F(StoredSkin, BordersTitleAndTheFrameMetrics)
{
  const TSkinData& d = data_;
  EXPECT_EQ(d.BorderLeft->TopHeight, 33);
  EXPECT_EQ(d.BorderLeft->BottomHeight, 5);
  EXPECT_EQ(d.BorderLeft->LeftWidth, 0);
  EXPECT_EQ(d.BorderTop->LeftWidth, 93);
  EXPECT_EQ(d.BorderTop->RightWidth, 41);
  EXPECT_EQ(d.BorderTop->TopHeight, 0);
  EXPECT_EQ(d.BorderBottom->Trans, 0);
  EXPECT_EQ(d.BorderRight->Trans, 1);
  for (const auto* b : {d.BorderLeft.get(), d.BorderRight.get(), d.BorderTop.get(), d.BorderBottom.get()}) {
    EXPECT_EQ(b->Frame, 2);
    EXPECT_EQ(b->Tile, 1);
  }
  // Side borders hold their frames side by side, top and bottom stacked.
  EXPECT_EQ(d.BorderLeft->Image.Width() / d.BorderLeft->FrameCount(), 4);
  EXPECT_EQ(d.BorderTop->Image.Height() / d.BorderTop->FrameCount(), 29);
  EXPECT_EQ(d.BorderRight->Image.Width() / d.BorderRight->FrameCount(), 4);
  EXPECT_EQ(d.BorderBottom->Image.Height() / d.BorderBottom->FrameCount(), 5);

  EXPECT_EQ(d.CaptionTitle->LeftWidth, 35);
  EXPECT_EQ(d.CaptionTitle->TopHeight, 2);
  EXPECT_EQ(d.CaptionTitle->RightWidth, 75);
  EXPECT_EQ(d.CaptionTitle->FontHeight, 14);
  EXPECT_EQ(d.CaptionTitle->Frame, 2);
  EXPECT_EQ(d.CaptionTitle->ActiveText, gfx::clNone);
  EXPECT_TRUE(d.CaptionTitle->Image.Empty());
}

TEST_F(StoredSkin, ColourTableWithGivenFlags)
{
  const TSkinData& d = data_;
  EXPECT_EQ(d.Color(skin::scButtonFace), 0xEAD2BF);
  EXPECT_TRUE(d.Colors()[skin::scButtonFace].Given);
  EXPECT_EQ(d.Color(skin::scButtonText), gfx::RGBColor(37, 67, 124));
  EXPECT_EQ(d.Color(skin::scMenuText), 0);
  EXPECT_EQ(d.Color(skin::scHilight), gfx::RGBColor(85, 100, 165));
  EXPECT_EQ(d.Color(skin::scWindowText), gfx::clWindowText);
  EXPECT_FALSE(d.Colors()[skin::scWindowText].Given);
  EXPECT_EQ(d.Color(skin::scScrollbar), gfx::clScrollBar);
  EXPECT_TRUE(d.SectionColours().empty());
  for (gfx::TColor c : d.CustomColors())
    EXPECT_EQ(c, gfx::clWhite);
  EXPECT_EQ(d.BrushColor(), 0xEAD2BF);
}

TEST_F(StoredSkin, CaptionButtonsAndTheMdiButtons)
{
  const auto& b = data_.CaptionButtons;
  ASSERT_EQ(b.size(), 8u);
  struct TExpect {
    const char* Name;
    int32_t Action, Align, X, Y, Visibility, Visibility1, Frame;
    bool HasImage;
  };
  const TExpect expected[] = {
    {"BUTTON0", 0, 1, 25, 5, 0, 0, 6, true},  {"BUTTON1", 1, 1, 49, 5, 2, 6, 6, true},
    {"BUTTON2", 2, 1, 73, 5, 8, 0, 6, true},  {"BUTTON3", 1, 1, 49, 5, 1, 0, 6, true},
    {"BUTTON4", 3, 0, 8, 7, 0, 0, 6, false},
  };
  for (size_t i = 0; i < 5; ++i) {
    const TExpect& e = expected[i];
    EXPECT_EQ(b[i]->Name, e.Name);
    EXPECT_EQ(b[i]->Action, e.Action) << e.Name;
    EXPECT_EQ(b[i]->Align, e.Align) << e.Name;
    EXPECT_EQ(b[i]->XCoord, e.X) << e.Name;
    EXPECT_EQ(b[i]->YCoord, e.Y) << e.Name;
    EXPECT_EQ(b[i]->Visibility, e.Visibility) << e.Name;
    EXPECT_EQ(b[i]->Visibility1, e.Visibility1) << e.Name;
    EXPECT_EQ(b[i]->CombineOp, -1) << e.Name;
    EXPECT_EQ(b[i]->Frame, e.Frame) << e.Name;
    EXPECT_EQ(!b[i]->Image.Empty(), e.HasImage) << e.Name;
  }
  EXPECT_EQ(At(b[0]->Image, 5, 5), Fill("closebutton.bmp"));
  // MDICONTROLS 156 wide: a = 13, images 52 x 13, placed at 51, 34, 17.
  for (int32_t i = 0; i < 3; ++i) {
    const auto& m = *b[size_t(5 + i)];
    EXPECT_EQ(m.Action, 7 + i);
    EXPECT_EQ(m.Align, 100);
    EXPECT_EQ(m.Visibility, 100);
    EXPECT_EQ(m.Visibility1, 100);
    EXPECT_EQ(m.Frame, 4);
    EXPECT_EQ(m.Image.Width(), 52);
    EXPECT_EQ(m.Image.Height(), 13);
    EXPECT_EQ(m.XCoord, 17 * (3 - i));
  }
  // The first MDI image starts at the strip's magenta corner.
  EXPECT_EQ(At(b[5]->Image, 0, 0), 0xFF00FFu);
  EXPECT_EQ(At(b[6]->Image, 0, 0), Fill("mdibutton.bmp"));
}

TEST_F(StoredSkin, DerivedImagesAndTheFrameColour)
{
  const TSkinData& d = data_;
  // The combo button's mirror image, and without SunkEdge the arrow is its
  // copy with magenta replaced by the button face colour.
  ASSERT_EQ(d.ComboButton->Image2.Width(), 68);
  EXPECT_EQ(At(d.ComboButton->Image2, 67, 0), 0xFF00FFu);
  EXPECT_EQ(At(d.ComboButton->Image2, 0, 0), Fill("comboboxbtn.bmp"));
  ASSERT_NE(d.ComboxArrow, nullptr);
  EXPECT_EQ(d.ComboxArrow->Frame, 4);
  EXPECT_EQ(At(d.ComboxArrow->Image, 0, 0), gfx::ColorToPixel(0xEAD2BF));
  EXPECT_EQ(At(d.ComboxArrow->Image, 3, 3), Fill("comboboxbtn.bmp"));

  // The frame colour is the top border's pixel at (172 div 3, 29 div 3).
  EXPECT_EQ(d.Color(skin::scFrameColor), gfx::PixelToColor(Fill("frametop.bmp")));

  const gfx::TColor top = skin::Blend(0xEAD2BF, gfx::clWhite, 150);
  const gfx::TColor frame = d.Color(skin::scFrameColor);
  const int32_t measure = skin::SaturationMeasure(frame);
  const gfx::TColor bottom = measure > 110 ? skin::Blend(frame, gfx::clWhite, (5625 - 25 * measure) / 140 + 50)
                                           : skin::Blend(gfx::clGray, frame, 150);
  ASSERT_EQ(d.Toolbar->Image.Width(), 10);
  ASSERT_EQ(d.Toolbar->Image.Height(), 40);
  EXPECT_EQ(d.Toolbar->Frame, 1);
  EXPECT_EQ(At(d.Toolbar->Image, 0, 0), gfx::ColorToPixel(top));
  // The last band is the ramp's last entry, which truncation may leave
  // short of the bottom colour.
  const auto& ramp = skin::RampColors(skin::ColorRamp(40, top, bottom));
  EXPECT_EQ(At(d.Toolbar->Image, 9, 39), gfx::ColorToPixel(ramp[39]));
  EXPECT_NEAR(int(At(d.Toolbar->Image, 9, 39) & 0xFF), int(gfx::ColorToPixel(bottom) & 0xFF), 1);
}

TEST(SkinLoad, HostileDescriptionsGiveAbsentElementsNeverACrash)
{
  for (const char* text : {"", "garbage\n=\n[[[\n", "[Buttons]\nBitmap=\n[Progress.Chunk]\nImage=none.bmp\n",
                           "[Tabs]\nImage=Tab.BMP\nBorder=x.bmp\nTopHeight=abc\n[Headerbar]\nImage=Header.bmp\n"
                           "Frame=-3\n[Scrollbar]\nImage=dir\\sub/Scroll.bmp\nLeftWidth=99999\n"}) {
    TSkinData d(nullptr);
    Load(d, testskin::Package(text, {{"header.bmp", testskin::SolidBmp(3, 2, 0x445566)}}));
    EXPECT_FALSE(d.NotLoaded()) << text;
    // Always-present elements are there, empty.
    EXPECT_TRUE(d.Buttons->Image.Empty());
    EXPECT_EQ(d.Buttons->RadioButtonFrame, 4);
    EXPECT_TRUE(d.BorderTop->Image.Empty());
    EXPECT_EQ(d.BorderTop->Frame, 1);
    EXPECT_EQ(d.Color(skin::scFrameColor), d.Color(skin::scButtonFace));
    EXPECT_EQ(d.Toolbar->Image.Height(), 40);
    // Only the three MDI buttons, without images.
    ASSERT_EQ(d.CaptionButtons.size(), 3u);
    EXPECT_EQ(d.CaptionButtons[0]->Action, 7);
    EXPECT_TRUE(d.CaptionButtons[0]->Image.Empty());
    EXPECT_EQ(d.Color(skin::scMenubar), d.Color(skin::scButtonFace));
    // A named bitmap that is missing or not ".bmp" gives an element without
    // an image; draw calls on it do nothing harmful.
    for (const skin::TDataSkinObject* e :
         std::initializer_list<const skin::TDataSkinObject*>{d.ProgressChunk.get(), d.Tabs.get(), d.Scrollbar.get()})
      if (e) {
        EXPECT_TRUE(e->Image.Empty());
        framework::TBitmap target(20, 20);
        skin::ElementDraw(target.Context(), {0, 0, 20, 20}, e->Image, false, e->Tile == 1, e->Trans == 1,
                          e->Frame, 2, e->Margins());
      }
    if (d.Headerbar) {
      EXPECT_EQ(d.Headerbar->Frame, -3);
      EXPECT_EQ(d.Headerbar->FrameCount(), 1);
      EXPECT_EQ(d.Headerbar->Image.Width(), 3);
    }
  }
}

TEST(SkinLoad, CaptionButtonRulesAndSectionLists)
{
  const std::string text = "[Button7]\nButtonImage=narrow.bmp\nAction=1\nVisibility=2\nXCoord=40\nYCoord=3\n"
                           "[BUTTONS]\nBitmap=x.bmp\n[Button.Radio]\nAction=2\n"
                           "[ButtonOff]\nAction=-1\nVisibility=4\n"
                           "[ButtonNeg]\nAction=-1\nVisibility=0\nButtonImage=narrow.bmp\n[ButtonHidden]\nAction=-1\n"
                           "[ButtonRestore]\nAction=4\nXCoord=1\nYCoord=1\nframe=2\n"
                           "[ButtonIcon]\nAction=11\nButtonImage=narrow.bmp\n"
                           "[Colour.Link]\ncolor=1 2 3\n[colourless]\n"
                           "[Customcolors]\nColor3=10,20,30\n[Colours]\nWindowText=5 6 7\n[COLOURS]\ncolor=9 9 9\n"
                           "[Personality]\nActiveTextR=1\nActiveTextG=2\nActiveTextB=3\nInActiveTextR=1\n"
                           "menuBar=bar.bmp\nTileMenu=7\n[Tab.Pane]\nImage=p.bmp\nLeftWidth=2\nTopHeight=9\n"
                           "Rightwidth=4\nBottomHeight=12\n[Fonts]\nFontHeight=20\n";
  TSkinData d(nullptr);
  Load(d, testskin::Package(text, {{"narrow.bmp", testskin::SolidBmp(60, 21, 0x111111)},
                                   {"bar.bmp", testskin::SolidBmp(30, 20, 0x222222)}}));
  const auto& b = d.CaptionButtons;
  ASSERT_EQ(b.size(), 7u); // Button7, ButtonNeg, ButtonRestore, ButtonIcon + 3 MDI
  EXPECT_EQ(b[0]->Name, "BUTTON7");
  EXPECT_EQ(b[0]->Frame, 3); // 60 / 21 <= 3.8
  EXPECT_EQ(b[1]->Name, "BUTTONNEG");
  EXPECT_EQ(b[1]->Frame, 6); // negative action
  EXPECT_EQ(b[1]->Visibility1, -1);
  EXPECT_EQ(b[2]->XCoord, 40); // shares the maximise button's place
  EXPECT_EQ(b[2]->YCoord, 3);
  EXPECT_EQ(b[2]->Frame, 2);
  EXPECT_TRUE(b[3]->Image.Empty()); // the icon button never has an image
  EXPECT_EQ(b[3]->Frame, 3);         // counted before the image goes
  EXPECT_EQ(b[4]->XCoord, 0); // no MDICONTROLS image

  ASSERT_EQ(d.SectionColours().size(), 2u);
  EXPECT_EQ(d.SectionColours()[0].Section, "Colour.Link");
  EXPECT_EQ(d.SectionColours()[0].Color, gfx::RGBColor(1, 2, 3));
  EXPECT_EQ(d.SectionColours()[1].Color, gfx::clWindowText); // no color key
  EXPECT_EQ(d.CustomColors()[3], gfx::RGBColor(10, 20, 30));
  EXPECT_EQ(d.CustomColors()[4], gfx::clWhite);
  EXPECT_EQ(d.Color(skin::scWindowText), gfx::RGBColor(5, 6, 7));
  EXPECT_TRUE(d.Colors()[skin::scWindowText].Given);

  EXPECT_EQ(d.CaptionTitle->ActiveText, gfx::RGBColor(1, 2, 3));
  EXPECT_EQ(d.CaptionTitle->InActiveText, gfx::clNone);
  EXPECT_EQ(d.CaptionTitle->FontHeight, 20);
  ASSERT_NE(d.MenuBar, nullptr);
  EXPECT_EQ(d.MenuBar->Tile, 1);
  EXPECT_EQ(d.MenuBar->LeftWidth, 1);
  EXPECT_EQ(d.MenuBar->Frame, 2);
  ASSERT_NE(d.TabPane, nullptr);
  EXPECT_EQ(d.TabPane->LeftWidth, 2);
  EXPECT_EQ(d.TabPane->TopHeight, 4);
  EXPECT_EQ(d.TabPane->RightWidth, 4);
  EXPECT_EQ(d.TabPane->BottomHeight, 4);

  // A second skin refills everything; colours it does not give fall back.
  Load(d, testskin::Package("[Personality]\nInActiveTextR=1\nInActiveTextG=1\nInActiveTextB=1\n"));
  EXPECT_EQ(d.CaptionTitle->ActiveText, gfx::clNone);
  EXPECT_EQ(d.Color(skin::scWindowText), gfx::clWindowText);
  EXPECT_EQ(d.MenuBar, nullptr);
  EXPECT_EQ(d.CaptionButtons.size(), 3u);
}

TEST(SkinLoad, CombinedEditBoxImageAndComboArrow)
{
  const std::string text = "[SunkEdge]\nImage=sunk.bmp\nLeftWidth=2\nTopHeight=2\nRightWidth=2\nBottomHeight=2\n"
                           "[ComboButton]\nImage=combo.bmp\n[ExtraImages]\nImage=extra.bmp\n"
                           "[Headerbar]\nImage=sunk.bmp\n";
  TSkinData d(nullptr);
  Load(d, testskin::Package(text, {{"sunk.bmp", testskin::SolidBmp(40, 21, 0x0000AA)},
                                   {"combo.bmp", testskin::SolidBmp(68, 17, 0x00BB00)},
                                   {"extra.bmp", testskin::SolidBmp(25, 5, 0xCC0000)}}));
  ASSERT_NE(d.SunkEdge, nullptr);
  ASSERT_NE(d.ComboButton, nullptr);
  EXPECT_EQ(d.Headerbar->Frame, 5); // no Frame key
  const int32_t right = skin::SkinSystemMetrics().HScrollArrowWidth + 2; // 19
  const framework::TBitmap& combined = d.ComboButton->Image;
  ASSERT_EQ(combined.Width(), 200);
  ASSERT_EQ(combined.Height(), 21);
  EXPECT_EQ(d.ComboButton->Style, 2);
  EXPECT_EQ(d.ComboButton->LeftWidth, 2);
  EXPECT_EQ(d.ComboButton->RightWidth, right + 2);
  EXPECT_EQ(d.ComboButton->TopHeight, 2);
  // Cell 2: sunk edge at its left, a magenta inside, the button on the right
  // with the extra glyph centred on it.
  EXPECT_EQ(At(combined, 51, 1), 0x0000AAu);
  EXPECT_EQ(At(combined, 55, 10), 0xFF00FFu);
  EXPECT_EQ(At(combined, 100 - right + 1, 1), 0x00BB00u);
  EXPECT_EQ(At(combined, 100 - right / 2 - 1, 10), 0xCC0000u);
  // SunkEdge holds the mirrored image with the margins swapped round.
  EXPECT_EQ(d.SunkEdge->LeftWidth, right + 2);
  EXPECT_EQ(d.SunkEdge->RightWidth, 2);
  EXPECT_EQ(At(d.SunkEdge->Image, 199 - 51, 1), 0x0000AAu);
  EXPECT_EQ(At(d.SunkEdge->Image, 199 - (100 - right + 1), 1), 0x00BB00u);
  // The arrow cells are cut from the combined image.
  ASSERT_NE(d.ComboxArrow, nullptr);
  EXPECT_EQ(d.ComboxArrow->Frame, 4);
  EXPECT_EQ(d.ComboxArrow->Image.Width(), 68);
  EXPECT_EQ(d.ComboxArrow->Image.Height(), 17);
  for (int32_t k = 0; k < 4; ++k)
    for (int32_t y = 0; y < 17; y += 4)
      EXPECT_EQ(At(d.ComboxArrow->Image, 17 * k + 5, y), At(combined, (k + 1) * 50 - 19 + 5, y + 2));
}

// ----- The component ---------------------------------------------------------

struct TCapturedMessages {
  TCapturedMessages() { previous = skin::SetSkinMessageHook([](const std::string& t) { Texts().push_back(t); }); }
  ~TCapturedMessages() { skin::SetSkinMessageHook(previous); }
  static std::vector<std::string>& Texts()
  {
    static std::vector<std::string> texts;
    return texts;
  }
  skin::TSkinMessageHook previous;
};

TEST(SkinDataComponent, PublishedDefaults)
{
  TSkinData d(nullptr);
  EXPECT_FALSE(d.Active());
  EXPECT_EQ(d.DisableTag(), 99);
  EXPECT_EQ(d.SkinControls(), 0x1FFFFBu);
  EXPECT_EQ(d.Options(), 0x448);
  EXPECT_EQ(d.SkinFormtype(), skin::sfMainform);
  EXPECT_EQ(d.Version(), "5.40.07.15");
  EXPECT_TRUE(d.MenuUpdate());
  EXPECT_FALSE(d.MenuMerge());
  EXPECT_TRUE(d.NotLoaded());
  ASSERT_EQ(d.Skin3rd()->Count(), 118);
  EXPECT_EQ((*d.Skin3rd())[0], "TCategoryButtons=scrollbar");
  EXPECT_EQ((*d.Skin3rd())[7], "TComboboxex=combobox");
  EXPECT_EQ((*d.Skin3rd())[117], "TOVCDBNUMERICFIELD=Edit");
  EXPECT_EQ(framework::GetSetProp(d, "Options"), "[xoPreview,xoToolbarBK,xoCaptionButtonHint]");
  EXPECT_EQ(framework::GetPropValue(d, "SkinStore"), "(none)");
  framework::SetStrProp(d, "Version", "1.0");
  EXPECT_EQ(d.Version(), "5.40.07.15");
}

TEST(SkinDataComponent, SkinStreamPropertyRoundTripAndEmptyPackage)
{
  TSkinData d(nullptr);
  const std::vector<uint8_t> empty = d.SkinStreamBytes();
  EXPECT_EQ(empty, (std::vector<uint8_t>{0, 0, 0, 0}));

  const auto package = testskin::StoredPackage();
  const std::vector<uint8_t> bytes = TSkinData::SkinStreamOf(package);
  ASSERT_EQ(bytes.size(), package.size() + 4);
  EXPECT_EQ(bytes[0] | bytes[1] << 8 | bytes[2] << 16 | bytes[3] << 24, int(package.size()));
  d.SetSkinStreamBytes(bytes);
  EXPECT_FALSE(d.NotLoaded());
  EXPECT_EQ(d.SkinName(), "tarsel-TARSEL");
  EXPECT_EQ(d.SkinStreamBytes(), bytes);

  // A zero length keeps no package; the skin applied before stays.
  d.SetSkinStreamBytes({0, 0, 0, 0, 9, 9});
  EXPECT_TRUE(d.Package().empty());
  EXPECT_EQ(d.SkinStreamBytes(), empty);
  d.SetSkinStreamBytes({0xFF, 0xFF, 0xFF, 0xFF});
  EXPECT_TRUE(d.Package().empty());
}

TEST(SkinDataComponent, UnknownFormatAndDamagedPackagesLeaveItNotLoaded)
{
  TCapturedMessages messages;
  TCapturedMessages::Texts().clear();
  TSkinData d(nullptr);
  std::vector<skinpack::TPackFile> files{{"a.ini", {'x'}}};
  // An archive of format 70000 with the code patched to an unknown one.
  std::vector<uint8_t> archive = skinpack::BuildArchive(files, 20000);
  archive[0] = 0x11;
  d.SetPackage(skinpack::PackArchive(archive));
  EXPECT_FALSE(d.ApplyPackage());
  EXPECT_TRUE(d.NotLoaded());
  ASSERT_EQ(TCapturedMessages::Texts().size(), 1u);
  EXPECT_EQ(TCapturedMessages::Texts()[0], skin::kOlderSkinFileMessage);

  // Garbage claiming a huge size is refused without a message.
  d.SetPackage({0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 3});
  EXPECT_FALSE(d.ApplyPackage());
  EXPECT_TRUE(d.NotLoaded());

  // Active stored true over a package that failed: Loaded turns it off.
  d.SetActive(true);
  d.Loaded();
  EXPECT_FALSE(d.Active());
}

TEST(SkinDataComponent, LoadedAdjustsSkinControls)
{
  TSkinData d(nullptr);
  d.SetSkinControls(skin::Bit(skin::xcMenuItem) | skin::Bit(skin::xcSystemMenu) | skin::Bit(skin::xcButton));
  d.Loaded();
  EXPECT_EQ(d.SkinControls(), skin::Bit(skin::xcMenuItem) | skin::Bit(skin::xcButton));

  d.SetSkinControls(skin::Bit(skin::xcMainMenu) | skin::Bit(skin::xcMenuItem) | skin::Bit(skin::xcSystemMenu));
  d.Loaded();
  EXPECT_EQ(d.SkinControls(), skin::Bit(skin::xcMainMenu) | skin::Bit(skin::xcSystemMenu));

  // A loaded skin keeps Active on.
  Load(d, testskin::StoredPackage());
  d.SetActive(true);
  d.Loaded();
  EXPECT_TRUE(d.Active());
}

TEST(SkinDataComponent, ShouldSkinWindow)
{
  TSkinData d(nullptr);
  EXPECT_TRUE(d.ShouldSkinWindow("TForm1"));
  EXPECT_FALSE(d.ShouldSkinWindow("SysMonthCal32"));
  EXPECT_TRUE(d.ShouldSkinWindow("TfrPreviewForm"));
  d.SetSkinControls(d.SkinControls() | skin::Bit(skin::xcFastReport));
  EXPECT_FALSE(d.ShouldSkinWindow("TfrPreviewForm"));
  EXPECT_TRUE(d.ShouldSkinWindow("TFRPreviewForm"));
  std::vector<std::string> asked;
  d.OnFormSkin = decltype(d.OnFormSkin)([&](framework::TObject*, const std::string& name, bool& doSkin) {
    asked.push_back(name);
    doSkin = name == "SysMonthCal32";
  });
  EXPECT_TRUE(d.ShouldSkinWindow("SysMonthCal32"));
  EXPECT_FALSE(d.ShouldSkinWindow("TForm1"));
  EXPECT_EQ(asked.size(), 2u);
}

TEST(SkinDataComponent, SkinFileReplacesThePackage)
{
  TSkinData d(nullptr);
  const auto path = std::filesystem::temp_directory_path() / "skindata-test-skin.skn";
  {
    const auto package = testskin::Package("[TitlebarSkin]\nSkinName=from file\n");
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(package.data()), std::streamsize(package.size()));
  }
  d.SetSkinFile(path.string());
  EXPECT_FALSE(d.NotLoaded());
  EXPECT_EQ(d.SkinName(), "from file");
  EXPECT_EQ(d.SkinFile(), path.string());
  std::filesystem::remove(path);

  // A missing file changes nothing but the flag and the path.
  d.SetSkinFile((path.parent_path() / "no-such-skin.skn").string());
  EXPECT_TRUE(d.NotLoaded());
  EXPECT_EQ(d.SkinName(), "from file");
}

// A form for the description reader: it owns the skin data component.
class TSkinTestForm : public framework::TComponent {
public:
  using framework::TComponent::TComponent;
  static const framework::TClassInfo& ClassType()
  {
    static framework::TClassInfo info("TSkinTestForm", &framework::TComponent::ClassType());
    static const bool described = [] {
      info.Field("SkinData1", &TSkinTestForm::SkinData1);
      return true;
    }();
    (void)described;
    return info;
  }
  const framework::TClassInfo& ClassInfo() const override { return ClassType(); }
  TSkinData* SkinData1 = nullptr;
};

TEST(SkinDataComponent, StreamedFromAFormDescriptionWithItsPackage)
{
  skin::RegisterSkinDataClass();
  const auto package = testskin::StoredPackage();
  // Describe a form holding it, then read that description into a new form.
  TSkinTestForm writer(nullptr);
  writer.SetName("Form1");
  auto* source = new TSkinData(&writer);
  source->SetName("SkinData1");
  source->SetPackage(package);
  source->SetActive(true);
  source->SetDisableTag(7);
  std::map<std::string, std::vector<uint8_t>> files;
  const std::string text = framework::WriteFormDescription(framework::DescribeComponentTree(
    writer, [&](const std::string& name, const std::vector<uint8_t>& data) {
      files[name] = data;
      return name;
    }));
  EXPECT_NE(text.find("Active = True"), std::string::npos) << text;
  EXPECT_NE(text.find("SkinFormtype = sfMainform"), std::string::npos) << text;
  ASSERT_EQ(files.size(), 1u) << text;

  TSkinTestForm form(nullptr);
  framework::ReadComponentTree(form, framework::ParseFormDescription(text),
                               [&](const std::string& name) { return files.at(name); });
  ASSERT_NE(form.SkinData1, nullptr);
  TSkinData& d = *form.SkinData1;
  EXPECT_EQ(d.Package(), package);
  EXPECT_FALSE(d.NotLoaded());
  EXPECT_TRUE(d.Active());
  EXPECT_EQ(d.DisableTag(), 7);
  EXPECT_EQ(d.SkinName(), "tarsel-TARSEL");
  EXPECT_EQ(d.Skin3rd()->Count(), 118);
  EXPECT_EQ(d.CaptionButtons.size(), 8u);
}

} // namespace

#ifdef SKINDATA_STORED_PACKAGE
// The package the build draws and stores in the player window.
TEST(GeneratedStoredSkin, LoadsWithTheExpectedElementsAndMetrics)
{
  std::ifstream in(SKINDATA_STORED_PACKAGE, std::ios::binary);
  if (!in)
    GTEST_SKIP() << "no stored package at " << SKINDATA_STORED_PACKAGE;
  const std::vector<uint8_t> package{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  TSkinData d(nullptr);
  Load(d, package);
  EXPECT_EQ(d.SkinName(), "tarsel-TARSEL");
  EXPECT_EQ(d.BorderLeft->Image.Width() / d.BorderLeft->FrameCount(), 4);
  EXPECT_EQ(d.BorderTop->Image.Height() / d.BorderTop->FrameCount(), 29);
  EXPECT_EQ(d.BorderRight->Image.Width() / d.BorderRight->FrameCount(), 4);
  EXPECT_EQ(d.BorderBottom->Image.Height() / d.BorderBottom->FrameCount(), 5);
  ASSERT_EQ(d.CaptionButtons.size(), 8u);
  const int32_t xs[] = {25, 49, 73, 49, 8};
  for (size_t i = 0; i < 5; ++i)
    EXPECT_EQ(d.CaptionButtons[i]->XCoord, xs[i]);
  EXPECT_EQ(d.CaptionButtons[0]->Image.Width(), 126);
  EXPECT_EQ(d.CaptionButtons[0]->Frame, 6);
  EXPECT_EQ(d.CaptionButtons[5]->Image.Width(), 52);
  for (const auto* e : {d.Progress.get(), d.Tabs.get(), d.ComboButton.get(), d.UpDownVert.get()})
    ASSERT_NE(e, nullptr);
  for (const skin::TDataSkinObject* e :
       std::initializer_list<const skin::TDataSkinObject*>{d.ProgressChunk.get(), d.TabPane.get(), d.StatusBarEdges.get(),
                                                           d.Headerbar.get(), d.Scrollbar.get(), d.MenuItem.get(),
                                                           d.MenuBackground.get(), d.ExtraImages.get(), d.ThumbHorz.get(),
                                                           d.ThumbDown.get(), d.HorzScrollThumb.get()}) {
    ASSERT_NE(e, nullptr);
    EXPECT_FALSE(e->Image.Empty()) << e->Name;
  }
  EXPECT_EQ(d.Scrollbar->Image.Width(), 391);
  EXPECT_EQ(d.Scrollbar->Frame, 23);
  EXPECT_EQ(d.Buttons->Image.Width(), 100);
  EXPECT_EQ(d.Color(skin::scButtonFace), 0xEAD2BF);
  EXPECT_NE(d.ComboxArrow, nullptr);
}
#endif
