// The skin the player window stores, as the build drew and packed it: the
// files the rest of the program expects, their sizes and frame layouts, the
// colour depths, the transparent corners and the description's entries.
#include "gfx/codecs/Bmp.h"
#include "skin/ElementBitmap.h"
#include "skin/LZH.h"
#include "skin/SkinMessages.h"
#include "skin/QuickIni.h"
#include "skin/SkinReader.h"
#include "skin/ValueParsers.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

using namespace skin;

namespace {

std::vector<uint8_t> StoredPackage()
{
  std::ifstream in(PLAYER_STORED_SKIN, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct TExpected {
  const char* name;
  int32_t width, height, bits, frames;
  bool stacked;
  bool keyedCorner; // the top-left pixel is the transparent key colour
};

// In package order. Frame counts are those the skin loader and the drawing
// code use for each element.
const TExpected kFiles[] = {
  {"buttons.bmp", 100, 23, 24, 5, false, true},
  {"checkbox.bmp", 156, 13, 24, 12, false, true},
  {"radiobutton.bmp", 104, 13, 24, 8, false, true},
  {"progress.bmp", 24, 16, 24, 1, false, true},
  {"progresschunk.bmp", 9, 12, 24, 1, false, false},
  {"tab.bmp", 150, 21, 24, 5, false, true},
  {"tabsheet.bmp", 40, 40, 24, 1, false, false},
  {"comboboxbtn.bmp", 68, 20, 24, 4, false, true},
  {"statusbar.bmp", 240, 22, 24, 3, false, false},
  {"header.bmp", 80, 20, 24, 4, false, false},
  {"scrollbararrow.bmp", 391, 17, 32, 23, false, true},
  {"scrollbarhthumb.bmp", 68, 17, 24, 4, false, false},
  {"scrollbarvthumb.bmp", 68, 17, 24, 4, false, false},
  {"scrollbarhbar.bmp", 80, 17, 24, 4, false, false},
  {"scrollbarvbar.bmp", 68, 20, 24, 4, false, false},
  {"menubackground.bmp", 40, 40, 32, 1, false, false},
  {"menuitem.bmp", 150, 20, 32, 5, false, true},
  {"extraimages.bmp", 60, 12, 24, 5, false, true},
  {"trackthumbh.bmp", 55, 20, 24, 5, false, true},
  {"trackbot.bmp", 55, 20, 8, 5, false, true},
  {"mdibutton.bmp", 156, 13, 24, 12, false, true},
  {"spin.bmp", 128, 11, 24, 8, false, true},
  {"spinarrow.bmp", 72, 5, 24, 8, false, true},
  {"spinh.bmp", 88, 16, 24, 8, false, true},
  {"spinharrow.bmp", 40, 9, 24, 8, false, true},
  {"closebutton.bmp", 126, 21, 24, 6, false, true},
  {"maxbutton.bmp", 126, 21, 24, 6, false, true},
  {"minbutton.bmp", 126, 21, 24, 6, false, true},
  {"restrorebutton.bmp", 126, 21, 24, 6, false, true},
  {"frameleft.bmp", 8, 100, 24, 2, false, true},
  {"frameright.bmp", 8, 100, 24, 2, false, true},
  {"frametop.bmp", 172, 58, 24, 2, true, true},
  {"framebottom.bmp", 172, 10, 24, 2, true, false},
  {"mincaption.bmp", 100, 58, 24, 2, true, true},
};

class StoredSkin : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(reader_.Open(StoredPackage())) << PLAYER_STORED_SKIN; }
  TSkinReader reader_;
};

} // namespace

TEST_F(StoredSkin, ListsTheThirtyFiveFilesInOrder)
{
  EXPECT_EQ(reader_.FormatCode(), 70000u);
  ASSERT_EQ(reader_.Names().size(), 35u);
  for (size_t k = 0; k < std::size(kFiles); ++k)
    EXPECT_EQ(reader_.Names()[k], kFiles[k].name);
  EXPECT_EQ(reader_.Names()[34], "tarsel-tarsel.ini");
}

TEST_F(StoredSkin, EveryBitmapHasItsSizeDepthAndFrameLayout)
{
  for (const TExpected& e : kFiles) {
    SCOPED_TRACE(e.name);
    std::vector<uint8_t> bytes;
    reader_.ExtractByName(e.name, bytes);
    const gfx::TBmpImage image = gfx::DecodeBmpImage(bytes);
    EXPECT_EQ(image.Pixels.Width(), e.width);
    EXPECT_EQ(image.Pixels.Height(), e.height);
    EXPECT_EQ(image.BitsPerPixel, e.bits);
    EXPECT_EQ((e.stacked ? e.height : e.width) % e.frames, 0);
    const bool keyed = image.Pixels.At(0, 0) == gfx::ColorToPixel(gfx::clFuchsia);
    EXPECT_EQ(keyed, e.keyedCorner);
  }
  // The frame metrics the window frame derives: borders of 4, 29, 4 and 5.
  std::vector<uint8_t> bytes;
  reader_.ExtractByName("frametop.bmp", bytes);
  EXPECT_EQ(gfx::DecodeBmp(bytes).Height() / 2, 29);
  // Each MDI button is 4 frames of width div 12.
  reader_.ExtractByName("mdibutton.bmp", bytes);
  EXPECT_EQ(gfx::DecodeBmp(bytes).Width() / 12, 13);
}

TEST_F(StoredSkin, DescriptionNamesBitmapsThatLoad)
{
  std::vector<uint8_t> text;
  ASSERT_EQ(reader_.ExtractByPart(".ini", text), "tarsel-tarsel.ini");
  TQuickIni ini;
  ini.Load(text);
  EXPECT_EQ(ini.ReadString("TitlebarSkin", "SkinName", ""), "tarsel-TARSEL");
  EXPECT_EQ(ini.ReadInteger("Skins", "Version", 0), 200);
  EXPECT_EQ(ini.ReadInteger("Buttons", "RightWidth", 0), 6);
  EXPECT_EQ(ini.ReadInteger("Buttons", "CheckButtonFrame", 0), 12);
  EXPECT_EQ(ini.ReadInteger("Headerbar", "Frame", 0), 4);
  EXPECT_EQ(ini.ReadInteger("Personality", "TopTopHeight", 0), 93);
  EXPECT_EQ(ini.ReadInteger("Personality", "BottomTrans", 1), 0);
  EXPECT_EQ(ini.ReadInteger("Button1", "Visibility1", 0), 6);
  EXPECT_EQ(ReadColor(ini, "Colours", "ButtonFace", 0), 0xEAD2BF);
  EXPECT_EQ(ReadColor(ini, "Colours", "ButtonText", 0), gfx::RGBColor(37, 67, 124));
  EXPECT_EQ(ReadColor(ini, "Colours", "HilightText", 0), gfx::RGBColor(16, 40, 112));
  EXPECT_EQ(CaptionButtonSections(ini), (std::vector<std::string>{"Button0", "Button1", "Button2", "Button3", "Button4"}));
  EXPECT_EQ(ini.SectionNames().size(), 31u);

  // Every image key of the description resolves to a bitmap in the package.
  const std::pair<const char*, const char*> keys[] = {
    {"Buttons", "Bitmap"}, {"Buttons", "CheckButton"}, {"Buttons", "RadioButton"}, {"Progress", "Bitmap"},
    {"Progress.Chunk", "Image"}, {"Tabs", "Image"}, {"Tab.Pane", "Image"}, {"ComboButton", "Image"},
    {"StatusBarEdges", "Image"}, {"Headerbar", "Image"}, {"Scrollbar", "Image"}, {"HorzScrollThumb", "Image"},
    {"VertScrollThumb", "Image"}, {"HorzScroll", "Image"}, {"VertScroll", "Image"}, {"MenuBackground", "Image"},
    {"MenuItem", "Image"}, {"ExtraImages", "Image"}, {"Trackbar.ThumbHorz", "Image"},
    {"Trackbar.ThumbDown", "Image"}, {"MDICONTROLS", "Image"}, {"UpDown.Vert", "Image"},
    {"UpDown.Vert", "GlyphImage"}, {"UpDown.Horz", "Image"}, {"UpDown.Horz", "GlyphImage"},
    {"Button0", "ButtonImage"}, {"Button1", "ButtonImage"}, {"Button2", "ButtonImage"}, {"Button3", "ButtonImage"},
    {"Personality", "Left"}, {"Personality", "Right"}, {"Personality", "Top"}, {"Personality", "Bottom"},
    {"MinCaption", "Image"}};
  for (const auto& [section, key] : keys) {
    const std::string value = ini.ReadString(section, key, "");
    EXPECT_FALSE(LoadElementBitmap(reader_, value).IsEmpty()) << section << "/" << key << " = " << value;
  }
}

TEST_F(StoredSkin, ElementBitmapLoadFollowsTheNameRules)
{
  EXPECT_FALSE(LoadElementBitmap(reader_, "Buttons.bmp").IsEmpty());
  EXPECT_FALSE(LoadElementBitmap(reader_, "C:\\skins\\BUTTONS.bmp").IsEmpty());
  EXPECT_TRUE(LoadElementBitmap(reader_, "Buttons.BMP").IsEmpty());
  EXPECT_TRUE(LoadElementBitmap(reader_, "missing.bmp").IsEmpty());
  // A member that is not a bitmap leaves the element without an image.
  EXPECT_TRUE(LoadElementBitmap(reader_, "tarsel-tarsel.ini.bmp").IsEmpty());
  EXPECT_TRUE(LoadElementBitmap(reader_, "").IsEmpty());
}

TEST_F(StoredSkin, CutShortPackageStillDecodesToTheDeclaredSize)
{
  const std::vector<uint8_t> package = StoredPackage();
  const auto stream = std::span<const uint8_t>(package).subspan(4);
  const std::vector<uint8_t> whole = TLZH::DecodeBuffer(stream, reader_.UnpackedSize());
  // A cut archive may well read as an unknown format; keep that quiet.
  const TSkinMessageHook previous = SetSkinMessageHook([](const std::string&) {});
  for (const size_t keep : {size_t{0}, size_t{1}, stream.size() / 3, stream.size() - 1}) {
    const std::vector<uint8_t> cut = TLZH::DecodeBuffer(stream.first(keep), reader_.UnpackedSize());
    ASSERT_GE(cut.size(), size_t(reader_.UnpackedSize()));
    // What the kept bytes describe comes out the same; the rest is made up
    // from zero bits.
    if (keep > 100) {
      EXPECT_TRUE(std::equal(whole.begin(), whole.begin() + 1000, cut.begin()));
    }
    TSkinReader cutReader;
    try {
      (void)cutReader.Open(std::vector<uint8_t>(package.begin(), package.begin() + std::ptrdiff_t(keep + 4)));
    } catch (const ESkinPackage&) {
    }
  }
  SetSkinMessageHook(previous);
}
